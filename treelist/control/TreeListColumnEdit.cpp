// Column edit settings and the column editors: a column with an edit mode edits its cells without asking
// the parent first. Text and list modes open an edit box or a combo box filled from the column's list;
// check-style modes toggle the cell's check mark.
#include "treelist/control/TreeListEdit.h"

#include "treelist/control/TreeListItemOps.h"
#include "treelist/control/TreeListItems.h"
#include "treelist/control/TreeListLayout.h"
#include "treelist/control/TreeListNotify.h"
#include "treelist/control/TreeListScroll.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kDefaultEntries = 1024;

int EntryLimit(const TreeListColumn& c) { return c.listCount ? c.listCount : kDefaultEntries; }

UINT KindFlags(UINT mode) {
    switch (mode) {
    case TLEM_LIST:
    case TLEM_COMBO: return TLE_COMBO;
    case TLEM_LISTFIXED:
    case TLEM_COMBOFIXED: return TLE_COMBO | TLE_DROPDOWNLIST;
    default: return 0;
    }
}

bool IsCheckMode(UINT mode) { return mode >= TLEM_CHECK; }

// Toggles a check-style cell between state images 1 and 2 and tells the parent.
LRESULT ToggleCellCheck(TreeListData* d, ItemId item, int column) {
    const TreeListColumn& col = d->columns[column];
    TreeListCell* cell = EnsureCell(d, item, column);
    if (!cell) return 0;
    const bool lockable = col.editFlags & TLEF_LOCKEDCHECKS;
    if (lockable && (cell->state & TLIS_CHECKLOCKED)) return 0;
    const UINT mask = TVIS_STATEIMAGEMASK & (lockable ? ~TLIS_CHECKLOCKED : ~0u);
    const UINT image = (cell->state & mask) >> 12;
    TVITEMA r = {};
    r.mask = TVIF_STATE | TLIF_CELL;
    r.hItem = ToHandle(item);
    r.cChildren = column;
    r.state = (image == 2 ? 1u : 2u) << 12;
    r.stateMask = mask;
    if (!SetItem(d, &r) || IsDying(d) || !Cell(d, item, column)) return 0;
    SendTreeView(d, TLN_CHECKCHANGED, kCheckAction, TVITEMA{}, TextRecord(d, item, column));
    return 1;
}

}  // namespace

bool HasEditMode(const TreeListData* d, int column) {
    return column >= 0 && column < d->columnCount && d->columns[column].editMode != TLEM_NONE;
}

int ColumnListCount(const TreeListData* d, int column) {
    if (!HasEditMode(d, column) || !d->columns[column].editList) return 0;
    int n = 0;
    const char* text;
    int length;
    while (n < EntryLimit(d->columns[column]) && ColumnListEntry(d, column, n, &text, &length)) ++n;
    return n;
}

bool ColumnListEntry(const TreeListData* d, int column, int index, const char** text, int* length) {
    if (!HasEditMode(d, column) || index < 0) return false;
    const TreeListColumn& c = d->columns[column];
    if (!c.editList || index >= EntryLimit(c)) return false;
    if (c.editFlags & TLEF_POINTERS) {
        // An array of text pointers ends at its first null, whatever count was given.
        const auto* list = reinterpret_cast<const char* const*>(c.editList);
        for (int i = 0; i <= index; ++i)
            if (!list[i]) return false;
        *text = list[index];
        *length = static_cast<int>(strlen(list[index]));
        return true;
    }
    const char* p = reinterpret_cast<const char*>(c.editList);
    if (!*p) return false;
    for (int i = 0; i < index; ++i) {
        p = strchr(p, static_cast<char>(c.separator));
        if (!p || !c.separator) return false;
        ++p;
    }
    const char* end = c.separator ? strchr(p, static_cast<char>(c.separator)) : nullptr;
    *text = p;
    *length = static_cast<int>(end ? end - p : static_cast<ptrdiff_t>(strlen(p)));
    return true;
}

LRESULT OpenColumnEditor(TreeListData* d, ItemId item, int column, UINT trigger) {
    if (!HasEditMode(d, column) || !Item(d, item)) return 0;
    const UINT mode = d->columns[column].editMode;
    const bool toggles = mode == TLEM_CHECK || (mode == TLEM_CHECKTEXT && trigger == TLET_CTRLRETURN);
    if (!(d->style & TVS_EDITLABELS) && !(IsCheckMode(mode) && trigger == TLET_CTRLRETURN)) return 0;
    if (toggles) return column > 0 ? ToggleCellCheck(d, item, column) : 0;
    const UINT flags = static_cast<UINT>(column) | KindFlags(mode) | TLE_FILLCELL;
    HWND editor = BeginEdit(d, item, flags);
    if (!editor) return 0;
    if (trigger < TLET_RETURN && trigger >= ' ') PostMessageA(editor, WM_CHAR, trigger, 1);
    return reinterpret_cast<LRESULT>(editor);
}

LRESULT SetColumnEdit(TreeListData* d, WPARAM wp, LPARAM list) {
    const int column = static_cast<int>(wp >> 11 & 63);
    if (column >= d->columnCount) return 0;
    TreeListColumn& c = d->columns[column];
    c.editFlags = static_cast<BYTE>(wp);
    c.editMode = static_cast<BYTE>(wp >> 8 & 7);
    c.separator = static_cast<BYTE>(wp >> 17);
    c.listCount = static_cast<BYTE>(wp >> 25 & 127);
    c.editList = list;
    c.editBase = -1;
    // Check-box columns draw from the second state list: without one given, the control makes its own.
    if (IsCheckMode(c.editMode) && !HasImages(d, kImagesState2)) BuildCheckBoxImages(d, 1);
    if (ComputeRowHeight(d)) {
        ComputeVisibleRows(d);
        UpdateVScrollBar(d, true, true);
    }
    InvalidateColumn(d, column);
    return 1;
}

LRESULT SetColumnEditBase(TreeListData* d, int column, LPARAM base) {
    if (!HasEditMode(d, column)) return 0;
    d->columns[column].editBase = base;
    return 1;
}
