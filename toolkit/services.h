// The desk the game runs on under Qt: the time of day and the Delete key.
#pragma once

#include "game/ports.h"

#include <QObject>

namespace morvik {

class SystemClock : public Clock {
public:
    float timeOfDay() override;
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
