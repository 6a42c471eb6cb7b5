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
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPaintEvent>
#include <QSoundEffect>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QColor Surface(128, 128, 255);
const QColor Created(0, 0, 192);
const QColor Normal(0, 0, 191);
const QColor Red(255, 0, 0);

// Collects the areas a widget is asked to repaint.
class PaintSpy final : public QObject {
public:
    explicit PaintSpy(QWidget* widget) : QObject(widget) { widget->installEventFilter(this); }
    QRegion Painted;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            Painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

class PuzzleWindowTest : public ::testing::Test {
protected:
    TestShell t;
    FakeClock clock{100.0};
    ProblemStore store{t.Dir.Path()};
    ScriptedRandom random;
    メニュー menu{t.Frame, clock};
    問題表示 puzzle{t.Frame, store, random};

    void SetUp() override { InstallShippedData(t.Dir); }
    void TearDown() override { DestroyUnloadedForms(); }

    void Open(int pairs, std::initializer_list<double> draws)
    {
        WriteProblems(t.Dir, pairs);
        random.Values = draws;
        t.Frame.Guard([this] { t.Frame.ShowWindow(WindowName::問題表示); });
        ASSERT_TRUE(puzzle.IsLoaded());
    }

    QWidget* Form() const { return puzzle.form(); }
    PuzzleBoard* Board() const { return Form()->findChild<PuzzleBoard*>(QStringLiteral("Label1")); }
    QListWidget* List() const { return Form()->findChild<QListWidget*>(QStringLiteral("List1")); }
    QFrame* Frame() const { return Form()->findChild<QFrame*>(QStringLiteral("Frame1")); }
    QAbstractButton* Button(int index) const
    {
        return Form()->findChild<QAbstractButton*>(QStringLiteral("Command1(%1)").arg(index));
    }
    QLabel* Badge(int index) const { return Form()->findChild<QLabel*>(QStringLiteral("Image1(%1)").arg(index)); }

