// SPDX-License-Identifier: MIT
#include "tests/manage/ManageFixture.h"

#include <QDir>

#include <array>

namespace {

const QString Factory = u"土士日曰"_s;
const QByteArray DamagedBytes = " 3 \r\nA\r\nB\r\n";  // three pairs announced, one there
const QByteArray Mended = FileOfPairs(u"未末"_s), OtherDamage = " 1 \r\n\"A\r\n";

enum class Trouble { Damaged, Missing };
struct Case {
    const char* name;
    int plate;  // on the menu: 1 list, 2 add, 3 delete
    Trouble trouble;
    bool yes;
    // Deleted or spoilt by another program while the window was open, found by a
    // change, which makes nothing; the add window's typed pair waits in the panel.
    bool whileOpen = false;
    // Written while the question waits: another copy answered first, or the file was
    // mended. The late Yes replaces nothing, says so and goes on with what is there,
    // asking again about a file damaged in another way.
    QByteArray meanwhile = {};
};
void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

class DamagedFile : public ManageFixture, public ::testing::WithParamInterface<Case> {};

TEST_P(DamagedFile, AsksToRestoreTheFactorySetKeepingTheDamagedFileOrEndsTouchingNothing)
{
    const Case& c = GetParam();
    const bool damaged = c.trouble == Trouble::Damaged;
    Window& window = *std::array<Window*, 3>{&list, &add, &remove}[c.plate - 1];
    t.Dir.Write(u"/data/問題.org"_s, FileOf(Factory));
    if (c.whileOpen)
        Open(window, u"未末"_s);
    if (damaged)
        t.Dir.Write(dat, DamagedBytes);
    else
        QFile::remove(t.Dir.Path() + dat);
    const bool mended = c.meanwhile == Mended, otherDamage = c.meanwhile == OtherDamage;
    t.Boxes.Answers = otherDamage ? std::deque<bool>{true, c.yes} : std::deque<bool>{c.yes};
    if (!c.meanwhile.isEmpty())
        t.Boxes.WhileAsking = [&] { t.Dir.Write(dat, c.meanwhile); };
    if (!c.whileOpen)
        Click(Find(menu, MenuButtonName(c.plate)));
    else if (&window == &add)
        ConfirmTypedPair();
    else {
        t.Boxes.Answers.push_front(true);  // to the deletion's question
        Click(&remove.Grid().PairLabel(0));
    }

    ASSERT_EQ(t.Boxes.ErrorsAsked.size(), otherDamage ? 2u : 1u);
    EXPECT_EQ(t.Boxes.Refusals.filter(u"ほかで書き換えられていた"_s).size(), c.meanwhile.isEmpty() ? 0 : 1);
    const AppError& error = t.Boxes.ErrorsAsked[0];
    EXPECT_TRUE(error.Description().contains(QDir::toNativeSeparators(t.Dir.Path() + dat))) << error.what();
    EXPECT_TRUE(t.Boxes.ErrorQuestions[0].startsWith(u"出荷時の問題に戻して続けますか？"_s));
    ASSERT_EQ(window.IsLoaded(), c.yes);
    EXPECT_EQ(t.ExitStatuses, c.yes ? std::vector<int>{} : std::vector<int>{1});
    const QStringList kept
        = QDir(t.Dir.Path() + u"/data"_s).entryList({u"問題.dat.壊れていたもの-*"_s}, QDir::Files);
    if (!c.yes) {
        // The file as it was: damaged, or still missing.
        EXPECT_EQ(t.Dir.Exists(dat) ? t.Dir.Read(dat) : "missing", damaged ? DamagedBytes : "missing");
        EXPECT_TRUE(kept.isEmpty());
        return;
    }
    EXPECT_EQ(t.Dir.Read(dat), mended ? Mended : FileOf(Factory));
    EXPECT_EQ(Captions(c.plate == 1 ? list.Grid() : c.plate == 2 ? add.Grid() : remove.Grid()),
              Shown(mended ? u"未末"_s : Factory));
    EXPECT_TRUE(!c.whileOpen || &window != &add || (Typed() == u"日曰"_s && Find(add, u"inputPanel"_s)->isVisible()));
    // How the damaged file is named and kept is the store's own test.
    EXPECT_EQ(kept.size(), damaged && !mended ? 1 : 0);
    EXPECT_TRUE(!otherDamage || t.Dir.Read(u"/data/"_s + kept.value(0)) == OtherDamage) << "the damage found last is kept";
}
INSTANTIATE_TEST_SUITE_P(Windows, DamagedFile,
                         ::testing::Values(Case{"ListDamagedYes", 1, Trouble::Damaged, true},
                                           Case{"AddDamagedYes", 2, Trouble::Damaged, true},
                                           Case{"DeleteMissingYes", 3, Trouble::Missing, true},
                                           Case{"AddDamagedNo", 2, Trouble::Damaged, false},
                                           Case{"AddMissingWhileOpen", 2, Trouble::Missing, true, true},
                                           Case{"AddDamagedWhileOpen", 2, Trouble::Damaged, true, true},
                                           Case{"DeleteDamagedWhileOpen", 3, Trouble::Damaged, true, true},
                                           Case{"DeleteMissingNo", 3, Trouble::Missing, false},
                                           Case{"ListLateYesOverAMendedFile", 1, Trouble::Damaged, true, false, Mended},
                                           Case{"ListLateYesOverOtherDamage", 1, Trouble::Damaged, true, false, OtherDamage}),
                         [](const auto& param) { return std::string(param.param.name); });

} // namespace
