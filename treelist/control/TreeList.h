// The "TreeList" window class: a tree view whose rows carry further columns of text, images and colours,
// under a column header. It is driven by the tree-view messages (ANSI forms) and by its own messages below;
// it answers its parent with WM_NOTIFY. This header is the contract for every user of the control.
#pragma once

#include <windows.h>
#include <commctrl.h>

constexpr char kTreeListClassName[] = "TreeList";

// Registers the class once per process; 1 when it is (or was already) registered, 0 when that failed.
BOOL RegisterTreeListClass(HINSTANCE instance);
// May be called directly from any thread; window messages and those that make child windows or run the
// internal drag (TLM_INSERTCOLUMN, TVM_EDITLABELA, TLM_STARTDRAG, TLM_AUTOSCROLL, TLM_SETDROPTARGET) are then
// passed on to the window's thread with SendMessageA.
LRESULT CALLBACK TreeListWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
struct TreeListInsertRecord;
// Direct inserts from any thread: what count TVM_INSERTITEMA calls of the window procedure do, with the
// window's lock taken once. items[i] receives each new handle (0: not inserted); the number inserted.
int TreeListInsertItems(HWND window, const TreeListInsertRecord* records, int count, HTREEITEM* items);

// Own messages.
enum : UINT {
    TLM_USERCOLOR = 0x114E,        // wParam slot | mode << 16, lParam colour; old colour
    TLM_SETITEMPARAM = 0x114F,     // wParam value, lParam item
    TLM_GETITEMPARAM = 0x1150,     // lParam item
    TLM_COUNTRANGE = 0x1151,       // lParam TVITEMA with range and match bits
    TLM_STARTDRAG = 0x1152,        // wParam item
    TLM_SETCELLCOLOR = 0x1153,     // wParam item, lParam TreeListCellColour*
    TLM_AUTOSCROLL = 0x1154,       // wParam mode, lParam interval in ms
    TLM_DEFERRED = 0x1155,         // posted to itself: works off the deferred operations
    TLM_SETDROPTARGET = 0x1156,    // wParam bar height, lParam item or TVI_LAST
    TLM_SETRANGE = 0x1157,         // lParam TVITEMA with range and match bits
    TLM_MOVEITEM = 0x1158,         // to 0x115B: wParam target, lParam item; mode = message - TLM_MOVEITEM
    TLM_SETCOLUMNORDER = 0x115C,   // wParam count or kTreeListOrderFromHeader, lParam BYTE[count]
    TLM_GETCOLUMNORDER = 0x115D,   // wParam count, lParam int[count]
    TLM_SELECTCELL = 0x115E,       // wParam item (-1 keep), lParam column (-1 keep)
    TLM_CELLVISIBILITY = 0x115F,   // wParam item, lParam column
    TLM_OPTION = 0x1160,           // wParam option (| kTreeListSetOption), lParam value
    TLM_SELECTSUBTREE = 0x1161,    // wParam bit 0 descendants, bit 1 select; lParam item or TVI_ROOT
    TLM_FINDITEM = 0x1163,         // wParam start item (TVI_ROOT = all), lParam TVITEMA key
    TLM_GETROWSTOUCHED = 0x1164,
    TLM_SETCOLUMNEDITBASE = 0x1165,
    TLM_SETCOLUMNEDIT = 0x1167,
    TLM_SORTCHILDREN6 = 0x1168,    // wParam recurse, lParam TVSORTCB with a TreeListSortCompare
    TLM_GETUSERDATA = 0x1169,      // lParam item; pointer to the item's user-data area
    TLM_GETUSERDATASIZE = 0x116A,
    TLM_SETUSERDATASIZE = 0x116B,  // lParam size 0..16,777,216, only while the control is empty
    TLM_GETCOLUMNWIDTH = 0x116C,   // wParam column
    TLM_SETCOLUMNWIDTH = 0x116D,   // wParam column, lParam width
    TLM_GETCOLUMN = 0x116F,        // wParam column, lParam LVCOLUMNA
    TLM_SETCOLUMN = 0x1171,        // wParam column, lParam LVCOLUMNA
    TLM_GETITEMROW = 0x1172,       // lParam item; display row or -1
    TLM_GETROWCOUNT = 0x1173,
    TLM_GETROWITEM = 0x1174,       // lParam display row
    TLM_GETCELLTEXTCOLOR = 0x1175, // wParam item, lParam column
    TLM_SETCELLTEXTCOLOR = 0x1176, // wParam item | column << 24, lParam colour (-1 none)
    TLM_GETCELLBKCOLOR = 0x1177,
    TLM_SETCELLBKCOLOR = 0x1178,
    TLM_SETDROPHILITE = 0x1179,    // wParam column, lParam item (0 none)
    TLM_SETHOTHILITE = 0x117A,
    TLM_INSERTCOLUMN = 0x117C,     // wParam position, lParam LVCOLUMNA; new index or -1
    TLM_DELETECOLUMN = 0x117D,
    TLM_GETCOLUMNCOUNT = 0x117E,
    TLM_GETHEADER = 0x117F,
};

