#include "services.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QTime>

#include <bit>

namespace morvik {

float SystemClock::timeOfDay()
{
    return static_cast<float>(QTime::currentTime().msecsSinceStartOfDay()) / 1000.0f;
}

namespace {

constexpr std::uint64_t splitmix64(std::uint64_t& state)
{
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

} // namespace

void WheelRandom::seed(float seed)
{
    std::uint64_t bits = std::bit_cast<std::uint32_t>(seed);
    state = splitmix64(bits);
}

float WheelRandom::next()
{
    // 24 bits are exactly what a float holds below 1, so the result can never
    // round up to 1.
    const std::uint64_t top = splitmix64(state) >> 40;
    return static_cast<float>(top) * 0x1.0p-24f;
}

DeleteKeyWatch::DeleteKeyWatch(QObject* parent)
    : QObject(parent)
{
    QCoreApplication::instance()->installEventFilter(this);
}

bool DeleteKeyWatch::deletePressed()
{
    const bool pressed = down || pressedSinceAsked;
    pressedSinceAsked = false;
    return pressed;
}

bool DeleteKeyWatch::eventFilter(QObject*, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto* key = static_cast<QKeyEvent*>(event);
        // Auto-repeat adds nothing: holding the key already reads as down.
        if (key->key() != Qt::Key_Delete || key->isAutoRepeat())
            break;
        // An unhandled key event passes every widget up to its window, so the
        // same press may be seen several times; recording it is idempotent.
        if (event->type() == QEvent::KeyPress) {
            down = true;
            pressedSinceAsked = true;
        } else {
            down = false;
        }
        break;
    }
    case QEvent::ApplicationStateChange:
        if (static_cast<QApplicationStateChangeEvent*>(event)->applicationState() != Qt::ApplicationActive)
            forget();
        break;
    case QEvent::WindowDeactivate:
        // The release of a key held while another program takes the keyboard
        // never reaches us.
        forget();
        break;
    default:
        break;
    }
    return false;
}

void DeleteKeyWatch::forget()
{
    down = false;
    pressedSinceAsked = false;
}

} // namespace morvik
