// What only the Windows program shows and tells, at Wine's LogPixels and after a change of it; Timer1's period
// and what screen readers are told read from Wine's trace.
//   window_check <Morvik Roulette.exe> <dots per inch> <file of its standard error> <screenshot in high contrast>
#include "layout/controls.h"

#include <windows.h>

#include <process.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <tuple>
#include <vector>

using namespace morvik;
namespace b = ids::table;

namespace {

int failures = 0;

bool has(std::string_view text, std::string_view part) { return text.find(part) != text.npos; }

void check(bool ok, const std::string& what)
{
    failures += !ok;
    std::printf("%s - %s\n", ok ? "ok" : "not ok", what.c_str());
    std::fflush(stdout);
}

bool waitFor(auto ready, ULONGLONG patienceMs = 10'000)
{
    for (const ULONGLONG start = GetTickCount64(); GetTickCount64() - start < patienceMs; Sleep(50))
        if (ready())
            return true;
    return false;
}

// In UTF-8, as the layout writes it.
std::string textOf(HWND control)
{
    wchar_t text[128]{};
    char utf8[512]{};
    GetWindowTextW(control, text, std::size(text));
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
    return utf8;
}

// A box of the layout (pixels at 96 dpi) at `dpi`.
RECT scaled(Box b, UINT dpi)
{
    auto s = [dpi](int pixels) { return MulDiv(pixels, static_cast<int>(dpi), 96); };
    return {s(b.x), s(b.y), s(b.x + b.width), s(b.y + b.height)};
}

// A control of the shown window `window`: the child window of its number in its parent's.
HWND of(HWND window, int id)
{
    return Controls[id].parent < 0 ? window : GetDlgItem(of(window, Controls[id].parent), id);
}

// The window's size, and every control at its place in the parent under its name (its caption when it has
// no other, whatever the spaces that lay it out; counters and boxes have none).
bool laidOut(HWND window, int windowId, UINT dpi)
{
    auto bare = [](std::string s) {
        std::erase_if(s, [](unsigned char c) { return c <= ' '; });
        return s;
    };
    bool ok = true;
    for (int id = windowId; id < ids::Count && windowOf(id) == windowId; ++id) {
        const HWND control = of(window, id);
        const Control& c = Controls[id];
        const std::string name = bare(std::string(c.spokenName.empty() ? c.text : c.spokenName));
        RECT r{}, expected = scaled(c.box, dpi);
        GetClientRect(control, &r);
        MapWindowPoints(control, id == windowId ? control : GetParent(control), reinterpret_cast<POINT*>(&r), 2);
        if (!control || !EqualRect(&r, &expected) || (id != windowId && !name.empty() && bare(textOf(control)) != name)) {
            std::printf("# %s: missing, named otherwise or elsewhere\n", layoutName(id).c_str());
            ok = false;
        }
    }
    return ok;
}

// What the screen shows of a window's client area, on a screen of 32 bits a pixel.
std::vector<COLORREF> screenOf(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    POINT origin{};
    ClientToScreen(window, &origin);
    HDC screen = GetDC(nullptr), copy = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    SelectObject(copy, bitmap);
    BitBlt(copy, 0, 0, client.right, client.bottom, screen, origin.x, origin.y, SRCCOPY);
    DeleteDC(copy), ReleaseDC(nullptr, screen); // which lets the bitmap go
    std::vector<COLORREF> pixels(client.right * client.bottom);
    GetBitmapBits(bitmap, static_cast<LONG>(pixels.size() * sizeof(COLORREF)), pixels.data());
    DeleteObject(bitmap);
    return pixels;
}

void click(HWND control, int x = 0, int y = 0)
{
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

} // namespace

int wmain(int, wchar_t* argv[])
{
    const UINT dpi = static_cast<UINT>(_wtoi(argv[2]));
    constexpr wchar_t relayed[] = L"user32.SetTimer;user32.NotifyWinEvent";
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Wine\\Debug", L"RelayInclude", REG_SZ, relayed, sizeof relayed);
    SetEnvironmentVariableW(L"WINEDEBUG", L"+relay");
    // A dark high-contrast theme of the player's own, not in force yet.
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Accessibility\\HighContrast", L"Flags", REG_SZ, L"0", 4);
    constexpr int elements[]{COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_HIGHLIGHT, COLOR_HOTLIGHT, COLOR_GRAYTEXT};
    constexpr COLORREF colours[]{RGB(45, 50, 54), RGB(255, 255, 255), RGB(161, 191, 222), RGB(112, 235, 222),
                                 RGB(166, 166, 166)};
    SetSysColors(5, elements, colours);
    const auto game = reinterpret_cast<HANDLE>(_wspawnl(_P_NOWAIT, argv[1], argv[1], nullptr));
    HWND form2 = nullptr, form1 = nullptr;
    check(waitFor([&] { return (form2 = FindWindowW(nullptr, L"Form2")) && IsWindowVisible(form2); }, 60'000) &&
              laidOut(form2, ids::title::Form2, dpi),
          "Form2 and every control in it named and placed as laid out");
    click(of(form2, ids::title::Label1));
    check(waitFor([&] { return (form1 = FindWindowW(nullptr, L"Form1")) && !IsWindowVisible(form2); }),
          "Play shows Form1");
    if (!form1)
        return 1;
    auto at = [&](int id) { return of(form1, id); };
    Sleep(GetDoubleClickTime()); // the next press is not the second of a double click
    // The lines of Wine's trace about `control` (%p in annotations, %08lx in calls) that say any of `what`.
    auto traced = [&](int control, std::initializer_list<std::string_view> what) {
        std::ifstream trace{argv[3]};
        char annotated[24], called[24];
        std::snprintf(annotated, sizeof annotated, "(%016llX ", reinterpret_cast<unsigned long long>(at(control)));
        std::snprintf(called, sizeof called, "%08llx,", reinterpret_cast<unsigned long long>(at(control)));
        std::vector<std::string> said;
        for (std::string line; std::getline(trace, line);)
            if ((has(line, annotated) || has(line, called)) &&
                std::ranges::any_of(what, [&](auto w) { return has(line, w); }))
                said.push_back(line);
        return said;
    };
    check(waitFor([&] { return !traced(b::Form1, {",00000001,00000001,"}).empty(); }), // SetTimer(form1, 1, 1, ...)
          "Timer1 of Form1 asked for every millisecond");

    auto settled = [&] { // the same ten times in a row
        std::vector<COLORREF> last;
        for (int still = 0; still < 10; Sleep(50)) {
            const std::vector<COLORREF> seen = screenOf(form1);
            still = seen == last ? still + 1 : 0;
            last = seen;
        }
        return last;
    };
    const std::vector<COLORREF> started = settled();
    // Across the upright at x = 216 and the rail at y = 216 (at 300), one layout pixel thick: cloth (green), line
    // (white), cloth; `k` screen pixels to the layout's.
    const int k = static_cast<int>(dpi) / 96, width = scaled(Controls[b::Form1].box, dpi).right;
    bool thin = true;
    for (int i = -1; i <= k; ++i)
        for (const COLORREF seen : {started[300 * k * width + 216 * k + i], started[(216 * k + i) * width + 300 * k]})
            thin = thin && seen == (i < 0 || i == k ? 0x008000u : 0xffffffu);
    check(thin, "the table's lines one layout pixel thick");
    // The chip of 1, pixel for pixel the program's own picture of it at the screen's density.
    const HMODULE exe = LoadLibraryExW(argv[1], nullptr, LOAD_LIBRARY_AS_DATAFILE);
    const std::vector<COLORREF> chip = screenOf(at(b::Image1));
    std::vector<COLORREF> own(chip.size()); // as the screen's, 32 bits a pixel
    GetBitmapBits(LoadBitmapW(exe, dpi == 96 ? L"CHIP-1-1X" : L"CHIP-1-2X"), own.size() * sizeof(COLORREF), own.data());
    check(!chip.empty() && chip == own, "the chips drawn from the program's own pictures at the screen's density");
    // The window's new place that WM_DPICHANGED points to goes unread: the game centres it anew.
    SendMessageW(form1, WM_DPICHANGED, MAKEWPARAM(144, 144), 0);
    check(laidOut(form1, b::Form1, 144), "after a change of scale to 150 %, every control placed at it");
    SendMessageW(form1, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), 0);
    check(laidOut(form1, b::Form1, dpi) && waitFor([&] { return screenOf(form1) == started; }),
          "and after one back, every control named and placed as laid out, and drawn as the game started");

    // A chip of 1 laid on 17 and its entry selected: Delete held withdraws it (the counter of chips of 1 tells),
    // but not once the program has lost the keyboard.
    auto chipsOf1 = [&] { return textOf(at(b::Label3)); };
    const int firstEntry = MulDiv(26, dpi, 96); // low in the first entry, from 2 to 33 on the layout
    auto betAndSelect = [&] {
        click(at(b::Label1 + 17));
        click(at(b::List1), firstEntry, firstEntry);
        return waitFor([&] { return chipsOf1() == "1"; });
    };
    click(at(b::Image1));
    const bool withdrawn =
        betAndSelect() && PostMessageW(form1, WM_KEYDOWN, VK_DELETE, 1) && waitFor([&] { return chipsOf1() == "2"; });
    SendMessageW(form1, WM_ACTIVATEAPP, FALSE, 0);
    check(withdrawn && betAndSelect() && !waitFor([&] { return chipsOf1() != "1"; }, 1000),
          "Delete held withdraws the selected entry; laid again and selected with the keyboard lost, it stays");

    // Screen readers told the table's name, each control's role, description, value and state: annotations
    // by their properties' GUIDs; a state cleared names none.
    constexpr char Name[] = "{608d3df8-", Value[] = "{123fe443-", Description[] = "{4d48dfe4-", Role[] = "{cb905ff2-",
                   State[] = "{a8d4d5b0-";
    for (auto [control, property, said] : std::initializer_list<std::tuple<int, const char*, const char*>>{
             {b::Form1, Name, "L\"Morvik Roulette table\""}, {b::Image1, Role, "{VT_I4: 43}"},
             {b::Image1, Description, "L\"1 chip\""}, {b::Image1, State, "{VT_I4: 1048584}"},
             {b::Image1 + 1, State, "ClearHwndProps"}, {b::List1, Role, "{VT_I4: 33}"}, {b::List1, Value, "L\"17-1\""},
             {b::Cislo, Role, "{VT_I4: 41}"}, {b::Cislo, Value, "L\"1, red\""}}) {
        const auto lines = traced(control, {property, property == State ? "ClearHwndProps" : property});
        check(!lines.empty() && has(lines.back(), said), layoutName(control) + " last told " + said);
    }

    // High contrast turned on mid-round, the chip of 1 in hand and the focus on 18, and off: only the look changes.
    click(at(b::Label1 + 18));
    PostMessageW(form1, WM_KEYDOWN, VK_RIGHT, 1);
    auto highContrast = [&](const wchar_t* flags) {
        RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Accessibility\\HighContrast", L"Flags", REG_SZ, flags, 4);
        SendMessageW(form1, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
        return settled();
    };
    const std::vector<COLORREF> normal = highContrast(L"0"), high = highContrast(L"1");
    std::ofstream shot(argv[4], std::ios::binary);
    shot << "P6 " << width << ' ' << high.size() / width << " 255\n";
    for (const COLORREF c : high)
        shot << static_cast<char>(c >> 16) << static_cast<char>(c >> 8) << static_cast<char>(c);
    check(high != normal && highContrast(L"0") == normal, "the high-contrast setting followed, on and off");

    // Twelve entries, the newest eleven in sight, until the wheel turned away in a touchpad's thirds of a notch.
    click(at(b::Label1 + 17));
    for (int chip = 1; chip < DenominationCount; ++chip)
        for (const int control : {b::Image1 + chip, b::Label1 + 17, b::Label1 + 17})
            click(at(control));
    waitFor([&] { return textOf(at(b::Label3 + 5)) == "0"; });
    const std::vector<COLORREF> newest = settled();
    RECT list{};
    GetWindowRect(at(b::List1), &list);
    for (int step = 0; step < 3; ++step)
        PostMessageW(form1, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA / 3), MAKELPARAM(list.left + 10, list.top + 10));
    check(waitFor([&] { return screenOf(form1) != newest; }),
          "the wheel turned away brings earlier entries into sight");

    // Player 2's Next spins; Alt+Enter (the desktop's) leaves Next unpressed, Tab goes to X.
    click(at(b::Label6));
    waitFor([&] { return textOf(at(b::Label4)) == "Player 2"; });
    Sleep(GetDoubleClickTime()); // the next press is not the second of a double click
    click(at(b::Label6));
    waitFor([&] { return textOf(at(b::Label4)) == "Player 1"; });
    PostMessageW(form1, WM_SYSKEYDOWN, VK_RETURN, 0x20000001);
    PostMessageW(form1, WM_KEYDOWN, VK_TAB, 1);
    Sleep(1000);
    check(traced(b::Cislo, {"NotifyWinEvent(0000800e,"}).size() == 1 &&
              traced(b::Label7, {"NotifyWinEvent(00008005,"}).size() == 1 && textOf(at(b::Label4)) == "Player 1",
          "screen readers hear the drawn number once a spin; Alt+Enter leaves Next, Tab goes to X");

    TerminateProcess(game, 0);
    WaitForSingleObject(game, 10'000);
    return failures == 0 ? 0 : 1;
}
