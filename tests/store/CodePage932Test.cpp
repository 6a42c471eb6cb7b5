// SPDX-License-Identifier: MIT
#include "store/CodePage932.h"

#include <QFile>
#include <QStringList>

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <vector>

// The converter the store reads and writes with: Qt's on Linux, Windows' own code
// page 932 on Windows (run under Wine in the cross-built suite). Both must give
// the same bytes and refuse the same things.
namespace {

// Every input of one or two bytes, a row per first byte (the single bytes, then
// each lead byte 81-9F, E0-FC with every second byte), and what it decodes to: a
// character, or -1 for a refusal (-2: more than one character, never seen).
struct Decoded {
    QByteArray bytes;
    int unit;
};
std::vector<std::vector<Decoded>> DecodedRows()
{
    std::vector<std::vector<Decoded>> rows;
    for (int lead = 0; lead <= 0xFC; lead = lead == 0 ? 0x81 : lead == 0x9F ? 0xE0 : lead + 1) {
        auto& row = rows.emplace_back();
        for (int byte = 0; byte <= 0xFF; ++byte) {
            const QByteArray bytes = lead ? QByteArray(1, char(lead)).append(char(byte)) : QByteArray(1, char(byte));
            const std::optional<QString> text = DecodeCp932(bytes);
            row.push_back({bytes, !text ? -1 : text->size() == 1 ? text->at(0).unicode() : -2});
        }
    }
    return rows;
}

QString Hex(int unit) { return QStringLiteral("%1").arg(unit, 4, 16, QLatin1Char('0')).toUpper(); }

// A line a row, as in tests/store/cp932-decoding.txt: its runs in input order, "xN"
// N refusals, "XXXX..YYYY" characters one after another, "XXXX" one alone.
QStringList Table(const std::vector<std::vector<Decoded>>& rows)
{
    QStringList lines;
    for (const auto& row : rows) {
        QString line = row[0].bytes.size() == 1 ? QStringLiteral("single:")
                                                : QString::fromLatin1(row[0].bytes.first(1).toHex().toUpper() + ':');
        for (size_t i = 0, end = 0; i < row.size(); i = end) {
            const int first = row[i].unit;
            for (end = i + 1; end < row.size() && row[end].unit == (first < 0 ? first : row[end - 1].unit + 1); ++end) {
            }
            line += first == -1   ? QStringLiteral(" x%1").arg(end - i)
                    : first == -2 ? QStringLiteral(" ?")
                                  : u' ' + Hex(first) + (end - i > 1 ? QStringLiteral("..") + Hex(row[end - 1].unit) : QString());
        }
        lines << line;
    }
    return lines;
}

// The same answer on every platform (Windows' own code page 932 runs under Wine in
// the cross-built suite). A character that several codes decode to is written
// with the first of them, but IBM's extensions (FA-FC) go before the NEC-selected
// copies of them (ED, EE), as in Microsoft's table.
TEST(CodePage932, DecodesEveryOneAndTwoByteInputAsTheTableSaysAndEncodesBack)
{
    const auto rows = DecodedRows();
    const QStringList actual = Table(rows);
    if (const char* out = std::getenv("VELLUMARK_WRITE_CP932_TABLE")) {
        QFile file(QString::fromLocal8Bit(out));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(actual.join(u'\n').toLatin1() + '\n');
    }
    QFile file(QStringLiteral(VELLUMARK_SOURCE_DIR "/tests/store/cp932-decoding.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QStringList expected = QString::fromLatin1(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    expected.removeIf([](const QString& line) { return line.startsWith(u'#'); });
    ASSERT_EQ(actual.size(), expected.size());
    for (qsizetype i = 0; i < actual.size(); ++i)
        EXPECT_EQ(actual[i], expected[i]);

    const auto necSelected = [](const QByteArray& bytes) { return bytes[0] == '\xed' || bytes[0] == '\xee'; };
    std::map<int, QByteArray> written;
    for (const auto& row : rows) {
        for (const auto& [bytes, unit] : row) {
            const auto [known, first] = written.try_emplace(unit, bytes);
            if (!first && necSelected(known->second) && !necSelected(bytes))
                known->second = bytes;
        }
    }
    for (const auto& [unit, bytes] : written)
        EXPECT_TRUE(unit < 0 || EncodeCp932(QString(QChar(unit))) == std::optional(bytes)) << Hex(unit).toStdString();
}

TEST(CodePage932, RefusesWhatItCannotHoldInsteadOfSubstituting)
{
    struct Row {
        const char* what;
        QString text;
        QString first;
    };
    const Row rows[] = {
        {"wave dash (a best fit would give 81 60)", QStringLiteral("未〜"), QStringLiteral("〜")},
        {"emoji", QStringLiteral("😀未"), QStringLiteral("😀")},
        {"outside the basic plane", QStringLiteral("𠮷"), QStringLiteral("𠮷")},
        {"a lone surrogate", QString(QChar(0xD800)), QString(QChar(0xD800))},
        {"Latin with an accent (a best fit would drop it)", QStringLiteral("é"), QStringLiteral("é")},
        {"Hangul", QStringLiteral("한"), QStringLiteral("한")},
    };
    for (const Row& row : rows) {
        EXPECT_FALSE(EncodeCp932(row.text)) << row.what;
        EXPECT_EQ(FirstUnencodableCharacter(row.text), std::optional(row.first)) << row.what;
    }
}

// Each input of the table is decoded alone; this one has a whole character first.
TEST(CodePage932, RefusesALeadByteCutOffAfterACharacterAndDecodesOnAfterwards)
{
    Cp932Decoder decoder;
    EXPECT_FALSE(DecodeCp932(QByteArray("\x96\xa2\x96")));
    EXPECT_FALSE(decoder.Decode(QByteArray("\x96\xa2\x96")));
    EXPECT_EQ(decoder.Decode(QByteArray("\x96\xa2")), std::optional(QStringLiteral("未")));
}

} // namespace
