// One table, two players, round after round. Every event of the table window
// (its load, a click, a tick of Timer1) is one short member function here; the
// window only forwards the event and shows what the game tells its TableView.
#pragma once

#include "game/ports.h"
#include "game/rules.h"

#include <array>
#include <cstdint>
#include <vector>

namespace morvik {

struct GameState {
    // The chip chosen for betting: ChipValue 0 means none since start-up.
    // Nothing clears the choice; it passes from player to player.
    std::uint8_t ChipValue = 0;
    std::uint8_t ChipIndex = 0;
    std::uint8_t CurrentPlayer = 0;
    // Each player's stock between turns, by denomination.
    std::array<std::array<Count, DenominationCount>, PlayerCount> PlayerChips{};
    // Ticks left in the running spin; 0 while nobody spins.
    std::uint8_t SpinTicks = 0;
    // The chip counters: during a turn, the working copy of the current
    // player's stock. Copied to and from PlayerChips at the load, at "Next"
    // and at the end of a spin only.
    std::array<Count, DenominationCount> Label3{};
    // The bet lists, one bet per chip laid, in the order laid.
    std::array<std::vector<Bet>, PlayerCount> List1;
    // The number on show in the result display; 1 until the first spin.
    std::uint8_t Cislo = 1;

    Count BetCount(int player) const { return static_cast<Count>(List1[player].size()); }
    bool spinning() const { return SpinTicks != 0; }
};

class Game {
public:
    struct Services {
        Clock& clock;
        RandomSource& random;
        KeyState& keys;
    };

    Game(Services services, TableView& view);

    const GameState& state() const { return s; }

    void load(); // once, when the table window is first shown
    void clickChip(int denomination); // Image1(i)
    void clickNumber(int number); // Label1(k)
    void clickOutside(Outside cell); // Label2(i) and Label5(i)
    void clickNext(); // Label6
    void tick(); // Timer1

private:
    void placeBet(Target target);
    void withdraw(int row);
    void spinStep();
    void settle();
    void endRound();
    void showCounters();

    Services services;
    TableView& view;
    GameState s;
};

} // namespace morvik
