#include "ui/dialogs/ListSelectControl.h"

#include "ui/dialogs/SelectDialogTemplates.h"

namespace {

constexpr int kTickAreaWidth = 20;
constexpr int kTextIndent = 30;

bool IsTickList(int id) { return id == kSelectListFirstId + 2 || id == kSelectListFirstId + 3; }

// The two tick pens, made once for the process.
HPEN TickPen(int which) {
    static const HPEN pens[2] = {::CreatePen(PS_SOLID, 2, RGB(0, 0x80, 0)), ::CreatePen(PS_SOLID, 1, RGB(0, 0xFF, 0))};
    return pens[which];
}

LRESULT Previous(HWND list, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto previous = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(list, GWLP_USERDATA));
    return previous ? ::CallWindowProcA(previous, list, msg, wParam, lParam) : ::DefWindowProcA(list, msg, wParam, lParam);
}

// A space toggles the current entry: its selection in the multiple-choice list, its tick in the others.
void ToggleCurrent(HWND list, int id) {
    const LRESULT current = ::SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (current < 0) return;
    if (IsTickList(id)) {
        ::SendMessageA(::GetParent(list), WM_COMMAND, MAKEWPARAM(id, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
    } else {
        const LRESULT selected = ::SendMessageA(list, LB_GETSEL, static_cast<WPARAM>(current), 0);
        ::SendMessageA(list, LB_SETSEL, selected <= 0, current);
    }
}

}  // namespace

LRESULT CALLBACK ListSelectSubclassProc(HWND list, UINT msg, WPARAM wParam, LPARAM lParam) {
    const int id = ::GetDlgCtrlID(list);
    const bool clickCounts = static_cast<short>(LOWORD(lParam)) < kTickAreaWidth || !IsTickList(id);
    switch (msg) {
    case WM_LBUTTONDOWN:
        if (!clickCounts) break;
        Previous(list, msg, wParam, lParam);
        return Previous(list, WM_LBUTTONDBLCLK, wParam, lParam);
    case WM_LBUTTONDBLCLK:
        if (clickCounts) return 0;
        break;
    case WM_RBUTTONDOWN:
        ::SendMessageA(::GetParent(list), WM_COMMAND, kSelectContextMenu, 0);
        break;
    case WM_CHAR:
        if (wParam == ' ')
            ToggleCurrent(list, id);
        else if (wParam > ' ')
            ::SendMessageA(::GetParent(list), WM_CHAR, wParam, lParam);
        return 0;
    }
    return Previous(list, msg, wParam, lParam);
}

void DrawSelectTick(HDC dc, const RECT& row, bool selected, bool ticked, const char* text) {
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    HGDIOBJ oldPen = ::SelectObject(dc, ::GetStockObject(NULL_PEN));
    HGDIOBJ oldBrush = ::SelectObject(dc, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    ::Rectangle(dc, row.left, row.top, row.right + 1, row.bottom + 1);  // a null pen leaves the last row and column
    ::SelectObject(dc, ::GetStockObject(BLACK_PEN));
    ::SelectObject(dc, ::GetStockObject(WHITE_BRUSH));
    ::Rectangle(dc, row.left + 3, row.top + 2, row.left + 14, row.top + 13);
    if (ticked) {
        const POINT wide[3] = {{row.left + 2, row.top + 6}, {row.left + 6, row.top + 10}, {row.left + 16, row.top + 3}};
        const POINT thin[3] = {{row.left + 3, row.top + 5}, {row.left + 6, row.top + 8}, {row.left + 16, row.top + 3}};
        ::SelectObject(dc, TickPen(0));
        ::Polyline(dc, wide, 3);
        ::SelectObject(dc, TickPen(1));
        ::Polyline(dc, thin, 3);
    }
    RECT textRect = row;
    textRect.left += kTextIndent;
    if (text) ::DrawTextA(dc, text, -1, &textRect, 0);
    ::SelectObject(dc, oldBrush);
    ::SelectObject(dc, oldPen);
    ::SetTextColor(dc, oldColour);
    ::SetBkMode(dc, oldMode);
}
