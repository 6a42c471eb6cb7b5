// SPDX-License-Identifier: MIT
#pragma once

#include "menu/core/MenuTiming.h"
#include "shell/Window.h"

#include <QPointer>

class Clock;
class QTimer;

// The hub: starts the game, opens the management windows, ends the program.
class MenuWindow final : public Window {
public:
    MenuWindow(Shell& shell, const Clock& clock, QString crowSound);

    // The choice and its time outlive the controls.
    const MenuTiming& Timing() const { return timing_; }

    // One tick of the delay timer (its timeout runs this).
    void TimerTick();

private:
    void CreateControls(WindowForm& form) override;
    void ButtonClicked(int index);
    void SetTimerInterval(int milliseconds);

    MenuTiming timing_;
    QString crowSound_;
    QPointer<QTimer> delayTimer_;
};
