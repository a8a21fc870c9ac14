// What every front end's input means, decided once in the session: clicks,
// the bet lists' selection, Delete, the windows' turns, and where captions
// break. Driven with raw events, as a front end passes them on.
#include "support/table.h"

#include <gtest/gtest.h>

namespace morvik::testing {
namespace {

namespace b = ids::table;

// --- A click is a press and a release on the same control ---

struct Gesture {
    const char* name;
    std::vector<std::pair<char, int>> events; // 'p' press, 'r' release on a control, -1 over none
    std::vector<std::string> entries;
};

void PrintTo(const Gesture& g, std::ostream* os) { *os << g.name; }

class Clicks : public ::testing::TestWithParam<Gesture> {};

TEST_P(Clicks, LayAChipOnlyForAPressAndAReleaseOnTheSameCell)
{
    Table t;
    t.play("$5");
    for (const auto& [event, control] : GetParam().events)
        event == 'p' ? t.session.press(control) : t.session.release(control);
    EXPECT_EQ(t.display.list(0), GetParam().entries);
}

INSTANTIATE_TEST_SUITE_P(Mouse, Clicks, ::testing::Values(
    Gesture{"PressAndRelease", {{'p', b::Label1 + 17}, {'r', b::Label1 + 17}}, {"17-5"}},
    Gesture{"DoubleClickIsTwoClicks", {{'p', b::Label1 + 17}, {'r', b::Label1 + 17}, {'p', b::Label1 + 17}, {'r', b::Label1 + 17}}, {"17-5", "17-5"}},
    Gesture{"DraggedOntoTheCloth", {{'p', b::Label2 + 2}, {'r', -1}}, {}},
    Gesture{"DraggedOntoAnotherCell", {{'p', b::Label1 + 17}, {'r', b::Label1 + 18}}, {}},
    Gesture{"ReleaseWithoutAPress", {{'r', b::Label5 + 1}}, {}},
    Gesture{"APressDraggedOffIsForgotten", {{'p', b::Label1 + 17}, {'r', -1}, {'r', b::Label1 + 17}}, {}},
    Gesture{"ChipDraggedOffStaysUnchosen", {{'p', b::Image1 + 0}, {'r', -1}, {'p', b::Label5}, {'r', b::Label5}}, {"Black-5"}}),
    [](const auto& info) { return std::string(info.param.name); });

// --- The bet lists ---

TEST(Lists, OnlyAPressOnAnEntrySelectsItAndNothingButAWithdrawalTakesItAway)
{
    Table t;
    t.play("$1 Red Odd");
    t.session.pressEntry(b::List1, 1);
    t.session.pressEntry(b::List1, -1); // the empty part below the entries
    t.session.pressEntry(b::List1, 2); // no such entry
    t.session.pressEntry(b::List1 + 1, 0); // the hidden list
    EXPECT_EQ(t.display.selected[b::List1], 1);
    EXPECT_EQ(t.display.selected[b::List1 + 1], -1);
    t.play("t1");
    EXPECT_EQ(t.display.selected[b::List1], 1) << "a tick without Delete";
    t.session.key(Key::Delete, true);
    t.play("t1");
    EXPECT_EQ(t.display.list(0), (std::vector<std::string>{"Red-1"}));
    EXPECT_EQ(t.display.selected[b::List1], -1) << "the next entry is not chosen for the held key";
}

// --- Delete and Backspace ---

TEST(Keys, ATapBetweenTwoTicksWithdrawsOnceAndBackspaceWithdrawsToo)
{
    Table t;
    t.play("$1 Red Odd $5 Even");
    t.session.pressEntry(b::List1, 0);
    t.session.key(Key::Delete, true);
    t.session.key(Key::Delete, false);
    t.session.key(Key::Delete, true); // auto-repeat of a held key adds nothing
    t.session.key(Key::Delete, false);
    t.play("t3");
    EXPECT_EQ(t.display.list(0), (std::vector<std::string>{"Odd-1", "Even-5"}));
    t.session.pressEntry(b::List1, 1);
    t.session.key(Key::Other, true);
    t.play("t1");
    EXPECT_EQ(t.display.list(0).size(), 2u) << "another key withdraws nothing";
    t.session.key(Key::Backspace, true);
    t.play("t1");
    EXPECT_EQ(t.display.list(0), (std::vector<std::string>{"Odd-1"}));
}

TEST(Keys, AKeyHeldWhenTheKeyboardIsLostIsForgotten)
{
    Table t;
    t.play("$1 Red Odd");
    t.session.key(Key::Delete, true);
    t.session.keyboardLost();
    t.session.pressEntry(b::List1, 0);
    t.play("t1");
    EXPECT_EQ(t.display.list(0).size(), 2u);
}

// --- The windows take turns ---

TEST(Windows, PlayMakesTheTableOnceAndXAndCloseRequestsGoBackAndForth)
{
    Table t; // "Play"
    t.play("$1 Red");
    t.click(b::Label7); // "X"
    t.click(ids::title::Label1);
    t.session.closeRequest(b::Form1);
    t.click(ids::title::Label1);
    EXPECT_EQ(t.display.tablesMade, 1);
    EXPECT_EQ(t.display.log, (std::vector<std::string>{
        "Form2 shown", "Label3(0)=2", "Label3(1)=2", "Label3(2)=2", "Label3(3)=2", "Label3(4)=2", "Label3(5)=2",
        "Form1 shown", "Form2 hidden", "Label3(0)=1",
        "Form2 shown", "Form1 hidden", "Form1 shown", "Form2 hidden",
        "Form2 shown", "Form1 hidden", "Form1 shown", "Form2 hidden"}));
    EXPECT_EQ(t.display.list(0), (std::vector<std::string>{"Red-1"}));
    EXPECT_FALSE(t.display.quitted);
    t.session.closeRequest(ids::title::Form2);
    EXPECT_TRUE(t.display.quitted) << "a close request to the title window is a Quit";
}

// --- Where captions break, and the size that fits ---

struct Wrapping {
    const char* text;
    int width, pixels;
    std::vector<std::string_view> lines;
};

TEST(Captions, BreakAtRunsOfSpacesWhereTheyAreWiderThanTheirBox)
{
    const std::vector<Wrapping> rows{
        {" Big   19-36", 89, 27, {" Big", "19-36"}},
        {"Small     1-18", 89, 27, {"Small", "1-18"}},
        {"Tato ruleta se hraje jako běžná ruleta.", 429, 19, {"Tato ruleta se hraje jako běžná ruleta."}},
        {"Tato ruleta se hraje jako běžná ruleta.", 428, 19, {"Tato ruleta se hraje jako běžná", "ruleta."}},
        {"Player 1", 129, 27, {"Player 1"}},
        {"Even  ", 89, 27, {"Even"}},
    };
    for (const Wrapping& row : rows) {
        const Lines lines = wrap(row.text, row.width, row.pixels);
        EXPECT_EQ(std::vector<std::string_view>(lines.line.begin(), lines.line.begin() + lines.count), row.lines)
            << row.text;
    }
    EXPECT_EQ(Controls[b::Label2].lines.count, 2);
    // The remark at 125 %: 24 pixels would take 546 of its 536.
    EXPECT_EQ(fittingPixelSize(Controls[ids::title::Label2].lines, 536, 24), 22);
}

} // namespace
} // namespace morvik::testing
