// SPDX-License-Identifier: MIT
#include "menu/core/MenuTiming.h"

#include "core/Clock.h"

#include <cmath>

namespace {
constexpr double SecondsPerDay = 86400.0;
}

std::int32_t RoundHalfToEven(double seconds)
{
    const double floor = std::floor(seconds);
    const double fraction = seconds - floor;
    double rounded = floor;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(floor, 2.0) != 0.0))
        rounded += 1.0;
    return static_cast<std::int32_t>(rounded);
}

MenuTiming::ClickAction MenuTiming::Click(int index)
{
    menuChoice_ = static_cast<std::int16_t>(index + 1);
    switch (index) {
    case ListButton:
        return ClickAction::OpenList;
    case AddButton:
        return ClickAction::OpenAdd;
    case DeleteButton:
        return ClickAction::OpenDelete;
    case StartButton:
    case EndButton:
        choiceTime_ = RoundHalfToEven(clock_.SecondsSinceMidnight());
        return ClickAction::StartDelay;
    default:
        return ClickAction::None;
    }
}

double MenuTiming::Elapsed() const
{
    double elapsed = clock_.SecondsSinceMidnight() - choiceTime_;
    // The time of day starts again at midnight. A click in the last second and a
    // half of a day is still waiting for its tick then, so a difference of about a
    // day back means the clock wrapped, not that time ran backwards. (A click
    // rounded up to 86400 gives small negative differences until midnight.)
    if (elapsed < -SecondsPerDay / 2)
        elapsed += SecondsPerDay;
    return elapsed;
}

MenuTiming::TickAction MenuTiming::Tick() const
{
    if (Elapsed() < 1.0)
        return TickAction::Wait;
    // Only a start or an end click starts the delay; every other click leaves the menu.
    return menuChoice_ == EndButton + 1 ? TickAction::EndProgram : TickAction::StartGame;
}
