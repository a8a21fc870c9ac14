#include "qt/control_widget.h"

#include "qt/assets.h"
#include "qt/fonts.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QPainter>

namespace morvik {

namespace {

template <class... Cases>
struct Overloaded : Cases... {
    using Cases::operator()...;
};

QRect toQRect(Box b) { return {b.x, b.y, b.width, b.height}; }

} // namespace

ControlWidget::ControlWidget(int control, Session& session, QWidget* parent)
    : QWidget(parent)
    , id(control)
    , session(session)
{
    const Control& row = Controls[control];
    setAttribute(Qt::WA_OpaquePaintEvent, filled(row) || row.art != Art::None);
}

const QPixmap& ControlWidget::picture(const Picture& p)
{
    const QSize size(p.box.width, p.box.height);
    if (shown.size() != size || shownDensity != p.density) {
        const QImage image = assets::picture(p.art == Art::Title ? assets::title(p.density) : p.art == Art::Logo ? assets::Logo : assets::chip(p.index));
        shown = QPixmap::fromImage(image.size() == size ? image : image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        shown.setDevicePixelRatio(1); // Qt reads "@2x" in a file name as a density: the box is in device pixels
        shownDensity = p.density;
    }
    return shown;
}

// The plan is in device pixels: the painter is set to draw in them.
void ControlWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const qreal density = devicePixelRatioF();
    painter.scale(1 / density, 1 / density);
    const auto draw = Overloaded{
        [&](const Fill& f) { painter.fillRect(toQRect(f.box), toQColor(f.colour)); },
        [&](const Stroke& s) {
            // A square pen centred on the middle of its first pixel square.
            const qreal middle = (s.width - 1) / 2.0;
            painter.setPen(QPen(toQColor(s.colour), s.width, Qt::SolidLine, Qt::SquareCap));
            painter.drawLine(QPointF(s.from.x + middle, s.from.y + middle), QPointF(s.to.x + middle, s.to.y + middle));
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
        [&](const Picture& p) { painter.drawPixmap(p.box.x, p.box.y, picture(p)); },
    };
    for (const Shape& shape : session.plan(id, scale(), false))
        std::visit(draw, shape);
}

void ControlWidget::press(QMouseEvent* event, bool second)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (Controls[id].kind == Kind::List)
        session.pressList(id, {qRound(event->position().x() * devicePixelRatioF()), qRound(event->position().y() * devicePixelRatioF())}, scale());
    else
        session.press(id, second);
}

void ControlWidget::mousePressEvent(QMouseEvent* event)
{
    press(event, false);
}

// The desktop's second press of a double click.
void ControlWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    press(event, true);
}

void ControlWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        session.release(rect().contains(event->position().toPoint()) ? id : -1);
}

// A notch is 120; turning it towards the player scrolls down.
void ControlWidget::wheelEvent(QWheelEvent* event)
{
    session.wheel(id, -event->angleDelta().y() / 120);
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

} // namespace morvik
