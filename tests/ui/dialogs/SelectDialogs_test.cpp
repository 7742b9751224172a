#include "ui/dialogs/SelectDialogTemplates.h"
#include "ui/dialogs/SelectDialogs.h"
#include "ui/dialogs/SelectTestSupport.h"

#include "ui/filedialog/FileDialogTestSupport.h"
#include "ui/UiTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

using uitest::WindowText;
using Texts = std::vector<std::string>;

// Runs `step` on the open dialog with `marker` from the bounded driver's timer (tick 1, 2, ...).
INT_PTR Drive(CDialog& dialog, LONG_PTR marker, const std::function<bool(HWND, int)>& step) {
    uitest::DialogDriver driver([&](HWND wnd, int tick) {
        return GetWindowLongPtrA(wnd, GWLP_USERDATA) == marker && step(wnd, tick);
    });
    const INT_PTR result = dialog.DoModal();
    EXPECT_FALSE(driver.TimedOut());
    return result;
}

void Command(HWND dialog, int id, int code = BN_CLICKED) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, code), (LPARAM)GetDlgItem(dialog, id));
}

// A click, or a double click, at x in the list's row.
void Click(HWND list, int x, int row, bool twice = false) {
    const int height = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
    for (UINT msg : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
        if (msg == WM_LBUTTONDBLCLK && !twice) break;
        PostMessageA(list, msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, row * height + height / 2));
    }
}

// Where the dialog opens; it is closed at once with OK.
RECT OpenedAt(CDialog& dialog, LONG_PTR marker) {
    RECT r = {};
    Drive(dialog, marker, [&](HWND wnd, int) {
        GetWindowRect(wnd, &r);
        Command(wnd, IDOK);
        return true;
    });
    return r;
}

void AddFruit(CListSelectDlg& d) {
    for (const char* t : {"Birne", "Apfel", "Banane", "Kirsche"})
        d.AddItem(kInsertByText, static_cast<uint32_t>(t[1]), t);
}

}  // namespace

TEST(ComboSelectDlg, EmptyListGivesNothingAndEntriesGiveTheirValues) {
    CComboSelectDlg empty;
    EXPECT_EQ(Drive(empty, kComboSelectDialogMarker, [](HWND wnd, int) { Command(wnd, IDOK); return true; }), IDOK);
    EXPECT_EQ(Chosen(empty), (Choice{-1, "", 0}));

    // The list shows the entry passed as chosen; OK gives the one selected then.
    CComboSelectDlg d;
    d.SetCaption("Farbe");
    d.SetPrompt("Bitte wählen:");
    d.AddItem(-1, 10, "Rot");
    d.AddItem(-1, 20, "Grün", 1);
    d.AddItem(-1, 30, "Blau");
    EXPECT_EQ(Drive(d, kComboSelectDialogMarker, [&](HWND wnd, int) {
                  EXPECT_TRUE(IsWindowVisible(GetDlgItem(wnd, kSelectComboListId)));
                  EXPECT_FALSE(IsWindowVisible(GetDlgItem(wnd, kSelectComboEditId)));
                  EXPECT_EQ((Texts{WindowText(wnd), WindowText(GetDlgItem(wnd, kSelectPromptId))}),
                            (Texts{"Farbe", "Bitte wählen:"}));
                  EXPECT_EQ(SendDlgItemMessageA(wnd, kSelectComboListId, CB_GETCURSEL, 0, 0), 1);
                  SendDlgItemMessageA(wnd, kSelectComboListId, CB_SETCURSEL, 2, 0);
                  Command(wnd, IDOK);
                  return true;
              }),
              IDOK);
    EXPECT_EQ(Chosen(d), (Choice{2, "Blau", 30}));
    char buffer[3];
    EXPECT_EQ(d.GetText(buffer, sizeof buffer), 2);
    EXPECT_STREQ(buffer, "Bl");
}

TEST(ComboSelectDlg, EditableTextCancelAndNoCancel) {
    CComboSelectDlg d;
    d.m_editable = 1;
    d.m_index = -1;
    d.AddItem(-1, 1, "eins");
    EXPECT_EQ(Drive(d, kComboSelectDialogMarker, [](HWND wnd, int) {
                  SetDlgItemTextA(wnd, kSelectComboEditId, "frei getippt");
                  Command(wnd, IDOK);
                  return true;
              }),
              IDOK);
    EXPECT_EQ(Chosen(d), (Choice{-1, "frei getippt", 0}));
    EXPECT_EQ(Drive(d, kComboSelectDialogMarker, [](HWND wnd, int) { Command(wnd, IDCANCEL); return true; }), IDCANCEL);
    EXPECT_EQ(Chosen(d), (Choice{-1, "", 0}));
    // Without Cancel, Escape acts as OK.
    d.m_cancelAllowed = 0;
    d.m_index = 0;
    EXPECT_EQ(Drive(d, kComboSelectDialogMarker, [&](HWND wnd, int) {
                  EXPECT_FALSE(IsWindowVisible(GetDlgItem(wnd, IDCANCEL)));
                  Command(wnd, IDCANCEL);
                  return true;
              }),
              IDOK);
    EXPECT_EQ(Chosen(d), (Choice{0, "eins", 1}));
}

