#include "manage/AddWindow.h"

#include "shell/Layout.h"
#include "shell/PictureButton.h"
#include "shell/Shell.h"

namespace {
const QColor BackColour(128, 128, 255);
}

字登録::字登録(Shell& shell, ProblemStore& store)
    : Window(shell, WindowName::字登録, {QStringLiteral("字登録"), QSize(768, 480), BackColour}), store_(store)
{
}

void 字登録::CreateControls(Form& form)
{
    auto* back = MakeBackButton(&form, TwipsRect(9840, 150, 660, 600), BackColour);
    back->setObjectName(QStringLiteral("Command1"));
    Connect(back, &QAbstractButton::clicked, [this] { shell().SwitchToWindow(WindowName::メニュー); });
    form.InitialFocus = back;
}
