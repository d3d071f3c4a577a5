#include "HistoryTestSupport.h"
#include "WineSystem.h"

#include "history/DayRule.h"
#include "history/NoticeHistory.h"
#include "history/OleDateTime.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
constexpr double kSecond = 1.0 / 86400;
const char kReport[] = "ReportQuenmar";
const char kSuppress[] = "ShowQuenmar";

std::string WithNul(const std::string& text) {
    return text + '\0';
}
std::string PaddedTo(const std::string& text, std::size_t size) {
    return text + std::string(size - text.size(), ' ');
}
std::string NowText() {
    return COleDateTime::GetCurrentTime().Format().c_str();
}

int g_clockCalls = 0;
COleDateTime CountingClock() {
    ++g_clockCalls;
    return COleDateTime::GetCurrentTime();
}
// A system clock before 1970: outside the range the current time can be taken in.
COleDateTime BrokenClock() {
    return COleDateTime::FromTime64(-86400);
}

class NoticeHistoryTest : public ::testing::Test {
protected:
    void SetUp() override { m_key = UniqueTestKeyPath(); }
    void TearDown() override { DeleteTestKey(m_key); }
    std::string Below(const std::string& path) const { return m_key + "\\" + path; }
    void StoreReport(DWORD type, const std::string& data) {
        SetStoredValue(m_key, kReport, type, data);
    }
    std::string m_key;
};

TEST_F(NoticeHistoryTest, NoKeyIsDueAndReadingCreatesNothing) {
    EXPECT_TRUE(IsReportDue(m_key.c_str()));
    EXPECT_FALSE(KeyExists(m_key));
}

TEST_F(NoticeHistoryTest, KeyWithoutReportValueIsDue) {
    SetStoredValue(m_key, kSuppress, REG_SZ, WithNul(NowText()));
    EXPECT_TRUE(IsReportDue(m_key.c_str()));
}

