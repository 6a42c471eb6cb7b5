// SPDX-License-Identifier: MIT
// The real program up to the menu's first paint.
#include "bench/shell/FirstPaint.h"
#include "app/Program.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QuitWhenShown quit;
    Program program(LocationsOfThisProgram());
    if (!program.Start())
        return 1;
    return QApplication::exec();
}
