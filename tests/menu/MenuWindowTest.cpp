// SPDX-License-Identifier: MIT
#include "menu/MenuWindow.h"
#include "tests/support/MenuWithStubs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QSoundEffect>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>


namespace {

class MenuWindowTest : public MenuWithStubs {
protected:
    void SetUp() override
    {
        clock.Now = 200.0;
        MenuWithStubs::SetUp();
    }
    QAbstractButton* Button(int index) const { return MenuButton(index); }
    QTimer* Timer() const { return menu.Form()->findChild<QTimer*>(QStringLiteral("delayTimer")); }
    QSoundEffect* Player() const { return menu.Form()->findChild<QSoundEffect*>(QStringLiteral("soundPlayer")); }
    void Click(int index) { MenuWithStubs::Click(Button(index)); }
};

TEST_F(MenuWindowTest, LooksAsDesignedAndTabsInIndexOrderFromTheStartButton)
{
    QWidget* form = menu.Form();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("メニュー"));
    EXPECT_EQ(QColor(form->grab().toImage().pixel(3, 3)), QColor(192, 255, 192));
    const char* letterings[] = {"はじめ", "字一覧", "字登録", "字削除", "おわり"};
    for (int index = 0; index < 5; ++index) {
        ASSERT_NE(Button(index), nullptr) << index;
        EXPECT_EQ(Button(index)->accessibleName(), QString::fromUtf8(letterings[index]));
        EXPECT_TRUE(Button(index)->text().isEmpty() && Button(index)->toolTip().isEmpty()) << "the picture is the face";
    }
    EXPECT_EQ(form->findChild<QWidget*>(QStringLiteral("nameTip"))->toolTip(), QStringLiteral("お字捜様"));

    ASSERT_TRUE(QTest::qWaitForWindowActive(menu.Form()));
    EXPECT_EQ(QApplication::focusWidget(), Button(0));
    for (int index = 1; index < 5; ++index) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), Button(index)) << index;
    }
}

// Return and the keypad's Enter click the plate that has the focus, as a click would
// (every picture button of the program alike), and a held key's repeats do not:
// はじめ, focused when the menu opens, starts the idle timer ticking with the crow;
// 字一覧 opens the list at once.
TEST_F(MenuWindowTest, ReturnOrEnterOnTheFocusedPlateActsLikeAClick)
{
    ASSERT_TRUE(QTest::qWaitForWindowActive(menu.Form()));
    ASSERT_EQ(QApplication::focusWidget(), Button(0));
    ASSERT_FALSE(Timer()->isActive());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(Timer()->isActive());
    EXPECT_EQ(Timer()->interval(), 100);
    ASSERT_EQ(t.SoundsPlayed.size(), 1);
    EXPECT_EQ(t.SoundsPlayed[0], t.Dir.Path() + QStringLiteral("/data/音/karasu.wav"));
    TickAt(201.0);
    ASSERT_TRUE(puzzle.IsLoaded());

    MenuWithStubs::Click(puzzle.Form()->findChild<QAbstractButton*>(QStringLiteral("backButton")));
    ASSERT_TRUE(QTest::qWaitForWindowActive(menu.Form()));
    Button(1)->setFocus();
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(Button(1), &repeat);
    ASSERT_TRUE(menu.IsLoaded()) << "the repeats of a held Return do not click";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_TRUE(list.IsLoaded() && !menu.IsLoaded());
    EXPECT_EQ(t.SoundsPlayed.size(), 1) << "no crow for the list";
}

// Setting up audio is no part of the first picture: the player comes once the menu
// has painted, or with the first click that needs it, whichever is first.
TEST_F(MenuWindowTest, TheSoundPlayerComesAfterTheFirstPaintOrWithTheFirstSound)
{
    EXPECT_EQ(Player(), nullptr) << "before the first paint";
    InstallShippedData(t.Dir);
    Click(0);
    ASSERT_EQ(t.SoundsPlayed.size(), 1) << "a click at once still plays";
    QSoundEffect* player = Player();
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(player->source(), QUrl::fromLocalFile(t.SoundsPlayed[0]));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu.Form()));
    QCoreApplication::processEvents();
    EXPECT_EQ(menu.Form()->findChildren<QSoundEffect*>().size(), 1) << "the paint makes no second player";

    // Back from another window, the new form paints first and then gets its own player.
    Click(1);
    QTest::mouseClick(list.Form()->findChild<QAbstractButton*>(QStringLiteral("backButton")), Qt::LeftButton);
    ASSERT_TRUE(menu.IsLoaded());
    EXPECT_EQ(Player(), nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Player() != nullptr; }, 2000));
    EXPECT_EQ(menu.Form()->findChildren<QSoundEffect*>().size(), 1);
    EXPECT_EQ(Player()->source(), QUrl::fromLocalFile(t.Dir.Locations().crowSound)) << "loaded ahead of the click";

    // What is not an ordinary file is never loaded ahead: a folder here, a named pipe
    // on a system that has them, would hold the player and the exit.
    const QString crow = t.Dir.Locations().crowSound;
    ASSERT_TRUE(QFile::remove(crow) && QDir().mkdir(crow));
    Click(1);
    QTest::mouseClick(list.Form()->findChild<QAbstractButton*>(QStringLiteral("backButton")), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Player() != nullptr; }, 2000));
    EXPECT_TRUE(Player()->source().isEmpty());
}

// Ending unloads every window and stops the guard.
TEST_F(MenuWindowTest, StartThenEndHandsTheSoundAgainAndEnds)
{
    Click(0);
    clock.Now = 200.6;
    Click(4);
    EXPECT_EQ(t.SoundsPlayed.size(), 2);
    TickAt(201.9);
    EXPECT_TRUE(menu.IsLoaded());
    TickAt(202.0);
    EXPECT_EQ(t.ExitStatuses, std::vector<int>{0});
    EXPECT_TRUE(t.Frame.Ended() && LoadedCount() == 0);
    EXPECT_EQ(puzzle.Loads, 0);
}

TEST_F(MenuWindowTest, StartThenListOpensTheListTheDelayDiesWithTheMenuAndItComesBackIdleForANewStart)
{
    Click(0);
    QTimer* timer = Timer();
    Click(1);
    EXPECT_TRUE(list.IsLoaded());
    EXPECT_FALSE(timer->isActive()) << "a pending delay must die with the menu";
    TickAt(210.0);
    EXPECT_EQ(puzzle.Loads, 0);
    EXPECT_TRUE(list.IsLoaded());
    MenuWithStubs::Click(list.Form()->findChild<QAbstractButton*>(QStringLiteral("backButton")));
    ASSERT_TRUE(menu.IsLoaded());
    EXPECT_FALSE(Timer()->isActive());

    // A new start there: the next real tick of the delay timer finds the delay over.
    Click(0);
    clock.Now = 211.0;
    EXPECT_TRUE(QTest::qWaitFor([&] { return puzzle.IsLoaded(); }, 2000));
    EXPECT_FALSE(menu.IsLoaded());
}

} // namespace
