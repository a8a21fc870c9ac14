// The wheel's generator, plain arithmetic the same on every desk, and the
// desk's clock that seeds it.
#pragma once

#include "game/ports.h"

#include <cstdint>

namespace morvik {

// Re-seeded from the time of day on every draw, so the seed's whole bit
// pattern goes through a 64-bit mixer: nearby times must not give nearby numbers.
class WheelRandom : public RandomSource {
public:
    void seed(float seed) override;
    float next() override;

private:
    std::uint64_t state = 0;
};

// The time of day where the players are.
class LocalClock : public Clock {
public:
    float timeOfDay() override;
};

} // namespace morvik
