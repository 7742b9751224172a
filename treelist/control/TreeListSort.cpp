// Sorting the children of an item: by their texts (TVM_SORTCHILDREN), by a compare function of the lParams
// (TVM_SORTCHILDRENCB) or of the items (TLM_SORTCHILDREN6). Compare functions run outside the lock, on a
// copy of what they need; inserts, deletes and moves wait meanwhile (or are refused on this thread).
#include "treelist/control/TreeListItemOps.h"

#include "treelist/control/TreeListItems.h"
#include "treelist/control/TreeListLayout.h"
#include "treelist/control/TreeListNotify.h"
#include "treelist/control/TreeListScroll.h"
#include "treelist/control/TreeListText.h"

#include <cstdlib>
#include <deque>
#include <string>
#include <utility>
#include <vector>

namespace {

struct SortEntry {
    ItemId item;
    LPARAM param;
    const char* text;
};

constexpr size_t kInsertionSortUpTo = 10;

// Sorts [lo, hi).
template <typename Compare>
void InsertionSort(SortEntry* a, size_t lo, size_t hi, Compare& compare) {
    for (size_t k = lo + 1; k < hi; ++k)
        for (size_t j = k; j > lo && compare(a[j], a[j - 1]) < 0; --j) std::swap(a[j], a[j - 1]);
}

// Quicksort with the middle element as the pivot. Both scans stop at elements equal to the pivot, so equal
// keys split evenly; the larger part waits on the stack while the smaller is sorted, so the stack stays
// below 64 entries. Any compare function, even an inconsistent one, keeps the scans inside the range.
template <typename Compare>
void QuickSort(SortEntry* a, size_t n, Compare& compare) {
    std::pair<size_t, size_t> stack[64];
    int depth = 0;
    size_t lo = 0, hi = n;  // [lo, hi)
    for (;;) {
        while (hi - lo > kInsertionSortUpTo) {
            std::swap(a[lo], a[lo + (hi - lo) / 2]);
            size_t i = lo + 1, j = hi - 1;
            for (;;) {
                while (i <= j && compare(a[i], a[lo]) < 0) ++i;
                while (i <= j && compare(a[j], a[lo]) > 0) --j;
                if (i >= j) break;
                std::swap(a[i++], a[j--]);
            }
            std::swap(a[lo], a[j]);  // the pivot to its place: [lo, j) before it, [j + 1, hi) after it
            if (j - lo < hi - (j + 1)) {
                stack[depth++] = {j + 1, hi};
                hi = j;
            } else {
                stack[depth++] = {lo, j};
                lo = j + 1;
            }
        }
        InsertionSort(a, lo, hi, compare);
        if (!depth) return;
        --depth;
        lo = stack[depth].first;
        hi = stack[depth].second;
    }
}

// The children in their order now; false when the array cannot be had.
bool CollectChildren(const TreeListData* d, ItemId parent, std::vector<SortEntry>* out) {
    try {
        for (ItemId c = FirstChildOf(d, parent); c; c = d->items[c]->nextSibling)
            out->push_back(SortEntry{c, d->items[c]->lParam, nullptr});
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

// Whether the entries are still exactly the parent's children (nothing else may change them meanwhile; a
// window going away does).
bool StillChildren(const TreeListData* d, ItemId parent, const std::vector<SortEntry>& entries) {
    if (IsDying(d) || (parent && !Item(d, parent))) return false;
    size_t n = 0;
    for (ItemId c = FirstChildOf(d, parent); c; c = d->items[c]->nextSibling) ++n;
    if (n != entries.size()) return false;
    for (const SortEntry& e : entries)
        if (!Item(d, e.item) || d->items[e.item]->parent != parent) return false;
    return true;
}

void Relink(TreeListData* d, ItemId parent, const std::vector<SortEntry>& entries) {
    d->deferredRowsLast = 0;  // the siblings change places (DeferRowsAfterInsert)
    ItemId prev = 0;
    for (const SortEntry& e : entries) {
        TreeListItem* it = d->items[e.item];
        it->prevSibling = prev;
        if (prev) {
            d->items[prev]->nextSibling = e.item;
            d->items[prev]->flags |= kFollowingSibling;
        }
        prev = e.item;
    }
    TreeListItem* last = d->items[prev];
    last->nextSibling = 0;
    last->flags &= ~kFollowingSibling;
    if (TreeListItem* p = Item(d, parent)) {
        p->firstChild = entries.front().item;
        p->lastChild = prev;
    } else {
        d->firstRoot = entries.front().item;
        d->lastRoot = prev;
    }
}

// The texts the children are ordered by. Call-back texts are fetched first, once each; the window's lock is
// left meanwhile and the parent may set any text then, so the own texts are taken only afterwards, as they
// are when compared.
bool TakeSortTexts(TreeListData* d, std::vector<SortEntry>* entries, std::deque<std::string>* store) {
    for (SortEntry& e : *entries) {
        if (!(d->items[e.item]->callbacks & kCallbackText)) continue;
        d->sortProgress.fetch_add(1, std::memory_order_relaxed);  // a thread waiting for the sort sees it go on
        TVITEMA answer;
        if (!FetchCallbacks(d, e.item, 0, TVIF_TEXT, &answer, 1)) return false;
        store->emplace_back(answer.pszText);
        e.text = store->back().c_str();
    }
    for (SortEntry& e : *entries) {
        const TreeListItem* it = d->items[e.item];
        if (!(it->callbacks & kCallbackText))
            e.text = it->text;
        else if (!e.text)
            e.text = "";  // made a call-back while the others were fetched
    }
    return true;
}

struct SortRequest {
    SortKind kind;
    PFNTVCOMPARE byParam;
    TreeListSortCompare byItem;
    LPARAM data;
};

// Sorts the children of one parent. False when memory ran out or the window went away.
bool SortOne(TreeListData* d, ItemId parent, const SortRequest& request) {
    std::vector<SortEntry> entries;
    if (!CollectChildren(d, parent, &entries)) return false;
    if (entries.size() < 2) return true;
    std::deque<std::string> fetched;
    {
        SortRunning running(d);
        if (request.kind == kSortByText) {
            if (!TakeSortTexts(d, &entries, &fetched)) return !IsDying(d);
            auto byText = [](const SortEntry& x, const SortEntry& y) { return CompareNoCase(x.text, y.text); };
            QuickSort(entries.data(), entries.size(), byText);
        } else {
            HWND window = d->window;
            std::atomic<UINT>& progress = d->sortProgress;
            auto byFunction = [&](const SortEntry& x, const SortEntry& y) -> LRESULT {
                progress.fetch_add(1, std::memory_order_relaxed);
                if (request.kind == kSortByParam) return request.byParam(x.param, y.param, request.data);
                return request.byItem(window, ToHandle(x.item), ToHandle(y.item), x.param, y.param, request.data);
            };
            TreeListUnlocked unlocked(d->lock);
            QuickSort(entries.data(), entries.size(), byFunction);
        }
    }
    if (!StillChildren(d, parent, entries)) return !IsDying(d);
    Relink(d, parent, entries);
    return true;
}

// The parents whose children a sort orders: with recurse every item of the subtree that has children
// (deepest first); otherwise the parent, or down a chain of single children the first item with several.
std::vector<ItemId> ParentsToSort(const TreeListData* d, ItemId parent, bool recurse) {
    std::vector<ItemId> parents;
    if (recurse) {
        for (ItemId c = FirstChildOf(d, parent); c; c = NextInTree(d, c, parent))
            if (d->items[c]->firstChild) parents.push_back(c);
        parents.insert(parents.begin(), parent);
        return std::vector<ItemId>(parents.rbegin(), parents.rend());
    }
    ItemId p = parent;
    for (ItemId c = FirstChildOf(d, p); c && !d->items[c]->nextSibling; c = FirstChildOf(d, p)) {
        if (!d->items[c]->firstChild) return parents;
        p = c;
    }
    if (FirstChildOf(d, p)) parents.push_back(p);
    return parents;
}

}  // namespace

LRESULT SortChildItems(TreeListData* d, ItemId parent, bool recurse, SortKind kind, const TVSORTCB* sort) {
    if (parent == kItemRoot) parent = 0;
    else if (!Item(d, parent)) return 0;
    SortRequest request = {kind, nullptr, nullptr, 0};
    if (kind != kSortByText) {
        if (!sort || !sort->lpfnCompare) return 0;
        request.byParam = sort->lpfnCompare;
        request.byItem = reinterpret_cast<TreeListSortCompare>(reinterpret_cast<void*>(sort->lpfnCompare));
        request.data = sort->lParam;
    }
    if (!FirstChildOf(d, parent)) return 1;
    if (!MayChangeTree(d)) return 0;
    std::vector<ItemId> parents;
    try {
        parents = ParentsToSort(d, parent, recurse);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    for (ItemId p : parents) {
        if (p && !Item(d, p)) continue;
        if (!SortOne(d, p, request)) return 0;
    }
    const TreeListItem* it = Item(d, parent);
    if (parent && (!it || !it->row || !(it->state & TVIS_EXPANDED))) return 1;
    RebuildRows(d, parent);
    if (!IsDying(d) && (d->style & TVS_SHOWSELALWAYS)) ScrollIntoView(d, d->caretItem, d->caretColumn);
    return 1;
}

LRESULT SortChildrenMessage(TreeListData* d, bool recurse, ItemId parent) {
    TVSORTCB sort = {ToHandle(parent), nullptr, 0};
    return SortChildItems(d, parent, recurse, kSortByText, &sort);
}

LRESULT SortChildrenCallback(TreeListData* d, bool recurse, const TVSORTCB* sort, bool sixArguments) {
    if (!sort) return 0;
    return SortChildItems(d, ToItem(sort->hParent), recurse, sixArguments ? kSortByItem : kSortByParam, sort);
}
