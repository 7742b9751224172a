#include "text/StrCopy.h"

#include <cstring>

int StrCopyNA(char* dest, const char* src, int destSize) {
    return StrCopyNNA(dest, src, destSize, 0x7FFFFFFF);
}

int StrCopyNNA(char* dest, const char* src, int destSize, int maxCount) {
    if (!dest || destSize <= 0) return 0;
    int limit = destSize - 1;
    if (maxCount < limit) limit = maxCount < 0 ? 0 : maxCount;
    int n = 0;
    if (src) {
        while (n < limit && src[n]) {
            dest[n] = src[n];
            ++n;
        }
    }
    dest[n] = 0;
    return n;
}

int StrCatNA(char* dest, const char* src, int destSize) {
    if (!dest || destSize <= 0) return 0;
    const char* end = (const char*)memchr(dest, 0, (size_t)destSize);
    if (!end) {
        // No terminator inside the buffer: terminate it rather than read beyond.
        dest[destSize - 1] = 0;
        return destSize - 1;
    }
    int len = (int)(end - dest);
    return len + StrCopyNA(dest + len, src, destSize - len);
}

int AppendSeparatorA(char* buf, int len) {
    if (!buf) return 0;
    if (len < 0) len = (int)strlen(buf);
    if (len > 0 && (buf[len - 1] == '\\' || buf[len - 1] == '/')) return len;
    buf[len++] = '\\';
    buf[len] = 0;
    return len;
}
