// Indices into the system image list for drives, folders and files.
#pragma once

#include <windows.h>
#include <commctrl.h>

// The system image list (small icons, or large with large nonzero).
HIMAGELIST GetSystemImageList(BOOL large);

// Flags of GetFileIconIndex.
enum : int {
    FI_FOLDER = 0x1,  // a folder's icon (else a plain file's)
    FI_OPEN = 0x2,    // the open form of the icon
    FI_LARGE = 0x4,   // large icon (else small)
};
// System icon index for a dummy name looked up by attributes (no disk access); -1 on failure.
int GetFileIconIndex(int flags);
// Icon index of drive letter A-Z (either case), small or large; cached 3,000 ms, fixed drives kept.
// -1 on failure (also a drive that is not present), -2 when letter is no drive letter.
int GetDriveIconIndex(char letter, BOOL small);
