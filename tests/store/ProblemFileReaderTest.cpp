// SPDX-License-Identifier: MIT
// What the reader makes of files written by hand or by other editors, through the
// store: pairs it reads are written back to read the same; a file it refuses is
// named with its line and its fault, and left as it is.
#include "core/AppError.h"
#include "store/ProblemFileFormat.h"
#include "store/ProblemStore.h"
#include "tests/store/fuzz/ProblemFileCheck.h"
#include "tests/support/TempDir.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <set>

namespace {

QByteArray SourceFile(const QString& path)
{
    QFile file(QStringLiteral(VELLUMARK_SOURCE_DIR "/") + path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
QByteArray Seed(const char* name) { return SourceFile(QStringLiteral("tests/store/corpus/") + QLatin1String(name)); }

// items: the pairs the file holds, '|'-separated; null for a file the store must
// refuse as damaged, naming the file and the line and saying what is wrong. Whatever
// the reader accepts, a delete (or an add) of another pair writes back so that it
// reads the same: the loaded pairs are the user's, never a cause to stop.
struct FileCase {
    const char* name;
    QByteArray bytes;
    const char* items;
    QByteArray afterDeletingTheLast = {};
    int number = 0;
    int line = 0;
    const char* says = "";
};
void PrintTo(const FileCase& c, std::ostream* out) { *out << c.name; }

class Loading : public ::testing::TestWithParam<FileCase> {
protected:
    TempAppDir dir;
    ProblemStore store{StoreIn(dir)};
};

TEST_P(Loading, ReadsTheWiderFormWritesItBackAndRefusesDamageChangingNothing)
{
    const FileCase& c = GetParam();
    const QStringList before = Items("未|末|A|B");
    const QByteArray beforeBytes = " 2 \r\n\x96\xa2\r\n\x96\x96\r\nA\r\nB\r\n";
    dir.Write(Dat, beforeBytes);
    store.LoadProblemFile();
    ASSERT_EQ(Table(store), before);
    dir.Write(Dat, c.bytes);
    if (c.items) {
        store.LoadProblemFile();
        const QStringList loaded = Items(c.items);
        EXPECT_EQ(Table(store), loaded);
        if (c.afterDeletingTheLast.isEmpty())
            return;
        store.DeletePair(store.ProblemCount());
        EXPECT_EQ(dir.Read(Dat), c.afterDeletingTheLast);
        store.AddPair(QStringLiteral("鳥"), QStringLiteral("烏"));
        EXPECT_EQ(Table(store), Items("鳥|烏") + loaded.first(loaded.size() - 2));
        return;
    }
    // Damaged as the user's file (which a factory reset may replace) and as the factory copy.
    const AppError asTheUsers = ErrorOf<ProblemFileUnusable>([&] { store.LoadProblemFile(); });
    EXPECT_EQ(dir.Read(Dat), c.bytes);
    dir.Write(Dat, beforeBytes);
    dir.Write(Org, c.bytes);
    const AppError asTheFactorys = ErrorOf([&] { store.RestoreFactoryProblems(); });
    for (const auto& [error, file] : {std::pair(asTheUsers, Dat), std::pair(asTheFactorys, Org)}) {
        EXPECT_EQ(error.Number(), c.number) << error.what();
        const QString where = QStringLiteral("「%1」の %2 行目: ").arg(QDir::toNativeSeparators(dir.Path() + file)).arg(c.line);
        EXPECT_TRUE(error.Description().contains(where) && error.Description().contains(QString::fromUtf8(c.says)))
            << error.what();
    }
    EXPECT_EQ(dir.Read(Dat), beforeBytes);
    EXPECT_EQ(Table(store), before);
}
constexpr int Past = AppError::InputPastEndOfFile, Bad = AppError::BadFileContents;
INSTANTIATE_TEST_SUITE_P(Files, Loading, ::testing::Values(
    FileCase{"QuotedPairOnOneLine", " 1 \r\n\"\x96\xa2\",\"\x96\x96\"\r\n", "未|末"},
    FileCase{"CountWithoutSpaces", "1\r\n\x96\xa2\r\n\x96\x96\r\n", "未|末"},
    FileCase{"CountAndComma", "001,\r\n\x96\xa2\r\n\x96\x96", "未|末"},
    FileCase{"LeadingSpaces", "   1 \r\n   \x96\xa2\r\n  \x96\x96\r\n", "未|末"},
    FileCase{"EmptyLines", " 2 \r\n\r\n\r\nA\r\n\r\n", "||A|"},
    FileCase{"LineFeedAlone", " 1 \n\x96\xa2\n\x96\x96\n", "未|末"},
    FileCase{"CarriageReturnAloneAndCtrlZ", " 1 \rA\rB\x1a", "A|B"},
    FileCase{"BlankLinesAndCtrlZAfterThePairs", " 1 \r\nA\r\nB\r\n\r\n  \r\n\r\n\x1a", "A|B"},
    FileCase{"QuotedSpansLinesRestSkipped", " 1 \r\n\"A\r\nB\" x\xff\r\nC \r\n", "A\r\nB|C "},
    FileCase{"QuoteInsideWrittenBack", " 2 \r\na\"b\r\n c\"\r\nX\r\nY\r\n", "a\"b|c\"|X|Y", " 1 \r\na\"b\r\nc\"\r\n"},
    FileCase{"QuoteBeforeTrailingSpaceWrittenBack", " 2 \r\na\" \r\nb \r\nX\r\nY\r\n", "a\" |b |X|Y", " 1 \r\na\" \r\n\"b \"\r\n"},
    FileCase{"QuotedLineBreaksWrittenBack", " 2 \r\n\"A\r\nB\"\r\n\"C\rD\nE\"\r\nX\r\nY\r\n", "A\r\nB|C\rD\nE|X|Y",
             " 1 \r\n\"A\r\nB\"\r\n\"C\rD\nE\"\r\n"},
    FileCase{"QuotedCommaAndSpacesWrittenBack", " 2 \r\n\",\", \"  a\"\r\nX\r\nY\r\n", ",|  a|X|Y", " 1 \r\n\",\"\r\n\"  a\"\r\n"},
    FileCase{"Empty", "", nullptr, {}, Past, 1, "ファイルが空"},
    FileCase{"CountAbove80", " 81 \r\nA\r\n", nullptr, {}, AppError::SubscriptOutOfRange, 1, "件数「81」が上限"},
    FileCase{"NegativeCount", " -1 \r\n", nullptr, {}, Bad, 1, "負の数"},
    FileCase{"CountNotANumber", "\r\n2\r\nA\r\nB\r\n", nullptr, {}, AppError::TypeMismatch, 1, "件数「」"},
    FileCase{"CountBetweenTabs", "\t3\t\r\n", nullptr, {}, AppError::TypeMismatch, 1, "件数「<TAB>3<TAB>」"},
    FileCase{"FewerItems", " 2 \r\nA\r\nB\r\nC\r\n", nullptr, {}, Past, 5, "件数は 2 組ですが、2 組目の 2 字目 の前で"},
    FileCase{"MorePairs", " 3 \r\nA\r\nB\r\nC\r\nD\r\nE\r\nF\r\nG\r\nH\r\nI\r\nJ\r\n\r\n", nullptr, {}, Bad, 8,
             "件数は 3 組ですが、ファイルには 5 組が書かれています。4 組目の 1 字目から"},
    // A line holding a comma is two items; the last one is past the count.
    FileCase{"LoneComma", " 2 \r\n,\r\nA\r\nB\r\nC\r\n", nullptr, {}, Bad, 5, "ファイルには 2 組と 1 字が"},
    FileCase{"InvalidBytes", " 1 \r\nA\r\n\x85\x40\r\n", nullptr, {}, Bad, 3, "(85 40)"},
    FileCase{"CutOffLeadByte", " 1 \r\nA\r\n\x96", nullptr, {}, Bad, 3, "(96)"},
    FileCase{"OpenQuote", " 1 \n\"A\nB\n", nullptr, {}, Past, 2, "閉じられない"},
    FileCase{"LinesInsideQuotes", " 1 \n\"A\n\"\n\xa0\n", nullptr, {}, Bad, 4, "(A0)"},
    FileCase{"ByteOrderMarkInsideUtf8", " 1 \r\nA\r\n\xef\xbb\xbf\r\n", nullptr, {}, Bad, 3, "UTF-8 で保存されています (この行の「<U+FEFF>」"},
    // The factory set as editors that save in Unicode write it (made once with iconv).
    FileCase{"FactorySetInUtf8", Seed("factory-utf8"), nullptr, {}, Bad, 2,
             "UTF-8 で保存されています (この行の「未」は UTF-8 の字です)。問題ファイルは Shift-JIS (コードページ 932) で保存し直して"},
    FileCase{"FactorySetInUtf8WithByteOrderMark", Seed("factory-utf8-bom"), nullptr, {}, Bad, 1, "UTF-8 (BOM 付き)"},
    FileCase{"FactorySetInUtf16LittleEndianWithByteOrderMark", Seed("factory-utf16le-bom"), nullptr, {}, Bad, 1, "UTF-16 LE (BOM 付き)"},
    FileCase{"FactorySetInUtf16BigEndianWithByteOrderMark", Seed("factory-utf16be-bom"), nullptr, {}, Bad, 1, "UTF-16 BE (BOM 付き)"},
    FileCase{"FactorySetInUtf16WithoutByteOrderMark", Seed("factory-utf16le"), nullptr, {}, Bad, 1, "BOM のない UTF-16"}),
    [](const auto& param) { return std::string(param.param.name); });

// The fuzz target's checks, on every seed with this compiler.
TEST(SeedCorpus, KeepsTheReadersAndWritersPromises)
{
    const QDir corpus(QStringLiteral(VELLUMARK_SOURCE_DIR "/tests/store/corpus"));
    const QStringList seeds = corpus.entryList(QDir::Files);
    EXPECT_GE(seeds.size(), 19);
    for (const QString& seed : seeds) {
        QFile file(corpus.filePath(seed));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << seed.toStdString();
        EXPECT_EQ(BrokenProblemFilePromise(file.readAll()), std::nullopt) << seed.toStdString();
    }
}

TEST(FactorySet, HoldsDistinctLookAlikePairsAsTheWriterWritesThem)
{
    const QByteArray bytes = SourceFile(QStringLiteral("data/問題.org"));
    const ProblemFile::TextReading reading = ProblemFile::ReadText(bytes);
    const QList<QString> items = ItemsOf(reading);
    EXPECT_GE(reading.count, 60);
    EXPECT_EQ(ProblemFile::Write(reading.count, items).bytes, bytes);
    std::set<QString> seen;
    for (qsizetype i = 0; i + 1 < items.size(); i += 2) {
        const QString &a = items.at(i), &b = items.at(i + 1);
        EXPECT_TRUE(a.toUcs4().size() == 1 && b.toUcs4().size() == 1 && a != b) << "pair " << i / 2 + 1;
        EXPECT_TRUE(seen.insert(std::min(a, b) + std::max(a, b)).second) << "pair " << i / 2 + 1 << " twice";
    }
}

} // namespace
