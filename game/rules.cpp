#include "game/rules.h"

#include <cmath>

namespace morvik {

std::string entryText(const Bet& bet)
{
    std::string text = std::holds_alternative<Outside>(bet.target)
        ? std::string(OutsideWords[static_cast<int>(std::get<Outside>(bet.target))])
        : std::to_string(std::get<std::uint8_t>(bet.target));
    text += '-';
    text += std::to_string(ChipValues[bet.chipIndex]);
    return text;
}

bool wins(const Target& target, int drawn)
{
    if (const auto* number = std::get_if<std::uint8_t>(&target))
        return *number == drawn;
    switch (std::get<Outside>(target)) {
    case Outside::Big: return drawn > 18;
    case Outside::Small: return drawn < 19; // 0 counts as small
    case Outside::Even: return drawn % 2 == 0; // 0 counts as even
    case Outside::Odd: return drawn % 2 == 1;
    case Outside::Black: return CellColours[drawn] == CellColours[2];
    case Outside::Red: return CellColours[drawn] == CellColours[1];
    }
    return false;
}

Count payout(const Bet& bet, int drawn)
{
    if (!wins(bet.target, drawn))
        return 0;
    return std::holds_alternative<std::uint8_t>(bet.target) ? 36 : 2;
}

int wheelNumber(float r)
{
    // In double the product of a float below 1 and 37 stays below 37; the
    // checks keep a faulty generator (negative, 1 or more, NaN) on the wheel.
    const double scaled = std::floor(static_cast<double>(r) * NumberCount);
    if (!(scaled >= 0.0))
        return 0;
    return scaled >= NumberCount - 1 ? NumberCount - 1 : static_cast<int>(scaled);
}

} // namespace morvik
