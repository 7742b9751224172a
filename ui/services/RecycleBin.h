// Deleting a file or folder to the recycle bin, without any dialog.
#pragma once

#include <windows.h>

// TRUE when the object is gone. FALSE, touching nothing, for a missing object, a path of 260 characters
// or more (a shortened path could name another object), or a path with wildcards (it would name several).
BOOL DeleteToRecycleBin(const char* path);
