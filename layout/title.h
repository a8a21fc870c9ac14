// The title window, Form2, in pixels relative to its client area.
#pragma once

#include "layout/figures.h"

#include <array>
#include <string_view>

namespace morvik::title {

inline constexpr int Width = 809;
inline constexpr int Height = 505;
inline constexpr Rgb Background{0, 0, 0};

// Shape1 runs along the window's edge, all ten pixels of it inside the window.
inline constexpr FrameFigure Shape1{{0, 0, Width, Height}, 10, {255, 238, 0}};

inline constexpr Box Image1{72, 40, 468, 227}; // title artwork, scaled to fill
inline constexpr Box Image2{568, 16, 222, 100}; // logo, at its own size

struct Caption {
    Box rect;
    std::string_view text; // its key in the catalogue (po/)
    Rgb colour;
    int pixelSize; // 72 pt and 14.25 pt at 96 dpi
};

// Label1(0) and Label1(1): the two choices; the whole rectangle takes the click.
inline constexpr std::array<Caption, 2> Label1{{
    {{56, 312, 233, 105}, "Play", {255, 255, 255}, 96},
    {{504, 312, 233, 105}, "Quit", {255, 255, 255}, 96},
}};

inline constexpr Caption Label2{
    {224, 464, 429, 22}, "Remark", {239, 239, 239}, 19};

} // namespace morvik::title
