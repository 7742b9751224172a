// The message interface of the "TreeList" control: settings with their limits, the colour table, user colour
// slots, options, user data, unlisted numbers, dialog codes and focus notifications.
#include <gtest/gtest.h>

#include "treelist/control/TreeListColours.h"
#include "treelist/control/TreeListTestSupport.h"

using namespace tltest;

TEST(TreeListMessages, SettingsAreClampedAndReturnTheOldValue) {
    TreeListRig rig;
    const struct { UINT set, get; WPARAM wp; LPARAM lp; LRESULT stored; } cases[] = {
        {TVM_SETINDENT, TVM_GETINDENT, 2, 0, 5},
        {TVM_SETINDENT, TVM_GETINDENT, 100, 0, 64},
        {TVM_SETINDENT, TVM_GETINDENT, 30, 0, 30},
        {TVM_SETEXTENDEDSTYLE, TVM_GETEXTENDEDSTYLE, 0, 0x8000A, 0x8000A},
        {TVM_SETEXTENDEDSTYLE, TVM_GETEXTENDEDSTYLE, 0x8, 0, 0x80002},
    };
    for (const auto& c : cases) {
        const LRESULT before = rig.Send(c.get);
        EXPECT_EQ(rig.Send(c.set, c.wp, c.lp), before);
        EXPECT_EQ(rig.Send(c.get), c.stored) << std::hex << c.set << " " << c.wp;
    }
}

TEST(TreeListMessages, ColourTable) {
    TreeListRig rig;
    EXPECT_EQ(rig.Send(TVM_GETBKCOLOR, 18), -1);
    EXPECT_EQ(rig.Send(TVM_SETBKCOLOR, 18, RGB(1, 2, 3)), -1);
    EXPECT_EQ(rig.Send(TVM_GETBKCOLOR, 0), static_cast<LRESULT>(GetSysColor(COLOR_WINDOW)));
    const LRESULT grid = rig.Send(TVM_GETBKCOLOR, 3);
    EXPECT_EQ(rig.Send(TVM_SETBKCOLOR, 3, RGB(9, 8, 7)), grid);
    EXPECT_EQ(rig.Send(TVM_GETBKCOLOR, 3), RGB(9, 8, 7));
    rig.Send(TVM_SETBKCOLOR, 3, static_cast<LPARAM>(CLR_INVALID));
    EXPECT_EQ(rig.Send(TVM_GETBKCOLOR, 3), grid);
    // The tree-view colour messages set entries of the table.
    for (auto [set, entry] :
         {std::pair(UINT(TVM_SETTEXTCOLOR), 4), {TVM_SETLINECOLOR, 5}, {TVM_SETINSERTMARKCOLOR, 10}}) {
        rig.Send(set, 0, RGB(entry, 1, 1));
        EXPECT_EQ(rig.Send(TVM_GETBKCOLOR, entry), RGB(entry, 1, 1)) << entry;
    }
    EXPECT_EQ(rig.Send(TVM_GETTEXTCOLOR), RGB(4, 1, 1));
    // Colours derived from a set one follow it: the selected even rows mix colour 2 with the highlight.
    rig.Send(TVM_SETBKCOLOR, 2, RGB(0, 0, 0));
    const COLORREF h = GetSysColor(COLOR_HIGHLIGHT);
    EXPECT_EQ(rig.Send(TVM_GETBKCOLOR, 9), RGB(GetRValue(h) >> 3, GetGValue(h) >> 3, GetBValue(h) >> 3));
}

