#include "windows/desk.h"

namespace morvik::win32 {

float SystemClock::timeOfDay()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return static_cast<float>(now.wHour * 3600 + now.wMinute * 60 + now.wSecond)
        + static_cast<float>(now.wMilliseconds) / 1000.0f;
}

void DeleteKeyWatch::see(const MSG& message)
{
    if (message.wParam != VK_DELETE)
        return;
    // Bit 30: the key was already down, an auto-repeat, which adds nothing.
    if (message.message == WM_KEYDOWN && !(message.lParam & (1 << 30)))
        down = pressedSinceAsked = true;
    if (message.message == WM_KEYUP)
        down = false;
}

bool DeleteKeyWatch::deletePressed()
{
    const bool pressed = down || pressedSinceAsked;
    pressedSinceAsked = false;
    return pressed;
}

} // namespace morvik::win32
