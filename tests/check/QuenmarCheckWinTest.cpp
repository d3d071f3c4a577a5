// QuenmarCheck.exe under Wine: what it prints matches what was emulated, and its
// decision and exit status match what Quenmar.exe does with the same command line
// and history. It writes nothing.
#include "HistoryTestSupport.h"
#include "NoticeTexts.h"
#include "QuenmarDriver.h"
#include "RegistrySnapshot.h"
#include "WineSystem.h"

#include <gtest/gtest.h>

#include <string>

namespace {
std::string Utf8(const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n > 0 ? n - 1 : 0), '\0');
    if (n > 1)
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], n, nullptr, nullptr);
    return out;
}

std::string JsonField(const std::string& json, const std::string& name) {
    const std::string key = "\"" + name + "\": ";
    const size_t at = json.find(key);
    if (at == std::string::npos)
        return "<missing>";
    size_t start = at + key.size(), end = start;
    if (json[start] == '"') {
        end = json.find('"', start + 1);
        return json.substr(start + 1, end - start - 1);
    }
    while (end < json.size() && json[end] != ',' && json[end] != '}')
        ++end;
    return json.substr(start, end - start);
}

ProcessResult RunCheck(const std::string& arguments) {
    return RunProcess("\"" + ProductExePath("QuenmarCheck.exe") + "\" " + arguments);
}

class QuenmarCheck : public ::testing::Test {
protected:
    void SetUp() override { m_keyPath = UniqueTestKeyPath(); }
    void TearDown() override { DeleteTestKey("Software\\QuenmarTest"); }
    std::string m_keyPath;
};
} // namespace

TEST_F(QuenmarCheck, PrintsTheRecordAsEmulated) {
    EmulatedWindows server = WindowsVersion(6, 1, 7601, 1, L"LanmanNT");
    ScopedEmulatedWindows emulated(server);
    ProcessResult run = RunCheck("--json");
    ASSERT_TRUE(run.finished);
    EXPECT_EQ("6", JsonField(run.output, "major"));
    EXPECT_EQ("1", JsonField(run.output, "minor"));
    EXPECT_EQ("7601", JsonField(run.output, "build"));
    EXPECT_EQ("1", JsonField(run.output, "servicePackMajor"));
    EXPECT_EQ("2", JsonField(run.output, "productType"));
    EXPECT_EQ("Service Pack 1", JsonField(run.output, "servicePackText"));
    EXPECT_EQ("null", JsonField(run.output, "serverR2")); // asked only for 5.2
    EXPECT_EQ("22", JsonField(run.output, "versionCode"));
    EXPECT_EQ("true", JsonField(run.output, "current"));
    EXPECT_EQ("current version code", JsonField(run.output, "settledBy"));
    EXPECT_EQ(0u, run.exitCode);

    ScopedEmulatedWindows server2003(WindowsVersion(5, 2, 3790, 2, L"ServerNT"));
    ProcessResult r2 = RunCheck("--json");
    EXPECT_EQ("0", JsonField(r2.output, "serverR2")); // Wine answers 0
    EXPECT_EQ("14", JsonField(r2.output, "versionCode"));
}

TEST_F(QuenmarCheck, OwnOptionsAndUsageErrors) {
    ScopedEmulatedWindows emulated(WindowsVersion(10, 0, 19045, 0, L"WinNT"));
    ProcessResult help = RunCheck("--help");
    EXPECT_EQ(2u, help.exitCode);
    EXPECT_NE(std::string::npos, help.output.find("usage:"));
    ProcessResult unknown = RunCheck("--verbose");
    EXPECT_EQ(2u, unknown.exitCode);
    ProcessResult text = RunCheck("/T");
    EXPECT_EQ(10u, text.exitCode);
    EXPECT_NE(std::string::npos,
              text.output.find("line 1: " + Utf8(expected_text::kWindows10.line1)));
}

