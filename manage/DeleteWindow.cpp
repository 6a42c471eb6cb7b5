#include "manage/DeleteWindow.h"

#include "manage/ManageLayout.h"
#include "shell/Dialogs.h"
#include "shell/Layout.h"
#include "shell/PictureButton.h"
#include "shell/Pictures.h"
#include "shell/Shell.h"
#include "store/ProblemStore.h"

#include <QLabel>

using ManageLayout::BackColour;

字削除::字削除(Shell& shell, ProblemStore& store)
    : Window(shell, WindowName::字削除, {QStringLiteral("字削除"), QSize(768, 480), BackColour}), store_(store)
{
}

void 字削除::CreateControls(Form& form)
{
    ManageLayout::MakeTitle(form, Pictures::TitleJiSakujo);

    ManageLayout::MakeBanner(&form, QStringLiteral("削除する字をクリックして下さい"), TwipsRect(3840, 270, 5355, 360),
                             MinchoFont(15.75, true), QColor(255, 0, 255));

    CreateBackButton(form, TwipsRect(9840, 150, 660, 600));

    Grid.emplace(form);
    for (int index = 0; index < PairGrid::CellCount; ++index) {
        OnMouseMove(&Grid->PairLabel(index), [this, index](QPoint) { PairLabelMove(index); });
        OnClick(&Grid->PairLabel(index), [this, index] { PairLabelClick(index); });
        OnMouseMove(&Grid->NumberLabel(index), [this](QPoint) { ClearHighlight(); });
    }
}

void 字削除::OnLoad()
{
    store_.LoadProblemFile();
    Grid->FillPairGrid(store_);
}

void 字削除::OnSurfaceMove(QPoint)
{
    ClearHighlight();
}

void 字削除::PairLabelMove(int index)
{
    // Only a cell that holds a pair can be deleted, so only such a cell turns red.
    if (index + 1 > store_.ProblemCount())
        return;
    Highlight.MoveOver(static_cast<std::int16_t>(index),
                       [this](int cell, HoverHighlight::Paint paint) { PaintPairLabel(cell, paint); });
}

void 字削除::ClearHighlight()
{
    Highlight.Clear([this](int cell, HoverHighlight::Paint paint) { PaintPairLabel(cell, paint); });
}

void 字削除::PaintPairLabel(int index, HoverHighlight::Paint paint)
{
    Grid->SetPairBackColour(index, paint == HoverHighlight::Paint::Highlight ? HighlightColour : NormalColour);
}

void 字削除::PairLabelClick(int index)
{
    const auto number = static_cast<std::int16_t>(index + 1);
    if (number > store_.ProblemCount())
        return;
    if (!shell().dialogs().AskYesNo(form(), store_.PairCaption(number) + QStringLiteral(" を削除しますか？")))
        return;
    // The highlight stays where it is: the red cell now shows the pair that moved in.
    store_.DeletePair(number);
    Grid->ClearPairGrid();
    Grid->FillPairGrid(store_);
}
