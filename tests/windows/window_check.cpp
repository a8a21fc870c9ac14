// What only the Windows program itself can show; the round every front end
// plays is tests/e2e's. The windows are found by their titles, each control
// as the child window of its number: every row of the layout's table named
// (its window text) and placed at the display's dots per inch (Wine's
// LogPixels, in a prefix of the test's own), and again after WM_DPICHANGED,
// which Wine never sends itself, drawn as a game started at that scale. Then
// Timer1's period, a Delete held when the keyboard is lost, the wheel, and
// what screen readers are told beyond the window texts. Wine keeps the
// annotations to itself but traces each one, with the game's SetTimer calls,
// on the game's standard error: the file the check reads.
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
namespace b = ids::table;

namespace {

constexpr UINT NewDpi = 144;
int failures = 0;

void check(bool ok, const char* what)
{
    failures += !ok;
    std::printf("%s - %s\n", ok ? "ok" : "not ok", what);
    std::fflush(stdout);
}

// The focus and value events screen readers hear, with the window concerned.
std::vector<std::pair<DWORD, HWND>> heard;

void CALLBACK hear(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG, DWORD, DWORD)
{
    if (object == OBJID_CLIENT && (event == EVENT_OBJECT_FOCUS || event == EVENT_OBJECT_VALUECHANGE))
        heard.emplace_back(event, window);
}

// Waits, hearing the game meanwhile.
bool waitFor(const std::function<bool()>& ready, ULONGLONG patienceMs = 10'000)
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

// A caption's words as a screen reader reads them, whatever the spaces that lay them out.
std::string words(std::string_view text)
{
    std::istringstream in{std::string(text)};
    std::string word, all;
    while (in >> word)
        all += (all.empty() ? "" : " ") + word;
    return all;
}

// A box of the layout (pixels at 96 dpi) at `dpi`.
RECT scaled(Box b, UINT dpi)
{
    auto s = [dpi](int pixels) { return MulDiv(pixels, static_cast<int>(dpi), 96); };
    return {s(b.x), s(b.y), s(b.x + b.width), s(b.y + b.height)};
}

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

// In UTF-8, as the layout writes it.
std::string textOf(HWND control)
{
    wchar_t text[128]{};
    DWORD_PTR length = 0;
    SendMessageTimeoutW(control, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 5000,
                        &length);
    char utf8[512]{};
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
    return utf8;
}

// The window's size, and every control of it where the table puts it, in the
// control the table puts it in, under the name the table gives it (its
// caption when it has no other; counters and boxes have none).
bool laidOut(HWND window, int windowId, UINT dpi)
{
    bool ok = true;
    auto fail = [&](int id, const char* why) {
        std::printf("# %s: %s\n", layoutName(id).c_str(), why);
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
        if (!found.contains(id)) {
            fail(id, "missing");
            continue;
        }
        const std::string name = words(row.spokenName.empty() ? row.text : row.spokenName);
        if (!name.empty() && words(textOf(found.at(id))) != name)
            fail(id, "named otherwise");
        const HWND parent = GetParent(found.at(id));
        RECT r{};
        GetWindowRect(found.at(id), &r);
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
        const RECT expected = scaled(row.box, dpi);
        if (parent != (row.parent == windowId ? window : found.at(row.parent)) || !EqualRect(&r, &expected))
            fail(id, "elsewhere");
    }
    return ok;
}

// What the screen shows of a window's client area.
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

void click(HWND control, int x = 0, int y = 0)
{
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

// The game started at the display scale of `dpi`, and its table shown.
std::pair<PROCESS_INFORMATION, HWND> startAndPlay(const wchar_t* game, UINT dpi, const char* at)
{
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
    std::wstring command = L"\"" + std::wstring(game) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started);
    HWND form2 = nullptr, form1 = nullptr;
    waitFor([&] { return (form2 = visibleWindow(L"Form2")) != nullptr; }, 60'000);
    if (at)
        check(form2 && laidOut(form2, ids::title::Form2, dpi), at);
    if (form2) {
        click(controls(form2)[ids::title::Label1]);
        waitFor([&] { return (form1 = visibleWindow(L"Form1")) && !IsWindowVisible(form2); });
    }
    return {started, form1};
}

// The last line of Wine's trace about `control` and `property` (a GUID, as
// Wine writes it), or its clearing when the property is the state.
constexpr char AccName[] = "{608d3df8-8128-4aa7-a428-f55e49267291}", AccValue[] = "{123fe443-211a-4615-9527-c45a7e93717a}",
               AccDescription[] = "{4d48dfe4-bd3f-491f-a648-492d6f20c588}",
               AccRole[] = "{cb905ff2-7bd1-4c05-b3c8-e6c241364d70}", AccState[] = "{a8d4d5b0-0a21-42d0-a5c0-514e984f457b}";

bool has(std::string_view text, std::string_view part)
{
    return text.find(part) != text.npos;
}

std::string traced(const std::string& trace, HWND control, std::string_view property)
{
    char window[24];
    std::snprintf(window, sizeof window, "(%016llX ", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(control)));
    std::istringstream lines(trace);
    std::string last;
    for (std::string line; std::getline(lines, line);)
        if (has(line, window) && (has(line, property) || (property == AccState && has(line, "ClearHwndProps"))))
            last = line;
    return last;
}

// Read as Windows Explorer's properties read it.
bool versionRecorded(const wchar_t* exe)
{
    std::vector<char> record(GetFileVersionInfoSizeW(exe, nullptr));
    bool ok = !record.empty() && GetFileVersionInfoW(exe, 0, static_cast<DWORD>(record.size()), record.data());
    for (const wchar_t* field : {L"CompanyName=Morvik Game", L"ProductName=Morvik Roulette",
                                 L"InternalName=Morvik Roulette", L"FileDescription=Morvik Roulette", L"FileVersion=1.00",
                                 L"ProductVersion=1.00", L"OriginalFilename=Morvik Roulette.exe"}) {
        const std::wstring_view f = field;
        const std::wstring path = L"\\StringFileInfo\\040904B0\\" + std::wstring(f.substr(0, f.find(L'=')));
        wchar_t* value = nullptr;
        UINT length = 0;
        ok = ok && VerQueryValueW(record.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) &&
             value == f.substr(f.find(L'=') + 1);
    }
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    return ok && VerQueryValueW(record.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) &&
           fixed->dwFileVersionMS == 0x10000 && fixed->dwFileVersionLS == 0 && fixed->dwProductVersionMS == 0x10000 &&
           fixed->dwProductVersionLS == 0 && fixed->dwFileType == VFT_APP;
}

} // namespace

int wmain(int argc, wchar_t* argv[])
{
    if (argc != 4)
        return 2;
    const UINT dpi = static_cast<UINT>(_wtoi(argv[2]));
    check(versionRecorded(argv[1]), "the version record says Morvik Roulette 1.00 of Morvik Game, an application");
    auto trace = [&] {
        std::ostringstream text;
        text << std::ifstream(std::filesystem::path(argv[3])).rdbuf();
        return text.str();
    };

    // What a game started at the new scale shows, once it shows it still.
    auto [reference, form1] = startAndPlay(argv[1], NewDpi, nullptr);
    std::vector<COLORREF> wanted, seen;
    int still = 0;
    check(form1 && waitFor([&] { return (still = seen == (wanted = screenOf(form1)) ? still + 1 : 0, seen = wanted, still == 10); },
                           60'000),
          "a game started at the new scale shows its table");
    TerminateProcess(reference.hProcess, 0);
    WaitForSingleObject(reference.hProcess, 10'000);

    constexpr wchar_t relayed[] = L"user32.SetTimer";
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Wine\\Debug", L"RelayInclude", REG_SZ, relayed, sizeof relayed);
    SetEnvironmentVariableW(L"WINEDEBUG", L"+relay");
    const auto [game, table1] = startAndPlay(argv[1], dpi, "Form2 and every control in it named and placed as laid out");
    if (!(form1 = table1))
        return 1;
    check(laidOut(form1, b::Form1, dpi), "Play shows Form1, every control in it named and placed as laid out");
    char asked[64];
    std::snprintf(asked, sizeof asked, "SetTimer(%08llx,00000001,00000001,",
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(form1)));
    check(waitFor([&] { return has(trace(), asked); }), "Timer1 of Form1 asked for every millisecond");

    // WM_DPICHANGED points to the window's new place, which must lie in the game's own memory.
    const RECT size = scaled(Controls[b::Form1].box, NewDpi);
    const RECT place{0, 0, size.right, size.bottom};
    void* there = VirtualAllocEx(game.hProcess, nullptr, sizeof place, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    WriteProcessMemory(game.hProcess, there, &place, sizeof place, nullptr);
    DWORD_PTR result = 0;
    SendMessageTimeoutW(form1, WM_DPICHANGED, MAKEWPARAM(NewDpi, NewDpi), reinterpret_cast<LPARAM>(there), SMTO_BLOCK,
                        5000, &result);
    check(laidOut(form1, b::Form1, NewDpi), "after a change of scale, every control placed at the new one");
    check(waitFor([&] { return screenOf(form1) == wanted; }), "and drawn as a game started at that scale draws it");

    // The counter of chips of 1 tells what was laid and withdrawn.
    std::map<int, HWND> table = controls(form1);
    auto chipsOf1 = [&] { return textOf(table[b::Label3]); };
    const int firstEntry = MulDiv(26, NewDpi, 96); // low in the first entry, from 2 to 33 on the layout
    auto betAndSelect = [&] {
        click(table[b::Label1 + 17]);
        click(table[b::List1], firstEntry, firstEntry);
        return waitFor([&] { return chipsOf1() == "1"; });
    };
    click(table[b::Image1]);
    check(betAndSelect(), "a chip of 1 laid on 17 leaves one");
    PostMessageW(form1, WM_KEYDOWN, VK_DELETE, 1);
    check(waitFor([&] { return chipsOf1() == "2"; }), "its entry selected and Delete held withdraw it");
    SendMessageTimeoutW(form1, WM_ACTIVATEAPP, FALSE, 0, SMTO_BLOCK, 5000, &result);
    check(betAndSelect() && !waitFor([&] { return chipsOf1() != "1"; }, 1000),
          "laid again and selected with the keyboard lost meanwhile, its entry stays");

    struct Told {
        int control;
        const char* property;
        const char* said;
    };
    bool told = true;
    for (const Told& t : {Told{b::Form1, AccName, "L\"Morvik Roulette table\""}, Told{b::Image1, AccRole, "{VT_I4: 43}"},
                          Told{b::Image1, AccDescription, "L\"1 chip\""}, Told{b::Image1, AccState, "{VT_I4: 1048584}"},
                          Told{b::Image1 + 1, AccState, "ClearHwndProps"}, Told{b::List1, AccRole, "{VT_I4: 33}"},
                          Told{b::List1, AccValue, "L\"17-1\""}, Told{b::Cislo, AccRole, "{VT_I4: 41}"},
                          Told{b::Cislo, AccValue, "L\"1\""}}) {
        const std::string line = traced(trace(), t.control == b::Form1 ? form1 : table[t.control], t.property);
        if (!has(line, t.said))
            std::printf("# %s told %s\n", layoutName(t.control).c_str(), line.c_str());
        told = told && has(line, t.said);
    }
    check(told, "screen readers told the table's name, and each control's role, description, value and state");

    // With every chip laid, twelve entries: the list shows the newest eleven
    // until the wheel turned away from the player brings the first into sight.
    click(table[b::Label1 + 17]);
    for (int chip = 1; chip < DenominationCount; ++chip) {
        click(table[b::Image1 + chip]);
        click(table[b::Label1 + 17]);
        click(table[b::Label1 + 17]);
    }
    waitFor([&] { return textOf(table[b::Label3 + 5]) == "0"; });
    const HWND list = table[b::List1];
    waitFor([] { return false; }, 500);
    const std::vector<COLORREF> newest = screenOf(list);
    RECT listPlace{};
    GetWindowRect(list, &listPlace);
    PostMessageW(form1, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(listPlace.left + 10, listPlace.top + 10));
    check(waitFor([&] { return screenOf(list) != newest; }), "the wheel turned away brings earlier entries into sight");

    // Player 2's Next spins; a chip pressed meanwhile is hidden and refused.
    click(table[b::Label6]);
    waitFor([&] { return textOf(table[b::Label4]) == "Player 2"; });
    Sleep(GetDoubleClickTime()); // so that the next press is not the second of a double click
    SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_VALUECHANGE, nullptr, hear, game.dwProcessId, 0,
                    WINEVENT_OUTOFCONTEXT);
    click(table[b::Label6]);
    click(table[b::Image1 + 1]);
    waitFor([&] { return textOf(table[b::Label4]) == "Player 1"; });
    waitFor([] { return false; }, 500);
    check(std::ranges::count(heard, std::pair<DWORD, HWND>{EVENT_OBJECT_VALUECHANGE, table[b::Cislo]}) == 1 &&
              has(traced(trace(), table[b::Image1 + 1], AccState), "ClearHwndProps"),
          "screen readers hear the drawn number once a spin; the chip pressed during it stays unchosen");
    PostMessageW(form1, WM_KEYDOWN, VK_TAB, 1);
    check(waitFor([&] { return std::ranges::count(heard, std::pair<DWORD, HWND>{EVENT_OBJECT_FOCUS, table[b::Label7]}) == 1; }),
          "Tab from Next to X, as screen readers hear");

    TerminateProcess(game.hProcess, 0);
    WaitForSingleObject(game.hProcess, 10'000);
    return failures == 0 ? 0 : 1;
}
