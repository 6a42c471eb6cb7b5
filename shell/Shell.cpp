// SPDX-License-Identifier: MIT
#include "shell/Shell.h"

#include "core/AppError.h"
#include "shell/Dialogs.h"
#include "shell/Window.h"
#include "store/ProblemStore.h"

#include <QDateTime>
#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

#include <cstdio>
#include <stdexcept>

namespace {

// An error whose box the user has already seen (and answered).
class ShownError : public AppError {
public:
    explicit ShownError(const AppError& error) : AppError(error) {}
};

} // namespace

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
    } catch (const ShownError& error) {
        Fail(error, true);
    } catch (const AppError& error) {
        Fail(error, false);
    } catch (const std::exception& error) {
        Fail(AppError(AppError::InternalError, QStringLiteral("内部エラー: %1").arg(QString::fromUtf8(error.what()))),
             false);
    } catch (...) {
        Fail(AppError(AppError::InternalError, QStringLiteral("内部エラー: 原因の分からない例外が起きました。")), false);
    }
    --guardDepth_;
    // A handler nested in a modal loop is not the end of the outer event.
    if (guardDepth_ == 0 && !ended_ && !AnyLoaded())
        EndProgram();
}

void Shell::LoadOrRestoreFactory(ProblemStore& store, const std::function<void()>& load)
{
    for (;;) {
        try {
            load();
            return;
        } catch (const ProblemFileUnusable& error) {
            OfferFactoryReset(store, error);
        }
    }
}

void Shell::OfferFactoryReset(ProblemStore& store, const ProblemFileUnusable& error)
{
    const QString question = error.Number() == AppError::FileNotFound
        ? QStringLiteral("出荷時の問題に戻して続けますか？\n\n"
                         "はい: 出荷時の問題でファイルを作り直して続けます。\n"
                         "いいえ: プログラムを終了します。")
        : QStringLiteral("出荷時の問題に戻して続けますか？\n\n"
                         "はい: 今のファイルは名前を変えて同じフォルダーに残し、出荷時の問題に戻して続けます。\n"
                         "いいえ: ファイルには手を付けずに、プログラムを終了します。");
    if (!dialogs_.AskAfterError(ErrorBoxParent(), error, question))
        throw ShownError(error);
    try {
        store.SetAsideAndRestoreFactory(QDateTime::currentDateTime());
    } catch (const ProblemFileChanged& changed) {
        dialogs_.ShowRefusal(ErrorBoxParent(), LoadedCaption(), changed.Description());
    } catch (const LockFileUnusable& blocked) {
        dialogs_.ShowRefusal(ErrorBoxParent(), LoadedCaption(), blocked.Description());
    }
}

QString Shell::LoadedCaption() const
{
    for (const auto& [name, window] : windows_)
        if (window->IsLoaded())
            return window->FormDesign().caption;
    return {};
}

QWidget* Shell::ErrorBoxParent() const
{
    // A window whose Load handler failed is loaded but not yet on screen, where a
    // box would take its place at the corner; without a shown window the box
    // centres itself on the screen.
    QWidget* parent = nullptr;
    for (const auto& [name, window] : windows_)
        if (window->IsLoaded() && window->Form()->isVisible())
            parent = window->Form();
    return parent;
}

void Shell::Fail(const AppError& error, bool alreadyShown)
{
    if (ended_)
        return;
    ended_ = true;
    if (!alreadyShown)
        dialogs_.ShowError(ErrorBoxParent(), error);
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
    // A sound is a nicety: a missing file costs a warning, never the game. Only an
    // ordinary file is opened; a named pipe would block for ever, even the exit.
    const QFileInfo file(path);
    if (!file.exists()) {
        std::fprintf(stderr, "vellumark: sound file missing: %s\n", qUtf8Printable(path));
        return;
    }
    if (!file.isFile()) {
        std::fprintf(stderr, "vellumark: sound file is not a regular file: %s\n", qUtf8Printable(path));
        return;
    }
    // A player that loaded the file ahead keeps it, and starts at once.
    const QUrl source = QUrl::fromLocalFile(path);
    player.stop();
    if (player.source() != source)
        player.setSource(source);
    player.play();
}
