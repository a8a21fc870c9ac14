#include "fakes.h"

#include <gtest/gtest.h>

namespace morvik::testing {
namespace {

using Counters = std::array<std::string, DenominationCount>;
using Stock = std::array<Count, DenominationCount>;
using Entries = std::vector<std::string>;

const Counters AllTwo{"2", "2", "2", "2", "2", "2"};
const Stock StartStock{2, 2, 2, 2, 2, 2};

TEST(Load, GivesBothPlayersTwoOfEveryChipAndShowsTheFirstPlayers)
{
    Table t;
    EXPECT_EQ(t.view.counters, AllTwo);
    EXPECT_EQ(t.state().PlayerChips[0], StartStock);
    EXPECT_EQ(t.state().PlayerChips[1], StartStock);
    EXPECT_EQ(t.state().ChipValue, 0);
    EXPECT_EQ(t.state().CurrentPlayer, 0);
    EXPECT_EQ(t.state().SpinTicks, 0);
}

TEST(Betting, EachClickLaysOneChipAndAddsOneEntryInClickOrder)
{
    Table t;
    t.bet(1, 17);
    t.bet(3, Outside::Red);
    t.game.clickOutside(Outside::Big); // still the 20-chip
    t.bet(1, 17);
    EXPECT_EQ(t.view.lists[0], (Entries{"17-5", "Red-20", "Big-20", "17-5"}));
    EXPECT_EQ(t.view.counters, (Counters{"2", "0", "2", "0", "2", "2"}));
    EXPECT_EQ(t.state().BetCount(0), 4u);
    EXPECT_EQ(t.state().PlayerChips[0], StartStock) << "the store waits for Next";
}

TEST(Betting, TheDiscsAndCaptionedCellsWriteTheirTargetWords)
{
    Table t;
    t.game.clickChip(5);
    t.game.clickOutside(Outside::Black);
    t.game.clickChip(4);
    t.game.clickOutside(Outside::Small);
    t.game.clickChip(2);
    t.game.clickOutside(Outside::Even);
    t.game.clickOutside(Outside::Odd);
    EXPECT_EQ(t.view.lists[0], (Entries{"Black-100", "Small-50", "Even-10", "Odd-10"}));
}

TEST(Betting, IsRefusedWithoutAChipOnAnEmptyCounterOnZeroAndWhileSpinning)
{
    Table t;
    t.game.clickNumber(7);
    t.game.clickOutside(Outside::Red);
    EXPECT_TRUE(t.view.lists[0].empty()) << "no chip chosen yet";

    t.bet(0, 7);
    t.bet(0, 7);
    t.game.clickNumber(7);
    t.game.clickOutside(Outside::Odd);
    EXPECT_EQ(t.view.lists[0], (Entries{"7-1", "7-1"})) << "the 1-chips ran out";
    EXPECT_EQ(t.view.counters[0], "0");

    t.game.clickChip(0); // an empty counter keeps the old choice
    EXPECT_EQ(t.state().ChipValue, 1);
    t.game.clickChip(2);
    t.game.clickNumber(0);
    t.game.clickNumber(37);
    t.game.clickNumber(-1);
    EXPECT_EQ(t.state().BetCount(0), 2u) << "0 and cells off the table take no bets";

    t.game.clickNext();
    t.game.clickNext();
    const auto log = t.view.log.size();
    t.game.clickNumber(7);
    t.game.clickOutside(Outside::Red);
    t.game.clickChip(5);
    t.game.clickNext();
    EXPECT_EQ(t.view.log.size(), log) << "cells, chips and Next are dead while the wheel spins";
    EXPECT_EQ(t.state().SpinTicks, SpinLength);
    EXPECT_EQ(t.state().BetCount(1), 0u);
}

TEST(HandOver, StoresTheCountersAndShowsTheSecondPlayersStockAndList)
{
    Table t;
    t.bet(1, Outside::Red);
    t.view.log.clear();
    t.game.clickNext();
    EXPECT_EQ(t.state().PlayerChips[0], (Stock{2, 1, 2, 2, 2, 2}));
    EXPECT_EQ(t.view.log, (Entries{"Label4=Player 2", "Label3(0)=2", "Label3(1)=2", "Label3(2)=2", "Label3(3)=2",
                              "Label3(4)=2", "Label3(5)=2", "List1(1) shown"}));
    EXPECT_EQ(t.state().CurrentPlayer, 1);
    EXPECT_EQ(t.state().ChipValue, 5) << "the choice of chip passes to the second player";

    t.game.clickNumber(20);
    EXPECT_EQ(t.view.lists[1], (Entries{"20-5"}));
    EXPECT_EQ(t.view.lists[0], (Entries{"Red-5"}));
    t.view.log.clear();
    t.game.clickNext();
    EXPECT_EQ(t.state().PlayerChips[1], (Stock{2, 1, 2, 2, 2, 2}));
    EXPECT_EQ(t.view.log, (Entries{"List1(0) hidden", "List1(1) hidden", "Picture2 hidden"}));
    EXPECT_EQ(t.state().SpinTicks, SpinLength);
    EXPECT_EQ(t.state().CurrentPlayer, 1);
}

TEST(Spin, DrawsFiftyNumbersReseedingFromTheClockBeforeEachAndTheLastDecides)
{
    Table t;
    t.game.clickNext();
    t.game.clickNext();
    t.random.script = {FakeRandom::drawFor(0), FakeRandom::drawFor(36), FakeRandom::drawFor(35)};
    t.game.tick();
    EXPECT_EQ(t.view.cislo, "0");
    EXPECT_EQ(t.view.cisloColour, CellWhite);
    t.clock.now = 100.25f;
    t.game.tick();
    EXPECT_EQ(t.view.cislo, "36");
    EXPECT_EQ(t.view.cisloColour, CellRed);
    t.game.tick();
    EXPECT_EQ(t.view.cislo, "35");
    EXPECT_EQ(t.view.cisloColour, CellBlack);
    EXPECT_EQ(t.random.seeds, (std::vector<float>{43200.5f, 100.25f, 100.25f}));
    EXPECT_EQ(t.state().SpinTicks, SpinLength - 3);

    t.random.fallback = FakeRandom::drawFor(9);
    for (int i = 3; i < SpinLength; ++i)
        t.game.tick();
    EXPECT_EQ(t.random.draws, SpinLength);
    EXPECT_EQ(t.state().Cislo, 9);
    EXPECT_EQ(t.state().SpinTicks, 0);
    t.game.tick();
    EXPECT_EQ(t.random.draws, SpinLength) << "idle ticks draw nothing";
}

TEST(Settlement, NumberBetsPayThirtySixEachEqualEntryOnItsOwn)
{
    Table t;
    t.bet(1, 7);
    t.bet(1, 7);
    t.bet(3, 8);
    t.spinTo(7);
    EXPECT_EQ(t.view.counters, (Counters{"2", "72", "2", "1", "2", "2"}));
}

TEST(Settlement, FirstPlayersWinningsGoToTheCountersSecondPlayersToTheStore)
{
    Table t;
    t.bet(1, 7);
    t.bet(3, Outside::Red);
    t.game.clickNext();
    t.bet(5, Outside::Odd);
    t.bet(0, Outside::Even);
    t.view.log.clear();
    t.spinTo(7);
    EXPECT_EQ(t.view.counters, (Counters{"2", "37", "2", "3", "2", "2"}));
    EXPECT_EQ(t.state().PlayerChips[0], (Stock{2, 1, 2, 1, 2, 2})) << "reaches the store at the next Next";
    EXPECT_EQ(t.state().PlayerChips[1], (Stock{1, 2, 2, 2, 2, 3}));

    t.game.clickNext();
    EXPECT_EQ(t.state().PlayerChips[0], (Stock{2, 37, 2, 3, 2, 2}));
    EXPECT_EQ(t.view.counters, (Counters{"1", "2", "2", "2", "2", "3"}));
}

TEST(Settlement, EveryOutsideCellAgainstEveryNumberForBothPlayers)
{
    // Big and Small with the 1-chips, Even and Odd with the 5s, Black and Red
    // with the 10s; per number, which of them win (see the rules test).
    constexpr std::array<const char*, NumberCount> outcomes{
        ".SE...", ".S.O.R", ".SE.K.", ".S.O.R", ".SE.K.", ".S.O.R", ".SE.K.", ".S.O.R", ".SE.K.", ".S.O.R",
        ".SE.K.", ".S.OK.", ".SE..R", ".S.OK.", ".SE..R", ".S.OK.", ".SE..R", ".S.OK.", ".SE..R", "B..O.R",
        "B.E.K.", "B..O.R", "B.E.K.", "B..O.R", "B.E.K.", "B..O.R", "B.E.K.", "B..O.R", "B.E.K.", "B..OK.",
        "B.E..R", "B..OK.", "B.E..R", "B..OK.", "B.E..R", "B..OK.", "B.E..R"};
    for (int n = 0; n < NumberCount; ++n) {
        Table t;
        for (int player = 0; player < PlayerCount; ++player) {
            for (int cell = 0; cell < OutsideCount; ++cell)
                t.bet(cell / 2, Outside(cell));
            t.game.clickNext();
        }
        for (int tick = 0; tick < SpinLength; ++tick) {
            t.random.fallback = FakeRandom::drawFor(n);
            t.game.tick();
        }
        Stock expected{0, 0, 0, 2, 2, 2};
        for (int cell = 0; cell < OutsideCount; ++cell)
            expected[cell / 2] += outcomes[n][cell] != '.' ? 2 : 0;
        Counters shown;
        for (int i = 0; i < DenominationCount; ++i)
            shown[i] = std::to_string(expected[i]);
        EXPECT_EQ(t.view.counters, shown) << "first player, drawn " << n;
        EXPECT_EQ(t.state().PlayerChips[1], expected) << "second player, drawn " << n;
    }
}

TEST(Settlement, StocksGrowPastAByteWithoutWrapping)
{
    Table t;
    t.bet(0, 7);
    t.bet(0, 7);
    t.spinTo(7); // 72 chips of 1
    for (int i = 0; i < 72; ++i)
        t.game.clickNumber(7);
    t.spinTo(7);
    EXPECT_EQ(t.view.counters[0], "2592");
    t.game.clickNext();
    EXPECT_EQ(t.state().PlayerChips[0][0], 2592u);
}

TEST(RoundEnd, ClearsTheListsAndHandsTheTableBackInOrder)
{
    Table t;
    t.bet(2, 3);
    t.game.clickNext();
    t.bet(2, 4);
    t.game.clickNext();
    t.random.fallback = FakeRandom::drawFor(5);
    for (int i = 1; i < SpinLength; ++i)
        t.game.tick();
    t.view.log.clear();
    t.game.tick();
    EXPECT_EQ(t.view.log, (Entries{"Label3(0)=2", "Label3(1)=2", "Label3(2)=1", "Label3(3)=2", "Label3(4)=2",
                              "Label3(5)=2", "Label4=Player 1", "List1(0) cleared", "List1(1) cleared",
                              "List1(0) shown", "Picture2 shown"}));
    EXPECT_EQ(t.state().CurrentPlayer, 0);
    EXPECT_EQ(t.state().BetCount(0) + t.state().BetCount(1), 0u);
    EXPECT_FALSE(t.view.listVisible[1]);
    EXPECT_EQ(t.state().ChipValue, 10) << "the last chip chosen stays chosen";

    t.game.clickNumber(12);
    EXPECT_EQ(t.view.lists[0], (Entries{"12-10"}));
    EXPECT_EQ(t.state().BetCount(0), 1u);
}

struct WithdrawRow {
    const char* name;
    int row;
    Entries left;
    Counters counters;
};

void PrintTo(const WithdrawRow& row, std::ostream* os) { *os << row.name; }

class Withdrawal : public ::testing::TestWithParam<WithdrawRow> {};

TEST_P(Withdrawal, TakesTheSelectedEntryBackOntoItsCounter)
{
    Table t;
    t.bet(4, 7); // 7-50
    t.bet(1, Outside::Red);
    t.bet(1, Outside::Red);
    t.withdraw(GetParam().row);
    EXPECT_EQ(t.view.lists[0], GetParam().left);
    EXPECT_EQ(t.view.counters, GetParam().counters);
    EXPECT_EQ(t.state().BetCount(0), 2u);
    EXPECT_EQ(t.view.selected[0], -1);

    t.keys.pressed = true; // held over more ticks: nothing is selected any more
    t.game.tick();
    t.game.tick();
    EXPECT_EQ(t.state().BetCount(0), 2u);
}

INSTANTIATE_TEST_SUITE_P(OfThree, Withdrawal,
    ::testing::Values(
        WithdrawRow{"First", 0, {"Red-5", "Red-5"}, {"2", "0", "2", "2", "2", "2"}},
        WithdrawRow{"MiddleOfTwoEqual", 1, {"7-50", "Red-5"}, {"2", "1", "2", "2", "1", "2"}},
        WithdrawRow{"Last", 2, {"7-50", "Red-5"}, {"2", "1", "2", "2", "1", "2"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Withdrawal, NeedsBothTheKeyAndASelectionInTheCurrentPlayersList)
{
    Table t;
    t.bet(0, 1);
    t.keys.pressed = true;
    t.game.tick();
    EXPECT_EQ(t.state().BetCount(0), 1u) << "nothing selected";
    t.keys.pressed = false;
    t.view.selected[0] = 0;
    t.game.tick();
    EXPECT_EQ(t.state().BetCount(0), 1u) << "key up";

    t.game.clickNext();
    t.keys.pressed = true;
    t.game.tick();
    EXPECT_EQ(t.state().BetCount(0), 1u) << "the first player's list is not the current one";
}

TEST(Withdrawal, IsRefusedWhileTheWheelSpins)
{
    Table t;
    t.game.clickNext();
    t.bet(5, 36);
    t.game.clickNext();
    t.view.selected[1] = 0;
    t.keys.pressed = true;
    t.game.tick();
    EXPECT_EQ(t.view.lists[1], (Entries{"36-100"}));
    EXPECT_EQ(t.state().PlayerChips[1][5], 1u);
}

TEST(Withdrawal, WorksAnywhereInAListLongerThanAHundredEntries)
{
    Table t;
    t.bet(0, 1);
    t.bet(0, 1);
    t.spinTo(1);
    for (int i = 0; i < 72; ++i)
        t.game.clickNumber(1);
    t.spinTo(1);
    ASSERT_EQ(t.state().Label3[0], 2592u);
    for (int n = 0; n < 150; ++n)
        t.game.clickNumber(1 + n % 36);
    t.withdraw(140);
    EXPECT_EQ(t.state().BetCount(0), 149u);
    EXPECT_EQ(t.view.lists[0][139], "32-1");
    EXPECT_EQ(t.view.lists[0][140], "34-1");
    EXPECT_EQ(t.state().Label3[0], 2592u - 149u);
}

} // namespace
} // namespace morvik::testing
