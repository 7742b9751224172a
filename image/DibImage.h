// CDibImage: the toolkit's in-memory raster image, a bottom-up DIB of 1 to 32 bits per pixel.
//
// Colours are 0x00RRGGBB words (an RGBQUAD in memory); on images of 8 bits and fewer the value that
// the pixel reader returns and the writer takes is a palette index. Coordinates start at the top-left
// pixel; row y lies at row0 - y * stride.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

class CDibImage;
struct DibQuantColourTable;

// The colour quantizer's work table of distinct colours (defined with the quantizer).
struct DibQuantColourTableDeleter {
    void operator()(DibQuantColourTable* table) const;
};

// A box of the colour quantizer: inclusive ranges per channel (index 0 blue, 1 green, 2 red) and what it holds.
struct DibQuantBox {
    uint8_t min[3], max[3];
    uint32_t colours;
    uint32_t pixels;
};

// Per-depth accessors, installed by Create. They do not check x; callers clip.
typedef uint32_t (*DibPixelReader)(const uint8_t* row, int x);
typedef void (*DibPixelWriter)(uint8_t* row, int x, uint32_t value);
// Returns a row in the requested layout: the image's row buffer, or the source row itself when it
// already has that layout. Valid until the next converter call on the same image.
typedef const uint8_t* (*DibRowConverter)(const uint8_t* row, const CDibImage* image);
typedef uint32_t (*DibColourPacker)(uint32_t colour);

// Plots one pixel (or a small stamp) and clips every pixel itself.
typedef void (*DibPen)(CDibImage* image, int x, int y, uint32_t colour);
// Gets only points inside the image, with the address of their row.
typedef void (*DibPixelCallback)(CDibImage* image, uint8_t* row, int x, int y, uint32_t colour);
// Reads one pixel for the flood fill's callback form.
typedef uint32_t (*DibReadCallback)(CDibImage* image, uint8_t* row, int x, int y);
// Long operations report here; setting *cancel to true makes the operation throw the integer 1.
typedef void (*DibProgressCallback)(CDibImage* image, void* context, int phase, int phaseCount, int percent,
                                    bool* cancel);

// The 1,064-byte header block: BITMAPINFOHEADER followed by 256 colour entries.
struct DibHeaderBlock {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[256];
};
static_assert(sizeof(DibHeaderBlock) == 1064, "header block layout");

// Create's fill colour that leaves the pixels as they are.
constexpr uint32_t kDibNoFill = 0xbcde7af9;
// Create's bitsMode values; any other value is the address of caller-owned pixel rows.
constexpr uintptr_t kDibHeapPixels = 0;
constexpr uintptr_t kDibSectionPixels = 1;
// charSpacing value that selects the font's own spacing.
constexpr uint32_t kDibFontSpacing = 0xbcdeeeee;
// DrawText's y that only measures.
constexpr int kDibMeasureText = (int)0xbcdeffff;
// Default resolution written into new headers (120 dpi).
constexpr LONG kDibDefaultPelsPerMeter = 4705;

// Values of lastError after Create.
enum : uint8_t { kDibErrorNone = 0, kDibErrorSize = 1, kDibErrorDepth = 2, kDibErrorMemory = 3 };

// Put flag word: bits 0-23 key colour or index, bits 24-27 source test, bits 28-31 destination test.
constexpr uint32_t kPutKeyMask = 0x00ffffff;
constexpr uint32_t kPutSkipSourceKey = 0x01000000;   // skip source pixels equal to the key
constexpr uint32_t kPutSkipSourceBit30 = 0x08000000; // skip source pixels with bit 30 set
constexpr uint32_t kPutKeepDestKey = 0x10000000;     // leave destination pixels equal to the key
constexpr uint32_t kPutKeepDestBit30 = 0x80000000;   // leave destination pixels with bit 30 set

// Scale flags.
constexpr uint32_t kDibScaleSmooth = 1;
constexpr uint32_t kDibScaleTo32 = 2;
// Rotate flags.
constexpr uint32_t kDibRotateNearest = 1;
constexpr uint32_t kDibRotateQuarterPixels = 2;
// FillEllipse flags: sizes instead of radii, soft span ends (9 bits and more), and the anchors of x and y.
constexpr uint32_t kEllipseSizes = 0x01;
constexpr uint32_t kEllipseSmooth = 0x02;
constexpr uint32_t kEllipseAnchorXMask = 0x0c; // 0 centre; 4 and 8: x is an edge (see FillEllipse)
constexpr uint32_t kEllipseAnchorYMask = 0x30; // 0 centre; 0x10 and 0x20: y is an edge
// FloodFillCallback's region colour that is read at the seed.
constexpr uint32_t kDibRegionAtSeed = 0xffffffff;

