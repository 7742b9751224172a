#include "framework/Controls.h"

#include "framework/ImageList.h"

IMPLEMENT_DYNCREATE(CScrollBar, CWnd)
IMPLEMENT_DYNCREATE(CButton, CWnd)
IMPLEMENT_DYNCREATE(CEdit, CWnd)
IMPLEMENT_DYNCREATE(CStatic, CWnd)
IMPLEMENT_DYNCREATE(CListBox, CWnd)
IMPLEMENT_DYNCREATE(CComboBox, CWnd)
IMPLEMENT_DYNCREATE(CListCtrl, CWnd)
IMPLEMENT_DYNCREATE(CTreeCtrl, CWnd)

namespace {

void ItemText(const CWnd* wnd, UINT lengthMessage, UINT textMessage, int index, CString& out) {
    int length = (int)wnd->SendMessage(lengthMessage, (WPARAM)index);
    if (length <= 0) {
        out.Empty();
        return;
    }
    wnd->SendMessage(textMessage, (WPARAM)index, (LPARAM)out.GetBuffer(length));
    out.ReleaseBuffer();
}

// Hands the reflected owner-draw messages of list and combo boxes to their virtual functions.
template <class Box>
BOOL OwnerDrawNotify(Box* box, UINT message, LPARAM lParam, LRESULT* pResult) {
    switch (message) {
    case WM_DRAWITEM:
        box->DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        break;
    case WM_MEASUREITEM:
        box->MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
        break;
    case WM_COMPAREITEM:
        if (pResult) *pResult = box->CompareItem(reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam));
        return TRUE;
    case WM_DELETEITEM:
        box->DeleteItem(reinterpret_cast<LPDELETEITEMSTRUCT>(lParam));
        break;
    default:
        return FALSE;
    }
    if (pResult) *pResult = TRUE;
    return TRUE;
}

}  // namespace

void CListBox::GetText(int nIndex, CString& rString) const { ItemText(this, LB_GETTEXTLEN, LB_GETTEXT, nIndex, rString); }
void CListBox::DrawItem(LPDRAWITEMSTRUCT) {}
void CListBox::MeasureItem(LPMEASUREITEMSTRUCT) {}
int CListBox::CompareItem(LPCOMPAREITEMSTRUCT) { return 0; }
void CListBox::DeleteItem(LPDELETEITEMSTRUCT) {}
BOOL CListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    return OwnerDrawNotify(this, message, lParam, pResult) || CWnd::OnChildNotify(message, wParam, lParam, pResult);
}

void CComboBox::GetLBText(int nIndex, CString& rString) const {
    ItemText(this, CB_GETLBTEXTLEN, CB_GETLBTEXT, nIndex, rString);
}
void CComboBox::DrawItem(LPDRAWITEMSTRUCT) {}
void CComboBox::MeasureItem(LPMEASUREITEMSTRUCT) {}
int CComboBox::CompareItem(LPCOMPAREITEMSTRUCT) { return 0; }
void CComboBox::DeleteItem(LPDELETEITEMSTRUCT) {}
BOOL CComboBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    return OwnerDrawNotify(this, message, lParam, pResult) || CWnd::OnChildNotify(message, wParam, lParam, pResult);
}

int CListCtrl::InsertColumn(int nCol, LPCSTR lpszColumnHeading, int nFormat, int nWidth) {
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT | LVCF_TEXT | LVCF_SUBITEM | (nWidth >= 0 ? LVCF_WIDTH : 0);
    column.fmt = nFormat;
    column.cx = nWidth;
    column.pszText = const_cast<LPSTR>(lpszColumnHeading ? lpszColumnHeading : "");
    column.iSubItem = nCol;
    return (int)SendMessage(LVM_INSERTCOLUMNA, (WPARAM)nCol, (LPARAM)&column);
}

int CListCtrl::InsertItem(int nItem, LPCSTR lpszItem, int nImage) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT | (nImage >= 0 ? LVIF_IMAGE : 0);
    item.iItem = nItem;
    item.pszText = const_cast<LPSTR>(lpszItem ? lpszItem : "");
    item.iImage = nImage;
    return InsertItem(&item);
}

BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask) {
    LVITEMA item = {};
    item.state = nState;
    item.stateMask = nMask;
    return (BOOL)SendMessage(LVM_SETITEMSTATE, (WPARAM)nItem, (LPARAM)&item);
}

BOOL CListCtrl::GetItemRect(int nItem, LPRECT lpRect, UINT nCode) const {
    lpRect->left = (LONG)nCode;
    return (BOOL)SendMessage(LVM_GETITEMRECT, (WPARAM)nItem, (LPARAM)lpRect);
}

int CListCtrl::HitTest(CPoint pt, UINT* pFlags) const {
    LVHITTESTINFO info = {};
    info.pt = pt;
    int item = (int)SendMessage(LVM_HITTEST, 0, (LPARAM)&info);
    if (pFlags) *pFlags = info.flags;
    return item;
}

CImageList* CListCtrl::SetImageList(CImageList* pImageList, int nImageListType) {
    HIMAGELIST old = SetImageList(pImageList ? pImageList->m_hImageList : nullptr, nImageListType);
    return CImageList::FromHandle(old);
}

HTREEITEM CTreeCtrl::InsertItem(LPCSTR lpszItem, HTREEITEM hParent, HTREEITEM hInsertAfter) {
    TVINSERTSTRUCTA insert = {};
    insert.hParent = hParent;
    insert.hInsertAfter = hInsertAfter;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<LPSTR>(lpszItem ? lpszItem : "");
    return InsertItem(&insert);
}

CString CTreeCtrl::GetItemText(HTREEITEM hItem) const {
    char buffer[1024] = {};
    TVITEMA item = {};
    item.mask = TVIF_TEXT;
    item.hItem = hItem;
    item.pszText = buffer;
    item.cchTextMax = (int)sizeof(buffer);
    SendMessage(TVM_GETITEMA, 0, (LPARAM)&item);
    buffer[sizeof(buffer) - 1] = 0;
    return CString(buffer);
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM hItem) const {
    TVITEMA item = {};
    item.mask = TVIF_PARAM;
    item.hItem = hItem;
    SendMessage(TVM_GETITEMA, 0, (LPARAM)&item);
    return (DWORD_PTR)item.lParam;
}

BOOL CTreeCtrl::SetItemData(HTREEITEM hItem, DWORD_PTR dwData) {
    TVITEMA item = {};
    item.mask = TVIF_PARAM;
    item.hItem = hItem;
    item.lParam = (LPARAM)dwData;
    return (BOOL)SendMessage(TVM_SETITEMA, 0, (LPARAM)&item);
}