    // A point of the board at column c, row r of the grid, `inside` the cell.
    static QPoint GridPoint(int column, int row, QPoint inside = {11, 10})
    {
        return QPoint(23 * column, 22 * row) + inside;
    }
    static QPoint CellPoint(int index, QPoint inside = {11, 10})
    {
        return PuzzleBoard::CellRect(index).topLeft() + inside;
    }
    // The colour of a cell's top-left pixel, where no glyph reaches, on the window's grab.
    QColor CellColour(int index) const
    {
        const QImage shot = Form()->grab().toImage();
        return QColor(shot.pixel(Board()->mapTo(Form(), CellPoint(index, {0, 0}))));
    }
    void MoveOnBoard(QPoint point) { QTest::mouseMove(Board(), point); }
    void ClickOnBoard(QPoint point) { QTest::mouseClick(Board(), Qt::LeftButton, {}, point); }
    void ClickButton(int index) { QTest::mouseClick(Button(index), Qt::LeftButton, {}, Button(index)->rect().center()); }
    void Script(std::initializer_list<double> draws) { random.Values = draws; }
};

TEST_F(PuzzleWindowTest, LooksAsDesigned)
{
    Open(3, {DrawOf(2, 3), CellDraw(0)});
    EXPECT_EQ(Form()->windowTitle(), QStringLiteral("問題"));
    EXPECT_EQ(Form()->size(), QSize(766, 478));
    EXPECT_EQ(Frame()->geometry(), QRect(12, 46, 742, 429));
    EXPECT_EQ(Board()->geometry(), QRect(4, 11, 735, 417));
    EXPECT_EQ(List()->geometry(), QRect(322, 34, 96, 382));
    EXPECT_EQ(List()->parentWidget(), Frame());
    EXPECT_FALSE(List()->isVisible());
    EXPECT_EQ(List()->font().pixelSize(), 27);
    EXPECT_EQ(List()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);

    const int buttonLefts[] = {708, 647, 586, 524};
    const char* tips[] = {"メニューに戻る", "次の問題", "答を表示", "字一覧から選択"};
    for (int index = 0; index < 4; ++index) {
        ASSERT_NE(Button(index), nullptr) << index;
        EXPECT_EQ(Button(index)->geometry(), QRect(buttonLefts[index], 5, 44, 40)) << index;
        EXPECT_EQ(Button(index)->toolTip(), QString::fromUtf8(tips[index]));
        EXPECT_TRUE(Button(index)->text().isEmpty());
    }
    const int badgeLefts[] = {20, 70, 124, 179};
    for (int index = 0; index < 4; ++index) {
        ASSERT_NE(Badge(index), nullptr) << index;
        EXPECT_EQ(Badge(index)->geometry(), QRect(badgeLefts[index], 2, 45, 45));
        EXPECT_TRUE(Badge(index)->toolTip().isEmpty());
    }
    auto* player = Form()->findChild<QSoundEffect*>(QStringLiteral("MediaPlayer1"));
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(player->parent(), Form());

    const QImage shot = Form()->grab().toImage();
    EXPECT_EQ(QColor(shot.pixel(3, 3)), Surface);
    EXPECT_EQ(QColor(shot.pixel(400, 30)), Surface);
    EXPECT_EQ(QColor(shot.pixel(Button(1)->geometry().topLeft() + QPoint(1, 1))), Surface);
    // The frame's inside and its gaps show the frame's colour; cells are as created.
    const QPoint board = Board()->mapTo(Form(), QPoint(0, 0));
    EXPECT_EQ(QColor(shot.pixel(board + QPoint(-2, -5))), Surface) << "frame margin";
    EXPECT_EQ(QColor(shot.pixel(board + QPoint(22, 5))), Surface) << "gap between columns";
    EXPECT_EQ(QColor(shot.pixel(board + QPoint(5, 21))), Surface) << "gap between rows";
    for (int index : {0, 31, 159, 160, 191, 576, 607})
        EXPECT_EQ(QColor(shot.pixel(board + CellPoint(index, {0, 0}))), Created) << index;
    EXPECT_EQ(QColor(shot.pixel(board + QPoint(734, 416))), Created) << "bottom-right pixel of the last cell";
}

TEST_F(PuzzleWindowTest, CellsShowWhiteCentredCharactersAndTheOddOneDiffers)
{
    Open(3, {DrawOf(2, 3), CellDraw(300)});
    const QImage shot = Board()->grab().toImage();
    auto cellImage = [&](int index) { return shot.copy(PuzzleBoard::CellRect(index)); };
    auto inkBox = [](const QImage& cell) {
        QRect box;
        for (int y = 0; y < cell.height(); ++y)
            for (int x = 0; x < cell.width(); ++x)
                if (QColor(cell.pixel(x, y)).red() > 128)
                    box |= QRect(x, y, 1, 1);
        return box;
    };
    const QRect ink = inkBox(cellImage(299));
    ASSERT_FALSE(ink.isEmpty()) << "no white text in a cell";
    EXPECT_NEAR(ink.center().x(), 11, 3);
    EXPECT_NEAR(ink.center().y(), 10, 3);
    EXPECT_EQ(cellImage(0), cellImage(607)) << "every ordinary cell looks the same";
    EXPECT_NE(cellImage(300), cellImage(299)) << "the odd cell shows the other character";
}

TEST_F(PuzzleWindowTest, FocusStartsOnTheBackButtonAndFollowsTheIndexThenTheList)
{
    Open(3, {DrawOf(2, 3), CellDraw(0)});
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form()));
    EXPECT_EQ(QApplication::focusWidget(), Button(0));
    ClickButton(3);
    Button(0)->setFocus();
    for (int index = 1; index < 4; ++index) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), Button(index)) << index;
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), List());
    for (QWidget* noFocus : {static_cast<QWidget*>(Board()), static_cast<QWidget*>(Frame()),
                             static_cast<QWidget*>(Badge(0))})
        EXPECT_EQ(noFocus->focusPolicy(), Qt::NoFocus);
}

