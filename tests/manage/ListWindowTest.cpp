#include "tests/manage/ManageFixture.h"

#include <cstdlib>

namespace {

using ListWindow = ManageFixture;

TEST_F(ListWindow, LooksAsDesigned)
{
    Open(list, QStringLiteral("未末"));
    EXPECT_EQ(list.form()->windowTitle(), QStringLiteral("字一覧"));
    EXPECT_EQ(Find(list, QStringLiteral("Image1"))->geometry(), QRect(71, 4, 152, 53));
    QWidget* back = Find(list, QStringLiteral("Command1"));
    QWidget* reset = Find(list, QStringLiteral("Command2"));
    EXPECT_EQ(reset->geometry(), QRect(592, 10, 44, 40));
    EXPECT_EQ(reset->toolTip(), QStringLiteral("字登録を初期状態（出荷時）に戻す"));
    EXPECT_EQ(Focused(list), back);
    EXPECT_EQ(back->nextInFocusChain(), reset);

    struct Cell {
        int index;
        QPoint number;  // top left; every number label is 60 × 22, its pair label 60 × 23 below
        const char* caption;
    };
    const QImage shot = list.form()->grab().toImage();
    for (const Cell cell : {Cell{0, {80, 77}, "１"}, Cell{45, {385, 269}, "４６"}, Cell{79, {629, 414}, "８０"}}) {
        SCOPED_TRACE(cell.index);
        const QRect number(cell.number, QSize(60, 22)), pair(cell.number + QPoint(0, 23), QSize(60, 23));
        EXPECT_EQ(list.Grid->NumberLabel(cell.index).geometry(), number);
        EXPECT_EQ(list.Grid->PairLabel(cell.index).geometry(), pair);
        EXPECT_EQ(list.Grid->NumberLabel(cell.index).text(), QString::fromUtf8(cell.caption));
        EXPECT_EQ(shot.pixelColor(number.topLeft() + QPoint(3, 3)), QColor(0, 0, 255));
        EXPECT_EQ(shot.pixelColor(pair.topLeft() + QPoint(3, 3)), QColor(0, 0, 192));
        EXPECT_EQ(shot.pixelColor(pair.bottomRight()), QColor(Qt::black)) << "single border";
    }
    auto inked = [&](QRect rect, int red, int green, int blue) {  // some text pixel near this colour
        for (int y = rect.top() + 1; y < rect.bottom(); ++y)
            for (int x = rect.left() + 1; x < rect.right(); ++x)
                if (const QColor c = shot.pixelColor(x, y);
                    std::abs(c.red() - red) < 60 && std::abs(c.green() - green) < 60 && std::abs(c.blue() - blue) < 60)
                    return true;
        return false;
    };
    EXPECT_TRUE(inked(list.Grid->NumberLabel(0).geometry(), 255, 255, 255));
    EXPECT_TRUE(inked(list.Grid->PairLabel(0).geometry(), 255, 255, 0));
    EXPECT_FALSE(inked(list.Grid->PairLabel(1).geometry(), 255, 255, 0));

    // The yellow frame from (69, 64) to (701, 470), corners included.
    for (const QPoint p : {QPoint(69, 64), QPoint(701, 64), QPoint(69, 470), QPoint(701, 470), QPoint(385, 64),
                           QPoint(701, 267), QPoint(69, 267), QPoint(385, 470)})
        EXPECT_EQ(shot.pixelColor(p), QColor(255, 255, 0)) << p.x() << "," << p.y();
    EXPECT_EQ(shot.pixelColor(702, 471), QColor(128, 128, 255));
}

TEST_F(ListWindow, ShowsNoneSomeOrAllPairsAndClears)
{
    for (const int count : {0, 3, 80}) {
        Open(list, ManyPairs(count));
        EXPECT_EQ(Captions(*list.Grid), Shown(ManyPairs(count))) << count;
        list.Grid->ClearPairGrid();
        EXPECT_EQ(Captions(*list.Grid), Shown({}));
    }
    Click(Find(list, QStringLiteral("Command1")));
    EXPECT_TRUE(menu.IsLoaded());
    EXPECT_FALSE(list.IsLoaded());
}

TEST_F(ListWindow, FillLeavesCellsBeyondTheCountAsTheyWere)
{
    Open(list, ManyPairs(3));
    t.Dir.Write(dat, FileOf(QStringLiteral("未末")));
    store.LoadProblemFile();
    list.Grid->FillPairGrid(store);
    EXPECT_EQ(Captions(*list.Grid), Shown(QStringLiteral("未末") + ManyPairs(3).mid(2)));
}

TEST_F(ListWindow, FactoryResetOnYesOnly)
{
    t.Dir.Write(QStringLiteral("/data/問題.org"), FileOf(QStringLiteral("未末土士")));
    for (const bool yes : {false, true}) {
        SCOPED_TRACE(yes);
        Open(list, ManyPairs(5));
        t.Boxes.Answers = {yes};
        t.Boxes.Questions.clear();
        Click(Find(list, QStringLiteral("Command2")));
        EXPECT_EQ(t.Boxes.Questions, QStringList{QStringLiteral("字登録を初期状態（出荷時）に戻しますか？")});
        const QString now = yes ? QStringLiteral("未末土士") : ManyPairs(5);  // the factory set is smaller
        EXPECT_EQ(t.Dir.Read(dat), FileOf(now));
        EXPECT_EQ(Captions(*list.Grid), Shown(now));
    }
}

} // namespace
