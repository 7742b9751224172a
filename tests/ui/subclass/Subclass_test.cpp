#include "ui/subclass/Subclass.h"

#include "tests/ui/UiTestSupport.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

using uitest::MessageProbe;
using uitest::TestParent;
using uitest::WindowText;

namespace {

WNDPROC WindowProc(HWND hwnd) { return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC)); }

// A shell drop of the given paths, as the shell hands it to WM_DROPFILES.
HDROP BuildDrop(const std::vector<std::string>& paths) {
    size_t size = sizeof(DROPFILES) + 1;
    for (const auto& p : paths) size += p.size() + 1;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    auto* files = static_cast<DROPFILES*>(GlobalLock(memory));
    files->pFiles = sizeof(DROPFILES);
    char* out = reinterpret_cast<char*>(files) + sizeof(DROPFILES);
    for (const auto& p : paths) {
        memcpy(out, p.c_str(), p.size() + 1);
        out += p.size() + 1;
    }
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

void SendKey(HWND hwnd, UINT key, UINT character) {
    SendMessageA(hwnd, WM_KEYDOWN, key, 1);
    if (character) SendMessageA(hwnd, WM_CHAR, character, 1);
    SendMessageA(hwnd, WM_KEYUP, key, 0xC0000001);
}

HWND ComboEdit(HWND combo) { return FindWindowExA(combo, nullptr, "Edit", nullptr); }

void Remove(HWND hwnd, WNDPROC proc, LPARAM keep = 0) { proc(hwnd, SUBCLASS_REMOVE, keep, 0); }

}  // namespace

TEST(Subclass, StructureSizesMatchThePlatform) {
    EXPECT_EQ(sizeof(DROPFILES), 20u);
    EXPECT_EQ(sizeof(NMKEY), 32u);
}

TEST(Subclass, InstallingTwiceNeverLetsAProcedureCallItself) {
    TestParent parent;
    HWND edit = parent.AddEdit(100);
    WNDPROC original = WindowProc(edit);
    EXPECT_EQ(InstallSubclassProc(edit, ReadOnlyEditProc), 1);
    EXPECT_EQ(InstallSubclassProc(edit, ReadOnlyEditProc), 1);
    EXPECT_EQ(WindowProc(edit), ReadOnlyEditProc);
    SetWindowTextA(edit, "abc");  // would recurse forever if the procedure were its own previous
    EXPECT_EQ(WindowText(edit), "abc");
    EXPECT_EQ(SendMessageA(edit, SUBCLASS_REMOVE, 0, 0), reinterpret_cast<LRESULT>(original));
    EXPECT_EQ(WindowProc(edit), original);
    // Removing what is not installed is a no-op.
    EXPECT_EQ(ReadOnlyEditProc(edit, SUBCLASS_REMOVE, 0, 0), 0);
}

TEST(Subclass, CallerPlacedProcedureAndRemovalThatKeepsTheWindowProcedure) {
    TestParent parent;
    HWND edit = parent.AddEdit(100);
    WNDPROC original = WindowProc(edit);
    // The caller puts the procedure in place itself and hands over the previous one.
    SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ReadOnlyEditProc));
    EXPECT_EQ(ReadOnlyEditProc(edit, SUBCLASS_INSTALL, 0, reinterpret_cast<LPARAM>(original)), 1);
    SetWindowTextA(edit, "x");
    EXPECT_EQ(WindowText(edit), "x");
    EXPECT_EQ(SendMessageA(edit, SUBCLASS_REMOVE, 0, 1), reinterpret_cast<LRESULT>(original));
    EXPECT_EQ(WindowProc(edit), ReadOnlyEditProc);  // only the stored procedure was forgotten
    SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    EXPECT_EQ(CallSubclassInstall(edit, nullptr), 0);
    EXPECT_EQ(SubclassWindowUserData(edit, nullptr), 0);
}

