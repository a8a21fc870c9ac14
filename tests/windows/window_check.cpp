// Starts the game and finds it the way a screen reader does: the windows by
// their titles, each control as the child window of its number, which
// answers WM_GETTEXT with its name. Checks every row of the layout's table
// of controls, its name and its place at the display's dots per inch. Then
// tells the table window that its monitor's scale changed, as Windows does
// when a window moves to another monitor (Wine never does), and checks every
// place again and what the screen shows at the new scale. (Close requests
// are the end-to-end driver's.)
//
//   window_check <Morvik Roulette.exe> <dots per inch>
//
// Any dots per inch but 96 is first written where Wine keeps its display
// scaling (LogPixels); such a test runs in a Wine prefix of its own.
#include "layout/controls.h"

#include <windows.h>

#include <cstdio>
#include <functional>
#include <map>
#include <string>

using namespace morvik;

namespace {

constexpr UINT NewDpi = 144;
int failures = 0;

void check(bool ok, const char* what)
{
    failures += !ok;
    std::printf("%s - %s\n", ok ? "ok" : "not ok", what);
    std::fflush(stdout);
}

bool waitFor(const std::function<bool()>& ready, ULONGLONG patienceMs = 60'000)
{
    for (const ULONGLONG start = GetTickCount64(); GetTickCount64() - start < patienceMs; Sleep(50))
        if (ready())
            return true;
    return false;
}

HWND visibleWindow(const wchar_t* title)
{
    HWND window = FindWindowW(nullptr, title);
    return window && IsWindowVisible(window) ? window : nullptr;
}

std::wstring widen(std::string_view utf8)
{
    std::wstring wide(utf8.size(), L'\0');
    wide.resize(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                                    static_cast<int>(wide.size())));
    return wide;
}

// A box of the layout (pixels at 96 dpi) at `dpi`.
RECT scaled(Box b, UINT dpi)
{
    auto s = [dpi](int pixels) { return MulDiv(pixels, static_cast<int>(dpi), 96); };
    return {s(b.x), s(b.y), s(b.x + b.width), s(b.y + b.height)};
}

// Every control of a window by its number.
std::map<int, HWND> controls(HWND window)
{
    std::map<int, HWND> found;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM into) {
            reinterpret_cast<std::map<int, HWND>*>(into)->emplace(GetDlgCtrlID(child), child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

std::wstring textOf(HWND control)
{
    wchar_t text[128]{};
    DWORD_PTR length = 0;
    SendMessageTimeoutW(control, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 5000,
                        &length);
    return text;
}

// The window's size, and every control of it where the table puts it, in the
// control the table puts it in, under the name the table gives it (its
// caption when it has no other; counters and boxes have none).
bool laidOut(HWND window, int windowId, UINT dpi)
{
    bool ok = true;
    auto fail = [&](int id, const char* why) {
        std::printf("# %s(%d), control %d: %s\n", Controls[id].name.data(), Controls[id].index, id, why);
        ok = false;
    };
    RECT client{};
    GetClientRect(window, &client);
    const RECT size = scaled({0, 0, Controls[windowId].box.width, Controls[windowId].box.height}, dpi);
    if (!EqualRect(&client, &size))
        fail(windowId, "the window is not of the layout's size");
    const std::map<int, HWND> found = controls(window);
    for (int id = windowId + 1; id < ids::Count && windowOf(id) == windowId; ++id) {
        const Control& row = Controls[id];
        const HWND control = found.contains(id) ? found.at(id) : nullptr;
        if (!control) {
            fail(id, "missing");
            continue;
        }
        const std::wstring name = widen(row.spokenName.empty() ? row.text : row.spokenName);
        if (!name.empty() && textOf(control) != name)
            fail(id, "named otherwise");
        const HWND parent = GetParent(control);
        RECT r{};
        GetWindowRect(control, &r);
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
        const RECT expected = scaled(row.box, dpi);
        if (parent != (row.parent == windowId ? window : found.at(row.parent)) || !EqualRect(&r, &expected))
            fail(id, "elsewhere");
    }
    return ok;
}

constexpr COLORREF colour(Rgb c) { return RGB(c.r, c.g, c.b); }

// What the screen shows at a point of a window's client area.
COLORREF pixel(HWND window, int x, int y)
{
    POINT p{x, y};
    ClientToScreen(window, &p);
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return c;
}

// The width of the ink of the cell of 17, when it all lies inside the cell;
// 0 otherwise.
int inkOf17(HWND form1, UINT dpi)
{
    const RECT cell = scaled(table::Label1[17], dpi);
    const int margin = MulDiv(4, static_cast<int>(dpi), 96); // short of the lines around
    RECT ink{cell.right, cell.bottom, cell.left, cell.top};
    for (int y = cell.top - margin; y < cell.bottom + margin; ++y)
        for (int x = cell.left - margin; x < cell.right + margin; ++x)
            if (pixel(form1, x, y) != colour(table::Green))
                ink = {std::min<LONG>(ink.left, x), std::min<LONG>(ink.top, y), std::max<LONG>(ink.right, x + 1),
                       std::max<LONG>(ink.bottom, y + 1)};
    RECT inside{};
    return IntersectRect(&inside, &ink, &cell) && EqualRect(&inside, &ink) ? ink.right - ink.left : 0;
}

// WM_DPICHANGED points to the window's new place, which must lie in the
// game's own memory.
void changeScale(HANDLE game, HWND window, UINT dpi)
{
    const RECT size = scaled(Controls[ids::table::Form1].box, dpi);
    const int left = (GetSystemMetrics(SM_CXSCREEN) - size.right) / 2, top = (GetSystemMetrics(SM_CYSCREEN) - size.bottom) / 2;
    const RECT place{left, top, left + size.right, top + size.bottom};
    void* there = VirtualAllocEx(game, nullptr, sizeof place, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    WriteProcessMemory(game, there, &place, sizeof place, nullptr);
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(there), SMTO_BLOCK,
                        5000, &result);
}

} // namespace

int wmain(int argc, wchar_t* argv[])
{
    if (argc != 3)
        return 2;
    const UINT dpi = static_cast<UINT>(_wtoi(argv[2]));
    if (dpi != 96) {
        const DWORD logPixels = dpi;
        RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &logPixels,
                        sizeof logPixels);
    }

    std::wstring command = L"\"" + std::wstring(argv[1]) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION game{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &game)) {
        std::printf("not ok - cannot start %ls\n", argv[1]);
        return 1;
    }

