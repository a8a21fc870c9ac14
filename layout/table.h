// The table window, Form1, in pixels. Each control's rectangle is relative to
// its container: Picture1 for the betting table, Picture2 for the chip tray,
// the window for the rest.
#pragma once

#include "game/rules.h"
#include "layout/figures.h"

#include <array>
#include <string_view>

namespace morvik::table {

inline constexpr int Width = 859;
inline constexpr int Height = 669;
inline constexpr int FontPixels = 27; // 20.25 pt at 96 dpi

inline constexpr Rgb Black{0, 0, 0};
inline constexpr Rgb White{255, 255, 255};
inline constexpr Rgb LightGrey{239, 239, 239};
inline constexpr Rgb Green{0, 128, 0};

inline constexpr Box Picture1{0, 0, 513, 593};
inline constexpr Rgb Picture1Colour = Green;
inline constexpr Box Picture2{8, 600, 841, 65};
inline constexpr Rgb Picture2Colour = Black;

// Both lists share one rectangle: whichever is visible hides the other.
inline constexpr Box List1{520, 240, 329, 345};
// Black on the black window: without its sunken edge, shadow above and left
// and light below and right, an empty list could not be seen at all.
inline constexpr int ListEdge = 2;
inline constexpr int ListIndent = 3; // of an entry's text
inline constexpr Rgb ListShadow{128, 128, 128};
inline constexpr Rgb ListSelected{0, 0, 128}; // under white text

inline constexpr Box Cislo{656, 72, 73, 33};
inline constexpr Rgb CisloBackground = Green;
// Cislo's thin sunken edge: shadow above and left, light below and right.
inline constexpr Rgb CisloShadow{128, 128, 128};
inline constexpr Rgb CisloLight = White;
inline constexpr std::array<LineFigure, 4> CisloEdge{{
    {{0, 0}, {Cislo.width - 1, 0}, CisloShadow},
    {{0, 0}, {0, Cislo.height - 1}, CisloShadow},
    {{1, Cislo.height - 1}, {Cislo.width - 1, Cislo.height - 1}, CisloLight},
    {{Cislo.width - 1, 1}, {Cislo.width - 1, Cislo.height - 1}, CisloLight},
}};
inline constexpr Box Label7{816, 8, 33, 25};

// --- Picture1: the betting table ---

inline constexpr std::array<std::string_view, NumberCount> NumberTexts{
    "0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14", "15", "16", "17", "18",
    "19", "20", "21", "22", "23", "24", "25", "26", "27", "28", "29", "30", "31", "32", "33", "34", "35", "36"};

// Label1(k) is the cell of number k: 0 above the block, 1 to 36 three to a row.
inline constexpr std::array<Box, NumberCount> Label1 = [] {
    std::array<Box, NumberCount> cells{};
    cells[0] = {224, 24, 65, 25};
    for (int k = 1; k < NumberCount; ++k) {
        const int column = (k - 1) % 3;
        const int row = (k - 1) / 3;
        cells[k] = {144 + 80 * column, 64 + 40 * row, 65, 25};
    }
    return cells;
}();

struct OutsideCell {
    Box rect;
    std::string_view caption; // its key in the catalogue (po/); wraps at its spaces to fit the cell
    Outside target;
};

// Label2(0) to Label2(3), in white.
inline constexpr std::array<OutsideCell, 4> Label2{{
    {{24, 96, 89, 97}, "BigCell", Outside::Big},
    {{400, 96, 89, 97}, "SmallCell", Outside::Small},
    {{24, 280, 89, 33}, "Even", Outside::Even},
    {{400, 280, 89, 33}, "Odd", Outside::Odd},
}};

// Shape1(0) and Shape1(1); Label5(i) covers Shape1(i) exactly and takes its clicks.
inline constexpr std::array<DiscFigure, 2> Shape1{{
    {{40, 416, 65, 65}, CellBlack},
    {{408, 416, 65, 65}, CellRed},
}};
inline constexpr std::array<Outside, 2> Label5Targets{Outside::Black, Outside::Red};

// Line1 to Line31. The uprights run one pixel past the bottom cross line.
inline constexpr std::array<LineFigure, 31> Lines{{
    {{136, 16}, {136, 577}, White},
    {{376, 16}, {376, 577}, LightGrey},
    {{136, 16}, {376, 16}, White},
    {{136, 576}, {376, 576}, White},
    {{136, 56}, {376, 56}, White},
    {{136, 96}, {376, 96}, White},
    {{136, 136}, {376, 136}, White},
    {{136, 176}, {376, 176}, LightGrey},
    {{8, 216}, {504, 216}, White},
    {{136, 256}, {376, 256}, White},
    {{136, 296}, {376, 296}, White},
    {{136, 336}, {376, 336}, White},
    {{8, 376}, {504, 376}, White},
    {{136, 416}, {376, 416}, White},
    {{136, 456}, {376, 456}, White},
    {{136, 496}, {376, 496}, White},
    {{136, 536}, {376, 536}, White},
    {{216, 16}, {216, 577}, White},
    {{296, 16}, {296, 577}, White},
    {{136, 56}, {8, 72}, White},
    {{136, 576}, {8, 560}, White},
    {{8, 72}, {8, 560}, LightGrey},
    {{504, 560}, {376, 576}, White},
    {{504, 72}, {376, 56}, White},
    {{504, 72}, {504, 560}, White},
    {{504, 520}, {376, 536}, White},
    {{136, 536}, {8, 520}, White},
    {{48, 525}, {48, 565}, White},
    {{96, 531}, {96, 571}, White},
    {{464, 525}, {464, 565}, White},
    {{416, 531}, {416, 571}, White},
}};

// --- Picture2: the chip tray ---

inline constexpr Box Label4{0, 16, 129, 25};
inline constexpr Box Label6{768, 16, 65, 25};

// One box for each denomination, 104 pixels apart from `first` on.
constexpr std::array<Box, DenominationCount> everyDenomination(Box first)
{
    std::array<Box, DenominationCount> boxes{};
    for (int i = 0; i < DenominationCount; ++i)
        boxes[i] = {first.x + 104 * i, first.y, first.width, first.height};
    return boxes;
}
// Image1(i) is the chip of denomination i; its counter Label3(i) stands 64
// pixels to the right of the chip's left edge.
inline constexpr std::array<Box, DenominationCount> Image1 = everyDenomination({136, 0, 60, 60});
inline constexpr std::array<Box, DenominationCount> Label3 = everyDenomination({200, 16, 33, 25});

} // namespace morvik::table
