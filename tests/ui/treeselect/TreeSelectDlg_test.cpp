#include "ui/treeselect/TreeSelectDlg.h"
#include "ui/treeselect/TreeSelectTemplate.h"

#include "tests/support/ClipboardTestLock.h"
#include "ui/Clipboard.h"
#include "ui/dialogs/SelectDialogTemplates.h"
#include "ui/dialogs/SelectTestSupport.h"
#include "ui/filedialog/FileDialogTestSupport.h"
#include "ui/PostedMouse.h"
#include "ui/UiTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

using uitest::WindowText;
using Texts = std::vector<std::string>;

// Runs `step` on the open tree dialog from the bounded driver's timer (tick 1, 2, ...).
INT_PTR Drive(CDialog& dialog, const std::function<bool(HWND, HWND, int)>& step) {
    uitest::DialogDriver driver([&](HWND wnd, int tick) {
        HWND tree = GetDlgItem(wnd, kTreeSelectTreeId);
        return tree && step(wnd, tree, tick);
    });
    const INT_PTR result = dialog.DoModal();
    EXPECT_FALSE(driver.TimedOut());
    return result;
}

void Command(HWND dialog, int id) { PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
void Key(HWND window, UINT key) { PostMessageA(window, WM_KEYDOWN, key, 1); }

// A header click as the header reports it to the control, which hands it on to the dialog.
void HeaderClick(HWND tree, int column) {
    NMHEADERA nm = {};
    nm.hdr = {reinterpret_cast<HWND>(SendMessageA(tree, TLM_GETHEADER, 0, 0)), 1, static_cast<UINT>(HDN_ITEMCLICKA)};
    nm.iItem = column;
    SendMessageA(tree, WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&nm));
}

// Types text into a cell through the control's editor: Return on the cell opens it, Return accepts.
void EditCell(HWND tree, HTREEITEM item, int column, const char* text) {
    SendMessageA(tree, TLM_SELECTCELL, reinterpret_cast<WPARAM>(item), column);
    SendMessageA(tree, WM_KEYDOWN, VK_RETURN, 1);
    HWND editor = reinterpret_cast<HWND>(SendMessageA(tree, TVM_GETEDITCONTROL, 0, 0));
    SetWindowTextA(editor, text);
    SendMessageA(editor, WM_KEYDOWN, VK_RETURN, 1);
}

// The items in the order shown.
std::vector<HTREEITEM> Rows(HWND tree) {
    std::vector<HTREEITEM> out;
    for (HTREEITEM i = TreeView_GetRoot(tree); i; i = TreeView_GetNextSibling(tree, i)) out.push_back(i);
    return out;
}

// The texts of one column in the order shown.
Texts Shown(HWND tree, int column) {
    Texts out;
    for (HTREEITEM item : Rows(tree)) {
        char buffer[64] = {};
        TVITEMA r = {TVIF_HANDLE | TVIF_TEXT | TLIF_CELL, item, 0, 0, buffer, sizeof buffer, 0, 0, column, 0};
        SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&r));
        out.push_back(buffer);
    }
    return out;
}

// Rows "Zeile 000".. with the value 1000 + row and a second column counting down.
void Fill(CTreeSelectDlg& d, int rows, int editable = 0) {
    d.AddColumn("Name", 120, LVCFMT_LEFT, editable);
    d.AddColumn("Ort", 80, LVCFMT_LEFT, editable);
    char text[32];
    for (int i = 0; i < rows; ++i) {
        wsprintfA(text, "Zeile %03d", i);
        d.AddItem(-1, 1000 + i, text);
        wsprintfA(text, "Ort %03d", rows - 1 - i);
        d.SetCellText(i, 1, text);
    }
}

}  // namespace

