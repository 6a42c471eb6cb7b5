#pragma once

#include "menu/MenuWindow.h"
#include "tests/support/Fakes.h"
#include "tests/support/StubWindow.h"
#include "tests/support/TestShell.h"

#include <QAbstractButton>
#include <QTest>

#include <gtest/gtest.h>

// The program with the real menu and stand-ins for the other four windows, the
// menu shown.
class MenuWithStubs : public ::testing::Test {
protected:
    TestShell t;
    FakeClock clock{100.0};
    メニュー menu{t.Frame, clock};
    StubWindow puzzle{t.Frame, WindowName::問題表示};
    StubWindow list{t.Frame, WindowName::字一覧};
    StubWindow add{t.Frame, WindowName::字登録};
    StubWindow remove{t.Frame, WindowName::字削除};

    void SetUp() override { t.Frame.Start(); }

    QAbstractButton* MenuButton(int index) const
    {
        return menu.form()->findChild<QAbstractButton*>(QStringLiteral("Command1(%1)").arg(index));
    }

    static void Click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center()); }

    // One tick of the menu's timer at the given time of day, as the event loop runs it.
    void TickAt(double seconds)
    {
        clock.Now = seconds;
        t.Frame.Guard([&] { menu.TimerTick(); });
    }
};
