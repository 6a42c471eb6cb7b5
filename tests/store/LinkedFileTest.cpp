// SPDX-License-Identifier: MIT
#include "core/AppError.h"
#include "store/ProblemStore.h"
#include "tests/support/TempDir.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#ifdef Q_OS_UNIX
#include <unistd.h>

namespace {

const QString Shared = QStringLiteral("/shared/問題.dat");
const QString Org = QStringLiteral("/data/問題.org");
const QStringList AB = {QStringLiteral("A"), QStringLiteral("B")};

// Two installs whose 問題.dat lead to one file: one link relative, the other
// through a second link.
class LinkedFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir.Write(Shared, FileOf(AB));
        dir.Write(Org, FileOf({QStringLiteral("土"), QStringLiteral("士")}));
        ASSERT_TRUE(QDir().mkpath(dir.Path() + QStringLiteral("/a")) && QDir().mkpath(dir.Path() + QStringLiteral("/b")));
        ASSERT_EQ(symlink("../shared/問題.dat", QFile::encodeName(linkA).constData()), 0);
        ASSERT_EQ(symlink(QFile::encodeName(dir.Path() + Shared).constData(),
                          QFile::encodeName(dir.Path() + QStringLiteral("/b/via")).constData()), 0);
        ASSERT_EQ(symlink("via", QFile::encodeName(linkB).constData()), 0);
    }
    // The links are still links, to where they led, with nothing put beside them.
    void ExpectLinksKept() const
    {
        EXPECT_EQ(QFile::symLinkTarget(linkA), dir.Path() + Shared);
        EXPECT_EQ(QFile::symLinkTarget(linkB), dir.Path() + QStringLiteral("/b/via"));
        EXPECT_EQ(QDir(dir.Path() + QStringLiteral("/a")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden
                                                                    | QDir::System),
                  QStringList{QStringLiteral("問題.dat")});
    }

    TempAppDir dir;
    const QString linkA = dir.Path() + QStringLiteral("/a/問題.dat");
    const QString linkB = dir.Path() + QStringLiteral("/b/問題.dat");
};

// The first copy's disk is slow; the second tries its change meanwhile. It waits
// for the first, then finds the first's pair in the file, so neither is lost.
TEST_F(LinkedFile, TwoCopiesReachingItThroughLinksInTwoFoldersTakeOneLockAndLoseNothing)
{
    ProblemStore second(linkB, dir.Path() + Org);
    second.LoadProblemFile();
    int pauses = 0;
    second.SetLockWaiting({std::chrono::seconds(1), [&] {
                               ++pauses;
                               return std::chrono::milliseconds(250);
                           }});
    ProblemStore first(linkA, dir.Path() + Org, [&](int handle) {
        EXPECT_THROW(second.AddPair(QStringLiteral("E"), QStringLiteral("F")), LockStillHeld);
        return SyncToDisk(handle);
    });
    first.LoadProblemFile();
    first.AddPair(QStringLiteral("C"), QStringLiteral("D"));
    EXPECT_EQ(pauses, 4) << "waited for the first copy's lock";

    EXPECT_THROW(second.AddPair(QStringLiteral("E"), QStringLiteral("F")), ProblemFileChanged);
    second.AddPair(QStringLiteral("E"), QStringLiteral("F"));
    EXPECT_EQ(dir.Read(Shared), FileOf(QStringList{QStringLiteral("E"), QStringLiteral("F"), QStringLiteral("C"),
                                                   QStringLiteral("D")} + AB));
    ExpectLinksKept();
}

// Setting the link aside would cut the user's file off from every later save.
TEST_F(LinkedFile, RecoverySetsAsideAndReplacesTheFileTheLinkLeadsTo)
{
    const QDateTime when(QDate(2026, 12, 7), QTime(1, 30, 0));
    ProblemStore store(linkB, dir.Path() + Org);
    dir.Write(Shared, " 2 \r\n");
    EXPECT_THROW(store.LoadProblemFile(), ProblemFileUnusable);
    const QString setAside = store.SetAsideAndRestoreFactory(when);
    EXPECT_EQ(setAside, dir.Path() + Shared + QStringLiteral(".壊れていたもの-20261207-013000"));
    QFile kept(setAside);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), " 2 \r\n");
    store.RestoreFactoryProblems();
    EXPECT_EQ(dir.Read(Shared), dir.Read(Org));
    ExpectLinksKept();

    // A link to a file that is gone: the file is made where the link leads.
    QFile::remove(dir.Path() + Shared);
    EXPECT_THROW(store.LoadProblemFile(), ProblemFileUnusable);
    EXPECT_EQ(store.SetAsideAndRestoreFactory(when), QString());
    EXPECT_EQ(dir.Read(Shared), dir.Read(Org));
    QFile::remove(dir.Path() + Shared);
    DataLocations installed = dir.Locations();
    installed.problemFile = linkA;
    installed.dataFolder = dir.Path() + QStringLiteral("/a");
    installed.installed = true;
    ProvideUserProblemFile(installed);
    EXPECT_EQ(dir.Read(Shared), dir.Read(Org));
    ExpectLinksKept();
}

} // namespace
#endif
