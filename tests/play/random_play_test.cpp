// Random play: seeded sequences of clicks, ticks and key presses against the
// game, every event checked (model.h). A failure prints its seed and the
// shortest sequence found that still fails.
#include "model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>

namespace morvik::play {
namespace {

// Makes the next event from what the table shows now, so one seed always
// makes the same sequence. Some sequences are short, some live long and are
// lucky, so stocks pass 255 and lists pass 101 entries.
class Generator {
public:
    explicit Generator(std::uint64_t seed)
        : rng(seed)
    {
        static constexpr std::array<int, 4> Lengths{300, 3'000, 30'000, 60'000};
        length = Lengths[below(4)];
        luck = length >= 30'000 ? 60 : below(30);
    }

    int length = 0;

    Event next(const CheckedGame& table)
    {
        const GameState& s = table.state();
        if (s.SpinTicks != 0)
            return chance(90) ? tick(s, chance(10)) : anything(s);
        const int player = s.CurrentPlayer;
        if (player != turn) { // a new turn: now and then a rich player lays a hundred chips or more
            turn = player;
            Count chips = 0;
            for (Count c : s.Label3)
                chips += c;
            burst = chips > 150 && chance(15) ? 102 + below(150) : 0;
        }
        if (burst > 0) {
            --burst;
            if (s.ChipValue == 0 || s.Label3[s.ChipIndex] == 0)
                return {.kind = Event::Kind::Chip, .arg = richestChip(s)};
            return chance(60) ? Event{.kind = Event::Kind::Number, .arg = 1 + below(36)}
                              : Event{.kind = Event::Kind::Outside, .arg = below(6)};
        }
        const int roll = below(100);
        if (roll < 15)
            return {.kind = Event::Kind::Chip, .arg = chance(95) ? below(6) : (chance(50) ? -1 : 6)};
        if (roll < 45)
            return {.kind = Event::Kind::Number, .arg = chance(97) ? below(37) : offTable()};
        if (roll < 65)
            return {.kind = Event::Kind::Outside, .arg = below(6)};
        if (roll < 87)
            return tick(s, chance(50), player);
        if (roll < 96)
            return {.kind = Event::Kind::Next};
        return anything(s);
    }

private:
    std::mt19937_64 rng;
    int luck = 0;
    int burst = 0;
    int turn = -1;

    int below(int n) { return static_cast<int>(rng() % static_cast<std::uint64_t>(n)); }
    bool chance(int percent) { return below(100) < percent; }
    int offTable() { return std::array{-1, 37, 38, -100, 1000}[below(5)]; }

    static int richestChip(const GameState& s)
    {
        return static_cast<int>(std::max_element(s.Label3.begin(), s.Label3.end()) - s.Label3.begin());
    }

    Event anything(const GameState& s)
    {
        switch (below(7)) {
        case 0: return {.kind = Event::Kind::Chip, .arg = below(8) - 1};
        case 1: return {.kind = Event::Kind::Number, .arg = below(39) - 1};
        case 2: return {.kind = Event::Kind::Outside, .arg = below(6)};
        case 3: return {.kind = Event::Kind::Next};
        case 4: return {.kind = Event::Kind::Close};
        case 5: return {.kind = Event::Kind::Play};
        default: return tick(s, chance(50));
        }
    }

    // A tick; with a selection in the given player's list most of the time.
    Event tick(const GameState& s, bool deleteDown, int player = -1)
    {
        Event e{.kind = Event::Kind::Tick, .deleteDown = deleteDown, .draw = draw(s)};
        if (player < 0 && chance(80))
            return e;
        e.list = player < 0 || chance(10) ? below(2) : player;
        const int size = static_cast<int>(s.BetCount(e.list));
        const int roll = below(100);
        e.row = roll < 70 && size > 0 ? below(size) : roll < 85 ? -1 : roll < 95 ? size + below(3) : 100'000;
        if (chance(10))
            e.list = -1; // leave the selection as it is
        return e;
    }

    float draw(const GameState& s)
    {
        // A lucky last tick stops on a number that someone bet on.
        if (s.SpinTicks == 1 && chance(luck)) {
            std::vector<int> numbers;
            for (const auto& list : s.List1) {
                for (const Bet& bet : list) {
                    if (const auto* n = std::get_if<std::uint8_t>(&bet.target))
                        numbers.push_back(*n);
                }
            }
            if (!numbers.empty())
                return (static_cast<float>(numbers[below(static_cast<int>(numbers.size()))]) + 0.5f) / 37.0f;
        }
        if (chance(20))
            return drawFromByte(static_cast<std::uint8_t>(below(256)));
        return static_cast<float>(rng() >> 40) * 0x1p-24f;
    }
};

// Shortens a failing sequence while it keeps failing: chunks first, halving
// their size down to single events, until a whole round removes nothing;
// then plain ticks stand in for ticks wherever they do as well.
std::vector<Event> shrink(std::vector<Event> events, const std::function<bool(std::span<const Event>)>& fails)
{
    for (bool progress = true; progress;) {
        progress = false;
        for (std::size_t chunk = std::max<std::size_t>(events.size() / 2, 1);; chunk /= 2) {
            for (std::size_t start = 0; start < events.size();) {
                std::vector<Event> candidate(events.begin(), events.begin() + static_cast<std::ptrdiff_t>(start));
                const std::size_t end = std::min(start + chunk, events.size());
                candidate.insert(candidate.end(), events.begin() + static_cast<std::ptrdiff_t>(end), events.end());
                if (fails(candidate)) {
                    events = std::move(candidate);
                    progress = true;
                } else {
                    start += chunk;
                }
            }
            if (chunk == 1)
                break;
        }
    }
    for (Event& e : events) {
        if (e.kind != Event::Kind::Tick)
            continue;
        for (Event plain : {Event{}, Event{.draw = e.draw}, Event{.deleteDown = e.deleteDown, .draw = e.draw}}) {
            std::swap(e, plain);
            if (fails(events))
                break;
            std::swap(e, plain);
        }
    }
    return events;
}

// Plays one seed's sequence; on a failure, reports the seed and the shrunk
// sequence and returns false.
bool playSeed(std::uint64_t seed, Coverage& total)
{
    Generator generator(seed);
    CheckedGame table;
    std::vector<Event> events;
    for (int i = 0; i < generator.length; ++i) {
        events.push_back(generator.next(table));
        if (auto message = table.apply(events.back())) {
            auto shrunk = shrink(events, [](std::span<const Event> e) { return play(e).has_value(); });
            ADD_FAILURE() << "seed " << seed << ", event " << i << ": " << *message << "\nshrunk from " << events.size()
                          << " to " << shrunk.size() << " events, failing with: " << play(shrunk)->message << "\n"
                          << describe(shrunk);
            return false;
        }
    }
    const Coverage& c = table.coverage();
    total.events += c.events;
    total.betsLaid += c.betsLaid;
    total.withdrawals += c.withdrawals;
    total.maxStock = std::max(total.maxStock, c.maxStock);
    total.maxList = std::max(total.maxList, c.maxList);
    for (int n = 0; n < NumberCount; ++n)
        total.results[n] += c.results[n];
    return true;
}

// Each shard plays its own seeds until it has checked its share of events;
// the shards together check well over a million per run.
constexpr std::int64_t EventsPerShard = 170'000;

class RandomPlay : public ::testing::TestWithParam<int> {};

TEST_P(RandomPlay, KeepsEveryChipAndEveryListInStep)
{
    Coverage total;
    for (std::uint64_t seed = GetParam() * 1'000'000ull; total.events < EventsPerShard; ++seed) {
        if (!playSeed(seed, total))
            return;
    }
    // The run went where faults hide: past a byte, past 101 entries, every
    // number drawn at the end of a spin, bets both laid and taken back.
    EXPECT_GT(total.maxStock, 255);
    EXPECT_GT(total.maxList, 101u);
    EXPECT_GT(total.withdrawals, 1000);
    EXPECT_GT(*std::min_element(total.results.begin(), total.results.end()), 5);
}

INSTANTIATE_TEST_SUITE_P(Shard, RandomPlay, ::testing::Range(0, 6));

TEST(Shrinker, KeepsOnlyTheEventsAFailureNeeds)
{
    // Fails when a "Next" is followed, at any distance, by a click on 7.
    auto fails = [](std::span<const Event> events) {
        auto next = std::find(events.begin(), events.end(), Event{.kind = Event::Kind::Next});
        return std::find(next, events.end(), Event{.kind = Event::Kind::Number, .arg = 7}) != events.end();
    };
    std::vector<Event> events(100, Event{.kind = Event::Kind::Close});
    events[30] = {.kind = Event::Kind::Next};
    events[70] = {.kind = Event::Kind::Number, .arg = 7};
    events[10] = events[70];
    EXPECT_EQ(shrink(events, fails), (std::vector<Event>{events[30], events[70]}));
}

} // namespace
} // namespace morvik::play
