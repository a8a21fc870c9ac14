// The player's language chosen, the Czech table, every layout text the catalogue's (po/).
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
    for (const auto& [languages, czech] : std::vector<std::pair<std::string, bool>>{
             {"cs-CZ en-US", true}, {"de-AT cs", true}, {"en-GB cs-CZ", false}, {"csb-PL", false}, {"", false}})
        EXPECT_EQ(Table("Play Next", nullptr, languages).looks[b::Label4].lines[0], czech ? "Hráč 2" : "Player 2");
    Table cz("Play $50 Red $20 Big 17", nullptr, "cs-CZ");
    EXPECT_EQ(cz.list(0), (std::vector<std::string>{"Červená-50", "Velká-20", "17-20"}));
    EXPECT_EQ(cz.state().List1[0][0].target, Target{Outside::Red}); // the game's own record
    EXPECT_EQ(cz.session.accessible(b::Label1 + 17).description, "černá");
    EXPECT_EQ(cz.session.accessible(b::Label1).description, "zelená");
    const auto& layout = Layouts[cz.session.language()];
    EXPECT_EQ(layout[t::Label1 + 1].fontPixels, 77); // "Konec", as large as fits
    EXPECT_EQ(layout[b::Label2].lines.line, (std::array<std::string_view, 2>{"Velká", "19-36"}));
    EXPECT_EQ(layout[t::Label2].language, ""); // Czech as the rest
}

// podebug's pseudo-language changes every letter of the template: a text not the catalogue's
// stays as it is. Reported: each caption's room for a language a third longer than English.
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
        const int widest = pseudo.lines.widest(english.fontPixels) * 4 / 3;
        if (english.text.find_first_not_of("0123456789") != std::string_view::npos)
            room.emplace_back(english.box.width - widest, layoutName(id) + " " + std::string(english.text));
    }
    std::sort(room.begin(), room.end());
    for (const auto& [pixels, caption] : room)
        std::cout << pixels << " pixels to spare for a third more: " << caption << '\n';
}

} // namespace
} // namespace morvik::testing
