// Notifications of the path combo box to its parent (WM_NOTIFY, wParam = the control's id).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>

enum : UINT {
    PCN_PATHCHANGED = 4616,  // the path changed: phase 0, kind 1
    PCN_PATHDRAG = 4617,     // a drag of the path: phase 0 before it (a nonzero answer refuses), 1 after it
};

struct NMPATHCOMBO {
    NMHDR hdr;
    uint32_t phase;
    uint32_t kind;
    const char* path;
};
