// The session's construction and the windows' flow: the title and the table,
// a close request, Timer1's tick, the high-contrast look; the mouse, a finger
// and assistive technology: a press and a release on the same control make a
// click, a double click's second press on a button is none; what a click on
// each control does; what each control looks like (plan) and what assistive
// technology is told of it (accessible).
#include "session/session.h"

#include <sstream>
#include <string>

namespace morvik {

namespace {

// What a screen reader hears of a number's colour, in the player's language.
std::string_view colourName(Rgb colour, int language)
{
    return tr(Languages[language], colour == CellRed ? "ColourRed" : colour == CellBlack ? "ColourBlack" : "ColourGreen");
}

std::string joined(const std::array<std::string, 2>& lines)
{
    std::string text = lines[0] + (lines[1].empty() ? "" : " " + lines[1]);
    const auto first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}

// The buttons a double click presses once: its second press is no click.
bool isButton(int control)
{
    return control == t::Label1 || control == t::Label1 + 1 || control == b::Label6 || control == b::Label7;
}

} // namespace

Session::Session(Services services, Display& display, const std::string& languages)
    : services(services)
    , display(display)
{
    std::istringstream wanted(languages + " en");
    for (std::string tag; spoken < 0 && wanted >> tag;)
        for (int i = 0; i < static_cast<int>(Languages.size()); ++i)
            if (tag.substr(0, tag.find_first_of("-_")) == Languages[i].tag)
                spoken = i;
    for (int id = 0; id < ids::Count; ++id) {
        const Control& row = Layouts[spoken][id];
        looks[id].lines = {std::string(row.lines.line[0]), std::string(row.lines.line[1])};
        looks[id].colour = row.colour;
        looks[id].pixels = row.fontPixels;
        shown[id] = row.shown && id != b::Form1;
        descriptions[id] = in(id, b::Label1, NumberCount) ? colourName(row.colour, spoken) : row.description;
    }
    shown[t::Form2] = false;
}

void Session::start()
{
    setShown(t::Form2, true);
    moveFocus(t::Label1);
}

bool Session::inSight(int control) const
{
    for (; control >= 0; control = Controls[control].parent)
        if (!shown[control])
            return false;
    return true;
}

// The desktop's close request to the title window is a "Quit", so that the
// program never runs on with no window to reach it by; to the table window,
// it is the "X".
void Session::closeRequest(int window)
{
    if (window == t::Form2)
        display.quit();
    else if (window == b::Form1 && engine)
        backToTitle();
}

void Session::tick()
{
    if (!engine)
        return;
    const bool spinning = engine->state().spinning();
    engine->tick();
    if (spinning && !engine->state().spinning())
        display.announce(b::Cislo);
}

void Session::setHighContrast(std::optional<Palette> palette)
{
    if (palette == contrast)
        return;
    contrast = palette;
    for (int id = 0; id < ids::Count; ++id)
        if (engine || windowOf(id) == t::Form2) // what is made
            display.redraw(id);
}

// The table is made by the first "Play" only; every later one shows the
// same game.
void Session::play()
{
    if (!engine) {
        display.makeTable();
        engine.emplace(Game::Services{services.clock, services.random, *this}, static_cast<TableView&>(*this));
        engine->load();
    }
    setShown(b::Form1, true);
    setShown(t::Form2, false);
    moveFocus(b::Label1);
}

void Session::backToTitle()
{
    setShown(t::Form2, true);
    setShown(b::Form1, false);
    moveFocus(t::Label1);
}

void Session::setShown(int control, bool visible)
{
    shown[control] = visible;
    display.show(control, visible);
}

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

Plan Session::plan(int control, Scale scale, bool beneath) const
{
    return morvik::plan(control, looks[control], scale, beneath, contrast ? &*contrast : nullptr);
}

Accessible Session::accessible(int control) const
{
    const Control& row = Layouts[spoken][control];
    const Look& look = looks[control];
    Accessible a{row.role, row.spokenName.empty() ? joined(look.lines) : std::string(row.spokenName),
                 descriptions[control], {}, look.chosen, look.colour};
    if (row.kind == Kind::Readout)
        a.value = look.lines[0] + ", " + std::string(colourName(look.colour, spoken)); // "17, black"
    else if (row.kind == Kind::List) {
        a.entries = look.entries;
        a.selected = look.selected;
        a.value = look.selected >= 0 ? look.entries[look.selected] : "";
    }
    return a;
}

} // namespace morvik
