#pragma once

#include <cstdint>

class Clock;

// The menu's choices and its delayed start and end, apart from any widget.
// Start and end wait until the first tick at least one second after the click
// time rounded to a whole second; the last click decides.
class MenuTiming {
public:
    enum class ClickAction { None, OpenList, OpenAdd, OpenDelete, StartDelay };
    enum class TickAction { Wait, StartGame, EndProgram, LeaveMenu };

    explicit MenuTiming(const Clock& clock) : clock_(clock) {}

    std::int16_t MenuChoice = 0;   // Index + 1 of the last button clicked; 0 before any
    std::int32_t ChoiceTime = 0;   // whole seconds since midnight of the last start or end click

    ClickAction Click(int index);
    // One tick of the menu's timer while a delay runs.
    TickAction Tick() const;

    // Seconds since ChoiceTime, counted on across midnight.
    double Elapsed() const;

private:
    const Clock& clock_;
};

// Rounds to the nearest whole number, halves to the even one.
std::int32_t RoundHalfToEven(double seconds);
