#pragma once

#include <QString>

// Where the program's files are, decided once at start and handed to the store and
// the sound player; nothing else builds a path.
struct DataLocations {
    QString dataFolder;   // the folder that holds the user's 問題.dat
    QString problemFile;  // the user's pairs
    QString factoryFile;  // 問題.org, never written
    QString crowSound;    // the menu's start and end
    QString hitSound;     // the puzzle's hit
    bool installed = false;
};

// The files in `<applicationFolder>/data`, beside the executable.
DataLocations PortableDataLocations(const QString& applicationFolder);

// Decides the layout from the executable's folder.
DataLocations ResolveDataLocations(const QString& executableFolder, const QString& perUserFolder);
