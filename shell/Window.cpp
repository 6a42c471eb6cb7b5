// SPDX-License-Identifier: MIT
#include "shell/Window.h"

#include "shell/PictureButton.h"
#include "shell/Pictures.h"
#include "shell/Shell.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QStyle>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

#include <stdexcept>

namespace {

// Forwards the mouse events of one control to a window's handler.
class MouseHook final : public QObject {
public:
    MouseHook(QWidget* control, std::function<void(QPoint)> moved, std::function<void()> clicked)
        : QObject(control), moved_(std::move(moved)), clicked_(std::move(clicked))
    {
        if (moved_)
            control->setMouseTracking(true);
        control->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* control = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::MouseMove && moved_) {
            moved_(static_cast<QMouseEvent*>(event)->position().toPoint());
        } else if (event->type() == QEvent::MouseButtonRelease && clicked_) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton && control->rect().contains(mouse->position().toPoint()))
                clicked_();
        }
        return false;
    }

private:
    std::function<void(QPoint)> moved_;
    std::function<void()> clicked_;
};

// Runs an action once, after the first paint of a widget has been shown.
class AfterFirstPaint final : public QObject {
public:
    AfterFirstPaint(QWidget* widget, std::function<void()> action) : QObject(widget), action_(std::move(action))
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // A zero timer runs once the paint and whatever else is queued are done.
            QTimer::singleShot(0, this, [this] {
                action_();
                deleteLater();
            });
        }
        return false;
    }

private:
    std::function<void()> action_;
};

} // namespace

WindowForm::WindowForm(Window& owner) : QWidget(nullptr), owner_(owner)
{
    setMouseTracking(true);
}

void WindowForm::mouseMoveEvent(QMouseEvent* event)
{
    // Moves over a child that ignores the mouse reach the form too; they are not
    // moves over the window's own surface.
    const QPoint position = event->position().toPoint();
    if (!childAt(position))
        owner_.SurfaceMoved(position);
}

void WindowForm::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint position = event->position().toPoint();
    if (event->button() == Qt::LeftButton && rect().contains(position) && !childAt(position))
        owner_.SurfaceClicked(position);
}

void WindowForm::closeEvent(QCloseEvent* event)
{
    event->accept();
    owner_.CloseBoxUsed();
}

Window::Window(Shell& shell, WindowName name, Design design)
    : shell_(shell), name_(name), design_(std::move(design))
{
    shell_.Register(*this);
}

Window::~Window()
{
    delete form_.data();
}

void Window::Load()
{
    if (IsLoaded())
        return;
    form_ = new WindowForm(*this);
    WindowForm& form = *form_;
    form.setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                        | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    form.setWindowTitle(design_.caption);
    form.setWindowIcon(AppIcon());
    form.setFixedSize(design_.clientSize);
    QPalette palette = form.palette();
    palette.setColor(QPalette::Window, design_.backColour);
    form.setPalette(palette);
    form.setAutoFillBackground(true);

    CreateControls(form);
    OnLoad();
    if (!IsLoaded())  // the Load handler may itself have handed over
        return;

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        form.move(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, design_.clientSize, area).topLeft());
    }
    form.show();
    form.activateWindow();
    if (QWidget* focus = form.InitialFocus())
        focus->setFocus(Qt::OtherFocusReason);
}

void Window::Unload()
{
    WindowForm* form = form_.data();
    if (!form)
        return;
    form_.clear();
    // Stop what would outlive the form until its deferred deletion: a pending
    // tick must never act for a window that is gone, nor a sound play on.
    for (QTimer* timer : form->findChildren<QTimer*>())
        timer->stop();
    for (QSoundEffect* player : form->findChildren<QSoundEffect*>())
        player->stop();
    form->hide();
    // The unload usually runs inside a handler of one of the form's own controls.
    form->deleteLater();
}

void Window::SurfaceMoved(QPoint position)
{
    Guarded([&] { OnSurfaceMove(position); });
}

void Window::SurfaceClicked(QPoint position)
{
    Guarded([&] { OnSurfaceClick(position); });
}

void Window::CloseBoxUsed()
{
    Guarded([&] { Unload(); });
}

void Window::Guarded(const std::function<void()>& handler)
{
    // Events still queued for a form that was unloaded belong to no window.
    if (!IsLoaded())
        return;
    shell_.Guard(handler);
}

void Window::OnMouseMove(QWidget* control, std::function<void(QPoint)> handler)
{
    new MouseHook(control, [this, handler = std::move(handler)](QPoint p) { Guarded([&] { handler(p); }); },
                  {});
}

void Window::OnClick(QWidget* control, std::function<void()> handler)
{
    new MouseHook(control, {}, [this, handler = std::move(handler)] { Guarded(handler); });
}

void Window::WhenPainted(std::function<void()> action)
{
    if (Form())
        new AfterFirstPaint(Form(), std::move(action));
}

void Window::PrepareSoundPlayer(QString soundFile)
{
    soundFile_ = std::move(soundFile);
    WhenPainted([this] {
        if (IsLoaded())
            SoundPlayer();
    });
}

QSoundEffect& Window::SoundPlayer()
{
    if (!IsLoaded())
        throw std::logic_error("a sound player asked for while the window is unloaded");
    if (!soundPlayer_ || soundPlayer_->parent() != Form()) {
        // Like every control, it belongs to the loaded form and goes with it.
        soundPlayer_ = new QSoundEffect(Form());
        soundPlayer_->setObjectName(QStringLiteral("soundPlayer"));
        // Loaded ahead, the sound starts at once when asked for (the shell sets the
        // same source again, which a player ignores).
        // Only an ordinary file: a named pipe would hold the player, and the exit, for ever.
        if (!soundFile_.isEmpty() && QFileInfo(soundFile_).isFile())
            soundPlayer_->setSource(QUrl::fromLocalFile(soundFile_));
    }
    return *soundPlayer_;
}

QAbstractButton* Window::CreateBackButton(WindowForm& form, QRect geometry)
{
    auto* back = MakeBackButton(&form, geometry, design_.backColour);
    back->setObjectName(QStringLiteral("backButton"));
    Connect(back, &QAbstractButton::clicked, [this] { shell_.SwitchToWindow(WindowName::Menu); });
    form.SetInitialFocus(back);
    return back;
}

std::vector<PictureButton*> Window::CreateButtonRow(WindowForm& form, std::span<const ButtonDesign> designs,
                                                    std::function<void(int index)> clicked)
{
    std::vector<PictureButton*> buttons;
    for (const ButtonDesign& design : designs) {
        const int index = static_cast<int>(buttons.size());
        auto* button = new PictureButton(&form, design.geometry, design_.backColour, Picture(design.face),
                                         QString::fromUtf8(design.lettering),
                                         design.toolTip ? QString::fromUtf8(design.toolTip) : QString());
        button->setObjectName(QLatin1String(design.name));
        Connect(button, &QAbstractButton::clicked, [clicked, index] { clicked(index); });
        if (buttons.empty())
            form.SetInitialFocus(button);
        else
            QWidget::setTabOrder(buttons.back(), button);
        buttons.push_back(button);
    }
    return buttons;
}
