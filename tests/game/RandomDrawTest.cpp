// SPDX-License-Identifier: MIT
#include "core/RandomSource.h"
#include "tests/support/Fakes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

namespace {

// Within one clock tick the values stay in [0, 1), go on through the sequence
// instead of repeating and spread evenly over the board. The time is mixed into
// the state, not put in its place: another time or another state, another value.
TEST(TimeSeededRandom, DrawsDifferWithinATickSpreadEvenlyAndFollowTimeAndState)
{
    FakeClock clock(45296.25);
    TimeSeededRandom random(clock);
    std::set<double> seen;
    std::vector<int> perCell(608, 0);
    for (int draw = 0; draw < 608 * 100; ++draw) {
        const double r = random.Next();
        ASSERT_TRUE(r >= 0.0 && r < 1.0) << r;
        seen.insert(r);
        ++perCell[static_cast<std::size_t>(r * 608)];
    }
    EXPECT_EQ(seen.size(), 608u * 100u);
    EXPECT_GT(*std::min_element(perCell.begin(), perCell.end()), 55);
    EXPECT_LT(*std::max_element(perCell.begin(), perCell.end()), 145);

    clock.Now = 100.0;
    TimeSeededRandom first(clock), again(clock), otherState(clock, 12345);
    const double opening = first.Next();
    EXPECT_EQ(again.Next(), opening) << "something besides the state and the given time";
    EXPECT_NE(otherState.Next(), opening) << "the time replaced the state";
    clock.Now = 100.001;
    TimeSeededRandom later(clock);
    EXPECT_NE(later.Next(), opening) << "the time was not mixed in";
}

} // namespace
