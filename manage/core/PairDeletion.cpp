#include "manage/core/PairDeletion.h"

#include "store/ProblemStore.h"

bool PairDeletion::HoldsPair(int index) const
{
    return index >= 0 && index < store_.ProblemCount();
}

void PairDeletion::MoveOverPair(int index, const HoverHighlight::Painter& paint)
{
    // Only a cell that holds a pair can be deleted, so only such a cell turns red.
    if (HoldsPair(index))
        highlight_.MoveOver(static_cast<std::int16_t>(index), paint);
}

void PairDeletion::MoveOffPairs(const HoverHighlight::Painter& paint)
{
    highlight_.Clear(paint);
}

bool PairDeletion::Click(int index, const Question& ask)
{
    if (!HoldsPair(index))
        return false;
    const auto number = static_cast<std::int16_t>(index + 1);
    if (!ask(store_.PairCaption(number) + QStringLiteral(" を削除しますか？")))
        return false;
    store_.DeletePair(number);
    return true;
}