// Both halves of the numbering: a move or a click at a grid place reaches that index.
TEST_F(PuzzleWindowTest, GridPlacesMapToTheirIndices)
{
    struct Place {
        int column, row, index;
    };
    Open(3, {DrawOf(1, 3), CellDraw(0)});
    for (const Place p : {Place{0, 0, 0}, Place{31, 0, 31}, Place{31, 4, 159}, Place{31, 5, 160},
                          Place{0, 5, 191}, Place{3, 12, 412}, Place{0, 18, 607}}) {
        MoveOnBoard(GridPoint(p.column, p.row));
        EXPECT_EQ(puzzle.Game.HoverCell, p.index) << p.column << "," << p.row;
        EXPECT_EQ(CellColour(p.index), Red) << p.index;
        // The odd cell at this index is hit by a click at this place.
        Script({CellDraw(p.index)});
        puzzle.Game.LayOutBoard();
        const qsizetype sounds = t.SoundsPlayed.size();
        ClickOnBoard(GridPoint(p.column, p.row, {21, 20}));
        EXPECT_EQ(t.SoundsPlayed.size(), sounds + 1) << p.index;
    }
    ASSERT_FALSE(t.SoundsPlayed.isEmpty());
    EXPECT_EQ(t.SoundsPlayed.back(), t.Dir.Path() + QStringLiteral("/data/音/o.wav"));
}

TEST_F(PuzzleWindowTest, HoverFollowsTheMouseAndTheGapsKeepIt)
{
    Open(3, {DrawOf(1, 3), CellDraw(0)});
    MoveOnBoard(CellPoint(33));  // row 1, column 1
    EXPECT_EQ(CellColour(33), Red);
    MoveOnBoard(GridPoint(0, 1, {22, 10}));  // the gap to its left
    MoveOnBoard(GridPoint(1, 0, {10, 21}));  // the gap above it
    QTest::mouseMove(Frame(), QPoint(2, 3));  // the frame's margin
    EXPECT_EQ(CellColour(33), Red);
    EXPECT_EQ(puzzle.Game.HighlightedCell, 33);
    EXPECT_EQ(puzzle.Game.HoverCell, 33);
    EXPECT_EQ(CellColour(32), Created);
    EXPECT_EQ(CellColour(1), Created);
    MoveOnBoard(CellPoint(1, {0, 0}));
    EXPECT_EQ(CellColour(33), Normal);
    EXPECT_EQ(CellColour(1), Red);
    EXPECT_EQ(CellColour(2), Created);

    // Off the board: a button, a badge and the window's own surface each clear it.
    const std::vector<std::function<void()>> leaves{
        [&] { QTest::mouseMove(Button(2), QPoint(20, 20)); },
        [&] { QTest::mouseMove(Badge(3), QPoint(22, 22)); },
        [&] { QTest::mouseMove(Form(), QPoint(300, 20)); },
    };
    for (std::size_t leave = 0; leave < leaves.size(); ++leave) {
        MoveOnBoard(CellPoint(1));
        ASSERT_EQ(CellColour(1), Red) << leave;
        leaves[leave]();
        EXPECT_EQ(CellColour(1), Normal) << "left a red cell behind, way " << leave;
        EXPECT_EQ(puzzle.Game.HighlightedCell, -1);
    }
    // Back onto the same cell, it is red again.
    MoveOnBoard(CellPoint(1));
    EXPECT_EQ(CellColour(1), Red);
}

