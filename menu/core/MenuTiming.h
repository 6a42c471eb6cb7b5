// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

class Clock;

// The menu's choices and its delayed start and end, apart from any widget.
// Start and end wait until the first tick at least one second after the click
// time rounded to a whole second; the last click decides.
class MenuTiming {
public:
    enum class ClickAction { None, OpenList, OpenAdd, OpenDelete, StartDelay };
    enum class TickAction { Wait, StartGame, EndProgram };

    explicit MenuTiming(const Clock& clock) : clock_(clock) {}

    // The menu's buttons, top to bottom.
    enum Button { StartButton, ListButton, AddButton, DeleteButton, EndButton, ButtonCount };

    ClickAction Click(int index);
    // How often the menu's timer ticks while a delay runs.
    static constexpr int TickMilliseconds = 100;
    // One tick of the menu's timer while a delay runs.
    TickAction Tick() const;

    // Seconds since ChoiceTime, counted on across midnight.
    double Elapsed() const;

    // Index + 1 of the last button clicked; 0 before any.
    std::int16_t MenuChoice() const { return menuChoice_; }
    // Whole seconds since midnight of the last start or end click.
    std::int32_t ChoiceTime() const { return choiceTime_; }

private:
    const Clock& clock_;
    std::int16_t menuChoice_ = 0;
    std::int32_t choiceTime_ = 0;
};

// Rounds to the nearest whole number, halves to the even one.
std::int32_t RoundHalfToEven(double seconds);