// PasteFromClipboard flag: keep the fourth byte of 32-bit pixels.
constexpr uint32_t kDibPasteKeepAlpha = 1;

class CDibImage {
public:
    CDibImage();
    CDibImage(const CDibImage& source);
    virtual ~CDibImage();
    CDibImage& operator=(const CDibImage& source);

    // ---- Creation and palette
    int Reset();
    bool Create(uint32_t bitDepth, uint32_t width, uint32_t height, uint32_t fillColour = 0,
                uintptr_t bitsMode = kDibHeapPixels);
    bool Copy(const CDibImage& source);
    void SetProgressCallback(DibProgressCallback callback, void* context);
    // Reports to the progress callback; throws the integer 1 when it cancels.
    void ReportProgress(int phase, int phaseCount, int percent);
    void SetPaletteColor(int index, uint32_t colour);
    void SetPaletteEntry(int index, uint8_t red, uint8_t green, uint8_t blue);
    int SetPaletteEntryRGBA(int index, uint8_t red, uint8_t green, uint8_t blue, uint8_t fourth);
    uint32_t GetPaletteEntry(int index, uint8_t* red, uint8_t* green, uint8_t* blue) const;
    uint32_t GetPaletteEntryRGBA(int index, uint8_t* red, uint8_t* green, uint8_t* blue, uint8_t* fourth) const;

    uint8_t* RowAddress(int y) const { return row0 - (ptrdiff_t)y * (ptrdiff_t)stride; }
    uint32_t GetPixel(int x, int y) const { return readPixel(RowAddress(y), x); }
    void SetPixel(int x, int y, uint32_t value) { writePixel(RowAddress(y), x, value); }
    bool Contains(int x, int y) const { return (uint32_t)x < width && (uint32_t)y < height; }
    bool HasPixels() const { return bits != nullptr && width != 0 && height != 0; }
    BITMAPINFO* Info() const { return reinterpret_cast<BITMAPINFO*>(header); }

    // ---- Fills, lines and pens
    bool FillRect(int x, int y, int width, int height, uint32_t colour);
    bool FillRectCallback(int x, int y, int width, int height, uint32_t colour, DibPixelCallback callback);
    bool FillRectBehind(int x, int y, int width, int height, uint32_t colour);
    bool FillCheckerBehind(int x, int y, int width, int height, uint32_t colour1, uint32_t colour2, int shift);
    bool FillChecker(int x, int y, int width, int height, uint32_t colour1, uint32_t colour2, int shift);
    bool DrawLine(int x1, int y1, int x2, int y2, uint32_t colour);
    bool DrawLinePen(int x1, int y1, int x2, int y2, uint32_t colour, DibPen pen, int includeEnd);
    bool DrawLineCallback(int x1, int y1, int x2, int y2, uint32_t colour, DibPixelCallback callback,
                          int includeEnd);
    bool DrawLineAA(int x1, int y1, int x2, int y2, uint32_t colour, int includeEnd);
    bool FrameRect(int x, int y, int width, int height, uint32_t colour);
    bool FrameRectPen(int x, int y, int width, int height, uint32_t colour, DibPen pen);
    // The pen actually used for `pen` on this image (the soft stamp depends on the depth).
    DibPen ResolvePen(DibPen pen) const;

    static void PlotPixel(CDibImage* image, int x, int y, uint32_t colour);
    static void PlotDashed1(CDibImage* image, int x, int y, uint32_t colour);
    static void PlotDashed2(CDibImage* image, int x, int y, uint32_t colour);
    static void PlotSoft(CDibImage* image, int x, int y, uint32_t colour);
    static void PlotSoft32(CDibImage* image, int x, int y, uint32_t colour);
    static void PlotBlock2x2(CDibImage* image, int x, int y, uint32_t colour);
    static void PlotCross(CDibImage* image, int x, int y, uint32_t colour);
    static void PlotDisc4(CDibImage* image, int x, int y, uint32_t colour);
    static void PlotDisc5(CDibImage* image, int x, int y, uint32_t colour);
    static void PlotSoftCross(CDibImage* image, int x, int y, uint32_t colour);
    static void PlotSoftDisc5(CDibImage* image, int x, int y, uint32_t colour);
    static void PlotSoftDisc7(CDibImage* image, int x, int y, uint32_t colour);

