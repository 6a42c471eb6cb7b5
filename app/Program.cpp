#include "app/Program.h"

#include "core/AppError.h"
#include "core/ExecutableFolder.h"
#include "store/ProblemFileFormat.h"

#include <QCoreApplication>
#include <QFile>
#include <QStandardPaths>

namespace {

// The characters of the stored pairs, to render ahead; nothing when the file
// cannot be read, which the window that loads it will report.
QString CharactersOnFile(const QString& problemFile)
{
    QFile file(problemFile);
    if (!file.open(QIODevice::ReadOnly) || file.size() > 64 * 1024)
        return {};
    const ProblemFile::TextReading reading = ProblemFile::ReadText(file.readAll());
    return reading.fault ? QString() : reading.text;
}

} // namespace

Program::Program(const DataLocations& locations)
    : random_(clock_),
      store_(locations.problemFile, locations.factoryFile),
      shell_(dialogs_, [](int status) { QCoreApplication::exit(status); }),
      menu_(shell_, clock_, locations.crowSound),
      puzzle_(shell_, store_, random_, locations.hitSound),
      list_(shell_, store_),
      add_(shell_, store_),
      delete_(shell_, store_),
      fonts_(WindowFonts::ForCaptions(), WindowFonts::ForPairs(),
             [problemFile = locations.problemFile] { return CharactersOnFile(problemFile); })
{
}

bool Program::Start()
{
    shell_.Start();
    // The fonts wait for the menu's first picture, which needs none of them.
    menu_.WhenPainted([this] { fonts_.Start(); });
    return !shell_.Ended();
}

DataLocations LocationsOfThisProgram()
{
    const QString executableFolder = QCoreApplication::applicationDirPath();
    // Every file is named from the executable's folder: one the program cannot name
    // exactly would send it to files that are not its own.
    if (const std::optional<QString> reason = WhyUnusable(executableFolder))
        throw AppError(AppError::PathFileAccessError, *reason);
    const DataLocations locations = ResolveDataLocations(
        executableFolder, QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    ProvideUserProblemFile(locations);
    return locations;
}
