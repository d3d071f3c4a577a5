#pragma once
// The notice history under HKEY_CURRENT_USER\<key path> (Windows side).
// Callers pass a non-empty key path.
#include "framework/CString.h"
#include "framework/OleDateTime.h"
#include "history/HistoryValues.h"

// True when the service-pack notice may be shown again (it was not shown within a day).
bool IsReportDue(const char* keyPath);
// Stores the current time-stamp text in ReportQuenmar / ShowQuenmar; failures are silent.
void WriteReportTime(const char* keyPath);
void WriteSuppressTime(const char* keyPath);

// How far reading a time-stamp value got. Only TimeStampRead yields a time; with any
// other outcome for ReportQuenmar a report is due.
enum TimeStampReading {
    TimeStampNoKey,        // the key cannot be opened for reading
    TimeStampMissing,      // the key has no such value
    TimeStampUnreadable,   // the value cannot be read for another reason
    TimeStampTooLarge,     // its data with the NUL exceeds kTimeStampReadLimit bytes
    TimeStampNotAString,   // neither REG_SZ nor REG_EXPAND_SZ
    TimeStampUnterminated, // its data fills kTimeStampReadLimit bytes without a NUL
    TimeStampNotADate,     // the text does not parse under the current regional settings
    TimeStampRead,
};

// One time-stamp value as the program reads it.
struct StoredTimeStamp {
    TimeStampReading reading = TimeStampNoKey;
    unsigned long type = 0; // the registry type, once the value has been found
    unsigned long size = 0; // the data size the registry reports, once found
    CString text;           // string data as read, up to its first NUL
    COleDateTime time;      // TimeStampRead only
};

// Reads valueName under the key path exactly as the once-a-day rule reads the report
// time: at most kTimeStampReadLimit bytes, a string type, REG_EXPAND_SZ not expanded,
// parsed under the current regional settings.
StoredTimeStamp ReadTimeStamp(const char* keyPath, const char* valueName);

// The same operations reading the current time from the given clock; the ones above
// use COleDateTime::GetCurrentTime.
using CurrentTimeSource = COleDateTime (*)();
bool IsReportDueWithClock(const char* keyPath, CurrentTimeSource now);
void WriteReportTimeWithClock(const char* keyPath, CurrentTimeSource now);
void WriteSuppressTimeWithClock(const char* keyPath, CurrentTimeSource now);
