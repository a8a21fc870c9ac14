#include "web/page.h"

#include <emscripten/bind.h>
#include <emscripten/eventloop.h>
#include <emscripten/val.h>

#include <algorithm>
#include <string_view>
#include <utility>

using emscripten::val;

namespace morvik {

namespace {

const auto px = [](int pixels) { return std::to_string(pixels) + "px"; };
const auto place = [](Box b) {
    return "left:" + px(b.x) + ";top:" + px(b.y) + ";width:" + px(b.width) + ";height:" + px(b.height) + ";";
};
const auto css = [](Rgb c) {
    return "rgb(" + std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b) + ")";
};

std::string escaped(std::string_view text)
{
    std::string html;
    for (const char c : text)
        html += c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '"' ? "&quot;" : std::string(1, c);
    return html;
}

// The shapes of a control's plan at 100 %, one element each. Text takes the
// control's own colour (what the driver reads) unless the plan says otherwise;
// a bet list's lines of text are its entries, from the first in sight.
std::string shapes(const Session& session, int control)
{
    const Accessible a = session.accessible(control);
    std::string html;
    std::string gap; // between two lines, so that a caption reads as its words
    for (const Shape& shape : session.plan(control, Scale{96}, false)) {
        if (const auto* f = std::get_if<Fill>(&shape))
            html += "<div style=\"" + place(f->box) + "background:" + css(f->colour) + "\"></div>";
        else if (const auto* d = std::get_if<Disc>(&shape))
            html += "<div style=\"" + place(d->box) + "border-radius:50%;background:" + css(d->colour) + "\"></div>";
        else if (const auto* s = std::get_if<Stroke>(&shape)) {
            // The square pen's middle runs half its width from its corner.
            const auto middle = [&](int corner) { return std::to_string(corner + s->width / 2.0); };
            html += "<svg aria-hidden=true><line x1=" + middle(s->from.x) + " y1=" + middle(s->from.y) + " x2=" + middle(s->to.x) +
                    " y2=" + middle(s->to.y) + " stroke-width=" + std::to_string(s->width) + " stroke=\"" +
                    css(s->colour) + "\" stroke-linecap=square /></svg>";
        } else if (const auto* p = std::get_if<Picture>(&shape)) {
            const std::string name = "pictures/" + pictureName(p->art, p->index);
            // At the density its window, fitted to the browser's (index.html), shows it at.
            const Box screen = Scale{96}(Controls[windowOf(control)].box);
            const std::string w = std::to_string(p->box.width);
            html += "<img alt=\"\" draggable=false src=" + name + ".webp srcset=\"" + name + ".webp " + w + "w, " + name +
                    "@2x.webp " + std::to_string(2 * p->box.width) + "w\" sizes=\"min(" + w + "px, calc(100vw * " + w + " / " +
                    std::to_string(screen.width) + "), calc(100vh * " + w + " / " + std::to_string(screen.height) +
                    "))\" style=\"" + place(p->box) + "\">";
        } else {
            const Run& r = std::get<Run>(shape);
            html += std::exchange(gap, " ") + "<span";
            if (r.entry >= 0)
                html += " role=option data-row=" + std::to_string(r.entry) +
                        " aria-selected=" + (r.entry == a.selected ? "true" : "false") +
                        " aria-posinset=" + std::to_string(r.entry + 1) +
                        " aria-setsize=" + std::to_string(a.entries.size());
            // Each glyph advances the whole pixels the layout counts.
            html += " style=\"" + place(r.box) + "font-size:" + px(r.pixels) + ";line-height:" + px(r.box.height) +
                    ";letter-spacing:calc(" + px(advance(r.pixels)) + " - 0.60009765625em)" +
                    (r.colour == a.colour ? "" : ";color:" + css(r.colour)) + "\">" + escaped(r.text) + "</span>";
        }
    }
    return html;
}

// What assistive technology is told of a control, as attributes.
std::vector<std::pair<std::string, std::string>> told(const Session& session, int control)
{
    static constexpr auto roles = byRole<const char*>({{Role::Window, "region"}, {Role::Pane, ""}, {Role::Button, "button"},
        {Role::Graphic, "img"}, {Role::Text, ""}, {Role::List, "listbox"}, {Role::Readout, "group"}});
    const Accessible a = session.accessible(control);
    std::vector<std::pair<std::string, std::string>> attributes;
    if (const std::string role = roles[static_cast<int>(a.role)]; !role.empty())
        attributes = {{"role", role}, {"aria-label", a.name}};
    if (!a.description.empty())
        attributes.emplace_back("aria-description", a.description);
    if (Controls[control].art == Art::Chip)
        attributes.emplace_back("aria-pressed", a.pressed ? "true" : "false");
    return attributes;
}

// The title's screen is in the page already (written by the build); the
// table's is made beside it.
class Page final : public Display {
public:
    explicit Page(Session::Services services)
        : session(services, *this, val::global("navigator")["languages"].call<std::string>("join", val(" ")))
    {
        // The build wrote the title in English: in another language, it says it again.
        if (session.language() != 0)
            element(ids::title::Form2).set("outerHTML", markup(session, ids::title::Form2));
        session.start();
    }

    Session session;

private:
    val query(const std::string& selector) const { return document.call<val>("querySelector", selector); }
    val element(int control) const { return query("[data-id='" + std::to_string(control) + "']"); }

    void makeTable() override
    {
        query("main").call<void>("insertAdjacentHTML", val("afterbegin"), markup(session, b::Form1));
        // As often as on the desktop (the browser allows about every 4 ms),
        // never stopped: a spin goes on to its end behind the title screen.
        timer1 = emscripten_set_interval([](void* page) { static_cast<Page*>(page)->session.tick(); }, Timer1Interval, this);
    }

