// Morvik Roulette for Windows: two players, one table, one mouse.
#include "windows/desk.h"
#include "windows/resources.h"
#include "windows/title_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    using namespace morvik::win32;
    installLayoutFont(instance, MORVIK_FONT);

    Desk desk;
    TitleWindow title(desk);
    title.show();

    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        desk.keys.see(message);
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
