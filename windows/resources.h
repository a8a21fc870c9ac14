// Resource numbers shared by resources.rc and the code that loads them.
#pragma once

#define MORVIK_FONT 101
// The picture `art` shows (index: a chip's denomination) at `density` device
// pixels to the layout pixel, 1 or 2; windows/CMakeLists.txt numbers them so.
#define MORVIK_PICTURE(art, index, density) (100 * (density) + 10 * (art) + (index))

#ifndef RC_INVOKED
#include "layout/controls.h"
#include "windows/win32.h"

namespace morvik::win32 {

// The picture as rendered for `density` (1 or 2): a bitmap of the layout's
// size times the density. `index` counts for the chips only (the title's and
// the logo's rows have none). One that cannot be read ends the program.
inline Gdi<HBITMAP> picture(Art art, int index, int density)
{
    return bitmapResource(MORVIK_PICTURE(static_cast<int>(art), art == Art::Chip ? index : 0, density));
}

} // namespace morvik::win32
#endif
