// The rules and the game, driven through the fakes one player's action at a
// time. Expected values are written out; the outcome table below is the one
// statement of what each bet wins.
#include "support/table.h"

#include <gtest/gtest.h>

#include <cmath>

namespace morvik::testing {
namespace {

using Entries = std::vector<std::string>;
using Counters = std::array<std::string, DenominationCount>;
using Stock = std::array<Count, DenominationCount>;

struct Row {
    const char* name;
    const char* actions;
    Entries entries; // the current player's list afterwards
    Counters counters;
};

void PrintTo(const Row& row, std::ostream* os) { *os << row.actions; }
std::string rowName(const ::testing::TestParamInfo<Row>& info) { return info.param.name; }

class Betting : public ::testing::TestWithParam<Row> {};

TEST_P(Betting, ShowsTheEntriesAndCountersOfTheCurrentPlayer)
{
    Table t;
    t.play(GetParam().actions);
    EXPECT_EQ(t.display.list(t.state().CurrentPlayer), GetParam().entries);
    EXPECT_EQ(t.display.counters(), GetParam().counters);
    EXPECT_EQ(t.state().BetCount(t.state().CurrentPlayer), GetParam().entries.size());
}

INSTANTIATE_TEST_SUITE_P(Lay, Betting, ::testing::Values(
    Row{"EachClickOneChipInClickOrder", "$5 17 $20 Red Big $5 17", {"17-5", "Red-20", "Big-20", "17-5"}, {"2", "0", "2", "0", "2", "2"}},
    Row{"EveryWordAndValue", "$100 Black $50 Small $10 Even $1 Odd 36", {"Black-100", "Small-50", "Even-10", "Odd-1", "36-1"}, {"0", "2", "1", "2", "1", "1"}},
    Row{"NoChipChosenYet", "7 Red", {}, {"2", "2", "2", "2", "2", "2"}},
    Row{"EmptyCounterLaysNothing", "$1 7 7 7 Odd", {"7-1", "7-1"}, {"0", "2", "2", "2", "2", "2"}},
    Row{"EmptyChipKeepsTheChoice", "$1 7 7 $5 Red $1 9", {"7-1", "7-1", "Red-5", "9-5"}, {"0", "0", "2", "2", "2", "2"}},
    Row{"ZeroTakesNoBets", "$10 0", {}, {"2", "2", "2", "2", "2", "2"}},
    Row{"NothingWhileSpinning", "$100 Next Next 7 Red Next $5", {}, {"2", "2", "2", "2", "2", "2"}},
    Row{"NothingInTheLastTick", "$5 Next Next t49 7", {}, {"2", "2", "2", "2", "2", "2"}},
    Row{"ChipStaysChosenIntoTheNextRound", "$10 3 Next $10 4 Next spin5 12", {"12-10"}, {"2", "2", "0", "2", "2", "2"}}),
    rowName);

INSTANTIATE_TEST_SUITE_P(Withdraw, Betting, ::testing::Values(
    Row{"First", "$50 7 $5 Red Red del0", {"Red-5", "Red-5"}, {"2", "0", "2", "2", "2", "2"}},
    Row{"MiddleOfTwoEqual", "$50 7 $5 Red Red del1", {"7-50", "Red-5"}, {"2", "1", "2", "2", "1", "2"}},
    Row{"Last", "$50 7 $5 Red 8 del2", {"7-50", "Red-5"}, {"2", "1", "2", "2", "1", "2"}},
    Row{"HeldDownTakesOne", "$1 1 2 $10 Big hold0", {"2-1", "Big-10"}, {"1", "2", "1", "2", "2", "2"}},
    Row{"NothingSelected", "$1 1 del-1", {"1-1"}, {"1", "2", "2", "2", "2", "2"}},
    Row{"NothingWhileSpinning", "Next $100 36 Next del0", {"36-100"}, {"2", "2", "2", "2", "2", "1"}}),
    rowName);

TEST(Withdrawal, ThenPlayWithTheListTheGameKept)
{
    // The chip goes back and the bet is gone from the game, not only the screen.
    Table t;
    t.play("$5 7 8 del1 Next Next spin7");
    EXPECT_EQ(t.display.counters(), (Counters{"2", "37", "2", "2", "2", "2"}));
}

TEST(HandOver, StoresTheCountersAndShowsTheSecondPlayersStockAndList)
{
    Table t;
    t.play("$5 Red");
    t.display.log.clear();
    t.play("Next");
    EXPECT_EQ(t.state().PlayerChips[0], (Stock{2, 1, 2, 2, 2, 2}));
    EXPECT_EQ(t.display.log, (Entries{"Label4=Player 2", "Label3(1)=2", "List1(0) hidden", "List1(1) shown"}))
        << "only what changes is drawn again";
    t.play("$100 20");
    t.display.log.clear();
    t.play("Next");
    EXPECT_EQ(t.state().PlayerChips[1], (Stock{2, 2, 2, 2, 2, 1}));
    EXPECT_EQ(t.display.log, (Entries{"List1(0) hidden", "List1(1) hidden", "Picture2 hidden"}));
}

TEST(Spin, FiftyDrawsEachReseededFromTheClockAndShownInTheCellsColour)
{
    Table t;
    t.play("Next Next");
    t.desk.random.script = {FakeRandom::drawFor(0), FakeRandom::drawFor(36), FakeRandom::drawFor(35)};
    const std::pair<const char*, Rgb> shown[] = {{"0", {255, 255, 255}}, {"36", {192, 0, 0}}, {"35", {0, 0, 0}}};
    for (const auto& [text, colour] : shown) {
        t.play("t1");
        EXPECT_EQ(t.display.texts[ids::table::Cislo], text);
        EXPECT_EQ(t.display.colours[ids::table::Cislo], colour);
        t.desk.clock.ms = 100'250;
    }
    EXPECT_EQ(t.desk.random.seeds, (std::vector<float>{43200.5f, 100.25f, 100.25f}));

    t.play("t46");
    EXPECT_TRUE(t.state().spinning()) << "after 49 ticks";
    t.play("t1");
    EXPECT_FALSE(t.state().spinning()) << "after 50 ticks";
    t.play("t5");
    EXPECT_EQ(t.desk.random.draws, 50) << "idle ticks draw nothing";
}

TEST(RoundEnd, PaysClearsBothListsAndHandsTheTableBackInOrder)
{
    Table t;
    t.play("$10 3 Next $10 4 Next t49");
    t.display.log.clear();
    t.play("t1");
    EXPECT_EQ(t.display.log, (Entries{"Label4=Player 1", "List1(0) cleared", "List1(1) cleared", "List1(0) shown",
                              "Picture2 shown"}));
    EXPECT_EQ(t.state().BetCount(0) + t.state().BetCount(1), 0u);
    EXPECT_EQ(t.state().CurrentPlayer, 0);
}

// What each outside cell does for every number of the wheel: B Big, S Small,
// E Even, O Odd, K Black, R Red, '.' loses. 0 wins Even and Small only.
constexpr std::array<const char*, 37> Outcomes{
    ".SE...", ".S.O.R", ".SE.K.", ".S.O.R", ".SE.K.", ".S.O.R", ".SE.K.", ".S.O.R", ".SE.K.", ".S.O.R",
    ".SE.K.", ".S.OK.", ".SE..R", ".S.OK.", ".SE..R", ".S.OK.", ".SE..R", ".S.OK.", ".SE..R", "B..O.R",
    "B.E.K.", "B..O.R", "B.E.K.", "B..O.R", "B.E.K.", "B..O.R", "B.E.K.", "B..O.R", "B.E.K.", "B..OK.",
    "B.E..R", "B..OK.", "B.E..R", "B..OK.", "B.E..R", "B..OK.", "B.E..R"};

class Outcome : public ::testing::TestWithParam<int> {};

TEST_P(Outcome, EveryOutsideCellPaysTwoAndANumberThirtySixForBothPlayers)
{
    // Each outside cell with a chip of its own, in the order of the table,
    // and a 20 on 17; the first player's stock shows on the counters, the
    // second's is in the store.
    const int drawn = GetParam();
    Table t;
    t.play("$1 Big $5 Small $10 Even $20 Odd 17 $50 Black $100 Red Next");
    t.play("$1 Big $5 Small $10 Even $20 Odd 17 $50 Black $100 Red Next spin" + std::to_string(drawn));
    Stock expected{1, 1, 1, drawn == 17 ? 36u : 0u, 1, 1};
    for (int cell = 0; cell < 6; ++cell)
        expected[cell] += Outcomes[drawn][cell] != '.' ? 2 : 0;
    Counters shown;
    for (int i = 0; i < DenominationCount; ++i)
        shown[i] = std::to_string(expected[i]);
    EXPECT_EQ(t.display.counters(), shown);
    EXPECT_EQ(t.state().PlayerChips[1], expected);
}

INSTANTIATE_TEST_SUITE_P(Drawn, Outcome, ::testing::Range(0, 37));

TEST(Settlement, EqualNumberBetsArePaidEachAndTheSecondPlayersOnlyAtTheNextNext)
{
    Table t;
    t.play("$5 7 7 $20 Red Next $100 Odd $1 Even Next spin7");
    EXPECT_EQ(t.display.counters(), (Counters{"2", "72", "2", "3", "2", "2"}));
    EXPECT_EQ(t.state().PlayerChips[1], (Stock{1, 2, 2, 2, 2, 3}));
    t.play("Next");
    EXPECT_EQ(t.state().PlayerChips[0], (Stock{2, 72, 2, 3, 2, 2}));
    EXPECT_EQ(t.display.counters(), (Counters{"1", "2", "2", "2", "2", "3"}));
}

TEST(Settlement, StocksGrowPastAByteAndStopAtTheirMaximumShownSmallerToFit)
{
    namespace b = ids::table;
    Table t;
    t.play("$1 7 7 Next Next spin7"); // 72 chips of 1
    EXPECT_EQ(t.display.pixelSizes[b::Label3], 27);
    EXPECT_EQ(t.display.descriptions[b::Image1], "72 chips");
    for (int i = 0; i < 72; ++i)
        t.play("7");
    t.play("Next Next spin7");
    EXPECT_EQ(t.display.texts[b::Label3], "2592");
    EXPECT_EQ(t.display.pixelSizes[b::Label3], 14);
    EXPECT_EQ(t.display.descriptions[b::Image1 + 1], "2 chips");
    EXPECT_EQ(t.display.announced, 2) << "the drawn number, once a spin";
    EXPECT_EQ(saturatingAdd(0xFFFFFFF0u, 36), 0xFFFFFFFFu);
    EXPECT_EQ(saturatingAdd(0xFFFFFFFFu, 1), 0xFFFFFFFFu);
}

TEST(Wheel, MapsTheWholeUnitIntervalOntoZeroToThirtySixAndNeverThirtySeven)
{
    EXPECT_EQ(wheelNumber(0.0f), 0);
    EXPECT_EQ(wheelNumber(0.5f), 18);
    EXPECT_EQ(wheelNumber(std::nextafter(1.0f, 0.0f)), 36);
    // A faulty generator still lands on the wheel.
    EXPECT_EQ(wheelNumber(1.0f), 36);
    EXPECT_EQ(wheelNumber(-0.25f), 0);
    EXPECT_EQ(wheelNumber(std::nanf("")), 0);
}

} // namespace
} // namespace morvik::testing
