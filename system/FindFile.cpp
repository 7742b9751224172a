#include "system/FindFile.h"

#include "text/StrCopy.h"

namespace {
void Fill(FindRecord* record, const WIN32_FIND_DATAA& fd) {
    record->flags = fd.dwFileAttributes;
    record->size = ((uint64_t)fd.nFileSizeHigh << 32) | fd.nFileSizeLow;
    record->created = FileTimeToUnixSeconds(fd.ftCreationTime);
    record->accessed = FileTimeToUnixSeconds(fd.ftLastAccessTime);
    record->written = FileTimeToUnixSeconds(fd.ftLastWriteTime);
    StrCopyNA(record->name, fd.cFileName, sizeof(record->name));
}
}  // namespace

int64_t FileTimeToUnixSeconds(const FILETIME& time) {
    int64_t ticks = (int64_t)(((uint64_t)time.dwHighDateTime << 32) | time.dwLowDateTime);
    const int64_t kEpochTicks = 116444736000000000LL;  // 1601-01-01 to 1970-01-01 in 100 ns
    int64_t d = ticks - kEpochTicks;
    return d >= 0 ? d / 10000000 : -((-d + 9999999) / 10000000);
}

HANDLE FindFirstFileRec(const char* pattern, FindRecord* record, DWORD* errorOut) {
    if (errorOut) *errorOut = 0;
    if (!pattern || !record) {
        if (errorOut) *errorOut = ERROR_INVALID_PARAMETER;
        return nullptr;
    }
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA(pattern, &fd);
    if (h == INVALID_HANDLE_VALUE) {
        if (errorOut) *errorOut = GetLastError();
        return nullptr;
    }
    Fill(record, fd);
    return h;
}

BOOL FindNextFileRec(HANDLE find, FindRecord* record, DWORD* errorOut) {
    if (errorOut) *errorOut = 0;
    WIN32_FIND_DATAA fd;
    if (!find || !record || !FindNextFileA(find, &fd)) {
        if (errorOut) *errorOut = find && record ? GetLastError() : ERROR_INVALID_PARAMETER;
        return FALSE;
    }
    Fill(record, fd);
    return TRUE;
}

void FindCloseRec(HANDLE find) {
    if (find) FindClose(find);
}
