#include "qt/screens.h"

#include "qt/fonts.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

namespace morvik {

Screens::Screens(Session::Services services)
    : players(services, *this)
{
    QCoreApplication::instance()->installEventFilter(this);
    build(ids::title::Form2);
    show(ids::title::Form2, true);
}

Screens::~Screens() = default;

void Screens::build(int window)
{
    for (int id = 0; id < ids::Count; ++id) {
        const Control& row = Controls[id];
        if (windowOf(id) != window)
            continue;
        QWidget* parent = row.parent < 0 ? nullptr : widgets[row.parent];
        QWidget* w = row.kind == Kind::List ? static_cast<QWidget*>(new BetList(id, players, parent))
                                            : new ControlWidget(id, players, parent);
        widgets[id] = w;
        w->setObjectName(row.index < 0 ? fromUtf8(row.name)
                                       : QStringLiteral("%1(%2)").arg(fromUtf8(row.name)).arg(row.index));
        w->setAccessibleName(fromUtf8(row.spokenName));
        w->setAccessibleDescription(fromUtf8(row.description));
        if (parent) {
            w->setGeometry(toQRect(row.box));
            w->setVisible(row.shown);
            continue;
        }
        // Borderless, of a fixed size, in the middle of the screen; the
        // title is what tests and the desktop find the window by.
        windows[id == ids::table::Form1].reset(w);
        w->setWindowTitle(w->objectName());
        w->setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
        w->setFixedSize(row.box.width, row.box.height);
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            w->move(screen->availableGeometry().center() - w->rect().center());
    }
}

void Screens::makeTable()
{
    build(ids::table::Form1);
    // Asked for every millisecond and never stopped, also while hidden: a
    // spin goes on to its end behind the title window.
    timer1.setObjectName(QStringLiteral("Timer1"));
    timer1.setTimerType(Qt::PreciseTimer);
    connect(&timer1, &QTimer::timeout, this, [this] { players.tick(); });
    timer1.start(1);
}

void Screens::show(int control, bool visible)
{
    widgets[control]->setVisible(visible);
    if (visible && Controls[control].kind == Kind::Window)
        widgets[control]->activateWindow();
}

void Screens::setText(int control, std::string_view text, Rgb colour, int pixelSize)
{
    static_cast<ControlWidget*>(widgets[control])->setText(text, colour, pixelSize);
}

void Screens::describe(int control, std::string_view description)
{
    widgets[control]->setAccessibleDescription(fromUtf8(description));
}

void Screens::announce(int control)
{
    QAccessibleValueChangeEvent event(widgets[control], static_cast<ControlWidget*>(widgets[control])->text());
    QAccessible::updateAccessibility(&event);
}

void Screens::appendEntry(int control, std::string_view text)
{
    list(control)->addItem(fromUtf8(text));
}

void Screens::removeEntry(int control, int row)
{
    delete list(control)->takeItem(row);
}

void Screens::clearEntries(int control)
{
    list(control)->clear();
}

void Screens::selectEntry(int control, int row)
{
    list(control)->select(row);
}

void Screens::quit()
{
    QCoreApplication::quit();
}

bool Screens::eventFilter(QObject*, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto* key = static_cast<QKeyEvent*>(event);
        // Auto-repeat adds nothing: holding the key already reads as down.
        if (key->isAutoRepeat())
            break;
        const Key which = key->key() == Qt::Key_Delete ? Key::Delete
            : key->key() == Qt::Key_Backspace          ? Key::Backspace
                                                       : Key::Other;
        players.key(which, event->type() == QEvent::KeyPress);
        break;
    }
    case QEvent::ApplicationDeactivate:
    case QEvent::WindowDeactivate:
        // The release of a key held while another program takes the keyboard
        // never reaches us.
        players.keyboardLost();
        break;
    default:
        break;
    }
    return false;
}

} // namespace morvik
