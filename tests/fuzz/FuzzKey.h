// The registry key of a fuzz run (HKEY_CURRENT_USER\Software\WertlaufFuzz\<process id>), removed at exit.
#pragma once

#include <windows.h>

#include <string>

namespace fuzz {

// The key's path below HKEY_CURRENT_USER.
const std::string& FuzzKeyPath();
// Writes a value there (type and bytes as another program could); true when written.
bool WriteFuzzValue(const char* subKey, const char* name, DWORD type, const void* data, size_t size);

}  // namespace fuzz
