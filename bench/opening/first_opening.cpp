// SPDX-License-Identifier: MIT
// The first opening of one window in a fresh process: nothing drawn, no font
// used, no picture rendered before it. Prints one line of figures in microseconds,
// wall time and the process's processor time (the fairer one on a busy machine):
//   <window> first=<us> steady=<median us of later openings> first_cpu=<us> steady_cpu=<us>
// Usage: bench_first_opening menu|puzzle|list|add|delete [--after-menu] [--later N] [--shot file.png]
//   --after-menu  show the menu first, as the program does, with the fonts loaded
//                 once it has painted; let it idle for 200 ms, then click its plate:
//                 the user's road to the window
//   --later       how many later openings to time (15), 0 to profile the first alone
//   --shot        save the window's first picture
// Run it through first_opening.sh, which starts it afresh for every sample.
#include "bench/support/BenchSupport.h"
#include "core/Clock.h"
#include "core/RandomSource.h"
#include "game/PuzzleWindow.h"
#include "manage/AddWindow.h"
#include "manage/DeleteWindow.h"
#include "manage/ListWindow.h"
#include "menu/MenuWindow.h"
#include "shell/FontWarmUp.h"
#include "shell/Layout.h"
#include "shell/Shell.h"
#include "store/ProblemFileFormat.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QStringList>
#include <QTimer>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <map>
#include <vector>

namespace {

// The same problem every run, so pictures of the puzzle compare pixel for pixel.
class FixedClock final : public Clock {
public:
    double SecondsSinceMidnight() const override { return 43200.0; }
};

// Processor time of the process, in nanoseconds.
qint64 ProcessorNs()
{
    return static_cast<qint64>(std::clock()) * (1000000000 / CLOCKS_PER_SEC);
}

qint64 Median(std::vector<qint64> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void Idle(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// Runs the event loop until the widget has been painted once.
void WaitForPaint(QWidget& widget)
{
    struct Spy final : QObject {
        bool painted = false;
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::Paint)
                painted = true;
            return false;
        }
    } spy;
    widget.installEventFilter(&spy);
    QElapsedTimer limit;
    limit.start();
    while (!spy.painted && limit.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    widget.removeEventFilter(&spy);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    const bool afterMenu = arguments.removeAll(QStringLiteral("--after-menu")) > 0;
    int laterOpenings = 15;
    if (const qsizetype at = arguments.indexOf(QStringLiteral("--later")); at >= 0 && at + 1 < arguments.size()) {
        laterOpenings = arguments.at(at + 1).toInt();
        arguments.remove(at, 2);
    }
    QString shotFile;
    if (const qsizetype at = arguments.indexOf(QStringLiteral("--shot")); at >= 0 && at + 1 < arguments.size()) {
        shotFile = arguments.at(at + 1);
        arguments.remove(at, 2);
    }
    // Each window and the menu button that opens it at once (the puzzle waits for the crow).
    const std::map<QString, std::pair<WindowName, const char*>> windows{
        {QStringLiteral("menu"), {WindowName::Menu, nullptr}},
        {QStringLiteral("puzzle"), {WindowName::Puzzle, nullptr}},
        {QStringLiteral("list"), {WindowName::PairList, "listButton"}},
        {QStringLiteral("add"), {WindowName::AddPair, "addButton"}},
        {QStringLiteral("delete"), {WindowName::DeletePair, "deleteButton"}}};
    if (arguments.size() != 1 || !windows.contains(arguments.front())) {
        std::fprintf(stderr, "usage: bench_first_opening menu|puzzle|list|add|delete [--after-menu] [--later N] [--shot file.png]\n");
        return 2;
    }
    const auto [target, plate] = windows.at(arguments.front());

    BenchAppDir dir;
    const DataLocations files = dir.Locations();
    for (const QString& sound : {files.crowSound, files.hitSound})
        QFile::copy(QStringLiteral(VELLUMARK_SOURCE_DIR "/data/音/") + sound.section(QLatin1Char('/'), -1), sound);
    SilentDialogs dialogs;
    Shell shell(dialogs, [](int) {});
    FixedClock clock;
    TimeSeededRandom random(clock);
    ProblemStore store = dir.Store();
    MenuWindow menu(shell, clock, files.crowSound);
    PuzzleWindow puzzle(shell, store, random, files.hitSound);
    ListWindow list(shell, store);
    AddWindow add(shell, store);
    DeleteWindow remove(shell, store);
    Window& window = shell.WindowNamed(target);

    // The puzzle opens from the menu only after the crow's delay; the click that
    // counts is the one that loads it.
    const auto open = [&] {
        if (afterMenu && plate)
            menu.Form()->findChild<QAbstractButton*>(QLatin1String(plate))->click();
        else
            shell.Guard([&] { shell.SwitchToWindow(target); });
    };
    FontWarmUp fonts(WindowFonts::ForCaptions(), WindowFonts::ForPairs(), [&files] {
        QFile file(files.problemFile);
        return file.open(QIODevice::ReadOnly) ? ProblemFile::ReadText(file.readAll()).text : QString();
    });
    if (afterMenu && target != WindowName::Menu) {
        // As the program starts.
        shell.Start();
        menu.WhenPainted([&fonts] { fonts.Start(); });
        WaitForPaint(*menu.Form());
        Idle(200);
    }

    QElapsedTimer timer;
    qint64 cpuStart = ProcessorNs();
    timer.start();
    open();
    const QImage first = window.Form()->grab().toImage();
    const qint64 firstNs = timer.nsecsElapsed();
    const qint64 firstCpuNs = ProcessorNs() - cpuStart;
    if (!shotFile.isEmpty())
        first.save(shotFile);

    std::vector<qint64> steady, steadyCpu;
    for (int round = 0; round < laterOpenings; ++round) {
        window.Unload();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (afterMenu && plate) {
            shell.ShowWindow(WindowName::Menu);
            menu.Form()->grab();
        }
        cpuStart = ProcessorNs();
        timer.restart();
        open();
        window.Form()->grab();
        steady.push_back(timer.nsecsElapsed());
        steadyCpu.push_back(ProcessorNs() - cpuStart);
    }
    std::printf("%s first=%lld steady=%lld first_cpu=%lld steady_cpu=%lld\n", qPrintable(arguments.front()),
                firstNs / 1000, steady.empty() ? 0 : Median(steady) / 1000, firstCpuNs / 1000,
                steadyCpu.empty() ? 0 : Median(steadyCpu) / 1000);
    return 0;
}
