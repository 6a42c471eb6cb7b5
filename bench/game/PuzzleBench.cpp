// SPDX-License-Identifier: MIT
// The puzzle board's costs beside a bare painter doing the least the board must do.
// NextProblem and BareBoardBaseline repaint a shown widget of the board's size
// through the same path (repaint()); the baseline renders the pair's two glyphs
// once and then does 608 fillRect + drawPixmap, with no game behind it.
//   NextProblem / BareBoardBaseline   goal <= 1.1
//   HoverMove / FullRepaint           goal <= 0.1
//   OpenWindow                        goal < 5 ms (a later opening; the first one
//                                     is measured by bench/opening/first_opening.sh)
#include "game/PuzzleBoard.h"
#include "game/core/PuzzleGame.h"
#include "game/PuzzleWindow.h"
#include "bench/support/BenchSupport.h"
#include "core/AppError.h"
#include "core/Clock.h"
#include "shell/Dialogs.h"
#include "shell/Layout.h"
#include "core/RandomSource.h"
#include "shell/Shell.h"
#include "store/ProblemStore.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QWindow>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <memory>

namespace {

BenchAppDir& AppDir()
{
    static BenchAppDir dir;
    return dir;
}

// The board with the game behind it, as the window wires them.
class BoardRig final : public PuzzleView {
public:
    BoardRig() : store(AppDir().Store()), random(clock), game(store, random), board(nullptr, game)
    {
        board.setPalette(QPalette(QColor(128, 128, 255)));
        game.SetView(this);
        game.CreateCells();
        game.Load();
        image = QImage(board.size(), QImage::Format_ARGB32_Premultiplied);
    }

    void CellChanged(int index) override { dirty += PuzzleBoard::CellRect(index); }
    void BoardChanged() override { board.BoardChanged(); }
    void PairListShown(const QStringList&) override {}
    void PairListHidden() override {}
    void HitSound() override {}
    void BackToMenu() override {}

    void Render(const QRegion& region = QRegion())
    {
        board.render(&image, region.isEmpty() ? QPoint() : region.boundingRect().topLeft(), region,
                     QWidget::RenderFlags());
    }

    SystemClock clock;
    ProblemStore store;
    TimeSeededRandom random;
    PuzzleGame game;
    PuzzleBoard board;
    QImage image;
    QRegion dirty;
};

// Shows a widget and waits until the platform has exposed it, so that repaint()
// paints at once.
void ShowExposed(QWidget& widget)
{
    widget.show();
    while (!widget.windowHandle() || !widget.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    QCoreApplication::processEvents();
}

// Counts the paint events a widget receives, to prove that each repaint() painted.
struct PaintCounter final : QObject {
    explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
    std::int64_t paints = 0;
};

void CheckPainted(benchmark::State& state, const PaintCounter& counter)
{
    if (counter.paints < state.iterations())
        state.SkipWithError("repaint() did not paint");
}

// The least a board must do for a new problem: two glyphs rendered once, then
// every cell filled and its glyph blitted, on a shown widget.
class BareBoard final : public QWidget {
public:
    explicit BareBoard(const ProblemStore& store) : store_(store), font_(WindowFonts::PuzzleCell())
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        resize(PuzzleBoard::BoardSize());
    }
    // The next pair of the table, as a new problem would show it.
    void NextPair() { pair_ = pair_ % store_.ProblemCount() + 1; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        const QPixmap ordinary = Glyph(store_.ProblemTable(1, pair_));
        const QPixmap odd = Glyph(store_.ProblemTable(2, pair_));
        QPainter painter(this);
        painter.fillRect(rect(), QColor(128, 128, 255));
        for (int index = 0; index < Board::CellCount; ++index) {
            const QRect cell = PuzzleBoard::CellRect(index);
            painter.fillRect(cell, QColor(0, 0, 192));
            painter.drawPixmap(cell.topLeft(), index == 300 ? odd : ordinary);
        }
    }

private:
    QPixmap Glyph(const QString& caption) const
    {
        const qreal ratio = devicePixelRatioF();
        QPixmap glyph(QSize(PuzzleBoard::CellWidth, PuzzleBoard::CellHeight) * ratio);
        glyph.setDevicePixelRatio(ratio);
        glyph.fill(Qt::transparent);
        QPainter painter(&glyph);
        painter.setFont(font_);
        painter.setPen(Qt::white);
        painter.drawText(QRect(0, 0, PuzzleBoard::CellWidth, PuzzleBoard::CellHeight), Qt::AlignCenter, caption);
        return glyph;
    }

    const ProblemStore& store_;
    QFont font_;
    int pair_ = 1;
};

void BareBoardBaseline(benchmark::State& state)
{
    ProblemStore store = AppDir().Store();
    store.LoadProblemFile();
    BareBoard board(store);
    ShowExposed(board);
    const PaintCounter counter(board);
    for (auto _ : state) {
        board.NextPair();
        board.repaint();
    }
    CheckPainted(state, counter);
}
BENCHMARK(BareBoardBaseline)->Unit(benchmark::kMicrosecond);

void NextProblem(benchmark::State& state)
{
    BoardRig rig;
    ShowExposed(rig.board);
    const PaintCounter counter(rig.board);
    for (auto _ : state) {
        rig.game.ButtonClick(PuzzleGame::NextButton);
        rig.board.repaint();
    }
    CheckPainted(state, counter);
}
BENCHMARK(NextProblem)->Unit(benchmark::kMicrosecond);

void FullRepaint(benchmark::State& state)
{
    BoardRig rig;
    for (auto _ : state) {
        rig.Render();
        benchmark::DoNotOptimize(rig.image.constBits());
    }
}
BENCHMARK(FullRepaint)->Unit(benchmark::kMicrosecond);

// The mouse crosses from one cell to a far one: the game repaints what changed.
void HoverMove(benchmark::State& state)
{
    BoardRig rig;
    int step = 0;
    for (auto _ : state) {
        rig.dirty = QRegion();
        rig.game.CellMove(step++ % 2 == 0 ? 40 : 600);
        rig.Render(rig.dirty);
        benchmark::DoNotOptimize(rig.image.constBits());
    }
}
BENCHMARK(HoverMove)->Unit(benchmark::kMicrosecond);

// Load the file, create the controls, lay out the first problem and paint it all.
void OpenWindow(benchmark::State& state)
{
    SilentDialogs dialogs;
    Shell shell(dialogs, [](int) {});
    SystemClock clock;
    TimeSeededRandom random(clock);
    ProblemStore store = AppDir().Store();
    PuzzleWindow puzzle(shell, store, random, AppDir().Locations().hitSound);
    for (auto _ : state) {
        shell.ShowWindow(WindowName::Puzzle);
        const QImage shot = puzzle.Form()->grab().toImage();
        benchmark::DoNotOptimize(shot.constBits());
        state.PauseTiming();
        puzzle.Unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
}
BENCHMARK(OpenWindow)->Unit(benchmark::kMillisecond);

} // namespace
