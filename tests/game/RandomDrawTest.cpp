#include "shell/RandomSource.h"
#include "tests/support/Fakes.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

// The program's generator within one clock tick: values stay in [0, 1), go on
// through the sequence instead of repeating, and spread evenly over the board.
TEST(TimeSeededRandom, DrawsWithinOneTickDifferAndSpreadEvenly)
{
    const FakeClock clock(45296.25);
    TimeSeededRandom random(clock);
    std::set<double> seen;
    std::vector<int> perCell(608, 0);
    for (int draw = 0; draw < 608 * 100; ++draw) {
        const double r = random.Next();
        ASSERT_GE(r, 0.0);
        ASSERT_LT(r, 1.0);
        seen.insert(r);
        ++perCell[static_cast<std::size_t>(r * 608)];
    }
    EXPECT_EQ(seen.size(), 608u * 100u);
    for (std::size_t cell = 0; cell < perCell.size(); ++cell) {
        EXPECT_GT(perCell[cell], 55) << cell;
        EXPECT_LT(perCell[cell], 145) << cell;
    }
}

// Reseeding mixes the time into the state instead of replacing it: the same time
// after other draws gives another value, and another time gives another sequence.
TEST(TimeSeededRandom, TheTimeIsMixedIntoTheStateNotPutInItsPlace)
{
    FakeClock clock(100.0);
    TimeSeededRandom first(clock);
    const double opening = first.Next();
    first.Next();
    EXPECT_NE(first.Next(), opening);

    TimeSeededRandom again(clock);
    EXPECT_EQ(again.Next(), opening) << "same state and time, same value";
    clock.Now = 100.001;
    TimeSeededRandom later(clock);
    EXPECT_NE(later.Next(), opening);
    TimeSeededRandom otherState(clock, 12345);
    EXPECT_NE(otherState.Next(), later.Next());
}

} // namespace
