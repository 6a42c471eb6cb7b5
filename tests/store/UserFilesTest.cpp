// SPDX-License-Identifier: MIT
#include "core/AppError.h"
#include "store/ProblemStore.h"
#include "tests/support/TempDir.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <functional>

#ifdef Q_OS_UNIX
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

const QString Data = QStringLiteral("/data/");

void Age(const QString& path, int seconds)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-seconds), QFileDevice::FileModificationTime));
}

struct WritingPath {
    const char* name;
    std::function<void(ProblemStore&, const TempAppDir&, const DiskSync&)> write;
};

void PrintTo(const WritingPath& path, std::ostream* out) { *out << path.name; }

class UserFiles : public ::testing::TestWithParam<WritingPath> {};

// The program touches no file it did not make, however it is named and however
// old; of its own, it removes only a copy a killed save stranded, never one a
// save of another copy may still be writing.
TEST_P(UserFiles, SurviveEveryWriteWhileStrandedCopiesOfTheProgramsOwnGo)
{
    TempAppDir dir;
    dir.Write(Data + QStringLiteral("問題.org"), FileOf({QStringLiteral("A"), QStringLiteral("B")}));
    dir.Write(Data + QStringLiteral("問題.dat"), FileOf({QStringLiteral("C"), QStringLiteral("D")}));
    const QStringList users = {QStringLiteral("問題.dat.backup"), QStringLiteral("問題.dat.old123"),
                               QStringLiteral("問題.dat.bak"),    QStringLiteral("問題.dat.backup1"),
                               QStringLiteral("問題.dat.BACKUP"), QStringLiteral("問題.dat.241207"),
                               QStringLiteral(".問題.dat.Ab12Cd"), QStringLiteral("コピー.dat")};
    const QString stranded = QStringLiteral(".問題.dat.vellumark-Ab12Cd"), live = QStringLiteral(".問題.dat.vellumark-Xy34Zw");
    for (const QString& name : users + QStringList{stranded, live}) {
        dir.Write(Data + name, name.toUtf8());
        Age(dir.Path() + Data + name, name == stranded ? 65 : name == live ? 55 : 600);
    }
    QStringList seenWhileSyncing;
    const DiskSync sync = [&](int handle) {
        seenWhileSyncing = QDir(dir.Path() + Data).entryList({QStringLiteral(".*vellumark*")}, QDir::Files | QDir::Hidden);
        return SyncToDisk(handle);
    };
    ProblemStore store(dir.Locations().problemFile, dir.Locations().factoryFile, sync);
    GetParam().write(store, dir, sync);

    for (const QString& name : users + QStringList{live})
        EXPECT_EQ(dir.Read(Data + name), name.toUtf8()) << name.toStdString();
    EXPECT_FALSE(dir.Exists(Data + stranded));
    seenWhileSyncing.removeAll(live);
    seenWhileSyncing.removeAll(stranded);
    // The save's own copy, unnamed where the system has unnamed files, else marked.
    EXPECT_LE(seenWhileSyncing.size(), 1);
    for (const QString& name : seenWhileSyncing) {
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\.問題\\.dat\\.vellumark-[A-Za-z0-9]{6}$")).match(name).hasMatch())
            << name.toStdString();
        EXPECT_FALSE(dir.Exists(Data + name)) << "it became the file";
    }
}
INSTANTIATE_TEST_SUITE_P(
    Writes, UserFiles,
    ::testing::Values(
        WritingPath{"Add", [](ProblemStore& store, const TempAppDir&, const DiskSync&) {
                        store.LoadProblemFile();
                        store.AddPair(QStringLiteral("E"), QStringLiteral("F"));
                    }},
        WritingPath{"Delete", [](ProblemStore& store, const TempAppDir&, const DiskSync&) {
                        store.LoadProblemFile();
                        store.DeletePair(1);
                    }},
        WritingPath{"FactoryReset", [](ProblemStore& store, const TempAppDir&, const DiskSync&) { store.RestoreFactoryProblems(); }},
        WritingPath{"SetAside", [](ProblemStore& store, const TempAppDir& dir, const DiskSync&) {
                        dir.Write(Data + QStringLiteral("問題.dat"), " 2 \r\n");
                        EXPECT_THROW(store.LoadProblemFile(), ProblemFileUnusable);
                        store.SetAsideAndRestoreFactory(QDateTime::currentDateTime());
                    }},
        WritingPath{"FirstStart", [](ProblemStore& store, const TempAppDir& dir, const DiskSync& sync) {
                        QFile::remove(store.ProblemFilePath());
                        DataLocations installed = dir.Locations();
                        installed.installed = true;
                        ProvideUserProblemFile(installed, sync);
                    }}),
    [](const auto& param) { return std::string(param.param.name); });

#ifdef Q_OS_UNIX
// A list shared in a group stays shared: the replacing copy takes the file's
// mode and group (root, as in CI, may give any group), and a new file is made as
// any other.
TEST(UserSettings, ASaveKeepsTheFilesModeAndGroup)
{
    TempAppDir dir;
    const QByteArray path = QFile::encodeName(dir.Locations().problemFile);
    dir.Write(Data + QStringLiteral("問題.dat"), FileOf({QStringLiteral("A"), QStringLiteral("B")}));
    dir.Write(Data + QStringLiteral("問題.org"), FileOf({QStringLiteral("A"), QStringLiteral("B")}));
    const group* games = getgrnam("games");
    const gid_t shared = geteuid() == 0 && games ? games->gr_gid : getegid();
    ASSERT_EQ(chown(path.constData(), static_cast<uid_t>(-1), shared), 0);
    ASSERT_EQ(chmod(path.constData(), 0664), 0);
    ProblemStore store = StoreIn(dir);
    store.LoadProblemFile();
    store.AddPair(QStringLiteral("C"), QStringLiteral("D"));
    struct stat saved {};
    ASSERT_EQ(stat(path.constData(), &saved), 0);
    EXPECT_EQ(saved.st_mode & 07777, 0664u);
    EXPECT_EQ(saved.st_gid, shared);

    ASSERT_EQ(unlink(path.constData()), 0);
    const mode_t mask = umask(027);
    store.CreateFromFactory();
    umask(mask);
    ASSERT_EQ(stat(path.constData(), &saved), 0);
    EXPECT_EQ(saved.st_mode & 07777, 0640u);
}
#endif

} // namespace
