// TVM_INSERTITEMA: a new item record, its handle and its place among its siblings.
#include "treelist/control/TreeListItems.h"

#include "treelist/control/TreeListDeferred.h"
#include "treelist/control/TreeListLayout.h"
#include "treelist/control/TreeListNotify.h"
#include "treelist/control/TreeListText.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr ItemId kNextToParent = static_cast<ItemId>(TLI_NEXTTOPARENT);
constexpr ItemId kBeforeParent = static_cast<ItemId>(TLI_BEFOREPARENT);
constexpr ItemId kCallerSort = static_cast<ItemId>(TLI_CALLERSORT);
constexpr ItemId kChildBase = static_cast<ItemId>(TLI_CHILD);
constexpr ItemId kChildBaseMask = 0xFFF00000;  // TLI_CHILD + n takes n from the 20 bits below
constexpr UINT kHeldBackState = TVIS_SELECTED | TVIS_EXPANDED | TVIS_EXPANDPARTIAL;
constexpr DWORD kWaitForSortMs = 5000;

TreeListItem* NewRecord(TreeListData* d, const TreeListInsertRecord& r, UINT* heldBack) {
    const TVITEMA& in = r.item;
    const bool callback = (in.mask & TVIF_TEXT) && in.pszText == LPSTR_TEXTCALLBACKA;
    TreeListItem* it = NewItemRecord(d, (in.mask & TVIF_TEXT) && !callback ? in.pszText : nullptr);
    if (!it) return nullptr;
    if (callback) it->callbacks |= kCallbackText;
    if (in.mask & TLIF_EXTRAPARAM)
        it->lParam = r.extra;
    else if (in.mask & TVIF_PARAM)
        it->lParam = in.lParam;

    if (in.mask & TVIF_STATE) {
        it->state = in.state & in.stateMask;
        if (in.mask & TLIF_NOCALLBACK) {
            *heldBack = it->state & kHeldBackState;
            it->state &= ~kHeldBackState;
        }
    } else if ((d->style & TVS_CHECKBOXES) && !(d->exStyle & TLX_REVERSECHECKS)) {
        it->state = INDEXTOSTATEIMAGEMASK(1);
    }
    if (d->style & TVS_SINGLEEXPAND) {
        it->state &= ~TVIS_EXPANDED;
        *heldBack &= ~TVIS_EXPANDED;
    }

    it->image = (in.mask & TVIF_IMAGE) ? in.iImage : 0;
    if (it->image == I_IMAGECALLBACK) it->callbacks |= kCallbackImage;
    it->selectedImage = (in.mask & TVIF_SELECTEDIMAGE) ? in.iSelectedImage : it->image;
    if (it->selectedImage == I_IMAGECALLBACK) it->callbacks |= kCallbackSelectedImage;

    if (!(in.mask & TVIF_CHILDREN))
        it->flags |= kChildrenOpen;
    else if (in.cChildren == I_CHILDRENCALLBACK)
        it->callbacks |= kCallbackChildren;
    else if (in.cChildren == 1)
        it->flags |= kHasChildren;
    else if (in.cChildren != 0)
        it->flags |= kChildrenOpen;
    return it;
}

// The text a sibling is ordered by: its own, or the call-back answer (empty when call-backs are not fetched).
const char* SortText(TreeListData* d, ItemId item, bool fetch) {
    const TreeListItem* it = d->items[item];
    if (!(it->callbacks & kCallbackText)) return it->text;
    TVITEMA answer;
    if (!fetch || !FetchCallbacks(d, item, 0, TVIF_TEXT, &answer, 1)) return "";
    return answer.pszText;
}

// Halving search among the siblings; compare(probe) orders the new item against a sibling (negative: before
// it). An equal probe takes the new item directly before it. -1 when the window went away meanwhile.
template <typename Compare>
long SortedPosition(TreeListData* d, ItemId parent, Compare compare, ItemId* after) {
    UINT n = 0;
    for (ItemId c = FirstChildOf(d, parent); c; c = d->items[c]->nextSibling) {
        if (n == d->scratchSize) {
            const UINT grown = d->scratchSize * 2 + 64;
            auto* bigger = static_cast<ItemId*>(realloc(d->scratch, grown * sizeof(ItemId)));
            if (!bigger) return -1;
            d->scratch = bigger;
            d->scratchSize = grown;
        }
        d->scratch[n++] = c;
    }
    UINT lo = 0, hi = n;
    // Sorted input arrives in order: the last sibling is asked first, which settles an append at once.
    if (n) {
        const int last = compare(d->scratch[n - 1]);
        if (IsDying(d)) return -1;
        if (last > 0)
            lo = n;
        else if (last == 0)
            lo = hi = n - 1;
        else
            hi = n - 1;
    }
    while (lo < hi) {
        const UINT mid = (lo + hi) / 2;
        d->sortProgress.fetch_add(1, std::memory_order_relaxed);
        const int c = compare(d->scratch[mid]);
        if (IsDying(d)) return -1;
        if (c > 0) {
            lo = mid + 1;
        } else if (c < 0) {
            hi = mid;
        } else {
            lo = mid;
            break;
        }
    }
    *after = lo ? d->scratch[lo - 1] : 0;
    return 0;
}

