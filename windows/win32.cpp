#include "windows/win32.h"

namespace morvik::win32 {

std::wstring widen(std::string_view utf8)
{
    const int size = static_cast<int>(utf8.size());
    std::wstring wide(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), static_cast<int>(wide.size()));
    return wide;
}

void installLayoutFont(HINSTANCE instance, int resource)
{
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(resource), RT_RCDATA);
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    DWORD fonts = 0;
    // Captions laid out for this face must never be drawn in another.
    if (!loaded || !AddFontMemResourceEx(LockResource(loaded), SizeofResource(instance, found), nullptr, &fonts))
        FatalAppExitW(0, L"Morvik Roulette cannot read its font.");
}

Gdi<HFONT> layoutFont(int devicePixels)
{
    return Gdi<HFONT>(CreateFontW(-devicePixels, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, EASTEUROPE_CHARSET,
                                  OUT_TT_ONLY_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, FIXED_PITCH | FF_MODERN,
                                  L"Liberation Mono"));
}

Gdi<HBITMAP> bitmapResource(int resource)
{
    Gdi<HBITMAP> picture(static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    // A window must never show a blank picture.
    if (!picture)
        FatalAppExitW(0, L"Morvik Roulette cannot read its pictures.");
    return picture;
}

} // namespace morvik::win32
