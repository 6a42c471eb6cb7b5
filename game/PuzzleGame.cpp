#include "game/PuzzleGame.h"

#include "shell/RandomSource.h"
#include "store/ProblemStore.h"

namespace {

AppError OutOfRange(int index, int first, int last)
{
    return AppError(AppError::SubscriptOutOfRange,
                    QStringLiteral("インデックス %1 が有効範囲 (%2 ～ %3) にありません。").arg(index).arg(first).arg(last));
}

int CheckedCell(int index)
{
    if (index < 0 || index >= Board::CellCount)
        throw OutOfRange(index, 0, Board::CellCount - 1);
    return index;
}

} // namespace

PuzzleGame::PuzzleGame(ProblemStore& store, RandomSource& random)
    : store_(store), random_(random),
      paintHover_([this](int index, HoverHighlight::Paint paint) {
          Paint(index, paint == HoverHighlight::Paint::Highlight ? Red : NormalBlue);
      })
{
    colours_.fill(CreatedBlue);
}

void PuzzleGame::CreateCells()
{
    for (QString& caption : captions_)
        caption.clear();
    colours_.fill(CreatedBlue);
    if (view_)
        view_->BoardChanged();
}

void PuzzleGame::Load()
{
    ProblemClosed = 0;
    ListShown = 0;
    store_.LoadProblemFile();
    const std::int16_t count = store_.ProblemCount();
    RecentCount = static_cast<std::int16_t>(count / 2);
    for (int n = 1; n <= count; ++n)
        PairUsed(n) = 0;
    for (int i = 1; i <= RecentCount; ++i)
        RecentPairs(i) = 0;
    DrawPair();
}

int PuzzleGame::DrawBelow(int limit)
{
    const double r = random_.Next();
    if (!(r >= 0.0 && r < 1.0))
        throw AppError(AppError::SubscriptOutOfRange, QStringLiteral("乱数 %1 が 0 以上 1 未満にありません。").arg(r));
    return static_cast<int>(r * limit);
}

std::int16_t PuzzleGame::FirstFreePairFrom(std::int16_t pair) const
{
    const std::int16_t count = store_.ProblemCount();
    for (int step = 0; step < count; ++step) {
        const auto candidate = static_cast<std::int16_t>((pair - 1 + step) % count + 1);
        if (PairUsed(candidate) == 0)
            return candidate;
    }
    return pair;
}

void PuzzleGame::DrawPair()
{
    const std::int16_t count = store_.ProblemCount();
    if (count == 0) {
        CurrentPair = 0;
        CommitPair();
        return;
    }
    // At most half the pairs are blocked, so chance ends this loop within a few
    // draws; the cap only keeps a broken generator from freezing the window.
    for (int draws = 1;; ++draws) {
        CurrentPair = static_cast<std::int16_t>(DrawBelow(count) + 1);
        if (PairUsed(CurrentPair) == 0)
            break;
        if (draws == MaxRedraws) {
            CurrentPair = FirstFreePairFrom(CurrentPair);
            break;
        }
    }
    CommitPair();
}

void PuzzleGame::CommitPair()
{
    // An empty window blocks nothing: with a single pair it simply comes again.
    const int n = RecentCount;
    if (n > 0) {
        // Release before block: a pair that leaves and re-enters in one commit stays blocked.
        PairUsed(RecentPairs(1)) = 0;
        PairUsed(CurrentPair) = 1;
        for (int i = 1; i <= n - 1; ++i)
            RecentPairs(i) = RecentPairs(i + 1);
        RecentPairs(n) = CurrentPair;
    }
    LayOutBoard();
}

void PuzzleGame::LayOutBoard()
{
    ProblemClosed = 0;
    ListShown = 0;
    if (CurrentPair == 0) {
        OddCell = NoCell;
        for (QString& caption : captions_)
            caption.clear();
    } else {
        OddCell = static_cast<std::int16_t>(DrawBelow(Board::CellCount));
        const QString& first = store_.ProblemTable(1, CurrentPair);
        const QString& second = store_.ProblemTable(2, CurrentPair);
        for (int k = 0; k < Board::CellCount; ++k)
            captions_[static_cast<std::size_t>(k)] = k == OddCell ? second : first;
    }
    if (view_)
        view_->BoardChanged();
}

void PuzzleGame::HighlightHoverCell()
{
    Hover.HighlightHover(paintHover_);
}

void PuzzleGame::ClearHoverHighlight()
{
    Hover.Clear(paintHover_);
}

void PuzzleGame::CellMove(int index)
{
    HoverCell = static_cast<std::int16_t>(CheckedCell(index));
    HighlightHoverCell();
}

void PuzzleGame::CellClick(int index)
{
    CheckedCell(index);
    if (ListShown == 1) {
        HidePairList();
        return;
    }
    if (ProblemClosed == 0 && index == OddCell) {
        ProblemClosed = 1;
        if (view_)
            view_->HitSound();
    }
}

void PuzzleGame::ButtonClick(int index)
{
    if (index < 0 || index > 3)
        throw OutOfRange(index, 0, 3);
    // Every button first takes back the answer marking, whatever the state.
    if (OddCell != NoCell)
        Paint(OddCell, NormalBlue);
    switch (index) {
    case 0:
        if (view_)
            view_->BackToMenu();
        break;
    case 1:
        if (ListShown == 0)
            DrawPair();
        break;
    case 2:
        if (ListShown == 0) {
            ProblemClosed = 1;
            if (OddCell != NoCell)
                Paint(OddCell, Red);
        }
        break;
    case 3:
        if (ListShown == 0)
            ShowPairList();
        break;
    }
}

void PuzzleGame::ShowPairList()
{
    ListShown = 1;
    QStringList entries;
    const std::int16_t count = store_.ProblemCount();
    entries.reserve(count);
    for (std::int16_t k = 1; k <= count; ++k)
        entries << store_.PairCaption(k);
    if (view_)
        view_->PairListShown(entries);
}

void PuzzleGame::HidePairList()
{
    if (view_)
        view_->PairListHidden();
    ListShown = 0;
}

void PuzzleGame::ListPick(int position)
{
    const std::int16_t count = store_.ProblemCount();
    if (position < 0 || position >= count)
        throw OutOfRange(position, 0, count - 1);
    CurrentPair = static_cast<std::int16_t>(position + 1);
    if (view_)
        view_->PairListHidden();
    // A pick enters the recent window without looking at PairUsed.
    CommitPair();
}

const QString& PuzzleGame::Caption(int index) const
{
    return captions_[static_cast<std::size_t>(CheckedCell(index))];
}

PuzzleGame::Rgb PuzzleGame::BackColour(int index) const
{
    return colours_[static_cast<std::size_t>(CheckedCell(index))];
}

void PuzzleGame::Paint(int index, Rgb colour)
{
    Rgb& current = colours_[static_cast<std::size_t>(CheckedCell(index))];
    if (current == colour)
        return;
    current = colour;
    if (view_)
        view_->CellChanged(index);
}
