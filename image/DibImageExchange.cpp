// CDibImage exchange with the clipboard, GDI bitmaps, bitmap resources and packed DIBs.
#include "image/DibImageDetail.h"

#include <cstdlib>
#include <utility>

namespace {

constexpr uint32_t kMasks555[3] = {0x7c00, 0x03e0, 0x001f};
constexpr uint32_t kMasks565[3] = {0xf800, 0x07e0, 0x001f};
constexpr uint32_t kMasks888[3] = {0xff0000, 0x00ff00, 0x0000ff};

bool SameMasks(const uint8_t* masks, const uint32_t expect[3]) {
    for (int i = 0; i < 3; ++i)
        if (LoadU32(masks + 4 * i) != expect[i]) return false;
    return true;
}

// The image depth that holds a DIB's pixels as they are, or 0. A 16-bit BI_RGB DIB is 5-5-5 by
// definition; bit-field DIBs are taken only with the masks the pixel accessors use.
uint32_t DepthOfDib(const BITMAPINFOHEADER& h, const uint8_t* masks) {
    if (h.biCompression == BI_RGB) return h.biBitCount == 16 ? 15 : h.biBitCount;
    if (h.biCompression != BI_BITFIELDS || !masks) return 0;
    if (h.biBitCount == 16) return SameMasks(masks, kMasks565) ? 16 : SameMasks(masks, kMasks555) ? 15 : 0;
    if (h.biBitCount == 32) return SameMasks(masks, kMasks888) ? 32 : 0;
    return 0;
}

// Where the three bit-field masks of a DIB lie: inside a V4/V5 header, else right behind the header.
const uint8_t* MasksOf(const BITMAPINFOHEADER* h, const void* behindHeader) {
    return h->biSize >= 52 ? reinterpret_cast<const uint8_t*>(h) + 40 : static_cast<const uint8_t*>(behindHeader);
}

// Colour-table entries of a DIB: biClrUsed when it is set (up to 2^bits on palette depths), else
// 2^bits for palette depths and none above.
uint64_t ColourEntries(const BITMAPINFOHEADER& h) {
    const uint64_t full = h.biBitCount <= 8 ? 1ull << h.biBitCount : 0;
    if (h.biClrUsed == 0) return full;
    return full && h.biClrUsed > full ? full : h.biClrUsed;
}

// Bytes from the header's start to the colour table, and from there to the pixels.
uint64_t ColourTableOffset(const BITMAPINFOHEADER& h) {
    return h.biSize + (h.biSize == 40 && h.biCompression == BI_BITFIELDS ? 12 : 0);
}

} // namespace

bool CDibImage::CopyToClipboard(HWND owner) {
    if (!HasPixels()) return false;
    BITMAPINFOHEADER& h = header->bmiHeader;
    if (depth > 8) h.biClrUsed = h.biClrImportant = 0;
    const size_t entries = h.biCompression == BI_BITFIELDS ? 3 : h.biClrUsed;
    const size_t tableBytes = 4 * entries;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, sizeof(BITMAPINFOHEADER) + tableBytes + imageSize);
    if (!block) return false;
    uint8_t* out = static_cast<uint8_t*>(GlobalLock(block));
    if (!out) {
        GlobalFree(block);
        return false;
    }
    memcpy(out, &h, sizeof(BITMAPINFOHEADER));
    memcpy(out + sizeof(BITMAPINFOHEADER), header->bmiColors, tableBytes);
    memcpy(out + sizeof(BITMAPINFOHEADER) + tableBytes, bits, imageSize);
    GlobalUnlock(block);
    if (!OpenClipboard(owner)) {
        GlobalFree(block);
        return false;
    }
    const bool placed = EmptyClipboard() && SetClipboardData(CF_DIB, block) != nullptr;
    CloseClipboard();
    if (!placed) GlobalFree(block);
    return placed;
}

bool CDibImage::PasteFromClipboard(HWND owner, uint32_t flags) {
    if (!IsClipboardFormatAvailable(CF_DIB) || !OpenClipboard(owner)) return false;
    HANDLE data = GetClipboardData(CF_DIB);
    if (!data) data = GetClipboardData(CF_DIBV5);
    const uint8_t* block = data ? static_cast<const uint8_t*>(GlobalLock(data)) : nullptr;
    const bool ok = block && LoadDibBlock(block, GlobalSize(data));
    if (block) GlobalUnlock(data);
    CloseClipboard();
    if (ok && depth == 32 && !(flags & kDibPasteKeepAlpha)) SetAlpha(0);
    return ok;
}

