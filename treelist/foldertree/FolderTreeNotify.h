// Notifications of the folder tree to its parent (WM_NOTIFY, wParam = the control's id).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>

enum : UINT {
    FTN_CURRENTCHANGED = 4612,  // the current item changed; value = its kind; a nonzero answer: read nothing
    FTN_DRAG = 4613,            // a drag: value 0 before it (a nonzero answer refuses it), 1 after it
    FTN_DBLCLK = 4614,          // double click on an item; value = the current kind
};

// Kinds of the current item.
enum : uint32_t { FTK_NETWORK = 0, FTK_FOLDER = 1, FTK_DRIVE = 2 };

struct NMFOLDERTREE {
    NMHDR hdr;
    HTREEITEM item;
    uint32_t value;
    const char* path;  // the current path
};
