// Image strips of the toolbar control: adding and replacing them, the global image numbering, and the split at
// marker columns, which must never read outside a bitmap whatever its height and depth.
#include <gtest/gtest.h>

#include "tests/ui/toolbar/ToolbarTestSupport.h"
#include "image/DibRecord.h"

using namespace tbtest;

namespace {

constexpr DWORD M = 0x00FF00FF, P = 0x00336699;  // marker and picture pixels

// A 32-bit image record filled with P, with marker pixels at (x, stored row) positions.
struct Strip {
    BITMAPINFOHEADER* image = nullptr;
    DWORD* bits = nullptr;
    int width, height;
    Strip(int w, int h) : width(w), height(h) {
        image = CreateDib(nullptr, w, h, 32, (void**)&bits);
        for (int i = 0; i < w * h; ++i) bits[i] = P;
    }
    ~Strip() { FreeDib(image); }
    Strip(const Strip&) = delete;
    Strip& operator=(const Strip&) = delete;
    void Mark(int x, int storedRow) { bits[storedRow * width + x] = M; }
};

// Pixels that end exactly where readable memory ends.
struct Guarded {
    BYTE* base;
    DWORD page;
    Guarded() {
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        page = info.dwPageSize;
        base = (BYTE*)VirtualAlloc(nullptr, 2 * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
        DWORD old;
        VirtualProtect(base + page, page, PAGE_NOACCESS, &old);
    }
    ~Guarded() { VirtualFree(base, 0, MEM_RELEASE); }
    BYTE* Place(const void* data, size_t size) {
        BYTE* at = base + page - size;
        memcpy(at, data, size);
        return at;
    }
};

int Count(const BITMAPINFOHEADER* header, const BYTE* pixels) {
    ToolbarBitmap bm{};
    bm.image = const_cast<BITMAPINFOHEADER*>(header);
    bm.pixels = const_cast<BYTE*>(pixels);
    return CountSplitImages(&bm);
}

BITMAPINFOHEADER Header(int w, int h, int bits) {
    return {sizeof(BITMAPINFOHEADER), w, h, 1, (WORD)bits, BI_RGB, 0, 0, 0, 0, 0};
}

}  // namespace

TEST(ToolbarBitmaps, MarkerColumnsSplitAStrip) {
    Strip strip(20, 4);
    strip.Mark(0, 0);
    strip.Mark(5, 0);
    strip.Mark(12, 0);
    ToolbarBitmap bm{};
    bm.image = strip.image;
    bm.pixels = (BYTE*)strip.bits;
    ASSERT_TRUE(SplitImageStrip(&bm, 1));
    EXPECT_EQ(bm.found.size(), 2u);  // split only as far as asked
    EXPECT_EQ(CountSplitImages(&bm), 3);
    EXPECT_FALSE(SplitImageStrip(&bm, 3));
    EXPECT_EQ(bm.found[0].width, 5);
    EXPECT_EQ(bm.found[1].x, 5);
    EXPECT_EQ(bm.found[1].width, 7);
    EXPECT_EQ(bm.found[2].width, 8);
    EXPECT_EQ(bm.found[2].height, 4);
}

TEST(ToolbarBitmaps, RulerColumnsCutImagesDown) {
    // Column 6 is a ruler (marker pixels in the second and third stored rows): images from stored rows 2 and 5.
    Strip strip(10, 8);
    strip.Mark(0, 0);
    strip.Mark(6, 0);
    strip.Mark(6, 1);
    strip.Mark(6, 2);
    strip.Mark(6, 5);
    ToolbarBitmap bm{};
    bm.image = strip.image;
    bm.pixels = (BYTE*)strip.bits;
    bm.flags = kBitmapSplit;
    EXPECT_EQ(CountSplitImages(&bm), 3);
    const ToolbarSplitImage& upper = bm.found[1];
    EXPECT_TRUE(upper.ruler);
    EXPECT_EQ(upper.x, 6);
    EXPECT_EQ(upper.height, 3);  // stored rows 2-4
    EXPECT_EQ(upper.y, 8 - 2 - 3);  // in picture rows (bottom-up storage)
    EXPECT_EQ(bm.found[2].height, 3);
    EXPECT_EQ(bm.found[2].y, 0);
    // Looked up, the ruler column is not part of the picture.
    Bar bar;
    bar.s->bitmaps = (ToolbarBitmap**)ToolbarAlloc(sizeof(ToolbarBitmap*));
    bar.s->bitmaps[0] = &bm;
    bar.s->bitmapCount = 1;
    ToolbarImageRef ref;
    ASSERT_TRUE(FindButtonImage(bar.s, 2, &ref));
    EXPECT_EQ(ref.x, 7);
    EXPECT_EQ(ref.width, 3);
    EXPECT_FALSE(FindButtonImage(bar.s, 3, &ref));
    bar.s->bitmapCount = 0;
}

TEST(ToolbarBitmaps, ShortStripsAreReadInsideTheirRows) {
    Guarded guard;
    // One row: markers at 0 and 4; a second or third row would lie in the guard page.
    DWORD row[8] = {M, P, P, P, M, P, P, P};
    BITMAPINFOHEADER h = Header(8, 1, 32);
    EXPECT_EQ(Count(&h, guard.Place(row, sizeof(row))), 2);
    // Two rows, the second marked: a ruler test that must not reach a third row.
    DWORD rows[16] = {M, P, P, P, M, P, P, P, M, P, P, P, P, P, P, P};
    h = Header(8, 2, 32);
    EXPECT_EQ(Count(&h, guard.Place(rows, sizeof(rows))), 1);
    // Top-down storage counts the same.
    h = Header(8, -1, 32);
    EXPECT_EQ(Count(&h, guard.Place(row, sizeof(row))), 2);
}

TEST(ToolbarBitmaps, OtherDepthsAreReadByTheirOwnPixelSize) {
    Guarded guard;
    // 1 bit: 20 pixels in a 4-byte row, markers (the first pixel's value 1) at 0, 9 and 15.
    BYTE mono[4] = {0x80, 0x41, 0x00, 0x00};
    BITMAPINFOHEADER h = Header(20, 1, 1);
    EXPECT_EQ(Count(&h, guard.Place(mono, sizeof(mono))), 3);
    // 16 bits: 6 pixels in a 12-byte row.
    WORD high[6] = {0x7C00, 1, 2, 0x7C00, 3, 4};
    h = Header(6, 1, 16);
    EXPECT_EQ(Count(&h, guard.Place(high, sizeof(high))), 2);
    // 4 and 24 bits.
    BYTE nibbles[4] = {0x51, 0x15, 0x11, 0x50};
    h = Header(8, 1, 4);
    EXPECT_EQ(Count(&h, guard.Place(nibbles, sizeof(nibbles))), 3);
    BYTE rgb[12] = {9, 9, 9, 1, 2, 3, 9, 9, 9, 4, 5, 6};
    h = Header(4, 1, 24);
    EXPECT_EQ(Count(&h, guard.Place(rgb, sizeof(rgb))), 2);
    // Compressed or odd data is not guessed at.
    h = Header(4, 1, 2);
    EXPECT_EQ(Count(&h, guard.Place(rgb, sizeof(rgb))), 0);
    h = Header(4, 1, 8);
    h.biCompression = BI_RLE8;
    EXPECT_EQ(Count(&h, guard.Place(rgb, sizeof(rgb))), 0);
}

TEST(ToolbarBitmaps, CountImagesTellsItsSourcesApart) {
    Toolbar tb;
    // A bitmap handle (1 bit per pixel), an image record, a module with a resource id.
    BYTE mono[2 * 4] = {0x84, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF};
    HBITMAP handle = CreateBitmap(16, 2, 1, 1, mono);
    EXPECT_EQ(tb.Send(TBX_COUNTIMAGES, 65535, (LPARAM)handle), 2);
    DeleteObject(handle);
    Strip strip(20, 4);
    strip.Mark(0, 0);
    strip.Mark(10, 0);
    EXPECT_EQ(tb.Send(TBX_COUNTIMAGES, (WPARAM)strip.image, 0), 2);
    HBITMAP loaded = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(128));
    LRESULT fromHandle = tb.Send(TBX_COUNTIMAGES, 65535, (LPARAM)loaded);
    DeleteObject(loaded);
    EXPECT_GT(fromHandle, 0);
    EXPECT_EQ(tb.Send(TBX_COUNTIMAGES, (WPARAM)GetModuleHandleA(nullptr), 128), fromHandle);
    // Nothing to count: no source, a missing resource, memory that is no image record.
    EXPECT_EQ(tb.Send(TBX_COUNTIMAGES, 0, 128), 0);
    EXPECT_EQ(tb.Send(TBX_COUNTIMAGES, (WPARAM)GetModuleHandleA(nullptr), 999), 0);
    std::vector<BYTE> junk(256, 0x78);
    EXPECT_EQ(tb.Send(TBX_COUNTIMAGES, (WPARAM)(junk.data() + 64), (LPARAM)junk.data()), 0);
    EXPECT_EQ(tb.Send(TBX_COUNTIMAGES, 65535, 0), 0);
}

