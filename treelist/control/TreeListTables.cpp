// The handle-indexed tables of the "TreeList" control and the heap records they point to.
#include "treelist/control/TreeListItems.h"

#include <cstdlib>
#include <cstring>

namespace {

// Every empty text shares this block; it is never freed.
char g_emptyText[1] = {0};

template <typename T>
bool GrowArray(T*& array, UINT oldCount, UINT newCount) {
    T* grown = static_cast<T*>(realloc(array, sizeof(T) * newCount));
    if (!grown) return false;
    memset(grown + oldCount, 0, sizeof(T) * (newCount - oldCount));
    array = grown;
    return true;
}

// Where a record keeps a text stored with it: after the user data.
char* TextInRecord(const TreeListData* d, TreeListItem* it) {
    return reinterpret_cast<char*>(it->UserData()) + d->userDataSize;
}

}  // namespace

char* EmptyText() { return g_emptyText; }

TreeListItem* NewItemRecord(TreeListData* d, const char* text) {
    const size_t n = text ? strlen(text) : 0;
    if (n >= 0x7FFFFFFF) return nullptr;
    auto* it = static_cast<TreeListItem*>(calloc(1, sizeof(TreeListItem) + d->userDataSize + (n ? n + 1 : 0)));
    if (!it) return nullptr;
    it->text = n ? TextInRecord(d, it) : g_emptyText;
    if (n) memcpy(it->text, text, n + 1);
    it->textLength = static_cast<UINT>(n);
    return it;
}

bool DetachItemText(TreeListData* d, TreeListItem* it) {
    if (it->text != TextInRecord(d, it)) return true;
    char* copy = static_cast<char*>(malloc(it->textLength + 1));
    if (!copy) return false;
    memcpy(copy, it->text, it->textLength + 1);
    it->text = copy;
    return true;
}

void FreeNewItemRecord(TreeListData* d, TreeListItem* it) {
    if (it->text != TextInRecord(d, it)) FreeText(it->text);
    free(it);
}

void FreeText(char* text) {
    if (text && text != g_emptyText) free(text);
}

bool StoreText(char** text, UINT* length, const char* source) {
    const size_t n = source ? strlen(source) : 0;
    if (n >= 0x7FFFFFFF) return false;
    if (n == 0) {
        FreeText(*text);
        *text = g_emptyText;
        *length = 0;
        return true;
    }
    // The block is reused while the new text fits into it.
    if (!*text || *text == g_emptyText || n > *length) {
        char* block = static_cast<char*>(malloc(n + 1));
        if (!block) return false;
        FreeText(*text);
        *text = block;
    }
    memcpy(*text, source, n + 1);
    *length = static_cast<UINT>(n);
    return true;
}

bool GrowItemTables(TreeListData* d) {
    const UINT size = d->tableSize;
    if (size >= kMaxTableSize) return false;
    UINT grown = size + size / 2 + 64;
    if (grown > kMaxTableSize) grown = kMaxTableSize;
    if (!GrowArray(d->items, size + 1, grown + 1)) return false;
    if (!GrowArray(d->rows, size ? size : 1, grown)) return false;
    for (int c = 1; c < kTreeListMaxColumns; ++c)
        if (d->cells[c] && !GrowArray(d->cells[c], size + 1, grown + 1)) return false;
    d->tableSize = grown;
    return true;
}

ItemId NextFreeHandle(const TreeListData* d) {
    if (d->itemCount >= d->tableSize) return 0;
    ItemId h = d->lastHandle;
    for (UINT i = 0; i < d->tableSize; ++i) {
        h = h >= d->tableSize ? 1 : h + 1;
        if (!d->items[h]) return h;
    }
    return 0;
}

bool EnsureCellTable(TreeListData* d, int column) {
    if (d->cells[column]) return true;
    d->cells[column] = static_cast<TreeListCell**>(calloc(d->tableSize + 1, sizeof(TreeListCell*)));
    return d->cells[column] != nullptr;
}

void FreeCellTable(TreeListData* d, int column) {
    TreeListCell** table = d->cells[column];
    if (!table) return;
    for (UINT h = 1; h <= d->tableSize; ++h)
        if (table[h]) {
            FreeText(table[h]->text);
            free(table[h]);
        }
    free(table);
    d->cells[column] = nullptr;
}

TreeListCell* EnsureCell(TreeListData* d, ItemId item, int column) {
    TreeListItem* it = Item(d, item);
    if (!it || column <= 0 || column >= d->columnCount || !EnsureCellTable(d, column)) return nullptr;
    TreeListCell*& cell = d->cells[column][item];
    if (!cell) {
        cell = static_cast<TreeListCell*>(calloc(1, sizeof(TreeListCell)));
        if (!cell) return nullptr;
        cell->text = g_emptyText;
        cell->state = it->state & kCellInitialStates;
        cell->image = kImageNone;
    }
    return cell;
}

void FreeItemRecord(TreeListData* d, ItemId item) {
    TreeListItem* it = d->items[item];
    if (!it) return;
    for (int c = 1; c < kTreeListMaxColumns; ++c)
        if (d->cells[c] && d->cells[c][item]) {
            FreeText(d->cells[c][item]->text);
            free(d->cells[c][item]);
            d->cells[c][item] = nullptr;
        }
    FreeNewItemRecord(d, it);
    d->items[item] = nullptr;
    if (d->deferredRowsLast == item) d->deferredRowsLast = 0;
}

void FreeAllTables(TreeListData* d) {
    if (d->items)
        for (UINT h = 1; h <= d->tableSize; ++h) FreeItemRecord(d, h);
    for (int c = 1; c < kTreeListMaxColumns; ++c) FreeCellTable(d, c);
    free(d->items);
    free(d->rows);
    d->items = nullptr;
    d->rows = nullptr;
    d->tableSize = 0;
    d->itemCount = 0;
    d->rowCount = 0;
}