    HWND form2 = nullptr;
    check(waitFor([&] { return (form2 = visibleWindow(L"Form2")) != nullptr; }), "the title window Form2 shows");
    if (!form2)
        return 1;
    check(laidOut(form2, ids::title::Form2, dpi), "Form2 and every control in it named and placed as laid out");

    const HWND play = controls(form2)[ids::title::Label1];
    PostMessageW(play, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    PostMessageW(play, WM_LBUTTONUP, 0, 0);
    HWND form1 = nullptr;
    check(waitFor([&] { return (form1 = visibleWindow(L"Form1")) && !IsWindowVisible(form2); }),
          "Play shows the table window Form1 in place of Form2");
    if (!form1)
        return 1;
    check(laidOut(form1, ids::table::Form1, dpi), "Form1 and every control in it named and placed as laid out");

    int before = 0;
    check(waitFor([&] { return (before = inkOf17(form1, dpi)) > 0; }), "the cell of 17 shows its caption");
    changeScale(game.hProcess, form1, NewDpi);
    check(laidOut(form1, ids::table::Form1, NewDpi), "after a change of scale, every control placed at the new one");
    // Line18 is the upright at x = 216; at the new scale it lies elsewhere,
    // and the green shows where it was.
    const int middle = MulDiv(220, NewDpi, 96);
    const int upright = MulDiv(table::Lines[17].from.x, NewDpi, 96);
    check(waitFor(
              [&] {
                  const int after = inkOf17(form1, NewDpi);
                  std::printf("# 17 is %d pixels wide, %d before\n", after, before);
                  return pixel(form1, upright, middle) == colour(table::White)
                      && pixel(form1, table::Lines[17].from.x, middle) == colour(table::Green)
                      && std::abs(after * static_cast<int>(dpi) - before * static_cast<int>(NewDpi))
                      <= before * static_cast<int>(NewDpi) / 5;
              },
              10'000),
          "and the table drawn at the new scale: a line, and the caption of 17 in its cell, larger or smaller");

    TerminateProcess(game.hProcess, 0);
    CloseHandle(game.hThread);
    CloseHandle(game.hProcess);
    return failures == 0 ? 0 : 1;
}
