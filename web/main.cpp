// Morvik Roulette in a web page: two players, one table, one mouse or screen.
// The page's events come in through the functions bound here, as the browser
// reports them (web/events.js); what they mean is the session's to decide.
#include "game/wheel.h"
#include "web/page.h"

#include <emscripten/bind.h>
#include <sys/time.h>

#include <ctime>

namespace {

class LocalClock : public morvik::Clock {
public:
    float timeOfDay() override
    {
        timeval now{};
        gettimeofday(&now, nullptr);
        std::tm local{};
        localtime_r(&now.tv_sec, &local);
        return static_cast<float>(local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec)
            + static_cast<float>(now.tv_usec) / 1e6f;
    }
};

morvik::Page* page = nullptr;

morvik::Session& session()
{
    return page->session();
}

// The key's name as the browser gives it: a Mac's key labelled delete
// sends Backspace, and the session takes both.
void key(const std::string& name, bool down)
{
    using morvik::Key;
    session().key(name == "Delete" ? Key::Delete : name == "Backspace" ? Key::Backspace : Key::Other, down);
}

} // namespace

int main()
{
    static LocalClock clock;
    static morvik::WheelRandom random;
    static morvik::Page game({clock, random});
    page = &game;
}

EMSCRIPTEN_BINDINGS(morvik)
{
    using emscripten::function;
    function("press", +[](int control) { session().press(control); });
    function("release", +[](int control) { session().release(control); });
    function("click", +[](int control) { session().click(control); });
    function("pressEntry", +[](int list, int row) { session().pressEntry(list, row); });
    function("key", &key);
    function("keyboardLost", +[] { session().keyboardLost(); });
    // The browser's Back while the table is shown (web/page.cpp).
    function("back", +[] { session().closeRequest(morvik::ids::table::Form1); });
    function("fit", +[] { page->fit(); });
}
