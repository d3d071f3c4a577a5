// Splitting of the narrow command line and the classification of its arguments,
// with the lead-byte test of code page 932 (Shift-JIS) handed in.
#include "CodePage932.h"
#include "framework/CommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
bool NoLeadBytes(unsigned char) {
    return false;
}

std::vector<std::string> Split(const char* line, LeadByteTest isLead = Cp932Lead) {
    std::vector<std::string> args;
    ArgumentSplitter splitter(line, isLead);
    while (const char* arg = splitter.Next())
        args.emplace_back(arg);
    return args;
}

struct SplitCase {
    const char* line;
    std::vector<std::string> args;
};

void ExpectSplits(const std::vector<SplitCase>& cases) {
    for (const SplitCase& c : cases) {
        SCOPED_TRACE(std::string("command line [") + c.line + "]");
        EXPECT_EQ(c.args, Split(c.line));
    }
}
} // namespace

TEST(ArgumentSplitter, BlanksAndQuotes) {
    ExpectSplits({
        {"q a b", {"a", "b"}},
        {"q  \t a\t\tb \t ", {"a", "b"}},
        {"q \"a b\"", {"a b"}},
        {"q \"a\tb\" c", {"a\tb", "c"}},
        {"q \"a b", {"a b"}}, // an open quote runs to the end of the line
        {"q a\"b c\"d e", {"ab cd", "e"}},
        {"q \"a b\"c\" d\"", {"a bc d"}},
        {"q a\"\"b", {"ab"}}, // outside quotes "" opens and closes
        {"q \"Software\\My Vendor\\Key Name\"", {"Software\\My Vendor\\Key Name"}},
    });
}

TEST(ArgumentSplitter, BackslashRuns) {
    ExpectSplits({
        // Not before a quote: literal, however many.
        {"q a\\b a\\\\b a\\\\\\b", {"a\\b", "a\\\\b", "a\\\\\\b"}},
        {"q a\\ b\\\\", {"a\\", "b\\\\"}},
        {"q \"a\\ b\"", {"a\\ b"}},
        // Odd run before a quote: halved rounding down, the quote is literal.
        {"q \\\"a", {"\"a"}},
        {"q \\\\\\\"a", {"\\\"a"}},
        {"q \"a\\\"b c\"", {"a\"b c"}},
        // Even run before a quote: halved, the quote toggles quoting.
        {"q \\\\\"a b\"", {"\\a b"}},
        {"q \\\\\\\\\"a b\"", {"\\\\a b"}},
        {"q \"a\\\\\" b", {"a\\", "b"}},
        {"q \"a\\\\\\\\\"", {"a\\\\"}},
    });
}

TEST(ArgumentSplitter, DoubledQuotesInsideQuotes) {
    ExpectSplits({
        {"q \"a\"\"b\"", {"a\"b"}},
        {"q \"a\"\"b c\" d", {"a\"b c", "d"}}, // quoting stays on after ""
        {"q \"\"\"\"", {"\""}},
        {"q \"\"\"a b\"", {"\"a b"}},
        {"q \"a\\\\\"\"b\"", {"a\\\"b"}}, // even run, then ""
        {"q \"a\\\"\" b", {"a\"", "b"}},  // odd run: literal, then the closing quote
    });
}

TEST(ArgumentSplitter, EmptyArguments) {
    ExpectSplits({
        {"q \"\"", {""}},
        {"q \"\" a", {"", "a"}},
        {"q a \"\"", {"a", ""}},
        {"q \"\" \"\"  ", {"", ""}},
        {"q a \"\"\t", {"a", ""}},
    });
}

TEST(ArgumentSplitter, ProgramNameTokenOnlyGroupsWithQuotes) {
    ExpectSplits({
        {"", {}},
        {"q.exe", {}},
        {"q.exe   ", {}},
        {"q.exe\ta", {"a"}},
        {"C:\\dir\\q.exe a", {"a"}},
        {"\"C:\\Program Files\\q.exe\" a", {"a"}},
        {"C:\\Program\" \"Files\\q.exe a", {"a"}}, // quotes group anywhere in it
        // A backslash means nothing in the name: \" still closes the quote.
        {"\"C:\\dir\\\"q.exe a", {"a"}},
        {"\"C:\\dir\\\\\" a", {"a"}},
        {"C:\\dir\\\"q.exe a\" b", {"b"}},
        {"\"C:\\" SO "\\q.exe\" a", {"a"}},
        {"q\x81 x y", {"y"}}, // a double-byte character is taken whole here too
        // Leading blank: the name is empty and everything after it is arguments.
        {" a b", {"a", "b"}},
    });
    EXPECT_TRUE(Split(nullptr).empty());
}

