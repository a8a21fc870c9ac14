// Morvik Roulette for Windows: two players, one table, one mouse.
#include "game/wheel.h"
#include "windows/screens.h"
#include "windows/win32.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    using namespace morvik;
    win32::installLayoutFont(instance);
    // For the screen readers' annotations.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

    LocalClock clock;
    WheelRandom random;
    win32::Screens screens({clock, random});

    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (screens.see(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
