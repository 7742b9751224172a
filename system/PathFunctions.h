// Path texts: separators, components, joining, comparing and the stored and network forms.
#pragma once

#include "framework/CString.h"

// Appends "\" unless the path ends in "\" or "/" (an empty path gets "\"); returns the new length.
int AppendSeparatorStr(CString& path);
// Removes one trailing '\' or '/'; returns the new length.
int RemoveTrailingSeparatorStr(CString& path);
// Removes the last component ("C:\a\b" and "C:\a\b\" give "C:\a"; a root such as "C:\" or "\\"
// stays); returns the new length.
int CutLastComponentStr(CString& path);
// Joins dir and name with exactly one backslash; returns the length.
int JoinPathStr(CString& out, const char* dir, const char* name);
// The program's directory, ending in a separator; returns the length.
int GetProgramDirStr(CString& out);

// Flags of ComparePathsA.
enum : int {
    CP_FULL_A = 0x1,   // make a a full path first
    CP_FULL_B = 0x2,   // make b a full path first
    CP_NOCASE = 0x4,   // ignore letter case
    CP_SAME_PATH = 0x7,
};
// Compares two paths, '\' and '/' equal, a trailing separator ignored (except after a drive or at
// the network root); <0, 0, >0.
int ComparePathsA(const char* a, const char* b, int flags);
// sep '/' turns every "\" into "/"; sep 0 changes nothing; any other sep turns every "/" into "\".
// Returns the number of characters changed.
int ConvertSeparatorsA(char* path, char sep);

// A path that begins with two separators in the network form the system understands:
// "\\server\share\dir" with backslashes, no doubled separators and no trailing one ("\\" stays).
// Other paths are copied as they are. Returns the length; 0 and an empty out when it does not fit.
int MapNetworkPlacePath(const char* path, char* out, int size);
// The full path with every component as stored on disk (long names, stored letter case); components
// that do not exist are kept as given. Returns the length; 0 and an empty out when it does not fit.
int GetStoredPathNameA(char* out, const char* path, int size);
