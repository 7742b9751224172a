// Attribute text: colours, runs, underlines and fonts read back from a DIB section, and measuring against the
// fonts' own widths. Every drawing case runs for the ANSI and the UTF-16 form.
#include "image/attrtext/AttrText.h"

#include <gtest/gtest.h>

#include "tests/support/Canvas.h"

#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

const COLORREF* T = TextColorTable;
constexpr UINT kSplit4 = 0x10000000; // four text bits, one background bit
constexpr UINT kSplit3 = 0x20000000;

HFONT Font(int height) {
    return CreateFontA(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0, "Arial");
}

struct FontSet {
    HFONT f[4];
    FontSet(int a, int b, int c, int d) : f{Font(a), Font(b), Font(c), Font(d)} {}
    ~FontSet() {
        for (HFONT h : f) DeleteObject(h);
    }
};

TEXTMETRICA Metrics(HDC dc, HFONT font) {
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICA tm = {};
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    return tm;
}

int Width(HDC dc, HFONT font, const std::string& s) {
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size = {};
    GetTextExtentPoint32A(dc, s.c_str(), (int)s.size(), &size);
    SelectObject(dc, old);
    return size.cx;
}

// Columns of row y that hold colour c.
struct Span {
    int first = -1, last = -1, count = 0;
    bool operator==(const Span&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Span& s) {
    return out << s.first << ".." << s.last << " (" << s.count << ")";
}
Span ColourSpan(const Canvas& c, int y, COLORREF colour) {
    Span s;
    for (int x = 0; x < c.width; ++x)
        if (c.At(x, y) == colour) {
            if (s.first < 0) s.first = x;
            s.last = x;
            ++s.count;
        }
    return s;
}

// The ANSI and UTF-16 forms behind one signature taking 8-bit text.
struct Form {
    const char* name;
    int (*draw)(HDC, const std::string&, RECT*, UINT, const TextAttr*, const COLORREF*, const HFONT*);
    int (*out)(HDC, int, int, UINT, const RECT*, const std::string&, const TextAttr*, const COLORREF*,
               const HFONT*);
    int (*tabbed)(HDC, int, const std::string&, const TextAttr*, int, const int*, int, const HFONT*);
    BOOL (*extent)(HDC, const std::string&, int, int*, int*, SIZE*, const TextAttr*, const HFONT*);
};

std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

const Form kForms[] = {
    {"A",
     [](HDC dc, const std::string& s, RECT* r, UINT f, const TextAttr* a, const COLORREF* t, const HFONT* h) {
         return DrawAttrTextA(dc, s.c_str(), (int)s.size(), r, f, a, t, h);
     },
     [](HDC dc, int x, int y, UINT o, const RECT* r, const std::string& s, const TextAttr* a, const COLORREF* t,
        const HFONT* h) { return AttrExtTextOutA(dc, x, y, o, r, s.c_str(), -1, a, t, h); },
     [](HDC dc, int x0, const std::string& s, const TextAttr* a, int n, const int* st, int o, const HFONT* h) {
         return MeasureTabbedTextA(dc, x0, s.c_str(), a, (int)s.size(), n, st, o, h);
     },
     [](HDC dc, const std::string& s, int m, int* fit, int* dx, SIZE* size, const TextAttr* a, const HFONT* h) {
         return GetTextExtentExAttrA(dc, s.c_str(), (int)s.size(), m, fit, dx, size, a, h);
     }},
    {"W",
     [](HDC dc, const std::string& s, RECT* r, UINT f, const TextAttr* a, const COLORREF* t, const HFONT* h) {
         return DrawAttrTextW(dc, Wide(s).c_str(), -1, r, f, a, t, h);
     },
     [](HDC dc, int x, int y, UINT o, const RECT* r, const std::string& s, const TextAttr* a, const COLORREF* t,
        const HFONT* h) { return AttrExtTextOutW(dc, x, y, o, r, Wide(s).c_str(), (int)s.size(), a, t, h); },
     [](HDC dc, int x0, const std::string& s, const TextAttr* a, int n, const int* st, int o, const HFONT* h) {
         return MeasureTabbedTextW(dc, x0, Wide(s).c_str(), a, (int)s.size(), n, st, o, h);
     },
     [](HDC dc, const std::string& s, int m, int* fit, int* dx, SIZE* size, const TextAttr* a, const HFONT* h) {
         return GetTextExtentExAttrW(dc, Wide(s).c_str(), (int)s.size(), m, fit, dx, size, a, h);
     }},
};

} // namespace

