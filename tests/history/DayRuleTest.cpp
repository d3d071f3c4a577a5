#include "history/DayRule.h"

#include <gtest/gtest.h>

#include <limits>
#include <ostream>
#include <string>

namespace {
// Days from 1 March of year 0 in the proleptic Gregorian calendar.
long DaysFromCivil(int year, int month, int day) {
    year -= month <= 2;
    const long era = (year >= 0 ? year : year - 399) / 400;
    const long yoe = year - era * 400;
    const long doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe;
}

// The DATE of a calendar date and time: whole part the day (negative before
// 30 December 1899), fraction the time of day counted forward from midnight.
double Date(int year, int month, int day, int hour = 0, int minute = 0, double second = 0) {
    const long dayNumber = DaysFromCivil(year, month, day) - DaysFromCivil(1899, 12, 30);
    const double time = (hour * 3600 + minute * 60 + second) / 86400.0;
    return dayNumber >= 0 ? dayNumber + time : dayNumber - time;
}

TEST(DayRuleDates, CalendarHelperMatchesKnownDates) {
    EXPECT_EQ(0.0, Date(1899, 12, 30));
    EXPECT_EQ(2.0, Date(1900, 1, 1));
    EXPECT_EQ(-1.25, Date(1899, 12, 29, 6));
    EXPECT_EQ(46000.5, Date(2025, 12, 9, 12));
}

TEST(DayRule, ContinuousDayCountBeforeAndAfterDayZero) {
    EXPECT_EQ(-0.75, ContinuousDayCount(-1.25));       // 29 Dec 1899 06:00
    EXPECT_EQ(-1.0, ContinuousDayCount(-1.0));         // 29 Dec 1899 midnight
    EXPECT_EQ(-1.5, ContinuousDayCount(-2.5));         // 28 Dec 1899 12:00
    EXPECT_EQ(0.25, ContinuousDayCount(0.25));         // 30 Dec 1899 06:00
    EXPECT_EQ(45000.75, ContinuousDayCount(45000.75)); // unchanged from day 0 on
    // Within half a second before day zero a value is taken as it is.
    EXPECT_EQ(-0.4 / 86400, ContinuousDayCount(-0.4 / 86400));
}

// A stored time, a current time and whether the notice is due, all from calendar numbers.
struct Case {
    const char* name;
    double stored;
    double now;
    bool due;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name << " (stored " << c.stored << ", now " << c.now << ")";
}

class DayRuleCases : public ::testing::TestWithParam<Case> {};

TEST_P(DayRuleCases, DueFromOneDayAfterTheStoredTime) {
    const Case& c = GetParam();
    EXPECT_EQ(c.due, IsDayElapsed(c.now, c.stored));
}

INSTANTIATE_TEST_SUITE_P(
    Spans, DayRuleCases,
    ::testing::Values(
        Case{"WorkedExample_095959_NextDay", Date(2026, 3, 14, 10), Date(2026, 3, 15, 9, 59, 59),
             false},
        Case{"WorkedExample_100000_NextDay", Date(2026, 3, 14, 10), Date(2026, 3, 15, 10), true},
        Case{"SameSecond", Date(2026, 3, 14, 10), Date(2026, 3, 14, 10), false},
        Case{"OneSecondAgo", Date(2026, 3, 14, 10), Date(2026, 3, 14, 10, 0, 1), false},
        Case{"Ago_23_59_59_OverMonthEnd", Date(2026, 2, 28, 23), Date(2026, 3, 1, 22, 59, 59),
             false},
        Case{"Exactly24HoursOverYearEnd", Date(2025, 12, 31, 12), Date(2026, 1, 1, 12), true},
        Case{"Ago25Hours", Date(2026, 3, 14, 10), Date(2026, 3, 15, 11), true},
        Case{"JustUnderOneDayLessHalfASecond", Date(2026, 3, 14, 10),
             Date(2026, 3, 15, 9, 59, 59.4), false},
        Case{"JustOverOneDayLessHalfASecond", Date(2026, 3, 14, 10), Date(2026, 3, 15, 9, 59, 59.6),
             true},
        Case{"StoredOneSecondInTheFuture", Date(2026, 3, 14, 10), Date(2026, 3, 14, 9, 59, 59),
             false},
        Case{"StoredTwoDaysInTheFuture", Date(2026, 3, 14, 10), Date(2026, 3, 12, 10), false},
        Case{"StoredAMonthInTheFuture", Date(2026, 3, 14, 10), Date(2026, 2, 14, 10), false},
        // Before day zero the fraction counts forward: 29 Dec 1899 06:00 is -1.25, and
        // only 24 hours later (30 Dec 06:00, 0.25) is a day gone, not 18 hours later.
        Case{"BeforeDayZero_18HoursLater", Date(1899, 12, 29, 6), Date(1899, 12, 30), false},
        Case{"BeforeDayZero_23_59_59Later", Date(1899, 12, 29, 6), Date(1899, 12, 30, 5, 59, 59),
             false},
        Case{"BeforeDayZero_24HoursLater", Date(1899, 12, 29, 6), Date(1899, 12, 30, 6), true},
        Case{"BothBeforeDayZero_23_59_59", Date(1899, 12, 28, 12), Date(1899, 12, 29, 11, 59, 59),
             false},
        Case{"BothBeforeDayZero_24Hours", Date(1899, 12, 28, 12), Date(1899, 12, 29, 12), true},
        Case{"StoredLongBeforeDayZero", Date(1850, 6, 1, 12), Date(2026, 3, 14, 10), true},
        Case{"Midnight_23_59_59Later", Date(2026, 3, 14), Date(2026, 3, 14, 23, 59, 59), false},
        Case{"Midnight_NextMidnight", Date(2026, 3, 14), Date(2026, 3, 15), true},
        Case{"MidnightBeforeDayZero_23_59_59Later", Date(1899, 12, 29),
             Date(1899, 12, 29, 23, 59, 59), false},
        Case{"MidnightBeforeDayZero_NextMidnight", Date(1899, 12, 29), Date(1899, 12, 30), true}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

// The clock was turned back after the last showing: the notice stays away until a
// day after the stored time, however long the clock takes to get there.
TEST(DayRule, StoredTimeInTheFutureHoldsUntilADayAfterIt) {
    const double stored = Date(2026, 3, 14, 10);
    for (double now : {Date(2026, 3, 10, 10), Date(2026, 3, 14, 9, 59, 59), stored,
                       Date(2026, 3, 15, 9, 59, 59), Date(2026, 3, 15, 9, 59, 59.4)})
        EXPECT_FALSE(IsDayElapsed(now, stored)) << now;
    EXPECT_TRUE(IsDayElapsed(Date(2026, 3, 15, 9, 59, 59.6), stored));
}

TEST(DayRule, WholeDaysRoundsHalfASecondAwayFromZero) {
    const double second = 1.0 / 86400;
    EXPECT_EQ(0, WholeDays(0.0));
    EXPECT_EQ(0, WholeDays(1 - second));
    EXPECT_EQ(1, WholeDays(1 - 0.4 * second));
    EXPECT_EQ(0, WholeDays(-(1 - second)));
    EXPECT_EQ(-1, WholeDays(-(1 - 0.4 * second)));
    EXPECT_EQ(3, WholeDays(3.2));
    EXPECT_EQ(-3, WholeDays(-3.2));
}

TEST(DayRule, SpansOutsideTheIntegerRangeAreClampedNotConverted) {
    EXPECT_GT(WholeDays(1e300), 1000000000000LL);
    EXPECT_LT(WholeDays(-1e300), -1000000000000LL);
    EXPECT_EQ(0, WholeDays(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_TRUE(IsDayElapsed(1e300, 0.0));
    EXPECT_FALSE(IsDayElapsed(0.0, 1e300));
    EXPECT_TRUE(IsDayElapsed(std::numeric_limits<double>::quiet_NaN(), Date(2026, 3, 14)));
}
} // namespace
