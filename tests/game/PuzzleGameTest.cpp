// SPDX-License-Identifier: MIT
#include "game/core/PuzzleGame.h"
#include "store/ProblemStore.h"
#include "tests/game/PuzzleTestSupport.h"
#include "tests/support/Fakes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <tuple>
#include <vector>

namespace {

// Records what the game asks its window to show.
class RecordingView final : public PuzzleView {
public:
    QStringList Entries;
    bool ListVisible = false;
    int Sounds = 0, Backs = 0;

    void CellChanged(int) override {}
    void BoardChanged() override {}
    void PairListShown(const QStringList& entries) override { Entries = entries, ListVisible = true; }
    void PairListHidden() override { ListVisible = false; }
    void HitSound() override { ++Sounds; }
    void BackToMenu() override { ++Backs; }
};

constexpr Rgb Blue = CellColour::Normal;
constexpr Rgb Made = CellColour::Created;
constexpr Rgb Red = CellColour::Highlighted;

class PuzzleGameTest : public ::testing::Test {
protected:
    TempAppDir dir;
    ProblemStore store{StoreIn(dir)};
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
    // Runs `event` (the next button by default), which must use exactly these draws.
    void With(std::initializer_list<double> draws, const std::function<void()>& event = {})
    {
        random.Values = draws;
        event ? event() : game.ButtonClick(1);
        EXPECT_TRUE(random.Values.empty()) << "other draws than scripted";
    }
    std::set<int> Blocked() const
    {
        std::set<int> blocked;
        for (int n = 1; n <= store.ProblemCount(); ++n)
            if (game.PairBlocked(n))
                blocked.insert(n);
        return blocked;
    }
};

// ---- The recent window ---------------------------------------------------------

// Over long runs of uniform draws a pair stays away for the whole window (so 2 pairs
// alternate and 3 never repeat back to back), every pair turns up, and chance alone
// ends each draw.
TEST_F(PuzzleGameTest, APairStaysAwayForTheWholeWindow)
{
    for (const int pairs : {2, 3, 7, 80}) {
        WriteProblems(dir, pairs);
        SCOPED_TRACE(::testing::Message() << pairs << " pairs");
        std::mt19937_64 engine(static_cast<std::uint64_t>(pairs));
        random.Values.clear();
        for (int draw = 0; draw < 10000; ++draw)
            random.Values.push_back(static_cast<double>(engine() >> 11) * 0x1.0p-53);
        game.Load();
        std::map<int, int> lastSeen;
        for (int problem = 0; problem < 1500; ++problem) {
            const int before = random.Draws;
            if (problem > 0)
                game.ButtonClick(1);
            ASSERT_LT(random.Draws - before, 20) << "far more draws than chance needs";
            const auto found = lastSeen.find(game.CurrentPair());
            if (found != lastSeen.end()) {
                ASSERT_GT(problem - found->second, pairs / 2) << "pair " << game.CurrentPair() << " came too soon";
            }
            lastSeen[game.CurrentPair()] = problem;
        }
        EXPECT_EQ(static_cast<int>(lastSeen.size()), pairs) << "some pair was never drawn";
    }
}

// Seven pairs block three. The first three commits release only the empty slot 0; a
// list pick takes a blocked pair or the current one without drawing it and blocks
// it again; a pair is free once its oldest entry leaves, though a newer one stays.
TEST_F(PuzzleGameTest, SevenPairsThroughDrawsAndListPicks)
{
    const auto pair = [](int n) { return DrawOf(n, 7); };
    Open(7, {pair(1), CellDraw(0)});
    With({pair(2), CellDraw(0)});
    With({pair(1), pair(3), CellDraw(0)});  // pair 1 is drawn, refused, drawn again
    EXPECT_EQ(Blocked(), (std::set<int>{1, 2, 3}));
    EXPECT_FALSE(game.PairBlocked(0));

    game.ButtonClick(3);
    With({CellDraw(100)}, [&] { game.ListPick(1); });
    EXPECT_EQ(game.CurrentPair(), 2);
    EXPECT_EQ(game.OddCell(), 100);
    EXPECT_EQ(Blocked(), (std::set<int>{2, 3})) << "the fourth commit releases pair 1";
    game.ButtonClick(3);
    With({CellDraw(0)}, [&] { game.ListPick(1); });
    EXPECT_EQ(Blocked(), (std::set<int>{2, 3})) << "release before block";
    With({pair(2), pair(3), pair(1), CellDraw(0)});
    With({pair(5), CellDraw(0)});
    EXPECT_EQ(game.RecentPair(1), 2);
    With({pair(2), CellDraw(0)});

    Open(7, {pair(4), CellDraw(0)});
    EXPECT_EQ(Blocked(), (std::set<int>{4})) << "opening again empties the window";
    EXPECT_EQ(game.RecentPair(1), 0);
}

// ---- Stores too small for the rule, and broken input -----------------------------

// No draw loop spins: not on flags an earlier visit left above the count, not on a
// generator stuck on a blocked pair. One pair simply comes again; no pairs give an
// empty board on which nothing harmful happens.
TEST_F(PuzzleGameTest, SmallStoresAndAStuckGeneratorNeverHang)
{
    // A visit on 80 pairs leaves pairs 41 to 80 blocked.
    Open(80, {DrawOf(80, 80), CellDraw(0)});
    for (int pair = 79; pair > 40; --pair)
        With({DrawOf(pair, 80), CellDraw(0)});
    Open(2, {DrawOf(1, 2), CellDraw(0)});
    random.Fallback = 0.0;  // asks for pair 1 forever
    int before = random.Draws;
    game.ButtonClick(1);
    EXPECT_EQ(game.CurrentPair(), 2);
    EXPECT_EQ(random.Draws - before, PuzzleGame::MaxRedraws + 1);

    Open(1, {0.3, CellDraw(9)});
    EXPECT_EQ(game.RecentCount(), 0);
    With({0.99, CellDraw(10)});
    EXPECT_EQ(game.Caption(9), FirstOf(1));
    EXPECT_EQ(game.Caption(10), SecondOf(1));

    before = random.Draws;
    Open(0, {});
    EXPECT_EQ(game.OddCell(), PuzzleGame::NoCell);
    for (int button = 1; button <= 3; ++button)
        game.ButtonClick(button);
    EXPECT_TRUE(view.ListVisible && view.Entries.isEmpty());
    for (int k = 0; k < Board::CellCount; ++k) {
        ASSERT_TRUE(game.Caption(k).isEmpty()) << k;
        game.CellClick(k);
    }
    EXPECT_FALSE(view.ListVisible);
    EXPECT_EQ(view.Sounds, 0);
    EXPECT_EQ(random.Draws, before) << "an empty store draws nothing";
}

TEST_F(PuzzleGameTest, BadIndicesAndRandomValuesAreErrors)
{
    Open(3, {DrawOf(1, 3), CellDraw(0)});
    const std::vector<std::function<void()>> calls{
        [&] { game.CellMove(-1); },   [&] { game.CellMove(608); },     [&] { game.CellClick(608); },
        [&] { game.ButtonClick(4); }, [&] { game.ButtonClick(-1); },   [&] { game.ListPick(3); },
        [&] { game.ListPick(-1); },   [&] { game.PairBlocked(MaxPairs + 1); }, [&] { game.RecentPair(MaxPairs / 2 + 1); },
        [&] { With({1.0}); },         [&] { With({-0.25}); },          [&] { With({0.5, std::nan("")}); },
    };
    for (std::size_t call = 0; call < calls.size(); ++call)
        EXPECT_EQ(ErrorOf(calls[call]).Number(), AppError::SubscriptOutOfRange) << "call " << call;
}

// ---- The board -------------------------------------------------------------------

// Every cell can be the odd one and there is always exactly one; a pair of two equal
// characters still has its odd cell.
TEST_F(PuzzleGameTest, EveryLayoutHasExactlyOneOddCellAndEveryCellCanBeIt)
{
    Open(5, {DrawOf(4, 5), CellDraw(0)});
    for (int target = 0; target < Board::CellCount; ++target) {
        random.Values = {CellDraw(target)};
        game.ListPick(3);
        for (int k = 0; k < Board::CellCount; ++k)
            ASSERT_EQ(game.Caption(k), k == target ? SecondOf(4) : FirstOf(4)) << target << ", cell " << k;
    }
    random.Values = {std::nextafter(1.0, 0.0)};
    game.ListPick(3);
    EXPECT_EQ(game.OddCell(), 607);
    dir.Write(QStringLiteral("/data/問題.dat"), Cp932(QStringLiteral(" 1 \r\n口\r\n口\r\n")));
    random.Values = {0.0, CellDraw(321)};
    game.Load();
    game.CellClick(320);
    game.CellClick(321);
    EXPECT_EQ(view.Sounds, 1);
}

// ---- Answers, buttons and the list: the state table --------------------------------

enum Event { ClickOdd, ClickOther, Answer, Next, ListButton, HideList, Pick, Back };

struct Row {
    const char* name;
    bool closedBefore, listBefore, markedBefore;  // marked: the odd cell is red
    Event event;
    int sounds;
    bool closedAfter, listAfter, newProblem;
    Rgb oddColourAfter;  // of the odd cell the row started with
};

class StateTable : public PuzzleGameTest, public ::testing::WithParamInterface<Row> {};

TEST_P(StateTable, Row)
{
    const Row row = GetParam();
    Open(3, {DrawOf(2, 3), CellDraw(200)});
    if (row.closedBefore)
        game.CellClick(200);  // a hit
    if (row.listBefore)
        game.ButtonClick(PuzzleGame::ListButton);
    if (row.markedBefore && row.listBefore)
        game.CellMove(200);  // with the list up, only the mouse paints it red
    else if (row.markedBefore)
        game.ButtonClick(PuzzleGame::AnswerButton);
    view.Sounds = 0;
    ASSERT_EQ(game.ProblemClosed(), row.closedBefore);
    ASSERT_EQ(game.BackColour(200), row.markedBefore ? Red : row.listBefore ? Blue : Made);

    const std::function<void()> events[] = {
        [&] { game.CellClick(200); }, [&] { game.CellClick(201); }, [&] { game.ButtonClick(2); },
        [&] { game.ButtonClick(1); }, [&] { game.ButtonClick(3); }, [&] { game.HidePairList(); },
        [&] { game.ListPick(0); },    [&] { game.ButtonClick(0); }};
    random.Values = {DrawOf(3, 3), CellDraw(300)};
    events[row.event]();

    // Sounds, closed, list flag and list on screen, new problem, colour, back to the menu.
    EXPECT_EQ(std::tuple(view.Sounds, game.ProblemClosed(), game.ListShown(), view.ListVisible,
                         game.OddCell() != 200, game.BackColour(200), view.Backs),
              std::tuple(row.sounds, row.closedAfter, row.listAfter, row.listAfter, row.newProblem,
                         row.oddColourAfter, row.event == Back ? 1 : 0));
    const bool shown = row.listBefore || row.listAfter;
    EXPECT_EQ(view.Entries.join(u'|'), shown ? QStringLiteral("ぁ ァ|あ ア|ぃ ィ") : QString());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, StateTable,
    ::testing::Values(Row{"OpenHit", false, false, false, ClickOdd, 1, true, false, false, Made},
                      Row{"OpenMiss", false, false, false, ClickOther, 0, false, false, false, Made},
                      Row{"OverHitIsSilent", true, false, false, ClickOdd, 0, true, false, false, Made},
                      Row{"MarkedHitIsSilent", true, false, true, ClickOdd, 0, true, false, false, Red},
                      Row{"Answer", false, false, false, Answer, 0, true, false, false, Red},
                      Row{"AnswerTwice", true, false, true, Answer, 0, true, false, false, Red},
                      Row{"Next", true, false, true, Next, 0, false, false, true, Blue},
                      Row{"ListButton", false, false, false, ListButton, 0, false, true, false, Blue},
                      Row{"ShownCellClickOnlyHides", false, true, false, ClickOdd, 0, false, false, false, Blue},
                      Row{"ShownSurfaceHides", true, true, false, HideList, 0, true, false, false, Blue},
                      Row{"ShownPick", true, true, false, Pick, 0, false, false, true, Blue},
                      Row{"ShownNextOnlyUnmarks", true, true, true, Next, 0, true, true, false, Blue},
                      Row{"ShownAnswerOnlyUnmarks", false, true, true, Answer, 0, false, true, false, Blue},
                      Row{"ShownListOnlyUnmarks", true, true, true, ListButton, 0, true, true, false, Blue},
                      Row{"Back", true, true, true, Back, 0, true, true, false, Blue}),
    [](const auto& param) { return std::string(param.param.name); });

} // namespace
