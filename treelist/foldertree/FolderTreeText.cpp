#include "treelist/foldertree/FolderTreeText.h"

#include "system/PathFunctions.h"

#include <windows.h>

#include <cstring>

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// out = a + "\" + b within size; false when it does not fit.
bool JoinTwo(const char* a, const char* b, char* out, int size) {
    const int la = lstrlenA(a), lb = lstrlenA(b);
    const bool separator = la > 0 && !IsSeparator(a[la - 1]) && !IsSeparator(b[0]);
    if (la + separator + lb >= size) return false;
    memmove(out, a, (size_t)la);
    if (separator) out[la] = '\\';
    memcpy(out + la + separator, b, (size_t)lb + 1);
    return true;
}

}  // namespace

int JoinItemPath(const char* const* parts, int count, char* out, int size) {
    if (size <= 0) return 0;
    out[0] = 0;
    if (count < 1 || count > kFolderMaxLevels) return 0;
    int length = 0;
    for (int i = 0; i < count; ++i) {
        const int n = lstrlenA(parts[i]);
        const bool separator = i > 0 && length > 0 && out[length - 1] != '\\';
        if (length + separator + n > size - 1) {
            out[0] = 0;
            return 0;
        }
        if (separator) out[length++] = '\\';
        memcpy(out + length, parts[i], (size_t)n);
        length += n;
        out[length] = 0;
    }
    return length;
}

int DriveKey(const char* text) {
    if (!text || !text[0] || text[1] != ':' || text[2]) return 128;
    const char c = text[0];
    if (c >= 'a' && c <= 'z') return c - 'a';
    if (c >= 'A' && c <= 'Z') return c - 'A';
    return 128;
}

int CompareDriveTexts(const char* a, const char* b) {
    const int ka = DriveKey(a), kb = DriveKey(b);
    if (ka != kb) return ka - kb;
    return lstrcmpiA(a, b);
}

bool IsNetworkText(const char* path) { return path && IsSeparator(path[0]) && IsSeparator(path[1]); }

int MakeSelectPath(const char* path, const char* subPath, const char* current, char* out, int size) {
    if (size <= 0) return 0;
    out[0] = 0;
    if (!path || !path[0]) path = current;
    if (!path || !path[0]) return 0;
    char joined[kFolderPathSize];
    if (subPath && subPath[0]) {
        if (!JoinTwo(path, subPath, joined, sizeof joined)) return 0;
    } else if (lstrlenA(path) >= (int)sizeof joined) {
        return 0;
    } else {
        lstrcpyA(joined, path);
    }
    char full[kFolderPathSize];
    const DWORD n = GetFullPathNameA(joined, sizeof full, full, nullptr);
    if (n == 0 || n >= sizeof full) return 0;
    int length = (int)n;
    if (length >= 3 && full[length - 1] == '\\') full[--length] = 0;
    // A short (8.3) name on a drive becomes its stored long form.
    if (!IsNetworkText(full) && strchr(full, '~')) {
        char stored[kFolderPathSize];
        const int m = GetStoredPathNameA(stored, full, sizeof stored);
        if (m > 0) {
            lstrcpyA(full, stored);
            length = m;
            if (length >= 3 && full[length - 1] == '\\') full[--length] = 0;
        }
    }
    if (length >= size) return 0;
    memcpy(out, full, (size_t)length + 1);
    return length;
}
