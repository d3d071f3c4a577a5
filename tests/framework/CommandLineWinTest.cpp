// The splitter fed with the real GetCommandLineA of a child process started with an
// exact command line, lead bytes by the ANSI code page (932 under LANG=ja_JP.UTF-8).
#include "CodePage932.h"
#include "WineSystem.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace {
std::string Plain(const std::string& text, bool last = false) {
    return std::string("P ") + (last ? "1 " : "0 ") + HexOf(text);
}
std::string Switch(const std::string& text, bool last = false) {
    return std::string("S ") + (last ? "1 " : "0 ") + HexOf(text);
}

struct ProbeRun {
    std::string codePage;
    std::vector<std::string> calls;
};

ProbeRun RunProbe(const std::string& commandLine) {
    ProcessResult run = RunProcess(commandLine);
    EXPECT_TRUE(run.started);
    EXPECT_TRUE(run.finished);
    ProbeRun probe;
    std::istringstream lines(run.output);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.rfind("acp=", 0) == 0)
            probe.codePage = line.substr(4);
        else
            probe.calls.push_back(line);
    }
    return probe;
}

struct Case {
    const char* arguments; // what follows the program name, exactly
    std::vector<std::string> calls;
};
} // namespace

TEST(CommandLineUnderWine, TestRunsInCodePage932) {
    ASSERT_EQ(932u, GetACP()) << "run the tests with LANG=ja_JP.UTF-8";
}

TEST(CommandLineUnderWine, SplitsTheChildsOwnCommandLine) {
    ASSERT_EQ(932u, GetACP());
    const std::string probe = ThisExeDirectory() + "cmdline_probe.exe";
    const Case cases[] = {
        {"", {}},
        {"   \t ", {}},
        {" -N \"Software\\My Vendor\\Key Name\" /i",
         {Switch("N"), Plain("Software\\My Vendor\\Key Name"), Switch("i", true)}},
        // A quoted key path ending in a character whose second byte is 0x5C.
        {" \"Software\\" SO "\" -V", {Plain("Software\\" SO), Switch("V", true)}},
        {" \"" HYO "\\" NOU "\"", {Plain(HYO "\\" NOU, true)}},
        {" " SO "\"a b\"", {Plain(SO "a b", true)}},
        // 0xB1 is no lead byte: the backslash after it escapes the quote.
        {" " HALF_A "\\\"x", {Plain(HALF_A "\"x", true)}},
        {" a\\\\\\\"b \"c\\\\\" d\"\"e \"\"",
         {Plain("a\\\"b"), Plain("c\\"), Plain("de"), Plain("", true)}},
        {" \"a\"\"b c\"\t\\\\x\\", {Plain("a\"b c"), Plain("\\\\x\\", true)}},
        {"\t--N - / k\t", {Switch("-N"), Switch(""), Switch(""), Plain("k", true)}},
    };
    // The program name token quoted and unquoted: it never reaches ParseParam.
    for (const std::string& name : {"\"" + probe + "\"", probe}) {
        for (const Case& c : cases) {
            const std::string line = name + c.arguments;
            SCOPED_TRACE("command line [" + line + "]");
            const ProbeRun run = RunProbe(line);
            EXPECT_EQ("932", run.codePage);
            EXPECT_EQ(c.calls, run.calls);
        }
    }
}
