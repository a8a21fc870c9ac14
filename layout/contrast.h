// The table's look in high contrast: every colour of its own look stands for
// one of five, which the system's high-contrast theme names, or the game's
// own where the system names none. Nothing moves or changes size.
#pragma once

#include "layout/table.h"
#include "layout/title.h"

namespace morvik {

struct Palette {
    Rgb window; // behind everything: windows, the cloth, the tray, the lists, the drawn number's box
    Rgb text; // captions, numbers, lines; a red number's cell is filled with it
    Rgb highlight; // the selected entry, the keyboard's focus
    Rgb hotLight; // the chip in hand, the title's frame
    Rgb grey; // the shadow of a sunken edge
    friend constexpr bool operator==(const Palette&, const Palette&) = default;
};

inline constexpr Palette HighContrast{table::Black, table::White, {0, 255, 255}, title::Shape1.colour, {128, 128, 128}};

// A fill's or a figure's colour in the high-contrast look. The red disc and a
// red number's cell are filled with the text's colour, under numerals of the
// window's, so that red differs from black by more than its hue.
constexpr Rgb inContrast(Rgb normal, const Palette& p)
{
    if (normal == table::Black || normal == table::Green)
        return p.window;
    if (normal == table::ListSelected)
        return p.highlight;
    if (normal == title::Shape1.colour)
        return p.hotLight;
    return normal == table::ListShadow ? p.grey : p.text;
}

} // namespace morvik
