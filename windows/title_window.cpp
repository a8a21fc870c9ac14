#include "windows/title_window.h"

#include "layout/title.h"
#include "windows/resources.h"

#include <windowsx.h>

namespace morvik::win32 {

namespace {

constexpr wchar_t ClassName[] = L"MorvikTitle";

// Control numbers: Label1(i) is Label1 + i.
enum Control : int { Image1 = 100, Image2, Label1, Label2 = Label1 + 2 };

const Backdrop WindowBackdrop{title::Background, {}, {}, {&title::Shape1, 1}};

} // namespace

TitleWindow::TitleWindow(Desk& desk)
    : desk(desk)
{
    createWindow(ClassName, proc, WS_EX_APPWINDOW, L"Form2", WS_POPUP | WS_CLIPCHILDREN, nullptr, 0, this);
}

TitleWindow::~TitleWindow()
{
    table.reset();
    DestroyWindow(hwnd);
}

LRESULT CALLBACK TitleWindow::proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    TitleWindow* self = instance<TitleWindow>(hwnd, message, lParam);
    if (!self)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    switch (message) {
        HANDLE_MSG(hwnd, WM_CREATE, self->onCreate);
        HANDLE_MSG(hwnd, WM_PAINT, self->onPaint);
        HANDLE_MSG(hwnd, WM_ERASEBKGND, self->onEraseBkgnd);
        HANDLE_MSG(hwnd, WM_DRAWITEM, self->onDrawItem);
        HANDLE_MSG(hwnd, WM_COMMAND, self->onCommand);
        HANDLE_MSG(hwnd, WM_CLOSE, self->onClose);
    case WM_DPICHANGED:
        self->onDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

BOOL TitleWindow::onCreate(HWND, LPCREATESTRUCT)
{
    scale = Scale::of(hwnd);
    makeFonts();
    artwork = bitmapResource(MORVIK_TITLE_ARTWORK);
    logo = bitmapResource(MORVIK_LOGO);

    looks[0] = {title::Image1, &WindowBackdrop};
    looks[0].picture = artwork.get();
    looks[1] = {title::Image2, &WindowBackdrop};
    looks[1].picture = logo.get();
    controls[0] = createLabel(hwnd, Image1, widen(title::Image1Name), &looks[0], false);
    controls[1] = createLabel(hwnd, Image2, widen(title::Image2Name), &looks[1], false);
    for (int i = 0; i < 2; ++i) {
        const title::Caption& row = title::Label1[i];
        looks[2 + i] = {row.rect, &WindowBackdrop, row.colour, captionFont.get(), DT_LEFT};
        controls[2 + i] = createLabel(hwnd, Label1 + row.index, widen(row.text), &looks[2 + i], true);
    }
    const title::Caption& remark = title::Label2;
    looks[4] = {remark.rect, &WindowBackdrop, remark.colour, remarkFont.get(), DT_LEFT};
    controls[4] = createLabel(hwnd, Label2, widen(remark.text), &looks[4], false);

    layOut();
    centre(hwnd, title::Width, title::Height, scale);
    return TRUE;
}

void TitleWindow::makeFonts()
{
    captionFont = layoutFont(title::Label1[0].pixelSize, scale);
    remarkFont = layoutFont(title::Label2.pixelSize, scale);
    looks[2].font = looks[3].font = captionFont.get();
    looks[4].font = remarkFont.get();
}

void TitleWindow::layOut()
{
    for (int i = 0; i < static_cast<int>(controls.size()); ++i)
        place(controls[i], looks[i].box, scale);
}

void TitleWindow::onPaint(HWND)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    paintBackdrop(dc, WindowBackdrop, {0, 0, title::Width, title::Height}, scale);
    EndPaint(hwnd, &paint);
}

void TitleWindow::onCommand(HWND, int id, HWND, UINT code)
{
    if ((code == STN_CLICKED || code == STN_DBLCLK) && (id == Label1 || id == Label1 + 1))
        label1Click(id - Label1);
}

// A close request from the desktop (Alt+F4, the task bar) is a "Quit": the
// program must never run on with no window to reach it by.
void TitleWindow::onClose(HWND)
{
    PostQuitMessage(0);
}

void TitleWindow::onDpiChanged(UINT dpi, const RECT& suggested)
{
    scale.dpi = dpi;
    makeFonts();
    layOut();
    SetWindowPos(hwnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(hwnd, nullptr, TRUE);
}

void TitleWindow::label1Click(int index)
{
    if (index == 0) {
        if (!table)
            table = std::make_unique<TableWindow>(desk, [this] { returnFromTable(); });
        table->show();
        ShowWindow(hwnd, SW_HIDE);
    }
    if (index == 1)
        PostQuitMessage(0);
}

void TitleWindow::returnFromTable()
{
    show();
    table->hide();
}

void TitleWindow::show()
{
    ShowWindow(hwnd, SW_SHOW);
    SetForegroundWindow(hwnd);
}

} // namespace morvik::win32
