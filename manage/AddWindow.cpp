// SPDX-License-Identifier: MIT
#include "manage/AddWindow.h"

#include "core/AppError.h"
#include "manage/ManageLayout.h"
#include "shell/Dialogs.h"
#include "shell/PictureButton.h"
#include "shell/Pictures.h"
#include "shell/Shell.h"
#include "store/ProblemStore.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>

using ManageLayout::BackColour;

namespace {

const QColor PanelColour = ColourOf(WindowColour::MenuBack);

QLineEdit* MakeCharacterBox(QWidget* panel, const char* name, QRect geometry)
{
    auto* box = new QLineEdit(panel);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(geometry);
    box->setFont(WindowFonts::CharacterBox());
    box->setAlignment(Qt::AlignCenter);
    return box;
}

} // namespace

AddWindow::AddWindow(Shell& shell, ProblemStore& store)
    : Window(shell, WindowName::AddPair, {QStringLiteral("字登録"), ManageLayout::ClientSize, BackColour}),
      store_(store), entry_(store)
{
}

// Positions are in twips, the unit the window was drawn in, so that each number
// can be checked against the drawing; TwipsRect makes pixels of them.
void AddWindow::CreateControls(WindowForm& form)
{
    ManageLayout::MakeTitle(form, Pictures::AddTitle);

    QAbstractButton* back = CreateBackButton(form, ManageLayout::BackButtonRect);

    auto* open = ManageLayout::MakeActionButton(form, "openPanelButton", Pictures::AddFace, QStringLiteral("登"),
                                                QStringLiteral("字を登録する"));
    openPanelButton_ = open;
    Connect(open, &QAbstractButton::clicked, [this] { OpenPanelClicked(); });

    grid_.emplace(form);

    // Created after the grid so that it lies over it when shown.
    auto* panel = new QFrame(&form);
    panel->setObjectName(QStringLiteral("inputPanel"));
    panel->setGeometry(TwipsRect(4125, 2415, 3270, 2220));
    panel->setFrameShape(QFrame::NoFrame);
    panel->setAutoFillBackground(true);
    QPalette panelColours = panel->palette();
    panelColours.setColor(QPalette::Window, PanelColour);
    panel->setPalette(panelColours);
    panel->hide();
    panel_ = panel;

    ManageLayout::MakeBanner(panel, QStringLiteral("字を入力して下さい"), TwipsRect(315, 105, 2655, 330),
                             WindowFonts::AddPrompt(), QColor(255, 128, 0), "prompt");

    firstCharacterBox_ = MakeCharacterBox(panel, "firstCharacterBox", TwipsRect(510, 615, 885, 825));
    secondCharacterBox_ = MakeCharacterBox(panel, "secondCharacterBox", TwipsRect(1845, 615, 885, 855));

    auto* confirm = new PictureButton(panel, TwipsRect(360, 1605, 1095, 525), PanelColour,
                                      Picture(Pictures::ConfirmWord), QStringLiteral("登録"));
    confirm->setObjectName(QStringLiteral("confirmButton"));
    Connect(confirm, &QAbstractButton::clicked, [this] { ConfirmClicked(); });

    auto* cancel = new PictureButton(panel, TwipsRect(1770, 1605, 1095, 525), PanelColour,
                                     Picture(Pictures::CancelWord), QStringLiteral("中止"));
    cancel->setObjectName(QStringLiteral("cancelButton"));
    Connect(cancel, &QAbstractButton::clicked, [this] { CancelClicked(); });

    QWidget::setTabOrder(back, open);
    QWidget::setTabOrder(open, firstCharacterBox_);
    QWidget::setTabOrder(firstCharacterBox_, secondCharacterBox_);
    QWidget::setTabOrder(secondCharacterBox_, confirm);
    QWidget::setTabOrder(confirm, cancel);
}

void AddWindow::OnLoad()
{
    entry_.Reset();
    firstCharacterBox_->clear();
    secondCharacterBox_->clear();
    Host().LoadOrRestoreFactory(store_, [this] { store_.LoadProblemFile(); });
    grid_->FillPairGrid(store_);
}

void AddWindow::OpenPanelClicked()
{
    if (!entry_.Open())
        return;
    panel_->show();
    // While the panel is open a click on 登 does nothing, so it must not take the
    // focus from the box being typed in either.
    openPanelButton_->setFocusPolicy(Qt::TabFocus);
    MoveFocus(PairEntry::Focus::FirstBox);
}

void AddWindow::ConfirmClicked()
{
    std::optional<PairEntry::Confirmation> confirmed;
    try {
        confirmed = entry_.Confirm(firstCharacterBox_->text(), secondCharacterBox_->text());
    } catch (const ProblemFileUnusable& error) {
        // Deleted or spoilt elsewhere while the window was open. The typed pair
        // stays in the panel, to be confirmed again over the pairs now shown.
        Host().OfferFactoryReset(store_, error);
        grid_->ClearPairGrid();
        grid_->FillPairGrid(store_);
        return;
    }
    const PairEntry::Confirmation& result = *confirmed;
    MoveFocus(result.focus);
    switch (result.outcome) {
    case PairEntry::Outcome::Incomplete:
        break;
    case PairEntry::Outcome::Refused:
        // The panel stays as it is, so the user can put right what was typed.
        Host().DialogBoxes().ShowRefusal(Form(), FormDesign().caption, result.refusal);
        break;
    case PairEntry::Outcome::Stored:
        grid_->FillPairGrid(store_);
        ClosePanel(result.focus);
        break;
    case PairEntry::Outcome::Reloaded:
        Host().DialogBoxes().ShowRefusal(Form(), FormDesign().caption, result.refusal);
        grid_->ClearPairGrid();
        grid_->FillPairGrid(store_);
        break;
    }
}

void AddWindow::CancelClicked()
{
    ClosePanel(entry_.Close());
}

void AddWindow::ClosePanel(PairEntry::Focus focus)
{
    openPanelButton_->setFocusPolicy(Qt::StrongFocus);
    MoveFocus(focus);
    panel_->hide();
    firstCharacterBox_->clear();
    secondCharacterBox_->clear();
}

void AddWindow::MoveFocus(PairEntry::Focus focus)
{
    switch (focus) {
    case PairEntry::Focus::FirstBox:
        firstCharacterBox_->setFocus(Qt::OtherFocusReason);
        break;
    case PairEntry::Focus::SecondBox:
        secondCharacterBox_->setFocus(Qt::OtherFocusReason);
        break;
    case PairEntry::Focus::OpenButton:
        openPanelButton_->setFocus(Qt::OtherFocusReason);
        break;
    }
}
