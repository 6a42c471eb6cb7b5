// SPDX-License-Identifier: MIT
// The problem file as others share it: other copies of the program (the lock, a
// late answer), other programs (a file that grows while read) and an ordinary
// user whom permissions bind.
#include "core/AppError.h"
#include "store/ProblemStore.h"
#include "tests/support/ForkedChild.h"
#include "tests/support/TempDir.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

template <typename Case>
    requires requires(const Case& c) { c.name; }
void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

using namespace std::chrono_literals;

const QString Lock = Dat + QStringLiteral(".lock");

// For a change that must not wait for the lock: any pause fails the test.
ProblemStore::LockWaiting NeverWaiting(const char* why)
{
    return {10s, [why] {
                ADD_FAILURE() << why;
                return 10s;
            }};
}

void SetModified(const QString& path, const QDateTime& when)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(when, QFileDevice::FileModificationTime));
}

class Shared : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir.Write(Dat, before);
        dir.Write(Org, FileOfPairs(QStringLiteral("土士")));
        store.LoadProblemFile();
    }
    void Add() { store.AddPair(QStringLiteral("鳥"), QStringLiteral("烏")); }
    QString Shown(const QString& suffix) const { return QDir::toNativeSeparators(dir.Path() + suffix); }

    TempAppDir dir;
    ProblemStore store{StoreIn(dir)};
    const QString lockPath = dir.Path() + Lock;
    const QByteArray before = FileOfPairs(ManyPairs(3));
    const QByteArray added = FileOfPairs(QStringLiteral("鳥烏") + ManyPairs(3));
};

// However old its lock, a live copy is waited for, to the limit, and the refusal
// names it; the change goes on once it lets go. Another computer's copy cannot be
// asked and is named by that computer.
TEST_F(Shared, WaitsWhileAnotherCopyHoldsTheLockAndGoesOnOnceItIsFree)
{
    CopyHoldingTheLock first(lockPath);
    ASSERT_EQ(first.Hear(), 'L');
    SetModified(lockPath, QDateTime::currentDateTimeUtc().addSecs(-10 * ProblemStore::StaleLockTime.count()));
    int pauses = 0;
    store.SetLockWaiting({1s, [&] { return ++pauses, 250ms; }});
    const QString holder = QStringLiteral("このコンピューターで別に開いているこのプログラム (プロセス番号 %1)").arg(first.Process());
    EXPECT_TRUE(ErrorOf<LockStillHeld>([&] { Add(); }).Description().contains(holder));
    EXPECT_EQ(pauses, 4) << "waited the whole second";
    EXPECT_EQ(dir.Read(Dat), before);

    pauses = 0;
    store.SetLockWaiting({10s, [&] {
                              if (++pauses == 1)
                                  first.Join();
                              return 100ms;
                          }});
    Add();
    EXPECT_EQ(pauses, 1);
    EXPECT_EQ(dir.Read(Dat), added);

    dir.Write(Lock, "4321\nvellumark\nfaraway\n");
    store.SetLockWaiting({});
    EXPECT_TRUE(ErrorOf<LockStillHeld>([&] { store.DeletePair(1); }).Description().contains(QStringLiteral("コンピューター「faraway」")));
}

// A lock nobody holds is taken over at once: one left by a copy that died, and an
// empty one (its copy killed before it wrote its process number) once older than
// the stale time.
TEST_F(Shared, ALockNobodyHoldsIsTakenOverWithoutWaiting)
{
    CopyHoldingTheLock first(lockPath);
    ASSERT_EQ(first.Hear(), 'L');
    first.Tell('c');
    first.Join();
    ASSERT_TRUE(QFileInfo::exists(lockPath));
    store.SetLockWaiting(NeverWaiting("waited for a lock nobody holds"));
    Add();
    EXPECT_EQ(dir.Read(Dat), added);
    EXPECT_FALSE(QFileInfo::exists(lockPath)) << "the store took the lock and let it go";

    dir.Write(Lock, {});
    SetModified(lockPath, QDateTime::currentDateTimeUtc().addSecs(-ProblemStore::StaleLockTime.count() - 5));
    store.DeletePair(1);
    EXPECT_EQ(dir.Read(Dat), before);
}

// A named pipe would hang the save, a link to a device eat memory, a folder pass
// for another copy's lock; a link, dangling or to a file of the user's, would
// freeze the save for the whole wait and then blame another copy. None is waited for.
TEST_F(Shared, ALockPathThatIsNoOrdinaryFileIsAnImmediateErrorThatSavesNothing)
{
    store.SetLockWaiting(NeverWaiting("waited"));
    const QString usersFile = dir.Path() + QStringLiteral("/data/pairs.txt");
    dir.Write(QStringLiteral("/data/pairs.txt"), "1\n");
    const std::function<bool()> makers[] = {
        [&] { return mkfifo(QFile::encodeName(lockPath).constData(), 0600) == 0; },
        [&] { return QDir().mkdir(lockPath); },
        [&] { return QFile::link(QStringLiteral("/dev/zero"), lockPath); },
        [&] { return QFile::link(dir.Path() + QStringLiteral("/nowhere"), lockPath); },
        [&] { return QFile::link(usersFile, lockPath); },
    };
    for (std::size_t i = 0; i < std::size(makers); ++i) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(makers[i]());
        const LockFileUnusable error = ErrorOf<LockFileUnusable>([&] { Add(); });
        EXPECT_TRUE(error.Description().contains(Shown(Lock))) << error.what();
        EXPECT_EQ(dir.Read(Dat), before);
        EXPECT_EQ(store.ProblemCount(), 3);
        QDir().rmdir(lockPath);
        QFile::remove(lockPath);
    }
    EXPECT_EQ(dir.Read(QStringLiteral("/data/pairs.txt")), "1\n");
    Add();
    EXPECT_EQ(dir.Read(Dat), added) << "once it is gone, the save goes through";
}

