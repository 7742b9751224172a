// Visual-style binding and its plain fallback.
#include <gtest/gtest.h>

#include "image/Theme.h"

TEST(Theme, MissingLibraryLeavesClassicSizesAndNullHandles) {
    ThemeState state;
    LoadThemeState(state, "NoSuchThemeLibrary.dll");
    EXPECT_EQ(state.library, nullptr);
    EXPECT_EQ(state.DrawThemeBackground, nullptr);
    EXPECT_EQ(state.button, nullptr);
    EXPECT_EQ(state.checkSize.cx, 13 * GetSystemMetrics(SM_CXICON) / 32);
    EXPECT_EQ(state.checkSize.cy, 13);
    EXPECT_EQ(state.radioSize.cx, 13);
    EXPECT_EQ(state.radioSize.cy, 13);
}

TEST(Theme, ProcessStateBindsTheLibraryOnce) {
    const ThemeState& first = GetThemeState();
    const ThemeState& second = GetThemeState();
    EXPECT_EQ(&first, &second);
    ASSERT_NE(first.library, nullptr);
    EXPECT_NE(first.OpenThemeData, nullptr);
    EXPECT_NE(first.DrawThemeBackground, nullptr);
    // Wine's light style themes buttons and menus.
    EXPECT_NE(first.button, nullptr);
    SIZE check = {}, radio = {};
    EXPECT_TRUE(GetCheckGlyphSize(0, &check));
    EXPECT_TRUE(GetCheckGlyphSize(1, &radio));
    EXPECT_GT(check.cx, 0);
    EXPECT_GT(radio.cy, 0);
    SIZE untouched = {-5, -5};
    EXPECT_FALSE(GetCheckGlyphSize(2, &untouched));
    EXPECT_EQ(untouched.cx, -5);
    EXPECT_NE(first.kernelVersion, 0u);
}

TEST(Theme, ThemeNameIsBoundedByTheBuffer) {
    WCHAR wide[4] = {L'x', L'x', L'x', L'x'};
    GetThemeNameW(wide, 1);
    EXPECT_EQ(wide[0], 0);
    EXPECT_EQ(wide[1], L'x');
    char narrow[3] = {'x', 'x', 'x'};
    EXPECT_FALSE(GetThemeNameA(narrow, 0));
    EXPECT_EQ(narrow[0], 'x');
    char full[300];
    BOOL named = GetThemeNameA(full, sizeof(full));
    EXPECT_EQ(named != FALSE, full[0] != 0);
    EXPECT_LT(strlen(full), 256u);
}

TEST(Theme, ThemedColoursAreCachedAndOtherIndicesAreTheirOwn) {
    COLORREF menu = GetThemedSysColor(COLOR_MENU);
    EXPECT_EQ(GetThemedSysColor(COLOR_MENU), menu);
    EXPECT_NE(GetThemedSysColor(kColorMenuGutter), CLR_INVALID);
    EXPECT_EQ(GetThemedSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(GetThemedSysColor(COLOR_HIGHLIGHT), GetSysColor(COLOR_HIGHLIGHT));
    // Indices beyond the cache are answered, not stored out of bounds.
    EXPECT_EQ(GetThemedSysColor(1000), GetSysColor(1000));
}
