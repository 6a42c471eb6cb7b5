// SPDX-License-Identifier: MIT
#pragma once

#include "manage/AddWindow.h"
#include "manage/DeleteWindow.h"
#include "manage/ListWindow.h"
#include "menu/MenuWindow.h"
#include "store/ProblemStore.h"
#include "tests/support/Fakes.h"
#include "tests/support/TestShell.h"

#include <QCursor>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

// The three management windows and the menu on a throw-away application directory.
// Pairs are written as strings of two characters per pair.
class ManageFixture : public ::testing::Test {
protected:
    TestShell t;
    FakeClock clock;
    MenuWindow menu{t.Frame, clock, t.Dir.Locations().crowSound};
    ProblemStore store{StoreIn(t.Dir)};
    ListWindow list{t.Frame, store};
    AddWindow add{t.Frame, store};
    DeleteWindow remove{t.Frame, store};
    const QString dat = u"/data/問題.dat"_s;

    // A move to where the last test left the mouse would not be a move at all.
    void SetUp() override { QCursor::setPos(0, 0); t.Frame.Start(); }
    void TearDown() override
    {
        t.Frame.Guard([this] { t.Frame.EndProgram(); });
        DestroyUnloadedForms();
        EXPECT_TRUE(t.Boxes.Errors.empty()) << t.Boxes.Errors.front().Description().toStdString();
        EXPECT_TRUE(t.Boxes.Answers.empty()) << "an expected question was never asked";
    }

    static QByteArray FileOf(const QString& pairs) { return FileOfPairs(pairs); }
    // The 80 captions that show `pairs`, empty beyond them.
    static QStringList Shown(const QString& pairs)
    {
        QStringList captions(PairGrid::CellCount);
        for (int i = 0; 2 * i < pairs.size(); ++i)
            captions[i] = pairs.mid(2 * i, 1) + u' ' + pairs.mid(2 * i + 1, 1);
        return captions;
    }
    static QStringList Captions(const PairGrid& grid)
    {
        QStringList captions;
        for (int i = 0; i < PairGrid::CellCount; ++i)
            captions << grid.PairLabel(i).text();
        return captions;
    }

    // Goes back to the menu through the open window's back button and opens
    // `window` through its plate on a file holding `pairs`.
    void Open(Window& window, const QString& pairs)
    {
        for (Window* open : std::initializer_list<Window*>{&list, &add, &remove})
            if (open->IsLoaded())
                Click(Find(*open, u"backButton"_s));
        ASSERT_TRUE(menu.IsLoaded() && !list.IsLoaded() && !add.IsLoaded() && !remove.IsLoaded()) << "back to the menu";
        t.Dir.Write(dat, FileOf(pairs));
        Click(Find(menu, MenuButtonName(&window == &list ? 1 : &window == &add ? 2 : 3)));
        ASSERT_TRUE(window.IsLoaded());
        ASSERT_FALSE(menu.IsLoaded());
        EXPECT_EQ(window.Form()->size(), QSize(768, 480));
    }
    template <typename Control = QWidget>
    static Control* Find(const Window& window, const QString& name)
    {
        auto* control = window.Form()->findChild<Control*>(name);
        EXPECT_NE(control, nullptr) << name.toStdString();
        return control;
    }
    // The control that holds the focus whenever the window is active.
    static QWidget* Focused(const Window& window) { return window.Form()->focusWidget(); }
    // The colour just inside a control's border, where no text reaches.
    static QColor BackOnScreen(const Window& window, const QRect& rect)
    {
        return window.Form()->grab().toImage().pixelColor(rect.topLeft() + QPoint(3, 3));
    }
    static void Click(QWidget* control) { QTest::mouseClick(control, Qt::LeftButton, {}, control->rect().center()); }
    // The add window: types 日 and 曰 into the panel and confirms; what the boxes hold.
    void ConfirmTypedPair()
    {
        Click(Find(add, u"openPanelButton"_s));
        Find<QLineEdit>(add, u"firstCharacterBox"_s)->setText(u"日"_s);
        Find<QLineEdit>(add, u"secondCharacterBox"_s)->setText(u"曰"_s);
        Click(Find(add, u"confirmButton"_s));
    }
    QString Typed() const
    {
        return Find<QLineEdit>(add, u"firstCharacterBox"_s)->text() + Find<QLineEdit>(add, u"secondCharacterBox"_s)->text();
    }
};
