#include "qt/control_widget.h"

#include "qt/assets.h"
#include "qt/fonts.h"

#include <QAccessibleWidget>
#include <QCloseEvent>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace morvik {

namespace {

// A control as a screen reader knows it: a button that can be pressed, a
// picture, a text, or the readout whose value is the number it shows.
class ControlAccessible : public QAccessibleWidget {
public:
    explicit ControlAccessible(ControlWidget* widget)
        : QAccessibleWidget(widget, role(Controls[widget->control()]))
    {
    }

    QString text(QAccessible::Text t) const override
    {
        const QString text = QAccessibleWidget::text(t);
        if ((t == QAccessible::Name && text.isEmpty()) || t == QAccessible::Value)
            return control()->text();
        return text;
    }

    QStringList actionNames() const override
    {
        return Controls[control()->control()].clickable ? QStringList(pressAction()) : QStringList();
    }

    void doAction(const QString& action) override
    {
        // Only what the mouse could click: not a chip in a hidden tray.
        if (action == pressAction() && control()->isVisible())
            control()->owner().click(control()->control());
    }

private:
    static QAccessible::Role role(const Control& row)
    {
        if (row.clickable)
            return QAccessible::Button;
        switch (row.kind) {
        case Kind::Window: return QAccessible::Window;
        case Kind::Box: return QAccessible::Pane;
        case Kind::Picture: return QAccessible::Graphic;
        default: return QAccessible::StaticText;
        }
    }
    ControlWidget* control() const { return static_cast<ControlWidget*>(widget()); }
};

QAccessibleInterface* controlInterface(const QString& className, QObject* object)
{
    if (className == QLatin1StringView(ControlWidget::staticMetaObject.className()))
        return new ControlAccessible(static_cast<ControlWidget*>(object));
    return nullptr;
}

QImage art(const Control& row, qreal density)
{
    return row.art == Art::None ? QImage() : assets::picture(row.art, row.index, density > 1 ? 2 : 1);
}

// The picture brought to `deviceSize`: enlarged by whole pixels when the size
// is a whole multiple of the source's, smoothly resampled otherwise, so that
// a high-density screen gets the source's own detail.
QImage resampled(const QImage& source, QSize deviceSize)
{
    if (source.size() == deviceSize)
        return source;
    const bool wholeFactor = deviceSize.width() % source.width() == 0 && deviceSize.height() % source.height() == 0
        && deviceSize.width() / source.width() == deviceSize.height() / source.height();
    return source.scaled(deviceSize, Qt::IgnoreAspectRatio,
                         wholeFactor ? Qt::FastTransformation : Qt::SmoothTransformation);
}

} // namespace

ControlWidget::ControlWidget(int control, Session& session, QWidget* parent)
    : QWidget(parent)
    , id(control)
    , session(session)
{
    static const bool registered = (QAccessible::installFactory(controlInterface), true);
    (void)registered;
    const Control& row = Controls[control];
    for (int i = 0; i < row.lines.count; ++i)
        lines << fromUtf8(row.lines.line[i]);
    colour = row.colour;
    pixelSize = row.fontPixels;
    picture = art(row, devicePixelRatioF());
    // Windows, boxes and the readout paint their whole rectangle; the rest
    // lets what lies beneath show through.
    setAttribute(Qt::WA_OpaquePaintEvent, filled(row) || row.kind == Kind::Picture);
}

void ControlWidget::setText(std::string_view text, Rgb newColour, int newPixelSize)
{
    const QStringList newLines(fromUtf8(text));
    if (newLines == lines && newColour == colour && newPixelSize == pixelSize)
        return;
    lines = newLines;
    colour = newColour;
    pixelSize = newPixelSize;
    update();
}

void ControlWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const Control& row = Controls[id];
    if (filled(row))
        painter.fillRect(rect(), toQColor(row.fill));
    paintFigures(painter);
    paintPicture(painter);
    paintCaption(painter);
}

