// SPDX-License-Identifier: MIT
#include "tests/manage/ManageFixture.h"

#include <QDir>

#include <array>

namespace {

const QString Factory = u"土士日曰"_s;
const QByteArray DamagedBytes = " 3 \r\nA\r\nB\r\n";  // three pairs announced, one there

enum class Trouble { Damaged, Missing };
struct Case {
    const char* name;
    int plate;  // on the menu: 1 list, 2 add, 3 delete
    Trouble trouble;
    bool yes;
    // Deleted or spoilt by another program while the window was open, found by a
    // change, which makes nothing; the add window's typed pair waits in the panel.
    bool whileOpen = false;
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
    t.Boxes.Answers = {c.yes};
    if (!c.whileOpen)
        Click(Find(menu, MenuButtonName(c.plate)));
    else if (&window == &add)
        ConfirmTypedPair();
    else {
        t.Boxes.Answers.push_front(true);  // to the deletion's question
        Click(&remove.Grid().PairLabel(0));
    }

    ASSERT_EQ(t.Boxes.ErrorsAsked.size(), 1u);
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
    EXPECT_EQ(t.Dir.Read(dat), FileOf(Factory));
    EXPECT_EQ(Captions(c.plate == 1 ? list.Grid() : c.plate == 2 ? add.Grid() : remove.Grid()), Shown(Factory));
    EXPECT_TRUE(!c.whileOpen || &window != &add || (Typed() == u"日曰"_s && Find(add, u"inputPanel"_s)->isVisible()));
    // How the damaged file is named and kept is the store's own test.
    EXPECT_EQ(kept.size(), damaged ? 1 : 0);
}
INSTANTIATE_TEST_SUITE_P(Windows, DamagedFile,
                         ::testing::Values(Case{"ListDamagedYes", 1, Trouble::Damaged, true},
                                           Case{"AddDamagedYes", 2, Trouble::Damaged, true},
                                           Case{"DeleteMissingYes", 3, Trouble::Missing, true},
                                           Case{"AddDamagedNo", 2, Trouble::Damaged, false},
                                           Case{"AddMissingWhileOpen", 2, Trouble::Missing, true, true},
                                           Case{"AddDamagedWhileOpen", 2, Trouble::Damaged, true, true},
                                           Case{"DeleteDamagedWhileOpen", 3, Trouble::Damaged, true, true},
                                           Case{"DeleteMissingNo", 3, Trouble::Missing, false}),
                         [](const auto& param) { return std::string(param.param.name); });

// Another copy got the same question and answered first, or the file was mended
// meanwhile: the late Yes replaces nothing, says the file changed, and goes on with
// what is there; a file damaged in another way is asked about again.
TEST_F(ManageFixture, ALateYesReplacesNothingThatChangedAndGoesOnWithWhatIsThere)
{
    t.Dir.Write(u"/data/問題.org"_s, FileOf(Factory));
    const QByteArray otherDamage = " 1 \r\n\"A\r\n";
    for (const bool healthy : {true, false}) {
        SCOPED_TRACE(healthy ? "mended meanwhile" : "damaged otherwise meanwhile");
        t.Dir.Write(dat, DamagedBytes);
        t.Boxes.Answers = healthy ? std::deque<bool>{true} : std::deque<bool>{true, true};
        t.Boxes.WhileAsking = [&] { t.Dir.Write(dat, healthy ? FileOf(u"未末"_s) : otherDamage); };
        t.Frame.Guard([&] { t.Frame.SwitchToWindow(WindowName::PairList); });

        ASSERT_TRUE(list.IsLoaded());
        EXPECT_EQ(t.Boxes.ErrorsAsked.size(), healthy ? 1u : 2u);
        ASSERT_EQ(t.Boxes.Refusals.size(), 1u);
        EXPECT_TRUE(t.Boxes.Refusals[0].contains(u"ほかで書き換えられていた"_s)) << t.Boxes.Refusals[0].toStdString();
        EXPECT_EQ(t.Dir.Read(dat), FileOf(healthy ? u"未末"_s : Factory));
        EXPECT_EQ(Captions(list.Grid()), Shown(healthy ? u"未末"_s : Factory));
        const QDir data(t.Dir.Path() + u"/data"_s);
        const QStringList kept = data.entryList({u"問題.dat.壊れていたもの-*"_s}, QDir::Files);
        EXPECT_EQ(kept.size(), healthy ? 0 : 1);
        if (!kept.isEmpty()) {
            EXPECT_EQ(t.Dir.Read(u"/data/"_s + kept[0]), otherDamage) << "the damage found last is the one kept";
        }
        for (const QString& name : kept)
            QFile::remove(data.filePath(name));
        t.Boxes.ErrorsAsked.clear();
        t.Boxes.Refusals.clear();
        t.Boxes.RefusalTitles.clear();
        t.Frame.Guard([&] { t.Frame.SwitchToWindow(WindowName::Menu); });
    }
}

} // namespace
