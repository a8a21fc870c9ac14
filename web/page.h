// The game's two windows as two screens of one web page. Each control is an
// element found by its layout name (data-control), with the role, name and
// state assistive technology is told; inside it, its drawing plan at 100 %
// (CSS pixels: the browser scales them to the screen), one element a shape.
// The page's raw events reach the session through main.cpp.
#pragma once

#include "session/session.h"

#include <emscripten/val.h>

namespace morvik {

// A control's element with all it holds, as HTML: the page makes its screens
// from it, and the build writes the title's into index.html, so that the
// title shows before the game's code has loaded (web/title.cpp).
std::string markup(const Session& session, int control);

class Page : private Display {
public:
    // Takes over the title screen written into the page, and shows it.
    explicit Page(Session::Services services);

    Session& session() { return players; }

private:
    void makeTable() override;
    void show(int control, bool visible) override;
    void redraw(int control) override;
    void announce(int control) override;
    void quit() override;
    void build(int window);

    Session players;
    emscripten::val document;
    emscripten::val spoken; // the live region that reads out the drawn number
    std::vector<emscripten::val> elements; // undefined until made
    long timer1 = 0;
};

} // namespace morvik