void ControlWidget::paintFigures(QPainter& painter)
{
    const Figures& figures = Controls[id].figures;
    for (const FrameFigure& frame : figures.frames) {
        const QRect r = toQRect(frame.bounds);
        const int w = frame.penWidth;
        const QColor c = toQColor(frame.colour);
        painter.fillRect(QRect(r.left(), r.top(), r.width(), w), c);
        painter.fillRect(QRect(r.left(), r.bottom() - w + 1, r.width(), w), c);
        painter.fillRect(QRect(r.left(), r.top(), w, r.height()), c);
        painter.fillRect(QRect(r.right() - w + 1, r.top(), w, r.height()), c);
    }
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (const DiscFigure& disc : figures.discs) {
        painter.setBrush(toQColor(disc.colour));
        painter.drawEllipse(QRectF(toQRect(disc.bounds)));
    }
    painter.restore();
    // One layout pixel wide on every screen, covering whole device pixels: the
    // pen is as wide as a layout pixel and moved from the middle of the first
    // device pixel to the middle of the layout pixel. Smoothing would smear
    // each line over two columns in a paler colour.
    const qreal density = devicePixelRatioF();
    const qreal toMiddle = 0.5 - 0.5 / density;
    painter.save();
    painter.translate(toMiddle, toMiddle);
    for (const LineFigure& line : figures.lines) {
        QPen pen(toQColor(line.colour));
        pen.setCosmetic(true);
        pen.setWidthF(density);
        pen.setCapStyle(Qt::SquareCap);
        painter.setPen(pen);
        painter.drawLine(QPoint(line.from.x, line.from.y), QPoint(line.to.x, line.to.y));
    }
    painter.restore();
}

void ControlWidget::paintPicture(QPainter& painter)
{
    if (picture.isNull())
        return;
    const qreal density = devicePixelRatioF();
    const QSize deviceSize = (QSizeF(size()) * density).toSize();
    if (shown.size() != deviceSize) {
        shown = QPixmap::fromImage(resampled(picture, deviceSize));
        shown.setDevicePixelRatio(density);
    }
    painter.drawPixmap(0, 0, shown);
}

// The lines as laid out at 96 dpi, in device pixels: at a scale that rounds
// the font up, the font shrinks until every line fits the box again, so that
// no caption wraps or loses its end on any screen.
void ControlWidget::paintCaption(QPainter& painter)
{
    if (lines.isEmpty())
        return;
    const qreal density = devicePixelRatioF();
    const int deviceWidth = static_cast<int>(std::floor(width() * density));
    Lines shape;
    std::array<QByteArray, 2> utf8;
    for (int i = 0; i < lines.size() && i < 2; ++i) {
        utf8[i] = lines[i].toUtf8();
        shape.line[shape.count++] = std::string_view(utf8[i].constData(), utf8[i].size());
    }
    const int devicePixels
        = fittingPixelSize(shape, deviceWidth, static_cast<int>(std::lround(pixelSize * density)));
    painter.save();
    painter.scale(1 / density, 1 / density);
    const QFont font = layoutFont(devicePixels);
    painter.setFont(font);
    painter.setPen(toQColor(colour));
    const int lineHeight = QFontMetrics(font).lineSpacing();
    const int edge = Controls[id].kind == Kind::Readout ? static_cast<int>(std::lround(density)) : 0;
    const Qt::Alignment align = (Controls[id].centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop;
    for (int i = 0; i < lines.size(); ++i)
        painter.drawText(QRect(edge, edge + i * lineHeight, deviceWidth - 2 * edge, lineHeight), align, lines[i]);
    painter.restore();
}

void ControlWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && Controls[id].clickable)
        session.press(id);
}

void ControlWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && Controls[id].clickable)
        session.release(rect().contains(event->position().toPoint()) ? id : -1);
}

// The second click of a quick pair arrives as a double click.
void ControlWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    mousePressEvent(event);
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
