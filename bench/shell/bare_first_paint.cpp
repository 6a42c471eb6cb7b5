// SPDX-License-Identifier: MIT
// The baseline: a bare Qt program that shows one widget of the menu's size.
#include "bench/shell/FirstPaint.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QuitWhenShown quit;
    QWidget window;
    window.setFixedSize(629, 361);
    window.show();
    return QApplication::exec();
}
