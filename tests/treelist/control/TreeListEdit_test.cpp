// In-place editing of the "TreeList" control end to end: begin, type, and end by Return, by focus loss or by
// Escape, with the notifications and the stored text; the parent's refusals; editor sizes; column editors with
// their lists; paste; and an item that goes away while it is edited.
#include <gtest/gtest.h>

#include "tests/support/ClipboardTestLock.h"
#include "treelist/control/TreeListTestSupport.h"

#include <string>
#include <tuple>

using namespace tltest;

namespace {

constexpr UINT kReturnBit = 0x10000000, kChangedBit = 0x20000000;

struct Editing {
    TreeListRig rig;
    UINT_PTR item;
    explicit Editing(const char* text = "Old", DWORD style = TVS_HASLINES | TVS_EDITLABELS)
        : rig(style, 300, 200) {
        item = rig.Insert(text);
        SetFocus(rig.tree);
        rig.Clear();
    }
    static void Type(HWND editor, const char* text) {
        for (const char* c = text; *c; ++c) SendMessageA(editor, WM_CHAR, static_cast<unsigned char>(*c), 1);
    }
    static void Key(HWND window, WPARAM key) { SendMessageA(window, WM_KEYDOWN, key, 1); }
    const Notification* Last(UINT code) const { return rig.Last(code); }
    // Double-clicks a cell dx pixels in; the editor that opened (null when none).
    HWND DoubleClickCell(int column, int dx = 3) const {
        const POINT p = rig.InCell(item, column, dx);
        rig.Mouse(WM_LBUTTONDBLCLK, p.x, p.y);
        return Open(-1);
    }
    // TVM_EDITLABELA for the item (or another one); -1 reads the open editor.
    HWND Open(INT_PTR which = 0) const {
        if (which < 0) return reinterpret_cast<HWND>(rig.Send(TVM_GETEDITCONTROL));
        return reinterpret_cast<HWND>(rig.Send(TVM_EDITLABELA, 0, static_cast<LPARAM>(which ? which : item)));
    }
    HWND Editor() const { return GetDlgItem(rig.tree, 3); }
};

}  // namespace

TEST(TreeListEdit, EndToEndByReturnFocusLossAndEscape) {
    // Ended by Return (0), focus loss (1) or Escape (2): the text stored and the bits of the end record.
    const struct { const char* name; int end; const char* stored; UINT bits; } cases[] = {
        {"Return", 0, "New", kReturnBit | kChangedBit}, {"focus", 1, "New", kChangedBit}, {"Escape", 2, "Old", 0}};
    for (const auto& c : cases) {
        Editing e;
        HWND editor = e.Open();
        ASSERT_TRUE(editor) << c.name;
        EXPECT_TRUE(IsWindowVisible(editor));
        EXPECT_EQ(e.Open(-1), editor);
        ASSERT_EQ(e.rig.CountOf(TVN_BEGINLABELEDITA), 1);
        EXPECT_EQ(e.Last(TVN_BEGINLABELEDITA)->text, "Old");
        Editing::Type(editor, "New");
        if (c.end == 0) Editing::Key(editor, VK_RETURN);
        if (c.end == 1) SetFocus(e.rig.parent);
        if (c.end == 2) Editing::Key(editor, VK_ESCAPE);
        ASSERT_EQ(e.rig.CountOf(TVN_ENDLABELEDITA), 1) << c.name;
        const Notification& n = *e.Last(TVN_ENDLABELEDITA);
        EXPECT_TRUE(c.end != 2 || n.disp.item.mask == 0x100801Cu) << std::hex << n.disp.item.mask;
        EXPECT_EQ(std::tuple(n.disp.item.mask & (kReturnBit | kChangedBit), n.text, e.rig.Text(e.item)),
                  std::tuple(c.bits, std::string(c.end == 2 ? "" : "New"), std::string(c.stored))) << c.name;
        EXPECT_EQ(reinterpret_cast<UINT_PTR>(n.disp.item.hItem), e.item);
        EXPECT_FALSE(IsWindowVisible(editor));
        EXPECT_EQ(e.Open(-1), nullptr);
    }
}

