// A container of solid colour that also draws the fixed figures of a window:
// the lines of the betting table, the colour discs, the title frame. The
// figures are constant layout data and never take clicks.
#pragma once

#include "rules.h"

#include <QColor>
#include <QRect>
#include <QWidget>

#include <span>
#include <vector>

namespace morvik {

struct Point {
    int x = 0, y = 0;
};

// In pixels, relative to the container; width and height as in QRect.
struct Box {
    int x = 0, y = 0, width = 0, height = 0;
};

// One pixel wide, both end points included.
struct LineFigure {
    Point from, to;
    Rgb colour;
};

// A filled circle inscribed in its box.
struct DiscFigure {
    Box bounds;
    Rgb colour;
};

// An outline whose whole pen width lies inside the box.
struct FrameFigure {
    Box bounds;
    int penWidth = 1;
    Rgb colour;
};

inline QColor toQColor(Rgb c)
{
    return QColor(c.r, c.g, c.b);
}

inline QRect toQRect(Box b)
{
    return QRect(b.x, b.y, b.width, b.height);
}

class PictureBox : public QWidget {
    Q_OBJECT

public:
    PictureBox(Rgb background, QWidget* parent);

    void setLines(std::span<const LineFigure> lines);
    void setDiscs(std::span<const DiscFigure> discs);
    void setFrames(std::span<const FrameFigure> frames);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<LineFigure> lines;
    std::vector<DiscFigure> discs;
    std::vector<FrameFigure> frames;
};

// Sets the colour a label, a container or a window paints its text with.
void setTextColour(QWidget* widget, Rgb colour);
// Sets the colour a widget fills its background with and makes it opaque.
void setBackground(QWidget* widget, Rgb colour);

} // namespace morvik
