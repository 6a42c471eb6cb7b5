#include "shell/AppError.h"
#include "store/ProblemStore.h"
#include "tests/store/Printers.h"
#include "tests/support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>

#include <gtest/gtest.h>

#include <functional>

namespace {

const QString Dat = QStringLiteral("/data/問題.dat");
const QString Org = QStringLiteral("/data/問題.org");

// Pair n of a generated table: two different kanji per pair, all distinct, taken
// in order from the kanji that code page 932 has.
const QString& GeneratedCharacter(int index)
{
    static const QStringList characters = [] {
        QStringList list;
        for (char16_t code = 0x4E00; list.size() < 2 * 81; ++code) {
            const QString character(QChar{code});
            // A fresh encoder each time: a reused or reassigned one stops reporting errors.
            QStringEncoder encoder("Shift_JIS");
            const QByteArray bytes = encoder.encode(character);
            if (!encoder.hasError())
                list.append(character);
        }
        return list;
    }();
    return characters.at(index);
}
QString NthFirst(int n)
{
    return GeneratedCharacter(2 * n - 2);
}
QString NthSecond(int n)
{
    return GeneratedCharacter(2 * n - 1);
}

// The file the writer must produce, spelled out independently of it.
QByteArray FileOf(const QStringList& items)
{
    QByteArray bytes = " " + QByteArray::number(items.size() / 2) + " \r\n";
    for (const QString& item : items)
        bytes += Cp932(item) + "\r\n";
    return bytes;
}

QStringList GeneratedItems(int pairs)
{
    QStringList items;
    for (int n = 1; n <= pairs; ++n)
        items << NthFirst(n) << NthSecond(n);
    return items;
}

QStringList TableItems(const ProblemStore& store)
{
    QStringList items;
    for (int n = 1; n <= store.ProblemCount(); ++n)
        items << store.ProblemTable(1, n) << store.ProblemTable(2, n);
    return items;
}

class Store : public ::testing::Test {
protected:
    // A store loaded from a file holding the given pairs.
    void LoadWith(const QStringList& items)
    {
        dir.Write(Dat, FileOf(items));
        store.LoadProblemFile();
        ASSERT_EQ(TableItems(store), items);
    }

    TempAppDir dir;
    ProblemStore store{dir.Path()};
};

TEST_F(Store, EmptyStoreWritesOnlyTheCountLine)
{
    store.SaveProblemFile();
    EXPECT_EQ(dir.Read(Dat), QByteArray("\x20\x30\x20\x0d\x0a"));
}

TEST_F(Store, OnePairIsWrittenByteForByte)
{
    store.AddPair(QStringLiteral("未"), QStringLiteral("末"));
    EXPECT_EQ(dir.Read(Dat), QByteArray("\x20\x31\x20\x0d\x0a\x96\xa2\x0d\x0a\x96\x96\x0d\x0a"));
    EXPECT_EQ(store.ProblemCount(), 1);
    EXPECT_EQ(store.PairCaption(1), QStringLiteral("未 末"));
}

TEST_F(Store, EightyPairsAreWrittenByteForByte)
{
    for (int n = 80; n >= 1; --n)
        store.AddPair(NthFirst(n), NthSecond(n));
    const QByteArray bytes = dir.Read(Dat);
    EXPECT_TRUE(bytes.startsWith(QByteArray("\x20\x38\x30\x20\x0d\x0a")));
    EXPECT_EQ(bytes, FileOf(GeneratedItems(80)));
    EXPECT_EQ(store.ProblemCount(), 80);
}

TEST_F(Store, AddingToFivePairsWritesSixInOrder)
{
    LoadWith(GeneratedItems(5));
    store.AddPair(QStringLiteral("鳥"), QStringLiteral("烏"));
    const QStringList expected = QStringList{QStringLiteral("鳥"), QStringLiteral("烏")} + GeneratedItems(5);
    EXPECT_EQ(dir.Read(Dat), FileOf(expected));
    EXPECT_EQ(TableItems(store), expected);
}

TEST_F(Store, AddingToEightyKeepsEightyAndDropsTheOldest)
{
    LoadWith(GeneratedItems(80));
    store.AddPair(QStringLiteral("鳥"), QStringLiteral("烏"));
    const QStringList expected = QStringList{QStringLiteral("鳥"), QStringLiteral("烏")} + GeneratedItems(79);
    EXPECT_EQ(store.ProblemCount(), 80);
    EXPECT_EQ(dir.Read(Dat), FileOf(expected));
    EXPECT_EQ(TableItems(store), expected);
}

TEST_F(Store, AddingAlwaysMovesAllColumns)
{
    // Column 3 holds a leftover from the 3-pair file; after loading 1 pair and
    // adding one, the leftover sits in column 4, above the count.
    LoadWith(GeneratedItems(3));
    LoadWith(GeneratedItems(1));
    store.AddPair(QStringLiteral("鳥"), QStringLiteral("烏"));
    EXPECT_EQ(store.ProblemCount(), 2);
    EXPECT_EQ(store.ProblemTable(1, 4), NthFirst(3));
    EXPECT_EQ(store.ProblemTable(2, 4), NthSecond(3));
}

struct DeleteCase {
    const char* name;
    int pairs;
    int deleted;
};

class Deleting : public Store, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(Deleting, ClosesTheGapAndLeavesTheFormerLastColumn)
{
    const DeleteCase& c = GetParam();
    LoadWith(GeneratedItems(c.pairs));
    store.DeletePair(static_cast<std::int16_t>(c.deleted));

