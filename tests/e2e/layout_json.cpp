// Prints the layout's table of controls as JSON, where the end-to-end drivers
// find and check every control: boxes [x, y, width, height] and figures in
// their window's pixels, colours [r, g, b].
#include "layout/controls.h"

#include <cstdio>
#include <initializer_list>
#include <string>

using namespace morvik;

namespace {

std::string numbers(std::initializer_list<int> values)
{
    std::string out;
    for (const int v : values)
        out += (out.empty() ? "[" : ",") + std::to_string(v);
    return out + "]";
}
std::string colour(Rgb c) { return numbers({c.r, c.g, c.b}); }
std::string box(Box b, Point at) { return numbers({b.x + at.x, b.y + at.y, b.width, b.height}); }

} // namespace

int main()
{
    std::string out;
    for (int id = 0; id < ids::Count; ++id) {
        const Control& row = Controls[id];
        Point at; // the control's top left corner in its window
        for (int c = id; Controls[c].parent >= 0; c = Controls[c].parent)
            at = {at.x + Controls[c].box.x, at.y + Controls[c].box.y};
        std::string lines, figures;
        for (int i = 0; i < row.lines.count; ++i)
            lines += (i ? ",\"" : "\"") + std::string(row.lines.line[i]) + "\"";
        auto figure = [&](const std::string& f) { figures += (figures.empty() ? "{" : ",{") + f + "}"; };
        for (const LineFigure& l : row.figures.lines)
            figure("\"line\":" + numbers({at.x + l.from.x, at.y + l.from.y, at.x + l.to.x, at.y + l.to.y})
                   + ",\"colour\":" + colour(l.colour));
        for (const DiscFigure& d : row.figures.discs)
            figure("\"disc\":" + box(d.bounds, at) + ",\"colour\":" + colour(d.colour));
        for (const FrameFigure& f : row.figures.frames)
            figure("\"frame\":" + box(f.bounds, at) + ",\"pen\":" + std::to_string(f.penWidth)
                   + ",\"colour\":" + colour(f.colour));
        out += (out.empty() ? "[{" : ",\n{") + std::string("\"name\":\"") + std::string(Controls[windowOf(id)].name)
            + "." + layoutName(id) + "\",\"kind\":" + std::to_string(static_cast<int>(row.kind))
            + ",\"box\":" + box({0, 0, row.box.width, row.box.height}, at) + ",\"colour\":" + colour(row.colour)
            + ",\"under\":" + colour(fillUnder(id)) + ",\"font\":" + std::to_string(row.fontPixels)
            + ",\"centred\":" + (row.centred ? "true" : "false") + ",\"lines\":[" + lines + "],\"figures\":["
            + figures + "]}";
    }
    std::puts((out + "]").c_str());
}