constexpr WPARAM kTreeListOrderFromHeader = 0x88776655;
constexpr WPARAM kTreeListSetOption = 0x80000000;
constexpr int kTreeListMaxColumns = 32;
constexpr int kTreeListColours = 18;
constexpr int kTreeListUserColours = 32;

// Options of TLM_OPTION.
enum : int {
    TLO_EXPANDEDIMAGEOFFSET = 1,  // added to the image of an expanded item with children (1 at creation)
    TLO_DRAG = 2,
    TLO_DRAGRULES = 3,
    TLO_PINNEDROWS = 4,           // top-level items kept by the 0xFFFF0009 delete; rows pinned to the top
    TLO_PINNEDSEPARATOR = 5,      // boolean: separator under the pinned rows also while not scrolled
    TLO_MARKEDCOLUMNS = 6,        // read only: number of columns with mark 1
    TLO_CLICKTIME = 7,            // signed byte
    TLO_DRAWCALLBACK = 8,         // TreeListDrawCallback
    TLO_DRAWCONTEXT = 9,          // its context value
    TLO_MINROWHEIGHT = 10,        // signed byte
    TLO_WINDOWPROC = 11,          // read only: TreeListWndProc, for direct calls from worker threads
    TLO_OPTION12 = 12,
    TLO_OPTION13 = 13,            // byte, 3 at creation
    TLO_JOINCOLUMNS = 14,         // 16-bit mask: column n may continue into column n + 1
    TLO_AUTOWIDEN = 15,           // byte: widen the tree column to its texts, plus this margin
    TLO_OPTION16 = 16,            // boolean byte
};

// Drag rules (TLO_DRAGRULES).
enum : UINT {
    TLDR_NOCTRLONTO = 0x1,         // Ctrl does not switch to dropping onto an item
    TLDR_KEEPLEVEL = 0x2,          // a dropped item keeps its level
    TLDR_KEEPPARENT = 0x4,         // a dropped item keeps its parent (and its level)
    TLDR_LEAVESONLY = 0x8,         // only items without children can be dropped
    TLDR_PINNED = 0x10,            // pinned top rows can neither be dragged nor be targets
    TLDR_TOPLEVELONLY = 0x20,      // only top-level items can be dragged
    TLDR_REPORTOUTSIDE = 0x40,     // a drop outside the control is reported (TLN_DROP)
    TLDR_REPORTCANCEL = 0x80,      // Escape reports the cancelled drag
    TLDR_NEEDSTEXT = 0x100,        // a drag by TLM_STARTDRAG needs a caret item with a text
    TLDR_NOTBELOWLAST = 0x200,     // no drop below the last row
};

// Extended-style bits (TVM_SETEXTENDEDSTYLE).
enum : DWORD {
    TLX_MULTISELECT = 0x2,
    TLX_SCROLLNOTIFY = 0x8,
    TLX_NOHSCROLLRANGE = 0x20,
    TLX_TABTOPARENT = 0x40,        // Tab gives the focus to the parent window
    TLX_RCLICKKEEPSSELECTION = 0x100, // a right click changes neither caret nor selection
    TLX_SKIPMARKED = 0x200,        // items with state bit TLIS_MARKED are not descended into
    TLX_VSCROLLDISABLENOSCROLL = 0x400,
    TLX_COLUMNNOTIFY = 0x800,
    TLX_HEADERDRAGDROP = 0x1000,   // columns other than 0 may be dragged to another place in the header
    TLX_ONECHECKED = 0x2000,       // checking an item unchecks the one checked last
    TLX_EDITARROWS = 0x4000,       // arrow keys at the edge of the editor end the edit and move on
    TLX_REVERSECHECKS = 0x8000,
    TLX_GRIDLINES = 0x10000,
    TLX_ALTERNATEROWS = 0x20000,
    TLX_CELLDROPHILITE = 0x40000,  // also: the caret moves by cells (with more than one column)
    TLX_FULLROWSELECT = 0x80000,
    TLX_CELLTIPS = 0x100000,
    TLX_NOTYPEAHEAD = 0x400000,
    TLX_FIXEDCOLUMNWIDTHS = 0x800000, // the header's dividers do not move
    TLX_NOHEADER = 0x1000000,
    TLX_DISABLEDCOLOURS = 0x2000000,
    TLX_INDENTROWCOLOUR = 0x4000000,
    TLX_NEIGHBOURWIDTH = 0x8000000, // a divider moved in the header takes the width from the next weighted column
    TLX_HOMEENDMOVECARET = 0x10000000,  // Ctrl+Home and Ctrl+End move the caret as without Ctrl
    TLX_KEEPIMAGELIST = 0x20000000,
    TLX_EDITONCLICK = 0x40000000,  // a click on the caret's text opens the editor
    TLX_EDITSELECTALL = 0x80000000, // a click that opens the editor selects the whole text
};

