// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

// 0xRRGGBB, so the rules can name colours without a GUI library.
using Rgb = std::uint32_t;

// The back colours of a cell that the mouse can highlight, on the puzzle board and
// on the delete window's pair grid.
namespace CellColour {
inline constexpr Rgb Created = 0x0000C0;
// One step darker than Created, so a cell the program painted back is told apart.
inline constexpr Rgb Normal = 0x0000BF;
inline constexpr Rgb Highlighted = 0xFF0000;
} // namespace CellColour
