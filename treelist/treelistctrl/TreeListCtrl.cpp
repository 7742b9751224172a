// CTreeListCtrl: creation (plain, in place of a placeholder, and the direct forms that fetch the control's
// window procedure once per process), the column wrappers and the compare thunk of sorted inserts.
#include "treelist/treelistctrl/TreeListCtrl.h"

#include <cstring>

WNDPROC TreeListDirectProc = nullptr;

IMPLEMENT_DYNAMIC(CTreeListCtrl, CWnd)

namespace {

constexpr DWORD kChildScrolled = WS_CHILD | WS_VSCROLL | WS_HSCROLL;  // 0x40300000
constexpr UINT kPlaceFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW;
constexpr UINT kColumnFormatBits = 0x90000001;  // LVCF_FMT and both column marks
constexpr int kNoOrder = 32768;
constexpr int kTextRoom = 256;

// Stores the control's window procedure for direct calls, once per process.
void FetchDirectProc(HWND window) {
    if (TreeListDirectProc) return;
    auto proc = reinterpret_cast<WNDPROC>(SendMessageA(window, TLM_OPTION, TLO_WINDOWPROC, 0));
    InterlockedCompareExchangePointer(reinterpret_cast<PVOID volatile*>(&TreeListDirectProc),
                                      reinterpret_cast<PVOID>(proc), nullptr);
}

}  // namespace

LRESULT CALLBACK TreeListCompareThunk(HWND, HTREEITEM, LPCSTR probeText, LPCSTR newText, LPARAM,
                                      LPARAM compareData) {
    return reinterpret_cast<TreeListTextCompare>(compareData)(newText, probeText);
}

BOOL CTreeListCtrl::Create(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    if (!RegisterTreeListClass(AfxGetInstanceHandle())) return FALSE;
    return CWnd::CreateEx(exStyle, kTreeListClassName, nullptr, style | kChildScrolled, rect, parent, id);
}

BOOL CTreeListCtrl::CreateAtControl(DWORD exStyle, DWORD style, int placeholderId, CWnd* parent, UINT id) {
    HWND placeholder = parent ? ::GetDlgItem(parent->GetSafeHwnd(), placeholderId) : nullptr;
    if (!placeholder) return FALSE;
    RECT rect;
    ::GetWindowRect(placeholder, &rect);
    ::MapWindowPoints(nullptr, parent->GetSafeHwnd(), reinterpret_cast<POINT*>(&rect), 2);
    if (!Create(exStyle, style | WS_VISIBLE, rect, parent, id)) return FALSE;
    ::SetWindowPos(m_hWnd, placeholder, 0, 0, 0, 0, kPlaceFlags);
    return TRUE;
}

BOOL CTreeListCtrl::CreateDirect(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    if (!Create(exStyle, style, rect, parent, id)) return FALSE;
    FetchDirectProc(m_hWnd);
    return TRUE;
}

BOOL CTreeListCtrl::CreateAtControlDirect(DWORD exStyle, DWORD style, int placeholderId, CWnd* parent, UINT id) {
    if (!CreateAtControl(exStyle, style, placeholderId, parent, id)) return FALSE;
    FetchDirectProc(m_hWnd);
    return TRUE;
}

LRESULT CTreeListCtrl::Direct(UINT message, WPARAM wParam, LPARAM lParam) const {
    WNDPROC proc = TreeListDirectProc;
    return proc ? proc(m_hWnd, message, wParam, lParam) : 0;
}

int CTreeListCtrl::InsertColumn(int index, LPCSTR text, int format, int width, int order) {
    LVCOLUMNA c = {};
    if (text) {
        c.mask = LVCF_TEXT;
        c.pszText = const_cast<LPSTR>(text);
        c.cchTextMax = kTextRoom;
    }
    if (format >= 0) {
        c.mask |= kColumnFormatBits;
        c.fmt = format;
    }
    if (order != kNoOrder) {
        c.mask |= LVCF_ORDER;
        c.iOrder = order;
    }
    c.mask |= width >= 0 ? LVCF_WIDTH : LVCF_SUBITEM;
    c.cx = width >= 0 ? width : -width;
    return static_cast<int>(SendMessage(TLM_INSERTCOLUMN, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&c)));
}

LRESULT CTreeListCtrl::SetColumnRecord(int column, UINT mask, int format, int width) {
    LVCOLUMNA c = {};
    c.mask = mask;
    c.fmt = format;
    c.cx = width;
    return SendMessage(TLM_SETCOLUMN, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&c));
}

BOOL CTreeListCtrl::SetColumnText(int column, LPCSTR text) {
    LVCOLUMNA c = {};
    c.mask = LVCF_TEXT;
    c.pszText = const_cast<LPSTR>(text);
    c.cchTextMax = text ? static_cast<int>(strlen(text)) : 0;
    return static_cast<BOOL>(SendMessage(TLM_SETCOLUMN, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&c)));
}

BOOL CTreeListCtrl::SetColumnFlag28(int column, BOOL on) {
    return static_cast<BOOL>(SetColumnRecord(column, 0x10000000, on ? 0x10000000 : 0));
}

BOOL CTreeListCtrl::SetColumnFlag31(int column, BOOL on) {
    return static_cast<BOOL>(SetColumnRecord(column, 0x80000000, on ? static_cast<int>(0x80000000) : 0));
}

BOOL CTreeListCtrl::SetColumnFlags29(int column, BOOL on, int width, int mode) {
    UINT mask = 0x20000000;
    int format = on ? 0x20000000 : 0;
    if (width >= 0) mask |= LVCF_WIDTH;
    if (mode >= 0) mask |= 0x40000000;
    if (mode > 0) format = on ? 0x60000000 : 0x40000000;
    return static_cast<BOOL>(SetColumnRecord(column, mask, format, width));
}

BOOL CTreeListCtrl::SetHeaderItem(int column, UINT mask, int image, HBITMAP bitmap, int onRight, bool show) {
    HWND header = reinterpret_cast<HWND>(SendMessage(TLM_GETHEADER));
    if (!header) return FALSE;
    HDITEMA item = {};
    item.mask = HDI_FORMAT;
    ::SendMessageA(header, HDM_GETITEMA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
    const int flag = mask == HDI_IMAGE ? HDF_IMAGE : HDF_BITMAP;
    item.fmt = show ? item.fmt | flag : item.fmt & ~flag;
    item.fmt = (onRight & 1) ? item.fmt | HDF_BITMAP_ON_RIGHT : item.fmt & ~HDF_BITMAP_ON_RIGHT;
    item.mask = HDI_FORMAT | mask;
    item.iImage = image;
    item.hbm = bitmap;
    return static_cast<BOOL>(::SendMessageA(header, HDM_SETITEMA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item)));
}

BOOL CTreeListCtrl::SetColumnImage(int column, int image, int onRight) {
    return SetHeaderItem(column, HDI_IMAGE, image, nullptr, onRight, image >= -1);
}

BOOL CTreeListCtrl::SetColumnBitmap(int column, HBITMAP bitmap, int onRight) {
    return SetHeaderItem(column, HDI_BITMAP, 0, bitmap, onRight, bitmap != nullptr);
}