    // ---- Arcs, ellipses, triangles, polygons and flood fill (angles: a full turn is 0x20000)
    bool DrawArc(int cx, int cy, int rx, int ry, uint32_t colour, int start, int end, int rotation);
    bool DrawArcPen(int cx, int cy, int rx, int ry, uint32_t colour, DibPen pen, int start, int end, int rotation,
                    int includeEnd);
    bool DrawArcAA(int cx, int cy, int rx, int ry, uint32_t colour, int start, int end, int rotation);
    bool FillEllipse(int x, int y, int rx, int ry, uint32_t colour, uint32_t flags);
    bool FillEllipseCallback(int x, int y, int rx, int ry, uint32_t colour, uint32_t flags, DibPixelCallback callback);
    bool FillEllipseAA(int x, int y, int rx, int ry, uint32_t colour, uint32_t flags);
    bool FillTriangle(int x1, int y1, int x2, int y2, int x3, int y3, uint32_t colour);
    bool FillTriangleCallback(int x1, int y1, int x2, int y2, int x3, int y3, uint32_t colour,
                              DibPixelCallback callback);
    bool FillPolygon(const POINT* points, int count, uint32_t colour); // at most 64 points
    bool FillPolygonCallback(const POINT* points, int count, uint32_t colour, DibPixelCallback callback);
    bool FloodFill(int x, int y, uint32_t colour);
    // read null: the image's own reader. region kDibRegionAtSeed: the colour read at the seed.
    bool FloodFillCallback(int x, int y, uint32_t colour, DibPixelCallback plot, DibReadCallback read,
                           uint32_t region);

    // ---- Composition
    bool Put(const CDibImage& source, int x, int y, uint32_t flags = 0);
    bool CropFrom(const CDibImage& source, int x, int y, int width, int height);
    bool AlphaPut(const CDibImage& source, int x, int y);
    bool AlphaBlendPut(const CDibImage& source, int x, int y);
    bool MaskedPut(const CDibImage& source, int x, int y, const CDibImage& mask);
    bool TransformFrom(const CDibImage& source, int turn, int mirrorTopBottom, int mirrorLeftRight);
    bool MoveRect(int x, int y, int width, int height, int toX, int toY);
    void Scroll(int dx, int dy, uint32_t fillColour);
    bool HasAlpha() const;
    bool SetAlpha(uint8_t value);
    int GetAlphaKind() const;
    bool FlattenAlpha(uint32_t background);

    // ---- Conversion and scaling
    // flags: kDibScaleSmooth (area average; otherwise nearest pixel), kDibScaleTo32 (32-bit result).
    bool Scale(const CDibImage& source, int newWidth, int newHeight, uint32_t flags);
    bool ConvertDepth(const CDibImage& source, uint32_t newDepth);
    // spec: bits 0-23 colour count, bits 24-31 bit depth (0: chosen from the count).
    bool ToPalette(const CDibImage& source, uint32_t spec, const uint32_t* colours);
    bool GreyFrom(const CDibImage& source);
    bool MakeGrey();
    bool GreyIndex8From(const CDibImage& source);
    bool Threshold1From(const CDibImage& source);
    bool MaskToColor(const CDibImage& source, int mode, COLORREF colour);
    bool CompactPalette();

    // ---- Colour quantizer
    // Throws a text (const char*) when the box splitting finds its histogram inconsistent.
    bool Quantize(const CDibImage& source);

    // ---- Filters and rotation
    bool Filter3x3(const CDibImage& source, uint32_t strength, uint32_t outDepth);
    // flags: kDibRotateNearest, kDibRotateQuarterPixels. The centre comes back as the source origin's
    // position in the result.
    bool Rotate(const CDibImage& source, uint32_t angle, uint32_t flags, int* centreX, int* centreY,
                uint32_t background);

    // ---- Exchange with the clipboard, GDI and packed DIBs
    bool CopyToClipboard(HWND owner);
    bool PasteFromClipboard(HWND owner, uint32_t flags);
    // A packed DIB of blockSize bytes from another process (the clipboard's CF_DIB or CF_DIBV5): every
    // offset is checked against the size.
    bool LoadDibBlock(const uint8_t* block, uint64_t blockSize);
    HBITMAP ToBitmap(HWND window) const;
    bool FromBitmap(HWND window, HBITMAP bitmap);
    bool LoadResource(LPCSTR name, HMODULE module);
    bool FromPackedDib(const BITMAPINFOHEADER* info, const void* pixels, const RGBQUAD* colours);
    bool FromPackedDibBlock(const void* block);
    bool GetResolution(LONG* x, LONG* y) const;
    bool SetResolution(LONG x, LONG y);
    bool Swap(CDibImage& other);

