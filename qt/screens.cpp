#include "qt/screens.h"

#include "qt/accessible.h"
#include "qt/fonts.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

#include <algorithm>

namespace morvik {

Screens::Screens(Session::Services services)
    : players(services, *this)
{
    installAccessibility();
    QCoreApplication::instance()->installEventFilter(this);
    build(ids::title::Form2);
    players.start();
}

Screens::~Screens() = default;

void Screens::build(int window)
{
    for (int id = 0; id < ids::Count; ++id) {
        const Control& row = Controls[id];
        if (windowOf(id) != window)
            continue;
        auto* w = new ControlWidget(id, players, row.parent < 0 ? nullptr : widgets[row.parent]);
        widgets[id] = w;
        told[id] = players.accessible(id);
        w->setObjectName(fromUtf8(layoutName(id)));
        // In Qt's own pixels: Qt brings them to the screen's scale.
        const Box box = row.box;
        w->setGeometry(box.x, box.y, box.width, box.height);
        if (row.parent >= 0) {
            w->setVisible(row.shown);
            continue;
        }
        // Borderless, of a fixed size, in the middle of the screen, the table
        // on the title's; the title is what tests and the desktop find the
        // window by.
        windows[id == ids::table::Form1].reset(w);
        w->setWindowTitle(w->objectName());
        w->setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
        w->setFixedSize(box.width, box.height);
        QScreen* screen = id == ids::table::Form1 ? widgets[ids::title::Form2]->screen() : QGuiApplication::primaryScreen();
        w->setScreen(screen);
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

void Screens::redraw(int control)
{
    ControlWidget* w = widgets[control];
    if (!w)
        return;
    w->update();
    Accessible now = players.accessible(control);
    tellChanges(w, told[control], now);
    told[control] = std::move(now);
    if (control == players.focus() && control != toldFocus) {
        toldFocus = control;
        QAccessibleEvent focus(w, QAccessible::Focus);
        QAccessible::updateAccessibility(&focus);
    }
}

void Screens::announce(int control)
{
    QAccessibleValueChangeEvent event(widgets[control], fromUtf8(players.accessible(control).value));
    QAccessible::updateAccessibility(&event);
}

void Screens::quit()
{
    QCoreApplication::quit();
}

bool Screens::eventFilter(QObject*, QEvent* event)
{
    static constexpr std::pair<int, Key> Keys[]{
        {Qt::Key_Delete, Key::Delete}, {Qt::Key_Backspace, Key::Backspace}, {Qt::Key_Tab, Key::Tab},
        {Qt::Key_Backtab, Key::BackTab}, {Qt::Key_Return, Key::Enter}, {Qt::Key_Enter, Key::Enter},
        {Qt::Key_Space, Key::Space}, {Qt::Key_Left, Key::Left}, {Qt::Key_Right, Key::Right},
        {Qt::Key_Up, Key::Up}, {Qt::Key_Down, Key::Down}};
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const int code = static_cast<QKeyEvent*>(event)->key();
        const auto* known = std::find_if(std::begin(Keys), std::end(Keys), [code](auto k) { return k.first == code; });
        // A key the game takes goes no further: no focus moves between widgets.
        return players.key(known == std::end(Keys) ? Key::Other : known->second, event->type() == QEvent::KeyPress);
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
