// The pictures that make up the game's look: title, maker's logo, betting
// chips and the application icon. Each function paints one picture.
#pragma once

#include <QImage>
#include <QString>

#include <array>

namespace artwork {

// Family names of the faces loaded from the Liberation font files.
struct Fonts {
    QString sans;
};

struct ChipDesign {
    int value;
    QRgb colour;
};

// The chip denominations the game offers, in the colours players learn to
// recognise at a glance.
inline constexpr std::array<ChipDesign, 6> kChips = {{
    {1, 0xffd62828},    // red
    {5, 0xff14a3a0},    // teal
    {10, 0xff9b4fd8},   // purple
    {20, 0xff2fa844},   // green
    {50, 0xfff27f16},   // orange
    {100, 0xff2f6ae0},  // blue
}};

inline constexpr std::array<int, 6> kIconSizes = {16, 32, 48, 64, 128, 256};

// 1004 x 515, transparent outside the letters.
QImage drawTitle(const Fonts& fonts);
// 222 x 100 on black.
QImage drawLogo(const Fonts& fonts);
// 60 x 60 on black.
QImage drawChip(const ChipDesign& chip, const Fonts& fonts);
// size x size, transparent outside the wheel.
QImage drawAppIcon(int size);

}  // namespace artwork