TEST(ToolbarBitmaps, AddingStripsNumbersTheirImagesInOrder) {
    Toolbar tb;
    EXPECT_EQ(tb.AddImages(4), 0);
    HBITMAP second = MakeStrip(3, 16, 16);
    TBADDBITMAP plain = {nullptr, (UINT_PTR)second};
    EXPECT_EQ(tb.Send(TB_ADDBITMAP, 3, (LPARAM)&plain), 4);
    // The same strip again: its first index, with only the scale taken over.
    TBADDBITMAPEX again = {};
    again.nID = (UINT_PTR)second;
    again.scale = 512;
    EXPECT_EQ(tb.Send(TB_ADDBITMAP, 0x12340003, (LPARAM)&again), 4);
    EXPECT_EQ(tb.State()->bitmapCount, 2);
    EXPECT_EQ(tb.State()->bitmaps[1]->scale, 512);
    ToolbarImageRef ref;
    ASSERT_TRUE(FindButtonImage(tb.State(), 5, &ref));
    EXPECT_EQ(ref.record, 1);
    EXPECT_EQ(ref.index, 1);
    EXPECT_EQ(ref.x, 16);
    EXPECT_FALSE(FindButtonImage(tb.State(), 7, &ref));

    TBXBITMAPINFO info[4] = {};
    EXPECT_EQ(tb.Send(TBX_GETBITMAPINFO, MAKEWPARAM(0, 4), (LPARAM)info), 2);
    EXPECT_EQ(info[1].id, (UINT_PTR)second);
    EXPECT_EQ(info[1].count, 3);
    EXPECT_EQ(info[1].scale, 512);
    EXPECT_EQ(info[1].imageWidth, 16);
    EXPECT_EQ(info[1].height, 16);
    EXPECT_EQ(tb.Send(TBX_GETBITMAPINFO, MAKEWPARAM(2, 4), (LPARAM)info), 0);
    // A strip the caller still owns stays alive when the strips are removed; owned ones go.
    HBITMAP owned = (HBITMAP)tb.State()->bitmaps[0]->id;
    EXPECT_EQ(tb.Send(TBX_REMOVEBITMAPS), 2);
    EXPECT_EQ(GetObjectType(owned), 0u);
    EXPECT_EQ(GetObjectType(second), (DWORD)OBJ_BITMAP);
    DeleteObject(second);
}

