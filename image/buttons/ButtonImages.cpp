// Button pictures: the cache of six-state image lists and the plain-bitmap fallback. User-interface thread only.
#include "image/buttons/ButtonImages.h"

#include <cstdlib>
#include <new>
#include <vector>

#include "framework/WinApp.h"
#include "image/PackedDibBitmap.h"

namespace {

constexpr COLORREF kMaskColour = 0xC0C0C0;

ButtonImageEntry* g_cache;
bool g_themeLookedUp;
BOOL(WINAPI* g_isThemeActive)();

bool ThemesActive() {
    if (!g_themeLookedUp) {
        g_themeLookedUp = true;
        if (HMODULE library = LoadLibraryA("UxTheme.dll"))
            g_isThemeActive = (BOOL(WINAPI*)())(void*)GetProcAddress(library, "IsThemeActive");
    }
    return g_isThemeActive && g_isThemeActive();
}

bool IsResourceId(uintptr_t source) { return source < 0x10000; }

HBITMAP LoadPicture(uintptr_t source) {
    if (IsResourceId(source)) return LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCEA(source));
    return CreateBitmapFromPackedDib((const void*)source, 0, nullptr);
}

// A greyed copy of the bitmap, read back through a DIB of its own depth; null on failure.
HBITMAP GreyedCopy(HBITMAP bitmap) {
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[256];
    } info = {};
    info.header.biSize = sizeof info.header;
    HDC screen = GetDC(nullptr);
    HBITMAP grey = nullptr;
    if (GetDIBits(screen, bitmap, 0, 0, nullptr, (BITMAPINFO*)&info, DIB_RGB_COLORS) && info.header.biHeight > 0) {
        BITMAPINFOHEADER& h = info.header;
        if (h.biBitCount >= 24) h.biCompression = BI_RGB; // blue, green, red in every pixel
        h.biSizeImage = ((h.biWidth * h.biBitCount + 31) / 32) * 4 * h.biHeight;
        std::vector<uint8_t> bits(h.biSizeImage);
        if (GetDIBits(screen, bitmap, 0, h.biHeight, bits.data(), (BITMAPINFO*)&info, DIB_RGB_COLORS)) {
            GreyButtonDib((BITMAPINFO*)&info, bits.data());
            grey = CreateDIBitmap(screen, &h, CBM_INIT, bits.data(), (BITMAPINFO*)&info, DIB_RGB_COLORS);
        }
    }
    ReleaseDC(nullptr, screen);
    return grey;
}

// The six states in button-state order: normal, hot, pressed, disabled (greyed), defaulted, stylus-hot.
// Adding a bitmap to the list with a mask changes it, so every state gets a picture loaded of its own.
HIMAGELIST BuildImageList(uintptr_t source, HBITMAP normal) {
    HBITMAP images[6] = {normal, LoadPicture(source), LoadPicture(source), GreyedCopy(normal), LoadPicture(source),
                         LoadPicture(source)};
    BITMAP bm = {};
    GetObjectA(normal, sizeof bm, &bm);
    HIMAGELIST list = ImageList_Create(bm.bmWidth, bm.bmHeight, ILC_COLORDDB | ILC_MASK, 5, 1);
    bool complete = list != nullptr;
    for (HBITMAP image : images) {
        if (!image || ImageList_AddMasked(list, image, kMaskColour) < 0) complete = false;
        if (image) DeleteObject(image);
    }
    if (!complete && list) ImageList_Destroy(list);
    return complete ? list : nullptr;
}

ButtonImageEntry* FindEntry(uintptr_t source) {
    for (ButtonImageEntry* e = g_cache; e; e = e->next)
        if (e->source == source) return e;
    return nullptr;
}

void Append(ButtonImageEntry* entry) {
    ButtonImageEntry** tail = &g_cache;
    while (*tail) tail = &(*tail)->next;
    if (!g_cache) atexit(FreeButtonImageCache);
    *tail = entry;
}

bool SendImageList(HWND button, ButtonImageEntry* entry) {
    return SendMessageA(button, BCM_SETIMAGELIST, 0, (LPARAM)&entry->list) != 0;
}

enum class Themed { kSet, kNoPicture, kFallBack };

Themed SetImageList(HWND button, uintptr_t source) {
    // A cached list is shared: a button that refuses it leaves it to the others.
    if (ButtonImageEntry* hit = FindEntry(source)) return SendImageList(button, hit) ? Themed::kSet : Themed::kFallBack;
    HBITMAP normal = LoadPicture(source);
    if (!normal) return Themed::kNoPicture;
    HIMAGELIST list = BuildImageList(source, normal);
    if (!list) return Themed::kFallBack;
    auto* entry = new (std::nothrow) ButtonImageEntry{{list, {0, 0, 0, 0}, BUTTON_IMAGELIST_ALIGN_CENTER}, source, nullptr};
    if (entry && SendImageList(button, entry)) {
        Append(entry);
        return Themed::kSet;
    }
    ImageList_Destroy(list);
    delete entry;
    return Themed::kFallBack;
}

// The picture as a plain bitmap; TRUE when the button holds it afterwards. The bitmap it had before stays
// with the caller.
BOOL SetPlainBitmap(HWND button, uintptr_t source) {
    HBITMAP bitmap =
        IsResourceId(source)
            ? (HBITMAP)LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(source), IMAGE_BITMAP, 0, 0,
                                  LR_LOADMAP3DCOLORS)
            : CreateBitmapFromPackedDib((const void*)source, kDibMapSysGreys, nullptr);
    if (!bitmap) return FALSE;
    SendMessageA(button, BM_SETIMAGE, IMAGE_BITMAP, (LPARAM)bitmap);
    if ((HBITMAP)SendMessageA(button, BM_GETIMAGE, IMAGE_BITMAP, 0) == bitmap) return TRUE;
    DeleteObject(bitmap);
    return FALSE;
}

} // namespace

BOOL SetButtonBitmap(HWND button, uintptr_t source) {
    if (ThemesActive()) {
        switch (SetImageList(button, source)) {
        case Themed::kSet: return TRUE;
        case Themed::kNoPicture: return FALSE;
        case Themed::kFallBack: break;
        }
    }
    return SetPlainBitmap(button, source);
}

BOOL DeleteButtonBitmap(HWND button) {
    HBITMAP bitmap = (HBITMAP)SendMessageA(button, BM_GETIMAGE, IMAGE_BITMAP, 0);
    if (!bitmap) return FALSE;
    SendMessageA(button, BM_SETIMAGE, IMAGE_BITMAP, 0); // the button must not paint a deleted bitmap
    return DeleteObject(bitmap);
}

void FreeButtonImageCache() {
    while (ButtonImageEntry* e = g_cache) {
        g_cache = e->next;
        ImageList_Destroy(e->list.himl);
        delete e;
    }
}
