// The game found as a screen reader finds it: the windows by their titles,
// each control as the child window of its number, answering WM_GETTEXT with
// its name. Every row of the layout's table of controls named and placed at
// the display's dots per inch (written as Wine's LogPixels, in a prefix of
// the test's own), and again after WM_DPICHANGED, which Wine never sends
// itself, drawn as a game started at that scale. Then Timer1, a Delete held
// when the keyboard is lost, the wheel, a double click on Next, the drawn
// number heard once a spin, and Tab and Enter on X. Close requests are the
// end-to-end driver's.
//
//   window_check <Morvik Roulette.exe> <dots per inch> <file of its standard error>
#include "layout/controls.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

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

// What screen readers hear of the game: its focus and value events, each
// with the window it concerns.
std::vector<std::pair<DWORD, HWND>> heard;

void CALLBACK hear(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG, DWORD, DWORD)
{
    if (object == OBJID_CLIENT && (event == EVENT_OBJECT_FOCUS || event == EVENT_OBJECT_VALUECHANGE))
        heard.emplace_back(event, window);
}

// Waits, hearing the game meanwhile.
bool waitFor(const std::function<bool()>& ready, ULONGLONG patienceMs = 60'000)
{
    for (const ULONGLONG start = GetTickCount64(); GetTickCount64() - start < patienceMs; Sleep(50)) {
        for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);)
            DispatchMessageW(&message);
        if (ready())
            return true;
    }
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

