// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <cstdint>
#include <optional>

// The capacity of the table, and so the largest count a problem file may hold.
inline constexpr std::int16_t MaxPairs = 80;

// The problem file as bytes, with no file system involved (the fuzz target and
// the benchmarks call these directly).
//
// Written form: the count line " N " CR LF, then one item per line, CR LF,
// code page 932, nothing before or after. Items pair up in order: the first and
// second character of pair 1, then of pair 2, and so on.
//
// The reader takes a wider form, as files edited by hand may have it: a comma or
// a line end (CR LF, LF or CR) ends an item; spaces before an item are skipped,
// and so are spaces after the count; an empty line is an empty item; an item that
// begins with a double quote runs to the next one and the rest of its field is
// skipped.
namespace ProblemFile {

struct Fault {
    int number = 0;  // AppError number
    int line = 0;    // 1-based line of the file
    QString text;    // Japanese, without the file name
};

struct Contents {
    std::int16_t count = 0;
    QList<QString> items;  // 2 * count: first, second, first, second, ...
};

// Either the contents or the first fault that stops a faithful reading: a count
// that is missing, not a number, below 0 or above 80; fewer items than announced;
// an unterminated quote; bytes that are not code page 932. Whatever follows the
// announced items is not read.
struct Reading {
    Contents contents;
    std::optional<Fault> fault;
};
Reading Read(QByteArrayView bytes);

// The same reading with the items as stretches of one decoded text, so that a
// reader that already holds most of them need not make 160 new strings.
struct TextReading {
    struct Span {
        qsizetype start = 0;
        qsizetype length = 0;
    };
    std::int16_t count = 0;
    QString text;
    QList<Span> items;  // 2 * count, as in Contents
    std::optional<Fault> fault;

    QStringView Item(qsizetype index) const { return QStringView(text).sliced(items.at(index).start, items.at(index).length); }
};
TextReading ReadText(QByteArrayView bytes);

// Why item (one the reader yielded, or one character) cannot be stored so that it
// reads back as itself, or nothing when it can. What the reader yields can always
// be stored; only a double quote and a character code page 932 lacks cannot.
std::optional<QString> WhyUnstorable(const QString& item);
// Why a pair character would show as an empty cell on the board (its first code
// point is white space, a control or a format character), or nothing when it can
// be seen.
std::optional<QString> WhyInvisible(const QString& character);

// The file's bytes, from items the reader yielded or single characters. An item
// the reader would change (a comma, a line break,
// spaces at either end) goes in double quotes; one that holds a double quote
// (never at its start) is written as it is, which the reader keeps whole, even
// with spaces at its end. When some item cannot be stored,
// unstorableItem is its index and nothing else is filled in.
struct Writing {
    QByteArray bytes;
    qsizetype unstorableItem = -1;
    QString why;
};
Writing Write(std::int16_t count, const QList<QString>& items);

// "k 組目の 1 字目" for item index i, for messages.
QString ItemName(qsizetype itemIndex);

} // namespace ProblemFile
