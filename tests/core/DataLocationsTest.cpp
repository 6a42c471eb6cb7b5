#include "core/DataLocations.h"
#include "core/AppError.h"
#include "store/ProblemStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A factory copy with bytes a text-mode copy would spoil: CR LF, Shift-JIS, no final newline.
const QByteArray FactoryBytes = QByteArray(" 1 \r\n\x88\xa4\r\n\x88\xa5", 11);

class Tree {
public:
    Tree()
    {
        if (!dir_.isValid())
            throw std::runtime_error("no temporary folder");
    }
    QString Path(const QString& relative) const { return dir_.path() + u'/' + relative; }
    void MakeFolder(const QString& relative) const { ASSERT_TRUE(QDir().mkpath(Path(relative))); }
    void Write(const QString& relative, const QByteArray& bytes) const
    {
        QDir().mkpath(QFileInfo(Path(relative)).path());
        QFile file(Path(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
    QByteArray Read(const QString& relative) const
    {
        QFile file(Path(relative));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private:
    QTemporaryDir dir_;
};

// An installed tree as `cmake --install` lays it out, and a per-user folder that does not exist yet.
class InstalledTree : public ::testing::Test {
protected:
    void SetUp() override
    {
        tree.MakeFolder(QStringLiteral("usr/bin"));
        tree.Write(QStringLiteral("usr/share/vellumark/問題.org"), FactoryBytes);
    }
    DataLocations Resolve() const
    {
        return ResolveDataLocations(tree.Path(QStringLiteral("usr/bin")), tree.Path(QStringLiteral("home/.local/share/Vellumark")));
    }
    Tree tree;
};

} // namespace

TEST(PortableLayout, KeepsEveryPathBesideTheExecutableAndCreatesNothing)
{
    Tree tree;
    tree.MakeFolder(QStringLiteral("ゲーム/data"));
    const QString appDir = tree.Path(QStringLiteral("ゲーム"));
    for (const QString& executableFolder : {appDir, appDir + u'/'}) {
        const DataLocations locations = ResolveDataLocations(executableFolder, tree.Path(QStringLiteral("per-user")));
        EXPECT_FALSE(locations.installed);
        EXPECT_EQ(locations.dataFolder, appDir + QStringLiteral("/data"));
        EXPECT_EQ(locations.problemFile, appDir + QStringLiteral("/data/問題.dat"));
        EXPECT_EQ(locations.factoryFile, appDir + QStringLiteral("/data/問題.org"));
        EXPECT_EQ(locations.crowSound, appDir + QStringLiteral("/data/音/karasu.wav"));
        EXPECT_EQ(locations.hitSound, appDir + QStringLiteral("/data/音/o.wav"));

        // The portable problem file comes with the build, never from the program.
        ProvideUserProblemFile(locations);
        EXPECT_FALSE(QFileInfo::exists(locations.problemFile));
        EXPECT_FALSE(QFileInfo::exists(tree.Path(QStringLiteral("per-user"))));
    }
}

TEST_F(InstalledTree, ReadsTheSharedFilesAndKeepsThePairsPerUser)
{
    const DataLocations locations = Resolve();
    EXPECT_TRUE(locations.installed);
    EXPECT_EQ(locations.dataFolder, tree.Path(QStringLiteral("home/.local/share/Vellumark")));
    EXPECT_EQ(locations.problemFile, tree.Path(QStringLiteral("home/.local/share/Vellumark/問題.dat")));
    EXPECT_EQ(locations.factoryFile, tree.Path(QStringLiteral("usr/share/vellumark/問題.org")));
    EXPECT_EQ(locations.crowSound, tree.Path(QStringLiteral("usr/share/vellumark/音/karasu.wav")));
    EXPECT_EQ(locations.hitSound, tree.Path(QStringLiteral("usr/share/vellumark/音/o.wav")));
}

TEST_F(InstalledTree, WithoutAFactoryCopyIsAnErrorNamingWhereItLooked)
{
    ASSERT_TRUE(QFile::remove(tree.Path(QStringLiteral("usr/share/vellumark/問題.org"))));
    try {
        Resolve();
        FAIL() << "no error without a factory copy";
    } catch (const AppError& error) {
        EXPECT_EQ(error.Number(), AppError::FileNotFound);
        EXPECT_TRUE(error.Description().contains(QDir::toNativeSeparators(tree.Path(QStringLiteral("usr/share/vellumark/問題.org")))))
            << error.what();
    }
}

TEST_F(InstalledTree, FirstRunCopiesTheFactoryFileAndLaterRunsKeepTheUsersPairs)
{
    const DataLocations locations = Resolve();
    ProvideUserProblemFile(locations);
    EXPECT_EQ(tree.Read(QStringLiteral("home/.local/share/Vellumark/問題.dat")), FactoryBytes);

    const QByteArray usersPairs = QByteArray(" 0 \r\n");
    tree.Write(QStringLiteral("home/.local/share/Vellumark/問題.dat"), usersPairs);
    ProvideUserProblemFile(Resolve());
    EXPECT_EQ(tree.Read(QStringLiteral("home/.local/share/Vellumark/問題.dat")), usersPairs);
    EXPECT_EQ(tree.Read(QStringLiteral("usr/share/vellumark/問題.org")), FactoryBytes);
    EXPECT_EQ(QDir(locations.dataFolder).entryList(QDir::Files), QStringList{QStringLiteral("問題.dat")})
        << "no temporary file left behind";
}

TEST_F(InstalledTree, AnUnwritablePerUserFolderIsAnError)
{
    // A file where the folder should be cannot be written through, whoever runs the test.
    tree.Write(QStringLiteral("home/.local/share/Vellumark"), QByteArray("not a folder"));
    EXPECT_THROW(ProvideUserProblemFile(Resolve()), AppError);
}

TEST_F(InstalledTree, TheStoreWritesOnlyTheUsersFileAndRestoresFromTheSharedCopy)
{
    const DataLocations locations = Resolve();
    ProvideUserProblemFile(locations);
    ProblemStore store(locations.problemFile, locations.factoryFile);

    store.LoadProblemFile();
    ASSERT_EQ(store.ProblemCount(), 1);
    store.AddPair(QStringLiteral("A"), QStringLiteral("B"));
    EXPECT_EQ(tree.Read(QStringLiteral("home/.local/share/Vellumark/問題.dat")),
              QByteArray(" 2 \r\nA\r\nB\r\n\x88\xa4\r\n\x88\xa5\r\n"));
    store.RestoreFactoryProblems();
    EXPECT_EQ(tree.Read(QStringLiteral("home/.local/share/Vellumark/問題.dat")), FactoryBytes);
    EXPECT_EQ(store.ProblemCount(), 1);
    EXPECT_EQ(tree.Read(QStringLiteral("usr/share/vellumark/問題.org")), FactoryBytes);
}
