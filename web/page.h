// The game's two windows as two screens of one web page: one element per row
// of the layout's table of controls, made when its window is first needed and
// placed in CSS pixels, so that at 100 % zoom every control stands at the
// pixel it stands at on the desktop. The page's raw events reach the session
// through main.cpp; what the session tells the Display is shown.
#pragma once

#include "session/session.h"

#include <emscripten/val.h>

#include <string>
#include <vector>

namespace morvik {

class Page : private Display {
public:
    // Shows the title screen.
    explicit Page(Session::Services services);

    Session& session() { return players; }
    // Both screens in the middle of the browser's window, scaled down
    // uniformly when the window is smaller than a screen.
    void fit();

private:
    // What a caption shows now, so that an unchanged text costs no DOM write.
    struct Caption {
        emscripten::val node = emscripten::val::undefined(); // its text node
        std::string text;
        Rgb colour;
        int pixelSize = 0;
    };

    void build(int window);
    emscripten::val make(int control);
    emscripten::val figures(const Control& row);

    void makeTable() override;
    void show(int control, bool visible) override;
    void setText(int control, std::string_view text, Rgb colour, int pixelSize) override;
    void describe(int control, std::string_view description) override;
    void announce(int control) override;
    void appendEntry(int list, std::string_view text) override;
    void removeEntry(int list, int row) override;
    void clearEntries(int list) override;
    void selectEntry(int list, int row) override;
    void quit() override;

    Session players;
    emscripten::val document;
    emscripten::val spoken; // the live region that reads out the drawn number
    std::vector<emscripten::val> elements; // undefined until made
    std::vector<Caption> captions;
    long timer1 = 0;
};

} // namespace morvik
