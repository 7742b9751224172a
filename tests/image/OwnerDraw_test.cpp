// Owner-draw primitives drawn into a memory DC, themed and classic.
#include <gtest/gtest.h>

#include "image/FontCache.h"
#include "image/OwnerDraw.h"
#include "image/Theme.h"

#include "tests/support/Canvas.h"

namespace {

constexpr COLORREF kPaper = RGB(0x12, 0x34, 0x56);

// A canvas of paper, a colour no primitive draws, which is also the DC's background colour.
Canvas Paper(int w, int h) {
    Canvas c(w, h, kPaper);
    SetBkColor(c.dc, kPaper);
    return c;
}

// True when every pixel outside r still shows the paper.
bool OnlyInside(const Canvas& c, const RECT& r) {
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x)
            if (!PtInRect(&r, {x, y}) && c.At(x, y) != kPaper) return false;
    return true;
}

int CountNot(const Canvas& c, const RECT& r, COLORREF colour) {
    return (r.right - r.left) * (r.bottom - r.top) - c.Count(r, colour);
}

}  // namespace

TEST(OwnerDraw, FrameStripsAndFill) {
    Canvas c = Paper(10, 10);
    COLORREF white = RGB(255, 255, 255), shadow = GetSysColor(COLOR_BTNSHADOW);
    Draw3dFrame(c.dc, 1, 1, 6, 5, 0);
    EXPECT_EQ(c.At(1, 1), white);       // top
    EXPECT_EQ(c.At(1, 4), white);       // left
    EXPECT_EQ(c.At(3, 5), shadow);      // bottom
    EXPECT_EQ(c.At(6, 1), shadow);      // right, from the top row
    EXPECT_EQ(c.At(3, 3), kPaper);      // not filled
    EXPECT_EQ(GetBkColor(c.dc), kPaper);  // background colour restored
    EXPECT_TRUE(OnlyInside(c, {1, 1, 7, 6}));

    Draw3dFrame(c.dc, 1, 1, 6, 5, kFrameSunken | kFrameFill | kFrameFillLight);
    EXPECT_EQ(c.At(1, 1), shadow);
    EXPECT_EQ(c.At(3, 5), white);
    EXPECT_EQ(c.At(3, 3), GetSysColor(COLOR_3DLIGHT));

    Canvas keep = Paper(10, 10);
    Draw3dFrame(keep.dc, 0, 0, 4, 4, kFrameKeepColor | kFrameFill);
    EXPECT_EQ(keep.At(0, 0), kPaper);
    EXPECT_EQ(keep.At(1, 1), GetSysColor(COLOR_BTNFACE));

    Canvas none = Paper(4, 4);
    Draw3dFrame(none.dc, 0, 0, 0, 3, 0);
    Draw3dFrame(none.dc, 0, 0, 3, -1, 0);
    EXPECT_TRUE(OnlyInside(none, {0, 0, 0, 0}));
}

TEST(OwnerDraw, DisabledTextIgnoresPrefixAmpersands) {
    Canvas c = Paper(120, 30);
    SelectObject(c.dc, GetUiFont(0));
    SIZE all, amp;
    GetTextExtentPoint32A(c.dc, "&Datei", 6, &all);
    GetTextExtentPoint32A(c.dc, "&", 1, &amp);
    RECT r = {0, 0, 120, 30};
    POINT at = DisabledTextOriginA(c.dc, "&Datei", -1, &r, kDisabledCentreX | kDisabledCentreY);
    EXPECT_EQ(at.x, (120 - (all.cx - amp.cx)) / 2);
    EXPECT_EQ(at.y, (30 - all.cy) / 2);
    at = DisabledTextOriginA(c.dc, "&Datei", -1, &r, kDisabledCentreX | kDisabledShowAmpersand);
    EXPECT_EQ(at.x, (120 - all.cx) / 2);
    at = DisabledTextOriginW(c.dc, L"ab", -1, &r, kDisabledRight | kDisabledBottom);
    SIZE ab;
    GetTextExtentPoint32W(c.dc, L"ab", 2, &ab);
    EXPECT_EQ(at.x, 120 - ab.cx - 1);
    EXPECT_EQ(at.y, 30 - ab.cy - 1);

    EXPECT_TRUE(DrawDisabledTextA(c.dc, "&Datei", -1, &r, kDisabledCentreX | kDisabledCentreY));
    EXPECT_GT(CountNot(c, r, kPaper), 0);
    RECT empty = {5, 5, 5, 9};
    EXPECT_FALSE(DrawDisabledTextA(c.dc, "x", -1, &empty, 0));
    EXPECT_TRUE(DrawDisabledTextA(c.dc, "", -1, &r, 0));
}

TEST(OwnerDraw, ClassicExpanderShowsMinusOrPlus) {
    Canvas c = Paper(20, 20);
    RECT box = {2, 2, 11, 11};
    ASSERT_TRUE(DrawCheckGlyph(c.dc, &box, OwnerDraw::kNoTheme | OwnerDraw::kGlyphExpander | 0, 0));
    EXPECT_EQ(c.At(2, 2), RGB(0, 0, 0));    // black border
    EXPECT_EQ(c.At(3, 3), RGB(255, 255, 255));
    COLORREF grey = c.At(5, 6);             // the minus bar through the middle row
    EXPECT_NE(grey, RGB(255, 255, 255));
    EXPECT_EQ(c.At(6, 4), RGB(255, 255, 255));  // no plus
    EXPECT_TRUE(OnlyInside(c, box));
    ASSERT_TRUE(DrawCheckGlyph(c.dc, &box, OwnerDraw::kNoTheme | OwnerDraw::kGlyphExpander | 1, 0));
    EXPECT_EQ(c.At(6, 4), grey);            // plus
}

