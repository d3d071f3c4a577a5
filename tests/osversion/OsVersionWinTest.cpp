// ReadVersionRecord and ClassifyVersion against Windows versions that Wine is made
// to report; each reading happens in a freshly started probe process, since Wine
// reads the emulated version at process start. Where the other Windows test build is
// at hand, its probe reads each version too: 32-bit and 64-bit programs must agree.
#include "WineSystem.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {
// This build's probe first, then the other machine type's when there is one.
std::vector<std::string> Probes() {
    std::vector<std::string> probes{ThisExeDirectory() + "version_probe.exe"};
    const std::string peer = PeerExePath("version_probe.exe");
    if (!peer.empty())
        probes.push_back(peer);
    return probes;
}

std::map<std::string, std::string> ProbeVersion(const std::string& probe) {
    ProcessResult run = RunProcess("\"" + probe + "\"");
    EXPECT_TRUE(run.finished);
    std::map<std::string, std::string> fields;
    std::istringstream lines(run.output);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        auto eq = line.find('=');
        if (eq != std::string::npos)
            fields[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return fields;
}

EmulatedWindows Windows(DWORD major, DWORD minor, DWORD build, WORD spMajor, WORD spMinor,
                        const wchar_t* productType, std::wstring text = L"") {
    EmulatedWindows w;
    w.major = major;
    w.minor = minor;
    w.build = build;
    w.servicePackMajor = spMajor;
    w.servicePackMinor = spMinor;
    w.productType = productType;
    w.servicePackText = std::move(text);
    return w;
}

struct VersionCase {
    const char* name;
    EmulatedWindows windows;
    unsigned productType;
    unsigned code;
};
} // namespace

TEST(ReadVersionRecordUnderWine, EmulatedVersionsAreReadAndClassified) {
    const VersionCase cases[] = {
        {"Windows 7", Windows(6, 1, 7600, 0, 0, L"WinNT"), 1, 7},
        {"Windows 7 SP1", Windows(6, 1, 7601, 1, 0, L"WinNT", L"Service Pack 1"), 1, 8},
        {"Windows 7, minor SP only", Windows(6, 1, 7600, 0, 5, L"WinNT"), 1, 7},
        {"Vista SP1", Windows(6, 0, 6001, 1, 0, L"WinNT", L"Service Pack 1"), 1, 5},
        {"Vista SP3", Windows(6, 0, 6003, 3, 0, L"WinNT"), 1, 6},
        {"XP SP2", Windows(5, 1, 2600, 2, 0, L"WinNT", L"Service Pack 2"), 1, 2},
        {"Server 2003 SP2", Windows(5, 2, 3790, 2, 0, L"ServerNT"), 3, 14}, // R2 answer 0
        {"Server 2008", Windows(6, 0, 6001, 1, 0, L"ServerNT"), 3, 19},
        {"Server 2008 R2", Windows(6, 1, 7600, 0, 0, L"ServerNT"), 3, 21},
        {"Server 2008 R2 SP1", Windows(6, 1, 7601, 1, 0, L"ServerNT"), 3, 22},
        {"2008 R2 SP1 domain controller", Windows(6, 1, 7601, 1, 0, L"LanmanNT"), 2, 22},
        {"Windows 8", Windows(6, 2, 9200, 0, 0, L"WinNT"), 1, 9},
        {"Server 2012 R2", Windows(6, 3, 9600, 0, 0, L"ServerNT"), 3, 24},
        {"10.0 workstation", Windows(10, 0, 19045, 0, 0, L"WinNT"), 1, 11},
        {"10.0 workstation, build 22631", Windows(10, 0, 22631, 0, 0, L"WinNT"), 1, 11},
        {"10.0 server", Windows(10, 0, 17763, 0, 0, L"ServerNT"), 3, 25},
        {"6.4 workstation", Windows(6, 4, 9841, 0, 0, L"WinNT"), 1, 27},
        {"6.4 server", Windows(6, 4, 9841, 0, 0, L"ServerNT"), 3, 26},
        {"5.2 workstation", Windows(5, 2, 3790, 2, 0, L"WinNT"), 1, 27},
    };
    const std::vector<std::string> probes = Probes();
    for (const VersionCase& c : cases) {
        SCOPED_TRACE(c.name);
        const EmulatedWindows& w = c.windows;
        ScopedEmulatedWindows emulated(w);
        for (const std::string& probe : probes) {
            SCOPED_TRACE(probe);
            auto fields = ProbeVersion(probe);
            EXPECT_EQ("1", fields["read"]);
            EXPECT_EQ("156", fields["size"]);
            EXPECT_EQ(std::to_string(w.major), fields["major"]);
            EXPECT_EQ(std::to_string(w.minor), fields["minor"]);
            EXPECT_EQ(std::to_string(w.build), fields["build"]);
            EXPECT_EQ("2", fields["platform"]); // VER_PLATFORM_WIN32_NT
            EXPECT_EQ(std::to_string(w.servicePackMajor), fields["spmajor"]);
            EXPECT_EQ(std::to_string(w.servicePackMinor), fields["spminor"]);
            EXPECT_EQ(std::to_string(c.productType), fields["producttype"]);
            EXPECT_EQ(std::to_string(c.code), fields["code"]);
        }
    }
}

// The probes really are of both machine types when the other build is configured.
TEST(ReadVersionRecordUnderWine, ProbesAreOfThisAndTheOtherMachineType) {
    const std::vector<std::string> probes = Probes();
    const std::string ownBits = std::to_string(sizeof(void*) * 8);
    EXPECT_EQ(ownBits, ProbeVersion(probes[0])["bits"]);
    if (probes.size() > 1) {
        EXPECT_EQ(ownBits == "32" ? "64" : "32", ProbeVersion(probes[1])["bits"]);
    }
}

TEST(ReadVersionRecordUnderWine, ServicePackTextKeepsTheLowByteOfEachUnit) {
    struct TextCase {
        std::wstring text;
        std::string bytes;
    };
    const TextCase cases[] = {
        {L"Service Pack 1", "Service Pack 1"},
        {L"SP 2 build 7601 abcXYZ", "SP 2 build 7601 abcXYZ"},
        {L"", ""},
        {L"SP\u3042", "SP\x42"},         // U+3042 keeps 0x42, no code-page conversion
        {L"\u00E9\u00FF", "\xE9\xFF"},   // up to U+00FF the unit fits whole
        {L"\u0141\u30B5x", "\x41\xB5x"}, // U+0141 -> 0x41, U+30B5 -> 0xB5
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(HexOf(c.bytes));
        ScopedEmulatedWindows emulated(Windows(6, 1, 7601, 1, 0, L"WinNT", c.text));
        for (const std::string& probe : Probes()) {
            SCOPED_TRACE(probe);
            auto fields = ProbeVersion(probe);
            EXPECT_EQ("1", fields["read"]);
            EXPECT_EQ(HexOf(c.bytes), fields["csdhex"]);
            EXPECT_EQ("8", fields["code"]); // the text plays no part
        }
    }
}
