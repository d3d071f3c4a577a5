#pragma once
// The version codes: a pure mapping of the record (and, for a 5.2 non-workstation,
// the R2 answer) to 0..27, and which codes are current.
#include "osversion/VersionRecord.h"

namespace version_code {
constexpr unsigned kOtherServer = 26;
constexpr unsigned kOtherWorkstation = 27;

// Three service-pack levels from `first`: SP0, SP1, SP2 or later.
constexpr unsigned ByServicePack3(unsigned first, uint16_t servicePack) {
    return first + (servicePack >= 2 ? 2u : servicePack);
}
// Two levels from `first`: SP0, SP1 or later.
constexpr unsigned ByServicePack2(unsigned first, uint16_t servicePack) {
    return first + (servicePack >= 1 ? 1u : 0u);
}
} // namespace version_code

// askServerR2() -> int, GetSystemMetrics(SM_SERVERR2) on Windows; called only for a
// non-workstation reporting 5.2.
template <class AskServerR2>
unsigned MapVersionCode(const VersionRecord& record, AskServerR2&& askServerR2) {
    using namespace version_code;
    const uint32_t major = record.dwMajorVersion;
    const uint32_t minor = record.dwMinorVersion;
    const uint16_t sp = record.wServicePackMajor;

    if (record.wProductType == kWorkstation) {
        if (major == 5 && minor == 1)
            return sp >= 3 ? 3u : sp; // XP: SP0..SP3 and later
        if (major == 6 && minor == 0)
            return ByServicePack3(4, sp); // Vista
        if (major == 6 && minor == 1)
            return ByServicePack2(7, sp); // 7
        if (major == 6 && minor == 2)
            return 9; // 8
        if (major == 6 && minor == 3)
            return 10; // 8.1
        if (major == 10 && minor == 0)
            return 11; // 10 and later releases reporting 10.0
        return kOtherWorkstation;
    }

    if (major == 5 && minor == 2) // Server 2003, or 2003 R2
        return ByServicePack3(askServerR2() != 0 ? 15 : 12, sp);
    if (major == 6 && minor == 0)
        return ByServicePack3(18, sp); // Server 2008
    if (major == 6 && minor == 1)
        return ByServicePack2(21, sp); // Server 2008 R2
    if (major == 6 && minor == 2)
        return 23; // Server 2012
    if (major == 6 && minor == 3)
        return 24; // Server 2012 R2
    if (major == 10 && minor == 0)
        return 25; // servers reporting 10.0
    return kOtherServer;
}

bool IsCurrentCode(unsigned code);
