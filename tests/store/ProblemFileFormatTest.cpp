#include "shell/AppError.h"
#include "store/ProblemFileFormat.h"
#include "tests/store/Printers.h"
#include "tests/support/TempDir.h"

#include <QFile>
#include <QSet>

#include <gtest/gtest.h>

namespace {

QList<QString> Items(std::initializer_list<const char*> utf8)
{
    QList<QString> items;
    for (const char* item : utf8)
        items.append(QString::fromUtf8(item));
    return items;
}

struct ReaderCase {
    const char* name;
    QByteArray bytes;
    int count;
    QList<QString> items;
};

class ReaderForms : public ::testing::TestWithParam<ReaderCase> {};

TEST_P(ReaderForms, ReadsTheSamePairs)
{
    const ReaderCase& c = GetParam();
    const ProblemFile::Reading reading = ProblemFile::Read(c.bytes);
    ASSERT_FALSE(reading.fault.has_value()) << reading.fault->text.toStdString();
    EXPECT_EQ(reading.contents.count, c.count);
    EXPECT_EQ(reading.contents.items, c.items);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ReaderForms,
    ::testing::Values(
        ReaderCase{"AsWritten", Cp932(QStringLiteral(" 2 \r\n未\r\n末\r\n土\r\n士\r\n")), 2, Items({"未", "末", "土", "士"})},
        ReaderCase{"QuotedPairOnOneLine", Cp932(QStringLiteral(" 1 \r\n\"未\",\"末\"\r\n")), 1, Items({"未", "末"})},
        ReaderCase{"CountWithoutSpaces", Cp932(QStringLiteral("1\r\n未\r\n末\r\n")), 1, Items({"未", "末"})},
        ReaderCase{"CountWithComma", Cp932(QStringLiteral("1,\r\n未\r\n末\r\n")), 1, Items({"未", "末"})},
        ReaderCase{"CountWithLeadingZeros", Cp932(QStringLiteral(" 001   \r\n未\r\n末\r\n")), 1, Items({"未", "末"})},
        ReaderCase{"LeadingSpaces", Cp932(QStringLiteral("   1 \r\n   未\r\n  末\r\n")), 1, Items({"未", "末"})},
        ReaderCase{"EmptyLinesAreEmptyItems", QByteArray(" 2 \r\n\r\n\r\nA\r\n\r\n"), 2, Items({"", "", "A", ""})},
        ReaderCase{"LineFeedAlone", Cp932(QStringLiteral(" 2 \n未\n末\n土\n士\n")), 2, Items({"未", "末", "土", "士"})},
        ReaderCase{"CarriageReturnAlone", Cp932(QStringLiteral(" 1 \r未\r末\r")), 1, Items({"未", "末"})},
        ReaderCase{"NoLineEndAtTheEnd", Cp932(QStringLiteral(" 1 \r\n未\r\n末")), 1, Items({"未", "末"})},
        ReaderCase{"RestOfQuotedFieldSkipped", QByteArray(" 1 \r\n\"A\" junk,\"B\"x\r\n"), 1, Items({"A", "B"})},
        ReaderCase{"QuotedSpansLines", QByteArray(" 1 \r\n\"A\r\nB\"\r\nC\r\n"), 1, Items({"A\r\nB", "C"})},
        ReaderCase{"LoneCommaIsTwoEmptyItems", QByteArray(" 2 \r\n,\r\nA\r\nB\r\nC\r\n"), 2, Items({"", "", "A", "B"})},
        ReaderCase{"InnerSpacesKept", QByteArray(" 1 \r\nA B\r\nC \r\n"), 1, Items({"A B", "C "})},
        ReaderCase{"ItemsAfterTheCountUnread", QByteArray(" 1 \r\nA\r\nB\r\nC\r\n\xff\r\n"), 1, Items({"A", "B"})},
        ReaderCase{"ZeroPairs", QByteArray(" 0 \r\n"), 0, Items({})}),
    CaseName());

struct FaultCase {
    const char* name;
    QByteArray bytes;
    int number;
    int line;
};

class DamagedFiles : public ::testing::TestWithParam<FaultCase> {};

TEST_P(DamagedFiles, AreRefusedAtTheirLine)
{
    const FaultCase& c = GetParam();
    const ProblemFile::Reading reading = ProblemFile::Read(c.bytes);
    ASSERT_TRUE(reading.fault.has_value());
    EXPECT_EQ(reading.fault->number, c.number) << reading.fault->text.toStdString();
    EXPECT_EQ(reading.fault->line, c.line) << reading.fault->text.toStdString();
    EXPECT_FALSE(reading.fault->text.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Files, DamagedFiles,
    ::testing::Values(FaultCase{"Empty", QByteArray(), AppError::InputPastEndOfFile, 1},
                      FaultCase{"CountAbove80", QByteArray(" 81 \r\n"), AppError::SubscriptOutOfRange, 1},
                      FaultCase{"HugeCount", QByteArray(" 99999999999999999999 \r\n"), AppError::SubscriptOutOfRange, 1},
                      FaultCase{"NegativeCount", QByteArray(" -1 \r\n"), AppError::BadFileContents, 1},
                      FaultCase{"CountNotANumber", QByteArray("abc\r\n"), AppError::TypeMismatch, 1},
                      FaultCase{"CountWithJunk", QByteArray(" 2x \r\n"), AppError::TypeMismatch, 1},
                      FaultCase{"EmptyCountLine", QByteArray("\r\nA\r\nB\r\n"), AppError::TypeMismatch, 1},
                      FaultCase{"FewerItems", QByteArray(" 2 \r\nA\r\nB\r\nC\r\n"), AppError::InputPastEndOfFile, 5},
                      FaultCase{"OnlyTheCount", QByteArray(" 1 \r\n"), AppError::InputPastEndOfFile, 2},
                      FaultCase{"InvalidTrailByte", QByteArray(" 1 \r\nA\r\n\x81\x20\r\n"), AppError::BadFileContents, 3},
                      FaultCase{"InvalidSingleByte", QByteArray(" 1 \r\n\xa0\r\nB\r\n"), AppError::BadFileContents, 2},
                      FaultCase{"LeadByteCutByLineEnd", QByteArray(" 1 \r\nA\r\n\x96\r\n"), AppError::BadFileContents, 3},
                      FaultCase{"LeadByteAtTheEnd", QByteArray(" 1 \r\nA\r\n\x96"), AppError::BadFileContents, 3},
                      FaultCase{"UnterminatedQuote", QByteArray(" 1 \r\nA\r\n\"B\r\n"), AppError::InputPastEndOfFile, 3},
                      FaultCase{"LineCountedInsideQuotes", QByteArray(" 2 \n\"A\nB\"\nC\n\xa0\n"), AppError::BadFileContents, 5}),
    CaseName());

// Whatever the writer accepts must come back unchanged, however the reader treats
// commas, quotes, spaces and line ends.
TEST(Writer, EveryStorableItemReadsBackAsWritten)
{
    const QList<QString> items = Items({",", " ", "  ", " 未", "末 ", "a,b", "", "\r\n", "\n", "\r", "～", "①", "髙", "ｱ",
                                        "―", "∥", "￢", "\\", "~", "ABC", "\t"});
    const ProblemFile::Writing writing = ProblemFile::Write(static_cast<std::int16_t>(items.size() / 2 + 1), items + Items({"x"}));
    ASSERT_EQ(writing.unstorableItem, -1) << writing.why.toStdString();
    const ProblemFile::Reading reading = ProblemFile::Read(writing.bytes);
    ASSERT_FALSE(reading.fault.has_value()) << reading.fault->text.toStdString();
    EXPECT_EQ(reading.contents.items, items + Items({"x"}));
}

TEST(Writer, PlainItemsAreNotQuoted)
{
    const ProblemFile::Writing writing = ProblemFile::Write(2, Items({"未", "末", "A B", ""}));
    EXPECT_EQ(writing.bytes, Cp932(QStringLiteral(" 2 \r\n未\r\n末\r\nA B\r\n\r\n")));
}

TEST(Writer, ItemsTheReaderWouldChangeAreQuoted)
{
    const ProblemFile::Writing writing = ProblemFile::Write(2, Items({",", " ", " A", "B "}));
    EXPECT_EQ(writing.bytes, QByteArray(" 2 \r\n\",\"\r\n\" \"\r\n\" A\"\r\n\"B \"\r\n"));
}

struct RefusalCase {
    const char* name;
    QString item;
};

class Unstorable : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(Unstorable, IsNamedAndNeverWritten)
{
    const RefusalCase& c = GetParam();
    EXPECT_TRUE(ProblemFile::WhyUnstorable(c.item).has_value());
    const ProblemFile::Writing writing = ProblemFile::Write(1, {QStringLiteral("未"), c.item});
    EXPECT_EQ(writing.unstorableItem, 1);
    EXPECT_TRUE(writing.bytes.isEmpty());
    EXPECT_FALSE(writing.why.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Characters, Unstorable,
                         ::testing::Values(RefusalCase{"DoubleQuote", QStringLiteral("\"")},
                                           RefusalCase{"QuoteInside", QStringLiteral("a\"b")},
                                           RefusalCase{"Emoji", QStringLiteral("😀")},
                                           RefusalCase{"OutsideTheBasicPlane", QStringLiteral("𠮷")},
                                           RefusalCase{"WaveDash", QStringLiteral("〜")},
                                           RefusalCase{"Yen", QStringLiteral("¥")},
                                           RefusalCase{"LoneSurrogate", QString(QChar(0xD800))}),
                         CaseName());

TEST(Unstorable, MessageNamesTheCharacter)
{
    const std::optional<QString> why = ProblemFile::WhyUnstorable(QStringLiteral("a𠮷"));
    ASSERT_TRUE(why.has_value());
    EXPECT_TRUE(why->contains(QStringLiteral("𠮷"))) << why->toStdString();
    EXPECT_TRUE(why->contains(QStringLiteral("U+20BB7"))) << why->toStdString();
}

TEST(FactorySet, HoldsDistinctLookAlikePairsInTheWrittenForm)
{
    QFile file(QStringLiteral(VELLUMARK_SOURCE_DIR "/data/問題.org"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const ProblemFile::Reading reading = ProblemFile::Read(bytes);
    ASSERT_FALSE(reading.fault.has_value()) << reading.fault->text.toStdString();
    const ProblemFile::Contents& contents = reading.contents;
    EXPECT_GE(contents.count, 60);
    EXPECT_LE(contents.count, 80);

    QSet<QString> seen;
    for (qsizetype i = 0; i + 1 < contents.items.size(); i += 2) {
        const QString& first = contents.items.at(i);
        const QString& second = contents.items.at(i + 1);
        EXPECT_EQ(first.toUcs4().size(), 1) << "pair " << i / 2 + 1;
        EXPECT_EQ(second.toUcs4().size(), 1) << "pair " << i / 2 + 1;
        EXPECT_NE(first, second) << "pair " << i / 2 + 1;
        const QString key = std::min(first, second) + std::max(first, second);
        EXPECT_FALSE(seen.contains(key)) << "pair " << i / 2 + 1 << " twice";
        seen.insert(key);
    }
    // Byte for byte what the program itself would write.
    EXPECT_EQ(ProblemFile::Write(contents.count, contents.items).bytes, bytes);
}

} // namespace
