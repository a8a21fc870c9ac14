// The layout in every language of the catalogue (po/): the player's language
// chosen, the Czech table as a Czech player meets it, and every text of the
// layout the catalogue's.
#include "catalogue/Pseudo.h"
#include "support/table.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace morvik::testing {
namespace {

namespace b = ids::table;
namespace t = ids::title;

TEST(Catalogue, TheFirstOfThePlayersLanguagesTheGameSpeaksInCzechAsWritten)
{
    for (const auto& [languages, czech] : std::vector<std::pair<std::vector<std::string>, bool>>{
             {{"cs-CZ", "en-US"}, true}, {{"de-AT", "cs"}, true}, {{"en-GB", "cs-CZ"}, false}, {{"csb-PL"}, false}, {{}, false}}) {
        Table table("Play $50 Red Next", nullptr, languages);
        EXPECT_EQ(table.looks[b::Label4].lines[0], czech ? "Hráč 2" : "Player 2") << languages.size();
    }
    Table cz("Play $50 Red $20 Big 17", nullptr, {"cs-CZ"});
    EXPECT_EQ(cz.list(0), (std::vector<std::string>{"Červená-50", "Velká-20", "17-20"}));
    EXPECT_EQ(cz.state().List1[0][0].target, Target{Outside::Red}); // the game's own record
    EXPECT_EQ(cz.descriptions[b::Image1 + 4], "1 žeton");
    EXPECT_EQ(cz.descriptions[b::Image1 + 3], "žetonů: 0");
    EXPECT_EQ(cz.session.accessible(b::Label5).name, "Černá");
    EXPECT_EQ(cz.session.accessible(b::Label7).description, "Zpět na úvodní okno");
    const auto& layout = Layouts[cz.session.language()];
    struct Caption { int id; Lines lines; int pixels; };
    for (const Caption& c : {Caption{t::Label1, {{"Hrát"}, 1}, 96}, {t::Label1 + 1, {{"Konec"}, 1}, 77},
                             {b::Label6, {{"Další"}, 1}, 22}, {b::Label2, {{"Velká", "19-36"}, 2}, 27},
                             {b::Label2 + 3, {{"Lichá"}, 1}, 27}, {t::Label2, {{"Tato ruleta se hraje jako běžná ruleta."}, 1}, 19}}) {
        EXPECT_EQ(layout[c.id].lines.line, c.lines.line) << layoutName(c.id);
        EXPECT_EQ(layout[c.id].fontPixels, c.pixels) << layoutName(c.id);
    }
    EXPECT_EQ(layout[t::Label2].language, "");
    EXPECT_EQ(Controls[t::Label2].language, "cs");
}

// A language made from the template by the translators' own tool (podebug),
// each letter another that looks like it: a text the layout writes itself,
// not the catalogue's, stays as it is. The boxes tightest for a language a
// third longer than English are reported.
TEST(Catalogue, EveryTextOfTheLayoutIsTheCatalogues)
{
    const auto layout = layOut({"x-pseudo", catalogue::Pseudo});
    std::vector<std::pair<int, std::string>> room;
    for (int id = 0; id < ids::Count; ++id) {
        const Control &english = Controls[id], &pseudo = layout[id];
        for (const auto& [mine, catalogues] : {std::pair{english.text, pseudo.text},
                                               {english.spokenName, pseudo.spokenName},
                                               {english.description, pseudo.description}})
            if (mine.find_first_not_of("0123456789") != std::string_view::npos) {
                EXPECT_NE(mine, catalogues) << layoutName(id);
            }
        int widest = 0;
        for (int i = 0; i < pseudo.lines.count; ++i)
            widest = std::max(widest, (length(pseudo.lines.line[i]) * 4 + 2) / 3 * advance(english.fontPixels));
        if (!english.text.empty() && english.text.find_first_not_of("0123456789") != std::string_view::npos)
            room.emplace_back(english.box.width - widest, layoutName(id) + " " + std::string(english.text));
    }
    std::sort(room.begin(), room.end());
    for (const auto& [pixels, caption] : room)
        std::cout << pixels << " pixels to spare for a third more: " << caption << '\n';
}

} // namespace
} // namespace morvik::testing
