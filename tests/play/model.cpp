#include "model.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace morvik::play {
namespace {

// The harness's own reading of the table, written from the payout tables and
// deliberately not from the game's rules.h helpers.
constexpr std::array<int, 6> Values{1, 5, 10, 20, 50, 100};
constexpr std::array<const char*, 6> Words{"Big", "Small", "Even", "Odd", "Black", "Red"};
constexpr std::array<int, 18> RedNumbers{1, 3, 5, 7, 9, 12, 14, 16, 18, 19, 21, 23, 25, 27, 30, 32, 34, 36};

bool isRed(int n)
{
    return std::find(RedNumbers.begin(), RedNumbers.end(), n) != RedNumbers.end();
}

// Chips of the staked denomination that a target pays, stake included.
int paid(std::string_view target, int drawn)
{
    bool wins = false;
    if (target == "Red")
        wins = isRed(drawn);
    else if (target == "Black")
        wins = drawn != 0 && !isRed(drawn);
    else if (target == "Even")
        wins = drawn % 2 == 0;
    else if (target == "Odd")
        wins = drawn % 2 == 1;
    else if (target == "Big")
        wins = drawn > 18;
    else if (target == "Small")
        wins = drawn < 19;
    else
        return target == std::to_string(drawn) ? 36 : 0;
    return wins ? 2 : 0;
}

// floor(r * 37); exact in double for any float r.
int wheel(float r)
{
    return static_cast<int>(std::floor(static_cast<double>(r) * 37.0));
}

Rgb colourOf(int n)
{
    return n == 0 ? CellWhite : isRed(n) ? CellRed : CellBlack;
}

// A plain decimal count: digits only, no leading zero.
std::optional<std::int64_t> readCount(std::string_view text)
{
    if (text.empty() || text.size() > 18 || (text.size() > 1 && text[0] == '0'))
        return std::nullopt;
    std::int64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value < 0)
        return std::nullopt;
    return value;
}

// Splits a well-formed entry into its target and denomination index.
std::optional<std::pair<std::string_view, int>> readEntry(std::string_view text)
{
    const auto dash = text.find('-');
    if (dash == std::string_view::npos)
        return std::nullopt;
    const auto target = text.substr(0, dash);
    const auto value = readCount(text.substr(dash + 1));
    const auto chip = std::find(Values.begin(), Values.end(), value.value_or(-1));
    if (chip == Values.end())
        return std::nullopt;
    const auto number = readCount(target);
    const bool word = std::find(Words.begin(), Words.end(), target) != Words.end();
    if (!word && !(number && *number >= 1 && *number <= 36))
        return std::nullopt;
    return std::pair{target, static_cast<int>(chip - Values.begin())};
}

std::string text(const char* format, auto... args)
{
    char buffer[200];
    std::snprintf(buffer, sizeof buffer, format, args...);
    return buffer;
}

} // namespace

std::string describe(const Event& e)
{
    switch (e.kind) {
    case Event::Kind::Chip: return text("chip %d", e.arg);
    case Event::Kind::Number: return text("number %d", e.arg);
    case Event::Kind::Outside: return text("outside %s", 0 <= e.arg && e.arg < 6 ? Words[e.arg] : "?");
    case Event::Kind::Next: return "Next";
    case Event::Kind::Close: return "X";
    case Event::Kind::Play: return "Play";
    case Event::Kind::Tick: break;
    }
    std::string line = e.deleteDown ? "tick, Delete down" : "tick";
    if (e.list >= 0)
        line += text(", List1(%d) row %d selected", e.list, e.row);
    return line + text(", draw %.9g (%d)", static_cast<double>(e.draw), wheel(e.draw));
}

std::string describe(std::span<const Event> events)
{
    std::string out;
    for (std::size_t i = 0; i < events.size();) {
        std::size_t run = 1;
        while (i + run < events.size() && events[i + run] == events[i])
            ++run;
        out += text("  %5zu: ", i) + describe(events[i]) + (run > 1 ? text("  x%zu", run) : "") + "\n";
        i += run;
    }
    return out;
}

float drawFromByte(std::uint8_t byte)
{
    if (byte >= 248) // 1 to 8 steps below 1.0f
        return 1.0f - static_cast<float>(256 - byte) * 0x1p-24f;
    const int n = byte % 37;
    const float edge = static_cast<float>(n) / 37.0f; // may round to either side of n/37
    switch (byte / 37) {
    case 0: return edge;
    case 1: return std::nextafter(edge, 0.0f);
    case 2: return std::nextafter(edge, 1.0f);
    default: return (static_cast<float>(n) + static_cast<float>(byte / 37 - 2) / 5.0f) / 37.0f;
    }
}

