// SPDX-License-Identifier: MIT
#pragma once

#include "core/Clock.h"
#include "core/DataLocations.h"
#include "core/RandomSource.h"
#include "game/PuzzleWindow.h"
#include "manage/AddWindow.h"
#include "manage/DeleteWindow.h"
#include "manage/ListWindow.h"
#include "menu/MenuWindow.h"
#include "shell/Dialogs.h"
#include "shell/FontWarmUp.h"
#include "shell/Shell.h"
#include "store/ProblemStore.h"

// The whole program wired together: where its files are, the real clock, random
// source and message boxes, the store, and the five windows. Needs a QApplication.
class Program {
public:
    explicit Program(const DataLocations& locations);
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Shows the menu. Returns false when the program already ended while doing so.
    bool Start();
    int ExitStatus() const { return shell_.ExitStatus(); }
    // Whether every window font has been loaded ahead.
    bool FontsWarmed() const { return fonts_.Done(); }

private:
    SystemClock clock_;
    TimeSeededRandom random_;
    MessageBoxDialogs dialogs_;
    ProblemStore store_;
    Shell shell_;
    MenuWindow menu_;
    PuzzleWindow puzzle_;
    ListWindow list_;
    AddWindow add_;
    DeleteWindow delete_;
    FontWarmUp fonts_;
};

// Where the running program's files are, the user's pairs provided on an installed
// program's first run. Throws AppError when the program cannot know.
DataLocations LocationsOfThisProgram();
