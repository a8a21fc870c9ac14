#include "windows/table_window.h"

#include "layout/table.h"
#include "windows/picture_box.h"
#include "windows/resources.h"

#include <windowsx.h>

#include <string>

namespace morvik::win32 {

namespace {

constexpr wchar_t ClassName[] = L"MorvikTable";
constexpr UINT_PTR Timer1 = 1;

// Control numbers: an indexed group's element i is its first number plus i.
enum Control : int {
    Label1 = 100, // 37 number cells
    Label2 = 200, // Big, Small, Even, Odd
    Label5 = 210, // the click areas over the discs
    Image1 = 300, // the chips
    Label3 = 310, // their counters
    Label4 = 320,
    Label6 = 330,
    Label7 = 340,
    Cislo = 350,
    List1 = 400,
    Picture1 = 500,
    Picture2 = 501,
};

bool in(int id, int first, int count) { return id >= first && id < first + count; }

// Cislo's thin sunken edge, in window pixels: shadow above and left, light
// below and right.
constexpr Box C = table::Cislo;
constexpr std::array<LineFigure, 4> CisloEdge{{
    {{C.x, C.y}, {C.x + C.width - 1, C.y}, table::CisloShadow},
    {{C.x, C.y}, {C.x, C.y + C.height - 1}, table::CisloShadow},
    {{C.x + 1, C.y + C.height - 1}, {C.x + C.width - 1, C.y + C.height - 1}, table::CisloLight},
    {{C.x + C.width - 1, C.y + 1}, {C.x + C.width - 1, C.y + C.height - 1}, table::CisloLight},
}};

const Backdrop WindowBackdrop{table::Black, {}, {}, {}};
const Backdrop TableBackdrop{table::Picture1Colour, table::Lines, table::Shape1, {}};
const Backdrop TrayBackdrop{table::Picture2Colour, {}, {}, {}};
const Backdrop CisloBackdrop{table::CisloBackground, CisloEdge, {}, {}};

// Only a click on an entry selects it. A list box takes a click below its
// entries for one on the last, and would move the player's choice away from
// the bet that Delete is meant to take back.
bool onEntry(HWND list, LPARAM at)
{
    const LRESULT nearest = SendMessageW(list, LB_ITEMFROMPOINT, 0, at);
    RECT entry{};
    return SendMessageW(list, LB_GETITEMRECT, LOWORD(nearest), reinterpret_cast<LPARAM>(&entry)) != LB_ERR
        && PtInRect(&entry, POINT{GET_X_LPARAM(at), GET_Y_LPARAM(at)});
}

LRESULT CALLBACK betListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto listBoxProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(list, GWLP_USERDATA));
    if ((message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) && !onEntry(list, lParam))
        return 0;
    return CallWindowProcW(listBoxProc, list, message, wParam, lParam);
}

// The bet lists: light grey on black; a selected entry in the system's colours.
constexpr Rgb ListText = table::LightGrey;
constexpr Rgb ListBackground = table::Black;

} // namespace

TableWindow::TableWindow(Desk& desk, std::function<void()> titleRequested)
    : desk(desk)
    , titleRequested(std::move(titleRequested))
    , engine(desk.services(), *this)
{
    createWindow(ClassName, proc, WS_EX_APPWINDOW, L"Form1", WS_POPUP | WS_CLIPCHILDREN, nullptr, 0, this);
}

TableWindow::~TableWindow()
{
    DestroyWindow(hwnd);
}

