// SPDX-License-Identifier: MIT
// The add and delete windows' rules without a screen: what is stored, refused or
// left alone, where the focus goes, which cells turn red and what a click deletes.
#include "core/AppError.h"
#include "manage/core/PairDeletion.h"
#include "manage/core/PairEntry.h"
#include "store/ProblemStore.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <map>
#include <tuple>

using namespace Qt::StringLiterals;

namespace {

class PairRules : public ::testing::Test {
protected:
    void Store(const QString& pairs)
    {
        dir.Write(dat, FileOfPairs(pairs));
        store.LoadProblemFile();
    }

    TempAppDir dir;
    ProblemStore store{StoreIn(dir)};
    const QString dat = u"/data/問題.dat"_s;
};

using Focus = PairEntry::Focus;
using Outcome = PairEntry::Outcome;

TEST_F(PairRules, EntryStoresTheFirstCharactersAsPairOneOrLeavesPanelAndFileAsTheyWere)
{
    // The pairs before, what is typed into each box, the pairs after, the outcome,
    // the focus, and what a refusal must name. The add window's own test types the
    // first characters of longer words, a combining mark, an empty second box and
    // a character outside code page 932.
    using Case = std::tuple<QString, QString, QString, QString, Outcome, Focus, QString>;
    const QString full = ManyPairs(80), kept = u"土士"_s;
    const Case cases[] = {
        {kept, u"口"_s, u"口"_s, u"口口土士"_s, Outcome::Stored, Focus::OpenButton, {}},
        {{}, u"未"_s, u"末"_s, u"未末"_s, Outcome::Stored, Focus::OpenButton, {}},
        {full, u"未"_s, u"末"_s, u"未末"_s + full.left(158), Outcome::Stored, Focus::OpenButton, {}},
        {kept, {}, {}, kept, Outcome::Incomplete, Focus::FirstBox, {}},
        {kept, {}, u"末"_s, kept, Outcome::Incomplete, Focus::FirstBox, {}},
        {kept, u"\"未"_s, u"末"_s, kept, Outcome::Refused, Focus::FirstBox, u"\""_s},
        {kept, u"𠮷野"_s, u"吉"_s, kept, Outcome::Refused, Focus::FirstBox, u"𠮷"_s},          // never halved
        {kept, u"未"_s, u"か\u309Aき"_s, kept, Outcome::Refused, Focus::FirstBox, u"\u309A"_s},  // the mark stays
        // By code point, as the board would show 607 empty cells, or blanks or boxes.
        {kept, u" "_s, u"末"_s, kept, Outcome::Refused, Focus::FirstBox, u"U+0020 は空白"_s},
        {kept, u"未"_s, u"\t"_s, kept, Outcome::Refused, Focus::FirstBox, u"U+0009 は空白"_s},
        {kept, u"\n"_s, u"末"_s, kept, Outcome::Refused, Focus::FirstBox, u"U+000A は空白"_s},
        {kept, u"未"_s, u"\x01"_s, kept, Outcome::Refused, Focus::FirstBox, u"U+0001 は空白"_s},
        {kept, u"\u3000"_s, u"末"_s, kept, Outcome::Refused, Focus::FirstBox, u"U+3000 は空白"_s},
        {kept, u"未"_s, u"\u200B"_s, kept, Outcome::Refused, Focus::FirstBox, u"U+200B は空白"_s},
        {kept, u"\uE000"_s, u"末"_s, kept, Outcome::Refused, Focus::FirstBox, u"U+E000 は私用領域"_s},
        {kept, u"未"_s, u"\uF8FF"_s, kept, Outcome::Refused, Focus::FirstBox, u"U+F8FF は私用領域"_s},
    };
    for (const auto& [before, first, second, after, outcome, focus, refused] : cases) {
        SCOPED_TRACE((first + u'|' + second).toStdString());
        Store(before);
        PairEntry entry(store);
        ASSERT_TRUE(entry.Open());
        EXPECT_FALSE(entry.Open()) << "a second click while open does nothing";
        const PairEntry::Confirmation result = entry.Confirm(first, second);
        EXPECT_EQ(result.outcome, outcome);
        EXPECT_EQ(result.focus, focus);
        EXPECT_EQ(entry.PanelOpen(), outcome != Outcome::Stored);
        EXPECT_EQ(dir.Read(dat), FileOfPairs(after));
        EXPECT_EQ(store.ProblemCount(), after.size() / 2);
        if (refused.isEmpty())
            EXPECT_TRUE(result.refusal.isEmpty());
        else
            EXPECT_TRUE(result.refusal.startsWith(u"この組は登録できません。\n"_s) && result.refusal.contains(refused))
                << result.refusal.toStdString();
    }
}

// What a click deletes is checked through the delete window.
TEST_F(PairRules, DeletionHighlightsOnlyFilledCellsAndRepaintsOnlyWhatChanged)
{
    Store(u"未末土士日曰"_s);
    PairDeletion deletion(store);
    std::map<int, Rgb> painted;
    const HoverHighlight::Painter paint = [&](int index, Rgb colour) { painted[index] = colour; };
    const auto expect = [&](std::map<int, Rgb> cells, int highlighted) {
        EXPECT_EQ(painted, cells);
        EXPECT_EQ(deletion.HighlightedIndex(), highlighted);
        painted.clear();
    };
    constexpr Rgb Red = CellColour::Highlighted, Back = CellColour::Normal;

    deletion.MoveOverPair(0, paint);
    expect({{0, Red}}, 0);
    deletion.MoveOverPair(1, paint);
    expect({{0, Back}, {1, Red}}, 1);
    deletion.MoveOverPair(1, paint);
    expect({}, 1);
    deletion.MoveOverPair(3, paint);  // holds no pair
    expect({}, 1);
    deletion.MoveOffPairs(paint);
    expect({{1, Back}}, -1);
    deletion.MoveOffPairs(paint);
    expect({{1, Back}}, -1);  // painted back again, whether red or not
}

} // namespace
