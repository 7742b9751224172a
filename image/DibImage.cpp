// CDibImage: lifetime, creation, pixel memory and palettes.
#include "image/DibImageDetail.h"
#include "image/PixelBlockCache.h"

#include <cstdlib>
#include <malloc.h>
#include <utility>

namespace {

// Pixel blocks larger than this are refused: sizes and offsets are kept in 32 bits (biSizeImage).
constexpr uint64_t kMaxBlockBytes = 0xffffffffull;

uint32_t StrideFor(uint32_t depth, uint32_t width) {
    uint64_t bytes;
    if (depth < 12) bytes = ((uint64_t)depth * width + 7) >> 3;
    else if (depth == 12) bytes = ((uint64_t)3 * width + 1) >> 1;
    else bytes = (uint64_t)DibStorageBits(depth) / 8 * width;
    return (uint32_t)((bytes + 3) & ~3ull);
}

// Zeroes what follows each row's whole bytes of pixels up to the stride: the padding and a last byte's
// unused bits (and that byte's pixels, which a fill writes afterwards).
void ClearRowEnds(uint8_t* bits, uint32_t depth, uint32_t width, uint32_t height, uint32_t stride) {
    const size_t whole = (size_t)((uint64_t)DibStorageBits(depth) * width / 8);
    if (whole >= stride) return;
    for (uint32_t y = 0; y < height; ++y) memset(bits + (size_t)y * stride + whole, 0, stride - whole);
}

} // namespace

CDibImage::CDibImage() {
    header = new DibHeaderBlock;
    Reset();
}

CDibImage::CDibImage(const CDibImage& source) : CDibImage() { Copy(source); }

CDibImage::~CDibImage() {
    Reset();
    delete header;
}

CDibImage& CDibImage::operator=(const CDibImage& source) {
    Copy(source);
    return *this;
}

void CDibImage::InstallAccessors(uint32_t bitDepth) {
    const DibDepthTraits* t = DibTraitsForDepth(bitDepth);
    if (!t) t = &DibEmptyTraits();
    readPixel = t->read;
    writePixel = t->write;
    packColour = t->pack;
    rowToIndex8 = t->toIndex8;
    rowTo24 = t->to24;
    rowTo32 = t->to32;
    rowCopy8 = t->copy8;
    rowCopy24 = t->copy24;
    rowCopy32 = t->copy32;
    subByteMask = t->subByteMask;
    subByteShift = t->subByteShift;
    fillClass = t->fillClass;
    significantBits = t->significantBits;
}

void CDibImage::FreeBlock::operator()(uint8_t* block) const { DibPixelBlocks().Give(block); }

void CDibImage::FreePixels() {
    if (!foreignPixels) DibPixelBlocks().Give(pixelBlock);
    else if (rowBuffer) free(rowBuffer); // heap mode keeps the row buffer inside its block
    if (dibSection) DeleteObject(dibSection);
    pixelBlock = rowBuffer = bits = row0 = nullptr;
    dibSection = nullptr;
}

int CDibImage::Reset() {
    InstallAccessors(0);
    quantColours.reset();
    quantBoxes.reset();
    FreePixels();
    width = height = depth = imageSize = paletteSize = stride = 0;
    valueMask = topValueBit = 0;
    trueColour = 0;
    foreignPixels = 0;
    lastError = kDibErrorNone;
    quantBoxCount = 0;
    memset(header, 0, sizeof(DibHeaderBlock));
    palette = header->bmiColors;
    return 0;
}

