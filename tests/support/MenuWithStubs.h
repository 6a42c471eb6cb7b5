// SPDX-License-Identifier: MIT
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
    MenuWindow menu{t.Frame, clock, t.Dir.Locations().crowSound};
    StubWindow puzzle{t.Frame, WindowName::Puzzle};
    StubWindow list{t.Frame, WindowName::PairList};
    StubWindow add{t.Frame, WindowName::AddPair};
    StubWindow remove{t.Frame, WindowName::DeletePair};

    void SetUp() override { t.Frame.Start(); }

    QAbstractButton* MenuButton(int index) const
    {
        return menu.Form()->findChild<QAbstractButton*>(MenuButtonName(index));
    }

    int LoadedCount() const
    {
        int count = 0;
        for (const Window* window : std::initializer_list<const Window*>{&menu, &puzzle, &list, &add, &remove})
            count += window->IsLoaded() ? 1 : 0;
        return count;
    }

    static void Click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center()); }

    // One tick of the menu's timer at the given time of day, as the event loop runs it.
    void TickAt(double seconds)
    {
        clock.Now = seconds;
        t.Frame.Guard([&] { menu.TimerTick(); });
    }
};
