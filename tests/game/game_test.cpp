// The rules and the game, driven through the fakes one player's action at a
// time; the outcome table below is the one statement of what each bet wins.
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

std::string rowName(const ::testing::TestParamInfo<Row>& info) { return info.param.name; }

class Betting : public ::testing::TestWithParam<Row> {};

TEST_P(Betting, ShowsTheEntriesAndCountersOfTheCurrentPlayer)
{
    Table t(std::string("Play ") + GetParam().actions);
    EXPECT_EQ(t.list(t.state().CurrentPlayer), GetParam().entries);
    EXPECT_EQ(t.counters(), GetParam().counters);
    EXPECT_EQ(t.state().BetCount(t.state().CurrentPlayer), GetParam().entries.size());
}

INSTANTIATE_TEST_SUITE_P(Lay, Betting, ::testing::Values(
    Row{"EachClickOneChipInClickOrder", "$5 17 $20 Red Big $5 17", {"17-5", "Red-20", "Big-20", "17-5"}, {"2", "0", "2", "0", "2", "2"}},
    Row{"EveryWordAndValue", "$100 Black $50 Small $10 Even $1 Odd 36", {"Black-100", "Small-50", "Even-10", "Odd-1", "36-1"}, {"0", "2", "1", "2", "1", "1"}},
    Row{"NoChipChosenYet", "7 Red", {}, {"2", "2", "2", "2", "2", "2"}},
    Row{"EmptyCounterLaysNothing", "$1 7 7 7 Odd", {"7-1", "7-1"}, {"0", "2", "2", "2", "2", "2"}},
    Row{"EmptyChipKeepsTheChoice", "$1 7 7 $5 Red $1 9", {"7-1", "7-1", "Red-5", "9-5"}, {"0", "0", "2", "2", "2", "2"}},
    Row{"ZeroTakesNoBets", "$10 0", {}, {"2", "2", "2", "2", "2", "2"}},
    Row{"NothingInTheLastTick", "$5 Next Next t49 7", {}, {"2", "2", "2", "2", "2", "2"}},
    Row{"ChipStaysChosenIntoTheNextRound", "$10 3 Next $10 4 Next spin5 12", {"12-10"}, {"2", "2", "0", "2", "2", "2"}}),
    rowName);

INSTANTIATE_TEST_SUITE_P(Withdraw, Betting, ::testing::Values(
    Row{"First", "$50 7 $5 Red Red del0", {"Red-5", "Red-5"}, {"2", "0", "2", "2", "2", "2"}},
    Row{"MiddleOfTwoEqual", "$50 7 $5 Red Red del1", {"7-50", "Red-5"}, {"2", "1", "2", "2", "1", "2"}},
    Row{"Last", "$50 7 $5 Red 8 del2", {"7-50", "Red-5"}, {"2", "1", "2", "2", "1", "2"}},
    // The chip goes back and the bet is gone from the game, not only the screen.
    Row{"AndTheSpinPaysTheRest", "$5 7 8 del1 Next Next spin7", {}, {"2", "37", "2", "2", "2", "2"}}),
    rowName);

TEST(Round, HandsOverSpinsAndHandsBackShowingOnlyWhatChangesInOrder)
{
    Table t("Play $5 Red");
    t.log.clear();
    t.play("Next");
    EXPECT_EQ(t.log, (Entries{"Label4=Player 2", "Label3(1)=2", "List1(0) hidden", "List1(1) shown"}));
    t.play("$100 20");
    t.session.pressEntry(ids::table::List1 + 1, 0);
    t.log.clear();
    t.play("Next");
    EXPECT_EQ(t.log, (Entries{"List1(0) hidden", "List1(1) hidden", "Picture2 hidden"}));
    t.play("Delete t49"); // the bet selected stays through the spin
    t.log.clear();
    t.play("t1"); // 18, red
    EXPECT_EQ(t.log, (Entries{"Label3(1)=3", "Label3(5)=2", "Label4=Player 1", "List1(0) cleared",
                                      "List1(1) cleared", "List1(0) shown", "Picture2 shown"}));
}

