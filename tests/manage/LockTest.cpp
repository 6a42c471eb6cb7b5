// SPDX-License-Identifier: MIT
#include "tests/manage/ManageFixture.h"

#include <QDir>
#include <QLineEdit>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

class LockTest : public ManageFixture {
protected:
    const QString lock = t.Dir.Path() + dat + u".lock"_s;
    QLineEdit* Box(const char* name) { return Find<QLineEdit>(add, QLatin1String(name)); }
    void OpenPanelAndConfirm(const QString& first, const QString& second)
    {
        Click(Find(add, u"openPanelButton"_s));
        Box("firstCharacterBox")->setText(first);
        Box("secondCharacterBox")->setText(second);
        Click(Find(add, u"confirmButton"_s));
    }
    QStringList DataFolder() const { return QDir(t.Dir.Path() + u"/data"_s).entryList(QDir::AllEntries | QDir::System); }
};

// A lock file the program cannot use refuses every change with a message naming it:
// nothing on disk changes, the window stays and the program goes on.
TEST_F(LockTest, AnUnusableLockRefusesEveryChangeTouchingNothing)
{
    t.Dir.Write(u"/data/問題.org"_s, FileOf(u"土士"_s));
    std::vector<std::function<bool()>> makeUnusable{[&] { return QDir().mkdir(lock); }};
#ifdef Q_OS_UNIX
    makeUnusable.push_back([&] { return mkfifo(QFile::encodeName(lock).constData(), 0600) == 0; });
#endif
    // The window, its questions' answers, and the change, which makes the lock unusable.
    struct Row {
        const char* change;
        Window& window;
        std::deque<bool> answers;
        std::function<void(const std::function<bool()>& makeLockUnusable)> act;
    };
    const Row rows[] = {
        {"add", add, {}, [&](const auto& unusable) {
             ASSERT_TRUE(unusable());
             OpenPanelAndConfirm(u"日"_s, u"曰"_s);
             EXPECT_EQ(Box("firstCharacterBox")->text() + Box("secondCharacterBox")->text(), u"日曰"_s);
         }},
        {"delete", remove, {true}, [&](const auto& unusable) {
             ASSERT_TRUE(unusable());
             Click(&remove.Grid().PairLabel(0));
         }},
        {"factory reset", list, {true}, [&](const auto& unusable) {
             ASSERT_TRUE(unusable());
             Click(Find(list, u"resetButton"_s));
         }},
        {"reset after a damaged file's question", remove, {true, true}, [&](const auto& unusable) {
             t.Dir.Write(dat, " 3 \r\nA\r\n");
             t.Boxes.WhileAsking = [&] { ASSERT_TRUE(unusable()); };
             Click(&remove.Grid().PairLabel(0));
         }},
    };
    for (const auto& unusable : makeUnusable) {
        for (const Row& row : rows) {
            SCOPED_TRACE(row.change);
            Open(row.window, u"未末"_s);
            t.Boxes.Answers = row.answers;
            QStringList before;  // the data folder and the problem file once the lock is unusable
            row.act([&] {
                const bool made = unusable();
                before = DataFolder() << QString::fromLatin1(t.Dir.Read(dat).toHex());
                return made;
            });
            EXPECT_EQ(DataFolder() << QString::fromLatin1(t.Dir.Read(dat).toHex()), before);
            ASSERT_EQ(t.Boxes.Refusals.size(), 1);
            EXPECT_TRUE(t.Boxes.Refusals[0].contains(ShownPath(lock))) << t.Boxes.Refusals[0].toStdString();
            EXPECT_TRUE(row.window.IsLoaded() && t.ExitStatuses.empty());
            EXPECT_TRUE(t.Boxes.Answers.empty());
            QDir().rmdir(lock);
            QFile::remove(lock);
            t.Boxes.Refusals.clear();
            t.Boxes.RefusalTitles.clear();
            t.Boxes.ErrorsAsked.clear();
        }
    }
}

} // namespace
