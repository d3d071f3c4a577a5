#include "history/NoticeHistory.h"

#include "history/DayRule.h"
#include "framework/OleDateTime.h"

#include <windows.h>

#include <cstring>

namespace {
const char kReportValue[] = "ReportQuenmar";
const char kSuppressValue[] = "ShowQuenmar";
// The most value data read, the terminating NUL included.
constexpr DWORD kReadLimit = 1024;

COleDateTime SystemClock() {
    return COleDateTime::GetCurrentTime();
}

// The once-a-day rule on the report time stored under an open key.
bool IsStoredReportDue(HKEY key, CurrentTimeSource now) {
    char buffer[kReadLimit];
    std::memset(buffer, 0, sizeof(buffer));
    DWORD size = kReadLimit;
    DWORD type = 0;
    // Missing, larger than the buffer (ERROR_MORE_DATA) or unreadable: due.
    if (RegQueryValueExA(key, kReportValue, nullptr, &type, reinterpret_cast<BYTE*>(buffer),
                         &size) != ERROR_SUCCESS)
        return true;
    // REG_EXPAND_SZ is read as it is stored; its references are not expanded.
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return true;
    // The zero-filled buffer terminates any shorter text. Data that fills all of it
    // without a NUL is not a time stamp this program wrote: it counts as not parsed.
    if (!std::memchr(buffer, '\0', sizeof(buffer)))
        return true;
    COleDateTime stored;
    if (!stored.ParseDateTime(buffer))
        return true;
    const COleDateTime current = now();
    // A clock outside the convertible range reads as no time at all; it must never
    // hold the notice back for ever, so the notice is due.
    if (!current.IsValid())
        return true;
    return IsDayElapsed(current.GetDate(), stored.GetDate());
}

void WriteTimeStamp(const char* keyPath, const char* valueName, CurrentTimeSource now) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) {
        key = nullptr;
        // Creates every missing key along the path.
        if (RegCreateKeyExA(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &key, nullptr) != ERROR_SUCCESS)
            return;
    }
    const CString text = now().Format();
    RegSetValueExA(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.GetLength() + 1));
    RegCloseKey(key);
}
} // namespace

bool IsReportDueWithClock(const char* keyPath, CurrentTimeSource now) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return true;
    const bool due = IsStoredReportDue(key, now);
    RegCloseKey(key);
    return due;
}

void WriteReportTimeWithClock(const char* keyPath, CurrentTimeSource now) {
    WriteTimeStamp(keyPath, kReportValue, now);
}

void WriteSuppressTimeWithClock(const char* keyPath, CurrentTimeSource now) {
    WriteTimeStamp(keyPath, kSuppressValue, now);
}

bool IsReportDue(const char* keyPath) {
    return IsReportDueWithClock(keyPath, SystemClock);
}
void WriteReportTime(const char* keyPath) {
    WriteReportTimeWithClock(keyPath, SystemClock);
}
void WriteSuppressTime(const char* keyPath) {
    WriteSuppressTimeWithClock(keyPath, SystemClock);
}
