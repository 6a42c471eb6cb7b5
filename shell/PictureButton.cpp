// SPDX-License-Identifier: MIT
#include "shell/PictureButton.h"

#include "shell/Pictures.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

PictureButton::PictureButton(QWidget* parent, QRect geometry, QColor backColour, const QPixmap& face,
                             const QString& lettering, const QString& toolTip)
    : QAbstractButton(parent), backColour_(backColour), face_(face)
{
    setGeometry(geometry);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(lettering);
    if (!toolTip.isEmpty())
        setToolTip(toolTip);
}

void PictureButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), backColour_);
    const QSizeF faceSize = face_.deviceIndependentSize();
    QPointF topLeft((width() - faceSize.width()) / 2.0, (height() - faceSize.height()) / 2.0);
    if (isDown())
        topLeft += QPointF(1, 1);  // the face sinks while the button is held
    painter.drawPixmap(topLeft, face_);
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(2, 2, -2, -2);
        option.backgroundColor = backColour_;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void PictureButton::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter) {
        QAbstractButton::keyPressEvent(event);
        return;
    }
    // A held key is one click, not a click per repeat.
    if (!event->isAutoRepeat())
        click();
    event->accept();
}

PictureButton* MakeBackButton(QWidget* parent, QRect geometry, QColor backColour)
{
    return new PictureButton(parent, geometry, backColour, Picture(Pictures::BackFace),
                             QStringLiteral("戻る"), QStringLiteral("メニューに戻る"));
}