// A caption's words as a screen reader reads them, whatever the spaces that lay them out.
std::wstring words(const std::wstring& text)
{
    std::wistringstream in(text);
    std::wstring word, all;
    while (in >> word)
        all += (all.empty() ? L"" : L" ") + word;
    return all;
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
        const std::wstring name = words(widen(row.spokenName.empty() ? row.text : row.spokenName));
        if (!name.empty() && words(textOf(control)) != name)
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

// What the screen shows in a window's client area.
std::vector<COLORREF> screenOf(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    POINT origin{};
    ClientToScreen(window, &origin);
    std::vector<COLORREF> pixels(client.right * client.bottom);
    BITMAPINFO format{};
    format.bmiHeader = {sizeof format.bmiHeader, client.right, -client.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    HDC screen = GetDC(nullptr), copy = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(copy, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(copy, bitmap);
    BitBlt(copy, 0, 0, client.right, client.bottom, screen, origin.x, origin.y, SRCCOPY);
    std::copy_n(static_cast<const COLORREF*>(bits), pixels.size(), pixels.begin());
    SelectObject(copy, old);
    DeleteObject(bitmap);
    DeleteDC(copy);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// The upright between the columns of 16 and 17, at x = 216 on the layout and
// one layout pixel thick, as it lies on the screen at each scale.
struct Upright {
    UINT dpi;
    int x, thickness, y; // y: a point along it
};
constexpr Upright Uprights[] = {{96, 216, 1, 220}, {144, 324, 2, 330}, {192, 432, 2, 440}};

bool uprightDrawn(HWND form1, UINT dpi)
{
    HDC screen = GetDC(nullptr);
    auto at = [&](int x, int y) {
        POINT p{x, y};
        ClientToScreen(form1, &p);
        return GetPixel(screen, p.x, p.y);
    };
    const Upright& u = *std::ranges::find(Uprights, dpi, &Upright::dpi);
    bool ok = at(u.x - 1, u.y) == RGB(0, 128, 0) && at(u.x + u.thickness, u.y) == RGB(0, 128, 0);
    for (int x = u.x; x < u.x + u.thickness; ++x)
        ok = ok && at(x, u.y) == RGB(255, 255, 255);
    ReleaseDC(nullptr, screen);
    return ok;
}

void click(HWND control, int x = 0, int y = 0)
{
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

// WM_DPICHANGED points to the window's new place, which must lie in the
// game's own memory.
void changeScale(HANDLE game, HWND window, UINT dpi)
{
    const RECT size = scaled(Controls[ids::table::Form1].box, dpi);
    const int left = (GetSystemMetrics(SM_CXSCREEN) - size.right) / 2,
              top = (GetSystemMetrics(SM_CYSCREEN) - size.bottom) / 2;
    const RECT place{left, top, left + size.right, top + size.bottom};
    void* there = VirtualAllocEx(game, nullptr, sizeof place, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    WriteProcessMemory(game, there, &place, sizeof place, nullptr);
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(there), SMTO_BLOCK, 5000,
                        &result);
}

// The game started at the display scale of `dpi`.
PROCESS_INFORMATION start(const wchar_t* game, UINT dpi)
{
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
    std::wstring command = L"\"" + std::wstring(game) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
        std::printf("# cannot start %ls\n", game);
    return started;
}

void stop(const PROCESS_INFORMATION& game)
{
    TerminateProcess(game.hProcess, 0);
    WaitForSingleObject(game.hProcess, 10'000);
    CloseHandle(game.hThread);
    CloseHandle(game.hProcess);
}

// "Play" pressed on the title window; the table window that takes its place.
HWND play(HWND form2)
{
    HWND form1 = nullptr;
    click(controls(form2)[ids::title::Label1]);
    waitFor([&] { return (form1 = visibleWindow(L"Form1")) && !IsWindowVisible(form2); });
    return form1;
}

} // namespace

int wmain(int argc, wchar_t* argv[])
{
    if (argc != 4)
        return 2;
    const UINT dpi = static_cast<UINT>(_wtoi(argv[2]));
    // Wine traces each call of SetTimer with the arguments the game gave it.
    constexpr wchar_t traced[] = L"user32.SetTimer";
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Wine\\Debug", L"RelayInclude", REG_SZ, traced, sizeof traced);

    // What a game started at the new scale shows, once it shows it still.
    const PROCESS_INFORMATION reference = start(argv[1], NewDpi);
    HWND form2 = nullptr, form1 = nullptr;
    waitFor([&] { return (form2 = visibleWindow(L"Form2")) != nullptr; });
    std::vector<COLORREF> wanted, seen;
    int still = 0;
    check(form2 && (form1 = play(form2)) && waitFor([&] {
              return (still = seen == (wanted = screenOf(form1)) ? still + 1 : 0, seen = wanted, still == 10);
          }),
          "a game started at the new scale shows its table");
    stop(reference);

    SetEnvironmentVariableW(L"WINEDEBUG", L"+relay");
    const PROCESS_INFORMATION game = start(argv[1], dpi);
    check(waitFor([&] { return (form2 = visibleWindow(L"Form2")) != nullptr; }), "the title window Form2 shows");
    if (!form2)
        return 1;
    check(laidOut(form2, ids::title::Form2, dpi), "Form2 and every control in it named and placed as laid out");
    check((form1 = play(form2)) != nullptr, "Play shows the table window Form1 in place of Form2");
    if (!form1)
        return 1;
    check(laidOut(form1, ids::table::Form1, dpi), "Form1 and every control in it named and placed as laid out");
    check(waitFor([&] { return uprightDrawn(form1, dpi); }, 10'000), "a line of the table one layout pixel thick");

    changeScale(game.hProcess, form1, NewDpi);
    check(laidOut(form1, ids::table::Form1, NewDpi), "after a change of scale, every control placed at the new one");
    check(waitFor([&] { return screenOf(form1) == wanted && uprightDrawn(form1, NewDpi); }, 10'000),
          "and drawn as a game started at that scale draws it, a line one layout pixel thick");

    char asked[64];
    std::snprintf(asked, sizeof asked, "SetTimer(%08llx,00000001,00000001,",
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(form1)));
    auto timerAsked = [&] {
        std::ostringstream trace;
        trace << std::ifstream(std::filesystem::path(argv[3])).rdbuf();
        return trace.str().find(asked) != std::string::npos;
    };
    check(waitFor(timerAsked, 10'000), "Timer1 of Form1 asked for every millisecond");

    // The counter of chips of 1 tells what was laid and withdrawn.
    std::map<int, HWND> table = controls(form1);
    auto chipsOf1 = [&] { return textOf(table[ids::table::Label3]); };
    auto bet = [&] {
        click(table[ids::table::Label1 + 17]);
        return waitFor([&] { return chipsOf1() == L"1"; }, 10'000);
    };
    const int firstEntry = MulDiv(26, NewDpi, 96); // low in the first entry, from 2 to 33 on the layout
    click(table[ids::table::Image1]);
    check(bet(), "a chip of 1 laid on 17 leaves one");
    click(table[ids::table::List1], firstEntry, firstEntry);
    PostMessageW(form1, WM_KEYDOWN, VK_DELETE, 1);
    check(waitFor([&] { return chipsOf1() == L"2"; }, 10'000), "its entry selected and Delete held withdraw it");
    DWORD_PTR result = 0;
    SendMessageTimeoutW(form1, WM_ACTIVATEAPP, FALSE, 0, SMTO_BLOCK, 5000, &result);
    check(bet(), "a chip of 1 laid on 17 again");
    click(table[ids::table::List1], firstEntry, firstEntry);
    Sleep(1000);
    check(chipsOf1() == L"1", "with the keyboard lost meanwhile, its entry selected stays");

    // With every chip laid, twelve entries: the list shows the newest eleven
    // until the wheel turned away from the player brings the first into sight.
    click(table[ids::table::Label1 + 17]);
    for (int chip = 1; chip < DenominationCount; ++chip) {
        click(table[ids::table::Image1 + chip]);
        click(table[ids::table::Label1 + 17]);
        click(table[ids::table::Label1 + 17]);
    }
    waitFor([&] { return textOf(table[ids::table::Label3 + 5]) == L"0"; }, 10'000);
    const HWND list = table[ids::table::List1];
    waitFor([] { return false; }, 500);
    const std::vector<COLORREF> newest = screenOf(list);
    RECT place{};
    GetWindowRect(list, &place);
    PostMessageW(form1, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(place.left + 10, place.top + 10));
    check(waitFor([&] { return screenOf(list) != newest; }, 10'000),
          "the wheel turned away brings earlier entries into sight");

    // A spin would have ended within the wait, with Player 1 to play.
    const HWND next = table[ids::table::Label6];
    click(next);
    click(next);
    waitFor([] { return false; }, 2000);
    check(textOf(table[ids::table::Label4]) == L"Player 2", "a double click on Next hands the table over once");

    SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_VALUECHANGE, nullptr, hear, game.dwProcessId, 0,
                    WINEVENT_OUTOFCONTEXT);
    click(next);
    waitFor([&] { return textOf(table[ids::table::Label4]) == L"Player 1"; }, 10'000);
    waitFor([] { return false; }, 500);
    check(std::ranges::count(heard, std::pair<DWORD, HWND>{EVENT_OBJECT_VALUECHANGE, table[ids::table::Cislo]}) == 1,
          "screen readers hear the drawn number once a spin");
    for (WPARAM key : {VK_TAB, VK_RETURN}) {
        PostMessageW(form1, WM_KEYDOWN, key, 1);
        PostMessageW(form1, WM_KEYUP, key, 0xC0000001);
    }
    check(waitFor([&] { return IsWindowVisible(form2) && !IsWindowVisible(form1); }, 10'000) &&
              std::ranges::count(heard, std::pair<DWORD, HWND>{EVENT_OBJECT_FOCUS, table[ids::table::Label7]}) == 1,
          "Tab from Next reaches X, as screen readers hear, and Enter presses it: the title window shows");

    stop(game);
    return failures == 0 ? 0 : 1;
}
