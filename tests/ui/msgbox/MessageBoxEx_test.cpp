#include "ui/msgbox/MessageBoxEx.h"
#include "ui/msgbox/MsgBoxLayout.h"

#include "ui/filedialog/FileDialogTestSupport.h"
#include "ui/UiTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// What a test sees of an open box.
struct BoxView {
    std::wstring caption, text;
    std::vector<int> ids;
    std::vector<std::wstring> buttonTexts;
    std::vector<std::wstring> lines;
    int defaultId = 0;
    bool ownerEnabled = true;
    POINT centre = {};
};

std::wstring TextOf(HWND hwnd) {
    wchar_t buffer[1024] = {};
    GetWindowTextW(hwnd, buffer, 1024);
    return buffer;
}

BoxView Look(HWND box, HWND owner) {
    BoxView v;
    v.caption = TextOf(box);
    v.text = TextOf(GetDlgItem(box, kMsgBoxTextId));
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t cls[32] = {};
        GetClassNameW(child, cls, 32);
        if (lstrcmpiW(cls, L"Button") == 0) {
            v.ids.push_back(GetDlgCtrlID(child));
            v.buttonTexts.push_back(TextOf(child));
        } else if (lstrcmpW(cls, L"ColorListBox") == 0) {
            const int count = static_cast<int>(SendMessageW(child, LB_GETCOUNT, 0, 0));
            for (int i = 0; i < count; ++i) {
                wchar_t line[512] = {};
                SendMessageW(child, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line));
                v.lines.push_back(line);
            }
        }
    }
    v.defaultId = LOWORD(SendMessageA(box, DM_GETDEFID, 0, 0));
    v.ownerEnabled = owner ? IsWindowEnabled(owner) != FALSE : true;
    RECT r;
    GetWindowRect(box, &r);
    v.centre = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    return v;
}

void Press(HWND box, int id) { PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(box, id)); }
// A key at the default button (the focus itself depends on which test's window is in front).
void Key(HWND box, WPARAM key) {
    PostMessageA(GetDlgItem(box, LOWORD(SendMessageA(box, DM_GETDEFID, 0, 0))), WM_KEYDOWN, key, 0);
}

// Runs one box; `step` acts on it from the driver's timer (tick 1, 2, ...) and returns true when done.
int RunBox(MSGBOXPARAMSW& record, int timeout, const std::function<bool(HWND box, int tick)>& step,
        const BYTE* attrs = nullptr, bool* finished = nullptr) {
    uitest::DialogDriver driver([&](HWND box, int tick) {
        if (!GetPropW(box, L"ROS_MSGBOX")) return false;
        return step(box, tick);
    });
    const int result = MessageBoxEx(&record, attrs, timeout);
    if (finished) *finished = driver.Finished() && !driver.TimedOut();
    return result;
}

MSGBOXPARAMSW Record(HWND owner, const wchar_t* text, UINT style) {
    MSGBOXPARAMSW r = {};
    r.cbSize = sizeof r;
    r.hwndOwner = owner;
    r.lpszText = text;
    r.lpszCaption = L"Titel";
    r.dwStyle = style | kMsgBoxNoBeep;
    return r;
}

}  // namespace

TEST(ToolkitMessageBox, ButtonsInOrderWithTheirTextsWhileTheOwnerIsDisabled) {
    uitest::TestParent owner;
    struct Case {
        UINT style;
        std::vector<int> ids;
        int press;
    } cases[] = {
        {1 | 0x8, {IDOK, 13, IDCANCEL}, 13},
        {1 | 0x8 | 0x800, {IDOK, 13, 15, IDCANCEL}, 15},
        {4 | 0x4000, {IDYES, IDNO, IDHELP}, IDYES},
    };
    for (const Case& c : cases) {
        MSGBOXPARAMSW record = Record(owner.hwnd, L"Wirklich?", c.style);
        BoxView v;
        EXPECT_EQ(RunBox(record, 0, [&](HWND box, int) {
                      v = Look(box, owner.hwnd);
                      Press(box, c.press);
                      return true;
                  }),
                  c.press);
        EXPECT_EQ(v.ids, c.ids);
        EXPECT_EQ(v.caption, L"Titel");
        EXPECT_EQ(v.text, L"Wirklich?");
        EXPECT_EQ(v.lines, (std::vector<std::wstring>{L"Wirklich?"}));
        EXPECT_FALSE(v.ownerEnabled);
        EXPECT_TRUE(IsWindowEnabled(owner.hwnd));
        EXPECT_EQ(v.defaultId, c.ids[0]);
        for (const std::wstring& text : v.buttonTexts) EXPECT_FALSE(text.empty());  // system texts or fallbacks
        if (c.style & 0x8) {
            EXPECT_EQ(v.buttonTexts[1], L"Niemals");
        }
        if (c.style & 0x800) {
            EXPECT_EQ(v.buttonTexts[2], L"Immer");
        }
    }
}

