// Makes Wine report a chosen Windows to the programs started after it, in both
// registry views, so 32-bit and 64-bit programs alike see it.
//
//   emulate_windows.exe MAJOR.MINOR BUILD SP_MAJOR SP_MINOR PRODUCT_TYPE [SERVICE_PACK_TEXT]
//
// PRODUCT_TYPE: WinNT (workstation), LanmanNT (domain controller), ServerNT (server).
#include "WineSystem.h"

#include <cstdio>
#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    EmulatedWindows windows;
    unsigned major = 0, minor = 0;
    if ((argc != 6 && argc != 7) || std::swscanf(argv[1], L"%u.%u", &major, &minor) != 2) {
        std::fprintf(stderr, "usage: emulate_windows MAJOR.MINOR BUILD SP_MAJOR SP_MINOR "
                             "PRODUCT_TYPE [SERVICE_PACK_TEXT]\n");
        return 2;
    }
    windows.major = major;
    windows.minor = minor;
    windows.build = static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10));
    windows.servicePackMajor = static_cast<WORD>(std::wcstoul(argv[3], nullptr, 10));
    windows.servicePackMinor = static_cast<WORD>(std::wcstoul(argv[4], nullptr, 10));
    windows.productType = argv[5];
    windows.servicePackText = argc == 7 ? argv[6] : L"";
    EmulateWindows(windows);
    return 0;
}
