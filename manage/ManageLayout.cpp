#include "manage/ManageLayout.h"

#include "shell/Layout.h"
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

} // namespace ManageLayout
