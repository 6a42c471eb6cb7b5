#include "tests/manage/ManageFixture.h"

#include <array>

namespace {

const QColor Laid(0, 0, 192), Red(255, 0, 0), Back(0, 0, 191);
const QString Three = QStringLiteral("未末土士日曰");

class DeleteWindow : public ManageFixture {
protected:
    void MoveTo(QPoint point) { QTest::mouseMove(remove.form(), point); }
    void MoveToPair(int index) { MoveTo(PairGrid::PairRect(index).center()); }
    QColor Cell(int index) const { return BackOnScreen(remove, PairGrid::PairRect(index)); }
    void ClickPair(int index) { Click(&remove.Grid->PairLabel(index)); }
};

TEST_F(DeleteWindow, OpensWithTheInstructionAndTheFocusOnBack)
{
    Open(remove, Three);
    auto* instruction = Find<QLabel>(remove, QStringLiteral("Label3"));
    EXPECT_EQ(instruction->text(), QStringLiteral("削除する字をクリックして下さい"));
    EXPECT_EQ(instruction->geometry(), QRect(256, 18, 357, 24));
    EXPECT_EQ(BackOnScreen(remove, instruction->geometry()), QColor(255, 0, 255));
    EXPECT_EQ(Focused(remove), Find(remove, QStringLiteral("Command1")));
    EXPECT_EQ(Captions(*remove.Grid), Shown(Three));
}

TEST_F(DeleteWindow, TheCellUnderTheMouseIsRedOnlyWhileItHoldsAPair)
{
    Open(remove, Three);
    struct Step {
        const char* what;
        QPoint where;
        std::array<QColor, 4> cells;  // cells 0, 1, 2 and the empty cell 5
        int highlighted;
    };
    const Step steps[] = {
        {"filled cell", PairGrid::PairRect(0).center(), {Red, Laid, Laid, Laid}, 0},
        {"next filled cell", PairGrid::PairRect(1).center(), {Back, Red, Laid, Laid}, 1},
        {"empty cell", PairGrid::PairRect(5).center(), {Back, Red, Laid, Laid}, 1},
        {"instruction", QPoint(300, 25), {Back, Red, Laid, Laid}, 1},
        {"title", QPoint(100, 30), {Back, Red, Laid, Laid}, 1},
        {"frame line", QPoint(300, 64), {Back, Red, Laid, Laid}, 1},
        {"background", QPoint(20, 200), {Back, Back, Laid, Laid}, -1},
        {"filled cell", PairGrid::PairRect(2).center(), {Back, Back, Red, Laid}, 2},
        {"number label", PairGrid::NumberRect(7).center(), {Back, Back, Back, Laid}, -1},
        {"same cell again", PairGrid::PairRect(2).center(), {Back, Back, Red, Laid}, 2},
        {"gap between cells", QPoint(140, 110), {Back, Back, Back, Laid}, -1},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        MoveTo(step.where);
        EXPECT_EQ((std::array{Cell(0), Cell(1), Cell(2), Cell(5)}), step.cells);
        EXPECT_EQ(remove.Highlight.HighlightedIndex, step.highlighted);
    }
}

TEST_F(DeleteWindow, ClicksThatDeleteNothing)
{
    Open(remove, Three);
    ClickPair(3);  // empty: no question at all
    t.Boxes.Answers = {false};
    ClickPair(1);
    EXPECT_EQ(t.Boxes.Questions, QStringList{QStringLiteral("土 士 を削除しますか？")});
    EXPECT_EQ(t.Dir.Read(dat), FileOf(Three));
    EXPECT_EQ(Captions(*remove.Grid), Shown(Three));

    Open(remove, {});
    ClickPair(0);
    EXPECT_EQ(t.Boxes.Questions.size(), 1) << "with no pairs every click is ignored";
}

TEST_F(DeleteWindow, YesDeletesAndLeavesTheHighlightWhereItIs)
{
    struct Case {
        int index;
        const char* question;
        QString after;
    };
    for (const Case& c : {Case{0, "未 末 を削除しますか？", QStringLiteral("土士日曰")},
                         Case{2, "日 曰 を削除しますか？", QStringLiteral("未末土士")}}) {
        SCOPED_TRACE(c.index);
        Open(remove, Three);
        MoveToPair(c.index);
        t.Boxes.Answers = {true};
        t.Boxes.Questions.clear();
        ClickPair(c.index);
        EXPECT_EQ(t.Boxes.Questions, QStringList{QString::fromUtf8(c.question)});
        EXPECT_EQ(t.Dir.Read(dat), FileOf(c.after));
        EXPECT_EQ(Captions(*remove.Grid), Shown(c.after));
        EXPECT_EQ(Cell(c.index), Red) << "red even when the cell is now empty";
    }
    MoveToPair(2);
    EXPECT_EQ(Cell(2), Red) << "an empty cell neither takes nor drops the highlight";
    MoveToPair(1);
    EXPECT_EQ((std::array{Cell(1), Cell(2)}), (std::array{Red, Back}));
}

TEST_F(DeleteWindow, TheHighlightFieldsOutliveTheWindowsControls)
{
    Open(remove, Three);
    MoveToPair(1);
    Open(remove, Three);
    EXPECT_EQ(remove.Highlight.HighlightedIndex, 1);
    EXPECT_EQ(remove.Highlight.HoverIndex, 1);
    EXPECT_EQ(Cell(1), Laid) << "controls are created anew in their laid-out colour";
}

} // namespace
