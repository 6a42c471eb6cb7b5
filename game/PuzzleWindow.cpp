#include "game/PuzzleWindow.h"

#include "shell/Layout.h"
#include "shell/PictureButton.h"
#include "shell/Shell.h"

namespace {
const QColor BackColour(128, 128, 255);
}

問題表示::問題表示(Shell& shell, ProblemStore& store, RandomSource& random)
    : Window(shell, WindowName::問題表示, {QStringLiteral("問題"), QSize(766, 478), BackColour}),
      store_(store), random_(random)
{
}

void 問題表示::CreateControls(Form& form)
{
    auto* back = MakeBackButton(&form, QRect(708, 5, 44, 40), BackColour);
    back->setObjectName(QStringLiteral("Command1(0)"));
    Connect(back, &QAbstractButton::clicked, [this] { shell().SwitchToWindow(WindowName::メニュー); });
    form.InitialFocus = back;
}