TEST(TreeSelectDlg, TablesKeepRowsColumnsAndCellsApartWithoutAliasing) {
    CTreeSelectDlg d;
    for (int i = 0; i < 32; ++i) EXPECT_EQ(d.AddColumn("c", 20), i);
    EXPECT_EQ(d.AddColumn("too many", 20), -1);  // the control has 32 columns
    for (int i = 0; i < 70000; ++i) d.AddItem(-1, i, "r");
    EXPECT_EQ(d.AddColumn("late", 20), -1);
    EXPECT_EQ(d.SetCellText(65536, 31, "far"), 1);  // rows past 16 bits keep their own cells
    EXPECT_EQ((Texts{d.GetCellText(0, 31), d.GetCellText(65536, 31)}), (Texts{"", "far"}));
    EXPECT_EQ(d.GetCellText(70000, 1), nullptr);
    EXPECT_EQ(d.SetCellText(0, 32, "x"), 0);
    d.RemoveAll();
    d.AddItem(-1, 1, "b");
    d.SetCellText(0, 1, "cell of b");
    EXPECT_EQ(d.AddItem(kInsertByText, 2, "a"), 0);  // an insert in front moves the cells along
    EXPECT_EQ((Texts{d.GetCellText(0, 1), d.GetCellText(1, 1)}), (Texts{"", "cell of b"}));
    char small[4];
    EXPECT_EQ(d.GetCellTextCopy(1, 1, small, sizeof small), 3);
    EXPECT_STREQ(small, "cel");
}

TEST(TreeSelectDlg, OptionsGiveTheControlsStyles) {
    // Options, columns, an editable column: the effective options, the style and the extended style.
    struct Case { uint32_t options; int columns; bool editable; uint32_t effective; DWORD style, exStyle; } cases[] = {
        {0, 2, false, 0, 0x50011010, 0x10082000 | 0x30000},
        {0x03, 2, false, 0x03, 0x50011110, 0x100B0000},  // several check boxes do not uncheck each other
        {0x06, 2, true, 0x86, 0x50011118, 0x100C2000},
        {0x10, 0, false, 0x90, 0x50011018, 0x110F2000},
    };
    for (const Case& c : cases) {
        const uint32_t options = EffectiveTreeSelectOptions(c.options, c.columns, c.editable);
        EXPECT_EQ(options, c.effective) << c.options;
        EXPECT_EQ(TreeSelectWindowStyle(options), c.style) << c.options;
        EXPECT_EQ(TreeSelectExtendedStyle(options, c.columns), c.exStyle) << c.options;
    }
    EXPECT_EQ(TreeSelectColumnEditParam(65), static_cast<WPARAM>(1 << 11 | 0x106));
    EXPECT_EQ(TreeSelectEditAnswer(0x80, 1, 2, false, true), 0);  // only marked columns when any is marked
}

TEST(TreeSelectDlg, ShowsThreeHundredRowsAndReturnsTheRowChosenByKeyboard) {
    uitest::TestParent owner;
    CTreeSelectDlg d(CWnd::FromHandle(owner.hwnd));
    Fill(d, 300);
    d.SetCaption("Orte");
    d.SetPrompt("Bitte eine Zeile wählen:");
    d.m_index = 5;
    EXPECT_EQ(Drive(d, [&](HWND wnd, HWND tree, int tick) {
                  if (tick == 1) {
                      EXPECT_FALSE(IsWindowEnabled(owner.hwnd));
                      EXPECT_FALSE(IsWindowVisible(GetDlgItem(wnd, kTreeSelectPlaceholderId)));
                      EXPECT_EQ((Texts{WindowText(wnd), WindowText(GetDlgItem(wnd, kSelectPromptId)),
                                       WindowText(GetDlgItem(wnd, IDOK)), WindowText(GetDlgItem(wnd, IDCANCEL))}),
                                (Texts{"Orte", "Bitte eine Zeile wählen:", "OK", "Abbrechen"}));
                      const Texts names = Shown(tree, 0), places = Shown(tree, 1);
                      EXPECT_EQ(names.size() == 300 ? names[299] + places[299] : "", "Zeile 299Ort 000");
                      SetFocus(tree);
                      for (int i = 0; i < 3; ++i) Key(tree, VK_DOWN);  // from the chosen row 5 to row 8
                  }
                  if (tick == 3) Command(wnd, IDOK);
                  return tick == 3;
              }),
              IDOK);
    EXPECT_TRUE(IsWindowEnabled(owner.hwnd));
    EXPECT_EQ(Chosen(d), (Choice{8, "Zeile 008", 1008}));
    EXPECT_EQ(d.GetCheck(8) + d.GetCheck(5), 1);
}

