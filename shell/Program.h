#pragma once

#include "game/PuzzleWindow.h"
#include "manage/AddWindow.h"
#include "manage/DeleteWindow.h"
#include "manage/ListWindow.h"
#include "menu/MenuWindow.h"
#include "shell/Clock.h"
#include "shell/Dialogs.h"
#include "shell/RandomSource.h"
#include "shell/Shell.h"

// The whole program wired together: the real clock, random source and message
// boxes, the global store, and the five windows. Needs a QApplication.
class Program {
public:
    Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Shows the menu. Returns false when the program already ended while doing so.
    bool Start();
    int ExitStatus() const { return shell_.ExitStatus(); }

private:
    SystemClock clock_;
    TimeSeededRandom random_;
    MessageBoxDialogs dialogs_;
    Shell shell_;
    メニュー menu_;
    問題表示 puzzle_;
    字一覧 list_;
    字登録 add_;
    字削除 remove_;
};
