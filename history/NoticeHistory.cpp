#include "history/NoticeHistory.h"

#include "history/DayRule.h"

#include <windows.h>

#include <cstring>
#include <string_view>

namespace {
COleDateTime SystemClock() {
    return COleDateTime::GetCurrentTime();
}

// Reads the value under an open key: how far that got, and in `stored` what it found.
TimeStampReading ReadOpenTimeStamp(HKEY key, const char* valueName, StoredTimeStamp& stored) {
    char buffer[kTimeStampReadLimit];
    std::memset(buffer, 0, sizeof(buffer));
    DWORD size = sizeof(buffer);
    DWORD type = 0;
    const LONG status =
        RegQueryValueExA(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    if (status == ERROR_FILE_NOT_FOUND)
        return TimeStampMissing;
    if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA)
        return TimeStampUnreadable;
    stored.type = type;
    stored.size = size;
    if (status == ERROR_MORE_DATA)
        return TimeStampTooLarge;
    // REG_EXPAND_SZ is read as it is stored; its references are not expanded.
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return TimeStampNotAString;
    // The zero-filled buffer terminates any shorter text. Data that fills all of it
    // without a NUL is not a time stamp this program wrote: it counts as not parsed.
    const void* nul = std::memchr(buffer, '\0', sizeof(buffer));
    const std::size_t length =
        nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - buffer) : sizeof(buffer);
    stored.text = CString(std::string_view(buffer, length));
    if (!nul)
        return TimeStampUnterminated;
    return stored.time.ParseDateTime(buffer) ? TimeStampRead : TimeStampNotADate;
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

StoredTimeStamp ReadTimeStamp(const char* keyPath, const char* valueName) {
    StoredTimeStamp stored;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return stored;
    stored.reading = ReadOpenTimeStamp(key, valueName, stored);
    RegCloseKey(key);
    return stored;
}

bool IsReportDueWithClock(const char* keyPath, CurrentTimeSource now) {
    // Missing, unreadable, too large, of another type or not a date: due.
    const StoredTimeStamp stored = ReadTimeStamp(keyPath, kReportTimeValue);
    if (stored.reading != TimeStampRead)
        return true;
    const COleDateTime current = now();
    // A clock outside the convertible range reads as no time at all; it must never
    // hold the notice back for ever, so the notice is due.
    if (!current.IsValid())
        return true;
    return IsDayElapsed(current.GetDate(), stored.time.GetDate());
}

void WriteReportTimeWithClock(const char* keyPath, CurrentTimeSource now) {
    WriteTimeStamp(keyPath, kReportTimeValue, now);
}

void WriteSuppressTimeWithClock(const char* keyPath, CurrentTimeSource now) {
    WriteTimeStamp(keyPath, kSuppressTimeValue, now);
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
