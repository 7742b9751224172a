// Path texts of the path combo box: the forms SetPath takes, segments, and the paths composed from
// them. Every composed path fits a MAX_PATH buffer or is refused.
#pragma once

#include <cstdint>

// Forms of SetPath's second argument (high word), with the length in the low 14 bits.
enum : uint32_t {
    PATHFORM_UNCHANGED = 0x497B0000,  // the text is taken as it is
    PATHFORM_SHELL = 0x497A0000,      // a shell or network text: "\\" is put in front when missing
    PATHFORM_KIND_SHELL = 0x4000,     // the path is of kind 0 (a shell path)
    PATHFORM_ENTRY_ICON = 0x8000,     // the icon of the entry that produced the path is the path's icon
    PATHFORM_LENGTH_MASK = 0x3FFF,
};

constexpr int kPathBufferSize = 260;
constexpr int kPlainPathLimit = 252;  // plain texts of this length or more are refused
constexpr int kMaxSegments = 32;
constexpr int kLevelCount = kMaxSegments + 1;

// A text made ready for display.
struct PathRequest {
    char text[kPathBufferSize];
    int length;
    bool shellKind;  // PATHFORM_KIND_SHELL was given
    bool entryIcon;  // PATHFORM_ENTRY_ICON was given
};

// Reads SetPath's arguments: a negative lengthOrForm takes a NUL-terminated text, a marked form
// the text with the length in its low 14 bits, anything else a plain length. Plain texts become full
// paths, shell texts get "\\" in front when they lack two leading separators, "/" becomes "\" and
// one trailing separator goes (not from a root of separators alone). False when the text is
// refused: too long for its form or for the buffer, or not a path at all.
bool ReadPathRequest(const char* text, int lengthOrForm, PathRequest* out);

// The segments of a path: the runs between separators after the leading ones, at most
// kMaxSegments. starts gets kMaxSegments + 1 entries (starts[count] is the end of the path),
// lengths kMaxSegments. Returns the count.
int SplitPathSegments(const char* path, uint32_t* starts, uint16_t* lengths);

// The number of leading segments two paths share (letter case ignored).
int CountSharedSegments(const char* pathA, const uint32_t* startsA, const uint16_t* lengthsA, int countA,
                        const char* pathB, const uint32_t* startsB, const uint16_t* lengthsB, int countB);

// out = the first prefixLength characters of path, "\" and name (name alone when prefixLength is 0).
// Returns the length, or 0 with an empty out when the result does not fit size.
int ComposeChildPath(char* out, int size, const char* path, int prefixLength, const char* name);

// A dropped file's folder: the text up to its last "\" or "/", or up to and with a ":" after it;
// a text without either stays. Returns the new length.
int CutToFolder(char* path);

// True for a drive letter and a colon alone ("C:").
bool IsBareDrive(const char* path);
