// SPDX-License-Identifier: MIT
#include "shell/LockPause.h"
#include "tests/manage/ManageFixture.h"

#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QTimer>

#ifdef Q_OS_UNIX
#include "tests/support/ForkedChild.h"
#endif

namespace {

using LockTest = ManageFixture;

// A lock file the program cannot use refuses every change at once, and one that
// another copy holds (a slow disk) once the wait runs out; meanwhile the window
// runs its events under a wait cursor and drops input, so neither the change again
// nor the close box acts. Each refusal names the file; nothing on disk changes, the
// window stays and the program goes on.
TEST_F(LockTest, AnUnusableOrHeldLockRefusesEveryChangeTouchingNothing)
{
    t.Dir.Write(u"/data/問題.org"_s, FileOf(u"土士"_s));
    const QString lock = t.Dir.Path() + dat + u".lock"_s;
    const auto onDisk = [&] {
        return QDir(t.Dir.Path() + u"/data"_s).entryList(QDir::AllEntries | QDir::System)
               << QString::fromLatin1(t.Dir.Read(dat).toHex());
    };
    // How the lock is spoilt, and whether the change waits.
    std::vector<std::pair<std::function<bool()>, bool>> kinds{{[&] { return QDir().mkdir(lock); }, false}};
#ifdef Q_OS_UNIX
    std::optional<CopyHoldingTheLock> copy;
    kinds.emplace_back([&] { return copy.emplace(lock).Hear() == 'L'; }, true);
#endif
    int pauses = 0;
    store.SetLockWaiting({std::chrono::seconds(3), [&] {
                              ++pauses;
                              PauseKeepingWindowsAlive(std::chrono::milliseconds(1));
                              return std::chrono::seconds(1);
                          }});
    // The window, its questions' answers, the click that changes, and whether the lock
    // is spoilt only while the question about a damaged file waits.
    using Row = std::tuple<const char*, Window&, std::deque<bool>, std::function<void()>, bool>;
    const Row rows[] = {
        {"add", add, {}, [&] { ConfirmTypedPair(); }, false},
        {"delete", remove, {true}, [&] { Click(&remove.Grid().PairLabel(0)); }, false},
        {"factory reset", list, {true}, [&] { Click(Find(list, u"resetButton"_s)); }, false},
        {"reset after a damaged file's question", remove, {true, true}, [&] { Click(&remove.Grid().PairLabel(0)); }, true},
    };
    for (const auto& [spoil, waits] : kinds) {
        for (const auto& [change, window, answers, click, damaged] : rows) {
            SCOPED_TRACE(std::string(change) + (waits ? ", held" : ", unusable"));
            Open(window, u"未末"_s);
            t.Boxes.Answers = answers;
            QStringList before;
            const auto spoilLock = [&] { ASSERT_TRUE(spoil()); before = onDisk(); };
            if (damaged) {
                t.Dir.Write(dat, " 3 \r\nA\r\n");
                t.Boxes.WhileAsking = spoilLock;
            } else {
                spoilLock();
            }
            bool ranDuringTheWait = false;
            if (waits) {
                QTimer::singleShot(0, window.Form(), [&] {
                    ranDuringTheWait = pauses == 1 && t.Boxes.Refusals.empty();
                    const QCursor* cursor = QGuiApplication::overrideCursor();
                    EXPECT_TRUE(cursor && cursor->shape() == Qt::WaitCursor);
                    click();
                    QWidget other;  // the close box of a window
                    QCloseEvent close;
                    QCoreApplication::sendEvent(&other, &close);
                    EXPECT_FALSE(close.isAccepted());
                });
            }
            pauses = 0;
            click();
            EXPECT_EQ(onDisk(), before);
            EXPECT_EQ(ranDuringTheWait, waits);
            EXPECT_EQ(pauses, waits ? 3 : 0) << "one wait, to its limit";
            EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
            ASSERT_EQ(t.Boxes.Refusals.size(), 1);
            EXPECT_TRUE(t.Boxes.Refusals[0].contains(ShownPath(t.Dir.Path() + dat))) << t.Boxes.Refusals[0].toStdString();
            EXPECT_TRUE(window.IsLoaded() && t.ExitStatuses.empty() && t.Boxes.Answers.empty());
            EXPECT_TRUE(&window != &add || Typed() == u"日曰"_s) << "the typed pair kept";
#ifdef Q_OS_UNIX
            copy.reset();
#endif
            QDir().rmdir(lock) || QFile::remove(lock);
            t.Boxes = {};
        }
    }
}

} // namespace
