// SPDX-License-Identifier: MIT
#pragma once

#include "tests/support/TempDir.h"

#include <QString>

// Pair k of ManyPairs: a hiragana filling the board, the katakana as its odd one.
inline QString FirstOf(int pair) { return ManyPairs(pair).right(2).left(1); }
inline QString SecondOf(int pair) { return ManyPairs(pair).right(1); }

// Writes a problem file of `count` such pairs.
inline void WriteProblems(const TempAppDir& dir, int count)
{
    dir.Write(QStringLiteral("/data/問題.dat"), FileOfPairs(ManyPairs(count)));
}

// The random value that draws `pair` out of `count`, and the one that puts the odd cell at `cell`.
inline double DrawOf(int pair, int count) { return (pair - 0.5) / count; }
inline double CellDraw(int cell) { return (cell + 0.5) / 608.0; }
