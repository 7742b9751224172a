// Settings of the whole control: indent, image lists, the colour table and the user colour slots, the
// extended style.
#include "treelist/control/TreeListSettings.h"

#include "treelist/control/TreeListColours.h"
#include "treelist/control/TreeListColumns.h"
#include "treelist/control/TreeListLayout.h"
#include "treelist/control/TreeListScroll.h"

#include <algorithm>

namespace {

constexpr WPARAM kImageKindFlag = 0x40000000;

int KindOf(WPARAM wp) {
    const WPARAM kind = wp & ~kImageKindFlag;
    return kind < kImageKinds ? static_cast<int>(kind) : -1;
}

void Relayout(TreeListData* d) {
    ComputeVisibleRows(d);
    UpdateVScrollBar(d, true, true);
    InvalidateItems(d);
}

}  // namespace

LRESULT SetIndent(TreeListData* d, int indent) {
    const int old = d->indent;
    d->indent = std::clamp(indent, 5, 64);
    if (d->indent != old) InvalidateItems(d);
    return old;
}

LRESULT GetImageList(TreeListData* d, WPARAM wp) {
    const int kind = KindOf(wp);
    return kind < 0 || kind == kImagesNone ? 0 : reinterpret_cast<LRESULT>(ImageList(d, kind));
}

LRESULT SetImageList(TreeListData* d, WPARAM wp, HIMAGELIST list) {
    const int kind = KindOf(wp);
    if (kind < 0 || kind == kImagesNone) return 0;
    HIMAGELIST old = ImageList(d, kind);
    // A list the control made goes with the change; its handle is not handed out any more.
    if (d->ownImages[kind]) {
        if (old) ImageList_Destroy(old);
        old = nullptr;
    }
    d->images[kind] = list;
    d->ownImages[kind] = false;
    d->themedChecks[kind] = false;
    UpdateImageSize(d, kind);
    if (kind == kImagesState && !list && (d->style & TVS_CHECKBOXES)) BuildCheckBoxImages(d, 0);
    if (kind != kImagesHeader && ComputeRowHeight(d)) Relayout(d);
    InvalidateItems(d);
    // The header gets its list last, with the lock left (a direct call may come from another thread).
    if (d->header && (kind == kImagesHeader || (kind == kImagesItem && !d->images[kImagesHeader]))) {
        HIMAGELIST shown = d->images[kImagesHeader] ? d->images[kImagesHeader] : d->images[kImagesItem];
        SendHeader(d, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(shown));
    }
    return reinterpret_cast<LRESULT>(old);
}

LRESULT SetColour(TreeListData* d, WPARAM index, COLORREF colour) {
    if (index >= kTreeListColours) return -1;
    const COLORREF old = d->colours[index];
    d->colourSet[index] = colour != CLR_INVALID;
    if (colour != CLR_INVALID) d->colours[index] = colour;
    UpdateColours(d);
    InvalidateItems(d);
    return old;
}

LRESULT GetColour(TreeListData* d, WPARAM index) {
    return index < kTreeListColours ? static_cast<LRESULT>(d->colours[index]) : -1;
}

LRESULT UserColour(TreeListData* d, WPARAM wp, COLORREF colour) {
    const WPARAM slot = LOWORD(wp), mode = HIWORD(wp);
    if (slot >= kTreeListUserColours) return -1;
    const COLORREF old = d->userColours[slot];
    if (mode >= 2) return static_cast<LRESULT>(static_cast<LONG>(old));
    d->userColours[slot] = colour;
    if (mode == 1 && old != colour) InvalidateItems(d);
    return static_cast<LRESULT>(static_cast<LONG>(old));
}

LRESULT SetExtendedStyle(TreeListData* d, DWORD mask, DWORD bits) {
    const DWORD old = d->exStyle;
    if (!mask) mask = 0xFFFFFFFF;
    d->exStyle = (old & ~mask) | (bits & mask);
    if (d->exStyle != old) {
        ComputeRowHeight(d);
        if ((d->exStyle ^ old) & TLX_SKIPMARKED) RebuildRows(d, 0);
        Relayout(d);
        UpdateHScrollBar(d, true);
    }
    return old;
}

LRESULT OptionMessage(TreeListData* d, WPARAM wp, LPARAM value) {
    const bool set = wp & kTreeListSetOption;
    const WPARAM n = wp & ~kTreeListSetOption;
    if (n < 1 || n > 16) return 0;
    LONG_PTR& slot = d->options[n];
    if (n == TLO_MARKEDCOLUMNS) return d->markedColumns;
    if (n == TLO_WINDOWPROC) return reinterpret_cast<LRESULT>(TreeListWndProc);
    const LONG_PTR old = slot;
    if (!set) return old;
    LONG_PTR v = value;
    switch (n) {
    case TLO_PINNEDSEPARATOR: v = value ? static_cast<LONG_PTR>(0x80000000) : 0; break;
    case TLO_CLICKTIME: v = static_cast<signed char>(value); break;
    case TLO_MINROWHEIGHT: v = static_cast<signed char>(value); break;
    case TLO_OPTION13:
    case TLO_AUTOWIDEN: v = static_cast<BYTE>(value); break;
    case TLO_JOINCOLUMNS: v = static_cast<WORD>(value); break;
    case TLO_OPTION16: v = value ? 1 : 0; break;
    case TLO_DRAWCALLBACK:
    case TLO_DRAWCONTEXT: break;
    default: v = static_cast<LONG_PTR>(static_cast<DWORD>(value)); break;
    }
    slot = v;
    if (v == old) return old;
    switch (n) {
    case TLO_EXPANDEDIMAGEOFFSET:
        if (d->itemCount) InvalidateItems(d);
        break;
    case TLO_PINNEDROWS:
    case TLO_PINNEDSEPARATOR: InvalidateItems(d); break;
    case TLO_MINROWHEIGHT:
        SetUpTreeListFonts(d);
        ComputeRowHeight(d);
        Relayout(d);
        break;
    case TLO_JOINCOLUMNS:
        UpdateJoinedColumns(d);
        InvalidateItems(d);
        break;
    case TLO_AUTOWIDEN: RebuildRows(d, 0); break;
    }
    return old;
}