TEST(TreeListMessages, DerivedColours) {
    TreeListSysColours sys = {RGB(0x20, 0x30, 0x05), RGB(0x20, 0x30, 0x06), RGB(0xF0, 0xF0, 0xF0),
                              RGB(0, 0, 0),          RGB(0x80, 0x80, 0x80), RGB(0x00, 0x78, 0xD7),
                              RGB(0xC8, 0xC8, 0xC8), RGB(0xF0, 0xF2, 0xF4)};
    bool set[kTreeListColours] = {};
    COLORREF c[kTreeListColours] = {};
    DeriveColours(sys, set, c);
    // Info colour too close to the window colour: the window colour with blue lowered, never below 0.
    EXPECT_EQ(c[1], RGB(0x20, 0x30, 0x00));
    EXPECT_EQ(c[7], RGB(0, 0, 0xFF));
    EXPECT_EQ(c[12], RGB(0x15, 0x25, 0x05));  // darkened: only channels with a high nibble
    EXPECT_EQ(c[16], RGB(0x78, 0x79, 0x7A));
    EXPECT_EQ(c[15], RGB(0x32 + 0x18, 0x32 + 0x24, 0x32 + 0x03));
    EXPECT_EQ(c[17], RGB(0xB4, 0xB4 + 0x1E, 0xB4 + 0x35));
    set[2] = true;
    c[2] = RGB(200, 200, 200);
    DeriveColours(sys, set, c);
    EXPECT_EQ(c[1], RGB(0x20, 0x30, 0x06));  // far enough now
    EXPECT_EQ(c[9], RGB(25 * 7, 25 * 7 + 0x0F, 25 * 7 + 0x1A));
}

TEST(TreeListMessages, UserColourSlots) {
    TreeListRig rig;
    EXPECT_EQ(rig.Send(TLM_USERCOLOR, 32, RGB(1, 1, 1)), -1);
    EXPECT_EQ(rig.Send(TLM_USERCOLOR, 3, RGB(1, 1, 1)), -1);
    EXPECT_EQ(rig.Send(TLM_USERCOLOR, MAKEWPARAM(3, 2), RGB(5, 5, 5)), RGB(1, 1, 1));  // read only
    EXPECT_EQ(rig.Send(TLM_USERCOLOR, MAKEWPARAM(3, 1), RGB(2, 2, 2)), RGB(1, 1, 1));
    EXPECT_EQ(rig.Send(TLM_USERCOLOR, MAKEWPARAM(3, 2), 0), RGB(2, 2, 2));
}

TEST(TreeListMessages, Options) {
    TreeListRig one, two;
    const LRESULT proc = one.Send(TLM_OPTION, TLO_WINDOWPROC);
    EXPECT_EQ(proc, two.Send(TLM_OPTION, TLO_WINDOWPROC));
    EXPECT_EQ(proc, static_cast<LRESULT>(GetClassLongPtrA(one.tree, GCLP_WNDPROC)));
    EXPECT_EQ(one.Send(TLM_OPTION, kTreeListSetOption | TLO_WINDOWPROC, 5), proc);
    const struct { WPARAM option; LPARAM value; LRESULT stored; } cases[] = {
        {TLO_EXPANDEDIMAGEOFFSET, 3, 3}, {TLO_PINNEDSEPARATOR, 7, static_cast<LRESULT>(0x80000000)},
        {TLO_CLICKTIME, 0x1FF, -1}, {TLO_OPTION13, 0x1234, 0x34}, {TLO_JOINCOLUMNS, 0x12345, 0x2345},
        {TLO_OPTION16, 9, 1}, {TLO_DRAWCONTEXT, -5, -5}};
    EXPECT_EQ(one.Send(TLM_OPTION, TLO_EXPANDEDIMAGEOFFSET), 1);
    EXPECT_EQ(one.Send(TLM_OPTION, TLO_OPTION13), 3);
    for (const auto& c : cases) {
        one.Send(TLM_OPTION, kTreeListSetOption | c.option, c.value);
        EXPECT_EQ(one.Send(TLM_OPTION, c.option), c.stored) << c.option;
    }
    for (WPARAM bad : {0u, 17u, 1000u}) {
        EXPECT_EQ(one.Send(TLM_OPTION, kTreeListSetOption | bad, 4), 0);
        EXPECT_EQ(one.Send(TLM_OPTION, bad), 0);
    }
}

