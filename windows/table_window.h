// Form1, the table window. It shows what the game tells it and forwards every
// click and every tick of Timer1 to the game; it decides nothing itself.
#pragma once

#include "game/game.h"
#include "windows/desk.h"
#include "windows/win32.h"

#include <array>
#include <deque>
#include <functional>
#include <vector>

namespace morvik::win32 {

class TableWindow : public TableView {
public:
    // A top-level window of its own, hidden until shown; runs the game's load
    // step and starts Timer1. `titleRequested` is "X" and a close request.
    TableWindow(Desk& desk, std::function<void()> titleRequested);
    ~TableWindow() override;
    TableWindow(const TableWindow&) = delete;
    TableWindow& operator=(const TableWindow&) = delete;

    void show();
    void hide();

    void showCounter(int denomination, Count chips) override;
    void showPlayer(int player) override;
    void appendEntry(int player, const std::string& text) override;
    void removeEntry(int player, int row) override;
    void clearEntries(int player) override;
    void showList(int player, bool visible) override;
    void showTray(bool visible) override;
    void showDraw(int number, Rgb colour) override;
    int selectedEntry(int player) const override;

    HWND hwnd = nullptr;

private:
    static LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    BOOL onCreate(HWND, LPCREATESTRUCT);
    void onPaint(HWND);
    BOOL onEraseBkgnd(HWND, HDC) { return TRUE; }
    void onDrawItem(HWND, const DRAWITEMSTRUCT* item);
    void onMeasureItem(HWND, MEASUREITEMSTRUCT* item);
    HBRUSH onCtlColorListbox(HWND, HDC, HWND, int);
    void onCommand(HWND, int id, HWND control, UINT code);
    void onTimer(HWND, UINT id);
    void onClose(HWND);
    void onActivateApp(HWND, BOOL active, DWORD);
    void onDpiChanged(UINT dpi, const RECT& suggested);

    void buildTable();
    void buildTray();
    HWND label(HWND parent, int id, std::wstring_view caption, Look look, bool clickable);
    void layOut();
    void drawEntry(const DRAWITEMSTRUCT& item);
    int entryHeight() const;

    Desk& desk;
    std::function<void()> titleRequested;
    Game engine;
    Scale scale;
    Gdi<HFONT> captionFont;
    std::array<Gdi<HBITMAP>, DenominationCount> chips;
    std::deque<Look> looks; // one per label, where the label finds it
    struct Placed {
        HWND control;
        Box box;
    };
    std::vector<Placed> placed;
    HWND picture1 = nullptr, picture2 = nullptr, label4 = nullptr, cislo = nullptr;
    std::array<HWND, DenominationCount> label3{};
    std::array<HWND, PlayerCount> list1{};
    int cisloNumber = 1;
};

} // namespace morvik::win32
