// QuenmarCheck: shows what Quenmar.exe would see and decide on this machine, without
// showing a notice and without writing anything.
//
//   QuenmarCheck.exe [key path] [/N] [/I] [/E] [/T] [/V] [--json] [--help]
//
// Exit status: 0 no notice would be shown, 10 the service-pack notice, 11 the
// end-of-support notice, 2 a usage error of its own options.
#include "app/AppCommandLineInfo.h"
#include "app/NoticeDecision.h"
#include "check/CheckReport.h"
#include "check/NoticeTexts.h"
#include "history/NoticeHistory.h"
#include "history/OleDateTime.h"
#include "osversion/OsVersion.h"
#include "osversion/VersionCode.h"

#include <windows.h>

#include <cstdio>
#include <algorithm>
#include <cstring>
#include <string>

namespace {
constexpr int kExitNone = 0;
constexpr int kExitUsage = 2;
constexpr int kExitServicePack = 10;
constexpr int kExitEndOfSupport = 11;

bool IsAnsiLeadByte(unsigned char byte) {
    return IsDBCSLeadByte(byte) != FALSE;
}

// Text in the thread's ANSI code page as UTF-8.
std::string AnsiToUtf8(const char* text, int length = -1) {
    const int wideLength = MultiByteToWideChar(CP_THREAD_ACP, 0, text, length, nullptr, 0);
    if (wideLength <= 0)
        return {};
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_THREAD_ACP, 0, text, length, &wide[0], wideLength);
    if (length < 0)
        wide.resize(wide.size() - 1); // the converted NUL
    const int utf8Length = WideCharToMultiByte(
        CP_UTF8, 0, wide.c_str(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(utf8Length), '\0');
    if (utf8Length > 0)
        WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), static_cast<int>(wide.size()), &utf8[0],
                            utf8Length, nullptr, nullptr);
    return utf8;
}

std::string Utf16ToUtf8(const wchar_t* text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1)
        return {};
    std::string utf8(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, &utf8[0], n, nullptr, nullptr);
    utf8.resize(static_cast<size_t>(n - 1));
    return utf8;
}

// The checker's own options: "--json" and "--help". Anything else is Quenmar's.
struct CheckerOptions {
    bool json = false;
    bool help = false;
    std::string unknown;
};

CheckerOptions ParseCheckerOptions() {
    CheckerOptions options;
    ArgumentSplitter splitter(GetCommandLineA(), IsAnsiLeadByte);
    while (const char* argument = splitter.Next()) {
        if (std::strncmp(argument, "--", 2) != 0 || !argument[2] || !argument[3])
            continue; // Quenmar's, such as "--N": ignored there, ignored here
        if (std::strcmp(argument, "--json") == 0)
            options.json = true;
        else if (std::strcmp(argument, "--help") == 0)
            options.help = true;
        else if (options.unknown.empty())
            options.unknown = argument;
    }
    return options;
}

// Reads one value as it is stored; ansiText receives string data as stored (ANSI).
CheckedValue ReadRawValue(HKEY key, const char* name, std::string* ansiText = nullptr) {
    CheckedValue value;
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return value;
    value.present = true;
    value.type = type;
    value.size = size;
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        std::string data(size, '\0');
        DWORD read = size;
        if (RegQueryValueExA(key, name, nullptr, &type,
                             reinterpret_cast<BYTE*>(data.empty() ? nullptr : &data[0]),
                             &read) == ERROR_SUCCESS) {
            data.resize(strnlen(data.data(), std::min<size_t>(read, data.size())));
            value.text = AnsiToUtf8(data.c_str(), static_cast<int>(data.size()));
            if (ansiText)
                *ansiText = data;
        }
    }
    return value;
}