// Resolves the insert position to the real parent and the sibling to follow (0: first). False when the
// window went away during a sorted search.
bool ResolvePosition(TreeListData* d, const TreeListInsertRecord& r, const TreeListItem* rec, ItemId* parent,
                     ItemId* after) {
    const ItemId where = ToItem(r.hInsertAfter);
    ItemId p = *parent;
    if (where == kItemRoot) p = 0;
    if (where == kNextToParent || where == kBeforeParent) {
        if (p) {
            *parent = d->items[p]->parent;
            *after = where == kNextToParent ? p : d->items[p]->prevSibling;
            return true;
        }
        *after = d->lastRoot;
        return true;
    }
    *parent = p;
    if (where == kItemFirst) {
        *after = 0;
    } else if (where == kItemSort) {
        const bool fetch = !(r.item.mask & TLIF_NOCALLBACK);
        const char* text = (rec->callbacks & kCallbackText) ? "" : rec->text;
        auto compare = [&](ItemId probe) { return CompareNoCase(text, SortText(d, probe, fetch)); };
        return SortedPosition(d, p, compare, after) == 0;
    } else if (where == kCallerSort) {
        auto fn = reinterpret_cast<TreeListInsertCompare>(r.item.hItem);
        if (!fn) {
            *after = LastChildOf(d, p);
            return true;
        }
        const bool fetch = !(r.item.mask & TLIF_NOCALLBACK);
        const char* text = (rec->callbacks & kCallbackText) ? "" : rec->text;
        auto compare = [&](ItemId probe) {
            // A copy: outside the lock the item's text may be set anew and its block freed.
            const std::string probeText = SortText(d, probe, fetch);
            if (!Item(d, probe)) return 0;
            TreeListUnlocked unlocked(d->lock);
            const LRESULT c = fn(d->window, ToHandle(probe), probeText.c_str(), text, rec->lParam, r.item.lParam);
            return c < 0 ? -1 : c > 0 ? 1 : 0;
        };
        return SortedPosition(d, p, compare, after) == 0;
    } else if ((where & kChildBaseMask) == kChildBase) {
        UINT n = where - kChildBase;
        ItemId c = FirstChildOf(d, p), prev = 0;
        while (c && n--) {
            prev = c;
            c = d->items[c]->nextSibling;
        }
        *after = c ? prev : LastChildOf(d, p);
    } else if (const TreeListItem* sibling = Item(d, where); sibling && sibling->parent == p) {
        *after = where;
    } else {
        *after = LastChildOf(d, p);  // TVI_LAST, TVI_ROOT, the own last position and anything unknown
    }
    return true;
}

// A short pause outside the lock. The window's own thread meanwhile answers messages sent to it, so that
// a sort on another thread whose compare function sends to the window's thread can go on.
void PauseForSort(TreeListData* d) {
    const int levels = d->lock.LeaveAll();
    if (IsOwnerThread(d)) {
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    Sleep(1);
    d->lock.EnterAgain(levels);
}

}  // namespace

bool MayChangeTree(TreeListData* d) {
    const DWORD me = GetCurrentThreadId();
    DWORD since = GetTickCount();
    UINT progress = d->sortProgress.load();
    while (d->sortThread && !IsDying(d)) {
        if (d->sortThread == me) return false;
        // A long sort is waited for; only one that stops comparing for the whole bound counts as stuck.
        if (const UINT now = d->sortProgress.load(); now != progress) {
            progress = now;
            since = GetTickCount();
        } else if (GetTickCount() - since > kWaitForSortMs) {
            return false;
        }
        PauseForSort(d);
    }
    return !IsDying(d);
}

ItemId InsertItem(TreeListData* d, const TreeListInsertRecord* r) {
    if (!r || !MayChangeTree(d)) return 0;
    ItemId parent = ToItem(r->hParent);
    if (parent == kItemRoot) parent = 0;
    if (parent && !Item(d, parent)) return 0;
    if (d->itemCount >= d->tableSize && !GrowItemTables(d)) return 0;
    UINT heldBack = 0;
    TreeListItem* rec = NewRecord(d, *r, &heldBack);
    if (!rec) return 0;

    ItemId after = 0;
    const ItemId where = ToItem(r->hInsertAfter);
    bool placed;
    if (where == kItemSort || where == kCallerSort) {
        SortRunning running(d);
        placed = ResolvePosition(d, *r, rec, &parent, &after);
    } else {
        placed = ResolvePosition(d, *r, rec, &parent, &after);
    }
    const ItemId h = NextFreeHandle(d);
    if (!placed || IsDying(d) || !h || (parent && !Item(d, parent))) {
        FreeNewItemRecord(d, rec);
        return 0;
    }
    d->items[h] = rec;
    rec->level = parent ? static_cast<USHORT>(d->items[parent]->level + 1) : 0;
    LinkItem(d, h, parent, after);
    ++d->itemCount;
    d->lastHandle = h;
    if (parent && (d->items[parent]->flags & kChildrenOpen)) d->items[parent]->flags |= kHasChildren;
    if (rec->state & TVIS_SELECTED) {
        ++d->selectedCount;
        d->caretItem = h;
    }
    if (r->item.mask & TLIF_NOCALLBACK)
        DeferRowsAfterInsert(d, h);
    else
        RebuildRows(d, h);
    if (heldBack) Defer(d, kDeferState, h, heldBack);
    return h;
}
