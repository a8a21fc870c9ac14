// The little the two windows need on top of the Win32 API: owners for GDI
// objects, the layout scaled to the window's dots per inch, the font, and
// labels drawn from the layout tables.
#pragma once

#include "game/rules.h"
#include "layout/figures.h"

#include <windows.h>

#include <memory>
#include <span>
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

// The layout is drawn for 96 dpi; this is the one place it is scaled to the
// window's dots per inch.
struct Scale {
    UINT dpi = USER_DEFAULT_SCREEN_DPI;

    int operator()(int pixels) const { return MulDiv(pixels, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI); }
    RECT rect(Box b) const { return {(*this)(b.x), (*this)(b.y), (*this)(b.x + b.width), (*this)(b.y + b.height)}; }
    static Scale of(HWND window) { return {GetDpiForWindow(window)}; }
};

// What a container paints under its controls: its colour and its fixed figures.
struct Backdrop {
    Rgb colour;
    std::span<const LineFigure> lines;
    std::span<const DiscFigure> discs;
    std::span<const FrameFigure> frames;
};

// Paints the part of the backdrop under `area` (layout pixels of the container)
// into a device context whose origin is the area's top left corner.
void paintBackdrop(HDC dc, const Backdrop& backdrop, Box area, Scale scale);

// The game's font, Liberation Mono Bold, stands in for Courier New: the same
// letters everywhere, whatever fonts the machine has. Private to the process.
void installLayoutFont(HINSTANCE instance, int resource);
Gdi<HFONT> layoutFont(int pixelSize, Scale scale);

// How an owner-drawn label looks. Its caption is the control's window text,
// which is also what screen readers read; a picture is drawn scaled into the
// whole label.
struct Look {
    Box box; // in its container
    const Backdrop* backdrop = nullptr; // shows through around the text
    Rgb colour{};
    HFONT font = nullptr; // none: the caption is only for screen readers
    UINT format = DT_CENTER; // DrawText alignment
    bool fitText = false; // shrinks the font until the caption fits the width
    HBITMAP picture = nullptr;
};

// A static control that draws itself from `look` (kept with the control, not
// owned) and, when `clickable`, reports clicks to its parent. Double clicks
// count as two clicks (STN_CLICKED, then STN_DBLCLK).
HWND createLabel(HWND parent, int id, std::wstring_view caption, Look* look, bool clickable);
Look& lookOf(HWND label);

// WM_DRAWITEM of any owner-drawn label.
void drawLabel(const DRAWITEMSTRUCT& item);

// Places a control at its box, scaled.
void place(HWND control, Box box, Scale scale);

// Registers the window class `className` with `proc` (again is harmless), then
// creates a window of it with `self` as its creation parameter, for instance().
HWND createWindow(const wchar_t* className, WNDPROC proc, DWORD exStyle, const wchar_t* title, DWORD style,
                  HWND parent, int id, void* self);

// One of the pictures built into the program; the program ends with a message
// when it cannot be read.
Gdi<HBITMAP> bitmapResource(int resource);

// A frameless window of the layout's size in the middle of its monitor's work area.
void centre(HWND window, int width, int height, Scale scale);

// Attaches `self` to the window on WM_NCCREATE and finds it again afterwards.
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
