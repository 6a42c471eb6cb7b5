#include "menu/MenuWindow.h"

#include "shell/Layout.h"
#include "shell/PictureButton.h"
#include "shell/Pictures.h"
#include "shell/Shell.h"

#include <QLabel>
#include <QTimer>

#include <array>

namespace {

const QColor BackColour(192, 255, 192);

struct MenuButton {
    int top;  // twips
    const PictureSpec& plate;
    const char* lettering;
};

// In the order of MenuTiming::Button.
const std::array<MenuButton, MenuTiming::ButtonCount> Buttons{{
    {540, Pictures::StartPlate, "はじめ"},
    {1455, Pictures::ListPlate, "字一覧"},
    {2325, Pictures::AddPlate, "字登録"},
    {3240, Pictures::DeletePlate, "字削除"},
    {4125, Pictures::EndPlate, "おわり"},
}};

QLabel* PictureLabel(QWidget* parent, const char* name, QRect geometry, const PictureSpec& picture)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    label->setPixmap(Picture(picture));
    label->setAttribute(Qt::WA_TranslucentBackground);
    return label;
}

} // namespace

MenuWindow::MenuWindow(Shell& shell, const Clock& clock, QString crowSound)
    : Window(shell, WindowName::Menu, {QStringLiteral("メニュー"), TwipsSize(9435, 5415), BackColour}),
      timing_(clock), crowSound_(std::move(crowSound))
{
}

void MenuWindow::CreateControls(WindowForm& form)
{
    PictureLabel(&form, "Image1", TwipsRect(390, 645, 5625, 4245), Pictures::MenuArt);
    PictureLabel(&form, "Image2", TwipsRect(4350, 390, 1200, 1020), Pictures::MenuCrow);
    auto* image3 = new QWidget(&form);
    image3->setObjectName(QStringLiteral("Image3"));
    image3->setGeometry(TwipsRect(2655, 3000, 1095, 1830));
    image3->setToolTip(QStringLiteral("お字捜様"));

    QWidget* previous = nullptr;
    for (int index = 0; index < static_cast<int>(Buttons.size()); ++index) {
        const MenuButton& design = Buttons[index];
        auto* button = new PictureButton(&form, TwipsRect(6540, design.top, 2280, 780), BackColour,
                                         Picture(design.plate), QString::fromUtf8(design.lettering));
        button->setObjectName(QStringLiteral("Command1(%1)").arg(index));
        Connect(button, &QAbstractButton::clicked, [this, index] { ButtonClicked(index); });
        if (previous)
            QWidget::setTabOrder(previous, button);
        else
            form.SetInitialFocus(button);
        previous = button;
    }

    HasSoundPlayer(crowSound_);
    delayTimer_ = new QTimer(&form);
    delayTimer_->setObjectName(QStringLiteral("Timer1"));
    Connect(delayTimer_.data(), &QTimer::timeout, [this] { TimerTick(); });
}

void MenuWindow::ButtonClicked(int index)
{
    switch (timing_.Click(index)) {
    case MenuTiming::ClickAction::OpenList:
        Host().SwitchToWindow(WindowName::PairList);
        break;
    case MenuTiming::ClickAction::OpenAdd:
        Host().SwitchToWindow(WindowName::AddPair);
        break;
    case MenuTiming::ClickAction::OpenDelete:
        Host().SwitchToWindow(WindowName::DeletePair);
        break;
    case MenuTiming::ClickAction::StartDelay:
        Host().PlaySoundFile(SoundPlayer(), crowSound_);
        SetTimerInterval(100);
        break;
    case MenuTiming::ClickAction::None:
        break;
    }
}

void MenuWindow::TimerTick()
{
    if (!IsLoaded())
        return;
    const MenuTiming::TickAction action = timing_.Tick();
    if (action == MenuTiming::TickAction::Wait)
        return;
    SetTimerInterval(0);
    Unload();
    if (action == MenuTiming::TickAction::StartGame)
        Host().ShowWindow(WindowName::Puzzle);
    else if (action == MenuTiming::TickAction::EndProgram)
        Host().EndProgram();
}

void MenuWindow::SetTimerInterval(int milliseconds)
{
    // Interval 0 is the idle timer; a new interval restarts the ticks from now.
    if (milliseconds == 0) {
        delayTimer_->stop();
    } else {
        delayTimer_->setInterval(milliseconds);
        delayTimer_->start();
    }
}
