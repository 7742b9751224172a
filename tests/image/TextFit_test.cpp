// Text widths, path shortening, border and splitter hit tests, splitter drawing and system-colour bitmaps.
#include "image/PackedDibBitmap.h"
#include "image/Splitter.h"
#include "image/TextFit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Compact(const char* path, int maxWidth, const uint8_t* table = nullptr, int headCount = 1,
                    int outSize = 260) {
    std::vector<char> out(outSize > 0 ? outSize : 1, '#');
    const int n = CompactPathToWidth(path, out.data(), outSize, maxWidth, table, headCount);
    EXPECT_EQ((int)strlen(out.data()), n);
    return out.data();
}

HFONT TestFont() { return CreateFontA(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial"); }

int MeasuredWidth(HFONT font, const std::string& text) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size = {};
    GetTextExtentPoint32A(dc, text.c_str(), (int)text.size(), &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return size.cx;
}

// A memory DC on a 32-bit DIB section, filled white.
struct Canvas {
    HDC dc;
    HBITMAP bitmap, old;
    uint32_t* bits;
    int w, h;
    Canvas(int width, int height) : w(width), h(height) {
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, (void**)&bits, nullptr, 0);
        old = (HBITMAP)SelectObject(dc, bitmap);
        for (int i = 0; i < w * h; ++i) bits[i] = 0xffffff;
    }
    ~Canvas() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    COLORREF At(int x, int y) const {
        const uint32_t v = bits[y * w + x];
        return RGB((v >> 16) & 255, (v >> 8) & 255, v & 255);
    }
};

} // namespace

TEST(TextFit, CompactPathWithoutTable) {
    EXPECT_EQ("C:\\...\\datei.txt", Compact("C:\\Programme\\Firma\\Werkzeug\\datei.txt", 16));
    EXPECT_EQ("C:\\Programme\\...\\datei.txt", Compact("C:\\Programme\\Firma\\Werkzeug\\datei.txt", 26));
    // After the head, directories are taken from the end.
    EXPECT_EQ("C:\\Programme\\...\\Werkzeug\\datei.txt", Compact("C:\\Programme\\Firma\\Werkzeug\\datei.txt", 35));
    EXPECT_EQ("C:\\a\\b\\...\\datei.txt", Compact("C:\\a\\b\\Firma\\Werkzeug\\datei.txt", 20, nullptr, 2));
    // A path that fits stays as it is, even when a shortened one would not be shorter.
    EXPECT_EQ("C:\\a\\b.txt", Compact("C:\\a\\b.txt", 10));
    EXPECT_EQ("\\\\srv\\...\\datei.txt", Compact("\\\\srv\\share\\Ordner\\datei.txt", 20));
    EXPECT_EQ("C:\\", Compact("C:\\", 1));
    // A final lone separator stays with the component before it; a part no wider than "...\\" stays.
    EXPECT_EQ("C:\\...\\ende\\\\", Compact("C:\\Programme\\ende\\\\", 15));
    EXPECT_EQ("C:\\a\\ende\\\\", Compact("C:\\a\\ende\\\\", 10));
    // Cut to the buffer.
    EXPECT_EQ("C:\\...", Compact("C:\\Programme\\Firma\\Werkzeug\\datei.txt", 16, nullptr, 1, 7));
    EXPECT_EQ("C", Compact("C:\\Programme\\datei.txt", 5, nullptr, 1, 2));
    char one[1] = {'#'};
    EXPECT_EQ(0, CompactPathToWidth("C:\\x", one, 1, 5, nullptr, 1));
    EXPECT_EQ(0, one[0]);
    // More than 31 components: the last one takes the rest.
    std::string deep = "C:";
    for (int i = 0; i < 40; ++i) deep += "\\d" + std::to_string(i);
    EXPECT_EQ("C:\\...\\d30\\d31\\d32\\d33\\d34\\d35\\d36\\d37\\d38\\d39", Compact(deep.c_str(), 45));
}

