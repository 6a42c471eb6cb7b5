#include "shell/Program.h"

#include "core/DataLocations.h"
#include "shell/AppDir.h"
#include "shell/Globals.h"

#include <QCoreApplication>
#include <QStandardPaths>

namespace {

const QString& InitialiseAppDir()
{
    変数宣言::AppDir = AppDirFromExecutableDir(QCoreApplication::applicationDirPath());
    変数宣言::Problems.SetAppDir(変数宣言::AppDir);
    return 変数宣言::AppDir;
}

} // namespace

Program::Program()
    : random_(clock_),
      shell_(InitialiseAppDir(), dialogs_, [](int status) { QCoreApplication::exit(status); }),
      menu_(shell_, clock_),
      puzzle_(shell_, 変数宣言::Problems, random_),
      list_(shell_, 変数宣言::Problems),
      add_(shell_, 変数宣言::Problems),
      remove_(shell_, 変数宣言::Problems)
{
}

bool Program::Start()
{
    // The layout is settled before the menu opens; a broken installation is
    // reported like any other error and ends the program.
    shell_.Guard([this] {
        const DataLocations locations =
            ResolveDataLocations(QCoreApplication::applicationDirPath(),
                                 QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
        ProvideUserProblemFile(locations);
        変数宣言::Problems.SetFilePaths(locations.problemFile, locations.factoryFile);
        shell_.UseDataLocations(locations);
        shell_.ShowWindow(WindowName::メニュー);
    });
    return !shell_.Ended();
}
