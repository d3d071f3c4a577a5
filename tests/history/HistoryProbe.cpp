// Runs the notice history and the date type in a process of its own, so a test can
// start it under other regional settings. One command per run; prints "name=value"
// lines. Dates on the command line and in the output are DATE values (%.17g).
//   locale                  the process's user locale and ANSI code page
//   roundtrip               the current time and a midnight through Format and ParseDateTime
//   format <date>           the time-stamp text of a date
//   write <key> [<date>]    WriteReportTime, with the real clock or a fixed one
//   due <key> [<date>]      IsReportDue, with the real clock or a fixed one
//   read <key>              how the stored ReportQuenmar text parses here
#include "history/NoticeHistory.h"
#include "history/OleDateTime.h"

#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {
double g_fixedNow = 0.0;
COleDateTime FixedClock() {
    return COleDateTime(g_fixedNow, COleDateTime::valid);
}

std::string Hex(const std::string& text) {
    std::string hex;
    char byte[3];
    for (unsigned char c : text) {
        std::snprintf(byte, sizeof(byte), "%02x", c);
        hex += byte;
    }
    return hex;
}

void PrintRoundTrip(const char* name, const COleDateTime& date) {
    const CString text = date.Format();
    COleDateTime back;
    const bool parsed = back.ParseDateTime(text.c_str());
    std::printf("%s.text=%s\n%s.hex=%s\n%s.date=%.17g\n%s.parsed=%d\n%s.back=%.17g\n", name,
                text.c_str(), name, Hex(text.c_str()).c_str(), name, date.GetDate(), name,
                parsed ? 1 : 0, name, back.GetDate());
}

std::string ReadStored(const char* keyPath) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::string();
    char buffer[1024] = {};
    DWORD size = sizeof(buffer) - 1;
    RegQueryValueExA(key, "ReportQuenmar", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer),
                     &size);
    RegCloseKey(key);
    return buffer;
}
} // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    const char* keyPath = argc > 2 ? argv[2] : "";
    const bool fixed = argc > 3;
    if (fixed)
        g_fixedNow = std::strtod(argv[3], nullptr);
    if (command == "locale") {
        std::printf("lcid=%04lx\nacp=%u\n", static_cast<unsigned long>(GetUserDefaultLCID()),
                    GetACP());
    } else if (command == "roundtrip") {
        const COleDateTime now = COleDateTime::GetCurrentTime();
        std::printf("now.valid=%d\n", now.IsValid() ? 1 : 0);
        PrintRoundTrip("now", now);
        PrintRoundTrip("midnight", COleDateTime(std::floor(now.GetDate()), COleDateTime::valid));
    } else if (command == "format" && argc > 2) {
        g_fixedNow = std::strtod(argv[2], nullptr);
        PrintRoundTrip("date", FixedClock());
    } else if (command == "write") {
        if (fixed)
            WriteReportTimeWithClock(keyPath, FixedClock);
        else
            WriteReportTime(keyPath);
        std::printf("stored=%s\nstored.hex=%s\n", ReadStored(keyPath).c_str(),
                    Hex(ReadStored(keyPath)).c_str());
    } else if (command == "due") {
        const bool due = fixed ? IsReportDueWithClock(keyPath, FixedClock) : IsReportDue(keyPath);
        std::printf("due=%d\n", due ? 1 : 0);
    } else if (command == "read") {
        const std::string stored = ReadStored(keyPath);
        COleDateTime date;
        const bool parsed = date.ParseDateTime(stored.c_str());
        std::printf("stored=%s\nstored.hex=%s\nparsed=%d\ndate=%.17g\n", stored.c_str(),
                    Hex(stored).c_str(), parsed ? 1 : 0, date.GetDate());
    } else {
        std::printf("usage=unknown command\n");
        return 2;
    }
    return 0;
}
