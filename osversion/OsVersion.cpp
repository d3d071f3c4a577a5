#include "osversion/OsVersion.h"

#include "osversion/VersionCode.h"

#include <windows.h>

#include <cstddef>

namespace {
// The kernel's record: the same fields, the service-pack text in UTF-16.
using KernelVersionRecord = RTL_OSVERSIONINFOEXW;
static_assert(sizeof(KernelVersionRecord) == 284, "RTL_OSVERSIONINFOEXW is 284 bytes");
static_assert(sizeof(OSVERSIONINFOEXA) == 156, "OSVERSIONINFOEXA is 156 bytes");
static_assert(sizeof(OSVERSIONINFOEXA) == sizeof(VersionRecord), "same layout");
static_assert(offsetof(OSVERSIONINFOEXA, dwMajorVersion) ==
              offsetof(VersionRecord, dwMajorVersion));
static_assert(offsetof(OSVERSIONINFOEXA, szCSDVersion) == offsetof(VersionRecord, szCSDVersion));
static_assert(offsetof(OSVERSIONINFOEXA, wServicePackMajor) ==
              offsetof(VersionRecord, wServicePackMajor));
static_assert(offsetof(OSVERSIONINFOEXA, wProductType) == offsetof(VersionRecord, wProductType));
static_assert(offsetof(OSVERSIONINFOEXA, wReserved) == offsetof(VersionRecord, wReserved));

using RtlGetVersionFn = LONG(WINAPI*)(KernelVersionRecord*);
} // namespace

bool ReadVersionRecord(VersionRecord& record) {
    // Looked up on every call and never imported: GetVersionEx lies to programs
    // without a compatibility manifest, RtlGetVersion does not.
    HMODULE ntdll = LoadLibraryA("ntdll.dll");
    if (!ntdll)
        return false;
    // Through a generic function pointer: FARPROC's own signature means nothing here.
    auto rtlGetVersion = reinterpret_cast<RtlGetVersionFn>(
        reinterpret_cast<void (*)()>(GetProcAddress(ntdll, "RtlGetVersion")));
    if (!rtlGetVersion) {
        FreeLibrary(ntdll);
        return false;
    }

    KernelVersionRecord kernel{};
    kernel.dwOSVersionInfoSize = sizeof(kernel);
    rtlGetVersion(&kernel); // the status says nothing the zeroed record does not

    record.dwOSVersionInfoSize = kVersionRecordSize;
    record.dwMajorVersion = kernel.dwMajorVersion;
    record.dwMinorVersion = kernel.dwMinorVersion;
    record.dwBuildNumber = kernel.dwBuildNumber;
    record.dwPlatformId = kernel.dwPlatformId;
    record.wServicePackMajor = kernel.wServicePackMajor;
    record.wServicePackMinor = kernel.wServicePackMinor;
    record.wSuiteMask = kernel.wSuiteMask;
    record.wProductType = kernel.wProductType;
    record.wReserved = kernel.wReserved;
    NarrowServicePackText(kernel.szCSDVersion, record.szCSDVersion);

    FreeLibrary(ntdll);
    return true;
}

unsigned ClassifyVersion() {
    VersionRecord record = PreparedVersionRecord();
    ReadVersionRecord(record);
    return MapVersionCode(record, [] { return GetSystemMetrics(SM_SERVERR2); });
}
