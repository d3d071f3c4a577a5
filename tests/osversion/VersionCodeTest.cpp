// The mapping of a version record (and, for a 5.2 non-workstation, the R2 answer)
// to the version codes, and which codes are current.
#include "osversion/VersionCode.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

namespace {
constexpr uint8_t kWs = 1;  // workstation
constexpr uint8_t kDc = 2;  // domain controller
constexpr uint8_t kSrv = 3; // server

struct Row {
    uint8_t productType;
    uint32_t major;
    uint32_t minor;
    uint16_t servicePack;
    int r2; // what the R2 query answers, if it is asked
    unsigned code;
};

std::string Describe(const Row& r) {
    return "type " + std::to_string(r.productType) + ", " + std::to_string(r.major) + "." +
           std::to_string(r.minor) + " SP" + std::to_string(r.servicePack) + ", R2 " +
           std::to_string(r.r2);
}

VersionRecord RecordOf(const Row& r) {
    VersionRecord record = PreparedVersionRecord();
    record.wProductType = r.productType;
    record.dwMajorVersion = r.major;
    record.dwMinorVersion = r.minor;
    record.wServicePackMajor = r.servicePack;
    return record;
}

// Maps `record`, counting how often the R2 query is asked.
unsigned Map(const VersionRecord& record, int r2, int& r2Calls) {
    r2Calls = 0;
    return MapVersionCode(record, [&] {
        ++r2Calls;
        return r2;
    });
}

void ExpectRows(const Row* rows, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const Row& r = rows[i];
        SCOPED_TRACE(Describe(r));
        int r2Calls = 0;
        EXPECT_EQ(r.code, Map(RecordOf(r), r.r2, r2Calls));
        const bool asksR2 = r.productType != kWs && r.major == 5 && r.minor == 2;
        EXPECT_EQ(asksR2 ? 1 : 0, r2Calls);

        // Nothing else in the record plays a part: minor service pack, build,
        // platform, suite mask, text, reserved byte.
        VersionRecord noisy = RecordOf(r);
        noisy.dwBuildNumber = 22631;
        noisy.dwPlatformId = 2;
        noisy.wServicePackMinor = 5;
        noisy.wSuiteMask = 0xFFFF;
        noisy.wReserved = 0xFF;
        std::strcpy(noisy.szCSDVersion, "Service Pack 9");
        EXPECT_EQ(r.code, Map(noisy, r.r2, r2Calls));
    }
}
} // namespace

TEST(MapVersionCode, WorkstationTable) {
    const Row rows[] = {
        {kWs, 5, 1, 0, 0, 0},
        {kWs, 5, 1, 1, 0, 1},
        {kWs, 5, 1, 2, 0, 2},
        {kWs, 5, 1, 3, 0, 3},
        {kWs, 5, 1, 4, 0, 3},
        {kWs, 5, 1, 0xFFFF, 0, 3},
        {kWs, 6, 0, 0, 0, 4},
        {kWs, 6, 0, 1, 0, 5},
        {kWs, 6, 0, 2, 0, 6},
        {kWs, 6, 0, 3, 0, 6},
        {kWs, 6, 1, 0, 0, 7},
        {kWs, 6, 1, 1, 0, 8},
        {kWs, 6, 1, 2, 0, 8},
        {kWs, 6, 1, 0xFFFF, 0, 8},
        {kWs, 6, 2, 0, 0, 9},
        {kWs, 6, 2, 1, 0, 9},
        {kWs, 6, 3, 0, 0, 10},
        {kWs, 6, 3, 2, 0, 10},
        {kWs, 10, 0, 0, 0, 11},
        {kWs, 10, 0, 3, 0, 11},
        // Every other workstation version, including those listed only for servers.
        {kWs, 5, 0, 0, 0, 27},
        {kWs, 5, 2, 0, 1, 27},
        {kWs, 5, 2, 2, 1, 27},
        {kWs, 6, 4, 0, 0, 27},
        {kWs, 10, 1, 0, 0, 27},
        {kWs, 11, 0, 0, 0, 27},
        {kWs, 0, 0, 0, 0, 27},
        {kWs, 4, 0, 6, 0, 27},
        {kWs, 6, 5, 0, 0, 27},
        {kWs, 0xFFFFFFFFu, 0, 0, 0, 27},
    };
    ExpectRows(rows, sizeof(rows) / sizeof(rows[0]));
}

