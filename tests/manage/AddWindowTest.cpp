#include "tests/manage/ManageFixture.h"

#include <QInputMethodEvent>
#include <QLineEdit>

namespace {

class AddWindow : public ManageFixture {
protected:
    QWidget* Panel() { return Find(add, QStringLiteral("Frame1")); }
    QLineEdit* Box(int n) { return Find<QLineEdit>(add, QStringLiteral("Text%1").arg(n)); }
    QWidget* Button(int n) { return Find(add, QStringLiteral("Command%1").arg(n)); }

    // As an input method hands text over: whole strings, any script.
    static void Compose(QLineEdit* box, const QString& text)
    {
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QCoreApplication::sendEvent(box, &commit);
    }
    // Key by key, as a keyboard layout that has the characters types them.
    static void PressKeys(QLineEdit* box, const QString& text)
    {
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    void OpenPanelAndType(const QString& first, const QString& second, bool keys = false)
    {
        Click(Button(2));
        (keys ? PressKeys : Compose)(Box(1), first);
        (keys ? PressKeys : Compose)(Box(2), second);
    }
    void ExpectPanel(bool open, const QString& first = {}, const QString& second = {})
    {
        EXPECT_EQ(Panel()->isVisible(), open);
        EXPECT_EQ(add.InputOpen, open ? 1 : 0);
        EXPECT_EQ(Box(1)->text(), first);
        EXPECT_EQ(Box(2)->text(), second);
        if (!open) {
            EXPECT_EQ(Focused(add), Button(2)) << "the focus must leave the hidden panel";
        }
    }
};

TEST_F(AddWindow, OpensWithThePanelHidden)
{
    Open(add, QStringLiteral("未末"));
    EXPECT_EQ(add.form()->windowTitle(), QStringLiteral("字登録"));
    EXPECT_FALSE(Panel()->isVisible());
    EXPECT_EQ(Focused(add), Button(1));
    EXPECT_EQ(Button(2)->toolTip(), QStringLiteral("字を登録する"));
    EXPECT_EQ(add.Grid->PairLabel(0).text(), QStringLiteral("未 末"));

    Click(Button(2));
    ExpectPanel(true);
    EXPECT_EQ(Focused(add), Box(1));
    EXPECT_EQ(Panel()->geometry(), QRect(275, 161, 218, 148));
    EXPECT_EQ(Box(2)->geometry(), QRect(123, 41, 59, 57));
    EXPECT_EQ(Box(1)->font().pixelSize(), 48);
    EXPECT_TRUE(Box(1)->font().bold());
    EXPECT_EQ(BackOnScreen(add, Panel()->geometry()), QColor(192, 255, 192));
    EXPECT_EQ(BackOnScreen(add, QRect(296, 168, 177, 22)), QColor(255, 128, 0)) << "Label3";

    Compose(Box(1), QStringLiteral("未"));
    Click(Button(2));
    ExpectPanel(true, QStringLiteral("未"));
    EXPECT_EQ(Focused(add), Button(2)) << "only the click itself took the focus, not the handler";
}

TEST_F(AddWindow, ConfirmWithAnEmptyBoxFocusesWhatStillNeedsInputAndStoresNothing)
{
    struct Case {
        const char* first;
        const char* second;
        int focused;
    };
    for (const Case c : {Case{"", "", 1}, Case{"未", "", 2}, Case{"", "末", 1}}) {
        SCOPED_TRACE(c.first + std::string("|") + c.second);
        Open(add, QStringLiteral("土士"));
        OpenPanelAndType(QString::fromUtf8(c.first), QString::fromUtf8(c.second));
        Click(Button(3));
        EXPECT_EQ(Focused(add), Box(c.focused));
        ExpectPanel(true, QString::fromUtf8(c.first), QString::fromUtf8(c.second));
        EXPECT_EQ(t.Dir.Read(dat), FileOf(QStringLiteral("土士")));
    }
}

TEST_F(AddWindow, ConfirmStoresTheFirstCharacterOfEachBoxAsPairOne)
{
    struct Case {
        QString before, first, second, after;
        bool keys;
    };
    const QString full = ManyPairs(80);
    const Case cases[] = {
        {QStringLiteral("土士"), QStringLiteral("未来永劫"), QStringLiteral("末端"), QStringLiteral("未末土士"), true},
        {QStringLiteral("土士"), QStringLiteral("口"), QStringLiteral("口"), QStringLiteral("口口土士"), true},
        {{}, QStringLiteral("未"), QStringLiteral("末"), QStringLiteral("未末"), false},
        {QStringLiteral("土士"), QStringLiteral("か\u3099く"), QStringLiteral("か"), QStringLiteral("がか土士"), false},
        {full, QStringLiteral("未"), QStringLiteral("末"), QStringLiteral("未末") + full.left(158), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.first.toStdString());
        Open(add, c.before);
        OpenPanelAndType(c.first, c.second, c.keys);
        Click(Button(3));
        EXPECT_EQ(t.Dir.Read(dat), FileOf(c.after));
        EXPECT_EQ(Captions(*add.Grid), Shown(c.after));
        ExpectPanel(false);
    }
}

TEST_F(AddWindow, CancelDropsWhatWasTyped)
{
    Open(add, QStringLiteral("土士"));
    OpenPanelAndType(QStringLiteral("未"), QStringLiteral("末"));
    Click(Button(4));
    ExpectPanel(false);
    Click(Button(2));
    ExpectPanel(true);
    EXPECT_EQ(t.Dir.Read(dat), FileOf(QStringLiteral("土士")));
}

TEST_F(AddWindow, ACharacterTheFileCannotHoldIsRefusedByNameAndNothingChanges)
{
    struct Case {
        QString first, second, named;
    };
    const Case cases[] = {
        {QStringLiteral("\"未"), QStringLiteral("末"), QStringLiteral("\"")},
        {QStringLiteral("未"), QStringLiteral("한"), QStringLiteral("한")},
        {QStringLiteral("𠮷野"), QStringLiteral("吉"), QStringLiteral("𠮷")},                // never halved
        {QStringLiteral("未"), QStringLiteral("か\u309Aき"), QStringLiteral("\u309A")},  // the mark is not dropped
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.named.toStdString());
        Open(add, QStringLiteral("土士"));
        OpenPanelAndType(c.first, c.second);
        t.Boxes.Refusals.clear();
        Click(Button(3));
        ASSERT_EQ(t.Boxes.Refusals.size(), 1);
        EXPECT_TRUE(t.Boxes.Refusals[0].contains(c.named)) << t.Boxes.Refusals[0].toStdString();
        ExpectPanel(true, c.first, c.second);
        EXPECT_EQ(t.Dir.Read(dat), FileOf(QStringLiteral("土士")));
        EXPECT_EQ(Captions(*add.Grid), Shown(QStringLiteral("土士")));
    }
}

} // namespace
