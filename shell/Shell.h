#pragma once

#include "core/DataLocations.h"
#include "shell/WindowName.h"

#include <QString>

#include <functional>
#include <map>
#include <optional>

class AppError;
class Dialogs;
class QSoundEffect;
class Window;

// The frame the five windows live in: the hand-over between them, the end of the
// program, sound playback and the error rule.
class Shell {
public:
    using ExitFunction = std::function<void(int status)>;

    // appDir: see AppDirFromExecutableDir. exitProgram ends the event loop.
    Shell(QString appDir, Dialogs& dialogs, ExitFunction exitProgram);

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
    int ExitStatus() const { return exitStatus_; }

    // Starts playing AppDir + suffix on the window's own player and returns at once;
    // once the layout is known, the two sounds come from where it keeps them.
    void PlaySoundFile(QSoundEffect& player, const QString& suffix);
    void UseDataLocations(const DataLocations& locations) { locations_ = locations; }
    // Tests listen here to count what would be heard.
    std::function<void(const QString& path)> SoundStarted;

    const QString& AppDir() const { return appDir_; }
    Dialogs& dialogs() const { return dialogs_; }

private:
    void Fail(const AppError& error);
    void UnloadAll();
    bool AnyLoaded() const;

    QString SoundPath(const QString& suffix) const;

    QString appDir_;
    std::optional<DataLocations> locations_;
    Dialogs& dialogs_;
    ExitFunction exit_;
    std::map<WindowName, Window*> windows_;
    bool ended_ = false;
    int exitStatus_ = 0;
    int guardDepth_ = 0;
};