TEST(ListSelectDlg, SingleChoiceByDoubleClickAndTypeAhead) {
    CListSelectDlg::ForgetSavedPosition();
    CListSelectDlg d;
    AddFruit(d);
    EXPECT_EQ(Drive(d, kListSelectDialogMarker, [&](HWND wnd, int tick) {
                  if (tick == 1) {
                      EXPECT_FALSE(IsWindowVisible(GetDlgItem(wnd, kSelectPromptId)));
                      PostMessageA(wnd, WM_CHAR, 'b', 0);
                      PostMessageA(wnd, WM_CHAR, 'b', 0);
                  }
                  if (tick == 3) Command(wnd, kSelectListFirstId, LBN_DBLCLK);
                  return tick == 3 && GetDlgItem(wnd, kSelectListFirstId);
              }),
              IDOK);
    EXPECT_EQ(Chosen(d), (Choice{2, "Birne", 'i'}));  // Apfel, Banane, Birne, Kirsche: the second entry with B
    EXPECT_EQ(Checks(d, 4), (std::vector<int>{0, 0, 1, 0}));
}

TEST(ListSelectDlg, CheckBoxesToggleOncePerClickInTheTickArea) {
    CListSelectDlg d;
    d.m_style = 3;
    AddFruit(d);
    d.SetCheck(3, 1);
    EXPECT_EQ(Drive(d, kListSelectDialogMarker, [&](HWND wnd, int tick) {
                  HWND list = GetDlgItem(wnd, kSelectListFirstId + 3);
                  if (tick == 1) {
                      Click(list, 10, 0);         // a click in the tick area ticks at once
                      Click(list, 10, 1, true);   // a double click toggles once, not twice
                      Click(list, 100, 2);        // outside the tick area: a selection only
                      Click(list, 100, 3, true);  // a double click there toggles
                      PostMessageA(list, WM_KEYDOWN, VK_UP, 0);
                      PostMessageA(list, WM_CHAR, ' ', 0);  // the space toggles the current entry (2)
                  }
                  if (tick == 3) Command(wnd, IDOK);
                  return tick == 3;
              }),
              IDOK);
    EXPECT_EQ(Checks(d, 4), (std::vector<int>{1, 1, 1, 0}));
}

TEST(ListSelectDlg, OneTickMultipleSelectAllAndNoCancel) {
    CListSelectDlg radio;
    radio.m_style = 2;
    AddFruit(radio);
    radio.SetCheck(1, 1);  // the candidate
    radio.m_index = -1;
    EXPECT_EQ(Drive(radio, kListSelectDialogMarker, [&](HWND wnd, int tick) {
                  HWND list = GetDlgItem(wnd, kSelectListFirstId + 2);
                  if (tick == 1) Click(list, 10, 3);
                  if (tick == 3) Command(wnd, IDOK);
                  return tick == 3;
              }),
              IDOK);
    EXPECT_EQ(Chosen(radio), (Choice{3, "Kirsche", 'i'}));
    EXPECT_EQ(Checks(radio, 4), (std::vector<int>{0, 0, 0, 1}));

    CListSelectDlg multi;
    multi.m_style = 1;
    multi.m_cancelAllowed = 0;
    multi.SetPrompt("Welche?");
    AddFruit(multi);
    EXPECT_EQ(Drive(multi, kListSelectDialogMarker, [&](HWND wnd, int tick) {
                  if (tick == 1) {
                      EXPECT_FALSE(IsWindowVisible(GetDlgItem(wnd, IDCANCEL)));
                      Command(wnd, kSelectAll);
                      Command(wnd, IDCANCEL);  // ignored
                      PostMessageA(wnd, WM_CLOSE, 0, 0);  // ignored
                  }
                  if (tick == 3) Command(wnd, IDOK);
                  return tick == 3;
              }),
              IDOK);
    EXPECT_EQ(Checks(multi, 4), (std::vector<int>{1, 1, 1, 1}));
}

TEST(ListSelectDlg, ReopensAtItsSizeButNotAtAPositionOffTheScreen) {
    CListSelectDlg::ForgetSavedPosition();
    CListSelectDlg d;
    d.m_widthChange = 100;
    AddFruit(d);
    RECT first = {};
    LONG minWidth = 0;
    Drive(d, kListSelectDialogMarker, [&](HWND wnd, int) {
        GetWindowRect(wnd, &first);
        RECT tiny = {first.left, first.top, first.left + 10, first.top + 10};
        SendMessageA(wnd, WM_SIZING, WMSZ_RIGHT, reinterpret_cast<LPARAM>(&tiny));
        minWidth = tiny.right - tiny.left;
        SetWindowPos(wnd, nullptr, -30, 40, first.right - first.left + 20, first.bottom - first.top, SWP_NOZORDER);
        Command(wnd, IDOK);
        return true;
    });
    EXPECT_GT(minWidth, 10);
    const RECT second = OpenedAt(d, kListSelectDialogMarker);
    EXPECT_EQ(second.right - second.left, first.right - first.left + 20);  // kept by the object
    EXPECT_NE(second.left, -30);                                           // x = -30 is not used
    CListSelectDlg other;
    AddFruit(other);
    const RECT third = OpenedAt(other, kListSelectDialogMarker);
    EXPECT_EQ(std::pair(third.left, third.top), std::pair(second.left, second.top));  // saved by the last list dialog
}
