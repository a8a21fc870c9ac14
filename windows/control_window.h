// One row of the layout's table of controls as a window of its own: a
// window, a box, a caption, a picture, a click area or the readout. It draws
// what its row and the session say, and passes the left button's presses and
// releases, the desktop's close requests, Timer1 and the loss of the keyboard
// to the session.
#pragma once

#include "session/session.h"
#include "windows/win32.h"

#include <array>
#include <string>

namespace morvik::win32 {

class ControlWindow {
public:
    // The window of row `control`, hidden when the row says so, placed by its
    // window's layOut(); it owns its ControlWindow and deletes it when destroyed.
    static HWND create(int control, Session& session, HWND parent);
    static ControlWindow& of(HWND window);

    void setText(std::string_view text, Rgb colour, int pixelSize);
    std::string text() const;

    // A window only: its size and every control inside it at `dpi`, all repainted.
    void layOut(UINT dpi);

    HWND hwnd = nullptr;

private:
    ControlWindow(int control, Session& session);
    static LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void onPaint(HWND);
    BOOL onEraseBkgnd(HWND, HDC) { return TRUE; }
    void onLButtonDown(HWND, BOOL doubleClick, int x, int y, UINT keys);
    void onLButtonUp(HWND, int x, int y, UINT keys);
    void onClose(HWND) { session.closeRequest(id); }
    void onTimer(HWND, UINT) { session.tick(); }
    void onActivateApp(HWND, BOOL active, DWORD thread);
    void onDrawItem(HWND, const DRAWITEMSTRUCT* item);
    HBRUSH onCtlColorListbox(HWND, HDC dc, HWND list, int type);
    void onDpiChanged(UINT dpi, const RECT& suggested);

    Scale scale() const;
    void paintCaption(HDC dc, Scale scale);

    int id;
    Session& session;
    UINT dpi = USER_DEFAULT_SCREEN_DPI; // of a window
    std::array<std::string, 2> lines;
    int lineCount;
    Rgb colour;
    int pixelSize; // at 96 dpi
    Gdi<HBITMAP> picture;
    int pictureDensity = 0; // of `picture`, 0 before the first paint
    Gdi<HFONT> font; // of the size last drawn at
    int fontPixels = 0;
};

} // namespace morvik::win32
