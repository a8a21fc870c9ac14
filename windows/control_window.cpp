#include "windows/control_window.h"

#include "windows/bet_list.h"
#include "windows/resources.h"

#include <windowsx.h>

#include <algorithm>

namespace morvik::win32 {

namespace {

constexpr wchar_t ClassName[] = L"MorvikControl";

void fill(HDC dc, const RECT& r, Rgb c)
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

// The fill and figures of `owner` as seen through a window that lies at `at`
// (layout pixels) in it: a caption or a click area shows the table beneath.
void paintBackdrop(HDC dc, const Control& owner, Point at, const RECT& client, Scale scale)
{
    fill(dc, client, owner.fill);
    POINT origin{};
    OffsetViewportOrgEx(dc, -scale(at.x), -scale(at.y), &origin);
    for (const LineFigure& line : owner.figures.lines)
        paintLine(dc, line, scale);
    for (const DiscFigure& disc : owner.figures.discs)
        paintDisc(dc, disc, scale);
    for (const FrameFigure& frame : owner.figures.frames)
        paintFrame(dc, frame, scale);
    SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
}

// Enlarged by whole pixels when the box is a whole multiple of the picture,
// smoothly resampled otherwise.
void paintPicture(HDC dc, HBITMAP picture, const RECT& r)
{
    BITMAP size{};
    GetObjectW(picture, sizeof size, &size);
    const bool wholeFactor = r.right % size.bmWidth == 0 && r.bottom % size.bmHeight == 0
        && r.right / size.bmWidth == r.bottom / size.bmHeight;
    HDC source = CreateCompatibleDC(dc);
    {
        const Selection selected(source, picture);
        SetStretchBltMode(dc, wholeFactor ? COLORONCOLOR : HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        StretchBlt(dc, 0, 0, r.right, r.bottom, source, 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
    }
    DeleteDC(source);
}

} // namespace

ControlWindow::ControlWindow(int control, Session& session)
    : id(control)
    , session(session)
    , lineCount(Controls[control].lines.count)
    , colour(Controls[control].colour)
    , pixelSize(Controls[control].fontPixels)
{
    for (int i = 0; i < lineCount; ++i)
        lines[i] = Controls[control].lines.line[i];
}

HWND ControlWindow::create(int control, Session& session, HWND parent)
{
    static const ATOM type = [] {
        // No CS_DBLCLKS: the second press of a quick pair comes as a press, so
        // that a double click is two clicks.
        WNDCLASSW type{};
        type.lpfnWndProc = proc;
        type.hInstance = GetModuleHandleW(nullptr);
        type.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        type.lpszClassName = ClassName;
        return RegisterClassW(&type);
    }();
    const Control& row = Controls[control];
    const DWORD style = (parent ? WS_CHILD | (row.shown ? WS_VISIBLE : 0) : WS_POPUP)
        | (row.kind == Kind::Window || row.kind == Kind::Box ? WS_CLIPCHILDREN : 0);
    // A window's title is its name in the layout, which tests and the desktop
    // find it by; a control's text is what screen readers call it.
    const std::wstring text = widen(!parent ? row.name : row.spokenName.empty() ? row.text : row.spokenName);
    return CreateWindowExW(parent ? 0 : WS_EX_APPWINDOW, MAKEINTATOM(type), text.c_str(), style, 0, 0, 0, 0, parent,
                           parent ? reinterpret_cast<HMENU>(INT_PTR{control}) : nullptr, GetModuleHandleW(nullptr),
                           new ControlWindow(control, session));
}

ControlWindow& ControlWindow::of(HWND window)
{
    return *reinterpret_cast<ControlWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

LRESULT CALLBACK ControlWindow::proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    ControlWindow* self = instance<ControlWindow>(hwnd, message, lParam);
    if (!self)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    switch (message) {
        HANDLE_MSG(hwnd, WM_PAINT, self->onPaint);
        HANDLE_MSG(hwnd, WM_ERASEBKGND, self->onEraseBkgnd);
        HANDLE_MSG(hwnd, WM_LBUTTONDOWN, self->onLButtonDown);
        HANDLE_MSG(hwnd, WM_LBUTTONUP, self->onLButtonUp);
        HANDLE_MSG(hwnd, WM_CLOSE, self->onClose);
        HANDLE_MSG(hwnd, WM_TIMER, self->onTimer);
        HANDLE_MSG(hwnd, WM_ACTIVATEAPP, self->onActivateApp);
        HANDLE_MSG(hwnd, WM_DRAWITEM, self->onDrawItem);
        HANDLE_MSG(hwnd, WM_CTLCOLORLISTBOX, self->onCtlColorListbox);
    case WM_DPICHANGED:
        self->onDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_NCDESTROY:
        delete self;
        return 0;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

void ControlWindow::setText(std::string_view text, Rgb newColour, int newPixelSize)
{
    // Every tick of a spin lands here: only a change repaints.
    if (lineCount == 1 && lines[0] == text && newColour == colour && newPixelSize == pixelSize)
        return;
    lines = {std::string(text), {}};
    lineCount = 1;
    colour = newColour;
    pixelSize = newPixelSize;
    if (Controls[id].spokenName.empty())
        SetWindowTextW(hwnd, widen(text).c_str());
    InvalidateRect(hwnd, nullptr, FALSE);
}

std::string ControlWindow::text() const
{
    return lineCount > 1 ? lines[0] + ' ' + lines[1] : lines[0];
}

Scale ControlWindow::scale() const
{
    return {of(GetAncestor(hwnd, GA_ROOT)).dpi};
}

void ControlWindow::layOut(UINT newDpi)
{
    dpi = newDpi;
    const Scale scale{dpi};
    const Box& box = Controls[id].box;
    SetWindowPos(hwnd, nullptr, 0, 0, scale(box.width), scale(box.height), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EnumChildWindows(
        hwnd,
        [](HWND child, LPARAM to) {
            const Scale& scale = *reinterpret_cast<const Scale*>(to);
            const Control& row = Controls[GetDlgCtrlID(child)];
            const RECT r = scale.rect(row.box);
            SetWindowPos(child, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            if (row.kind == Kind::List)
                BetList::of(child).scaleTo(scale);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&scale));
    // Moved and resized children would otherwise keep pixels drawn at the old scale.
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void ControlWindow::onDpiChanged(UINT newDpi, const RECT& suggested)
{
    SetWindowPos(hwnd, nullptr, suggested.left, suggested.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    layOut(newDpi);
}

void ControlWindow::onPaint(HWND)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    const Control& row = Controls[id];
    const Scale scale = this->scale();
    RECT client{};
    GetClientRect(hwnd, &client);
    // The picture rendered for the screen's density, 1 up to 96 dpi and 2 beyond.
    const int density = scale.dpi > USER_DEFAULT_SCREEN_DPI ? 2 : 1;
    if (row.art != Art::None && pictureDensity != density) {
        picture = win32::picture(row.art, row.index, density);
        pictureDensity = density;
    }
    if (picture)
        paintPicture(dc, picture.get(), client);
    else if (row.kind == Kind::Caption || row.kind == Kind::Area)
        paintBackdrop(dc, Controls[row.parent], {row.box.x, row.box.y}, client, scale);
    else
        paintBackdrop(dc, row, {}, client, scale);
    paintCaption(dc, scale);
    EndPaint(hwnd, &paint);
}

// The lines as laid out at 96 dpi, in device pixels: at a scale that rounds
// the font up, the font shrinks until every line fits the box again, so that
// no caption wraps or loses its end on any screen.
void ControlWindow::paintCaption(HDC dc, Scale scale)
{
    if (lineCount == 0)
        return;
    RECT client{};
    GetClientRect(hwnd, &client);
    const Lines shape{{lines[0], lines[1]}, lineCount};
    const int devicePixels = fittingPixelSize(shape, client.right, scale(pixelSize));
    if (devicePixels != fontPixels) {
        font = layoutFont(devicePixels);
        fontPixels = devicePixels;
    }
    const Selection selected(dc, font.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, win32::colour(colour));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const int lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
    const int edge = Controls[id].kind == Kind::Readout ? scale(1) : 0;
    const UINT format = (Controls[id].centred ? DT_CENTER : DT_LEFT) | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP;
    for (int i = 0; i < lineCount; ++i) {
        RECT line{edge, edge + i * lineHeight, client.right - edge, edge + (i + 1) * lineHeight};
        const std::wstring text = widen(lines[i]);
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &line, format);
    }
}

void ControlWindow::onLButtonDown(HWND, BOOL, int, int, UINT)
{
    if (!Controls[id].clickable)
        return;
    SetCapture(hwnd);
    session.press(id);
}

// The release comes here wherever the pointer is, as the press captured it.
void ControlWindow::onLButtonUp(HWND, int x, int y, UINT)
{
    if (!Controls[id].clickable)
        return;
    ReleaseCapture();
    RECT client{};
    GetClientRect(hwnd, &client);
    session.release(PtInRect(&client, POINT{x, y}) ? id : -1);
}

// The release of a key held while another program takes the keyboard never
// reaches us.
void ControlWindow::onActivateApp(HWND, BOOL active, DWORD)
{
    if (!active)
        session.keyboardLost();
}

void ControlWindow::onDrawItem(HWND, const DRAWITEMSTRUCT* item)
{
    if (item->CtlType == ODT_LISTBOX)
        BetList::of(item->hwndItem).draw(*item);
}

HBRUSH ControlWindow::onCtlColorListbox(HWND, HDC dc, HWND list, int)
{
    return BetList::of(list).background(dc);
}

} // namespace morvik::win32
