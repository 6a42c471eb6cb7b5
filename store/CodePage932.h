// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>

#include <optional>

// Windows code page 932, the encoding of the problem file. On Windows it is Windows'
// own code page 932 (Qt has no Shift_JIS converter there without ICU); elsewhere
// Qt's "Shift_JIS", which is the Microsoft table (U+FF5E <-> 81 60, U+2015 <-> 81 5C,
// NEC and IBM extensions) but for a few single bytes. The choice is made when the
// program is built; where the two tables differ, both refuse, so a file reads the
// same everywhere (tests/store/cp932-decoding.txt holds the answer for every input).

// Why this build cannot convert code page 932 (a Japanese sentence), or nothing
// when it can. Checked once at start: without a converter every problem file
// would look damaged.
std::optional<QString> WhyNoCp932Converter();

// The text of bytes, or nothing when they are not valid code page 932, including
// a lead byte cut off at the end.
std::optional<QString> DecodeCp932(QByteArrayView bytes);

// The same for many pieces in a row: setting up a converter costs more than
// decoding a short item.
class Cp932Decoder {
public:
    Cp932Decoder();
    std::optional<QString> Decode(QByteArrayView bytes);

private:
    // Held in an optional: the error flag never clears, and a reassigned
    // converter stops reporting errors, so a new one is emplaced after a failure.
    // Unused on Windows, whose converter keeps no state.
    std::optional<QStringDecoder> decoder_;
};

// The bytes of text, or nothing when some character has no code in the table or
// would come back as a different character.
std::optional<QByteArray> EncodeCp932(const QString& text);

// The first character (a whole code point, surrogate pair or not) of text that
// EncodeCp932 refuses, or nothing when every character can be stored.
std::optional<QString> FirstUnencodableCharacter(const QString& text);
