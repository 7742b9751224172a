#include "text/StrCopy.h"
#include "text/StrSearch.h"

#include "tests/text/GuardPage.h"

#include <gtest/gtest.h>

#include <cstring>

// Bounded copies never write past their size and always terminate.
TEST(StrCopy, TruncatesAndTerminatesWithinTheSize) {
    char buf[8];
    memset(buf, 'X', sizeof(buf));
    EXPECT_EQ(StrCopyNA(buf, "abcdefghijk", 5), 4);
    EXPECT_STREQ(buf, "abcd");
    EXPECT_EQ(buf[5], 'X');

    EXPECT_EQ(StrCopyNA(buf, "ab", 8), 2);
    EXPECT_STREQ(buf, "ab");
    EXPECT_EQ(StrCopyNA(buf, nullptr, 8), 0);
    EXPECT_STREQ(buf, "");

    buf[0] = 'Q';
    EXPECT_EQ(StrCopyNA(buf, "abc", 0), 0);
    EXPECT_EQ(buf[0], 'Q');
    EXPECT_EQ(StrCopyNA(buf, "abc", 1), 0);
    EXPECT_EQ(buf[0], 0);

    memset(buf, 'X', sizeof(buf));
    EXPECT_EQ(StrCopyNNA(buf, "abcdef", 8, 3), 3);
    EXPECT_STREQ(buf, "abc");
    EXPECT_EQ(StrCopyNNA(buf, "abcdef", 3, 5), 2);
    EXPECT_STREQ(buf, "ab");
    EXPECT_EQ(StrCopyNNA(buf, "abcdef", 8, -4), 0);
    EXPECT_STREQ(buf, "");
}

// StrCopyNNA reads no character beyond maxCount, even when the source has no NUL there.
TEST(StrCopy, CountedCopyReadsNoFurtherThanMaxCount) {
    GuardedBytes src("abcd");
    char buf[16];
    EXPECT_EQ(StrCopyNNA(buf, src.Data(), sizeof(buf), 4), 4);
    EXPECT_STREQ(buf, "abcd");
}

TEST(StrCopy, CatAppendsWithTruncation) {
    char buf[128] = "Software\\";
    StrCatNA(buf, "VQ", sizeof(buf));
    StrCatNA(buf, "\\", sizeof(buf));
    EXPECT_EQ(StrCatNA(buf, "Name", sizeof(buf)), 16);
    EXPECT_STREQ(buf, "Software\\VQ\\Name");

    char small[6] = "abc";
    small[5] = 'X';
    EXPECT_EQ(StrCatNA(small, "defgh", 5), 4);
    EXPECT_STREQ(small, "abcd");
    EXPECT_EQ(small[5], 'X');

    // A destination without a terminator inside its size is terminated, not read further.
    GuardedBytes unterminated("abcdef");
    EXPECT_EQ(StrCatNA(unterminated.Data(), "x", 6), 5);
    EXPECT_STREQ(unterminated.Data(), "abcde");
}

TEST(StrCopy, AppendSeparatorOnlyWhenMissing) {
    char buf[16] = "C:\\dir";
    EXPECT_EQ(AppendSeparatorA(buf, -1), 7);
    EXPECT_STREQ(buf, "C:\\dir\\");
    EXPECT_EQ(AppendSeparatorA(buf, 7), 7);
    strcpy(buf, "c:/temp/");
    EXPECT_EQ(AppendSeparatorA(buf, -1), 8);
    buf[0] = 0;
    EXPECT_EQ(AppendSeparatorA(buf, 0), 1);
    EXPECT_STREQ(buf, "\\");
}

TEST(StrSearch, FindIgnoresCaseIncludingUmlauts) {
    EXPECT_EQ(StrFindIA("<html><!--min 10-->", "<!--MIN"), 6);
    EXPECT_EQ(StrFindIA("abc", "abcd"), -1);
    EXPECT_EQ(StrFindIA("ÄPFEL und äpfel", "äPFEL"), 0);
    EXPECT_EQ(StrFindIA("xx", ""), 0);
    EXPECT_EQ(StrFindIA("aab", "ab"), 1);
    EXPECT_EQ(StrFindIA(nullptr, "a"), -1);
    // A match that would run past the text's end stops at its NUL.
    GuardedBytes text("xy\0", 3);
    EXPECT_EQ(StrFindIA(text.Data(), "yz"), -1);

    EXPECT_EQ(StrIndexOfCharA("a\\b", '\\'), 1);
    EXPECT_EQ(StrIndexOfCharA("abc", 'x'), 3);
    EXPECT_EQ(StrIndexOfCharA("abc", 0), 3);
}