TEST(MapVersionCode, NonWorkstationTable) {
    const Row rows[] = {
        // 5.2: the R2 answer picks the rows, any non-zero answer meaning R2.
        {kSrv, 5, 2, 0, 0, 12},
        {kSrv, 5, 2, 1, 0, 13},
        {kSrv, 5, 2, 2, 0, 14},
        {kSrv, 5, 2, 3, 0, 14},
        {kSrv, 5, 2, 0, 1, 15},
        {kSrv, 5, 2, 1, 1, 16},
        {kSrv, 5, 2, 2, 1, 17},
        {kSrv, 5, 2, 3, 1, 17},
        {kSrv, 5, 2, 0, -1, 15},
        {kSrv, 5, 2, 2, 89, 17},
        {kDc, 5, 2, 1, 0, 13},
        {kDc, 5, 2, 1, 1, 16},
        {kSrv, 6, 0, 0, 0, 18},
        {kSrv, 6, 0, 1, 0, 19},
        {kSrv, 6, 0, 2, 0, 20},
        {kSrv, 6, 0, 3, 1, 20},
        {kSrv, 6, 1, 0, 0, 21},
        {kSrv, 6, 1, 1, 0, 22},
        {kSrv, 6, 1, 2, 1, 22},
        {kSrv, 6, 2, 0, 0, 23},
        {kSrv, 6, 2, 1, 1, 23},
        {kSrv, 6, 3, 0, 0, 24},
        {kSrv, 6, 3, 1, 0, 24},
        {kSrv, 10, 0, 0, 0, 25},
        {kSrv, 10, 0, 2, 1, 25},
        // A domain controller classifies like a server.
        {kDc, 6, 1, 1, 0, 22},
        {kDc, 6, 0, 0, 0, 18},
        {kDc, 10, 0, 0, 0, 25},
        // Every other non-workstation version.
        {kSrv, 5, 0, 0, 1, 26},
        {kSrv, 5, 1, 3, 1, 26},
        {kSrv, 6, 4, 0, 1, 26},
        {kSrv, 10, 1, 0, 0, 26},
        {kSrv, 11, 0, 0, 0, 26},
        {kSrv, 4, 2, 0, 1, 26},
        {kSrv, 5, 3, 0, 1, 26},
        // Product type 0 (an unfilled record) and unknown types are no workstations.
        {0, 0, 0, 0, 1, 26},
        {0, 6, 1, 1, 0, 22},
        {0, 5, 2, 0, 1, 15},
        {0, 5, 1, 2, 0, 26},
        {4, 6, 2, 0, 0, 23},
        {0xFF, 10, 0, 0, 0, 25},
    };
    ExpectRows(rows, sizeof(rows) / sizeof(rows[0]));
}

TEST(MapVersionCode, UnfilledRecordIsTheOtherServerCode) {
    int r2Calls = 0;
    const unsigned code = Map(PreparedVersionRecord(), 1, r2Calls);
    EXPECT_EQ(26u, code);
    EXPECT_EQ(0, r2Calls);
    EXPECT_FALSE(IsCurrentCode(code));
}

TEST(IsCurrentCode, ExactlyTheCurrentCodes) {
    for (unsigned code = 0; code <= 40; ++code) {
        SCOPED_TRACE(code);
        const bool current = code == 6 || code == 8 || code == 9 || code == 10 || code == 11 ||
                             code == 20 || code == 22 || code == 23 || code == 24 || code == 25;
        EXPECT_EQ(current, IsCurrentCode(code));
    }
    EXPECT_FALSE(IsCurrentCode(28));
    EXPECT_FALSE(IsCurrentCode(UINT_MAX));
    EXPECT_FALSE(IsCurrentCode(6u + 0x100u)); // no truncation to a byte
}
