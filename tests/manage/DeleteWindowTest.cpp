#include "tests/manage/ManageFixture.h"

namespace {

const QColor Laid(0, 0, 192), Red(255, 0, 0), Back(0, 0, 191);
const QString Three = QStringLiteral("未末土士日曰");

class DeleteWindow : public ManageFixture {
protected:
    void MoveTo(QPoint point) { QTest::mouseMove(remove.form(), point); }
    void MoveToPair(int index) { MoveTo(PairGrid::PairRect(index).center()); }
    QColor Cell(int index) const { return BackOnScreen(remove, PairGrid::PairRect(index)); }
};

TEST_F(DeleteWindow, OpensWithTheInstructionAndTheFocusOnBack)
{
    Open(remove, Three);
    EXPECT_EQ(remove.form()->windowTitle(), QStringLiteral("字削除"));
    auto* instruction = Find<QLabel>(remove, QStringLiteral("Label3"));
    EXPECT_EQ(instruction->text(), QStringLiteral("削除する字をクリックして下さい"));
    EXPECT_EQ(instruction->geometry(), QRect(256, 18, 357, 24));
    EXPECT_EQ(instruction->font().pixelSize(), 21);
    EXPECT_EQ(BackOnScreen(remove, instruction->geometry()), QColor(255, 0, 255));
    EXPECT_EQ(Find(remove, QStringLiteral("Image1"))->geometry(), QRect(71, 4, 152, 53));
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
        const std::array<QColor, 4> seen{Cell(0), Cell(1), Cell(2), Cell(5)};
        for (std::size_t i = 0; i < seen.size(); ++i)
            EXPECT_EQ(seen[i], step.cells[i]) << "cell " << (i < 3 ? i : 5);
        EXPECT_EQ(remove.Highlight.HighlightedIndex, step.highlighted);
    }
}

TEST_F(DeleteWindow, ClicksThatDeleteNothing)
{
    Open(remove, Three);
    Click(&remove.Grid->PairLabel(3));  // empty: no question at all
    t.Boxes.Answers = {false};
    Click(&remove.Grid->PairLabel(1));
    EXPECT_EQ(t.Boxes.Questions, QStringList{QStringLiteral("土 士 を削除しますか？")});
    EXPECT_EQ(t.Dir.Read(dat), FileOf(Three));
    EXPECT_EQ(Captions(*remove.Grid), Shown(Three));

    Click(Find(remove, QStringLiteral("Command1")));
    Open(remove, {});
    Click(&remove.Grid->PairLabel(0));
    EXPECT_EQ(t.Boxes.Questions.size(), 1) << "with no pairs every click is ignored";
}

TEST_F(DeleteWindow, DeletingTheFirstPairMovesTheOthersDown)
{
    Open(remove, Three);
    MoveToPair(0);
    t.Boxes.Answers = {true};
    Click(&remove.Grid->PairLabel(0));
    EXPECT_EQ(t.Boxes.Questions, QStringList{QStringLiteral("未 末 を削除しますか？")});
    EXPECT_EQ(t.Dir.Read(dat), FileOf(QStringLiteral("土士日曰")));
    EXPECT_EQ(Captions(*remove.Grid), Shown(QStringLiteral("土士日曰")));
    EXPECT_EQ(Cell(0), Red) << "the highlight is not touched";
}

TEST_F(DeleteWindow, DeletingTheLastPairLeavesItsEmptyCellRedUntilTheMouseMovesOn)
{
    Open(remove, Three);
    MoveToPair(2);
    t.Boxes.Answers = {true};
    Click(&remove.Grid->PairLabel(2));
    EXPECT_EQ(t.Dir.Read(dat), FileOf(QStringLiteral("未末土士")));
    EXPECT_EQ(remove.Grid->PairLabel(2).text(), QString());
    EXPECT_EQ(Cell(2), Red);
    MoveToPair(2);
    EXPECT_EQ(Cell(2), Red) << "an empty cell neither takes nor drops the highlight";
    MoveToPair(1);
    EXPECT_EQ(Cell(2), Back);
    EXPECT_EQ(Cell(1), Red);
}

TEST_F(DeleteWindow, TheHighlightFieldsOutliveTheWindowsControls)
{
    Open(remove, Three);
    MoveToPair(1);
    Click(Find(remove, QStringLiteral("Command1")));
    ASSERT_TRUE(menu.IsLoaded());
    DestroyUnloadedForms();
    Open(remove, Three);
    EXPECT_EQ(remove.Highlight.HighlightedIndex, 1);
    EXPECT_EQ(remove.Highlight.HoverIndex, 1);
    EXPECT_EQ(Cell(1), Laid) << "controls are created anew in their laid-out colour";
}

} // namespace
