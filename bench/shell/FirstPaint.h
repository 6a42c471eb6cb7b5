// SPDX-License-Identifier: MIT
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <cstdlib>
#include <ctime>

// Ends the process once the first window is on the screen, so its run time is its
// start-up up to that moment. The first argument picks the moment:
//   paint   (default) the first frame painted: the first paint event and the rest
//           of that frame, up to its hand-over to the window system;
//   expose  the window mapped: its first expose event, before anything is painted.
// The process ends at once, without the teardown, which is no part of starting,
// and writes the processor time it used in microseconds: a busy machine disturbs
// that far less than the wall-clock time around the run.
class QuitWhenShown final : public QObject {
public:
    QuitWhenShown()
        : until_(QCoreApplication::arguments().value(1) == QStringLiteral("expose") ? QEvent::Expose : QEvent::Paint)
    {
        QCoreApplication::instance()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (done_ || event->type() != until_)
            return false;
        if (until_ == QEvent::Expose) {
            // A window also gets an expose event when it is hidden again.
            if (const auto* window = qobject_cast<QWindow*>(watched); window && window->isExposed())
                End();
            return false;
        }
        done_ = true;
        QTimer::singleShot(0, QCoreApplication::instance(), &End);
        return false;
    }

    [[noreturn]] static void End()
    {
        std::printf("%.0f\n", 1e6 * static_cast<double>(std::clock()) / CLOCKS_PER_SEC);
        std::fflush(stdout);
        std::_Exit(0);
    }

private:
    QEvent::Type until_;
    bool done_ = false;
};
