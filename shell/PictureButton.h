// SPDX-License-Identifier: MIT
#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QPixmap>

// A button whose face is a picture on the button's back colour, with no caption.
// The lettering of the picture is its accessible name, for screen readers. Like a
// Windows command button it clicks on Return or Enter while it has the focus, as
// well as on Space.
class PictureButton : public QAbstractButton {
    Q_OBJECT
public:
    PictureButton(QWidget* parent, QRect geometry, QColor backColour, const QPixmap& face,
                  const QString& lettering, const QString& toolTip = {});

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QColor backColour_;
    QPixmap face_;
};

struct PictureSpec;

// One button of a row: its object name, where it stands, its face and what the face says.
struct ButtonDesign {
    const char* name;
    QRect geometry;
    const PictureSpec& face;
    const char* lettering;
    const char* toolTip = nullptr;  // none when null
};

// The back button every window but the menu carries: 戻 on red, "メニューに戻る".
PictureButton* MakeBackButton(QWidget* parent, QRect geometry, QColor backColour);
