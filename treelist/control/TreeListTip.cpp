// The label tooltip: a tracking tooltip window (control id 2) that shows the whole text of a label or cell
// cut off by its column, or the parent's own text (cell tips, TLN_CELLTIP), at once or after a delay. Mouse
// messages over the tip go on to the control, so that the tip never stands in the way of a click.
#include "treelist/control/TreeListTip.h"

#include "treelist/control/TreeListEdit.h"
#include "treelist/control/TreeListLayout.h"
#include "treelist/control/TreeListMouse.h"
#include "treelist/control/TreeListNotify.h"
#include "treelist/control/TreeListSeams.h"
#include "treelist/control/TreeListTimers.h"

#include <windowsx.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr UINT kShownMs = 1500, kTickMs = 500;
constexpr UINT kTreeFlags = TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMSTATEICON;
constexpr UINT kCellFlags = TLHT_ONCELLIMAGE | TLHT_ONCELLLABEL;
constexpr UINT kOwnTipText = 0x40000000;  // -432 answer: lParam holds a delay in ms
constexpr int kInfoTipLimit = 1023;

LRESULT SendTip(TreeListData* d, UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
    HWND tip = d->tooltip;
    if (!tip) return 0;
    TreeListUnlocked unlocked(d->lock);
    return SendMessageA(tip, msg, wp, lp);
}

TOOLINFOA ToolInfo(const TreeListData* d) {
    TOOLINFOA ti = {};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.uFlags = TTF_IDISHWND | TTF_TRACK | TTF_ABSOLUTE;
    ti.hwnd = d->window;
    ti.uId = reinterpret_cast<UINT_PTR>(d->window);
    ti.lpszText = LPSTR_TEXTCALLBACKA;
    GetClientRect(d->window, &ti.rect);
    return ti;
}

bool StoreTipText(TreeListData* d, const char* text, size_t length) {
    const size_t need = (length + 1 + 255) / 256 * 256 + 4;
    if (need > d->tipCapacity) {
        char* block = static_cast<char*>(realloc(d->tipText, need));
        if (!block) return false;
        d->tipText = block;
        d->tipCapacity = need;
    }
    memcpy(d->tipText, text, length);
    d->tipText[length] = 0;
    return true;
}

void KeepTipOnMonitor(TreeListData* d) {
    RECT tip;
    if (!d->tooltip || !GetWindowRect(d->tooltip, &tip)) return;
    MONITORINFO info = {sizeof info, {}, {}, 0};
    if (!GetMonitorInfoA(MonitorFromWindow(d->tooltip, MONITOR_DEFAULTTONEAREST), &info)) return;
    if (!KeepRectOnArea(&tip, info.rcWork)) return;
    d->tipPos = POINT{tip.left, tip.top};
    SendTip(d, TTM_TRACKPOSITION, 0, MAKELPARAM(tip.left, tip.top));
}

// Shows the tip at the stored position.
void Activate(TreeListData* d) {
    TOOLINFOA ti = ToolInfo(d);
    SendTip(d, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&ti));
    SendTip(d, TTM_TRACKPOSITION, 0, MAKELPARAM(d->tipPos.x, d->tipPos.y));
    SendTip(d, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&ti));
    KeepTipOnMonitor(d);
}

void Remember(TreeListData* d, ItemId item, int column, int ticks, UINT interval) {
    d->tipItem = item;
    d->tipColumn = column;
    d->tipCountdown = ticks;
    SetTimer(d->window, kTimerTip, interval, nullptr);
}

// The text goes into the tip buffer; at the client point, at once or after ticks of 500 ms.
void ShowTip(TreeListData* d, ItemId item, int column, const char* text, size_t length, POINT at, UINT state,
             int ticks = 0) {
    if (!d->tooltip || !StoreTipText(d, text, length)) return;
    d->tipFont = FontFor(d, state);
    ClientToScreen(d->window, &at);
    d->tipPos = at;
    if (ticks > 0) {
        Remember(d, item, column, ticks, kTickMs);
        return;
    }
    Activate(d);
    if (IsDying(d)) return;
    Remember(d, item, column, 0, kShownMs);
}

struct TipSource {
    const char* text;
    UINT length;
    UINT state;
    bool callback;
    int width;  // cached text width
};

