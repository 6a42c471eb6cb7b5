// SPDX-License-Identifier: MIT
#pragma once

#include "core/AppError.h"
#include "core/CellColours.h"
#include "core/HoverHighlight.h"
#include "store/ProblemFileFormat.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstddef>
#include <cstdint>

class ProblemStore;
class RandomSource;

// The error for an index of the puzzle's tables outside first to last.
inline AppError IndexOutOfRange(int index, int first, int last)
{
    return AppError(AppError::SubscriptOutOfRange,
                    QStringLiteral("インデックス %1 が有効範囲 (%2 ～ %3) にありません。").arg(index).arg(first).arg(last));
}

// A table of slots 0 to Last. An index outside it is an error, never a stray write.
template <typename T, int Last>
class Slots {
public:
    T& operator()(int index) { return values_[Checked(index)]; }
    const T& operator()(int index) const { return values_[Checked(index)]; }

private:
    static std::size_t Checked(int index)
    {
        if (index < 0 || index > Last)
            throw IndexOutOfRange(index, 0, Last);
        return static_cast<std::size_t>(index);
    }

    std::array<T, Last + 1> values_{};
};

// The board's numbering: rows 0 to 4 run left to right, rows 5 to 18 right to left.
namespace Board {
inline constexpr int Columns = 32;
inline constexpr int Rows = 19;
inline constexpr int CellCount = Columns * Rows;  // 608

constexpr int CellIndex(int column, int row)
{
    return row < 5 ? Columns * row + column : Columns * row + (Columns - 1 - column);
}
constexpr int CellColumn(int index)
{
    const int row = index / Columns;
    const int offset = index % Columns;
    return row < 5 ? offset : Columns - 1 - offset;
}
constexpr int CellRow(int index) { return index / Columns; }
} // namespace Board

// What the puzzle window shows. The game says what changed; the window repaints it.
class PuzzleView {
public:
    virtual ~PuzzleView() = default;
    virtual void CellChanged(int index) = 0;  // the cell's back colour
    virtual void BoardChanged() = 0;          // the captions, possibly every colour
    virtual void PairListShown(const QStringList& entries) = 0;
    virtual void PairListHidden() = 0;
    virtual void HitSound() = 0;
    virtual void BackToMenu() = 0;
};

// The rules of the puzzle window: drawing problems without recent repeats, the
// odd cell, hover, answers, the four buttons and the pair list. The object lives
// for the whole run; Load runs at every opening and the hover state carries over.
class PuzzleGame {
public:
    // The window's buttons, by their index in the row (0 is the rightmost).
    enum Button { BackButton, NextButton, AnswerButton, ListButton, ButtonCount };
    static constexpr std::int16_t NoCell = -1;
    // A draw that keeps hitting blocked pairs gives up on chance after this many.
    static constexpr int MaxRedraws = 100;

    PuzzleGame(ProblemStore& store, RandomSource& random);
    PuzzleGame(const PuzzleGame&) = delete;
    PuzzleGame& operator=(const PuzzleGame&) = delete;

    void SetView(PuzzleView* view) { view_ = view; }

    // The window's controls were just created: empty captions, the created colour.
    void CreateCells();
    // The window opens: reloads the pairs, empties the recent window, draws a problem.
    void Load();

    // Events of the window.
    void CellMove(int index);
    void CellClick(int index);
    void ButtonClick(int index);
    void ListPick(int position);
    // The mouse moved over the window's surface, a badge or a button.
    void ClearHoverHighlight();
    // A click on the window's surface or a badge.
    void HidePairList();

    std::int16_t CurrentPair() const { return currentPair_; }  // 0 while the store holds no pair
    std::int16_t OddCell() const { return oddCell_; }          // NoCell while the store holds no pair
    bool ProblemClosed() const { return problemClosed_; }
    bool ListShown() const { return listShown_; }
    // How many of the latest problems block their pair from being drawn again.
    std::int16_t RecentCount() const { return recentCount_; }
    // Slot 1 holds the oldest of those problems' pairs, slot RecentCount the newest; 0 is an unfilled slot.
    std::int16_t RecentPair(int slot) const { return recentPairs_(slot); }
    bool PairBlocked(int pair) const { return pairUsed_(pair); }
    std::int16_t HighlightedCell() const { return hover_.HighlightedIndex(); }
    std::int16_t HoverCell() const { return hover_.HoverIndex(); }

    const QString& Caption(int index) const;
    Rgb BackColour(int index) const;

private:
    void DrawPair();
    void CommitPair();
    void LayOutBoard();
    void ShowPairList();
    int DrawBelow(int limit);
    void Paint(int index, Rgb colour);
    std::int16_t FirstFreePairFrom(std::int16_t pair) const;

    ProblemStore& store_;
    RandomSource& random_;
    PuzzleView* view_ = nullptr;
    HoverHighlight::Painter paintHover_;

    std::int16_t currentPair_ = 0;
    std::int16_t oddCell_ = NoCell;
    bool problemClosed_ = false;
    bool listShown_ = false;
    std::int16_t recentCount_ = 0;
    Slots<std::int16_t, MaxPairs / 2> recentPairs_;
    Slots<bool, MaxPairs> pairUsed_;
    HoverHighlight hover_;
    // Each cell's caption is one of the problem's two characters (or none): held
    // once, so laying out a problem sets 608 pointers, not 608 counted strings.
    QString firstCaption_;
    QString secondCaption_;
    QString noCaption_;
    std::array<const QString*, Board::CellCount> captions_;
    std::array<Rgb, Board::CellCount> colours_;
};
