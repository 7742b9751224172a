#include "text/WideToAnsi.h"

#include <gtest/gtest.h>

TEST(WideToAnsi, WritesTheAnsiCodePageToTheGivenLength) {
    const struct { const wchar_t* wide; int length; std::string ansi; } kCases[] = {
        {L"Gr\u00fc\u00dfe \u00e4", 7, "Gr\xFC\xDF" "e \xE4"},
        {L"5 \u20ac", 3, "5 \x80"},                   // the euro sign lies at 0x80
        {L"\u65e5x", 2, "?x"},                        // not in the code page
        {L"a\0b", 3, std::string("a\0b", 3)},         // NULs within the length are kept
        {L"abc", 2, "ab"},
        {L"", 0, ""},
        {nullptr, 0, ""},
    };
    for (const auto& c : kCases) EXPECT_EQ(WideToAnsi(c.wide, c.length), c.ansi) << c.length;
    EXPECT_EQ(WideToAnsi(std::wstring(L"\u00c4\0", 2)), std::string("\xC4\0", 2));
}