TEST(TreeSelectDlg, EscapeCancelsOnlyWhenAllowedAndEnterOnTheButtonsIsOK) {
    CTreeSelectDlg d;
    Fill(d, 20);
    EXPECT_EQ(Drive(d, [&](HWND, HWND tree, int) { SetFocus(tree); Key(tree, VK_ESCAPE); return true; }), IDCANCEL);
    EXPECT_EQ(Chosen(d), (Choice{-1, "", 0}));

    d.m_cancelAllowed = 0;
    EXPECT_EQ(Drive(d, [&](HWND wnd, HWND tree, int tick) {
                  if (tick == 1) {
                      EXPECT_FALSE(IsWindowVisible(GetDlgItem(wnd, IDCANCEL)));
                      SetFocus(tree);
                      Key(tree, VK_ESCAPE);  // ignored, as are Cancel and the close box
                      Command(wnd, IDCANCEL);
                      PostMessageA(wnd, WM_CLOSE, 0, 0);
                  }
                  if (tick == 3) {
                      SetFocus(GetDlgItem(wnd, IDOK));
                      Key(GetDlgItem(wnd, IDOK), VK_RETURN);
                  }
                  return tick == 3;
              }),
              IDOK);
    EXPECT_EQ(Chosen(d), (Choice{0, "Zeile 000", 1000}));  // nothing chosen before: single choice starts on row 0

    CTreeSelectDlg typed;  // without columns, Return in the new row asks the dialog and opens an editor
    typed.m_options = kTreeSelectNewRow;
    typed.AddItem(-1, 1, "eins");
    Drive(typed, [&](HWND wnd, HWND tree, int tick) {
        if (tick == 1) EditCell(tree, Rows(tree)[1], 0, "zwei");
        if (tick == 2) Command(wnd, IDOK);
        return tick == 2;
    });
    ASSERT_EQ(typed.GetCount(), 2);
    EXPECT_STREQ(typed.GetItemText(1), "zwei");
}

