// SPDX-License-Identifier: MIT
#include "game/core/PuzzleGame.h"

#include "core/RandomSource.h"
#include "store/ProblemStore.h"

namespace {

int CheckedCell(int index)
{
    if (index < 0 || index >= Board::CellCount)
        throw IndexOutOfRange(index, 0, Board::CellCount - 1);
    return index;
}

} // namespace

PuzzleGame::PuzzleGame(ProblemStore& store, RandomSource& random)
    : store_(store), random_(random),
      paintHover_([this](int index, Rgb colour) { Paint(index, colour); })
{
    captions_.fill(&noCaption_);
    colours_.fill(CellColour::Created);
}

void PuzzleGame::CreateCells()
{
    captions_.fill(&noCaption_);
    colours_.fill(CellColour::Created);
    if (view_)
        view_->BoardChanged();
}

void PuzzleGame::Load()
{
    problemClosed_ = false;
    listShown_ = false;
    store_.LoadProblemFile();
    const std::int16_t count = store_.ProblemCount();
    recentCount_ = static_cast<std::int16_t>(count / 2);
    for (int n = 1; n <= count; ++n)
        pairUsed_(n) = false;
    for (int i = 1; i <= recentCount_; ++i)
        recentPairs_(i) = 0;
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
        if (!pairUsed_(candidate))
            return candidate;
    }
    return pair;
}

void PuzzleGame::DrawPair()
{
    const std::int16_t count = store_.ProblemCount();
    if (count == 0) {
        currentPair_ = 0;
        CommitPair();
        return;
    }
    // At most half the pairs are blocked, so chance ends this loop within a few
    // draws; the cap only keeps a broken generator from freezing the window.
    for (int draws = 1;; ++draws) {
        currentPair_ = static_cast<std::int16_t>(DrawBelow(count) + 1);
        if (!pairUsed_(currentPair_))
            break;
        if (draws == MaxRedraws) {
            currentPair_ = FirstFreePairFrom(currentPair_);
            break;
        }
    }
    CommitPair();
}

void PuzzleGame::CommitPair()
{
    // An empty window blocks nothing: with a single pair it simply comes again.
    const int n = recentCount_;
    if (n > 0) {
        // Release before block: a pair that leaves and re-enters in one commit stays
        // blocked. Slot 0 takes the release of a slot not yet filled.
        pairUsed_(recentPairs_(1)) = false;
        pairUsed_(currentPair_) = true;
        for (int i = 1; i <= n - 1; ++i)
            recentPairs_(i) = recentPairs_(i + 1);
        recentPairs_(n) = currentPair_;
    }
    LayOutBoard();
}

void PuzzleGame::LayOutBoard()
{
    problemClosed_ = false;
    listShown_ = false;
    if (currentPair_ == 0) {
        oddCell_ = NoCell;
        captions_.fill(&noCaption_);
    } else {
        oddCell_ = static_cast<std::int16_t>(DrawBelow(Board::CellCount));
        firstCaption_ = store_.ProblemTable(1, currentPair_);
        secondCaption_ = store_.ProblemTable(2, currentPair_);
        for (int k = 0; k < Board::CellCount; ++k)
            captions_[static_cast<std::size_t>(k)] = k == oddCell_ ? &secondCaption_ : &firstCaption_;
    }
    if (view_)
        view_->BoardChanged();
}

void PuzzleGame::ClearHoverHighlight()
{
    hover_.Clear(paintHover_);
}

void PuzzleGame::CellMove(int index)
{
    hover_.MoveOver(static_cast<std::int16_t>(CheckedCell(index)), paintHover_);
}

void PuzzleGame::CellClick(int index)
{
    CheckedCell(index);
    if (listShown_) {
        HidePairList();
        return;
    }
    if (!problemClosed_ && index == oddCell_) {
        problemClosed_ = true;
        if (view_)
            view_->HitSound();
    }
}

void PuzzleGame::ButtonClick(int index)
{
    if (index < 0 || index >= ButtonCount)
        throw IndexOutOfRange(index, 0, ButtonCount - 1);
    // Every button first takes back the answer marking, whatever the state.
    if (oddCell_ != NoCell)
        Paint(oddCell_, CellColour::Normal);
    switch (index) {
    case BackButton:
        if (view_)
            view_->BackToMenu();
        break;
    case NextButton:
        if (!listShown_)
            DrawPair();
        break;
    case AnswerButton:
        if (!listShown_) {
            problemClosed_ = true;
            if (oddCell_ != NoCell)
                Paint(oddCell_, CellColour::Highlighted);
        }
        break;
    case ListButton:
        if (!listShown_)
            ShowPairList();
        break;
    }
}

void PuzzleGame::ShowPairList()
{
    listShown_ = true;
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
    listShown_ = false;
}

void PuzzleGame::ListPick(int position)
{
    const std::int16_t count = store_.ProblemCount();
    if (position < 0 || position >= count)
        throw IndexOutOfRange(position, 0, count - 1);
    currentPair_ = static_cast<std::int16_t>(position + 1);
    if (view_)
        view_->PairListHidden();
    // A pick enters the recent window without looking at PairUsed.
    CommitPair();
}

const QString& PuzzleGame::Caption(int index) const
{
    return *captions_[static_cast<std::size_t>(CheckedCell(index))];
}

Rgb PuzzleGame::BackColour(int index) const
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
