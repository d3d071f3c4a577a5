#include "WineSystem.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>

namespace {
std::map<std::string, std::string> ProbeVersion() {
    ProcessResult run = RunProcess("\"" + ThisExeDirectory() + "version_probe.exe\"");
    EXPECT_TRUE(run.finished);
    std::map<std::string, std::string> fields;
    std::istringstream lines(run.output);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        auto eq = line.find('=');
        if (eq != std::string::npos)
            fields[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return fields;
}
} // namespace

TEST(ReadVersionRecordUnderWine, Windows7WithoutServicePack) {
    EmulatedWindows win7;
    win7.major = 6;
    win7.minor = 1;
    win7.build = 7600;
    ScopedEmulatedWindows emulated(win7);
    auto fields = ProbeVersion();
    EXPECT_EQ("1", fields["read"]);
    EXPECT_EQ("156", fields["size"]);
    EXPECT_EQ("6", fields["major"]);
    EXPECT_EQ("1", fields["minor"]);
    EXPECT_EQ("7600", fields["build"]);
    EXPECT_EQ("0", fields["spmajor"]);
    EXPECT_EQ("1", fields["producttype"]);
    EXPECT_EQ("", fields["csdhex"]);
    EXPECT_EQ("7", fields["code"]);
}
