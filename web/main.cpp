// Morvik Roulette in a web page: two players, one table, one mouse or screen.
// The page's events come in through the functions bound here, as the browser
// reports them (web/events.js); what they mean is the session's to decide.
#include "game/wheel.h"
#include "web/page.h"

#include <emscripten/bind.h>

#include <string_view>
#include <utility>

namespace {

morvik::Session* session = nullptr;

// The key as the browser names it (KeyboardEvent.key). A Mac's key labelled
// delete sends Backspace.
bool key(const std::string& name, bool shift, bool down)
{
    using morvik::Key;
    static const std::pair<std::string_view, Key> keys[]{{"Delete", Key::Delete}, {"Backspace", Key::Backspace},
        {"Tab", Key::Tab}, {"Enter", Key::Enter}, {" ", Key::Space}, {"ArrowLeft", Key::Left},
        {"ArrowRight", Key::Right}, {"ArrowUp", Key::Up}, {"ArrowDown", Key::Down}};
    Key k = Key::Other;
    for (const auto& [known, meant] : keys)
        if (name == known)
            k = meant;
    return session->key(k == Key::Tab && shift ? Key::BackTab : k, down);
}

} // namespace

int main()
{
    static morvik::LocalClock clock;
    static morvik::WheelRandom random;
    session = &morvik::startPage({clock, random});
}

EMSCRIPTEN_BINDINGS(morvik)
{
    using emscripten::function;
    function("press", +[](int control, bool second) { session->press(control, second); });
    function("release", +[](int control) { session->release(control); });
    function("click", +[](int control) { session->click(control); });
    // A point in the list, in CSS pixels: the page's plan is drawn at 100 %.
    function("pressList", +[](int list, int x, int y) { session->pressList(list, {x, y}, morvik::Scale{96}); });
    function("pressEntry", +[](int list, int row) { session->pressEntry(list, row); });
    function("wheel", +[](int list, int notches) { session->wheel(list, notches); });
    function("key", &key);
    function("keyboardLost", +[] { session->keyboardLost(); });
    // The browser's Back while the table is shown (web/page.cpp).
    function("back", +[] { session->closeRequest(morvik::ids::table::Form1); });
}
