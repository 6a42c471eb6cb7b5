#include "app/Program.h"

#include <QCoreApplication>
#include <QStandardPaths>

Program::Program(const DataLocations& locations)
    : random_(clock_),
      store_(locations.problemFile, locations.factoryFile),
      shell_(dialogs_, [](int status) { QCoreApplication::exit(status); }),
      menu_(shell_, clock_, locations.crowSound),
      puzzle_(shell_, store_, random_, locations.hitSound),
      list_(shell_, store_),
      add_(shell_, store_),
      delete_(shell_, store_)
{
}

bool Program::Start()
{
    shell_.Start();
    return !shell_.Ended();
}

DataLocations LocationsOfThisProgram()
{
    return ResolveDataLocations(QCoreApplication::applicationDirPath(),
                                QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}
