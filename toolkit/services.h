// The desk the game runs on: the time of day, the wheel's generator and the
// Delete key.
#pragma once

#include "ports.h"

#include <QObject>

#include <cstdint>

namespace morvik {

class SystemClock : public Clock {
public:
    float timeOfDay() override;
};

// Re-seeded from the time of day on every draw, so the seed's whole bit
// pattern goes through a 64-bit mixer: nearby times must not give nearby numbers.
class WheelRandom : public RandomSource {
public:
    void seed(float seed) override;
    float next() override;

private:
    std::uint64_t state = 0;
};

// Watches every key event of the application. The game polls it once a tick,
// and a press and release that both fall between two ticks must still count.
class DeleteKeyWatch : public QObject, public KeyState {
    Q_OBJECT

public:
    // Installs itself on the application; the application must exist.
    explicit DeleteKeyWatch(QObject* parent);

    bool deletePressed() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void forget();

    bool down = false;
    bool pressedSinceAsked = false;
};

} // namespace morvik
