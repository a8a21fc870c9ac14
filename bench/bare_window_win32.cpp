// The yardstick for the Windows program, built as it is (static, MinGW-w64,
// its manifest): the least Win32 program that shows a window like the title
// window, borderless, black, of its size and centred on the primary monitor's
// work area. With the argument "timer" a 1 ms timer ticks into an empty
// handler, as the table's Timer1 is asked to tick.
#include <windows.h>

#include <cwchar>

namespace {

LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER)
        return 0;
    if (message == WM_CLOSE)
        PostQuitMessage(0);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR arguments, int)
{
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