// The text and background colours an attribute chooses, from the default table or the caller's.
TEST(AttrText, DefaultTableAndColourChoice) {
    const COLORREF dcText = 0x111111, dcBack = 0x222222;
    COLORREF own[32];
    for (int i = 0; i < 32; ++i) own[i] = 0x010000 * i;
    struct Case {
        UINT flags;
        TextAttr attr;
        const COLORREF* table;
        COLORREF text, back;
    } cases[] = {
        {kSplit4, 0x15, nullptr, T[5], T[31]},
        {kSplit3, 0x18, nullptr, dcText, T[29]},
        {kSplit3, 0x18, own, dcText, own[29]},
        {0, 0x15, nullptr, T[21], dcBack},               // no background part
        {0, 0x00, nullptr, dcText, dcBack},              // index 0: the DC's colour
        {0x80000000, 0x00, nullptr, T[0], dcBack},       // ... or entry 0
        {0x30000000 | 0x80000000, 0x1C, own, own[0], own[25]},
    };
    Canvas c(4, 4);
    for (const Case& k : cases) {
        SetTextColor(c.dc, dcText);
        SetBkColor(c.dc, dcBack);
        EXPECT_EQ(dcBack, SetAttrBkColor(c.dc, k.flags, k.attr, k.table));
        EXPECT_EQ(dcText, SetAttrTextColor(c.dc, k.flags, k.attr, k.table));
        EXPECT_EQ(k.text, GetTextColor(c.dc)) << std::hex << k.flags << " " << (int)k.attr;
        EXPECT_EQ(k.back, GetBkColor(c.dc)) << std::hex << k.flags << " " << (int)k.attr;
    }
}

TEST(AttrText, DrawRunsBackgroundsAndUnderline) {
    HFONT font = Font(16);
    for (const Form& form : kForms) {
        SCOPED_TRACE(form.name);
        Canvas c(200, 40);
        SelectObject(c.dc, font);
        SetBkMode(c.dc, TRANSPARENT);
        SetTextColor(c.dc, RGB(0, 0, 0));
        const TEXTMETRICA tm = Metrics(c.dc, font);
        const int wAB = Width(c.dc, font, "AB"), wCD = Width(c.dc, font, "CD");
        // "AB": text 5 on entry 31; "CD": underlined text 2 on the DC's (transparent) background.
        const TextAttr attrs[] = {0x15, 0x15, 0x22, 0x22};
        RECT r = {10, 5, 190, 35};
        EXPECT_EQ(tm.tmHeight, form.draw(c.dc, "ABCD", &r, kSplit4, attrs, nullptr, nullptr));

        EXPECT_EQ((Span{10, 10 + wAB - 1, wAB}), ColourSpan(c, 5 + tm.tmHeight - 1, T[31]));
        int text5 = 0;
        for (int y = 5; y < 5 + tm.tmHeight; ++y)
            for (int x = 10; x < 10 + wAB; ++x) {
                const COLORREF p = c.At(x, y);
                EXPECT_TRUE(p == T[31] || p == T[5]) << x << "," << y << " " << std::hex << p;
                text5 += p == T[5];
            }
        EXPECT_GT(text5, 10);
        EXPECT_EQ((Span{10 + wAB, 10 + wAB + wCD - 1, wCD}), ColourSpan(c, 5 + tm.tmAscent + 1, T[2]));
        EXPECT_EQ(Span{}, ColourSpan(c, 5 + tm.tmAscent + 2, T[2]));
        for (int y = 0; y < 40; ++y) EXPECT_EQ(RGB(255, 255, 255), c.At(10 + wAB + wCD + 1, y));
        // The DC is left as it was.
        EXPECT_EQ(std::tuple(RGB(0, 0, 0), TRANSPARENT, (HGDIOBJ)font),
                  std::tuple(GetTextColor(c.dc), GetBkMode(c.dc), GetCurrentObject(c.dc, OBJ_FONT)));

        // With the underline colour from the table, and without a table's background part the DC's opaque
        // background fills the cells.
        c.Clear(RGB(255, 255, 255));
        SetBkMode(c.dc, OPAQUE);
        SetBkColor(c.dc, RGB(0, 0, 255));
        form.draw(c.dc, "ABCD", &r, kAttrUnderlineFromTable, attrs, nullptr, nullptr);
        EXPECT_EQ(10 + wAB, ColourSpan(c, 5 + tm.tmAscent + 1, T[15]).first);
        EXPECT_EQ(wAB + wCD, ColourSpan(c, 5 + tm.tmHeight - 1, RGB(0, 0, 255)).count);
    }
    DeleteObject(font);
}