// Layout: a kind byte (its value modulo 8), then its argument bytes:
//   0 chip (arg % 8 - 1)      1 number (arg % 40 - 1)     2 outside (arg % 6)
//   3 Next                    4 tick (flags, row, draw)   5 arg % 64 + 1 plain ticks (count, draw)
//   6 X                       7 Play
// Tick flags: bit 0 Delete down; (flags >> 1) % 3 - 1 is the list whose
// selection is set (-1 none); row 255 means no row selected.
std::vector<Event> decode(std::span<const std::uint8_t> bytes)
{
    std::vector<Event> events;
    std::size_t at = 0;
    auto take = [&](std::size_t n) { return at + n <= bytes.size() ? (at += n, true) : false; };
    while (take(1)) {
        const int kind = bytes[at - 1] % 8;
        Event e;
        switch (kind) {
        case 0:
        case 1:
        case 2: {
            if (!take(1))
                return events;
            const int a = bytes[at - 1];
            e.kind = kind == 0 ? Event::Kind::Chip : kind == 1 ? Event::Kind::Number : Event::Kind::Outside;
            e.arg = kind == 0 ? a % 8 - 1 : kind == 1 ? a % 40 - 1 : a % 6;
            events.push_back(e);
            break;
        }
        case 3: e.kind = Event::Kind::Next; events.push_back(e); break;
        case 6: e.kind = Event::Kind::Close; events.push_back(e); break;
        case 7: e.kind = Event::Kind::Play; events.push_back(e); break;
        case 4:
            if (!take(3))
                return events;
            e.deleteDown = bytes[at - 3] & 1;
            e.list = (bytes[at - 3] >> 1) % 3 - 1;
            e.row = bytes[at - 2] == 255 ? -1 : bytes[at - 2];
            e.draw = drawFromByte(bytes[at - 1]);
            events.push_back(e);
            break;
        case 5:
            if (!take(2))
                return events;
            e.draw = drawFromByte(bytes[at - 1]);
            events.insert(events.end(), bytes[at - 2] % 64 + 1, e);
            break;
        }
    }
    return events;
}

CheckedGame::CheckedGame()
{
    game.load();
    for (auto& stock : roundStart)
        stock.fill(2);
}

std::optional<std::string> CheckedGame::apply(const Event& e)
{
    ++seen.events;
    laidFor = -1;
    const int player = expectedPlayer();
    switch (e.kind) {
    case Event::Kind::Chip:
        if (phase != Phase::Spin && 0 <= e.arg && e.arg < DenominationCount && holding(player, e.arg) > 0)
            chip = e.arg;
        game.clickChip(e.arg);
        break;
    case Event::Kind::Number:
        if (1 <= e.arg && e.arg <= 36)
            expectBet(static_cast<std::uint8_t>(e.arg), std::to_string(e.arg));
        game.clickNumber(e.arg);
        break;
    case Event::Kind::Outside:
        expectBet(static_cast<Outside>(e.arg), Words[e.arg]);
        game.clickOutside(static_cast<Outside>(e.arg));
        break;
    case Event::Kind::Next:
        if (phase == Phase::FirstTurn) {
            phase = Phase::SecondTurn;
        } else if (phase == Phase::SecondTurn) {
            phase = Phase::Spin;
            spinTicks = 50;
        }
        game.clickNext();
        break;
    case Event::Kind::Tick:
        if (e.list >= 0)
            fakeView.selected[e.list] = e.row;
        expectTick(e);
        keys.pressed = e.deleteDown;
        random.fallback = e.draw;
        game.tick();
        break;
    case Event::Kind::Close:
    case Event::Kind::Play:
        break;
    }
    fakeView.log.clear();
    return check();
}

void CheckedGame::expectBet(Target target, const std::string& text)
{
    const int player = expectedPlayer();
    if (phase == Phase::Spin || !chip || holding(player, *chip) == 0)
        return;
    bets[player].push_back({target, static_cast<std::uint8_t>(*chip)});
    lists[player].push_back(text + "-" + std::to_string(Values[*chip]));
    laidFor = player;
    ++staked[player][*chip];
    ++seen.betsLaid;
    seen.maxList = std::max(seen.maxList, lists[player].size());
}

void CheckedGame::expectTick(const Event& e)
{
    const int player = expectedPlayer();
    // The selection as the game will read it: the fake view's own.
    const int row = fakeView.selected[player];
    auto& list = lists[player];
    if (e.deleteDown && phase != Phase::Spin && row >= 0 && row < static_cast<int>(list.size())) {
        --staked[player][readEntry(list[row])->second];
        list.erase(list.begin() + row);
        bets[player].erase(bets[player].begin() + row);
        ++seen.withdrawals;
    }
    if (phase != Phase::Spin)
        return;
    ++draws;
    drawn = wheel(e.draw);
    if (--spinTicks == 0)
        expectSettlement(drawn);
}

