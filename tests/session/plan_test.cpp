// Each control's shapes in device pixels at 100 % and 200 %, with the marks of
// the chip in hand and the keyboard's focus, written out as a front end draws them.
#include "support/table.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace morvik::testing {
namespace {

namespace b = ids::table;

std::string hex(Rgb c)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02x%02x%02x", c.r, c.g, c.b);
    return text;
}

std::string xy(Point p) { return std::to_string(p.x) + "," + std::to_string(p.y); }
std::string box(Box b) { return xy({b.x, b.y}) + " " + std::to_string(b.width) + "x" + std::to_string(b.height); }

struct Describe {
    std::string operator()(const Fill& f) const { return "fill " + box(f.box) + " " + hex(f.colour); }
    std::string operator()(const Stroke& s) const
    {
        return "stroke " + xy(s.from) + "-" + xy(s.to) + " w" + std::to_string(s.width) + " " + hex(s.colour);
    }
    std::string operator()(const Disc& d) const { return "disc " + box(d.box) + " " + hex(d.colour); }
    std::string operator()(const Run& r) const
    {
        return "run " + box(r.box) + " " + std::to_string(r.pixels) + "px " + hex(r.colour) + " " + r.text;
    }
    std::string operator()(const Picture& p) const
    {
        return "picture " + std::to_string(static_cast<int>(p.art)) + "." + std::to_string(p.index) + "@"
            + std::to_string(p.density) + " " + box(p.box);
    }
};

std::vector<std::string> drawn(const Table& t, int control, int dpi, bool beneath = false)
{
    std::vector<std::string> shapes;
    for (const Shape& shape : t.session.plan(control, {dpi}, beneath))
        shapes.push_back(std::visit(Describe{}, shape));
    return shapes;
}

using Shapes = std::vector<std::string>;

TEST(Plan, CaptionsCentredOrFromTheLeftAtTheSizeThatFitsEachScale)
{
    Table t;
    EXPECT_EQ(drawn(t, b::Label1 + 17, 96), (Shapes{"run 16,0 32x31 27px 000000 17"}));
    EXPECT_EQ(drawn(t, b::Label1 + 17, 120), (Shapes{"run 20,0 40x39 34px 000000 17"})) << "27 px at 125 % round up";
    EXPECT_EQ(drawn(t, b::Label1 + 17, 192), (Shapes{"run 33,0 64x62 54px 000000 17"}));
    EXPECT_EQ(drawn(t, b::Label2, 96), (Shapes{"run 12,0 64x31 27px ffffff  Big", "run 4,31 80x31 27px ffffff 19-36"}));
    // At 125 % the remark's 24 pixels would take 546 of its 536.
    EXPECT_EQ(drawn(t, ids::title::Label2, 120),
              (Shapes{"run 0,0 507x25 22px efefef Tato ruleta se hraje jako běžná ruleta."}));
    EXPECT_EQ(drawn(t, b::Cislo, 96), (Shapes{"fill 0,0 73x33 008000", "stroke 0,0-72,0 w1 808080",
                                              "stroke 0,0-0,32 w1 808080", "stroke 1,32-72,32 w1 ffffff",
                                              "stroke 72,1-72,32 w1 ffffff", "run 28,1 16x31 27px c00000 1"}));
}

TEST(Plan, FiguresAndPicturesAtTwiceTheSizeAndWhatLiesBeneathASeeThroughControl)
{
    Table t;
    const Shapes cloth = drawn(t, b::Picture1, 192);
    ASSERT_EQ(cloth.size(), 1u + 2 + 31);
    EXPECT_EQ(cloth[0], "fill 0,0 1026x1186 008000");
    EXPECT_EQ(cloth[1], "disc 80,832 130x130 000000");
    EXPECT_EQ(cloth[3], "stroke 272,32-272,1154 w2 ffffff");
    EXPECT_EQ(drawn(t, ids::title::Image1, 192), (Shapes{"picture 1.-1@2 0,0 936x454"}));
    EXPECT_EQ(drawn(t, b::Image1 + 3, 96), (Shapes{"picture 3.3@1 0,0 60x60"}));

    const Shapes disc = drawn(t, b::Label5, 96, true);
    ASSERT_EQ(disc.size(), 1u + 2 + 31);
    EXPECT_EQ(disc[0], "fill 0,0 65x65 008000");
    EXPECT_EQ(disc[1], "disc 0,0 65x65 000000");
    EXPECT_EQ(disc[2], "disc 368,0 65x65 c00000");
    EXPECT_EQ(disc[3], "stroke 96,-400-96,161 w1 ffffff");
    EXPECT_EQ(drawn(t, b::Label5, 96, false), Shapes{});
}

