#include "windows/picture_box.h"

#include <windowsx.h>

namespace morvik::win32 {

namespace {

constexpr wchar_t ClassName[] = L"MorvikPictureBox";

struct PictureBox {
    HWND hwnd = nullptr;
    const Backdrop* backdrop = nullptr;
    Box box;

    void onPaint(HWND)
    {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd, &paint);
        paintBackdrop(dc, *backdrop, {0, 0, box.width, box.height}, Scale::of(hwnd));
        EndPaint(hwnd, &paint);
    }
    BOOL onEraseBkgnd(HWND, HDC) { return TRUE; }
    void onDrawItem(HWND, const DRAWITEMSTRUCT* item) { drawLabel(*item); }
    void onCommand(HWND, int id, HWND control, UINT code)
    {
        FORWARD_WM_COMMAND(GetParent(hwnd), id, control, code, SendMessageW);
    }
};

LRESULT CALLBACK pictureProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    PictureBox* self = instance<PictureBox>(hwnd, message, lParam);
    switch (message) {
        HANDLE_MSG(hwnd, WM_PAINT, self->onPaint);
        HANDLE_MSG(hwnd, WM_ERASEBKGND, self->onEraseBkgnd);
        HANDLE_MSG(hwnd, WM_DRAWITEM, self->onDrawItem);
        HANDLE_MSG(hwnd, WM_COMMAND, self->onCommand);
    case WM_NCDESTROY:
        delete self;
        return 0;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace

HWND createPictureBox(HWND parent, int id, const Backdrop* backdrop, Box box)
{
    return createWindow(ClassName, pictureProc, 0, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, parent, id,
                        new PictureBox{nullptr, backdrop, box});
}

} // namespace morvik::win32