bool ReadSource(TreeListData* d, ItemId item, int column, TipSource* s) {
    TreeListItem* it = Item(d, item);
    if (!it) return false;
    if (column == 0) {
        *s = {it->text, it->textLength, it->state, (it->callbacks & kCallbackText) != 0, ItemTextWidth(d, it)};
        return true;
    }
    TreeListCell* cell = Cell(d, item, column);
    if (!cell) {
        *s = {"", 0, 0, false, 0};
        return true;
    }
    *s = {cell->text ? cell->text : "", cell->textLength, cell->state, (cell->callbacks & kCallbackText) != 0,
          CellTextWidth(d, cell)};
    return true;
}

// TLN_CELLTIP: true when the parent took over (its text shown, or held back for its delay).
bool AskParent(TreeListData* d, ItemId item, int column, const TipSource& s, POINT at) {
    NMTREEVIEWA nm = {};
    nm.itemNew = TextRecord(d, item, column);
    nm.itemNew.mask &= ~TVIF_TEXT;  // 0x801C: the text and its length come along without the text bit
    // A copy: the text is read after the send, and the parent may set the item's text meanwhile.
    std::string text(nm.itemNew.pszText, static_cast<size_t>(nm.itemNew.cchTextMax));
    nm.itemNew.pszText = text.data();
    nm.ptDrag = at;
    if (!SendNotify(d, TLN_CELLTIP, &nm.hdr) || IsDying(d) || !Item(d, item)) return false;
    const char* shown = nm.itemNew.pszText && nm.itemNew.pszText != LPSTR_TEXTCALLBACKA ? nm.itemNew.pszText : "";
    int ticks = 0;
    if ((nm.itemNew.mask & kOwnTipText) && nm.itemNew.lParam > 0)
        ticks = static_cast<int>(std::min<LPARAM>((nm.itemNew.lParam + 499) / 500, INT_MAX));
    ShowTip(d, item, column, shown, strlen(shown), nm.ptDrag, s.state, ticks);
    return true;
}

void TipFor(TreeListData* d, ItemId item, int column) {
    if (d->tipItem == item && d->tipColumn == column) return;
    RECT r;
    TipSource s;
    if (!ReadSource(d, item, column, &s) || !CellTextRect(d, item, column, &r)) {
        HideTip(d);
        return;
    }
    const POINT at = {r.left, r.top};
    if (d->exStyle & TLX_CELLTIPS) {
        if (AskParent(d, item, column, s, at)) return;
        if (IsDying(d) || !ReadSource(d, item, column, &s)) {
            HideTip(d);
            return;
        }
    } else if (d->style & TVS_INFOTIP) {
        // The parent hears of the tip first (as with the system's tree view); its answer is not used.
        char unused[1] = {};
        NMTVGETINFOTIPA nm = {};
        nm.pszText = unused;
        nm.cchTextMax = sizeof unused;
        nm.hItem = ToHandle(item);
        nm.lParam = d->items[item]->lParam;
        SendNotify(d, TVN_GETINFOTIPA, &nm.hdr);
        if (IsDying(d) || !Item(d, item) || !ReadSource(d, item, column, &s)) {
            HideTip(d);
            return;
        }
        ShowTip(d, item, column, s.text, std::min<UINT>(s.length, kInfoTipLimit), at, s.state);
        return;
    }
    if (r.right - r.left > s.width + 4) {
        HideTip(d);
        return;
    }
    if (s.callback) {
        TVITEMA answer;
        if (!FetchCallbacks(d, item, column, TVIF_TEXT, &answer)) {
            HideTip(d);
            return;
        }
        s.text = answer.pszText;
        s.length = static_cast<UINT>(strlen(answer.pszText));
    }
    if (!s.length) {
        HideTip(d);
        return;
    }
    ShowTip(d, item, column, s.text, s.length, at, s.state);
}