// State bits of items and cells beyond the tree view's (the state word of TVITEMA). A cell's state shares its
// low bits with the item's, but 0x20, 0x40 and 0x80 mean these in a cell.
enum : UINT {
    TLIS_CHECKBOXSHOWN = 0x20,     // cell of a check-box column: its text rectangle leaves the check box free
    TLIS_IMAGECHECK = 0x40,        // cell: its image is pressed like a check box (TLN_CHECKCHANGED at the button-up)
    TLIS_IMAGERIGHT = 0x80,        // cell: the image or check box sits at the right edge
    TLIS_MARKED = 0x4000,          // item: with TLX_SKIPMARKED its children are not shown
    TLIS_CHECKLOCKED = 0x8000,     // cell: with TLEF_LOCKEDCHECKS its check does not toggle
};

// Item-record mask bits beyond the tree view's.
enum : UINT {
    TLIF_STATERAW = 0x2000,        // state returned without masking
    TLIF_CELL = 0x8000,            // cell access: cChildren holds the column
    TLIF_NOCALLBACK = 0x10000,     // no call-back texts fetched; inserts queue their rows (worker threads)
    TLIF_EXTRAPARAM = 0x10000000,  // sorted inserts: lParam taken from TreeListInsertRecord::extra
    TLIF_TEXTPOINTER = 0x80000000, // get only: pszText receives a pointer to the control's own text
};

// Own insert positions and item values.
constexpr ULONG_PTR TLI_LAST = 0xFFFF0004;
constexpr ULONG_PTR TLI_NEXTTOPARENT = 0xFFFF0005;
constexpr ULONG_PTR TLI_BEFOREPARENT = 0xFFFF0006;
constexpr ULONG_PTR TLI_CALLERSORT = 0xFFFF0007;
constexpr ULONG_PTR TLI_SELECTEDCELL = 0xFFFF0008;   // TVM_ENSUREVISIBLE: the item of the selected cell
constexpr ULONG_PTR TLI_AFTERPINNED = 0xFFFF0009;    // TVM_DELETEITEM: the top-level items after option 4
constexpr ULONG_PTR TLI_CHILD = 0xFFE00000;          // + n: the n-th child position

// TVM_DELETEITEM modes in wParam.
enum : WPARAM {
    TLD_NOROWS = 0x87,
    TLD_CHILDREN = 0x88,
    TLD_QUEUED = 0x89,
    TLD_CHILDRENQUEUED = 0x8A,
};

// TVM_GETNEXTITEM codes beyond the tree view's.
enum : UINT {
    TLGN_NEXTSELECTED = 11,
    TLGN_DROPCOLUMN = 12,
    TLGN_CARETCOLUMN = 13,
    TLGN_ROWBELOWLAST = 14,
    TLGN_SELECTEDCELLITEM = 15,
    TLGN_SELECTEDCELLCOLUMN = 16,
    TLGN_NEXTSELECTEDINSUBTREE = 17,
    TLGN_LASTCHILD = 18,
    TLGN_NEXTINTREE = 19,
    TLGN_ROWABOVELAST = 20,
    TLGN_NEXTCHECKED = 21,
    TLGN_PREVIOUSINTREE = 22,
};

