// What the session asks of a front end: the few things that change on the
// screen while the game runs. Controls are named by their numbers in the
// layout's table of controls (layout/controls.h); what a control looks like
// and what assistive technology hears of it, the front end asks the session.
#pragma once

namespace morvik {

class Display {
public:
    virtual ~Display() = default;
    static constexpr int Timer1Interval = 1;

    // Makes the table window and its controls, hidden, and starts its Timer1,
    // asked for every Timer1Interval milliseconds and never stopped, not even
    // while the window is hidden. Called once, by the first "Play".
    virtual void makeTable() = 0;
    // A window, a box, or a bet list. A window shown comes to the front.
    virtual void show(int control, bool visible) = 0;
    // The control's plan or what assistive technology hears of it changed:
    // draw it again (Session::plan) and tell assistive technology
    // (Session::accessible).
    virtual void redraw(int control) = 0;
    // Screen readers read out the control's value now: the spin has stopped.
    virtual void announce(int control) = 0;
    // Ends the program at once.
    virtual void quit() = 0;
};

} // namespace morvik
