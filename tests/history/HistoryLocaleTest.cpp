// Time stamps under other regional settings. Wine takes a process's locale from
// LANG / LC_ALL when the process starts, and a child started from a Windows process
// keeps its parent's, whatever environment it is given. So each locale runs this
// exe as its own CTest entry: writers first (one per locale) store time stamps of
// fixed dates under a shared key, then readers (one per locale) read every one of
// them, and a last entry removes the key.
#include "HistoryTestSupport.h"
#include "WineSystem.h"

#include "framework/OleDateTime.h"
#include "history/DayRule.h"
#include "history/NoticeHistory.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
constexpr double kSecond = 1.0 / 86400;
const char kExchangeKey[] = "Software\\QuenmarTest\\LocaleExchange";
const char kReport[] = "ReportQuenmar";

struct Locale {
    LCID lcid;
    UINT ansiCodePage;
};
const Locale kLocales[] = {{0x0411, 932}, {0x0409, 1252}, {0x0407, 1252}};

// Dates whose text differs in order (a day up to 12, a day above 12) and a midnight.
double SampleDate(int index) {
    switch (index) {
    case 0:
        return DateOf(2026, 1, 2, 10, 0, 0);
    case 1:
        return DateOf(2026, 3, 25, 18, 30, 5);
    default:
        return DateOf(2026, 7, 4);
    }
}
constexpr int kSamples = 3;

std::string ExchangeKey(LCID writer, int sample) {
    char name[64];
    std::snprintf(name, sizeof(name), "%s\\%04lx\\%d", kExchangeKey,
                  static_cast<unsigned long>(writer), sample);
    return name;
}

// Fails the test unless this process runs under the locale its CTest entry chose.
void ExpectTheChosenLocale() {
    char expected[16] = {};
    ASSERT_NE(0u, GetEnvironmentVariableA("QUENMAR_EXPECTED_LCID", expected, sizeof(expected)))
        << "run through the CTest entries, which set the locale";
    const LCID lcid = static_cast<LCID>(std::strtoul(expected, nullptr, 16));
    ASSERT_EQ(lcid, GetUserDefaultLCID());
    for (const Locale& locale : kLocales) {
        if (locale.lcid == lcid) {
            EXPECT_EQ(locale.ansiCodePage, GetACP());
        }
    }
}

TEST(HistoryLocaleWriter, TimeStampsRoundTripUnderThisLocale) {
    ExpectTheChosenLocale();
    const double now = COleDateTime::GetCurrentTime().GetDate();
    for (double date : {now, SampleDate(0), SampleDate(1), SampleDate(2)}) {
        const std::string text = TextOf(date);
        SCOPED_TRACE(text);
        COleDateTime back;
        ASSERT_TRUE(back.ParseDateTime(text.c_str()));
        EXPECT_NEAR(date, back.GetDate(), kSecond / 2);
    }
    EXPECT_EQ(std::string::npos, TextOf(SampleDate(2)).find(':')) << "midnight: the date alone";

    const std::string key = UniqueTestKeyPath();
    WriteReportTime(key.c_str());
    EXPECT_FALSE(IsReportDue(key.c_str()));
    SetStoredValue(key, kReport, REG_SZ, TextOf(now - 25.0 / 24) + '\0');
    EXPECT_TRUE(IsReportDue(key.c_str()));
    SetStoredValue(key, kReport, REG_SZ, TextOf(now + 1.0 / 24) + '\0');
    EXPECT_FALSE(IsReportDue(key.c_str()));
    DeleteTestKey(key);
}

TEST(HistoryLocaleWriter, StoresSampleTimeStampsForTheOtherLocales) {
    ExpectTheChosenLocale();
    for (int i = 0; i < kSamples; ++i) {
        const std::string key = ExchangeKey(GetUserDefaultLCID(), i);
        g_fixedNow = SampleDate(i);
        WriteReportTimeWithClock(key.c_str(), FixedClock);
        EXPECT_EQ(TextOf(SampleDate(i)) + '\0', ReadStoredValue(key, kReport).data);
    }
}

// Text from another locale either does not parse (due) or parses as some date, and
// the day rule applies to the date as read; text from this locale reads back exactly.
TEST(HistoryLocaleReader, TextWrittenUnderEachLocale) {
    ExpectTheChosenLocale();
    const LCID own = GetUserDefaultLCID();
    for (const Locale& writer : kLocales) {
        for (int i = 0; i < kSamples; ++i) {
            const std::string key = ExchangeKey(writer.lcid, i);
            const StoredValue stored = ReadStoredValue(key, kReport);
            ASSERT_TRUE(stored.exists) << key << ": the writers' entries did not run";
            const std::string text = stored.data.c_str();
            SCOPED_TRACE(key + " \"" + text + "\"");
            COleDateTime read;
            const bool parsed = read.ParseDateTime(text.c_str());
            std::printf("written under %04lx as \"%s\" (%.6f), read under %04lx: %s %.6f\n",
                        static_cast<unsigned long>(writer.lcid), text.c_str(), SampleDate(i),
                        static_cast<unsigned long>(own), parsed ? "parses as" : "does not parse",
                        read.GetDate());
            if (writer.lcid == own) {
                ASSERT_TRUE(parsed);
                EXPECT_NEAR(SampleDate(i), read.GetDate(), kSecond / 2);
            }
            for (double later : {1.0 / 24, 25.0 / 24, 40.0}) {
                g_fixedNow = SampleDate(i) + later;
                const bool expected = !parsed || IsDayElapsed(g_fixedNow, read.GetDate());
                EXPECT_EQ(expected, IsReportDueWithClock(key.c_str(), FixedClock)) << later;
            }
        }
    }
}

TEST(HistoryLocaleExchange, RemoveTheSharedKey) {
    DeleteTestKey(kExchangeKey);
    EXPECT_FALSE(KeyExists(kExchangeKey));
}
} // namespace
