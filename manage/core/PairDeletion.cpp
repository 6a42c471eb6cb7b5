// SPDX-License-Identifier: MIT
#include "manage/core/PairDeletion.h"

#include "core/AppError.h"
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

bool PairDeletion::Click(int index, const Question& ask, const Notice& tell)
{
    if (!HoldsPair(index))
        return false;
    const auto number = static_cast<std::int16_t>(index + 1);
    const QString caption = store_.PairCaption(number);
    if (!ask(caption + QStringLiteral(" を削除しますか？")))
        return false;
    try {
        store_.DeletePair(number);
    } catch (const ProblemFileChanged& changed) {
        // Pair numbers may mean other pairs now: never delete by a stale one.
        tell(changed.Description()
             + QStringLiteral("\n%1 はまだ削除していません。今の字の表を確かめて、もう一度選んで下さい。").arg(caption));
    } catch (const LockFileUnusable& blocked) {
        tell(blocked.Description());
        return false;
    }
    return true;
}
