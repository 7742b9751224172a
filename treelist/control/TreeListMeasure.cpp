// Text widths of items and cells in the font they are drawn in, cached in the records.
#include "treelist/control/TreeListLayout.h"

int MeasureText(TreeListData* d, UINT state, const char* text, int length) {
    if (length <= 0) return 0;
    HDC dc = GetDC(nullptr);
    if (!dc) return 0;
    HGDIOBJ old = SelectObject(dc, FontFor(d, state));
    RECT r = {0, 0, 0, 0};
    DrawTextExA(dc, const_cast<char*>(text), length, &r, DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER,
                nullptr);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return r.right - r.left;
}

int ItemTextWidth(TreeListData* d, TreeListItem* it) {
    if (!it->textWidth && it->textLength && !(it->callbacks & kCallbackText))
        it->textWidth = MeasureText(d, it->state, it->text, static_cast<int>(it->textLength));
    return it->textWidth;
}

int CellTextWidth(TreeListData* d, TreeListCell* cell) {
    if (cell && !cell->textWidth && cell->textLength && cell->text && !(cell->callbacks & kCallbackText))
        cell->textWidth = MeasureText(d, cell->state, cell->text, static_cast<int>(cell->textLength));
    return cell ? cell->textWidth : 0;
}
