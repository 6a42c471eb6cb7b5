// SPDX-License-Identifier: MIT
#include "tests/manage/ManageFixture.h"

#include <QInputMethodEvent>
#include <QLineEdit>

#include <tuple>

namespace {

constexpr int Closed = 0;

class AddWindowTest : public ManageFixture {
protected:
    QWidget* Panel() { return Find(add, u"inputPanel"_s); }
    QLineEdit* Box(int n) { return Find<QLineEdit>(add, n == 1 ? u"firstCharacterBox"_s : u"secondCharacterBox"_s); }
    // 1 back, 2 登, 3 登録, 4 中止: in the focus order.
    QWidget* Button(int n)
    {
        static const char* const names[] = {"backButton", "openPanelButton", "confirmButton", "cancelButton"};
        return Find(add, QLatin1String(names[n - 1]));
    }

    // Text arrives as an input method hands it over, whole strings of any script,
    // or with `keys` key by key, as a keyboard layout that has the characters types it.
    void OpenPanelAndType(const QString& first, const QString& second, bool keys = false)
    {
        Click(Button(2));
        for (const auto& [box, text] : {std::pair(Box(1), first), std::pair(Box(2), second)}) {
            QInputMethodEvent commit;
            commit.setCommitString(text);
            if (!keys)
                QCoreApplication::sendEvent(box, &commit);
            else
                for (const QChar c : text)
                    QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
    // `focus` is the box that should hold it with the panel open and showing what was typed,
    // or Closed, when the boxes should be empty.
    void ExpectPanel(int focus, const QString& first = {}, const QString& second = {})
    {
        EXPECT_EQ(Panel()->isVisible(), focus != Closed);
        EXPECT_EQ(add.Entry().PanelOpen(), focus != Closed ? 1 : 0);
        EXPECT_EQ(Box(1)->text(), focus != Closed ? first : QString());
        EXPECT_EQ(Box(2)->text(), focus != Closed ? second : QString());
        EXPECT_EQ(Focused(add), focus != Closed ? Box(focus) : Button(2)) << "never in the hidden panel";
    }
};

TEST_F(AddWindowTest, ThePanelOpensOnceAndCancelDropsWhatWasTyped)
{
    Open(add, u"未末"_s);
    EXPECT_FALSE(Panel()->isVisible());
    EXPECT_EQ(Focused(add), Button(1));
    EXPECT_EQ(Button(2)->toolTip(), u"字を登録する"_s);

    OpenPanelAndType({}, {});
    ExpectPanel(1);
    EXPECT_EQ(BackOnScreen(add, Panel()->geometry()), QColor(192, 255, 192));

    OpenPanelAndType(u"土"_s, u"士"_s);
    EXPECT_EQ(Focused(add), Box(1)) << "a click on 登 that does nothing leaves the focus in the box";
    Click(Button(4));
    ExpectPanel(Closed);
    EXPECT_EQ(t.Dir.Read(dat), FileOf(u"未末"_s));
}

// What the rules decide reaches the screen: the grid, the boxes, the focus and the box
// that names a refusal. A file another copy of the program changed is shown fresh and
// the pair waits in the panel.
TEST_F(AddWindowTest, ConfirmShowsThePairOrKeepsThePanelAsTyped)
{
    // What is typed into each box, the pairs after, the focus as ExpectPanel takes it,
    // what a refusal must name, whether it is typed key by key, and the file as
    // changed elsewhere while the window was open.
    using Case = std::tuple<QString, QString, QString, int, QString, bool, QString>;
    const Case cases[] = {
        {u"未来永劫"_s, u"末端"_s, u"未末土士"_s, Closed, {}, true, {}},
        {u"か\u3099く"_s, u"か"_s, u"がか土士"_s, Closed, {}, false, {}},
        {u"未"_s, {}, u"土士"_s, 2, {}, false, {}},
        {u"未"_s, u"한"_s, u"土士"_s, 1, u"한"_s, false, {}},
        {u"日"_s, u"曰"_s, u"土士未末"_s, 1, u"ほかで書き換えられていた"_s, false, u"土士未末"_s},
    };
    for (const auto& [first, second, after, focus, refused, keys, elsewhere] : cases) {
        SCOPED_TRACE((first + u'|' + second).toStdString());
        Open(add, u"土士"_s);
        if (!elsewhere.isEmpty())
            t.Dir.Write(dat, FileOf(elsewhere));
        OpenPanelAndType(first, second, keys);
        Click(Button(3));
        EXPECT_EQ(t.Dir.Read(dat), FileOf(after));
        EXPECT_EQ(Captions(add.Grid()), Shown(after));
        ExpectPanel(focus, first, second);
        EXPECT_EQ(t.Boxes.Refusals.size(), refused.isEmpty() ? 0 : 1);
        EXPECT_TRUE(t.Boxes.Refusals.join(u'\n').contains(refused));
        EXPECT_EQ(t.Boxes.RefusalTitles, refused.isEmpty() ? QStringList{} : QStringList{u"字登録"_s});
        t.Boxes.Refusals.clear();
        t.Boxes.RefusalTitles.clear();
    }
}

} // namespace
