#include "text/CharClass.h"

#include "tests/text/GuardPage.h"

#include <gtest/gtest.h>

TEST(CharClass, HexDigitsAreDigitsOrHexLetters) {
    for (int c = 0; c < 256; ++c) {
        bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        EXPECT_EQ((CharClassTable[c] & (CC_DIGIT | CC_HEXLETTER)) != 0, hex) << c;
    }
    EXPECT_EQ(CC_DIGIT, 0x1u);
    EXPECT_EQ(CC_HEXLETTER, 0x40000u);
    EXPECT_TRUE(CharClassOf('\xC4') & CC_LATIN1UPPER);  // Ä
    EXPECT_TRUE(CharClassOf('\xDF') & CC_LATIN1LOWER);  // ß
    EXPECT_FALSE(CharClassOf('\xD7') & CC_LATIN1LETTER);  // ×
    EXPECT_EQ(FoldCaseA('\xE4'), 0xC4);
    EXPECT_EQ(FoldCaseA('z'), 'Z');
    EXPECT_EQ(CharClassTable[0], 0u);
}

TEST(CharClass, SpanWhileAndUntilClass) {
    EXPECT_EQ(StrSpnClassA("  \tword", CC_BLANK), 3);
    EXPECT_EQ(StrSpnClassA("12ab34", CC_DIGIT), 2);
    EXPECT_EQ(StrSpnClassA("12ab34", CC_DIGIT | CC_HEXLETTER), 6);
    EXPECT_EQ(StrSpnClassA("name\r\nrest", CC_LINEEND | CC_UNTIL), 4);
    // The NUL never matches, not even in a scan until a class.
    EXPECT_EQ(StrSpnClassA("abc", CC_DIGIT | CC_UNTIL), 3);
    EXPECT_EQ(StrSpnClassA("", CC_UNTIL), 0);
    EXPECT_EQ(StrSpnClassA(nullptr, CC_DIGIT), 0);
}

TEST(CharClass, CountedSpansStopAtMaxCount) {
    GuardedBytes digits("123456");
    EXPECT_EQ(StrSpnClassNA(digits.Data(), CC_DIGIT, 6), 6);
    EXPECT_EQ(StrSpnClassNA(digits.Data(), CC_DIGIT, 4), 4);
    GuardedBytes letters("abcd");
    EXPECT_EQ(StrCSpnClassNA(letters.Data(), CC_DIGIT, 4), 4);
    EXPECT_EQ(StrCSpnClassNA("ab1", CC_DIGIT, 10), 2);
    EXPECT_EQ(StrCSpnClassNA("ab1", CC_LETTER | CC_UNTIL, 10), 2);
}
