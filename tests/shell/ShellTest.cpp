#include "menu/MenuWindow.h"
#include "shell/FontWarmUp.h"
#include "shell/Layout.h"
#include "tests/support/MenuWithStubs.h"

#include <QAbstractButton>
#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

#include <string>

namespace {

class HandOver : public MenuWithStubs {
protected:
    int LoadedCount() const
    {
        int count = 0;
        for (const Window* window : {static_cast<const Window*>(&menu), static_cast<const Window*>(&puzzle),
                                     static_cast<const Window*>(&list), static_cast<const Window*>(&add),
                                     static_cast<const Window*>(&remove)})
            count += window->IsLoaded() ? 1 : 0;
        return count;
    }
};

TEST_F(HandOver, StartShowsTheMenuAlone)
{
    ASSERT_TRUE(menu.IsLoaded());
    EXPECT_TRUE(menu.Form()->isVisible());
    EXPECT_EQ(LoadedCount(), 1);
}

struct ImmediateRow {
    int button;
    WindowName target;
};

class MenuHandsOverAtOnce : public HandOver, public ::testing::WithParamInterface<ImmediateRow> {};

TEST_P(MenuHandsOverAtOnce, UnloadsTheMenuLoadsTheTargetAndComesBack)
{
    const ImmediateRow row = GetParam();
    auto& target = static_cast<StubWindow&>(t.Frame.WindowNamed(row.target));
    QPointer<QWidget> menuForm = menu.Form();

    Click(MenuButton(row.button));

    EXPECT_FALSE(menu.IsLoaded());
    ASSERT_TRUE(target.IsLoaded());
    EXPECT_TRUE(target.Form()->isVisible());
    EXPECT_EQ(target.Loads, 1);
    EXPECT_EQ(LoadedCount(), 1);
    EXPECT_TRUE(t.SoundsPlayed.isEmpty());
    DestroyUnloadedForms();
    EXPECT_TRUE(menuForm.isNull()) << "the unloaded menu's form must be destroyed";

    QPointer<QWidget> targetForm = target.Form();
    Click(target.Form()->findChild<QAbstractButton*>(QStringLiteral("Command1")));
    ASSERT_TRUE(menu.IsLoaded());
    EXPECT_FALSE(target.IsLoaded());
    EXPECT_EQ(menu.Timing().MenuChoice(), row.button + 1) << "the menu's fields outlive its form";
    DestroyUnloadedForms();
    EXPECT_TRUE(targetForm.isNull());
    EXPECT_TRUE(t.ExitStatuses.empty());
}

INSTANTIATE_TEST_SUITE_P(Rows, MenuHandsOverAtOnce,
                         ::testing::Values(ImmediateRow{1, WindowName::PairList}, ImmediateRow{2, WindowName::AddPair},
                                           ImmediateRow{3, WindowName::DeletePair}));

TEST_F(HandOver, StartOpensThePuzzleAfterTheDelay)
{
    Click(MenuButton(0));
    EXPECT_TRUE(menu.IsLoaded()) << "the menu stays open during the delay";
    TickAt(100.9);
    EXPECT_EQ(puzzle.Loads, 0);
    TickAt(101.0);
    EXPECT_FALSE(menu.IsLoaded());
    ASSERT_TRUE(puzzle.IsLoaded());
    EXPECT_EQ(LoadedCount(), 1);

    Click(puzzle.Form()->findChild<QAbstractButton*>(QStringLiteral("Command1")));
    EXPECT_TRUE(menu.IsLoaded());
    EXPECT_TRUE(t.ExitStatuses.empty());
}

TEST_F(HandOver, EndEndsTheProgramAfterTheDelay)
{
    Click(MenuButton(4));
    TickAt(100.5);
    EXPECT_TRUE(t.ExitStatuses.empty());
    TickAt(101.0);
    EXPECT_EQ(t.ExitStatuses, std::vector<int>{0});
    EXPECT_EQ(LoadedCount(), 0);
    EXPECT_TRUE(t.Frame.Ended());
}

class CloseBox : public HandOver, public ::testing::WithParamInterface<WindowName> {};

TEST_P(CloseBox, EndsTheProgramWithNoReturnToTheMenu)
{
    const WindowName name = GetParam();
    if (name != WindowName::Menu)
        t.Frame.Guard([&] { t.Frame.SwitchToWindow(name); });
    Window& window = t.Frame.WindowNamed(name);
    ASSERT_TRUE(window.IsLoaded());

    window.Form()->close();

    EXPECT_EQ(LoadedCount(), 0);
    EXPECT_EQ(t.ExitStatuses, std::vector<int>{0});
}

INSTANTIATE_TEST_SUITE_P(EveryWindow, CloseBox,
                         ::testing::Values(WindowName::Menu, WindowName::Puzzle, WindowName::PairList,
                                           WindowName::AddPair, WindowName::DeletePair));

TEST_F(HandOver, ClosingTheMenuDuringTheDelayOpensNothing)
{
    Click(MenuButton(0));
    menu.Form()->close();
    EXPECT_EQ(t.ExitStatuses, std::vector<int>{0});
    TickAt(105.0);  // a tick that was already due must not act for a window that is gone
    EXPECT_EQ(puzzle.Loads, 0);
    EXPECT_EQ(LoadedCount(), 0);
}

TEST_F(HandOver, AnErrorShowsOneMessageAndEndsWithoutFurtherHandlers)
{
    t.Frame.Guard([&] { t.Frame.SwitchToWindow(WindowName::PairList); });
    list.BackHandler = [] { throw AppError(AppError::FileNotFound, QStringLiteral("ファイルが見つかりません。")); };

    Click(list.Form()->findChild<QAbstractButton*>(QStringLiteral("Command1")));

    ASSERT_EQ(t.Boxes.Errors.size(), 1u);
    EXPECT_EQ(t.Boxes.Errors[0].number(), 53);
    EXPECT_EQ(t.Boxes.Errors[0].description(), QStringLiteral("ファイルが見つかりません。"));
    EXPECT_EQ(t.ExitStatuses, std::vector<int>{1});
    EXPECT_EQ(LoadedCount(), 0);

    bool ran = false;
    t.Frame.Guard([&] { ran = true; });
    EXPECT_FALSE(ran) << "no handler runs after the error";
    EXPECT_EQ(t.Boxes.Errors.size(), 1u);
}

TEST_F(HandOver, AnErrorInALoadHandlerEndsTheProgramBeforeTheWindowShows)
{
    add.LoadHandler = [] { throw AppError(AppError::InputPastEndOfFile, QStringLiteral("ファイルの終わりです。")); };

    Click(MenuButton(2));

    ASSERT_EQ(t.Boxes.Errors.size(), 1u);
    EXPECT_EQ(t.Boxes.Errors[0].number(), 62);
    EXPECT_EQ(t.ExitStatuses, std::vector<int>{1});
    EXPECT_EQ(LoadedCount(), 0);
}

TEST_F(HandOver, ANonAppErrorIsReportedTheSameWay)
{
    t.Frame.Guard([] { throw std::runtime_error("boom"); });
    ASSERT_EQ(t.Boxes.Errors.size(), 1u);
    EXPECT_TRUE(t.Boxes.Errors[0].description().contains(QStringLiteral("boom")));
    EXPECT_EQ(t.ExitStatuses, std::vector<int>{1});
}

TEST_F(HandOver, AHandlerThatLeavesNoWindowEndsTheProgram)
{
    t.Frame.Guard([&] { menu.Unload(); });
    EXPECT_EQ(t.ExitStatuses, std::vector<int>{0});
}

TEST_F(HandOver, EveryWindowOpensAtItsSizeCentredWithTheIcon)
{
    const QSize size = menu.Form()->size();
    EXPECT_EQ(size, QSize(629, 361));
    EXPECT_FALSE(menu.Form()->windowIcon().isNull());
    const Qt::WindowFlags flags = menu.Form()->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(menu.Form()->minimumSize(), menu.Form()->maximumSize()) << "fixed size";
}

// Work put off until the menu has painted runs once the paint is done, and never
// for a form that went first.
TEST_F(HandOver, WorkAfterTheFirstPaintWaitsForItAndDiesWithTheForm)
{
    int runs = 0;
    menu.WhenPainted([&] { ++runs; });
    EXPECT_EQ(runs, 0) << "shown, not yet painted";
    ASSERT_TRUE(QTest::qWaitFor([&] { return runs == 1; }, 2000));
    menu.Form()->grab();
    QCoreApplication::processEvents();
    EXPECT_EQ(runs, 1) << "once";

    Click(MenuButton(1));
    list.WhenPainted([&] { ++runs; });
    list.Unload();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(runs, 1) << "unloaded before its paint";
}

TEST(FontWarmUp, OneFontATurnAndThePairCharactersAskedOnceWhenTheirTurnComes)
{
    int asked = 0;
    FontWarmUp warmUp({MinchoFont(12, true), MinchoFont(15.75, true)}, {MinchoFont(12)}, [&] {
        ++asked;
        return QStringLiteral("未末");
    });
    QCoreApplication::processEvents();
    EXPECT_FALSE(warmUp.Done()) << "nothing before Start";
    warmUp.Start();
    warmUp.Start();  // a second start changes nothing
    for (int turn = 0; turn < 2; ++turn) {
        QCoreApplication::sendPostedEvents();
        EXPECT_FALSE(warmUp.Done()) << turn;
        EXPECT_EQ(asked, 0) << turn;
    }
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(warmUp.Done());
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(asked, 1);
}

} // namespace
