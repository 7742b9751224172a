#include "treelist/pathdlg/PathDlgLayout.h"

#include "treelist/pathdlg/PathDlgTemplate.h"

const LayoutFactor kPathDlgLayout[kPathDlgLayoutCount] = {
    {IDC_PATHDLG_TREE, 0, 0, 1, 1},  {IDC_PATHDLG_TREEMODE, 1, 1, 0, 0},   {IDC_PATHDLG_BREADCRUMB, 1, 1, 0, 0},
    {IDC_PATHDLG_DRIVES, 0, 1, 1, 0}, {IDC_PATHDLG_PATH, 0, 0, 1, 0},      {IDC_PATHDLG_LIST, 0, 0, 1, 1},
    {IDC_PATHDLG_DRIVELABEL, 0, 1, 0, 0}, {IDC_PATHDLG_UP, 1, 0, 0, 0},   {IDCANCEL, 1, 0, 0, 0},
    {IDOK, 1, 0, 0, 0},
};

RECT FollowClientSize(const LayoutRecord& record, int index, int cx, int cy) {
    const LayoutFactor& f = kPathDlgLayout[index];
    const int dx = cx - record.client.cx, dy = cy - record.client.cy;
    RECT r = record.rects[index];
    OffsetRect(&r, f.moveX * dx, f.moveY * dy);
    r.right += f.growX * dx;
    r.bottom += f.growY * dy;
    return r;
}

void LimitSizing(RECT* r, UINT edge, int minWidth, int minHeight) {
    if (r->right - r->left < minWidth) {
        if (edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT)
            r->left = r->right - minWidth;
        else
            r->right = r->left + minWidth;
    }
    if (r->bottom - r->top < minHeight) {
        if (edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT)
            r->top = r->bottom - minHeight;
        else
            r->bottom = r->top + minHeight;
    }
}

bool RememberedRectFits(const RECT& r, const RECT& work) {
    return r.left > work.left - 100 && r.left < work.right - 100 && r.top > work.top - 10 &&
           r.top < work.bottom - 100 && r.right - r.left > 16 && r.bottom - r.top > 16;
}
