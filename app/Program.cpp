// SPDX-License-Identifier: MIT
#include "app/Program.h"

#include "core/AppError.h"
#include "core/ExecutableFolder.h"
#include "shell/LockPause.h"

#include <QCoreApplication>

Program::Program(const DataLocations& locations)
    : random_(clock_),
      store_(locations.problemFile, locations.factoryFile),
      shell_(dialogs_, [](int status) { QCoreApplication::exit(status); }),
      menu_(shell_, clock_, locations.crowSound),
      puzzle_(shell_, store_, random_, locations.hitSound),
      list_(shell_, store_),
      add_(shell_, store_),
      delete_(shell_, store_),
      // The store's own checked reading: the file is read by one reader only.
      fonts_(WindowFonts::ForCaptions(), WindowFonts::ForPairs(), [this] { return store_.CharactersOnFile(); })
{
    // A slow disk under another copy must not freeze the window that waits.
    ProblemStore::LockWaiting waiting = ProblemStore::WaitingBriefly();
    waiting.pause = [] { return PauseKeepingWindowsAlive(std::chrono::milliseconds(50)); };
    store_.SetLockWaiting(std::move(waiting));
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
        executableFolder, PerUserDataFolder());
    ProvideUserProblemFile(locations);
    return locations;
}