// What ReportQuenmar holds, and whether a notice is due with it (real clock).
TEST_F(NoticeHistoryTest, StoredValuesOfEveryKind) {
    const std::string now = NowText();
    ASSERT_TRUE(SetEnvironmentVariableA("QUENMAR_TEST_STAMP", now.c_str()));
    struct Case {
        const char* name;
        DWORD type;
        std::string data;
        bool due;
    };
    const std::vector<Case> cases = {
        {"time stamp", REG_SZ, WithNul(now), false},
        {"time stamp without its NUL", REG_SZ, now, false},
        {"REG_EXPAND_SZ time stamp", REG_EXPAND_SZ, WithNul(now), false},
        // Not expanded: the reference itself is no date.
        {"REG_EXPAND_SZ reference to a time stamp", REG_EXPAND_SZ, WithNul("%QUENMAR_TEST_STAMP%"),
         true},
        {"REG_DWORD", REG_DWORD, std::string("\x01\x00\x00\x00", 4), true},
        {"REG_MULTI_SZ time stamp", REG_MULTI_SZ, WithNul(WithNul(now)), true},
        {"REG_BINARY time stamp", REG_BINARY, WithNul(now), true},
        {"Invalid DateTime", REG_SZ, WithNul("Invalid DateTime"), true},
        {"empty string", REG_SZ, WithNul(""), true},
        {"no data at all", REG_SZ, "", true},
        {"garbage", REG_SZ, WithNul("not a date"), true},
        {"garbage in code page 932", REG_SZ, WithNul("\x93\xfa\x95\x74"), true},
        // Trailing blanks still parse, so only the size decides the next cases.
        {"time stamp padded to 1,023 bytes and NUL", REG_SZ, WithNul(PaddedTo(now, 1023)), false},
        {"time stamp padded to 1,024 bytes and NUL", REG_SZ, WithNul(PaddedTo(now, 1024)), true},
        {"time stamp padded to 1,100 bytes and NUL", REG_SZ, WithNul(PaddedTo(now, 1100)), true},
        // Fills the whole read buffer without a terminator: counted as not parsed.
        {"time stamp padded to exactly 1,024 bytes, no NUL", REG_SZ, PaddedTo(now, 1024), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StoreReport(c.type, c.data);
        EXPECT_EQ(c.due, IsReportDue(m_key.c_str()));
    }
}

TEST_F(NoticeHistoryTest, WrittenNowIsNotDue) {
    WriteReportTime(m_key.c_str());
    EXPECT_FALSE(IsReportDue(m_key.c_str()));
}

// Stored as the text of a date in the same form as the writer's (real clock).
TEST_F(NoticeHistoryTest, StoredTimesRelativeToNow) {
    const double now = COleDateTime::GetCurrentTime().GetDate();
    struct Case {
        const char* name;
        double stored;
        bool due;
    };
    const Case cases[] = {
        {"one second ago", now - kSecond, false},
        {"23 hours ago", now - 23.0 / 24, false},
        {"25 hours ago", now - 25.0 / 24, true},
        {"a year ago", now - 365, true},
        {"an hour in the future", now + 1.0 / 24, false},
        {"two days in the future", now + 2, false},
        {"before 30 December 1899", DateOf(1899, 12, 29, 6), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StoreReport(REG_SZ, WithNul(TextOf(c.stored)));
        EXPECT_EQ(c.due, IsReportDue(m_key.c_str()));
    }
}

// The whole chain with a given clock: written at 10:00:00, read back from the
// registry text, due from 10:00:00 on the next day, held back by a future time.
TEST_F(NoticeHistoryTest, DueExactlyADayAfterTheWrittenTime) {
    const double stored = DateOf(2026, 3, 14, 10);
    g_fixedNow = stored;
    WriteReportTimeWithClock(m_key.c_str(), FixedClock);
    struct Case {
        const char* name;
        double now;
        bool due;
    };
    const Case cases[] = {
        {"same second", stored, false},
        {"one second later", stored + kSecond, false},
        {"09:59:59 next day", DateOf(2026, 3, 15, 9, 59, 59), false},
        {"10:00:00 next day", DateOf(2026, 3, 15, 10), true},
        {"25 hours later", DateOf(2026, 3, 15, 11), true},
        {"an hour before (clock turned back)", DateOf(2026, 3, 14, 9), false},
        {"three days before", DateOf(2026, 3, 11, 10), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_fixedNow = c.now;
        EXPECT_EQ(c.due, IsReportDueWithClock(m_key.c_str(), FixedClock));
    }
}

TEST_F(NoticeHistoryTest, MidnightCountsFromThatMidnight) {
    const double midnight = DateOf(2026, 3, 14);
    g_fixedNow = midnight;
    WriteReportTimeWithClock(m_key.c_str(), FixedClock);
    COleDateTime stored;
    ASSERT_TRUE(stored.ParseDateTime(ReadStoredValue(m_key, kReport).data.c_str()));
    EXPECT_EQ(midnight, stored.GetDate());
    g_fixedNow = DateOf(2026, 3, 14, 23, 59, 59);
    EXPECT_FALSE(IsReportDueWithClock(m_key.c_str(), FixedClock));
    g_fixedNow = DateOf(2026, 3, 15);
    EXPECT_TRUE(IsReportDueWithClock(m_key.c_str(), FixedClock));
}

// Both writers: REG_SZ, the time-stamp text and exactly one NUL, nothing else touched.
TEST_F(NoticeHistoryTest, WritersStoreTheTextAndOneNulAsRegSz) {
    SetStoredValue(m_key, "Other", REG_SZ, WithNul("keep"));
    struct Writer {
        const char* value;
        void (*write)(const char*);
    };
    for (const Writer& w :
         {Writer{kReport, WriteReportTime}, Writer{kSuppress, WriteSuppressTime}}) {
        SCOPED_TRACE(w.value);
        SetStoredValue(m_key, w.value, REG_SZ,
                       WithNul(PaddedTo("a much longer earlier value", 80)));
        const double before = COleDateTime::GetCurrentTime().GetDate();
        w.write(m_key.c_str());
        const double after = COleDateTime::GetCurrentTime().GetDate();
        const StoredValue value = ReadStoredValue(m_key, w.value);
        ASSERT_TRUE(value.exists);
        EXPECT_EQ(static_cast<DWORD>(REG_SZ), value.type);
        ASSERT_FALSE(value.data.empty());
        EXPECT_EQ('\0', value.data.back());
        const std::string text = value.data.substr(0, value.data.size() - 1);
        EXPECT_EQ(std::string::npos, text.find('\0')) << "exactly one NUL";
        COleDateTime written;
        ASSERT_TRUE(written.ParseDateTime(text.c_str())) << text;
        EXPECT_GE(written.GetDate(), before - kSecond / 2);
        EXPECT_LE(written.GetDate(), after + kSecond / 2);
        EXPECT_EQ(TextOf(written.GetDate()), text);
    }
    EXPECT_EQ(WithNul("keep"), ReadStoredValue(m_key, "Other").data);
}

TEST_F(NoticeHistoryTest, SuppressTimeDoesNotCountAsReportTime) {
    WriteSuppressTime(m_key.c_str());
    EXPECT_FALSE(ReadStoredValue(m_key, kReport).exists);
    EXPECT_TRUE(IsReportDue(m_key.c_str()));
}

TEST_F(NoticeHistoryTest, NestedChainIsDueUntilTheFirstWriteCreatesIt) {
    const std::string chain = Below("a\\b\\c");
    EXPECT_TRUE(IsReportDue(chain.c_str()));
    EXPECT_FALSE(KeyExists(m_key));
    WriteReportTime(chain.c_str());
    EXPECT_TRUE(KeyExists(chain));
    EXPECT_FALSE(IsReportDue(chain.c_str()));

    const std::string other = Below("x\\y");
    WriteSuppressTime(other.c_str());
    EXPECT_TRUE(ReadStoredValue(other, kSuppress).exists);
}

// An existing key whose access list lets everyone read (and delete) it but nothing
// else: it cannot be opened with full access, nor "created" (which opens it).
class LockedKey {
public:
    explicit LockedKey(const std::string& path) : m_path(path) {}
    bool Lock() { return SetAccess(KEY_READ | DELETE | WRITE_DAC); }
    ~LockedKey() { SetAccess(KEY_ALL_ACCESS); }

private:
    bool SetAccess(DWORD mask) {
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, m_path.c_str(), 0, WRITE_DAC, &key) != ERROR_SUCCESS)
            return false;
        SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
        PSID everyone = nullptr;
        AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
        alignas(DWORD) BYTE aclBuffer[256];
        PACL acl = reinterpret_cast<PACL>(aclBuffer);
        InitializeAcl(acl, sizeof(aclBuffer), ACL_REVISION);
        AddAccessAllowedAce(acl, ACL_REVISION, mask, everyone);
        SECURITY_DESCRIPTOR sd;
        InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
        SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE);
        const bool set = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &sd) == ERROR_SUCCESS;
        FreeSid(everyone);
        RegCloseKey(key);
        return set;
    }
    std::string m_path;
};

