// The prepared record and the narrowing of the kernel's service-pack text.
#include "osversion/VersionRecord.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(VersionRecord, PreparedRecordIsZeroButItsSize) {
    const VersionRecord record = PreparedVersionRecord();
    unsigned char bytes[sizeof(record)];
    std::memcpy(bytes, &record, sizeof(record));
    EXPECT_EQ(156u, record.dwOSVersionInfoSize);
    for (std::size_t i = sizeof(record.dwOSVersionInfoSize); i < sizeof(bytes); ++i)
        EXPECT_EQ(0, bytes[i]) << "byte " << i;
}

namespace {
std::string Narrow(const std::u16string& text, char fill = '\x7F') {
    char16_t units[128] = {};
    for (std::size_t i = 0; i < text.size() && i < 128; ++i)
        units[i] = text[i];
    char narrow[128];
    std::memset(narrow, fill, sizeof(narrow));
    NarrowServicePackText(units, narrow);
    // The zero must be inside the field.
    const void* zero = std::memchr(narrow, 0, sizeof(narrow));
    EXPECT_NE(nullptr, zero);
    return zero ? std::string(narrow) : std::string();
}
} // namespace

TEST(NarrowServicePackText, EachUnitKeepsItsLowByte) {
    struct Case {
        std::u16string text;
        std::string narrow;
    };
    const Case cases[] = {
        {u"", ""},
        {u"Service Pack 1", "Service Pack 1"},
        {u"SP 2 v.7601 abcXYZ", "SP 2 v.7601 abcXYZ"},
        {u"SP\u3042", "SP\x42"},                 // U+3042 -> 0x42, no code-page conversion
        {u"\u00E9\u00FF\u0080", "\xE9\xFF\x80"}, // up to U+00FF a unit fits whole
        {u"\u0141\u30B5x", "\x41\xB5x"},
        {std::u16string(u"ab\0cd", 5), "ab"}, // up to the first zero unit
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.narrow));
        EXPECT_EQ(c.narrow, Narrow(c.text));
    }
}

TEST(NarrowServicePackText, FitsItsFieldWithTheZero) {
    for (std::size_t length : {126u, 127u, 128u}) {
        SCOPED_TRACE(length);
        // 128 units with no zero at all: the field is never read past its end.
        const std::string narrow = Narrow(std::u16string(length, u'A'));
        EXPECT_EQ(std::string(length < 127 ? length : 127, 'A'), narrow);
    }
}
