// SPDX-License-Identifier: MIT
#include "game/PuzzleBoard.h"

#include "game/core/PuzzleGame.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <utility>

PuzzleBoard::PuzzleBoard(QWidget* parent, const PuzzleGame& game)
    : QWidget(parent), game_(game), font_(WindowFonts::PuzzleCell()), metrics_(font_)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    // Every pixel is painted here, the gaps in the frame's colour.
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(BoardSize());
}

QSize PuzzleBoard::BoardSize()
{
    return {ColumnPitch * (Board::Columns - 1) + CellWidth, RowPitch * (Board::Rows - 1) + CellHeight};
}

QRect PuzzleBoard::CellRect(int index)
{
    return {ColumnPitch * Board::CellColumn(index), RowPitch * Board::CellRow(index), CellWidth, CellHeight};
}

int PuzzleBoard::CellAt(QPoint position)
{
    if (position.x() < 0 || position.y() < 0)
        return -1;
    const int column = position.x() / ColumnPitch;
    const int row = position.y() / RowPitch;
    if (column >= Board::Columns || row >= Board::Rows || position.x() % ColumnPitch >= CellWidth
        || position.y() % RowPitch >= CellHeight)
        return -1;
    return Board::CellIndex(column, row);
}

void PuzzleBoard::CellChanged(int index)
{
    update(CellRect(index));
}

void PuzzleBoard::BoardChanged()
{
    glyphs_.clear();
    update();
}

void PuzzleBoard::paintEvent(QPaintEvent* event)
{
    // Asking for the ratio walks the screens: once a paint, not once a cell.
    UseRatio(devicePixelRatioF());
    QPainter painter(this);
    for (const QRect& area : event->region())
        PaintArea(painter, area);
}

void PuzzleBoard::PaintArea(QPainter& painter, const QRect& area)
{
    painter.fillRect(area, palette().color(QPalette::Window));
    const int lastColumn = std::min(area.right() / ColumnPitch, Board::Columns - 1);
    const int lastRow = std::min(area.bottom() / RowPitch, Board::Rows - 1);
    // Neighbouring cells nearly always show the same caption, one shared string,
    // on the same colour: the last glyph and colour are reused as they are.
    const QString* lastCaption = nullptr;
    const QPixmap* lastGlyph = nullptr;
    Rgb lastRgb = game_.BackColour(Board::CellIndex(0, 0));
    QColor lastColour = ColourOf(lastRgb);
    for (int row = std::max(area.top(), 0) / RowPitch; row <= lastRow; ++row) {
        for (int column = std::max(area.left(), 0) / ColumnPitch; column <= lastColumn; ++column) {
            const int index = Board::CellIndex(column, row);
            const QPoint topLeft(column * ColumnPitch, row * RowPitch);
            if (const Rgb rgb = game_.BackColour(index); rgb != lastRgb) {
                lastRgb = rgb;
                lastColour = ColourOf(rgb);
            }
            painter.fillRect(QRect(topLeft, QSize(CellWidth, CellHeight)), lastColour);
            const QString& caption = game_.Caption(index);
            if (caption.isEmpty())
                continue;
            if (!lastCaption || (!caption.isSharedWith(*lastCaption) && caption != *lastCaption)) {
                lastGlyph = &Glyph(caption);  // taken after any insertion, so never stale
                lastCaption = &caption;
            }
            painter.drawPixmap(topLeft, *lastGlyph);
        }
    }
}

void PuzzleBoard::UseRatio(qreal ratio)
{
    if (ratio != glyphRatio_) {
        glyphs_.clear();
        glyphRatio_ = ratio;
    }
}

const QPixmap& PuzzleBoard::Glyph(const QString& caption)
{
    const qreal ratio = glyphRatio_;
    auto found = glyphs_.find(caption);
    if (found != glyphs_.end())
        return *found;

    // Clipped to the cell like a label's caption; the line box is centred, so
    // every character of a pair sits on the same baseline.
    QPixmap glyph(QSize(CellWidth, CellHeight) * ratio);
    glyph.setDevicePixelRatio(ratio);
    glyph.fill(Qt::transparent);
    QPainter painter(&glyph);
    painter.setFont(font_);
    painter.setPen(Qt::white);
    const qreal left = (CellWidth - metrics_.horizontalAdvance(caption)) / 2.0;
    const qreal baseline = (CellHeight - (metrics_.ascent() + metrics_.descent())) / 2.0 + metrics_.ascent();
    painter.drawText(QPointF(left, baseline), caption);
    painter.end();
    return *glyphs_.insert(caption, glyph);
}

void PuzzleBoard::mouseMoveEvent(QMouseEvent* event)
{
    const int cell = CellAt(event->position().toPoint());
    if (cell != -1)
        emit CellMoved(cell);
}

void PuzzleBoard::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        pressedCell_ = CellAt(event->position().toPoint());
}

void PuzzleBoard::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    // A click is a press and a release on the same cell.
    const int pressed = std::exchange(pressedCell_, -1);
    if (pressed != -1 && CellAt(event->position().toPoint()) == pressed)
        emit CellClicked(pressed);
}
