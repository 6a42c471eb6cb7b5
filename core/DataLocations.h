#pragma once

#include <QString>

// Where the program's files are, decided once at start.
//
// Portable: a data/ folder beside the executable holds everything, the user's pairs
// included (the build tree, a zip). Installed: no data/ beside the executable; the
// factory copy and the sounds are read from ../share/vellumark/ relative to the
// executable, and the user's pairs live in a per-user folder.
struct DataLocations {
    QString dataFolder;   // the folder that holds the user's 問題.dat (writable)
    QString problemFile;  // the user's pairs: dataFolder + "/問題.dat"
    QString factoryFile;  // 問題.org
    QString crowSound;    // 音/karasu.wav
    QString hitSound;     // 音/o.wav
    bool installed = false;
};

// Decides the layout from the executable's folder; perUserFolder is where an installed program keeps the user's pairs
// (QStandardPaths::writableLocation(AppDataLocation) in the program, a temporary folder in tests). Throws AppError
// (shell/AppError.h) with a clear Japanese message when an installed program finds no factory copy.
DataLocations ResolveDataLocations(const QString& executableFolder, const QString& perUserFolder);

// Installed layout only: creates the user's 問題.dat from the factory copy when it is missing (atomically, QSaveFile),
// never overwrites it.
void ProvideUserProblemFile(const DataLocations& locations);