// A DIB from another process: every offset is checked against the block's own size.
bool CDibImage::LoadDibBlock(const uint8_t* block, uint64_t blockSize) {
    Reset();
    BITMAPINFOHEADER h;
    if (blockSize < sizeof h) return false;
    memcpy(&h, block, sizeof h);
    const bool bitFields = h.biCompression == BI_BITFIELDS;
    if (h.biSize < 40 || h.biSize > blockSize || (bitFields && blockSize < 52)) return false;
    if ((h.biCompression != BI_RGB && !bitFields) || h.biWidth < 1 || h.biHeight < 1) return false;
    const uint32_t newDepth = DepthOfDib(h, block + 40);
    if (!newDepth || !Create(newDepth, (uint32_t)h.biWidth, (uint32_t)h.biHeight, kDibNoFill)) {
        Reset();
        return false;
    }
    const uint64_t tableAt = ColourTableOffset(h), entries = ColourEntries(h);
    const uint64_t pixelsAt = tableAt + 4 * entries;
    if (pixelsAt + imageSize > blockSize) {
        Reset();
        return false;
    }
    for (uint64_t i = 0; i < entries && i < paletteSize; ++i) {
        const uint8_t* q = block + tableAt + 4 * i;
        SetPaletteColor((int)i, q[0] | q[1] << 8 | q[2] << 16);
    }
    memcpy(bits, block + pixelsAt, imageSize);
    return true;
}

HBITMAP CDibImage::ToBitmap(HWND window) const {
    if (!HasPixels()) return nullptr;
    // GDI knows no 2- or 12-bit DIBs: hand it the same picture at 24 bits.
    CDibImage wide;
    const CDibImage* source = this;
    if (depth == 2 || depth == 12) {
        if (!wide.Create(24, width, height, kDibNoFill) || !wide.Put(*this, 0, 0)) return nullptr;
        source = &wide;
    }
    HDC dc = GetDC(window);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, (int)width, (int)height);
    if (bitmap && SetDIBits(dc, bitmap, 0, height, source->bits, source->Info(), DIB_RGB_COLORS) == 0) {
        DeleteObject(bitmap);
        bitmap = nullptr;
    }
    ReleaseDC(window, dc);
    return bitmap;
}

bool CDibImage::FromBitmap(HWND window, HBITMAP bitmap) {
    Reset();
    if (!bitmap) return false;
    HDC dc = GetDC(window);
    DibHeaderBlock query = {};
    query.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    query.bmiHeader.biPlanes = 1;
    bool ok = GetDIBits(dc, bitmap, 0, 0, nullptr, reinterpret_cast<BITMAPINFO*>(&query), DIB_RGB_COLORS) != 0;
    const BITMAPINFOHEADER& q = query.bmiHeader;
    uint32_t newDepth = q.biBitCount;
    if (newDepth == 16)
        newDepth = q.biCompression == BI_BITFIELDS && LoadU32(query.bmiColors + 1) == 0x07e0 ? 16 : 15;
    ok = ok && q.biWidth > 0 && q.biHeight != 0 &&
         Create(newDepth, (uint32_t)q.biWidth, (uint32_t)std::abs(q.biHeight), kDibNoFill);
    if (ok) {
        // Ask for exactly this image's format; GDI converts, and fills the colour table of palette depths.
        DibHeaderBlock request;
        memcpy(&request, header, sizeof request);
        ok = GetDIBits(dc, bitmap, 0, height, bits, reinterpret_cast<BITMAPINFO*>(&request), DIB_RGB_COLORS) ==
             (int)height;
        if (ok && paletteSize) memcpy(palette, request.bmiColors, sizeof(RGBQUAD) * paletteSize);
    }
    ReleaseDC(window, dc);
    if (!ok) Reset();
    return ok;
}

bool CDibImage::LoadResource(LPCSTR name, HMODULE module) {
    HBITMAP bitmap = LoadBitmapA(module ? module : GetModuleHandleA(nullptr), name);
    if (!bitmap) {
        Reset();
        return false;
    }
    const bool ok = FromBitmap(nullptr, bitmap);
    DeleteObject(bitmap);
    return ok;
}

