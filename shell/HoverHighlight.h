#pragma once

#include <cstdint>
#include <functional>

// The hover highlight shared by the puzzle board and the delete window's pair grid:
// the cell under the mouse is red, and the cell it leaves is painted back one step
// darker than it was created. The owner keeps this object across visits, so both
// indices survive a window's unload.
class HoverHighlight {
public:
    enum class Paint { Normal, Highlight };
    using Painter = std::function<void(int index, Paint paint)>;

    static constexpr std::int16_t None = -1;

    std::int16_t HighlightedIndex = None;  // the cell painted red now, or None
    std::int16_t HoverIndex = 0;           // the last cell the mouse moved over

    // The mouse moved over cell `index`.
    void MoveOver(std::int16_t index, const Painter& paint)
    {
        HoverIndex = index;
        HighlightHover(paint);
    }

    void HighlightHover(const Painter& paint)
    {
        if (HighlightedIndex == HoverIndex)
            return;
        if (HighlightedIndex != None)
            paint(HighlightedIndex, Paint::Normal);
        paint(HoverIndex, Paint::Highlight);
        HighlightedIndex = HoverIndex;
    }

    // The mouse moved over the background or another control that clears: the last
    // cell under the mouse is painted back whether or not it is red.
    void Clear(const Painter& paint)
    {
        paint(HoverIndex, Paint::Normal);
        HighlightedIndex = None;
    }
};
