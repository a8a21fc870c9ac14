// The rules and the game, driven through the fakes one player's action at a
// time; the outcome table of tests/support is the one statement of what each bet wins.
#include "support/table.h"

#include <gtest/gtest.h>

#include <cmath>

namespace morvik::testing {
namespace {

using Stock = std::array<Count, DenominationCount>;

// The hand-over, the spin and the round's end as the players see them are the end-to-end round's, the chips
// the property test's. A bet selected stays through the spin, though Delete is pressed: it would lose its chip.
TEST(Round, ABetSelectedStaysThroughTheSpin)
{
    Table t("Play Next $100 18");
    t.session.pressEntry(ids::table::List1 + 1, 0);
    t.play("Next Delete spin18");
    EXPECT_EQ(t.state().PlayerChips[1][5], 37u);
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
    t.play("t47 t5");
    EXPECT_EQ(t.desk.random.seeds.size(), 50u) << "idle ticks draw nothing";
}

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
    EXPECT_EQ(t.session.accessible(b::Cislo).value, "7, red");
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
