// Find-file wrappers that fill a FindRecord.
#pragma once

#include <windows.h>

#include <cstdint>

// One found file: attributes, size, three times in seconds since 1970 (UTC) and the name.
struct FindRecord {
    uint32_t flags;     // FILE_ATTRIBUTE_* bits
    uint64_t size;
    int64_t created;
    int64_t accessed;
    int64_t written;
    char name[MAX_PATH];
};

// Seconds since 1970 of a file time.
int64_t FileTimeToUnixSeconds(const FILETIME& time);

// Starts a search for pattern and fills record with the first match. Returns the find handle, or 0
// with the system's error code in errorOut (may be null).
HANDLE FindFirstFileRec(const char* pattern, FindRecord* record, DWORD* errorOut);
// Fills record with the next match; FALSE at the end (errorOut: ERROR_NO_MORE_FILES) or on failure.
BOOL FindNextFileRec(HANDLE find, FindRecord* record, DWORD* errorOut);
// Closes a handle of FindFirstFileRec (0 is ignored).
void FindCloseRec(HANDLE find);
