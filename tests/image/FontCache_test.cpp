// Font cache, UI fonts and text measuring.
#include <gtest/gtest.h>

#include <cstring>

#include "image/FontCache.h"

namespace {

LOGFONTA Face(const char* name, LONG height) {
    LOGFONTA lf = {};
    lf.lfHeight = height;
    lf.lfWeight = FW_NORMAL;
    strcpy(lf.lfFaceName, name);
    return lf;
}

}  // namespace

TEST(FontCache, EqualKeysShareOneFontAndTheTableGrows) {
    FreeFontCache();
    LOGFONTA lf = Face("Arial", -12);
    HFONT first = CreateCachedFont(&lf);
    ASSERT_NE(first, nullptr);
    int count = 0, capacity = 0;
    GetFontCacheInfo(&count, &capacity);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(capacity, 8);
    // Escapement, quality and precisions are not part of the key.
    lf.lfQuality = ANTIALIASED_QUALITY;
    lf.lfOutPrecision = OUT_TT_PRECIS;
    EXPECT_EQ(CreateCachedFont(&lf), first);
    GetFontCacheInfo(&count, nullptr);
    EXPECT_EQ(count, 1);
    lf.lfItalic = TRUE;
    EXPECT_NE(CreateCachedFont(&lf), first);
    for (LONG h = -13; h > -20; --h) {
        LOGFONTA other = Face("Arial", h);
        CreateCachedFont(&other);
    }
    GetFontCacheInfo(&count, &capacity);
    EXPECT_EQ(count, 9);
    EXPECT_EQ(capacity, 20);
}

TEST(FontCache, WideRequestsLeaveTheCallersBlockAlone) {
    static const LOGFONTW kReadOnly = {-14, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, L"Arial"};
    HFONT wide = CreateCachedFontW(&kReadOnly);
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(wcscmp(kReadOnly.lfFaceName, L"Arial"), 0);
    LOGFONTA narrow = Face("Arial", -14);
    narrow.lfWeight = FW_BOLD;
    EXPECT_EQ(CreateCachedFont(&narrow), wide);
}

TEST(FontCache, BoldAndFixedCompanions) {
    LOGFONTA lf = Face("Arial", -16);
    HFONT base = CreateCachedFont(&lf);
    HFONT bold = CreateBoldFont(base);
    ASSERT_NE(bold, nullptr);
    EXPECT_EQ(CreateBoldFont(base), bold);
    LOGFONTA got = {};
    GetObjectA(bold, sizeof(got), &got);
    EXPECT_EQ(got.lfWeight, FW_BOLD);
    EXPECT_EQ(got.lfEscapement, 0);
    HFONT fixed = CreateFixedPitchFont(base);
    ASSERT_NE(fixed, nullptr);
    GetObjectA(fixed, sizeof(got), &got);
    EXPECT_EQ(got.lfWeight, FW_NORMAL);
    EXPECT_EQ(CreateBoldFont(nullptr), nullptr);
    EXPECT_EQ(CreateFixedPitchFont(nullptr), nullptr);
}

TEST(FontCache, UiFontsAndTheirMetrics) {
    for (int style = 0; style < 4; ++style) {
        HFONT font = GetUiFont(style);
        ASSERT_NE(font, nullptr) << style;
        EXPECT_EQ(GetUiFont(style), font);
        int width = 0, height = 0;
        EXPECT_EQ(GetUiFontMetrics(&width, &height, style), height);
        EXPECT_GT(width, 0);
        EXPECT_GT(height, 0);
    }
    LOGFONTA bold = {};
    GetObjectA(GetUiFont(1), sizeof(bold), &bold);
    EXPECT_EQ(bold.lfWeight, FW_BOLD);
    EXPECT_EQ(GetUiFont(4), nullptr);
    int width = 7, height = 7;
    EXPECT_EQ(GetUiFontMetrics(&width, &height, 4), 0);
    EXPECT_EQ(width, 0);
    EXPECT_EQ(height, 0);
}

TEST(FontCache, MeasuringMatchesTheDeviceAndFitsRectangles) {
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, GetUiFont(0));
    SIZE extent;
    GetTextExtentPoint32W(dc, L"Wertlauf", 8, &extent);
    int size[2] = {};
    EXPECT_EQ(MeasureTextW(dc, L"Wertlauf", -1, DT_SINGLELINE | kMeasureSize, size), static_cast<DWORD>(extent.cx));
    EXPECT_EQ(size[0], extent.cx);
    EXPECT_EQ(size[1], extent.cy);
    DWORD packed = MeasureTextA(dc, "Wertlauf", 8, DT_SINGLELINE | kMeasurePacked, nullptr);
    EXPECT_EQ(LOWORD(packed), extent.cx);
    EXPECT_EQ(HIWORD(packed), extent.cy);
    int lineHeight = 0;
    MeasureTextA(dc, "Wertlauf", -1, DT_SINGLELINE, &lineHeight);
    EXPECT_EQ(lineHeight, extent.cy);

    RECT centred = {0, 0, extent.cx + 11, extent.cy + 4};
    MeasureTextA(dc, "Wertlauf", -1, DT_SINGLELINE | kMeasureFitRect | kMeasureCentreX | kMeasureBottom, &centred);
    EXPECT_EQ(centred.left, 5);
    EXPECT_EQ(centred.right, extent.cx + 5);
    EXPECT_EQ(centred.top, 4);
    RECT right = {0, 0, extent.cx + 10, extent.cy};
    MeasureTextA(dc, "Wertlauf", -1, DT_SINGLELINE | kMeasureFitRect | kMeasureRight, &right);
    EXPECT_EQ(right.left, 10);
    EXPECT_EQ(right.right, extent.cx + 10);
    DeleteDC(dc);

    // Without a DC the last argument is the font to measure with.
    EXPECT_EQ(MeasureTextW(nullptr, L"Wertlauf", -1, DT_SINGLELINE, GetUiFont(0)), static_cast<DWORD>(extent.cx));
}
