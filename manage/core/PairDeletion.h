// SPDX-License-Identifier: MIT
#pragma once

#include "core/HoverHighlight.h"

#include <QString>

#include <functional>

class ProblemStore;

// The delete window's rules: only a cell that holds a pair turns red under the mouse,
// and a click on such a cell asks before it deletes. The object lives for the whole
// run, so the highlight's indices carry over to the next visit.
class PairDeletion {
public:
    using Question = std::function<bool(const QString& text)>;
    using Notice = std::function<void(const QString& text)>;

    explicit PairDeletion(ProblemStore& store) : store_(store) {}

    // The mouse moved over the pair cell `index` (0 to 79).
    void MoveOverPair(int index, const HoverHighlight::Painter& paint);
    // The mouse moved over the background or a number cell.
    void MoveOffPairs(const HoverHighlight::Painter& paint);
    // A click on pair cell `index`: true when the pairs changed and must be shown
    // again: the user said Yes and the pair is gone, or the file had changed
    // elsewhere, which `tell` explains, and the store holds it as it now is. The
    // highlight stays where it is, so the red cell shows the pair that moved in.
    // A lock file that cannot be used is told and changes nothing; a file found
    // missing or damaged raises ProblemFileUnusable.
    bool Click(int index, const Question& ask, const Notice& tell);

    std::int16_t HighlightedIndex() const { return highlight_.HighlightedIndex(); }
    std::int16_t HoverIndex() const { return highlight_.HoverIndex(); }

private:
    bool HoldsPair(int index) const;

    ProblemStore& store_;
    HoverHighlight highlight_;
};
