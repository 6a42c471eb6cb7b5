#include "game/PuzzleWindow.h"
#include "manage/AddWindow.h"
#include "manage/DeleteWindow.h"
#include "manage/ListWindow.h"
#include "menu/MenuWindow.h"
#include "shell/AppDir.h"
#include "shell/Clock.h"
#include "shell/Dialogs.h"
#include "shell/Globals.h"
#include "shell/RandomSource.h"
#include "shell/Shell.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vellumark"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    // The shell decides when the program ends: a hand-over leaves no window for a moment.
    QApplication::setQuitOnLastWindowClosed(false);

    変数宣言::AppDir = AppDirFromExecutableDir(QCoreApplication::applicationDirPath());
    変数宣言::Problems.SetAppDir(変数宣言::AppDir);

    SystemClock clock;
    TimeSeededRandom random(clock);
    MessageBoxDialogs dialogs;
    Shell shell(変数宣言::AppDir, dialogs, [](int status) { QCoreApplication::exit(status); });

    メニュー menu(shell, clock);
    問題表示 puzzle(shell, 変数宣言::Problems, random);
    字一覧 list(shell, 変数宣言::Problems);
    字登録 add(shell, 変数宣言::Problems);
    字削除 remove(shell, 変数宣言::Problems);

    shell.Start();
    // An error while the menu opens has ended the program before the event loop runs.
    return shell.Ended() ? shell.ExitStatus() : QApplication::exec();
}
