#include "check/CheckReport.h"

#include <gtest/gtest.h>

TEST(CheckReportJson, StringsAreEscapedAndKeptUtf8) {
    struct Case {
        std::string in, out;
    } cases[] = {
        {"plain", "\"plain\""},
        {"a\"b\\c", "\"a\\\"b\\\\c\""},
        {std::string("tab\tnl\n\x01", 8), "\"tab\\u0009nl\\u000a\\u0001\""},
        {"\xe8\xa3\xbd\xe5\x93\x81", "\"\xe8\xa3\xbd\xe5\x93\x81\""}, // 製品
        {"bad\x83\x5c", "\"bad\\ufffd\\\\\""}, // a Shift-JIS pair is not UTF-8
        {"\xe8\xa3", "\"\\ufffd\\ufffd\""},    // cut sequence
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(c.out, JsonString(c.in));
    }
}

TEST(CheckReportJson, AbsentPartsAreNull) {
    CheckReport r;
    r.notice = "none";
    const std::string json = FormatJson(r);
    EXPECT_NE(std::string::npos, json.find("\"history\": null"));
    EXPECT_NE(std::string::npos, json.find("\"serverR2\": null"));
    EXPECT_NE(std::string::npos, json.find("\"line1\": null"));
    r.keyPath = "Software\\Vendor";
    r.report.present = true;
    r.report.type = 4;
    r.report.size = 4;
    r.reportParseProblem = "ReportQuenmar is not a string value";
    const std::string withHistory = FormatJson(r);
    EXPECT_NE(std::string::npos,
              withHistory.find("\"ReportQuenmar\": {\"type\": \"REG_DWORD\", \"size\": 4"));
    EXPECT_NE(std::string::npos, withHistory.find("\"ShowQuenmar\": null"));
    EXPECT_NE(std::string::npos, withHistory.find("\"reportTime\": null"));
}

TEST(CheckReportText, NamesTheReleaseAndTheDecision) {
    CheckReport r;
    r.record.dwMajorVersion = 6;
    r.record.dwMinorVersion = 1;
    r.record.dwBuildNumber = 7600;
    r.record.wProductType = 1;
    r.versionCode = 7;
    r.release = VersionCodeRelease(7);
    r.notice = "service-pack";
    r.settledBy = "empty key path";
    r.line1 = "L1";
    r.line2 = "L2";
    r.exitStatus = 10;
    const std::string text = FormatText(r);
    EXPECT_NE(std::string::npos, text.find("version 6.1, build 7600"));
    EXPECT_NE(std::string::npos,
              text.find("version code 7: Windows 7 without a service pack, not current"));
    EXPECT_NE(std::string::npos, text.find("key path: (none)"));
    EXPECT_EQ(std::string::npos, text.find("History under"));
    EXPECT_NE(std::string::npos, text.find("settled by: empty key path"));
    EXPECT_NE(std::string::npos, text.find("line 2: L2"));
    EXPECT_NE(std::string::npos, text.find("exit status: 10"));
}

TEST(VersionCodeRelease, EveryCodeHasAName) {
    EXPECT_STREQ("Windows XP without a service pack", VersionCodeRelease(0));
    EXPECT_STREQ("Windows Server 2012 R2", VersionCodeRelease(24));
    EXPECT_STREQ("another workstation version", VersionCodeRelease(27));
    EXPECT_STREQ("unknown code", VersionCodeRelease(28));
}
