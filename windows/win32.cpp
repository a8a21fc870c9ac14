#include "windows/win32.h"

#include <algorithm>
#include <stdexcept>

namespace morvik::win32 {

std::wstring widen(std::string_view utf8)
{
    const int size = static_cast<int>(utf8.size());
    std::wstring wide(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), static_cast<int>(wide.size()));
    return wide;
}

namespace {

void fill(HDC dc, RECT r, Rgb c)
{
    const Gdi<HBRUSH> brush(CreateSolidBrush(colour(c)));
    FillRect(dc, &r, brush.get());
}

// A layout pixel of a line becomes a square of device pixels, so a line
// stays one layout pixel thick, both end points included, at every scale.
void paintLine(HDC dc, const LineFigure& line, Scale scale)
{
    const Gdi<HPEN> pen(CreatePen(PS_SOLID, 1, colour(line.colour)));
    const Selection selected(dc, pen.get());
    const int thickness = std::max(1, scale(1));
    for (int dy = 0; dy < thickness; ++dy) {
        for (int dx = 0; dx < thickness; ++dx) {
            const POINT to{scale(line.to.x) + dx, scale(line.to.y) + dy};
            MoveToEx(dc, scale(line.from.x) + dx, scale(line.from.y) + dy, nullptr);
            LineTo(dc, to.x, to.y);
            SetPixelV(dc, to.x, to.y, colour(line.colour));
        }
    }
}

void paintDisc(HDC dc, const DiscFigure& disc, Scale scale)
{
    const Gdi<HPEN> pen(CreatePen(PS_SOLID, 1, colour(disc.colour)));
    const Gdi<HBRUSH> brush(CreateSolidBrush(colour(disc.colour)));
    const Selection penSelected(dc, pen.get());
    const Selection brushSelected(dc, brush.get());
    const RECT r = scale.rect(disc.bounds);
    Ellipse(dc, r.left, r.top, r.right, r.bottom);
}

void paintFrame(HDC dc, const FrameFigure& frame, Scale scale)
{
    const RECT r = scale.rect(frame.bounds);
    const int w = scale(frame.penWidth);
    for (const RECT& side : {RECT{r.left, r.top, r.right, r.top + w}, RECT{r.left, r.bottom - w, r.right, r.bottom},
                             RECT{r.left, r.top, r.left + w, r.bottom}, RECT{r.right - w, r.top, r.right, r.bottom}})
        fill(dc, side, frame.colour);
}

void paintPicture(HDC dc, HBITMAP picture, RECT r)
{
    BITMAP size{};
    GetObjectW(picture, sizeof size, &size);
    HDC source = CreateCompatibleDC(dc);
    {
        const Selection selected(source, picture);
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        StretchBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, source, 0, 0, size.bmWidth, size.bmHeight,
                   SRCCOPY);
    }
    DeleteDC(source);
}

// A smaller copy of the font when the text is wider than the label: a count
// of three digits and more, as the Qt front end does.
Gdi<HFONT> fittingFont(HDC dc, const Look& look, std::wstring_view text, Scale scale)
{
    const int width = scale(look.box.width);
    LOGFONTW font{};
    GetObjectW(look.font, sizeof font, &font);
    Gdi<HFONT> smaller;
    for (int size = -font.lfHeight; size > 1; --size) {
        font.lfHeight = -size;
        smaller.reset(CreateFontIndirectW(&font));
        const Selection selected(dc, smaller.get());
        SIZE extent{};
        GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &extent);
        if (extent.cx <= width)
            break;
    }
    return smaller;
}

int textWidth(HDC dc, std::wstring_view text)
{
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &extent);
    return extent.cx;
}

// Breaks a caption into lines at its runs of spaces where it is wider than
// the label, as the Qt labels do: a run that ends a line goes, the spaces
// before the first word stay (" Big   19-36" shows " Big" over "19-36").
std::wstring wrapped(HDC dc, std::wstring_view text, int width)
{
    std::wstring lines;
    std::size_t lineStart = 0;
    std::size_t wordEnd = text.find_first_not_of(L' ');
    wordEnd = text.find(L' ', wordEnd);
    lines = text.substr(0, wordEnd);
    while (wordEnd != std::wstring_view::npos) {
        const std::size_t next = text.find_first_not_of(L' ', wordEnd);
        if (next == std::wstring_view::npos)
            break;
        const std::size_t end = text.find(L' ', next);
        const std::wstring_view run = text.substr(wordEnd, end == std::wstring_view::npos ? end : end - wordEnd);
        const std::wstring_view word = text.substr(next, end == std::wstring_view::npos ? end : end - next);
        if (textWidth(dc, std::wstring_view(lines).substr(lineStart)) + textWidth(dc, run) <= width) {
            lines += run;
        } else {
            lines += L'\n';
            lineStart = lines.size();
            lines += word;
        }
        wordEnd = end;
    }
    return lines;
}

} // namespace

