// SPDX-License-Identifier: MIT
#pragma once

#include "core/Clock.h"
#include "core/RandomSource.h"

#include <gtest/gtest.h>

#include <deque>

// A clock the test sets by hand.
class FakeClock final : public Clock {
public:
    explicit FakeClock(double seconds = 0.0) : Now(seconds) {}
    double SecondsSinceMidnight() const override { return Now; }
    double Now;
};

// Random values from a script; once the script is used up, Fallback is returned.
class ScriptedRandom final : public RandomSource {
public:
    ScriptedRandom() = default;
    ScriptedRandom(std::initializer_list<double> values) : Values(values) {}

    double Next() override
    {
        ++Draws;
        if (Values.empty())
            return Fallback;
        const double value = Values.front();
        Values.pop_front();
        return value;
    }

    std::deque<double> Values;
    double Fallback = 0.0;
    int Draws = 0;
};