LRESULT CALLBACK TipWndProc(HWND tip, UINT msg, WPARAM wp, LPARAM lp) {
    auto* d = reinterpret_cast<TreeListData*>(GetWindowLongPtrA(tip, GWLP_USERDATA));
    WNDPROC own = d ? d->tipProc : nullptr;
    if (!own) return DefWindowProcA(tip, msg, wp, lp);
    if (msg == WM_SETFOCUS) {
        if (wp) SetFocus(reinterpret_cast<HWND>(wp));
        return 0;
    }
    if (msg >= WM_MOUSEFIRST && msg <= WM_MBUTTONDBLCLK) {
        POINT pt = {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        MapWindowPoints(tip, d->window, &pt, 1);
        return TreeListWndProc(d->window, msg, wp, MAKELPARAM(pt.x, pt.y));
    }
    return CallWindowProcA(own, tip, msg, wp, lp);
}

// Gives a tip its own procedure back, so that it outlives this control unharmed.
void Unsubclass(TreeListData* d) {
    if (!d->tooltip || !d->tipProc) return;
    if (GetWindowLongPtrA(d->tooltip, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(TipWndProc)) {
        SetWindowLongPtrA(d->tooltip, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(d->tipProc));
        SetWindowLongPtrA(d->tooltip, GWLP_USERDATA, 0);
    }
    d->tipProc = nullptr;
}

}  // namespace

bool KeepRectOnArea(RECT* tip, const RECT& work) {
    auto shift = [](LONG low, LONG high, LONG workLow, LONG workHigh) -> LONG {
        if (high <= workHigh) return 0;
        return std::max<LONG>(std::min<LONG>(high - workHigh, low - workLow), 0);
    };
    const LONG dx = shift(tip->left, tip->right, work.left, work.right);
    const LONG dy = shift(tip->top, tip->bottom, work.top, work.bottom);
    OffsetRect(tip, -dx, -dy);
    return dx || dy;
}

void CreateTip(TreeListData* d) {
    HWND tip = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, d->window, nullptr,
                               reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(d->window, GWLP_HINSTANCE)), nullptr);
    if (!tip) return;
    d->tooltip = tip;
    TOOLINFOA ti = ToolInfo(d);
    SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    SendMessageA(tip, TTM_SETMAXTIPWIDTH, 0, 10000);
    SetWindowLongPtrA(tip, GWLP_ID, 2);
    SetWindowLongPtrA(tip, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(d));
    d->tipProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(tip, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TipWndProc)));
}

void DestroyTip(TreeListData* d) {
    KillTimer(d->window, kTimerTip);
    HWND tip = d->tooltip;
    const bool own = d->tipProc != nullptr;
    Unsubclass(d);
    d->tooltip = nullptr;
    if (tip && own) DestroyWindow(tip);
    free(d->tipText);
    d->tipText = nullptr;
    d->tipCapacity = 0;
}

void HideTip(TreeListData* d) {
    if (d->tooltip && (d->tipItem || d->tipCountdown)) {
        TOOLINFOA ti = ToolInfo(d);
        SendTip(d, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&ti));
    }
    d->tipItem = 0;
    d->tipColumn = 0;
    d->tipCountdown = 0;
    KillTimer(d->window, kTimerTip);
}

void UpdateTip(TreeListData* d, ItemId item, UINT flags) {
    const int column = (flags & kTreeFlags) ? 0 : HitColumn(flags);
    if (!item || (EditorOpen(d) && item == d->editItem && column == d->editColumn)) {
        HideTip(d);
        return;
    }
    if (flags & (kTreeFlags | kCellFlags))
        TipFor(d, item, column);
    else
        HideTip(d);
}

void OnTipTimer(TreeListData* d) {
    if (!d->tipItem) return;
    POINT cursor = {0, 0};
    TreeListCursorPos(&cursor);
    HWND under = WindowFromPoint(cursor);
    if (under != d->window && (!d->tooltip || under != d->tooltip)) {
        HideTip(d);
        return;
    }
    TVHITTESTINFO hit = {};
    hit.pt = cursor;
    ScreenToClient(d->window, &hit.pt);
    const ItemId item = HitTestCell(d, &hit);
    if (d->tipCountdown > 0) {
        if (--d->tipCountdown > 0) return;
        const bool same = item == d->tipItem && (d->tipColumn == 0 ? (hit.flags & kTreeFlags) != 0
                                                                   : (hit.flags & kCellFlags) &&
                                                                         HitColumn(hit.flags) == d->tipColumn);
        if (same) {
            Activate(d);
            if (!IsDying(d)) SetTimer(d->window, kTimerTip, kShownMs, nullptr);
            return;
        }
        d->tipItem = 0;
    }
    UpdateTip(d, item, hit.flags);
}

LRESULT OnTipNeedText(TreeListData* d, NMTTDISPINFOA* info) {
    info->lpszText = d->tipText ? d->tipText : const_cast<char*>("");
    info->hinst = nullptr;
    if (d->tipFont) SendTip(d, WM_SETFONT, reinterpret_cast<WPARAM>(d->tipFont), 0);
    return 0;
}

LRESULT SetToolTips(TreeListData* d, HWND tip) {
    HWND old = d->tooltip;
    if (tip == old) return reinterpret_cast<LRESULT>(old);
    HideTip(d);
    Unsubclass(d);
    d->tooltip = tip;
    return reinterpret_cast<LRESULT>(old);
}
