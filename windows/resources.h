// Resource numbers shared by resources.rc and the code that loads them.
#pragma once

#define MORVIK_FONT 101
// The picture `art` shows (index: a chip's denomination) at `density` device
// pixels to the layout pixel, 1 or 2; windows/CMakeLists.txt numbers them so.
#define MORVIK_PICTURE(art, index, density) (100 * (density) + 10 * (art) + (index))

