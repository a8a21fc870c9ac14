// The fixed rules of the table: chips, cells, bets and what a bet pays.
// Plain data and pure functions; the moving parts live in game.h.
#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <variant>

namespace morvik {

// Chip stocks and bet counts. Wins can take a stock far past what a byte
// holds, so counts are 32 bits wide and stop at their maximum instead of
// wrapping round to a handful of chips.
using Count = std::uint32_t;

constexpr Count saturatingAdd(Count a, Count b)
{
    return b > std::numeric_limits<Count>::max() - a ? std::numeric_limits<Count>::max() : a + b;
}

inline constexpr int PlayerCount = 2;
inline constexpr int DenominationCount = 6;
inline constexpr int NumberCount = 37; // 0 to 36
inline constexpr Count StartingChips = 2; // of every denomination, for each player
inline constexpr std::uint8_t SpinLength = 50; // ticks of Timer1 in one spin

// The denomination index is also the index of the chip picture and its counter.
inline constexpr std::array<std::uint8_t, DenominationCount> ChipValues{1, 5, 10, 20, 50, 100};

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend constexpr bool operator==(Rgb, Rgb) = default;
};

inline constexpr Rgb CellRed{192, 0, 0};
inline constexpr Rgb CellBlack{0, 0, 0};
inline constexpr Rgb CellWhite{255, 255, 255};

// Text colour of number cell k. The spin copies it onto the drawn-number
// display, and the bets on red and black are decided by comparing that copy
// with the colours of cells 1 and 2, so 0 must carry a colour of its own.
inline constexpr std::array<Rgb, NumberCount> CellColours = [] {
    std::array<Rgb, NumberCount> colours{};
    colours[0] = CellWhite;
    constexpr std::array<int, 18> red{1, 3, 5, 7, 9, 12, 14, 16, 18, 19, 21, 23, 25, 27, 30, 32, 34, 36};
    for (int k = 1; k < NumberCount; ++k)
        colours[k] = CellBlack;
    for (int k : red)
        colours[k] = CellRed;
    return colours;
}();

// The six outside cells, in the order of their click areas: the four captioned
// cells first, then the black and the red disc.
enum class Outside : std::uint8_t { Big, Small, Even, Odd, Black, Red };
inline constexpr int OutsideCount = 6;
inline constexpr std::array<std::string_view, OutsideCount> OutsideWords{"Big", "Small", "Even", "Odd", "Black", "Red"};

// Where a chip lies: a number from 1 to 36 (the 0 cell takes no bets) or an
// outside cell.
using Target = std::variant<std::uint8_t, Outside>;

// One chip laid on one target. Every chip laid is a bet of its own; equal bets
// are never merged.
struct Bet {
    Target target;
    std::uint8_t chipIndex = 0; // denomination index, 0 to 5

    friend bool operator==(const Bet&, const Bet&) = default;
};

// The line a bet shows in its player's list: target, "-", chip value ("17-5", "Red-20").
std::string entryText(const Bet& bet);

// What the cell under a drawn number looks like is all an outside bet needs to
// know besides the number itself.
bool wins(const Target& target, int drawn);

// Chips of the staked denomination a bet pays back, stake included.
Count payout(const Bet& bet, int drawn);

// Maps a draw r in [0, 1) to a number of the wheel, floor(r * 37), never 37
// however r was rounded.
int wheelNumber(float r);

} // namespace morvik