TEST(TreeListMessages, UserDataOnlyWhileEmpty) {
    TreeListRig rig;
    EXPECT_EQ(rig.Send(TLM_SETUSERDATASIZE, 0, 16777217), 0);
    EXPECT_EQ(rig.Send(TLM_SETUSERDATASIZE, 0, 24), 1);
    EXPECT_EQ(rig.Send(TLM_GETUSERDATASIZE), 24);
    const UINT_PTR item = rig.Insert("x");
    auto* data = reinterpret_cast<BYTE*>(rig.Send(TLM_GETUSERDATA, 0, static_cast<LPARAM>(item)));
    ASSERT_TRUE(data);
    for (int i = 0; i < 24; ++i) EXPECT_EQ(data[i], 0);
    memset(data, 0xAB, 24);
    EXPECT_EQ(rig.Send(TLM_SETUSERDATASIZE, 0, 8), 0);
    EXPECT_EQ(rig.Send(TLM_SETITEMPARAM, 42, static_cast<LPARAM>(item)), 1);
    EXPECT_EQ(rig.Send(TLM_SETITEMPARAM, 42, 999), 0);
    EXPECT_EQ(std::pair(rig.Send(TLM_GETITEMPARAM, 0, static_cast<LPARAM>(item)), rig.Text(item)),
              std::pair(LRESULT(42), std::string("x")));
}

TEST(TreeListMessages, UnlistedNumbersGoToTheDefaultProcedure) {
    TreeListRig rig;
    rig.Insert("x");
    for (UINT msg : {0x1103u, 0x1121u, 0x112Au, 0x1132u, 0x1162u, 0x1166u, 0x116Eu, 0x1170u, 0x117Bu})
        EXPECT_EQ(rig.Send(msg, 1, 0), DefWindowProcA(rig.tree, msg, 1, 0)) << std::hex << msg;
    for (auto [msg, wp] : {std::pair(UINT(TVM_GETIMAGELIST), WPARAM(6)),
                           {TVM_SETIMAGELIST, 0x40000007},
                           {TVM_GETIMAGELIST, 1},
                           {TVM_GETITEMSTATE, 999}})
        EXPECT_EQ(rig.Send(msg, wp, 0), 0) << std::hex << msg << " " << wp;
    EXPECT_EQ(rig.Count(), 1);
}

TEST(TreeListMessages, DialogCodesAndFocus) {
    TreeListRig rig;
    EXPECT_EQ(rig.Send(WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS | DLGC_WANTCHARS);
    for (auto [key, code] : {std::pair(VK_RETURN, DLGC_WANTALLKEYS), {VK_ESCAPE, DLGC_WANTARROWS | DLGC_WANTCHARS}}) {
        MSG m = {rig.tree, WM_KEYDOWN, static_cast<WPARAM>(key), 0, 0, {0, 0}};
        EXPECT_EQ(rig.SendWith(WM_GETDLGCODE, 0, &m), code) << key;
    }
    rig.Clear();
    rig.Send(WM_SETFOCUS);
    rig.Send(WM_KILLFOCUS);
    EXPECT_EQ(rig.Codes(), (std::vector<UINT>{NM_SETFOCUS, NM_KILLFOCUS}));
    EXPECT_EQ(rig.log[0].hdr.idFrom, 77u);
}

TEST(TreeListMessages, CellColoursCheckTheColumn) {
    TreeListRig rig;
    rig.AddColumns({50, 50, 50});
    const UINT_PTR item = rig.Insert("x");
    for (WPARAM bad : {item | (3 << 24), WPARAM(999 | (1 << 24))})
        EXPECT_EQ(rig.Send(TLM_SETCELLTEXTCOLOR, bad, RGB(1, 1, 1)), -1);
    EXPECT_EQ(rig.Send(TLM_GETCELLTEXTCOLOR, item, 3), -1);
    EXPECT_EQ(rig.Send(TLM_SETCELLBKCOLOR, item | (255u << 24), RGB(4, 5, 6)), 1);
    for (int c = 0; c < 3; ++c) EXPECT_EQ(rig.Send(TLM_GETCELLBKCOLOR, item, c), RGB(4, 5, 6)) << c;
    TreeListCellColour record = {0, 2, {0, 0}, RGB(7, 7, 7)};
    EXPECT_EQ(rig.SendWith(TLM_SETCELLCOLOR, item, &record), 1);
    EXPECT_EQ(rig.Send(TLM_GETCELLTEXTCOLOR, item, 2), RGB(7, 7, 7));
    EXPECT_EQ(rig.Send(TLM_SETCELLTEXTCOLOR, item | (2 << 24), static_cast<LPARAM>(CLR_INVALID)), 1);
    EXPECT_EQ(rig.Send(TLM_GETCELLTEXTCOLOR, item, 2), -1);
}
