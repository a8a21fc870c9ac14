#include "web/page.h"

#include <emscripten/eventloop.h>

#include <algorithm>

using emscripten::val;

namespace morvik {

namespace {

std::string px(int pixels)
{
    return std::to_string(pixels) + "px";
}

std::string css(Rgb c)
{
    constexpr char digits[] = "0123456789abcdef";
    std::string text = "#";
    for (const std::uint8_t v : {c.r, c.g, c.b}) {
        text += digits[v >> 4];
        text += digits[v & 15];
    }
    return text;
}

// Half pixels, for the middle of a pixel or of a disc's box.
std::string halves(int twice)
{
    return std::to_string(twice / 2) + (twice % 2 ? ".5" : "");
}

val text(std::string_view s)
{
    return val(std::string(s));
}

std::string joined(const Lines& lines)
{
    std::string text;
    for (int i = 0; i < lines.count; ++i)
        text.append(i ? "\n" : "").append(lines.line[i]);
    return text;
}

// What the driver and the tests find a control by: "Label1(17)".
std::string layoutName(const Control& row)
{
    std::string name(row.name);
    return row.index < 0 ? name : name + "(" + std::to_string(row.index) + ")";
}

std::string picture(const Control& row)
{
    switch (row.art) {
    case Art::Title: return "pictures/title@1x.png";
    case Art::Logo: return "pictures/logo@1x.png";
    case Art::Chip: return "pictures/chip-" + std::to_string(ChipValues[row.index]) + "@1x.png";
    case Art::None: break;
    }
    return {};
}

// The font as the desktop draws it, hinted: each glyph advances a whole
// number of pixels, so that a caption is exactly as wide as the layout
// measured it (see the page's style), and lines lie the font's height
// (2320/2048 of its size) rounded up apart.
int lineSpacing(int pixelSize)
{
    return (pixelSize * 2320 + 2047) / 2048;
}

std::string fontStyle(Rgb colour, int pixelSize)
{
    return "color:" + css(colour) + ";font-size:" + px(pixelSize) + ";--advance:" + px(advance(pixelSize))
        + ";line-height:" + px(lineSpacing(pixelSize)) + ";";
}

void setAttribute(val& element, const char* name, const std::string& value)
{
    element.call<void>("setAttribute", val(name), val(value));
}

} // namespace

Page::Page(Session::Services services)
    : players(services, *this)
    , document(val::global("document"))
    , spoken(document.call<val>("createElement", val("div")))
    , elements(ids::Count, val::undefined())
    , captions(ids::Count)
{
    // Out of sight but read out: the number drawn, once a spin has stopped.
    setAttribute(spoken, "role", "status");
    setAttribute(spoken, "class", "spoken");
    document["body"].call<void>("append", spoken);
    build(ids::title::Form2);
    show(ids::title::Form2, true);
}

void Page::build(int window)
{
    for (int id = 0; id < ids::Count; ++id)
        if (windowOf(id) == window)
            elements[id] = make(id);
    fit();
}

val Page::make(int id)
{
    const Control& row = Controls[id];
    const bool isPicture = row.kind == Kind::Picture;
    val element = document.call<val>("createElement", val(isPicture ? "img" : "div"));
    setAttribute(element, "data-control", layoutName(row));
    std::string style = "width:" + px(row.box.width) + ";height:" + px(row.box.height) + ";";
    if (row.parent >= 0)
        style += "left:" + px(row.box.x) + ";top:" + px(row.box.y) + ";";
    if (filled(row) || row.kind == Kind::List)
        style += "background:" + css(row.fill) + ";";

    std::string classes;
    const char* role = nullptr;
    if (row.clickable) {
        role = "button";
        setAttribute(element, "data-id", std::to_string(id));
    }
    switch (row.kind) {
    case Kind::Window:
        classes = "screen";
        role = "region";
        break;
    case Kind::Picture:
        setAttribute(element, "src", picture(row));
        setAttribute(element, "alt", std::string(row.spokenName));
        setAttribute(element, "draggable", "false");
        // The logo and the chips are shown at their own size: on a screen
        // of two or three device pixels to the pixel they are enlarged by
        // whole pixels, as on the desktop (see the page's style).
        if (row.art != Art::Title)
            classes = "own-size";
        break;
    case Kind::List:
        role = "listbox";
        setAttribute(element, "data-list", std::to_string(id));
        style += fontStyle(row.colour, row.fontPixels);
        break;
    case Kind::Readout:
        role = "group";
        classes = "readout";
        break;
    default:
        break;
    }
    if (role)
        setAttribute(element, "role", role);
    if (!row.spokenName.empty() && !isPicture)
        setAttribute(element, "aria-label", std::string(row.spokenName));
    if (!row.description.empty())
        setAttribute(element, "aria-description", std::string(row.description));

    if (row.kind == Kind::Caption || row.kind == Kind::Readout) {
        // A counter's text is empty until the game shows its first count.
        classes += std::string(classes.empty() ? "" : " ") + (row.centred ? "text centred" : "text");
        style += fontStyle(row.colour, row.fontPixels);
        const std::string text = joined(row.lines);
        captions[id] = {document.call<val>("createTextNode", val(text)), text, row.colour, row.fontPixels};
    }
    if (!classes.empty())
        setAttribute(element, "class", classes);
    setAttribute(element, "style", style);

    if (!row.figures.lines.empty() || !row.figures.discs.empty() || !row.figures.frames.empty())
        element.call<void>("append", figures(row));
    if (!captions[id].node.isUndefined())
        element.call<void>("append", captions[id].node);
    element.set("hidden", row.kind == Kind::Window || !row.shown);
    if (row.parent >= 0)
        elements[row.parent].call<void>("append", element);
    else
        document["body"].call<void>("append", element);
    return element;
}

// The lines, discs and frames drawn on a control's fill, beneath whatever it
// holds: vector shapes, sharp at any density. A line covers whole pixels,
// both ends included, as the layout counts them.
val Page::figures(const Control& row)
{
    const val ns("http://www.w3.org/2000/svg");
    auto shape = [&](const char* name) { return document.call<val>("createElementNS", ns, val(name)); };
    val svg = shape("svg");
    setAttribute(svg, "width", std::to_string(row.box.width));
    setAttribute(svg, "height", std::to_string(row.box.height));
    for (const FrameFigure& frame : row.figures.frames) {
        // The pen's whole width inside the box: the box less its inner part.
        const Box& b = frame.bounds;
        const int w = frame.penWidth;
        val path = shape("path");
        setAttribute(path, "fill", css(frame.colour));
        setAttribute(path, "fill-rule", "evenodd");
        setAttribute(path, "d", "M" + std::to_string(b.x) + " " + std::to_string(b.y) + "h" + std::to_string(b.width)
                                    + "v" + std::to_string(b.height) + "h-" + std::to_string(b.width) + "zM"
                                    + std::to_string(b.x + w) + " " + std::to_string(b.y + w) + "h"
                                    + std::to_string(b.width - 2 * w) + "v" + std::to_string(b.height - 2 * w) + "h-"
                                    + std::to_string(b.width - 2 * w) + "z");
        svg.call<void>("append", path);
    }
    for (const DiscFigure& disc : row.figures.discs) {
        const Box& b = disc.bounds;
        val ellipse = shape("ellipse");
        setAttribute(ellipse, "cx", halves(2 * b.x + b.width));
        setAttribute(ellipse, "cy", halves(2 * b.y + b.height));
        setAttribute(ellipse, "rx", halves(b.width));
        setAttribute(ellipse, "ry", halves(b.height));
        setAttribute(ellipse, "fill", css(disc.colour));
        svg.call<void>("append", ellipse);
    }
    for (const LineFigure& line : row.figures.lines) {
        val l = shape("line");
        setAttribute(l, "x1", halves(2 * line.from.x + 1));
        setAttribute(l, "y1", halves(2 * line.from.y + 1));
        setAttribute(l, "x2", halves(2 * line.to.x + 1));
        setAttribute(l, "y2", halves(2 * line.to.y + 1));
        setAttribute(l, "stroke", css(line.colour));
        svg.call<void>("append", l);
    }
    return svg;
}

void Page::fit()
{
    const double width = val::global("innerWidth").as<double>();
    const double height = val::global("innerHeight").as<double>();
    for (const int window : {ids::title::Form2, ids::table::Form1}) {
        if (elements[window].isUndefined())
            continue;
        const Box& box = Controls[window].box;
        const double scale = std::min({1.0, width / box.width, height / box.height});
        // Whole pixels at full size: a screen half a pixel off would blur every line.
        val style = elements[window]["style"];
        style.set("left", px(static_cast<int>((width - box.width * scale) / 2)));
        style.set("top", px(static_cast<int>((height - box.height * scale) / 2)));
        // No transform at full size: a scaled layer would blur every line on a
        // screen of a fractional number of device pixels to the pixel.
        style.call<void>("setProperty", val("--scale"), val(scale));
        style.set("transform", val(scale < 1 ? "scale(var(--scale))" : "none"));
    }
}

void Page::makeTable()
{
    build(ids::table::Form1);
    // Asked for every millisecond, as on the desktop (the browser allows
    // about four), and never stopped: a spin goes on to its end behind the
    // title screen.
    timer1 = emscripten_set_interval([](void* page) { static_cast<Page*>(page)->players.tick(); }, 1, this);
}

void Page::show(int control, bool visible)
{
    elements[control].set("hidden", !visible);
    if (visible && Controls[control].kind == Kind::Window)
        document.set("title", text(Controls[control].spokenName));
    // The table screen is a step in the browser's history, so that its Back
    // button (a phone's back gesture) closes the table as the desktop's close
    // request does; one back from the title leaves the page, and the game.
    if (control == ids::table::Form1) {
        val history = val::global("history");
        const bool onTable = !history["state"].isNull();
        if (visible && !onTable)
            history.call<void>("pushState", val("table"), val(""));
        else if (!visible && onTable)
            history.call<void>("back");
    }
}

// The only DOM writes of a spin's tick: Cislo's text and colour, in a box of
// a fixed size that contains its own layout.
void Page::setText(int control, std::string_view newText, Rgb colour, int pixelSize)
{
    Caption& caption = captions[control];
    if (caption.text != newText) {
        caption.text = newText;
        caption.node.set("data", caption.text);
    }
    val style = elements[control]["style"];
    if (caption.colour != colour) {
        caption.colour = colour;
        style.set("color", css(colour));
    }
    if (caption.pixelSize != pixelSize) {
        caption.pixelSize = pixelSize;
        style.set("fontSize", px(pixelSize));
        style.set("lineHeight", px(lineSpacing(pixelSize)));
        style.call<void>("setProperty", val("--advance"), val(px(advance(pixelSize))));
    }
}

void Page::describe(int control, std::string_view description)
{
    setAttribute(elements[control], "aria-description", std::string(description));
}

void Page::announce(int control)
{
    spoken.set("textContent", std::string(Controls[control].spokenName) + " " + captions[control].text);
}

void Page::appendEntry(int list, std::string_view entry)
{
    val option = document.call<val>("createElement", val("div"));
    setAttribute(option, "role", "option");
    setAttribute(option, "aria-selected", "false");
    option.set("textContent", text(entry));
    elements[list].call<void>("append", option);
}

void Page::removeEntry(int list, int row)
{
    elements[list]["children"][row].call<void>("remove");
}

void Page::clearEntries(int list)
{
    elements[list].call<void>("replaceChildren");
}

void Page::selectEntry(int list, int row)
{
    val current = elements[list].call<val>("querySelector", val("[aria-selected=true]"));
    if (!current.isNull())
        setAttribute(current, "aria-selected", "false");
    if (row >= 0) {
        val entry = elements[list]["children"][row];
        setAttribute(entry, "aria-selected", "true");
    }
}

// The game ends: Timer1 stops, the screens go, and the tab closes where the
// browser lets a page close it. Loading the page again starts a new game.
void Page::quit()
{
    emscripten_clear_interval(timer1);
    timer1 = 0;
    for (const int window : {ids::title::Form2, ids::table::Form1})
        if (!elements[window].isUndefined())
            elements[window].call<void>("remove");
    spoken.call<void>("remove");
    val::global("window").call<void>("close");
}

} // namespace morvik
