// Wine answers SPI_GETHIGHCONTRAST with the setting off whatever the theme. In
// the program the window check runs, that one call reads the setting where
// Windows keeps it, so that the check can turn it on and off; the colours are
// the system's (Control Panel\Colors), as GetSysColor reads them.
#include <windows.h>

#include <cwchar>

inline BOOL settingFromRegistry(UINT action, UINT size, void* setting, UINT ini)
{
    if (action != SPI_GETHIGHCONTRAST)
        return SystemParametersInfoW(action, size, setting, ini);
    wchar_t flags[16]{};
    DWORD bytes = sizeof flags;
    RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Accessibility\\HighContrast", L"Flags", RRF_RT_REG_SZ, nullptr,
                 flags, &bytes);
    static_cast<HIGHCONTRASTW*>(setting)->dwFlags = std::wcstoul(flags, nullptr, 10);
    return TRUE;
}
#define SystemParametersInfoW settingFromRegistry
