#include "framework/CString.h"

#include <gtest/gtest.h>

#include <utility>

TEST(CString, EmptyByDefaultAndFromNull) {
    CString a;
    CString b(static_cast<const char*>(nullptr));
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_STREQ("", a.c_str());
    EXPECT_TRUE(b.IsEmpty());
}

TEST(CString, CopiesOwnTheirText) {
    char source[] = "Software\\Vendor";
    CString a(source);
    CString b = a;
    source[0] = 'X';
    a = CString("other");
    EXPECT_EQ(b, "Software\\Vendor");
    EXPECT_EQ(a, "other");
    EXPECT_EQ(15u, b.GetLength());
}

TEST(CString, MoveLeavesSourceEmpty) {
    CString a("key");
    CString b(std::move(a));
    EXPECT_EQ(b, "key");
    EXPECT_TRUE(a.IsEmpty());
    b = std::move(b);
    EXPECT_EQ(b, "key");
}
