// Painting of the toolbar control into a memory bitmap: the looks of image buttons, frames on flat and raised
// bars, separators, drop-down parts, value colours, texts, labels and the insert mark.
#include <gtest/gtest.h>

#include "tests/ui/toolbar/ToolbarTestSupport.h"

using namespace tbtest;

namespace {

constexpr COLORREF kRed = RGB(200, 0, 0), kGreen = RGB(0, 160, 0), kBlue = RGB(0, 0, 210);
constexpr COLORREF kMagenta = RGB(255, 0, 255);

COLORREF Face() { return GetSysColor(COLOR_BTNFACE); }

bool IsGrey(COLORREF c) { return GetRValue(c) == GetGValue(c) && GetGValue(c) == GetBValue(c); }

// Image buttons of 25 x 27: the 16 x 16 picture of button 0 covers (4..19, 5..20) at rest.
struct Painted : Toolbar {
    explicit Painted(std::initializer_list<TBBUTTON> buttons, DWORD style = TBSTYLE_FLAT,
                     std::vector<COLORREF> colours = {kRed, kGreen, kBlue, kMagenta})
        : Toolbar(style) {
        AddImages(4, 16, colours);
        Add(buttons);
    }
    Canvas Paint() {
        Canvas canvas(400, 60, kUnpainted);
        Toolbar::Paint(canvas);
        return canvas;
    }
    std::vector<COLORREF> PaintArea(const RECT& r) { return Paint().Area(r); }
};

}  // namespace

TEST(ToolbarPaint, LooksOfAnImageButton) {
    Painted tb({Button(0, 100, BTNS_CHECK), Button(1, 101)});
    {
        Canvas normal = tb.Paint();
        EXPECT_EQ(normal.At(12, 13), kRed);
        EXPECT_EQ(normal.At(4, 12), kRed);
        EXPECT_EQ(normal.At(1, 12), Face());  // a flat bar shows no frame at rest
        EXPECT_EQ(normal.At(4, 5), Face());   // the key colour of the picture is transparent
        EXPECT_EQ(normal.At(37, 13), kGreen);
        EXPECT_EQ(normal.At(300, 30), Face());
    }
    tb.Move(Toolbar::Centre(tb.Rect(0)));
    COLORREF hotBorder;
    {
        Canvas hot = tb.Paint();
        hotBorder = hot.At(1, 12);
        EXPECT_NE(hotBorder, Face());  // the hot frame, tinted
        EXPECT_EQ(hot.At(12, 13), kRed);
        EXPECT_EQ(hot.At(4, 12), kRed);
    }
    tb.Move(Toolbar::Centre(tb.Rect(0)), MK_LBUTTON);
    {
        Canvas pressed = tb.Paint();
        EXPECT_NE(pressed.At(1, 12), Face());
        EXPECT_NE(pressed.At(1, 12), hotBorder);  // the sunken frame
        EXPECT_NE(pressed.At(4, 12), kRed);       // the picture moves one pixel right and down
        EXPECT_EQ(pressed.At(5, 12), kRed);
    }
    tb.Send(WM_MOUSELEAVE);
    tb.Send(TB_CHECKBUTTON, 100, TRUE);
    {
        Canvas checked = tb.Paint();
        EXPECT_NE(checked.At(1, 12), Face());
        EXPECT_EQ(checked.At(5, 12), kRed);
    }
    tb.Send(TB_CHECKBUTTON, 100, FALSE);
    tb.Send(TB_ENABLEBUTTON, 100, FALSE);
    {
        Canvas disabled = tb.Paint();
        COLORREF centre = disabled.At(12, 13);
        EXPECT_NE(centre, kRed);
        EXPECT_TRUE(IsGrey(centre)) << std::hex << centre;  // washed out toward the face colour
        EXPECT_EQ(disabled.At(1, 12), Face());
        EXPECT_EQ(disabled.At(37, 13), kGreen);
    }
}

TEST(ToolbarPaint, FramesAtRestOnFlatAndRaisedBars) {
    Painted flat({Button(0, 1), Button(1, 2, BTNS_BUTTON, TBSTATE_ENABLED, -1, TBXF_RESTFRAME)});
    Canvas a = flat.Paint();
    EXPECT_EQ(a.At(1, 12), Face());
    EXPECT_NE(a.At(26, 12), Face());  // extra flag 0x0010 brings the frame back

    Painted raised({Button(0, 1), Button(1, 2, BTNS_BUTTON, TBSTATE_ENABLED, -1, TBXF_NOFRAME)}, 0);
    Canvas b = raised.Paint();
    EXPECT_NE(b.At(1, 12), Face());
    EXPECT_EQ(b.At(26, 12), Face());  // extra flag 0x0008 removes it on a raised bar
}

