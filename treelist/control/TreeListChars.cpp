// WM_CHAR: characters open an editor or go to the process-wide type-ahead search, which selects the first
// row whose text (in the caret's column) begins with what was typed. TVM_GETISEARCHSTRINGA reads it back.
#include "treelist/control/TreeListKeys.h"

#include "treelist/control/TreeListEdit.h"
#include "treelist/control/TreeListLayout.h"
#include "treelist/control/TreeListNotify.h"
#include "treelist/control/TreeListScroll.h"
#include "treelist/control/TreeListSeams.h"
#include "treelist/control/TreeListSelect.h"
#include "treelist/control/TreeListTypeAhead.h"

#include <cstring>
#include <mutex>

namespace {

// One buffer for the whole process: a search may go on in another "TreeList" window within the gap.
std::mutex g_typeAheadGuard;
TreeListTypeAhead g_typeAhead;

// The text of a row in a column as the search compares it; null when the window went away.
const char* RowText(TreeListData* d, UINT row, int column) {
    const ItemId item = RowItem(d, row);
    if (!item) return "";
    TVITEMA answer;
    if (column > 0) {
        const TreeListCell* cell = Cell(d, item, column);
        if (!cell) return "";
        if (!(cell->callbacks & kCallbackText)) return cell->text ? cell->text : "";
    } else if (!(d->items[item]->callbacks & kCallbackText)) {
        return d->items[item]->text;
    }
    if (!FetchCallbacks(d, item, column, TVIF_TEXT, &answer, 1)) return IsDying(d) ? nullptr : "";
    return answer.pszText;
}

void TypeAhead(TreeListData* d, unsigned char character) {
    const TreeListItem* caret = Item(d, d->caretItem);
    const UINT caretRow = caret && caret->row ? caret->row - 1 : 0;
    TreeListTypeAhead state;
    {
        std::lock_guard<std::mutex> hold(g_typeAheadGuard);
        TypeAheadAdd(&g_typeAhead, character, TreeListTick(), caretRow);
        state = g_typeAhead;
    }
    // The caret's column, however it got there (keys with cell navigation, clicks or TLM_SELECTCELL).
    const int column = d->caretColumn < d->columnCount ? d->caretColumn : 0;
    const long row =
        TypeAheadSearch(state, d->rowCount, [d, column](UINT r) { return RowText(d, r, column); });
    const ItemId item = row < 0 || IsDying(d) ? 0 : RowItem(d, static_cast<UINT>(row));
    if (!item || !SelectCell(d, item, column, kSelectOnly) || IsDying(d)) return;
    ScrollIntoView(d, d->caretItem, d->caretColumn);
    // The found cell becomes the selected cell: the mark (and its frame) moves to it.
    if (Item(d, item)) MarkSelectedCell(d, item, column);
}

}  // namespace

LRESULT OnChar(TreeListData* d, WPARAM character, LPARAM lParam) {
    if (character < 32 || character > 255 || d->skipNextChar) return 0;
    const unsigned repeat = LOWORD(lParam) ? LOWORD(lParam) : 1;
    for (unsigned i = 0; i < repeat && !IsDying(d); ++i) {
        if (EditOnChar(d, static_cast<UINT>(character)) || IsDying(d) || !d->rowCount) return 0;
        if (d->exStyle & TLX_NOTYPEAHEAD) return 0;
        TypeAhead(d, static_cast<unsigned char>(character));
    }
    return 0;
}

LRESULT GetSearchString(TreeListData*, char* out) {
    std::lock_guard<std::mutex> hold(g_typeAheadGuard);
    const int held = TypeAheadHeld(g_typeAhead, TreeListTick());
    if (out) {
        memcpy(out, g_typeAhead.text, static_cast<size_t>(held));
        out[held] = 0;
    }
    return held;
}
