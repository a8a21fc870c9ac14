// The yardstick for the Windows program, built as it is (static, MinGW-w64,
// its manifest): the least Win32 program that shows a window like the title
// window, borderless, black, of its size and centred on the primary monitor's
// work area. With the argument "timer" a 1 ms timer ticks into an empty
// handler, as the table's Timer1 is asked to tick; with "text" it draws the
// title's three captions in the system's Courier New, bold, the least any
// window with text pays for the fonts.
#include <windows.h>

#include <cwchar>
#include <initializer_list>
#include <tuple>

namespace {

bool withText = false;

void paintCaptions(HWND hwnd)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkMode(dc, TRANSPARENT);
    for (auto [x, y, pixels, text] : {std::tuple{56, 312, 96, L"Play"}, {504, 312, 96, L"Quit"},
                                      {224, 464, 19, L"Tato ruleta se hraje jako b\u011b\u017en\u00e1 ruleta."}}) {
        HFONT font = CreateFontW(-pixels, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH, L"Courier New");
        HGDIOBJ old = SelectObject(dc, font);
        TextOutW(dc, x, y, text, static_cast<int>(std::wcslen(text)));
        DeleteObject(SelectObject(dc, old));
    }
    EndPaint(hwnd, &paint);
}

LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER)
        return 0;
    if (message == WM_PAINT && withText) {
        paintCaptions(hwnd);
        return 0;
    }
    if (message == WM_CLOSE)
        PostQuitMessage(0);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR arguments, int)
{
    withText = std::wcscmp(arguments, L"text") == 0;
    WNDCLASSW type{};
    type.lpfnWndProc = proc;
    type.hInstance = instance;
    type.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    type.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    type.lpszClassName = L"BareWindow";
    RegisterClassW(&type);

    constexpr int width = 809, height = 505;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& area = monitor.rcWork;
    HWND window = CreateWindowExW(
        WS_EX_APPWINDOW, type.lpszClassName, L"Bare window", WS_POPUP, area.left + (area.right - area.left - width) / 2,
        area.top + (area.bottom - area.top - height) / 2, width, height, nullptr, nullptr, instance, nullptr);
    if (std::wcscmp(arguments, L"timer") == 0)
        SetTimer(window, 1, 1, nullptr);
    ShowWindow(window, SW_SHOW);

    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        DispatchMessageW(&message);
    return static_cast<int>(message.wParam);
}