TEST(Subclass, TwoFamilyProceduresOnOneWindowChainAndComeOffInAnyOrder) {
    TestParent parent;
    parent.answer = [](UINT msg, WPARAM, LPARAM, LRESULT* result) {
        if (msg != WM_NOTIFY) return false;
        *result = 1;
        return true;
    };
    HWND edit = parent.AddEdit(100);
    MessageProbe probe(edit);
    WNDPROC probeProc = WindowProc(edit);
    InstallSubclassProc(edit, ReadOnlyEditProc);
    InstallSubclassProc(edit, EditKeyNotifyProc);
    EXPECT_EQ(WindowProc(edit), EditKeyNotifyProc);

    SendKey(edit, VK_TAB, '\t');
    SendMessageA(edit, WM_CHAR, 'q', 1);
    EXPECT_EQ(parent.Notifications().size(), 1u);
    EXPECT_EQ(WindowText(edit), "");  // the lower procedure still swallows typing

    // Take out the lower one first: the upper one now passes straight to the control.
    EXPECT_NE(ReadOnlyEditProc(edit, SUBCLASS_REMOVE, 0, 0), 0);
    SendMessageA(edit, WM_CHAR, 'q', 1);
    EXPECT_EQ(WindowText(edit), "q");
    SendKey(edit, VK_RETURN, '\r');
    EXPECT_EQ(parent.Notifications().size(), 2u);
    Remove(edit, EditKeyNotifyProc);
    EXPECT_EQ(WindowProc(edit), probeProc);
    SendKey(edit, VK_TAB, '\t');
    EXPECT_EQ(parent.Notifications().size(), 2u);

    // And the other order.
    InstallSubclassProc(edit, LockedEditProc);
    InstallSubclassProc(edit, EditDropProc);
    Remove(edit, EditDropProc);
    Remove(edit, LockedEditProc);
    SendMessageA(edit, WM_CHAR, 'r', 1);
    EXPECT_EQ(WindowText(edit), "qr");
}

TEST(Subclass, RemovalBelowAForeignProcedureLeavesTheChainIntact) {
    TestParent parent;
    HWND edit = parent.AddEdit(100);
    InstallSubclassProc(edit, ReadOnlyEditProc);
    MessageProbe foreign(edit);  // someone else subclasses on top
    EXPECT_EQ(ReadOnlyEditProc(edit, SUBCLASS_REMOVE, 0, 0), 0);
    SendMessageA(edit, WM_CHAR, 'z', 1);
    EXPECT_EQ(WindowText(edit), "");  // still in place, still read-only
    EXPECT_EQ(foreign.Count(WM_CHAR), 1);
}

TEST(Subclass, EnterHandledByTheParentSwallowsTheWholeKeystroke) {
    TestParent parent;
    bool handle = true;
    parent.answer = [&](UINT msg, WPARAM, LPARAM lParam, LRESULT* result) {
        if (msg != WM_NOTIFY) return false;
        *result = handle && reinterpret_cast<NMHDR*>(lParam)->code == static_cast<UINT>(NM_RETURN);
        return true;
    };
    HWND combo = parent.AddCombo(1016);
    HWND edit = ComboEdit(combo);
    ASSERT_NE(edit, nullptr);
    MessageProbe probe(edit);
    WNDPROC probeProc = WindowProc(edit);
    EXPECT_EQ(CallSubclassInstall(combo, ComboKeyProc), 1);
    EXPECT_EQ(WindowProc(edit), ComboEditKeyProc);

    SendKey(edit, VK_RETURN, '\r');
    EXPECT_EQ(probe.Count(WM_KEYDOWN, VK_RETURN), 0);
    EXPECT_EQ(probe.Count(WM_CHAR, '\r'), 0);
    EXPECT_EQ(probe.Count(WM_KEYUP, VK_RETURN), 0);
    auto notes = parent.Notifications();
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].code, static_cast<UINT>(NM_RETURN));
    EXPECT_EQ(notes[0].from, combo);
    EXPECT_EQ(notes[0].idFrom, 1016u);
    EXPECT_EQ(notes[0].key, static_cast<UINT>(VK_RETURN));
    EXPECT_EQ(LOWORD(notes[0].wParam), 1016);

    handle = false;
    SendKey(edit, VK_RETURN, '\r');
    EXPECT_EQ(probe.Count(WM_KEYDOWN, VK_RETURN), 1);
    EXPECT_EQ(probe.Count(WM_CHAR, '\r'), 1);
    EXPECT_EQ(probe.Count(WM_KEYUP, VK_RETURN), 1);

    // Tab is reported as NM_KEYDOWN; ordinary keys pass untouched.
    SendKey(edit, VK_TAB, '\t');
    EXPECT_EQ(parent.Notifications().back().code, static_cast<UINT>(NM_KEYDOWN));
    SendKey(edit, 'A', 'a');
    EXPECT_EQ(WindowText(combo), "a");
    Remove(combo, ComboKeyProc);
    EXPECT_EQ(WindowProc(edit), probeProc);  // the edit's companion came off too
}

