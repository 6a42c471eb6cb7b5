// SPDX-License-Identifier: MIT
#include "menu/MenuWindow.h"
#include "shell/FontWarmUp.h"
#include "shell/Layout.h"
#include "tests/support/MenuWithStubs.h"
#include "tests/support/TestShell.h"

#include <QAbstractButton>
#include <QFile>
#include <QPointer>
#include <QGuiApplication>
#include <QScreen>
#include <QSoundEffect>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

using HandOver = MenuWithStubs;

// The start shows the menu alone; a plate unloads it, loads the target and comes back.
// Which plate opens which window is checked wherever the management windows are opened.
TEST_F(HandOver, TheMenuUnloadsLoadsTheTargetAndComesBack)
{
    StubWindow& target = add;
    ASSERT_TRUE(menu.IsLoaded() && menu.Form()->isVisible());
    EXPECT_EQ(LoadedCount(), 1);
    QPointer<QWidget> menuForm = menu.Form();

    Click(MenuButton(2));

    ASSERT_TRUE(target.IsLoaded() && target.Form()->isVisible());
    EXPECT_EQ(std::pair(target.Loads, LoadedCount()), std::pair(1, 1)) << "loaded once, and alone";
    DestroyUnloadedForms();
    EXPECT_TRUE(menuForm.isNull()) << "the unloaded menu's form must be destroyed";

    QPointer<QWidget> targetForm = target.Form();
    Click(target.Form()->findChild<QAbstractButton*>(QStringLiteral("backButton")));
    ASSERT_TRUE(menu.IsLoaded() && !target.IsLoaded());
    EXPECT_EQ(menu.Timing().MenuChoice(), 3) << "the menu's fields outlive its form";
    DestroyUnloadedForms();
    EXPECT_TRUE(targetForm.isNull() && t.ExitStatuses.empty());
}

// The close box unloads its window under the guard, which ends the program once no
// window is left after a handler; the puzzle window's test closes a window other than
// the menu.
TEST_F(HandOver, ClosingTheMenuEndsTheProgramAndDuringTheDelayOpensNothing)
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

    QWidget* listForm = list.Form();
    Click(list.Form()->findChild<QAbstractButton*>(QStringLiteral("backButton")));

    ASSERT_EQ(t.Boxes.Errors.size(), 1u);
    EXPECT_EQ(t.Boxes.ErrorParents[0], listForm) << "the box stands over the window that is showing";
    EXPECT_TRUE(t.Boxes.ErrorParentsShown[0]);
    EXPECT_EQ(t.Boxes.Errors[0].Description(), QStringLiteral("ファイルが見つかりません。"));
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
    EXPECT_EQ(t.Boxes.ErrorParents[0], nullptr) << "no window is on screen: the box centres on the screen";
    EXPECT_EQ(t.ExitStatuses, std::vector<int>{1});
    EXPECT_EQ(LoadedCount(), 0);
}

// A handler may run inside another, in a message box's own loop: an error there
// shows one box and ends the program once, whatever the outer handler meets next;
// and a nested handler that finds no window loaded, in the middle of an outer
// hand-over, does not end the program.
TEST_F(HandOver, AnErrorInANestedHandlerShowsOneBoxAndEndsOnce)
{
    t.Frame.Guard([&] {
        menu.Unload();
        t.Frame.Guard([] {});
        t.Frame.ShowWindow(WindowName::PairList);
    });
    EXPECT_TRUE(list.IsLoaded() && t.ExitStatuses.empty());

    t.Frame.Guard([&] {
        t.Frame.Guard([] { throw AppError(AppError::FileNotFound, QStringLiteral("内側")); });
        throw AppError(AppError::DeviceIoError, QStringLiteral("外側"));
    });
    ASSERT_EQ(t.Boxes.Errors.size(), 1u);
    EXPECT_EQ(t.Boxes.Errors[0].Number(), AppError::FileNotFound);
    EXPECT_EQ(t.ExitStatuses, std::vector<int>{1});
    EXPECT_EQ(LoadedCount(), 0);
}

TEST_F(HandOver, AnyOtherExceptionIsReportedTheSameWay)
{
    for (const std::function<void()>& fault : std::vector<std::function<void()>>{
             [] { throw std::runtime_error("boom"); }, [] { throw 42; }}) {
        TestShell shell;
        shell.Frame.Guard(fault);
        ASSERT_EQ(shell.Boxes.Errors.size(), 1u);
        EXPECT_EQ(shell.Boxes.Errors[0].Number(), AppError::InternalError);
        EXPECT_EQ(shell.ExitStatuses, std::vector<int>{1});
    }
}

TEST_F(HandOver, EveryWindowOpensFixedCentredWithTheIcon)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    for (Window* window : std::initializer_list<Window*>{&puzzle, &list, &add, &remove, &menu}) {
        t.Frame.Guard([&] { t.Frame.SwitchToWindow(window->Name()); });
        const QWidget* form = window->Form();
        ASSERT_TRUE(form && form->isVisible());
        EXPECT_EQ(form->minimumSize(), form->maximumSize()) << "fixed size";
        // Centred within what the title bar and border add.
        const QRect client = form->geometry(), frame = form->frameGeometry();
        EXPECT_LE(qAbs(2 * client.x() + client.width() - 2 * screen.x() - screen.width()),
                  frame.width() - client.width() + 1);
        EXPECT_LE(qAbs(2 * client.y() + client.height() - 2 * screen.y() - screen.height()),
                  frame.height() - client.height() + 1);
        EXPECT_FALSE(form->windowIcon().isNull());
        const Qt::WindowFlags flags = form->windowFlags();
        EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
        EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint) || flags.testFlag(Qt::WindowMaximizeButtonHint));
    }
}

TEST(SoundPlayback, ASoundThatIsNotAnOrdinaryFileStaysSilentInsteadOfHanging)
{
    TestShell t;
    const QString folder = t.Dir.Path() + QStringLiteral("/data/音");
    QStringList paths{folder + QStringLiteral("/karasu.wav"), folder};  // missing, a folder
#ifdef Q_OS_UNIX
    const QString pipe = folder + QStringLiteral("/o.wav");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    paths << pipe;
#endif
    for (const QString& path : paths) {
        QSoundEffect player;
        t.Frame.PlaySoundFile(player, path);
        EXPECT_TRUE(player.source().isEmpty()) << path.toStdString();
    }
    EXPECT_EQ(t.SoundsPlayed, paths);
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
