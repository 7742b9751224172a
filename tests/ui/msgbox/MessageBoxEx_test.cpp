#include "ui/msgbox/MessageBoxEx.h"
#include "ui/msgbox/MsgBoxButtons.h"
#include "ui/msgbox/MsgBoxLayout.h"

#include "ui/filedialog/FileDialogTestSupport.h"
#include "ui/UiTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <utility>
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
    POINT topLeft = {}, centre = {};
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
    v.topLeft = {r.left, r.top};
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

// Shows the box, looks at it, moves it to `moveTo` when given and presses OK.
BoxView LookAndClose(MSGBOXPARAMSW& record, const POINT* moveTo = nullptr) {
    BoxView v;
    RunBox(record, 0, [&](HWND box, int) {
        v = Look(box, nullptr);
        if (moveTo) SetWindowPos(box, nullptr, moveTo->x, moveTo->y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        Press(box, IDOK);
        return true;
    });
    return v;
}

std::pair<LONG, LONG> Pair(POINT p) { return {p.x, p.y}; }

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
        EXPECT_EQ(std::tuple(v.caption, v.text, v.lines, v.defaultId),
                  std::tuple(L"Titel", L"Wirklich?", std::vector<std::wstring>{L"Wirklich?"}, c.ids[0]));
        EXPECT_FALSE(v.ownerEnabled);
        EXPECT_TRUE(IsWindowEnabled(owner.hwnd));
        // System texts or the fallbacks, "Niemals" and "Immer" among them.
        for (size_t i = 0; i < v.ids.size(); ++i) EXPECT_EQ(v.buttonTexts[i], MsgBoxButtonText(v.ids[i])) << i;
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

// An ANSI record through either entry: the A form tags its time-out (0x65 in the top byte) unless the style
// names the texts' kind; the wide form takes the tag as the ANSI mark and keeps the low 24 bits as time-out.
// Without a time-out the A form's texts stay ANSI too (the tag was once lost for -1).
TEST(ToolkitMessageBox, TaggedTimeOutsMarkAnsiTexts) {
    struct Case {
        bool viaA;
        UINT style;
        int timeout;
    } cases[] = {
        {false, 0, 0x65000000 | 300}, {true, 0, 300}, {true, kMsgBoxAnsi | kMsgBoxWideInA, 300}, {true, 0, -1}};
    for (const Case& c : cases) {
        MSGBOXPARAMSA record = {};
        record.cbSize = sizeof record;
        record.lpszText = "Grüße";
        record.lpszCaption = "Größe";
        record.dwStyle = c.style | kMsgBoxNoBeep;
        BoxView v;
        uitest::DialogDriver driver([&](HWND box, int) {
            v = Look(box, nullptr);
            if (c.timeout < 0) Press(box, IDOK);
            return c.timeout < 0;
        }, 40);
        const int result = c.viaA ? MessageBoxExA(&record, nullptr, c.timeout)
                                  : MessageBoxEx(reinterpret_cast<MSGBOXPARAMSW*>(&record), nullptr, c.timeout);
        EXPECT_EQ(result, c.timeout < 0 ? IDOK : kMsgBoxTimedOut) << c.viaA << ' ' << c.timeout;
        EXPECT_EQ(v.caption, L"Größe") << c.viaA << ' ' << c.style << ' ' << c.timeout;
        EXPECT_EQ(v.lines, (std::vector<std::wstring>{L"Grüße"})) << c.viaA << ' ' << c.style << ' ' << c.timeout;
    }
}

TEST(ToolkitMessageBox, ASecondBoxOpensWhereTheFirstWasLeft) {
    SetRememberedMsgBoxCentre({kNoMsgBoxCentre, kNoMsgBoxCentre});
    MSGBOXPARAMSW record = Record(nullptr, L"Eins", 0);
    const POINT to = {150, 120};
    const BoxView first = LookAndClose(record, &to);
    const POINT moved = {first.centre.x - first.topLeft.x + to.x, first.centre.y - first.topLeft.y + to.y};
    EXPECT_EQ(RememberedMsgBoxCentre().x, moved.x);
    EXPECT_EQ(Pair(LookAndClose(record).centre), Pair(moved));
    // With kMsgBoxPosition the record carries the centre in and out.
    record = Record(nullptr, L"Zwei", kMsgBoxPosition);
    record.dwLanguageId = MAKELONG(260, 230);
    const POINT elsewhere = {40, 50};
    EXPECT_EQ(Pair(LookAndClose(record, &elsewhere).centre), std::pair(260L, 230L));
    EXPECT_NE(record.dwLanguageId, (DWORD)MAKELONG(260, 230));
    EXPECT_EQ(record.dwLanguageId, (DWORD)MAKELONG(RememberedMsgBoxCentre().x, RememberedMsgBoxCentre().y));
}

TEST(ToolkitMessageBox, CodedAndLongTextsReachTheList) {
    MSGBOXPARAMSW record = Record(nullptr, L"Kopf\x08\n\x02Rot\tSpalte\x07\r\nnormal", 0);
    const BoxView v = LookAndClose(record);
    EXPECT_EQ(v.lines, (std::vector<std::wstring>{L"Kopf", L"_", L"Rot\tSpalte", L"normal"}));
    EXPECT_EQ(v.text, L"Kopf\r\nRot\tSpalte\r\nnormal");

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
    EXPECT_EQ(std::pair(lines, si.nMax), std::pair(200, 199));
    EXPECT_LE(box.bottom - box.top, work.bottom - work.top);
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
    EXPECT_EQ(std::pair(helpCalls, helpContext), std::pair(1, 4711ul));
    EXPECT_FALSE(v.caption.empty());
    EXPECT_EQ(std::pair(v.text, v.lines.size()), std::pair(std::wstring(), size_t(0)));
}
