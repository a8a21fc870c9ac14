// Form2, the title window: the program opens on it and ends from it. It holds
// no game state; the table window it opens keeps the game for the whole run.
#pragma once

#include "windows/desk.h"
#include "windows/table_window.h"
#include "windows/win32.h"

#include <array>
#include <memory>

namespace morvik::win32 {

class TitleWindow {
public:
    // Hidden until shown. "Quit" and a close request end the message loop
    // with status 0.
    explicit TitleWindow(Desk& desk);
    ~TitleWindow();
    TitleWindow(const TitleWindow&) = delete;
    TitleWindow& operator=(const TitleWindow&) = delete;

    void show();

    HWND hwnd = nullptr;

private:
    static LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    BOOL onCreate(HWND, LPCREATESTRUCT);
    void onPaint(HWND);
    BOOL onEraseBkgnd(HWND, HDC) { return TRUE; }
    void onDrawItem(HWND, const DRAWITEMSTRUCT* item) { drawLabel(*item); }
    void onCommand(HWND, int id, HWND control, UINT code);
    void onClose(HWND);
    void onDpiChanged(UINT dpi, const RECT& suggested);

    void label1Click(int index);
    void returnFromTable();
    void makeFonts();
    void layOut();

    Desk& desk;
    Scale scale;
    Gdi<HFONT> captionFont, remarkFont;
    Gdi<HBITMAP> artwork, logo;
    // Image1, Image2, Label1(0), Label1(1), Label2, where each finds its look.
    std::array<Look, 5> looks;
    std::array<HWND, 5> controls{};
    // Made by the first "Play"; every later one shows the same game.
    std::unique_ptr<TableWindow> table;
};

} // namespace morvik::win32
