#include "text/NormalizeCase.h"
#include "text/StrCompare.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

TEST(StrCompare, NaturalOrderComparesDigitRunsByValue) {
    std::vector<std::string> names = {"Game10", "game2", "Game001", "Game9", "a", "Game", "game02",
                                      "x123456789012345678901234567890", "x99"};
    std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return StrCmpNaturalIA(a.c_str(), b.c_str()) < 0;
    });
    std::vector<std::string> expected = {"a", "Game", "Game001", "game2", "game02", "Game9", "Game10", "x99",
                                         "x123456789012345678901234567890"};
    EXPECT_EQ(names, expected);  // game2 and game02 are equal: they keep their order
    // Texts equal by the rule compare 0: case and leading zeros do not count.
    for (auto pair : {std::pair<const char*, const char*>{"ABC", "abc"}, {"a01", "a1"}, {"x007Y2", "X7y0002"}}) {
        EXPECT_EQ(StrCmpNaturalIA(pair.first, pair.second), 0) << pair.first << " / " << pair.second;
        EXPECT_EQ(StrCmpNaturalIA(pair.second, pair.first), 0) << pair.second << " / " << pair.first;
    }
    EXPECT_LT(StrCmpNaturalIA("abc", "ABD"), 0);
    EXPECT_GT(StrCmpNaturalIA("file10.txt", "File9.txt"), 0);
    EXPECT_EQ(StrCmpNaturalIA("same", "same"), 0);
    EXPECT_LT(StrCmpNaturalIA("", "a"), 0);
}

TEST(StrCompare, PathCharsIgnoreCaseAndSeparatorKind) {
    EXPECT_EQ(ComparePathCharsNoCaseA("C:/Temp/x", "c:\\TEMP\\y", 8), 0);
    EXPECT_NE(ComparePathCharsNoCaseA("C:/Temp/x", "c:\\TEMP\\y", 9), 0);
    EXPECT_EQ(ComparePathCharsNoCaseA("ab", "ab", 100), 0);
    EXPECT_LT(ComparePathCharsNoCaseA("ab", "abc", 100), 0);
    EXPECT_EQ(ComparePathCharsNoCaseA("x", "y", 0), 0);
}

TEST(NormalizeCase, DisplayFlagsChangeOnlyNamesInCapitals) {
    char out[64];
    EXPECT_EQ(NormalizeCaseA(out, "PROGRAM FILES", 0xA200), 13);
    EXPECT_STREQ(out, "Program Files");
    NormalizeCaseA(out, "MixedCase DIR", 0xA200);
    EXPECT_STREQ(out, "MixedCase DIR");
    NormalizeCaseA(out, "ÜBUNG_2ND-TEIL", 0xA200);
    EXPECT_STREQ(out, "Übung_2nd-Teil");
    NormalizeCaseA(out, "DON'T STOP", 0x2000);
    EXPECT_STREQ(out, "Don't Stop");
    NormalizeCaseA(out, "ÄB", 0);
    EXPECT_STREQ(out, "Äb");  // without the Latin-1 flag only ASCII letters change
    char inPlace[] = "WINDOWS";
    NormalizeCaseA(inPlace, inPlace, 0xA200);
    EXPECT_STREQ(inPlace, "Windows");
}
