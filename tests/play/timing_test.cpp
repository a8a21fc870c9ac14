// Events that land awkwardly against the timer: in the last tick of a spin,
// between two ticks, or held over many ticks. Every event is also checked
// against the harness's own bookkeeping (model.h).
#include "model.h"

#include <gtest/gtest.h>

namespace morvik::play {
namespace {

using Kind = Event::Kind;
using Entries = std::vector<std::string>;

struct Timing : ::testing::Test {
    CheckedGame table;

    void run(std::initializer_list<Event> events)
    {
        for (const Event& e : events)
            ASSERT_EQ(table.apply(e), std::nullopt) << describe(e);
    }
    void ticks(int n, bool deleteDown = false)
    {
        for (int i = 0; i < n; ++i)
            run({{.kind = Kind::Tick, .deleteDown = deleteDown, .draw = 0.5f}});
    }
    // Chip 1 (the 5) on number 7 for the first player, 36-100 for the
    // second, and the spin started.
    void betAndSpin()
    {
        run({{.kind = Kind::Chip, .arg = 1}, {.kind = Kind::Number, .arg = 7}, {.kind = Kind::Next},
            {.kind = Kind::Chip, .arg = 5}, {.kind = Kind::Number, .arg = 36}, {.kind = Kind::Next}});
    }
};

TEST_F(Timing, AClickInTheLastTickOfASpinIsRefusedBeforeItAndLaidForTheFirstPlayerAfter)
{
    betAndSpin();
    ticks(SpinLength - 1);
    run({{.kind = Kind::Number, .arg = 12}, {.kind = Kind::Outside, .arg = 5}});
    EXPECT_EQ(table.view().lists[1], (Entries{"36-100"}));

    ticks(1); // 0.5 draws 18: both bets lose
    run({{.kind = Kind::Number, .arg = 12}});
    EXPECT_EQ(table.state().CurrentPlayer, 0);
    EXPECT_EQ(table.view().lists[0], (Entries{"12-100"}));
    EXPECT_EQ(table.view().counters[5], "1");
}

TEST_F(Timing, XAndPlayWithinOneTickLeaveTheGameAsItWas)
{
    betAndSpin();
    ticks(SpinLength - 2);
    run({{.kind = Kind::Close}, {.kind = Kind::Play}});
    ticks(1);
    EXPECT_EQ(table.state().SpinTicks, 1);
    run({{.kind = Kind::Close}, {.kind = Kind::Play}});
    ticks(1);
    EXPECT_EQ(table.state().SpinTicks, 0);
    EXPECT_EQ(table.view().player, "Player 1");
}

TEST_F(Timing, DeleteHeldOverManyTicksTakesBackOneBet)
{
    run({{.kind = Kind::Chip, .arg = 0}, {.kind = Kind::Number, .arg = 1}, {.kind = Kind::Number, .arg = 2},
        {.kind = Kind::Chip, .arg = 2}, {.kind = Kind::Outside, .arg = 0},
        {.kind = Kind::Tick, .deleteDown = true, .list = 0, .row = 0}});
    ticks(20, true);
    EXPECT_EQ(table.view().lists[0], (Entries{"2-1", "Big-10"}));
    EXPECT_EQ(table.view().counters[0], "1");
}

TEST_F(Timing, DeleteWhileTheWheelSpinsIsRefusedAndTheBetIsStillPaid)
{
    betAndSpin();
    run({{.kind = Kind::Tick, .deleteDown = true, .list = 1, .row = 0, .draw = 0.5f}});
    ticks(SpinLength - 2, true);
    EXPECT_EQ(table.view().lists[1], (Entries{"36-100"}));
    run({{.kind = Kind::Tick, .deleteDown = true, .list = 1, .row = 0, .draw = 36.5f / 37.0f}});
    EXPECT_EQ(table.state().PlayerChips[1][5], 1u + 36u);
}

} // namespace
} // namespace morvik::play
