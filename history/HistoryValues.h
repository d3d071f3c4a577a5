#pragma once
// The registry values of the notice history under HKEY_CURRENT_USER\<key path>, both
// REG_SZ time-stamp text, and how much of one is read. Pure, so that any build can
// name them.

// Written just before each service-pack notice; read by the once-a-day rule.
constexpr char kReportTimeValue[] = "ReportQuenmar";
// Written when the user asked not to see the notice again; never read by the program.
constexpr char kSuppressTimeValue[] = "ShowQuenmar";
// The most value data read, the terminating NUL included.
constexpr unsigned kTimeStampReadLimit = 1024;
