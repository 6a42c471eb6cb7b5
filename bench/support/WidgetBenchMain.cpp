// SPDX-License-Identifier: MIT
#include <QApplication>

#include <benchmark/benchmark.h>

// One QApplication for the widget benchmarks, offscreen unless the environment
// names another platform (Xvfb, to measure a real X server).
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