TEST_F(PuzzleWindowTest, AHoverMoveRepaintsOnlyTheTwoCells)
{
    Open(3, {DrawOf(1, 3), CellDraw(0)});
    MoveOnBoard(CellPoint(40));
    QCoreApplication::processEvents();
    PaintSpy spy(Board());
    MoveOnBoard(CellPoint(600));
    QCoreApplication::processEvents();
    const QRegion expected = QRegion(PuzzleBoard::CellRect(40)) + QRegion(PuzzleBoard::CellRect(600));
    EXPECT_EQ(spy.Painted, expected);
    spy.Painted = QRegion();
    MoveOnBoard(CellPoint(600, {3, 3}));
    QTest::mouseMove(Board(), CellPoint(600, {22, 3}));
    QCoreApplication::processEvents();
    EXPECT_TRUE(spy.Painted.isEmpty()) << "moves within a cell or into a gap repaint nothing";
}

TEST_F(PuzzleWindowTest, HitAnswerAndNextWithRealClicks)
{
    Open(3, {DrawOf(1, 3), CellDraw(250)});
    ClickOnBoard(CellPoint(249));
    EXPECT_TRUE(t.SoundsPlayed.isEmpty()) << "a wrong cell is silent";
    ClickOnBoard(CellPoint(250));
    ClickOnBoard(CellPoint(250));
    EXPECT_EQ(t.SoundsPlayed.size(), 1) << "one hit sound per problem";

    // A press on one cell and a release on another is no click.
    QTest::mousePress(Board(), Qt::LeftButton, {}, CellPoint(251));
    QTest::mouseRelease(Board(), Qt::LeftButton, {}, CellPoint(252));

    ClickButton(2);
    EXPECT_EQ(CellColour(250), Red);
    ClickButton(2);
    EXPECT_EQ(CellColour(250), Red) << "the answer twice stays red";
    Script({DrawOf(3, 3), CellDraw(10)});
    ClickButton(1);
    EXPECT_EQ(CellColour(250), Normal) << "the next problem takes the marking away";
    EXPECT_EQ(puzzle.Game.CurrentPair, 3);
    EXPECT_EQ(puzzle.Game.OddCell, 10);
    ClickOnBoard(CellPoint(10));
    EXPECT_EQ(t.SoundsPlayed.size(), 2);
}

