// What to draw for one control at one display scale, decided once for every
// front end: a short list of shapes in device pixels of the control's own
// rectangle, drawn in order. A front end draws each shape with its own few
// calls and works out no size, position, colour or line break of its own.
#pragma once

#include "layout/contrast.h"
#include "layout/controls.h"

#include <string>
#include <variant>
#include <vector>

namespace morvik {

// A display's pixels per layout pixel, as dots per inch: 96 is 100 %.
struct Scale {
    int dpi = 96;

    // Rounded to the nearest device pixel.
    constexpr int operator()(int pixels) const { return (pixels * dpi + (pixels < 0 ? -48 : 48)) / 96; }
    constexpr Box operator()(Box b) const
    {
        const int x = (*this)(b.x), y = (*this)(b.y);
        return {x, y, (*this)(b.x + b.width) - x, (*this)(b.y + b.height) - y};
    }
    constexpr Point operator()(Point p) const { return {(*this)(p.x), (*this)(p.y)}; }
};

struct Fill {
    Box box;
    Rgb colour;
};

// The device pixels a square pen of `width` covers when its top left corner
// runs from `from` to `to`, both ends included.
struct Stroke {
    Point from, to;
    int width;
    Rgb colour;
};

// A filled ellipse inscribed in its box, its edge smoothed.
struct Disc {
    Box box;
    Rgb colour;
};

// One line of text in the game's font, Liberation Mono Bold, at `pixels`
// pixels, its first letter's cell at the box's top left corner; the box is
// as wide as the text and as tall as a line.
struct Run {
    Box box;
    int pixels;
    Rgb colour;
    std::string text; // UTF-8
    int entry = -1; // in a bet list, the entry it shows
};

// One of the game's pictures, stored at `density` times its layout size,
// scaled smoothly to fill the box.
struct Picture {
    Art art;
    int index; // the chip's denomination
    int density; // 1 or 2
    Box box;
};

using Shape = std::variant<Fill, Stroke, Disc, Run, Picture>;
using Plan = std::vector<Shape>;

// What a control shows now, beyond what its row of the table says.
struct Look {
    std::array<std::string, 2> lines; // the caption, one or two lines
    Rgb colour;
    int pixels; // the caption's size at 96 dpi
    std::vector<std::string> entries; // a bet list's
    int selected = -1; // the entry selected, -1 for none
    int top = 0; // the first entry in sight
    bool chosen = false; // the chip in hand
    bool focused = false; // the keyboard's, and the keyboard is in use
};

// The shapes of `control` at `scale`. With `beneath`, a control that is not
// filled starts with what lies beneath it (its container's fill and figures),
// for a front end whose controls cannot be seen through. With `contrast`, in
// the high-contrast look of those colours.
Plan plan(int control, const Look& look, Scale scale, bool beneath, const Palette* contrast = nullptr);

// Entries of a bet list in sight at once at `scale`.
int visibleEntries(int list, Scale scale);

// The largest scale up to the display's at which a window fits an area of
// `width` by `height` device pixels, such as its monitor's work area.
Scale fitting(int window, Scale display, int width, int height);

// The entry of a bet list under a point (device pixels in the list, at
// `scale`), -1 for its empty part.
int entryAt(int list, const Look& look, Point at, Scale scale);

// A picture's file name, without its density and type: "title", "logo", "chip-5".
std::string pictureName(Art art, int index);

// The colours of the marks: the keyboard's focus and the chip in hand, each
// at least 3:1 against the cloth, the tray and the window's black.
inline constexpr Rgb FocusColour{0, 255, 255};
inline constexpr Rgb ChosenColour{255, 238, 0};

} // namespace morvik
