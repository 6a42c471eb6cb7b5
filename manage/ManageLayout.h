// SPDX-License-Identifier: MIT
#pragma once

#include "shell/Layout.h"

#include <QColor>
#include <QRect>
#include <QSize>

class PictureButton;
class QFont;
class QLabel;
class QString;
class QWidget;
struct PictureSpec;

// What the list, add and delete windows have in common besides the pair grid.
namespace ManageLayout {

// Positions below are in twips, the unit the windows were drawn in, so that each
// number can be checked against the drawing; TwipsRect makes pixels of them.
inline const QColor BackColour = ColourOf(WindowColour::Back);
inline constexpr QSize ClientSize = TwipsSize(11520, 7200);
inline constexpr QRect BackButtonRect = TwipsRect(9840, 150, 660, 600);

// The window's name plate at the top left, titlePlate.
QLabel* MakeTitle(QWidget& form, const PictureSpec& plate);

// The button left of the back button, named `name`: the list's reset, the add window's 登.
PictureButton* MakeActionButton(QWidget& form, const char* name, const PictureSpec& face, const QString& lettering,
                                const QString& toolTip);

// A centred, borderless caption in white on a coloured band: the prompt of the add
// window's panel and the instruction of the delete window.
QLabel* MakeBanner(QWidget* parent, const QString& caption, QRect geometry, const QFont& font, QColor back,
                   const char* name);

} // namespace ManageLayout
