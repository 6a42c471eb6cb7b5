// SPDX-License-Identifier: MIT
#include "game/PuzzleBoard.h"
#include "game/PuzzleWindow.h"
#include "menu/MenuWindow.h"
#include "store/ProblemStore.h"
#include "tests/game/PuzzleTestSupport.h"
#include "tests/support/Fakes.h"
#include "tests/support/TestShell.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFontMetrics>
#include <QListWidget>
#include <QPaintEvent>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOption>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <vector>

namespace {

const QColor Surface(128, 128, 255), Created(0, 0, 192), Normal(0, 0, 191), Red(255, 0, 0);

// Collects the areas a widget is asked to repaint.
struct PaintSpy final : QObject {
    explicit PaintSpy(QWidget* widget) : QObject(widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            Painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
    QRegion Painted;
};

class PuzzleWindowTest : public ::testing::Test {
protected:
    TestShell t;
    FakeClock clock{100.0};
    ProblemStore store{StoreIn(t.Dir)};
    ScriptedRandom random;
    MenuWindow menu{t.Frame, clock, t.Dir.Locations().crowSound};
    PuzzleWindow puzzle{t.Frame, store, random, t.Dir.Locations().hitSound};
    PuzzleGame& game = puzzle.Game();

    void SetUp() override { InstallShippedData(t.Dir); }
    void TearDown() override { DestroyUnloadedForms(); }
    void Open(int pairs, std::initializer_list<double> draws)
    {
        WriteProblems(t.Dir, pairs);
        random.Values = draws;
        t.Frame.Guard([this] { t.Frame.ShowWindow(WindowName::Puzzle); });
        ASSERT_TRUE(puzzle.IsLoaded());
    }

    template <typename T = QWidget>
    T* Child(const QString& name) const { return Form()->findChild<T*>(name); }
    QWidget* Form() const { return puzzle.Form(); }
    PuzzleBoard* Board() const { return Child<PuzzleBoard>(QStringLiteral("board")); }
    QListWidget* List() const { return Child<QListWidget>(QStringLiteral("pairList")); }
    QWidget* Frame() const { return Child(QStringLiteral("boardFrame")); }
    // In the order of PuzzleGame::Button.
    QWidget* Button(int index) const
    {
        static const char* const names[] = {"backButton", "nextButton", "answerButton", "pairListButton"};
        return Child(QLatin1String(names[index]));
    }
    QWidget* Badge(int index) const { return Child(QStringLiteral("badge(%1)").arg(index)); }

