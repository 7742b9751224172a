// File-system queries and simple file operations on ANSI paths.
#pragma once

// Kinds returned by GetPathTypeA.
enum : int { PATH_MISSING = 0, PATH_FILE = 1, PATH_DIRECTORY = 2, PATH_DRIVE_ROOT = 3 };

// 0 missing, 1 file, 2 directory, 3 drive root ("C:", "C:\" of a present drive).
int GetPathTypeA(const char* path);
// Creates every missing directory of the path. A drive path needs its drive in GetLogicalDrives.
// Returns 0 on failure, 2 for a drive root, 1 otherwise.
int CreateDirectoryPathA(const char* path);
// Reads at most size - 2 bytes from the start of the file and writes two zero bytes behind them.
// Returns the number of bytes read (0 when the file cannot be read; the buffer then starts with two
// zero bytes when size >= 2).
int ReadFileToBufferA(const char* file, void* buffer, int size);
