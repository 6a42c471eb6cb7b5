#include "shell/AppError.h"
#include "store/ProblemFileFormat.h"
#include "store/ProblemStore.h"
#include "tests/support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QStringEncoder>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
void PrintTo(const QByteArray& bytes, std::ostream* out) { *out << '[' << bytes.toHex(' ').toStdString() << ']'; }

namespace {

template <typename Case>
    requires requires(const Case& c) { c.name; }
void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }
const auto CaseName = [](const auto& param) { return std::string(param.param.name); };

QStringList Texts(const std::vector<const char*>& utf8)
{
    QStringList texts;
    for (const char* text : utf8)
        texts.append(QString::fromUtf8(text));
    return texts;
}

const QString Dat = QStringLiteral("/data/問題.dat");
const QString Org = QStringLiteral("/data/問題.org");

// Items of n generated pairs: distinct kanji that code page 932 has, in order.
QStringList Pairs(int n)
{
    static const QStringList kanji = [] {
        QStringList list;
        for (char16_t code = 0x4E00; list.size() < 2 * 81; ++code) {
            QStringEncoder encoder("Shift_JIS");  // fresh: a reused one stops reporting errors
            const QByteArray bytes = encoder.encode(QString(QChar{code}));
            if (!encoder.hasError())
                list.append(QString(QChar{code}));
        }
        return list;
    }();
    return kanji.first(2 * n);
}

// The file the writer must produce, spelled out independently of it.
QByteArray FileOf(const QStringList& items)
{
    QByteArray bytes = " " + QByteArray::number(items.size() / 2) + " \r\n";
    for (const QString& item : items)
        bytes += Cp932(item) + "\r\n";
    return bytes;
}

QStringList Table(const ProblemStore& store)
{
    QStringList items;
    for (int n = 1; n <= store.ProblemCount(); ++n)
        items << store.ProblemTable(1, n) << store.ProblemTable(2, n);
    return items;
}

AppError ErrorOf(const std::function<void()>& op)
{
    try {
        op();
    } catch (const AppError& error) {
        return error;
    }
    ADD_FAILURE() << "no error";
    return AppError(0, QString());
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
    ProblemStore store{dir.Path()};
};

TEST_F(Store, WritesExactBytes)
{
    store.SaveProblemFile();
    EXPECT_EQ(dir.Read(Dat), QByteArray("\x20\x30\x20\x0d\x0a"));
    store.AddPair(QStringLiteral("未"), QStringLiteral("末"));
    EXPECT_EQ(dir.Read(Dat), QByteArray("\x20\x31\x20\x0d\x0a\x96\xa2\x0d\x0a\x96\x96\x0d\x0a"));
    EXPECT_EQ(store.PairCaption(1), QStringLiteral("未 末"));
    for (int n = 79; n >= 1; --n)
        store.AddPair(Pairs(n).at(2 * n - 2), Pairs(n).at(2 * n - 1));
    EXPECT_TRUE(dir.Read(Dat).startsWith(QByteArray("\x20\x38\x30\x20\x0d\x0a")));
    EXPECT_EQ(dir.Read(Dat), FileOf(Pairs(79) << QStringLiteral("未") << QStringLiteral("末")));
}

class Adding : public Store, public ::testing::WithParamInterface<int> {};

TEST_P(Adding, PutsTheNewPairFirstAndDropsTheEightieth)
{
    LoadWith(Pairs(GetParam()));
    store.AddPair(QStringLiteral("鳥"), QStringLiteral("烏"));
    const QStringList expected = QStringList{QStringLiteral("鳥"), QStringLiteral("烏")} + Pairs(std::min(GetParam(), 79));
    EXPECT_EQ(dir.Read(Dat), FileOf(expected));
    EXPECT_EQ(Table(store), expected);
}
INSTANTIATE_TEST_SUITE_P(Counts, Adding, ::testing::Values(5, 80));