    void show(int control, bool visible) override
    {
        element(control).set("hidden", !visible);
        if (visible && Controls[control].kind == Kind::Window)
            document.set("title", session.accessible(control).name);
        // The table screen is a step in the browser's history, so that its Back
        // button (a phone's back gesture) closes the table as the desktop's close
        // request does; one back from the title leaves the page, and the game.
        if (const val history = val::global("history"); control == b::Form1 && visible == history["state"].isNull())
            visible ? history.call<void>("pushState", val("table"), val("")) : history.call<void>("back");
    }

    // During a spin, only Cislo's shapes are written anew: its box contains its
    // own layout, so the page lays out nothing else.
    void redraw(int control) override
    {
        const val shown = element(control);
        shown["firstChild"].set("innerHTML", shapes(session, control));
        shown["style"].set("color", css(session.accessible(control).colour));
        for (const auto& [name, value] : told(session, control))
            shown.call<void>("setAttribute", name, value);
        if (control == session.focus()) {
            val options = val::object();
            options.set("preventScroll", true);
            shown.call<void>("focus", options);
        }
    }

    // Out of sight but read out (index.html): the number drawn, once a spin has stopped.
    void announce(int control) override
    {
        const Accessible a = session.accessible(control);
        query("[role=status]").set("textContent", a.name + " " + a.value);
    }

    // The game ends: Timer1 stops, the page's message (load again for a new
    // game) takes the screens' place, and the tab closes if the browser lets it.
    void quit() override
    {
        emscripten_clear_interval(timer1);
        val::global("morvikMessage")(val("ended"));
        val::global("window").call<void>("close");
    }

    val document = val::global("document");
    long timer1 = 0;
};

// The session the page's raw events go to, as the browser reports them
// (web/events.js): what they mean is the session's to decide.
Session* current = nullptr;

// The key as the browser names it (KeyboardEvent.key). A Mac's key labelled
// delete sends Backspace.
bool key(const std::string& name, bool shift, bool down, bool repeat)
{
    static const std::pair<std::string_view, Key> keys[]{{"Delete", Key::Delete}, {"Backspace", Key::Backspace},
        {"Tab", Key::Tab}, {"Enter", Key::Enter}, {" ", Key::Space}, {"ArrowLeft", Key::Left},
        {"ArrowRight", Key::Right}, {"ArrowUp", Key::Up}, {"ArrowDown", Key::Down}};
    const auto* known = std::find_if(std::begin(keys), std::end(keys), [&](auto& row) { return row.first == name; });
    const Key k = known == std::end(keys) ? Key::Other : known->second;
    return current->key(k == Key::Tab && shift ? Key::BackTab : k, down, repeat);
}

} // namespace

std::string markup(const Session& session, int control)
{
    const Control& row = Controls[control];
    const Box box = Scale{96}(row.box);
    std::string html = "<div data-control=\"" + layoutName(control) + "\" data-id=" + std::to_string(control);
    for (const auto& [name, value] : told(session, control))
        html += " " + name + "=\"" + escaped(value) + "\"";
    if (const std::string_view language = Layouts[session.language()][control].language; !language.empty())
        html += " lang=" + std::string(language);
    // The keyboard's focus is the session's; the page's follows it, for screen readers.
    if (row.clickable || row.kind == Kind::List)
        html += " tabindex=-1";
    if (row.kind == Kind::Window ? !session.inSight(control) : !row.shown)
        html += " hidden";
    if (row.kind == Kind::Window)
        html += " class=screen style=\"--w:" + std::to_string(box.width) + ";--h:" + std::to_string(box.height) + "\"";
    else
        html += " style=\"" + place(box) + "color:" + css(session.accessible(control).colour) + "\"";
    html += "><div class=plan>" + shapes(session, control) + "</div>";
    for (int child = control + 1; child < ids::Count; ++child)
        if (Controls[child].parent == control)
            html += markup(session, child);
    return html + "</div>";
}

void startPage(Session::Services services)
{
    static Page page(services);
    current = &page.session;
}

EMSCRIPTEN_BINDINGS(morvik)
{
    using emscripten::function;
    function("press", +[](int control, bool second) { current->press(control, second); });
    function("release", +[](int control) { current->release(control); });
    function("click", +[](int control) { current->click(control); });
    // A point in the list, in CSS pixels: the page's plan is drawn at 100 %.
    function("pressList", +[](int list, int x, int y) { current->pressList(list, {x, y}); });
    function("pressEntry", +[](int list, int row) { current->pressEntry(list, row); });
    function("wheel", +[](int list, int delta) { current->wheel(list, delta); });
    function("key", &key);
    function("keyboardLost", +[] { current->keyboardLost(); });
    // The browser's Back while the table is shown (show() above).
    function("back", +[] { current->closeRequest(b::Form1); });
    // The system's high-contrast setting (web/events.js): off, on in the
    // game's own colours (none given), or on in the system's, as red, green
    // and blue of its window, text, highlight, link and grey text.
    function("contrast", +[](bool on, val rgb) {
        const auto at = [&](int i) { return Rgb{rgb[3 * i].as<std::uint8_t>(), rgb[3 * i + 1].as<std::uint8_t>(), rgb[3 * i + 2].as<std::uint8_t>()}; };
        current->setHighContrast(!on ? std::nullopt
                                 : rgb["length"].as<int>() == 0 ? std::optional(HighContrast)
                                                                : std::optional(Palette{at(0), at(1), at(2), at(3), at(4)}));
    });
}

} // namespace morvik
