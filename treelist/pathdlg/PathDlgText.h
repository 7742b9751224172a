// The directory chooser's texts: paths as SetPath and AppendSubPath take them, the levels of a listed
// path, and the parts of a history key.
#pragma once

#include "framework/CString.h"

#include <string>
#include <vector>

// SetPath's text after its first steps: leading blanks skipped, "/" made "\", trailing separators and
// blanks removed, except the separator after a ":" ("C:\" stays).
CString TrimChosenPath(const char* text);

// AppendSubPath's text: leading blanks skipped, "/" made "\", cut at its first ":", "*" or "?",
// trailing separators and blanks removed.
CString TrimSubPath(const char* text);

// The levels a listed path shows: the root with its separator ("C:\", "\\server\share\" for a chosen
// share, "\\" for the network) and each further component. Empty for an empty path.
std::vector<std::string> PathLevels(const char* path, const char* shareRoot);

// The share of a network path ("\\server\share" of "\\server\share\dir"); "" for other paths and for
// a network path without a share.
std::string ShareOfPath(const char* path);

// True when path is root or lies below it (letter case ignored).
bool PathUnder(const char* path, const char* root);

// The path of the levels 0..last joined ("C:\" + "a" + "b" = "C:\a\b").
std::string JoinLevels(const std::vector<std::string>& levels, int last);

// A history key: "#" at its start names a path from the root of HKEY_CURRENT_USER, else one below the
// application's key. The components are separated by "\" or "/"; all but the last are subkeys, the
// last is the value name. False when empty or a component is empty or 260 characters long or longer.
struct HistoryKeyParts {
    bool fromRoot = false;
    std::vector<std::string> subkeys;
    std::string value;
};
bool SplitHistoryKey(const char* key, HistoryKeyParts* out);
