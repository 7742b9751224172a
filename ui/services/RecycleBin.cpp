#include "ui/services/RecycleBin.h"

#include <shellapi.h>

#include <cstring>

BOOL DeleteToRecycleBin(const char* path) {
    if (!path || !*path || std::strlen(path) >= MAX_PATH || std::strpbrk(path, "*?")) return FALSE;
    // The shell wants a full path, double-NUL terminated.
    char full[MAX_PATH + 1] = {};
    const DWORD length = ::GetFullPathNameA(path, MAX_PATH, full, nullptr);
    if (length == 0 || length >= MAX_PATH || ::GetFileAttributesA(full) == INVALID_FILE_ATTRIBUTES) return FALSE;
    full[length + 1] = 0;
    SHFILEOPSTRUCTA op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = full;
    op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_ALLOWUNDO | FOF_NOERRORUI;
    if (::SHFileOperationA(&op) != 0 || op.fAnyOperationsAborted) return FALSE;
    return ::GetFileAttributesA(full) == INVALID_FILE_ATTRIBUTES;
}
