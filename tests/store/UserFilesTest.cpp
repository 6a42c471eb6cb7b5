// SPDX-License-Identifier: MIT
#include "store/ProblemStore.h"
#include "tests/support/TempDir.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <array>

#ifdef Q_OS_UNIX
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

enum class Writing { Add, Delete, FactoryReset, SetAside, FirstStart };
class UserFiles : public ::testing::TestWithParam<Writing> {};

// Nothing the program did not make is touched, however named or old; of its own
// copies only one that a killed save stranded goes, never one another copy may
// still be writing. The file keeps its mode, group and owner (root, as in CI,
// may give any); a new one is made as any other file.
TEST_P(UserFiles, SurviveEveryWriteAndTheFileKeepsItsModeGroupAndOwner)
{
    TempAppDir dir;
    const QString data = dir.Path() + QStringLiteral("/data/"), dat = dir.Locations().problemFile;
    dir.Write(QStringLiteral("/data/問題.org"), FileOf({QStringLiteral("A"), QStringLiteral("B")}));
    dir.Write(QStringLiteral("/data/問題.dat"), GetParam() == Writing::SetAside ? " 2 \r\n" : FileOf({QStringLiteral("C"), QStringLiteral("D")}));
    // No two differ in case alone: on Windows they would be one file.
    const QStringList users = QString::fromUtf8("問題.dat.backup|問題.dat.old123|問題.dat.bak|問題.dat.backup1|問題.dat.KEEPME|"
                                                "問題.dat.241207|.問題.dat.Ab12Cd|コピー.dat").split(u'|');
    const QString stranded = QStringLiteral(".問題.dat.vellumark-Ab12Cd"), live = QStringLiteral(".問題.dat.vellumark-Xy34Zw");
    for (const QString& name : users + QStringList{stranded, live}) {
        QFile file(data + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(name.toUtf8()) > 0 && file.flush());
        const int age = name == stranded ? 65 : name == live ? 55 : 600;
        ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-age), QFileDevice::FileModificationTime));
    }
#ifdef Q_OS_UNIX
    const group* games = getgrnam("games");
    const passwd* nobody = getpwnam("nobody");
    const gid_t shared = geteuid() == 0 && games ? games->gr_gid : getegid();
    const uid_t owner = geteuid() == 0 && nobody ? nobody->pw_uid : geteuid();
    ASSERT_EQ(chown(QFile::encodeName(dat).constData(), owner, shared), 0);
    ASSERT_EQ(chmod(QFile::encodeName(dat).constData(), 0664), 0);
    const mode_t mask = umask(027);
#endif
    QStringList seen;
    const DiskSync sync = [&](int handle) {
        seen = QDir(data).entryList({QStringLiteral(".*vellumark*")}, QDir::Files | QDir::Hidden);
        return SyncToDisk(handle);
    };
    ProblemStore store(dat, dir.Locations().factoryFile, sync);
    DataLocations installed = dir.Locations();
    installed.installed = true;
    switch (GetParam()) {
    case Writing::Add: store.LoadProblemFile(), store.AddPair(QStringLiteral("E"), QStringLiteral("F")); break;
    case Writing::Delete: store.LoadProblemFile(), store.DeletePair(1); break;
    case Writing::FactoryReset: store.RestoreFactoryProblems(); break;
    case Writing::SetAside:
        EXPECT_THROW(store.LoadProblemFile(), ProblemFileUnusable);
        store.SetAsideAndRestoreFactory(QDateTime::currentDateTime());
        break;
    case Writing::FirstStart: QFile::remove(dat), ProvideUserProblemFile(installed, sync); break;
    }
#ifdef Q_OS_UNIX
    umask(mask);
#endif

    for (const QString& name : users + QStringList{live})
        EXPECT_EQ(dir.Read(QStringLiteral("/data/") + name), name.toUtf8()) << name.toStdString();
    EXPECT_FALSE(QFile::exists(data + stranded));
    seen.removeAll(live);
    seen.removeAll(stranded);
    // The save's own copy: unnamed where the system has unnamed files, else marked.
    EXPECT_LE(seen.size(), 1);
    for (const QString& name : seen)
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\.問題\\.dat\\.vellumark-[A-Za-z0-9]{6}$")).match(name).hasMatch()
                    && !QFile::exists(data + name)) << name.toStdString();
#ifdef Q_OS_UNIX
    struct stat saved {};
    ASSERT_EQ(stat(QFile::encodeName(dat).constData(), &saved), 0);
    EXPECT_EQ(saved.st_mode & 07777, GetParam() == Writing::FirstStart ? 0640u : 0664u);
    EXPECT_TRUE((saved.st_gid == shared && saved.st_uid == owner) || GetParam() == Writing::FirstStart);
#endif
}
INSTANTIATE_TEST_SUITE_P(Writes, UserFiles,
                         ::testing::Values(Writing::Add, Writing::Delete, Writing::FactoryReset, Writing::SetAside,
                                           Writing::FirstStart),
                         [](const auto& param) {
                             return std::string(
                                 std::array{"Add", "Delete", "FactoryReset", "SetAside", "FirstStart"}[size_t(param.param)]);
                         });

} // namespace