TEST(AttrText, FontsShareABaselineAndMeasureRunByRun) {
    FontSet fonts(16, 20, 16, 16);
    for (const Form& form : kForms) {
        SCOPED_TRACE(form.name);
        Canvas c(300, 60);
        SetBkMode(c.dc, TRANSPARENT);
        const TEXTMETRICA t16 = Metrics(c.dc, fonts.f[0]), t20 = Metrics(c.dc, fonts.f[1]);
        ASSERT_EQ(std::pair(16L, 20L), std::pair(t16.tmHeight, t20.tmHeight));
        const int wide = Width(c.dc, fonts.f[0], "ab") + Width(c.dc, fonts.f[1], "CD") + Width(c.dc, fonts.f[2], "ef");
        const TextAttr attrs[] = {0x23, 0x23, 0x63, 0x63, 0xA3, 0xA3};
        RECT r = {7, 9, 8, 10};
        EXPECT_EQ(20, form.draw(c.dc, "abCDef", &r, DT_CALCRECT, attrs, nullptr, fonts.f));
        EXPECT_EQ(std::pair(7L + wide, 9L + 20), std::pair(r.right, r.bottom));
        for (int x = 0; x < 300; ++x) EXPECT_EQ(RGB(255, 255, 255), c.At(x, 15));

        // Drawn: one underline row across all three runs, on the common baseline.
        r = {7, 9, 290, 50};
        EXPECT_EQ(20, form.draw(c.dc, "abCDef", &r, 0, attrs, nullptr, fonts.f));
        const int baseline = 9 + std::max(t16.tmAscent, t20.tmAscent);
        EXPECT_EQ((Span{7, 7 + wide - 1, wide}), ColourSpan(c, baseline + 1, T[3]));

        // 0x40 alone: the second font in the DC's text colour.
        c.Clear(RGB(255, 255, 255));
        const TextAttr second[] = {0x40, 0x40};
        r = {7, 9, 290, 50};
        EXPECT_EQ(20, form.draw(c.dc, "MW", &r, 0, second, nullptr, fonts.f));
        EXPECT_EQ(Width(c.dc, fonts.f[1], "MW"), form.out(c.dc, 0, 30, 0, nullptr, "MW", second, nullptr, fonts.f));
        EXPECT_GT(ColourSpan(c, 9 + t20.tmAscent - 2, RGB(0, 0, 0)).count, 0);
    }
}

TEST(AttrText, AlignmentAndClipping) {
    HFONT font = Font(16);
    const TextAttr attrs[] = {0x10, 0x10, 0x10, 0x10, 0x10, 0x10};
    for (const Form& form : kForms) {
        SCOPED_TRACE(form.name);
        Canvas c(200, 30);
        SelectObject(c.dc, font);
        const int w = Width(c.dc, font, "WWWWWW");
        const int row = Metrics(c.dc, font).tmHeight - 1;
        struct Case {
            UINT format;
            RECT rect;
            int first, last;
        } cases[] = {
            {DT_RIGHT, {20, 0, 180, 20}, 180 - w, 179},
            {DT_CENTER, {20, 0, 180, 20}, (200 - w) / 2, (200 - w) / 2 + w - 1},
            {DT_RIGHT, {150, 0, 160, 20}, 150, 159},                // too wide: clipped to the rectangle
            {DT_RIGHT | DT_NOCLIP, {150, 0, 160, 20}, 160 - w, 159}, // ... unless told not to
        };
        for (const Case& k : cases) {
            c.Clear(RGB(255, 255, 255));
            RECT r = k.rect;
            form.draw(c.dc, "WWWWWW", &r, k.format | kSplit4, attrs, nullptr, nullptr);
            const Span s = ColourSpan(c, row, T[31]);
            EXPECT_EQ(std::pair(k.first, k.last), std::pair(s.first, s.last)) << k.format;
            HRGN rgn = CreateRectRgn(0, 0, 0, 0);
            EXPECT_EQ(0, GetClipRgn(c.dc, rgn)); // the clip region is put back
            DeleteObject(rgn);
        }
    }
    DeleteObject(font);
}

TEST(AttrText, ExtTextOutRuns) {
    HFONT font = Font(16);
    for (const Form& form : kForms) {
        SCOPED_TRACE(form.name);
        Canvas c(200, 40);
        SelectObject(c.dc, font);
        SetBkColor(c.dc, RGB(0, 0, 255));
        const int w = Width(c.dc, font, "A B");
        const int row = Metrics(c.dc, font).tmHeight - 1;
        // The space differs from its neighbours only in its background bit: it stays in their run.
        const TextAttr attrs[] = {0x05, 0x15, 0x05};
        EXPECT_EQ(3 + w, form.out(c.dc, 3, 2, kSplit4, nullptr, "A B", attrs, nullptr, nullptr));
        EXPECT_EQ(-1, ColourSpan(c, row + 2, T[31]).first);
        EXPECT_EQ(w, ColourSpan(c, row + 2, RGB(0, 0, 255)).count);

        // Opaque once over the rectangle in the first background colour; coordinates relative to it; clipped
        // output stops at its right edge.
        c.Clear(RGB(255, 255, 255));
        const TextAttr bg[] = {0x11, 0x11, 0x01, 0x01, 0x01};
        const RECT r = {50, 10, 60, 30};
        const int wAB = Width(c.dc, font, "AB");
        EXPECT_EQ(52 + wAB, form.out(c.dc, 2, 0, ETO_OPAQUE | ETO_CLIPPED | kAttrRelativeOrigin | kSplit4, &r,
                                     "ABCDE", bg, nullptr, nullptr));
        EXPECT_EQ((Span{50, 59, 10}), ColourSpan(c, 25, T[31]));
        EXPECT_EQ(Span{}, ColourSpan(c, 9, T[31]));
    }
    DeleteObject(font);
}

