#include "ui/services/DragSources.h"

#include "text/WideToAnsi.h"

#include <shlobj.h>

#include <cstring>
#include <string>

namespace {

constexpr DROPEFFECT kAnyEffect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;

HGLOBAL GlobalCopy(const void* data, size_t size, size_t zeroTail) {
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size + zeroTail);
    if (!block) return nullptr;
    void* p = ::GlobalLock(block);
    if (size) std::memcpy(p, data, size);
    ::GlobalUnlock(block);
    return block;
}

std::wstring Convert(const char* text, int length, UINT codePage) {
    const int size = ::MultiByteToWideChar(codePage, 0, text, length, nullptr, 0);
    std::wstring wide(size > 0 ? static_cast<size_t>(size) : 0, L'\0');
    if (size > 0) ::MultiByteToWideChar(codePage, 0, text, length, wide.data(), size);
    return wide;
}

bool Offer(COleDataSource& source, CLIPFORMAT format, const void* data, size_t size, size_t nulSize) {
    HGLOBAL block = GlobalCopy(data, size, nulSize);
    if (!block) return false;
    source.CacheGlobalData(format, block);
    return true;
}

}  // namespace

std::unique_ptr<COleDataSource> MakeFileDragSource(const char* path) {
    if (!path || !*path) return nullptr;
    char full[MAX_PATH] = {};
    const DWORD length = ::GetFullPathNameA(path, MAX_PATH, full, nullptr);
    if (length == 0 || length >= MAX_PATH || ::GetFileAttributesA(full) == INVALID_FILE_ATTRIBUTES) return nullptr;
    std::string block(sizeof(DROPFILES), '\0');
    DROPFILES header = {};
    header.pFiles = sizeof(DROPFILES);
    std::memcpy(block.data(), &header, sizeof header);
    block.append(full, length);
    auto source = std::make_unique<COleDataSource>();
    if (!Offer(*source, CF_HDROP, block.data(), block.size(), 2)) return nullptr;  // the path's NUL and the list's
    return source;
}

std::unique_ptr<COleDataSource> MakeTextDragSource(const char* text, int length, int mode) {
    if (!text) return nullptr;
    if (length < 0) length = static_cast<int>(std::strlen(text));
    if (length == 0) return nullptr;
    auto source = std::make_unique<COleDataSource>();
    bool offered = true;
    if (mode == 0 || mode == 1) {
        offered = Offer(*source, CF_TEXT, text, static_cast<size_t>(length), 1);
        if (offered && mode == 1) {
            const std::wstring wide = Convert(text, length, CP_ACP);
            offered = Offer(*source, CF_UNICODETEXT, wide.c_str(), wide.size() * sizeof(wchar_t), sizeof(wchar_t));
        }
    } else {
        const std::string ansi = WideToAnsi(Convert(text, length, CP_UTF8));
        offered = Offer(*source, CF_TEXT, ansi.data(), ansi.size(), 1);
    }
    return offered ? std::move(source) : nullptr;
}

int DragFileSource(const char* path) {
    std::unique_ptr<COleDataSource> source = MakeFileDragSource(path);
    if (!source) return 0;
    source->DoDragDrop(kAnyEffect);
    return 1;
}

int DragTextSource(const char* text, int length, int mode) {
    std::unique_ptr<COleDataSource> source = MakeTextDragSource(text, length, mode);
    if (!source) return 0;
    source->DoDragDrop(kAnyEffect);
    return 1;
}
