#include "windows/screens.h"

#include "windows/bet_list.h"
#include "windows/control_window.h"

namespace morvik::win32 {

namespace {

constexpr UINT_PTR Timer1 = 1;

// A window of the layout's size in the middle of its monitor's work area.
void centre(HWND window)
{
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
    RECT r{};
    GetWindowRect(window, &r);
    const RECT& area = monitor.rcWork;
    SetWindowPos(window, nullptr, (area.left + area.right - (r.right - r.left)) / 2,
                 (area.top + area.bottom - (r.bottom - r.top)) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

Screens::Screens(Session::Services services)
    : players(services, *this)
{
    IAccPropServices* annotator = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                                   reinterpret_cast<void**>(&annotator))))
        annotations.reset(annotator);
    build(ids::title::Form2);
    show(ids::title::Form2, true);
}

Screens::~Screens()
{
    for (HWND window : {windows[ids::title::Form2], windows[ids::table::Form1]})
        if (window)
            DestroyWindow(window);
}

void Screens::build(int window)
{
    for (int id = 0; id < ids::Count; ++id) {
        const Control& row = Controls[id];
        if (windowOf(id) != window)
            continue;
        const HWND parent = row.parent < 0 ? nullptr : windows[row.parent];
        windows[id] = row.kind == Kind::List ? BetList::create(id, players, parent)
                                             : ControlWindow::create(id, players, parent);
        // Later rows lie over earlier ones.
        if (parent)
            SetWindowPos(windows[id], HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        if (row.kind == Kind::Window)
            annotate(id, PROPID_ACC_NAME, row.spokenName);
        annotate(id, PROPID_ACC_DESCRIPTION, row.description);
        if (row.clickable && annotations) {
            VARIANT button{};
            button.vt = VT_I4;
            button.lVal = ROLE_SYSTEM_PUSHBUTTON;
            annotations->SetHwndProp(windows[id], OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_ROLE, button);
        }
    }
    ControlWindow::of(windows[window]).layOut(GetDpiForWindow(windows[window]));
    centre(windows[window]);
}

void Screens::annotate(int control, const MSAAPROPID& property, std::string_view text)
{
    if (annotations && !text.empty())
        annotations->SetHwndPropStr(windows[control], OBJID_CLIENT, CHILDID_SELF, property, widen(text).c_str());
}

void Screens::see(const MSG& message)
{
    if ((message.message != WM_KEYDOWN && message.message != WM_KEYUP)
        || (message.wParam != VK_DELETE && message.wParam != VK_BACK))
        return;
    // Bit 30: the key was already down, an auto-repeat, which adds nothing.
    const bool down = message.message == WM_KEYDOWN;
    if (!(down && (message.lParam & (1 << 30))))
        players.key(message.wParam == VK_DELETE ? Key::Delete : Key::Backspace, down);
}

void Screens::makeTable()
{
    build(ids::table::Form1);
    // Asked for every millisecond and never stopped, also while hidden: a
    // spin goes on to its end behind the title window. Windows decides how
    // often it really ticks.
    SetTimer(windows[ids::table::Form1], Timer1, 1, nullptr);
}

void Screens::show(int control, bool visible)
{
    if (Controls[control].kind != Kind::Window) {
        ShowWindow(windows[control], visible ? SW_SHOWNA : SW_HIDE);
        return;
    }
    // A window shown is painted at once: under Wine its pixels would
    // otherwise wait for the activation and for the window manager to
    // withdraw the other window, with the other's pixels showing through.
    ShowWindow(windows[control], visible ? SW_SHOW : SW_HIDE);
    if (visible) {
        UpdateWindow(windows[control]);
        SetForegroundWindow(windows[control]);
    }
}

void Screens::setText(int control, std::string_view text, Rgb colour, int pixelSize)
{
    ControlWindow::of(windows[control]).setText(text, colour, pixelSize);
}

void Screens::describe(int control, std::string_view description)
{
    annotate(control, PROPID_ACC_DESCRIPTION, description);
}

void Screens::announce(int control)
{
    annotate(control, PROPID_ACC_VALUE, ControlWindow::of(windows[control]).text());
    NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, windows[control], OBJID_CLIENT, CHILDID_SELF);
}

void Screens::appendEntry(int list, std::string_view text)
{
    SendMessageW(windows[list], LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(text).c_str()));
}

void Screens::removeEntry(int list, int row)
{
    SendMessageW(windows[list], LB_DELETESTRING, row, 0);
}

void Screens::clearEntries(int list)
{
    SendMessageW(windows[list], LB_RESETCONTENT, 0, 0);
}

void Screens::selectEntry(int list, int row)
{
    SendMessageW(windows[list], LB_SETCURSEL, static_cast<WPARAM>(row), 0);
}

void Screens::quit()
{
    PostQuitMessage(0);
}

} // namespace morvik::win32
