// Benchmarks of the game's busy paths: the tick that runs every millisecond of
// the program's life, idle or spinning; settlement and withdrawal at 1,000
// bets; a whole round. The view draws nothing, so the time is the game's own.
#include "alloc_count.h"
#include "game/game.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstddef>
#include <memory>

namespace {

using namespace morvik;
using bench::allocationCount;
using Stopwatch = std::chrono::steady_clock;

constexpr int Drawn = 17; // every spin stops here

struct FixedClock : Clock {
    float timeOfDay() override { return 43200.5f; }
};

struct FixedRandom : RandomSource {
    void seed(float) override { }
    float next() override { return (Drawn + 0.5f) / NumberCount; }
};

struct Keys : KeyState {
    bool down = false;
    bool deletePressed() override { return down; }
};

// Shows nothing. Keeps the one selection the game reads back, and counts the
// entries appended so that a benchmark can tell all its bets were laid.
struct NullView : TableView {
    int selected = -1;
    std::size_t appended = 0;

    void showCounter(int, Count) override { }
    void showPlayer(int) override { }
    void appendEntry(int, const std::string&) override { ++appended; }
    void removeEntry(int, int) override { selected = -1; }
    void clearEntries(int) override { }
    void showList(int, bool) override { }
    void showTray(bool) override { }
    void showDraw(int, Rgb) override { }
    int selectedEntry(int) const override { return selected; }
};

struct Table {
    FixedClock clock;
    FixedRandom random;
    Keys keys;
    NullView view;
    Game game{{clock, random, keys}, view};

    Table() { game.load(); }
    const GameState& state() const { return game.state(); }

    // Lays `count` chips of value 1 for the current player, cycling through
    // 42 targets: the drawn number, the six outside cells, the 35 other
    // numbers. Against the fixed draw, 10 or 1,000 such bets pay back more
    // than they stake, so a benchmark can bet round after round.
    void layBets(int count)
    {
        constexpr int OtherNumbers = NumberCount - 2;
        game.clickChip(0);
        for (int i = 0; i < count; ++i) {
            const int t = i % (1 + OutsideCount + OtherNumbers);
            const int n = t - OutsideCount; // 1 to 35 among the other numbers
            if (t == 0)
                game.clickNumber(Drawn);
            else if (t <= OutsideCount)
                game.clickOutside(Outside(t - 1));
            else
                game.clickNumber(n < Drawn ? n : n + 1);
        }
    }

    void spin()
    {
        for (int t = 0; t < SpinLength; ++t)
            game.tick();
    }

    // Both players (the first is on turn) bet, then the wheel spins.
    void playRound(int betsEach)
    {
        layBets(betsEach);
        game.clickNext();
        layBets(betsEach);
        game.clickNext();
        spin();
    }

