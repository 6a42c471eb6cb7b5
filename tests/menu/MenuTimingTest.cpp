// SPDX-License-Identifier: MIT
#include "menu/core/MenuTiming.h"
#include "tests/support/Fakes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

namespace {

constexpr long long TenthsPerDay = 864000;

// Clicks `button` at a time of day given in tenths of a second, then ticks every
// 100 ms and returns the tenth of the first tick that acts (counted on past
// midnight), or nothing within ten seconds.
struct HandOverTick {
    MenuTiming::TickAction action;
    long long tickTenths;
};

std::optional<HandOverTick> ClickAndTick(int button, long long clickTenths)
{
    FakeClock clock(static_cast<double>(clickTenths) / 10.0);
    MenuTiming timing(clock);
    EXPECT_EQ(timing.Click(button), MenuTiming::ClickAction::StartDelay);
    for (long long tick = clickTenths + 1; tick <= clickTenths + 100; ++tick) {
        clock.Now = static_cast<double>(tick % TenthsPerDay) / 10.0;
        const MenuTiming::TickAction action = timing.Tick();
        if (action != MenuTiming::TickAction::Wait)
            return HandOverTick{action, tick};
    }
    return std::nullopt;
}

struct DelayCase {
    long long clickTenths;
    long long handOverTenths;  // the first tick at or after ChoiceTime + 1.0
};

class Delay : public ::testing::TestWithParam<DelayCase> {};

TEST_P(Delay, HandsOverAtTheFirstTickAtLeastOneSecondAfterTheRoundedClick)
{
    const DelayCase c = GetParam();
    const std::optional<HandOverTick> run = ClickAndTick(0, c.clickTenths);
    ASSERT_TRUE(run.has_value()) << "the delay never ended";
    EXPECT_EQ(run->action, MenuTiming::TickAction::StartGame);
    EXPECT_EQ(run->tickTenths, c.handOverTenths);
}

// The click's time is rounded half to even, and nowhere else: these rows check the rounding too.
INSTANTIATE_TEST_SUITE_P(
    ClickTimes, Delay,
    ::testing::Values(DelayCase{1004, 1010},  // 100.4 s rounds down: about 0.6 s
                      DelayCase{1006, 1020},  // 100.6 s rounds up to 101: about 1.4 s
                      DelayCase{1005, 1010},  // 100.5 s: half to even, 100
                      DelayCase{1015, 1030},  // 101.5 s: half to even, 102
                      // The last second and a half before midnight still hands over.
                      DelayCase{TenthsPerDay - 15, TenthsPerDay - 10}, // 86398.5 -> 86398
                      DelayCase{TenthsPerDay - 6, TenthsPerDay},       // 86399.4 -> 86399: midnight
                      DelayCase{TenthsPerDay - 5, TenthsPerDay + 10},  // 86399.5 -> 86400
                      DelayCase{TenthsPerDay - 1, TenthsPerDay + 10}),
    [](const ::testing::TestParamInfo<DelayCase>& row) {
        return "ClickAtTenth" + std::to_string(row.param.clickTenths);
    });

} // namespace
