#pragma once

#include "menu/MenuTiming.h"
#include "shell/Window.h"

class Clock;
class QSoundEffect;
class QTimer;

// The hub: starts the game, opens the management windows, ends the program.
class メニュー final : public Window {
public:
    メニュー(Shell& shell, const Clock& clock);

    MenuTiming Timing;

    // One tick of Timer1 (its timeout runs this).
    void TimerTick();

private:
    void CreateControls(Form& form) override;
    void CommandClick(int index);
    void SetTimerInterval(int milliseconds);

    QSoundEffect* MediaPlayer1 = nullptr;
    QTimer* Timer1 = nullptr;
};
