// Where a caption's lines break and what size a text needs to fit its box,
// worked out once for every front end. The game's one typeface, Liberation
// Mono Bold (Courier New's metrics), is monospaced: every glyph advances
// 1229/2048 of the font's pixel size, in whole pixels once hinted, so a
// caption's width is exact arithmetic.
#pragma once

#include <array>
#include <string_view>

namespace morvik {

constexpr int advance(int pixelSize)
{
    return (pixelSize * 1229 + 1024) / 2048;
}

// From one line's top to the next's: the font's ascent and descent, 2320/2048
// of its size, rounded up.
constexpr int lineSpacing(int pixelSize)
{
    return (pixelSize * 2320 + 2047) / 2048;
}

// Characters, not bytes: the title's remark is Czech.
constexpr int length(std::string_view utf8)
{
    int characters = 0;
    for (char c : utf8)
        characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return characters;
}

constexpr int textWidth(std::string_view utf8, int pixelSize)
{
    return length(utf8) * advance(pixelSize);
}

// A caption as it is drawn: at most two lines, top to bottom.
struct Lines {
    std::array<std::string_view, 2> line{};
    int count = 0;

    constexpr int widest(int pixelSize) const
    {
        int width = 0;
        for (int i = 0; i < count; ++i)
            width = width < textWidth(line[i], pixelSize) ? textWidth(line[i], pixelSize) : width;
        return width;
    }
};

// Breaks `text` at its runs of spaces where it is wider than `width`: the run
// that ends a line goes, the spaces before the first word stay (" Big   19-36"
// is " Big" over "19-36"). A word wider than the box keeps a line of its own.
constexpr Lines wrap(std::string_view text, int width, int pixelSize)
{
    constexpr auto none = std::string_view::npos;
    Lines lines;
    std::size_t start = 0;
    std::size_t end = text.find(' ', text.find_first_not_of(' ')); // the first word's end
    while (end != none) {
        const std::size_t next = text.find_first_not_of(' ', end);
        if (next == none)
            break;
        const std::size_t wordEnd = text.find(' ', next);
        const std::string_view longer = text.substr(start, wordEnd == none ? none : wordEnd - start);
        if (textWidth(longer, pixelSize) > width && lines.count + 1 < static_cast<int>(lines.line.size())) {
            lines.line[lines.count++] = text.substr(start, end - start);
            start = next;
        }
        end = wordEnd;
    }
    lines.line[lines.count++] = text.substr(start, end == none ? none : end - start);
    return lines;
}

// The largest pixel size, at most `pixelSize`, at which every line fits
// `width`: a counter of three digits, or a caption on a screen whose scale
// rounds the font up.
constexpr int fittingPixelSize(const Lines& lines, int width, int pixelSize)
{
    while (pixelSize > 1 && lines.widest(pixelSize) > width)
        --pixelSize;
    return pixelSize;
}

} // namespace morvik
