// SPDX-License-Identifier: MIT
#include "core/DataLocations.h"
#include "core/AppError.h"
#include "store/ProblemStore.h"
#include "tests/support/TempDir.h"
#ifdef Q_OS_UNIX
#include "tests/support/ForkedChild.h"
#endif

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
#include <pwd.h>
#include <unistd.h>
#endif

namespace {

// A factory copy with bytes a text-mode copy would spoil: CR LF, Shift-JIS, no final newline.
const QByteArray FactoryBytes = QByteArray(" 1 \r\n\x88\xa4\r\n\x88\xa5", 11);

// Every path a layout decides, in one list.
QStringList Paths(const DataLocations& at)
{
    return {at.dataFolder, at.problemFile, at.factoryFile, at.crowSound, at.hitSound};
}

// An installed tree as `cmake --install` lays it out, and a per-user folder that does not exist yet.
class InstalledTree : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir().mkpath(dir.Path() + QStringLiteral("/usr/bin")));
        dir.Write(Shared + QStringLiteral("/問題.org"), FactoryBytes);
    }
    DataLocations Resolve() const
    {
        return ResolveDataLocations(dir.Path() + QStringLiteral("/usr/bin"), dir.Path() + User);
    }
    TempAppDir dir;
    const QString Shared = QStringLiteral("/usr/share/vellumark");
    const QString User = QStringLiteral("/home/.local/share/Vellumark");
};

} // namespace

TEST(PortableLayout, KeepsEveryPathBesideTheExecutableAndCreatesNothing)
{
    TempAppDir dir;
    const QString appDir = dir.Path() + QStringLiteral("/ゲーム"), data = appDir + QStringLiteral("/data");
    ASSERT_TRUE(QDir().mkpath(data));
    for (const QString& executableFolder : {appDir, appDir + u'/'}) {
        const DataLocations locations = ResolveDataLocations(executableFolder, dir.Path() + QStringLiteral("/per-user"));
        EXPECT_FALSE(locations.installed);
        EXPECT_EQ(Paths(locations), QStringList({data, data + QStringLiteral("/問題.dat"), data + QStringLiteral("/問題.org"),
                                                 data + QStringLiteral("/音/karasu.wav"), data + QStringLiteral("/音/o.wav")}));

        // The portable problem file comes with the build, never from the program.
        ProvideUserProblemFile(locations);
        EXPECT_FALSE(QFileInfo::exists(locations.problemFile));
        EXPECT_FALSE(dir.Exists(QStringLiteral("/per-user")));
    }
}

// A missing factory copy refuses the layout; a damaged one is not copied, as the
// user's file is made only from a copy that reads faithfully.
TEST_F(InstalledTree, AMissingOrDamagedFactoryCopyIsAnErrorNamingItThatMakesNothing)
{
    for (const auto& [factory, number] : {std::pair(QByteArray(), AppError::FileNotFound),
                                          std::pair(QByteArray(" 3 \r\nA\r\nB\r\n"), AppError::InputPastEndOfFile)}) {
        factory.isNull() ? (void)QFile::remove(dir.Path() + Shared + QStringLiteral("/問題.org"))
                         : dir.Write(Shared + QStringLiteral("/問題.org"), factory);
        const AppError error = ErrorOf([&] {
            const DataLocations locations = Resolve();
            EXPECT_FALSE(factory.isNull()) << "a layout without its factory copy was taken";
            ProvideUserProblemFile(locations);
        });
        EXPECT_EQ(error.Number(), number);
        EXPECT_TRUE(error.Description().contains(QDir::toNativeSeparators(dir.Path() + Shared + QStringLiteral("/問題.org"))))
            << error.what();
        EXPECT_FALSE(dir.Exists(User + QStringLiteral("/問題.dat")));
    }
}

TEST_F(InstalledTree, ReadsTheSharedFilesAndCopiesTheUsersPairsOnTheFirstRunOnly)
{
    const DataLocations locations = Resolve();
    EXPECT_TRUE(locations.installed);
    const QString user = dir.Path() + User, shared = dir.Path() + Shared;
    EXPECT_EQ(Paths(locations), QStringList({user, user + QStringLiteral("/問題.dat"), shared + QStringLiteral("/問題.org"),
                                             shared + QStringLiteral("/音/karasu.wav"), shared + QStringLiteral("/音/o.wav")}));
    ProvideUserProblemFile(locations);
    EXPECT_EQ(dir.Read(User + QStringLiteral("/問題.dat")), FactoryBytes);

    const QByteArray usersPairs = QByteArray(" 0 \r\n");
    dir.Write(User + QStringLiteral("/問題.dat"), usersPairs);
    ProvideUserProblemFile(Resolve());
    EXPECT_EQ(dir.Read(User + QStringLiteral("/問題.dat")), usersPairs);
    EXPECT_EQ(dir.Read(Shared + QStringLiteral("/問題.org")), FactoryBytes);
    EXPECT_EQ(QDir(locations.dataFolder).entryList(QDir::Files), QStringList{QStringLiteral("問題.dat")})
        << "no temporary file left behind";
}