TEST(ToolbarBitmaps, ExtendedAddCountsByWidthAndWritesBack) {
    Toolbar tb;
    TBADDBITMAPEX ab = {};
    ab.nID = (UINT_PTR)MakeStrip(4, 20, 18);
    ab.flags = TBXAB_COUNTBYWIDTH | TBXAB_OWNHANDLE | TBXAB_WRITEWIDTH | TBXAB_WRITEHEIGHT;
    ab.imageWidth = 20;
    EXPECT_EQ(tb.Send(TB_ADDBITMAP, 0x12340000, (LPARAM)&ab), 0);
    EXPECT_EQ(tb.State()->bitmaps[0]->count, 4);
    EXPECT_EQ(ab.imageWidth, 20);
    EXPECT_EQ(ab.scale, 18);  // the height
    // An exact count that does not divide the width makes a split strip; split now writes the count back.
    Strip strip(30, 2);
    strip.Mark(0, 0);
    strip.Mark(7, 0);
    TBADDBITMAPEX split = {};
    HBITMAP handle = CreateBitmap(30, 2, 1, 32, strip.bits);
    split.nID = (UINT_PTR)handle;
    split.flags = TBXAB_EXACTCOUNT | TBXAB_OWNHANDLE | TBXAB_SPLITNOW | TBXAB_WRITEWIDTH;
    EXPECT_EQ(tb.Send(TB_ADDBITMAP, 0x12340004, (LPARAM)&split), 4);
    EXPECT_EQ(split.count, 2);
    EXPECT_EQ(split.imageWidth, kToolbarSplitImages);
    EXPECT_TRUE(tb.State()->bitmaps[1]->flags & kBitmapSplit);
    // No images: refused, and a handle given to the control is deleted.
    HBITMAP refused = MakeStrip(1, 16, 16);
    TBADDBITMAPEX none = {};
    none.nID = (UINT_PTR)refused;
    none.flags = TBXAB_OWNHANDLE;
    EXPECT_EQ(tb.Send(TB_ADDBITMAP, 0x12340000, (LPARAM)&none), -1);
    EXPECT_EQ(GetObjectType(refused), 0u);
    EXPECT_EQ(tb.Send(TB_ADDBITMAP, 1, 0), -1);
}