TEST_F(Store, AddingMovesAllColumnsAndLoadingLeavesThoseAboveTheCount)
{
    LoadWith(Pairs(3));
    dir.Write(Dat, " 0 \r\n");
    store.LoadProblemFile();
    EXPECT_EQ(store.PairCaption(3), Pairs(3).at(4) + QStringLiteral(" ") + Pairs(3).at(5));
    store.AddPair(QStringLiteral("鳥"), QStringLiteral("烏"));
    EXPECT_EQ(store.ProblemCount(), 1);
    EXPECT_EQ(store.PairCaption(4), Pairs(3).at(4) + QStringLiteral(" ") + Pairs(3).at(5));
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
    EXPECT_EQ(store.ProblemTable(2, pairs), Pairs(pairs).last());
}
INSTANTIATE_TEST_SUITE_P(FirstMiddleLast, Deleting, ::testing::Values(std::pair{3, 1}, std::pair{5, 3}, std::pair{4, 4}));

struct FormCase {
    const char* name;
    QByteArray bytes;
    std::vector<const char*> items;
};
class ReaderForm : public ::testing::TestWithParam<FormCase> {};

TEST_P(ReaderForm, ReadsThePairs)
{
    const ProblemFile::Reading reading = ProblemFile::Read(GetParam().bytes);
    ASSERT_FALSE(reading.fault) << reading.fault->text.toStdString();
    EXPECT_EQ(reading.contents.items, Texts(GetParam().items));
}
INSTANTIATE_TEST_SUITE_P(
    Files, ReaderForm,
    ::testing::Values(FormCase{"QuotedPairOnOneLine", Cp932(QStringLiteral(" 1 \r\n\"未\",\"末\"\r\n")), {"未", "末"}},
                      FormCase{"CountWithoutSpaces", Cp932(QStringLiteral("1\r\n未\r\n末\r\n")), {"未", "末"}},
                      FormCase{"CountAndComma", Cp932(QStringLiteral("001,\r\n未\r\n末")), {"未", "末"}},
                      FormCase{"LeadingSpaces", Cp932(QStringLiteral("   1 \r\n   未\r\n  末\r\n")), {"未", "末"}},
                      FormCase{"EmptyLines", " 2 \r\n\r\n\r\nA\r\n\r\n", {"", "", "A", ""}},
                      FormCase{"LineFeedAlone", Cp932(QStringLiteral(" 1 \n未\n末\n")), {"未", "末"}},
                      FormCase{"LoneComma", " 2 \r\n,\r\nA\r\nB\r\nC\r\n", {"", "", "A", "B"}},
                      FormCase{"QuotedSpansLinesRestSkipped", " 1 \r\n\"A\r\nB\" x\r\nC \r\n\xff", {"A\r\nB", "C "}}),
    CaseName);

struct RoundTripCase {
    const char* name;
    QString item;
    QByteArray line;
};
class RoundTrip : public Store, public ::testing::WithParamInterface<RoundTripCase> {};

TEST_P(RoundTrip, ReadsBackAsWritten)
{
    LoadWith(Pairs(1));
    store.AddPair(GetParam().item, GetParam().item);
    EXPECT_EQ(dir.Read(Dat), " 2 \r\n" + GetParam().line + "\r\n" + GetParam().line + "\r\n" + Cp932(Pairs(1).join(QStringLiteral("\r\n"))) + "\r\n");
    EXPECT_EQ(Table(store), QStringList({GetParam().item, GetParam().item}) + Pairs(1));
}
INSTANTIATE_TEST_SUITE_P(Characters, RoundTrip,
                         ::testing::Values(RoundTripCase{"Comma", QStringLiteral(","), "\",\""},
                                           RoundTripCase{"Space", QStringLiteral(" "), "\" \""},
                                           RoundTripCase{"TrailingSpace", QStringLiteral("未 "), "\"\x96\xa2 \""},
                                           RoundTripCase{"FullwidthTilde", QStringLiteral("～"), "\x81\x60"},
                                           RoundTripCase{"CircledOne", QStringLiteral("①"), "\x87\x40"},
                                           RoundTripCase{"IbmKanji", QStringLiteral("髙"), "\xfb\xfc"},
                                           RoundTripCase{"HalfwidthKana", QStringLiteral("ｱ"), "\xb1"}),
                         CaseName);

