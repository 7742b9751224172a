#include "framework/DialogTemplateWriter.h"
#include "ui/msgbox/MsgBoxButtons.h"
#include "ui/msgbox/MsgBoxLayout.h"
#include "ui/msgbox/MsgBoxText.h"
#include "ui/shared/UiStrings.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace {

using Ids = std::vector<int>;

// Ten pixels a character; a tab counts as forty.
int FakeWidth(const wchar_t* text, const BYTE*, int length) {
    int width = 0;
    for (int i = 0; i < length; ++i) width += text[i] == L'\t' ? 40 : 10;
    return width;
}

std::pair<LONG, LONG> Size(const RECT& r) { return {r.right - r.left, r.bottom - r.top}; }

// Each line's text, attributes and marker.
using Line = std::tuple<std::wstring, std::vector<BYTE>, MsgBoxMarker>;
std::vector<Line> Decoded(const std::vector<MsgBoxLine>& lines) {
    std::vector<Line> out;
    for (const MsgBoxLine& l : lines) out.emplace_back(l.text, l.attrs, l.marker);
    return out;
}

std::vector<std::wstring> Texts(const std::vector<MsgBoxLine>& lines) {
    std::vector<std::wstring> out;
    for (const MsgBoxLine& l : lines) out.push_back(l.text);
    return out;
}

}  // namespace

TEST(MsgBoxButtons, SetsWithNeverAlwaysAndHelp) {
    struct Case {
        UINT style;
        Ids ids;
    } cases[] = {
        {0, {IDOK}},
        {1, {IDOK, IDCANCEL}},
        {1 | 0x8, {IDOK, 13, IDCANCEL}},
        {1 | 0x8 | 0x800, {IDOK, 13, 15, IDCANCEL}},
        {2 | 0x8, {IDABORT, IDRETRY, IDIGNORE, 13}},
        {3 | 0x800, {IDYES, IDNO, 15, IDCANCEL}},
        {4 | 0x4000, {IDYES, IDNO, IDHELP}},
        {5, {IDRETRY, IDCANCEL}},
        {6 | 0x8 | 0x4000, {IDCANCEL, IDTRYAGAIN, IDCONTINUE, 13, IDHELP}},
        {7, {IDOK}},
        {0x2000 | 0x800, {IDOK, 15}},  // 0x800 and 0x2000 are no button set and no default index
    };
    for (const Case& c : cases) EXPECT_EQ(MsgBoxButtons(c.style), c.ids) << std::hex << c.style;
    EXPECT_EQ(MsgBoxDefaultIndex(0x200 | 0x800 | 1), 2);
    for (UINT style : {4u | 0x4000, 2u, 3u}) EXPECT_EQ(MsgBoxCannotClose(MsgBoxButtonSet(style)), style != 3) << style;
    // Every button has a text, from the system or from the fallbacks.
    for (int id : {1, 2, 3, 4, 5, 6, 7, 9, 10, 11}) EXPECT_FALSE(MsgBoxButtonText(id).empty()) << id;
    EXPECT_EQ(MsgBoxButtonText(13) + L"," + MsgBoxButtonText(15), L"Niemals,Immer");
}

TEST(MsgBoxText, ControlCodesGiveAttributesAndMarkerLines) {
    const std::vector<MsgBoxLine> lines =
        DecodeMessageText(L"\x01" L"a\x0B" L"b\x07" L"c\x0E\x07" L"d\tz\x08\n" L"x\r\n\r" L"y\x0C\n" L"z\x08" L"w",
                          nullptr);
    // The underline line resets the attribute.
    const MsgBoxMarker none = MsgBoxMarker::None;
    EXPECT_EQ(Decoded(lines), (std::vector<Line>{{L"abcd\tz", {4, 0x44, 0, 10, 10, 10}, none},
                                                 {L"_", {0}, MsgBoxMarker::Underline}, {L"x", {0}, none},
                                                 {L"", {}, none}, {L"y", {0}, none},
                                                 {L"\x9F", {0}, MsgBoxMarker::Separator}, {L"zw", {0, 0x40}, none}}));
    // With attributes the text is taken as it is, split at CR, LF and CR LF.
    const BYTE attrs[] = {1, 2, 0, 0, 3, 0, 4};
    EXPECT_EQ(Decoded(DecodeMessageText(L"a\x01\r\nb\nc", attrs)),
              (std::vector<Line>{{L"a\x01", {1, 2}, none}, {L"b", {3}, none}, {L"c", {4}, none}}));
    EXPECT_TRUE(DecodeMessageText(L"", nullptr).empty());
}

TEST(MsgBoxText, LinesBreakAtBlanksOrLoseTenCharactersAtATime) {
    const std::vector<MsgBoxLine> lines = DecodeMessageText(
        L"eins zwei drei vier\n" + std::wstring(60, L'x') + L"\nkurz   \n\xA0\xA0lang wort\x08\nende", nullptr);
    const BrokenText b = BreakMessageLines(lines, 100, FakeWidth);
    EXPECT_EQ(Texts(b.lines),
              (std::vector<std::wstring>{L"eins zwei", L"drei vier", std::wstring(30, L'x'), std::wstring(30, L'x'),
                                         L"kurz   ", L"\xA0\xA0lang", L"wort", L"_", L"ende"}));
    EXPECT_TRUE(b.scrolling);
    EXPECT_EQ(b.widest, 100);  // the x lines (300 pixels) count as the widest allowed
    EXPECT_EQ(b.lines[7].width, 40);  // the underline takes the width of its line
    // A line of exactly the width fits; 32 characters or fewer are never cut blindly.
    const BrokenText exact = BreakMessageLines(DecodeMessageText(L"0123456789", nullptr), 100, FakeWidth);
    EXPECT_EQ(Texts(exact.lines), (std::vector<std::wstring>{L"0123456789"}));
    EXPECT_FALSE(exact.scrolling);
    const BrokenText narrow = BreakMessageLines(DecodeMessageText(std::wstring(12, L'y'), nullptr), 100, FakeWidth);
    EXPECT_EQ(Texts(narrow.lines), (std::vector<std::wstring>{std::wstring(12, L'y')}));
    EXPECT_TRUE(narrow.scrolling);
}