TEST(ToolbarPaint, ClassicFramesAtEightBitsOrFewer) {
    Painted tb({Button(0, 1)}, 0);
    tb.State()->deep = false;
    Canvas c = tb.Paint();
    // A raised 3D frame around the content box (1, 2) - (24, 25).
    EXPECT_EQ(c.At(5, 2), RGB(255, 255, 255));
    EXPECT_EQ(c.At(5, 24), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(c.At(12, 13), kRed);
    tb.Send(TB_CHECKBUTTON, 1, TRUE);
    Canvas checked = tb.Paint();
    EXPECT_EQ(checked.At(5, 2), GetSysColor(COLOR_BTNSHADOW));  // sunken
    EXPECT_EQ(checked.At(5, 24), RGB(255, 255, 255));
}

TEST(ToolbarPaint, SeparatorShowsAnEtchedLine) {
    Toolbar tb;
    tb.Send(TB_SETBITMAPSIZE, 0, MAKELPARAM(16, 22));
    tb.Add({Separator()});
    RECT r = tb.Rect(0);
    EXPECT_EQ(Width(r), 8);
    EXPECT_EQ(Height(r), 22);
    Canvas c(100, 40, kUnpainted);
    tb.Paint(c);
    for (int y = 2; y < 20; ++y) {
        EXPECT_EQ(c.At(3, y), GetSysColor(COLOR_BTNSHADOW)) << y;
        EXPECT_EQ(c.At(4, y), RGB(255, 255, 255)) << y;
    }
    EXPECT_EQ(c.At(3, 1), Face());
    EXPECT_EQ(c.At(3, 20), Face());
    EXPECT_EQ(c.At(2, 10), Face());
}

TEST(ToolbarPaint, ButtonsMayRefuseTheCheckedLook) {
    Painted tb({Button(0, 1, BTNS_CHECK, TBSTATE_ENABLED, -1, TBXF_NOCHECKLOOK | TBXF_RESTFRAME),
                Button(1, 2, BTNS_CHECK, TBSTATE_ENABLED, -1, TBXF_RESTFRAME)});
    RECT both = {0, 0, 50, 27}, first = {0, 0, 25, 27}, second = {25, 0, 50, 27};
    Canvas before = tb.Paint();
    tb.Send(TB_CHECKBUTTON, 1, TRUE);
    tb.Send(TB_CHECKBUTTON, 2, TRUE);
    Canvas after = tb.Paint();
    EXPECT_EQ(before.Area(first), after.Area(first));
    EXPECT_NE(before.Area(second), after.Area(second));
    EXPECT_EQ(before.Area(both).size(), 50u * 27u);
}

TEST(ToolbarPaint, DropDownPartsComeFromTheirOwnFrames) {
    Painted tb({Button(0, 1, BTNS_DROPDOWN, TBSTATE_ENABLED, -1, TBXF_SPLIT)});
    RECT r = tb.Rect(0);
    ASSERT_EQ(Width(r), 38);
    // The content ends 1 pixel in; the arrow takes the last 13 pixels of it.
    RECT mainPart = {0, 0, 24, 27}, arrowPart = {24, 0, 38, 27};
    POINT onMain = {8, 13}, onArrow = {31, 13};
    tb.Prepare();
    tb.Move(onMain);
    EXPECT_EQ(tb.State()->buttons[0]->look & kLookMask, kLookHot);
    auto hotMain = tb.PaintArea(mainPart);
    tb.Move(onArrow);
    EXPECT_EQ(tb.State()->buttons[0]->look & kLookMask, kLookDropHot);
    Canvas dropHot = tb.Paint();
    EXPECT_EQ(dropHot.Area(mainPart), hotMain);  // look 6: the main part as hot
    tb.Move(onArrow, MK_LBUTTON);
    EXPECT_TRUE(tb.State()->dropPressed);
    Canvas dropPressed = tb.Paint();
    EXPECT_EQ(dropPressed.Area(mainPart), hotMain);
    EXPECT_NE(dropPressed.Area(arrowPart), dropHot.Area(arrowPart));
    // The arrow glyph is there in every look.
    tb.Send(WM_MOUSELEAVE);
    Canvas rest = tb.Paint();
    int dark = 0;
    for (COLORREF c : rest.Area(arrowPart)) dark += GetRValue(c) < 100 && GetGValue(c) < 100;
    EXPECT_GT(dark, 3);
}

TEST(ToolbarPaint, ValueColoursReplaceTheKeyColours) {
    Painted tb({Button(3, 1, BTNS_BUTTON, TBSTATE_ENABLED, -1, TBXF_VALUE, RGB(0, 128, 255)),
                Button(3, 2, BTNS_BUTTON, TBSTATE_ENABLED, -1, TBXF_VALUE | TBXF_TWOCOLORS, 0x001F)});
    Canvas c = tb.Paint();
    EXPECT_EQ(c.At(12, 13), RGB(0, 128, 255));
    EXPECT_EQ(c.At(37, 13), RGB(0, 0, 0xF8));  // 5:6:5 blue widened
    tb.Send(TBX_SETDATA, 0, RGB(10, 20, 30));
    EXPECT_EQ(tb.Paint().At(12, 13), RGB(10, 20, 30));
}

TEST(ToolbarPaint, ScaledImagesGrowWithTheButton) {
    Painted tb({Button(0, 1), Button(1, 2)});
    tb.Send(TBX_SETSCALE, (WPARAM)-1, 512);
    EXPECT_EQ(Width(tb.Rect(0)), 41);
    Canvas c = tb.Paint();
    EXPECT_EQ(c.At(20, 21), kRed);
    EXPECT_EQ(c.At(7, 8), kRed);
    EXPECT_EQ(c.At(41 + 20, 21), kGreen);
}

TEST(ToolbarPaint, TextsInTheirLooks) {
    Toolbar tb(TBSTYLE_FLAT);
    tb.Send(TB_ADDSTRINGW, 65534, (LPARAM)L"Starte");
    tb.Send(TBX_COLOR, 2, RGB(255, 0, 0));
    tb.Add({Button(-1, 1, BTNS_BUTTON, TBSTATE_ENABLED, 0)});
    RECT r = tb.Rect(0);
    Canvas c(400, 80, kUnpainted);
    tb.Paint(c);
    EXPECT_GT(c.Count(r, RGB(255, 0, 0)), 5);
    tb.Send(TB_ENABLEBUTTON, 1, FALSE);
    Canvas disabled(400, 80, kUnpainted);
    tb.Paint(disabled);
    EXPECT_EQ(disabled.Count(r, RGB(255, 0, 0)), 0);  // embossed instead
    EXPECT_GT(disabled.Count(r, RGB(255, 255, 255)), 5);
}

TEST(ToolbarPaint, CheckGlyphButtonsShowTheirState) {
    Toolbar tb(TBSTYLE_FLAT);
    tb.Send(TB_ADDSTRINGW, 65534, (LPARAM)L"Auto");
    tb.Add({Button(-1, 1, BTNS_CHECK, TBSTATE_ENABLED, 0, TBXF_CHECK)});
    RECT r = tb.Rect(0);
    Canvas off(400, 80, kUnpainted);
    tb.Paint(off);
    tb.Send(TB_CHECKBUTTON, 1, TRUE);
    Canvas on(400, 80, kUnpainted);
    tb.Paint(on);
    EXPECT_NE(off.Area(r), on.Area(r));
}

TEST(ToolbarPaint, GroupCaptionSpansTheGroup) {
    Painted tb({Button(0, 1), Button(1, 2), Button(-1, 0, BTNS_SEP, TBSTATE_ENABLED, 0, TBXF_FIXEDWIDTH)});
    tb.Send(TB_ADDSTRINGW, 65534, (LPARAM)L"WWWWWWWW");
    tb.Send(TBX_COLOR, 1, RGB(255, 0, 0));
    tb.Send(TBX_SETDIRTY, kDirtyAll, 1);
    RECT left = tb.Rect(0), right = tb.Rect(1);
    Canvas c = tb.Paint();
    EXPECT_GT(c.Count(left, RGB(255, 0, 0)), 3);
    EXPECT_GT(c.Count(right, RGB(255, 0, 0)), 3);
}

TEST(ToolbarPaint, LabelsWithAndWithoutBackground) {
    Painted tb({Button(0, 1)});
    tb.Send(TBX_COLOR, 6, 0xFFFFFFFE);
    tb.Send(TBX_COLOR, 8, 0xFFFFFFFE);
    tb.Send(TBX_COLOR, 7, RGB(255, 0, 0));
    TBXLABEL label = {0, 100, 20, TBXL_HABSOLUTE | TBXL_VABSOLUTE};
    tb.Send(TBX_ADDLABELW, (WPARAM)&label, (LPARAM)L"Runde");
    RECT box = {99, 19, 160, 40};
    Canvas plain = tb.Paint();
    int text = plain.Count(box, RGB(255, 0, 0));
    EXPECT_GT(text, 5);
    EXPECT_EQ(plain.Count(box, Face()) + text, (int)plain.Area(box).size() - [&] {
        int other = 0;  // anti-aliased edges of the glyphs
        for (COLORREF c : plain.Area(box)) other += c != Face() && c != RGB(255, 0, 0) && GetGValue(c) == GetBValue(c);
        return other;
    }());
    for (int x = 99; x < 160; ++x) EXPECT_EQ(plain.At(x, 19), Face()) << x;  // no frame line

    tb.Send(TBX_COLOR, 6, RGB(0, 0, 255));
    tb.Send(TBX_COLOR, 8, RGB(0, 255, 0));
    Canvas framed = tb.Paint();
    EXPECT_GT(framed.Count(box, RGB(0, 0, 255)), 20);
    EXPECT_EQ(framed.At(102, 19), RGB(0, 255, 0));
    EXPECT_EQ(framed.At(99, 22), RGB(0, 255, 0));

    // Aligned to a button: centred and at its bottom.
    ToolbarLabel* l = tb.State()->labels;
    l->flags = (l->flags & ~0x0F) | TBXL_HCENTER | TBXL_BOTTOM | kLabelRecompute;
    l->dx = l->dy = 0;
    tb.Paint();
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetStockObject(ANSI_VAR_FONT));
    RECT size = {};
    DrawTextW(dc, L"Runde", -1, &size, DT_CALCRECT);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    EXPECT_EQ(l->x, (0 + 25 + size.right + 2) / 2);
    EXPECT_EQ(l->y, 27 - size.bottom);
}