struct RefusalCase {
    const char* name;
    QString first, second;
};
class Refusal : public Store, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(Refusal, ChangesNeitherMemoryNorFile)
{
    LoadWith(Pairs(80));
    EXPECT_THROW(store.AddPair(GetParam().first, GetParam().second), InputRefused);
    EXPECT_EQ(dir.Read(Dat), FileOf(Pairs(80)));
    EXPECT_EQ(Table(store), Pairs(80));
}
INSTANTIATE_TEST_SUITE_P(Characters, Refusal,
                         ::testing::Values(RefusalCase{"DoubleQuote", QStringLiteral("未"), QStringLiteral("\"")},
                                           RefusalCase{"Emoji", QStringLiteral("😀"), QStringLiteral("未")},
                                           RefusalCase{"OutsideBasicPlane", QStringLiteral("𠮷"), QStringLiteral("吉")},
                                           RefusalCase{"WaveDash", QStringLiteral("未"), QStringLiteral("〜")},
                                           // Encodes to nothing, without an error flag.
                                           RefusalCase{"LoneSurrogate", QString(QChar(0xD800)), QStringLiteral("未")}),
                         CaseName);

struct DamageCase {
    const char* name;
    QByteArray bytes;
    int number;
    int line;
};
class DamagedFile : public Store, public ::testing::WithParamInterface<DamageCase> {};

TEST_P(DamagedFile, NamesFileAndLineAndChangesNothing)
{
    const DamageCase& c = GetParam();
    LoadWith(Pairs(3));
    dir.Write(Dat, c.bytes);
    const AppError error = ErrorOf([&] { store.LoadProblemFile(); });
    EXPECT_EQ(error.number(), c.number) << error.what();
    EXPECT_TRUE(error.description().startsWith(QStringLiteral("問題ファイル「%1」の %2 行目: ").arg(Shown(Dat)).arg(c.line)))
        << error.what();
    EXPECT_EQ(dir.Read(Dat), c.bytes);
    EXPECT_EQ(Table(store), Pairs(3));
}
INSTANTIATE_TEST_SUITE_P(
    Files, DamagedFile,
    ::testing::Values(DamageCase{"Empty", "", AppError::InputPastEndOfFile, 1},
                      DamageCase{"CountAbove80", FileOf(Pairs(81)), AppError::SubscriptOutOfRange, 1},
                      DamageCase{"NegativeCount", " -1 \r\n", AppError::BadFileContents, 1},
                      DamageCase{"CountNotANumber", "\r\n2\r\nA\r\nB\r\n", AppError::TypeMismatch, 1},
                      DamageCase{"FewerItems", " 2 \r\nA\r\nB\r\nC\r\n", AppError::InputPastEndOfFile, 5},
                      DamageCase{"InvalidBytes", " 1 \r\nA\r\n\x85\x40\r\n", AppError::BadFileContents, 3},
                      DamageCase{"CutOffLeadByte", " 1 \r\nA\r\n\x96", AppError::BadFileContents, 3},
                      DamageCase{"OpenQuote", " 1 \n\"A\nB\n", AppError::InputPastEndOfFile, 2},
                      DamageCase{"LinesInsideQuotes", " 1 \n\"A\n\"\n\xa0\n", AppError::BadFileContents, 4}),
    CaseName);

