// The window procedure of the "TreeList" control: takes a reference on the per-window record and its lock,
// then hands each message to its handler. The table below lists every message the control answers; anything
// else goes to DefWindowProcA, outside the lock.
#include "treelist/control/TreeListWindow.h"

#include "treelist/control/TreeListColumns.h"
#include "treelist/control/TreeListDeferred.h"
#include "treelist/control/TreeListDrag.h"
#include "treelist/control/TreeListEdit.h"
#include "treelist/control/TreeListItemOps.h"
#include "treelist/control/TreeListItems.h"
#include "treelist/control/TreeListKeys.h"
#include "treelist/control/TreeListLayout.h"
#include "treelist/control/TreeListMouse.h"
#include "treelist/control/TreeListNotify.h"
#include "treelist/control/TreeListPaint.h"
#include "treelist/control/TreeListScroll.h"
#include "treelist/control/TreeListSelect.h"
#include "treelist/control/TreeListSettings.h"
#include "treelist/control/TreeListTimers.h"
#include "treelist/control/TreeListTip.h"

namespace {

template <typename T>
T* Ptr(LPARAM lParam) {
    return reinterpret_cast<T*>(lParam);
}
ItemId ItemArg(ULONG_PTR value) { return ToItem(value); }
int IntArg(ULONG_PTR value) { return static_cast<int>(static_cast<LONG_PTR>(value)); }

// The answer of a message, or kPassOn for DefWindowProcA. One line per message, grouped by the header that
// declares the handler; the README of this folder names the file behind each.
LRESULT Dispatch(TreeListData* d, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    // --- window messages (TreeListWindow.h)
    case WM_DESTROY:               return OnDestroy(d);
    case WM_NCDESTROY:             return OnNcDestroy(d);
    case WM_SIZE:                  return OnSize(d, LOWORD(lp), HIWORD(lp));
    case WM_ENABLE:                return OnEnable(d, wp != 0);
    case WM_SETFOCUS:              return OnFocus(d, true);
    case WM_KILLFOCUS:             return OnFocus(d, false);
    case WM_SETREDRAW:             return OnSetRedraw(d, wp != 0);
    case WM_SYSCOLORCHANGE:        return OnSysColorChange(d);
    case WM_SHOWWINDOW:            return OnShowWindow(d, wp != 0);
    case WM_SETFONT:               return OnSetFont(d, reinterpret_cast<HFONT>(wp), LOWORD(lp) != 0);
    case WM_GETFONT:               return reinterpret_cast<LRESULT>(d->font);
    case WM_DRAWITEM:              return OnDrawItem(d, wp, lp);
    case WM_STYLECHANGED:          return OnStyleChanged(d, wp, Ptr<const STYLESTRUCT>(lp));
    case WM_GETDLGCODE:            return OnGetDlgCode(d, Ptr<const MSG>(lp));
    case WM_CUT:
    case WM_COPY:
    case WM_PASTE:
    case WM_CLEAR:                 return OnClipboard(d, msg);

    // --- painting (TreeListPaint.h)
    case WM_PAINT:                 return OnPaint(d, reinterpret_cast<HDC>(wp));

    // --- timers (TreeListTimers.h) and the deferred queue (TreeListDeferred.h)
    case WM_TIMER:                 return OnTimer(d, wp);
    case TLM_DEFERRED:             RunDeferred(d); return 0;

    // --- settings (TreeListSettings.h)
    case TVM_GETINDENT:            return d->indent;
    case TVM_SETINDENT:            return SetIndent(d, IntArg(wp));
    case TVM_GETIMAGELIST:         return GetImageList(d, wp);
    case TVM_SETIMAGELIST:         return SetImageList(d, wp, reinterpret_cast<HIMAGELIST>(lp));
    case TVM_SETBKCOLOR:           return SetColour(d, wp, static_cast<COLORREF>(lp));
    case TVM_GETBKCOLOR:           return GetColour(d, wp);
    case TVM_SETTEXTCOLOR:         return SetColour(d, kColourText, static_cast<COLORREF>(lp));
    case TVM_GETTEXTCOLOR:         return GetColour(d, kColourText);
    case TVM_SETINSERTMARKCOLOR:   return SetColour(d, kColourInsertMark, static_cast<COLORREF>(lp));
    case TVM_GETINSERTMARKCOLOR:   return GetColour(d, kColourInsertMark);
    case TVM_SETLINECOLOR:         return SetColour(d, kColourLines, static_cast<COLORREF>(lp));
    case TVM_GETLINECOLOR:         return GetColour(d, kColourLines);
    case TVM_SETEXTENDEDSTYLE:     return SetExtendedStyle(d, static_cast<DWORD>(wp), static_cast<DWORD>(lp));
    case TVM_GETEXTENDEDSTYLE:     return d->exStyle;
    case TLM_USERCOLOR:            return UserColour(d, wp, static_cast<COLORREF>(lp));
    case TLM_OPTION:               return OptionMessage(d, wp, lp);

    // --- item storage (TreeListItems.h)
    case TVM_INSERTITEMA:          return ItemArg(InsertItem(d, Ptr<const TreeListInsertRecord>(lp)));
    case TVM_DELETEITEM:           return DeleteItemMessage(d, wp, ItemArg(lp));
    case TVM_GETCOUNT:             return d->itemCount;
    case TLM_COUNTRANGE:           return CountRange(d, Ptr<const TVITEMA>(lp));
    case TLM_SETRANGE:             return SetRange(d, Ptr<TVITEMA>(lp));
    case TLM_FINDITEM:             return ItemArg(FindItem(d, ItemArg(wp), Ptr<const TVITEMA>(lp)));
    case TLM_GETUSERDATASIZE:      return d->userDataSize;

    // --- reading and changing items (TreeListItemOps.h)
    case TVM_GETITEMA:             return GetItemMessage(d, Ptr<TVITEMA>(lp));
    case TVM_SETITEMA:             return SetItemMessage(d, Ptr<const TVITEMA>(lp));
    case TVM_GETITEMSTATE:         return GetItemState(d, ItemArg(wp));
    case TVM_GETNEXTITEM:          return GetNextItem(d, static_cast<UINT>(wp), ItemArg(lp));
    case TLM_SETITEMPARAM:         return SetItemParam(d, ItemArg(lp), static_cast<LPARAM>(wp));
    case TLM_GETITEMPARAM:         return GetItemParam(d, ItemArg(lp));
    case TLM_GETUSERDATA:          return GetUserData(d, ItemArg(lp));
    case TLM_SETUSERDATASIZE:      return SetUserDataSize(d, lp);
    case TLM_SETCELLCOLOR:         return SetCellColourRecord(d, ItemArg(wp), Ptr<const TreeListCellColour>(lp));
    case TLM_GETCELLTEXTCOLOR:     return GetCellColour(d, ItemArg(wp), IntArg(lp), false);
    case TLM_SETCELLTEXTCOLOR:     return SetCellColour(d, wp, static_cast<COLORREF>(lp), false);
    case TLM_GETCELLBKCOLOR:       return GetCellColour(d, ItemArg(wp), IntArg(lp), true);
    case TLM_SETCELLBKCOLOR:       return SetCellColour(d, wp, static_cast<COLORREF>(lp), true);
    case TVM_EXPAND:               return ExpandMessage(d, static_cast<UINT>(wp), ItemArg(lp));
    case TVM_SORTCHILDREN:         return SortChildrenMessage(d, wp != 0, ItemArg(lp));
    case TVM_SORTCHILDRENCB:       return SortChildrenCallback(d, wp != 0, Ptr<const TVSORTCB>(lp), false);
    case TLM_SORTCHILDREN6:        return SortChildrenCallback(d, wp != 0, Ptr<const TVSORTCB>(lp), true);
    case TLM_MOVEITEM:
    case TLM_MOVEITEM + 1:
    case TLM_MOVEITEM + 2:
    case TLM_MOVEITEM + 3:         return MoveItemMessage(d, static_cast<int>(msg - TLM_MOVEITEM), ItemArg(wp), ItemArg(lp));

    // --- rows, item rectangles and row height (TreeListLayout.h)
    case TVM_GETITEMRECT:          return GetItemRect(d, wp, Ptr<RECT>(lp));
    case TVM_GETVISIBLECOUNT:      return d->wholeRows;
    case TVM_CREATEDRAGIMAGE:      return CreateDragImage(d, IntArg(wp), ItemArg(lp));
    case TVM_SETITEMHEIGHT:        return SetItemHeight(d, static_cast<short>(wp));
    case TVM_GETITEMHEIGHT:        return d->rowHeight;
    case TLM_CELLVISIBILITY:       return CellVisibility(d, ItemArg(wp), IntArg(lp));
    case TLM_GETROWSTOUCHED:       return d->rowsTouched;
    case TLM_GETITEMROW:           return GetItemRow(d, ItemArg(lp));
    case TLM_GETROWCOUNT:          return d->rowCount;
    case TLM_GETROWITEM:           return GetRowItem(d, lp);

    // --- columns and the header (TreeListColumns.h)
    case TLM_INSERTCOLUMN:         return InsertColumn(d, wp, Ptr<const LVCOLUMNA>(lp));
    case TLM_DELETECOLUMN:         return DeleteColumn(d, IntArg(wp));
    case TLM_GETCOLUMNCOUNT:       return d->columnCount;
    case TLM_GETCOLUMN:            return GetColumn(d, IntArg(wp), Ptr<LVCOLUMNA>(lp));
    case TLM_SETCOLUMN:            return SetColumn(d, IntArg(wp), Ptr<const LVCOLUMNA>(lp));
    case TLM_GETCOLUMNWIDTH:       return GetColumnWidth(d, IntArg(wp));
    case TLM_SETCOLUMNWIDTH:       return SetColumnWidth(d, IntArg(wp), IntArg(lp));
    case TLM_SETCOLUMNORDER:       return SetColumnOrder(d, wp, Ptr<const BYTE>(lp));
    case TLM_GETCOLUMNORDER:       return GetColumnOrder(d, wp, Ptr<int>(lp));
    case TLM_GETHEADER:            return reinterpret_cast<LRESULT>(d->header);
    case WM_NOTIFY:                return OnNotify(d, Ptr<NMHDR>(lp));

    // --- selection and marks (TreeListSelect.h)
    case TVM_SELECTITEM:           return SelectItemMessage(d, wp, ItemArg(lp));
    case TLM_SELECTCELL:           return SelectCellMessage(d, ItemArg(wp), IntArg(lp));
    case TLM_SELECTSUBTREE:        return SelectSubtree(d, wp, ItemArg(lp));
    case TLM_SETDROPHILITE:        return SetHighlightMessage(d, wp, ItemArg(lp), true);
    case TLM_SETHOTHILITE:         return SetHighlightMessage(d, wp, ItemArg(lp), false);
    case TVM_SETINSERTMARK:        return SetInsertMarkMessage(d, wp, ItemArg(lp));

    // --- scrolling (TreeListScroll.h)
    case WM_VSCROLL:               return OnVScroll(d, wp);
    case WM_HSCROLL:               return OnHScroll(d, wp);
    case WM_MOUSEWHEEL:            return OnMouseWheel(d, wp);
    case TVM_ENSUREVISIBLE:        return EnsureVisibleMessage(d, wp, ItemArg(lp));

    // --- mouse (TreeListMouse.h)
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:         return OnButton(d, msg, wp, lp);
    case WM_MOUSEMOVE:             return OnMouseMove(d, wp, lp);
    case WM_MOUSELEAVE:            return OnMouseLeave(d);
    case TVM_HITTEST:              return ItemArg(HitTestMessage(d, Ptr<TVHITTESTINFO>(lp)));

    // --- tooltip (TreeListTip.h)
    case TVM_SETTOOLTIPS:          return SetToolTips(d, reinterpret_cast<HWND>(wp));
    case TVM_GETTOOLTIPS:          return reinterpret_cast<LRESULT>(d->tooltip);

    // --- keyboard and type-ahead (TreeListKeys.h)
    case WM_KEYDOWN:               return OnKeyDown(d, static_cast<UINT>(wp), lp);
    case WM_KEYUP:                 return OnKeyUp(d, static_cast<UINT>(wp));
    case WM_CHAR:                  return OnChar(d, wp, lp);
    case TVM_GETISEARCHSTRINGA:    return GetSearchString(d, Ptr<char>(lp));

    // --- in-place editing (TreeListEdit.h)
    case WM_COMMAND:               return OnCommand(d, wp, lp);
    case TVM_EDITLABELA:           return EditLabelMessage(d, ItemArg(lp));
    case TVM_GETEDITCONTROL:       return GetEditControl(d);
    case TVM_ENDEDITLABELNOW:      return EndEditNow(d, wp);
    case TLM_SETCOLUMNEDIT:        return SetColumnEdit(d, wp, lp);
    case TLM_SETCOLUMNEDITBASE:    return SetColumnEditBase(d, IntArg(wp), lp);

    // --- internal drag (TreeListDrag.h; its timers come by WM_TIMER)
    case TLM_STARTDRAG:            return StartDragMessage(d, ItemArg(wp));
    case TLM_AUTOSCROLL:           return AutoScrollMessage(d, wp, lp);
    case TLM_SETDROPTARGET:        return SetDropTargetMessage(d, wp, ItemArg(lp));

    default:                       return kPassOn;
    }
}