void CheckedGame::expectSettlement(int number)
{
    for (int p = 0; p < PlayerCount; ++p) {
        for (const std::string& entry : lists[p]) {
            const auto [target, denomination] = *readEntry(entry);
            roundStart[p][denomination] += paid(target, number);
        }
        for (int d = 0; d < DenominationCount; ++d) {
            roundStart[p][d] -= staked[p][d];
            seen.maxStock = std::max(seen.maxStock, roundStart[p][d]);
        }
        lists[p].clear();
        bets[p].clear();
        staked[p].fill(0);
    }
    ++seen.results[number];
    phase = Phase::FirstTurn;
}

std::optional<std::string> CheckedGame::check() const
{
    const GameState& s = game.state();
    const testing::FakeView& v = fakeView;

    // The phase, as the state and the screen show it.
    const bool spin = phase == Phase::Spin;
    const std::array<bool, 2> visible{phase != Phase::Spin, phase == Phase::SecondTurn};
    if (s.CurrentPlayer != expectedPlayer() || s.SpinTicks != spinTicks)
        return text("CurrentPlayer %d, SpinTicks %d; expected %d, %d", s.CurrentPlayer, s.SpinTicks,
            expectedPlayer(), spinTicks);
    if (v.listVisible != visible || v.trayVisible == spin)
        return text("List1(0) %s, List1(1) %s, tray %s; expected %s, %s, %s", v.listVisible[0] ? "shown" : "hidden",
            v.listVisible[1] ? "shown" : "hidden", v.trayVisible ? "shown" : "hidden", visible[0] ? "shown" : "hidden",
            visible[1] ? "shown" : "hidden", spin ? "hidden" : "shown");
    if (v.player != (expectedPlayer() == 0 ? "Player 1" : "Player 2"))
        return "the caption shows " + v.player;
    if (chip ? s.ChipValue != Values[*chip] || s.ChipIndex != *chip : s.ChipValue != 0)
        return text("chip %d (value %d) selected; expected %d", s.ChipIndex, s.ChipValue, chip.value_or(-1));

    // The bet lists: the game's, the screen's and the expected ones agree,
    // and the entry just laid reads back as the bet it stands for.
    for (int p = 0; p < PlayerCount; ++p) {
        if (s.BetCount(p) != v.lists[p].size() || v.lists[p] != lists[p] || s.List1[p] != bets[p]) {
            std::string shown, expected;
            for (std::size_t i = 0; i < std::max(v.lists[p].size(), s.List1[p].size()); ++i) {
                shown += " " + (i < v.lists[p].size() ? v.lists[p][i] : "_");
                shown += "(" + (i < s.List1[p].size() ? entryText(s.List1[p][i]) : "_") + ")";
            }
            for (const auto& entry : lists[p])
                expected += " " + entry;
            return text("BetCount(%d) %u, List1(%d) shows (game's bets in brackets) [%s ]; expected [%s ]", p,
                s.BetCount(p), p, shown.c_str(), expected.c_str());
        }
    }
    if (laidFor >= 0) {
        const std::string& entry = v.lists[laidFor].back();
        if (entryText(bets[laidFor].back()) != entry || !readEntry(entry))
            return "the entry " + entry + " is malformed";
    }

    // Every chip accounted for: what a player holds, where the phase keeps
    // it, plus what lies in that player's list, is the player's stock at the
    // start of the round (which includes the last settlement's credit).
    for (int d = 0; d < DenominationCount; ++d) {
        if (v.counters[d] != std::to_string(s.Label3[d]))
            return text("Label3(%d) shows %s for %u", d, v.counters[d].c_str(), s.Label3[d]);
        for (int p = 0; p < PlayerCount; ++p) {
            const bool onCounters = !spin && p == expectedPlayer();
            const auto held = onCounters ? readCount(v.counters[d]) : std::optional<std::int64_t>(s.PlayerChips[p][d]);
            if (!held || *held + staked[p][d] != roundStart[p][d] || holding(p, d) < 0)
                return text("player %d, %d-chips: %s in the %s and %lld in the list; expected %lld in all, the "
                            "stock at the start of the round with the last settlement's credit",
                    p, Values[d], onCounters ? v.counters[d].c_str() : std::to_string(s.PlayerChips[p][d]).c_str(),
                    onCounters ? "counter" : "store", static_cast<long long>(staked[p][d]),
                    static_cast<long long>(roundStart[p][d]));
        }
    }

    // The wheel: one draw per spin tick, shown in the colour of its cell.
    if (random.draws != draws || s.Cislo != drawn || v.cislo != std::to_string(drawn)
        || v.cisloColour != colourOf(drawn))
        return text("%d draws, Cislo %d shown as %s; expected %lld draws and %d", random.draws, s.Cislo,
            v.cislo.c_str(), static_cast<long long>(draws), drawn);
    return std::nullopt;
}

std::optional<Failure> play(std::span<const Event> events)
{
    CheckedGame game;
    for (std::size_t i = 0; i < events.size(); ++i) {
        if (auto message = game.apply(events[i]))
            return Failure{i, std::move(*message)};
    }
    return std::nullopt;
}

} // namespace morvik::play
