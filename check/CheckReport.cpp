#include "check/CheckReport.h"

#include "history/HistoryValues.h"

#include <cstdio>

namespace {
std::string Number(unsigned long long value) {
    return std::to_string(value);
}
const char* YesNo(bool value) {
    return value ? "yes" : "no";
}
const char* Bool(bool value) {
    return value ? "true" : "false";
}

std::string TypeName(uint32_t type) {
    switch (type) {
    case 0:
        return "REG_NONE";
    case 1:
        return "REG_SZ";
    case 2:
        return "REG_EXPAND_SZ";
    case 3:
        return "REG_BINARY";
    case 4:
        return "REG_DWORD";
    case 7:
        return "REG_MULTI_SZ";
    case 11:
        return "REG_QWORD";
    default:
        return "type " + Number(type);
    }
}

std::string ProductTypeName(uint8_t type) {
    switch (type) {
    case 1:
        return "workstation";
    case 2:
        return "domain controller";
    case 3:
        return "server";
    default:
        return "unknown";
    }
}

// Length of the UTF-8 sequence starting at s[i], or 0 when it is not valid there.
size_t Utf8Length(const std::string& s, size_t i) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (n == 0 || c == 0xC0 || c == 0xC1 || i + n > s.size())
        return 0;
    for (size_t k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
            return 0;
    return n;
}

std::string ValueText(const char* name, const CheckedValue& v) {
    if (!v.present)
        return std::string("  ") + name + ": not present\n";
    std::string line =
        std::string("  ") + name + ": " + TypeName(v.type) + ", " + Number(v.size) + " bytes";
    if (v.type == 1 || v.type == 2)
        line += ", \"" + v.text + "\"";
    return line + "\n";
}

std::string ValueJson(const CheckedValue& v) {
    if (!v.present)
        return "null";
    return "{\"type\": " + JsonString(TypeName(v.type)) + ", \"size\": " + Number(v.size) +
           ", \"text\": " + JsonString(v.text) + "}";
}
} // namespace

std::string JsonString(const std::string& utf8) {
    std::string out = "\"";
    for (size_t i = 0; i < utf8.size();) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        const size_t n = Utf8Length(utf8, i);
        if (n == 0) {
            out += "\\ufffd";
            ++i;
            continue;
        }
        if (n == 1) {
            if (c == '"' || c == '\\') {
                out += '\\';
                out += static_cast<char>(c);
            } else if (c < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof(escape), "\\u%04x", c);
                out += escape;
            } else {
                out += static_cast<char>(c);
            }
        } else {
            out.append(utf8, i, n);
        }
        i += n;
    }
    return out + "\"";
}

std::string FormatText(const CheckReport& r) {
    std::string t;
    t += "Windows version\n";
    if (!r.versionRead)
        t += "  (RtlGetVersion could not be reached: the record stays zero)\n";
    t += "  version " + Number(r.record.dwMajorVersion) + "." + Number(r.record.dwMinorVersion) +
         ", build " + Number(r.record.dwBuildNumber) + ", platform " +
         Number(r.record.dwPlatformId) + "\n";
    t += "  service pack " + Number(r.record.wServicePackMajor) + "." +
         Number(r.record.wServicePackMinor) + ", text \"" + r.servicePackText + "\"\n";
    t += "  product type " + Number(r.record.wProductType) + " (" +
         ProductTypeName(r.record.wProductType) + "), suite mask 0x";
    char hex[8];
    std::snprintf(hex, sizeof(hex), "%04x", r.record.wSuiteMask);
    t += std::string(hex) + "\n";
    if (r.serverR2Asked)
        t += "  Server 2003 R2 (SM_SERVERR2): " + Number(static_cast<unsigned>(r.serverR2)) + "\n";
    t += "  version code " + Number(r.versionCode) + ": " + r.release + ", " +
         (r.current ? "current" : "not current") + "\n\n";

    t += "Options\n";
    t += "  key path: " + (r.keyPath.empty() ? std::string("(none)") : "\"" + r.keyPath + "\"") +
         "\n";
    t += std::string("  N force: ") + YesNo(r.force) + ", I installer: " + YesNo(r.installer) +
         ", E Windows 8 wording allowed: " + YesNo(r.win8Check) +
         ", T Windows 10 wording allowed: " + YesNo(r.win10Check) +
         ", V Vista notice allowed: " + YesNo(r.vistaNotice) + "\n\n";

    if (!r.keyPath.empty()) {
        t += "History under HKEY_CURRENT_USER\\" + r.keyPath + "\n";
        if (!r.keyOpened)
            t += "  the key cannot be opened for reading (it may not exist yet)\n";
        t += ValueText(kReportTimeValue, r.report);
        t += ValueText(kSuppressTimeValue, r.suppress);
        if (r.reportParsed)
            t += "  report time: " + r.reportTime + "; due again from " + r.nextDue + "\n";
        else
            t += "  report time: none usable (" + r.reportParseProblem + ")\n";
        t += std::string("  a report is due now: ") + YesNo(r.reportDue) + "\n\n";
    }

    t += "Decision\n";
    t += "  notice: " + r.notice + "\n";
    t += "  settled by: " + r.settledBy + "\n";
    t += std::string("  history consulted: ") + YesNo(r.historyConsulted) + "\n";
    if (r.notice != "none") {
        t += "  line 1: " + r.line1 + "\n";
        t += "  line 2: " + r.line2 + "\n";
    }
    t += "  exit status: " + Number(static_cast<unsigned>(r.exitStatus)) + "\n";
    return t;
}

