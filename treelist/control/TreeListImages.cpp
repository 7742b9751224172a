// Image lists the control makes itself: the check boxes of the state lists and the drag image of an item.
#include "treelist/control/TreeListLayout.h"

#include "treelist/control/TreeListNotify.h"
#include "treelist/control/TreeListShared.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kCheckBoxPart = 3, kUncheckedNormal = 1;
constexpr COLORREF kDragMask = 0x5B4D7B;

void DropList(TreeListData* d, int kind) {
    if (d->ownImages[kind] && d->images[kind] && !d->themedChecks[kind]) ImageList_Destroy(d->images[kind]);
    d->images[kind] = nullptr;
    d->ownImages[kind] = false;
    d->themedChecks[kind] = false;
}

// Three 16 x 16 images: empty, a clear box and a set box, on the highlight colour as the mask.
HIMAGELIST DrawnCheckBoxes() {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 48, 16);
    ReleaseDC(nullptr, screen);
    HIMAGELIST list = nullptr;
    if (dc && bitmap) {
        HGDIOBJ old = SelectObject(dc, bitmap);
        const COLORREF mask = GetSysColor(COLOR_HIGHLIGHT);
        RECT all = {0, 0, 48, 16};
        SetBkColor(dc, mask);
        ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
        RECT clear = {17, 2, 30, 15}, set = {33, 2, 46, 15};
        DrawFrameControl(dc, &clear, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT);
        DrawFrameControl(dc, &set, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT | DFCS_CHECKED);
        SelectObject(dc, old);
        list = ImageList_Create(16, 16, ILC_MASK | ILC_COLORDDB, 3, 14);
        if (list && ImageList_AddMasked(list, bitmap, mask) < 0) {
            ImageList_Destroy(list);
            list = nullptr;
        }
    }
    if (bitmap) DeleteObject(bitmap);
    if (dc) DeleteDC(dc);
    return list;
}

}  // namespace

void UpdateImageSize(TreeListData* d, int kind) {
    if (d->themedChecks[kind]) return;
    int cx = 0, cy = 0;
    if (d->images[kind]) ImageList_GetIconSize(d->images[kind], &cx, &cy);
    d->imageSize[kind] = SIZE{cx, cy};
}

void DestroyOwnImages(TreeListData* d) {
    for (int kind = 0; kind < kImageKinds; ++kind) {
        if (kind == kImagesItem && (d->exStyle & TLX_KEEPIMAGELIST)) continue;
        if (d->ownImages[kind]) DropList(d, kind);
    }
}

void BuildCheckBoxImages(TreeListData* d, int kind) {
    const int k = kind == 1 ? kImagesState2 : kImagesState;
    const TreeListShared& shared = GetTreeListShared();
    if (shared.OpenThemeData && !d->checkTheme) d->checkTheme = shared.OpenThemeData(d->window, L"BUTTON");
    if (d->checkTheme && shared.GetThemePartSize) {
        SIZE part = {0, 0};
        RECT r = {0, 0, 3, 3};
        shared.GetThemePartSize(d->checkTheme, nullptr, kCheckBoxPart, kUncheckedNormal, &r, TS_TRUE, &part);
        DropList(d, k);
        d->themedChecks[k] = true;
        d->ownImages[k] = true;
        d->imageSize[k] = SIZE{std::max<LONG>(16, part.cx + 3), std::max<LONG>(16, part.cy)};
        return;
    }
    if (d->images[k] && !d->themedChecks[k]) return;
    HIMAGELIST list = DrawnCheckBoxes();
    if (!list) return;
    DropList(d, k);
    d->images[k] = list;
    d->ownImages[k] = true;
    d->imageSize[k] = SIZE{16, 16};
}

HIMAGELIST CreateItemDragImage(TreeListData* d, ItemId item, int column) {
    TreeListItem* it = Item(d, item);
    if (!it || column < 0 || column >= std::max(d->columnCount, 1)) return nullptr;
    // Only what comes by call-back is asked for (an own text stays beside a call-back image), and before the own
    // values are read: the parent may change them while it answers.
    const TreeListCell* cell = column > 0 ? Cell(d, item, column) : nullptr;
    const BYTE callbacks = column > 0 ? (cell ? cell->callbacks : 0) : it->callbacks;
    const UINT fetch = ((callbacks & kCallbackText) ? TVIF_TEXT : 0u) |
                       (column == 0 && (callbacks & kCallbackImage) ? TVIF_IMAGE : 0u);
    TVITEMA answer = {};
    if (fetch) {
        if (!FetchCallbacks(d, item, column, fetch, &answer) || column >= std::max(d->columnCount, 1)) return nullptr;
        it = d->items[item];
        cell = column > 0 ? Cell(d, item, column) : nullptr;
    }
    const char* text = it->text;
    int length = static_cast<int>(it->textLength);
    int image = it->image;
    if (column > 0) {
        text = cell ? cell->text : "????";
        length = cell ? static_cast<int>(cell->textLength) : 4;
        image = cell ? cell->image : kImageNone;
    }
    if (fetch & TVIF_TEXT) {
        text = answer.pszText;
        length = static_cast<int>(strlen(text));
    }
    if (fetch & TVIF_IMAGE) image = answer.iImage;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HFONT font = FontFor(d, it->state);
    HGDIOBJ oldFont = SelectObject(dc, font);
    SIZE extent = {0, 0};
    GetTextExtentPoint32A(dc, text, length, &extent);
    int width = column > 0 && !cell ? 4 * d->textHeight : extent.cx;
    int height = d->textHeight, textX = 0;
    HIMAGELIST images = ImageList(d, kImagesItem);
    const bool drawImage = images && image >= 0;
    if (drawImage) {
        height = std::max<int>(height, d->imageSize[kImagesItem].cy);
        textX = d->imageSize[kImagesItem].cx + 2;
        width += textX;
    }
    width = std::clamp(width, 1, 240);
    height = std::clamp(height, 1, 32);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    HIMAGELIST list = nullptr;
    if (bitmap) {
        HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
        SelectObject(dc, GetStockObject(NULL_PEN));
        SetTextColor(dc, d->colours[kColourText]);
        SetBkColor(dc, kDragMask);
        RECT all = {0, 0, width, height};
        ExtTextOutA(dc, textX, (height - d->textHeight) / 2, ETO_OPAQUE | ETO_CLIPPED, &all, text,
                    static_cast<UINT>(length), nullptr);
        if (drawImage) {
            RECT box = {0, 0, d->imageSize[kImagesItem].cx, d->imageSize[kImagesItem].cy};
            SetBkColor(dc, GetSysColor(COLOR_WINDOW));
            ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &box, nullptr, 0, nullptr);
            ImageList_Draw(images, image, dc, 0, 0, ILD_TRANSPARENT);
        }
        SelectObject(dc, oldBitmap);
        list = ImageList_Create(width, height, ILC_MASK | ILC_COLORDDB, 1, 0);
        if (list && ImageList_AddMasked(list, bitmap, kDragMask) < 0) {
            ImageList_Destroy(list);
            list = nullptr;
        }
        DeleteObject(bitmap);
    }
    SelectObject(dc, oldFont);
    DeleteDC(dc);
    return list;
}
