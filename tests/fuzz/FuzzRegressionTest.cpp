// Every seed of the fuzzers and every input they found is replayed here as a plain
// test, so a fault they once caught stays caught without a fuzzer.
#include "FuzzProperties.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {
namespace fs = std::filesystem;
using Property = std::string (*)(const uint8_t*, std::size_t);

// The inputs of one target: its seeds and the inputs kept from its finds.
void ReplayInputs(const char* target, Property property) {
    int replayed = 0;
    for (const char* folder : {"corpus", "regressions"}) {
        const fs::path dir = fs::path(QUENMAR_FUZZ_INPUTS) / folder / target;
        if (!fs::is_directory(dir))
            continue;
        for (const fs::directory_entry& entry : fs::directory_iterator(dir)) {
            std::ifstream file(entry.path(), std::ios::binary);
            const std::string bytes((std::istreambuf_iterator<char>(file)),
                                    std::istreambuf_iterator<char>());
            SCOPED_TRACE(entry.path().string());
            EXPECT_EQ("", property(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
            ++replayed;
        }
    }
    EXPECT_GT(replayed, 0) << "no inputs for " << target;
}

} // namespace

TEST(FuzzInputs, CommandLine) {
    ReplayInputs("command_line", CheckCommandLine);
}

TEST(FuzzInputs, DayRule) {
    ReplayInputs("day_rule", CheckDayRule);
}

TEST(FuzzInputs, VersionCode) {
    ReplayInputs("version_code", CheckVersionCode);
}

namespace {
bool NoLeadByte(unsigned char) {
    return false;
}
} // namespace

// The quoting the round trip relies on, on the cases that matter most.
TEST(FuzzQuoting, QuotesEscapesAndDoubleByteCharacters) {
    struct Case {
        std::string argument;
        std::string quoted;
        LeadByteRule rule;
    };
    const Case cases[] = {
        {"", "\"\"", NoLeadByte},
        {"a b", "\"a b\"", NoLeadByte},
        {"a\"b", "\"a\\\"b\"", NoLeadByte},
        {"a\\b", "\"a\\b\"", NoLeadByte},
        {"a\\\"b", "\"a\\\\\\\"b\"", NoLeadByte},
        {"a\\", "\"a\\\\\"", NoLeadByte},
        // ソ (0x83 0x5C) at the end: its second byte is no backslash to double.
        {"\x83\x5C", "\"\x83\x5C\"", Cp932LeadByte},
        {"\x81\x22", "\"\x81\x22\"", Cp932LeadByte},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.argument);
        EXPECT_EQ(c.quoted, QuoteArgument(c.argument, c.rule));
    }
}