    // Rounds in which both players stake up to 1,000 chips of value 1 on the
    // drawn number, until each holds at least `chips` of them.
    void fund(Count chips)
    {
        while (state().Label3[0] < chips || state().PlayerChips[1][0] < chips) {
            for (int p = 0; p < PlayerCount; ++p) {
                game.clickChip(0);
                for (Count n = std::min<Count>(state().Label3[0], 1000); n > 0; --n)
                    game.clickNumber(Drawn);
                game.clickNext();
            }
            spin();
        }
    }
};

bool failed = false;

void fail(benchmark::State& state, const char* why)
{
    state.SkipWithError(why);
    failed = true;
}

void reportAllocations(benchmark::State& state, std::size_t count)
{
    state.counters["allocs/iter"] = benchmark::Counter(static_cast<double>(count), benchmark::Counter::kAvgIterations);
}

void idleTick(benchmark::State& state)
{
    Table table;
    const std::size_t before = allocationCount();
    for (auto _ : state)
        table.game.tick();
    const std::size_t count = allocationCount() - before;
    reportAllocations(state, count);
    if (count != 0)
        fail(state, "an idle tick allocated");
}
BENCHMARK(idleTick);

// Pausing the timer costs some 500 ns, far more than a tick. Where a
// benchmark must restore the table between events, it runs the events on this
// many tables in turn and restores them all in one pause, which adds at
// most about 2 ns to each event.
constexpr std::size_t TableCount = 256;
using Tables = std::array<Table, TableCount>;

// Runs `work` with the timer paused and returns the allocations it made, for
// the caller to leave out of the timed ones.
template <typename Work>
std::size_t untimed(benchmark::State& state, Work work)
{
    const std::size_t mark = allocationCount();
    state.PauseTiming();
    work();
    state.ResumeTiming();
    return allocationCount() - mark;
}

// Every measured tick is a spin tick that does not end the spin: the tables
// spin in step, and before their final tick they finish the spin and start
// the next one, untimed.
void spinTick(benchmark::State& state)
{
    auto tables = std::make_unique<Tables>();
    for (Table& table : *tables) {
        table.game.clickNext();
        table.game.clickNext();
    }
    const std::size_t before = allocationCount();
    std::size_t restarts = 0;
    std::size_t next = 0;
    for (auto _ : state) {
        if (next == TableCount) {
            next = 0;
            if (tables->front().state().SpinTicks == 1) {
                restarts += untimed(state, [&] {
                    for (Table& table : *tables) {
                        table.game.tick();
                        table.game.clickNext();
                        table.game.clickNext();
                    }
                });
            }
        }
        (*tables)[next++].game.tick();
    }
    const std::size_t count = allocationCount() - before - restarts;
    reportAllocations(state, count);
    if (count != 0)
        fail(state, "a spin tick allocated");
}
BENCHMARK(spinTick);

// The final tick of a spin with 1,000 bets in each list. Only that tick is
// timed; the bets and the first 49 ticks are laid out before it.
void settlement(benchmark::State& state)
{
    Table table;
    table.fund(10'000);
    std::size_t count = 0;
    for (auto _ : state) {
        table.layBets(1000);
        table.game.clickNext();
        table.layBets(1000);
        table.game.clickNext();
        for (int t = 1; t < SpinLength; ++t)
            table.game.tick();
        if (table.state().BetCount(0) != 1000 || table.state().BetCount(1) != 1000) {
            fail(state, "the players could not lay 1,000 bets each");
            break;
        }
        const std::size_t before = allocationCount();
        const auto start = Stopwatch::now();
        table.game.tick();
        const auto stop = Stopwatch::now();
        count += allocationCount() - before;
        state.SetIterationTime(std::chrono::duration<double>(stop - start).count());
    }
    reportAllocations(state, count);
}
BENCHMARK(settlement)->UseManualTime();

// Withdraws row state.range(0) of a 1,000-entry list, on each table in turn;
// then an untimed bet on each brings the lists back to 1,000 entries.
void withdrawal(benchmark::State& state)
{
    auto tables = std::make_unique<Tables>();
    for (Table& table : *tables) {
        table.fund(1000);
        table.layBets(1000);
        table.keys.down = true;
    }
    const int row = static_cast<int>(state.range(0));
    const std::size_t before = allocationCount();
    std::size_t refills = 0;
    std::size_t next = 0;
    for (auto _ : state) {
        if (next == TableCount) {
            next = 0;
            refills += untimed(state, [&] {
                for (Table& table : *tables)
                    table.game.clickNumber(Drawn);
            });
        }
        Table& table = (*tables)[next++];
        table.view.selected = row;
        table.game.tick();
    }
    reportAllocations(state, allocationCount() - before - refills);
    std::size_t entries = 0;
    for (const Table& table : *tables)
        entries += table.state().BetCount(0);
    if (entries != 1000 * TableCount - next)
        fail(state, "a withdrawal or a refill failed");
}
BENCHMARK(withdrawal)->Arg(0)->Arg(999);

// 10 bets per player, "Next", "Next" and the 50 ticks of the spin.
void round(benchmark::State& state)
{
    Table table;
    table.fund(100);
    const std::size_t appendedBefore = table.view.appended;
    const std::size_t before = allocationCount();
    for (auto _ : state)
        table.playRound(10);
    reportAllocations(state, allocationCount() - before);
    if (table.view.appended - appendedBefore != 20 * static_cast<std::size_t>(state.iterations()))
        fail(state, "not every bet of a round was laid");
}
BENCHMARK(round);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return failed ? 1 : 0;
}
