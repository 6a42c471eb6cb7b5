#pragma once

#include <QColor>

class QLabel;
class QWidget;
struct PictureSpec;

// What the list, add and delete windows have in common besides the pair grid.
namespace ManageLayout {

inline const QColor BackColour{128, 128, 255};

// The window's name plate at the top left, Image1.
QLabel* MakeTitle(QWidget& form, const PictureSpec& plate);

} // namespace ManageLayout
