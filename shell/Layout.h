// SPDX-License-Identifier: MIT
#pragma once

#include "core/CellColours.h"
#include "core/WindowColours.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QRect>
#include <QSize>

// Layouts are designed in twips, 15 to the pixel; every position in the program is
// an exact multiple.
constexpr int Twips(int twips) { return twips / 15; }

constexpr QRect TwipsRect(int left, int top, int width, int height)
{
    return {Twips(left), Twips(top), Twips(width), Twips(height)};
}

constexpr QSize TwipsSize(int width, int height) { return {Twips(width), Twips(height)}; }

inline QColor ColourOf(Rgb rgb) { return QColor::fromRgb(0xff000000u | rgb); }

// The Mincho fonts the windows are designed with (ＭＳ 明朝, then Yu Mincho) on Windows,
// IPA Mincho elsewhere, named one by one (fontconfig alone would substitute a
// Latin serif). Sizes are in
// points at 96 dpi and set in pixels, so text keeps its place in the fixed layouts.
QFont MinchoFont(double points, bool bold = false);
QFont PMinchoFont(double points, bool bold = false);

// The fonts of the windows' text, one for each use.
namespace WindowFonts {
inline QFont GridNumber() { return MinchoFont(12, true); }
inline QFont GridPair() { return MinchoFont(12); }
inline QFont PuzzleCell() { return MinchoFont(15.75); }
inline QFont PuzzlePairList() { return MinchoFont(20.25); }
inline QFont CharacterBox() { return MinchoFont(36, true); }
inline QFont AddPrompt() { return PMinchoFont(14.25, true); }
inline QFont DeleteInstruction() { return MinchoFont(15.75, true); }
// Those that show the stored pairs, and the others, each from the most used.
inline QList<QFont> ForPairs() { return {GridPair(), PuzzleCell(), PuzzlePairList()}; }
inline QList<QFont> ForCaptions() { return {GridNumber(), DeleteInstruction(), AddPrompt(), CharacterBox()}; }
} // namespace WindowFonts
