#pragma once
// The notice history under HKEY_CURRENT_USER\<key path> (Windows side).
// Callers pass a non-empty key path.

class COleDateTime;

// True when the service-pack notice may be shown again (it was not shown within a day).
bool IsReportDue(const char* keyPath);
// Stores the current time-stamp text in ReportQuenmar / ShowQuenmar; failures are silent.
void WriteReportTime(const char* keyPath);
void WriteSuppressTime(const char* keyPath);

// The same operations reading the current time from the given clock; the ones above
// use COleDateTime::GetCurrentTime.
using CurrentTimeSource = COleDateTime (*)();
bool IsReportDueWithClock(const char* keyPath, CurrentTimeSource now);
void WriteReportTimeWithClock(const char* keyPath, CurrentTimeSource now);
void WriteSuppressTimeWithClock(const char* keyPath, CurrentTimeSource now);
