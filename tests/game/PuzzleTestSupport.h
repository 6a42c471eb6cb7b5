#pragma once

#include "tests/support/TempDir.h"

#include <QString>

// Pair k of a test store: a hiragana filling the board, the katakana as its odd one.
inline QString FirstOf(int pair) { return QString(QChar(0x3040 + pair)); }
inline QString SecondOf(int pair) { return QString(QChar(0x30A0 + pair)); }

// Writes a problem file of `count` such pairs.
inline void WriteProblems(const TempAppDir& dir, int count)
{
    QString text = QStringLiteral(" %1 \r\n").arg(count);
    for (int pair = 1; pair <= count; ++pair)
        text += FirstOf(pair) + QStringLiteral("\r\n") + SecondOf(pair) + QStringLiteral("\r\n");
    dir.Write(QStringLiteral("/data/問題.dat"), Cp932(text));
}

// The random value that draws `pair` out of `count`, and the one that puts the odd cell at `cell`.
inline double DrawOf(int pair, int count) { return (pair - 0.5) / count; }
inline double CellDraw(int cell) { return (cell + 0.5) / 608.0; }
