// What the game needs from the desk it runs on. The program passes the real
// clock, generator and keyboard; tests pass fakes and drive the game exactly.
#pragma once

#include "game/rules.h"

#include <string>

namespace morvik {

class Clock {
public:
    virtual ~Clock() = default;
    // Seconds since midnight, with their fraction.
    virtual float timeOfDay() = 0;
};

class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual void seed(float seed) = 0;
    // Uniform in [0, 1).
    virtual float next() = 0;
};

class KeyState {
public:
    virtual ~KeyState() = default;
    // True when Delete is down now or was pressed since the last call.
    virtual bool deletePressed() = 0;
};

// The table window as the game sees it: the controls that show the game's
// state, and the one thing it reads back, the selection in a bet list.
class TableView {
public:
    virtual ~TableView() = default;

    virtual void showCounter(int denomination, Count chips) = 0; // Label3(i)
    virtual void showPlayer(int player) = 0; // Label4
    virtual void appendEntry(int player, const std::string& text) = 0;
    // Removes one line of List1(player) and leaves nothing selected.
    virtual void removeEntry(int player, int row) = 0;
    virtual void clearEntries(int player) = 0;
    virtual void showList(int player, bool visible) = 0;
    virtual void showTray(bool visible) = 0; // Picture2
    virtual void showDraw(int number, Rgb colour) = 0; // Cislo

    // Row selected in List1(player), -1 when none.
    virtual int selectedEntry(int player) const = 0;
};

} // namespace morvik
