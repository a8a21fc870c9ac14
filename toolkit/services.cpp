#include "toolkit/services.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QTime>

namespace morvik {

float SystemClock::timeOfDay()
{
    return static_cast<float>(QTime::currentTime().msecsSinceStartOfDay()) / 1000.0f;
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
