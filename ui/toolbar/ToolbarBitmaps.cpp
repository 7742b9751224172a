// The bitmap table of the toolbar control: image strips added from resources, bitmap handles or image records.
#include "ui/toolbar/ToolbarMessages.h"

#include "image/DibRecord.h"
#include "image/DibRecordLoad.h"

#include <algorithm>
#include <new>

namespace {

bool IsKeptDepth(int bits) { return bits == 4 || bits == 8 || bits == 24 || bits == 32; }

int AbsHeight(const BITMAPINFOHEADER* h) { return h->biHeight < 0 ? -h->biHeight : h->biHeight; }

// A depth the control paints from: 32 bits on a display of more than 8 bits, else the display's depth.
int WantedDepth() { return ToolbarPaintDepth() > 8 ? 32 : ToolbarPaintDepth(); }

DWORD DepthFlags(int depth) { return (DWORD)((depth == 32 ? 0 : depth) << DibLoad::kDepthShift); }

// A copy of the strip as an image record. With convert, depths other than 4, 8, 24 and 32 bits become the
// paint depth; without, they are refused.
BITMAPINFOHEADER* LoadStrip(HINSTANCE module, UINT_PTR id, bool convert, BYTE** pixels) {
    *pixels = nullptr;
    BITMAPINFOHEADER* image = nullptr;
    if (module) {
        // The resource's own data first, then a record of it in the depth it keeps.
        ULONG_PTR data = 0;
        const BITMAPINFOHEADER* raw = LoadDibResourceA(nullptr, module, (LPCSTR)id, (LPCSTR)RT_BITMAP, 0, &data);
        if (!raw) return nullptr;
        int depth = IsKeptDepth(raw->biBitCount) ? raw->biBitCount : WantedDepth();
        if (!IsKeptDepth(raw->biBitCount) && !convert) return nullptr;
        ULONG_PTR out = 0;
        image = CreateDibFromPackedData(nullptr, raw, DibLoad::kForceCopy | DibLoad::kConvertDepth | DepthFlags(depth),
                                        &out);
        *pixels = (BYTE*)out;
    } else {
        void* bits = nullptr;
        image = CreateDibFromBitmap(nullptr, (HBITMAP)id, &bits);
        if (!image) return nullptr;
        *pixels = (BYTE*)bits;
        if (!IsKeptDepth(image->biBitCount)) {
            BITMAPINFOHEADER* converted = nullptr;
            if (convert) {
                ULONG_PTR out = (ULONG_PTR)bits;
                converted = CreateDibFromPackedData(nullptr, image, 0xC060EDCBu | DepthFlags(WantedDepth()), &out);
                *pixels = (BYTE*)out;
            }
            FreeDib(image);
            image = converted;
        }
    }
    if (!image || !*pixels) {
        if (image) FreeDib(image);
        *pixels = nullptr;
        return nullptr;
    }
    return image;
}

ToolbarBitmap* NewBitmap() {
    void* block = ToolbarAlloc(sizeof(ToolbarBitmap));
    return block ? new (block) ToolbarBitmap() : nullptr;
}

void SetImage(ToolbarBitmap* bm, BITMAPINFOHEADER* image, BYTE* pixels) {
    bm->image = image;
    bm->pixels = pixels;
    bm->imageHeight = (WORD)AbsHeight(image);
    bm->stride = DibStride(image->biWidth, image->biBitCount);
}

// Turns the record into a fixed strip of count images, or into one split at marker columns.
bool SetCount(ToolbarBitmap* bm, int count, bool split) {
    bm->found.clear();
    bm->splitColumn = 0;
    bm->flags &= kBitmapOwnsHandle;
    if (split) {
        bm->flags |= kBitmapSplit;
        bm->count = 0;
        bm->imageWidth = 0;
        return true;
    }
    if (count < 1 || bm->image->biWidth / count < 1) return false;
    bm->flags |= kBitmapFixedCount | kBitmapSplitDone;
    bm->count = (WORD)count;
    bm->imageWidth = (WORD)(bm->image->biWidth / count);
    return true;
}

int FindBitmap(const ToolbarState* s, HINSTANCE module, UINT_PTR id, int* firstImage) {
    int base = 0;
    for (int r = 0; r < s->bitmapCount; ++r) {
        const ToolbarBitmap* bm = s->bitmaps[r];
        if (bm->module == module && bm->id == id) {
            if (firstImage) *firstImage = base;
            return r;
        }
        base += bm->count;
    }
    if (firstImage) *firstImage = base;
    return -1;
}

void Relayout(ToolbarState* s) {
    s->dirty |= kDirtyAll;
    InvalidateToolbar(s);
}

}  // namespace

