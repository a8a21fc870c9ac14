// The bet lists: their entries as the game adds and takes them, the
// selection, a press on an entry, the wheel's scrolling and the entries in
// sight at the window's scale.
#include "session/session.h"

namespace morvik {

// Only a press on an entry selects it, and nothing but a withdrawal or the
// end of the round takes the selection away: Delete must still find the
// entry the player chose.
void Session::pressEntry(int list, int row)
{
    if (!engine || !in(list, b::List1, PlayerCount) || !inSight(list))
        return;
    keyboardInUse(false);
    moveFocus(list);
    if (in(row, 0, static_cast<int>(looks[list].entries.size())))
        select(list, row);
}

void Session::pressList(int list, Point at)
{
    if (in(list, b::List1, PlayerCount))
        pressEntry(list, entryAt(list, looks[list], at, scale(list)));
}

// Three entries a notch, as desktops scroll lists: one for every 40.
void Session::wheel(int list, int delta)
{
    if (!in(list, b::List1, PlayerCount))
        return;
    int& turn = turned[list];
    turn = (turn * delta < 0 ? 0 : turn) + delta; // a turn back starts afresh
    const int entries = turn / 40;
    turn %= 40;
    Look& look = looks[list];
    const int top = std::clamp(look.top + entries, 0, lastTop(list));
    if (top != look.top) {
        look.top = top;
        display.redraw(list);
    }
}

void Session::appendEntry(int player, const std::string& text)
{
    const int list = b::List1 + player;
    Look& look = looks[list];
    // The game names a bet in English ("Red-20"); the list, in the player's language.
    const std::size_t dash = text.rfind('-');
    const bool word = text[0] > '9';
    look.entries.push_back(word ? std::string(tr(Languages[spoken], text.substr(0, dash))) + text.substr(dash) : text);
    // The newest entry comes into sight.
    look.top = std::max(look.top, lastTop(list));
    display.redraw(list);
}

void Session::removeEntry(int player, int row)
{
    const int list = b::List1 + player;
    Look& look = looks[list];
    look.entries.erase(look.entries.begin() + row);
    look.top = std::min(look.top, lastTop(list));
    // The next entry must not become selected: a held Delete would otherwise
    // sweep the list clean, one tick at a time.
    select(list, -1);
    display.redraw(list);
}

void Session::clearEntries(int player)
{
    const int list = b::List1 + player;
    looks[list].entries.clear();
    looks[list].top = 0;
    select(list, -1);
    display.redraw(list);
}

void Session::showList(int player, bool visible)
{
    setShown(b::List1 + player, visible);
    // The keyboard follows the hand-over to the list that shows.
    if (visible && focused == b::List1 + 1 - player)
        moveFocus(b::List1 + player);
}

void Session::select(int list, int row)
{
    Look& look = looks[list];
    if (look.selected == row)
        return;
    look.selected = row;
    if (row >= 0)
        look.top = std::clamp(look.top, row - fits(list) + 1, row);
    display.redraw(list);
}

} // namespace morvik
