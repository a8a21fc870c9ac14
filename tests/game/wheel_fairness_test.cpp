// The game's own generator, re-seeded from the time of day every tick, through spins all over the day (late,
// a float time of day moves in steps of almost 8 ms: ticks in a row share a seed).
#include "game/wheel.h"
#include "support/table.h"

#include <gtest/gtest.h>

#include <numeric>
#include <random>

namespace morvik::testing {
namespace {

// A chi-square of 36 degrees of freedom exceeds this with probability 0.001 (NIST/SEMATECH e-Handbook).
constexpr double ChiSquare36At0001 = 67.985;

TEST(WheelFairness, SpinsEndOnEveryNumberEquallyOftenInEveryQuarterOfTheDay)
{
    constexpr std::int64_t MsPerQuarter = 21'600'000;
    WheelRandom wheel;
    Table t("Play", &wheel);
    t.desk.clock.stepMs = 1; // Timer1 ticks every millisecond
    std::mt19937_64 times(20'240'611);
    std::uniform_int_distribution<std::int64_t> start(0, 4 * MsPerQuarter - 50);
    std::array<std::array<int, 37>, 4> tally{};
    for (int spin = 0; spin < 4 * 92'500; ++spin) {
        t.desk.clock.ms = start(times);
        auto& quarter = tally[t.desk.clock.ms / MsPerQuarter];
        t.play("Next Next t50");
        ++quarter[t.state().Cislo];
        t.log.clear();
    }
    for (int quarter = 0; quarter < 4; ++quarter) {
        const double expected = std::accumulate(tally[quarter].begin(), tally[quarter].end(), 0.0) / 37;
        double chiSquare = 0;
        for (int n : tally[quarter])
            chiSquare += (n - expected) * (n - expected) / expected;
        EXPECT_LT(chiSquare, ChiSquare36At0001) << "hours " << quarter * 6 << " to " << quarter * 6 + 6;
    }
}

} // namespace
} // namespace morvik::testing
