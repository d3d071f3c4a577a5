#pragma once
// What QuenmarCheck found on this machine, and its plain-text and JSON forms.
// Pure: every text in here is UTF-8 already; the Windows side fills it.
#include "osversion/VersionRecord.h"

#include <cstdint>
#include <string>

struct CheckedValue {
    bool present = false;
    uint32_t type = 0; // REG_SZ, REG_DWORD, ...
    uint32_t size = 0; // bytes of data, as the registry reports them
    std::string text;  // string data as UTF-8 (up to the first NUL); empty otherwise
};

struct CheckReport {
    // The version record as read.
    bool versionRead = false;
    VersionRecord record = PreparedVersionRecord();
    std::string servicePackText; // the record's text as UTF-8
    bool serverR2Asked = false;
    int serverR2 = 0;
    unsigned versionCode = 0;
    std::string release;
    bool current = false;

    // The parsed options.
    std::string keyPath;
    bool force = false, installer = false, win8Check = true, win10Check = false, vistaNotice = true;

    // The history, for a non-empty key path.
    bool keyOpened = false;
    CheckedValue report, suppress;
    bool reportParsed = false;
    std::string reportParseProblem; // why the report time did not parse
    std::string reportTime;         // as parsed, in the user's format
    bool reportDue = false;
    std::string nextDue; // when it becomes due (parsed time plus a day)

    // The decision.
    std::string notice; // "none", "service-pack", "end-of-support"
    std::string settledBy;
    bool historyConsulted = false;
    std::string line1, line2; // the two text lines the notice would show
    bool win8Wording = false, win10Wording = false, installerWording = false;
    int exitStatus = 0;
};

std::string FormatText(const CheckReport& report);
std::string FormatJson(const CheckReport& report);
// A JSON string literal (quotes included) of UTF-8 text; invalid bytes become U+FFFD.
std::string JsonString(const std::string& utf8);

// The release a version code names, e.g. "Windows 7 without a service pack".
const char* VersionCodeRelease(unsigned code);
