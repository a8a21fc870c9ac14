// A player's bet list: a native list box, owner-drawn in the row's colours.
// It shows the selection the session gives it and passes presses on; it
// takes no keyboard focus and changes no selection of its own accord.
#pragma once

#include "session/session.h"
#include "windows/win32.h"

namespace morvik::win32 {

class BetList {
public:
    // Hidden when the row says so, placed by its window's layOut(); it owns
    // its BetList and deletes it when destroyed.
    static HWND create(int control, Session& session, HWND parent);
    static BetList& of(HWND list);

    // The entries' font and height at a new scale.
    void scaleTo(Scale scale);
    // What its parent is asked to do for it.
    void draw(const DRAWITEMSTRUCT& item) const;
    HBRUSH background(HDC dc) const;

private:
    BetList(int control, Session& session, HWND list);
    static LRESULT CALLBACK proc(HWND list, UINT message, WPARAM wParam, LPARAM lParam);
    void onLButtonDown(HWND, BOOL doubleClick, int x, int y, UINT keys);
    int entryAt(POINT at) const;

    int id;
    Session& session;
    HWND hwnd;
    WNDPROC listBoxProc;
    Gdi<HBRUSH> fill;
    Gdi<HFONT> font;
    Scale scale;
};

} // namespace morvik::win32
