#pragma once
// The once-a-day rule on two OLE Automation dates (DATE: days since 30 December 1899,
// the fraction the time of day). Pure: no Windows headers, tested on the host.

// Half a second in days: the rounding applied to a span before it is cut to whole days.
constexpr double kHalfSecondInDays = 0.5 / 86400.0;

// A DATE as a continuous day count. Before 30 December 1899 the whole part of a DATE
// is negative while its fraction still counts forward from that day's midnight
// (-1.25 is 29 December 1899, 06:00); such a value d becomes 2 * ceil(d) - d (-0.75).
double ContinuousDayCount(double date);

// Continuous day count of now minus that of stored, in days: positive when stored
// lies in the past.
double DaySpan(double now, double stored);

// The span rounded by half a second away from zero and truncated toward zero.
// Spans beyond the range of the result are clamped to it.
long long WholeDays(double span);

// True when at least one whole day (one day less half a second) lies between stored
// and now. A stored time in the future is never a day ago; a span that is not a
// number (NaN) counts as elapsed.
bool IsDayElapsed(double now, double stored);
