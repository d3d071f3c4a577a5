#include "DateTestSupport.h"

#include "framework/OleDateTime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <ctime>

namespace {
constexpr double kSecond = 1.0 / 86400;

TEST(OleDateTimeFromTime64, OutsideTheRunTimeRangeIsInvalidWithDateZero) {
    for (__time64_t seconds : {__time64_t(-1), __time64_t(INT64_MIN), __time64_t(32535244800LL),
                               __time64_t(INT64_MAX)}) {
        SCOPED_TRACE(seconds);
        const COleDateTime date = COleDateTime::FromTime64(seconds);
        EXPECT_FALSE(date.IsValid());
        EXPECT_EQ(0.0, date.GetDate());
        EXPECT_EQ(std::string("Invalid DateTime"), date.Format().c_str());
    }
}

TEST(OleDateTimeFromTime64, EdgesOfTheRangeAreValid) {
    const COleDateTime first = COleDateTime::FromTime64(0);
    EXPECT_TRUE(first.IsValid());
    EXPECT_NEAR(DateOf(1970, 1, 1), first.GetDate(), 1.0); // local time: within a day
    const COleDateTime last = COleDateTime::FromTime64(32535244799LL);
    EXPECT_TRUE(last.IsValid());
    EXPECT_NEAR(DateOf(3001, 1, 1, 7, 59, 59), last.GetDate(), 1.0);
}

// The moment is turned into local wall-clock time in whole seconds.
TEST(OleDateTimeFromTime64, GivesTheLocalTimeInWholeSeconds) {
    SYSTEMTIME before, after;
    GetLocalTime(&before);
    const COleDateTime now = COleDateTime::FromTime64(_time64(nullptr));
    GetLocalTime(&after);
    ASSERT_TRUE(now.IsValid());
    before.wMilliseconds = after.wMilliseconds = 0;
    double low, high;
    SystemTimeToVariantTime(&before, &low);
    SystemTimeToVariantTime(&after, &high);
    EXPECT_GE(now.GetDate(), low - kSecond / 2);
    EXPECT_LE(now.GetDate(), high + kSecond / 2);
    SYSTEMTIME back;
    ASSERT_TRUE(VariantTimeToSystemTime(now.GetDate(), &back));
    EXPECT_EQ(0, back.wMilliseconds);
}

TEST(OleDateTimeGetCurrentTime, IsValidAndWithinASecondOfTheLocalClock) {
    SYSTEMTIME local;
    GetLocalTime(&local);
    const COleDateTime now = COleDateTime::GetCurrentTime();
    ASSERT_TRUE(now.IsValid());
    local.wMilliseconds = 0;
    double expected;
    SystemTimeToVariantTime(&local, &expected);
    EXPECT_NEAR(expected, now.GetDate(), 1.5 * kSecond);
}

TEST(OleDateTimeParse, TextThatIsNoDateFailsAndLeavesAnInvalidZeroDate) {
    for (const char* text : {"Invalid DateTime", "", "not a date", "\x93\xfa\x95\x74"}) {
        SCOPED_TRACE(text);
        COleDateTime date(DateOf(2026, 3, 14), COleDateTime::valid);
        EXPECT_FALSE(date.ParseDateTime(text));
        EXPECT_FALSE(date.IsValid());
        EXPECT_EQ(0.0, date.GetDate());
    }
}

// Under unchanged regional settings the text reads back as the same second.
TEST(OleDateTimeFormat, TextReadsBackAsTheSameSecond) {
    for (double date : {DateOf(2026, 3, 14, 10, 0, 0), DateOf(2026, 3, 14), DateOf(2026, 3, 14, 12),
                        DateOf(1999, 12, 31, 23, 59, 59), DateOf(2038, 1, 19, 3, 14, 8),
                        DateOf(1899, 12, 29, 6), COleDateTime::GetCurrentTime().GetDate()}) {
        const std::string text = TextOf(date);
        SCOPED_TRACE(text);
        COleDateTime back;
        ASSERT_TRUE(back.ParseDateTime(text.c_str()));
        EXPECT_NEAR(date, back.GetDate(), kSecond / 2);
    }
}

TEST(OleDateTimeFormat, InvalidDateGivesInvalidDateTimeText) {
    EXPECT_EQ(std::string("Invalid DateTime"),
              COleDateTime(DateOf(2026, 3, 14), COleDateTime::invalid).Format().c_str());
}

TEST(OleDateTimeFormat, DateTheConversionRejectsGivesInvalidDateTimeText) {
    // Far beyond the last date OLE Automation can show (31 December 9999).
    EXPECT_EQ(std::string("Invalid DateTime"),
              COleDateTime(1e10, COleDateTime::valid).Format().c_str());
}
} // namespace
