// SPDX-License-Identifier: MIT
#include "shell/LockPause.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QInputEvent>
#include <QTimer>

namespace {

// For the length of one pause: the wait cursor, and no input reaches any window.
class InputHeldOff final : public QObject {
public:
    InputHeldOff()
    {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~InputHeldOff() override
    {
        QCoreApplication::instance()->removeEventFilter(this);
        QGuiApplication::restoreOverrideCursor();
    }
    InputHeldOff(const InputHeldOff&) = delete;
    InputHeldOff& operator=(const InputHeldOff&) = delete;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        // An ignored close keeps the window open.
        if (event->type() == QEvent::Close || event->type() == QEvent::InputMethod
            || dynamic_cast<QInputEvent*>(event)) {
            event->ignore();
            return true;
        }
        return false;
    }
};

} // namespace

std::chrono::milliseconds PauseKeepingWindowsAlive(std::chrono::milliseconds step)
{
    QElapsedTimer paused;
    paused.start();
    const InputHeldOff heldOff;
    QEventLoop loop;
    QTimer::singleShot(step, &loop, &QEventLoop::quit);
    loop.exec();
    return std::chrono::milliseconds(paused.elapsed());
}
