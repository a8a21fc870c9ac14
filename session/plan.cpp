#include "session/plan.h"

#include <algorithm>

namespace morvik {

namespace {

Box inset(Box b, int by)
{
    return {b.x + by, b.y + by, b.width - 2 * by, b.height - 2 * by};
}

// A colour of the table's own look, in the look in force.
Rgb paint(Rgb normal, const Palette* contrast)
{
    return contrast ? inContrast(normal, *contrast) : normal;
}

// An outline whose whole width lies inside the box.
void frame(Plan& plan, Box b, int width, Rgb colour)
{
    plan.emplace_back(Fill{{b.x, b.y, b.width, width}, colour});
    plan.emplace_back(Fill{{b.x, b.y + b.height - width, b.width, width}, colour});
    plan.emplace_back(Fill{{b.x, b.y, width, b.height}, colour});
    plan.emplace_back(Fill{{b.x + b.width - width, b.y, width, b.height}, colour});
}

// A control's fill and figures, seen from `origin` (device pixels in it).
void figures(Plan& plan, const Control& row, Point origin, Box size, Scale scale, const Palette* contrast)
{
    auto at = [&](Point p) { return Point{scale(p).x - origin.x, scale(p).y - origin.y}; };
    auto moved = [&](Box b) {
        const Box d = scale(b);
        return Box{d.x - origin.x, d.y - origin.y, d.width, d.height};
    };
    plan.emplace_back(Fill{size, paint(row.fill, contrast)});
    for (const FrameFigure& f : row.figures.frames)
        frame(plan, moved(f.bounds), scale(f.penWidth), paint(f.colour, contrast));
    // In high contrast the red disc is filled and the black one a ring, as their numbers are.
    for (const DiscFigure& d : row.figures.discs) {
        plan.emplace_back(Disc{moved(d.bounds), contrast ? contrast->text : d.colour});
        if (contrast && d.colour == CellBlack)
            plan.emplace_back(Disc{inset(moved(d.bounds), scale(3)), contrast->window});
    }
    // One layout pixel wide on every screen, in whole device pixels.
    for (const LineFigure& l : row.figures.lines)
        plan.emplace_back(Stroke{at(l.from), at(l.to), std::max(1, scale(1)), paint(l.colour, contrast)});
}

// The lines as laid out at 96 dpi: at a scale that rounds the font up, the
// font shrinks until every line fits the box again, so that no caption wraps
// or loses its end on any screen.
void caption(Plan& plan, const Control& row, const Look& look, Box size, Scale scale, const Palette* contrast)
{
    const Lines lines{{look.lines[0], look.lines[1]}, look.lines[1].empty() ? 1 : 2};
    const int edge = row.kind == Kind::Readout ? scale(1) : 0;
    // A red number's cell, and the drawn number's box inside its edge.
    const bool red = contrast && look.colour == CellRed;
    if (red)
        plan.emplace_back(Fill{inset(size, edge), contrast->text});
    const Rgb colour = !contrast ? look.colour : red ? contrast->window : contrast->text;
    if (look.lines[0].empty())
        return;
    const int width = size.width - 2 * edge;
    const int pixels = fittingPixelSize(lines, width, scale(look.pixels));
    const int height = lineSpacing(pixels);
    for (int i = 0; i < lines.count; ++i) {
        const int lineWidth = textWidth(lines.line[i], pixels);
        const int x = edge + (row.centred ? (width - lineWidth) / 2 : 0);
        plan.emplace_back(Run{{x, edge + i * height, lineWidth, height}, pixels, colour, look.lines[i]});
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

void list(Plan& plan, const Control& row, const Look& look, Box size, Scale scale, const Palette* contrast)
{
    const int edge = scale(table::ListEdge);
    const Rgb shadow = paint(table::ListShadow, contrast), light = paint(table::White, contrast);
    plan.emplace_back(Fill{size, paint(row.fill, contrast)});
    plan.emplace_back(Fill{{0, 0, size.width, edge}, shadow});
    plan.emplace_back(Fill{{0, 0, edge, size.height}, shadow});
    plan.emplace_back(Fill{{edge, size.height - edge, size.width - edge, edge}, light});
    plan.emplace_back(Fill{{size.width - edge, edge, edge, size.height - edge}, light});
    const int pixels = scale(row.fontPixels);
    const Rows sight = rows(static_cast<int>(&row - Controls.data()), look, scale);
    const int height = sight.height;
    for (int i = sight.first; i < sight.first + sight.count; ++i) {
        const int y = sight.top + (i - sight.first) * height;
        const bool selected = i == look.selected;
        if (selected)
            plan.emplace_back(Fill{{edge, y, size.width - 2 * edge, height}, paint(table::ListSelected, contrast)});
        const std::string& text = look.entries[i];
        plan.emplace_back(Run{{edge + scale(table::ListIndent), y, textWidth(text, pixels), height}, pixels,
                           !selected ? paint(row.colour, contrast) : contrast ? contrast->window : table::White, text, i});
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

std::string pictureName(Art art, int index)
{
    return art == Art::Title ? "title" : art == Art::Logo ? "logo" : "chip-" + std::to_string(ChipValues[index]);
}

int entryAt(int list, const Look& look, Point at, Scale scale)
{
    const Rows sight = rows(list, look, scale);
    const int i = at.y < sight.top ? -1 : (at.y - sight.top) / sight.height;
    return i >= 0 && i < sight.count ? sight.first + i : -1;
}

Plan plan(int control, const Look& look, Scale scale, bool beneath, const Palette* contrast)
{
    const Control& row = Controls[control];
    const Box box = scale(row.box);
    const Box size{0, 0, box.width, box.height};
    Plan plan;
    if (filled(row))
        figures(plan, row, {}, size, scale, contrast);
    else if (beneath && row.parent >= 0)
        figures(plan, Controls[row.parent], {box.x, box.y}, size, scale, contrast);
    if (row.art != Art::None)
        plan.emplace_back(Picture{row.art, row.index, scale.dpi > 96 ? 2 : 1, size});
    if (row.kind == Kind::List)
        list(plan, row, look, size, scale, contrast);
    else
        caption(plan, row, look, size, scale, contrast);
    // In high contrast a ring of the window's colour lies inside each mark, so
    // that it stands out from a filled cell or a picture as from the cloth.
    const auto mark = [&](int width, Rgb colour) {
        frame(plan, size, scale(width), colour);
        if (contrast)
            frame(plan, inset(size, scale(width) - scale(1)), scale(1), contrast->window);
    };
    if (look.chosen)
        mark(3, contrast ? contrast->hotLight : ChosenColour);
    if (look.focused)
        mark(2, contrast ? contrast->highlight : FocusColour);
    return plan;
}

} // namespace morvik