TEST(Spin, FiftyDrawsEachReseededFromTheClockAndShownInTheCellsColour)
{
    Table t("Play Next Next");
    const std::pair<int, Rgb> shown[] = {{0, {255, 255, 255}}, {36, {192, 0, 0}}, {35, {0, 0, 0}}};
    for (const auto& [number, colour] : shown) {
        t.desk.random.draw = drawFor(number);
        t.play("t1");
        EXPECT_EQ(t.looks[ids::table::Cislo].lines[0], std::to_string(number));
        EXPECT_EQ(t.looks[ids::table::Cislo].colour, colour);
        t.desk.clock.ms = 100'250;
    }
    EXPECT_EQ(t.desk.random.seeds, (std::vector<float>{43200.5f, 100.25f, 100.25f}));

    t.play("t46");
    EXPECT_TRUE(t.state().spinning()) << "after 49 ticks";
    t.play("t1");
    EXPECT_FALSE(t.state().spinning()) << "after 50 ticks";
    t.play("t5");
    EXPECT_EQ(t.desk.random.seeds.size(), 50u) << "idle ticks draw nothing";
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
    // Each outside cell with a chip of its own, in the order of the table, and
    // a 20 on 17; the first player's stock is on the counters, the second's stored.
    const int drawn = GetParam();
    const std::string bets = " $1 Big $5 Small $10 Even $20 Odd 17 $50 Black $100 Red Next";
    Table t("Play" + bets + bets + " spin" + std::to_string(drawn));
    Stock expected{1, 1, 1, drawn == 17 ? 36u : 0u, 1, 1};
    for (int cell = 0; cell < 6; ++cell)
        expected[cell] += Outcomes[drawn][cell] != '.' ? 2 : 0;
    EXPECT_EQ(t.state().Label3, expected);
    EXPECT_EQ(t.state().PlayerChips[1], expected);
}

INSTANTIATE_TEST_SUITE_P(Drawn, Outcome, ::testing::Range(0, 37));

TEST(Settlement, EqualNumberBetsArePaidEachAndTheSecondPlayersOnlyAtTheNextNext)
{
    Table t("Play $5 7 7 $20 Red Next $100 Odd $1 Even Next spin7");
    EXPECT_EQ(t.counters(), (Counters{"2", "72", "2", "3", "2", "2"}));
    EXPECT_EQ(t.state().PlayerChips[1], (Stock{1, 2, 2, 2, 2, 3}));
    t.play("Next");
    EXPECT_EQ(t.state().PlayerChips[0], (Stock{2, 72, 2, 3, 2, 2}));
    EXPECT_EQ(t.counters(), (Counters{"1", "2", "2", "2", "2", "3"}));
}

TEST(Settlement, StocksGrowPastAByteAndStopAtTheirMaximumShownSmallerToFit)
{
    namespace b = ids::table;
    Table t("Play $1 7 7 Next Next spin7"); // 72 chips of 1
    EXPECT_EQ(t.looks[b::Label3].pixels, 27);
    EXPECT_EQ(t.descriptions[b::Image1], "72 chips");
    for (int i = 0; i < 72; ++i)
        t.play("7");
    t.play("Next Next spin7");
    EXPECT_EQ(t.looks[b::Label3].lines[0], "2592");
    EXPECT_EQ(t.looks[b::Label3].pixels, 14);
    EXPECT_EQ(t.descriptions[b::Image1 + 1], "2 chips");
    EXPECT_EQ(t.announced, 2) << "the drawn number, once a spin";
    EXPECT_EQ(t.session.accessible(b::Cislo).value, "7, red");
    t.play("Next Next spin0");
    EXPECT_EQ(t.session.accessible(b::Cislo).value, "0, green");
    EXPECT_EQ(saturatingAdd(0xFFFFFFF0u, 36), 0xFFFFFFFFu);
}

TEST(Wheel, MapsTheWholeUnitIntervalOntoZeroToThirtySixAndNeverThirtySeven)
{
    // The last three are a faulty generator's, which must still land on the wheel.
    const std::pair<float, int> draws[] = {
        {0.0f, 0}, {0.5f, 18}, {std::nextafter(1.0f, 0.0f), 36}, {1.0f, 36}, {-0.25f, 0}, {std::nanf(""), 0}};
    for (const auto& [r, number] : draws)
        EXPECT_EQ(wheelNumber(r), number) << r;
}

} // namespace
} // namespace morvik::testing