void paintBackdrop(HDC dc, const Backdrop& backdrop, Box area, Scale scale)
{
    const RECT whole = scale.rect({0, 0, area.width, area.height});
    fill(dc, whole, backdrop.colour);
    POINT origin{};
    OffsetViewportOrgEx(dc, -scale(area.x), -scale(area.y), &origin);
    for (const LineFigure& line : backdrop.lines)
        paintLine(dc, line, scale);
    for (const DiscFigure& disc : backdrop.discs)
        paintDisc(dc, disc, scale);
    for (const FrameFigure& frame : backdrop.frames)
        paintFrame(dc, frame, scale);
    SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
}

void installLayoutFont(HINSTANCE instance, int resource)
{
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(resource), RT_RCDATA);
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    DWORD fonts = 0;
    if (!loaded || !AddFontMemResourceEx(LockResource(loaded), SizeofResource(instance, found), nullptr, &fonts))
        throw std::runtime_error("the game's font is missing from the program");
}

Gdi<HFONT> layoutFont(int pixelSize, Scale scale)
{
    return Gdi<HFONT>(CreateFontW(-scale(pixelSize), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, EASTEUROPE_CHARSET,
                                  OUT_TT_ONLY_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, FIXED_PITCH | FF_MODERN,
                                  L"Liberation Mono"));
}

HWND createLabel(HWND parent, int id, std::wstring_view caption, Look* look, bool clickable)
{
    const DWORD style = WS_CHILD | WS_VISIBLE | SS_OWNERDRAW | (clickable ? SS_NOTIFY : 0);
    HWND label = CreateWindowExW(0, L"STATIC", std::wstring(caption).c_str(), style, 0, 0, 0, 0, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    SetWindowLongPtrW(label, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(look));
    return label;
}

Look& lookOf(HWND label)
{
    return *reinterpret_cast<Look*>(GetWindowLongPtrW(label, GWLP_USERDATA));
}

void drawLabel(const DRAWITEMSTRUCT& item)
{
    const Look& look = lookOf(item.hwndItem);
    const Scale scale = Scale::of(item.hwndItem);
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    if (look.picture) {
        paintPicture(dc, look.picture, r);
        return;
    }
    paintBackdrop(dc, *look.backdrop, look.box, scale);
    if (!look.font)
        return;

    wchar_t text[64];
    const int length = GetWindowTextW(item.hwndItem, text, std::size(text));
    const Gdi<HFONT> smaller = look.fitText ? fittingFont(dc, look, {text, std::size_t(length)}, scale) : nullptr;
    const Selection font(dc, smaller ? smaller.get() : look.font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour(look.colour));
    const std::wstring lines = wrapped(dc, {text, std::size_t(length)}, r.right - r.left);
    DrawTextW(dc, lines.c_str(), -1, &r, look.format | DT_TOP | DT_NOPREFIX);
}

void place(HWND control, Box box, Scale scale)
{
    const RECT r = scale.rect(box);
    SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND createWindow(const wchar_t* className, WNDPROC proc, DWORD exStyle, const wchar_t* title, DWORD style,
                  HWND parent, int id, void* self)
{
    WNDCLASSW type{};
    type.lpfnWndProc = proc;
    type.hInstance = GetModuleHandleW(nullptr);
    type.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    type.lpszClassName = className;
    RegisterClassW(&type);
    return CreateWindowExW(exStyle, className, title, style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), type.hInstance, self);
}

Gdi<HBITMAP> bitmapResource(int resource)
{
    Gdi<HBITMAP> picture(static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    // A window must never show a blank picture.
    if (!picture)
        FatalAppExitW(0, L"Morvik Roulette cannot read its pictures.");
    return picture;
}

void centre(HWND window, int width, int height, Scale scale)
{
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& area = monitor.rcWork;
    const int w = scale(width), h = scale(height);
    SetWindowPos(window, nullptr, area.left + (area.right - area.left - w) / 2,
                 area.top + (area.bottom - area.top - h) / 2, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace morvik::win32
