// The toolkit's toolbar control, window class "ToolbarExWindow32": the common-control toolbar messages under
// their numbers plus private messages of its own (1130-1173). Every message may be sent from any thread.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <cstddef>

constexpr const char* kToolbarExClassName = "ToolbarExWindow32";
// The control's one-second timer; its owner answers it with TBX_TRACKMOUSE.
constexpr UINT_PTR kToolbarTrackTimer = 6527;

// Registers the class once per process; 1 when it is registered (now or before), 0 when registering fails.
BOOL RegisterToolbarExClass(HINSTANCE module);
LRESULT CALLBACK ToolbarExWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
// The command that follows CBN_SELCHANGE of a combo box on a button: the selected item's data, or the box's id
// plus the selection when the item has none.
WPARAM ToolbarComboSelectionCommand(HWND combo);

// Private messages.
enum : UINT {
    TBX_TRACKMOUSE = WM_USER + 106,  // 1130
    TBX_REMOVELABEL,                 // 1131
    TBX_ADDLABELW,
    TBX_ADDLABELA,
    TBX_SETDIRTY,                    // 1134
    TBX_SETBUTTONWIDTH,
    TBX_FINDWINDOW,
    TBX_SETBUTTONTEXTW,
    TBX_SETBUTTONTEXTA,
    TBX_SETSTATESTYLE,               // 1139
    TBX_GETSTATESTYLE,
    TBX_SETCOMMAND,
    TBX_GETCOMMAND,
    TBX_SETIMAGE,
    TBX_GETIMAGE,
    TBX_SETSTRINGINDEX,              // 1145
    TBX_GETSTRINGINDEX,
    TBX_REMOVESTRINGS,
    TBX_FINDSTRINGW,
    TBX_FINDSTRINGA,
    TBX_GETSTRINGCOUNT,              // 1150
    TBX_COUNTBUTTONS,
    TBX_MODIFYSTYLE,
    TBX_MODIFYSTATE,
    TBX_MODIFYFLAGS,
    TBX_COUNTIMAGES,                 // 1155
    TBX_GETBITMAPINFO,
    TBX_GETCOMMANDS,
    TBX_REMOVEBITMAPS,
    TBX_DELETEBUTTONS,
    TBX_GETEXTRATARGET,              // 1160
    TBX_GETBITMAPSIZE,
    TBX_INDEXTOCOMMAND,
    TBX_GETFLAGS,
    TBX_SETFLAGS,
    TBX_GETDATA,                     // 1165
    TBX_SETDATA,
    TBX_SETSCALE,
    TBX_GETIDEALSIZE,
    TBX_FITTOSIZE,
    TBX_INSERTBUTTON,                // 1170
    TBX_ADDBUTTONS,
    TBX_KEYCOLOR,
    TBX_COLOR,                       // 1173
};
static_assert(TBX_COLOR == 1173, "private message numbers are fixed");

// Marks in the high word of a message parameter that say what its low word is.
constexpr WORD kToolbarIndexMark = 0x1234;     // an index: of a button, of a target slot (TB_SETPARENT), a label's
                                               // short key; on TB_ADDBITMAP: the structure is a TBADDBITMAPEX
constexpr WORD kToolbarCommandMark = 0x1248;   // a command id; on TB_SETLISTGAP: the second gap
constexpr WORD kToolbarLabelTagMark = 0x1222;  // TBX_REMOVELABEL: a label tag

// Button addressing in wParam (see ResolveButton): an index, the first button with a command id, or the k-th
// button with an id (or with a shared extra-flag bit). Every such reference has kToolbarReferenceTag in its top
// byte; the k-th forms have kToolbarNthMark in their top 9 bits, and the flagged one kToolbarFlaggedMark in its
// low 12.
constexpr UINT kToolbarReferenceTag = 0x12;
constexpr UINT kToolbarNthMark = 0x12800000u;
constexpr UINT kToolbarNthMask = 0x7F;  // k, in bits 16-22
constexpr WORD kToolbarFlaggedMark = 0xE7E;
constexpr WORD kToolbarFlaggedBits = 0xF000;
constexpr WPARAM ToolbarIndex(int index) { return (UINT)kToolbarIndexMark << 16 | (WORD)index; }
constexpr WPARAM ToolbarCommand(int id) { return (UINT)kToolbarCommandMark << 16 | (WORD)id; }
constexpr WPARAM ToolbarNthCommand(int id, int k) { return kToolbarNthMark | ((k & kToolbarNthMask) << 16) | (WORD)id; }
constexpr WPARAM ToolbarNthFlagged(WORD flags, int k) {
    return kToolbarNthMark | ((k & kToolbarNthMask) << 16) | (flags & kToolbarFlaggedBits) | kToolbarFlaggedMark;
}
constexpr bool IsToolbarReference(UINT value) { return (value >> 24) == kToolbarReferenceTag; }

// The target windows, by slot: the notifications' (the parent), the commands' and an extra one; a target of
// TOOLBAR_ASK_TARGET is asked for at each use (TBX_GETEXTRATARGET).
enum { kTargetNotify = 0, kTargetCommand = 1, kTargetExtra = 2 };
#define TOOLBAR_ASK_TARGET ((HWND)(LONG_PTR)-1)
// TB_SETPARENT lParam: the target slot to set (any other lParam sets the notify target).
constexpr LPARAM ToolbarTargetSlot(int slot) { return (LPARAM)((UINT)kToolbarIndexMark << 16 | 0x5600u | (BYTE)slot); }
// TB_HITTEST wParam: a hit on the arrow part of a drop-down button answers the index with kHitDropPart.
constexpr WPARAM kToolbarHitDropPart = 0x12345678;
// TBX_ADDBUTTONS wParam: the count in the low word; a high word of 0 appends, kToolbarAddAtMark | position
// inserts at the position (kToolbarLastPosition and any beyond the count: at the end).
constexpr WORD kToolbarAddAtMark = 0x5000;
constexpr int kToolbarLastPosition = 0x3FF;
constexpr WPARAM ToolbarAddButtonsAt(int position, int count) {
    return (UINT)(kToolbarAddAtMark | (position & kToolbarLastPosition)) << 16 | (WORD)count;
}
static_assert(ToolbarIndex(1) == 0x12340001 && ToolbarCommand(1) == 0x12480001 &&
                  ToolbarNthFlagged(0x8000, 2) == 0x12828E7E && ToolbarTargetSlot(kTargetExtra) == 0x12345602 &&
                  ToolbarAddButtonsAt(kToolbarLastPosition, 1) == 0x53FF0001,
              "the parameter words are fixed");