TEST(ToolbarBitmaps, DepthsAreKeptOrConverted) {
    Toolbar tb;
    std::vector<WORD> pixels(32 * 16, 0x7C00);
    TBADDBITMAP high = {nullptr, (UINT_PTR)CreateBitmap(32, 16, 1, 16, pixels.data())};
    ASSERT_EQ(tb.Send(TB_ADDBITMAP, 2, (LPARAM)&high), 0);
    EXPECT_EQ(tb.State()->bitmaps[0]->image->biBitCount, 32);
    // From a resource: the 4-bit pictures stay 4-bit.
    TBADDBITMAP resource = {GetModuleHandleA(nullptr), 128};
    ASSERT_EQ(tb.Send(TB_ADDBITMAP, 6, (LPARAM)&resource), 2);
    EXPECT_EQ(tb.State()->bitmaps[1]->image->biBitCount, 4);
    EXPECT_EQ(tb.State()->bitmaps[1]->imageWidth, 16);
    TBADDBITMAP missing = {GetModuleHandleA(nullptr), 999};
    EXPECT_EQ(tb.Send(TB_ADDBITMAP, 6, (LPARAM)&missing), -1);
    DeleteObject((HBITMAP)high.nID);
}

TEST(ToolbarBitmaps, ReplacingAStrip) {
    Toolbar tb;
    HBITMAP a = MakeStrip(4, 16, 16), b = MakeStrip(2, 16, 16), c = MakeStrip(4, 20, 20), d = MakeStrip(3, 16, 16);
    TBADDBITMAP first = {nullptr, (UINT_PTR)a}, second = {nullptr, (UINT_PTR)b};
    tb.Send(TB_ADDBITMAP, 4, (LPARAM)&first);
    tb.Send(TB_ADDBITMAP, 2, (LPARAM)&second);
    TBREPLACEBITMAP rb = {nullptr, (UINT_PTR)a, nullptr, (UINT_PTR)c, 4};
    EXPECT_EQ(tb.Send(TB_REPLACEBITMAP, 0, (LPARAM)&rb), 1);
    EXPECT_EQ(tb.State()->bitmaps[0]->imageWidth, 20);
    // Not the last record: the image count must stay.
    rb = {nullptr, (UINT_PTR)c, nullptr, (UINT_PTR)d, 3};
    EXPECT_EQ(tb.Send(TB_REPLACEBITMAP, 0, (LPARAM)&rb), 0);
    // The last one may change its count; a scale comes with wParam.
    rb = {nullptr, (UINT_PTR)b, nullptr, (UINT_PTR)d, 3};
    EXPECT_EQ(tb.Send(TB_REPLACEBITMAP, 384, (LPARAM)&rb), 1);
    EXPECT_EQ(tb.State()->bitmaps[1]->count, 3);
    EXPECT_EQ(tb.State()->bitmaps[1]->scale, 384);
    // A pair that is already there, one that is not, and no images.
    rb = {nullptr, (UINT_PTR)c, nullptr, (UINT_PTR)d, 3};
    EXPECT_EQ(tb.Send(TB_REPLACEBITMAP, 0, (LPARAM)&rb), 0);
    rb = {nullptr, (UINT_PTR)a, nullptr, (UINT_PTR)b, 2};
    EXPECT_EQ(tb.Send(TB_REPLACEBITMAP, 0, (LPARAM)&rb), 0);
    rb = {nullptr, (UINT_PTR)d, nullptr, (UINT_PTR)b, 0};
    EXPECT_EQ(tb.Send(TB_REPLACEBITMAP, 0, (LPARAM)&rb), 0);
    for (HBITMAP h : {a, b, c, d}) DeleteObject(h);
}

TEST(ToolbarBitmaps, StringsFromAResource) {
    Toolbar tb;
    EXPECT_EQ(tb.Send(TB_ADDSTRINGA, (WPARAM)GetModuleHandleA(nullptr), 300), 0);
    EXPECT_EQ(tb.Send(TBX_GETSTRINGCOUNT), 2);
    char text[16];
    tb.Send(TB_GETSTRINGA, MAKEWPARAM(16, 1), (LPARAM)text);
    EXPECT_STREQ(text, "zwei");
    EXPECT_EQ(tb.Send(TB_ADDSTRINGA, (WPARAM)GetModuleHandleA(nullptr), 301), -1);
}
