#include "text/UnicodeConvert.h"

#include "tests/text/GuardPage.h"

#include <gtest/gtest.h>

TEST(UnicodeConvert, Utf8ToUtf16DecodesAndReplacesBadSequences) {
    wchar_t out[16];
    EXPECT_EQ(Utf8ToUtf16N(out, "a\xC3\xA4\xE2\x82\xAC", 16, -1), 3);
    EXPECT_STREQ(out, L"a\u00e4\u20ac");
    // Stray continuation, overlong form, truncated sequence at the end.
    EXPECT_EQ(Utf8ToUtf16N(out, "\x80x\xC0\xAFy\xE2\x82", 16, -1), 6);
    EXPECT_EQ(out[0], 0xFFFD);
    EXPECT_EQ(out[1], L'x');
    EXPECT_EQ(out[2], 0xFFFD);
    EXPECT_EQ(out[4], L'y');
    // A pair that does not fit is not split.
    EXPECT_EQ(Utf8ToUtf16N(out, "ab\xF0\x9F\x98\x80", 4, -1), 2);
    EXPECT_STREQ(out, L"ab");
    EXPECT_EQ(Utf8ToUtf16N(out, "ab\xF0\x9F\x98\x80", 5, -1), 4);
    EXPECT_EQ(out[2], 0xD83D);
    EXPECT_EQ(out[3], 0xDE00);
}

TEST(UnicodeConvert, ReadsNoFurtherThanTheInputLength) {
    GuardedBytes text("x\xE2\x82");  // a sequence cut off by the input's end
    wchar_t out[8];
    EXPECT_EQ(Utf8ToUtf16N(out, text.Data(), 8, 3), 2);
    EXPECT_EQ(out[1], 0xFFFD);
    GuardedBytes latin("abc");
    EXPECT_EQ(Latin1ToUtf16N(out, latin.Data(), 8, 3), 3);
    EXPECT_STREQ(out, L"abc");
}

TEST(UnicodeConvert, Utf16ToLatin1AndUtf8) {
    char out[16];
    EXPECT_EQ(Utf16ToLatin1N(out, L"\u00e4\u20acz", 16, -1), 3);
    EXPECT_STREQ(out, "\xe4?z");
    EXPECT_EQ(Utf16ToLatin1N(out, L"abcdef", 4, -1), 3);
    EXPECT_STREQ(out, "abc");
    EXPECT_EQ(Utf16ToUtf8N(out, L"a\u00e4\u20ac", 16, -1), 6);
    EXPECT_STREQ(out, "a\xC3\xA4\xE2\x82\xAC");
    // A three-byte character that does not fit whole is left out.
    EXPECT_EQ(Utf16ToUtf8N(out, L"ab\u20ac", 5, -1), 2);
    EXPECT_STREQ(out, "ab");
    const wchar_t lone[] = {0xD800, L'x', 0};
    EXPECT_EQ(Utf16ToUtf8N(out, lone, 16, -1), 4);
    EXPECT_STREQ(out, "\xEF\xBF\xBDx");
    EXPECT_EQ(Utf16ToUtf8N(out, L"abc", 0, -1), 0);
}
