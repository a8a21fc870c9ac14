// No chip is made or lost, whatever two players do: random actions checked against a model after each; a
// failure prints the shortest sequence. RC_PARAMS="max_success=5000" plays more, "seed=..." one again.
#include "support/table.h"

#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>
#include <rapidcheck/state.h>

namespace morvik::testing {
namespace {

constexpr std::array<int, 6> Values{1, 5, 10, 20, 50, 100};
const std::array<std::string, 6> Words{"Big", "Small", "Even", "Odd", "Black", "Red"};
std::string cellName(int cell) { return cell < 37 ? std::to_string(cell) : Words[cell - 37]; }

// Each player's stock and bets: laying and withdrawing move a chip between them; nothing else but a spin does.
struct Model {
    std::array<std::array<Count, 6>, 2> stock{{{2, 2, 2, 2, 2, 2}, {2, 2, 2, 2, 2, 2}}};
    std::array<std::vector<std::pair<int, int>>, 2> bets; // cell (1 to 36, then Big to Red as 37 to 42), chip
    int player = 0, chip = -1, spin = 0, drawn = 18;
};

enum Kind { Choose, Lay, Withdraw, Next, Ticks };

// A chip chosen, a cell clicked `times` times, entry `n` withdrawn, "Next", or ticks (maybe behind the title).
struct Action : rc::state::Command<Model, Table> {
    Kind kind = static_cast<Kind>(*rc::gen::inRange(0, 5));
    int n = *rc::gen::inRange(0, 43), times = *rc::gen::inRange(1, 10), ticks = *rc::gen::element(50, 1, 49, 60);
    bool away = *rc::gen::arbitrary<bool>();
    int draw = n % 37;

    explicit Action(const Model& m)
    {
        // Mostly a number bet on, so that stocks grow.
        std::vector<int> numbers{draw};
        for (const auto& bets : m.bets)
            for (auto [cell, chip] : bets)
                numbers.push_back(cell < 37 ? cell : draw);
        draw = *rc::gen::elementOf(numbers);
    }

    std::string words() const
    {
        const std::string spin = ticks == 50 ? "spin" + std::to_string(draw) : "t" + std::to_string(ticks);
        std::string all[] = {"$" + std::to_string(Values[n % 6]), cellName(n), "del" + std::to_string(n), "Next",
                             away ? "X " + spin + " Play" : spin};
        for (int i = 1; kind == Lay && i < times; ++i)
            all[Lay] += " " + cellName(n);
        return all[kind];
    }
    void show(std::ostream& os) const override { os << words(); }
    void checkPreconditions(const Model& m) const override
    {
        RC_PRE(kind != Withdraw || (!m.spin && n < std::ssize(m.bets[m.player])));
    }
    void apply(Model& m) const override
    {
        auto& stock = m.stock[m.player];
        auto& bets = m.bets[m.player];
        if (kind == Choose && !m.spin && stock[n % 6] > 0)
            m.chip = n % 6;
        for (int i = 0; kind == Lay && i < times; ++i)
            if (!m.spin && m.chip >= 0 && n > 0 && stock[m.chip] > 0)
                --stock[m.chip], bets.emplace_back(n, m.chip);
        if (kind == Withdraw)
            ++stock[bets[n].second], bets.erase(bets.begin() + n);
        if (kind == Next && !m.spin)
            m.spin = m.player == 1 ? 50 : 0, m.player = 1;
        m.drawn = kind == Ticks && ticks == 50 ? draw : m.drawn;
        if (kind != Ticks || m.spin == 0 || (m.spin = std::max(0, m.spin - ticks)) > 0)
            return;
        for (int p : {0, 1}) {
            for (auto [cell, chip] : m.bets[p]) {
                const Count pays = cell == m.drawn ? 36 : cell > 36 && Outcomes[m.drawn][cell - 37] != '.' ? 2 : 0;
                m.stock[p][chip] = static_cast<Count>(std::min<std::uint64_t>(0xFFFF'FFFF, m.stock[p][chip] + pays));
            }
            m.bets[p].clear();
        }
        m.player = 0;
    }
    // The counters, the stock put away and both lists are the model's, and the game settles what they show.
    void run(const Model& before, Table& t) const override
    {
        t.play(words());
        const Model m = nextState(before);
        for (int i = 0; i < 6; ++i)
            RC_ASSERT(t.counter(i) == std::to_string(m.stock[m.player][i]));
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
    // Sequences of up to 400 actions, each action's choices spread evenly.
    const auto actions = *rc::gen::scale(4, rc::state::gen::commands(Model{}, [](const Model& m) {
        return rc::gen::resize(100, rc::state::gen::execOneOfWithArgs<Action>()(m));
    }));
    rc::state::runAll(actions, Model{}, t);
}

} // namespace
} // namespace morvik::testing