void FreeToolbarBitmap(ToolbarBitmap* bm) {
    if (!bm) return;
    if (bm->image) FreeDib(bm->image);
    if (bm->flags & kBitmapOwnsHandle) DeleteObject((HBITMAP)bm->id);
    bm->~ToolbarBitmap();
    ToolbarFree(bm);
}

void RemoveToolbarBitmaps(ToolbarState* s) {
    while (s->bitmapCount > 0) FreeToolbarBitmap(s->bitmaps[--s->bitmapCount]);
}

// --- Messages ---

LRESULT AddBitmap(ToolbarState* s, WPARAM wParam, TBADDBITMAP* source) {
    if (!source) return -1;
    auto* ex = HIWORD(wParam) == kToolbarIndexMark ? (TBADDBITMAPEX*)source : nullptr;
    WORD flags = ex ? ex->flags : 0;
    int count = LOWORD(wParam);
    int scale = ex && ex->scale ? ex->scale : 256;
    bool owned = !source->hInst && (flags & TBXAB_OWNHANDLE);
    auto fail = [&](BITMAPINFOHEADER* image) -> LRESULT {
        if (image) FreeDib(image);
        if (owned) DeleteObject((HBITMAP)source->nID);
        return -1;
    };
    if (!(flags & TBXAB_COUNTBYWIDTH) && count < 1) return fail(nullptr);
    ToolbarLock lock(s, TB_ADDBITMAP);
    int first;
    if (int existing = FindBitmap(s, source->hInst, source->nID, &first); existing >= 0) {
        ToolbarBitmap* bm = s->bitmaps[existing];
        if (bm->scale != scale) {
            bm->scale = (WORD)scale;
            Relayout(s);
        }
        return first;
    }
    if (s->bitmapCount == s->bitmapCapacity) {
        int capacity = s->bitmapCount + 4;
        auto** table = (ToolbarBitmap**)ToolbarAlloc(capacity * sizeof(ToolbarBitmap*));
        if (!table) return fail(nullptr);
        std::copy(s->bitmaps, s->bitmaps + s->bitmapCount, table);
        ToolbarFree(s->bitmaps);
        s->bitmaps = table;
        s->bitmapCapacity = capacity;
    }
    BYTE* pixels;
    BITMAPINFOHEADER* image = LoadStrip(source->hInst, source->nID, true, &pixels);
    if (!image) return fail(nullptr);
    bool split = count == kToolbarSplitImages;
    if (flags & TBXAB_COUNTBYWIDTH) {
        int width = ex->imageWidth;
        if (width == kToolbarSplitImages) split = true;
        else if (width < 1) return fail(image);
        else count = image->biWidth / width;
    }
    if ((flags & TBXAB_EXACTCOUNT) && !split && count > 0 && image->biWidth % count) split = true;
    ToolbarBitmap* bm = NewBitmap();
    if (!bm) return fail(image);
    bm->module = source->hInst;
    bm->id = source->nID;
    bm->scale = (WORD)scale;
    bm->flags = owned ? kBitmapOwnsHandle : 0;
    SetImage(bm, image, pixels);
    if (!SetCount(bm, count, split)) {
        bm->~ToolbarBitmap();
        ToolbarFree(bm);
        return fail(image);
    }
    if (split && (flags & TBXAB_SPLITNOW)) {
        int found = CountSplitImages(bm);
        if (ex) ex->count = (WORD)found;
    }
    if (ex && (flags & TBXAB_WRITEWIDTH)) ex->imageWidth = split ? kToolbarSplitImages : bm->imageWidth;
    if (ex && (flags & TBXAB_WRITEHEIGHT)) ex->scale = bm->imageHeight;
    s->bitmaps[s->bitmapCount++] = bm;
    if (s->buttonCount) Relayout(s);
    return first;
}