TEST(ToolkitMessageBox, EscapeAndCloseRulesAndEnterPressesTheDefault) {
    uitest::TestParent owner;
    // Yes/No cannot be cancelled: neither the close box nor Escape ends it; Enter takes the default (No).
    MSGBOXPARAMSW record = Record(owner.hwnd, L"Speichern?", 4 | 0x100);
    int focus = 0;
    EXPECT_EQ(RunBox(record, 0, [&](HWND box, int tick) {
                  if (tick == 1) {
                      focus = LOWORD(SendMessageA(box, DM_GETDEFID, 0, 0));
                      PostMessageA(box, WM_CLOSE, 0, 0);
                      Key(box, VK_ESCAPE);
                  }
                  if (tick == 4) Key(box, VK_RETURN);
                  return tick == 4;
              }),
              IDNO);
    EXPECT_EQ(focus, IDNO);
    // OK/Cancel: Escape gives Cancel; the close box too.
    record = Record(owner.hwnd, L"Weiter?", 1);
    EXPECT_EQ(RunBox(record, 0, [&](HWND box, int) { Key(box, VK_ESCAPE); return true; }), IDCANCEL);
    EXPECT_EQ(RunBox(record, 0, [&](HWND box, int) { PostMessageA(box, WM_CLOSE, 0, 0); return true; }), IDCANCEL);
    EXPECT_EQ(RunBox(record, 0, [&](HWND box, int) { Key(box, VK_RETURN); return true; }), IDOK);
}

TEST(ToolkitMessageBox, TimeOutEndsTheBoxOnlyWhenGiven) {
    MSGBOXPARAMSW record = Record(nullptr, L"Gleich vorbei", 0x30);
    EXPECT_EQ(RunBox(record, 300, [](HWND, int) { return false; }), kMsgBoxTimedOut);
    for (int none : {0, -1}) {
        bool pressed = false;
        EXPECT_EQ(RunBox(record, none, [&](HWND box, int tick) {
                      if (tick < 10) return false;  // half a second without a time-out
                      Press(box, IDOK);
                      return pressed = true;
                  }),
                  IDOK);
        EXPECT_TRUE(pressed);
    }
}

