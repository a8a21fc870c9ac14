// One run of the program as the player meets it, the same for every front
// end: which window and controls show, what a click, a double click and a
// key are, which bet list shows and what is selected in it, where the
// keyboard's focus is, when Delete counts, and what each control looks like
// (session/plan.h). A front end passes on raw events and draws and tells
// what the session says; the game's rules stay in game/.
#pragma once

#include "game/game.h"
#include "session/display.h"
#include "session/plan.h"

#include <algorithm>
#include <bitset>
#include <optional>

namespace morvik {

// Shift+Tab is BackTab.
enum class Key : std::uint8_t { Delete, Backspace, Tab, BackTab, Enter, Space, Left, Right, Up, Down, Other };

// What assistive technology is told of a control now.
struct Accessible {
    Role role;
    std::string name;
    std::string description;
    std::string value; // the readout's number, a list's selected entry
    bool pressed = false; // the chip in hand
    Rgb colour{}; // the caption's, in the table's own look
    std::vector<std::string> entries{}; // a bet list's, every one
    int selected = -1; // the entry selected, -1 for none
};

// A platform's table of roles, naming every Role once in the enum's order, as
// an array by Role: one out of order or short fails to compile.
template <class T, std::size_t N>
    requires(N == static_cast<std::size_t>(Role::Readout) + 1)
consteval std::array<T, N> byRole(const std::pair<Role, T> (&rows)[N])
{
    std::array<T, N> table{};
    for (std::size_t i = 0; i < N; ++i)
        table[i] = rows[i].first == static_cast<Role>(i) ? rows[i].second : throw "a role out of the enum's order";
    return table;
}

class Session : private TableView, private KeyState {
public:
    struct Services {
        Clock& clock;
        RandomSource& random;
    };

    // In the first of the player's languages, BCP 47 tags such as "cs-CZ" apart by
    // white space, most wanted first, that the game speaks; in English when none.
    Session(Services services, Display& display, const std::string& languages = "");
    // Shows the title window, once the front end has made it.
    void start();

    // --- Raw events, as the front end sees them ---

    // The mouse's left button (or a finger) went down on a control; `second`
    // when the desktop counts it the second press of a double click.
    void press(int control, bool second = false);
    // The button came up over `control` (-1: over none). A click is a press
    // and a release on the same control.
    void release(int control);
    // A click that needs no mouse, such as a screen reader's "press".
    void click(int control);
    // A press on a bet list at a point (device pixels in the list, at the
    // table's scale), or on one of its entries by number (-1: its empty part),
    // as a screen reader selects one.
    void pressList(int list, Point at);
    void pressEntry(int list, int row);
    // The wheel turned over a bet list by `delta` eighths of a degree, 120 a
    // notch (towards the player is positive), however finely a touchpad or a
    // smooth wheel splits it: three entries a notch's worth.
    void wheel(int list, int delta);
    // Every key going down and up, `repeat` when the desktop repeats a held
    // one. True when the game took the key, so that the front end does nothing more with it.
    bool key(Key key, bool down, bool repeat = false);
    // The program lost the keyboard: a key held now will never be seen going up.
    void keyboardLost();
    // The desktop asks a window to close (Alt+F4, the task bar).
    void closeRequest(int window);
    void tick(); // Timer1
    // The system's high-contrast setting: on, with its colours, or off
    // (nullopt). Changes the look at once, and nothing else.
    void setHighContrast(std::optional<Palette> palette);

    // A window is drawn at `scale` from now on (96 dpi until told): its
    // lists scroll by the entries that fit there.
    void rescale(int window, Scale scale) { scales[window] = scale; }

    // --- What to show ---

    Scale scale(int control) const { return scales[windowOf(control)]; }

    Plan plan(int control, Scale scale, bool beneath) const;
    Accessible accessible(int control) const;
    // Shown, with its window and everything it lies in.
    bool inSight(int control) const;
    int focus() const { return focused; }
    int language() const { return spoken; } // in Languages and Layouts

    // Null until the first "Play".
    const Game* game() const { return engine ? &*engine : nullptr; }

private:
    friend struct LookOf; // the tests read what a control shows
    const Look& look(int control) const { return looks[control]; }
    static bool in(int control, int first, int count) { return control >= first && control < first + count; }
    // The windows' flow and what a click does (session.cpp).
    void act(int control);
    void play();
    void backToTitle();
    void setShown(int control, bool visible);
    // The keyboard (keyboard.cpp).
    void moveFocus(int control);
    void keyboardInUse(bool inUse);
    bool navigate(Key key);
    bool deletePressed() override;
    // What the game shows (game_view.cpp).
    void markChosen();
    void showCounter(int denomination, Count chips) override;
    void showPlayer(int player) override;
    void showTray(bool visible) override;
    void showDraw(int number, Rgb colour) override;
    void setText(int control, std::string text, Rgb colour, int pixels);
    // The bet lists (lists.cpp).
    void appendEntry(int player, const std::string& text) override;
    void removeEntry(int player, int row) override;
    void clearEntries(int player) override;
    void showList(int player, bool visible) override;
    int selectedEntry(int player) const override { return looks[ids::table::List1 + player].selected; }
    void select(int list, int row);
    int fits(int list) const { return visibleEntries(list, scale(list)); }
    int lastTop(int list) const { return std::max(0, static_cast<int>(looks[list].entries.size()) - fits(list)); }

    Services services;
    Display& display;
    int spoken = -1;
    std::optional<Game> engine;
    std::array<Look, ids::Count> looks;
    std::array<bool, ids::Count> shown{};
    std::array<std::string, ids::Count> descriptions;
    std::array<Scale, ids::Count> scales{}; // a window's
    std::array<int, ids::Count> turned{}; // a list's wheel, short of an entry
    int pressed = -1;
    int lastClickWindow = -1;
    int focused = -1;
    bool keyboard = false; // in use since the last press of the mouse
    int chosen = -1; // the chip marked in hand
    std::bitset<static_cast<int>(Key::Other) + 1> held;
    // Delete or Backspace pressed since the game last asked, so that a tap
    // between two ticks still counts.
    bool deleteSinceAsked = false;
    std::optional<Palette> contrast;
};

} // namespace morvik
