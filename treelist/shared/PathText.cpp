#include "treelist/shared/PathText.h"

#include "text/StrCompare.h"

#include <windows.h>

#include <cstring>

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

int BoundedLength(const char* text, int limit) {
    int n = 0;
    while (n < limit && text[n]) ++n;
    return n;
}

// Separators become "\" and one trailing separator goes, unless the text is separators alone.
int Tidy(char* text, int length) {
    bool onlySeparators = true;
    for (int i = 0; i < length; ++i) {
        if (text[i] == '/') text[i] = '\\';
        onlySeparators = onlySeparators && text[i] == '\\';
    }
    if (length > 0 && text[length - 1] == '\\' && !onlySeparators) text[--length] = 0;
    return length;
}

bool ReadPlain(const char* text, int length, PathRequest* out) {
    if (length <= 0 || length >= kPlainPathLimit) return false;
    char given[kPlainPathLimit + 2];
    memcpy(given, text, (size_t)length);
    given[length] = 0;
    // A bare drive means its root, not the drive's current folder.
    if (IsBareDrive(given)) given[length++] = '\\', given[length] = 0;
    DWORD n = GetFullPathNameA(given, kPathBufferSize, out->text, nullptr);
    if (n == 0 || n >= (DWORD)kPathBufferSize) return false;
    out->length = Tidy(out->text, (int)n);
    return true;
}

bool ReadMarked(const char* text, int length, bool shell, PathRequest* out) {
    int at = 0;
    if (shell && !(length >= 2 && IsSeparator(text[0]) && IsSeparator(text[1]))) {
        out->text[at++] = '\\';
        out->text[at++] = '\\';
    }
    if (at + length >= kPathBufferSize) return false;
    memcpy(out->text + at, text, (size_t)length);
    out->text[at + length] = 0;
    out->length = Tidy(out->text, at + length);
    return true;
}

}  // namespace

bool ReadPathRequest(const char* text, int lengthOrForm, PathRequest* out) {
    out->text[0] = 0;
    out->length = 0;
    out->shellKind = out->entryIcon = false;
    if (!text) return false;
    const uint32_t form = (uint32_t)lengthOrForm & 0xFFFF0000u;
    if (form == PATHFORM_UNCHANGED || form == PATHFORM_SHELL) {
        out->shellKind = (lengthOrForm & PATHFORM_KIND_SHELL) != 0;
        out->entryIcon = (lengthOrForm & PATHFORM_ENTRY_ICON) != 0;
        int length = BoundedLength(text, (int)(lengthOrForm & PATHFORM_LENGTH_MASK));
        return ReadMarked(text, length, form == PATHFORM_SHELL, out);
    }
    if (lengthOrForm < 0) return ReadPlain(text, BoundedLength(text, kPlainPathLimit), out);
    return ReadPlain(text, BoundedLength(text, lengthOrForm), out);
}

int SplitPathSegments(const char* path, uint32_t* starts, uint16_t* lengths) {
    int count = 0;
    int i = 0;
    while (IsSeparator(path[i])) ++i;
    while (path[i] && count < kMaxSegments) {
        int start = i;
        while (path[i] && !IsSeparator(path[i])) ++i;
        starts[count] = (uint32_t)start;
        lengths[count++] = (uint16_t)(i - start);
        while (IsSeparator(path[i])) ++i;
    }
    // With more components than segments, the end is that of the last segment shown.
    starts[count] = count ? starts[count - 1] + lengths[count - 1] : (uint32_t)i;
    return count;
}

int CountSharedSegments(const char* pathA, const uint32_t* startsA, const uint16_t* lengthsA, int countA,
                        const char* pathB, const uint32_t* startsB, const uint16_t* lengthsB, int countB) {
    int shared = 0;
    // The leading separators belong to the first segment: "\\server" and "C:" differ there.
    if (countA && countB && startsA[0] != startsB[0]) return 0;
    while (shared < countA && shared < countB && lengthsA[shared] == lengthsB[shared] &&
           CompareTextNA(pathA + startsA[shared], lengthsA[shared], pathB + startsB[shared], lengthsB[shared],
                         true) == 0)
        ++shared;
    return shared;
}

int ComposeChildPath(char* out, int size, const char* path, int prefixLength, const char* name) {
    if (size <= 0) return 0;
    out[0] = 0;
    if (prefixLength < 0 || !name) return 0;
    const int nameLength = (int)strlen(name);
    const int length = prefixLength + (prefixLength ? 1 : 0) + nameLength;
    if (length >= size) return 0;
    memcpy(out, path, (size_t)prefixLength);
    int at = prefixLength;
    if (prefixLength) out[at++] = '\\';
    memcpy(out + at, name, (size_t)nameLength + 1);
    return length;
}

int CutToFolder(char* path) {
    int cut = -1;
    for (int i = 0; path[i]; ++i) {
        if (IsSeparator(path[i])) cut = i;
        else if (path[i] == ':') cut = i + 1;
    }
    if (cut >= 0) path[cut] = 0;
    return (int)strlen(path);
}

bool IsBareDrive(const char* path) {
    return ((path[0] | 0x20) >= 'a' && (path[0] | 0x20) <= 'z') && path[1] == ':' && !path[2];
}