bool CDibImage::AllocatePixels(uintptr_t bitsMode, HeapBlock& spare) {
    const size_t rowBufferBytes = 4 * (size_t)width + 8;
    if (bitsMode == kDibHeapPixels) {
        // Rows, one spare row, then the row buffer, all in one block: the block of the pixels before when it
        // is large enough and not twice as large (fresh memory costs more than the drawing into it), else
        // such a block that another image let go of.
        const size_t bytes = (size_t)imageSize + rowBufferBytes + stride, spareBytes = spare ? _msize(spare.get()) : 0;
        if (bytes <= spareBytes && spareBytes / 2 <= bytes) {
            pixelBlock = spare.release();
        } else if (!(pixelBlock = DibPixelBlocks().Take(bytes)) && !(pixelBlock = (uint8_t*)malloc(bytes))) {
            DibPixelBlocks().Empty(); // the kept blocks may be what is missing
            pixelBlock = (uint8_t*)malloc(bytes);
        }
        if (!pixelBlock) return false;
        bits = pixelBlock; // malloc already aligns to more than 4 bytes
        rowBuffer = bits + imageSize + stride;
        return true;
    }
    rowBuffer = (uint8_t*)malloc(rowBufferBytes);
    if (!rowBuffer) return false;
    foreignPixels = 1;
    if (bitsMode == kDibSectionPixels) {
        HDC screen = GetDC(nullptr);
        void* sectionBits = nullptr;
        dibSection = CreateDIBSection(screen, Info(), DIB_RGB_COLORS, &sectionBits, nullptr, 0);
        ReleaseDC(nullptr, screen);
        if (!dibSection || !sectionBits) return false;
        pixelBlock = bits = (uint8_t*)sectionBits;
    } else {
        pixelBlock = bits = reinterpret_cast<uint8_t*>(bitsMode);
    }
    return true;
}

void CDibImage::FillHeader() {
    BITMAPINFOHEADER& h = header->bmiHeader;
    h.biSize = sizeof(BITMAPINFOHEADER);
    h.biWidth = (LONG)width;
    h.biHeight = (LONG)height;
    h.biPlanes = 1;
    h.biBitCount = (WORD)DibStorageBits(depth);
    h.biCompression = BI_RGB;
    h.biSizeImage = imageSize;
    h.biXPelsPerMeter = h.biYPelsPerMeter = kDibDefaultPelsPerMeter;
    h.biClrUsed = h.biClrImportant = paletteSize;
    if (depth == 15 || depth == 16) {
        h.biCompression = BI_BITFIELDS;
        const uint32_t masks15[4] = {0x7c00, 0x03e0, 0x001f, 0};
        const uint32_t masks16[4] = {0xf800, 0x07e0, 0x001f, 0};
        memcpy(header->bmiColors, depth == 15 ? masks15 : masks16, sizeof masks15);
    }
}

void CDibImage::SetDefaultPalette() {
    memset(palette, 0, sizeof(RGBQUAD) * 256);
    if (depth == 1) {
        SetPaletteColor(1, 0xffffff);
    } else if (depth == 2) {
        SetPaletteColor(1, 0x008000);
        SetPaletteColor(2, 0x800000);
        SetPaletteColor(3, 0xffffff);
    } else {
        static const uint32_t kSixteen[16] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080,
                                              0x808000, 0xc0c0c0, 0x808080, 0x0000ff, 0x00ff00, 0x00ffff,
                                              0xff0000, 0xff00ff, 0xffff00, 0xffffff};
        for (int i = 0; i < 16; ++i) SetPaletteColor(i, kSixteen[i]);
        if (depth == 8) {
            // A colour cube over the upper half, a grey ramp, then a 6x6x6 cube; later steps win.
            for (int i = 128; i < 256; ++i)
                SetPaletteEntry(i, (uint8_t)(((i >> 5) & 3) * 64 + 32), (uint8_t)(((i >> 2) & 7) * 32 + 16),
                                (uint8_t)((i & 3) * 64 + 32));
            for (int i = 16; i < 32; ++i) {
                const uint8_t g = (uint8_t)((i - 16) * 16);
                SetPaletteEntry(i, g, g, g);
            }
            for (int i = 32; i < 248; ++i)
                SetPaletteEntry(i, (uint8_t)((i / 36) % 6 * 43 + 20), (uint8_t)((i / 6) % 6 * 43 + 20),
                                (uint8_t)(i % 6 * 43 + 20));
        }
    }
}

