#include "menu/MenuWindow.h"

#include "shell/Layout.h"
#include "shell/PictureButton.h"
#include "shell/Pictures.h"
#include "shell/Shell.h"

#include <QLabel>
#include <QSoundEffect>
#include <QTimer>

#include <array>

namespace {

const QColor BackColour(192, 255, 192);

struct MenuButton {
    int top;  // twips
    const PictureSpec& plate;
    const char* lettering;
};

const std::array<MenuButton, 5> Buttons{{
    {540, Pictures::PlateHajime, "はじめ"},
    {1455, Pictures::PlateJiIchiran, "字一覧"},
    {2325, Pictures::PlateJiTouroku, "字登録"},
    {3240, Pictures::PlateJiSakujo, "字削除"},
    {4125, Pictures::PlateOwari, "おわり"},
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

メニュー::メニュー(Shell& shell, const Clock& clock)
    : Window(shell, WindowName::メニュー, {QStringLiteral("メニュー"), QSize(629, 361), BackColour}),
      Timing(clock)
{
}

void メニュー::CreateControls(Form& form)
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
        Connect(button, &QAbstractButton::clicked, [this, index] { CommandClick(index); });
        if (previous)
            QWidget::setTabOrder(previous, button);
        else
            form.InitialFocus = button;
        previous = button;
    }

    MediaPlayer1 = new QSoundEffect(&form);
    MediaPlayer1->setObjectName(QStringLiteral("MediaPlayer1"));
    Timer1 = new QTimer(&form);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Connect(Timer1, &QTimer::timeout, [this] { TimerTick(); });
}

void メニュー::CommandClick(int index)
{
    switch (Timing.Click(index)) {
    case MenuTiming::ClickAction::OpenList:
        shell().SwitchToWindow(WindowName::字一覧);
        break;
    case MenuTiming::ClickAction::OpenAdd:
        shell().SwitchToWindow(WindowName::字登録);
        break;
    case MenuTiming::ClickAction::OpenDelete:
        shell().SwitchToWindow(WindowName::字削除);
        break;
    case MenuTiming::ClickAction::StartDelay:
        shell().PlaySoundFile(*MediaPlayer1, QStringLiteral("/data/音/karasu.wav"));
        SetTimerInterval(100);
        break;
    case MenuTiming::ClickAction::None:
        break;
    }
}

void メニュー::TimerTick()
{
    if (!IsLoaded())
        return;
    const MenuTiming::TickAction action = Timing.Tick();
    if (action == MenuTiming::TickAction::Wait)
        return;
    SetTimerInterval(0);
    Unload();
    if (action == MenuTiming::TickAction::StartGame)
        shell().ShowWindow(WindowName::問題表示);
    else if (action == MenuTiming::TickAction::EndProgram)
        shell().EndProgram();
}

void メニュー::SetTimerInterval(int milliseconds)
{
    // Interval 0 is the idle timer; a new interval restarts the ticks from now.
    if (milliseconds == 0) {
        Timer1->stop();
    } else {
        Timer1->setInterval(milliseconds);
        Timer1->start();
    }
}
