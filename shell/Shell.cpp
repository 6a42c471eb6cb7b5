#include "shell/Shell.h"

#include "core/AppError.h"
#include "shell/Dialogs.h"
#include "shell/Window.h"

#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

#include <cstdio>
#include <stdexcept>

Shell::Shell(Dialogs& dialogs, ExitFunction exitProgram) : dialogs_(dialogs), exit_(std::move(exitProgram))
{
}

void Shell::Register(Window& window)
{
    windows_[window.Name()] = &window;
}

Window& Shell::WindowNamed(WindowName name) const
{
    const auto it = windows_.find(name);
    if (it == windows_.end())
        throw std::logic_error("window not registered");
    return *it->second;
}

void Shell::Start()
{
    Guard([this] { ShowWindow(WindowName::Menu); });
}

void Shell::SwitchToWindow(WindowName target)
{
    UnloadAll();
    ShowWindow(target);
}

void Shell::ShowWindow(WindowName target)
{
    WindowNamed(target).Load();
}

void Shell::EndProgram()
{
    if (ended_)
        return;
    ended_ = true;
    UnloadAll();
    exit_(0);
}

void Shell::Guard(const std::function<void()>& handler)
{
    if (ended_)
        return;
    ++guardDepth_;
    try {
        handler();
    } catch (const AppError& error) {
        Fail(error);
    } catch (const std::exception& error) {
        Fail(AppError(AppError::InternalError, QStringLiteral("内部エラー: %1").arg(QString::fromUtf8(error.what()))));
    } catch (...) {
        Fail(AppError(AppError::InternalError, QStringLiteral("内部エラー: 原因の分からない例外が起きました。")));
    }
    --guardDepth_;
    // A handler nested in a modal loop is not the end of the outer event.
    if (guardDepth_ == 0 && !ended_ && !AnyLoaded())
        EndProgram();
}

void Shell::Fail(const AppError& error)
{
    if (ended_)
        return;
    ended_ = true;
    QWidget* parent = nullptr;
    for (const auto& [name, window] : windows_)
        if (window->IsLoaded())
            parent = window->Form();
    dialogs_.ShowError(parent, error);
    UnloadAll();
    exitStatus_ = 1;
    exit_(exitStatus_);
}

void Shell::UnloadAll()
{
    for (const auto& [name, window] : windows_)
        if (window->IsLoaded())
            window->Unload();
}

bool Shell::AnyLoaded() const
{
    for (const auto& [name, window] : windows_)
        if (window->IsLoaded())
            return true;
    return false;
}

void Shell::PlaySoundFile(QSoundEffect& player, const QString& path)
{
    if (SoundStarted)
        SoundStarted(path);
    // A sound is a nicety: a missing file costs a warning, never the game.
    if (!QFileInfo::exists(path)) {
        std::fprintf(stderr, "vellumark: sound file missing: %s\n", qUtf8Printable(path));
        return;
    }
    // A player that loaded the file ahead keeps it, and starts at once.
    const QUrl source = QUrl::fromLocalFile(path);
    player.stop();
    if (player.source() != source)
        player.setSource(source);
    player.play();
}
