// The mouse, a finger and assistive technology: a press and a release on
// the same control make a click, a double click's second press on a button
// is none; what a click on each control does.
#include "session/session.h"

namespace morvik {

namespace {

namespace t = ids::title;
namespace b = ids::table;

// The buttons a double click presses once: its second press is no click.
bool isButton(int control)
{
    return control == t::Label1 || control == t::Label1 + 1 || control == b::Label6 || control == b::Label7;
}

} // namespace

void Session::press(int control, bool second)
{
    pressed = -1;
    if (!inSight(control) || !Controls[control].clickable)
        return;
    // A double click on a button presses it once, and no press of a double
    // click acts on a window that its first click brought up.
    if (second && (isButton(control) || windowOf(control) != lastClickWindow))
        return;
    pressed = control;
    keyboardInUse(false);
    moveFocus(control);
}

void Session::release(int control)
{
    const bool same = control >= 0 && control == pressed;
    pressed = -1;
    if (same)
        act(control);
}

void Session::click(int control)
{
    if (inSight(control) && Controls[control].clickable)
        act(control);
}

void Session::act(int control)
{
    lastClickWindow = windowOf(control);
    if (control == t::Label1)
        play();
    else if (control == t::Label1 + 1)
        display.quit();
    else if (!engine)
        return;
    else if (in(control, b::Label1, NumberCount))
        engine->clickNumber(control - b::Label1);
    else if (in(control, b::Label2, static_cast<int>(table::Label2.size())))
        engine->clickOutside(table::Label2[control - b::Label2].target);
    else if (in(control, b::Label5, static_cast<int>(table::Label5Targets.size())))
        engine->clickOutside(table::Label5Targets[control - b::Label5]);
    else if (in(control, b::Image1, DenominationCount))
        engine->clickChip(control - b::Image1);
    else if (control == b::Label6)
        engine->clickNext();
    else if (control == b::Label7)
        backToTitle();
    markChosen();
}

} // namespace morvik
