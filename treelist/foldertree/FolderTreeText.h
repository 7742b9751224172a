// The folder tree's texts: item paths joined from the texts of an item and its ancestors, the order of
// drives, and the path SelectPath looks for. Every path fits a MAX_PATH buffer or is refused.
#pragma once

constexpr int kFolderPathSize = 260;  // buffers of paths, with their NUL
constexpr int kFolderMaxLevels = 32;  // an item path has at most this many levels

// Joins parts (the root's text first) with "\" (none after a part that ends in "\"). Returns the
// length; 0 and an empty out when count is outside 1..kFolderMaxLevels or the result does not fit size.
int JoinItemPath(const char* const* parts, int count, char* out, int size);

// The key of a drive text: 0-25 for a letter and a colon alone (either case), else 128.
int DriveKey(const char* text);
// Drives in letter order before everything else; equal keys compare without letter case.
int CompareDriveTexts(const char* a, const char* b);

// SelectPath's path: path (the current path when null or empty) with subPath joined by "\", made full;
// a trailing "\" goes from paths of 3 or more characters ("C:\" becomes "C:"). Returns the length;
// 0 when there is no path or it does not fit size.
int MakeSelectPath(const char* path, const char* subPath, const char* current, char* out, int size);

// True for a path that begins with two separators.
bool IsNetworkText(const char* path);
