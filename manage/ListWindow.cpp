#include "manage/ListWindow.h"

#include "manage/ManageLayout.h"
#include "shell/Dialogs.h"
#include "shell/Layout.h"
#include "shell/PictureButton.h"
#include "shell/Pictures.h"
#include "shell/Shell.h"
#include "store/ProblemStore.h"

using ManageLayout::BackColour;

字一覧::字一覧(Shell& shell, ProblemStore& store)
    : Window(shell, WindowName::字一覧, {QStringLiteral("字一覧"), QSize(768, 480), BackColour}), store_(store)
{
}

void 字一覧::CreateControls(Form& form)
{
    ManageLayout::MakeTitle(form, Pictures::TitleJiIchiran);

    QAbstractButton* back = CreateBackButton(form, TwipsRect(9840, 150, 660, 600));

    auto* reset = new PictureButton(&form, TwipsRect(8880, 150, 660, 600), BackColour, Picture(Pictures::FaceHatsu),
                                    QStringLiteral("初"), QStringLiteral("字登録を初期状態（出荷時）に戻す"));
    reset->setObjectName(QStringLiteral("Command2"));
    Connect(reset, &QAbstractButton::clicked, [this] { FactoryResetClick(); });

    QWidget::setTabOrder(back, reset);
    Grid.emplace(form);
}

void 字一覧::OnLoad()
{
    store_.LoadProblemFile();
    Grid->FillPairGrid(store_);
}

void 字一覧::FactoryResetClick()
{
    if (!shell().dialogs().AskYesNo(form(), QStringLiteral("字登録を初期状態（出荷時）に戻しますか？")))
        return;
    store_.RestoreFactoryProblems();
    Grid->ClearPairGrid();
    Grid->FillPairGrid(store_);
}
