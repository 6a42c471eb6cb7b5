#include "game/PuzzleGame.h"
#include "store/ProblemStore.h"
#include "tests/game/PuzzleTestSupport.h"
#include "tests/support/Fakes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <functional>
#include <limits>
#include <map>
#include <set>
#include <vector>

namespace {

// Records what the game asks its window to show.
class RecordingView final : public PuzzleView {
public:
    std::vector<int> Changed;  // cells whose colour changed, in order
    int BoardChanges = 0;
    QStringList Entries;
    bool ListVisible = false;
    int Sounds = 0;
    int Backs = 0;

    void CellChanged(int index) override { Changed.push_back(index); }
    void BoardChanged() override { ++BoardChanges; }
    void PairListShown(const QStringList& entries) override
    {
        Entries = entries;
        ListVisible = true;
    }
    void PairListHidden() override { ListVisible = false; }
    void HitSound() override { ++Sounds; }
    void BackToMenu() override { ++Backs; }
};

class PuzzleGameTest : public ::testing::Test {
protected:
    TempAppDir dir;
    ProblemStore store{dir.Path()};
    ScriptedRandom random;
    RecordingView view;
    PuzzleGame game{store, random};

    void SetUp() override { game.SetView(&view); }

    // Opens the window on `count` pairs with the first problem's draws.
    void Open(int count, std::initializer_list<double> draws)
    {
        WriteProblems(dir, count);
        game.CreateCells();
        random.Values = draws;
        game.Load();
    }
    void Script(std::initializer_list<double> draws) { random.Values = draws; }
    std::set<int> Blocked() const
    {
        std::set<int> blocked;
        for (int n = 1; n <= store.ProblemCount(); ++n)
            if (game.PairUsed(n) == 1)
                blocked.insert(n);
        return blocked;
    }
};

// ---- The recent window --------------------------------------------------------

struct RecentCase {
    const char* name;
    int pairs;
    int problems;
};

void PrintTo(const RecentCase& c, std::ostream* os) { *os << c.name; }

class RecentWindow : public PuzzleGameTest, public ::testing::WithParamInterface<RecentCase> {};

// Over long runs with a real generator: a pair never comes back within the next N
// problems, comes back no later than chance allows, and a problem takes few draws.
TEST_P(RecentWindow, APairStaysAwayForExactlyTheWindowLength)
{
    const RecentCase c = GetParam();
    WriteProblems(dir, c.pairs);
    for (std::uint64_t seed : {1u, 2u, 3u}) {
        SeededRandom seeded(seed);
        PuzzleGame run(store, seeded);
        run.Load();
        const int n = c.pairs / 2;
        ASSERT_EQ(run.RecentCount, n);
        std::vector<int> shown{run.CurrentPair};
        for (int problem = 1; problem < c.problems; ++problem) {
            const int before = seeded.Draws;
            run.ButtonClick(1);
            ASSERT_LT(seeded.Draws - before, PuzzleGame::MaxRedraws) << "the draw gave up on chance";
            shown.push_back(run.CurrentPair);
            ASSERT_GE(run.CurrentPair, 1);
            ASSERT_LE(run.CurrentPair, c.pairs);
        }
        std::map<int, int> lastSeen;
        for (int problem = 0; problem < static_cast<int>(shown.size()); ++problem) {
            const auto found = lastSeen.find(shown[problem]);
            if (found != lastSeen.end()) {
                EXPECT_GT(problem - found->second, n)
                    << c.name << " seed " << seed << ": pair " << shown[problem] << " came back too soon";
            }
            lastSeen[shown[problem]] = problem;
        }
        if (c.pairs == 2) {
            for (std::size_t problem = 1; problem < shown.size(); ++problem)
                ASSERT_NE(shown[problem], shown[problem - 1]) << "two pairs must alternate";
        }
        // Never more than N pairs blocked, so there is always a pair to draw.
        int blocked = 0;
        for (int pair = 1; pair <= c.pairs; ++pair)
            blocked += run.PairUsed(pair);
        EXPECT_EQ(blocked, n);
    }
}

INSTANTIATE_TEST_SUITE_P(Runs, RecentWindow,
                         ::testing::Values(RecentCase{"two", 2, 200}, RecentCase{"three", 3, 300},
                                           RecentCase{"seven", 7, 300}, RecentCase{"eighty", 80, 1000}),
                         [](const auto& param) { return std::string(param.param.name); });

TEST_F(PuzzleGameTest, TwoPairsAlternateAfterARandomFirst)
{
    for (int first : {1, 2}) {
        Open(2, {DrawOf(first, 2), CellDraw(5)});
        ASSERT_EQ(game.CurrentPair, first);
        // Every later draw asks for the first pair again; only the other one is taken.
        for (int problem = 0; problem < 6; ++problem) {
            const int expected = problem % 2 == 0 ? 3 - first : first;
            Script({DrawOf(3 - expected, 2), DrawOf(expected, 2), CellDraw(7)});
            game.ButtonClick(1);
            EXPECT_EQ(game.CurrentPair, expected) << "first " << first << ", problem " << problem;
            EXPECT_TRUE(random.Values.empty()) << "the blocked pair must be drawn again, exactly once";
        }
    }
}

TEST_F(PuzzleGameTest, SevenPairsReleaseOnlySlotZeroInTheFirstThreeCommits)
{
    Open(7, {DrawOf(1, 7), CellDraw(0)});
    EXPECT_EQ(game.RecentCount, 3);
    EXPECT_EQ(Blocked(), (std::set<int>{1}));
    Script({DrawOf(2, 7), CellDraw(0)});
    game.ButtonClick(1);
    EXPECT_EQ(Blocked(), (std::set<int>{1, 2}));
    Script({DrawOf(3, 7), CellDraw(0)});
    game.ButtonClick(1);
    EXPECT_EQ(Blocked(), (std::set<int>{1, 2, 3}));
    EXPECT_EQ(game.PairUsed(0), 0);
    // The fourth commit releases the first real pair.
    Script({DrawOf(1, 7), DrawOf(4, 7), CellDraw(0)});
    game.ButtonClick(1);
    EXPECT_EQ(game.CurrentPair, 4);
    EXPECT_EQ(Blocked(), (std::set<int>{2, 3, 4}));
    // Pair 1 was blocked for problems 2 to 4 and is drawable again in problem 5.
    Script({DrawOf(1, 7), CellDraw(0)});
    game.ButtonClick(1);
    EXPECT_EQ(game.CurrentPair, 1);
    EXPECT_TRUE(random.Values.empty());
}

TEST_F(PuzzleGameTest, AListPickTakesBlockedAndCurrentPairsAndBlocksThemAgain)
{
    Open(7, {DrawOf(1, 7), CellDraw(0)});
    Script({DrawOf(2, 7), CellDraw(0)});
    game.ButtonClick(1);
    Script({DrawOf(3, 7), CellDraw(0)});
    game.ButtonClick(1);
    ASSERT_EQ(Blocked(), (std::set<int>{1, 2, 3}));

    // Pair 2 is blocked, yet the list gives it; the pick uses one draw, for the odd cell.
    game.ButtonClick(3);
    Script({CellDraw(100)});
    game.ListPick(1);
    EXPECT_EQ(game.CurrentPair, 2);
    EXPECT_EQ(game.OddCell, 100);
    EXPECT_TRUE(random.Values.empty());
    EXPECT_EQ(Blocked(), (std::set<int>{2, 3}));

    // The current pair itself: its older entry leaves slot 1 in the same commit that
    // enters it again, and it stays blocked.
    game.ButtonClick(3);
    Script({CellDraw(0)});
    game.ListPick(1);
    EXPECT_EQ(game.RecentPairs(1), 3);
    EXPECT_EQ(game.RecentPairs(2), 2);
    EXPECT_EQ(game.RecentPairs(3), 2);
    EXPECT_EQ(Blocked(), (std::set<int>{2, 3}));
    Script({DrawOf(2, 7), DrawOf(3, 7), DrawOf(4, 7), CellDraw(0)});
    game.ButtonClick(1);
    EXPECT_EQ(game.CurrentPair, 4);
    EXPECT_TRUE(random.Values.empty());

    // When the older entry of pair 2 leaves slot 1, pair 2 is drawable although its
    // newer entry is still in the window.
    Script({DrawOf(5, 7), CellDraw(0)});
    game.ButtonClick(1);
    EXPECT_EQ(game.RecentPairs(1), 2);
    Script({DrawOf(2, 7), CellDraw(0)});
    game.ButtonClick(1);
    EXPECT_EQ(game.CurrentPair, 2);
}

TEST_F(PuzzleGameTest, ReopeningMakesEveryPairDrawableAndEmptiesTheWindow)
{
    Open(7, {DrawOf(1, 7), CellDraw(0)});
    Script({DrawOf(2, 7), CellDraw(0)});
    game.ButtonClick(1);
    Script({DrawOf(3, 7), CellDraw(0)});
    game.ButtonClick(1);
    Open(7, {DrawOf(3, 7), CellDraw(0)});
    EXPECT_EQ(game.CurrentPair, 3);
    EXPECT_EQ(Blocked(), (std::set<int>{3}));
    EXPECT_EQ(game.RecentPairs(1), 0);
    EXPECT_EQ(game.RecentPairs(2), 0);
}

// ---- Stores too small for the rule ------------------------------------------

TEST_F(PuzzleGameTest, OnePairSimplyComesAgain)
{
    // A visit on many pairs leaves flags and slots that the small store must ignore.
    Open(80, {DrawOf(80, 80), CellDraw(0)});
    for (int n = 0; n <= 100; ++n)
        game.PairUsed(n) = 1;
    for (int i = 0; i <= 50; ++i)
        game.RecentPairs(i) = 1;
    Open(1, {0.3, CellDraw(9)});
    EXPECT_EQ(game.RecentCount, 0);
    EXPECT_EQ(game.CurrentPair, 1);
    for (int problem = 0; problem < 20; ++problem) {
        random.Draws = 0;
        Script({0.99, CellDraw(problem)});
        game.ButtonClick(1);
        EXPECT_EQ(game.CurrentPair, 1);
        EXPECT_EQ(game.OddCell, problem);
        EXPECT_EQ(random.Draws, 2) << "one draw for the pair, one for the odd cell";
    }
    EXPECT_EQ(game.Caption(9), FirstOf(1));
    EXPECT_EQ(game.Caption(19), SecondOf(1));
}

TEST_F(PuzzleGameTest, NoPairsGiveAnEmptyBoardOnWhichNothingHarmfulHappens)
{
    Open(3, {DrawOf(2, 3), CellDraw(4)});
    Open(0, {});
    EXPECT_EQ(random.Draws, 2) << "an empty store draws nothing";
    EXPECT_EQ(game.OddCell, PuzzleGame::NoCell);
    EXPECT_EQ(game.CurrentPair, 0);
    for (int k = 0; k < Board::CellCount; ++k)
        ASSERT_TRUE(game.Caption(k).isEmpty()) << k;
    const std::size_t changedBefore = view.Changed.size();
    for (int button = 1; button <= 3; ++button)
        game.ButtonClick(button);
    EXPECT_TRUE(view.ListVisible);
    EXPECT_TRUE(view.Entries.isEmpty());
    game.CellClick(0);
    EXPECT_FALSE(view.ListVisible);
    for (int k = 0; k < Board::CellCount; ++k)
        game.CellClick(k);
    EXPECT_EQ(view.Sounds, 0);
    EXPECT_EQ(view.Changed.size(), changedBefore) << "no odd cell to paint";
    EXPECT_EQ(random.Draws, 2);
    game.ButtonClick(0);
    EXPECT_EQ(view.Backs, 1);
}

TEST_F(PuzzleGameTest, AGeneratorStuckOnABlockedPairCannotFreezeTheWindow)
{
    Open(2, {DrawOf(1, 2), CellDraw(0)});
    random.Fallback = 0.0;  // asks for pair 1 forever
    game.ButtonClick(1);
    EXPECT_EQ(game.CurrentPair, 2);
    EXPECT_EQ(random.Draws, 2 + PuzzleGame::MaxRedraws + 1);
}

TEST_F(PuzzleGameTest, RandomValuesOutsideTheUnitIntervalAreErrors)
{
    for (double bad : {1.0, -0.25, std::numeric_limits<double>::quiet_NaN()}) {
        WriteProblems(dir, 5);
        Script({bad});
        try {
            game.Load();
            ADD_FAILURE() << "accepted " << bad;
        } catch (const AppError& error) {
            EXPECT_EQ(error.number(), AppError::SubscriptOutOfRange);
        }
        Script({0.5, bad});
        EXPECT_THROW(game.Load(), AppError) << "odd cell from " << bad;
    }
}

TEST_F(PuzzleGameTest, IndicesOutsideTheControlsAreErrors)
{
    Open(3, {DrawOf(1, 3), CellDraw(0)});
    const std::vector<std::function<void()>> calls{
        [&] { game.CellMove(-1); },   [&] { game.CellMove(608); },  [&] { game.CellClick(608); },
        [&] { game.ButtonClick(4); }, [&] { game.ButtonClick(-1); }, [&] { game.ListPick(3); },
        [&] { game.ListPick(-1); },   [&] { (void)game.Caption(608); }, [&] { game.PairUsed(101) = 1; },
        [&] { game.RecentPairs(51) = 1; },
    };
    for (std::size_t call = 0; call < calls.size(); ++call) {
        try {
            calls[call]();
            ADD_FAILURE() << "call " << call << " was accepted";
        } catch (const AppError& error) {
            EXPECT_EQ(error.number(), AppError::SubscriptOutOfRange) << call;
        }
    }
}

// ---- The board -----------------------------------------------------------------

TEST_F(PuzzleGameTest, EveryLayoutHasExactlyOneOddCellAndEveryCellCanBeIt)
{
    Open(5, {DrawOf(4, 5), CellDraw(0)});
    std::vector<bool> reached(Board::CellCount, false);
    for (int target = 0; target < Board::CellCount; ++target) {
        Script({CellDraw(target)});
        game.LayOutBoard();
        ASSERT_EQ(game.OddCell, target);
        int odd = 0;
        for (int k = 0; k < Board::CellCount; ++k) {
            if (game.Caption(k) == SecondOf(4)) {
                ++odd;
                reached[static_cast<std::size_t>(k)] = true;
            } else {
                ASSERT_EQ(game.Caption(k), FirstOf(4)) << k;
            }
        }
        ASSERT_EQ(odd, 1) << target;
    }
    EXPECT_EQ(std::count(reached.begin(), reached.end(), true), Board::CellCount);
    // The draw maps the whole unit interval onto the cells.
    Script({0.0});
    game.LayOutBoard();
    EXPECT_EQ(game.OddCell, 0);
    Script({std::nextafter(1.0, 0.0)});
    game.LayOutBoard();
    EXPECT_EQ(game.OddCell, 607);
}

TEST_F(PuzzleGameTest, APairOfTwoEqualCharactersStillHasItsOddCell)
{
    dir.Write(QStringLiteral("/data/問題.dat"), Cp932(QStringLiteral(" 1 \r\n口\r\n口\r\n")));
    random.Values = {0.0, CellDraw(321)};
    game.Load();
    EXPECT_EQ(game.OddCell, 321);
    view.Sounds = 0;
    game.CellClick(320);
    EXPECT_EQ(view.Sounds, 0);
    game.CellClick(321);
    EXPECT_EQ(view.Sounds, 1);
}

TEST(BoardNumbering, TopRowsRunLeftToRightAndTheRestRightToLeft)
{
    struct Case {
        int column, row, index;
    };
    for (const Case c : {Case{0, 0, 0}, Case{31, 0, 31}, Case{5, 4, 133}, Case{31, 4, 159}, Case{0, 5, 191},
                         Case{31, 5, 160}, Case{0, 18, 607}, Case{31, 18, 576}, Case{10, 7, 245}}) {
        EXPECT_EQ(Board::CellIndex(c.column, c.row), c.index) << c.column << "," << c.row;
        EXPECT_EQ(Board::CellColumn(c.index), c.column) << c.index;
        EXPECT_EQ(Board::CellRow(c.index), c.row) << c.index;
    }
    std::set<int> indices;
    for (int row = 0; row < Board::Rows; ++row)
        for (int column = 0; column < Board::Columns; ++column)
            indices.insert(Board::CellIndex(column, row));
    EXPECT_EQ(indices.size(), 608u);
    EXPECT_EQ(*indices.rbegin(), 607);
}

// ---- Answers, buttons and the list: the state table ----------------------------

enum class Event { ClickOdd, ClickOther, Answer, Next, ListButton, HideList, Pick, Back };

struct Row {
    const char* name;
    bool closedBefore;
    bool listBefore;
    bool markedBefore;  // the odd cell carries the answer marking
    Event event;
    int sounds;
    bool closedAfter;
    bool listAfter;
    bool newProblem;
    PuzzleGame::Rgb oddColourAfter;  // the colour of the old odd cell
};

void PrintTo(const Row& row, std::ostream* os) { *os << row.name; }

constexpr auto Blue = PuzzleGame::NormalBlue;
constexpr auto Made = PuzzleGame::CreatedBlue;
constexpr auto Red = PuzzleGame::Red;

class StateTable : public PuzzleGameTest, public ::testing::WithParamInterface<Row> {};

TEST_P(StateTable, Row)
{
    const Row row = GetParam();
    Open(3, {DrawOf(2, 3), CellDraw(200)});
    if (row.markedBefore && !row.listBefore)
        game.ButtonClick(2);
    game.ProblemClosed = row.closedBefore ? 1 : 0;
    if (row.listBefore)
        game.ButtonClick(3);
    // With the list up, the mouse is what paints the odd cell red.
    if (row.markedBefore && row.listBefore)
        game.CellMove(game.OddCell);
    ASSERT_EQ(game.BackColour(game.OddCell), row.markedBefore ? Red : row.listBefore ? Blue : Made);
    ASSERT_EQ(view.ListVisible, row.listBefore);
    const int oddBefore = game.OddCell;
    view.Sounds = 0;
    Script({DrawOf(3, 3), CellDraw(300)});

    switch (row.event) {
    case Event::ClickOdd: game.CellClick(oddBefore); break;
    case Event::ClickOther: game.CellClick(oddBefore + 1); break;
    case Event::Answer: game.ButtonClick(2); break;
    case Event::Next: game.ButtonClick(1); break;
    case Event::ListButton: game.ButtonClick(3); break;
    case Event::HideList: game.HidePairList(); break;
    case Event::Pick: game.ListPick(0); break;
    case Event::Back: game.ButtonClick(0); break;
    }

    EXPECT_EQ(view.Sounds, row.sounds);
    EXPECT_EQ(game.ProblemClosed, row.closedAfter ? 1 : 0);
    EXPECT_EQ(game.ListShown, row.listAfter ? 1 : 0);
    EXPECT_EQ(view.ListVisible, row.listAfter);
    EXPECT_EQ(game.OddCell != oddBefore, row.newProblem);
    EXPECT_EQ(game.BackColour(oddBefore), row.oddColourAfter);
    EXPECT_EQ(view.Backs, row.event == Event::Back ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, StateTable,
    ::testing::Values(
        Row{"OpenHitPlaysTheSound", false, false, false, Event::ClickOdd, 1, true, false, false, Made},
        Row{"OpenMissDoesNothing", false, false, false, Event::ClickOther, 0, false, false, false, Made},
        Row{"OverHitIsSilent", true, false, false, Event::ClickOdd, 0, true, false, false, Made},
        Row{"MarkedHitIsSilent", true, false, true, Event::ClickOdd, 0, true, false, false, Red},
        Row{"AnswerMarksTheOddCell", false, false, false, Event::Answer, 0, true, false, false, Red},
        Row{"AnswerTwiceStaysRed", true, false, true, Event::Answer, 0, true, false, false, Red},
        Row{"NextOpensANewProblem", true, false, true, Event::Next, 0, false, false, true, Blue},
        Row{"ListButtonShowsTheList", false, false, false, Event::ListButton, 0, false, true, false, Blue},
        Row{"ShownCellClickOnlyHides", false, true, false, Event::ClickOdd, 0, false, false, false, Blue},
        Row{"ShownHideKeepsTheProblem", true, true, false, Event::HideList, 0, true, false, false, Blue},
        Row{"ShownPickLaysOutAPair", true, true, false, Event::Pick, 0, false, false, true, Blue},
        Row{"ShownNextOnlyUnmarks", true, true, true, Event::Next, 0, true, true, false, Blue},
        Row{"ShownAnswerOnlyUnmarks", false, true, true, Event::Answer, 0, false, true, false, Blue},
        Row{"ShownListButtonOnlyUnmarks", true, true, true, Event::ListButton, 0, true, true, false, Blue},
        Row{"BackLeavesFromAnyState", true, true, true, Event::Back, 0, true, true, false, Blue}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(PuzzleGameTest, ASecondHitPlaysNoSecondSound)
{
    Open(3, {DrawOf(1, 3), CellDraw(42)});
    game.CellClick(42);
    game.CellClick(42);
    game.CellClick(41);
    EXPECT_EQ(view.Sounds, 1);
    EXPECT_EQ(game.ProblemClosed, 1);
    // The answer after a hit still marks the cell, and stays silent.
    game.ButtonClick(2);
    EXPECT_EQ(game.BackColour(42), PuzzleGame::Red);
    game.CellClick(42);
    EXPECT_EQ(view.Sounds, 1);
    // The next problem can be hit again.
    Script({DrawOf(2, 3), CellDraw(43)});
    game.ButtonClick(1);
    EXPECT_EQ(game.BackColour(42), PuzzleGame::NormalBlue);
    game.CellClick(43);
    EXPECT_EQ(view.Sounds, 2);
}

TEST_F(PuzzleGameTest, WhileTheListIsShownTheFirstCellClickOnlyClosesIt)
{
    Open(3, {DrawOf(1, 3), CellDraw(42)});
    game.ButtonClick(3);
    game.CellClick(42);
    EXPECT_EQ(view.Sounds, 0);
    EXPECT_FALSE(view.ListVisible);
    game.CellClick(42);
    EXPECT_EQ(view.Sounds, 1);
}

TEST_F(PuzzleGameTest, TheListIsRebuiltFromTheCurrentPairsInPairOrder)
{
    Open(3, {DrawOf(1, 3), CellDraw(0)});
    game.ButtonClick(3);
    ASSERT_EQ(view.Entries.size(), 3);
    EXPECT_EQ(view.Entries[0], FirstOf(1) + QStringLiteral(" ") + SecondOf(1));
    EXPECT_EQ(view.Entries[2], FirstOf(3) + QStringLiteral(" ") + SecondOf(3));
    Script({CellDraw(0)});
    game.ListPick(1);
    EXPECT_EQ(game.CurrentPair, 2);
    EXPECT_EQ(game.Caption(1), FirstOf(2));
    // A store that grew between visits lists every pair.
    Open(5, {DrawOf(1, 5), CellDraw(0)});
    game.ButtonClick(3);
    EXPECT_EQ(view.Entries.size(), 5);
}

// ---- Hover ---------------------------------------------------------------------

TEST_F(PuzzleGameTest, HoverMovesFromCellToCellRepaintingOnlyTheTwo)
{
    Open(3, {DrawOf(1, 3), CellDraw(0)});
    // First visit: the first cell entered turns red, even cell 0, the initial HoverCell.
    EXPECT_EQ(game.HighlightedCell, -1);
    EXPECT_EQ(game.HoverCell, 0);
    game.CellMove(0);
    EXPECT_EQ(game.BackColour(0), PuzzleGame::Red);
    EXPECT_EQ(view.Changed, (std::vector<int>{0}));

    view.Changed.clear();
    game.CellMove(0);
    EXPECT_TRUE(view.Changed.empty()) << "a move within the cell repaints nothing";
    game.CellMove(1);
    EXPECT_EQ(view.Changed, (std::vector<int>{0, 1}));
    EXPECT_EQ(game.BackColour(0), PuzzleGame::NormalBlue);
    EXPECT_EQ(game.BackColour(1), PuzzleGame::Red);
    EXPECT_EQ(game.BackColour(2), PuzzleGame::CreatedBlue);
    EXPECT_EQ(game.HighlightedCell, 1);
}

TEST_F(PuzzleGameTest, LeavingOverAButtonClearsAndReturningHighlightsAgain)
{
    Open(3, {DrawOf(1, 3), CellDraw(0)});
    game.CellMove(77);
    game.ClearHoverHighlight();
    EXPECT_EQ(game.BackColour(77), PuzzleGame::NormalBlue);
    EXPECT_EQ(game.HighlightedCell, -1);
    EXPECT_EQ(game.HoverCell, 77);
    view.Changed.clear();
    game.ClearHoverHighlight();
    EXPECT_TRUE(view.Changed.empty()) << "clearing again repaints nothing that changed";
    game.CellMove(77);
    EXPECT_EQ(game.BackColour(77), PuzzleGame::Red);
}

TEST_F(PuzzleGameTest, TheAnswerMarkingIsAnOrdinaryColourThatHoverTakesAway)
{
    Open(3, {DrawOf(1, 3), CellDraw(50)});
    game.CellMove(49);
    game.ButtonClick(2);
    EXPECT_EQ(game.HighlightedCell, 49) << "a button click leaves the highlight index alone";
    game.CellMove(50);
    game.CellMove(51);
    EXPECT_EQ(game.BackColour(50), PuzzleGame::NormalBlue);
    // When the odd cell was the last one under the mouse, a move over a button unmarks it.
    game.ButtonClick(2);
    EXPECT_EQ(game.BackColour(50), PuzzleGame::Red);
    game.CellMove(50);
    game.ClearHoverHighlight();
    game.ButtonClick(2);
    EXPECT_EQ(game.BackColour(50), PuzzleGame::Red);
    game.ClearHoverHighlight();
    EXPECT_EQ(game.BackColour(50), PuzzleGame::NormalBlue);
}

TEST_F(PuzzleGameTest, HoverFieldsSurviveAReopeningAndTheCellsStartFresh)
{
    Open(3, {DrawOf(1, 3), CellDraw(0)});
    game.CellMove(300);
    game.ButtonClick(2);
    Open(3, {DrawOf(2, 3), CellDraw(0)});
    EXPECT_EQ(game.HighlightedCell, 300);
    EXPECT_EQ(game.HoverCell, 300);
    EXPECT_EQ(game.BackColour(300), PuzzleGame::CreatedBlue);
    EXPECT_EQ(game.BackColour(0), PuzzleGame::CreatedBlue);
    EXPECT_EQ(game.ProblemClosed, 0);
    EXPECT_EQ(game.ListShown, 0);
    game.CellMove(301);
    EXPECT_EQ(game.BackColour(300), PuzzleGame::NormalBlue);
    EXPECT_EQ(game.BackColour(301), PuzzleGame::Red);
}

} // namespace
