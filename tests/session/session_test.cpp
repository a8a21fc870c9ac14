// What every front end's input means, decided once in the session: clicks,
// the bet lists' selection, Delete and the windows' turns. Driven with raw
// events, as a front end passes them on.
#include "support/table.h"

#include <gtest/gtest.h>

namespace morvik::testing {
namespace {

namespace b = ids::table;
using Entries = std::vector<std::string>;

TEST(Clicks, LayAChipOnlyForAPressAndAReleaseOnTheSameCell)
{
    struct Gesture {
        const char* name;
        // 'p' press, 'd' the second press of a double click, 'r' release on a control, -1 over none
        std::vector<std::pair<char, int>> events;
        Entries entries;
    };
    const Gesture gestures[] = {
        {"press and release", {{'p', b::Label1 + 17}, {'r', b::Label1 + 17}}, {"17-5"}},
        {"double click on a cell lays two", {{'p', b::Label1 + 17}, {'r', b::Label1 + 17}, {'d', b::Label1 + 17}, {'r', b::Label1 + 17}}, {"17-5", "17-5"}},
        {"dragged onto another cell", {{'p', b::Label1 + 17}, {'r', b::Label1 + 18}}, {}},
        {"a press dragged off is forgotten", {{'p', b::Label1 + 17}, {'r', -1}, {'r', b::Label1 + 17}}, {}},
        {"a chip dragged off stays unchosen", {{'p', b::Image1 + 0}, {'r', -1}, {'p', b::Label5}, {'r', b::Label5}}, {"Black-5"}},
    };
    for (const Gesture& g : gestures) {
        Table t("Play $5");
        for (const auto& [event, control] : g.events)
            event == 'r' ? t.session.release(control) : t.session.press(control, event == 'd');
        EXPECT_EQ(t.list(0), g.entries) << g.name;
    }
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

// Only a press on an entry selects it, and nothing but a withdrawal takes
// the selection away. Delete (or Backspace) counts once, on the next tick,
// however briefly it was down, and not when the keyboard was lost meanwhile.
TEST(Delete, WithdrawsTheEntryPressedOnceForATapBetweenTwoTicks)
{
    Table t("Play $1 Red Odd $5 Even Delete t1"); // Delete with nothing selected is spent
    t.session.pressEntry(b::List1, 1);
    t.session.pressEntry(b::List1, -1); // the empty part below the entries
    t.session.pressEntry(b::List1, 3); // no such entry
    t.session.pressEntry(b::List1 + 1, 0); // the hidden list
    EXPECT_EQ(t.looks[b::List1].selected, 1);
    EXPECT_EQ(t.looks[b::List1 + 1].selected, -1);
    t.play("t1");
    EXPECT_EQ(t.looks[b::List1].selected, 1) << "a tick without Delete";
    t.play("Delete Delete t3"); // two taps before a tick take one bet
    EXPECT_EQ(t.list(0), (Entries{"Red-1", "Even-5"}));
    EXPECT_EQ(t.looks[b::List1].selected, -1) << "the next entry is not chosen, or a held key would sweep the list";
    t.session.pressEntry(b::List1, 1);
    t.session.key(Key::Other, true);
    t.play("t1");
    EXPECT_EQ(t.list(0).size(), 2u) << "another key, nor the tap already spent";
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

TEST(Windows, PlayMakesTheTableOnceAndXAndCloseRequestsGoBackAndForth)
{
    Table t("Play $1 Red X Play");
    t.session.closeRequest(b::Form1);
    t.play("Play");
    EXPECT_EQ(t.tablesMade, 1);
    EXPECT_EQ(t.log, (Entries{
        "Form2 shown", "Label3(0)=2", "Label3(1)=2", "Label3(2)=2", "Label3(3)=2", "Label3(4)=2", "Label3(5)=2",
        "Form1 shown", "Form2 hidden", "Label3(0)=1",
        "Form2 shown", "Form1 hidden", "Form1 shown", "Form2 hidden",
        "Form2 shown", "Form1 hidden", "Form1 shown", "Form2 hidden"}));
    EXPECT_FALSE(t.quitted);
    t.session.closeRequest(ids::title::Form2);
    EXPECT_TRUE(t.quitted) << "a close request to the title window is a Quit";
}

} // namespace
} // namespace morvik::testing
