#include "session/plan.h"

#include <algorithm>

namespace morvik {

namespace {

// An outline whose whole width lies inside the box.
void frame(Plan& plan, Box b, int width, Rgb colour)
{
    plan.emplace_back(Fill{{b.x, b.y, b.width, width}, colour});
    plan.emplace_back(Fill{{b.x, b.y + b.height - width, b.width, width}, colour});
    plan.emplace_back(Fill{{b.x, b.y, width, b.height}, colour});
    plan.emplace_back(Fill{{b.x + b.width - width, b.y, width, b.height}, colour});
}

// A control's fill and figures, seen from `origin` (device pixels in it).
void figures(Plan& plan, const Control& row, Point origin, Box size, Scale scale)
{
    auto at = [&](Point p) { return Point{scale(p).x - origin.x, scale(p).y - origin.y}; };
    auto moved = [&](Box b) {
        const Box d = scale(b);
        return Box{d.x - origin.x, d.y - origin.y, d.width, d.height};
    };
    plan.emplace_back(Fill{size, row.fill});
    for (const FrameFigure& f : row.figures.frames)
        frame(plan, moved(f.bounds), scale(f.penWidth), f.colour);
    for (const DiscFigure& d : row.figures.discs)
        plan.emplace_back(Disc{moved(d.bounds), d.colour});
    // One layout pixel wide on every screen, in whole device pixels.
    for (const LineFigure& l : row.figures.lines)
        plan.emplace_back(Stroke{at(l.from), at(l.to), std::max(1, scale(1)), l.colour});
}

// The lines as laid out at 96 dpi: at a scale that rounds the font up, the
// font shrinks until every line fits the box again, so that no caption wraps
// or loses its end on any screen.
void caption(Plan& plan, const Control& row, const Look& look, Box size, Scale scale)
{
    const Lines lines{{look.lines[0], look.lines[1]}, look.lines[1].empty() ? 1 : 2};
    if (look.lines[0].empty())
        return;
    const int edge = row.kind == Kind::Readout ? scale(1) : 0;
    const int width = size.width - 2 * edge;
    const int pixels = fittingPixelSize(lines, width, scale(look.pixels));
    const int height = lineSpacing(pixels);
    for (int i = 0; i < lines.count; ++i) {
        const int lineWidth = textWidth(lines.line[i], pixels);
        const int x = edge + (row.centred ? (width - lineWidth) / 2 : 0);
        plan.emplace_back(Run{{x, edge + i * height, lineWidth, height}, pixels, look.colour, look.lines[i]});
    }
}

// The rows of a bet list in sight: the first entry's index, how many, and
// where they start and how tall each is, in device pixels.
struct Rows {
    int first, count, top, height;
};

Rows rows(int list, const Look& look, Scale scale)
{
    const int count = std::min(static_cast<int>(look.entries.size()) - look.top, visibleEntries(list, scale));
    return {look.top, count, scale(table::ListEdge), lineSpacing(scale(Controls[list].fontPixels))};
}

void list(Plan& plan, const Control& row, const Look& look, Box size, Scale scale)
{
    const int edge = scale(table::ListEdge);
    plan.emplace_back(Fill{size, row.fill});
    plan.emplace_back(Fill{{0, 0, size.width, edge}, table::ListShadow});
    plan.emplace_back(Fill{{0, 0, edge, size.height}, table::ListShadow});
    plan.emplace_back(Fill{{edge, size.height - edge, size.width - edge, edge}, table::White});
    plan.emplace_back(Fill{{size.width - edge, edge, edge, size.height - edge}, table::White});
    const int pixels = scale(row.fontPixels);
    const Rows sight = rows(static_cast<int>(&row - Controls.data()), look, scale);
    const int height = sight.height;
    for (int i = sight.first; i < sight.first + sight.count; ++i) {
        const int y = sight.top + (i - sight.first) * height;
        const bool selected = i == look.selected;
        if (selected)
            plan.emplace_back(Fill{{edge, y, size.width - 2 * edge, height}, table::ListSelected});
        const std::string& text = look.entries[i];
        plan.emplace_back(Run{{edge + scale(table::ListIndent), y, textWidth(text, pixels), height}, pixels,
                           selected ? table::White : row.colour, text});
    }
}

} // namespace

int visibleEntries(int list, Scale scale)
{
    const Control& row = Controls[list];
    return (scale(row.box).height - 2 * scale(table::ListEdge)) / lineSpacing(scale(row.fontPixels));
}

Scale fitting(int window, Scale display, int width, int height)
{
    const Box box = Controls[window].box;
    while (display.dpi > 1 && (display(box).width > width || display(box).height > height))
        --display.dpi;
    return display;
}

int entryAt(int list, const Look& look, Point at, Scale scale)
{
    const Rows sight = rows(list, look, scale);
    const int i = at.y < sight.top ? -1 : (at.y - sight.top) / sight.height;
    return i >= 0 && i < sight.count ? sight.first + i : -1;
}

Plan plan(int control, const Look& look, Scale scale, bool beneath)
{
    const Control& row = Controls[control];
    const Box box = scale(row.box);
    const Box size{0, 0, box.width, box.height};
    Plan plan;
    if (filled(row))
        figures(plan, row, {}, size, scale);
    else if (beneath && row.parent >= 0)
        figures(plan, Controls[row.parent], {box.x, box.y}, size, scale);
    if (row.art != Art::None)
        plan.emplace_back(Picture{row.art, row.index, scale.dpi > 96 ? 2 : 1, size});
    if (row.kind == Kind::List)
        list(plan, row, look, size, scale);
    else
        caption(plan, row, look, size, scale);
    if (look.chosen)
        frame(plan, size, scale(3), ChosenColour);
    if (look.focused)
        frame(plan, size, scale(2), FocusColour);
    return plan;
}

} // namespace morvik
