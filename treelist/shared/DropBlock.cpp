#include "treelist/shared/DropBlock.h"

#include <shlobj.h>

namespace {

constexpr SIZE_T kDropBlockSize = 284;

}  // namespace

HGLOBAL BuildPathDropBlock(const char* path) {
    const SIZE_T length = path ? (SIZE_T)lstrlenA(path) : 0;
    if (length == 0 || sizeof(DROPFILES) + length + 2 > kDropBlockSize) return nullptr;
    HGLOBAL block = ::GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, kDropBlockSize);
    if (!block) return nullptr;
    auto* files = static_cast<DROPFILES*>(block);
    files->pFiles = sizeof(DROPFILES);
    files->fWide = FALSE;
    memcpy(static_cast<char*>(block) + sizeof(DROPFILES), path, length);
    return block;
}