TEST(TextFit, CompactPathAgainstMeasuredFontWidths) {
    HFONT font = TestFont();
    uint8_t table[256];
    EXPECT_EQ(256, GetCharWidthTableFont(table, font));
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    INT widths[256];
    GetCharWidth32A(dc, 0, 255, widths);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    for (int c = 32; c < 256; ++c) ASSERT_EQ((uint8_t)widths[c], table[c]) << c;

    const char* path = "C:\\Programme\\Firma\\Werkzeug\\Unterordner\\datei.txt";
    const int full = MeasuredWidth(font, path);
    for (int maxWidth = full + 10; maxWidth > 0; maxWidth -= 7) {
        char out[260];
        CompactPathToWidth(path, out, sizeof out, maxWidth, table, 1);
        const std::string shown = out;
        // Whatever can be shortened fits; root, ellipsis and file name always stay.
        const int minimal = MeasuredWidth(font, "C:\\...\\datei.txt");
        if (maxWidth >= minimal) {
            EXPECT_LE(MeasuredWidth(font, shown), maxWidth) << shown;
        }
        EXPECT_EQ(0u, shown.find("C:\\"));
        EXPECT_EQ(shown.size() - 9, shown.rfind("datei.txt"));
        if (maxWidth >= full) {
            EXPECT_EQ(path, shown);
        }
    }
    // The prefix and suffix around the path come off the width first.
    char out[260];
    const char* text = "Ordner: C:\\Programme\\Firma\\Werkzeug\\datei.txt";
    const int prefix = TextWidthFromTable(text, table, 8);
    const int suffix = TextWidthFromTable(" (neu)", table, 6);
    CompactPathInText(text + 8, out, sizeof out, prefix + suffix + MeasuredWidth(font, "C:\\...\\datei.txt"), table, 1,
                      text, " (neu)", 6, 100);
    EXPECT_STREQ("C:\\...\\datei.txt", out);
    DeleteObject(font);
}

TEST(TextFit, TextWidths) {
    const uint8_t* none = nullptr;
    EXPECT_EQ(3, TextWidthFromTable("abc\rdef", none, 100));
    EXPECT_EQ(2, TextWidthFromTable("ab\ncd", none, 100));
    EXPECT_EQ(2, TextWidthFromTable("abcdef", none, 2));
    EXPECT_EQ(0, TextWidthFromTable("abc", none, 0));
    uint8_t table[256] = {};
    table['a'] = 7;
    table[0xe4] = 9;
    EXPECT_EQ(16, TextWidthFromTable("a\xe4", table, -1 + 3));

    HFONT font = TestFont();
    int height = -1;
    EXPECT_EQ(MeasuredWidth(font, "Wertlauf"), GetTextWidthFont("Wertlauf", font, -1, &height));
    EXPECT_GT(height, 0);
    EXPECT_EQ(MeasuredWidth(font, "Wert"), GetTextWidthFont("Wertlauf", font, 4, nullptr));
    EXPECT_EQ(0, GetTextWidthFont(nullptr, font, -1, &height));
    EXPECT_EQ(0, height);
    HWND label = CreateWindowA("STATIC", "", 0, 0, 0, 50, 20, nullptr, nullptr, nullptr, nullptr);
    SendMessageA(label, WM_SETFONT, (WPARAM)font, 0);
    EXPECT_EQ(MeasuredWidth(font, "Spiel"), GetTextWidthWnd("Spiel", label, -1, &height));
    DestroyWindow(label);
    uint8_t stock[256];
    EXPECT_EQ(256, GetCharWidthTableStock(stock, -1));
    EXPECT_GT(stock['W'], 0);
    DeleteObject(font);
}

