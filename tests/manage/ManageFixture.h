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
#include <QTest>

#include <gtest/gtest.h>

// The three management windows and the menu on a throw-away application directory.
class ManageFixture : public ::testing::Test {
protected:
    TestShell t;
    FakeClock clock{100.0};
    メニュー menu{t.Frame, clock};
    ProblemStore store{t.Dir.Path()};
    字一覧 list{t.Frame, store};
    字登録 add{t.Frame, store};
    字削除 remove{t.Frame, store};

    const QString dat = QStringLiteral("/data/問題.dat");
    const QString org = QStringLiteral("/data/問題.org");

    // A move to where the last test left the mouse would not be a move at all.
    void SetUp() override { QCursor::setPos(0, 0); }

    void TearDown() override
    {
        t.Frame.Guard([this] { t.Frame.EndProgram(); });
        DestroyUnloadedForms();
        EXPECT_TRUE(t.Boxes.Errors.empty()) << t.Boxes.Errors.front().description().toStdString();
        EXPECT_TRUE(t.Boxes.Answers.empty()) << "a question the test expected was never asked";
    }

    // The file as the program writes it; pairs holds two characters per pair.
    static QByteArray FileOf(const QString& pairs)
    {
        QByteArray bytes = " " + QByteArray::number(pairs.size() / 2) + " \r\n";
        for (const QChar c : pairs)
            bytes += Cp932(QString(c)) + "\r\n";
        return bytes;
    }
    // Pair k of `count` distinct pairs: a hiragana and a katakana.
    static QString ManyPairs(int count)
    {
        QString pairs;
        for (int k = 0; k < count; ++k) {
            pairs += QChar(char16_t(u'ぁ' + k));
            pairs += QChar(char16_t(u'ァ' + k));
        }
        return pairs;
    }
    static QString Caption(const QString& pairs, int index)
    {
        return pairs.mid(2 * index, 1) + u' ' + pairs.mid(2 * index + 1, 1);
    }

    void Open(Window& window, const QString& pairs)
    {
        t.Dir.Write(dat, FileOf(pairs));
        t.Frame.Guard([&] { t.Frame.ShowWindow(window.Name()); });
        ASSERT_TRUE(window.IsLoaded());
    }

    template <typename Control = QWidget>
    static Control* Find(const Window& window, const QString& name)
    {
        auto* control = window.form()->findChild<Control*>(name);
        EXPECT_NE(control, nullptr) << name.toStdString();
        return control;
    }
    static QStringList Captions(const PairGrid& grid)
    {
        QStringList captions;
        for (int i = 0; i < PairGrid::CellCount; ++i)
            captions << grid.PairLabel(i).text();
        return captions;
    }
    // What `pairs` shows in the grid, with the cells beyond it empty.
    static QStringList Shown(const QString& pairs)
    {
        QStringList captions;
        for (int i = 0; i < PairGrid::CellCount; ++i)
            captions << (i < pairs.size() / 2 ? Caption(pairs, i) : QString());
        return captions;
    }
    // The colour painted just inside a control's border, where no text reaches.
    static QColor BackOnScreen(const Window& window, const QRect& rect)
    {
        return window.form()->grab().toImage().pixelColor(rect.topLeft() + QPoint(3, 3));
    }
    // The control that holds the focus whenever the window is active.
    static QWidget* Focused(const Window& window) { return window.form()->focusWidget(); }
    static void Click(QWidget* control) { QTest::mouseClick(control, Qt::LeftButton, {}, control->rect().center()); }
};
