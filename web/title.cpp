// Writes the page (argument 1) to argument 2 with the title screen's markup
// in place of its "<!-- the title -->", made as the game makes it when it
// starts, so that the title shows before the game's code has loaded.
#include "web/page.h"

#include <fstream>
#include <iterator>

namespace {

struct Unused final : morvik::Clock, morvik::RandomSource, morvik::Display {
    float timeOfDay() override { return 0; }
    void seed(float) override {}
    float next() override { return 0; }
    void makeTable() override {}
    void show(int, bool) override {}
    void redraw(int) override {}
    void announce(int) override {}
    void quit() override {}
};

} // namespace

int main(int, char** argv)
{
    Unused unused;
    morvik::Session session({unused, unused}, unused);
    session.start();
    std::ifstream page(argv[1]);
    std::string html(std::istreambuf_iterator<char>(page), {});
    const std::string mark = "<!-- the title -->";
    html.replace(html.find(mark), mark.size(), morvik::markup(session, morvik::ids::title::Form2));
    std::ofstream(argv[2]) << html;
}