TEST(TreeListEdit, TheParentMayRefuseOrKeepTheText) {
    Editing e;
    // TVN_BEGINLABELEDITA answered non-zero: no editor, and none left behind.
    e.rig.answer = [](NMHDR* h) { return h->code == TVN_BEGINLABELEDITA ? 1 : 0; };
    EXPECT_EQ(e.Open(), nullptr);
    EXPECT_EQ(e.Editor(), nullptr);
    EXPECT_EQ(e.Open(-1), nullptr);
    // TVN_ENDLABELEDITA answered non-zero: the text stays.
    e.rig.answer = [](NMHDR* h) { return h->code == TVN_ENDLABELEDITA ? 1 : 0; };
    HWND editor = e.Open();
    Editing::Type(editor, "Refused");
    Editing::Key(editor, VK_RETURN);
    EXPECT_EQ(e.rig.Text(e.item), "Old");
    // Without TVS_EDITLABELS nothing opens.
    Editing plain("Old", TVS_HASLINES);
    EXPECT_EQ(plain.Open(), nullptr);
    EXPECT_EQ(plain.rig.CountOf(TVN_BEGINLABELEDITA), 0);
}

TEST(TreeListEdit, TheEditorIsAnsweredWhileTheParentIsAskedToBegin) {
    Editing e;
    HWND during = nullptr;
    e.rig.answer = [&e, &during](NMHDR* h) -> LRESULT {
        if (h->code == static_cast<UINT>(TVN_BEGINLABELEDITA)) during = e.Open(-1);
        return 0;
    };
    HWND editor = e.Open();
    ASSERT_TRUE(editor);
    EXPECT_EQ(during, editor);
}

TEST(TreeListEdit, EditRequestChoosesTheEditorAndItsSize) {
    const int scroll = GetSystemMetrics(SM_CXHSCROLL);
    // The parent's answer, the editor's width (0: no editor) and class.
    const struct { LRESULT answer; int width; const char* cls; } cases[] = {
        {0, 0, ""}, {1, 48, "Edit"}, {0x20000000, 60 + scroll, "ComboBox"}};
    for (const auto& c : cases) {
        Editing e("");
        e.rig.answer = [&c](NMHDR* h) { return h->code == TLN_EDITREQUEST ? c.answer : 0; };
        const POINT p = e.rig.OnText(e.item, 4);
        e.rig.Mouse(WM_LBUTTONDBLCLK, p.x, p.y);
        ASSERT_EQ(e.rig.CountOf(TLN_EDITREQUEST), 1);
        const Notification& request = *e.Last(TLN_EDITREQUEST);
        EXPECT_EQ(std::tuple(request.tree.action, request.newItem(), request.tree.ptDrag.x),
                  std::tuple(0x10000u, e.item, p.x));
        HWND editor = e.Open(-1);
        if (!c.width) {
            EXPECT_EQ(editor, nullptr);
            continue;
        }
        ASSERT_TRUE(editor);
        RECT r;
        GetWindowRect(editor, &r);
        EXPECT_EQ(r.right - r.left, c.width);
        char cls[32] = {};
        GetClassNameA(editor, cls, sizeof cls);
        EXPECT_STREQ(cls, c.cls);
    }
}

TEST(TreeListEdit, ASecondEditorEndsTheFirstSilently) {
    Editing e;
    const UINT_PTR other = e.rig.Insert("Other");
    HWND first = e.Open();
    Editing::Type(first, "Lost");
    HWND second = e.Open(other);
    ASSERT_TRUE(second);
    EXPECT_EQ(e.rig.CountOf(TVN_ENDLABELEDITA), 0);
    EXPECT_FALSE(IsWindow(first));
    Editing::Key(second, VK_RETURN);
    EXPECT_EQ(e.rig.CountOf(TVN_ENDLABELEDITA), 1);
    EXPECT_EQ(e.rig.Text(e.item), "Old");
    EXPECT_EQ(e.rig.Text(other), "Other");
}

TEST(TreeListEdit, AnItemThatGoesAwayTakesItsEditorAlong) {
    // Deleted while the editor is open: no notification, nothing stored, the editor gone from the screen.
    {
        Editing e;
        HWND editor = e.Open();
        e.rig.Delete(e.item);
        EXPECT_FALSE(IsWindowVisible(editor));
        Editing::Key(editor, VK_RETURN);
        EXPECT_EQ(e.rig.CountOf(TVN_ENDLABELEDITA), 0);
    }
    // Deleted by the parent in each of the notifications around the edit.
    for (UINT code : {static_cast<UINT>(TLN_EDITREQUEST), static_cast<UINT>(TVN_BEGINLABELEDITA),
                      static_cast<UINT>(TVN_ENDLABELEDITA)}) {
        Editing e;
        e.rig.answer = [&e, code](NMHDR* h) -> LRESULT {
            if (h->code == code) e.rig.Delete(e.item);
            return h->code == TLN_EDITREQUEST ? 1 : 0;
        };
        const POINT p = e.rig.OnText(e.item);
        e.rig.Mouse(WM_LBUTTONDBLCLK, p.x, p.y);
        if (HWND editor = e.Open(-1)) {
            Editing::Type(editor, "Gone");
            Editing::Key(editor, VK_RETURN);
        }
        EXPECT_EQ(e.rig.Count(), 0) << code;
        HWND editor = e.Editor();
        EXPECT_TRUE(!editor || !IsWindowVisible(editor)) << code;
    }
}

