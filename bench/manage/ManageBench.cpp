// SPDX-License-Identifier: MIT
// Opening a management window again: load the problem file, fill the grid, first
// paint. Beside it, the least any such window costs: 160 plain labels created and
// painted.
//   each window   goal < 5 ms, and within a small multiple of the baseline
// The first opening in a run is measured in a fresh process by
// bench/opening/first_opening.sh.
#include "manage/AddWindow.h"
#include "manage/DeleteWindow.h"
#include "manage/ListWindow.h"
#include "bench/support/BenchSupport.h"
#include "core/AppError.h"
#include "shell/Dialogs.h"
#include "shell/Layout.h"
#include "shell/Shell.h"
#include "store/ProblemStore.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

struct Rig {
    BenchAppDir dir;
    SilentDialogs dialogs;
    Shell shell{dialogs, [](int) {}};
    ProblemStore store{dir.Store()};
};

void PlainLabelsBaseline(benchmark::State& state)
{
    const QFont font = WindowFonts::GridPair();
    for (auto _ : state) {
        QWidget form;
        form.setFixedSize(768, 480);
        for (int index = 0; index < 160; ++index) {
            auto* label = new QLabel(QStringLiteral("未 末"), &form);
            label->setFont(font);
            label->setGeometry(80 + 61 * (index % 10), 77 + 23 * (index / 10), 60, 22);
        }
        form.show();
        benchmark::DoNotOptimize(form.grab());
        form.close();
        QCoreApplication::sendPostedEvents();
    }
}
BENCHMARK(PlainLabelsBaseline)->Unit(benchmark::kMillisecond);

template <typename ManageWindow>
void OpenWindow(benchmark::State& state)
{
    Rig rig;
    ManageWindow window(rig.shell, rig.store);
    for (auto _ : state) {
        window.Load();
        benchmark::DoNotOptimize(window.Form()->grab());
        window.Unload();
        // What the event loop would do between two openings.
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    state.counters["pairs"] = rig.store.ProblemCount();
}
BENCHMARK_TEMPLATE(OpenWindow, ListWindow)->Name("OpenListWindow")->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(OpenWindow, AddWindow)->Name("OpenAddWindow")->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(OpenWindow, DeleteWindow)->Name("OpenDeleteWindow")->Unit(benchmark::kMillisecond);

} // namespace
