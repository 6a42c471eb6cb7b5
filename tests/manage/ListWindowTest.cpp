#include "tests/manage/ManageFixture.h"

#include "shell/PictureButton.h"

namespace {

using ListWindow = ManageFixture;

struct CellDesign {
    int index;
    QRect number;
    QRect pair;
    const char* numberText;
};

TEST_F(ListWindow, GridStandsWhereDesignedInItsColours)
{
    Open(list, QStringLiteral("未末土士"));
    const CellDesign cells[] = {
        {0, {80, 77, 60, 22}, {80, 100, 60, 23}, "１"},
        {9, {629, 77, 60, 22}, {629, 100, 60, 23}, "１０"},
        {45, {385, 269, 60, 22}, {385, 292, 60, 23}, "４６"},
        {70, {80, 414, 60, 22}, {80, 437, 60, 23}, "７１"},  // the last row steps 735 twips
        {79, {629, 414, 60, 22}, {629, 437, 60, 23}, "８０"},
    };
    const QImage shot = list.form()->grab().toImage();
    for (const CellDesign& cell : cells) {
        SCOPED_TRACE(cell.index);
        auto* number = Find<QLabel>(list, QStringLiteral("Label1(%1)").arg(cell.index));
        auto* pair = Find<QLabel>(list, QStringLiteral("Label2(%1)").arg(cell.index));
        EXPECT_EQ(number->geometry(), cell.number);
        EXPECT_EQ(pair->geometry(), cell.pair);
        EXPECT_EQ(number->text(), QString::fromUtf8(cell.numberText));
        EXPECT_EQ(shot.pixelColor(cell.number.topLeft() + QPoint(3, 3)), QColor(0, 0, 255));
        EXPECT_EQ(shot.pixelColor(cell.pair.topLeft() + QPoint(3, 3)), QColor(0, 0, 192));
        EXPECT_EQ(shot.pixelColor(cell.pair.topLeft()), QColor(Qt::black)) << "single border";
        EXPECT_EQ(shot.pixelColor(cell.pair.bottomRight()), QColor(Qt::black));
    }
    // Text colours: white numbers, yellow pairs.
    auto contains = [&](QRect rect, bool (*inked)(QColor)) {
        for (int y = rect.top() + 1; y < rect.bottom(); ++y)
            for (int x = rect.left() + 1; x < rect.right(); ++x)
                if (inked(shot.pixelColor(x, y)))
                    return true;
        return false;
    };
    auto white = [](QColor c) { return c.red() > 200 && c.green() > 200 && c.blue() > 200; };
    auto yellow = [](QColor c) { return c.red() > 200 && c.green() > 200 && c.blue() < 100; };
    EXPECT_TRUE(contains(cells[0].number, white));
    EXPECT_TRUE(contains(cells[0].pair, yellow));
    EXPECT_FALSE(contains(cells[0].pair, white));
    EXPECT_FALSE(contains(cells[1].pair, yellow)) << "an empty cell shows nothing";

    // The yellow frame, corners and middles of its four edges.
    for (const QPoint p : {QPoint(69, 64), QPoint(701, 64), QPoint(69, 470), QPoint(701, 470), QPoint(385, 64),
                           QPoint(701, 267), QPoint(69, 267), QPoint(385, 470)})
        EXPECT_EQ(shot.pixelColor(p), QColor(255, 255, 0)) << p.x() << "," << p.y();
    EXPECT_EQ(shot.pixelColor(68, 63), QColor(128, 128, 255));
    EXPECT_EQ(shot.pixelColor(702, 471), QColor(128, 128, 255));
}

TEST_F(ListWindow, OpensWithItsControlsAndTheFocusOnBack)
{
    Open(list, {});
    EXPECT_EQ(list.form()->windowTitle(), QStringLiteral("字一覧"));
    EXPECT_EQ(list.form()->size(), QSize(768, 480));
    EXPECT_EQ(Find(list, QStringLiteral("Image1"))->geometry(), QRect(71, 4, 152, 53));
    auto* back = Find<PictureButton>(list, QStringLiteral("Command1"));
    auto* reset = Find<PictureButton>(list, QStringLiteral("Command2"));
    EXPECT_EQ(back->geometry(), QRect(656, 10, 44, 40));
    EXPECT_EQ(reset->geometry(), QRect(592, 10, 44, 40));
    EXPECT_EQ(reset->toolTip(), QStringLiteral("字登録を初期状態（出荷時）に戻す"));
    EXPECT_EQ(back->toolTip(), QStringLiteral("メニューに戻る"));
    EXPECT_EQ(Focused(list), back);
    EXPECT_EQ(back->nextInFocusChain(), reset);
}

TEST_F(ListWindow, ShowsNoneSomeOrAllPairs)
{
    for (const int count : {0, 3, 80}) {
        SCOPED_TRACE(count);
        const QString pairs = ManyPairs(count);
        Open(list, pairs);
        EXPECT_EQ(Captions(*list.Grid), Shown(pairs));
        list.Grid->ClearPairGrid();
        EXPECT_EQ(Captions(*list.Grid), Shown({}));
        Click(Find(list, QStringLiteral("Command1")));
        ASSERT_TRUE(menu.IsLoaded());
        ASSERT_FALSE(list.IsLoaded());
    }
}

TEST_F(ListWindow, FillLeavesCellsBeyondTheCountAsTheyWere)
{
    Open(list, ManyPairs(3));
    t.Dir.Write(dat, FileOf(QStringLiteral("未末")));
    store.LoadProblemFile();
    list.Grid->FillPairGrid(store);
    EXPECT_EQ(Captions(*list.Grid).mid(0, 4),
              (QStringList{QStringLiteral("未 末"), Caption(ManyPairs(3), 1), Caption(ManyPairs(3), 2), {}}));
}

TEST_F(ListWindow, FactoryResetToASmallerSetEmptiesTheCellsBeyondIt)
{
    const QByteArray factory = FileOf(QStringLiteral("未末土士"));
    t.Dir.Write(org, factory);
    Open(list, ManyPairs(5));
    t.Boxes.Answers = {true};
    Click(Find(list, QStringLiteral("Command2")));
    EXPECT_EQ(t.Boxes.Questions, QStringList{QStringLiteral("字登録を初期状態（出荷時）に戻しますか？")});
    EXPECT_EQ(t.Dir.Read(dat), factory);
    EXPECT_EQ(Captions(*list.Grid), Shown(QStringLiteral("未末土士")));
}

TEST_F(ListWindow, NoToTheResetChangesNothing)
{
    t.Dir.Write(org, FileOf(QStringLiteral("未末")));
    Open(list, ManyPairs(5));
    t.Boxes.Answers = {false};
    Click(Find(list, QStringLiteral("Command2")));
    EXPECT_EQ(t.Boxes.Questions.size(), 1);
    EXPECT_EQ(t.Dir.Read(dat), FileOf(ManyPairs(5)));
    EXPECT_EQ(Captions(*list.Grid), Shown(ManyPairs(5)));
}

TEST_F(ListWindow, AMissingProblemFileEndsTheProgramWithAMessage)
{
    t.Frame.Guard([&] { t.Frame.ShowWindow(WindowName::字一覧); });
    ASSERT_EQ(t.Boxes.Errors.size(), 1u);
    EXPECT_EQ(t.ExitStatuses, std::vector<int>{1});
    EXPECT_FALSE(list.IsLoaded());
    t.Boxes.Errors.clear();
}

} // namespace
