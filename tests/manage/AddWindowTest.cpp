#include "tests/manage/ManageFixture.h"

#include <QFrame>
#include <QInputMethodEvent>
#include <QLineEdit>

namespace {

class AddWindow : public ManageFixture {
protected:
    QWidget* Panel() { return Find(add, QStringLiteral("Frame1")); }
    QLineEdit* Box(int n) { return Find<QLineEdit>(add, QStringLiteral("Text%1").arg(n)); }
    void ClickButton(int n) { Click(Find(add, QStringLiteral("Command%1").arg(n))); }

    // Typing as an input method hands it over: whole strings, any script.
    static void Type(QLineEdit* box, const QString& text)
    {
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QCoreApplication::sendEvent(box, &commit);
    }
    // Typing key by key, as with a keyboard layout that has the characters.
    static void PressKeys(QLineEdit* box, const QString& text)
    {
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    void OpenPanelAndType(const QString& first, const QString& second)
    {
        ClickButton(2);
        Type(Box(1), first);
        Type(Box(2), second);
    }
    void ExpectPanelOpenWith(const QString& first, const QString& second)
    {
        EXPECT_TRUE(Panel()->isVisible());
        EXPECT_EQ(add.InputOpen, 1);
        EXPECT_EQ(Box(1)->text(), first);
        EXPECT_EQ(Box(2)->text(), second);
    }
    void ExpectPanelClosed()
    {
        EXPECT_FALSE(Panel()->isVisible());
        EXPECT_EQ(add.InputOpen, 0);
        EXPECT_TRUE(Box(1)->text().isEmpty());
        EXPECT_TRUE(Box(2)->text().isEmpty());
        EXPECT_EQ(Focused(add), Find(add, QStringLiteral("Command2"))) << "the focus left the hidden panel";
    }
};

TEST_F(AddWindow, OpensWithThePanelHiddenAndTheBoxesAsDesigned)
{
    Open(add, QStringLiteral("未末"));
    EXPECT_EQ(add.form()->windowTitle(), QStringLiteral("字登録"));
    EXPECT_FALSE(Panel()->isVisible());
    EXPECT_EQ(add.InputOpen, 0);
    EXPECT_EQ(Focused(add), Find(add, QStringLiteral("Command1")));
    EXPECT_EQ(Find(add, QStringLiteral("Command2"))->toolTip(), QStringLiteral("字を登録する"));
    EXPECT_EQ(add.Grid->PairLabel(0).text(), QStringLiteral("未 末"));

    ClickButton(2);
    EXPECT_EQ(Panel()->geometry(), QRect(275, 161, 218, 148));
    EXPECT_EQ(Box(1)->geometry(), QRect(34, 41, 59, 55));
    EXPECT_EQ(Box(2)->geometry(), QRect(123, 41, 59, 57));
    EXPECT_EQ(Box(1)->font().pixelSize(), 48);
    EXPECT_TRUE(Box(2)->font().bold());
    EXPECT_EQ(Box(2)->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
    EXPECT_TRUE(Box(1)->testAttribute(Qt::WA_InputMethodEnabled));
    EXPECT_EQ(Find<QLabel>(add, QStringLiteral("Label3"))->text(), QStringLiteral("字を入力して下さい"));
    EXPECT_EQ(BackOnScreen(add, Panel()->geometry()), QColor(192, 255, 192));
    EXPECT_EQ(BackOnScreen(add, Find(add, QStringLiteral("Label3"))->geometry().translated(275, 161)),
              QColor(255, 128, 0));
}

TEST_F(AddWindow, OpeningAnOpenPanelLeavesTheFocusWhereItIs)
{
    Open(add, {});
    ClickButton(2);
    EXPECT_EQ(Focused(add), Box(1));
    Type(Box(1), QStringLiteral("未"));
    ClickButton(2);
    EXPECT_EQ(Focused(add), Find(add, QStringLiteral("Command2"))) << "only the click itself took the focus";
    ExpectPanelOpenWith(QStringLiteral("未"), {});
}

TEST_F(AddWindow, ConfirmWithAnEmptyBoxFocusesWhatStillNeedsInput)
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
        ClickButton(3);
        EXPECT_EQ(Focused(add), Box(c.focused));
        ExpectPanelOpenWith(QString::fromUtf8(c.first), QString::fromUtf8(c.second));
        EXPECT_EQ(t.Dir.Read(dat), FileOf(QStringLiteral("土士")));
        Click(Find(add, QStringLiteral("Command1")));
        ASSERT_FALSE(add.IsLoaded());
    }
}

TEST_F(AddWindow, ConfirmStoresTheFirstCharacterOfEachBoxAsPairOne)
{
    struct Case {
        const char* before;
        const char* first;
        const char* second;
        const char* after;
        bool inputMethod;
    };
    const QString full = ManyPairs(80);
    const QString fullAfter = QStringLiteral("未末") + full.left(158);
    for (const Case c : {Case{"土士", "未来永劫", "末端", "未末土士", false},  // only the first character counts
                         Case{"土士", "口", "口", "口口土士", false},          // the same character twice is a pair
                         Case{"", "未", "末", "未末", false},                  // an empty store
                         Case{"土士", "日本", "曰く", "日曰土士", true},
                         Case{"土士", "か\u3099く", "か", "がか土士", true}}) {  // decomposed が stays が
        SCOPED_TRACE(c.first);
        Open(add, QString::fromUtf8(c.before));
        ClickButton(2);
        for (const auto& [box, text] : {std::pair{Box(1), c.first}, std::pair{Box(2), c.second}})
            c.inputMethod ? Type(box, QString::fromUtf8(text)) : PressKeys(box, QString::fromUtf8(text));
        ClickButton(3);
        EXPECT_EQ(t.Dir.Read(dat), FileOf(QString::fromUtf8(c.after)));
        EXPECT_EQ(Captions(*add.Grid), Shown(QString::fromUtf8(c.after)));
        ExpectPanelClosed();
        Click(Find(add, QStringLiteral("Command1")));
    }

    Open(add, full);
    OpenPanelAndType(QStringLiteral("未"), QStringLiteral("末"));
    ClickButton(3);
    EXPECT_EQ(t.Dir.Read(dat), FileOf(fullAfter)) << "the oldest pair drops out, the count stays 80";
    EXPECT_EQ(Captions(*add.Grid), Shown(fullAfter));
}

TEST_F(AddWindow, CancelDropsWhatWasTypedAndSavesNothing)
{
    Open(add, QStringLiteral("土士"));
    OpenPanelAndType(QStringLiteral("未"), QStringLiteral("末"));
    ClickButton(4);
    ExpectPanelClosed();
    ClickButton(2);
    ExpectPanelOpenWith({}, {});
    EXPECT_EQ(t.Dir.Read(dat), FileOf(QStringLiteral("土士")));
}

TEST_F(AddWindow, ACharacterTheFileCannotHoldIsRefusedAndNothingChanges)
{
    struct Case {
        QString first;
        QString second;
        QString named;  // the character the message must name
    };
    const Case cases[] = {
        {QStringLiteral("\"未"), QStringLiteral("末"), QStringLiteral("\"")},
        {QStringLiteral("未"), QStringLiteral("한"), QStringLiteral("한")},
        {QStringLiteral("𠮷野"), QStringLiteral("吉"), QStringLiteral("𠮷")},  // outside the basic plane: never halved
        {QStringLiteral("未"), QStringLiteral("か\u309Aき"), QStringLiteral("\u309A")},  // the mark is not dropped
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.named.toStdString());
        Open(add, QStringLiteral("土士"));
        OpenPanelAndType(c.first, c.second);
        t.Boxes.Refusals.clear();
        ClickButton(3);
        ASSERT_EQ(t.Boxes.Refusals.size(), 1);
        EXPECT_TRUE(t.Boxes.Refusals[0].contains(c.named)) << t.Boxes.Refusals[0].toStdString();
        ExpectPanelOpenWith(c.first, c.second);
        EXPECT_EQ(t.Dir.Read(dat), FileOf(QStringLiteral("土士")));
        EXPECT_EQ(Captions(*add.Grid), Shown(QStringLiteral("土士")));
        EXPECT_TRUE(add.IsLoaded());
        Click(Find(add, QStringLiteral("Command1")));
    }
}

} // namespace
