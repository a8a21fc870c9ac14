// Starts the game and finds it the way a screen reader does: the windows by
// their titles, the controls as child windows that answer WM_GETTEXT with
// their captions. Checks a handful of names, the size of both windows and the
// places of a few controls at the display's dots per inch. (Close requests
// are the end-to-end driver's.)
//
//   window_check <Morvik Roulette.exe> <dots per inch>
//
// Any dots per inch but 96 is first written where Wine keeps its display
// scaling (LogPixels); such a test runs in a Wine prefix of its own.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <map>
#include <string>

namespace {

int failures = 0;
int dpi = 96;

void check(bool ok, const char* what)
{
    failures += !ok;
    std::printf("%s - %s\n", ok ? "ok" : "not ok", what);
    std::fflush(stdout);
}

bool waitFor(const std::function<bool()>& ready)
{
    for (int waited = 0; waited < 60'000; waited += 50) {
        if (ready())
            return true;
        Sleep(50);
    }
    return false;
}

HWND visibleWindow(const wchar_t* title)
{
    HWND window = FindWindowW(nullptr, title);
    return window && IsWindowVisible(window) ? window : nullptr;
}

// Every control of a window by its text, as another program reads it.
std::map<std::wstring, HWND> controls(HWND window)
{
    std::map<std::wstring, HWND> found;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM into) {
            wchar_t text[128]{};
            DWORD_PTR length = 0;
            SendMessageTimeoutW(child, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 5000,
                                &length);
            reinterpret_cast<std::map<std::wstring, HWND>*>(into)->emplace(text, child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// A rectangle of the layout (pixels at 96 dpi) at the display's scale.
RECT scaled(int x, int y, int width, int height)
{
    return {MulDiv(x, dpi, 96), MulDiv(y, dpi, 96), MulDiv(x + width, dpi, 96), MulDiv(y + height, dpi, 96)};
}

bool clientIs(HWND window, RECT expected)
{
    RECT client{};
    GetClientRect(window, &client);
    std::printf("# %ld x %ld pixels\n", client.right, client.bottom);
    return EqualRect(&client, &expected);
}

// Where a control lies in its window's client area.
bool placedAt(HWND window, HWND control, RECT expected)
{
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&r), 2);
    return control && EqualRect(&r, &expected);
}

bool hasAll(const std::map<std::wstring, HWND>& found, std::initializer_list<const wchar_t*> names)
{
    for (const wchar_t* name : names) {
        if (!found.contains(name)) {
            std::printf("# no control named \"%ls\"\n", name);
            return false;
        }
    }
    return true;
}

} // namespace

int wmain(int argc, wchar_t* argv[])
{
    if (argc != 3)
        return 2;
    dpi = _wtoi(argv[2]);
    if (dpi != 96) {
        const DWORD logPixels = static_cast<DWORD>(dpi);
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
    check(clientIs(form2, scaled(0, 0, 809, 505)), "Form2 is 809 x 505 layout pixels at this scale");
    const auto title = controls(form2);
    check(hasAll(title, {L"Play", L"Quit", L"Tato ruleta se hraje jako b\u011b\u017en\u00e1 ruleta."}),
          "Form2 names Play, Quit and the remark");
    const HWND play = title.contains(L"Play") ? title.at(L"Play") : nullptr;
    check(placedAt(form2, play, scaled(56, 312, 233, 105)), "Play lies at its place");

    PostMessageW(play, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    PostMessageW(play, WM_LBUTTONUP, 0, 0);
    HWND form1 = nullptr;
    check(waitFor([&] { return (form1 = visibleWindow(L"Form1")) && !IsWindowVisible(form2); }),
          "Play shows the table window Form1 in place of Form2");
    if (!form1)
        return 1;
    check(clientIs(form1, scaled(0, 0, 859, 669)), "Form1 is 859 x 669 layout pixels at this scale");
    const auto table = controls(form1);
    check(hasAll(table, {L"0", L"17", L"36", L"Red", L"Black", L"Even", L"Odd", L" Big   19-36", L"Small     1-18",
                         L"Chip 1", L"Chip 20", L"Chip 100", L"Player 1", L"Next", L"X"}),
          "Form1 names the cells, the discs, the chips, the player, Next and X");
    check(placedAt(form1, table.contains(L"17") ? table.at(L"17") : nullptr, scaled(224, 264, 65, 25)),
          "the cell of 17 lies at its place");
    check(placedAt(form1, table.contains(L"Next") ? table.at(L"Next") : nullptr, scaled(776, 616, 65, 25)),
          "Next lies at its place in the chip tray");

    TerminateProcess(game.hProcess, 0);
    CloseHandle(game.hThread);
    CloseHandle(game.hProcess);
    return failures == 0 ? 0 : 1;
}