TEST(ToolkitMessageBox, ASecondBoxOpensWhereTheFirstWasLeft) {
    SetRememberedMsgBoxCentre({kNoMsgBoxCentre, kNoMsgBoxCentre});
    MSGBOXPARAMSW record = Record(nullptr, L"Eins", 0);
    POINT moved = {};
    RunBox(record, 0, [&](HWND box, int) {
        RECT r;
        GetWindowRect(box, &r);
        SetWindowPos(box, nullptr, 150, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        moved = {150 + (r.right - r.left) / 2, 120 + (r.bottom - r.top) / 2};
        Press(box, IDOK);
        return true;
    });
    EXPECT_EQ(RememberedMsgBoxCentre().x, moved.x);
    BoxView second;
    RunBox(record, 0, [&](HWND box, int) {
        second = Look(box, nullptr);
        Press(box, IDOK);
        return true;
    });
    EXPECT_EQ(second.centre.x, moved.x);
    EXPECT_EQ(second.centre.y, moved.y);
    // With kMsgBoxPosition the record carries the centre in and out.
    record = Record(nullptr, L"Zwei", kMsgBoxPosition);
    record.dwLanguageId = MAKELONG(260, 230);
    BoxView third;
    RunBox(record, 0, [&](HWND box, int) {
        third = Look(box, nullptr);
        SetWindowPos(box, nullptr, 40, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        Press(box, IDOK);
        return true;
    });
    EXPECT_EQ(third.centre.x, 260);
    EXPECT_EQ(third.centre.y, 230);
    EXPECT_NE(record.dwLanguageId, (DWORD)MAKELONG(260, 230));
    EXPECT_EQ(record.dwLanguageId, (DWORD)MAKELONG(RememberedMsgBoxCentre().x, RememberedMsgBoxCentre().y));
}

TEST(ToolkitMessageBox, CodedAnsiAndLongTextsReachTheList) {
    MSGBOXPARAMSW record = Record(nullptr, L"Kopf\x08\n\x02Rot\tSpalte\x07\r\nnormal", 0);
    BoxView v;
    RunBox(record, 0, [&](HWND box, int) { v = Look(box, nullptr); Press(box, IDOK); return true; });
    EXPECT_EQ(v.lines, (std::vector<std::wstring>{L"Kopf", L"_", L"Rot\tSpalte", L"normal"}));
    EXPECT_EQ(v.text, L"Kopf\r\nRot\tSpalte\r\nnormal");

    // ANSI texts stay ANSI without a time-out (the old time-out tag was lost for -1).
    MSGBOXPARAMSA ansi = {};
    ansi.cbSize = sizeof ansi;
    ansi.lpszText = "Grüße";
    ansi.lpszCaption = "Größe";
    ansi.dwStyle = kMsgBoxNoBeep;
    BoxView a;
    uitest::DialogDriver driver([&](HWND box, int) { a = Look(box, nullptr); Press(box, IDOK); return true; });
    EXPECT_EQ(MessageBoxExA(&ansi, nullptr, -1), IDOK);
    EXPECT_EQ(a.caption, L"Größe");
    EXPECT_EQ(a.lines, (std::vector<std::wstring>{L"Grüße"}));

    // Two hundred lines: the box stays on the work area and the list scrolls.
    std::wstring many;
    for (int i = 0; i < 200; ++i) many += L"Zeile " + std::to_wstring(i) + L"\n";
    record = Record(nullptr, many.c_str(), 0);
    RECT box = {}, work = {};
    int lines = 0;
    SCROLLINFO si = {sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
    RunBox(record, 0, [&](HWND b, int) {
        GetWindowRect(b, &box);
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        HWND list = FindWindowExW(b, nullptr, L"ColorListBox", nullptr);
        lines = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
        GetScrollInfo(list, SB_VERT, &si);
        Press(b, IDOK);
        return true;
    });
    EXPECT_EQ(lines, 200);
    EXPECT_LE(box.bottom - box.top, work.bottom - work.top);
    EXPECT_EQ(si.nMax, 199);
    EXPECT_LT(static_cast<int>(si.nPage), 200);
}

TEST(ToolkitMessageBox, HelpCallsTheCallbackAndDefaultCaptionsAndResourceTexts) {
    static DWORD helpContext = 0;
    static int helpCalls = 0;
    MSGBOXPARAMSW record = Record(nullptr, nullptr, 0x4000);
    record.lpszCaption = nullptr;  // the system's caption
    record.dwContextHelpId = 4711;
    record.lpfnMsgBoxCallback = [](LPHELPINFO info) {
        helpContext = static_cast<DWORD>(info->dwContextId);
        ++helpCalls;
    };
    BoxView v;
    EXPECT_EQ(RunBox(record, 0, [&](HWND box, int tick) {
                  if (tick == 1) Press(box, IDHELP);
                  if (tick == 3) {
                      v = Look(box, nullptr);
                      Press(box, IDOK);
                  }
                  return tick == 3;
              }),
              IDOK);
    EXPECT_EQ(helpCalls, 1);
    EXPECT_EQ(helpContext, 4711u);
    EXPECT_FALSE(v.caption.empty());
    EXPECT_EQ(v.text, L"");
    EXPECT_TRUE(v.lines.empty());
}
