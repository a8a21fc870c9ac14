// Writes the page (argument 1) into the site (argument 3) with the title screen
// in place of its "<!-- the title -->", made as the game makes it, to show before
// the game's code has loaded, each "{{Key}}" the catalogue's English (po/), and in
// "{{texts}}" every language's; the manifest (argument 2) too, for every language.
#include "web/page.h"

#include <fstream>
#include <iterator>
#include <set>

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

std::set<std::string> keys; // of the page's texts

// The text with each "{{Key}}" the language's.
std::string said(std::string text, const morvik::Language& language)
{
    for (auto at = text.find("{{"); at != std::string::npos; at = text.find("{{", at + 1))
        if (const std::string key = text.substr(at + 2, text.find("}}", at) - at - 2); key != "texts")
            text.replace(at, key.size() + 4, morvik::tr(language, *keys.insert(key).first));
    return text;
}

} // namespace

int main(int, char** argv)
{
    using namespace morvik;
    auto read = [](const char* file) { std::ifstream in(file); return std::string(std::istreambuf_iterator(in), {}); };
    Unused unused;
    Session session({unused, unused}, unused);
    session.start();
    std::string html = said(read(argv[1]), Languages[0]);
    const std::string mark = "<!-- the title -->";
    html.replace(html.find(mark), mark.size(), markup(session, ids::title::Form2));
    std::string texts = "{";
    for (const Language& language : Languages) {
        texts += "\"" + std::string(language.tag) + "\": {";
        for (const std::string& key : keys)
            if (tr(language, key) != tr(Languages[0], key))
                texts += "\"" + std::string(tr(Languages[0], key)) + "\": \"" + std::string(tr(language, key)) + "\", ";
        texts += "}, ";
    }
    html.replace(html.find("{{texts}}"), 9, texts + "}");
    std::ofstream(std::string(argv[3]) + "/index.html") << html;
    for (const Language& language : Languages) {
        const std::string tag = &language == &Languages[0] ? "" : "." + std::string(language.tag);
        std::ofstream(std::string(argv[3]) + "/manifest" + tag + ".webmanifest") << said(read(argv[2]), language);
    }
}
