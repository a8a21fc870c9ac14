// What every front end's input means, decided once in the session: clicks,
// the bet lists' selection, Delete and the windows' turns. Driven with raw
// events, as a front end passes them on.
#include "support/table.h"

#include <gtest/gtest.h>

namespace morvik::testing {
namespace {

namespace b = ids::table;
using Entries = std::vector<std::string>;

// A click and a double click on a cell, and a press dragged off it, are the end-to-end round's. Here a press
// let go over another cell (a browser names the one beneath) or off any, then a release with no press.
TEST(Clicks, LayAChipOnlyForAPressAndAReleaseOnTheSameCell)
{
    Table t("Play $5");
    for (const int released : {b::Label1 + 18, -1, b::Label1 + 17}) {
        t.session.press(b::Label1 + 17);
        t.session.release(released);
        t.session.release(b::Label1 + 17);
    }
    EXPECT_EQ(t.list(0), Entries{"17-5"});
}

// No press of a double click acts on a window that its first click brought up (the round
// every front end plays holds the rest): "X", then "Play" or "Quit" where they appeared.
TEST(Clicks, ADoubleClickOnXActsOnNothingOfTheTitle)
{
    for (const int second : {ids::title::Label1, ids::title::Label1 + 1}) {
        Table t("Play");
        t.click(b::Label7);
        t.session.press(second, true);
        t.session.release(second);
        EXPECT_TRUE(t.session.inSight(ids::title::Form2));
        EXPECT_FALSE(t.quitted);
    }
}

TEST(Clicks, NothingHiddenOrNotYetMadeActs)
{
    Table t("");
    t.session.closeRequest(b::Form1); // the browser's Back after a reload
    t.play("Next");
    EXPECT_EQ(t.log, Entries{"Form2 shown"});
    t.play("Play Quit"); // "Quit" on the hidden title
    t.session.click(ids::title::Label1 + 1); // as a screen reader may
    EXPECT_FALSE(t.quitted);
}

// The round played with the keyboard alone is the end-to-end round's; here
// what it leaves out.
// A held key moves the focus again at each of the desktop's repeats, but acts
// once a press; X11 repeats it as a release and a press, both marked.
TEST(Keys, AHeldKeyMovesAgainButActsOnceTheArrowsFollowTheGridAndTabSkipsWhatASpinHides)
{
    Table t("Play $100 0"); // the keyboard's focus on the 0 cell, which takes no bet
    for (const Key key : {Key::Tab, Key::Enter})
        for (const auto& [down, repeat] : {std::pair{true, false}, {true, true}, {false, true}, {true, true}, {false, false}})
            t.session.key(key, down, repeat);
    t.play("S-Tab S-Tab S-Tab Down Right Down Left Up Up Down Enter"); // back to 0, through the grid to 2
    EXPECT_EQ(t.list(0), (Entries{"3-100", "2-100"}));
    t.play("Next Next");
    ASSERT_TRUE(t.state().spinning());
    t.play("Tab");
    EXPECT_EQ(t.session.focus(), b::Label7) << "from Next, past the hidden lists";
    t.play("Tab S-Tab S-Tab");
    EXPECT_EQ(t.session.focus(), b::Label5 + 1) << "the tray, Next and the lists are hidden during a spin";
    EXPECT_FALSE(t.session.key(Key::Other, true));
}

// Only a press on an entry selects it; Delete (or Backspace) counts once, on the next tick, however briefly
// it was down, and not when the keyboard was lost meanwhile. A press below the entries and the selection
// gone with the entry taken back are the end-to-end round's.
TEST(Delete, WithdrawsTheEntryPressedOnceForATapBetweenTwoTicks)
{
    Table t("Play $1 Red Odd $5 Even Delete t1"); // Delete with nothing selected is spent
    t.session.pressEntry(b::List1, 1);
    t.session.pressEntry(b::List1, 3); // no such entry
    t.play("t1");
    EXPECT_EQ(t.looks[b::List1].selected, 1) << "a tick without Delete";
    t.play("Delete Delete t3"); // two taps before a tick take one bet
    EXPECT_EQ(t.list(0), (Entries{"Red-1", "Even-5"}));
    t.session.pressEntry(b::List1, 1);
    t.play("Backspace t1");
    EXPECT_EQ(t.list(0), Entries{"Red-1"});
    t.session.key(Key::Delete, true);
    t.session.keyboardLost();
    t.session.pressEntry(b::List1, 0);
    t.play("t1");
    EXPECT_EQ(t.list(0).size(), 1u) << "the key held when the keyboard was lost";
}

// Thirty entries, eleven in sight: a notch (120) scrolls three, a turn back starts afresh.
TEST(Scroll, SmallStepsOfATouchpadOrASmoothWheelAddUp)
{
    Table t("Play $1 17 Next Next spin17 $1");
    for (int i = 0; i < 30; ++i)
        t.click(b::Label5 + 1);
    for (const auto& [delta, top] :
         {std::pair{-15, 19}, {-15, 19}, {-15, 18}, {-40, 17}, {-120, 14}, {15, 14}, {15, 14}, {15, 15}, {40, 16}}) {
        t.session.wheel(b::List1, delta);
        EXPECT_EQ(t.looks[b::List1].top, top) << delta;
    }
}

// Close requests are the end-to-end round's: to the title window a Quit, to the table the "X".
TEST(Windows, PlayMakesTheTableOnceAndShowsTheNewWindowBeforeHidingTheOld)
{
    Table t("Play");
    t.log.clear();
    t.play("X Play");
    EXPECT_EQ(t.tablesMade, 1);
    EXPECT_EQ(t.log, (Entries{"Form2 shown", "Form1 hidden", "Form1 shown", "Form2 hidden"}));
}

} // namespace
} // namespace morvik::testing
