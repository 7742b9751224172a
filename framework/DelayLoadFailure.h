// What a call into a system library loaded at the first call into it does when the library or the function is
// missing (DelayLoadFailure.cpp).
#pragma once

#include <windows.h>

// The function that stands in for one of a missing library (a name such as "comdlg32.dll"), as the failure
// hook hands it out: it fails the way the system reports the service unavailable. Null for a function without
// one, which ends the program instead.
FARPROC DelayLoadFallback(const char* dll, const char* function);
