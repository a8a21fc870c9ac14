#include "rules.h"

#include <charconv>
#include <cmath>

namespace morvik {

std::string playerName(int player)
{
    return "Player " + std::to_string(player + 1);
}

std::string entryText(const Bet& bet)
{
    std::string text = std::holds_alternative<Outside>(bet.target)
        ? std::string(OutsideWords[static_cast<int>(std::get<Outside>(bet.target))])
        : std::to_string(std::get<std::uint8_t>(bet.target));
    text += '-';
    text += std::to_string(ChipValues[bet.chipIndex]);
    return text;
}

namespace {

// Plain decimal digits only: no sign, no leading zero, no spaces.
std::optional<unsigned> parseCount(std::string_view text)
{
    if (text.empty() || text.size() > 3 || (text.size() > 1 && text.front() == '0'))
        return std::nullopt;
    unsigned value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<Target> parseTarget(std::string_view text)
{
    for (int i = 0; i < OutsideCount; ++i) {
        if (OutsideWords[i] == text)
            return Outside(i);
    }
    auto number = parseCount(text);
    if (!number || *number < 1 || *number >= NumberCount)
        return std::nullopt;
    return static_cast<std::uint8_t>(*number);
}

} // namespace

std::optional<Bet> parseEntry(std::string_view text)
{
    auto dash = text.find('-');
    if (dash == std::string_view::npos)
        return std::nullopt;
    auto target = parseTarget(text.substr(0, dash));
    auto value = parseCount(text.substr(dash + 1));
    auto chip = value ? denominationOf(*value) : std::nullopt;
    if (!target || !chip)
        return std::nullopt;
    return Bet{*target, static_cast<std::uint8_t>(*chip)};
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
