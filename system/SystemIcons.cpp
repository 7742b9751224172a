#include "system/SystemIcons.h"

#include <shellapi.h>

namespace {

struct DriveIcon {
    int index;
    DWORD tick;  // when it was asked; 0 = never
    bool kept;   // fixed drives keep their icon
};

SRWLOCK g_driveLock = SRWLOCK_INIT;
DriveIcon g_driveIcons[2][26];

constexpr DWORD kDriveIconLifetime = 3000;

}  // namespace

HIMAGELIST GetSystemImageList(BOOL large) {
    SHFILEINFOA info = {};
    UINT flags = SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES | (large ? SHGFI_LARGEICON : SHGFI_SMALLICON);
    return (HIMAGELIST)SHGetFileInfoA("folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof(info), flags);
}

int GetFileIconIndex(int flags) {
    SHFILEINFOA info = {};
    UINT shFlags = SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES | ((flags & FI_LARGE) ? SHGFI_LARGEICON : SHGFI_SMALLICON);
    if (flags & FI_OPEN) shFlags |= SHGFI_OPENICON;
    bool folder = (flags & FI_FOLDER) != 0;
    if (!SHGetFileInfoA(folder ? "folder" : "file", folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL, &info,
                        sizeof(info), shFlags))
        return -1;
    return info.iIcon;
}

int GetDriveIconIndex(char letter, BOOL small) {
    int d = (letter & ~0x20) - 'A';
    if (d < 0 || d >= 26) return -2;
    if (!(GetLogicalDrives() >> d & 1)) return -1;
    int size = small ? 0 : 1;
    DWORD now = GetTickCount();
    AcquireSRWLockShared(&g_driveLock);
    DriveIcon cached = g_driveIcons[size][d];
    ReleaseSRWLockShared(&g_driveLock);
    if (cached.tick && (cached.kept || now - cached.tick < kDriveIconLifetime)) return cached.index;

    char root[4] = {(char)('A' + d), ':', '\\', 0};
    SHFILEINFOA info = {};
    int index = -1;
    if (SHGetFileInfoA(root, 0, &info, sizeof(info), SHGFI_SYSICONINDEX | (small ? SHGFI_SMALLICON : SHGFI_LARGEICON)))
        index = info.iIcon;
    UINT type = GetDriveTypeA(root);
    AcquireSRWLockExclusive(&g_driveLock);
    g_driveIcons[size][d] = DriveIcon{index, now ? now : 1, index >= 0 && (type == DRIVE_FIXED || type == DRIVE_RAMDISK)};
    ReleaseSRWLockExclusive(&g_driveLock);
    return index;
}