TEST(Subclass, DownOpensANonEmptyList) {
    TestParent parent;
    HWND combo = parent.AddCombo(1016);
    HWND edit = ComboEdit(combo);
    InstallSubclassProc(combo, ComboKeyProc);
    SendMessageA(edit, WM_KEYDOWN, VK_DOWN, 1);
    EXPECT_EQ(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0), 0);  // empty: nothing to show
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("eins"));
    SendMessageA(edit, WM_KEYDOWN, VK_DOWN, 1);
    EXPECT_NE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0), 0);
    SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
}

TEST(Subclass, DroppedFilesBecomeTheControlsText) {
    TestParent parent;
    HWND combo = parent.AddCombo(1016, CBS_DROPDOWN | CBS_AUTOHSCROLL, WS_EX_ACCEPTFILES);
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("alt"));
    SendMessageA(combo, CB_SETCURSEL, 0, 0);
    InstallSubclassProc(combo, ComboDropProc);
    EXPECT_EQ(SendMessageA(combo, WM_DROPFILES,
                           reinterpret_cast<WPARAM>(BuildDrop({"C:\\Fragen\\Show", "C:\\Fragen\\Zwei"})), 0),
              0);
    EXPECT_EQ(WindowText(combo), "C:\\Fragen\\Show");
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), CB_ERR);
    parent.log.clear();
    PumpQueued();
    auto codes = parent.CommandCodes(1016);
    ASSERT_EQ(codes.size(), 2u);
    EXPECT_EQ(codes[0], CBN_EDITCHANGE);
    EXPECT_EQ(codes[1], CN_FILEDROPPED);
    EXPECT_EQ(parent.Commands(1016)[1].from, combo);

    // The combo's edit reports the drop under the combo's id.
    HWND comboEdit = ComboEdit(combo);
    SendMessageA(comboEdit, WM_DROPFILES, reinterpret_cast<WPARAM>(BuildDrop({"D:\\b"})), 0);
    EXPECT_EQ(WindowText(combo), "D:\\b");
    parent.log.clear();
    PumpQueued();
    codes = parent.CommandCodes(1016);
    ASSERT_EQ(codes.size(), 2u);
    EXPECT_EQ(parent.Commands(1016)[1].from, comboEdit);

    // An edit of its own.
    HWND edit = parent.AddEdit(100);
    InstallSubclassProc(edit, EditDropProc);
    SendMessageA(edit, WM_DROPFILES, reinterpret_cast<WPARAM>(BuildDrop({"E:\\c.txt"})), 0);
    EXPECT_EQ(WindowText(edit), "E:\\c.txt");
    parent.log.clear();
    PumpQueued();
    codes = parent.CommandCodes(100);
    ASSERT_EQ(codes.size(), 2u);
    EXPECT_EQ(codes[0], EN_CHANGE);
    EXPECT_EQ(codes[1], CN_FILEDROPPED);

    // An empty drop changes nothing but is still finished.
    SendMessageA(edit, WM_DROPFILES, reinterpret_cast<WPARAM>(BuildDrop({})), 0);
    EXPECT_EQ(WindowText(edit), "E:\\c.txt");
}

