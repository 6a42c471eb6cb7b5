// SPDX-License-Identifier: MIT
#include "manage/ListWindow.h"

#include "core/AppError.h"
#include "manage/ManageLayout.h"
#include "shell/Dialogs.h"
#include "shell/PictureButton.h"
#include "shell/Pictures.h"
#include "shell/Shell.h"
#include "store/ProblemStore.h"

using ManageLayout::BackColour;

ListWindow::ListWindow(Shell& shell, ProblemStore& store)
    : Window(shell, WindowName::PairList, {QStringLiteral("字一覧"), ManageLayout::ClientSize, BackColour}),
      store_(store)
{
}

void ListWindow::CreateControls(WindowForm& form)
{
    ManageLayout::MakeTitle(form, Pictures::ListTitle);

    QAbstractButton* back = CreateBackButton(form, ManageLayout::BackButtonRect);

    auto* reset = ManageLayout::MakeActionButton(form, "resetButton", Pictures::ResetFace, QStringLiteral("初"),
                                                 QStringLiteral("字登録を初期状態（出荷時）に戻す"));
    Connect(reset, &QAbstractButton::clicked, [this] { FactoryResetClicked(); });

    QWidget::setTabOrder(back, reset);
    grid_.emplace(form);
}

void ListWindow::OnLoad()
{
    Host().LoadOrRestoreFactory(store_, [this] { store_.LoadProblemFile(); });
    grid_->FillPairGrid(store_);
}

void ListWindow::FactoryResetClicked()
{
    if (!Host().DialogBoxes().AskYesNo(Form(), QStringLiteral("字登録を初期状態（出荷時）に戻しますか？")))
        return;
    try {
        store_.RestoreFactoryProblems();
    } catch (const LockFileUnusable& blocked) {
        Host().DialogBoxes().ShowRefusal(Form(), FormDesign().caption, blocked.Description());
        return;
    }
    grid_->ClearPairGrid();
    grid_->FillPairGrid(store_);
}
