// The cells of a row right of the tree column, in display order: background, check box or image, text.
#include "treelist/control/TreeListPaint.h"

#include "treelist/control/TreeListColours.h"
#include "treelist/control/TreeListColumns.h"
#include "treelist/control/TreeListLayout.h"
#include "treelist/control/TreeListNotify.h"
#include "treelist/control/TreeListShared.h"

#include <cstring>

namespace {

constexpr int kCheckBoxPart = 3, kUncheckedNormal = 1, kCheckedNormal = 5;

// A check box of a check-box column (edit modes 6 and 7) from the second state list, 1 pixel right of left.
void PaintCellCheckBox(PaintContext& pc, const PaintRow& row, int column, UINT cellState, int left) {
    TreeListData* d = pc.d;
    UINT index = StateImageIndex(cellState);
    if ((cellState & TLIS_CHECKLOCKED) && (d->columns[column].editFlags & TLEF_LOCKEDCHECKS))
        index = StateImageIndex(cellState & ~TLIS_CHECKLOCKED);
    const bool hot = d->hotCheckItem == row.item && d->hotCheckColumn == column;
    const SIZE size = d->imageSize[kImagesState2];
    const TreeListShared& shared = GetTreeListShared();
    if (d->themedChecks[kImagesState2]) {
        if ((index == 1 || index == 2) && d->checkTheme && shared.DrawThemeBackground) {
            int state = index == 1 ? kUncheckedNormal : kCheckedNormal;
            if (hot) state += d->hotCheckPressed ? 2 : 1;
            RECT r = {left + 1, row.top, left + 1 + size.cx, row.bottom};
            shared.DrawThemeBackground(d->checkTheme, pc.dc, kCheckBoxPart, state, &r, nullptr);
        }
        return;
    }
    if (HIMAGELIST list = ImageList(d, kImagesState2))
        ImageList_Draw(list, static_cast<int>(index + (hot ? 1 : 0)), pc.dc, left + 1,
                       row.top + (row.bottom - row.top - size.cy) / 2, ILD_TRANSPARENT);
}

// Whether any column of a (joined) cell lies in the update area; an empty column region is never drawn into.
bool InUpdate(const PaintContext& pc, int first, int last) {
    for (int c = first; c <= last; ++c)
        if (pc.regions[c]) return true;
    return false;
}

}  // namespace

bool PaintCells(PaintContext& pc, PaintRow& row) {
    TreeListData* d = pc.d;
    int coveredUntil = JoinedEnd(d, row.it->state, 0);
    for (int p = 0; p < d->columnCount; ++p) {
        const int c = d->order[p];
        if (c == 0 || c <= coveredUntil) continue;
        const int lastJoined = JoinedEnd(d, row.it->state, c);
        coveredUntil = lastJoined;
        const int left = ColumnLeft(d, c) - d->scrollX;
        if (left > d->clientWidth) break;
        const int right = ColumnRight(d, lastJoined) - d->scrollX;
        if (right <= pc.update.left || left >= pc.update.right || !InUpdate(pc, c, lastJoined)) continue;
        SelectColumnClip(pc, c, lastJoined);

        const TreeListCell* cell = Cell(d, row.item, c);
        const char* text = cell ? cell->text : "";
        int length = cell ? static_cast<int>(cell->textLength) : 0;
        int image = cell ? cell->image : kImageNone;
        if (cell && (cell->callbacks & kCallbackText)) {
            TVITEMA answer;
            const UINT mask = TVIF_TEXT | (image == kImageCallback ? TVIF_IMAGE : 0u);
            ++pc.callOuts;
            if (!FetchCallbacks(d, row.item, c, mask, &answer) || Item(d, row.item) != row.it || c >= d->columnCount)
                return false;
            cell = Cell(d, row.item, c);
            text = answer.pszText;
            length = static_cast<int>(strlen(text));
            if (mask & TVIF_IMAGE) image = answer.iImage;
        }
        const TreeListColumn& col = d->columns[c];
        // The cell's flag byte takes bits 16-23: span bits of the state do not reach painting.
        UINT state = row.it->state & kRowStates;
        if (cell) state |= (cell->state & 0xFFFF) | static_cast<UINT>(cell->flags) << 16;
        if (c != d->caretColumn) state &= ~TVIS_SELECTED;
        COLORREF back = RowColour(pc, row, c);
        if (cell && (cell->flags & kOwnBkColour) && !row.fullSelected)
            back = col.mark1 ? DarkenEighth(cell->bkColour) : cell->bkColour;
        FillArea(pc.dc, left, row.top, right, row.bottom, back);

        // A check box (check-box columns) or a cell image sits 1 pixel inside the cell's left edge, or its right
        // edge with state bit TLIS_IMAGERIGHT; the text keeps clear of it.
        int imageWidth = 0;
        const bool atRight = cell && (cell->state & TLIS_IMAGERIGHT);
        if (col.editMode == TLEM_CHECK || col.editMode == TLEM_CHECKTEXT) {
            if (HasImages(d, kImagesState2)) {
                imageWidth = d->imageSize[kImagesState2].cx;
                PaintCellCheckBox(pc, row, c, state, atRight ? right - imageWidth - 2 : left);
            }
        } else if (image >= 0) {
            // Cells take their images from the cell list, or from the item list while there is none.
            const int kind = ImageList(d, kImagesCell) ? kImagesCell : kImagesItem;
            if (HIMAGELIST list = ImageList(d, kind)) {
                const SIZE size = d->imageSize[kind];
                imageWidth = size.cx;
                const int x = atRight ? right - size.cx - 1 : left + 1;
                ImageList_Draw(list, image, pc.dc, x, row.top + (row.bottom - row.top - size.cy) / 2, ILD_TRANSPARENT);
            }
        }
        int textLeft = left, textRight = right;
        if (imageWidth && atRight)
            textRight = right - imageWidth - 2;
        else if (imageWidth)
            textLeft = left + imageWidth + 2;

        PaintText t = {};
        t.text = text;
        t.length = length;
        t.cachedWidth = cell && !(cell->callbacks & kCallbackText) ? const_cast<int*>(&cell->textWidth) : nullptr;
        t.state = state;
        t.ownText = cell && (cell->flags & kOwnTextColour) ? cell->textColour : CLR_INVALID;
        t.textColour = d->userColours[c] != CLR_INVALID ? d->userColours[c] : d->colours[kColourText];
        t.back = back;
        t.x = textLeft;
        t.right = textRight;
        t.align = col.align;
        t.caretCell = d->caretItem == row.item && d->caretColumn == c;
        const RECT textArea = {textLeft, row.top, textRight, row.bottom};
        const int drawn = col.mark2 && textLeft < textRight ? CallOwnerDraw(pc, row, c, textArea, t, cell != nullptr)
                                                            : 0;
        if (Item(d, row.item) != row.it) return false;
        if (drawn != 1) {
            if (drawn >= 2) t.back = CLR_INVALID;
            PaintCellText(pc, row, t);
        }
        if (d->exStyle & TLX_GRIDLINES) {
            FillArea(pc.dc, left, row.top, left + 1, row.bottom, d->colours[kColourGrid]);
            FillArea(pc.dc, left, row.bottom - 1, right, row.bottom, d->colours[kColourGrid]);
        }
        if (d->dropTarget == row.item) PaintDropBar(pc, row, left, right);
    }
    return true;
}
