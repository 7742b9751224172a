// The display rows: the items shown, in tree order, descending only into expanded items. Rebuilt from the
// changed item on.
#include "treelist/control/TreeListLayout.h"

#include "treelist/control/TreeListColumns.h"
#include "treelist/control/TreeListScroll.h"

#include <algorithm>

namespace {

// A marked item under TLX_SKIPMARKED: its children are not shown (and a first top-level one is skipped).
bool SkipsMarked(const TreeListData* d, const TreeListItem* it) {
    return (d->exStyle & TLX_SKIPMARKED) && (it->state & TLIS_MARKED);
}

}  // namespace

bool ShowsChildren(const TreeListData* d, const TreeListItem* it) {
    if (!it->firstChild || !(it->state & TVIS_EXPANDED)) return false;
    return !SkipsMarked(d, it);
}

ItemId LastShownDescendant(const TreeListData* d, ItemId item) {
    while (ShowsChildren(d, d->items[item])) item = d->items[item]->lastChild;
    return item;
}

ItemId ShownPredecessor(const TreeListData* d, ItemId item) {
    const TreeListItem* it = d->items[item];
    return it->prevSibling ? LastShownDescendant(d, it->prevSibling) : it->parent;
}

ItemId RowItem(const TreeListData* d, UINT row) {
    if (row >= d->rowCount) return 0;
    const TreeListItem* it = Item(d, d->rows[row]);
    return it && it->row == row + 1 ? d->rows[row] : 0;
}

UINT LimitFirstRow(const TreeListData* d, UINT first) {
    if (d->wholeRows == 0) return std::min(first, d->rowCount ? d->rowCount - 1 : 0);
    if (d->rowCount + 1 <= d->wholeRows) return 0;
    return std::min(first, d->rowCount + 1 - d->wholeRows);
}

namespace {

ItemId NextShown(const TreeListData* d, ItemId item) {
    const TreeListItem* it = d->items[item];
    if (ShowsChildren(d, it)) return it->firstChild;
    for (; item; item = d->items[item]->parent)
        if (d->items[item]->nextSibling) return d->items[item]->nextSibling;
    return 0;
}

// Whether every ancestor is shown and expanded, so that the item belongs in the rows.
bool InShownChain(const TreeListData* d, ItemId item, ItemId* hiddenBelow) {
    for (ItemId p = d->items[item]->parent; p; p = d->items[p]->parent) {
        const TreeListItem* pi = d->items[p];
        if (!ShowsChildren(d, pi) || !pi->row) {
            *hiddenBelow = p;
            return false;
        }
    }
    return true;
}

// The widest of the rows from fromRow on: text, indent and image. Text widths are guessed where they are not
// cached yet; the text of the widest guess is measured, and when the guess was wrong the rows are measured.
int WidestRow(TreeListData* d, HDC dc, UINT fromRow) {
    const int image = ImageList(d, kImagesItem) ? d->imageSize[kImagesItem].cx : 0;
    for (;;) {
        int widest = 0, widestGuess = -1;
        TreeListItem* guessed = nullptr;
        for (UINT r = fromRow; r < d->rowCount; ++r) {
            TreeListItem* it = d->items[d->rows[r]];
            if (it->callbacks & kCallbackText) continue;
            bool guess = false;
            const int text = GuessItemTextWidth(d, dc, it, &guess);
            const int w = text + it->level * d->indent + (it->image != kImageNone ? image : 0);
            if (w <= widest) continue;
            widest = w;
            guessed = guess ? it : nullptr;
            widestGuess = text;
        }
        if (!guessed || MeasureItemTextWidth(d, dc, guessed, widestGuess) == widestGuess) return widest;
    }
}

// TLO_AUTOWIDEN: the tree column grows to fit the texts of the new rows.
void WidenTreeColumn(TreeListData* d, UINT fromRow) {
    if (!d->options[TLO_AUTOWIDEN] || !d->columnCount || fromRow >= d->rowCount) return;
    HDC dc = GetDC(nullptr);
    if (!dc) return;
    HGDIOBJ oldFont = SelectObject(dc, d->measuredFont);
    int widest = WidestRow(d, dc, fromRow);
    SelectObject(dc, oldFont);
    ReleaseDC(nullptr, dc);
    if (d->linesAtRoot) widest += d->indent;
    if (HasImages(d, kImagesState)) widest += d->imageSize[kImagesState].cx;
    widest += 6 + static_cast<int>(d->options[TLO_AUTOWIDEN]);
    if (widest > d->columns[0].width + 2) SetColumnWidth(d, 0, widest);
}

}  // namespace

void RowsAfterInserts::Add(ItemId item) {
    if (m_fromTop) return;
    const TreeListItem* it = Item(m_d, item);
    if (!it) {
        m_fromTop = true;
        return;
    }
    ItemId start = item;
    if (!it->row) {
        ItemId hiddenBelow = 0;
        if (!InShownChain(m_d, item, &hiddenBelow)) {
            // Inside a collapsed subtree the rows stay; the ancestor's button may change.
            if (hiddenBelow != m_collapsed) InvalidateRow(m_d, hiddenBelow);
            m_collapsed = hiddenBelow;
            return;
        }
        start = ShownPredecessor(m_d, item);
        const bool chained = start && start == m_previous;
        m_previous = item;
        // An item appended after one added before is covered by the earlier one's start.
        if (chained) return;
        if (!start || !m_d->items[start]->row) {
            m_fromTop = true;
            return;
        }
    } else {
        m_previous = item;
    }
    if (!m_from || m_d->items[start]->row < m_d->items[m_from]->row) m_from = start;
}

void RowsAfterInserts::Rebuild() {
    if (m_fromTop)
        RebuildRows(m_d, 0);
    else if (m_from)
        RebuildRows(m_d, m_from);
}

void RebuildRows(TreeListData* d, ItemId from) {
    ItemId cur = 0;
    UINT row = 0;
    if (from && Item(d, from)) {
        const TreeListItem* it = d->items[from];
        ItemId hiddenBelow = 0;
        if (!it->row) {
            if (!InShownChain(d, from, &hiddenBelow)) {
                // Inside a collapsed subtree: no row changes; the ancestor's button may.
                InvalidateRow(d, hiddenBelow);
                return;
            }
            from = ShownPredecessor(d, from);
        }
    } else {
        from = 0;
    }
    if (from && d->items[from]->row) {
        row = d->items[from]->row - 1;
        cur = from;
    } else {
        row = 0;
        cur = d->firstRoot;
        if (cur && SkipsMarked(d, d->items[cur])) cur = d->items[cur]->nextSibling;
    }
    // Rows after the start lose their numbers; the walk gives them new ones.
    for (UINT r = row; r < d->rowCount; ++r)
        if (TreeListItem* old = Item(d, d->rows[r]); old && old->row == r + 1) old->row = 0;
    const UINT firstChanged = row;
    for (; cur; cur = NextShown(d, cur)) {
        d->rows[row] = cur;
        d->items[cur]->row = ++row;
    }
    d->rowCount = row;
    if (!d->rowCount) {
        d->firstRow = 0;
        InvalidateItems(d, true);
    } else {
        WidenTreeColumn(d, firstChanged);
        InvalidateRowsFrom(d, firstChanged);
    }
    UpdateVScrollBar(d, true, false);
}