TEST_F(Store, SaveThatCannotWriteKeepsTheOldFilesAndReports)
{
    LoadWith(Pairs(2));
    TempAppDir blocked;  // its "data" becomes a regular file, which stops even root
    QDir(blocked.Path()).rmdir(QStringLiteral("data/音"));
    QDir(blocked.Path()).rmdir(QStringLiteral("data"));
    blocked.Write(QStringLiteral("/data"), "not a folder");
    store.SetAppDir(blocked.Path());
    const AppError error = ErrorOf([&] { store.AddPair(QStringLiteral("鳥"), QStringLiteral("烏")); });
    EXPECT_TRUE(error.description().contains(QDir::toNativeSeparators(blocked.Path() + Dat))) << error.what();
    EXPECT_FALSE(error.description().endsWith(QStringLiteral(": "))) << error.what();
    EXPECT_EQ(blocked.Read(QStringLiteral("/data")), "not a folder");
    EXPECT_EQ(QDir(blocked.Path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{QStringLiteral("data")});
    EXPECT_EQ(Table(store), Pairs(2));
    EXPECT_EQ(dir.Read(Dat), FileOf(Pairs(2)));
}

TEST_F(Store, WrongCallsAreErrorsThatChangeNothing)
{
    LoadWith(Pairs(3));
    for (const int n : {0, 4, -1})
        EXPECT_EQ(ErrorOf([&] { store.DeletePair(static_cast<std::int16_t>(n)); }).number(), AppError::SubscriptOutOfRange);
    for (const auto& [row, column] : {std::pair{-1, 1}, {3, 1}, {1, -1}, {1, 81}})
        EXPECT_EQ(ErrorOf([&] { store.ProblemTable(row, column); }).number(), AppError::SubscriptOutOfRange);
    EXPECT_EQ(dir.Read(Dat), FileOf(Pairs(3)));
    EXPECT_EQ(Table(store), Pairs(3));
}

TEST_F(Store, FactoryResetCopiesTheBytesOnlyWhenTheyReadFaithfully)
{
    for (const QByteArray& bad : {QByteArray(" 3 \r\nA\r\nB\r\n"), QByteArray(" 1 \r\nA\r\n\xef\xbd\x9e\r\n")}) {
        dir.Write(Org, bad);
        LoadWith(Pairs(5));
        const AppError error = ErrorOf([&] { store.RestoreFactoryProblems(); });
        EXPECT_TRUE(error.description().contains(Shown(Org))) << error.what();
        EXPECT_EQ(dir.Read(Dat), FileOf(Pairs(5)));
        EXPECT_EQ(Table(store), Pairs(5));
    }
    const QByteArray factory = Cp932(QStringLiteral(" 2 \n\"未\",\"末\"\n土\n士\n"));
    dir.Write(Org, factory);
    store.RestoreFactoryProblems();
    EXPECT_EQ(dir.Read(Dat), factory);
    EXPECT_EQ(Table(store), Texts({"未", "末", "土", "士"}));
}

TEST_F(Store, MissingOrHugeFilesAreErrors)
{
    EXPECT_EQ(ErrorOf([&] { store.LoadProblemFile(); }).number(), AppError::FileNotFound);
    EXPECT_EQ(ErrorOf([&] { store.RestoreFactoryProblems(); }).number(), AppError::FileNotFound);
    EXPECT_FALSE(dir.Exists(Dat));
    dir.Write(Dat, " 1 \r\nA\r\nB\r\n" + QByteArray(2 << 20, 'x'));
    EXPECT_EQ(ErrorOf([&] { store.LoadProblemFile(); }).number(), AppError::BadFileContents);
}

TEST(FactorySet, HoldsDistinctLookAlikePairsAsTheWriterWritesThem)
{
    QFile file(QStringLiteral(VELLUMARK_SOURCE_DIR "/data/問題.org"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const ProblemFile::Contents contents = ProblemFile::Read(bytes).contents;
    EXPECT_GE(contents.count, 60);
    EXPECT_EQ(ProblemFile::Write(contents.count, contents.items).bytes, bytes);
    QSet<QString> seen;
    for (qsizetype i = 0; i + 1 < contents.items.size(); i += 2) {
        const QString& a = contents.items.at(i);
        const QString& b = contents.items.at(i + 1);
        EXPECT_TRUE(a.toUcs4().size() == 1 && b.toUcs4().size() == 1 && a != b) << "pair " << i / 2 + 1;
        EXPECT_FALSE(seen.contains(std::min(a, b) + std::max(a, b))) << "pair " << i / 2 + 1 << " twice";
        seen.insert(std::min(a, b) + std::max(a, b));
    }
}

} // namespace
