// SPDX-License-Identifier: MIT
#include "tests/manage/ManageFixture.h"

#include <array>
#include <optional>
#include <tuple>

namespace {

const QColor Laid(0, 0, 192), Red(255, 0, 0), Back(0, 0, 191);
const QString Three = u"未末土士日曰"_s;

class DeleteWindowTest : public ManageFixture {
protected:
    void MoveTo(QPoint point) { QTest::mouseMove(remove.Form(), point); }
    QColor Cell(int index) const { return BackOnScreen(remove, PairGrid::PairRect(index)); }
};

TEST_F(DeleteWindowTest, TheCellUnderTheMouseIsRedOnlyWhileItHoldsAPair)
{
    Open(remove, Three);
    auto* instruction = Find<QLabel>(remove, u"instruction"_s);
    EXPECT_EQ(instruction->text(), u"削除する字をクリックして下さい"_s);
    EXPECT_EQ(BackOnScreen(remove, instruction->geometry()), QColor(255, 0, 255));
    EXPECT_EQ(Focused(remove), Find(remove, u"backButton"_s));

    // What the mouse moves onto (one of each kind of control), then cells 0, 1 and 2, and
    // the red cell. Which cells turn red is the rules' own test.
    using Step = std::tuple<const char*, QPoint, std::array<QColor, 3>, int>;
    const Step steps[] = {
        {"filled cell", PairGrid::PairRect(0).center(), {Red, Laid, Laid}, 0},
        {"instruction", QPoint(300, 25), {Red, Laid, Laid}, 0},
        {"background", QPoint(20, 200), {Back, Laid, Laid}, -1},
        {"filled cell", PairGrid::PairRect(2).center(), {Back, Laid, Red}, 2},
        {"number label", PairGrid::NumberRect(7).center(), {Back, Laid, Back}, -1},
        {"filled cell", PairGrid::PairRect(1).center(), {Back, Red, Back}, 1},
    };
    for (const auto& [what, where, cells, highlighted] : steps) {
        SCOPED_TRACE(what);
        MoveTo(where);
        EXPECT_EQ((std::array{Cell(0), Cell(1), Cell(2)}), cells);
        EXPECT_EQ(remove.Deletion().HighlightedIndex(), highlighted);
    }

    // The fields outlive the window's controls, which are created anew as laid out.
    Open(remove, Three);
    EXPECT_EQ(remove.Deletion().HighlightedIndex(), 1);
    EXPECT_EQ(Cell(1), Laid);
}

// A file another copy of the program changed is refused, shown fresh and left as it is.
TEST_F(DeleteWindowTest, AClickOnAPairAsksAndDeletesOnYesLeavingTheHighlightWhereItIs)
{
    // The cell clicked, the answer (none: no question at all), the question, the pairs
    // after, and the file as changed elsewhere while the window was open.
    using Case = std::tuple<int, std::optional<bool>, QString, QString, QString>;
    const Case cases[] = {
        {3, {}, {}, Three, {}},
        {1, false, u"土 士 を削除しますか？"_s, Three, {}},
        {2, true, u"日 曰 を削除しますか？"_s, u"未末土士"_s, {}},
        {0, true, u"未 末 を削除しますか？"_s, u"月用"_s + Three, u"月用"_s + Three},
    };
    for (const auto& [index, answer, question, after, elsewhere] : cases) {
        SCOPED_TRACE(index);
        Open(remove, Three);
        if (!elsewhere.isEmpty())
            t.Dir.Write(dat, FileOf(elsewhere));
        MoveTo(PairGrid::PairRect(index).center());
        if (answer)
            t.Boxes.Answers = {*answer};
        t.Boxes.Questions.clear();
        Click(&remove.Grid().PairLabel(index));
        EXPECT_EQ(t.Boxes.Questions, answer ? QStringList{question} : QStringList{});
        EXPECT_EQ(t.Dir.Read(dat), FileOf(after));
        EXPECT_EQ(Captions(remove.Grid()), Shown(after));
        EXPECT_EQ(Cell(index), answer ? Red : Laid) << "red even when the cell is now empty";
        EXPECT_EQ(remove.Deletion().HighlightedIndex(), answer ? index : -1);
        EXPECT_EQ(t.Boxes.RefusalTitles, elsewhere.isEmpty() ? QStringList{} : QStringList{u"字削除"_s});
        EXPECT_TRUE(
            t.Boxes.Refusals.join(u'\n').contains(elsewhere.isEmpty() ? QString() : u"ほかで書き換えられていた"_s));
    }
}

} // namespace