TEST(ToolbarPaint, InsertMarkVerticalAndInAStackHorizontal) {
    Painted tb({Button(0, 1), Button(1, 2)});
    TBINSERTMARK mark = {1, 0};
    tb.Send(TB_SETINSERTMARK, 0, (LPARAM)&mark);
    Canvas c = tb.Paint();
    for (int y = 0; y < 27; ++y) EXPECT_EQ(c.At(24, y), RGB(0, 0, 0)) << y;  // the stem at x - 1 .. x
    EXPECT_EQ(c.At(22, 0), RGB(0, 0, 0));                                     // top bar
    EXPECT_EQ(c.At(22, 10), Face());

    Painted stack({Button(0, 1), Button(1, 2)}, TBSTYLE_FLAT | 0x20);
    stack.Send(TB_SETBITMAPSIZE, 0, MAKELPARAM(16, 60));
    RECT head = stack.Rect(0);
    ASSERT_GT(head.top, 0);
    mark = {0, TBIMHT_AFTER};
    stack.Send(TB_SETINSERTMARK, 0, (LPARAM)&mark);
    EXPECT_EQ(stack.State()->markFlags & 2, 2u);
    Canvas s = stack.Paint();
    int y = head.top - 3;
    EXPECT_EQ(s.At(12, y + 2), RGB(0, 0, 0));
    EXPECT_EQ(s.At(12, y + 3), RGB(0, 0, 0));
    EXPECT_EQ(s.At(0, y), RGB(0, 0, 0));
    EXPECT_EQ(s.At(24, y + 5), RGB(0, 0, 0));
}