// Work that belongs to the window's own thread: window messages, and the messages that make a child window
// (the header at the first column, the in-place editor) or capture the mouse and run timers (the internal
// drag). Called directly from another thread, they are handed to the window's thread without taking the
// lock: a window made on the calling thread would belong to it, and the window's thread, waiting for the
// lock, could not answer what making or asking a window sends it.
bool BelongsToWindowThread(UINT msg) {
    switch (msg) {
    case TLM_INSERTCOLUMN:
    case TVM_EDITLABELA:
    case TLM_STARTDRAG:
    case TLM_AUTOSCROLL:
    case TLM_SETDROPTARGET: return true;
    default: return msg < WM_USER;
    }
}

}  // namespace

int TreeListInsertItems(HWND window, const TreeListInsertRecord* records, int count, HTREEITEM* items) {
    TreeListData* d = AcquireTreeList(window);
    int inserted = 0;
    if (d) d->lock.Enter();
    for (int i = 0; i < count; ++i) {
        const ItemId item = d && !IsDying(d) ? InsertItem(d, &records[i]) : 0;
        if (items) items[i] = ToHandle(item);
        inserted += item != 0;
    }
    if (d) {
        d->lock.Leave();
        ReleaseTreeList(d);
    }
    return inserted;
}

LRESULT CALLBACK TreeListWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CREATE) return CreateTreeList(window, reinterpret_cast<const CREATESTRUCTA*>(lParam));
    TreeListData* d = AcquireTreeList(window);
    if (!d) return DefWindowProcA(window, msg, wParam, lParam);
    if (!IsOwnerThread(d) && BelongsToWindowThread(msg)) {
        LRESULT result;
        {
            TreeListUnlocked unlocked(d->lock);
            result = SendMessageA(window, msg, wParam, lParam);
        }
        ReleaseTreeList(d);
        return result;
    }
    d->lock.Enter();
    // A window being destroyed answers nothing more of its own, whichever thread asks.
    const LRESULT result = !IsDying(d) || msg == WM_NCDESTROY ? Dispatch(d, msg, wParam, lParam) : kPassOn;
    d->lock.Leave();
    ReleaseTreeList(d);
    return result == kPassOn ? DefWindowProcA(window, msg, wParam, lParam) : result;
}
