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

// The kernel's service-pack text (UTF-16 units) narrowed into the record's field:
// each unit up to the first zero keeps its low 8 bits, no code-page conversion.
// At most 127 characters are taken, so the zero always fits; a kernel field with no
// zero of its own is never read past its end.
template <class Unit, std::size_t N>
void NarrowServicePackText(const Unit (&units)[N], char (&text)[128]) {
    static_assert(N == 128, "the kernel's field holds 128 units");
    std::size_t i = 0;
    for (; i + 1 < sizeof(text) && units[i] != 0; ++i)
        text[i] = static_cast<char>(static_cast<unsigned>(units[i]) & 0xFFu);
    text[i] = '\0';
}

// A record as every caller prepares it before reading: all zero, size field set.
inline VersionRecord PreparedVersionRecord() {
    VersionRecord record{};
    record.dwOSVersionInfoSize = kVersionRecordSize;
    return record;
}
