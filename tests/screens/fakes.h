// A desk that stands still: the screen tests decide what the clock says,
// what the wheel draws and whether Delete is down.
#pragma once

#include "game/game.h"

namespace morvik::testing {

struct FakeDesk : Clock, RandomSource, KeyState {
    float wheel = 0.5f; // draws 18
    bool deleteDown = false;

    float timeOfDay() override { return 43200.5f; }
    void seed(float) override {}
    float next() override { return wheel; }
    bool deletePressed() override { return deleteDown; }

    Game::Services services() { return {*this, *this, *this}; }
};

} // namespace morvik::testing
