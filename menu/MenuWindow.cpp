// SPDX-License-Identifier: MIT
#include "menu/MenuWindow.h"

#include "shell/Layout.h"
#include "shell/PictureButton.h"
#include "shell/Pictures.h"
#include "shell/Shell.h"

#include <QLabel>
#include <QTimer>

#include <array>

namespace {

const QColor BackColour = ColourOf(WindowColour::MenuBack);

// Positions below are in twips, the unit the window was drawn in, so that each
// number can be checked against the drawing; TwipsRect makes pixels of them.

// In the order of MenuTiming::Button.
const std::array<ButtonDesign, MenuTiming::ButtonCount> Buttons{{
    {"startButton", TwipsRect(6540, 540, 2280, 780), Pictures::StartPlate, "はじめ"},
    {"listButton", TwipsRect(6540, 1455, 2280, 780), Pictures::ListPlate, "字一覧"},
    {"addButton", TwipsRect(6540, 2325, 2280, 780), Pictures::AddPlate, "字登録"},
    {"deleteButton", TwipsRect(6540, 3240, 2280, 780), Pictures::DeletePlate, "字削除"},
    {"endButton", TwipsRect(6540, 4125, 2280, 780), Pictures::EndPlate, "おわり"},
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
    PictureLabel(&form, "menuArt", TwipsRect(390, 645, 5625, 4245), Pictures::MenuArt);
    PictureLabel(&form, "crow", TwipsRect(4350, 390, 1200, 1020), Pictures::MenuCrow);
    auto* nameTip = new QWidget(&form);
    nameTip->setObjectName(QStringLiteral("nameTip"));
    nameTip->setGeometry(TwipsRect(2655, 3000, 1095, 1830));
    nameTip->setToolTip(QStringLiteral("お字捜様"));

    CreateButtonRow(form, Buttons, [this](int index) { ButtonClicked(index); });

    PrepareSoundPlayer(crowSound_);
    delayTimer_ = new QTimer(&form);
    delayTimer_->setObjectName(QStringLiteral("delayTimer"));
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
        SetTimerInterval(MenuTiming::TickMilliseconds);
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
