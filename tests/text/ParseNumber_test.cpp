#include "text/ParseNumber.h"

#include "tests/text/GuardPage.h"

#include <gtest/gtest.h>

TEST(ParseHex, StopsAtFirstNonHexAndAtTheLimit) {
    EXPECT_EQ(ParseHexNA(" \t00A1b2C3\r", -1), 0x00A1B2C3u);
    EXPECT_EQ(ParseHexNA("1234abcd", 4), 0x1234u);
    EXPECT_EQ(ParseHexNA("12g4", -1), 0x12u);
    EXPECT_EQ(ParseHexNA("xyz", -1), 0u);
    EXPECT_EQ(ParseHexNA("", -1), 0u);
    EXPECT_EQ(ParseHexNA(nullptr, -1), 0u);
    // Blanks count against the limit.
    EXPECT_EQ(ParseHexNA("  ff", 3), 0xFu);
    // More than eight digits keep the low 32 bits.
    EXPECT_EQ(ParseHexNA("123456789", -1), 0x23456789u);
}

TEST(ParseHex, ReadsNothingBeyondTheLength) {
    GuardedBytes frame("0Ddeadbeef");
    EXPECT_EQ(ParseHexNA(frame.Data() + 2, 8), 0xDEADBEEFu);
    GuardedBytes blanks("   ");
    EXPECT_EQ(ParseHexNA(blanks.Data(), 3), 0u);
}

TEST(ParseInt32, RadixByPrefixSignAndConsumedCount) {
    int used = -1;
    EXPECT_EQ(ParseInt32A("  42abc", 0, &used), 42);
    EXPECT_EQ(used, 4);
    EXPECT_EQ(ParseInt32A("-17", 0, &used), -17);
    EXPECT_EQ(ParseInt32A("0x1F", 0, &used), 31);
    EXPECT_EQ(used, 4);
    EXPECT_EQ(ParseInt32A("0b101", 0, nullptr), 5);
    EXPECT_EQ(ParseInt32A("08", 0, nullptr), 8);  // leading zeros stay decimal ("COM08")
    // "0x" without a hexadecimal digit is the number 0 followed by 'x'.
    EXPECT_EQ(ParseInt32A("0xg", 0, &used), 0);
    EXPECT_EQ(used, 1);
    EXPECT_EQ(ParseInt32A("ff", 16, nullptr), 255);
    EXPECT_EQ(ParseInt32A("0xFFFFFFFF", 0, nullptr), -1);
}

TEST(ParseInt32, NoNumberGivesZeroAndOverflowSaturates) {
    int used = -1;
    EXPECT_EQ(ParseInt32A("abc", 0, &used), 0);
    EXPECT_EQ(used, 0);
    EXPECT_EQ(ParseInt32A("-", 0, &used), 0);
    EXPECT_EQ(used, 0);
    EXPECT_EQ(ParseInt32A("", 0, &used), 0);
    EXPECT_EQ(ParseInt32A(nullptr, 0, &used), 0);
    EXPECT_EQ(ParseInt32A("99999999999999999999", 0, &used), INT32_MAX);
    EXPECT_EQ(used, 20);
    EXPECT_EQ(ParseInt32A("-2147483648", 0, nullptr), INT32_MIN);
    EXPECT_EQ(ParseInt32A("-2147483649", 0, nullptr), INT32_MIN);
    EXPECT_EQ(ParseInt32A("2147483647", 0, nullptr), INT32_MAX);
    EXPECT_EQ(ParseInt32A("12", 99, &used), 0);  // no such radix
}
