#include "menu/MenuWindow.h"
#include "shell/AppDir.h"
#include "store/ProblemStore.h"
#include "tests/support/MenuWithStubs.h"
#include "tests/support/TestShell.h"

#include <QAbstractButton>
#include <QPointer>
#include <QSoundEffect>
#include <QTest>

#include <gtest/gtest.h>

#include <string>

namespace {

struct AppDirCase {
    const char* executableDir;
    const char* appDir;
};

class AppDirRule : public ::testing::TestWithParam<AppDirCase> {};

TEST_P(AppDirRule, RemovesOneTrailingSeparatorOnly)
{
    const AppDirCase& c = GetParam();
    const QString appDir = AppDirFromExecutableDir(QString::fromUtf8(c.executableDir));
    EXPECT_EQ(appDir, QString::fromUtf8(c.appDir));
    EXPECT_EQ(ProblemStore(appDir).ProblemFilePath(), QString::fromUtf8(c.appDir) + QStringLiteral("/data/問題.dat"));
}

INSTANTIATE_TEST_SUITE_P(Folders, AppDirRule,
                         ::testing::Values(AppDirCase{"/home/user/games/vellumark", "/home/user/games/vellumark"},
                                           AppDirCase{"/opt/ゲーム", "/opt/ゲーム"},
                                           AppDirCase{"/", ""},
                                           AppDirCase{"C:/", "C:"},
                                           AppDirCase{"C:\\", "C:"},
                                           AppDirCase{"C:/Program Files/Vellumark", "C:/Program Files/Vellumark"}),
                         [](const ::testing::TestParamInfo<AppDirCase>& row) {
                             return "Folder" + std::to_string(row.index);
                         });

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
    EXPECT_TRUE(menu.form()->isVisible());
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
    QPointer<QWidget> menuForm = menu.form();

    Click(MenuButton(row.button));

    EXPECT_FALSE(menu.IsLoaded());
    ASSERT_TRUE(target.IsLoaded());
    EXPECT_TRUE(target.form()->isVisible());
    EXPECT_EQ(target.Loads, 1);
    EXPECT_EQ(LoadedCount(), 1);
    EXPECT_TRUE(t.SoundsPlayed.isEmpty());
    DestroyUnloadedForms();
    EXPECT_TRUE(menuForm.isNull()) << "the unloaded menu's form must be destroyed";

    QPointer<QWidget> targetForm = target.form();
    Click(target.form()->findChild<QAbstractButton*>(QStringLiteral("Command1")));
    ASSERT_TRUE(menu.IsLoaded());
    EXPECT_FALSE(target.IsLoaded());
    EXPECT_EQ(menu.Timing.MenuChoice, row.button + 1) << "the menu's fields outlive its form";
    DestroyUnloadedForms();
    EXPECT_TRUE(targetForm.isNull());
    EXPECT_TRUE(t.ExitStatuses.empty());
}

INSTANTIATE_TEST_SUITE_P(Rows, MenuHandsOverAtOnce,
                         ::testing::Values(ImmediateRow{1, WindowName::字一覧}, ImmediateRow{2, WindowName::字登録},
                                           ImmediateRow{3, WindowName::字削除}));

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

    Click(puzzle.form()->findChild<QAbstractButton*>(QStringLiteral("Command1")));
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
    if (name != WindowName::メニュー)
        t.Frame.Guard([&] { t.Frame.SwitchToWindow(name); });
    Window& window = t.Frame.WindowNamed(name);
    ASSERT_TRUE(window.IsLoaded());

    window.form()->close();

    EXPECT_EQ(LoadedCount(), 0);
    EXPECT_EQ(t.ExitStatuses, std::vector<int>{0});
}

INSTANTIATE_TEST_SUITE_P(EveryWindow, CloseBox,
                         ::testing::Values(WindowName::メニュー, WindowName::問題表示, WindowName::字一覧,
                                           WindowName::字登録, WindowName::字削除));

TEST_F(HandOver, ClosingTheMenuDuringTheDelayOpensNothing)
{
    Click(MenuButton(0));
    menu.form()->close();
    EXPECT_EQ(t.ExitStatuses, std::vector<int>{0});
    TickAt(105.0);  // a tick that was already due must not act for a window that is gone
    EXPECT_EQ(puzzle.Loads, 0);
    EXPECT_EQ(LoadedCount(), 0);
}

TEST_F(HandOver, AnErrorShowsOneMessageAndEndsWithoutFurtherHandlers)
{
    t.Frame.Guard([&] { t.Frame.SwitchToWindow(WindowName::字一覧); });
    list.BackHandler = [] { throw AppError(AppError::FileNotFound, QStringLiteral("ファイルが見つかりません。")); };

    Click(list.form()->findChild<QAbstractButton*>(QStringLiteral("Command1")));

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
    const QSize size = menu.form()->size();
    EXPECT_EQ(size, QSize(629, 361));
    EXPECT_FALSE(menu.form()->windowIcon().isNull());
    const Qt::WindowFlags flags = menu.form()->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(menu.form()->minimumSize(), menu.form()->maximumSize()) << "fixed size";
}

} // namespace

TEST(SoundFiles, FollowTheLayoutOnceItIsKnown)
{
    TestShell shell;
    QSoundEffect player;
    const QString crow = QStringLiteral("/data/音/karasu.wav");
    const QString hit = QStringLiteral("/data/音/o.wav");
    shell.Frame.PlaySoundFile(player, crow);

    DataLocations installed;
    installed.installed = true;
    installed.crowSound = QStringLiteral("/usr/share/vellumark/音/karasu.wav");
    installed.hitSound = QStringLiteral("/usr/share/vellumark/音/o.wav");
    shell.Frame.UseDataLocations(installed);
    shell.Frame.PlaySoundFile(player, crow);
    shell.Frame.PlaySoundFile(player, hit);

    EXPECT_EQ(shell.SoundsPlayed, (QStringList{shell.Dir.Path() + crow, installed.crowSound, installed.hitSound}));
}