std::string FormatJson(const CheckReport& r) {
    std::string j = "{\n";
    j += "  \"version\": {\"read\": " + std::string(Bool(r.versionRead)) +
         ", \"major\": " + Number(r.record.dwMajorVersion) +
         ", \"minor\": " + Number(r.record.dwMinorVersion) +
         ", \"build\": " + Number(r.record.dwBuildNumber) +
         ", \"platform\": " + Number(r.record.dwPlatformId) +
         ", \"servicePackMajor\": " + Number(r.record.wServicePackMajor) +
         ", \"servicePackMinor\": " + Number(r.record.wServicePackMinor) +
         ", \"suiteMask\": " + Number(r.record.wSuiteMask) +
         ", \"productType\": " + Number(r.record.wProductType) +
         ", \"servicePackText\": " + JsonString(r.servicePackText) + ", \"serverR2\": " +
         (r.serverR2Asked ? Number(static_cast<unsigned>(r.serverR2)) : "null") + "},\n";
    j += "  \"versionCode\": " + Number(r.versionCode) + ", \"release\": " + JsonString(r.release) +
         ", \"current\": " + Bool(r.current) + ",\n";
    j += "  \"options\": {\"keyPath\": " + JsonString(r.keyPath) + ", \"N\": " + Bool(r.force) +
         ", \"I\": " + Bool(r.installer) + ", \"win8Check\": " + Bool(r.win8Check) +
         ", \"win10Check\": " + Bool(r.win10Check) + ", \"vistaNotice\": " + Bool(r.vistaNotice) +
         "},\n";
    if (r.keyPath.empty()) {
        j += "  \"history\": null,\n";
    } else {
        j += "  \"history\": {\"keyOpened\": " + std::string(Bool(r.keyOpened)) + ", " +
             JsonString(kReportTimeValue) + ": " + ValueJson(r.report) + ", " +
             JsonString(kSuppressTimeValue) + ": " + ValueJson(r.suppress) +
             ", \"reportTime\": " + (r.reportParsed ? JsonString(r.reportTime) : "null") +
             ", \"reportParseProblem\": " +
             (r.reportParsed ? "null" : JsonString(r.reportParseProblem)) +
             ", \"due\": " + Bool(r.reportDue) +
             ", \"nextDue\": " + (r.reportParsed ? JsonString(r.nextDue) : "null") + "},\n";
    }
    j += "  \"decision\": {\"notice\": " + JsonString(r.notice) +
         ", \"settledBy\": " + JsonString(r.settledBy) +
         ", \"historyConsulted\": " + Bool(r.historyConsulted) +
         ", \"win8Wording\": " + Bool(r.win8Wording) +
         ", \"win10Wording\": " + Bool(r.win10Wording) +
         ", \"installerWording\": " + Bool(r.installerWording) +
         ", \"line1\": " + (r.notice == "none" ? "null" : JsonString(r.line1)) +
         ", \"line2\": " + (r.notice == "none" ? "null" : JsonString(r.line2)) + "},\n";
    j += "  \"exitStatus\": " + Number(static_cast<unsigned>(r.exitStatus)) + "\n}\n";
    return j;
}

const char* VersionCodeRelease(unsigned code) {
    static const char* const kReleases[] = {
        "Windows XP without a service pack",
        "Windows XP SP1",
        "Windows XP SP2",
        "Windows XP SP3",
        "Windows Vista without a service pack",
        "Windows Vista SP1",
        "Windows Vista SP2",
        "Windows 7 without a service pack",
        "Windows 7 SP1",
        "Windows 8",
        "Windows 8.1",
        "Windows 10 or a later workstation release reporting 10.0",
        "Windows Server 2003 without a service pack",
        "Windows Server 2003 SP1",
        "Windows Server 2003 SP2",
        "Windows Server 2003 R2 without a service pack",
        "Windows Server 2003 R2 SP1",
        "Windows Server 2003 R2 SP2",
        "Windows Server 2008 without a service pack",
        "Windows Server 2008 SP1",
        "Windows Server 2008 SP2",
        "Windows Server 2008 R2 without a service pack",
        "Windows Server 2008 R2 SP1",
        "Windows Server 2012",
        "Windows Server 2012 R2",
        "a server release reporting 10.0",
        "another non-workstation version",
        "another workstation version",
    };
    return code < sizeof(kReleases) / sizeof(kReleases[0]) ? kReleases[code] : "unknown code";
}
