// SPDX-License-Identifier: MIT
#pragma once

#include "shell/Layout.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QPixmap>
#include <QWidget>

class PuzzleGame;

// The 608 cells of the puzzle, painted by one widget from the game's captions and
// colours. Moves and clicks are reported by cell index; the one-pixel gaps between
// cells, where the frame shows, take neither.
class PuzzleBoard final : public QWidget {
    Q_OBJECT
public:
    // In pixels, from the twips the board was drawn in.
    static constexpr int CellWidth = Twips(330);
    static constexpr int CellHeight = Twips(315);
    static constexpr int ColumnPitch = Twips(345);
    static constexpr int RowPitch = Twips(330);

    PuzzleBoard(QWidget* parent, const PuzzleGame& game);

    static QSize BoardSize();
    static QRect CellRect(int index);
    // The index of the cell at a point, or -1 in a gap or outside the cells.
    static int CellAt(QPoint position);

    // The game changed one cell's colour, or the captions.
    void CellChanged(int index);
    void BoardChanged();

signals:
    void CellMoved(int index);
    void CellClicked(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void PaintArea(QPainter& painter, const QRect& area);
    const QPixmap& Glyph(const QString& caption);
    // Drops the cached glyphs when the screen's scale changed.
    void UseRatio(qreal ratio);

    const PuzzleGame& game_;
    QFont font_;
    // Held, so that measuring a new caption finds the font's engine at hand
    // instead of asking fontconfig for its fallbacks again.
    QFontMetricsF metrics_;
    // A board holds two distinct captions; each is rendered once and then blitted.
    QHash<QString, QPixmap> glyphs_;
    qreal glyphRatio_ = 0.0;
    int pressedCell_ = -1;
};
