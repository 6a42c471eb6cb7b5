#include "manage/ListWindow.h"

#include "shell/Layout.h"
#include "shell/PictureButton.h"
#include "shell/Shell.h"

namespace {
const QColor BackColour(128, 128, 255);
}

字一覧::字一覧(Shell& shell, ProblemStore& store)
    : Window(shell, WindowName::字一覧, {QStringLiteral("字一覧"), QSize(768, 480), BackColour}), store_(store)
{
}

void 字一覧::CreateControls(Form& form)
{
    auto* back = MakeBackButton(&form, TwipsRect(9840, 150, 660, 600), BackColour);
    back->setObjectName(QStringLiteral("Command1"));
    Connect(back, &QAbstractButton::clicked, [this] { shell().SwitchToWindow(WindowName::メニュー); });
    form.InitialFocus = back;
}