TEST(TreeListEdit, ListColumnsSetTheImageAndKeepItWithoutAChoice) {
    static const char* const entries[] = {"Red", "Green", "Blue", nullptr, "never read"};
    const struct { UINT mode, flags; LPARAM list; UINT count; int entries; } cases[] = {
        {TLEM_LISTFIXED, TLEF_DBLCLICK | TLEF_POINTERS, reinterpret_cast<LPARAM>(entries), 0, 3},
        {TLEM_LIST, TLEF_DBLCLICK, reinterpret_cast<LPARAM>("Red|Green|Blue|Grey"), 3, 3},
    };
    for (const auto& c : cases) {
        Editing e;
        e.rig.AddColumns({100, 150});
        e.rig.Ex(TLX_CELLDROPHILITE);
        ASSERT_EQ(e.rig.Send(TLM_SETCOLUMNEDIT, TreeListColumnEdit(1, c.mode, c.flags, '|', c.count), c.list), 1);
        ASSERT_EQ(e.rig.Send(TLM_SETCOLUMNEDITBASE, 1, 10), 1);
        EXPECT_EQ(e.rig.Send(TLM_SETCOLUMNEDITBASE, 0, 10), 0);
        // The third entry, then closed without a choice: the image stays.
        for (int choice : {2, -1}) {
            HWND editor = e.DoubleClickCell(1);
            ASSERT_TRUE(editor) << c.mode;
            EXPECT_EQ(SendMessageA(editor, CB_GETCOUNT, 0, 0), c.entries);
            SendMessageA(editor, CB_SETCURSEL, static_cast<WPARAM>(choice), 0);
            Editing::Key(editor, VK_RETURN);
            EXPECT_EQ(e.rig.Get(e.item, TVIF_IMAGE, 1).iImage, 12) << c.mode << " " << choice;
            if (choice < 0) break;
            EXPECT_EQ(std::pair(e.rig.Text(e.item, 1), e.rig.CountOf(TLN_CELLCHANGED)),
                      std::pair(std::string("Blue"), 1));
        }
    }
}

TEST(TreeListEdit, CheckColumnsToggleWithoutAnEditor) {
    Editing e("Old", TVS_HASLINES);
    e.rig.AddColumns({100, 150});
    e.rig.Ex(TLX_CELLDROPHILITE);
    e.rig.Send(TLM_SETCOLUMNEDIT, TreeListColumnEdit(1, TLEM_CHECK, TLEF_DBLCLICK), 0);
    auto image = [&] { return (e.rig.Get(e.item, TVIF_STATE, 1).state >> 12) & 0xF; };
    const int onText = 30;  // past the check box
    e.DoubleClickCell(1, onText);  // without TVS_EDITLABELS a double click on the text toggles nothing
    EXPECT_EQ(image(), 0u);
    SetWindowLongA(e.rig.tree, GWL_STYLE, GetWindowLongA(e.rig.tree, GWL_STYLE) | TVS_EDITLABELS);
    e.DoubleClickCell(1, onText);
    EXPECT_EQ(image(), 2u);
    e.DoubleClickCell(1, onText);
    EXPECT_EQ(image(), 1u);
    EXPECT_EQ(e.rig.CountOf(TLN_CHECKCHANGED), 2);
    EXPECT_EQ(e.Editor(), nullptr);
}

TEST(TreeListEdit, PasteFillsTheEditorUpToItsLimit) {
    ClipboardTestLock lock;
    Editing e;
    e.rig.Send(TVM_SELECTITEM, TVGN_CARET, static_cast<LPARAM>(e.item));
    const std::string text(5000, 'x');
    ASSERT_TRUE(OpenClipboard(e.rig.parent));
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
    GlobalUnlock(block);
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
    e.rig.answer = [](NMHDR* h) { return h->code == TLN_EDITREQUEST ? 1 : 0; };
    e.rig.Send(WM_PASTE);
    ASSERT_EQ(e.rig.CountOf(TLN_EDITREQUEST), 1);
    EXPECT_EQ(e.Last(TLN_EDITREQUEST)->tree.action, 0x10004u);
    HWND editor = e.Open(-1);
    ASSERT_TRUE(editor);
    EXPECT_EQ(GetWindowTextLengthA(editor), 2048);
    Editing::Key(editor, VK_RETURN);
    const TVITEMA r = e.rig.Get(e.item, TVIF_TEXT | TLIF_TEXTPOINTER);
    ASSERT_TRUE(r.pszText);
    EXPECT_EQ(strlen(r.pszText), 2048u);
    OpenClipboard(e.rig.parent);
    EmptyClipboard();
    CloseClipboard();
}

