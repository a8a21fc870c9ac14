// No chip is made or lost, whatever two players do: random sequences of every
// action a player has, played through the session, against a model of a few
// lines. A failure prints the shortest sequence found, in the driver's words.
// More sequences: RC_PARAMS="max_success=5000" (RC_PARAMS="seed=..." replays one).
#include "support/table.h"

#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>
#include <rapidcheck/state.h>

namespace morvik::testing {
namespace {

using Stocks = std::array<std::array<Count, 6>, 2>;
constexpr std::array<int, 6> Values{1, 5, 10, 20, 50, 100};
// Cells 1 to 36 are the numbers, 37 to 42 the outside cells.
std::string cellName(int cell)
{
    static const std::array<std::string, 6> words{"Big", "Small", "Even", "Odd", "Black", "Red"};
    return cell < 37 ? std::to_string(cell) : words[cell - 37];
}

// Each player's chips are their stock plus their stakes: laying and
// withdrawing move a chip between the two, and nothing else does but a spin's end.
struct Model {
    Stocks stock{{{2, 2, 2, 2, 2, 2}, {2, 2, 2, 2, 2, 2}}};
    std::array<std::vector<std::pair<int, int>>, 2> bets; // cell, chip
    int player = 0, chip = -1, spin = 0, drawn = 18;

    void settle()
    {
        for (int p : {0, 1}) {
            for (auto [cell, chip] : bets[p]) {
                const Count pays = cell == drawn ? 36 : cell > 36 && Outcomes[drawn][cell - 37] != '.' ? 2 : 0;
                stock[p][chip] = static_cast<Count>(std::min<std::uint64_t>(0xFFFF'FFFFu, stock[p][chip] + pays));
            }
            bets[p].clear();
        }
        player = 0;
    }
};

enum Kind { Choose, Lay, Withdraw, Next, Ticks };

struct Action : rc::state::Command<Model, Table> {
    const Kind kind = static_cast<Kind>(*rc::gen::inRange(0, 5));
    int n = 0, times = 1;
    bool away = false; // the ticks pass on the title window, between "X" and "Play"

    explicit Action(const Model& m)
    {
        if (kind == Choose)
            n = *rc::gen::inRange(0, 6);
        if (kind == Lay) // the same cell once or more
            std::tie(n, times) = std::pair(*rc::gen::inRange(0, 43), *rc::gen::inRange(1, 10));
        if (kind == Withdraw)
            n = *rc::gen::inRange(0, std::max(1, static_cast<int>(m.bets[m.player].size())));
        if (kind != Ticks)
            return;
        // A spin ends mostly on a number bet on, so that stocks grow.
        std::vector<int> numbers{*rc::gen::inRange(0, 37)};
        for (const auto& bets : m.bets)
            for (auto [cell, chip] : bets)
                if (cell < 37)
                    numbers.push_back(cell);
        std::tie(times, n, away) = std::tuple(*rc::gen::element(50, 1, 49, 60), *rc::gen::elementOf(numbers),
                                              *rc::gen::arbitrary<bool>());
    }
    std::string words() const
    {
        const std::string ticks = times == 50 ? "spin" + std::to_string(n) : "t" + std::to_string(times);
        const std::string texts[] = {"$" + std::to_string(Values[n]), cellName(n), "del" + std::to_string(n), "Next",
                                     away ? "X " + ticks + " Play" : ticks};
        std::string all = texts[kind];
        for (int i = 1; i < times && kind == Lay; ++i)
            all += " " + texts[kind];
        return all;
    }
    void show(std::ostream& os) const override { os << words(); }
    void checkPreconditions(const Model& m) const override
    {
        RC_PRE(kind != Withdraw || (!m.spin && n < static_cast<int>(m.bets[m.player].size())));
    }
    void apply(Model& m) const override
    {
        auto& stock = m.stock[m.player];
        auto& bets = m.bets[m.player];
        if (kind == Choose && !m.spin && stock[n] > 0)
            m.chip = n;
        for (int i = 0; kind == Lay && i < times; ++i)
            if (!m.spin && m.chip >= 0 && n > 0 && stock[m.chip] > 0)
                --stock[m.chip], bets.emplace_back(n, m.chip);
        if (kind == Withdraw)
            ++stock[bets[n].second], bets.erase(bets.begin() + n);
        if (kind == Next && !m.spin && m.player == 0)
            m.player = 1;
        else if (kind == Next && !m.spin)
            m.spin = 50;
        if (kind == Ticks && times == 50)
            m.drawn = n;
        if (kind == Ticks && m.spin > 0 && (m.spin = std::max(0, m.spin - times)) == 0)
            m.settle();
    }
    // After every action: the counters, both stocks and both lists on screen
    // are the model's, and what the game will settle is what its lists show.
    void run(const Model& before, Table& t) const override
    {
        t.play(words());
        const Model m = nextState(before);
        std::array<std::string, 6> counters;
        for (int i = 0; i < 6; ++i)
            counters[i] = std::to_string(m.stock[m.player][i]);
        RC_ASSERT(t.counters() == counters);
        RC_ASSERT(t.state().PlayerChips[1 - m.player] == m.stock[1 - m.player]);
        for (int p : {0, 1}) {
            std::vector<std::string> shown;
            std::vector<Bet> kept;
            for (auto [cell, chip] : m.bets[p]) {
                shown.push_back(cellName(cell) + "-" + std::to_string(Values[chip]));
                kept.push_back({cell < 37 ? Target(static_cast<std::uint8_t>(cell)) : Target(Outside(cell - 37)),
                                static_cast<std::uint8_t>(chip)});
            }
            RC_ASSERT(t.list(p) == shown);
            RC_ASSERT(t.state().List1[p] == kept);
        }
    }
};

RC_GTEST_PROP(Chips, NoneIsMadeOrLostWhateverThePlayersDo, ())
{
    Table t;
    // Each action's choices spread evenly, however long the sequence.
    const auto actions = *rc::gen::scale(4, rc::state::gen::commands(Model{}, [](const Model& m) {
        return rc::gen::resize(100, rc::state::gen::execOneOfWithArgs<Action>()(m));
    }));
    rc::state::runAll(actions, Model{}, t);
}

} // namespace
} // namespace morvik::testing