TEST(MsgBoxLayout, MinimumSizesAndACentredButtonRow) {
    MsgBoxMetrics m;
    m.widest = 20;
    m.lineCount = 1;
    m.lineHeight = 16;
    m.hasIcon = true;
    m.buttonCount = 2;
    m.buttonText = {40, 14};
    m.scrollArrowWidth = 17;
    m.work = {0, 0, 1000, 700};
    MsgBoxLayout l = LayOutMessageBox(m);
    EXPECT_EQ(Size(l.textArea), std::pair(100L, 40L));
    EXPECT_EQ(Size(l.text).first, 45);  // 20 + 17 + 8, centred
    EXPECT_EQ(l.text.left - l.textArea.left, (100 - 45) / 2);
    ASSERT_EQ(l.buttons.size(), 2u);
    EXPECT_EQ(Size(l.buttons[0]), std::pair(80L, 32L));
    EXPECT_EQ(l.buttons[0].left - 0, l.client.cx - l.buttons[1].right);  // centred
    EXPECT_GE(l.buttons[0].left, 24);
    EXPECT_EQ(MsgBoxMaxTextWidth(m.work), 600);
    EXPECT_EQ(MsgBoxMaxTextWidth({0, 0, 1000, 500}), 500);
    // Too many lines: the text stops at 4/5 of the work area less 80 and scrolls.
    m.lineCount = 100;
    l = LayOutMessageBox(m);
    EXPECT_EQ(Size(l.text).second, 700 * 4 / 5 - 80);
    EXPECT_TRUE(l.scrolling);
    m.buttonText = {100, 30};
    l = LayOutMessageBox(m);
    EXPECT_EQ(Size(l.buttons[1]), std::pair(120L, 40L));
}

TEST(MsgBoxLayout, TemplateItemsOnFourByteBoundaries) {
    MsgBoxTemplateInput in;
    in.exStyle = WS_EX_TOPMOST;
    in.caption = L"Titel";
    in.text = L"Text";
    in.buttons = {IDOK, 13, IDCANCEL};
    in.buttonTexts = {L"OK", L"Niemals", L"Abbrechen"};
    in.defaultIndex = 1;
    in.hasIcon = true;
    in.layout.client = {300, 120};
    in.layout.buttons = {{10, 80, 90, 112}, {100, 80, 180, 112}, {190, 80, 270, 112}};
    in.baseUnits = MAKELONG(8, 16);
    const std::vector<WORD> words = BuildMsgBoxTemplate(in);
    const auto* t = reinterpret_cast<const DLGTEMPLATE*>(words.data());
    EXPECT_EQ((std::vector<DWORD>{t->style, t->dwExtendedStyle, t->cdit, (DWORD)t->cx, (DWORD)t->cy}),
              (std::vector<DWORD>{0x94C80980u, 0x10101u | WS_EX_TOPMOST, 5, 150, 60}));
    const WORD* p = reinterpret_cast<const WORD*>(t + 1) + 2;  // no menu, default class
    std::wstring title;
    while (*p) title.push_back(static_cast<wchar_t>(*p++));
    EXPECT_EQ(title, L"Titel");
    ++p;  // no font follows
    using Item = std::tuple<DWORD, WORD, std::wstring>;  // style, id, text
    std::vector<Item> items;
    for (int i = 0; i < t->cdit; ++i) {
        if ((p - words.data()) % 2) ++p;  // items start on 4-byte boundaries
        const auto* item = reinterpret_cast<const DLGITEMTEMPLATE*>(p);
        Item it = {item->style, item->id, L""};
        p = reinterpret_cast<const WORD*>(item + 1);
        EXPECT_EQ(p[0], 0xFFFF);
        p += 2;
        while (*p) std::get<2>(it).push_back(static_cast<wchar_t>(*p++));
        p += 2;  // the NUL and the creation data size
        items.push_back(it);
    }
    EXPECT_EQ(items, (std::vector<Item>{{0x54000080, kMsgBoxTextId, L"Text"}, {0x50000003, kMsgBoxIconId, L""},
                                        {0x50010000, IDOK, L"OK"}, {0x50010001, 13, L"Niemals"},
                                        {0x50010000, IDCANCEL, L"Abbrechen"}}));
    EXPECT_EQ(static_cast<size_t>(p - words.data()), words.size());
}

TEST(UiStrings, DefaultsInBothFormsAndNullForUnknownIds) {
    int length = 0;
    EXPECT_STREQ(GetUIStringA(nullptr, kUiSelectAll, &length), "&Alles auswählen");
    EXPECT_EQ(length, 16);
    EXPECT_STREQ(GetUIStringW(nullptr, kUiDeleteLine, &length), L"Zeile löschen");
    EXPECT_EQ(length, 13);
    length = -5;
    EXPECT_EQ(GetUIStringA(nullptr, 1286, &length), nullptr);
    EXPECT_EQ(GetUIStringW(nullptr, 1299, &length), nullptr);
    EXPECT_EQ(length, -5);
    FreeUIStrings();
    EXPECT_STREQ(GetUIStringA(nullptr, kUiInformation, nullptr), "Information");  // built again
}
