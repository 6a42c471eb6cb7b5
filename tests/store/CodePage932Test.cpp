// SPDX-License-Identifier: MIT
#include "store/CodePage932.h"

#include <gtest/gtest.h>

// The converter the store reads and writes with: Qt's on Linux, Windows' own code
// page 932 on Windows (run under Wine in the cross-built suite). Both must give
// the same bytes and refuse the same things.
namespace {

QByteArray Bytes(const char* bytes) { return QByteArray(bytes); }

TEST(CodePage932, ThisBuildHasAConverter)
{
    EXPECT_FALSE(WhyNoCp932Converter()) << WhyNoCp932Converter().value_or(QString()).toStdString();
}

TEST(CodePage932, EncodesAndDecodesTheMicrosoftTable)
{
    struct Row {
        const char* what;
        QString text;
        QByteArray bytes;
    };
    const Row rows[] = {
        {"ASCII", QStringLiteral("A, \"1\"\r\n"), Bytes("A, \"1\"\r\n")},
        {"kanji", QStringLiteral("未末"), Bytes("\x96\xa2\x96\x96")},
        {"fullwidth tilde", QStringLiteral("～"), Bytes("\x81\x60")},
        {"horizontal bar", QStringLiteral("―"), Bytes("\x81\x5c")},
        {"NEC circled one", QStringLiteral("①"), Bytes("\x87\x40")},
        {"IBM kanji", QStringLiteral("髙"), Bytes("\xfb\xfc")},
        {"halfwidth katakana", QStringLiteral("ｱ"), Bytes("\xb1")},
        {"kana and kanji", QStringLiteral("ゲーム太郎"), Bytes("\x83\x51\x81\x5b\x83\x80\x91\xbe\x98\x59")},
        {"nothing", QString(), QByteArray()},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(EncodeCp932(row.text), std::optional(row.bytes)) << row.what;
        EXPECT_EQ(DecodeCp932(row.bytes), std::optional(row.text)) << row.what;
        EXPECT_FALSE(FirstUnencodableCharacter(row.text)) << row.what;
    }
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

TEST(CodePage932, RefusesBytesThatAreNotCodePage932)
{
    const QByteArray rows[] = {
        Bytes("\x96"),          // a lead byte cut off at the end
        Bytes("\x96\xa2\x96"),  // the same after a whole character
        Bytes("\x81\x20"),      // a lead byte without a valid trail byte
        Bytes("\x85\x40"),      // an unassigned code
    };
    Cp932Decoder decoder;
    for (const QByteArray& bytes : rows) {
        EXPECT_FALSE(DecodeCp932(bytes)) << bytes.toHex(' ').toStdString();
        EXPECT_FALSE(decoder.Decode(bytes)) << bytes.toHex(' ').toStdString();
        // A failure leaves the decoder as good as new.
        EXPECT_EQ(decoder.Decode(Bytes("\x96\xa2")), std::optional(QStringLiteral("未")));
    }
}

} // namespace
