// SPDX-License-Identifier: MIT
#include "manage/core/PairEntry.h"

#include "core/AppError.h"
#include "store/ProblemStore.h"

#include <QTextBoundaryFinder>

bool PairEntry::Open()
{
    if (panelOpen_)
        return false;
    panelOpen_ = true;
    return true;
}

PairEntry::Confirmation PairEntry::Confirm(const QString& first, const QString& second)
{
    // The box that still needs input, and the first box when both are filled.
    Focus focus = Focus::FirstBox;
    if (!first.isEmpty() && second.isEmpty())
        focus = Focus::SecondBox;
    if (first.isEmpty() || second.isEmpty())
        return {Outcome::Incomplete, focus, {}};

    try {
        store_.AddPair(FirstCharacter(first), FirstCharacter(second));
    } catch (const InputRefused& refusal) {
        return {Outcome::Refused, focus, QStringLiteral("この組は登録できません。\n") + refusal.Description()};
    } catch (const LockFileUnusable& blocked) {
        return {Outcome::Refused, focus, blocked.Description()};
    } catch (const ProblemFileChanged& changed) {
        return {Outcome::Reloaded, focus,
                changed.Description()
                    + QStringLiteral("\nこの組はまだ登録していません。今の字の表を確かめて、もう一度登録して下さい。")};
    }
    return {Outcome::Stored, Close(), {}};
}

PairEntry::Focus PairEntry::Close()
{
    panelOpen_ = false;
    return Focus::OpenButton;
}

QString PairEntry::FirstCharacter(const QString& typed)
{
    // Cutting by UTF-16 units would halve a character outside the basic plane, and
    // cutting by code points would strip the voicing mark from a decomposed が and
    // store か without a word; composed first, a mark that has no composed form
    // stays with its base and is refused whole.
    const QString text = typed.normalized(QString::NormalizationForm_C);
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
    const qsizetype end = graphemes.toNextBoundary();
    return text.left(end < 0 ? text.size() : end);
}
