// Column edges in display order and the columns whose cells may continue into the next one.
#include "treelist/control/TreeListColumns.h"

#include "treelist/control/TreeListLayout.h"

#include <algorithm>

int ComputeColumnEdges(TreeListData* d) {
    int x = 0, firstChanged = 0x10000;
    for (int p = 0; p < d->columnCount; ++p) {
        const int c = d->order[p];
        int right = std::max(x + d->columns[c].width - (p == 0 ? 1 : 0), x);
        if (p == d->columnCount - 1 && right == d->clientWidth - 1) ++right;
        if (d->left[c] != x || d->right[c] != right) {
            firstChanged = std::min(firstChanged, std::min(d->left[c], x));
            // A widened column repaints the caret and drop-highlight cells in it.
            if (right - x > d->right[c] - d->left[c]) {
                if (d->caretColumn == c) InvalidateCell(d, d->caretItem, c);
                if (d->dropColumn == c) InvalidateCell(d, d->dropItem, c);
            }
            d->left[c] = x;
            d->right[c] = right;
        }
        x = right;  // the next column starts where this one ends
    }
    d->lastRight = d->columnCount ? d->right[d->order[d->columnCount - 1]] : 0;
    return firstChanged;
}

void UpdateJoinedColumns(TreeListData* d) {
    WORD mask = 0;
    const int n = std::min(d->columnCount - 1, 16);
    for (int c = 0; c < n; ++c)
        if ((d->options[TLO_JOINCOLUMNS] & (1 << c)) && d->columns[c + 1].position == d->columns[c].position + 1)
            mask |= static_cast<WORD>(1u << c);
    if (mask != d->joinMask) {
        d->joinMask = mask;
        InvalidateItems(d);
    }
}

int JoinedEnd(const TreeListData* d, UINT itemState, int column) {
    while (column < 16 && column + 1 < d->columnCount && (d->joinMask & (1u << column)) &&
           (itemState & (1u << (16 + column))))
        ++column;
    return column;
}

int SkipJoinedColumns(TreeListData* d, ItemId item, int newPosition, int oldPosition) {
    const TreeListItem* it = Item(d, item);
    if (!it || newPosition >= 16 || newPosition <= 0 || newPosition >= d->columnCount) return newPosition;
    // The cell that covers the column at the new position starts at the first position whose join reaches it.
    auto startOf = [&](int position) {
        int start = position;
        while (start > 0 && JoinedEnd(d, it->state, d->order[start - 1]) >= d->order[position]) --start;
        return start;
    };
    const int start = startOf(newPosition);
    if (start == newPosition) return newPosition;
    if (newPosition < oldPosition) return start;
    // Moving right: the next position the joined cell does not cover; at the last column its start.
    const int end = d->columns[JoinedEnd(d, it->state, d->order[start])].position;
    return end + 1 < d->columnCount ? end + 1 : start;
}
