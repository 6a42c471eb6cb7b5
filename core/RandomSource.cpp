// SPDX-License-Identifier: MIT
#include "core/RandomSource.h"

#include "core/Clock.h"

#include <bit>

namespace {

// SplitMix64's finaliser: a cheap bijective mixer with full avalanche.
std::uint64_t Mix(std::uint64_t z)
{
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

} // namespace

TimeSeededRandom::TimeSeededRandom(const Clock& clock, std::uint64_t initialState)
    : clock_(clock), state_(initialState)
{
}

double TimeSeededRandom::Next()
{
    state_ = Mix(state_ ^ std::bit_cast<std::uint64_t>(clock_.SecondsSinceMidnight()));
    state_ += 0x9e3779b97f4a7c15ULL;
    // The top 53 bits make a double in [0, 1) with every value equally likely.
    return static_cast<double>(Mix(state_) >> 11) * 0x1.0p-53;
}
