// SPDX-License-Identifier: MIT
#include "core/AppError.h"
#include "store/FileTrouble.h"
#include "store/ProblemStore.h"
#include "tests/support/TempDir.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <functional>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
void PrintTo(const QByteArray& bytes, std::ostream* out) { *out << '[' << bytes.toHex(' ').toStdString() << ']'; }

namespace {

template <typename Case>
    requires requires(const Case& c) { c.name; }
void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

// The items of n distinct pairs.
QStringList Pairs(int n) { return ManyPairs(n).split(QString(), Qt::SkipEmptyParts); }

QStringList DataFolder(const TempAppDir& dir)
{
    return QDir(dir.Path() + QStringLiteral("/data")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System | QDir::Hidden);
}

class Store : public ::testing::Test {
protected:
    void LoadWith(const QStringList& items)
    {
        dir.Write(Dat, FileOf(items));
        store.LoadProblemFile();
        ASSERT_EQ(Table(store), items);
    }
    QString Shown(const QString& suffix) const { return QDir::toNativeSeparators(dir.Path() + suffix); }

    TempAppDir dir;
    ProblemStore store{StoreIn(dir)};
};

class Adding : public Store, public ::testing::WithParamInterface<int> {};

TEST_P(Adding, PutsTheNewPairFirstAndDropsTheEightieth)
{
    LoadWith(Pairs(GetParam()));
    store.AddPair(QStringLiteral("鳥"), QStringLiteral("烏"));
    const QStringList expected = Items("鳥|烏") + Pairs(std::min(GetParam(), 79));
    EXPECT_EQ(dir.Read(Dat), FileOf(expected));
    EXPECT_EQ(Table(store), expected);
}
// 79 fills the table to 80, which must be written whole.
INSTANTIATE_TEST_SUITE_P(Counts, Adding, ::testing::Values(5, 79, 80));

TEST_F(Store, AddingMovesAllColumnsAndLoadingLeavesThoseAboveTheCount)
{
    LoadWith(Pairs(3));
    dir.Write(Dat, " 0 \r\n");
    store.LoadProblemFile();
    store.AddPair(QStringLiteral("鳥"), QStringLiteral("烏"));
    EXPECT_EQ(store.ProblemCount(), 1);
    EXPECT_EQ(store.PairCaption(4), Pairs(3).sliced(4).join(u' '));
}

class Deleting : public Store, public ::testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(Deleting, ClosesTheGapAndLeavesTheFormerLastColumn)
{
    const auto [pairs, deleted] = GetParam();
    LoadWith(Pairs(pairs));
    store.DeletePair(static_cast<std::int16_t>(deleted));
    QStringList expected = Pairs(pairs);
    expected.remove(2 * (deleted - 1), 2);
    EXPECT_EQ(dir.Read(Dat), FileOf(expected));
    EXPECT_EQ(Table(store), expected);
    EXPECT_EQ(store.PairCaption(static_cast<std::int16_t>(pairs)), Pairs(pairs).sliced(2 * pairs - 2).join(u' '));
}
// Deleting the only pair leaves a count of 0 and nothing else.
INSTANTIATE_TEST_SUITE_P(FirstMiddleLastOnly, Deleting,
                         ::testing::Values(std::pair{3, 1}, std::pair{5, 3}, std::pair{4, 4}, std::pair{1, 1}));

// line: how the item is written, or null when the store must refuse it.
struct CharacterCase {
    const char* name;
    QString item;
    const char* line;
};
class Character : public Store, public ::testing::WithParamInterface<CharacterCase> {};

TEST_P(Character, ReadsBackAsWrittenOrIsRefusedChangingNothing)
{
    const auto& [name, item, line] = GetParam();
    // A full table shows a refused pair that still pushed the eightieth out.
    const QStringList before = Pairs(line ? 1 : 80);
    LoadWith(before);
    if (!line) {
        EXPECT_THROW(store.AddPair(item, QStringLiteral("未")), InputRefused);
        EXPECT_THROW(store.AddPair(QStringLiteral("未"), item), InputRefused);
        EXPECT_EQ(dir.Read(Dat), FileOf(before));
        EXPECT_EQ(Table(store), before);
        return;
    }
    store.AddPair(item, item);
    EXPECT_EQ(dir.Read(Dat), " 2 \r\n" + QByteArray(line) + "\r\n" + line + "\r\n" + FileOf(before).sliced(5));
    EXPECT_EQ(Table(store), QStringList({item, item}) + before);
}
INSTANTIATE_TEST_SUITE_P(Items, Character,
                         ::testing::Values(CharacterCase{"Comma", QStringLiteral(","), "\",\""},
                                           CharacterCase{"TrailingSpace", QStringLiteral("未 "), "\"\x96\xa2 \""},
                                           CharacterCase{"LineBreak", QStringLiteral("A\r\nB"), "\"A\r\nB\""},
                                           CharacterCase{"DoubleQuote", QStringLiteral("\""), nullptr},
                                           CharacterCase{"WaveDash", QStringLiteral("〜"), nullptr}),
                         CaseName);

TEST_F(Store, FaultsAreErrorsThatChangeNothing)
{
    EXPECT_EQ(ErrorOf([&] { store.LoadProblemFile(); }).Number(), AppError::FileNotFound);
    EXPECT_EQ(ErrorOf([&] { store.RestoreFactoryProblems(); }).Number(), AppError::FileNotFound);
    EXPECT_FALSE(dir.Exists(Dat));
    LoadWith(Pairs(3));
    for (const int n : {0, 4, -1})
        EXPECT_EQ(ErrorOf([&] { store.DeletePair(static_cast<std::int16_t>(n)); }).Number(), AppError::SubscriptOutOfRange);
    for (const auto& [row, column] : {std::pair{-1, 1}, {3, 1}, {1, -1}, {1, 81}})
        EXPECT_EQ(ErrorOf([&] { store.ProblemTable(row, column); }).Number(), AppError::SubscriptOutOfRange);
    // A path through a regular file cannot be written even by root.
    ProblemStore blocked(dir.Path() + Dat + Dat, dir.Path() + Dat + Org);
    const AppError error = ErrorOf([&] { blocked.AddPair(QStringLiteral("鳥"), QStringLiteral("烏")); });
    EXPECT_TRUE(error.Description().contains(Shown(Dat + Dat))) << error.what();
    EXPECT_FALSE(error.Description().endsWith(QStringLiteral(": "))) << error.what();
    // Nor through a folder that is not there, which the message says.
    ProblemStore gone(dir.Path() + QStringLiteral("/gone") + Dat, dir.Path() + Org);
    EXPECT_TRUE(ErrorOf([&] { gone.AddPair(QStringLiteral("鳥"), QStringLiteral("烏")); })
                    .Description().contains(QStringLiteral("見つかりません")));
    EXPECT_EQ(DataFolder(dir), Items("問題.dat|音"));
    EXPECT_EQ(dir.Read(Dat), FileOf(Pairs(3)));
    dir.Write(Dat, " 1 \r\nA\r\nB\r\n" + QByteArray(2 << 20, 'x'));
    EXPECT_EQ(ErrorOf([&] { store.LoadProblemFile(); }).Number(), AppError::BadFileContents);
    EXPECT_EQ(Table(store), Pairs(3));
}

// A factory copy that does not read faithfully is refused with the damaged files.
TEST_F(Store, FactoryResetCopiesTheBytes)
{
    const QByteArray factory = Cp932(QStringLiteral(" 2 \n\"未\",\"末\"\n土\n士\n"));
    dir.Write(Org, factory);
    store.RestoreFactoryProblems();
    EXPECT_EQ(dir.Read(Dat), factory);
    EXPECT_EQ(Table(store), Items("未|末|土|士"));
}

TEST_F(Store, AWriteThatDoesNotReachTheDiskKeepsTheOldFileAndTableAndIsAnError)
{
    dir.Write(Org, FileOf(Items("土|士")));
    LoadWith(Pairs(3));
    std::vector<int> handles;
    std::optional<QString> failure;
    ProblemStore syncing(dir.Locations().problemFile, dir.Locations().factoryFile, [&](int handle) {
        handles.push_back(handle);
        return failure ? failure : SyncToDisk(handle);
    });
    syncing.LoadProblemFile();
    syncing.DeletePair(3);
    ASSERT_EQ(handles.size(), 1u);
    EXPECT_GE(handles[0], 0) << "the written file's own descriptor";

    failure = QStringLiteral("Input/output error");
    const QByteArray before = dir.Read(Dat);
    const std::function<void()> changes[] = {[&] { syncing.AddPair(QStringLiteral("鳥"), QStringLiteral("烏")); },
                                             [&] { syncing.DeletePair(1); },
                                             [&] { syncing.RestoreFactoryProblems(); }};
    for (const auto& change : changes) {
        const AppError error = ErrorOf(change);
        EXPECT_EQ(error.Number(), AppError::DeviceIoError);
        EXPECT_TRUE(error.Description().contains(Shown(Dat)) && error.Description().contains(*failure)) << error.what();
        EXPECT_EQ(dir.Read(Dat), before);
        EXPECT_EQ(Table(syncing), Pairs(2));
    }
    EXPECT_EQ(handles.size(), 4u);
    EXPECT_EQ(DataFolder(dir), Items("問題.dat|問題.org|音")) << "no temporary copy or lock left behind";
}

// An edit from outside, then a deletion of the file. That the change made again
// keeps another copy's is the link test's two copies.
TEST_F(Store, AChangeOverAFileChangedElsewhereIsNotMadeAndTheFileIsReadAgain)
{
    LoadWith(Pairs(3));
    dir.Write(Dat, FileOf(Items("日|曰")));
    const ProblemFileChanged error = ErrorOf<ProblemFileChanged>([&] { store.DeletePair(1); });
    EXPECT_EQ(error.Number(), AppError::ChangedElsewhere);
    EXPECT_TRUE(error.Description().contains(Shown(Dat))) << error.what();
    EXPECT_EQ(Table(store), Items("日|曰"));
    EXPECT_EQ(dir.Read(Dat), FileOf(Items("日|曰")));
    QFile::remove(dir.Path() + Dat);
    EXPECT_EQ(ErrorOf<ProblemFileUnusable>([&] { store.DeletePair(1); }).Number(), AppError::FileNotFound);
    EXPECT_FALSE(dir.Exists(Dat));
    EXPECT_EQ(Table(store), Items("日|曰"));
}

#ifdef Q_OS_UNIX
TEST_F(Store, ANamedPipeInPlaceOfAFileIsAnErrorNotAHang)
{
    LoadWith(Pairs(3));
    for (const QString& suffix : {Dat, Org}) {
        SCOPED_TRACE(suffix.toStdString());
        QFile::remove(dir.Path() + suffix);
        ASSERT_EQ(mkfifo(QFile::encodeName(dir.Path() + suffix).constData(), 0600), 0);
        try {
            suffix == Dat ? store.LoadProblemFile() : store.RestoreFactoryProblems();
            ADD_FAILURE() << "no error";
        } catch (const ProblemFileUnusable&) {
            ADD_FAILURE() << "a factory reset would not help";
        } catch (const AppError& error) {
            EXPECT_EQ(error.Number(), AppError::PathFileAccessError);
            EXPECT_TRUE(error.Description().contains(Shown(suffix))
                        && error.Description().contains(QStringLiteral("普通のファイルではありません")))
                << error.what();
        }
    }
    EXPECT_EQ(Table(store), Pairs(3));
}
#endif

// The system's own reason is passed on, unless it says nothing.
TEST(FileTroubles, PassOnTheSystemsReasonOnlyWhenItSaysSomething)
{
    EXPECT_TRUE(FileTroubleText(FileTrouble::Other, QStringLiteral("Disk quota exceeded")).contains(QStringLiteral("Disk quota exceeded")));
    for (const char* silent : {"Unknown error", " ", ""})
        EXPECT_FALSE(FileTroubleText(FileTrouble::Other, QLatin1String(silent)).contains(QStringLiteral("システムからの報告"))) << silent;
}

TEST_F(Store, APathOverTheLimitIsCalledTooLong)
{
    LoadWith(Pairs(3));
    // A name the system refuses outright, and one it takes but leaves no room beside.
    for (const int length : {300, 250}) {
        SCOPED_TRACE(length);
        const QString path = dir.Path() + QStringLiteral("/data/") + QString(length, QLatin1Char('n'));
        if (length < 255)
            QFile::copy(dir.Path() + Dat, path);
        ProblemStore far(path, dir.Locations().factoryFile);
        const AppError error = ErrorOf([&] {
            far.LoadProblemFile();
            far.DeletePair(1);
        });
        EXPECT_TRUE(error.Description().contains(QDir::toNativeSeparators(path))
                    && error.Description().contains(QStringLiteral("パスが長すぎます")))
            << error.what();
    }
}

TEST_F(Store, ADamagedFileIsSetAsideBesideItselfAndTheFactorySetRestored)
{
    const QByteArray factory = FileOf(Items("土|士"));
    dir.Write(Org, factory);
    const QDateTime when(QDate(2026, 12, 7), QTime(1, 30, 0));
    const QString setAsideName = QStringLiteral("問題.dat.壊れていたもの-20261207-013000");

    EXPECT_THROW(store.LoadProblemFile(), ProblemFileUnusable);
    EXPECT_EQ(store.SetAsideAndRestoreFactory(when), QString()) << "a missing file is simply restored";
    EXPECT_EQ(dir.Read(Dat), factory);
    for (const QByteArray& damaged : {QByteArray(" 2 \r\nA\r\n"), QByteArray(" 1 \r\n\"A\r\n")}) {
        dir.Write(Dat, damaged);
        EXPECT_THROW(store.LoadProblemFile(), ProblemFileUnusable);
        store.SetAsideAndRestoreFactory(when);
        EXPECT_EQ(dir.Read(Dat), factory);
        EXPECT_EQ(Table(store), Items("土|士"));
    }
    EXPECT_EQ(DataFolder(dir), QStringList({QStringLiteral("問題.dat"), setAsideName, setAsideName + QStringLiteral("-2"),
                                            QStringLiteral("問題.org"), QStringLiteral("音")}));
    EXPECT_EQ(dir.Read(QStringLiteral("/data/") + setAsideName), " 2 \r\nA\r\n");
    EXPECT_EQ(dir.Read(QStringLiteral("/data/") + setAsideName + QStringLiteral("-2")), " 1 \r\n\"A\r\n");

    // A factory copy that cannot be read touches nothing.
    dir.Write(Dat, "x");
    EXPECT_THROW(store.LoadProblemFile(), ProblemFileUnusable);
    dir.Write(Org, " 3 \r\n");
    EXPECT_THROW(store.SetAsideAndRestoreFactory(when), AppError);
    EXPECT_EQ(dir.Read(Dat), "x");
    EXPECT_EQ(DataFolder(dir).size(), 5);
}

} // namespace