bool CDibImage::Create(uint32_t bitDepth, uint32_t newWidth, uint32_t newHeight, uint32_t fillColour,
                       uintptr_t bitsMode) {
    // The heap block of the pixels before serves again if it fits; otherwise it goes when this returns.
    HeapBlock spare(foreignPixels ? nullptr : pixelBlock);
    if (!foreignPixels) pixelBlock = nullptr;
    Reset();
    if (newWidth > 32768 || newHeight > 32768) {
        lastError = kDibErrorSize;
        return false;
    }
    if (!DibTraitsForDepth(bitDepth)) {
        lastError = kDibErrorDepth;
        return false;
    }
    const uint32_t newStride = StrideFor(bitDepth, newWidth);
    // In 64 bits: 32 bpp x 32,768 x 32,768 is exactly 2^32 and would wrap to 0.
    const uint64_t size = (uint64_t)newStride * newHeight;
    if (size + newStride + 4ull * newWidth + 8 > kMaxBlockBytes) {
        lastError = kDibErrorSize;
        return false;
    }
    InstallAccessors(bitDepth);
    depth = bitDepth;
    width = newWidth;
    height = newHeight;
    stride = newStride;
    imageSize = (uint32_t)size;
    trueColour = bitDepth >= 12;
    paletteSize = trueColour ? 0 : 1u << bitDepth;
    valueMask = bitDepth == 32 ? 0xffffffffu : (1u << bitDepth) - 1;
    topValueBit = 1u << (bitDepth - 1);
    FillHeader();
    if (!trueColour) SetDefaultPalette();

    if (!AllocatePixels(bitsMode, spare)) {
        Reset();
        lastError = kDibErrorMemory;
        return false;
    }
    row0 = height ? bits + (size_t)(height - 1) * stride : bits;

    if (fillColour != kDibNoFill && (fillColour == 0 || depth == 8)) {
        memset(bits, (uint8_t)fillColour, imageSize);
        return true;
    }
    // A heap block may have been another image's: its bytes past the pixels would go out with a saved or
    // copied image. A DIB section comes zeroed, and a caller's pixels are the caller's.
    if (!foreignPixels) ClearRowEnds(bits, depth, width, height, stride);
    if (fillColour != kDibNoFill) FillRect(0, 0, (int)width, (int)height, fillColour);
    return true;
}

bool CDibImage::Copy(const CDibImage& source) {
    // Copying an image onto itself must not free the pixels it is about to read.
    if (&source == this) return depth != 0;
    progressCallback = source.progressCallback;
    progressContext = source.progressContext;
    if (!Create(source.depth, source.width, source.height, kDibNoFill, kDibHeapPixels)) return false;
    memcpy(header, source.header, sizeof(DibHeaderBlock));
    if (imageSize) memcpy(bits, source.bits, imageSize);
    return true;
}

void CDibImage::SetProgressCallback(DibProgressCallback callback, void* context) {
    progressCallback = callback;
    progressContext = context;
}

void CDibImage::ReportProgress(int phase, int phaseCount, int percent) {
    if (!progressCallback) return;
    bool cancel = false;
    progressCallback(this, progressContext, phase, phaseCount, percent > 100 ? 100 : percent, &cancel);
    if (cancel) throw 1;
}

void CDibImage::SetPaletteColor(int index, uint32_t colour) { StoreU32(&palette[index & 255], colour); }

void CDibImage::SetPaletteEntry(int index, uint8_t red, uint8_t green, uint8_t blue) {
    RGBQUAD& q = palette[index & 255];
    q.rgbRed = red;
    q.rgbGreen = green;
    q.rgbBlue = blue;
}

int CDibImage::SetPaletteEntryRGBA(int index, uint8_t red, uint8_t green, uint8_t blue, uint8_t fourth) {
    SetPaletteEntry(index, red, green, blue);
    palette[index & 255].rgbReserved = fourth;
    return index & 255;
}

uint32_t CDibImage::GetPaletteEntry(int index, uint8_t* red, uint8_t* green, uint8_t* blue) const {
    const RGBQUAD& q = palette[index & 255];
    if (red) *red = q.rgbRed;
    if (green) *green = q.rgbGreen;
    if (blue) *blue = q.rgbBlue;
    return LoadU32(&q);
}

uint32_t CDibImage::GetPaletteEntryRGBA(int index, uint8_t* red, uint8_t* green, uint8_t* blue,
                                        uint8_t* fourth) const {
    if (fourth) *fourth = palette[index & 255].rgbReserved;
    return GetPaletteEntry(index, red, green, blue);
}
