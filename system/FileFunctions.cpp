#include "system/FileFunctions.h"

#include <windows.h>

#include <string>

namespace {

inline bool IsSep(char c) { return c == '\\' || c == '/'; }

// "X:" or "X:\" with a letter.
bool IsDriveRoot(const char* path) {
    char c = (char)(path[0] & ~0x20);
    return c >= 'A' && c <= 'Z' && path[1] == ':' && (path[2] == 0 || (IsSep(path[2]) && path[3] == 0));
}

bool DrivePresent(char letter) {
    int index = (letter & ~0x20) - 'A';
    return index >= 0 && index < 26 && (GetLogicalDrives() >> index & 1) != 0;
}

}  // namespace

int GetPathTypeA(const char* path) {
    if (!path || !*path) return PATH_MISSING;
    if (IsDriveRoot(path)) return DrivePresent(path[0]) ? PATH_DRIVE_ROOT : PATH_MISSING;
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return PATH_MISSING;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PATH_DIRECTORY : PATH_FILE;
}

int CreateDirectoryPathA(const char* path) {
    if (!path || !*path) return 0;
    char full[MAX_PATH * 4];
    DWORD n = GetFullPathNameA(path, sizeof(full), full, nullptr);
    if (n == 0 || n >= sizeof(full)) return 0;
    std::string p(full, n);
    while (p.size() > 3 && IsSep(p.back())) p.pop_back();
    size_t start;
    if (p.size() >= 2 && p[1] == ':') {
        if (!DrivePresent(p[0])) return 0;
        if (IsDriveRoot(p.c_str())) return 2;
        start = 3;
    } else if (p.size() >= 2 && IsSep(p[0]) && IsSep(p[1])) {
        // \\server\share is the root of a network path: skip both.
        start = p.find_first_of("\\/", 2);
        start = start == std::string::npos ? p.size() : p.find_first_of("\\/", start + 1);
        if (start == std::string::npos) return GetPathTypeA(p.c_str()) == PATH_DIRECTORY ? 1 : 0;
        ++start;
    } else {
        return 0;
    }
    for (size_t pos = start; pos <= p.size(); ++pos) {
        if (pos != p.size() && !IsSep(p[pos])) continue;
        std::string part = p.substr(0, pos);
        DWORD attributes = GetFileAttributesA(part.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES) {
            if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return 0;  // a file stands in the way
            continue;
        }
        if (!CreateDirectoryA(part.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return 0;
    }
    return 1;
}

int ReadFileToBufferA(const char* file, void* buffer, int size) {
    if (!buffer || size < 2) return 0;
    char* out = (char*)buffer;
    out[0] = out[1] = 0;
    if (!file) return 0;
    HANDLE h = CreateFileA(file, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return 0;
    DWORD total = 0, want = (DWORD)size - 2;
    while (total < want) {
        DWORD got = 0;
        if (!ReadFile(h, out + total, want - total, &got, nullptr) || got == 0) break;
        total += got;
    }
    CloseHandle(h);
    out[total] = 0;
    out[total + 1] = 0;
    return (int)total;
}