// Without a per-user folder the user's file would be "/問題.dat", at the top of the disk.
TEST_F(InstalledTree, WithoutAPerUserFolderIsAnErrorThatMakesNothing)
{
    const AppError error
        = ErrorOf([&] { ProvideUserProblemFile(ResolveDataLocations(dir.Path() + QStringLiteral("/usr/bin"), {})); });
    EXPECT_TRUE(error.Description().contains(QStringLiteral("利用者ごとのデータフォルダー"))) << error.what();
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/問題.dat")));
}

#ifdef Q_OS_UNIX
// The second start waits for the first one's lock, then finds the file made (and
// already changed by its user) and leaves it alone.
TEST_F(InstalledTree, TwoFirstRunsAtOnceMakeOneFileAndTheLaterOverwritesNothing)
{
    const DataLocations locations = Resolve();
    ASSERT_TRUE(QDir().mkpath(locations.dataFolder));
    CopyHoldingTheLock first(locations.problemFile + QStringLiteral(".lock"));
    ASSERT_EQ(first.Hear(), 'L');
    ProblemStore second(locations.problemFile, locations.factoryFile);
    int pauses = 0;
    second.SetLockWaiting({std::chrono::seconds(10), [&] {
                               if (++pauses == 1) {
                                   dir.Write(User + QStringLiteral("/問題.dat"), " 0 \r\n");
                                   first.Join();
                               }
                               return std::chrono::milliseconds(100);
                           }});
    second.CreateFromFactory();
    EXPECT_EQ(pauses, 1);
    EXPECT_EQ(dir.Read(User + QStringLiteral("/問題.dat")), " 0 \r\n");
}
#endif

// The write is checked as the store's saves are: a full disk shows only at the flush
// or the sync, and a file left empty would be called damaged at the next start.
TEST_F(InstalledTree, AFirstRunThatCannotWriteTheUsersFileSaysWhyAndPublishesNothing)
{
    const DataLocations locations = Resolve();
    const QString reason = QStringLiteral("No space left on device");
    const AppError error = ErrorOf([&] {
        ProvideUserProblemFile(locations, [&](int) { return std::optional<QString>(reason); });
    });
    EXPECT_TRUE(error.Description().contains(QDir::toNativeSeparators(locations.problemFile))
                && error.Description().contains(reason))
        << error.what();
    EXPECT_EQ(QDir(locations.dataFolder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System), QStringList{})
        << "no file, no temporary copy, no lock";
}

#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
// A relative XDG_DATA_HOME would make the pairs depend on the folder the program
// was started from (the XDG rules say to ignore it), and a missing HOME would put
// them at the root. A file in the way is named, with the system's reason.
TEST(PerUserFolder, FollowsTheXdgRulesAndNamesAFileInTheWay)
{
    TempAppDir home;
    const auto at = [&](const QString& path) { return path.startsWith(u'~') ? home.Path() + path.mid(1) : path; };
    const QByteArray savedHome = qgetenv("HOME"), savedDataHome = qgetenv("XDG_DATA_HOME");
    const QString savedName = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName(QStringLiteral("Vellumark"));
    const QString standard = QStringLiteral("~/.local/share/Vellumark");
    const QString fromPasswd = QFile::decodeName(getpwuid(getuid())->pw_dir) + QStringLiteral("/.local/share/Vellumark");
    // HOME and XDG_DATA_HOME (null: unset), the folder, and the file planted in the way.
    using Row = std::tuple<const char*, const char*, QString, QString>;
    const Row rows[] = {
        {"~", "share", standard, {}},
        {"~", "../share", standard, {}},
        {"~", "", standard, {}},
        {"~", "~/elsewhere", QStringLiteral("~/elsewhere/Vellumark"), {}},
        {nullptr, nullptr, fromPasswd, {}},
        {"", "./share", fromPasswd, {}},
        {"~", nullptr, standard, standard},
        {"~", "~/data-file", QStringLiteral("~/data-file/Vellumark"), QStringLiteral("~/data-file")},
    };
    for (const auto& [homeVariable, dataHome, folder, inTheWay] : rows) {
        SCOPED_TRACE(folder.toStdString() + " in the way: " + inTheWay.toStdString());
        for (const auto& [name, value] : {std::pair("HOME", homeVariable), std::pair("XDG_DATA_HOME", dataHome)})
            value ? qputenv(name, QFile::encodeName(at(QString::fromUtf8(value)))) : qunsetenv(name);
        EXPECT_EQ(PerUserDataFolder(), at(folder));
        if (inTheWay.isEmpty())
            continue;
        home.Write(inTheWay.mid(1), "not a folder");
        const AppError error = ErrorOf([&] {
            ProvideUserProblemFile({at(folder), at(folder) + QStringLiteral("/問題.dat"), {}, {}, {}, true});
        });
        for (const QString& part : {ShownPath(at(folder)), QString::fromLocal8Bit(std::strerror(ENOTDIR)),
                                    QStringLiteral("「%1」がフォルダーではありません").arg(ShownPath(at(inTheWay)))})
            EXPECT_TRUE(error.Description().contains(part)) << error.what();
        QFile::remove(at(inTheWay));
    }
    qputenv("HOME", savedHome);
    savedDataHome.isNull() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", savedDataHome);
    QCoreApplication::setApplicationName(savedName);
}
#endif
