// SPDX-License-Identifier: MIT
#pragma once

#include "shell/WindowName.h"

#include <QColor>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QWidget>

#include <functional>
#include <span>
#include <type_traits>
#include <vector>

class QAbstractButton;
class PictureButton;
class QSoundEffect;
class Shell;
struct ButtonDesign;
class Window;

// The native window of a loaded Window, with every control of its design as a child.
// Moves and clicks on its own surface (not on a child) go to the window.
class WindowForm : public QWidget {
    Q_OBJECT
public:
    explicit WindowForm(Window& owner);

    // The control that has the focus when the window opens.
    QWidget* InitialFocus() const { return initialFocus_; }
    void SetInitialFocus(QWidget* control) { initialFocus_ = control; }

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    Window& owner_;
    QPointer<QWidget> initialFocus_;
};

// One object per window class for the whole run. Loading creates the form and its
// controls and runs the Load handler; unloading destroys the form (its timers and
// sound player with it) and keeps the object's own fields.
class Window {
public:
    struct Design {
        QString caption;
        QSize clientSize;
        QColor backColour;
    };

    Window(Shell& shell, WindowName name, Design design);
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    WindowName Name() const { return name_; }
    const Design& FormDesign() const { return design_; }
    bool IsLoaded() const { return !form_.isNull(); }
    // The loaded form, or null.
    WindowForm* Form() const { return form_.data(); }

    void Load();
    void Unload();
    // Runs action once the loaded form has painted and the event loop is idle
    // again; never when the form unloads first.
    void WhenPainted(std::function<void()> action);

    // Called by the form, each under the error rule.
    void SurfaceMoved(QPoint position);
    void SurfaceClicked(QPoint position);
    void CloseBoxUsed();

protected:
    // Creates the controls of the design as children of the form.
    virtual void CreateControls(WindowForm& form) = 0;
    // The Load handler; the menu has none.
    virtual void OnLoad() {}
    virtual void OnSurfaceMove(QPoint) {}
    virtual void OnSurfaceClick(QPoint) {}

    Shell& Host() const { return shell_; }

    // Runs handler under the error rule for each mouse move over control (with the
    // position in the control's coordinates), or each left click on it.
    void OnMouseMove(QWidget* control, std::function<void(QPoint)> handler);
    void OnClick(QWidget* control, std::function<void()> handler);
    // Connects a signal to a handler that runs under the error rule.
    template <typename Sender, typename Signal, typename Handler>
    void Connect(Sender* sender, Signal signal, Handler handler)
    {
        QObject::connect(sender, signal, Form(), [this, handler](auto&&... args) {
            Guarded([&] {
                if constexpr (std::is_invocable_v<const Handler&, decltype(args)...>)
                    handler(args...);
                else
                    handler();
            });
        });
    }
    void Guarded(const std::function<void()>& handler);

    // The window's sound player, soundPlayer, created on first use. Setting up a
    // player starts the platform's audio, which the first paint never needs; once
    // the form has painted, the player is created and loads soundFile (named by
    // PrepareSoundPlayer in CreateControls) while the user looks at the window.
    void PrepareSoundPlayer(QString soundFile);
    QSoundEffect& SoundPlayer();

    // The back button of a window opened from the menu: 戻 at `geometry`, named
    // "backButton", first in the focus order, and back to the menu when clicked.
    QAbstractButton* CreateBackButton(WindowForm& form, QRect geometry);
    // A row of picture buttons on the window's back colour, named by their designs,
    // focused in index order starting with the first; a click reports its index.
    std::vector<PictureButton*> CreateButtonRow(WindowForm& form, std::span<const ButtonDesign> designs,
                                                std::function<void(int index)> clicked);

private:
    Shell& shell_;
    WindowName name_;
    Design design_;
    QPointer<WindowForm> form_;
    QString soundFile_;
    QPointer<QSoundEffect> soundPlayer_;
};
