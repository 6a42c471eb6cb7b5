// SPDX-License-Identifier: MIT
#pragma once

#include "shell/Layout.h"
#include "store/ProblemStore.h"

#include <QColor>
#include <QPointer>
#include <QRect>

#include <array>

class QLabel;
class QWidget;

// The 80 numbered cells that show the stored pairs on the list, add and delete
// windows: number label pairNumber(i) above pair label pair(i), ten to a row, framed
// by four yellow lines. Its controls belong to the form it was created on, so a
// grid lives exactly as long as one loading of its window.
class PairGrid {
public:
    static constexpr int CellCount = MaxPairs;
    static constexpr int Columns = 10;
    static constexpr int Rows = CellCount / Columns;
    static_assert(Rows * Columns == CellCount, "the grid has no room for a short last row");

    static inline const QColor NumberBack{ColourOf(WindowColour::GridNumberBack)};
    static inline const QColor NumberText{ColourOf(WindowColour::White)};
    static inline const QColor PairBack{ColourOf(CellColour::Created)};
    static inline const QColor PairText{ColourOf(WindowColour::Yellow)};
    static inline const QColor LineColour{ColourOf(WindowColour::Yellow)};

    // Creates pairNumber(0..79), pair(0..79) and the four gridFrame lines on form.
    explicit PairGrid(QWidget& form);

    // Pair labels 0 to ProblemCount - 1 show their pair; the rest keep their caption.
    void FillPairGrid(const ProblemStore& store);
    void ClearPairGrid();

    QLabel& NumberLabel(int index) const;
    QLabel& PairLabel(int index) const;
    void SetPairBackColour(int index, Rgb colour);

    // Positions of cell `index` in pixels within the form.
    static QRect NumberRect(int index);
    static QRect PairRect(int index);

private:
    std::array<QPointer<QLabel>, CellCount> numberLabels_;
    std::array<QPointer<QLabel>, CellCount> pairLabels_;
};