    // ---- Bitmap-font text
    void SetFont(const void* blob);
    void SetCharSpacing(uint32_t spacing);
    void SetTextColor(DibPen pen, uint32_t colour, int which);
    int DrawText(int x, int y, const char* text);
    void DrawGlyph(int x, int y, const uint8_t* glyph);
    void FillTextBox(int x, int y, int width, int height, DibPen pen);

    // ---- State (read directly by the drawing code and by callers)
    // Work buffers of the colour quantizer; empty outside a quantizer run.
    std::unique_ptr<DibQuantColourTable, DibQuantColourTableDeleter> quantColours;
    std::unique_ptr<DibQuantBox[]> quantBoxes;
    uint32_t quantBoxCount = 0;

    // Bitmap-font state; callers set textAlign and textVAlign directly.
    const uint8_t* fontBlob = nullptr;
    uint8_t fontHeaderSize = 0;
    uint8_t fontFlags = 0;
    uint16_t fontFirstChar = 0;
    uint16_t fontLastChar = 0;
    uint8_t textAlign = 0;  // 0 text starts at x, 1 centred on x, other: ends at x
    uint8_t textVAlign = 0; // 0 y is the top; 1 the middle; 2 below the reference glyph; 3 the baseline
    int8_t textYOffset = 0;
    int32_t fontSpacing = 0;
    int32_t fontRefSpacing = 1;
    int32_t fontBaseline = 0;
    int32_t charAdvanceGap = 0;
    uint32_t charSpacing = kDibFontSpacing;
    uint32_t textColor = 0;
    uint32_t textBkColor = 0;
    DibPen textPen = nullptr;
    DibPen textBkPen = nullptr;

    uint8_t lastError = kDibErrorNone;
    DibHeaderBlock* header = nullptr; // lives as long as the object
    uint8_t* rowBuffer = nullptr;     // scratch row of the converters: 4 * width + 8 bytes
    uint8_t* pixelBlock = nullptr;    // heap block, DIB-section bits or the caller's memory
    uint8_t* bits = nullptr;          // first stored row (the bottom row of the picture)
    uint8_t* row0 = nullptr;          // the top row of the picture
    uint32_t width = 0, height = 0;
    uint32_t imageSize = 0;           // stride * height
    uint32_t depth = 0;               // 1, 2, 4, 8, 12, 15, 16, 24 or 32
    uint32_t stride = 0;              // bytes per row, a multiple of 4
    uint32_t subByteMask = 0;         // pixels per byte (per pixel pair at 12 bits) - 1
    uint32_t fillClass = 0;           // bytes per pixel for filling (3 per pair at 12 bits)
    uint32_t valueMask = 0;
    uint32_t topValueBit = 0;
    uint32_t subByteShift = 0;
    int trueColour = 0;               // 1 for 12 bits and above
    uint32_t paletteSize = 0;
    uint32_t significantBits = 0;     // bits of a colour that survive a write
    int foreignPixels = 0;            // pixels belong to a DIB section or the caller
    uint32_t dashMask2 = 0xf0f0f0f0;
    uint32_t dashMask1 = 0xaaaaaaaa;
    RGBQUAD* palette = nullptr;       // header->bmiColors
    HBITMAP dibSection = nullptr;

    DibRowConverter rowToIndex8 = nullptr;
    DibRowConverter rowTo24 = nullptr;
    DibRowConverter rowTo32 = nullptr;
    DibRowConverter rowCopy8 = nullptr;
    DibRowConverter rowCopy24 = nullptr;
    DibRowConverter rowCopy32 = nullptr;
    DibPixelReader readPixel = nullptr;
    DibPixelWriter writePixel = nullptr;
    DibColourPacker packColour = nullptr;

    DibProgressCallback progressCallback = nullptr;
    void* progressContext = nullptr;

private:
    void InstallAccessors(uint32_t bitDepth);
    struct FreeBlock { // to the pixel block cache, which keeps or frees it
        void operator()(uint8_t* block) const;
    };
    using HeapBlock = std::unique_ptr<uint8_t, FreeBlock>;
    void FreePixels();
    bool AllocatePixels(uintptr_t bitsMode, HeapBlock& spare);
    void FillHeader();
    void SetDefaultPalette();
    // Steps of Quantize.
    void QuantizeHistogram(const CDibImage& source);
    void QuantizeSplitBox(int depth, int tries, uint32_t box, int axis);
    int QuantizeLongestAxis(uint32_t box) const;
    void QuantizeBoxMean(uint32_t box);
    uint32_t QuantizeFindBox(uint8_t red, uint8_t green, uint8_t blue) const;
    void QuantizeMap(const CDibImage& source);
    void QuantizeFree();
};
