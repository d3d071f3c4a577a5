// Prints, as a Markdown table, what each Windows release sees for the common command
// lines, computed by the program's own decision code. The README's table is this
// output; a test keeps the two the same.
#include "app/AppCommandLineInfo.h"
#include "app/NoticeDecision.h"
#include "osversion/VersionCode.h"

#include <cstdio>
#include <cstring>

namespace {
struct Release {
    const char* name;
    uint32_t major, minor;
    uint16_t servicePack;
    uint8_t productType;
    int serverR2;
};

const Release kReleases[] = {
    {"Windows XP, SP2 or older", 5, 1, 2, 1, 0},
    {"Windows XP SP3", 5, 1, 3, 1, 0},
    {"Windows Vista, any service pack", 6, 0, 2, 1, 0},
    {"Windows 7 without a service pack", 6, 1, 0, 1, 0},
    {"Windows 7 SP1", 6, 1, 1, 1, 0},
    {"Windows 8", 6, 2, 0, 1, 0},
    {"Windows 8.1", 6, 3, 0, 1, 0},
    {"Windows 10 and 11 (10.0)", 10, 0, 0, 1, 0},
    {"Windows Server 2003 / 2003 R2, any service pack", 5, 2, 2, 3, 0},
    {"Windows Server 2008 SP1 or older", 6, 0, 1, 3, 0},
    {"Windows Server 2008 SP2", 6, 0, 2, 3, 0},
    {"Windows Server 2008 R2 without a service pack", 6, 1, 0, 3, 0},
    {"Windows Server 2008 R2 SP1", 6, 1, 1, 3, 0},
    {"Windows Server 2012", 6, 2, 0, 3, 0},
    {"Windows Server 2012 R2", 6, 3, 0, 3, 0},
    {"Windows Server 2016 and later (10.0)", 10, 0, 0, 3, 0},
    {"any other version", 6, 4, 0, 1, 0},
};

struct Column {
    const char* heading;
    const char* arguments; // switches only; the key path is given separately
    bool withKeyPath;
    bool reportDue;
};

const Column kColumns[] = {
    // The switch columns: a key path given, the notice not shown for a day.
    {"key path, not shown for a day", "", true, true},
    {"key path, shown within a day", "", true, false},
    {"no key path", "", false, true},
    {"`/N`", "/N", true, true},
    {"`/E`", "/E", true, true},
    {"`/T`", "/T", true, true},
    {"`/V`", "/V", true, true},
};

bool NoLeadBytes(unsigned char) {
    return false;
}

const char* Describe(const NoticeDecision& d) {
    switch (d.m_nKind) {
    case NoticeNone:
        return "-";
    case NoticeEndOfSupport:
        return "Vista end of support";
    case NoticeServicePack:
        if (d.m_bWin10Notice)
            return "Windows 10 wording";
        if (d.m_bWin8Notice)
            return "Windows 8 wording";
        return "service pack";
    }
    return "?";
}
} // namespace

int main() {
    std::printf("| Windows |");
    for (const Column& c : kColumns)
        std::printf(" %s |", c.heading);
    std::printf("\n|---|");
    for (size_t i = 0; i < sizeof(kColumns) / sizeof(kColumns[0]); ++i)
        std::printf("---|");
    std::printf("\n");

    for (const Release& r : kReleases) {
        VersionRecord record = PreparedVersionRecord();
        record.dwMajorVersion = r.major;
        record.dwMinorVersion = r.minor;
        record.wServicePackMajor = r.servicePack;
        record.wProductType = r.productType;
        std::printf("| %s |", r.name);
        for (const Column& c : kColumns) {
            AppCommandLineInfo options;
            char commandLine[64];
            std::snprintf(commandLine, sizeof(commandLine), "Quenmar.exe %s %s",
                          c.withKeyPath ? "Software\\Vendor\\Product" : "", c.arguments);
            ParseCommandLine(commandLine, NoLeadBytes, options);
            const NoticeDecision decision = DecideNotice(
                options, options.m_strKeyPath,
                [&](VersionRecord& out) {
                    out = record;
                    return true;
                },
                [&] { return MapVersionCode(record, [&] { return r.serverR2; }); },
                [&](const char*) { return c.reportDue; });
            std::printf(" %s |", Describe(decision));
        }
        std::printf("\n");
    }
    return 0;
}
