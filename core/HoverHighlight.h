// SPDX-License-Identifier: MIT
#pragma once

#include "core/CellColours.h"

#include <cstdint>
#include <functional>

// The hover highlight shared by the puzzle board and the delete window's pair grid:
// the cell under the mouse is red, and the cell it leaves is painted back one step
// darker than it was created. The owner keeps this object across visits, so both
// indices survive a window's unload.
class HoverHighlight {
public:
    using Painter = std::function<void(int index, Rgb colour)>;

    static constexpr std::int16_t None = -1;

    // The cell painted red now, or None.
    std::int16_t HighlightedIndex() const { return highlightedIndex_; }
    // The last cell the mouse moved over.
    std::int16_t HoverIndex() const { return hoverIndex_; }

    // The mouse moved over cell `index`.
    void MoveOver(std::int16_t index, const Painter& paint)
    {
        hoverIndex_ = index;
        if (highlightedIndex_ == hoverIndex_)
            return;
        if (highlightedIndex_ != None)
            paint(highlightedIndex_, CellColour::Normal);
        paint(hoverIndex_, CellColour::Highlighted);
        highlightedIndex_ = hoverIndex_;
    }

    // The mouse moved over the background or another control that clears: the last
    // cell under the mouse is painted back whether or not it is red.
    void Clear(const Painter& paint)
    {
        paint(hoverIndex_, CellColour::Normal);
        highlightedIndex_ = None;
    }

private:
    std::int16_t highlightedIndex_ = None;
    std::int16_t hoverIndex_ = 0;
};
