// Prints the layout's table of controls as JSON, for the browser driver,
// which checks the page against it as the desktop driver checks the windows
// against the same table. Boxes and figures are in their window's pixels.
#include "layout/controls.h"

#include <emscripten/val.h>

#include <string>

using emscripten::val;
using namespace morvik;

namespace {

val colour(Rgb c)
{
    val rgb = val::array();
    for (const int v : {c.r, c.g, c.b})
        rgb.call<void>("push", v);
    return rgb;
}

val box(Box b, Point origin)
{
    val out = val::object();
    out.set("x", b.x + origin.x);
    out.set("y", b.y + origin.y);
    out.set("width", b.width);
    out.set("height", b.height);
    return out;
}

// Where a control's parent lies in the window.
Point origin(int id)
{
    Point at;
    for (int c = Controls[id].parent; c >= 0 && Controls[c].parent >= 0; c = Controls[c].parent)
        at = {at.x + Controls[c].box.x, at.y + Controls[c].box.y};
    return at;
}

} // namespace

int main()
{
    val controls = val::array();
    for (int id = 0; id < ids::Count; ++id) {
        const Control& row = Controls[id];
        const Point at = origin(id);
        val c = val::object();
        c.set("name", std::string(row.name) + (row.index < 0 ? "" : "(" + std::to_string(row.index) + ")"));
        c.set("window", std::string(Controls[windowOf(id)].name));
        c.set("caption", row.kind == Kind::Caption && !row.text.empty());
        c.set("centred", row.centred);
        c.set("box", row.parent < 0 ? box({0, 0, row.box.width, row.box.height}, {}) : box(row.box, at));
        c.set("colour", colour(row.colour));
        c.set("fill", colour(row.fill));
        c.set("under", colour(fillUnder(id)));
        c.set("fontPixels", row.fontPixels);
        val lines = val::array();
        for (int i = 0; i < row.lines.count; ++i)
            lines.call<void>("push", std::string(row.lines.line[i]));
        c.set("lines", lines);
        // The figures, moved into the window with their control.
        const Point own = row.parent < 0 ? Point{} : Point{at.x + row.box.x, at.y + row.box.y};
        val figures = val::array();
        for (const LineFigure& l : row.figures.lines) {
            val f = val::object();
            f.set("from", box({l.from.x, l.from.y, 0, 0}, own));
            f.set("to", box({l.to.x, l.to.y, 0, 0}, own));
            f.set("colour", colour(l.colour));
            figures.call<void>("push", f);
        }
        for (const DiscFigure& d : row.figures.discs) {
            val f = val::object();
            f.set("disc", box(d.bounds, own));
            f.set("colour", colour(d.colour));
            figures.call<void>("push", f);
        }
        for (const FrameFigure& r : row.figures.frames) {
            val f = val::object();
            f.set("frame", box(r.bounds, own));
            f.set("penWidth", r.penWidth);
            f.set("colour", colour(r.colour));
            figures.call<void>("push", f);
        }
        c.set("figures", figures);
        controls.call<void>("push", c);
    }
    val::global("console").call<void>("log", val::global("JSON").call<val>("stringify", controls));
}