TEST(TextFit, HitTestBorder) {
    const RECT r = {100, 100, 200, 200};
    HCURSOR cursor;
    EXPECT_EQ(kBorderTopLeft, HitTestBorder(r, 105, 105, 8, 0, &cursor));
    EXPECT_EQ(LoadCursor(nullptr, IDC_SIZENWSE), cursor);
    EXPECT_EQ(kBorderTop, HitTestBorder(r, 105, 105, 8, kBorderLeft, &cursor));
    EXPECT_EQ(LoadCursor(nullptr, IDC_SIZENS), cursor);
    EXPECT_EQ(kBorderNone, HitTestBorder(r, 150, 150, 8, 0, &cursor)); // inside the band's inner edge
    EXPECT_EQ(nullptr, cursor);
    EXPECT_EQ(kBorderNone, HitTestBorder(r, 95, 150, 8, 0, nullptr)); // outside the rectangle
    EXPECT_EQ(kBorderLeft, HitTestBorder(r, 95, 150, -8, 0, &cursor)); // a band on both sides
    EXPECT_EQ(LoadCursor(nullptr, IDC_SIZEWE), cursor);
    EXPECT_EQ(kBorderBottomRight, HitTestBorder(r, 199, 199, 0, 0, nullptr));
    EXPECT_EQ(kBorderNone, HitTestBorder(r, 150, 150, 0, 0, nullptr));
    EXPECT_EQ(kBorderTopRight, HitTestBorder(r, 181, 110, 0, 0, &cursor));
    EXPECT_EQ(LoadCursor(nullptr, IDC_SIZENESW), cursor);
    // A 30-pixel-wide rectangle has corner zones of 15.
    const RECT narrow = {0, 0, 30, 100};
    EXPECT_EQ(kBorderLeft, HitTestBorder(narrow, 14, 50, 0, 0, nullptr));
    EXPECT_EQ(kBorderRight, HitTestBorder(narrow, 15, 50, 0, 0, nullptr));
}

TEST(TextFit, SplitterGripAndBar) {
    EXPECT_TRUE(HitTestSplitterGrip(10, 100, 5, 10, 5));
    EXPECT_TRUE(HitTestSplitterGrip(10, 100, 5, 16, 23));
    EXPECT_FALSE(HitTestSplitterGrip(10, 100, 5, 17, 10));
    EXPECT_FALSE(HitTestSplitterGrip(10, 100, 5, 12, 24));
    EXPECT_TRUE(HitTestSplitterGrip(0, 100, kGripCentred | 0, 3, 41)); // 100 / 2 - 9
    EXPECT_FALSE(HitTestSplitterGrip(0, 100, kGripCentred | 0, 3, 40));
    EXPECT_TRUE(HitTestSplitterGrip(0, 100, kGripAtEnd | (uint16_t)-5, 3, 76)); // -5 + 100 - 19

    Canvas canvas(40, 60);
    SetBkColor(canvas.dc, RGB(1, 2, 3));
    EXPECT_EQ(RGB(1, 2, 3), DrawSplitterGripV(canvas.dc, 10, 60, 20));
    EXPECT_EQ(RGB(1, 2, 3), GetBkColor(canvas.dc));
    const COLORREF s = GetSysColor(COLOR_BTNSHADOW), l = GetSysColor(COLOR_3DLIGHT);
    auto channel = [](COLORREF c, int i) { return (int)((c >> (8 * i)) & 255); };
    COLORREF c1 = 0;
    for (int i = 0; i < 3; ++i) c1 |= (COLORREF)(channel(s, i) / 2 + channel(s, i) / 4) << (8 * i);
    EXPECT_EQ(c1, canvas.At(11, 20));
    EXPECT_EQ(c1, canvas.At(15, 38));
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(16, 30));
    EXPECT_EQ(l, canvas.At(14, 27)); // the arrow's long stroke at x + 4
    EXPECT_EQ(l, canvas.At(12, 29)); // and its tip at x + 2

    Canvas bar(30, 20);
    EXPECT_EQ(7, DrawSplitterBar(bar.dc, 5, 20, 1));
    EXPECT_EQ(l, bar.At(0, 5));
    EXPECT_EQ(RGB(255, 255, 255), bar.At(10, 6));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), bar.At(19, 8));
    EXPECT_EQ(s, bar.At(3, 10));
    EXPECT_EQ(RGB(0, 0, 0), bar.At(3, 11));
    EXPECT_EQ(RGB(255, 255, 255), bar.At(20, 8)); // the bar ends after its length
}