    // A point of the board at column c, row r of the grid, `in` the cell; x 22 or y 21 is a gap.
    static QPoint GridPoint(int column, int row, QPoint in = {11, 10}) { return QPoint(23 * column, 22 * row) + in; }
    static QPoint CellPoint(int index, QPoint in = {11, 10}) { return PuzzleBoard::CellRect(index).topLeft() + in; }
    QPoint OnForm(QPoint onBoard) const { return Board()->mapTo(Form(), onBoard); }
    // A cell's top-left pixel, where no glyph reaches, on the window's grab.
    QColor CellColour(int index) const { return Form()->grab().toImage().pixel(OnForm(CellPoint(index, {0, 0}))); }
    void Move(QPoint onBoard) { QTest::mouseMove(Board(), onBoard); }
    static void Click(QWidget* widget, QPoint point) { QTest::mouseClick(widget, Qt::LeftButton, {}, point); }
    void ClickButton(int index) { Click(Button(index), Button(index)->rect().center()); }
};

TEST_F(PuzzleWindowTest, LooksAsDesignedAndTakesTheFocusInIndexOrder)
{
    Open(3, {DrawOf(2, 3), CellDraw(300)});
    EXPECT_EQ(Form()->windowTitle(), QStringLiteral("問題"));
    EXPECT_EQ(Form()->size(), QSize(766, 478));
    EXPECT_FALSE(List()->isVisible());
    const char* tips[] = {"メニューに戻る", "次の問題", "答を表示", "字一覧から選択"};
    for (int index = 0; index < 4; ++index)
        EXPECT_EQ(Button(index)->toolTip(), QString::fromUtf8(tips[index]));

    // The window, the frame's inside and its gaps show the back colour; cells are as created.
    const QImage shot = Form()->grab().toImage();
    for (const QPoint surface : {QPoint(3, 3), OnForm({-2, -5}), OnForm({22, 5}), OnForm({5, 21})})
        EXPECT_EQ(QColor(shot.pixel(surface)), Surface) << surface.x() << "," << surface.y();
    for (int index : {0, 159, 160, 607})
        EXPECT_EQ(QColor(shot.pixel(OnForm(CellPoint(index, {0, 0})))), Created) << index;

    // White characters (they show through the blue's red channel) in every ordinary cell
    // alike, the odd one not.
    const auto cell = [&](int index) { return shot.copy(PuzzleBoard::CellRect(index).translated(OnForm({}))); };
    EXPECT_TRUE(AnyPixel(cell(299), [](QColor c) { return c.red() > 128; })) << "no white text in a cell";
    EXPECT_EQ(cell(0), cell(607));
    EXPECT_NE(cell(300), cell(299)) << "the odd cell shows the other character";

    ASSERT_TRUE(QTest::qWaitForWindowActive(Form()));
    EXPECT_EQ(QApplication::focusWidget(), Button(0));
    ClickButton(3);
    Button(0)->setFocus();
    for (QWidget* next : std::vector<QWidget*>{Button(1), Button(2), Button(3), List(), Button(0)}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next) << next->objectName().toStdString();
    }
}

// A real move reaches a cell of its own at every grid place, and a move or click at a
// place of either numbering half reaches that index and paints the cell under the
// mouse; the gaps reach none. A click is a press and a release on one cell; one hit
// sounds once; the answer marks the odd cell red until the next problem.
TEST_F(PuzzleWindowTest, RealMovesAndClicksReachTheirCellsAndTheGapsNone)
{
    Open(3, {DrawOf(1, 3), CellDraw(250)});
    for (const auto& [from, to] : {std::pair{250, 251}, std::pair{249, 250}}) {
        QTest::mousePress(Board(), Qt::LeftButton, {}, CellPoint(from));
        QTest::mouseRelease(Board(), Qt::LeftButton, {}, CellPoint(to));
    }
    Click(Board(), CellPoint(250, {22, 10}));
    EXPECT_TRUE(t.SoundsPlayed.isEmpty()) << "a drag and a gap are silent";

    // Column, row and index; the first move also shows that the initial hover cell 0 turns red.
    for (const auto [column, row, index] : std::vector<std::array<int, 3>>{
             {0, 0, 0}, {31, 0, 31}, {31, 4, 159}, {31, 5, 160}, {0, 5, 191}, {3, 12, 412}, {0, 18, 607}}) {
        Move(GridPoint(column, row));
        EXPECT_EQ(game.HoverCell(), index) << column << "," << row;
        EXPECT_EQ(QColor(Form()->grab().toImage().pixel(OnForm(GridPoint(column, row, {0, 0})))), Red) << index;
        random.Values = {CellDraw(index)};
        game.ListPick(0);
        const qsizetype sounds = t.SoundsPlayed.size();
        Click(Board(), GridPoint(column, row, {21, 20}));
        EXPECT_EQ(t.SoundsPlayed.size(), sounds + 1) << "the odd cell " << index << " sounds once";
    }
    EXPECT_EQ(t.SoundsPlayed.back(), t.Dir.Path() + QStringLiteral("/data/音/o.wav"));

    // Every grid place reaches a cell of its own.
    std::set<int> reached;
    for (int row = 0; row < Board::Rows; ++row)
        for (int column = 0; column < Board::Columns; ++column) {
            Move(GridPoint(column, row));
            reached.insert(game.HoverCell());
        }
    EXPECT_EQ(reached.size(), std::size_t(Board::CellCount));
    EXPECT_EQ(std::pair(*reached.begin(), *reached.rbegin()), std::pair(0, Board::CellCount - 1));

    ClickButton(2);
    EXPECT_EQ(CellColour(607), Red) << "the answer";
    random.Values = {DrawOf(3, 3), CellDraw(10)};
    ClickButton(1);
    EXPECT_EQ(CellColour(607), Normal);
    EXPECT_EQ(game.CurrentPair(), 3);
}

// Cell to cell the highlight follows and only the two cells repaint; into a gap or
// the frame's margin it stays; onto a button, a badge or the window it is cleared.
// The answer marking is an ordinary colour: passing over takes it away, and so does
// leaving the board when the odd cell was last under the mouse.
TEST_F(PuzzleWindowTest, HoverFollowsTheMouseAndTakesTheAnswerMarkingAway)
{
    Open(3, {DrawOf(1, 3), CellDraw(50)});
    Move(CellPoint(33));  // row 1, column 1
    QCoreApplication::processEvents();
    PaintSpy spy(Board());
    for (const QPoint still : {CellPoint(33, {3, 3}), GridPoint(0, 1, {22, 10}), GridPoint(1, 0, {10, 21})})
        Move(still);
    QTest::mouseMove(Frame(), QPoint(2, 3));
    QCoreApplication::processEvents();
    EXPECT_TRUE(spy.Painted.isEmpty()) << "moves within a cell or into a gap repaint nothing";
    EXPECT_EQ(game.HighlightedCell(), 33);
    Move(CellPoint(600));
    QCoreApplication::processEvents();
    EXPECT_EQ(spy.Painted, QRegion(PuzzleBoard::CellRect(33)) + QRegion(PuzzleBoard::CellRect(600)));
    EXPECT_EQ(std::pair(CellColour(33), CellColour(600)), std::pair(Normal, Red));

    const std::pair<QWidget*, QPoint> leaves[] = {{Button(1), {20, 20}}, {Badge(3), {22, 22}}, {Form(), {300, 20}}};
    for (const auto& [widget, point] : leaves) {
        Move(CellPoint(1));
        ASSERT_EQ(CellColour(1), Red);
        QTest::mouseMove(widget, point);
        EXPECT_EQ(CellColour(1), Normal) << "left red by " << widget->objectName().toStdString();
        EXPECT_EQ(game.HighlightedCell(), -1);
    }

    Move(CellPoint(50));
    ClickButton(2);
    Move(CellPoint(51));
    EXPECT_EQ(CellColour(50), Normal) << "passing over took the answer marking away";
    Move(CellPoint(50));
    QTest::mouseMove(Form(), QPoint(300, 20));
    ClickButton(2);
    ASSERT_EQ(CellColour(50), Red);
    QTest::mouseMove(Form(), QPoint(310, 20));
    EXPECT_EQ(CellColour(50), Normal);
}

// The list lies above columns 14 to 17 and takes the clicks and no moves there; a
// cell, a badge or the window hides it, a gap or the frame's margin does not. An
// entry is picked by a click or Enter, not by the arrows. It is filled afresh at
// every showing and opens at pair 1, whatever the user scrolled to or picked before.
TEST_F(PuzzleWindowTest, TheListCoversItsCellsHidesOnACellClickPicksAndOpensAtTheFirstPair)
{
    const int underList = Board::CellIndex(15, 7);
    Open(80, {DrawOf(1, 80), CellDraw(underList)});
    Move(CellPoint(0));
    ClickButton(3);
    ASSERT_TRUE(List()->isVisible());
    ASSERT_EQ(List()->count(), 80);
    EXPECT_EQ(List()->item(2)->text(), FirstOf(3) + QStringLiteral(" ") + SecondOf(3));
    // Both characters show, never "未…": each entry's text fits its text area beside the scroll bar.
    for (int row : {0, 2, 79}) {
        QStyleOptionViewItem option;
        option.initFrom(List());
        option.rect = List()->visualItemRect(List()->item(row));
        option.features = QStyleOptionViewItem::HasDisplay;
        option.text = List()->item(row)->text();
        option.font = List()->font();
        const QRect text = List()->style()->subElementRect(QStyle::SE_ItemViewItemText, &option, List());
        EXPECT_GE(text.width(), QFontMetrics(List()->font()).horizontalAdvance(option.text)) << row;
    }
    EXPECT_EQ(QColor(Form()->grab().toImage().pixel(OnForm(GridPoint(15, 17)))), Red) << "the list covers the cells";

    QTest::mouseMove(List()->viewport(), QPoint(40, 300));
    EXPECT_EQ(game.HighlightedCell(), 0) << "a move over the list cleared the hover";
    Click(Board(), GridPoint(2, 2, {22, 5}));
    Click(Frame(), QPoint(2, 3));
    EXPECT_TRUE(List()->isVisible()) << "the frame and its gaps take no clicks";
    Click(Board(), CellPoint(underList));
    EXPECT_FALSE(List()->isVisible());
    ClickButton(3);
    Click(Badge(1), {20, 20});
    EXPECT_FALSE(List()->isVisible()) << "a badge hides the list";

    ClickButton(3);
    random.Values = {CellDraw(5)};
    Click(List()->viewport(), List()->visualItemRect(List()->item(1)).center());
    EXPECT_FALSE(List()->isVisible());
    EXPECT_EQ(game.Caption(5), SecondOf(2));
    ClickButton(3);
    List()->setFocus();
    List()->setCurrentRow(1);
    QTest::keyClick(List(), Qt::Key_Down);
    EXPECT_TRUE(List()->isVisible()) << "arrows only move the selection";
    random.Values = {CellDraw(6)};
    QTest::keyClick(List(), Qt::Key_Return);
    EXPECT_FALSE(List()->isVisible());
    EXPECT_EQ(game.Caption(6), SecondOf(3));

    ClickButton(3);
    List()->setFocus();
    QTest::keyClick(List(), Qt::Key_End);
    QCoreApplication::processEvents();
    ASSERT_GT(List()->verticalScrollBar()->value(), 0) << "scrolled down to the last pair";
    Click(Form(), QPoint(400, 20));
    ASSERT_FALSE(List()->isVisible()) << "the window hides the list";
    ClickButton(3);
    QCoreApplication::processEvents();
    EXPECT_EQ(List()->itemAt(QPoint(2, 2)), List()->item(0)) << "pair 1 at the top";
    EXPECT_TRUE(List()->selectedItems().isEmpty());
}

// Back works while the list is shown; a later visit keeps the hover fields and
// starts every cell afresh; the close box ends the program.
TEST_F(PuzzleWindowTest, BackThenAVisitLaterKeepsTheHoverFieldsAndTheCloseBoxEnds)
{
    Open(3, {DrawOf(1, 3), CellDraw(0)});
    Move(CellPoint(123));
    ClickButton(3);
    ClickButton(0);
    EXPECT_FALSE(puzzle.IsLoaded());
    EXPECT_TRUE(menu.IsLoaded());
    DestroyUnloadedForms();

    t.Frame.Guard([this] { t.Frame.SwitchToWindow(WindowName::Puzzle); });
    ASSERT_TRUE(puzzle.IsLoaded());
    EXPECT_FALSE(List()->isVisible());
    EXPECT_EQ(game.HighlightedCell(), 123);
    EXPECT_EQ(CellColour(123), Created);
    Move(CellPoint(124));
    EXPECT_EQ(std::pair(CellColour(123), CellColour(124)), std::pair(Normal, Red));
    EXPECT_TRUE(t.ExitStatuses.empty());
    Form()->close();
    EXPECT_FALSE(puzzle.IsLoaded() || menu.IsLoaded());
    EXPECT_EQ(t.ExitStatuses, std::vector<int>{0});
}

// The window loads through the shell's restore; ending on No is the shell's own, tested
// through the management windows.
TEST_F(PuzzleWindowTest, AMissingProblemFileIsRestoredOnYes)
{
    const QString dat = QStringLiteral("/data/問題.dat");
    QFile::remove(t.Dir.Path() + dat);
    t.Boxes.Answers = {true};
    t.Frame.Guard([this] { t.Frame.ShowWindow(WindowName::Puzzle); });
    ASSERT_TRUE(puzzle.IsLoaded());
    EXPECT_EQ(t.Dir.Read(dat), t.Dir.Read(QStringLiteral("/data/問題.org")));
    EXPECT_FALSE(game.Caption(0).isEmpty()) << "a problem of the factory set is laid out";
    EXPECT_EQ(t.Boxes.ErrorsAsked.size(), 1u);
    EXPECT_TRUE(t.Boxes.Errors.empty() && t.ExitStatuses.empty());
}

} // namespace