LRESULT CALLBACK TableWindow::proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    TableWindow* self = instance<TableWindow>(hwnd, message, lParam);
    if (!self)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    switch (message) {
        HANDLE_MSG(hwnd, WM_CREATE, self->onCreate);
        HANDLE_MSG(hwnd, WM_PAINT, self->onPaint);
        HANDLE_MSG(hwnd, WM_ERASEBKGND, self->onEraseBkgnd);
        HANDLE_MSG(hwnd, WM_DRAWITEM, self->onDrawItem);
        HANDLE_MSG(hwnd, WM_MEASUREITEM, self->onMeasureItem);
        HANDLE_MSG(hwnd, WM_CTLCOLORLISTBOX, self->onCtlColorListbox);
        HANDLE_MSG(hwnd, WM_COMMAND, self->onCommand);
        HANDLE_MSG(hwnd, WM_TIMER, self->onTimer);
        HANDLE_MSG(hwnd, WM_CLOSE, self->onClose);
        HANDLE_MSG(hwnd, WM_ACTIVATEAPP, self->onActivateApp);
    case WM_DPICHANGED:
        self->onDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

BOOL TableWindow::onCreate(HWND, LPCREATESTRUCT)
{
    scale = Scale::of(hwnd);
    captionFont = layoutFont(table::FontPixels, scale);
    for (int i = 0; i < DenominationCount; ++i)
        chips[i] = bitmapResource(MORVIK_CHIP_FIRST + i);

    buildTable();
    buildTray();

    for (int p = 0; p < PlayerCount; ++p) {
        const std::wstring name = widen(playerName(p)) + L" bets";
        list1[p] = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", name.c_str(),
                                   WS_CHILD | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS,
                                   0, 0, 0, 0, hwnd, reinterpret_cast<HMENU>(INT_PTR{List1 + p}), nullptr, nullptr);
        SetWindowLongPtrW(list1[p], GWLP_USERDATA,
                          SetWindowLongPtrW(list1[p], GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(betListProc)));
        placed.push_back({list1[p], table::List1});
    }
    ShowWindow(list1[0], SW_SHOWNA);

    cislo = label(hwnd, Cislo, L"1", {table::Cislo, &CisloBackdrop, CellColours[1], captionFont.get()}, false);
    label(hwnd, Label7, L"X", {table::Label7, &WindowBackdrop, table::White, captionFont.get()}, true);

    layOut();
    centre(hwnd, table::Width, table::Height, scale);
    engine.load();
    // Asked for every millisecond and never stopped, also while hidden: a
    // spin goes on to its end behind the title window. Windows decides how
    // often it really ticks.
    SetTimer(hwnd, Timer1, 1, nullptr);
    return TRUE;
}

void TableWindow::buildTable()
{
    picture1 = createPictureBox(hwnd, Picture1, &TableBackdrop, table::Picture1);
    placed.push_back({picture1, table::Picture1});
    for (int k = 0; k < NumberCount; ++k)
        label(picture1, Label1 + k, std::to_wstring(k),
              {table::Label1[k], &TableBackdrop, CellColours[k], captionFont.get()}, true);
    for (int i = 0; i < static_cast<int>(table::Label2.size()); ++i) {
        const auto& cell = table::Label2[i];
        label(picture1, Label2 + i, widen(cell.caption), {cell.rect, &TableBackdrop, table::White, captionFont.get()},
              true);
    }
    // No caption of their own: screen readers read the bet they stand for.
    for (int i = 0; i < static_cast<int>(table::Shape1.size()); ++i)
        label(picture1, Label5 + i, widen(OutsideWords[static_cast<int>(table::Label5Targets[i])]),
              {table::Shape1[i].bounds, &TableBackdrop, table::Shape1[i].colour, nullptr}, true);
}

void TableWindow::buildTray()
{
    picture2 = createPictureBox(hwnd, Picture2, &TrayBackdrop, table::Picture2);
    placed.push_back({picture2, table::Picture2});
    label4 = label(picture2, Label4, widen(playerName(0)),
                   {table::Label4, &TrayBackdrop, table::White, captionFont.get()}, false);
    for (int i = 0; i < DenominationCount; ++i) {
        Look chip{table::Image1[i], &TrayBackdrop};
        chip.picture = chips[i].get();
        label(picture2, Image1 + i, L"Chip " + std::to_wstring(ChipValues[i]), chip, true);
        Look counter{table::Label3[i], &TrayBackdrop, table::White, captionFont.get()};
        counter.fitText = true;
        label3[i] = label(picture2, Label3 + i, L"", counter, false);
    }
    label(picture2, Label6, L"Next", {table::Label6, &TrayBackdrop, table::White, captionFont.get()}, true);
}

HWND TableWindow::label(HWND parent, int id, std::wstring_view caption, Look look, bool clickable)
{
    Look& kept = looks.emplace_back(look);
    HWND control = createLabel(parent, id, caption, &kept, clickable);
    placed.push_back({control, look.box});
    return control;
}

void TableWindow::layOut()
{
    for (const Placed& p : placed)
        place(p.control, p.box, scale);
    for (HWND list : list1)
        SendMessageW(list, LB_SETITEMHEIGHT, 0, entryHeight());
}

int TableWindow::entryHeight() const
{
    HDC dc = GetDC(hwnd);
    TEXTMETRICW metrics{};
    {
        const Selection font(dc, captionFont.get());
        GetTextMetricsW(dc, &metrics);
    }
    ReleaseDC(hwnd, dc);
    return metrics.tmHeight;
}

void TableWindow::onPaint(HWND)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    paintBackdrop(dc, WindowBackdrop, {0, 0, table::Width, table::Height}, scale);
    EndPaint(hwnd, &paint);
}

void TableWindow::onDrawItem(HWND, const DRAWITEMSTRUCT* item)
{
    if (item->CtlType == ODT_LISTBOX)
        drawEntry(*item);
    else
        drawLabel(*item);
}

