// Packed-DIB record: writing Windows bitmap files.
#include "image/DibRecord.h"

namespace {

struct CharApi {
    static HANDLE Create(LPCSTR name, DWORD disposition) {
        return CreateFileA(name, GENERIC_WRITE, 0, nullptr, disposition,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    }
    static void Remove(LPCSTR name) { DeleteFileA(name); }
};

struct WideApi {
    static HANDLE Create(LPCWSTR name, DWORD disposition) {
        return CreateFileW(name, GENERIC_WRITE, 0, nullptr, disposition,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    }
    static void Remove(LPCWSTR name) { DeleteFileW(name); }
};

bool WriteAll(HANDLE file, const void* data, DWORD size) {
    DWORD written = 0;
    return WriteFile(file, data, size, &written, nullptr) && written == size;
}

template <typename Api, typename Char>
BOOL SaveDib(const BITMAPINFO* info, const void* pixels, const Char* fileName, BOOL overwrite) {
    if (!info || !fileName) return FALSE;
    const BITMAPINFOHEADER& h = info->bmiHeader;
    // A top-down image (negative height) keeps its header; the byte count uses the row count.
    long long rows = h.biHeight < 0 ? -static_cast<long long>(h.biHeight) : h.biHeight;
    if (h.biWidth == 0 || rows == 0 || h.biWidth > 65535 || h.biWidth < 0 || rows > 65535) return FALSE;
    DWORD pixelBytes;
    if (h.biCompression == BI_RGB || h.biCompression == BI_BITFIELDS)
        pixelBytes = static_cast<DWORD>(DibStride(h.biWidth, h.biBitCount) * rows);
    else
        pixelBytes = h.biSizeImage;
    if (pixelBytes == 0) return FALSE;
    int entries = DibColorEntries(&h);
    DWORD infoBytes = sizeof(BITMAPINFOHEADER) + 4 * entries;
    if (!pixels) {
        if (IsDibRecord(info))
            pixels = GetDibRecordHeader(info)->bits;
        else
            pixels = reinterpret_cast<const BYTE*>(info) + infoBytes;
    }
    if (!pixels) return FALSE;

    HANDLE file = Api::Create(fileName, overwrite ? CREATE_ALWAYS : CREATE_NEW);
    if (file == INVALID_HANDLE_VALUE) return FALSE;

    BITMAPFILEHEADER fileHeader = {};
    fileHeader.bfType = 0x4d42;
    fileHeader.bfSize = sizeof(BITMAPFILEHEADER) + infoBytes + pixelBytes;
    fileHeader.bfOffBits = 54 + 4 * entries;
    BITMAPINFOHEADER header = h;
    header.biSize = sizeof(BITMAPINFOHEADER);
    bool ok = WriteAll(file, &fileHeader, sizeof(fileHeader)) && WriteAll(file, &header, sizeof(header)) &&
              WriteAll(file, reinterpret_cast<const BYTE*>(info) + h.biSize, 4 * entries) &&
              WriteAll(file, pixels, pixelBytes);
    ok = CloseHandle(file) && ok;
    // A half-written file is worse than none.
    if (!ok) Api::Remove(fileName);
    return ok ? TRUE : FALSE;
}

template <typename Char>
BOOL SaveBitmapFile(HBITMAP bitmap, const Char* fileName, BOOL overwrite) {
    void* pixels = nullptr;
    DibRecord* record = CreateDibFromBitmap(nullptr, bitmap, &pixels);
    if (!record) return FALSE;
    BOOL ok;
    if constexpr (sizeof(Char) == 1)
        ok = SaveDibA(reinterpret_cast<BITMAPINFO*>(record), pixels, fileName, overwrite);
    else
        ok = SaveDibW(reinterpret_cast<BITMAPINFO*>(record), pixels, fileName, overwrite);
    FreeDib(record);
    return ok;
}

}  // namespace

BOOL SaveDibA(const BITMAPINFO* info, const void* pixels, LPCSTR fileName, BOOL overwrite) {
    return SaveDib<CharApi>(info, pixels, fileName, overwrite);
}

BOOL SaveDibW(const BITMAPINFO* info, const void* pixels, LPCWSTR fileName, BOOL overwrite) {
    return SaveDib<WideApi>(info, pixels, fileName, overwrite);
}

BOOL SaveBitmapFileA(HBITMAP bitmap, LPCSTR fileName, BOOL overwrite) {
    return SaveBitmapFile(bitmap, fileName, overwrite);
}

BOOL SaveBitmapFileW(HBITMAP bitmap, LPCWSTR fileName, BOOL overwrite) {
    return SaveBitmapFile(bitmap, fileName, overwrite);
}
