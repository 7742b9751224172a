// Text widths and path shortening.
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