TEST(ToolbarPaint, OnlyButtonsInThePaintedAreaGetStrips) {
    Toolbar tb(TBSTYLE_FLAT, 400, 60);
    tb.AddImages(4);
    std::vector<TBBUTTON> buttons;
    for (int i = 0; i < 300; ++i) buttons.push_back(Button(i % 4, 100 + i));
    tb.Send(TBX_ADDBUTTONS, buttons.size(), (LPARAM)buttons.data());
    Canvas c(400, 60, kUnpainted);
    tb.Paint(c);
    int strips = 0, shown = 0;
    RECT area = {0, 0, 400, 60}, overlap;
    for (int i = 0; i < 300; ++i) {
        strips += tb.State()->buttons[i]->strip != nullptr;
        shown += IntersectRect(&overlap, &tb.State()->buttons[i]->rect, &area) != FALSE;
    }
    EXPECT_EQ(shown, 16);
    EXPECT_EQ(strips, shown);
    EXPECT_EQ(c.At(12 + 25 * 12, 13), RGB(200, 0, 0));  // button 12 shows image 0
    // Hit testing needs no paint: a click beyond the painted part still reaches its button.
    RECT r = tb.Rect(40);
    POINT pt = Toolbar::Centre(r);
    EXPECT_EQ(tb.Send(TB_HITTEST, 0, (LPARAM)&pt), 40);
}

