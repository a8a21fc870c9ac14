// The game's two windows on the Win32 API: one window per row of the
// layout's table of controls, made when its window is first needed, each
// drawing the session's plan for it. Everything a player does goes to the
// session as it comes; what the session tells the Display is shown and told
// to screen readers.
#pragma once

#include "session/session.h"
#include "windows/win32.h"

#include <oleacc.h>
#include <wrl/client.h>

namespace morvik::win32 {

class Screens : private Display {
public:
    // Shows the title window.
    explicit Screens(Session::Services services);
    ~Screens() override;
    Screens(const Screens&) = delete;
    Screens& operator=(const Screens&) = delete;

    // Every message the program's loop takes from its queue, whichever
    // window has the keyboard. True when it was a key the game took: the
    // loop passes it on no further.
    bool see(const MSG& message);

private:
    static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(int control, UINT message, WPARAM wParam, LPARAM lParam);
    bool secondPress();
    int controlOf(HWND window) const; // -1: none of the game's
    void build(int window);
    void layOut(int window, UINT dpi);
    Scale scale(int control) const { return session.scale(control); }
    void tell(int control);
    void followContrast();

    void makeTable() override;
    void show(int control, bool visible) override;
    void redraw(int control) override;
    void announce(int control) override;
    void quit() override { PostQuitMessage(0); }

    // What screen readers hear beside the window texts; none where Windows
    // offers no annotation.
    Microsoft::WRL::ComPtr<IAccPropServices> annotations;
    Session session;
    Painter painter;
    std::array<HWND, ids::Count> windows{};
    int focusTold = -1; // to screen readers
    DWORD firstTime = 0; // of a double click's first press
    POINT firstAt{}; // on the screen
};

} // namespace morvik::win32
