#include "shell/Program.h"

#include "shell/AppDir.h"
#include "shell/Globals.h"

#include <QCoreApplication>

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
    shell_.Start();
    return !shell_.Ended();
}
