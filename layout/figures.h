// The shapes the layout tables are made of, in pixels of a window at 96 dpi.
// Plain data that every front end reads and draws in its own way.
#pragma once

#include "game/rules.h"

namespace morvik {

struct Point {
    int x = 0, y = 0;
};

// Relative to the container; the box covers x to x + width - 1.
struct Box {
    int x = 0, y = 0, width = 0, height = 0;
};

// One pixel wide, both end points included.
struct LineFigure {
    Point from, to;
    Rgb colour;
};

// A filled circle inscribed in its box.
struct DiscFigure {
    Box bounds;
    Rgb colour;
};

// An outline whose whole pen width lies inside the box.
struct FrameFigure {
    Box bounds;
    int penWidth = 1;
    Rgb colour;
};

} // namespace morvik
