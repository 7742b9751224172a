// Finding items by a key record (TLM_FINDITEM) and the range operations that count or change the items
// around one item (TLM_COUNTRANGE, TLM_SETRANGE).
#include "treelist/control/TreeListItems.h"

#include "treelist/control/TreeListItemOps.h"
#include "treelist/control/TreeListText.h"

#include <cstring>
#include <vector>

namespace {

bool TextMatches(const TreeListItem* it, const char* key, bool caseless) {
    if (!key || key == LPSTR_TEXTCALLBACKA) return false;
    const size_t n = strlen(key);
    if (n != it->textLength) return false;
    return caseless ? CompareNoCase(it->text, key) == 0 : memcmp(it->text, key, n) == 0;
}

bool KeyMatches(const TreeListItem* it, const TVITEMA* key) {
    if ((key->mask & TVIF_TEXT) && !TextMatches(it, key->pszText, key->mask & TLF_CASELESS)) return false;
    if ((key->mask & TVIF_PARAM) && it->lParam != key->lParam) return false;
    if ((key->mask & TVIF_STATE) && (it->state & key->stateMask) != (key->state & key->stateMask)) return false;
    return true;
}

// The next item of a subtree walk below scope (0: the whole tree), descending only within the depth limit
// (-1: none) and, when asked, only into expanded items.
ItemId NextInScope(const TreeListData* d, ItemId item, ItemId scope, int scopeLevel, int limit, bool expandedOnly) {
    const TreeListItem* it = d->items[item];
    const bool descend = it->firstChild && (limit < 0 || it->level + 1 - scopeLevel <= limit) &&
                         (!expandedOnly || (it->state & TVIS_EXPANDED));
    if (descend) return it->firstChild;
    for (; item && item != scope; item = d->items[item]->parent)
        if (d->items[item]->nextSibling) return d->items[item]->nextSibling;
    return 0;
}

}  // namespace

ItemId FindItem(TreeListData* d, ItemId start, const TVITEMA* key) {
    if (!key) return 0;
    const bool all = start == kItemRoot || start == 0;
    if (!all && !Item(d, start)) return 0;
    const bool children = all || (key->mask & TLF_CHILDREN);
    const ItemId scope = all ? 0 : children ? start : d->items[start]->parent;
    ItemId i = all ? d->firstRoot : children ? d->items[start]->firstChild : start;
    if (!all && !children && (key->mask & TLF_AFTERSTART)) i = d->items[start]->nextSibling;
    if (key->mask & TLF_SUBTREE) {
        const int limit = static_cast<int>((key->mask >> 8) & 0xFF) - 1;
        const int scopeLevel = scope ? d->items[scope]->level + 1 : 0;
        const bool expandedOnly = key->mask & TLF_EXPANDEDONLY;
        if (!all && !children && (key->mask & TLF_AFTERSTART))
            i = NextInScope(d, start, scope, scopeLevel, limit, expandedOnly);
        for (; i; i = NextInScope(d, i, scope, scopeLevel, limit, expandedOnly))
            if (KeyMatches(d->items[i], key)) return i;
        return 0;
    }
    for (; i; i = d->items[i]->nextSibling)
        if (KeyMatches(d->items[i], key)) return i;
    return 0;
}

namespace {

// The items of the range the record's mask chooses around its item, in tree order; false for a bad item.
bool CollectRange(const TreeListData* d, const TVITEMA* r, std::vector<ItemId>* out) {
    const ItemId item = ToItem(r->hItem);
    if (item == kItemRoot) {
        if (r->mask & TLR_DESCENDANTS)
            for (ItemId i = d->firstRoot; i; i = NextInTree(d, i)) out->push_back(i);
        return true;
    }
    const TreeListItem* it = Item(d, item);
    if (!it) return false;
    if (r->mask & TLR_ANCESTORS)
        for (ItemId p = it->parent; p; p = d->items[p]->parent) out->insert(out->begin(), p);
    if (r->mask & TLR_SIBLINGS)
        for (ItemId s = FirstChildOf(d, it->parent); s != item; s = d->items[s]->nextSibling) out->push_back(s);
    if (r->mask & TLR_ITEM) out->push_back(item);
    if ((r->mask & TLR_DESCENDANTS) && it->firstChild)
        for (ItemId c = it->firstChild; c; c = NextInTree(d, c, item)) out->push_back(c);
    if (r->mask & TLR_SIBLINGS)
        for (ItemId s = it->nextSibling; s; s = d->items[s]->nextSibling) out->push_back(s);
    return true;
}

bool RangeMatches(const TreeListItem* it, const TVITEMA* r) {
    if ((r->mask & TVIF_STATE) && (it->state & r->stateMask) == (r->state & r->stateMask)) return true;
    if ((r->mask & TVIF_PARAM) && it->lParam == r->lParam) return true;
    if ((r->mask & TVIF_IMAGE) && it->image == r->iImage) return true;
    return (r->mask & TLR_ANY) != 0;
}

}  // namespace

LRESULT CountRange(TreeListData* d, const TVITEMA* r) {
    std::vector<ItemId> range;
    if (!r || !CollectRange(d, r, &range)) return -1;
    LRESULT count = 0;
    for (ItemId i : range) count += RangeMatches(d->items[i], r);
    return count;
}

LRESULT SetRange(TreeListData* d, TVITEMA* r) {
    std::vector<ItemId> range;
    if (!r || !CollectRange(d, r, &range)) return -1;
    const HTREEITEM handle = r->hItem;
    const UINT state = r->state, stateMask = r->stateMask;
    // A condition bit (TLR_IFSTATE) makes the change conditional: the high halves of stateMask and state are the
    // condition, the low halves the state bits to set. Without one the whole words are set, span bits included.
    const bool conditional = r->mask & TLR_IFSTATE;
    const UINT conditionMask = stateMask >> 16, condition = state >> 16;
    const UINT setBits = conditional ? 0xFFFF : 0xFFFFFFFF;
    LRESULT changed = 0;
    for (ItemId i : range) {
        const TreeListItem* it = Item(d, i);
        if (!it || (conditional && (it->state & conditionMask) != (condition & conditionMask))) continue;
        r->hItem = ToHandle(i);
        r->state = state & setBits;
        r->stateMask = stateMask & setBits;
        changed += SetItem(d, r) != FALSE;
    }
    r->hItem = handle;
    r->state = state;
    r->stateMask = stateMask;
    return changed;
}
