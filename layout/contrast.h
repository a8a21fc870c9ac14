// The table's look in high contrast: each colour of its own look stands for
// one of five, the system's high-contrast theme's or else the game's own.
#pragma once

#include "layout/table.h"
#include "layout/title.h"

namespace morvik {

struct Palette {
    Rgb window; // behind everything; the numerals on a red number's filled cell
    Rgb text; // captions, numbers, lines; the fill of a red number's cell
    Rgb highlight; // the selected entry, the keyboard's focus
    Rgb hotLight; // the chip in hand, the title's frame
    Rgb grey; // the shadow of a sunken edge
    friend constexpr bool operator==(const Palette&, const Palette&) = default;
};

inline constexpr Palette HighContrast{table::Black, table::White, {0, 255, 255}, title::Shape1.colour, {128, 128, 128}};

// A fill's or a figure's colour in the high-contrast look.
constexpr Rgb inContrast(Rgb normal, const Palette& p)
{
    return normal == table::Black || normal == table::Green ? p.window
        : normal == table::ListSelected                     ? p.highlight
        : normal == title::Shape1.colour                    ? p.hotLight
        : normal == table::ListShadow                       ? p.grey
                                                            : p.text;
}

} // namespace morvik
