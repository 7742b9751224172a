#include "ui/ddx/DecimalText.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

TEST(DecimalText, FormatsGroupedDigitsAndRoundsBelowOneHalf) {
    struct Case { double value; int decimals; const char* text; } cases[] = {
        {1234567.891, 2, "1 234 567.89"}, {1234567.891, 0, "1 234 568"}, {2.26, 1, "2.3"}, {2.25, 1, "2.2"},
        {-5.5, 1, "-5.5"}, {0.05, 2, "0.05"}, {999.9999, 2, "1 000.00"}, {123, 0, "123"}, {1234, 0, "1 234"},
        {5e9, 0, "5 000 000 000"},                       // beyond 32 bits
        {123456789012345.0, 0, "123 456 789 012 345"},   // four blanks: still fully grouped
        {1234567890123456.0, 0, "1234 567 890 123 456"}, // no fifth blank
        {1e30, 0, "9223372 036 854 775 807"},           // beyond 64 bits: the largest value, not a wrapped one
        {-1e30, 1, "-922337 203 685 477 580.7"},
        {NAN, 2, "0.00"}, {1.5, -3, "1"},
        {1.5, 12, "1.500000000"},                        // at most nine decimals
    };
    for (const Case& c : cases)
        EXPECT_STREQ(FormatDecimal(c.value, c.decimals), c.text) << c.value << '/' << c.decimals;
}

TEST(DecimalText, ReadsTypedNumbersAndRefusesIntegerPartsBeyond64Bits) {
    struct Case { const char* text; int decimals; bool ok; double value; } cases[] = {
        {"1 234,5", 2, true, 1234.5}, {"-12.345", 2, true, -12.34}, {" - 7", 0, true, -7},
        {"1 2 . 5 6", 2, true, 12.56}, {"1.999", 0, true, 1}, {"12abc", 2, true, 12}, {"", 2, true, 0},
        {"3000000000", 0, true, 3e9}, {"9223372036854775807", 0, true, 9223372036854775807.0},
        {"9223372036854775808", 0, false, 0}, {"99999999999999999999", 0, false, 0},
    };
    for (const Case& c : cases) {
        double value = -99;
        EXPECT_EQ(ParseDecimal(c.text, c.decimals, &value), c.ok) << c.text;
        EXPECT_DOUBLE_EQ(value, c.ok ? c.value : -99) << c.text;
    }
}

TEST(DecimalText, WholeNumbersKeepTheirRangeAtBothEnds) {
    struct Case { const char* text; int64_t min, max; bool ok; int64_t value; } cases[] = {
        {"2147483647", INT_MIN, INT_MAX, true, INT_MAX}, {"2147483648", INT_MIN, INT_MAX, false, 0},
        {"-2147483648", INT_MIN, INT_MAX, true, INT_MIN}, {"-2147483649", INT_MIN, INT_MAX, false, 0},
        {"4294967295", 0, UINT_MAX, true, UINT_MAX}, {"4294967296", 0, UINT_MAX, false, 0},
        {"-1", 0, UINT_MAX, false, 0}, {" +12x", 0, 100, true, 12}, {"abc", INT_MIN, INT_MAX, true, 0},
        {"-9223372036854775808", INT64_MIN, INT64_MAX, true, INT64_MIN},
        {"9223372036854775808", INT64_MIN, INT64_MAX, false, 0},
    };
    for (const Case& c : cases) {
        int64_t value = 77;
        EXPECT_EQ(ParseWholeNumber(c.text, c.min, c.max, &value), c.ok) << c.text;
        EXPECT_EQ(value, c.ok ? c.value : 77) << c.text;
    }
}
