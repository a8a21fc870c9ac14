// Plays events against the game on fakes and, after every event, checks it
// against the harness's own reading of the rules: the lists, the phase, and
// that every chip is accounted for. Shared by the random-play tests and the
// fuzz target, so both speak the same events.
#pragma once

#include "tests/game/fakes.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace morvik::play {

// One thing that happens at the table window.
struct Event {
    enum class Kind : std::uint8_t {
        Chip, // Image1(arg); arg may lie off the tray
        Number, // Label1(arg); arg may lie off the table
        Outside, // outside cell arg, 0 to 5 in the order of morvik::Outside
        Next, // Label6
        Tick, // Timer1, with the Delete key and a list selection as below
        Close, // "X": the game goes on untouched
        Play, // "Play" on the title window: likewise
    };
    Kind kind = Kind::Tick;
    int arg = 0;
    // Tick only. Before the tick, the selection of List1(list) becomes row
    // (-1 for none, possibly past the end); list -1 leaves the selections as
    // they are. `draw` is what the wheel's generator returns if the tick draws.
    bool deleteDown = false;
    int list = -1;
    int row = -1;
    float draw = 0.0f;

    friend bool operator==(const Event&, const Event&) = default;
};

std::string describe(const Event& event);
// One line per event, with runs of equal events folded into "xN".
std::string describe(std::span<const Event> events);

// A draw for every byte: each number's interval with its edges hit from both
// sides, and the last few floats below 1.
float drawFromByte(std::uint8_t byte);

// Bytes as events, for the fuzzer: a byte picks the kind, argument bytes
// follow (see model.cpp). A short tail that cannot finish an event is dropped.
std::vector<Event> decode(std::span<const std::uint8_t> bytes);

// How far a run reached, so the random tests can tell that they went where
// the faults hide.
struct Coverage {
    std::int64_t events = 0;
    std::int64_t betsLaid = 0;
    std::int64_t withdrawals = 0;
    std::int64_t maxStock = 0; // of one player in one denomination
    std::size_t maxList = 0;
    std::array<std::int64_t, NumberCount> results{}; // spins ended on each number
};

// A loaded game on fakes plus what the harness expects of it.
class CheckedGame {
public:
    CheckedGame();

    // Plays one event; returns what went wrong, if anything.
    std::optional<std::string> apply(const Event& event);

    const GameState& state() const { return game.state(); }
    const testing::FakeView& view() const { return fakeView; }
    const Coverage& coverage() const { return seen; }

private:
    enum class Phase { FirstTurn, SecondTurn, Spin };

    int expectedPlayer() const { return phase == Phase::FirstTurn ? 0 : 1; }
    std::int64_t holding(int player, int chip) const { return roundStart[player][chip] - staked[player][chip]; }
    void expectBet(Target target, const std::string& text);
    void expectTick(const Event& event);
    void expectSettlement(int drawn);
    std::optional<std::string> check() const;

    testing::FakeClock clock;
    testing::FakeRandom random;
    testing::FakeKeys keys;
    testing::FakeView fakeView;
    Game game{{clock, random, keys}, fakeView};

    // The expectation, in 64 bits so that nothing the game does to its own
    // counts can wrap it.
    Phase phase = Phase::FirstTurn;
    int spinTicks = 0;
    std::optional<int> chip;
    std::array<std::vector<Bet>, PlayerCount> bets;
    std::array<std::vector<std::string>, PlayerCount> lists; // as shown
    int laidFor = -1; // player whose list the last event added to
    using Stock = std::array<std::int64_t, DenominationCount>;
    std::array<Stock, PlayerCount> roundStart{}; // each player's stock when the round began
    std::array<Stock, PlayerCount> staked{}; // chips lying in each player's list
    std::int64_t draws = 0;
    int drawn = 1; // on show in Cislo
    Coverage seen;
};

struct Failure {
    std::size_t event; // index of the event after which a check failed
    std::string message;
};

// Plays the events on a fresh game and stops at the first failure.
std::optional<Failure> play(std::span<const Event> events);

} // namespace morvik::play
