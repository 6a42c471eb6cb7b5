// SPDX-License-Identifier: MIT
#pragma once

#include "core/DataLocations.h"
#include "shell/WindowName.h"

#include <QString>

#include <functional>
#include <map>
#include <optional>

class AppError;
class Dialogs;
class ProblemFileUnusable;
class ProblemStore;
class QSoundEffect;
class QWidget;
class Window;

// The frame the five windows live in: the hand-over between them, the end of the
// program, sound playback and the error rule.
class Shell {
public:
    using ExitFunction = std::function<void(int status)>;

    // exitProgram ends the event loop.
    Shell(Dialogs& dialogs, ExitFunction exitProgram);

    void Register(Window& window);
    Window& WindowNamed(WindowName name) const;

    // Shows the menu.
    void Start();

    // Unloads the loaded window, then loads and shows the target.
    void SwitchToWindow(WindowName target);
    // Loads and shows a window while none is loaded (the menu's delayed start).
    void ShowWindow(WindowName target);
    // Unloads every window and ends the event loop; no handler runs after it.
    void EndProgram();

    // Runs one event handler under the error rule: an error shows one message box,
    // then the program ends without running further handlers. When the handler
    // leaves no window loaded, the program ends too.
    void Guard(const std::function<void()>& handler);
    bool Ended() const { return ended_; }

    // The reading of the problem file in a Load handler. When the file is missing
    // or damaged, the error box asks whether to restore the factory set and carry
    // on: Yes keeps the damaged file under a new name beside it, restores and runs
    // load again; No ends the program by the error rule, the file untouched.
    // When another copy restored or mended the file before the answer came,
    // nothing is replaced: the box says so and the load runs again on what is
    // there, asking again if that is damaged too.
    void LoadOrRestoreFactory(ProblemStore& store, const std::function<void()>& load);
    // A change that found the problem file missing or damaged (deleted or spoilt by
    // another program while the window was open) asks as a load does. Yes restores
    // the factory set (or finds the file mended elsewhere) and returns, the change
    // not made, for the window to show the pairs again; No ends the program.
    void OfferFactoryReset(ProblemStore& store, const ProblemFileUnusable& error);
    int ExitStatus() const { return exitStatus_; }

    // Starts playing the sound file on the window's own player and returns at once.
    void PlaySoundFile(QSoundEffect& player, const QString& path);
    // Tests listen here to count what would be heard.
    std::function<void(const QString& path)> SoundStarted;

    Dialogs& DialogBoxes() const { return dialogs_; }

private:
    void Fail(const AppError& error, bool alreadyShown);
    QWidget* ErrorBoxParent() const;
    QString LoadedCaption() const;
    void UnloadAll();
    bool AnyLoaded() const;

    Dialogs& dialogs_;
    ExitFunction exit_;
    std::map<WindowName, Window*> windows_;
    bool ended_ = false;
    int exitStatus_ = 0;
    int guardDepth_ = 0;
};
