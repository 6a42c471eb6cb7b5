// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// Where the program's files are, decided once at start.
//
// Portable: a data/ folder beside the executable holds everything, the user's pairs
// included (the build tree, a zip). Installed: no data/ beside the executable; the
// factory copy and the sounds are read from ../share/vellumark/ relative to the
// executable, and the user's pairs live in a per-user folder.
struct DataLocations {
    // The names come from the build (cmake/DataFiles.cmake), which ships the files.
    QString dataFolder;   // the folder that holds the user's pairs (writable)
    QString problemFile;  // the user's pairs, in dataFolder
    QString factoryFile;  // the factory set, never written
    QString crowSound;    // the menu's crow
    QString hitSound;     // the hit when the odd cell is found
    bool installed = false;
};

// The files in `<applicationFolder>/data`, beside the executable.
DataLocations PortableDataLocations(const QString& applicationFolder);

// Decides the layout from the executable's folder; perUserFolder is where an
// installed program keeps the user's pairs (the per-user data folder in the
// program, a temporary folder in tests). Throws AppError with a Japanese message
// naming the path when an installed program finds no factory copy.
DataLocations ResolveDataLocations(const QString& executableFolder, const QString& perUserFolder);

// The folder for the user's own data: Qt's, except that a relative
// XDG_DATA_HOME is ignored, as the XDG base-directory rules say, for
// ~/.local/share. Qt would take it from the current folder, so the pairs would
// depend on where the program was started.
QString PerUserDataFolder();
