// The game's two windows on the Win32 API: one native control per row of the
// layout's table of controls, made when its window is first needed.
// Everything a player does goes to the session as it comes; what the session
// tells the Display is shown.
#pragma once

#include "session/session.h"

#include <windows.h>
#include <oleacc.h>

#include <array>
#include <memory>

namespace morvik::win32 {

class Screens : private Display {
public:
    // Shows the title window.
    explicit Screens(Session::Services services);
    ~Screens() override;
    Screens(const Screens&) = delete;
    Screens& operator=(const Screens&) = delete;

    // Every message the program's loop takes from its queue: Delete and
    // Backspace, whichever window has the keyboard.
    void see(const MSG& message);

private:
    void build(int window);
    void annotate(int control, const MSAAPROPID& property, std::string_view text);

    void makeTable() override;
    void show(int control, bool visible) override;
    void setText(int control, std::string_view text, Rgb colour, int pixelSize) override;
    void describe(int control, std::string_view description) override;
    void announce(int control) override;
    void appendEntry(int list, std::string_view text) override;
    void removeEntry(int list, int row) override;
    void clearEntries(int list) override;
    void selectEntry(int list, int row) override;
    void quit() override;

    struct Release {
        void operator()(IUnknown* object) const { object->Release(); }
    };
    // What screen readers hear beside the window texts; none where Windows
    // offers no annotation.
    std::unique_ptr<IAccPropServices, Release> annotations;
    Session players;
    std::array<HWND, ids::Count> windows{};
};

} // namespace morvik::win32