void CheckHistory(const CString& keyPath, CheckReport& r) {
    HKEY key;
    std::string reportText;
    r.keyOpened =
        RegOpenKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS;
    if (r.keyOpened) {
        r.report = ReadRawValue(key, "ReportQuenmar", &reportText);
        r.suppress = ReadRawValue(key, "ShowQuenmar");
        RegCloseKey(key);
    }
    r.reportDue = IsReportDue(keyPath.c_str());

    COleDateTime stored;
    if (!r.keyOpened)
        r.reportParseProblem = "no key";
    else if (!r.report.present)
        r.reportParseProblem = "no ReportQuenmar value";
    else if (r.report.type != REG_SZ && r.report.type != REG_EXPAND_SZ)
        r.reportParseProblem = "ReportQuenmar is not a string value";
    else if (r.report.size > 1024)
        r.reportParseProblem = "ReportQuenmar is longer than 1,024 bytes";
    else if (reportText.size() >= 1024) // no NUL in it: the program never reads it as text
        r.reportParseProblem = "ReportQuenmar fills 1,024 bytes without a terminating NUL";
    else if (!stored.ParseDateTime(reportText.c_str()))
        r.reportParseProblem = "the text is not a date under the current regional settings";
    else {
        r.reportParsed = true;
        r.reportTime = AnsiToUtf8(stored.Format().c_str());
        // Stamps carry whole seconds, so "a day less half a second" is 24 hours on.
        r.nextDue =
            AnsiToUtf8(COleDateTime(stored.GetDate() + 1.0, COleDateTime::valid).Format().c_str());
    }
}

const char* ReasonText(NoticeReason reason) {
    switch (reason) {
    case ReasonVista:
        return "Windows Vista rule";
    case ReasonForced:
        return "forced (N)";
    case ReasonCurrentCode:
        return "current version code";
    case ReasonEmptyKeyPath:
        return "empty key path";
    case ReasonHistoryDue:
        return "history: a report is due";
    case ReasonHistoryNotDue:
        return "history: shown within a day";
    }
    return "?";
}

void PrintUsage() {
    std::fputs("usage: QuenmarCheck.exe [key path] [/N] [/I] [/E] [/T] [/V] [--json] [--help]\n"
               "Shows what Quenmar.exe would see and decide here; shows no notice and writes\n"
               "nothing. Exit status: 0 no notice, 10 service-pack notice, 11 end-of-support\n"
               "notice, 2 usage error.\n",
               stdout);
}
} // namespace

int main() {
    const CheckerOptions checker = ParseCheckerOptions();
    if (checker.help || !checker.unknown.empty()) {
        if (!checker.unknown.empty())
            std::fprintf(stdout, "unknown option: %s\n", checker.unknown.c_str());
        PrintUsage();
        return kExitUsage;
    }

    AppCommandLineInfo options;
    ParseCommandLine(GetCommandLineA(), IsAnsiLeadByte, options);
    CheckReport r;

    VersionRecord& record = r.record;
    r.versionRead = ReadVersionRecord(record);
    r.servicePackText = AnsiToUtf8(record.szCSDVersion);
    r.versionCode = MapVersionCode(record, [&r] {
        r.serverR2Asked = true;
        r.serverR2 = GetSystemMetrics(SM_SERVERR2);
        return r.serverR2;
    });
    r.release = VersionCodeRelease(r.versionCode);
    r.current = IsCurrentCode(r.versionCode);

    r.keyPath = AnsiToUtf8(options.m_strKeyPath.c_str());
    r.force = options.m_bForce;
    r.installer = options.m_bInstaller;
    r.win8Check = options.m_bWin8Check;
    r.win10Check = options.m_bWin10Check;
    r.vistaNotice = options.m_bVistaNotice;
    if (!options.m_strKeyPath.IsEmpty())
        CheckHistory(options.m_strKeyPath, r);

    // The decision exactly as the program makes it, the history asked only where it asks.
    const NoticeDecision decision = DecideNotice(options, options.m_strKeyPath, ReadVersionRecord,
                                                 ClassifyVersion, [&r](const char* keyPath) {
                                                     r.historyConsulted = true;
                                                     return IsReportDue(keyPath);
                                                 });
    r.settledBy = ReasonText(decision.m_nReason);
    r.win8Wording = decision.m_bWin8Notice;
    r.win10Wording = decision.m_bWin10Notice;
    r.installerWording = decision.m_bInstallerText;
    const NoticeLines lines = LinesOfNotice(decision);
    r.line1 = Utf16ToUtf8(lines.line1);
    r.line2 = Utf16ToUtf8(lines.line2);
    switch (decision.m_nKind) {
    case NoticeNone:
        r.notice = "none";
        r.exitStatus = kExitNone;
        break;
    case NoticeServicePack:
        r.notice = "service-pack";
        r.exitStatus = kExitServicePack;
        break;
    case NoticeEndOfSupport:
        r.notice = "end-of-support";
        r.exitStatus = kExitEndOfSupport;
        break;
    }

    DWORD mode;
    if (GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode))
        SetConsoleOutputCP(CP_UTF8);
    const std::string out = checker.json ? FormatJson(r) : FormatText(r);
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
    return r.exitStatus;
}
