#pragma once
// The program's date type (Windows side): an OLE Automation DATE with a validity
// flag, the current local time in whole seconds, and the conversions to and from
// the user's default date-and-time text.
#include "framework/CString.h"

#include <windows.h>

// <windows.h> maps GetCurrentTime to GetTickCount; here it names the member below.
#ifdef GetCurrentTime
#undef GetCurrentTime
#endif

class COleDateTime {
public:
    enum DateTimeStatus { valid = 0, invalid = 1 };

    COleDateTime() noexcept = default;
    COleDateTime(DATE date, DateTimeStatus status) noexcept : m_dt(date), m_status(status) {}

    // The current local time in whole seconds.
    static COleDateTime GetCurrentTime();
    // The local time of a moment given as seconds since 1 January 1970 00:00:00 UTC.
    // A moment outside the run-time's 64-bit time range (before 1970 or after
    // 07:59:59 UTC on 1 January 3001), or one whose local time does not survive the
    // DATE conversion unchanged, gives an invalid date holding 0.0.
    static COleDateTime FromTime64(__time64_t seconds);

    DATE GetDate() const noexcept { return m_dt; }
    bool IsValid() const noexcept { return m_status == valid; }

    // The user's default date-and-time text in the thread's ANSI code page;
    // "Invalid DateTime" for an invalid date or a failed conversion.
    CString Format() const;
    // Reads text in the thread's ANSI code page with the user's default settings.
    // On success holds that date and is valid; otherwise invalid, 0.0, and false.
    bool ParseDateTime(const char* text);

private:
    DATE m_dt = 0.0;
    DateTimeStatus m_status = valid;
};

// Text of a date that cannot be shown.
constexpr const char kInvalidDateTimeText[] = "Invalid DateTime";