// Range and match bits of TLM_COUNTRANGE / TLM_SETRANGE and the find key of TLM_FINDITEM.
enum : UINT {
    TLR_ITEM = 0x200000,
    TLR_ANCESTORS = 0x400000,
    TLR_SIBLINGS = 0x100000,
    TLR_DESCENDANTS = 0x2000000,
    TLR_ANY = 0x10,
    // TLM_SETRANGE: any of these bits makes the change conditional. The high halves of stateMask and state are
    // then the condition (an item changes only when its state under the one equals the other) and only the low
    // halves are set. Without them the whole state words are set, the span bits 16-31 included. (0x10000 keeps
    // its meaning TLIF_NOCALLBACK.)
    TLR_IFSTATE = 0xE0000,
    TLF_CHILDREN = 0x2000000,       // search the children of the start item
    TLF_AFTERSTART = 0x4000000,     // start after the start item
    TLF_CASELESS = 0x8000000,
    TLF_SUBTREE = 0x10000000,       // walk the subtree; (mask >> 8 & 0xFF) - 1 is the level limit
    TLF_EXPANDEDONLY = 0x1000000,
};

// Own notification codes.
enum : UINT {
    TLN_CELLTIP = 0U - 432U,
    TLN_CHECKCHANGED = 0U - 433U,
    TLN_CELLCHANGED = 0U - 434U,
    TLN_EDITREQUEST = 0U - 435U,
    TLN_LBUTTONUP = 0U - 436U,
    TLN_RBUTTONUP = 0U - 437U,
    TLN_COLUMNCHANGED = 0U - 438U,
    TLN_HEADERRCLICK = 0U - 439U,
    TLN_DROP = 0U - 440U,
    TLN_SCROLLED = 0U - 441U,
};

// Hit-test flags beyond the tree view's (TVM_HITTEST); a cell hit carries its column in bits 24-31.
enum : UINT {
    TLHT_ONTEXT = 0x40000,         // with TVHT_ONITEMLABEL: on the label text itself
    TLHT_ONCELLTEXT = 0x80000,     // with TLHT_ONCELLLABEL: on a cell's text
    TLHT_ONCELLRIGHT = 0x100000,   // in a cell, outside its image and text
    TLHT_ONCELLIMAGE = 0x200000,
    TLHT_ONCELLLABEL = 0x400000,
    TLHT_RIGHTOFCOLUMNS = 0x800000,
};
inline int HitColumn(UINT flags) { return static_cast<int>(flags >> 24); }

// Column edit settings (TLM_SETCOLUMNEDIT): wParam packs the edit flags, the mode, the column, the separator of
// a one-text list and the number of entries (0: up to 1,024); lParam is the list.
enum : UINT {
    TLEM_NONE = 0,
    TLEM_TEXT = 1,                 // edit box
    TLEM_LIST = 2,                 // editable combo box; the entry chosen sets the cell image (base + index)
    TLEM_LISTFIXED = 3,            // drop-down list; the entry chosen sets the cell image
    TLEM_COMBOFIXED = 4,           // drop-down list of texts
    TLEM_COMBO = 5,                // editable combo box of texts
    TLEM_CHECK = 6,                // check box, no editor
    TLEM_CHECKTEXT = 7,            // check box; characters edit the text
};
enum : UINT {
    TLEF_DBLCLICK = 0x02,          // a double click opens the editor
    TLEF_POINTERS = 0x08,          // the list is an array of text pointers, else one text with separators
    TLEF_NOCHARS = 0x10,           // characters do not open the editor
    TLEF_LOCKEDCHECKS = 0x20,      // a cell check with state bit TLIS_CHECKLOCKED does not toggle
    TLEF_IMAGECLICK = 0x40,        // a click on the cell image opens the editor or toggles the check
};
inline WPARAM TreeListColumnEdit(int column, UINT mode, UINT flags, char separator = '|', UINT count = 0) {
    return (flags & 0xFF) | (mode & 7) << 8 | (static_cast<UINT>(column) & 63) << 11 |
           static_cast<UINT>(static_cast<BYTE>(separator)) << 17 | (count & 127) << 25;
}

// The edit flags of an editor opened from code (TreeListEditFlags): column, text selection and editor kind.
enum : UINT {
    TLE_COLUMNMASK = 0xFF,
    TLE_SELECTATX = 0x4000000,     // caret at the character under x (bits 8-25)
    TLE_SELECTRANGE = 0x8000000,   // selection from bits 8-16 to bits 17-25
    TLE_COMBO = 0x20000000,
    TLE_DROPDOWNLIST = 0x40000000,
    TLE_FILLCELL = 0x80000000,     // the editor fills the cell and follows the column's alignment
};

// Edit request triggers (TLN_EDITREQUEST): a character, or one of these.
enum : UINT {
    TLET_CHARACTER = 0x1000000,    // + the character: a typed character offered to the label editor
    TLET_RETURN = 0x10000,
    TLET_CTRLRETURN = 0x10001,
    TLET_CLICK = 0x10002,
    TLET_PASTE = 0x10004,
};

