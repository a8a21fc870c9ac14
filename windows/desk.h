// The desk the game runs on under Windows: the time of day, the wheel and the
// Delete key, made once by main and handed to the windows.
#pragma once

#include "game/game.h"
#include "game/wheel.h"

#include <windows.h>

namespace morvik::win32 {

class SystemClock : public Clock {
public:
    float timeOfDay() override;
};

// Reads Delete from this program's own key messages, never from the whole
// system. The game polls it once a tick, and a press and release that both
// fall between two ticks must still count.
class DeleteKeyWatch : public KeyState {
public:
    // Every message the program's loop takes from its queue.
    void see(const MSG& message);
    // The program lost the keyboard: the release of a held key will never come.
    void forget() { down = pressedSinceAsked = false; }

    bool deletePressed() override;

private:
    bool down = false;
    bool pressedSinceAsked = false;
};

struct Desk {
    SystemClock clock;
    WheelRandom random;
    DeleteKeyWatch keys;

    Game::Services services() { return {clock, random, keys}; }
};

} // namespace morvik::win32