// The history part of the report is what the program's own reader found: why a
// stored report time does not count, and that a report is therefore due.
TEST_F(QuenmarCheck, SaysWhyTheStoredReportTimeDoesNotCount) {
    ScopedEmulatedWindows emulated(WindowsVersion(6, 1, 7600, 0, L"WinNT"));
    struct Case {
        DWORD type;
        std::string data;
        const char* problem;
    } cases[] = {
        {REG_DWORD, std::string("\x01\x00\x00\x00", 4), "ReportQuenmar is not a string value"},
        {REG_SZ, std::string("not a date", 11),
         "the text is not a date under the current regional settings"},
        {REG_SZ, std::string(1100, ' ') + '\0', "ReportQuenmar is longer than 1024 bytes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.problem);
        SetStoredValue(m_keyPath, "ReportQuenmar", c.type, c.data);
        ProcessResult run = RunCheck("--json \"" + m_keyPath + "\"");
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(c.problem, JsonField(run.output, "reportParseProblem"));
        EXPECT_EQ("true", JsonField(run.output, "due"));
        EXPECT_EQ("history: a report is due", JsonField(run.output, "settledBy"));
        // The first size in the report: ReportQuenmar's (ShowQuenmar is absent).
        EXPECT_EQ(std::to_string(c.data.size()), JsonField(run.output, "size"));
    }
}

// A value that fills the program's 1,024-byte read buffer without a NUL is never read
// as text, so the report must not explain the decision with a time parsed from it.
TEST_F(QuenmarCheck, FullReadBufferWithoutNulGivesNoReportTime) {
    ScopedEmulatedWindows emulated(WindowsVersion(6, 1, 7600, 0, L"WinNT"));
    // An hour ago, padded with blanks, which still parse.
    std::string stamp = TextOf(COleDateTime::GetCurrentTime().GetDate() - 1.0 / 24);
    stamp.resize(1024, ' ');
    SetStoredValue(m_keyPath, "ReportQuenmar", REG_SZ, stamp);
    ProcessResult full = RunCheck("--json \"" + m_keyPath + "\"");
    EXPECT_EQ(10u, full.exitCode);
    EXPECT_EQ("true", JsonField(full.output, "due"));
    EXPECT_EQ("null", JsonField(full.output, "reportTime"));
    EXPECT_EQ("null", JsonField(full.output, "nextDue"));
    // Windows reads it whole, unterminated; Wine's ANSI query adds a NUL of its own and
    // then finds it too large. Either way it is no time stamp.
    const std::string problem = JsonField(full.output, "reportParseProblem");
    EXPECT_TRUE(problem == "ReportQuenmar fills 1024 bytes without a terminating NUL" ||
                problem == "ReportQuenmar is longer than 1024 bytes")
        << problem;

    // A byte shorter, the zero-filled buffer ends the text: read, and not due.
    stamp.pop_back();
    SetStoredValue(m_keyPath, "ReportQuenmar", REG_SZ, stamp);
    ProcessResult shorter = RunCheck("--json \"" + m_keyPath + "\"");
    EXPECT_EQ(0u, shorter.exitCode);
    EXPECT_EQ("false", JsonField(shorter.output, "due"));
    EXPECT_EQ("null", JsonField(shorter.output, "reportParseProblem"));
}

struct AgreementCase {
    const char* name;
    EmulatedWindows windows;
    const char* switches;
    bool withKeyPath;
    bool shownRecently; // run Quenmar once first, so the history says not due
};

void PrintTo(const AgreementCase& c, std::ostream* os) {
    *os << c.name;
}

class QuenmarCheckAgreement : public QuenmarCheck,
                              public ::testing::WithParamInterface<AgreementCase> {};

TEST_P(QuenmarCheckAgreement, SameDecisionAsTheProgram) {
    const AgreementCase& c = GetParam();
    ScopedEmulatedWindows emulated(c.windows);
    std::string args = c.withKeyPath ? "\"" + m_keyPath + "\"" : "";
    args += std::string(" ") + c.switches;
    if (c.shownRecently) {
        ASSERT_TRUE(RunToNoticeAndClose(args));
    }

    const RegistrySnapshot before = TakeRegistrySnapshot(HKEY_CURRENT_USER, L"HKCU");
    ProcessResult check = RunCheck("--json " + args);
    ASSERT_TRUE(check.finished);
    EXPECT_TRUE(DiffSnapshots(before, TakeRegistrySnapshot(HKEY_CURRENT_USER, L"HKCU")).empty());

    QuenmarRun program(args);
    NoticeWindow notice;
    const bool shown = program.WaitForNotice(notice);
    if (shown)
        program.Close(notice, CloseBy::Button);
    ASSERT_TRUE(program.WaitForExit());

    if (!shown) {
        EXPECT_EQ(0u, check.exitCode) << check.output;
        EXPECT_EQ("none", JsonField(check.output, "notice"));
        return;
    }
    const bool endOfSupport = notice.caption == expected_text::kEndOfSupportCaption;
    EXPECT_EQ(endOfSupport ? 11u : 10u, check.exitCode) << check.output;
    EXPECT_EQ(Utf8(notice.line1), JsonField(check.output, "line1"));
    EXPECT_EQ(Utf8(notice.line2), JsonField(check.output, "line2"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, QuenmarCheckAgreement,
    ::testing::Values(
        AgreementCase{"Vista", WindowsVersion(6, 0, 6002, 2, L"WinNT"), "/N", true, false},
        AgreementCase{"VistaWithV", WindowsVersion(6, 0, 6001, 1, L"WinNT"), "/V", true, false},
        AgreementCase{"Windows7Due", WindowsVersion(6, 1, 7600, 0, L"WinNT"), "/I", true, false},
        AgreementCase{"Windows7NotDue", WindowsVersion(6, 1, 7600, 0, L"WinNT"), "", true, true},
        AgreementCase{"Windows7NoKeyPath", WindowsVersion(6, 1, 7600, 0, L"WinNT"), "", false,
                      false},
        AgreementCase{"Windows8", WindowsVersion(6, 2, 9200, 0, L"WinNT"), "/I", true, true},
        AgreementCase{"Windows8WithE", WindowsVersion(6, 2, 9200, 0, L"WinNT"), "-e", true, false},
        AgreementCase{"Windows10WithT", WindowsVersion(10, 0, 22631, 0, L"WinNT"), "/t", true,
                      false},
        AgreementCase{"Server2012", WindowsVersion(6, 2, 9200, 0, L"ServerNT"), "", true, false},
        AgreementCase{"ForcedOnWindows7Sp1", WindowsVersion(6, 1, 7601, 1, L"WinNT"), "/N /E",
                      false, false}),
    [](const ::testing::TestParamInfo<AgreementCase>& info) { return info.param.name; });