// A write limit stands in for a full disk: the lock file cannot be written.
TEST_F(Shared, ALockThatCannotBeWrittenSaysTheSystemsReason)
{
    ForkedChild([&](ForkedChild&) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit none{0, 0};
        setrlimit(RLIMIT_FSIZE, &none);
        const AppError error = ErrorOf([&] { Add(); });
        EXPECT_TRUE(error.Description().contains(Shown(Lock))
                    && error.Description().contains(QString::fromLocal8Bit(strerror(EFBIG))))
            << error.what();
    });
    EXPECT_EQ(dir.Read(Dat), before);
}

constexpr QFile::Permissions Everything = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;

// lock: the lock file's bytes, null for none. lockRefused: the lock is named as
// what cannot be used; otherwise the problem file is.
struct Forbidden {
    const char* name;
    const char* lock;
    QFile::Permissions lockPermissions, folderPermissions;
    bool lockRefused;
    const char* says;
};
class ForAnOrdinaryUser : public Shared, public ::testing::WithParamInterface<Forbidden> {};

// Refused at once, naming what may not be used: no wait for a lock that only looks
// taken, no "not found" for a folder that may not be entered.
TEST_P(ForAnOrdinaryUser, WhatMayNotBeUsedIsRefusedAtOnceNamingIt)
{
    const Forbidden& c = GetParam();
    const QString data = dir.Path() + QStringLiteral("/data");
    if (c.lock) {
        dir.Write(Lock, c.lock);
        ASSERT_TRUE(QFile::setPermissions(lockPath, c.lockPermissions));
    }
    ASSERT_TRUE(QFile::setPermissions(data, c.folderPermissions));
    store.SetLockWaiting(NeverWaiting("waited"));
    ForkedChild(
        [&](ForkedChild&) {
            const auto op = [&] {
                store.LoadProblemFile();
                Add();
            };
            const AppError error = c.lockRefused ? ErrorOf<LockFileUnusable>(op) : ErrorOf(op);
            EXPECT_EQ(error.Number(), AppError::PermissionDenied);
            EXPECT_EQ(error.Description().contains(Shown(Lock)), c.lockRefused) << error.what();
            EXPECT_TRUE(error.Description().contains(Shown(Dat)) && error.Description().contains(QString::fromUtf8(c.says)))
                << error.what();
        },
        OrdinaryUser{dir.Path()});
    QFile::setPermissions(data, Everything);
    EXPECT_EQ(dir.Read(Dat), before);
}
INSTANTIATE_TEST_SUITE_P(
    Permissions, ForAnOrdinaryUser,
    ::testing::Values(Forbidden{"UnreadableLockFile", "1\n", {}, Everything, true, ""},
                      // A lock that stays must be replaceable once its owner is gone.
                      Forbidden{"LockInAFolderThatMayNotBeWrittenInto", "", QFile::ReadOwner,
                                QFile::ReadOwner | QFile::ExeOwner, true, "アクセスが拒否されました"},
                      Forbidden{"FolderThatMayNotBeEntered", nullptr, {}, {}, false, "アクセスが拒否されました"}),
    CaseName);

// Another copy replaced an oversized file with another of the same size: only the
// time tells them apart, and a late answer must not set the new one aside.
TEST_F(Shared, ALateAnswerSetsNothingAsideWhenAnOversizedFileWasReplacedByOneOfTheSameSize)
{
    const QDateTime seen = QDateTime::currentDateTimeUtc().addSecs(-60);
    dir.Write(Dat, QByteArray(2 << 20, 'x'));
    SetModified(dir.Path() + Dat, seen);
    EXPECT_THROW(store.LoadProblemFile(), ProblemFileUnusable);
    dir.Write(Dat, QByteArray(2 << 20, 'y'));
    SetModified(dir.Path() + Dat, seen.addSecs(30));
    ErrorOf<ProblemFileChanged>([&] { store.SetAsideAndRestoreFactory(QDateTime::currentDateTime()); });
    EXPECT_EQ(dir.Read(Dat), QByteArray(2 << 20, 'y'));
    EXPECT_EQ(QDir(dir.Path() + QStringLiteral("/data")).entryList(QDir::Files).size(), 2) << "nothing set aside";
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool UnderAddressSanitizer = true;
#elif defined(__has_feature)
constexpr bool UnderAddressSanitizer = __has_feature(address_sanitizer);
#else
constexpr bool UnderAddressSanitizer = false;
#endif

// Bytes this process has read so far.
qint64 BytesRead()
{
    QFile io(QStringLiteral("/proc/self/io"));
    return io.open(QIODevice::ReadOnly) ? io.readLine().split(' ').value(1).trimmed().toLongLong() : 0;
}

// The system's page map says it is empty and never ends: how a file that grows
// while it is read looks to the reader, which stops at its limit.
TEST(GrowingFile, IsReadNoFurtherThanTheLimit)
{
    ForkedChild([](ForkedChild&) {
        // A reader that followed the file would fill the memory: it fails here instead
        // (but for AddressSanitizer, whose shadow memory the limit would count).
        const rlimit room{512 << 20, 512 << 20};
        if (!UnderAddressSanitizer)
            setrlimit(RLIMIT_DATA, &room);
        ProblemStore endless(QStringLiteral("/proc/self/pagemap"), QString());
        const qint64 readBefore = BytesRead();
        const AppError error = ErrorOf([&] { endless.LoadProblemFile(); });
        EXPECT_EQ(error.Number(), AppError::BadFileContents) << error.what();
        EXPECT_LT(BytesRead() - readBefore, 2 << 20);
    });
}

} // namespace