TEST(TextFit, BitmapFromPackedDibInSystemColours) {
    struct Dib32 {
        BITMAPINFOHEADER h;
        uint32_t pixels[4];
    } dib = {{sizeof(BITMAPINFOHEADER), 4, 1, 1, 32, BI_RGB, 0, 0, 0, 0, 0},
             {0x00808080, 0x00c0c0c0, 0x80ff0000, 0x00123456}};
    auto readBack = [](HBITMAP bitmap, int count) {
        std::vector<uint32_t> out(count);
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), count, 1, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        HDC dc = GetDC(nullptr);
        GetDIBits(dc, bitmap, 0, 1, out.data(), &info, DIB_RGB_COLORS);
        ReleaseDC(nullptr, dc);
        DeleteObject(bitmap);
        return out;
    };
    auto word = [](COLORREF c) { return (uint32_t)(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c)); };
    std::vector<uint32_t> got = readBack(CreateBitmapFromPackedDib(&dib, kDibMapSysGreys, nullptr), 4);
    EXPECT_EQ(word(GetSysColor(COLOR_BTNSHADOW)), got[0] & 0xffffff);
    EXPECT_EQ(word(GetSysColor(COLOR_BTNFACE)), got[1] & 0xffffff);
    EXPECT_EQ(0x123456u, got[3] & 0xffffff);
    got = readBack(CreateBitmapFromPackedDib(&dib, kDibPremultiply, nullptr), 4);
    EXPECT_EQ(0x800000u, got[2] & 0xffffff); // 255 * 128 / 255
    EXPECT_EQ(0u, got[3] & 0xffffff);        // alpha 0 clears the colour
    EXPECT_EQ(0x00808080u, dib.pixels[0]);   // the caller's DIB stays as it was

    struct Dib8 {
        BITMAPINFOHEADER h;
        uint32_t colours[2];
        uint8_t pixels[4];
    } indexed = {{sizeof(BITMAPINFOHEADER), 2, 1, 1, 8, BI_RGB, 0, 0, 0, 2, 0}, {0x00dfdfdf, 0x00010203}, {0, 1}};
    got = readBack(CreateBitmapFromPackedDib(&indexed, kDibMapSysGreys, nullptr), 2);
    EXPECT_EQ(word(GetSysColor(COLOR_3DLIGHT)), got[0] & 0xffffff);
    EXPECT_EQ(0x010203u, got[1] & 0xffffff);

    // Bit-field DIBs need not state their image size: the copy still holds every row GDI reads.
    struct DibFields {
        BITMAPINFOHEADER h;
        uint32_t masks[3];
        uint32_t pixels[4];
    } fields = {{sizeof(BITMAPINFOHEADER), 2, 2, 1, 32, BI_BITFIELDS, 0, 0, 0, 0, 0},
                {0xff0000, 0x00ff00, 0x0000ff},
                {0x80ff0000, 0xff00ff00, 0x000000ff, 0x40808080}};
    HBITMAP premultiplied = CreateBitmapFromPackedDib(&fields, kDibPremultiply, nullptr);
    ASSERT_NE(nullptr, premultiplied);
    std::vector<uint32_t> rows(4);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 2, 2, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(2, GetDIBits(screen, premultiplied, 0, 2, rows.data(), &info, DIB_RGB_COLORS));
    ReleaseDC(nullptr, screen);
    DeleteObject(premultiplied);
    EXPECT_EQ(0x800000u, rows[0] & 0xffffff);
    EXPECT_EQ(0x00ff00u, rows[1] & 0xffffff);
    EXPECT_EQ(0u, rows[2] & 0xffffff);
    EXPECT_EQ(0x202020u, rows[3] & 0xffffff); // 128 * 64 / 255

    dib.h.biSize = 108;
    EXPECT_EQ(nullptr, CreateBitmapFromPackedDib(&dib, 0, nullptr));
    EXPECT_EQ(nullptr, CreateBitmapFromPackedDib(nullptr, 0, nullptr));
}
