#include "game/rules.h"

#include <gtest/gtest.h>

#include <cmath>

namespace morvik {
namespace {

TEST(Counts, StopAtTheirMaximumInsteadOfWrapping)
{
    EXPECT_EQ(saturatingAdd(254, 36), 290u);
    EXPECT_EQ(saturatingAdd(0xFFFFFFF0u, 36), 0xFFFFFFFFu);
    EXPECT_EQ(saturatingAdd(0xFFFFFFFFu, 1), 0xFFFFFFFFu);
}

TEST(Cells, RedBlackAndTheWhiteZeroAreThreeDistinctColours)
{
    EXPECT_EQ(CellColours[0], (Rgb{255, 255, 255}));
    EXPECT_EQ(CellColours[1], (Rgb{192, 0, 0}));
    EXPECT_EQ(CellColours[2], (Rgb{0, 0, 0}));
    int red = 0, black = 0;
    for (int k = 1; k < NumberCount; ++k) {
        red += CellColours[k] == CellColours[1];
        black += CellColours[k] == CellColours[2];
    }
    EXPECT_EQ(red, 18);
    EXPECT_EQ(black, 18);
}

struct EntryRow {
    const char* name;
    Bet bet;
    const char* text;
};

void PrintTo(const EntryRow& row, std::ostream* os) { *os << row.text; }

class EntryText : public ::testing::TestWithParam<EntryRow> {};

TEST_P(EntryText, IsTargetDashChipValue)
{
    EXPECT_EQ(entryText(GetParam().bet), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Bets, EntryText,
    ::testing::Values(
        EntryRow{"SeventeenWithTheFive", {std::uint8_t{17}, 1}, "17-5"},
        EntryRow{"ThirtySixWithTheHundred", {std::uint8_t{36}, 5}, "36-100"},
        EntryRow{"OneWithTheOne", {std::uint8_t{1}, 0}, "1-1"},
        EntryRow{"BigNotItsCaption", {Outside::Big, 5}, "Big-100"},
        EntryRow{"Small", {Outside::Small, 4}, "Small-50"},
        EntryRow{"Even", {Outside::Even, 3}, "Even-20"},
        EntryRow{"Odd", {Outside::Odd, 2}, "Odd-10"},
        EntryRow{"Black", {Outside::Black, 1}, "Black-5"},
        EntryRow{"Red", {Outside::Red, 0}, "Red-1"}),
    [](const auto& info) { return std::string(info.param.name); });

// What each outside cell does for every number of the wheel, read off the
// table: B Big, S Small, E Even, O Odd, K Black, R Red, '.' loses.
constexpr std::array<const char*, NumberCount> Outcomes{
    ".SE...", ".S.O.R", ".SE.K.", ".S.O.R", ".SE.K.", ".S.O.R", ".SE.K.", ".S.O.R", ".SE.K.", ".S.O.R",
    ".SE.K.", ".S.OK.", ".SE..R", ".S.OK.", ".SE..R", ".S.OK.", ".SE..R", ".S.OK.", ".SE..R", "B..O.R",
    "B.E.K.", "B..O.R", "B.E.K.", "B..O.R", "B.E.K.", "B..O.R", "B.E.K.", "B..O.R", "B.E.K.", "B..OK.",
    "B.E..R", "B..OK.", "B.E..R", "B..OK.", "B.E..R", "B..OK.", "B.E..R"};

TEST(Outcome, EveryOutsideCellAgainstEveryNumber)
{
    for (int n = 0; n < NumberCount; ++n) {
        for (int cell = 0; cell < OutsideCount; ++cell) {
            const bool expected = Outcomes[n][cell] != '.';
            EXPECT_EQ(wins(Outside(cell), n), expected) << OutsideWords[cell] << " on " << n;
            EXPECT_EQ(payout({Outside(cell), 0}, n), expected ? 2u : 0u) << OutsideWords[cell] << " on " << n;
        }
    }
}

TEST(Outcome, ANumberPaysThirtySixOnlyOnItself)
{
    for (int target = 1; target < NumberCount; ++target) {
        for (int n = 0; n < NumberCount; ++n)
            EXPECT_EQ(payout({static_cast<std::uint8_t>(target), 3}, n), target == n ? 36u : 0u);
    }
}

TEST(Wheel, MapsTheWholeUnitIntervalOntoZeroToThirtySix)
{
    EXPECT_EQ(wheelNumber(0.0f), 0);
    EXPECT_EQ(wheelNumber(std::nextafter(1.0f, 0.0f)), 36);
    EXPECT_EQ(wheelNumber(0.5f), 18);
    // Out of range from a faulty generator still lands on the wheel.
    EXPECT_EQ(wheelNumber(1.0f), 36);
    EXPECT_EQ(wheelNumber(-0.25f), 0);
    EXPECT_EQ(wheelNumber(std::nanf("")), 0);
}

} // namespace
} // namespace morvik