TEST_F(NoticeHistoryTest, KeyThatCannotBeOpenedForWritingKeepsItsOldValue) {
    const std::string locked = Below("locked");
    const std::string old = WithNul(TextOf(COleDateTime::GetCurrentTime().GetDate() - 2));
    SetStoredValue(locked, kReport, REG_SZ, old);
    LockedKey lock(locked);
    ASSERT_TRUE(lock.Lock());
    HKEY probe;
    ASSERT_EQ(ERROR_ACCESS_DENIED,
              RegOpenKeyExA(HKEY_CURRENT_USER, locked.c_str(), 0, KEY_ALL_ACCESS, &probe));

    g_clockCalls = 0;
    WriteReportTimeWithClock(locked.c_str(), CountingClock);
    WriteSuppressTimeWithClock(locked.c_str(), CountingClock);
    EXPECT_EQ(0, g_clockCalls) << "a skipped write does not take the time";
    EXPECT_EQ(old, ReadStoredValue(locked, kReport).data);
    EXPECT_FALSE(ReadStoredValue(locked, kSuppress).exists);
    // Still readable: the old report time, two days ago, keeps the notice due.
    EXPECT_TRUE(IsReportDue(locked.c_str()));
    WriteReportTime(locked.c_str());
    EXPECT_EQ(old, ReadStoredValue(locked, kReport).data);
}

// A key name longer than the registry allows (255 characters): neither opened nor
// created, so the notice is due every time and nothing is written.
TEST_F(NoticeHistoryTest, KeyPathThatCannotBeCreatedIsDueAndWritesNothing) {
    const std::string invalid = Below(std::string(300, 'k'));
    g_clockCalls = 0;
    WriteReportTimeWithClock(invalid.c_str(), CountingClock);
    WriteSuppressTimeWithClock(invalid.c_str(), CountingClock);
    EXPECT_EQ(0, g_clockCalls);
    EXPECT_FALSE(KeyExists(invalid));
    EXPECT_TRUE(IsReportDue(invalid.c_str()));
}

TEST_F(NoticeHistoryTest, BrokenClockNeverHoldsTheNoticeBack) {
    WriteReportTime(m_key.c_str());
    ASSERT_FALSE(IsReportDue(m_key.c_str()));
    EXPECT_TRUE(IsReportDueWithClock(m_key.c_str(), BrokenClock));
    // Even a stored time in the far future does not hold it back.
    StoreReport(REG_SZ, WithNul(TextOf(DateOf(9000, 1, 1))));
    EXPECT_TRUE(IsReportDueWithClock(m_key.c_str(), BrokenClock));
}

TEST_F(NoticeHistoryTest, BrokenClockWritesInvalidDateTime) {
    WriteReportTimeWithClock(m_key.c_str(), BrokenClock);
    const StoredValue value = ReadStoredValue(m_key, kReport);
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), value.type);
    EXPECT_EQ(WithNul("Invalid DateTime"), value.data);
    EXPECT_TRUE(IsReportDue(m_key.c_str()));
}
} // namespace