TEST(Plan, BetListRowsWithTheSelectedOneMarked)
{
    Table t;
    t.play("$1 Red Odd");
    t.session.pressList(b::List1, {40, 40});
    EXPECT_EQ(drawn(t, b::List1, 96),
              (Shapes{"fill 0,0 329x345 000000", "fill 0,0 329x2 808080", "fill 0,0 2x345 808080",
                      "fill 2,343 327x2 ffffff", "fill 327,2 2x343 ffffff", "run 5,2 80x31 27px efefef Red-1",
                      "fill 2,33 325x31 000080", "run 5,33 80x31 27px ffffff Odd-1"}));
}

TEST(Plan, TheChipInHandAndTheKeyboardsFocusAreMarkedOnlyOnceTheKeyboardIsUsed)
{
    Table t;
    t.play("$5");
    EXPECT_EQ(drawn(t, b::Image1 + 1, 192),
              (Shapes{"picture 3.1@2 0,0 120x120", "fill 0,0 120x6 ffee00", "fill 0,114 120x6 ffee00",
                      "fill 0,0 6x120 ffee00", "fill 114,0 6x120 ffee00"}));
    t.session.key(Key::Tab, true);
    EXPECT_EQ(drawn(t, b::Image1 + 2, 96),
              (Shapes{"picture 3.2@1 0,0 60x60", "fill 0,0 60x2 00ffff", "fill 0,58 60x2 00ffff",
                      "fill 0,0 2x60 00ffff", "fill 58,0 2x60 00ffff"}));
    t.play("17");
    EXPECT_EQ(drawn(t, b::Image1 + 2, 96), (Shapes{"picture 3.2@1 0,0 60x60"})) << "the mouse hides the mark";
    EXPECT_EQ(drawn(t, b::Label1 + 17, 96), (Shapes{"run 16,0 32x31 27px 000000 17"}));
}

TEST(Plan, HighContrastFillsRedNumbersAndRingsTheMarksInTheSystemsColoursAtTheSamePlaces)
{
    Table t("Play $1 Red");
    t.session.pressEntry(b::List1, 0);
    t.session.setHighContrast(Palette{{1, 1, 1}, {2, 2, 2}, {3, 3, 3}, {4, 4, 4}, {5, 5, 5}});
    t.session.press(b::Label1 + 1);
    t.play("Left");
    EXPECT_EQ(drawn(t, b::Label1 + 1, 96),
              (Shapes{"fill 0,0 65x25 020202", "run 24,0 16x31 27px 010101 1", "fill 0,0 65x2 030303",
                      "fill 0,23 65x2 030303", "fill 0,0 2x25 030303", "fill 63,0 2x25 030303", "fill 1,1 63x1 010101",
                      "fill 1,23 63x1 010101", "fill 1,1 1x23 010101", "fill 63,1 1x23 010101"}));
    EXPECT_EQ(drawn(t, b::Label1 + 17, 192), (Shapes{"run 33,0 64x62 54px 020202 17"}));
    EXPECT_EQ(drawn(t, b::Image1, 192)[5], "fill 4,4 112x2 010101") << "the chip in hand's ring inside 4 of 6";
    EXPECT_EQ(drawn(t, b::Cislo, 192), (Shapes{"fill 0,0 146x66 010101", "stroke 0,0-144,0 w2 050505",
                                               "stroke 0,0-0,64 w2 050505", "stroke 2,64-144,64 w2 020202",
                                               "stroke 144,2-144,64 w2 020202", "fill 2,2 142x62 020202",
                                               "run 57,2 32x62 54px 010101 1"}));
    const Shapes discs = drawn(t, b::Label5, 96, true);
    EXPECT_EQ(Shapes(discs.begin() + 1, discs.begin() + 4),
              (Shapes{"disc 0,0 65x65 020202", "disc 3,3 59x59 010101", "disc 368,0 65x65 020202"}));
    EXPECT_EQ(drawn(t, b::List1, 96), (Shapes{"fill 0,0 329x345 010101", "fill 0,0 329x2 050505", "fill 0,0 2x345 050505",
                                              "fill 2,343 327x2 020202", "fill 327,2 2x343 020202",
                                              "fill 2,2 325x31 030303", "run 5,2 80x31 27px 010101 Red-1"}));
    EXPECT_EQ(drawn(t, ids::title::Form2, 96)[1], "fill 0,0 809x10 040404");
    t.session.setHighContrast(std::nullopt);
    EXPECT_EQ(drawn(t, b::Label1 + 17, 192), (Shapes{"run 33,0 64x62 54px 000000 17"}));
}

} // namespace
} // namespace morvik::testing
