#include "session/session.h"

#include <algorithm>
#include <sstream>
#include <string>

namespace morvik {

namespace {

namespace t = ids::title;
namespace b = ids::table;

bool in(int control, int first, int count)
{
    return control >= first && control < first + count;
}

// What the keyboard reaches, in reading order: Tab goes forward through the
// ones in sight, Shift+Tab back.
constexpr auto TabOrder = [] {
    std::array<int, 2 + NumberCount + 4 + 2 + DenominationCount + PlayerCount + 2> order{};
    int n = 0;
    for (int id : {t::Label1, t::Label1 + 1})
        order[n++] = id;
    for (int k = 0; k < NumberCount + 4 + 2; ++k) // the numbers, Label2 and Label5
        order[n++] = b::Label1 + k;
    for (int i = 0; i < DenominationCount; ++i)
        order[n++] = b::Image1 + i;
    for (int id : {b::List1, b::List1 + 1, b::Label6, b::Label7})
        order[n++] = id;
    return order;
}();

// The buttons a double click presses once: its second press is no click.
bool isButton(int control)
{
    return control == t::Label1 || control == t::Label1 + 1 || control == b::Label6 || control == b::Label7;
}

// What a screen reader hears of a number's colour.
std::string_view colourName(Rgb colour)
{
    return colour == CellRed ? "red" : colour == CellBlack ? "black" : "green";
}

std::string joined(const std::array<std::string, 2>& lines)
{
    std::string text = lines[0] + (lines[1].empty() ? "" : " " + lines[1]);
    const auto first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
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
        descriptions[id] = in(id, b::Label1, NumberCount) ? colourName(row.colour) : row.description;
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

// --- The mouse and assistive technology ---

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

// --- The keyboard ---

bool Session::key(Key key, bool isDown, bool repeat)
{
    if (key == Key::Other)
        return false;
    // A repeat's release is no release: the key is still held.
    if (isDown || !repeat)
        held[static_cast<std::size_t>(key)] = isDown;
    // A held key that moves the focus moves it again, as desktops' own
    // controls do; one that acts acts once a press.
    const bool moves = key == Key::Tab || key == Key::BackTab || key >= Key::Left;
    if (!isDown || (repeat && !moves))
        return true;
    // A Mac's key labelled delete sends Backspace. Delete is read on the
    // timer's tick, as the game asks for it.
    if (key == Key::Delete || key == Key::Backspace) {
        deleteSinceAsked = true;
        return true;
    }
    keyboardInUse(true);
    return navigate(key);
}

bool Session::navigate(Key key)
{
    if (key == Key::Tab || key == Key::BackTab) {
        const int n = static_cast<int>(TabOrder.size());
        const int step = key == Key::Tab ? 1 : n - 1;
        int at = 0;
        while (at < n && TabOrder[at] != focused)
            ++at;
        // From no focus, Tab reaches the first control and Shift+Tab the last.
        if (at == n)
            at = key == Key::Tab ? n - 1 : 0;
        for (int i = 1; i <= n; ++i) {
            const int next = TabOrder[(at + step * i) % n];
            if (inSight(next)) {
                moveFocus(next);
                break;
            }
        }
        return true;
    }
    if (!inSight(focused))
        return false;
    if (key == Key::Enter || key == Key::Space) {
        click(focused);
        return true;
    }
    const int dx = key == Key::Left ? -1 : key == Key::Right ? 1 : 0;
    const int dy = key == Key::Up ? -1 : key == Key::Down ? 1 : 0;
    if (in(focused, b::List1, PlayerCount)) {
        const Look& list = looks[focused];
        const int count = static_cast<int>(list.entries.size());
        if (dy != 0 && count > 0)
            select(focused, list.selected < 0 ? (dy > 0 ? 0 : count - 1) : std::clamp(list.selected + dy, 0, count - 1));
        return dy != 0;
    }
    // The arrows move through the number grid and along the chips as they
    // are laid out: to the nearest control in that direction.
    const bool number = in(focused, b::Label1, NumberCount);
    if (!number && !in(focused, b::Image1, DenominationCount))
        return false;
    const int first = number ? b::Label1 : b::Image1;
    const int count = number ? NumberCount : DenominationCount;
    auto centre = [](int id) {
        const Box& box = Controls[id].box;
        return Point{2 * box.x + box.width, 2 * box.y + box.height};
    };
    const Point from = centre(focused);
    int best = -1;
    long bestScore = 0;
    for (int id = first; id < first + count; ++id) {
        const Point to = centre(id);
        const int along = (to.x - from.x) * dx + (to.y - from.y) * dy;
        const int across = dx != 0 ? std::abs(to.y - from.y) : std::abs(to.x - from.x);
        const long score = 10'000L * along + across;
        if (along > 0 && (best < 0 || score < bestScore)) {
            best = id;
            bestScore = score;
        }
    }
    if (best >= 0)
        moveFocus(best);
    return true;
}

void Session::keyboardLost()
{
    held.reset();
    deleteSinceAsked = false;
}

bool Session::deletePressed()
{
    const bool pressed = held[static_cast<int>(Key::Delete)] || held[static_cast<int>(Key::Backspace)]
        || deleteSinceAsked;
    deleteSinceAsked = false;
    return pressed;
}

void Session::moveFocus(int control)
{
    if (control == focused)
        return;
    std::swap(focused, control);
    looks[focused].focused = keyboard;
    if (control >= 0) {
        looks[control].focused = false;
        display.redraw(control);
    }
    display.redraw(focused);
}

void Session::keyboardInUse(bool inUse)
{
    if (inUse == keyboard)
        return;
    keyboard = inUse;
    if (focused >= 0) {
        looks[focused].focused = inUse;
        display.redraw(focused);
    }
}

// --- The windows' turns ---

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

// --- What the game shows ---

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

void Session::showTray(bool visible)
{
    setShown(b::Picture2, visible);
}

void Session::showDraw(int number, Rgb colour)
{
    setText(b::Cislo, std::string(table::NumberTexts[number]), colour, table::FontPixels);
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

// --- What to show ---

Plan Session::plan(int control, Scale scale, bool beneath) const
{
    return morvik::plan(control, looks[control], scale, beneath, contrast ? &*contrast : nullptr);
}

Accessible Session::accessible(int control) const
{
    const Control& row = Layouts[spoken][control];
    const Look& look = looks[control];
    Accessible a{row.role, row.spokenName.empty() ? joined(look.lines) : std::string(row.spokenName),
                 descriptions[control], {}, look.chosen};
    if (row.kind == Kind::Readout)
        a.value = look.lines[0] + ", " + std::string(colourName(look.colour)); // "17, black"
    else if (row.kind == Kind::List && look.selected >= 0)
        a.value = look.entries[look.selected];
    return a;
}

} // namespace morvik
