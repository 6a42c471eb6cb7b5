#include "manage/ManageLayout.h"

#include "shell/PictureButton.h"
#include "shell/Pictures.h"

#include <QLabel>

namespace ManageLayout {

QLabel* MakeTitle(QWidget& form, const PictureSpec& plate)
{
    auto* image = new QLabel(&form);
    image->setObjectName(QStringLiteral("Image1"));
    image->setGeometry(TwipsRect(1065, 60, 2280, 795));
    image->setPixmap(Picture(plate));
    return image;
}

PictureButton* MakeActionButton(QWidget& form, const PictureSpec& face, const QString& lettering,
                                const QString& toolTip)
{
    auto* button = new PictureButton(&form, TwipsRect(8880, 150, 660, 600), BackColour, Picture(face), lettering, toolTip);
    button->setObjectName(QStringLiteral("Command2"));
    return button;
}

QLabel* MakeBanner(QWidget* parent, const QString& caption, QRect geometry, const QFont& font, QColor back)
{
    auto* banner = new QLabel(caption, parent);
    banner->setObjectName(QStringLiteral("Label3"));
    banner->setGeometry(geometry);
    banner->setFont(font);
    banner->setAlignment(Qt::AlignCenter);
    banner->setAutoFillBackground(true);
    QPalette colours = banner->palette();
    colours.setColor(QPalette::Window, back);
    colours.setColor(QPalette::WindowText, QColor(255, 255, 255));
    banner->setPalette(colours);
    return banner;
}

} // namespace ManageLayout
