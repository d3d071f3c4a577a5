#include "history/DayRule.h"

#include <cmath>

double ContinuousDayCount(double date) {
    if (date > -kHalfSecondInDays)
        return date;
    return 2.0 * std::ceil(date) - date;
}

double DaySpan(double now, double stored) {
    return ContinuousDayCount(now) - ContinuousDayCount(stored);
}

long long WholeDays(double span) {
    const double rounded = span >= 0.0 ? span + kHalfSecondInDays : span - kHalfSecondInDays;
    // A double outside the integer's range must not be converted directly; NaN gives 0.
    constexpr double kLimit = 9.0e18;
    if (std::isnan(rounded))
        return 0;
    if (rounded >= kLimit)
        return static_cast<long long>(kLimit);
    if (rounded <= -kLimit)
        return -static_cast<long long>(kLimit);
    return static_cast<long long>(rounded);
}

bool IsDayElapsed(double now, double stored) {
    const double span = DaySpan(now, stored);
    // No day count at all: like a history that cannot be read, the notice is due.
    if (std::isnan(span))
        return true;
    return WholeDays(span) >= 1;
}
