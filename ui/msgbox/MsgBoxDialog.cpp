#include "ui/msgbox/ColorListBox.h"
#include "ui/msgbox/MessageBoxEx.h"
#include "ui/msgbox/MsgBoxLayout.h"
#include "ui/msgbox/MsgBoxState.h"

#include <algorithm>

namespace {

const wchar_t kStateProperty[] = L"ROS_MSGBOX";
constexpr int kListId = kMsgBoxTextId + 1;
constexpr UINT_PTR kTimeoutTimer = 0;
constexpr int kTabStopDlu = 32;
constexpr LPARAM kListFlags = 0x801002;
constexpr int kLineRecordHeight = 12, kSeparatorRecordHeight = 28;

MsgBoxState* StateOf(HWND hwnd) { return static_cast<MsgBoxState*>(::GetPropW(hwnd, kStateProperty)); }

POINT CentreOf(HWND hwnd) {
    RECT r;
    ::GetWindowRect(hwnd, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Puts the box's centre at `centre` (or the work area's centre), keeping the box inside the work area.
void Place(HWND hwnd, const MsgBoxState& s) {
    RECT r;
    ::GetWindowRect(hwnd, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    POINT c = s.centre;
    if (c.x == kNoMsgBoxCentre) c = {(s.work.left + s.work.right) / 2, (s.work.top + s.work.bottom) / 2};
    const int x = std::max<int>(std::min<int>(c.x - w / 2, s.work.right - w), s.work.left);
    const int y = std::max<int>(std::min<int>(c.y - h / 2, s.work.bottom - h), s.work.top);
    ::SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FillList(HWND list, const MsgBoxState& s) {
    ::SendMessageW(list, kColorListReset, 0, kListFlags);
    if (s.hasTabs) {
        const int stop = kTabStopDlu;
        ::SendMessageW(list, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&stop));
    }
    for (const MsgBoxLine& line : s.text.lines) {
        const ColorListLine record = {
            line.text.c_str(),
            line.attrs.data(),
            static_cast<int>(line.text.size()),
            line.marker == MsgBoxMarker::Separator ? kSeparatorRecordHeight : kLineRecordHeight,
            line.marker == MsgBoxMarker::None ? 0 : line.width,
            line.marker == MsgBoxMarker::Underline   ? kColorListUnderline
            : line.marker == MsgBoxMarker::Separator ? kColorListSeparator
                                                     : kColorListText,
        };
        ::SendMessageW(list, kColorListAddLine, kColorListWide, reinterpret_cast<LPARAM>(&record));
    }
}

// The text area's static keeps the plain text; the list over it shows the lines.
void CreateList(HWND hwnd, const MsgBoxState& s) {
    HWND area = ::GetDlgItem(hwnd, kMsgBoxTextId);
    RECT r;
    ::GetWindowRect(area, &r);
    ::MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&r), 2);
    ::InflateRect(&r, -s.textInset.cx, -s.textInset.cy);
    ::ShowWindow(area, SW_HIDE);
    HWND list = ::CreateWindowExW(0, L"ColorListBox", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL, r.left, r.top,
                                  r.right - r.left, r.bottom - r.top, hwnd,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)), ::GetModuleHandleW(nullptr),
                                  nullptr);
    if (list) FillList(list, s);
}

BOOL OnInitDialog(HWND hwnd, MsgBoxState* s) {
    if (!StateOf(hwnd)) ::SetPropW(hwnd, kStateProperty, s);
    if (s->icon) ::SendDlgItemMessageW(hwnd, kMsgBoxIconId, STM_SETICON, reinterpret_cast<WPARAM>(s->icon), 0);
    ::SetWindowContextHelpId(hwnd, s->helpId);
    if (s->font) {
        ::SendDlgItemMessageW(hwnd, kMsgBoxTextId, WM_SETFONT, reinterpret_cast<WPARAM>(s->font), FALSE);
        for (int id : s->buttons) ::SendDlgItemMessageW(hwnd, id, WM_SETFONT, reinterpret_cast<WPARAM>(s->font), FALSE);
    }
    CreateList(hwnd, *s);
    Place(hwnd, *s);
    ::SetFocus(::GetDlgItem(hwnd, s->defaultId));
    if (s->timeout > 0) ::SetTimer(hwnd, kTimeoutTimer, static_cast<UINT>(s->timeout), nullptr);
    return FALSE;
}

bool EndsTheBox(int id) {
    switch (id) {
    case IDOK: case IDCANCEL: case IDABORT: case IDRETRY: case IDIGNORE: case IDYES: case IDNO:
    case IDTRYAGAIN: case IDCONTINUE: case kMsgBoxNever: case kMsgBoxAlways: return true;
    default: return false;
    }
}

void OnCommand(HWND hwnd, MsgBoxState* s, int id) {
    if (id == IDHELP) {
        HELPINFO info = {sizeof info, HELPINFO_WINDOW, IDHELP, hwnd, s->helpId, {}};
        ::GetCursorPos(&info.MousePos);
        ::SendMessageW(hwnd, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
        return;
    }
    if (!EndsTheBox(id)) return;
    // Escape in a box that cannot be cancelled does nothing, as its close box does.
    const bool hasCancel = std::find(s->buttons.begin(), s->buttons.end(), IDCANCEL) != s->buttons.end();
    if (id == IDCANCEL && !hasCancel && MsgBoxCannotClose(s->buttonSet)) return;
    s->centre = CentreOf(hwnd);
    ::EndDialog(hwnd, id);
}

}  // namespace

INT_PTR CALLBACK MsgBoxDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) return OnInitDialog(hwnd, reinterpret_cast<MsgBoxState*>(lParam));
    MsgBoxState* s = StateOf(hwnd);
    if (!s) return FALSE;
    switch (msg) {
    case WM_COMMAND: OnCommand(hwnd, s, LOWORD(wParam)); return TRUE;
    case WM_TIMER:
        if (wParam != kTimeoutTimer) return FALSE;
        ::KillTimer(hwnd, kTimeoutTimer);
        ::EndDialog(hwnd, kMsgBoxTimedOut);
        return TRUE;
    case WM_CLOSE:
        s->centre = CentreOf(hwnd);
        if (!MsgBoxCannotClose(s->buttonSet)) ::EndDialog(hwnd, IDCANCEL);
        return TRUE;
    case WM_HELP:
        if (s->helpCallback)
            s->helpCallback(reinterpret_cast<LPHELPINFO>(lParam));
        else if (s->owner)
            ::SendMessageW(s->owner, WM_HELP, 0, lParam);
        return TRUE;
    case WM_CTLCOLORSTATIC: return reinterpret_cast<INT_PTR>(::GetSysColorBrush(COLOR_WINDOW));
    case WM_DESTROY: ::RemovePropW(hwnd, kStateProperty); return FALSE;
    default: return FALSE;
    }
}