TEST(ArgumentSplitter, DoubleByteCharactersAreTakenWhole) {
    ExpectSplits({
        // A quoted key path ending in a character whose second byte is 0x5C:
        // the closing quote still ends the quoting and the bytes arrive unchanged.
        {"q \"Software\\" SO "\" -N", {"Software\\" SO, "-N"}},
        {"q \"Software\\Vendor " HYO "\"", {"Software\\Vendor " HYO}},
        {"q " SO "\"a b\"", {SO "a b"}},
        {"q " SO SO " " HYO, {SO SO, HYO}},
        {"q \"" SO "\\\\\"", {SO "\\"}}, // a real even run after the character
        {"q \"" SO "\\\"\"", {SO "\""}}, // a real odd run after the character
        // The second byte is never a blank or a quote either.
        {"q \x81 a b", {"\x81 a", "b"}},
        {"q \"\x81\" b\"", {"\x81\" b"}},
        // Single-byte characters of the code page (0x80, 0xA0-0xDF) are not lead bytes.
        {"q \xB1\\\"x", {"\xB1\"x"}},
        {"q \x80\\\"x", {"\x80\"x"}},
        // A lead byte as the very last byte of the line stands alone.
        {"q a\x81", {"a\x81"}},
        {"q \"\x81", {"\x81"}},
        {"q\x81", {}},
    });
}

TEST(ArgumentSplitter, LeadByteTestDecidesTheSecondByte) {
    // The same bytes with no lead bytes: 0x5C is a backslash that escapes the quote.
    const char* line = "q \"Software\\" SO "\" -N";
    EXPECT_EQ((std::vector<std::string>{"Software\\\x83\" -N"}), Split(line, NoLeadBytes));
    EXPECT_EQ((std::vector<std::string>{"Software\\" SO, "-N"}), Split(line, Cp932Lead));
}

namespace {
struct Call {
    std::string param;
    bool isSwitch;
    bool isLast;
    bool operator==(const Call& o) const {
        return param == o.param && isSwitch == o.isSwitch && isLast == o.isLast;
    }
};
void PrintTo(const Call& c, std::ostream* os) {
    *os << "{\"" << c.param << "\", " << (c.isSwitch ? "switch" : "plain") << ", "
        << (c.isLast ? "last" : "not last") << "}";
}

class RecordingInfo : public CCommandLineInfo {
public:
    void ParseParam(const char* pszParam, bool bFlag, bool bLast) override {
        calls.push_back({pszParam, bFlag, bLast});
    }
    std::vector<Call> calls;
};

std::vector<Call> Classify(const char* line) {
    RecordingInfo info;
    ParseCommandLine(line, Cp932Lead, info);
    return info.calls;
}
} // namespace

TEST(ParseCommandLine, ClassifiesEachArgumentAfterTheProgramName) {
    struct Case {
        const char* line;
        std::vector<Call> calls;
    };
    const Case cases[] = {
        {"q", {}},
        {"\"-N\"", {}}, // the program name is never an argument
        {"q key", {{"key", false, true}}},
        {"q -N", {{"N", true, true}}},
        {"q /i key", {{"i", true, false}, {"key", false, true}}},
        {"q --N", {{"-N", true, true}}}, // only one switch character is removed
        {"q //N", {{"/N", true, true}}},
        {"q - /", {{"", true, false}, {"", true, true}}},
        {"q \"-N\" \"/T\"", {{"N", true, false}, {"T", true, true}}}, // after unquoting
        {"q \"\"", {{"", false, true}}},
        {"q a \"\" ", {{"a", false, false}, {"", false, true}}},
        {"q a-N b/N", {{"a-N", false, false}, {"b/N", false, true}}},
        {"q \\-N", {{"\\-N", false, true}}},
        {"q -N:x \"-V w\"\t", {{"N:x", true, false}, {"V w", true, true}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("command line [") + c.line + "]");
        EXPECT_EQ(c.calls, Classify(c.line));
    }
}