bool CDibImage::FromPackedDib(const BITMAPINFOHEADER* info, const void* pixels, const RGBQUAD* colours) {
    Reset();
    if (!info || !pixels || info->biPlanes != 1 || info->biWidth <= 0 || info->biHeight <= 0) return false;
    const uint32_t newDepth = DepthOfDib(*info, MasksOf(info, colours));
    if (!newDepth || !Create(newDepth, (uint32_t)info->biWidth, (uint32_t)info->biHeight, kDibNoFill)) return false;
    if (info->biSizeImage < imageSize) {
        Reset();
        return false;
    }
    memcpy(bits, pixels, imageSize);
    if (paletteSize && colours) {
        const uint64_t entries = ColourEntries(*info);
        for (uint64_t i = 0; i < entries; ++i) SetPaletteColor((int)i, LoadU32(colours + i));
    }
    return true;
}

bool CDibImage::FromPackedDibBlock(const void* block) {
    if (!block) {
        Reset();
        return false;
    }
    const BITMAPINFOHEADER* info = static_cast<const BITMAPINFOHEADER*>(block);
    const uint8_t* behindHeader = static_cast<const uint8_t*>(block) + info->biSize;
    const uint8_t* pixels = static_cast<const uint8_t*>(block) + ColourTableOffset(*info) + 4 * ColourEntries(*info);
    return FromPackedDib(info, pixels, reinterpret_cast<const RGBQUAD*>(behindHeader));
}

bool CDibImage::GetResolution(LONG* x, LONG* y) const {
    *x = header ? header->bmiHeader.biXPelsPerMeter : 0;
    *y = header ? header->bmiHeader.biYPelsPerMeter : 0;
    return header != nullptr;
}

bool CDibImage::SetResolution(LONG x, LONG y) {
    if (!header) return false;
    header->bmiHeader.biXPelsPerMeter = x;
    header->bmiHeader.biYPelsPerMeter = y;
    return true;
}

bool CDibImage::Swap(CDibImage& other) {
    using std::swap;
    // Every member; pointers into either image stay valid and now belong to the other object.
    swap(quantColours, other.quantColours);
    swap(quantBoxes, other.quantBoxes);
    swap(quantBoxCount, other.quantBoxCount);
    swap(fontBlob, other.fontBlob);
    swap(fontHeaderSize, other.fontHeaderSize);
    swap(fontFlags, other.fontFlags);
    swap(fontFirstChar, other.fontFirstChar);
    swap(fontLastChar, other.fontLastChar);
    swap(textAlign, other.textAlign);
    swap(textVAlign, other.textVAlign);
    swap(textYOffset, other.textYOffset);
    swap(fontSpacing, other.fontSpacing);
    swap(fontRefSpacing, other.fontRefSpacing);
    swap(fontBaseline, other.fontBaseline);
    swap(charAdvanceGap, other.charAdvanceGap);
    swap(charSpacing, other.charSpacing);
    swap(textColor, other.textColor);
    swap(textBkColor, other.textBkColor);
    swap(textPen, other.textPen);
    swap(textBkPen, other.textBkPen);
    swap(lastError, other.lastError);
    swap(header, other.header);
    swap(rowBuffer, other.rowBuffer);
    swap(pixelBlock, other.pixelBlock);
    swap(bits, other.bits);
    swap(row0, other.row0);
    swap(width, other.width);
    swap(height, other.height);
    swap(imageSize, other.imageSize);
    swap(depth, other.depth);
    swap(stride, other.stride);
    swap(subByteMask, other.subByteMask);
    swap(fillClass, other.fillClass);
    swap(valueMask, other.valueMask);
    swap(topValueBit, other.topValueBit);
    swap(subByteShift, other.subByteShift);
    swap(trueColour, other.trueColour);
    swap(paletteSize, other.paletteSize);
    swap(significantBits, other.significantBits);
    swap(foreignPixels, other.foreignPixels);
    swap(dashMask2, other.dashMask2);
    swap(dashMask1, other.dashMask1);
    swap(palette, other.palette);
    swap(dibSection, other.dibSection);
    swap(rowToIndex8, other.rowToIndex8);
    swap(rowTo24, other.rowTo24);
    swap(rowTo32, other.rowTo32);
    swap(rowCopy8, other.rowCopy8);
    swap(rowCopy24, other.rowCopy24);
    swap(rowCopy32, other.rowCopy32);
    swap(readPixel, other.readPixel);
    swap(writePixel, other.writePixel);
    swap(packColour, other.packColour);
    swap(progressCallback, other.progressCallback);
    swap(progressContext, other.progressContext);
    return true;
}
