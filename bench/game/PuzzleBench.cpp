// The puzzle board's costs beside a bare painter doing the least the board must do.
//   next problem / baseline   goal <= 1.3
//   hover move / full repaint goal <= 0.1
//   opening the window        goal < 10 ms
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

#include <benchmark/benchmark.h>

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

void BarePainterBaseline(benchmark::State& state)
{
    BoardRig rig;  // for the same pair and the same image
    const QString first = rig.store.ProblemTable(1, 1);
    const QString second = rig.store.ProblemTable(2, 1);
    const QFont font = MinchoFont(15.75);
    for (auto _ : state) {
        QPainter painter(&rig.image);
        painter.setFont(font);
        painter.setPen(Qt::white);
        for (int index = 0; index < Board::CellCount; ++index) {
            const QRect cell = PuzzleBoard::CellRect(index);
            painter.fillRect(cell, QColor(0, 0, 192));
            painter.drawText(cell, Qt::AlignCenter, index == 300 ? second : first);
        }
        painter.end();
        benchmark::DoNotOptimize(rig.image.constBits());
    }
}
BENCHMARK(BarePainterBaseline)->Unit(benchmark::kMicrosecond);

void NextProblem(benchmark::State& state)
{
    BoardRig rig;
    for (auto _ : state) {
        rig.game.ButtonClick(PuzzleGame::NextButton);
        rig.Render();
        benchmark::DoNotOptimize(rig.image.constBits());
    }
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
