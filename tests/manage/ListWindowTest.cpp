// SPDX-License-Identifier: MIT
#include "tests/manage/ManageFixture.h"

#include <tuple>

namespace {

using ListWindowTest = ManageFixture;

TEST_F(ListWindowTest, LooksAsDesigned)
{
    Open(list, u"未末"_s);
    EXPECT_EQ(list.Form()->windowTitle(), u"字一覧"_s);
    QWidget* back = Find(list, u"backButton"_s);
    QWidget* reset = Find(list, u"resetButton"_s);
    EXPECT_EQ(reset->toolTip(), u"字登録を初期状態（出荷時）に戻す"_s);
    EXPECT_EQ(Focused(list), back);
    EXPECT_EQ(back->nextInFocusChain(), reset);

    const QImage shot = list.Form()->grab().toImage();
    auto inked = [&](const QLabel& label, QColor ink) {  // some text pixel near this colour
        return AnyPixel(shot.copy(label.geometry().adjusted(1, 1, -1, -1)), [&](QColor c) {
            return qAbs(c.red() - ink.red()) < 60 && qAbs(c.green() - ink.green()) < 60
                   && qAbs(c.blue() - ink.blue()) < 60;
        });
    };
    // White numbers in full-width digits over blue, yellow pairs over the laid blue.
    for (const auto& [index, caption] : {std::pair(0, u"１"_s), std::pair(45, u"４６"_s), std::pair(79, u"８０"_s)}) {
        SCOPED_TRACE(index);
        const QLabel &number = list.Grid().NumberLabel(index), &pair = list.Grid().PairLabel(index);
        EXPECT_EQ(number.text(), caption);
        EXPECT_TRUE(number.font().bold() && !pair.font().bold());
        EXPECT_EQ(shot.pixelColor(number.geometry().topLeft() + QPoint(3, 3)), QColor(0, 0, 255));
        EXPECT_EQ(shot.pixelColor(pair.geometry().topLeft() + QPoint(3, 3)), QColor(0, 0, 192));
        EXPECT_TRUE(inked(number, Qt::white));
        EXPECT_EQ(inked(pair, Qt::yellow), index == 0) << "only pair 1 is stored";
    }
    EXPECT_EQ(shot.pixelColor(69, 64), QColor(255, 255, 0)) << "the frame";
}

TEST_F(ListWindowTest, FillShowsNoneSomeOrAllPairsAndKeepsTheCaptionsBeyondThem)
{
    for (const int count : {0, 3, 80}) {
        SCOPED_TRACE(count);
        Open(list, ManyPairs(count));
        EXPECT_EQ(Captions(list.Grid()), Shown(ManyPairs(count)));
        t.Dir.Write(dat, FileOf(u"未末"_s));
        store.LoadProblemFile();
        list.Grid().FillPairGrid(store);
        EXPECT_EQ(Captions(list.Grid()), Shown(u"未末"_s + ManyPairs(count).mid(2)));
        list.Grid().ClearPairGrid();
        EXPECT_EQ(Captions(list.Grid()), Shown({}));
    }
}

TEST_F(ListWindowTest, FactoryResetOnYesOnly)
{
    t.Dir.Write(u"/data/問題.org"_s, FileOf(u"未末土士"_s));
    for (const bool yes : {false, true}) {
        SCOPED_TRACE(yes);
        Open(list, ManyPairs(5));
        t.Boxes.Answers = {yes};
        t.Boxes.Questions.clear();
        Click(Find(list, u"resetButton"_s));
        EXPECT_EQ(t.Boxes.Questions, QStringList{u"字登録を初期状態（出荷時）に戻しますか？"_s});
        const QString now = yes ? u"未末土士"_s : ManyPairs(5);  // the factory set is smaller
        EXPECT_EQ(t.Dir.Read(dat), FileOf(now));
        EXPECT_EQ(Captions(list.Grid()), Shown(now));
    }
}

} // namespace
