// DibRecord: a packed DIB (BITMAPINFO in a process-heap block) with a hidden header that names the DIB section
// holding its pixels and a memory DC for drawing into it. Callers hold the pointer to the BITMAPINFOHEADER, so a
// record can go to any GDI function that takes a BITMAPINFO. Failures return 0 and set the last error
// (87 invalid record or argument, 13 missing section or data).
#pragma once

#include <windows.h>

using DibRecord = BITMAPINFOHEADER;

// The hidden header in front of every record.
struct DibRecordHeader {
    HANDLE heap;
    HBITMAP bitmap;
    void* bits;
    HDC memoryDC;
    DWORD magic;
    DWORD reserved;
};

constexpr DWORD kDibRecordMagic = 0x12345678;
// Distance from the block start to the record pointer (keeps the BITMAPINFOHEADER 8-aligned).
constexpr size_t kDibRecordOffset = sizeof(DibRecordHeader);

// Allocates a record block with room for infoSize bytes of BITMAPINFO; returns the block start (the record
// pointer is block + kDibRecordOffset), zero-filled, with the heap and the magic set. Null when out of memory.
BYTE* AllocDib(size_t infoSize);
BOOL FreeDib(const void* record);

// True when the pointer is a live record (never reads memory that is not one).
bool IsDibRecord(const void* record);
DibRecordHeader* GetDibRecordHeader(const void* record);

HBITMAP GetDibBitmap(const void* record);
void* GetDibBits(const void* record);
void* GetDibDC(const void* record, HDC* outDC);
HDC GetDibMemoryDC(const void* record);
BOOL ReleaseDibDC(const void* record);

COLORREF MapSysColor(COLORREF color);
BOOL MapDibSysColors(BITMAPINFO* info, void* pixels);

// depthWord: bit 30 opaque alpha; depth 0 = 32; depth 31 or bits 24 and 25 both set = the screen depth.
DibRecord* CreateDib(HDC dc, int width, int height, DWORD depthWord, void** outPixels);
// Without outPixels the result is a header-only record (no section).
DibRecord* CreateDibFromBitmap(HDC dc, HBITMAP bitmap, void** outPixels);

// Washes the colours out toward tint (all but key); pixels null takes the record's own.
BOOL MakeDisabledDib(BITMAPINFO* info, void* pixels, COLORREF tint, COLORREF key);

BOOL SaveDibA(const BITMAPINFO* info, const void* pixels, LPCSTR fileName, BOOL overwrite);
BOOL SaveDibW(const BITMAPINFO* info, const void* pixels, LPCWSTR fileName, BOOL overwrite);
BOOL SaveBitmapFileA(HBITMAP bitmap, LPCSTR fileName, BOOL overwrite);
BOOL SaveBitmapFileW(HBITMAP bitmap, LPCWSTR fileName, BOOL overwrite);

COLORREF GetDibCornerColor(const BITMAPINFO* info, const void* pixels);
// out must hold 40 + 4 x wanted bytes.
BOOL GetBitmapHeader(HBITMAP bitmap, BITMAPINFOHEADER* out, int wanted);
BOOL GetBitmapSize(HBITMAP bitmap, int* width, int* height, int* bitsPerPixel);
BOOL GetBitmapSizeEx(HBITMAP bitmap, SIZE* size, int* bitsPerPixel);

// Shared layout helpers of the record functions.
int DibStride(int width, int bitCount);
// Colour-table entries that follow the header: palette entries up to 8 bits, 3 masks for BI_BITFIELDS, else 0.
int DibColorEntries(const BITMAPINFOHEADER* header);
inline DWORD SwapRedBlue(DWORD value) {
    return (value & 0xFF00FF00u) | ((value & 0xFF) << 16) | ((value >> 16) & 0xFF);
}
// Copies the record's colour table into its DIB section, so that drawing through the bitmap handle agrees
// with drawing through the BITMAPINFO after a palette change. No-op for anything that is not such a record.
void SyncDibColorTable(const void* record);
