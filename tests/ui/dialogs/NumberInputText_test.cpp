#include "ui/dialogs/InputDialogTemplates.h"
#include "ui/dialogs/NumberInputText.h"

#include <gtest/gtest.h>

#include <string>

TEST(NumberInputText, FormatsEveryNotation) {
    EXPECT_STREQ(FormatNumberInput(26, 0), "26");
    EXPECT_STREQ(FormatNumberInput(26, 1), "0x1A");
    EXPECT_STREQ(FormatNumberInput(26, 2), "0b11010");
    EXPECT_STREQ(FormatNumberInput(26, 3), "0o32");
    EXPECT_STREQ(FormatNumberInput(26, 4), "1Ah");
    EXPECT_STREQ(FormatNumberInput(26, 5), "11010b");
    EXPECT_STREQ(FormatNumberInput(26, 6), "32o");
    EXPECT_STREQ(FormatNumberInput(-1, 4), "FFFFFFFFh");
    EXPECT_STREQ(FormatNumberInput(-5, 0), "-5");
    EXPECT_STREQ(FormatNumberInput(5, 9), "5");
    EXPECT_STREQ(FormatNumberInput(-5, 9), "4294967291");
    EXPECT_STREQ(FormatNumberInput(INT32_MIN, 0), "-2147483648");
    EXPECT_STREQ(FormatNumberInput(0, 2), "0b0");
}

TEST(NumberInputText, ParsesPrefixesSuffixesAndSigns) {
    struct Case {
        const char* text;
        int32_t value;
    } cases[] = {
        {" -0x1f", -31}, {"1Fh", 31},  {"17o", 15},   {"101b", 5},  {"0b", 0},          {"+12", 12},
        {"12abc", 12},   {"- 5", -5},  {"\t42", 42},  {"", 0},      {"abc", 0},         {"0O17", 15},
        {"0B101", 5},    {"FFh", 255}, {"19o", 19},   {"12b", 12},  {"99999999999", -1}, {"-0x80000000", INT32_MIN},
        {"0x", 0},       {"1000", 1000},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseNumberInput(c.text), c.value) << '"' << c.text << '"';
    EXPECT_EQ(ParseNumberInput(nullptr), 0);
}

namespace {

// Walks a classic dialog template: returns the words after a NUL-terminated UTF-16 text.
const WORD* SkipText(const WORD* p, std::u16string* text) {
    while (*p) text->push_back(static_cast<char16_t>(*p++));
    return p + 1;
}

}  // namespace

TEST(InputDialogTemplates, HoldTheFourControlsInTabOrder) {
    for (bool password : {false, true}) {
        const DLGTEMPLATE* t = password ? PasswordInputDialogTemplate() : InputDialogTemplate();
        ASSERT_EQ(reinterpret_cast<uintptr_t>(t) % 4, 0u);
        EXPECT_EQ(t->style, 0x80C800C0u);
        EXPECT_EQ(t->cdit, 4);
        EXPECT_EQ(t->cx, 232);
        EXPECT_EQ(t->cy, 58);
        const WORD* p = reinterpret_cast<const WORD*>(t + 1);
        EXPECT_EQ(p[0], 0);  // menu
        EXPECT_EQ(p[1], 0);  // class
        std::u16string title, font;
        p = SkipText(p + 2, &title);
        EXPECT_EQ(title, u"Dateinamen eingeben");
        EXPECT_EQ(*p, 8);
        p = SkipText(p + 1, &font);
        EXPECT_EQ(font, u"MS Sans Serif");

        const struct {
            DWORD style;
            short x, y, cx, cy;
            WORD id, atom;
            const char16_t* text;
        } expected[4] = {
            {password ? 0x508100A0u : 0x50810080u, 5, 15, 220, 13, 1008, 0x81, u""},
            {0x50010001, 120, 35, 50, 14, 1, 0x80, u"OK"},
            {0x50010000, 175, 35, 50, 14, 2, 0x80, u"Abbrechen"},
            {0x50020000, 5, 5, 220, 8, 1034, 0x82, u""},
        };
        for (const auto& e : expected) {
            if (reinterpret_cast<uintptr_t>(p) % 4) ++p;
            const DLGITEMTEMPLATE* item = reinterpret_cast<const DLGITEMTEMPLATE*>(p);
            EXPECT_EQ(item->style, e.style);
            EXPECT_EQ(item->x, e.x);
            EXPECT_EQ(item->y, e.y);
            EXPECT_EQ(item->cx, e.cx);
            EXPECT_EQ(item->cy, e.cy);
            EXPECT_EQ(item->id, e.id);
            p = reinterpret_cast<const WORD*>(item + 1);
            EXPECT_EQ(p[0], 0xFFFF);
            EXPECT_EQ(p[1], e.atom);
            std::u16string text;
            p = SkipText(p + 2, &text);
            EXPECT_EQ(text, e.text);
            EXPECT_EQ(*p++, 0);  // creation data
        }
    }
}