LRESULT ReplaceBitmap(ToolbarState* s, WPARAM scale, const TBREPLACEBITMAP* rb) {
    if (!rb || rb->nButtons < 1) return 0;
    ToolbarLock lock(s, TB_REPLACEBITMAP);
    if (FindBitmap(s, rb->hInstNew, rb->nIDNew, nullptr) >= 0) return 0;
    int r = FindBitmap(s, rb->hInstOld, rb->nIDOld, nullptr);
    if (r < 0) return 0;
    BYTE* pixels;
    BITMAPINFOHEADER* image = LoadStrip(rb->hInstNew, rb->nIDNew, false, &pixels);
    if (!image) return 0;
    ToolbarBitmap trial{};
    trial.image = image;
    trial.pixels = pixels;
    bool split = rb->nButtons == kToolbarSplitImages;
    if (!split && image->biWidth / rb->nButtons < 1) {
        FreeDib(image);
        return 0;
    }
    ToolbarBitmap* bm = s->bitmaps[r];
    if (r != s->bitmapCount - 1) {
        int newCount = split ? CountSplitImages(&trial) : rb->nButtons;
        int oldCount = (bm->flags & kBitmapSplit) ? CountSplitImages(bm) : bm->count;
        if (newCount != oldCount) {
            FreeDib(image);
            return 0;
        }
    }
    FreeDib(bm->image);
    if (bm->flags & kBitmapOwnsHandle) DeleteObject((HBITMAP)bm->id);
    bm->flags = 0;
    bm->module = rb->hInstNew;
    bm->id = rb->nIDNew;
    SetImage(bm, image, pixels);
    SetCount(bm, rb->nButtons, split);
    if (scale) bm->scale = (WORD)scale;
    Relayout(s);
    return 1;
}

// Counts the images of a strip by its marker columns. source 65535: lParam is a bitmap handle; an image
// record (recognised safely, never guessed from the value) whose pixels lParam may give; otherwise a module
// with a resource id.
LRESULT CountImages(WPARAM source, LPARAM lParam) {
    if (!source) return 0;
    ToolbarBitmap strip{};
    BITMAPINFOHEADER* owned = nullptr;
    if (source == 65535) {
        void* bits = nullptr;
        owned = CreateDibFromBitmap(nullptr, (HBITMAP)lParam, &bits);
        strip.image = owned;
        strip.pixels = (BYTE*)bits;
    } else if (IsDibRecord((const void*)source)) {
        strip.image = (BITMAPINFOHEADER*)source;
        strip.pixels = (BYTE*)GetDibBits(strip.image);
        if (!strip.pixels) strip.pixels = (BYTE*)lParam;
    } else if (IS_INTRESOURCE(lParam)) {
        ULONG_PTR data = 0;
        strip.image = LoadDibResourceW(nullptr, (HMODULE)source, (LPCWSTR)lParam, (LPCWSTR)RT_BITMAP, 0, &data);
        strip.pixels = (BYTE*)data;
    }
    int count = strip.image && strip.pixels ? CountSplitImages(&strip) : 0;
    if (owned) FreeDib(owned);
    return count;
}

LRESULT GetBitmapInfo(ToolbarState* s, WPARAM range, TBXBITMAPINFO* out) {
    int first = LOWORD(range), count = HIWORD(range);
    ToolbarLock lock(s, TBX_GETBITMAPINFO);
    if (!out || first >= s->bitmapCount || count < 1) return 0;
    int n = std::min(count, s->bitmapCount - first);
    for (int i = 0; i < n; ++i) {
        ToolbarBitmap* bm = s->bitmaps[first + i];
        if (bm->flags & kBitmapSplit) CountSplitImages(bm);
        out[i] = {bm->module, bm->id, bm->count, bm->scale,
                  (WORD)((bm->flags & kBitmapSplit) ? 0 : bm->imageWidth), bm->imageHeight};
    }
    return n;
}

LRESULT RemoveBitmaps(ToolbarState* s) {
    ToolbarLock lock(s, TBX_REMOVEBITMAPS);
    int removed = s->bitmapCount;
    RemoveToolbarBitmaps(s);
    Relayout(s);
    return removed;
}