TEST(OwnerDraw, GlyphFontIsMadeOncePerSize) {
    Canvas c = Paper(40, 20);
    RECT r = {0, 0, 16, 16};
    DrawCheckGlyph(c.dc, &r, OwnerDraw::kNoTheme | OwnerDraw::kGlyphMenuCheck | 1, 0);
    int afterFirst = 0;
    GetFontCacheInfo(&afterFirst, nullptr);
    DrawCheckGlyph(c.dc, &r, OwnerDraw::kNoTheme | OwnerDraw::kGlyphMenuCheck | 1, 0);
    DrawCheckGlyph(c.dc, &r, OwnerDraw::kNoTheme | OwnerDraw::kGlyphDropArrow | 1, 0);
    int afterMore = 0;
    GetFontCacheInfo(&afterMore, nullptr);
    EXPECT_EQ(afterMore, afterFirst);
    EXPECT_GT(CountNot(c, r, kPaper), 0);
    RECT other = {20, 0, 30, 10};
    DrawCheckGlyph(c.dc, &other, OwnerDraw::kNoTheme | OwnerDraw::kGlyphMenuCheck | 3, 0);
    GetFontCacheInfo(&afterMore, nullptr);
    EXPECT_EQ(afterMore, afterFirst + 1);
}

TEST(OwnerDraw, ButtonsStayInsideTheirRectangle) {
    RECT r = {4, 4, 84, 28};
    for (DWORD theme : {DWORD(0), OwnerDraw::kNoTheme}) {
        for (int state = 1; state <= 4; ++state) {
            Canvas c = Paper(90, 32);
            DWORD flags = theme | OwnerDraw::kAnsiText | state;
            ASSERT_TRUE(DrawPushButton(c.dc, "Starte", &r, flags, 0));
            EXPECT_TRUE(OnlyInside(c, r)) << theme << " " << state;
            EXPECT_GT(CountNot(c, r, kPaper), 100);
        }
    }
    // Classic face: the button face colour inside the edge.
    Canvas c = Paper(90, 32);
    DrawPushButton(c.dc, L"", &r, OwnerDraw::kNoTheme | 1, 0);
    EXPECT_EQ(c.At(40, 10), GetSysColor(COLOR_BTNFACE));
    // An inset of 2 leaves a 2-pixel ring, filled with the face colour on request.
    Canvas ring = Paper(90, 32);
    DrawPushButton(ring.dc, L"", &r, OwnerDraw::kNoTheme | OwnerDraw::kFillFace | 1, 2);
    EXPECT_EQ(ring.At(4, 4), GetSysColor(COLOR_BTNFACE));
    Canvas bare = Paper(90, 32);
    DrawPushButton(bare.dc, L"", &r, OwnerDraw::kNoTheme | 1, 2);
    EXPECT_EQ(bare.At(4, 4), kPaper);
}

TEST(OwnerDraw, RadioAndCheckItemsDrawGlyphThenCaption) {
    SIZE glyph;
    GetCheckGlyphSize(1, &glyph);
    for (DWORD theme : {DWORD(0), OwnerDraw::kNoTheme}) {
        Canvas c = Paper(120, 24);
        RECT r = {0, 0, 120, 24};
        ASSERT_TRUE(DrawRadioItem(c.dc, "Zwei Reihen", &r,
                                  theme | OwnerDraw::kAnsiText | OwnerDraw::kUiFont | 5, 0));
        RECT glyphBox = {0, 0, glyph.cx, 24};
        RECT caption = {glyph.cx + 3, 0, 120, 24};
        EXPECT_GT(CountNot(c, glyphBox, kPaper), 10) << theme;
        EXPECT_GT(CountNot(c, caption, kPaper), 10) << theme;
        Canvas check = Paper(120, 24);
        ASSERT_TRUE(DrawCheckItem(check.dc, L"Kleine Sterne", &r, theme | 8, 0));
        EXPECT_GT(CountNot(check, glyphBox, kPaper), 10) << theme;
    }
}

TEST(OwnerDraw, ComboButtonClassicAndThemed) {
    RECT r = {2, 2, 20, 22};
    Canvas classic = Paper(24, 24);
    ASSERT_TRUE(DrawComboButton(classic.dc, &r, OwnerDraw::kNoTheme | 1, 0));
    EXPECT_EQ(classic.At(2, 2), RGB(255, 255, 255));
    EXPECT_EQ(classic.At(10, 4), GetSysColor(COLOR_BTNFACE));
    EXPECT_TRUE(OnlyInside(classic, r));
    Canvas pressed = Paper(24, 24);
    DrawComboButton(pressed.dc, &r, OwnerDraw::kNoTheme | 3, 0);
    EXPECT_EQ(pressed.At(2, 2), GetSysColor(COLOR_BTNSHADOW));
    Canvas themed = Paper(24, 24);
    ASSERT_TRUE(DrawComboButton(themed.dc, &r, 1, 0));
    EXPECT_TRUE(OnlyInside(themed, r));
}
