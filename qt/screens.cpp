#include "qt/screens.h"

#include "qt/assets.h"
#include "qt/fonts.h"

#include <QAccessible>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include <algorithm>

namespace morvik {

namespace {

template <class... Cases> struct Overloaded : Cases... {
    using Cases::operator()...;
};

QRect toQRect(Box b)
{
    return {b.x, b.y, b.width, b.height};
}

} // namespace

ControlWidget::ControlWidget(int control, Session& session, QWidget* parent)
    : QWidget(parent)
    , id(control)
    , session(session)
{
    setAttribute(Qt::WA_OpaquePaintEvent, filled(Controls[control]) || Controls[control].art != Art::None);
}

// The plan is in device pixels: so is the painter.
void ControlWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.scale(1 / devicePixelRatioF(), 1 / devicePixelRatioF());
    const auto draw = Overloaded{
        [&](const Fill& f) { painter.fillRect(toQRect(f.box), toQColor(f.colour)); },
        [&](const Stroke& s) {
            const QPointF middle((s.width - 1) / 2.0, (s.width - 1) / 2.0);
            painter.setPen(QPen(toQColor(s.colour), s.width, Qt::SolidLine, Qt::SquareCap));
            painter.drawLine(QPointF(s.from.x, s.from.y) + middle, QPointF(s.to.x, s.to.y) + middle);
        },
        [&](const Disc& d) {
            painter.setRenderHint(QPainter::Antialiasing, true);
            painter.setPen(Qt::NoPen);
            painter.setBrush(toQColor(d.colour));
            painter.drawEllipse(QRectF(toQRect(d.box)));
            painter.setRenderHint(QPainter::Antialiasing, false);
        },
        [&](const Run& r) {
            painter.setFont(layoutFont(r.pixels));
            painter.setPen(toQColor(r.colour));
            painter.drawText(toQRect(r.box), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, fromUtf8(r.text));
        },
        [&](const Picture& p) {
            const QSize size(p.box.width, p.box.height);
            if (shown.size() != size || shownDensity != p.density) {
                const QImage image = assets::picture(p.art, p.index, p.density);
                shown = QPixmap::fromImage(image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
                shown.setDevicePixelRatio(1); // Qt reads "@2x" in a file's name as a density of its own
                shownDensity = p.density;
            }
            painter.drawPixmap(p.box.x, p.box.y, shown);
        },
    };
    for (const Shape& shape : session.plan(id, scale(), false))
        std::visit(draw, shape);
}

void ControlWidget::press(QMouseEvent* event, bool second)
{
    const QPointF at = event->position() * devicePixelRatioF();
    if (event->button() == Qt::LeftButton && Controls[id].kind == Kind::List)
        session.pressList(id, {qRound(at.x()), qRound(at.y())}, scale());
    else if (event->button() == Qt::LeftButton)
        session.press(id, second);
}

void ControlWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        session.release(rect().contains(event->position().toPoint()) ? id : -1);
}

// Only the desktop's close requests go to the session; a close that the
// program makes itself, as when the session ends, goes ahead.
void ControlWidget::closeEvent(QCloseEvent* event)
{
    if (!event->spontaneous())
        return;
    event->ignore();
    session.closeRequest(id);
}

Screens::Screens(Session::Services services)
    : players(services, *this)
{
    installAccessibility();
    QCoreApplication::instance()->installEventFilter(this);
    build(ids::title::Form2);
    players.start();
}

// Places are in Qt's own pixels, which Qt brings to the screen's scale.
void Screens::build(int window)
{
    for (int id = 0; id < ids::Count; ++id) {
        const Control& row = Controls[id];
        if (windowOf(id) != window)
            continue;
        auto* w = widgets[id] = new ControlWidget(id, players, row.parent < 0 ? nullptr : widgets[row.parent]);
        told[id] = players.accessible(id);
        w->setObjectName(fromUtf8(layoutName(id)));
        w->setGeometry(row.box.x, row.box.y, row.box.width, row.box.height);
        w->setVisible(row.parent >= 0 && row.shown);
        if (row.parent >= 0)
            continue;
        // Borderless, of a fixed size, in the middle of the screen, the table
        // on the title's; the title is what tests and the desktop find it by.
        windows[id == ids::table::Form1].reset(w);
        w->setWindowTitle(w->objectName());
        w->setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
        w->setFixedSize(row.box.width, row.box.height);
        w->setScreen(id == ids::table::Form1 ? widgets[ids::title::Form2]->screen() : QGuiApplication::primaryScreen());
        if (const QScreen* screen = w->screen()) // none while no monitor is plugged in
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

bool Screens::eventFilter(QObject*, QEvent* event)
{
    static constexpr std::pair<int, Key> Keys[]{{Qt::Key_Delete, Key::Delete}, {Qt::Key_Backspace, Key::Backspace},
                                                {Qt::Key_Tab, Key::Tab},       {Qt::Key_Backtab, Key::BackTab},
                                                {Qt::Key_Return, Key::Enter},  {Qt::Key_Enter, Key::Enter},
                                                {Qt::Key_Space, Key::Space},   {Qt::Key_Left, Key::Left},
                                                {Qt::Key_Right, Key::Right},   {Qt::Key_Up, Key::Up},
                                                {Qt::Key_Down, Key::Down}};
    // A key held while another program takes the keyboard is never seen going up.
    if (event->type() == QEvent::ApplicationDeactivate || event->type() == QEvent::WindowDeactivate)
        players.keyboardLost();
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return false;
    const int code = static_cast<QKeyEvent*>(event)->key();
    const auto* known = std::find_if(std::begin(Keys), std::end(Keys), [code](auto k) { return k.first == code; });
    // A key the game takes goes no further: no focus moves between widgets.
    return players.key(known == std::end(Keys) ? Key::Other : known->second, event->type() == QEvent::KeyPress);
}

} // namespace morvik
