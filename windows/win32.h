// The little the game's windows need on top of the Win32 API: owners for GDI
// objects, the font, the pictures, and the one function that draws what the
// session's plan says with GDI.
#pragma once

#include "session/plan.h"

#include <windows.h>

#include <array>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

namespace morvik::win32 {

// Owns one brush, pen, font or bitmap and deletes it once.
struct GdiDelete {
    void operator()(void* object) const { DeleteObject(static_cast<HGDIOBJ>(object)); }
};
template <class Handle> using Gdi = std::unique_ptr<std::remove_pointer_t<Handle>, GdiDelete>;

// Owns a memory device context.
struct DcDelete {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
using MemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcDelete>;

// Selects an object into a device context for the scope, then puts back the old one.
struct Selection {
    Selection(HDC dc, HGDIOBJ object)
        : dc(dc)
        , old(SelectObject(dc, object))
    {
    }
    ~Selection() { SelectObject(dc, old); }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;
    HDC dc;
    HGDIOBJ old;
};

std::wstring widen(std::string_view utf8);

// The game's font, Liberation Mono Bold, stands in for Courier New: the same
// letters everywhere, whatever fonts the machine has. Private to the process.
void installLayoutFont(HINSTANCE instance);

// Draws plans, keeping the fonts and pictures it has once made.
class Painter {
public:
    void draw(HDC dc, const Plan& plan);

private:
    HFONT font(int pixels);
    HBITMAP bitmap(HDC dc, const Picture& p);

    std::map<int, Gdi<HFONT>> fonts;
    std::map<std::array<int, 5>, Gdi<HBITMAP>> bitmaps;
};

} // namespace morvik::win32
