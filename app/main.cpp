// SPDX-License-Identifier: MIT
#include "BuildInfo.h"
#include "app/Program.h"
#include "core/AppError.h"
#include "shell/Dialogs.h"
#include "store/CodePage932.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vellumark"));
    QApplication::setApplicationVersion(QStringLiteral(VELLUMARK_VERSION));
    // Ties the windows to the installed menu entry and its icon.
    QApplication::setDesktopFileName(QStringLiteral(VELLUMARK_APP_ID));
    // The shell decides when the program ends: a hand-over leaves no window for a moment.
    QApplication::setQuitOnLastWindowClosed(false);

    // Without a converter for the problem file's encoding every file would look damaged.
    if (const std::optional<QString> reason = WhyNoCp932Converter()) {
        MessageBoxDialogs().ShowError(nullptr, AppError(AppError::InternalError, *reason));
        return 1;
    }

    // The files are located once, before any window opens; a program that cannot
    // know where they are says why and does not start.
    DataLocations locations;
    try {
        locations = LocationsOfThisProgram();
    } catch (const AppError& error) {
        MessageBoxDialogs().ShowError(nullptr, error);
        return 1;
    }

    Program program(locations);
    // An error while the menu opens ends the program before the event loop runs.
    if (!program.Start())
        return program.ExitStatus();
    return QApplication::exec();
}
