// SPDX-License-Identifier: MIT
#include "game/PuzzleWindow.h"

#include "game/PuzzleBoard.h"
#include "shell/Layout.h"
#include "shell/PictureButton.h"
#include "shell/Pictures.h"
#include "shell/Shell.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QProxyStyle>

#include <array>
#include <functional>

namespace {

const QColor BackColour = ColourOf(WindowColour::Back);

// Positions below are in twips, the unit the window was drawn in, so that each
// number can be checked against the drawing; TwipsRect makes pixels of them.

// In the order of PuzzleGame::Button; the back button is the rightmost.
const std::array<ButtonDesign, PuzzleGame::ButtonCount> Buttons{{
    {"backButton", TwipsRect(10620, 75, 660, 600), Pictures::BackFace, "戻る", "メニューに戻る"},
    {"nextButton", TwipsRect(9705, 75, 660, 600), Pictures::NextFace, "次", "次の問題"},
    {"answerButton", TwipsRect(8790, 75, 660, 600), Pictures::AnswerFace, "答", "答を表示"},
    {"pairListButton", TwipsRect(7860, 75, 660, 600), Pictures::PairListFace, "字", "字一覧から選択"},
}};

const std::array<int, 4> BadgeLefts{300, 1050, 1860, 2685};

// The pair list's entries start where a list box's do. Qt's item views keep a
// focus-frame margin (3 px a side with the Windows styles) that a list box has
// not: "未 末" in the list's 27 px Mincho needs 70 px where Windows rounds each
// kanji up to 28 px, one more than those margins leave in the 96 px list with its
// scroll bar, and showed as "未…".
class ListBoxMargins final : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        return metric == PM_FocusFrameHMargin ? 0 : QProxyStyle::pixelMetric(metric, option, widget);
    }
};

// Enter on the list's current entry picks it, for those who pick by keyboard.
class EnterKeyFilter final : public QObject {
public:
    EnterKeyFilter(QObject* parent, std::function<void()> picked) : QObject(parent), picked_(std::move(picked)) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        picked_();
        return true;
    }

private:
    std::function<void()> picked_;
};

} // namespace

PuzzleWindow::PuzzleWindow(Shell& shell, ProblemStore& store, RandomSource& random, QString hitSound)
    : Window(shell, WindowName::Puzzle, {QStringLiteral("問題"), TwipsSize(11490, 7170), BackColour}),
      store_(store), game_(store, random), hitSound_(std::move(hitSound))
{
    game_.SetView(this);
}

void PuzzleWindow::CreateControls(WindowForm& form)
{
    QPalette palette = form.palette();
    palette.setColor(QPalette::Window, BackColour);

    for (int index = 0; index < static_cast<int>(BadgeLefts.size()); ++index) {
        auto* badge = new QLabel(&form);
        badge->setObjectName(QStringLiteral("badge(%1)").arg(index));
        badge->setGeometry(TwipsRect(BadgeLefts[static_cast<std::size_t>(index)], 30, 675, 675));
        badge->setPixmap(Picture(Pictures::Badges[static_cast<std::size_t>(index)]));
        badge->setAttribute(Qt::WA_TranslucentBackground);
        OnMouseMove(badge, [this](QPoint) { game_.ClearHoverHighlight(); });
        OnClick(badge, [this] { game_.HidePairList(); });
    }

    const std::vector<PictureButton*> buttons =
        CreateButtonRow(form, Buttons, [this](int index) { game_.ButtonClick(index); });
    for (PictureButton* button : buttons)
        OnMouseMove(button, [this](QPoint) { game_.ClearHoverHighlight(); });

    auto* frame = new QFrame(&form);
    frame->setObjectName(QStringLiteral("boardFrame"));
    frame->setGeometry(TwipsRect(180, 690, 11130, 6435));
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    frame->setPalette(palette);
    frame->setAutoFillBackground(true);

    board_ = new PuzzleBoard(frame, game_);
    board_->setObjectName(QStringLiteral("board"));
    board_->move(TwipsRect(60, 165, 0, 0).topLeft());
    Connect(board_.data(), &PuzzleBoard::CellMoved, [this](int index) { game_.CellMove(index); });
    Connect(board_.data(), &PuzzleBoard::CellClicked, [this](int index) { game_.CellClick(index); });

    pairList_ = new QListWidget(frame);
    pairList_->setObjectName(QStringLiteral("pairList"));
    pairList_->setGeometry(TwipsRect(4830, 510, 1440, 5730));
    pairList_->setFont(WindowFonts::PuzzlePairList());
    auto* margins = new ListBoxMargins;  // follows the application's style
    margins->setParent(pairList_);
    pairList_->setStyle(margins);
    QPalette listPalette = pairList_->palette();
    listPalette.setColor(QPalette::Base, QColor(255, 0, 0));
    listPalette.setColor(QPalette::Text, ColourOf(WindowColour::White));
    pairList_->setPalette(listPalette);
    pairList_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    pairList_->setSelectionMode(QAbstractItemView::SingleSelection);
    pairList_->hide();
    pairList_->raise();
    Connect(pairList_.data(), &QListWidget::itemClicked,
            [this](QListWidgetItem* item) { game_.ListPick(pairList_->row(item)); });
    pairList_->installEventFilter(new EnterKeyFilter(pairList_, [this] {
        Guarded([this] {
            if (pairList_->currentRow() >= 0)
                game_.ListPick(pairList_->currentRow());
        });
    }));
    QWidget::setTabOrder(buttons.back(), pairList_);

    PrepareSoundPlayer(hitSound_);

    // The new controls start empty, in the created colour.
    game_.CreateCells();
}

void PuzzleWindow::OnLoad()
{
    Host().LoadOrRestoreFactory(store_, [this] { game_.Load(); });
}

void PuzzleWindow::OnSurfaceMove(QPoint)
{
    game_.ClearHoverHighlight();
}

void PuzzleWindow::OnSurfaceClick(QPoint)
{
    game_.HidePairList();
}

void PuzzleWindow::CellChanged(int index)
{
    if (board_)
        board_->CellChanged(index);
}

void PuzzleWindow::BoardChanged()
{
    if (board_)
        board_->BoardChanged();
}

void PuzzleWindow::PairListShown(const QStringList& entries)
{
    if (!pairList_)
        return;
    pairList_->clear();
    pairList_->addItems(entries);
    // A hidden list keeps its scroll position through clear(); a fresh list opens at pair 1.
    pairList_->scrollToTop();
    pairList_->show();
}

void PuzzleWindow::PairListHidden()
{
    if (pairList_)
        pairList_->hide();
}

void PuzzleWindow::HitSound()
{
    if (IsLoaded())
        Host().PlaySoundFile(SoundPlayer(), hitSound_);
}

void PuzzleWindow::BackToMenu()
{
    Host().SwitchToWindow(WindowName::Menu);
}
