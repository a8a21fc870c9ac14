// One run of the program as the player meets it, the same for every front
// end: which window shows, what a click is, which bet list shows and what is
// selected in it, when Delete counts. A front end passes on raw events (a
// press and a release on a control, a key, a close request, a tick) and shows
// what its Display is told; the game's rules stay in game/.
#pragma once

#include "game/game.h"
#include "layout/controls.h"
#include "session/display.h"

#include <optional>

namespace morvik {

enum class Key : std::uint8_t { Delete, Backspace, Other };

class Session : private TableView, private KeyState {
public:
    struct Services {
        Clock& clock;
        RandomSource& random;
    };

    Session(Services services, Display& display);

    // The mouse's left button went down on a clickable control, or came up
    // over `control` (-1: over none). A click is a press and a release on the
    // same control; a double click is two clicks.
    void press(int control);
    void release(int control);
    // A click that needs no mouse, such as a screen reader's "press".
    void click(int control);
    // A press on a bet list: on one of its entries, or on its empty part (-1).
    void pressEntry(int list, int row);
    void key(Key key, bool down);
    // The program lost the keyboard: a key held now will never be seen going up.
    void keyboardLost();
    // The desktop asks a window to close (Alt+F4, the task bar).
    void closeRequest(int window);
    void tick(); // Timer1

    // Null until the first "Play".
    const Game* game() const { return engine ? &*engine : nullptr; }

private:
    void play();
    void backToTitle();

    // What the game shows, to the front end.
    void showCounter(int denomination, Count chips) override;
    void showPlayer(int player) override;
    void appendEntry(int player, const std::string& text) override;
    void removeEntry(int player, int row) override;
    void clearEntries(int player) override;
    void showList(int player, bool visible) override;
    void showTray(bool visible) override;
    void showDraw(int number, Rgb colour) override;
    int selectedEntry(int player) const override { return selected[player]; }
    bool deletePressed() override;
    void select(int player, int row);

    Services services;
    Display& display;
    std::optional<Game> engine;
    int pressed = -1;
    std::array<int, PlayerCount> selected{-1, -1};
    // Delete or Backspace: down now, and pressed since the game last asked,
    // so that a tap between two ticks still counts.
    std::array<bool, 2> down{};
    bool pressedSinceAsked = false;
};

} // namespace morvik