TEST(TreeSelectDlg, CheckBoxesChooseSeveralRowsAndDoubleClicksEndOnlyPlainOrSingleChecks) {
    CTreeSelectDlg d;
    d.m_options = kTreeSelectMultiple | kTreeSelectCheckBoxes;
    Fill(d, 10);
    d.SetCheck(4, 1);
    EXPECT_EQ(Drive(d, [&](HWND wnd, HWND tree, int tick) {
                  if (tick == 1) {
                      Command(wnd, kSelectNone);
                      SetFocus(tree);
                      for (UINT key : {VK_DOWN, VK_SPACE, VK_DOWN, VK_DOWN, VK_SPACE}) Key(tree, key);  // rows 0 and 2
                  }
                  if (tick == 3) Command(wnd, IDOK);
                  return tick == 3;
              }),
              IDOK);
    EXPECT_EQ(Checks(d, 10), (std::vector<int>{1, 0, 1, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(d.m_index, 2);

    uitest::PostedMouseOnly mouse;
    struct Case {
        uint32_t options;
        int index;
    } cases[] = {{0, 3}, {kTreeSelectCheckBoxes, 3}, {kTreeSelectMultiple, -1}};
    for (const Case& c : cases) {
        CTreeSelectDlg one;
        one.m_options = c.options;
        Fill(one, 10);
        one.SetCheck(1, 1);
        one.SetCheck(6, 1);  // single choice opens with the last ticked row, and only that one checked
        int checked = 0;
        Drive(one, [&](HWND wnd, HWND tree, int tick) {
            if (tick == 1) {
                for (HTREEITEM i : Rows(tree)) checked += TreeView_GetCheckState(tree, i) == 1;
                RECT r;
                TreeView_GetItemRect(tree, Rows(tree)[3], &r, TRUE);
                const int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
                for (UINT msg : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
                    uitest::PostMouseMessage(tree, msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, x, y);
            }
            if (tick == 3) {  // still open: nothing chosen
                TreeView_SelectItem(tree, nullptr);
                Command(wnd, IDOK);
            }
            return tick == 3;
        });
        EXPECT_EQ(checked, c.options == kTreeSelectCheckBoxes ? 1 : 0) << c.options;
        EXPECT_EQ(one.m_index, c.index) << c.options;
        for (int i = 0; i < 10; ++i) EXPECT_EQ(one.GetCheck(i), i == c.index) << c.options << " " << i;
    }
}

TEST(TreeSelectDlg, SortsByHeaderEditsAddsAndDeletesRowsConsistently) {
    ClipboardTestLock lock;
    CTreeSelectDlg d;
    d.m_options = kTreeSelectNewRow | kTreeSelectDelete | kTreeSelectDeleteEmptied;
    Fill(d, 300, 1);
    std::vector<Texts> orders;
    std::vector<LPARAM> params;
    char copied[32] = {};
    auto find = [](HWND tree, const char* name) {
        const Texts names = Shown(tree, 0);
        return Rows(tree)[std::find(names.begin(), names.end(), name) - names.begin()];
    };
    EXPECT_EQ(Drive(d, [&](HWND wnd, HWND tree, int tick) {
                  if (tick == 1) {
                      for (int column : {1, 1, 0}) {  // ascending, then descending, then by the other column
                          HeaderClick(tree, column);
                          const Texts names = Shown(tree, 0);
                          orders.push_back({names.front(), names[299], names.back()});
                      }
                      EditCell(tree, Rows(tree)[300], 1, "Neu");  // the new row
                      EditCell(tree, find(tree, "Zeile 005"), 1, "");
                      EditCell(tree, find(tree, "Zeile 005"), 0, "");  // all empty: gone
                      TreeView_SelectItem(tree, find(tree, "Zeile 010"));
                      SetFocus(tree);
                      Key(tree, VK_DELETE);
                  }
                  if (tick == 2) {
                      TreeView_SelectItem(tree, find(tree, "Zeile 020"));
                      SendMessageA(wnd, WM_COMMAND, kTreeSelectCopyField, 0);
                      GetClipboardText(copied, sizeof copied);
                      for (HTREEITEM i : Rows(tree))
                          params.push_back(SendMessageA(tree, TLM_GETITEMPARAM, 0, (LPARAM)i));
                      Command(wnd, IDOK);
                  }
                  return tick == 2;
              }),
              IDOK);
    EXPECT_EQ(orders, (std::vector<Texts>{{"Zeile 299", "Zeile 000", ""}, {"Zeile 000", "Zeile 299", ""},
                                          {"Zeile 000", "Zeile 299", ""}}));
    EXPECT_STREQ(copied, "Zeile 020");
    ASSERT_EQ(d.GetCount(), 299);
    // The cells moved up with their rows.
    EXPECT_EQ((Texts{d.GetItemText(5), d.GetItemText(9), d.GetCellText(9, 1), d.GetCellText(298, 1)}),
              (Texts{"Zeile 006", "Zeile 011", "Ort 288", "Neu"}));
    ASSERT_EQ(params.size(), 300u);  // the rows in table order and the new row, numbered without gaps
    for (LPARAM i = 0; i < 300; ++i) EXPECT_EQ(params[i], i);
    EXPECT_EQ(Chosen(d), (Choice{18, "Zeile 020", 1020}));
}

TEST(TreeSelectDlg, ReopensAtItsSizeWhereTheLastTreeDialogClosedAndEachOpeningSortsAfresh) {
    CTreeSelectDlg::ForgetSavedPosition();
    CTreeSelectDlg d;
    Fill(d, 30);
    RECT rects[3] = {};
    Texts firstShown;
    auto look = [&](RECT* rect, bool move) {
        return [&, rect, move](HWND wnd, HWND tree, int) {
            GetWindowRect(wnd, rect);
            const SIZE size = {rect->right - rect->left, rect->bottom - rect->top};
            if (move) SetWindowPos(wnd, nullptr, 60, 50, size.cx + 20, size.cy + 20, SWP_NOZORDER);
            HeaderClick(tree, 0);
            firstShown.push_back(Shown(tree, 0).front());
            Command(wnd, IDOK);
            return true;
        };
    };
    Drive(d, look(&rects[0], true));
    Drive(d, look(&rects[1], false));
    CTreeSelectDlg other;
    Fill(other, 3);
    Drive(other, look(&rects[2], false));
    auto size = [](const RECT& r) { return std::pair(r.right - r.left, r.bottom - r.top); };
    EXPECT_EQ(size(rects[1]), std::pair(size(rects[0]).first + 20, size(rects[0]).second + 20));  // kept by the object
    EXPECT_EQ(std::pair(rects[1].left, rects[2].top), std::pair(60L, 50L));  // where the last tree dialog closed
    EXPECT_EQ(size(rects[2]).first, size(rects[0]).first);
    EXPECT_EQ(firstShown, (Texts{"Zeile 000", "Zeile 000", "Zeile 000"}));  // ascending again on every opening
}
