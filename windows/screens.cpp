#include "windows/screens.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdlib>

namespace morvik::win32 {

namespace {

constexpr wchar_t ClassName[] = L"MorvikControl";
constexpr UINT_PTR Timer1 = 1;

// Screen readers' roles.
constexpr auto Roles = byRole<LONG>(
    {{Role::Window, ROLE_SYSTEM_CLIENT}, {Role::Pane, ROLE_SYSTEM_PANE}, {Role::Button, ROLE_SYSTEM_PUSHBUTTON},
     {Role::Graphic, ROLE_SYSTEM_GRAPHIC}, {Role::Text, ROLE_SYSTEM_STATICTEXT}, {Role::List, ROLE_SYSTEM_LIST},
     {Role::Readout, ROLE_SYSTEM_STATICTEXT}});

// Keys not listed are Key::Other.
constexpr std::pair<WPARAM, Key> Keys[] = {{VK_DELETE, Key::Delete}, {VK_BACK, Key::Backspace}, {VK_TAB, Key::Tab},
                                           {VK_RETURN, Key::Enter},  {VK_SPACE, Key::Space},    {VK_LEFT, Key::Left},
                                           {VK_RIGHT, Key::Right},   {VK_UP, Key::Up},          {VK_DOWN, Key::Down}};

// The user's interface languages, most wanted first, ASCII tags ("cs-CZ") apart by spaces.
std::string systemLanguages()
{
    wchar_t names[512]{};
    ULONG count = 0, size = std::size(names);
    GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, names, &size);
    std::replace(names, names + std::size(names), L'\0', L' ');
    return {names, names + std::size(names)};
}

} // namespace

Screens::Screens(Session::Services services)
    : session(services, *this, systemLanguages())
{
    WNDCLASSW type{};
    type.lpfnWndProc = proc;
    type.hInstance = GetModuleHandleW(nullptr);
    type.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    type.lpszClassName = ClassName;
    RegisterClassW(&type);
    CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices, &annotations);
    build(ids::title::Form2);
    session.start();
    followContrast();
}

// The system's high-contrast setting, read at start and whenever a setting or
// the system's colours change: its theme's own colours are the ones to draw with.
void Screens::followContrast()
{
    HIGHCONTRASTW setting{.cbSize = sizeof setting, .dwFlags = 0, .lpszDefaultScheme = nullptr};
    SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof setting, &setting, 0);
    const auto system = [](int index) {
        const COLORREF c = GetSysColor(index);
        return Rgb{GetRValue(c), GetGValue(c), GetBValue(c)};
    };
    session.setHighContrast(setting.dwFlags & HCF_HIGHCONTRASTON
                                ? std::optional(Palette{system(COLOR_WINDOW), system(COLOR_WINDOWTEXT),
                                                        system(COLOR_HIGHLIGHT), system(COLOR_HOTLIGHT),
                                                        system(COLOR_GRAYTEXT)})
                                : std::nullopt);
}

Screens::~Screens()
{
    for (HWND window : {windows[ids::title::Form2], windows[ids::table::Form1]})
        DestroyWindow(window); // Form1's is null until the table is made: Windows refuses it
}

LRESULT CALLBACK Screens::proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<Screens*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    // Until CreateWindowExW returns, the window is not yet a control of the game.
    const int control = self ? self->controlOf(window) : -1;
    return control < 0 ? DefWindowProcW(window, message, wParam, lParam)
                       : self->handle(control, message, wParam, lParam);
}