TEST_F(PuzzleWindowTest, TheListCoversItsCellsAndACellClickOnlyHidesIt)
{
    Open(3, {DrawOf(1, 3), CellDraw(7 * 32 + 31 - 15)});  // row 7, column 15: under the list
    ClickButton(3);
    ASSERT_TRUE(List()->isVisible());
    ASSERT_EQ(List()->count(), 3);
    EXPECT_EQ(List()->item(0)->text(), FirstOf(1) + QStringLiteral(" ") + SecondOf(1));

    // The list lies above columns 13 to 17; cells beside it stay in sight.
    const QImage shot = Form()->grab().toImage();
    auto onForm = [&](int column, int row) { return Board()->mapTo(Form(), GridPoint(column, row, {0, 0})); };
    for (int row : {2, 10, 17}) {
        for (int column = 14; column <= 17; ++column) {
            EXPECT_NE(Form()->childAt(onForm(column, row)), Board()) << column << "," << row;
            EXPECT_NE(QColor(shot.pixel(onForm(column, row))), Created) << column << "," << row;
        }
        EXPECT_EQ(Form()->childAt(onForm(12, row)), Board());
        EXPECT_EQ(Form()->childAt(onForm(18, row)), Board());
        EXPECT_EQ(QColor(shot.pixel(onForm(12, row))), Created);
    }
    // A click where the odd cell lies under the list reaches the list, not the cell.
    QTest::mouseClick(Form(), Qt::LeftButton, {}, onForm(15, 7) + QPoint(11, 10));
    EXPECT_TRUE(t.SoundsPlayed.isEmpty());

    // Moves over the list leave the hover alone.
    MoveOnBoard(CellPoint(0));
    QTest::mouseMove(List()->viewport(), QPoint(40, 300));
    QTest::mouseMove(List()->viewport(), QPoint(40, 30));
    EXPECT_EQ(puzzle.Game.HighlightedCell, 0);
    EXPECT_EQ(CellColour(0), Red);

    ClickButton(3);
    ClickOnBoard(GridPoint(2, 2, {22, 5}));  // a gap
    QTest::mouseClick(Frame(), Qt::LeftButton, {}, QPoint(2, 3));  // the frame's margin
    EXPECT_TRUE(List()->isVisible()) << "the frame and its gaps take no clicks";
    ClickOnBoard(CellPoint(0));
    EXPECT_FALSE(List()->isVisible());
    EXPECT_EQ(puzzle.Game.ListShown, 0);
    EXPECT_TRUE(t.SoundsPlayed.isEmpty());

    // A badge and the window's own surface hide it too.
    ClickButton(3);
    QTest::mouseClick(Badge(1), Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_FALSE(List()->isVisible());
    ClickButton(3);
    QTest::mouseClick(Form(), Qt::LeftButton, {}, QPoint(400, 20));
    EXPECT_FALSE(List()->isVisible());
}

TEST_F(PuzzleWindowTest, AnEntryIsPickedByClickOrEnterAndNotByArrows)
{
    Open(3, {DrawOf(1, 3), CellDraw(0)});
    ClickButton(3);
    Script({CellDraw(5)});
    QListWidget* list = List();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(puzzle.Game.CurrentPair, 2);
    EXPECT_EQ(puzzle.Game.OddCell, 5);
    EXPECT_EQ(puzzle.Game.Caption(5), SecondOf(2));
    EXPECT_EQ(puzzle.Game.Caption(4), FirstOf(2));

    ClickButton(3);
    list->setFocus();
    list->setCurrentRow(0);
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_TRUE(list->isVisible()) << "arrows only move the selection";
    EXPECT_EQ(puzzle.Game.CurrentPair, 2);
    Script({CellDraw(6)});
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(puzzle.Game.CurrentPair, 3);
    EXPECT_EQ(puzzle.Game.Caption(6), SecondOf(3));
}

TEST_F(PuzzleWindowTest, BackReturnsToTheMenuAndAVisitLaterKeepsTheHoverFields)
{
    Open(3, {DrawOf(1, 3), CellDraw(0)});
    MoveOnBoard(CellPoint(123));
    ClickButton(3);
    QTest::mouseMove(Button(0), QPoint(20, 20));
    ClickButton(0);  // works while the list is shown
    EXPECT_FALSE(puzzle.IsLoaded());
    EXPECT_TRUE(menu.IsLoaded());
    EXPECT_TRUE(t.ExitStatuses.empty());
    DestroyUnloadedForms();

    t.Frame.Guard([this] { t.Frame.SwitchToWindow(WindowName::問題表示); });
    ASSERT_TRUE(puzzle.IsLoaded());
    EXPECT_EQ(puzzle.Game.HoverCell, 123);
    EXPECT_EQ(puzzle.Game.HighlightedCell, -1) << "the move onto the back button cleared it";
    EXPECT_FALSE(List()->isVisible());
    EXPECT_EQ(CellColour(123), Created) << "new controls start in the created colour";
}

TEST_F(PuzzleWindowTest, TheCloseBoxEndsTheProgram)
{
    Open(3, {DrawOf(1, 3), CellDraw(0)});
    Form()->close();
    EXPECT_FALSE(puzzle.IsLoaded());
    EXPECT_FALSE(menu.IsLoaded());
    EXPECT_EQ(t.ExitStatuses, std::vector<int>{0});
}

TEST_F(PuzzleWindowTest, AMissingProblemFileEndsTheProgramWithOneMessage)
{
    QFile::remove(t.Dir.Path() + QStringLiteral("/data/問題.dat"));
    t.Frame.Guard([this] { t.Frame.ShowWindow(WindowName::問題表示); });
    EXPECT_FALSE(puzzle.IsLoaded());
    ASSERT_EQ(t.Boxes.Errors.size(), 1u);
    EXPECT_EQ(t.Boxes.Errors[0].number(), AppError::FileNotFound);
    EXPECT_EQ(t.ExitStatuses, std::vector<int>{1});
}

} // namespace
