// Versions of the operating system and the system drive.
#pragma once

#include <windows.h>

// The system's version (cached GetVersionExA) as major << 16 | minor.
DWORD GetWindowsVersion();
// KERNEL32's product version from its version resource, read once: major << 16 | minor; 0 when the
// resource is missing.
DWORD GetKernelProductVersion();
// Letter of the system drive (upper case); 'C' when it cannot be found.
char GetSystemDriveLetter();
