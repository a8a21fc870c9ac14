// What the session asks of a front end: the few things that change on the
// screen while the game runs. Controls are named by their numbers in the
// layout's table of controls (layout/controls.h).
#pragma once

#include "game/rules.h"

#include <string_view>

namespace morvik {

class Display {
public:
    virtual ~Display() = default;

    // Makes the table window and its controls, hidden, and starts its Timer1,
    // asked for every millisecond and never stopped, not even while the window
    // is hidden. Called once, by the first "Play".
    virtual void makeTable() = 0;
    // A window, a box, or a bet list. A window shown comes to the front.
    virtual void show(int control, bool visible) = 0;
    // A caption's new text, in one line of `pixelSize` at 96 dpi.
    virtual void setText(int control, std::string_view text, Rgb colour, int pixelSize) = 0;
    // A screen reader's further words on a control, such as "2 chips".
    virtual void describe(int control, std::string_view description) = 0;
    // Screen readers read out the readout's value: the spin has stopped.
    virtual void announce(int control) = 0;
    virtual void appendEntry(int list, std::string_view text) = 0;
    virtual void removeEntry(int list, int row) = 0;
    virtual void clearEntries(int list) = 0;
    // The only way a list's selection changes; -1 selects nothing.
    virtual void selectEntry(int list, int row) = 0;
    // Ends the program at once.
    virtual void quit() = 0;
};

} // namespace morvik