// Editor commands: WM_COMMAND from the editor (id 3) to the control.
constexpr WPARAM kTreeListEditAccept = 0x15780003, kTreeListEditCancel = 0x15790003,
                 kTreeListEditTextSet = 0x10000003;

// TLN_DROP action word.
enum : UINT {
    TLDROP_COUNTMASK = 0xFFFFFF,
    TLDROP_CANCELLED = 0x1000000,  // added when Escape cancelled the drag
    TLDROP_OUTSIDE = 0x4000000,    // dropped outside the control
    TLDROP_BYMESSAGE = 0x20000000, // with OUTSIDE: the drag was started by TLM_STARTDRAG
};
inline UINT DropMode(UINT action) { return action >> 24 & 3; }
inline UINT DropResult(UINT action) { return action >> 30; }

// An item record with the extra word that sorted inserts and range operations read.
struct TreeListItemRecord {
    TVITEMA item;
    LPARAM extra;
};

// TVM_INSERTITEMA: a TVINSERTSTRUCTA whose item is followed by the extra word.
struct TreeListInsertRecord {
    HTREEITEM hParent;
    HTREEITEM hInsertAfter;
    TVITEMA item;
    LPARAM extra;
};

// Compare function of the TLI_CALLERSORT insert: item.hItem holds it, item.lParam its compareData.
// Negative: the new item goes before the probe.
typedef LRESULT(CALLBACK* TreeListInsertCompare)(HWND control, HTREEITEM probe, LPCSTR probeText,
                                                  LPCSTR newText, LPARAM newParam, LPARAM compareData);
// Compare function of TLM_SORTCHILDREN6. Negative: element first.
typedef LRESULT(CALLBACK* TreeListSortCompare)(HWND control, HTREEITEM element, HTREEITEM pivot,
                                                LPARAM elementParam, LPARAM pivotParam, LPARAM data);

// TLM_SETCELLCOLOR record: mode 0 text colour, 1 background colour.
struct TreeListCellColour {
    BYTE mode;
    BYTE column;
    BYTE spare[2];
    COLORREF colour;
};

// The owner-draw call-back of option 8, called for each cell of a column with mark 2.
struct TreeListDrawInfo {
    HWND window;
    HTREEITEM item;
    RECT* rect;           // left where the text would start, the row's top and bottom, the cell's right edge
    LPARAM lParam;
    LPCSTR text;          // 0 for a cell without a record
    int textLength;
    UINT state;           // TVIS_* bits, the second flag byte in bits 16-23
    int row;
    BYTE column;
    BYTE textTop;
    COLORREF textColour;
};
// 1: the cell is drawn; 2 or more: draw only the text, without filling; 0: draw as usual.
typedef int(CALLBACK* TreeListDrawCallback)(HDC dc, LPARAM context, TreeListDrawInfo* info);

// TLN_COLUMNCHANGED.
struct NMTREELISTCOLUMN {
    NMHDR hdr;
    int column;
    int position;
    int left;
    int width;
};

// TLN_SCROLLED, sent before the change: action 0 horizontal, 1 vertical; reason the scroll-bar code (11 for
// the wheel); the position and first row as they will be. A non-zero answer refuses the change.
struct NMTREELISTSCROLL {
    NMHDR hdr;
    WORD action;
    WORD reason;
    int scrollX;
    int firstRow;
};

// TLN_CHECKCHANGED and TLN_CELLCHANGED carry a tree-view record: action 0x10000 (0x10003 for a cell check),
// itemOld the item unchecked on the way (mask 0 for none), itemNew the item with its new state, its text
// pointer and length (cchTextMax) and the column in cChildren, ptDrag the point of the click.
using NMTREELISTCHECK = NMTREEVIEWA;

// TLN_EDITREQUEST: action the trigger, itemNew the item (text, state, lParam; column in cChildren), ptDrag the
// mouse. The answer 0 refuses; otherwise TLE_COMBO, TLE_DROPDOWNLIST and TLE_FILLCELL choose the editor, and
// the parent may hand combo entries back in entries/entryCount.
struct NMTREELISTEDITREQUEST {
    NMTREEVIEWA tree;
    const char* const* entries;
    int entryCount;
};

// TLN_HEADERRCLICK: where the header was clicked.
struct NMTREELISTHEADERCLICK {
    NMHDR hdr;
    HDHITTESTINFO hit;
};
