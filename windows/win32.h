// The little the game's windows need on top of the Win32 API: owners for GDI
// objects, the layout scaled to a window's dots per inch, the font, the
// pictures, and a window's own data kept with it.
#pragma once

#include "game/rules.h"
#include "layout/figures.h"

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

namespace morvik::win32 {

// Owns one brush, pen, font or bitmap and deletes it once.
struct GdiDelete {
    void operator()(void* object) const { DeleteObject(static_cast<HGDIOBJ>(object)); }
};
template <class Handle>
using Gdi = std::unique_ptr<std::remove_pointer_t<Handle>, GdiDelete>;

// Selects an object into a device context for the scope, then puts back the old one.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc(dc), old(SelectObject(dc, object)) {}
    ~Selection() { SelectObject(dc, old); }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc;
    HGDIOBJ old;
};

inline COLORREF colour(Rgb c) { return RGB(c.r, c.g, c.b); }
std::wstring widen(std::string_view utf8);

// The layout is drawn for 96 dpi; this is the one place it is scaled to a
// window's dots per inch.
struct Scale {
    UINT dpi = USER_DEFAULT_SCREEN_DPI;

    int operator()(int pixels) const { return MulDiv(pixels, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI); }
    RECT rect(Box b) const { return {(*this)(b.x), (*this)(b.y), (*this)(b.x + b.width), (*this)(b.y + b.height)}; }
};

// The game's font, Liberation Mono Bold, stands in for Courier New: the same
// letters everywhere, whatever fonts the machine has. Private to the process.
void installLayoutFont(HINSTANCE instance, int resource);
Gdi<HFONT> layoutFont(int devicePixels);

// One of the pictures built into the program; the program ends with a message
// when it cannot be read.
Gdi<HBITMAP> bitmapResource(int resource);

// Attaches `self`, the window's creation parameter, to the window on
// WM_NCCREATE and finds it again afterwards.
template <class Self>
Self* instance(HWND window, UINT message, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Self*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        return self;
    }
    return reinterpret_cast<Self*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

} // namespace morvik::win32
