#pragma once
// The notice history under HKEY_CURRENT_USER\<key path> (Windows side).
// Callers pass a non-empty key path.

// True when the service-pack notice may be shown again (it was not shown within a day).
bool IsReportDue(const char* keyPath);
// Stores the current time-stamp text in ReportQuenmar / ShowQuenmar; failures are silent.
void WriteReportTime(const char* keyPath);
void WriteSuppressTime(const char* keyPath);
