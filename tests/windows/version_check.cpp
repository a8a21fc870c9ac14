// Reads the version record back out of the built executable, as Windows
// Explorer's properties do, and checks every field.
//
//   version_check <Morvik Roulette.exe>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

int wmain(int argc, wchar_t* argv[])
{
    if (argc != 2)
        return 2;
    std::vector<char> record(GetFileVersionInfoSizeW(argv[1], nullptr));
    if (record.empty() || !GetFileVersionInfoW(argv[1], 0, static_cast<DWORD>(record.size()), record.data())) {
        std::printf("not ok - no version record in %ls\n", argv[1]);
        return 1;
    }
    int failures = 0;
    struct Field {
        const wchar_t* name;
        const wchar_t* value;
    };
    for (const Field& field : {Field{L"CompanyName", L"Morvik Game"}, Field{L"ProductName", L"Morvik Roulette"},
                               Field{L"InternalName", L"Morvik Roulette"}, Field{L"FileDescription", L"Morvik Roulette"},
                               Field{L"FileVersion", L"1.00"}, Field{L"ProductVersion", L"1.00"},
                               Field{L"OriginalFilename", L"Morvik Roulette.exe"}}) {
        const std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + field.name;
        wchar_t* value = nullptr;
        UINT length = 0;
        const bool found = VerQueryValueW(record.data(), path.c_str(), reinterpret_cast<void**>(&value), &length);
        const bool ok = found && std::wstring(value) == field.value;
        failures += !ok;
        std::printf("%s - %ls is \"%ls\"\n", ok ? "ok" : "not ok", field.name, found ? value : L"(missing)");
    }
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    const bool ok = VerQueryValueW(record.data(), L"\\", reinterpret_cast<void**>(&fixed), &length)
        && fixed->dwFileVersionMS == MAKELONG(0, 1) && fixed->dwFileVersionLS == 0
        && fixed->dwProductVersionMS == MAKELONG(0, 1) && fixed->dwProductVersionLS == 0
        && fixed->dwFileType == VFT_APP;
    failures += !ok;
    std::printf("%s - the fixed part says version 1.0.0.0 of an application\n", ok ? "ok" : "not ok");
    return failures == 0 ? 0 : 1;
}
