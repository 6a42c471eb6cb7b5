// SPDX-License-Identifier: MIT
#include "manage/DeleteWindow.h"

#include "core/AppError.h"
#include "manage/ManageLayout.h"
#include "shell/Dialogs.h"
#include "shell/Pictures.h"
#include "shell/Shell.h"
#include "store/ProblemStore.h"

#include <QLabel>

using ManageLayout::BackColour;

DeleteWindow::DeleteWindow(Shell& shell, ProblemStore& store)
    : Window(shell, WindowName::DeletePair, {QStringLiteral("字削除"), ManageLayout::ClientSize, BackColour}),
      store_(store), deletion_(store), paint_([this](int index, Rgb colour) { PaintPairCell(index, colour); })
{
}

// Positions are in twips, the unit the window was drawn in, so that each number
// can be checked against the drawing; TwipsRect makes pixels of them.
void DeleteWindow::CreateControls(WindowForm& form)
{
    ManageLayout::MakeTitle(form, Pictures::DeleteTitle);

    ManageLayout::MakeBanner(&form, QStringLiteral("削除する字をクリックして下さい"), TwipsRect(3840, 270, 5355, 360),
                             WindowFonts::DeleteInstruction(), QColor(255, 0, 255), "instruction");

    CreateBackButton(form, ManageLayout::BackButtonRect);

    grid_.emplace(form);
    for (int index = 0; index < PairGrid::CellCount; ++index) {
        OnMouseMove(&grid_->PairLabel(index), [this, index](QPoint) { deletion_.MoveOverPair(index, paint_); });
        OnClick(&grid_->PairLabel(index), [this, index] { PairCellClicked(index); });
        OnMouseMove(&grid_->NumberLabel(index), [this](QPoint) { deletion_.MoveOffPairs(paint_); });
    }
}

void DeleteWindow::OnLoad()
{
    Host().LoadOrRestoreFactory(store_, [this] { store_.LoadProblemFile(); });
    grid_->FillPairGrid(store_);
}

void DeleteWindow::OnSurfaceMove(QPoint)
{
    deletion_.MoveOffPairs(paint_);
}

void DeleteWindow::PaintPairCell(int index, Rgb colour)
{
    grid_->SetPairBackColour(index, colour);
}

void DeleteWindow::PairCellClicked(int index)
{
    const auto ask = [this](const QString& question) { return Host().DialogBoxes().AskYesNo(Form(), question); };
    const auto tell = [this](const QString& notice) {
        Host().DialogBoxes().ShowRefusal(Form(), FormDesign().caption, notice);
    };
    try {
        if (!deletion_.Click(index, ask, tell))
            return;
    } catch (const ProblemFileUnusable& error) {
        // Deleted or spoilt elsewhere while the window was open: nothing deleted.
        Host().OfferFactoryReset(store_, error);
    }
    grid_->ClearPairGrid();
    grid_->FillPairGrid(store_);
}
