#include "qt/screens.h"

#include "qt/assets.h"

#include <QAccessible>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QGuiApplication>
#include <QLocale>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include <algorithm>

namespace morvik {

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
    const auto colour = [](Rgb c) { return QColor(c.r, c.g, c.b); };
    const auto rect = [](Box b) { return QRect(b.x, b.y, b.width, b.height); };
    for (const Shape& shape : session.plan(id, scale(), false)) {
        // Only a disc's edge is smoothed: lines and boxes cover whole device pixels.
        painter.setRenderHint(QPainter::Antialiasing, std::holds_alternative<Disc>(shape));
        if (const auto* f = std::get_if<Fill>(&shape)) {
            painter.fillRect(rect(f->box), colour(f->colour));
        } else if (const auto* s = std::get_if<Stroke>(&shape)) {
            const QPointF middle((s->width - 1) / 2.0, (s->width - 1) / 2.0);
            painter.setPen(QPen(colour(s->colour), s->width, Qt::SolidLine, Qt::SquareCap));
            painter.drawLine(QPointF(s->from.x, s->from.y) + middle, QPointF(s->to.x, s->to.y) + middle);
        } else if (const auto* d = std::get_if<Disc>(&shape)) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(colour(d->colour));
            painter.drawEllipse(QRectF(rect(d->box)));
        } else if (const auto* r = std::get_if<Run>(&shape)) {
            painter.setFont(layoutFont(r->pixels));
            painter.setPen(colour(r->colour));
            painter.drawText(rect(r->box), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, QString::fromUtf8(r->text));
        } else if (const auto* p = std::get_if<Picture>(&shape)) {
            QImage image = assets::picture(p->art, p->index, p->density)
                               .scaled(p->box.width, p->box.height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            image.setDevicePixelRatio(1); // Qt reads "@2x" in a file's name as a density of its own
            painter.drawImage(p->box.x, p->box.y, image);
        }
    }
}

void ControlWidget::press(QMouseEvent* event, bool second)
{
    const QPointF at = event->position() * devicePixelRatioF();
    if (event->button() == Qt::LeftButton && Controls[id].kind == Kind::List)
        session.pressList(id, {qRound(at.x()), qRound(at.y())});
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

// In the player's languages as Qt has them from LANGUAGE, LC_ALL, LC_MESSAGES and LANG.
Screens::Screens(Session::Services services)
    : session(services, *this, QLocale::system().uiLanguages().join(' ').toStdString())
{
    installAccessibility();
    QCoreApplication::instance()->installEventFilter(this);
    build(ids::title::Form2);
    session.start();
    followContrast();
}

// The desktop's contrast setting (1: more) from its settings portal, asked
// without waiting and followed as it changes. Without a portal the table
// keeps its look.
void Screens::followContrast()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    const QString portal = "org.freedesktop.portal.Desktop", path = "/org/freedesktop/portal/desktop",
                  settings = "org.freedesktop.portal.Settings";
    bus.connect(portal, path, settings, "SettingChanged", this, SLOT(settingChanged(QString, QString, QDBusVariant)));
    QDBusMessage read = QDBusMessage::createMethodCall(portal, path, settings, "Read");
    bus.callWithCallback(read << "org.freedesktop.appearance" << "contrast", this, SLOT(setContrast(QDBusVariant)));
}

void Screens::settingChanged(const QString& group, const QString& key, const QDBusVariant& value)
{
    if (group == "org.freedesktop.appearance" && key == "contrast")
        setContrast(value);
}

// Read answers the setting in a variant of its own.
void Screens::setContrast(const QDBusVariant& value)
{
    QVariant setting = value.variant();
    while (setting.userType() == qMetaTypeId<QDBusVariant>())
        setting = qvariant_cast<QDBusVariant>(setting).variant();
    session.setHighContrast(setting.toUInt() == 1 ? std::optional(HighContrast) : std::nullopt);
}

