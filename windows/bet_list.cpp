#include "windows/bet_list.h"

#include <windowsx.h>

namespace morvik::win32 {

BetList::BetList(int control, Session& session, HWND list)
    : id(control)
    , session(session)
    , hwnd(list)
    , listBoxProc(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(list, GWLP_WNDPROC)))
    , fill(CreateSolidBrush(colour(Controls[control].fill)))
{
}

HWND BetList::create(int control, Session& session, HWND parent)
{
    const Control& row = Controls[control];
    // Black on the black window: without a sunken edge an empty list could
    // not be seen at all.
    HWND list = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", widen(row.spokenName).c_str(),
                                WS_CHILD | WS_CLIPSIBLINGS | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWFIXED
                                    | LBS_HASSTRINGS,
                                0, 0, 0, 0, parent, reinterpret_cast<HMENU>(INT_PTR{control}), nullptr, nullptr);
    SetWindowLongPtrW(list, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new BetList(control, session, list)));
    SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
    if (row.shown)
        ShowWindow(list, SW_SHOWNA);
    return list;
}

BetList& BetList::of(HWND list)
{
    return *reinterpret_cast<BetList*>(GetWindowLongPtrW(list, GWLP_USERDATA));
}

// A press goes to the session and no further: the list box would select
// the entry itself, take the keyboard, and take a press below its entries
// for one on the last.
LRESULT CALLBACK BetList::proc(HWND list, UINT message, WPARAM wParam, LPARAM lParam)
{
    BetList& self = of(list);
    switch (message) {
        HANDLE_MSG(list, WM_LBUTTONDOWN, self.onLButtonDown);
        HANDLE_MSG(list, WM_LBUTTONDBLCLK, self.onLButtonDown);
    case WM_NCDESTROY: {
        const WNDPROC listBoxProc = self.listBoxProc;
        delete &self;
        return CallWindowProcW(listBoxProc, list, message, wParam, lParam);
    }
    default:
        return CallWindowProcW(self.listBoxProc, list, message, wParam, lParam);
    }
}

void BetList::onLButtonDown(HWND, BOOL, int x, int y, UINT)
{
    session.pressEntry(id, entryAt({x, y}));
}

int BetList::entryAt(POINT at) const
{
    const LRESULT nearest = SendMessageW(hwnd, LB_ITEMFROMPOINT, 0, MAKELPARAM(at.x, at.y));
    RECT entry{};
    return SendMessageW(hwnd, LB_GETITEMRECT, LOWORD(nearest), reinterpret_cast<LPARAM>(&entry)) != LB_ERR
            && PtInRect(&entry, at)
        ? LOWORD(nearest)
        : -1;
}

void BetList::scaleTo(Scale newScale)
{
    scale = newScale;
    font = layoutFont(scale(Controls[id].fontPixels));
    HDC dc = GetDC(hwnd);
    TEXTMETRICW metrics{};
    {
        const Selection selected(dc, font.get());
        GetTextMetricsW(dc, &metrics);
    }
    ReleaseDC(hwnd, dc);
    SendMessageW(hwnd, LB_SETITEMHEIGHT, 0, metrics.tmHeight);
}

// No focus rectangle: the list never has the keyboard.
void BetList::draw(const DRAWITEMSTRUCT& item) const
{
    if (item.itemID == static_cast<UINT>(-1) || item.itemAction == ODA_FOCUS)
        return;
    const bool selected = item.itemState & ODS_SELECTED;
    RECT r = item.rcItem;
    FillRect(item.hDC, &r, selected ? GetSysColorBrush(COLOR_HIGHLIGHT) : fill.get());
    wchar_t text[32]{};
    if (SendMessageW(hwnd, LB_GETTEXTLEN, item.itemID, 0) < LRESULT{std::size(text)})
        SendMessageW(hwnd, LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(text));
    const Selection selectedFont(item.hDC, font.get());
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : colour(Controls[id].colour));
    r.left += scale(2);
    DrawTextW(item.hDC, text, -1, &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

HBRUSH BetList::background(HDC dc) const
{
    SetBkColor(dc, colour(Controls[id].fill));
    return fill.get();
}

} // namespace morvik::win32
