// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

class Clock;

// A source of uniform random values in [0, 1). Injected so that tests can script
// every draw.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual double Next() = 0;
};

// The program's generator. Before every single draw it mixes the time of day into
// its state (never replacing the state), so two draws within one clock tick still
// differ and no two runs repeat one another.
class TimeSeededRandom final : public RandomSource {
public:
    explicit TimeSeededRandom(const Clock& clock, std::uint64_t initialState = 0x853c49e6748fea9bULL);
    double Next() override;

private:
    const Clock& clock_;
    std::uint64_t state_;
};
