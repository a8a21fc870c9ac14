// Every control of both windows in one table, in the order a front end makes
// them: a window before what it holds, a container before its contents, a
// control before those laid over it. A front end makes one native control per
// row and draws it as the row says; the session (session/) tells it what
// changes. Row numbers are the controls' numbers, named in `ids`.
#pragma once

#include "catalogue/Czech.h"
#include "catalogue/English.h"
#include "layout/table.h"
#include "layout/text.h"
#include "layout/title.h"

#include <span>
#include <string>

namespace morvik {

enum class Kind : std::uint8_t {
    Window, // Form2, Form1: a fill and figures; holds controls
    Box, // Picture1, Picture2: the same inside a window; hiding one hides all it holds
    Caption, // lines of text over whatever lies beneath
    Picture, // a picture scaled to fill the box
    Area, // nothing drawn: takes the clicks of the disc beneath
    List, // a bet list
    Readout, // Cislo: a changing number on a sunken box of its own
};

enum class Art : std::uint8_t { None, Title, Logo, Chip }; // a chip's denomination is its index

// What assistive technology is told a control is.
enum class Role : std::uint8_t { Window, Pane, Button, Graphic, Text, List, Readout };

struct Figures {
    std::span<const LineFigure> lines{};
    std::span<const DiscFigure> discs{};
    std::span<const FrameFigure> frames{};
};

struct Control {
    std::string_view name{}; // as the layout names it: "Label1"
    int index = -1; // element of an indexed group, -1 for a single control
    int parent = -1; // the window or box it lies in, -1 for a window
    Kind kind = Kind::Caption;
    Box box{}; // in its parent; a window's is its client area
    Rgb colour{}; // of the text
    Rgb fill{}; // of a window, box or readout
    Figures figures{}; // drawn on the fill, relative to the control
    int fontPixels = table::FontPixels;
    bool centred = true; // each line centred in the box, or from its left edge
    std::string_view text{}; // the caption as first shown, UTF-8
    Lines lines{}; // `text` as laid out at 96 dpi
    Art art = Art::None;
    bool clickable = false; // screen readers see a button
    Role role = Role::Text;
    bool shown = true; // when its window is first shown
    std::string_view spokenName{}; // what screen readers call it, when not its text
    std::string_view description{};
    std::string_view language{}; // of the caption, when not English
};

namespace ids {
namespace title {
inline constexpr int Form2 = 0, Image1 = 1, Image2 = 2, Label1 = 3 /* Play, Quit */, Label2 = 5;
}
namespace table {
inline constexpr int Form1 = 6, Picture1 = 7, Label1 = 8 /* 0 to 36 */, Label2 = 45 /* Big, Small, Even, Odd */,
                     Label5 = 49 /* the discs */, Picture2 = 51, Label4 = 52, Image1 = 53, Label3 = 59, Label6 = 65,
                     List1 = 66, Cislo = 68, Label7 = 69;
}
inline constexpr int Count = 70;
} // namespace ids
// The short names the code gives the windows' controls: t::Label1, b::Label1.
namespace t = ids::title;
namespace b = ids::table;

// The languages the game speaks, each with its texts from the catalogue
// (po/), by their keys there: English, the layout's own, first.
struct Language {
    std::string_view tag; // BCP 47
    std::span<const std::pair<std::string_view, std::string_view>> texts;
};
inline constexpr std::array<Language, 2> Languages{{{"en", catalogue::English}, {"cs", catalogue::Czech}}};

inline void missingFromTheCatalogue() {}
// The text the catalogue has under `key`; a key it lacks stops the build.
constexpr std::string_view tr(const Language& language, std::string_view key)
{
    for (const auto& [known, text] : language.texts)
        if (known == key)
            return text;
    missingFromTheCatalogue();
    return key;
}

constexpr std::array<Control, ids::Count> layOut(const Language& language)
{
    std::array<Control, ids::Count> c{};
    // A translation wider than its box is set as large as fits.
    auto caption = [](Control row, std::string_view text) {
        row.text = text;
        row.lines = wrap(row.text, row.box.width, row.fontPixels);
        row.fontPixels = fittingPixelSize(row.lines, row.box.width, row.fontPixels);
        return row;
    };
    auto say = [&](std::string_view key) { return tr(language, key); };
    constexpr std::string_view chips[DenominationCount]{"Chip1", "Chip5", "Chip10", "Chip20", "Chip50", "Chip100"};
    const Rgb white = table::White;

    c[t::Form2] = {.name = "Form2", .kind = Kind::Window, .box = {0, 0, title::Width, title::Height},
                   .fill = title::Background, .figures = {.frames = {&title::Shape1, 1}}, .spokenName = say("Name")};
    c[t::Image1] = {.name = "Image1", .parent = t::Form2, .kind = Kind::Picture, .box = title::Image1,
                    .art = Art::Title, .spokenName = say("Name")};
    c[t::Image2] = {.name = "Image2", .parent = t::Form2, .kind = Kind::Picture, .box = title::Image2,
                    .art = Art::Logo, .spokenName = say("Maker")};
    for (int i = 0; i < 2; ++i) {
        const title::Caption& choice = title::Label1[i];
        c[t::Label1 + i] = caption({.name = "Label1", .index = i, .parent = t::Form2, .box = choice.rect,
                                    .colour = choice.colour, .fontPixels = choice.pixelSize, .centred = false,
                                    .clickable = true}, say(choice.text));
    }
    c[t::Label2] = caption({.name = "Label2", .parent = t::Form2, .box = title::Label2.rect,
                            .colour = title::Label2.colour, .fontPixels = title::Label2.pixelSize, .centred = false,
                            .language = language.tag == "cs" ? "" : "cs"},
                           say(title::Label2.text));

    c[b::Form1] = {.name = "Form1", .kind = Kind::Window, .box = {0, 0, table::Width, table::Height},
                   .fill = table::Black, .spokenName = say("Table")};
    c[b::Picture1] = {.name = "Picture1", .parent = b::Form1, .kind = Kind::Box, .box = table::Picture1,
                      .fill = table::Picture1Colour, .figures = {table::Lines, table::Shape1}};
    for (int k = 0; k < NumberCount; ++k)
        c[b::Label1 + k] = caption({.name = "Label1", .index = k, .parent = b::Picture1, .box = table::Label1[k],
                                    .colour = CellColours[k], .clickable = true}, table::NumberTexts[k]);
    for (int i = 0; i < 4; ++i)
        c[b::Label2 + i] = caption({.name = "Label2", .index = i, .parent = b::Picture1, .box = table::Label2[i].rect,
                                    .colour = white, .clickable = true},
                                   say(table::Label2[i].caption));
    for (int i = 0; i < 2; ++i)
        c[b::Label5 + i] = {.name = "Label5", .index = i, .parent = b::Picture1, .kind = Kind::Area,
                            .box = table::Shape1[i].bounds, .clickable = true,
                            .spokenName = say(OutsideWords[static_cast<int>(table::Label5Targets[i])])};
    c[b::Picture2] = {.name = "Picture2", .parent = b::Form1, .kind = Kind::Box, .box = table::Picture2,
                      .fill = table::Picture2Colour};
    c[b::Label4] = caption({.name = "Label4", .parent = b::Picture2, .box = table::Label4, .colour = white},
                           say("Player1"));
    for (int i = 0; i < DenominationCount; ++i) {
        c[b::Image1 + i] = {.name = "Image1", .index = i, .parent = b::Picture2, .kind = Kind::Picture,
                            .box = table::Image1[i], .art = Art::Chip, .clickable = true, .spokenName = say(chips[i])};
        c[b::Label3 + i] = {.name = "Label3", .index = i, .parent = b::Picture2, .box = table::Label3[i],
                            .colour = white};
    }
    c[b::Label6] = caption({.name = "Label6", .parent = b::Picture2, .box = table::Label6, .colour = white,
                            .clickable = true}, say("Next"));
    for (int p = 0; p < PlayerCount; ++p)
        c[b::List1 + p] = {.name = "List1", .index = p, .parent = b::Form1, .kind = Kind::List, .box = table::List1,
                           .colour = table::LightGrey, .fill = table::Black, .shown = p == 0,
                           .spokenName = say(p == 0 ? "Bets1" : "Bets2")};
    c[b::Cislo] = caption({.name = "Cislo", .parent = b::Form1, .kind = Kind::Readout, .box = table::Cislo,
                           .colour = CellColours[1], .fill = table::CisloBackground,
                           .figures = {table::CisloEdge}, .spokenName = say("DrawnNumber")}, "1");
    c[b::Label7] = caption({.name = "Label7", .parent = b::Form1, .box = table::Label7, .colour = white,
                            .clickable = true, .description = say("CloseDescription")}, say("Close"));
    for (Control& row : c)
        row.role = row.clickable                 ? Role::Button
            : row.kind == Kind::Window           ? Role::Window
            : row.kind == Kind::Box              ? Role::Pane
            : row.kind == Kind::Picture          ? Role::Graphic
            : row.kind == Kind::List             ? Role::List
            : row.kind == Kind::Readout          ? Role::Readout
                                                 : Role::Text;
    return c;
}

inline constexpr std::array<std::array<Control, ids::Count>, Languages.size()> Layouts{layOut(Languages[0]),
                                                                                       layOut(Languages[1])};
inline constexpr const std::array<Control, ids::Count>& Controls = Layouts[0];

// Every caption fits its box at 96 dpi, on the lines it breaks into, in
// every language, and none is set smaller than four fifths of its size.
static_assert([] {
    for (const auto& layout : Layouts)
        for (int i = 0; i < ids::Count; ++i)
            if (layout[i].lines.widest(layout[i].fontPixels) > layout[i].box.width
                || layout[i].fontPixels * 5 < Controls[i].fontPixels * 4)
                return false;
    return true;
}());

// Windows, boxes and the readout paint their whole box in their fill; the
// other controls let what lies beneath them show through.
constexpr bool filled(const Control& row)
{
    return row.kind == Kind::Window || row.kind == Kind::Box || row.kind == Kind::Readout;
}

// The fill that shows beneath a control's caption.
constexpr Rgb fillUnder(int control)
{
    while (!filled(Controls[control]))
        control = Controls[control].parent;
    return Controls[control].fill;
}

// What tests, drivers and the desktop find a control by: "Label1(17)", "Form1".
inline std::string layoutName(int control)
{
    const Control& row = Controls[control];
    std::string name(row.name);
    if (row.index >= 0)
        name.append("(").append(std::to_string(row.index)).append(")");
    return name;
}

// The window a control lies in.
constexpr int windowOf(int control)
{
    while (Controls[control].parent >= 0)
        control = Controls[control].parent;
    return control;
}

} // namespace morvik
