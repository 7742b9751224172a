#include "system/SystemInfo.h"

#include <vector>

DWORD GetWindowsVersion() {
    static const DWORD version = [] {
        OSVERSIONINFOA info = {};
        info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        if (!GetVersionExA(&info)) return (DWORD)0;
#pragma GCC diagnostic pop
        return (DWORD)(info.dwMajorVersion << 16 | (info.dwMinorVersion & 0xFFFF));
    }();
    return version;
}

DWORD GetKernelProductVersion() {
    static const DWORD version = [] {
        char path[MAX_PATH];
        HMODULE kernel = GetModuleHandleA("kernel32.dll");
        if (!kernel || !GetModuleFileNameA(kernel, path, MAX_PATH)) return (DWORD)0;
        DWORD handle = 0;
        DWORD size = GetFileVersionInfoSizeA(path, &handle);
        if (!size) return (DWORD)0;
        std::vector<char> data(size);
        if (!GetFileVersionInfoA(path, 0, size, data.data())) return (DWORD)0;
        VS_FIXEDFILEINFO* info = nullptr;
        UINT length = 0;
        if (!VerQueryValueA(data.data(), "\\", (void**)&info, &length) || !info || length < sizeof(*info))
            return (DWORD)0;
        return info->dwProductVersionMS;
    }();
    return version;
}

char GetSystemDriveLetter() {
    char dir[MAX_PATH];
    UINT n = GetSystemDirectoryA(dir, MAX_PATH);
    if (n >= 2 && n < MAX_PATH && dir[1] == ':') {
        char c = (char)(dir[0] & ~0x20);
        if (c >= 'A' && c <= 'Z') return c;
    }
    return 'C';
}