// Extra flags of a button (the first two reserved bytes of TBBUTTON).
enum : WORD {
    TBXF_TEXTRIGHT = 0x0001,     // text right of the image even in a list-style bar
    TBXF_TEXTBELOW = 0x0002,     // text below even in a list-style bar
    TBXF_TEXTOVERLAP = 0x0004,   // text overlaps the image, no band of its own
    TBXF_NOFRAME = 0x0008,       // no resting frame on a raised bar
    TBXF_RESTFRAME = 0x0010,     // a resting frame even on a flat bar
    TBXF_NOCHECKLOOK = 0x0020,
    TBXF_NODISABLEDLOOK = 0x0040,
    TBXF_NOHOTLOOK = 0x0080,
    TBXF_NOSTACK = 0x0100,
    TBXF_FIXEDWIDTH = 0x0200,    // dwData is the minimum text width; on a separator: group caption
    TBXF_SPLIT = 0x0400,
    TBXF_TWOCOLORS = 0x0800,     // with TBXF_VALUE: dwData holds two 5:6:5 colours
    TBXF_VALUE = 0x1000,         // the image shows a colour held in dwData
    TBXF_WINDOW = 0x2000,        // dwData is an embedded child window
    TBXF_RADIO = 0x4000,
    TBXF_CHECK = 0x8000,
};

// TB_ADDBITMAP with kToolbarIndexMark in the high word of wParam: TBADDBITMAP followed by four words.
struct TBADDBITMAPEX {
    HINSTANCE hInst;
    UINT_PTR nID;
    WORD flags;        // TBXAB_*
    WORD imageWidth;   // in: image width (4094 = split at marker columns); out with TBXAB_WRITEWIDTH
    WORD scale;        // in: scale in 1/256 (0 = 256); out with TBXAB_WRITEHEIGHT: the bitmap height
    WORD count;        // out with TBXAB_SPLITNOW: the number of images
};
static_assert(offsetof(TBADDBITMAPEX, flags) == sizeof(TBADDBITMAP), "extension follows TBADDBITMAP");
enum : WORD {
    TBXAB_EXACTCOUNT = 0x01,
    TBXAB_COUNTBYWIDTH = 0x02,
    TBXAB_OWNHANDLE = 0x04,
    TBXAB_SPLITNOW = 0x08,
    TBXAB_WRITEWIDTH = 0x10,
    TBXAB_WRITEHEIGHT = 0x20,
};
constexpr WORD kToolbarSplitImages = 4094;

// TB_GETBUTTONINFO/TB_SETBUTTONINFO: the standard structure followed by the extra flags.
constexpr DWORD TBIF_EXTRAFLAGS = 0x10000000;
constexpr DWORD TBIF_STRINGINDEX = 0x08000000;
struct TBBUTTONINFOEXA {
    TBBUTTONINFOA info;
    WORD extraValue;
    WORD extraMask;
};
struct TBBUTTONINFOEXW {
    TBBUTTONINFOW info;
    WORD extraValue;
    WORD extraMask;
};
static_assert(sizeof(TBBUTTONINFOEXA) == sizeof(TBBUTTONINFOEXW), "one size for both forms");

// One entry of TBX_GETBITMAPINFO.
struct TBXBITMAPINFO {
    HINSTANCE module;
    UINT_PTR id;        // resource id or bitmap handle
    WORD count;
    WORD scale;
    WORD imageWidth;    // 0 for records split at marker columns
    WORD height;
};

// TBX_ADDLABELW/A descriptor.
struct TBXLABEL {
    DWORD key;          // button reference; with TBXL_SHORTKEY its low word is an index
    short dx, dy;       // offset added to the aligned position
    DWORD flags;        // low byte TBXL_*, bits 8-15 a tag (TBX_REMOVELABEL with kToolbarLabelTagMark)
};
enum : BYTE {
    TBXL_LEFT = 0x00, TBXL_HCENTER = 0x01, TBXL_RIGHT = 0x02, TBXL_HABSOLUTE = 0x03,
    TBXL_TOP = 0x00, TBXL_VCENTER = 0x04, TBXL_BOTTOM = 0x08, TBXL_VABSOLUTE = 0x0C,
    TBXL_REPLACE = 0x20,
    TBXL_SHORTKEY = 0x40,
};

// TBX_FITTOSIZE flags and extents.
enum : UINT { TBXFIT_COMMIT = 0x01, TBXFIT_HEIGHT = 0x02 };
constexpr int kToolbarFitOneRow = 17000;

static_assert(sizeof(void*) != 8 || sizeof(TBBUTTON) == 32, "TBBUTTON on x64");
static_assert(sizeof(void*) != 8 || sizeof(TBBUTTONINFOA) == 48, "TBBUTTONINFOA on x64");
static_assert(sizeof(void*) != 8 || sizeof(NMTOOLBARA) == 96, "NMTOOLBARA on x64");