TEST(Subclass, DisabledEditKeepsNormalColoursAndRefusesFocus) {
    TestParent parent;
    HWND plain = parent.AddEdit(100, ES_AUTOHSCROLL, 10);
    HWND looked = parent.AddEdit(101, ES_AUTOHSCROLL, 40);
    SetWindowTextA(plain, "grau");
    SetWindowTextA(looked, "normal");
    InstallSubclassProc(looked, EnabledLookProc);
    EnableWindow(plain, FALSE);
    EnableWindow(looked, FALSE);
    EXPECT_EQ(SendMessageA(looked, WM_GETDLGCODE, 0, 0), DLGC_STATIC);

    // The edit asks for static colours only when it believes it is disabled.
    auto colourRequests = [&](HWND edit, UINT msg) {
        int n = 0;
        for (const auto& m : parent.log) n += m.msg == msg && reinterpret_cast<HWND>(m.lParam) == edit;
        return n;
    };
    parent.log.clear();
    RedrawWindow(plain, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    RedrawWindow(looked, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    EXPECT_GT(colourRequests(plain, WM_CTLCOLORSTATIC), 0);
    EXPECT_GT(colourRequests(looked, WM_CTLCOLOREDIT), 0);
    EXPECT_EQ(colourRequests(looked, WM_CTLCOLORSTATIC), 0);

    // The system does not focus a disabled window; a focus message that reaches the
    // edit anyway is not taken.
    parent.log.clear();
    SendMessageA(plain, WM_SETFOCUS, 0, 0);
    SendMessageA(looked, WM_SETFOCUS, 0, 0);
    EXPECT_FALSE(parent.CommandCodes(100).empty());
    EXPECT_TRUE(parent.CommandCodes(101).empty());
    SendMessageA(plain, WM_KILLFOCUS, 0, 0);
    EnableWindow(looked, TRUE);
    EXPECT_NE(SendMessageA(looked, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
}

TEST(Subclass, LockedEditCanBeFocusedAndSelectedButNotChanged) {
    TestParent parent;
    HWND edit = parent.AddEdit(100);
    SetWindowTextA(edit, "fest");
    InstallSubclassProc(edit, LockedEditProc);
    EnableWindow(edit, FALSE);
    EXPECT_EQ(SendMessageA(edit, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
    parent.log.clear();
    SendMessageA(edit, WM_SETFOCUS, 0, 0);
    auto codes = parent.CommandCodes(100);
    EXPECT_NE(std::find(codes.begin(), codes.end(), EN_SETFOCUS), codes.end());
    SendMessageA(edit, EM_SETSEL, 1, 3);
    DWORD start = 0, end = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 1u);
    EXPECT_EQ(end, 3u);

    SendMessageA(edit, WM_CHAR, 'x', 1);
    SendMessageA(edit, WM_KEYDOWN, VK_DELETE, 1);
    SendMessageA(edit, WM_KEYDOWN, VK_BACK, 1);
    SendMessageA(edit, WM_CUT, 0, 0);
    SendMessageA(edit, WM_CLEAR, 0, 0);
    SendMessageA(edit, WM_PASTE, 0, 0);
    EXPECT_EQ(WindowText(edit), "fest");

    EnableWindow(edit, TRUE);
    SendMessageA(edit, WM_CHAR, 'x', 1);
    EXPECT_EQ(WindowText(edit), "fxt");
}

TEST(Subclass, ReadOnlyEditIgnoresTypingButTakesProgramText) {
    TestParent parent;
    HWND edit = parent.AddEdit(100);
    InstallSubclassProc(edit, ReadOnlyEditProc);
    EXPECT_EQ(SendMessageA(edit, WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
    SetWindowTextA(edit, "lesen");
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SendMessageA(edit, WM_CHAR, 'x', 1);
    SendMessageA(edit, WM_KEYDOWN, VK_DELETE, 1);
    SendMessageA(edit, WM_CLEAR, 0, 0);
    EXPECT_EQ(WindowText(edit), "lesen");
}

TEST(Subclass, MirroredPartnersShowOneTextWithoutEcho) {
    TestParent parent;
    const int comboId = 1152, editId = 1152 ^ PARTNER_ID_XOR;
    ASSERT_EQ(editId, 20949);
    HWND hidden = parent.AddEdit(editId, ES_AUTOHSCROLL, 10);
    HWND combo = parent.AddCombo(comboId, CBS_DROPDOWN | CBS_AUTOHSCROLL, 0, 40);
    HWND comboEdit = ComboEdit(combo);
    MessageProbe hiddenProbe(hidden), comboProbe(combo);
    InstallSubclassProc(hidden, MirrorEditProc);
    InstallSubclassProc(combo, PartnerComboProc);
    EXPECT_EQ(WindowProc(comboEdit), PartnerEditProc);

    auto ownText = [](HWND hwnd) {
        char buffer[300] = {};
        SendMessageA(hwnd, PARTNER_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
        return std::string(buffer);
    };

    // Text put into the hidden edit shows in the combo; each control is set once.
    SetWindowTextA(hidden, "C:\\Daten");
    EXPECT_EQ(ownText(hidden), "C:\\Daten");
    EXPECT_EQ(WindowText(combo), "C:\\Daten");
    EXPECT_EQ(WindowText(hidden), "C:\\Daten");  // answered by the partner
    EXPECT_EQ(hiddenProbe.Count(WM_SETTEXT), 1);
    EXPECT_EQ(comboProbe.Count(WM_SETTEXT), 1);

    // And the other way.
    hiddenProbe.Clear();
    comboProbe.Clear();
    SetWindowTextA(combo, "D:\\x.txt");
    EXPECT_EQ(ownText(hidden), "D:\\x.txt");
    EXPECT_EQ(hiddenProbe.Count(WM_SETTEXT), 1);
    EXPECT_EQ(comboProbe.Count(WM_SETTEXT), 1);

    // Typing in the combo: the partner follows and the parent hears it under the combo's id.
    parent.log.clear();
    SendMessageA(comboEdit, EM_SETSEL, 0, -1);
    SendMessageA(comboEdit, WM_CHAR, 'k', 1);
    EXPECT_EQ(ownText(hidden), "k");
    auto codes = parent.CommandCodes(comboId);
    EXPECT_NE(std::find(codes.begin(), codes.end(), EN_CHANGE), codes.end());

    // Edit messages to the hidden edit act on the combo's edit.
    SetWindowTextA(combo, "abcdef");
    SendMessageA(hidden, EM_SETSEL, 2, 4);
    DWORD start = 0, end = 0;
    SendMessageA(comboEdit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 2u);
    EXPECT_EQ(end, 4u);
    EXPECT_EQ(SendMessageA(hidden, WM_GETTEXTLENGTH, 0, 0), 6);
}

TEST(Subclass, PartnersReportEnterUnderTheComboAndHonourTheHandledMarker) {
    TestParent parent;
    parent.answer = [](UINT msg, WPARAM, LPARAM lParam, LRESULT* result) {
        if (msg != WM_NOTIFY) return false;
        auto* key = reinterpret_cast<NMKEY*>(lParam);
        if (key->nVKey == VK_RETURN) key->hdr.idFrom = KEY_HANDLED_MARKER;
        *result = 0;
        return true;
    };
    HWND hidden = parent.AddEdit(20949, ES_AUTOHSCROLL, 10);
    HWND combo = parent.AddCombo(1152, CBS_DROPDOWN | CBS_AUTOHSCROLL, 0, 40);
    HWND comboEdit = ComboEdit(combo);
    MessageProbe hiddenProbe(hidden), editProbe(comboEdit);
    InstallSubclassProc(hidden, MirrorEditProc);
    InstallSubclassProc(combo, PartnerComboProc);

    SendMessageA(hidden, WM_KEYDOWN, VK_RETURN, 1);
    SendMessageA(comboEdit, WM_KEYDOWN, VK_RETURN, 1);
    SendMessageA(comboEdit, WM_KEYDOWN, 'A', 1);
    EXPECT_EQ(hiddenProbe.Count(WM_KEYDOWN), 0);
    EXPECT_EQ(editProbe.Count(WM_KEYDOWN, VK_RETURN), 0);
    EXPECT_EQ(editProbe.Count(WM_KEYDOWN, 'A'), 1);
    auto notes = parent.Notifications();
    ASSERT_EQ(notes.size(), 3u);
    for (const auto& n : notes) {
        EXPECT_EQ(LOWORD(n.wParam), 1152);
        EXPECT_EQ(n.from, combo);
        EXPECT_EQ(n.code, static_cast<UINT>(NM_KEYDOWN));
    }
}

TEST(Subclass, PartnerComboAnswersFromTheSelectedEntry) {
    TestParent parent;
    HWND combo = parent.AddCombo(1152);
    InstallSubclassProc(combo, PartnerComboProc);
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("ein langer Eintrag"));
    SendMessageA(combo, CB_SETCURSEL, 0, 0);
    EXPECT_EQ(SendMessageA(combo, WM_GETTEXTLENGTH, 0, 0), 18);
    char small[6] = "?????";
    EXPECT_EQ(SendMessageA(combo, WM_GETTEXT, sizeof small, reinterpret_cast<LPARAM>(small)), 5);
    EXPECT_STREQ(small, "ein l");
    EXPECT_EQ(WindowText(combo), "ein langer Eintrag");
    // Without a selection the edit answers.
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    SetWindowTextA(combo, "frei");
    EXPECT_EQ(WindowText(combo), "frei");
}

TEST(Subclass, NotifyParentKeyAndFocusReports) {
    TestParent parent;
    LRESULT reply = 7;
    bool mark = false;
    parent.answer = [&](UINT msg, WPARAM, LPARAM lParam, LRESULT* result) {
        if (msg == WM_CTLCOLOREDIT) {
            *result = reinterpret_cast<LRESULT>(GetStockObject(BLACK_BRUSH));
            return true;
        }
        if (msg != WM_NOTIFY) return false;
        if (mark) reinterpret_cast<NMHDR*>(lParam)->idFrom = KEY_HANDLED_MARKER;
        *result = reply;
        return true;
    };
    HWND edit = parent.AddEdit(100);
    NMKEY key = {};
    key.hdr.code = static_cast<UINT>(NM_KEYDOWN);
    EXPECT_EQ(NotifyParentKey(edit, &key), 7);
    EXPECT_EQ(key.hdr.hwndFrom, edit);
    EXPECT_EQ(key.hdr.idFrom, 100u);
    mark = true;
    reply = 0;
    EXPECT_EQ(NotifyParentKey(edit, &key), 1);

    HWND combo = parent.AddCombo(1016);
    HWND comboEdit = ComboEdit(combo);
    InstallSubclassProc(combo, ComboFocusProc);
    EXPECT_EQ(SendMessageA(combo, WM_CTLCOLOREDIT, 0, reinterpret_cast<LPARAM>(comboEdit)),
              reinterpret_cast<LRESULT>(GetStockObject(BLACK_BRUSH)));
    parent.log.clear();
    SetFocus(comboEdit);
    SetFocus(edit);
    bool sawSet = false, sawKill = false;
    for (const auto& c : parent.Commands(1016)) {
        sawSet |= c.code == EN_SETFOCUS && c.from == comboEdit;
        sawKill |= c.code == EN_KILLFOCUS && c.from == comboEdit;
    }
    EXPECT_TRUE(sawSet);
    EXPECT_TRUE(sawKill);
}

TEST(Subclass, UserDataSubclassKeepsThePreviousProcedure) {
    TestParent parent;
    HWND edit = parent.AddEdit(100);
    LONG_PTR original = GetWindowLongPtrA(edit, GWLP_WNDPROC);
    EXPECT_EQ(SubclassWindowUserData(edit, DefWindowProcA), 1);
    EXPECT_EQ(GetWindowLongPtrA(edit, GWLP_USERDATA), original);
    SetWindowLongPtrA(edit, GWLP_WNDPROC, original);
}

TEST(Subclass, PartnerComboTakesDropsOnlyWhenItAcceptsFiles) {
    TestParent parent;
    HWND hidden = parent.AddEdit(20949, ES_AUTOHSCROLL, 10);
    HWND combo = parent.AddCombo(1152, CBS_DROPDOWN | CBS_AUTOHSCROLL, WS_EX_ACCEPTFILES, 40);
    InstallSubclassProc(hidden, MirrorEditProc);
    InstallSubclassProc(combo, PartnerComboProc);
    SendMessageA(combo, WM_DROPFILES, reinterpret_cast<WPARAM>(BuildDrop({"C:\\Spiel\\Fragen", "C:\\x"})), 0);
    EXPECT_EQ(WindowText(combo), "C:\\Spiel\\Fragen");
    char own[MAX_PATH] = {};
    SendMessageA(hidden, PARTNER_GETTEXT, sizeof own, reinterpret_cast<LPARAM>(own));
    EXPECT_STREQ(own, "C:\\Spiel\\Fragen");
    parent.log.clear();
    PumpQueued();
    auto codes = parent.CommandCodes(1152);
    ASSERT_GE(codes.size(), 3u);
    EXPECT_EQ(std::vector<WORD>(codes.end() - 3, codes.end()),
              (std::vector<WORD>{CBN_EDITCHANGE, EN_CHANGE, CN_FILEDROPPED}));

    SetWindowLongPtrA(combo, GWL_EXSTYLE, 0);
    HDROP drop = BuildDrop({"D:\\nein"});
    SendMessageA(combo, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    EXPECT_EQ(WindowText(combo), "C:\\Spiel\\Fragen");
    DragFinish(drop);
}
