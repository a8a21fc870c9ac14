#include "session/session.h"

#include <string>

namespace morvik {

namespace {

bool in(int control, int first, int count)
{
    return control >= first && control < first + count;
}

} // namespace

Session::Session(Services services, Display& display)
    : services(services)
    , display(display)
{
}

void Session::press(int control)
{
    pressed = control;
}

void Session::release(int control)
{
    const bool same = control >= 0 && control == pressed;
    pressed = -1;
    if (same)
        click(control);
}

void Session::click(int control)
{
    namespace t = ids::title;
    namespace b = ids::table;
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
}

// Only a press on an entry selects it, and nothing but a withdrawal or the
// end of the round takes the selection away: Delete must still find the
// entry the player chose.
void Session::pressEntry(int list, int row)
{
    const int player = list - ids::table::List1;
    if (engine && in(player, 0, PlayerCount) && in(row, 0, engine->state().BetCount(player)))
        select(player, row);
}

void Session::key(Key key, bool isDown)
{
    // A Mac's key labelled delete sends Backspace.
    if (key == Key::Other)
        return;
    bool& held = down[key == Key::Backspace];
    // Auto-repeat adds nothing: holding the key already reads as down.
    if (isDown && !held)
        pressedSinceAsked = true;
    held = isDown;
}

void Session::keyboardLost()
{
    down = {};
    pressedSinceAsked = false;
}

bool Session::deletePressed()
{
    const bool pressed = down[0] || down[1] || pressedSinceAsked;
    pressedSinceAsked = false;
    return pressed;
}

// The desktop's close request to the title window is a "Quit", so that the
// program never runs on with no window to reach it by; to the table window,
// it is the "X".
void Session::closeRequest(int window)
{
    if (window == ids::title::Form2)
        display.quit();
    else if (window == ids::table::Form1)
        backToTitle();
}

void Session::tick()
{
    if (!engine)
        return;
    const bool spinning = engine->state().spinning();
    engine->tick();
    if (spinning && !engine->state().spinning())
        display.announce(ids::table::Cislo);
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
    display.show(ids::table::Form1, true);
    display.show(ids::title::Form2, false);
}

void Session::backToTitle()
{
    display.show(ids::title::Form2, true);
    display.show(ids::table::Form1, false);
}

void Session::showCounter(int denomination, Count chips)
{
    const std::string text = std::to_string(chips);
    // Three digits and more are shown smaller rather than cut off.
    const int pixels = fittingPixelSize({{text}, 1}, table::Label3[denomination].width, table::FontPixels);
    display.setText(ids::table::Label3 + denomination, text, table::White, pixels);
    display.describe(ids::table::Image1 + denomination, chips == 1 ? "1 chip" : text + " chips");
}

void Session::showPlayer(int player)
{
    display.setText(ids::table::Label4, playerName(player), table::White, table::FontPixels);
}

void Session::appendEntry(int player, const std::string& text)
{
    display.appendEntry(ids::table::List1 + player, text);
}

void Session::removeEntry(int player, int row)
{
    display.removeEntry(ids::table::List1 + player, row);
    // The next entry must not become selected: a held Delete would otherwise
    // sweep the list clean, one tick at a time.
    select(player, -1);
}

void Session::clearEntries(int player)
{
    display.clearEntries(ids::table::List1 + player);
    select(player, -1);
}

void Session::showList(int player, bool visible)
{
    display.show(ids::table::List1 + player, visible);
}

void Session::showTray(bool visible)
{
    display.show(ids::table::Picture2, visible);
}

void Session::showDraw(int number, Rgb colour)
{
    display.setText(ids::table::Cislo, table::NumberTexts[number], colour, table::FontPixels);
}

void Session::select(int player, int row)
{
    selected[player] = row;
    display.selectEntry(ids::table::List1 + player, row);
}

} // namespace morvik
