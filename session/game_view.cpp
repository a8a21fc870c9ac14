// What the game shows through its TableView: the chip counters, the player,
// the tray and the drawn number as captions; the chip in hand marked.
#include "session/session.h"

namespace morvik {

// The chip in hand is marked in the tray; the choice passes from player to
// player and nothing takes it away.
void Session::markChosen()
{
    if (!engine) // "Quit" before the first "Play"
        return;
    const GameState& s = engine->state();
    const int now = s.ChipValue == 0 ? -1 : b::Image1 + s.ChipIndex;
    if (now == chosen)
        return;
    for (int id : {chosen, now})
        if (id >= 0) {
            looks[id].chosen = id == now;
            display.redraw(id);
        }
    chosen = now;
}

void Session::setText(int control, std::string text, Rgb colour, int pixels)
{
    Look& look = looks[control];
    if (look.lines[0] == text && look.lines[1].empty() && look.colour == colour && look.pixels == pixels)
        return; // every tick of a spin lands here: only a change is drawn
    look.lines = {std::move(text), {}};
    look.colour = colour;
    look.pixels = pixels;
    display.redraw(control);
}

void Session::showCounter(int denomination, Count chips)
{
    const std::string text = std::to_string(chips);
    // Three digits and more are shown smaller rather than cut off.
    const int pixels = fittingPixelSize({{text}, 1}, table::Label3[denomination].width, table::FontPixels);
    setText(b::Label3 + denomination, text, table::White, pixels);
    std::string told(tr(Languages[spoken], chips == 1 ? "OneChip" : "Chips"));
    descriptions[b::Image1 + denomination] = told.replace(told.find("%s"), 2, text);
    display.redraw(b::Image1 + denomination);
}

void Session::showPlayer(int player)
{
    setText(b::Label4, std::string(tr(Languages[spoken], player == 0 ? "Player1" : "Player2")), table::White,
            table::FontPixels);
}

void Session::showTray(bool visible)
{
    setShown(b::Picture2, visible);
}

void Session::showDraw(int number, Rgb colour)
{
    setText(b::Cislo, std::string(table::NumberTexts[number]), colour, table::FontPixels);
}

} // namespace morvik
