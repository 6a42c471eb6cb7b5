// SPDX-License-Identifier: MIT
#include "store/ProblemStore.h"
#include "tests/support/TempDir.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#ifdef Q_OS_UNIX
#include "tests/support/ForkedChild.h"

#include <unistd.h>

namespace {

// Two installs whose 問題.dat lead to one file: one link relative, the other
// through a second link.
class LinkedFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir.Write(QStringLiteral("/shared/問題.dat"), FileOf(QStringList{QStringLiteral("A"), QStringLiteral("B")}));
        dir.Write(QStringLiteral("/data/問題.org"), FileOf({QStringLiteral("土"), QStringLiteral("士")}));
        ASSERT_TRUE(QDir(dir.Path()).mkdir(QStringLiteral("a")) && QDir(dir.Path()).mkdir(QStringLiteral("b")));
        ASSERT_EQ(symlink("../shared/問題.dat", QFile::encodeName(linkA).constData()), 0);
        ASSERT_EQ(symlink(QFile::encodeName(shared).constData(), QFile::encodeName(dir.Path() + QStringLiteral("/b/via")).constData()), 0);
        ASSERT_EQ(symlink("via", QFile::encodeName(linkB).constData()), 0);
    }
    // Still links, to where they led, with nothing put beside them.
    void ExpectLinksKept() const
    {
        EXPECT_EQ(QFile::symLinkTarget(linkA), shared);
        EXPECT_EQ(QFile::symLinkTarget(linkB), dir.Path() + QStringLiteral("/b/via"));
        EXPECT_EQ(QDir(dir.Path() + QStringLiteral("/a")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden | QDir::System),
                  QStringList{QStringLiteral("問題.dat")});
    }

    TempAppDir dir;
    const QString shared = dir.Path() + QStringLiteral("/shared/問題.dat"), factory = dir.Locations().factoryFile;
    const QString linkA = dir.Path() + QStringLiteral("/a/問題.dat"), linkB = dir.Path() + QStringLiteral("/b/問題.dat");
};

// Both links lead to one lock: another copy holding it keeps both out. Each
// compares what it saves with the file the links lead to, so neither loses the
// other's pair.
TEST_F(LinkedFile, TwoCopiesReachingItThroughLinksInTwoFoldersTakeOneLockAndLoseNothing)
{
    ProblemStore first(linkA, factory), second(linkB, factory);
    first.LoadProblemFile();
    second.LoadProblemFile();
    {
        CopyHoldingTheLock other(shared + QStringLiteral(".lock"));
        ASSERT_EQ(other.Hear(), 'L');
        for (ProblemStore* store : {&first, &second}) {
            store->SetLockWaiting({});
            EXPECT_THROW(store->AddPair(QStringLiteral("C"), QStringLiteral("D")), LockStillHeld);
        }
    }
    first.AddPair(QStringLiteral("C"), QStringLiteral("D"));
    EXPECT_THROW(second.AddPair(QStringLiteral("E"), QStringLiteral("F")), ProblemFileChanged);
    second.AddPair(QStringLiteral("E"), QStringLiteral("F"));
    EXPECT_EQ(dir.Read(QStringLiteral("/shared/問題.dat")), FileOf(QString::fromUtf8("E|F|C|D|A|B").split(u'|')));
    ExpectLinksKept();
}

// Setting the link aside would cut the user's file off from every later save.
TEST_F(LinkedFile, RecoverySetsAsideAndReplacesTheFileTheLinkLeadsTo)
{
    ProblemStore store(linkB, factory);
    dir.Write(QStringLiteral("/shared/問題.dat"), " 2 \r\n");
    EXPECT_THROW(store.LoadProblemFile(), ProblemFileUnusable);
    const QString setAside = store.SetAsideAndRestoreFactory(QDateTime(QDate(2026, 12, 7), QTime(1, 30, 0)));
    EXPECT_EQ(setAside, shared + QStringLiteral(".壊れていたもの-20261207-013000"));
    EXPECT_EQ(dir.Read(QStringLiteral("/shared/問題.dat.壊れていたもの-20261207-013000")), " 2 \r\n");
    store.RestoreFactoryProblems();
    EXPECT_EQ(dir.Read(QStringLiteral("/shared/問題.dat")), dir.Read(QStringLiteral("/data/問題.org")));
    ExpectLinksKept();

    // A link to a file that is gone: the first start makes the file where it leads.
    QFile::remove(shared);
    ProvideUserProblemFile({dir.Path() + QStringLiteral("/a"), linkA, factory, {}, {}, true});
    EXPECT_EQ(dir.Read(QStringLiteral("/shared/問題.dat")), dir.Read(QStringLiteral("/data/問題.org")));
    ExpectLinksKept();
}

} // namespace
#endif