TEST(TreeListEdit, ArrowsAtTheEdgeLeaveTheEditor) {
    Editing e;
    e.rig.Send(TVM_SETEXTENDEDSTYLE, TLX_EDITARROWS, TLX_EDITARROWS);
    HWND editor = e.Open();
    // The editor posts the accept command and the key to the control; the posts are read without running
    // them, as other test processes may take the focus away meanwhile.
    auto posted = [&](UINT msg, WPARAM* wp, LPARAM* lp) {
        MSG m;
        if (!PeekMessageA(&m, e.rig.tree, msg, msg, PM_REMOVE)) return false;
        *wp = m.wParam;
        *lp = m.lParam;
        return true;
    };
    WPARAM wp;
    LPARAM lp;
    const struct { WPARAM key; int caret; bool leaves; } cases[] = {
        {VK_LEFT, 2, false}, {VK_RIGHT, 2, false}, {VK_LEFT, 0, true}, {VK_RIGHT, 3, true}, {VK_UP, 1, true}};
    for (const auto& c : cases) {
        SendMessageA(editor, EM_SETSEL, c.caret, c.caret);
        Editing::Key(editor, c.key);
        ASSERT_EQ(posted(WM_COMMAND, &wp, &lp), c.leaves) << c.key << " " << c.caret;
        if (!c.leaves) continue;
        EXPECT_EQ(wp, kTreeListEditAccept);
        ASSERT_TRUE(posted(WM_KEYDOWN, &wp, &lp));
        EXPECT_EQ(std::pair(wp, lp), std::pair(c.key, LPARAM(0x500001)));
        EXPECT_TRUE(posted(WM_KEYUP, &wp, &lp));
        EXPECT_EQ(lp, 0x500001);
    }
    // With Shift held the arrows stay in the editor.
    Modifiers shift({VK_SHIFT});
    SendMessageA(editor, EM_SETSEL, 0, 0);
    Editing::Key(editor, VK_LEFT);
    EXPECT_FALSE(posted(WM_COMMAND, &wp, &lp));
}

TEST(TreeListEdit, CellTextsAreEditedAndTextColumnsTakeTheListsSpelling) {
    Editing e;
    e.rig.AddColumns({100, 150});
    e.rig.Ex(TLX_CELLDROPHILITE);
    // A cell without an edit mode asks the parent, then edits the cell's text.
    e.rig.answer = [](NMHDR* h) { return h->code == TLN_EDITREQUEST ? 1 : 0; };
    HWND editor = e.DoubleClickCell(1);
    ASSERT_TRUE(editor);
    EXPECT_EQ(e.Last(TLN_EDITREQUEST)->tree.itemNew.cChildren, 1);
    Editing::Type(editor, "beta");
    Editing::Key(editor, VK_RETURN);
    EXPECT_EQ(std::tuple(e.rig.Text(e.item, 1), e.Last(TVN_ENDLABELEDITA)->disp.item.cChildren, e.rig.Text(e.item)),
              std::tuple(std::string("beta"), 1, std::string("Old")));
    // An editable combo column of texts: a typed entry is stored as the list spells it, anything else as typed.
    e.rig.Send(TLM_SETCOLUMNEDIT, TreeListColumnEdit(1, TLEM_COMBO, TLEF_DBLCLICK, ';'),
               reinterpret_cast<LPARAM>("Alpha;Beta"));
    for (const char* typed : {"beta", "Gamma"}) {
        editor = e.DoubleClickCell(1);
        ASSERT_TRUE(editor);
        EXPECT_EQ(SendMessageA(editor, CB_GETCOUNT, 0, 0), 2);
        SetWindowTextA(editor, typed);
        Editing::Key(editor, VK_RETURN);
        EXPECT_EQ(e.rig.Text(e.item, 1), std::string(typed) == "beta" ? "Beta" : typed);
    }
    EXPECT_EQ(e.rig.CountOf(TLN_CELLCHANGED), 2);
}