TEST(ToolbarPaint, StripsWithAlphaKeepTheirKeyColourUntilReplaced) {
    // Opaque alpha values everywhere: the picture is drawn as it is, its top-left grey included.
    constexpr COLORREF kKey = RGB(192, 192, 192);
    std::vector<DWORD> bits(16 * 16, 0xFF000000u | 0xC80000u);
    bits[0] = 0xFFC0C0C0u;
    HBITMAP alpha = CreateBitmap(16, 16, 1, 32, bits.data());
    Toolbar tb(TBSTYLE_FLAT);
    TBADDBITMAP ab = {nullptr, (UINT_PTR)alpha};
    ASSERT_EQ(tb.Send(TB_ADDBITMAP, 1, (LPARAM)&ab), 0);
    tb.Add({Button(0, 1)});
    Canvas before(400, 60, kUnpainted);
    tb.Paint(before);
    EXPECT_EQ(before.At(12, 13), kRed);
    EXPECT_EQ(before.At(4, 5), kKey);
    // A keyed strip in its place makes the corner colour transparent again.
    HBITMAP keyed = MakeStrip(1, 16, 16, {kRed}, kKey);
    TBREPLACEBITMAP rb = {nullptr, (UINT_PTR)alpha, nullptr, (UINT_PTR)keyed, 1};
    ASSERT_EQ(tb.Send(TB_REPLACEBITMAP, 0, (LPARAM)&rb), 1);
    Canvas after(400, 60, kUnpainted);
    tb.Paint(after);
    EXPECT_EQ(after.At(12, 13), kRed);
    EXPECT_EQ(after.At(4, 5), Face());
    DestroyWindow(tb.hwnd);
    DeleteObject(alpha);
    DeleteObject(keyed);
}

TEST(ToolbarPaint, AlphaIsDecidedPerPictureOfAMixedStrip) {
    // Picture 0 carries alpha, picture 1 (blue, grey key in its corner) none: it keeps its key step and stays
    // visible instead of being blended in with alpha 0.
    constexpr COLORREF kKey = RGB(192, 192, 192);
    std::vector<DWORD> bits(32 * 16);
    for (size_t i = 0; i < bits.size(); ++i) bits[i] = (i % 32) < 16 ? 0xFFC80000u : 0x000000D2u;
    bits[16] = 0x00C0C0C0u;  // the key colour in the top-left corner of picture 1
    bits[0] = 0xFFC0C0C0u;
    HBITMAP mixed = CreateBitmap(32, 16, 1, 32, bits.data());
    Toolbar tb(TBSTYLE_FLAT);
    TBADDBITMAP ab = {nullptr, (UINT_PTR)mixed};
    ASSERT_EQ(tb.Send(TB_ADDBITMAP, 2, (LPARAM)&ab), 0);
    tb.Add({Button(0, 1), Button(1, 2)});
    Canvas c(400, 60, kUnpainted);
    tb.Paint(c);
    EXPECT_EQ(c.At(12, 13), kRed);
    EXPECT_EQ(c.At(4, 5), kKey) << "a picture with alpha is drawn as it is";
    EXPECT_EQ(c.At(25 + 12, 13), kBlue);
    EXPECT_EQ(c.At(25 + 4, 5), Face()) << "a picture without alpha makes its key colour transparent";
    DestroyWindow(tb.hwnd);
    DeleteObject(mixed);
}

TEST(ToolbarPaint, ChildWindowButtonsGetAStripOnlyForACaption) {
    // A missing string and an empty one both mean no caption: nothing to draw, no strip.
    Toolbar tb(TBSTYLE_FLAT);
    tb.Add({Button(-1, 1, BTNS_BUTTON, TBSTATE_ENABLED, -1, TBXF_WINDOW),
            Button(-1, 2, BTNS_BUTTON, TBSTATE_ENABLED, -1, TBXF_WINDOW),
            Button(-1, 3, BTNS_BUTTON, TBSTATE_ENABLED, -1, TBXF_WINDOW)});
    ASSERT_GE(tb.Send(TBX_SETBUTTONTEXTW, 1, (LPARAM)L""), 0);
    ASSERT_GE(tb.Send(TBX_SETBUTTONTEXTW, 2, (LPARAM)L"Runde"), 0);
    Canvas c(400, 60, kUnpainted);
    tb.Paint(c);
    EXPECT_EQ(tb.State()->buttons[0]->strip, nullptr);
    EXPECT_EQ(tb.State()->buttons[1]->strip, nullptr);
    EXPECT_NE(tb.State()->buttons[2]->strip, nullptr);
}