// No focus rectangle: Delete is read from the whole program, and the list
// needs no keyboard focus to show.
void TableWindow::drawEntry(const DRAWITEMSTRUCT& item)
{
    if (item.itemID == static_cast<UINT>(-1) || item.itemAction == ODA_FOCUS)
        return;
    const bool selected = item.itemState & ODS_SELECTED;
    RECT r = item.rcItem;
    FillRect(item.hDC, &r, selected ? GetSysColorBrush(COLOR_HIGHLIGHT) : GetStockBrush(BLACK_BRUSH));
    wchar_t text[32]{};
    if (SendMessageW(item.hwndItem, LB_GETTEXTLEN, item.itemID, 0) < LRESULT{std::size(text)})
        SendMessageW(item.hwndItem, LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(text));
    const Selection font(item.hDC, captionFont.get());
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : colour(ListText));
    r.left += scale(2);
    DrawTextW(item.hDC, text, -1, &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void TableWindow::onMeasureItem(HWND, MEASUREITEMSTRUCT* item)
{
    item->itemHeight = entryHeight();
}

HBRUSH TableWindow::onCtlColorListbox(HWND, HDC dc, HWND, int)
{
    SetBkColor(dc, colour(ListBackground));
    return GetStockBrush(BLACK_BRUSH);
}

void TableWindow::onCommand(HWND, int id, HWND, UINT code)
{
    // A double click is a second click: every click lays a chip.
    if (code != STN_CLICKED && code != STN_DBLCLK)
        return;
    if (in(id, Label1, NumberCount))
        engine.clickNumber(id - Label1);
    else if (in(id, Label2, static_cast<int>(table::Label2.size())))
        engine.clickOutside(table::Label2[id - Label2].target);
    else if (in(id, Label5, static_cast<int>(table::Label5Targets.size())))
        engine.clickOutside(table::Label5Targets[id - Label5]);
    else if (in(id, Image1, DenominationCount))
        engine.clickChip(id - Image1);
    else if (id == Label6)
        engine.clickNext();
    else if (id == Label7)
        titleRequested();
}

void TableWindow::onTimer(HWND, UINT)
{
    engine.tick();
}

// A close request from the desktop does what "X" does: the game is kept, and
// the title window, from which the program ends, comes back.
void TableWindow::onClose(HWND)
{
    titleRequested();
}

void TableWindow::onActivateApp(HWND, BOOL active, DWORD)
{
    if (!active)
        desk.keys.forget();
}

void TableWindow::onDpiChanged(UINT dpi, const RECT& suggested)
{
    scale.dpi = dpi;
    captionFont = layoutFont(table::FontPixels, scale);
    for (Look& look : looks)
        if (look.font)
            look.font = captionFont.get();
    layOut();
    SetWindowPos(hwnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(hwnd, nullptr, TRUE);
}

void TableWindow::show()
{
    ShowWindow(hwnd, SW_SHOW);
    SetForegroundWindow(hwnd);
}

void TableWindow::hide()
{
    ShowWindow(hwnd, SW_HIDE);
}

void TableWindow::showCounter(int denomination, Count chips)
{
    SetWindowTextW(label3[denomination], std::to_wstring(chips).c_str());
}

void TableWindow::showPlayer(int player)
{
    SetWindowTextW(label4, widen(playerName(player)).c_str());
}

void TableWindow::appendEntry(int player, const std::string& text)
{
    SendMessageW(list1[player], LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(text).c_str()));
}

void TableWindow::removeEntry(int player, int row)
{
    SendMessageW(list1[player], LB_DELETESTRING, row, 0);
    SendMessageW(list1[player], LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
}

void TableWindow::clearEntries(int player)
{
    SendMessageW(list1[player], LB_RESETCONTENT, 0, 0);
}

void TableWindow::showList(int player, bool visible)
{
    ShowWindow(list1[player], visible ? SW_SHOWNA : SW_HIDE);
}

void TableWindow::showTray(bool visible)
{
    ShowWindow(picture2, visible ? SW_SHOWNA : SW_HIDE);
}

void TableWindow::showDraw(int number, Rgb colour)
{
    // Every tick of a spin lands here; only Cislo repaints, and only when
    // the number changes.
    if (number == cisloNumber)
        return;
    cisloNumber = number;
    lookOf(cislo).colour = colour;
    SetWindowTextW(cislo, std::to_wstring(number).c_str());
}

int TableWindow::selectedEntry(int player) const
{
    return static_cast<int>(SendMessageW(list1[player], LB_GETCURSEL, 0, 0));
}

} // namespace morvik::win32
