// SPDX-License-Identifier: MIT
#include "manage/ManageLayout.h"

#include "shell/PictureButton.h"
#include "shell/Pictures.h"

#include <QLabel>

namespace ManageLayout {

// Positions here are in twips, the unit the windows were drawn in, so that each
// number can be checked against the drawing; TwipsRect makes pixels of them.
QLabel* MakeTitle(QWidget& form, const PictureSpec& plate)
{
    auto* image = new QLabel(&form);
    image->setObjectName(QStringLiteral("titlePlate"));
    image->setGeometry(TwipsRect(1065, 60, 2280, 795));
    image->setPixmap(Picture(plate));
    return image;
}

PictureButton* MakeActionButton(QWidget& form, const char* name, const PictureSpec& face, const QString& lettering,
                                const QString& toolTip)
{
    auto* button = new PictureButton(&form, TwipsRect(8880, 150, 660, 600), BackColour, Picture(face), lettering, toolTip);
    button->setObjectName(QLatin1String(name));
    return button;
}

QLabel* MakeBanner(QWidget* parent, const QString& caption, QRect geometry, const QFont& font, QColor back,
                   const char* name)
{
    auto* banner = new QLabel(caption, parent);
    banner->setObjectName(QLatin1String(name));
    banner->setGeometry(geometry);
    banner->setFont(font);
    banner->setAlignment(Qt::AlignCenter);
    banner->setAutoFillBackground(true);
    QPalette colours = banner->palette();
    colours.setColor(QPalette::Window, back);
    colours.setColor(QPalette::WindowText, ColourOf(WindowColour::White));
    banner->setPalette(colours);
    return banner;
}

} // namespace ManageLayout
