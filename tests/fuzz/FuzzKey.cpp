#include "tests/fuzz/FuzzKey.h"

#include <cstdlib>
#include <vector>

namespace fuzz {

namespace {

void RemoveKey() { RegDeleteTreeA(HKEY_CURRENT_USER, FuzzKeyPath().c_str()); }

}  // namespace

const std::string& FuzzKeyPath() {
    static const std::string path = [] {
        std::string p = "Software\\WertlaufFuzz\\" + std::to_string(GetCurrentProcessId());
        atexit(RemoveKey);
        return p;
    }();
    return path;
}

bool WriteFuzzValue(const char* subKey, const char* name, DWORD type, const void* data, size_t size) {
    const std::string path = FuzzKeyPath() + (subKey && *subKey ? std::string("\\") + subKey : "");
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr))
        return false;
    // Wine's RegSetValueExA looks one byte past a text that lacks its NUL: the writer gets a padded copy.
    std::vector<BYTE> copy(static_cast<const BYTE*>(data), static_cast<const BYTE*>(data) + size);
    copy.resize(size + 2);
    const LONG rc = RegSetValueExA(key, name, 0, type, copy.data(), static_cast<DWORD>(size));
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

}  // namespace fuzz
