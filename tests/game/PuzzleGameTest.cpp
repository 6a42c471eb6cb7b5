#include "game/PuzzleGame.h"
#include "store/ProblemStore.h"
#include "tests/game/PuzzleTestSupport.h"
#include "tests/support/Fakes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <set>
#include <vector>

namespace {

// Records what the game asks its window to show.
class RecordingView final : public PuzzleView {
public:
    std::vector<int> Changed;
    QStringList Entries;
    bool ListVisible = false;
    int Sounds = 0;
    int Backs = 0;

    void CellChanged(int index) override { Changed.push_back(index); }
    void BoardChanged() override {}
    void PairListShown(const QStringList& entries) override { Entries = entries, ListVisible = true; }
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
    void Next(std::initializer_list<double> draws)
    {
        random.Values = draws;
        game.ButtonClick(1);
        EXPECT_TRUE(random.Values.empty()) << "the problem used other draws than scripted";
    }
    std::set<int> Blocked() const
    {
        std::set<int> blocked;
        for (int n = 1; n <= store.ProblemCount(); ++n)
            if (game.PairUsed(n) == 1)
                blocked.insert(n);
        return blocked;
    }
};

// ---- The recent window ---------------------------------------------------------

struct RecentCase {
    const char* name;
    int pairs;
};
void PrintTo(const RecentCase& c, std::ostream* os) { *os << c.name; }

class RecentWindow : public PuzzleGameTest, public ::testing::WithParamInterface<RecentCase> {};

// With a real generator over long runs, a pair never comes back within the next N
// problems (so 2 pairs alternate and 3 never repeat back to back), and no problem
// needs the draw's safety cap.
TEST_P(RecentWindow, APairStaysAwayForTheWholeWindow)
{
    const RecentCase c = GetParam();
    WriteProblems(dir, c.pairs);
    for (std::uint64_t seed : {1u, 2u, 3u}) {
        SeededRandom seeded(seed);
        PuzzleGame run(store, seeded);
        run.Load();
        const int n = c.pairs / 2;
        ASSERT_EQ(run.RecentCount, n);
        std::map<int, int> lastSeen;
        for (int problem = 0; problem < 500; ++problem) {
            if (problem > 0) {
                const int before = seeded.Draws;
                run.ButtonClick(1);
                ASSERT_LT(seeded.Draws - before, 20) << "far more draws than chance needs";
            }
            const auto found = lastSeen.find(run.CurrentPair);
            if (found != lastSeen.end()) {
                ASSERT_GT(problem - found->second, n) << "pair " << run.CurrentPair << " came back too soon";
            }
            lastSeen[run.CurrentPair] = problem;
        }
        EXPECT_EQ(static_cast<int>(lastSeen.size()), c.pairs) << "some pair was never drawn";
    }
}

INSTANTIATE_TEST_SUITE_P(Runs, RecentWindow,
                         ::testing::Values(RecentCase{"two", 2}, RecentCase{"three", 3}, RecentCase{"seven", 7},
                                           RecentCase{"eighty", 80}),
                         [](const auto& param) { return std::string(param.param.name); });

TEST_F(PuzzleGameTest, SevenPairsReleaseOnlySlotZeroInTheFirstThreeCommits)
{
    Open(7, {DrawOf(1, 7), CellDraw(0)});
    EXPECT_EQ(game.RecentCount, 3);
    EXPECT_EQ(Blocked(), (std::set<int>{1}));
    Next({DrawOf(2, 7), CellDraw(0)});
    EXPECT_EQ(Blocked(), (std::set<int>{1, 2}));
    Next({DrawOf(1, 7), DrawOf(3, 7), CellDraw(0)});  // pair 1 is drawn, refused, drawn again
    EXPECT_EQ(Blocked(), (std::set<int>{1, 2, 3}));
    EXPECT_EQ(game.PairUsed(0), 0);
    Next({DrawOf(1, 7), DrawOf(4, 7), CellDraw(0)});
    EXPECT_EQ(Blocked(), (std::set<int>{2, 3, 4})) << "the fourth commit releases the first pair";
    Next({DrawOf(1, 7), CellDraw(0)});
    EXPECT_EQ(game.CurrentPair, 1);

    // Opening again empties the window: every pair is drawable.
    Open(7, {DrawOf(4, 7), CellDraw(0)});
    EXPECT_EQ(Blocked(), (std::set<int>{4}));
    EXPECT_EQ(game.RecentPairs(1), 0);
}

TEST_F(PuzzleGameTest, AListPickTakesBlockedAndCurrentPairsAndBlocksThemAgain)
{
    Open(7, {DrawOf(1, 7), CellDraw(0)});
    Next({DrawOf(2, 7), CellDraw(0)});
    Next({DrawOf(3, 7), CellDraw(0)});
    // Blocked pair 2 is picked; the pick draws only the odd cell.
    game.ButtonClick(3);
    random.Values = {CellDraw(100)};
    game.ListPick(1);
    EXPECT_EQ(game.CurrentPair, 2);
    EXPECT_EQ(game.OddCell, 100);
    EXPECT_TRUE(random.Values.empty());
    EXPECT_EQ(Blocked(), (std::set<int>{2, 3}));
    // The current pair again: its older entry leaves slot 1 as it enters, and it stays blocked.
    game.ButtonClick(3);
    random.Values = {CellDraw(0)};
    game.ListPick(1);
    EXPECT_EQ(Blocked(), (std::set<int>{2, 3}));
    Next({DrawOf(2, 7), DrawOf(3, 7), DrawOf(4, 7), CellDraw(0)});
    // When pair 2's older entry leaves slot 1 it is drawable, though its newer one is still in.
    Next({DrawOf(5, 7), CellDraw(0)});
    EXPECT_EQ(game.RecentPairs(1), 2);
    Next({DrawOf(2, 7), CellDraw(0)});
}

// ---- Stores too small for the rule, and broken input -----------------------------

TEST_F(PuzzleGameTest, OnePairSimplyComesAgainWhateverAnEarlierVisitLeft)
{
    Open(80, {DrawOf(80, 80), CellDraw(0)});
    for (int n = 0; n <= 100; ++n)
        game.PairUsed(n) = 1;
    for (int i = 0; i <= 50; ++i)
        game.RecentPairs(i) = 1;
    Open(1, {0.3, CellDraw(9)});
    EXPECT_EQ(game.RecentCount, 0);
    for (int problem = 0; problem < 20; ++problem) {
        Next({0.99, CellDraw(problem)});
        EXPECT_EQ(game.CurrentPair, 1);
    }
    EXPECT_EQ(game.Caption(18), FirstOf(1));
    EXPECT_EQ(game.Caption(19), SecondOf(1));
}

TEST_F(PuzzleGameTest, NoPairsGiveAnEmptyBoardOnWhichNothingHarmfulHappens)
{
    Open(3, {DrawOf(2, 3), CellDraw(4)});
    Open(0, {});
    EXPECT_EQ(random.Draws, 2) << "an empty store draws nothing";
    EXPECT_EQ(game.OddCell, PuzzleGame::NoCell);
    for (int k = 0; k < Board::CellCount; ++k)
        ASSERT_TRUE(game.Caption(k).isEmpty()) << k;
    for (int button = 1; button <= 3; ++button)
        game.ButtonClick(button);
    EXPECT_TRUE(view.ListVisible);
    EXPECT_TRUE(view.Entries.isEmpty());
    for (int k = 0; k < Board::CellCount; ++k)
        game.CellClick(k);
    EXPECT_FALSE(view.ListVisible);
    EXPECT_EQ(view.Sounds, 0);
    EXPECT_TRUE(view.Changed.empty()) << "no odd cell to paint";
    EXPECT_EQ(random.Draws, 2);
}

TEST_F(PuzzleGameTest, AGeneratorStuckOnABlockedPairCannotFreezeTheWindow)
{
    Open(2, {DrawOf(1, 2), CellDraw(0)});
    random.Fallback = 0.0;  // asks for pair 1 forever
    game.ButtonClick(1);
    EXPECT_EQ(game.CurrentPair, 2);
    EXPECT_EQ(random.Draws, 2 + PuzzleGame::MaxRedraws + 1);
}

TEST_F(PuzzleGameTest, BadIndicesAndRandomValuesAreErrors)
{
    Open(3, {DrawOf(1, 3), CellDraw(0)});
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<std::function<void()>> calls{
        [&] { game.CellMove(-1); },        [&] { game.CellMove(608); },        [&] { game.CellClick(608); },
        [&] { game.ButtonClick(4); },      [&] { game.ButtonClick(-1); },      [&] { game.ListPick(3); },
        [&] { game.ListPick(-1); },        [&] { game.PairUsed(101) = 1; },    [&] { game.RecentPairs(51) = 1; },
        [&] { random.Values = {1.0}; game.ButtonClick(1); },
        [&] { random.Values = {-0.25}; game.ButtonClick(1); },
        [&] { random.Values = {DrawOf(3, 3), nan}; game.ButtonClick(1); },
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

// ---- The board -------------------------------------------------------------------

TEST_F(PuzzleGameTest, EveryLayoutHasExactlyOneOddCellAndEveryCellCanBeIt)
{
    Open(5, {DrawOf(4, 5), CellDraw(0)});
    for (int target = 0; target < Board::CellCount; ++target) {
        random.Values = {CellDraw(target)};
        game.LayOutBoard();
        for (int k = 0; k < Board::CellCount; ++k)
            ASSERT_EQ(game.Caption(k), k == target ? SecondOf(4) : FirstOf(4)) << target << ", cell " << k;
    }
    random.Values = {std::nextafter(1.0, 0.0)};
    game.LayOutBoard();
    EXPECT_EQ(game.OddCell, 607);
    // Two equal characters: the board looks uniform and still has its odd cell.
    dir.Write(QStringLiteral("/data/問題.dat"), Cp932(QStringLiteral(" 1 \r\n口\r\n口\r\n")));
    random.Values = {0.0, CellDraw(321)};
    game.Load();
    game.CellClick(320);
    game.CellClick(321);
    EXPECT_EQ(view.Sounds, 1);
}

TEST(BoardNumbering, TopRowsRunLeftToRightAndTheRestRightToLeft)
{
    struct Case {
        int column, row, index;
    };
    for (const Case c : {Case{0, 0, 0}, Case{31, 4, 159}, Case{31, 5, 160}, Case{0, 5, 191}, Case{0, 18, 607}}) {
        EXPECT_EQ(Board::CellIndex(c.column, c.row), c.index);
        EXPECT_EQ(Board::CellColumn(c.index), c.column);
        EXPECT_EQ(Board::CellRow(c.index), c.row);
    }
    std::set<int> indices;
    for (int row = 0; row < Board::Rows; ++row)
        for (int column = 0; column < Board::Columns; ++column)
            indices.insert(Board::CellIndex(column, row));
    EXPECT_EQ(indices.size(), 608u);
    EXPECT_EQ(*indices.rbegin(), 607);
}

// ---- Answers, buttons and the list: the state table --------------------------------

enum class Event { ClickOdd, ClickOther, Answer, Next, ListButton, HideList, Pick, Back };

struct Row {
    const char* name;
    bool closedBefore, listBefore, markedBefore;  // marked: the odd cell is red
    Event event;
    int sounds;
    bool closedAfter, listAfter, newProblem;
    PuzzleGame::Rgb oddColourAfter;  // of the odd cell the row started with
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
    if (row.markedBefore && row.listBefore)
        game.CellMove(game.OddCell);  // with the list up, only the mouse paints it red
    ASSERT_EQ(game.BackColour(200), row.markedBefore ? Red : row.listBefore ? Blue : Made);
    random.Values = {DrawOf(3, 3), CellDraw(300)};

    switch (row.event) {
    case Event::ClickOdd: game.CellClick(200); break;
    case Event::ClickOther: game.CellClick(201); break;
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
    EXPECT_EQ(game.OddCell != 200, row.newProblem);
    EXPECT_EQ(game.BackColour(200), row.oddColourAfter);
    EXPECT_EQ(view.Backs, row.event == Event::Back ? 1 : 0);
    if (row.listAfter) {
        EXPECT_EQ(view.Entries, (QStringList{FirstOf(1) + QStringLiteral(" ") + SecondOf(1),
                                             FirstOf(2) + QStringLiteral(" ") + SecondOf(2),
                                             FirstOf(3) + QStringLiteral(" ") + SecondOf(3)}));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, StateTable,
    ::testing::Values(Row{"OpenHit", false, false, false, Event::ClickOdd, 1, true, false, false, Made},
                      Row{"OpenMiss", false, false, false, Event::ClickOther, 0, false, false, false, Made},
                      Row{"OverHitIsSilent", true, false, false, Event::ClickOdd, 0, true, false, false, Made},
                      Row{"MarkedHitIsSilent", true, false, true, Event::ClickOdd, 0, true, false, false, Red},
                      Row{"Answer", false, false, false, Event::Answer, 0, true, false, false, Red},
                      Row{"AnswerTwice", true, false, true, Event::Answer, 0, true, false, false, Red},
                      Row{"Next", true, false, true, Event::Next, 0, false, false, true, Blue},
                      Row{"ListButton", false, false, false, Event::ListButton, 0, false, true, false, Blue},
                      Row{"ShownCellClickOnlyHides", false, true, false, Event::ClickOdd, 0, false, false, false, Blue},
                      Row{"ShownSurfaceHides", true, true, false, Event::HideList, 0, true, false, false, Blue},
                      Row{"ShownPick", true, true, false, Event::Pick, 0, false, false, true, Blue},
                      Row{"ShownNextOnlyUnmarks", true, true, true, Event::Next, 0, true, true, false, Blue},
                      Row{"ShownAnswerOnlyUnmarks", false, true, true, Event::Answer, 0, false, true, false, Blue},
                      Row{"ShownListOnlyUnmarks", true, true, true, Event::ListButton, 0, true, true, false, Blue},
                      Row{"Back", true, true, true, Event::Back, 0, true, true, false, Blue}),
    [](const auto& param) { return std::string(param.param.name); });

// ---- Hover ---------------------------------------------------------------------------

TEST_F(PuzzleGameTest, TheAnswerMarkingIsAnOrdinaryColourThatHoverTakesAway)
{
    Open(3, {DrawOf(1, 3), CellDraw(50)});
    game.CellMove(49);
    game.ButtonClick(2);
    EXPECT_EQ(game.HighlightedCell, 49) << "a button leaves the highlight index alone";
    game.CellMove(50);
    game.CellMove(51);
    EXPECT_EQ(game.BackColour(50), Blue) << "passing over the marked cell unmarks it";
    // The odd cell last under the mouse: a move over a button unmarks it.
    game.CellMove(50);
    game.ClearHoverHighlight();
    game.ButtonClick(2);
    EXPECT_EQ(game.BackColour(50), Red);
    game.ClearHoverHighlight();
    EXPECT_EQ(game.BackColour(50), Blue);
}

TEST_F(PuzzleGameTest, TheFirstCellEnteredTurnsRedAndTheHoverFieldsOutliveAVisit)
{
    Open(3, {DrawOf(1, 3), CellDraw(0)});
    game.CellMove(0);  // cell 0 is also the initial HoverCell
    EXPECT_EQ(game.BackColour(0), Red);
    game.CellMove(300);
    Open(3, {DrawOf(2, 3), CellDraw(0)});
    EXPECT_EQ(game.HighlightedCell, 300);
    EXPECT_EQ(game.HoverCell, 300);
    EXPECT_EQ(game.BackColour(300), Made) << "new controls start in the created colour";
    view.Changed.clear();
    game.CellMove(301);
    EXPECT_EQ(view.Changed, (std::vector<int>{300, 301}));
    EXPECT_EQ(game.BackColour(300), Blue);
    EXPECT_EQ(game.BackColour(301), Red);
}

} // namespace
