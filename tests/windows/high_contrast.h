// Wine answers SPI_GETHIGHCONTRAST "off" whatever the theme: in the program the
// window check runs, that one call reads the setting where Windows keeps it.
#include <windows.h>

#include <cwchar>

inline BOOL settingFromRegistry(UINT action, UINT size, void* setting, UINT ini)
{
    wchar_t flags[16]{};
    DWORD bytes = sizeof flags;
    if (action != SPI_GETHIGHCONTRAST || RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Accessibility\\HighContrast",
                                                      L"Flags", RRF_RT_REG_SZ, nullptr, flags, &bytes))
        return SystemParametersInfoW(action, size, setting, ini);
    static_cast<HIGHCONTRASTW*>(setting)->dwFlags = std::wcstoul(flags, nullptr, 10);
    return TRUE;
}
#define SystemParametersInfoW settingFromRegistry
