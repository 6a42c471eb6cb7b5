// SPDX-License-Identifier: MIT
#pragma once

#include "core/CellColours.h"

// The colours of the windows that more than one control shares, 0xRRGGBB like
// the cell colours.
namespace WindowColour {
// The puzzle window and the list, add and delete windows.
inline constexpr Rgb Back = 0x8080FF;
// The menu, and the add window's input panel, which wears the menu's green.
inline constexpr Rgb MenuBack = 0xC0FFC0;
// The pair grid: white numbers on blue, yellow pairs in a yellow frame; white is
// also the lettering of the coloured banners and of the puzzle's pair list.
inline constexpr Rgb GridNumberBack = 0x0000FF;
inline constexpr Rgb White = 0xFFFFFF;
inline constexpr Rgb Yellow = 0xFFFF00;
} // namespace WindowColour
