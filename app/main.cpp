#include "app/Program.h"
#include "core/AppError.h"
#include "core/ExecutableFolder.h"
#include "shell/Dialogs.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vellumark"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    // The shell decides when the program ends: a hand-over leaves no window for a moment.
    QApplication::setQuitOnLastWindowClosed(false);

    // Every file is named from the executable's folder: one the program cannot name
    // exactly would send it to files that are not its own.
    if (const std::optional<QString> reason = WhyUnusable(QCoreApplication::applicationDirPath())) {
        MessageBoxDialogs().ShowError(nullptr, AppError(AppError::PathFileAccessError, *reason));
        return 1;
    }

    Program program(LocationsOfThisProgram());
    // An error while the menu opens ends the program before the event loop runs.
    if (!program.Start())
        return program.ExitStatus();
    return QApplication::exec();
}