LRESULT Screens::handle(int control, UINT message, WPARAM wParam, LPARAM lParam)
{
    const HWND window = windows[control];
    const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
    // A child window cannot be seen through: each draws what lies beneath it too.
    case WM_PAINT: {
        PAINTSTRUCT paint;
        painter.draw(BeginPaint(window, &paint), session.plan(control, scale(control), true));
        EndPaint(window, &paint);
        return 0;
    }
    case WM_ERASEBKGND: return TRUE;
    case WM_LBUTTONDOWN: {
        const bool second = secondPress();
        // The release comes here wherever the pointer is.
        SetCapture(window);
        if (Controls[control].kind == Kind::List)
            session.pressList(control, {at.x, at.y});
        else
            session.press(control, second);
        return 0;
    }
    case WM_LBUTTONUP: {
        ReleaseCapture();
        RECT client{};
        GetClientRect(window, &client);
        session.release(PtInRect(&client, at) ? control : -1);
        return 0;
    }
    // The wheel turns whatever lies under the pointer; its point is on the screen.
    case WM_MOUSEWHEEL: session.wheel(controlOf(WindowFromPoint(at)), -GET_WHEEL_DELTA_WPARAM(wParam)); return 0;
    case WM_CLOSE: session.closeRequest(control); return 0;
    case WM_TIMER: session.tick(); return 0;
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE: followContrast(); return 0;
    // The release of a key held while another program takes the keyboard
    // never reaches us.
    case WM_ACTIVATEAPP:
        if (!wParam)
            session.keyboardLost();
        return 0;
    case WM_DPICHANGED: layOut(control, HIWORD(wParam)); return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

bool Screens::see(const MSG& message)
{
    const UINT m = message.message;
    // A key pressed with Alt is the desktop's (WM_SYSKEYDOWN), but let go as
    // any other; bit 30 of a press: the key was down already, a repeat.
    if (m != WM_KEYDOWN && m != WM_KEYUP && m != WM_SYSKEYUP)
        return false;
    const bool down = m == WM_KEYDOWN;
    const auto* known = std::ranges::find(Keys, message.wParam, &std::pair<WPARAM, Key>::first);
    const Key key = known == std::end(Keys) ? Key::Other : known->second;
    return session.key(key == Key::Tab && down && GetKeyState(VK_SHIFT) < 0 ? Key::BackTab : key, down,
                       down && (message.lParam & (1 << 30)));
}

// The desktop's double click, with its own time and distance, whichever
// windows its presses fall on: Windows pairs only presses on one window, and
// the second press of a click that brings up a window falls on that window.
// A third press begins a new pair.
bool Screens::secondPress()
{
    const DWORD time = GetMessageTime();
    const POINT at{GET_X_LPARAM(GetMessagePos()), GET_Y_LPARAM(GetMessagePos())};
    const bool second = time - firstTime <= GetDoubleClickTime() &&
                        std::abs(at.x - firstAt.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
                        std::abs(at.y - firstAt.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
    firstTime = second ? 0 : time;
    firstAt = second ? POINT{} : at;
    return second;
}

int Screens::controlOf(HWND window) const
{
    const auto found = std::ranges::find(windows, window);
    return found == windows.end() ? -1 : static_cast<int>(found - windows.begin());
}

// Later rows are made later and lie over earlier ones.
void Screens::build(int window)
{
    for (int id = window; id < ids::Count && windowOf(id) == window; ++id) {
        const Control& row = Controls[id];
        const HWND parent = row.parent < 0 ? nullptr : windows[row.parent];
        const DWORD style = (parent ? WS_CHILD | (row.shown ? WS_VISIBLE : 0) : WS_POPUP) |
                            (row.kind == Kind::Window || row.kind == Kind::Box ? WS_CLIPCHILDREN : 0);
        // A window's title is its name in the layout, which tests and the
        // desktop find it by; a control's text is what screen readers call it.
        windows[id] = CreateWindowExW(parent ? 0 : WS_EX_APPWINDOW, ClassName, widen(layoutName(id)).c_str(), style, 0,
                                      0, 0, 0, parent, parent ? reinterpret_cast<HMENU>(INT_PTR{id}) : nullptr,
                                      GetModuleHandleW(nullptr), this);
        if (parent)
            SetWindowPos(windows[id], HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        tell(id);
    }
    layOut(window, GetDpiForWindow(windows[window]));
}

// Every control of the window placed and drawn anew at `newDpi` or, where
// the window would not fit its monitor's work area (the screen less the task
// bar) at it, at the largest scale that fits; the window in the area's middle.
void Screens::layOut(int window, UINT newDpi)
{
    MONITORINFO monitor{sizeof monitor, {}, {}, 0};
    GetMonitorInfoW(MonitorFromWindow(windows[window], MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& area = monitor.rcWork;
    session.rescale(window,
                    fitting(window, {static_cast<int>(newDpi)}, area.right - area.left, area.bottom - area.top));
    for (int id = window; id < ids::Count && windowOf(id) == window; ++id) {
        Box box = scale(id)(Controls[id].box);
        if (id == window)
            box = {(area.left + area.right - box.width) / 2, (area.top + area.bottom - box.height) / 2, box.width,
                   box.height};
        SetWindowPos(windows[id], nullptr, box.x, box.y, box.width, box.height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RedrawWindow(windows[window], nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

// A screen reader hears a control's name in its window text, and the rest
// through Windows' annotations; it follows the session's focus.
void Screens::tell(int control)
{
    const Accessible told = session.accessible(control);
    const HWND window = windows[control];
    if (Controls[control].parent >= 0)
        SetWindowTextW(window, widen(told.name).c_str());
    if (control == session.focus() && control != focusTold) {
        focusTold = control;
        NotifyWinEvent(EVENT_OBJECT_FOCUS, window, OBJID_CLIENT, CHILDID_SELF);
    }
    auto annotate = [&](const MSAAPROPID& property, std::string_view text) {
        annotations->SetHwndPropStr(window, OBJID_CLIENT, CHILDID_SELF, property, widen(text).c_str());
    };
    if (annotations) {
        if (Controls[control].parent < 0)
            annotate(PROPID_ACC_NAME, told.name);
        annotate(PROPID_ACC_DESCRIPTION, told.description);
        annotate(PROPID_ACC_VALUE, told.value);
        VARIANT value{};
        value.vt = VT_I4;
        value.lVal = Roles[static_cast<int>(told.role)];
        annotations->SetHwndProp(window, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_ROLE, value);
        value.lVal = STATE_SYSTEM_PRESSED | STATE_SYSTEM_FOCUSABLE;
        if (told.pressed)
            annotations->SetHwndProp(window, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_STATE, value);
        else
            annotations->ClearHwndProps(window, OBJID_CLIENT, CHILDID_SELF, &PROPID_ACC_STATE, 1);
    }
    // A list's value is its selected entry.
    if (Controls[control].kind == Kind::List)
        NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, window, OBJID_CLIENT, CHILDID_SELF);
}

void Screens::makeTable()
{
    build(ids::table::Form1);
    // Never stopped, also while hidden: a spin goes on to its end behind the
    // title window. Windows decides how often it really ticks.
    SetTimer(windows[ids::table::Form1], Timer1, Timer1Interval, nullptr);
}

void Screens::show(int control, bool visible)
{
    const bool window = Controls[control].kind == Kind::Window;
    ShowWindow(windows[control], !visible ? SW_HIDE : window ? SW_SHOW : SW_SHOWNA);
    // A window shown is painted at once: under Wine its pixels would
    // otherwise wait for the activation and for the window manager to
    // withdraw the other window, with the other's pixels showing through.
    if (visible && window) {
        UpdateWindow(windows[control]);
        SetForegroundWindow(windows[control]);
    }
}

void Screens::redraw(int control)
{
    InvalidateRect(windows[control], nullptr, FALSE);
    tell(control);
}

void Screens::announce(int control)
{
    NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, windows[control], OBJID_CLIENT, CHILDID_SELF);
}

} // namespace morvik::win32
