#pragma once
// The version record, laid out exactly as OSVERSIONINFOEXA (checked against the
// Windows headers where those are available), so that pure code can classify it.
#include <cstddef>
#include <cstdint>

struct VersionRecord {
    uint32_t dwOSVersionInfoSize;
    uint32_t dwMajorVersion;
    uint32_t dwMinorVersion;
    uint32_t dwBuildNumber;
    uint32_t dwPlatformId;
    char szCSDVersion[128];
    uint16_t wServicePackMajor;
    uint16_t wServicePackMinor;
    uint16_t wSuiteMask;
    uint8_t wProductType;
    uint8_t wReserved;
};

constexpr uint32_t kVersionRecordSize = 156;
static_assert(sizeof(VersionRecord) == kVersionRecordSize, "OSVERSIONINFOEXA is 156 bytes");

constexpr uint8_t kWorkstation = 1; // VER_NT_WORKSTATION

// A record as every caller prepares it before reading: all zero, size field set.
inline VersionRecord PreparedVersionRecord() {
    VersionRecord record{};
    record.dwOSVersionInfoSize = kVersionRecordSize;
    return record;
}