    QStringList expected = GeneratedItems(c.pairs);
    expected.remove(2 * (c.deleted - 1), 2);
    EXPECT_EQ(store.ProblemCount(), c.pairs - 1);
    EXPECT_EQ(dir.Read(Dat), FileOf(expected));
    EXPECT_EQ(TableItems(store), expected);
    EXPECT_EQ(store.ProblemTable(1, c.pairs), NthFirst(c.pairs));
    EXPECT_EQ(store.ProblemTable(2, c.pairs), NthSecond(c.pairs));
}

INSTANTIATE_TEST_SUITE_P(Pairs, Deleting,
                         ::testing::Values(DeleteCase{"First", 3, 1}, DeleteCase{"Middle", 5, 3}, DeleteCase{"Last", 4, 4},
                                           DeleteCase{"Only", 1, 1}, DeleteCase{"LastOfFull", 80, 80}),
                         CaseName());

TEST_F(Store, LoadingLeavesColumnsAboveTheCountAlone)
{
    LoadWith(GeneratedItems(4));
    dir.Write(Dat, QByteArray(" 0 \r\n"));
    store.LoadProblemFile();
    EXPECT_EQ(store.ProblemCount(), 0);
    EXPECT_EQ(store.ProblemTable(1, 4), NthFirst(4));
    EXPECT_EQ(store.PairCaption(2), NthFirst(2) + QStringLiteral(" ") + NthSecond(2));
}

struct RoundTripCase {
    const char* name;
    QString first;
    QString second;
    QByteArray line2;  // the first item's line in the file
};

class RoundTrip : public Store, public ::testing::WithParamInterface<RoundTripCase> {};

TEST_P(RoundTrip, ReadsBackAsWritten)
{
    const RoundTripCase& c = GetParam();
    LoadWith(GeneratedItems(2));
    store.AddPair(c.first, c.second);
    EXPECT_EQ(store.ProblemTable(1, 1), c.first);
    EXPECT_EQ(store.ProblemTable(2, 1), c.second);
    EXPECT_EQ(store.ProblemTable(1, 2), NthFirst(1));  // nothing shifted by a stray separator
    EXPECT_EQ(store.ProblemCount(), 3);

    const QByteArray bytes = dir.Read(Dat);
    EXPECT_EQ(bytes.mid(5, c.line2.size() + 2), c.line2 + "\r\n");

    ProblemStore fresh(dir.Path());
    fresh.LoadProblemFile();
    EXPECT_EQ(TableItems(fresh), TableItems(store));
}

INSTANTIATE_TEST_SUITE_P(
    Characters, RoundTrip,
    ::testing::Values(RoundTripCase{"Comma", QStringLiteral(","), QStringLiteral("、"), QByteArray("\",\"")},
                      RoundTripCase{"Space", QStringLiteral(" "), QStringLiteral("　"), QByteArray("\" \"")},
                      RoundTripCase{"LeadingSpace", QStringLiteral(" 未"), QStringLiteral("末"), QByteArray("\" \x96\xa2\"")},
                      RoundTripCase{"FullwidthTilde", QStringLiteral("～"), QStringLiteral("ー"), QByteArray("\x81\x60")},
                      RoundTripCase{"CircledOne", QStringLiteral("①"), QStringLiteral("①"), QByteArray("\x87\x40")},
                      RoundTripCase{"IbmKanji", QStringLiteral("髙"), QStringLiteral("高"), QByteArray("\xfb\xfc")},
                      RoundTripCase{"HalfwidthKana", QStringLiteral("ｱ"), QStringLiteral("ア"), QByteArray("\xb1")},
                      RoundTripCase{"HorizontalBar", QStringLiteral("―"), QStringLiteral("ー"), QByteArray("\x81\x5c")}),
    CaseName());

struct RefusedCase {
    const char* name;
    QString first;
    QString second;
};

class Refusal : public Store, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(Refusal, ChangesNeitherMemoryNorFile)
{
    const RefusedCase& c = GetParam();
    LoadWith(GeneratedItems(80));
    const QByteArray before = dir.Read(Dat);
    try {
        store.AddPair(c.first, c.second);
        FAIL() << "accepted";
    } catch (const InputRefused& refusal) {
        EXPECT_EQ(refusal.number(), AppError::CharacterRefused);
        EXPECT_FALSE(refusal.description().isEmpty());
    }
    EXPECT_EQ(dir.Read(Dat), before);
    EXPECT_EQ(store.ProblemCount(), 80);
    EXPECT_EQ(TableItems(store), GeneratedItems(80));
}

INSTANTIATE_TEST_SUITE_P(
    Characters, Refusal,
    ::testing::Values(RefusedCase{"DoubleQuoteFirst", QStringLiteral("\""), QStringLiteral("未")},
                      RefusedCase{"DoubleQuoteSecond", QStringLiteral("未"), QStringLiteral("\"")},
                      RefusedCase{"Emoji", QStringLiteral("未"), QStringLiteral("😀")},
                      RefusedCase{"OutsideTheBasicPlane", QStringLiteral("𠮷"), QStringLiteral("吉")},
                      RefusedCase{"WaveDash", QStringLiteral("〜"), QStringLiteral("～")}),
    CaseName());

// Runs op and returns the error it raised; fails the test when none was raised.
AppError ErrorOf(const std::function<void()>& op)
{
    try {
        op();
    } catch (const InputRefused&) {
        ADD_FAILURE() << "a damaged file must end the program, not be a refusal";
        throw;
    } catch (const AppError& error) {
        return error;
    }
    ADD_FAILURE() << "no error";
    return AppError(0, QString());
}

struct DamageCase {
    const char* name;
    QByteArray bytes;
    int line;
};

class DamagedProblemFile : public Store, public ::testing::WithParamInterface<DamageCase> {};

TEST_P(DamagedProblemFile, NamesFileAndLineAndLeavesEverythingAsItWas)
{
    const DamageCase& c = GetParam();
    LoadWith(GeneratedItems(3));
    dir.Write(Dat, c.bytes);
    const AppError error = ErrorOf([&] { store.LoadProblemFile(); });
    EXPECT_TRUE(error.description().contains(QDir::toNativeSeparators(dir.Path() + Dat))) << error.what();
    EXPECT_TRUE(error.description().contains(QStringLiteral("の %1 行目: ").arg(c.line))) << error.what();
    EXPECT_EQ(dir.Read(Dat), c.bytes);
    EXPECT_EQ(store.ProblemCount(), 3);
    EXPECT_EQ(TableItems(store), GeneratedItems(3));
}

INSTANTIATE_TEST_SUITE_P(
    Files, DamagedProblemFile,
    ::testing::Values(DamageCase{"CountAbove80", FileOf(GeneratedItems(81)), 1},
                      DamageCase{"NegativeCount", QByteArray(" -2 \r\n"), 1},
                      DamageCase{"CountNotANumber", Cp932(QStringLiteral("二\r\n未\r\n末\r\n")), 1},
                      DamageCase{"FewerItemsThanAnnounced", Cp932(QStringLiteral(" 2 \r\n未\r\n末\r\n土\r\n")), 5},
                      DamageCase{"InvalidBytes", QByteArray(" 1 \r\n\x96\xa2\r\n\x85\x40\r\n"), 3},
                      DamageCase{"CutOffCharacter", QByteArray(" 1 \r\n\x96\xa2\r\n\x96"), 3}),
    CaseName());

TEST_F(Store, MissingProblemFileIsNamed)
{
    const AppError error = ErrorOf([&] { store.LoadProblemFile(); });
    EXPECT_EQ(error.number(), AppError::FileNotFound);
    EXPECT_TRUE(error.description().contains(QDir::toNativeSeparators(dir.Path() + Dat))) << error.what();
    EXPECT_FALSE(dir.Exists(Dat));
}

TEST_F(Store, OutOfRangeCallsAreErrorsThatChangeNothing)
{
    LoadWith(GeneratedItems(3));
    const QByteArray before = dir.Read(Dat);
    for (const int n : {0, 4, -1, 80}) {
        const AppError error = ErrorOf([&] { store.DeletePair(static_cast<std::int16_t>(n)); });
        EXPECT_EQ(error.number(), AppError::SubscriptOutOfRange) << n;
    }
    EXPECT_EQ(dir.Read(Dat), before);
    EXPECT_EQ(TableItems(store), GeneratedItems(3));

    for (const auto& [row, column] : {std::pair{-1, 1}, {3, 1}, {1, -1}, {1, 81}})
        EXPECT_EQ(ErrorOf([&] { store.ProblemTable(row, column); }).number(), AppError::SubscriptOutOfRange);
    EXPECT_EQ(ErrorOf([&] { store.PairCaption(81); }).number(), AppError::SubscriptOutOfRange);
    EXPECT_NO_THROW(store.ProblemTable(2, 80));
    EXPECT_NO_THROW(store.ProblemTable(0, 0));
}

TEST_F(Store, SaveIntoAnUnwritableFolderKeepsTheOldFileAndReports)
{
    LoadWith(GeneratedItems(2));
    // The new folder's "data" is a regular file, so nothing can be created below it
    // (even for root).
    TempAppDir blocked;
    QDir(blocked.Path()).rmdir(QStringLiteral("data/音"));
    QDir(blocked.Path()).rmdir(QStringLiteral("data"));
    QFile plain(blocked.Path() + QStringLiteral("/data"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.write("not a folder");
    plain.close();

    store.SetAppDir(blocked.Path());
    const AppError error = ErrorOf([&] { store.AddPair(QStringLiteral("鳥"), QStringLiteral("烏")); });
    EXPECT_TRUE(error.description().contains(QDir::toNativeSeparators(blocked.Path() + Dat))) << error.what();
    EXPECT_FALSE(error.description().endsWith(QStringLiteral(": "))) << "the reason is missing: " << error.what();
    EXPECT_EQ(blocked.Read(QStringLiteral("/data")), QByteArray("not a folder"));
    EXPECT_EQ(QDir(blocked.Path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{QStringLiteral("data")});
    // Memory still holds what the file it came from holds.
    EXPECT_EQ(TableItems(store), GeneratedItems(2));
    EXPECT_EQ(dir.Read(Dat), FileOf(GeneratedItems(2)));
}

TEST_F(Store, SaveLeavesNoTemporaryFileBehind)
{
    LoadWith(GeneratedItems(2));
    store.DeletePair(1);
    EXPECT_EQ(QDir(dir.Path() + QStringLiteral("/data")).entryList(QDir::Files), QStringList{QStringLiteral("問題.dat")});
}

TEST_F(Store, FactoryResetCopiesTheFactoryBytes)
{
    LoadWith(GeneratedItems(5));
    const QByteArray factory = Cp932(QStringLiteral(" 2 \r\n\"未\",\"末\"\r\n土\r\n士\r\n"));
    dir.Write(Org, factory);
    store.RestoreFactoryProblems();
    EXPECT_EQ(dir.Read(Dat), factory);
    EXPECT_EQ(dir.Read(Org), factory);
    EXPECT_EQ(TableItems(store), (QStringList{QStringLiteral("未"), QStringLiteral("末"), QStringLiteral("土"), QStringLiteral("士")}));
}

TEST_F(Store, FactoryResetWorksWithoutAProblemFile)
{
    dir.Write(Org, FileOf(GeneratedItems(3)));
    store.RestoreFactoryProblems();
    EXPECT_EQ(dir.Read(Dat), FileOf(GeneratedItems(3)));
    EXPECT_EQ(store.ProblemCount(), 3);
}

struct FactoryDamageCase {
    const char* name;
    std::optional<QByteArray> factory;  // nothing: missing
    int number;
};

class DamagedFactoryCopy : public Store, public ::testing::WithParamInterface<FactoryDamageCase> {};

TEST_P(DamagedFactoryCopy, NeverReplacesTheUsersFile)
{
    const FactoryDamageCase& c = GetParam();
    LoadWith(GeneratedItems(5));
    if (c.factory)
        dir.Write(Org, *c.factory);
    const AppError error = ErrorOf([&] { store.RestoreFactoryProblems(); });
    EXPECT_EQ(error.number(), c.number) << error.what();
    EXPECT_TRUE(error.description().contains(QDir::toNativeSeparators(dir.Path() + Org))) << error.what();
    EXPECT_EQ(dir.Read(Dat), FileOf(GeneratedItems(5)));
    EXPECT_EQ(TableItems(store), GeneratedItems(5));
}

INSTANTIATE_TEST_SUITE_P(
    Files, DamagedFactoryCopy,
    ::testing::Values(FactoryDamageCase{"Missing", std::nullopt, AppError::FileNotFound},
                      FactoryDamageCase{"Truncated", QByteArray(" 3 \r\nA\r\nB\r\n"), AppError::InputPastEndOfFile},
                      FactoryDamageCase{"NotCodePage932", QByteArray(" 1 \r\nA\r\n\xef\xbd\x9e\r\n"), AppError::BadFileContents}),
    CaseName());

TEST_F(Store, HugeFileIsRefusedWithoutReadingIt)
{
    QByteArray huge(" 1 \r\nA\r\nB\r\n");
    huge.append(QByteArray(2 << 20, 'x'));
    dir.Write(Dat, huge);
    const AppError error = ErrorOf([&] { store.LoadProblemFile(); });
    EXPECT_EQ(error.number(), AppError::BadFileContents);
    EXPECT_EQ(store.ProblemCount(), 0);
}

} // namespace