TEST(AttrText, ExtentsAcrossFontRuns) {
    FontSet fonts(16, 20, 16, 24);
    for (const Form& form : kForms) {
        SCOPED_TRACE(form.name);
        Canvas c(4, 4);
        const TextAttr attrs[] = {0x00, 0x00, 0xC0, 0xC0, 0xC0, 0x40};
        const int widths[] = {Width(c.dc, fonts.f[0], "ab"), Width(c.dc, fonts.f[3], "cde"),
                              Width(c.dc, fonts.f[1], "f")};
        const int total = widths[0] + widths[1] + widths[2];
        int dx[6] = {}, fit = -1;
        SIZE size = {};
        EXPECT_TRUE(form.extent(c.dc, "abcdef", 10000, &fit, dx, &size, attrs, fonts.f));
        EXPECT_EQ(std::tuple(6, total, Metrics(c.dc, fonts.f[3]).tmHeight), std::tuple(fit, size.cx, size.cy));
        EXPECT_EQ((std::vector<int>{widths[0], widths[0] + Width(c.dc, fonts.f[3], "c"), widths[0] + widths[1], total}),
                  (std::vector<int>{dx[1], dx[2], dx[4], dx[5]}));
        // Cut inside the second run: the third run counts for nothing.
        for (auto [max, fits] : {std::pair(dx[3], 4), std::pair(dx[1] - 1, 1)}) {
            EXPECT_TRUE(form.extent(c.dc, "abcdef", max, &fit, nullptr, nullptr, attrs, fonts.f));
            EXPECT_EQ(fits, fit) << max;
        }
    }
}

TEST(AttrText, TabbedWidthByHand) {
    HFONT font = Font(16);
    FontSet fonts(16, 20, 16, 16);
    for (const Form& form : kForms) {
        SCOPED_TRACE(form.name);
        Canvas c(4, 4);
        SelectObject(c.dc, font);
        auto w = [&](const char* s) { return Width(c.dc, font, s); };
        const int interval = 8 * Metrics(c.dc, font).tmAveCharWidth;
        const int x0 = 3, o = 5;
        auto step = [&](int x, int tabs, int every) { return ((x - o) / every + tabs) * every + o; };
        const int s4[] = {30, -90, 150, 200}, s40[] = {40}, sRight[] = {-90, 150}, sTight[] = {-25, 150};
        struct Case {
            const char* text;
            int count;
            const int* stops;
            int expected; // x reached
        } cases[] = {
            {"a\tbb\t\tccc", 0, nullptr, step(step(x0 + w("a"), 1, interval) + w("bb"), 2, interval) + w("ccc")},
            {"a\tbb\t\tccc", 1, s40, step(step(x0 + w("a"), 1, 40) + w("bb"), 2, 40) + w("ccc")},
            // First tab to stop 30; the pen has then passed 30, so two tabs take stop 150.
            {"a\tbb\t\tccc", 4, s4, o + 150 + w("ccc")},
            {"a\tbb", 2, sRight, o + 90},                                          // right-aligned at 90
            {"a\tWWW", 2, sTight, step(x0 + w("a"), 1, interval) + w("WWW")},       // no room left of 25
            {"\tx", 1, s40, o + 40 + w("x")},
        };
        for (const Case& k : cases)
            EXPECT_EQ(k.expected - x0, form.tabbed(c.dc, x0, k.text, nullptr, k.count, k.stops, o, nullptr))
                << k.text << " " << k.count;
        EXPECT_EQ(0, form.tabbed(c.dc, x0, "", nullptr, 0, nullptr, o, nullptr));
        // Runs break at font changes and are measured in their fonts; the DC's font stays.
        const TextAttr attrs[] = {0x00, 0x00, 0x40, 0x40};
        EXPECT_EQ(Width(c.dc, fonts.f[0], "ab") + Width(c.dc, fonts.f[1], "cd"),
                  form.tabbed(c.dc, x0, "abcd", attrs, 0, nullptr, o, fonts.f));
        EXPECT_EQ((HGDIOBJ)font, GetCurrentObject(c.dc, OBJ_FONT));
    }
    DeleteObject(font);
}
