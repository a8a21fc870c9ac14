#include "toolkit/picture_box.h"

#include "toolkit/conversions.h"
#include "toolkit/palette.h"

#include <QPainter>

namespace morvik {

PictureBox::PictureBox(Rgb background, QWidget* parent)
    : QWidget(parent)
{
    setBackground(this, background);
}

void PictureBox::setLines(std::span<const LineFigure> figures)
{
    lines.assign(figures.begin(), figures.end());
    update();
}

void PictureBox::setDiscs(std::span<const DiscFigure> figures)
{
    discs.assign(figures.begin(), figures.end());
    update();
}

void PictureBox::setFrames(std::span<const FrameFigure> figures)
{
    frames.assign(figures.begin(), figures.end());
    update();
}

void PictureBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);

    for (const FrameFigure& frame : frames) {
        const QRect r = toQRect(frame.bounds);
        const int w = frame.penWidth;
        const QColor colour = toQColor(frame.colour);
        painter.fillRect(QRect(r.left(), r.top(), r.width(), w), colour);
        painter.fillRect(QRect(r.left(), r.bottom() - w + 1, r.width(), w), colour);
        painter.fillRect(QRect(r.left(), r.top(), w, r.height()), colour);
        painter.fillRect(QRect(r.right() - w + 1, r.top(), w, r.height()), colour);
    }

    painter.setPen(Qt::NoPen);
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (const DiscFigure& disc : discs) {
        painter.setBrush(toQColor(disc.colour));
        painter.drawEllipse(QRectF(toQRect(disc.bounds)));
    }

    // The table's lines sit on exact pixels between the cells; smoothing
    // would smear each over two columns in a paler colour.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    // One layout pixel wide on every screen: on a high-density screen the pen
    // is as many device pixels wide as a layout pixel, and it is moved from
    // the middle of the first device pixel to the middle of the layout pixel
    // so that it covers that pixel whole rather than straddling two.
    const qreal density = devicePixelRatioF();
    const qreal toMiddle = 0.5 - 0.5 / density;
    painter.translate(toMiddle, toMiddle);
    for (const LineFigure& line : lines) {
        QPen pen(toQColor(line.colour));
        pen.setCosmetic(true);
        pen.setWidthF(density);
        pen.setCapStyle(Qt::SquareCap);
        painter.setPen(pen);
        painter.drawLine(QPoint(line.from.x, line.from.y), QPoint(line.to.x, line.to.y));
    }
}

} // namespace morvik