// A window's controls follow it in the table.
void Screens::build(int window)
{
    for (int id = window; id < ids::Count && windowOf(id) == window; ++id) {
        const Control& row = Controls[id];
        auto* w = widgets[id] = new ControlWidget(id, session, row.parent < 0 ? nullptr : widgets[row.parent]);
        told[id] = session.accessible(id);
        w->setObjectName(QString::fromUtf8(layoutName(id)));
        w->setVisible(row.parent >= 0 && row.shown);
        if (row.parent >= 0)
            continue;
        // Borderless, the table on the title's screen; the title is what
        // tests and the desktop find it by.
        windows[id == ids::table::Form1].reset(w);
        w->setWindowTitle(w->objectName());
        w->setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
        w->setScreen(id == ids::table::Form1 ? widgets[ids::title::Form2]->screen() : QGuiApplication::primaryScreen());
    }
    layOut(window);
    widgets[window]->winId(); // its native window made now, to hear of a change of screen
    connect(widgets[window]->windowHandle(), &QWindow::screenChanged, this, [this, window] { layOut(window); });
}

// A window of a fixed size in the middle of its screen's free area, drawn
// at the screen's scale or, where it would not fit there, at the largest that
// fits. Places are in Qt's own pixels, which Qt brings to the screen's scale.
void Screens::layOut(int window)
{
    const QScreen* screen = widgets[window]->screen();
    if (!screen) // none while no monitor is plugged in
        return;
    const Scale display{qRound(96 * screen->devicePixelRatio())};
    const QSize area = screen->availableGeometry().size() * screen->devicePixelRatio();
    session.rescale(window, fitting(window, display, area.width(), area.height()));
    const qreal shrink = session.scale(window).dpi == display.dpi ? 1 : session.scale(window).dpi * 1.0 / display.dpi;
    const auto at = [shrink](int x, int y) { return QPoint(qRound(x * shrink), qRound(y * shrink)); };
    for (int id = window; id < ids::Count && windowOf(id) == window; ++id) {
        const Box& b = Controls[id].box;
        const QRect r(at(b.x, b.y), at(b.x + b.width, b.y + b.height) - QPoint(1, 1));
        id == window ? widgets[id]->setFixedSize(r.size()) : widgets[id]->setGeometry(r);
    }
    widgets[window]->move(screen->availableGeometry().center() - widgets[window]->rect().center());
}

void Screens::makeTable()
{
    build(ids::table::Form1);
    // Never stopped, also while hidden: a spin goes on to its end behind the
    // title window.
    timer1.setObjectName(QStringLiteral("Timer1"));
    timer1.setTimerType(Qt::PreciseTimer);
    connect(&timer1, &QTimer::timeout, this, [this] { session.tick(); });
    timer1.start(Timer1Interval);
}

void Screens::show(int control, bool visible)
{
    widgets[control]->setVisible(visible);
    if (visible && Controls[control].kind == Kind::Window)
        widgets[control]->activateWindow();
}

// Assistive technology hears what changed, but the readout's value only once.
void Screens::redraw(int control)
{
    ControlWidget* w = widgets[control];
    if (!w)
        return;
    w->update();
    auto tell = [w](QAccessible::Event type, int child = -1) {
        QAccessibleEvent event(w, type);
        event.setChild(child);
        QAccessible::updateAccessibility(&event);
    };
    const Accessible now = session.accessible(control), &before = told[control];
    if (now.name != before.name)
        tell(QAccessible::NameChanged);
    if (now.description != before.description)
        tell(QAccessible::DescriptionChanged);
    if (now.pressed != before.pressed) {
        QAccessible::State pressed;
        pressed.pressed = true;
        QAccessibleStateChangeEvent event(w, pressed);
        QAccessible::updateAccessibility(&event);
    }
    if (now.role == Role::List)
        tell(QAccessible::ObjectReorder);
    if (now.role == Role::List && now.value != before.value)
        tell(QAccessible::Selection, now.selected);
    told[control] = now;
    if (control == session.focus() && control != toldFocus) {
        toldFocus = control;
        tell(QAccessible::Focus);
    }
}

void Screens::announce(int control)
{
    QAccessibleValueChangeEvent event(widgets[control], QString::fromUtf8(session.accessible(control).value));
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
        session.keyboardLost();
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const auto* known = std::ranges::find(Keys, key->key(), &std::pair<int, Key>::first);
    // X11 repeats a held key as a release and a press at one time, which Qt
    // marks as repeats only when it happens to read both at once.
    const bool down = event->type() == QEvent::KeyPress;
    const bool repeat = key->isAutoRepeat() || (down && std::pair(key->key(), key->timestamp()) == released);
    released = down ? released : std::pair(key->key(), key->timestamp());
    // A key the game takes goes no further: no focus moves between widgets.
    return session.key(known == std::end(Keys) ? Key::Other : known->second, down, repeat);
}

} // namespace morvik
