#include "windows/win32.h"

namespace morvik::win32 {

namespace {

template <class... Cases> struct Overloaded : Cases... {
    using Cases::operator()...;
};

COLORREF colour(Rgb c)
{
    return RGB(c.r, c.g, c.b);
}

} // namespace

std::wstring widen(std::string_view utf8)
{
    const int size = static_cast<int>(utf8.size());
    std::wstring wide(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), static_cast<int>(wide.size()));
    return wide;
}

void installLayoutFont(HINSTANCE instance)
{
    HRSRC found = FindResourceW(instance, L"LIBERATIONMONO-BOLD", RT_RCDATA);
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    DWORD fonts = 0;
    // Captions laid out for this face must never be drawn in another.
    if (!loaded || !AddFontMemResourceEx(LockResource(loaded), SizeofResource(instance, found), nullptr, &fonts))
        FatalAppExitW(0, L"Morvik Roulette cannot read its font.");
}

HFONT Painter::font(int pixels)
{
    Gdi<HFONT>& made = fonts[pixels];
    if (!made)
        made.reset(CreateFontW(-pixels, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, EASTEUROPE_CHARSET, OUT_TT_ONLY_PRECIS,
                               CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, FIXED_PITCH | FF_MODERN, L"Liberation Mono"));
    return made.get();
}

// Scaled once for each size it is drawn at: Wine takes its time over a
// smooth scaling, and a window shown again must show at once. A picture that
// cannot be read ends the program: a window must never show a blank one.
HBITMAP Painter::bitmap(HDC dc, const Picture& p)
{
    Gdi<HBITMAP>& made = bitmaps[{static_cast<int>(p.art), p.index, p.density, p.box.width, p.box.height}];
    if (made)
        return made.get();
    const std::wstring name = widen(pictureName(p.art, p.index) + "-" + std::to_string(p.density) + "x");
    const Gdi<HBITMAP> stored(static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!stored)
        FatalAppExitW(0, L"Morvik Roulette cannot read its pictures.");
    BITMAP size{};
    GetObjectW(stored.get(), sizeof size, &size);
    made.reset(CreateCompatibleBitmap(dc, p.box.width, p.box.height));
    const MemoryDc from(CreateCompatibleDC(dc)), to(CreateCompatibleDC(dc));
    const Selection source(from.get(), stored.get()), target(to.get(), made.get());
    SetStretchBltMode(to.get(), HALFTONE);
    SetBrushOrgEx(to.get(), 0, 0, nullptr);
    StretchBlt(to.get(), 0, 0, p.box.width, p.box.height, from.get(), 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
    return made.get();
}

void Painter::draw(HDC dc, const Plan& plan)
{
    auto brushed = [dc](Rgb c, auto paint) {
        const Gdi<HPEN> pen(CreatePen(PS_SOLID, 1, colour(c)));
        const Gdi<HBRUSH> brush(CreateSolidBrush(colour(c)));
        const Selection penSelected(dc, pen.get()), brushSelected(dc, brush.get());
        paint(brush.get());
    };
    const Overloaded shapes{
        [&](const Fill& f) {
            const RECT r{f.box.x, f.box.y, f.box.x + f.box.width, f.box.y + f.box.height};
            brushed(f.colour, [&](HBRUSH brush) { FillRect(dc, &r, brush); });
        },
        // GDI leaves out a line's last pixel: it is set apart.
        [&](const Stroke& s) {
            brushed(s.colour, [&](HBRUSH) {
                for (int dy = 0; dy < s.width; ++dy)
                    for (int dx = 0; dx < s.width; ++dx) {
                        MoveToEx(dc, s.from.x + dx, s.from.y + dy, nullptr);
                        LineTo(dc, s.to.x + dx, s.to.y + dy);
                        SetPixelV(dc, s.to.x + dx, s.to.y + dy, colour(s.colour));
                    }
            });
        },
        [&](const Disc& d) {
            brushed(d.colour,
                    [&](HBRUSH) { Ellipse(dc, d.box.x, d.box.y, d.box.x + d.box.width, d.box.y + d.box.height); });
        },
        [&](const Run& r) {
            const Selection selected(dc, font(r.pixels));
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, colour(r.colour));
            RECT box{r.box.x, r.box.y, r.box.x + r.box.width, r.box.y + r.box.height};
            const std::wstring text = widen(r.text);
            DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box,
                      DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
        },
        [&](const Picture& p) {
            const MemoryDc memory(CreateCompatibleDC(dc));
            const Selection selected(memory.get(), bitmap(dc, p));
            BitBlt(dc, p.box.x, p.box.y, p.box.width, p.box.height, memory.get(), 0, 0, SRCCOPY);
        },
    };
    for (const Shape& shape : plan)
        std::visit(shapes, shape);
}

} // namespace morvik::win32
