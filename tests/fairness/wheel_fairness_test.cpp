// The wheel as the players meet it: the game's own generator, re-seeded from
// the time of day before every draw, through whole 50-tick spins of the game.
// Whenever in the day a spin runs, the number it ends on must be uniform over
// 0 to 36 - also late in the day, where a float time of day moves in steps of
// almost 8 ms, so that several ticks in a row get the same seed.
#include "game/game.h"
#include "game/wheel.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>

namespace morvik {
namespace {

constexpr std::int64_t MsPerDay = 86'400'000;
constexpr int DayParts = 4; // six hours each; the last one has the coarsest clock
constexpr int SpinsPerDay = 370'000; // 10,000 expected on every number

// Reads the time of day the way SystemClock does, from whole milliseconds
// since midnight, and moves on by one millisecond with every reading, as
// Timer1 asks for a tick every millisecond.
class SteppingClock : public Clock {
public:
    std::int64_t msecs = 0;

    float timeOfDay() override { return static_cast<float>(msecs++) / 1000.0f; }
};

// The real generator, counting the draws whose seed equals the one before.
class WatchedWheel : public RandomSource {
public:
    std::int64_t repeatedSeeds = 0;

    void seed(float seed) override
    {
        if (seed == lastSeed)
            ++repeatedSeeds;
        lastSeed = seed;
        wheel.seed(seed);
    }
    float next() override { return wheel.next(); }

private:
    WheelRandom wheel;
    float lastSeed = -1.0f;
};

struct NoKeys : KeyState {
    bool deletePressed() override { return false; }
};

struct BlindView : TableView {
    void showCounter(int, Count) override {}
    void showPlayer(int) override {}
    void appendEntry(int, const std::string&) override {}
    void removeEntry(int, int) override {}
    void clearEntries(int) override {}
    void showList(int, bool) override {}
    void showTray(bool) override {}
    void showDraw(int, Rgb) override {}
    int selectedEntry(int) const override { return -1; }
};

// Q(a, x), the regularized upper incomplete gamma function: the chance that a
// chi-square with 2a degrees of freedom reaches 2x. A power series below
// x = a + 1, a continued fraction (modified Lentz) above.
double upperGamma(double a, double x)
{
    if (x <= 0.0)
        return 1.0;
    const double prefix = std::exp(a * std::log(x) - x - std::lgamma(a));
    if (x < a + 1.0) {
        double term = 1.0 / a;
        double sum = term;
        for (int n = 1; n < 1000 && term > sum * 1e-16; ++n) {
            term *= x / (a + n);
            sum += term;
        }
        return 1.0 - sum * prefix;
    }
    constexpr double Tiny = 1e-300;
    double b = x + 1.0 - a;
    double c = 1.0 / Tiny;
    double d = 1.0 / b;
    double h = d;
    for (int i = 1; i < 1000; ++i) {
        const double an = -i * (i - a);
        b += 2.0;
        d = an * d + b;
        d = std::fabs(d) < Tiny ? Tiny : d;
        c = b + an / c;
        c = std::fabs(c) < Tiny ? Tiny : c;
        d = 1.0 / d;
        h *= d * c;
        if (std::fabs(d * c - 1.0) < 1e-16)
            break;
    }
    return prefix * h;
}

using Tally = std::array<std::int64_t, NumberCount>;

struct Fit {
    double statistic = 0.0;
    double p = 0.0;
    std::int64_t draws = 0;
};

// Chi-square goodness of fit against 37 equally likely numbers.
Fit uniformFit(const Tally& tally)
{
    Fit fit;
    for (std::int64_t n : tally)
        fit.draws += n;
    const double expected = static_cast<double>(fit.draws) / NumberCount;
    for (std::int64_t n : tally)
        fit.statistic += (n - expected) * (n - expected) / expected;
    fit.p = upperGamma((NumberCount - 1) / 2.0, fit.statistic / 2.0);
    return fit;
}

TEST(ChiSquare, pValuesMatchTheTabledCriticalValuesFor36DegreesOfFreedom)
{
    EXPECT_NEAR(upperGamma(18.0, 67.985 / 2.0), 0.001, 2e-6);
    EXPECT_NEAR(upperGamma(18.0, 50.998 / 2.0), 0.05, 2e-5);
    EXPECT_NEAR(upperGamma(18.0, 23.269 / 2.0), 0.95, 2e-5);
}

TEST(WheelFairness, spinsEndOnEveryNumberEquallyOftenAtAnyTimeOfDay)
{
    SteppingClock clock;
    WatchedWheel wheel;
    NoKeys keys;
    BlindView view;
    Game game({clock, wheel, keys}, view);
    game.load();

    // Spins start at times spread uniformly over the day, each tick one
    // millisecond after the one before.
    std::mt19937_64 times(20'240'611);
    std::uniform_int_distribution<std::int64_t> start(0, MsPerDay - SpinLength);
    std::array<Tally, DayParts> byPart{};
    std::array<std::int64_t, DayParts> repeatsByPart{};
    for (int spin = 0; spin < SpinsPerDay; ++spin) {
        clock.msecs = start(times);
        const int part = static_cast<int>(clock.msecs * DayParts / MsPerDay);
        const std::int64_t repeatsBefore = wheel.repeatedSeeds;
        game.clickNext();
        game.clickNext();
        ASSERT_EQ(game.state().SpinTicks, SpinLength);
        for (int t = 0; t < SpinLength; ++t)
            game.tick();
        ASSERT_EQ(game.state().SpinTicks, 0);
        ++byPart[part][game.state().Cislo];
        repeatsByPart[part] += wheel.repeatedSeeds - repeatsBefore;
    }

    Tally whole{};
    for (const Tally& tally : byPart) {
        for (int n = 0; n < NumberCount; ++n)
            whole[n] += tally[n];
    }
    const Fit day = uniformFit(whole);
    std::printf("whole day: %lld final draws, chi-square %.2f (36 df), p = %.4f\n",
                static_cast<long long>(day.draws), day.statistic, day.p);
    EXPECT_GE(day.draws, SpinsPerDay);
    EXPECT_GE(day.p, 0.001);

    for (int part = 0; part < DayParts; ++part) {
        SCOPED_TRACE(testing::Message() << "hours " << part * 6 << " to " << part * 6 + 6);
        const Fit fit = uniformFit(byPart[part]);
        std::printf("hours %2d-%2d: %lld final draws, chi-square %.2f, p = %.4f, %lld ticks re-used the seed before\n",
                    part * 6, part * 6 + 6, static_cast<long long>(fit.draws), fit.statistic, fit.p,
                    static_cast<long long>(repeatsByPart[part]));
        EXPECT_GE(fit.p, 0.001);
        for (int n = 0; n < NumberCount; ++n)
            EXPECT_GT(byPart[part][n], 0) << "never ended on " << n;
    }
    // From 65536 s on a float time of day moves in steps of 7.8 ms, so most
    // ticks of a late spin share their seed with the tick before. The late
    // hours must really have been played that way, or they prove nothing
    // about the coarse clock.
    EXPECT_GT(repeatsByPart[DayParts - 1], (SpinsPerDay / DayParts) * SpinLength * 3 / 4);
}

} // namespace
} // namespace morvik
