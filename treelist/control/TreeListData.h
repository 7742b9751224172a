// The records of the "TreeList" control: the per-window record and the item, cell and column records. Every
// file of the control includes this; nothing outside the control does.
#pragma once

#include "treelist/control/TreeList.h"
#include "treelist/control/TreeListLock.h"

#include <atomic>
#include <uxtheme.h>

// Item handles are small integers (1 to the table size) cast to HTREEITEM; 0 is no item. Handle-typed
// arguments are cut to their low 32 bits, so the sign-extended reserved values of 64-bit callers compare equal.
using ItemId = UINT;

inline ItemId ToItem(ULONG_PTR value) { return static_cast<ItemId>(value); }
inline ItemId ToItem(HTREEITEM item) { return static_cast<ItemId>(reinterpret_cast<ULONG_PTR>(item)); }
inline HTREEITEM ToHandle(ItemId item) { return reinterpret_cast<HTREEITEM>(static_cast<ULONG_PTR>(item)); }

constexpr ItemId kItemRoot = 0xFFFF0000, kItemFirst = 0xFFFF0001, kItemLast = 0xFFFF0002, kItemSort = 0xFFFF0003;
// Handles stop below this, so that an item and a column fit one wParam (item | column << 24).
constexpr UINT kMaxTableSize = 0xFFFFFF;
inline ItemId PackedItem(WPARAM wp) { return static_cast<ItemId>(wp & kMaxTableSize); }
inline int PackedColumn(WPARAM wp) { return static_cast<int>((wp >> 24) & 0xFF); }
inline WPARAM PackItemColumn(ItemId item, int column) { return item | static_cast<WPARAM>(column) << 24; }

// Item flag byte A: what comes by call-back.
enum : BYTE {
    kCallbackText = 0x01,
    kCallbackImage = 0x02,
    kCallbackSelectedImage = 0x20,
    kCallbackChildren = 0x40,
};

// Item flag byte B (the second flag byte, handed to painting in state bits 16-23); cells use 0x08-0x40.
enum : BYTE {
    kChildrenOpen = 0x01,     // children count not fixed: shows a button only once a child exists
    kHasChildren = 0x02,
    kHasImage = 0x04,
    kDropHilite = 0x08,
    kOwnTextColour = 0x10,
    kOwnBkColour = 0x20,
    kDottedFrame = 0x40,
    kFollowingSibling = 0x80, // a later sibling is shown below: the vertical tree line continues
};

// Item layoutFlags bits.
enum : BYTE {
    kBeingDeleted = 0x01,     // its TVN_DELETEITEMA is out: nested deletes stop at it
};

// The focus bit of item states (TVIS_FOCUSED of newer headers).
constexpr UINT kStateFocused = 0x0001;
// Item state bits that belong to the whole row: a cell is painted with the item's, and reading a cell's state
// leaves them out.
constexpr UINT kRowStates = TVIS_SELECTED | TVIS_EXPANDED | TVIS_EXPANDEDONCE | TVIS_EXPANDPARTIAL;
// Item state bits a new cell starts with: focus and bold.
constexpr UINT kCellInitialStates = kStateFocused | TVIS_BOLD;
// State bits that change how an image is drawn from its list: the overlay and the cut (blended) look.
constexpr UINT kImageStyleStates = TVIS_OVERLAYMASK | TVIS_CUT;
// The state image of a state word (bits 12-15).
inline UINT StateImageIndex(UINT state) { return (state & TVIS_STATEIMAGEMASK) >> 12; }

constexpr int kImageCallback = -1;
constexpr int kImageNone = -2;

// The user-data area (TLM_SETUSERDATASIZE) follows the record in the same block.
struct TreeListItem {
    LPARAM lParam;
    char* text;             // stored with the record or a heap copy, never null
    UINT state;             // TVIS_* low half, state image in bits 12-15, cell-span bits 16-31
    int image;
    int selectedImage;
    int textWidth;          // cached by layout and paint; 0 = not measured, below 0 = minus a guess (layout)
    UINT textLength;
    ItemId firstChild, lastChild, prevSibling, nextSibling;
    ItemId parent;
    UINT row;               // display row + 1; 0 = not shown
    USHORT level;
    BYTE callbacks;         // flag byte A
    BYTE flags;             // flag byte B
    BYTE paintFlags;        // further flag bytes for painting and layout
    BYTE layoutFlags;
    COLORREF bkColour, textColour;

    BYTE* UserData() { return reinterpret_cast<BYTE*>(this + 1); }
};

// Whether an item shows an expand button: an item whose children count comes by call-back by the parent's answer,
// any other by its has-children flag alone (insert, delete, move and TVIF_CHILDREN keep it current). Painting,
// the hit test and the hover expansion of a drag decide with this.
inline bool ShowsButton(const TreeListItem* it, int callbackChildren) {
    return (it->callbacks & kCallbackChildren) ? callbackChildren != 0 : (it->flags & kHasChildren) != 0;
}

struct TreeListCell {
    char* text;             // may be null: an empty text
    UINT state;
    int image;
    int textWidth;
    UINT textLength;
    BYTE callbacks;         // kCallbackText
    BYTE flags;             // kDropHilite, kOwnTextColour, kOwnBkColour, kDottedFrame
    COLORREF bkColour, textColour;
};

struct TreeListColumn {
    LPARAM editList;        // first edit parameter
    LPARAM editBase;        // second edit parameter
    int requested;          // width asked for, or the accumulated share of a weighted column
    int width;              // actual width, shown and given to the header
    int minWidth;
    int fixedWidth;         // non-zero: a fixed-width column; 0: weighted
    int remembered;         // width kept while the column is collapsed (0 = not collapsed)
    BYTE weight;
    BYTE position;          // display position
    BYTE align;             // 0 left, 1 centre, 2 right
    BYTE editMode, editFlags, listCount, separator;
    bool keepMinimum;       // cleared by a negative minimum in the column record
    bool mark1, mark2;
};

// Image-list kinds of TVM_SETIMAGELIST.
enum ImageKind : int { kImagesItem = 0, kImagesNone = 1, kImagesState = 2, kImagesState2 = 3, kImagesCell = 4,
                       kImagesHeader = 5, kImageKinds = 6 };

// Colour indexes of the colour table.
enum ColourIndex : int {
    kColourBack = 0, kColourOdd = 1, kColourEven = 2, kColourGrid = 3, kColourText = 4, kColourLines = 5,
    kColourButtonFrame = 6, kColourHotText = 7, kColourSelectedOdd = 8, kColourSelectedEven = 9,
    kColourInsertMark = 10, kColourButtonFace = 11, kColourMarked = 12, kColourMarkedOdd = 13,
    kColourMarkedEven = 14, kColourDisabled = 15, kColourSeparator = 16, kColourUnfocusedBox = 17,
};

struct DeferredOp;

struct TreeListData {
    // identity
    HWND window;
    TreeListLock lock;
    std::atomic<LONG> refs;
    std::atomic<bool> dying;
    DWORD ownerThread;         // the window's own thread
    DWORD style;
    DWORD exStyle;             // the control's extended-style word

    // visual style
    HTHEME treeTheme;
    HTHEME checkTheme;
    bool drawThemed;

    // image lists; ownImages[k]: the control made list k and destroys it. The themed check-box marker is a
    // flag of its own, never a list handle.
    HIMAGELIST images[kImageKinds];
    bool ownImages[kImageKinds];
    bool themedChecks[kImageKinds];
    SIZE imageSize[kImageKinds];

    // fonts
    HFONT font;                // set by WM_SETFONT, 0 = none
    HFONT measuredFont;
    HFONT boldFont;
    HFONT ownBoldFont;
    int textHeight;
    int ascentPlus1;
    int pitchFix;              // -1 fixed pitch, 0 variable
    int ellipsisWidth, boldEllipsisWidth;
    // advance widths of the two fonts' characters, for guessing many text widths at once (TreeListMeasure.cpp)
    struct WidthTable {
        HFONT font;            // 0: not built yet
        bool trusted;          // the widths add up to what DrawTextExA measures
        USHORT width[256];
    } widthTables[2];

    // child windows
    HWND editor;
    HWND header;
    HWND tooltip;

    // colours
    COLORREF colours[kTreeListColours];
    bool colourSet[kTreeListColours];
    COLORREF userColours[kTreeListUserColours];

    // metrics
    int rowHeight;
    bool rowHeightSet;
    int indent;
    int lineOffset;            // from the left of an indent slot to its line and button centre
    int buttonHalf;
    int headerHeight;
    int clientWidth, clientHeight;
    int scrollX;
    UINT firstRow;
    UINT rowsTouched, wholeRows;

    // tree
    TreeListItem** items;                 // indexed by handle, entry 0 unused
    TreeListCell** cells[kTreeListMaxColumns];  // per column 1..31, indexed by handle
    UINT tableSize;
    UINT itemCount;
    ItemId lastHandle;
    ItemId firstRoot, lastRoot;
    UINT userDataSize;

    // display rows
    ItemId* rows;
    UINT rowCount;

    // selection and focus
    ItemId caretItem;
    int caretColumn;
    UINT selectedCount;
    ItemId selCellItem;
    int selCellColumn;
    ItemId dropItem;
    int dropColumn;
    ItemId dropTarget;         // internal drag target (kItemLast for the place below the last row)
    int dropTargetColumn, dropTargetSpan;
    int dropBarOffset, dropBarHeight;
    ItemId dragItem;
    UINT dragFlags;
    ItemId hotItem;
    ItemId hotCheckItem;
    int hotCheckColumn;
    bool hotCheckPressed;
    ItemId anchorItem;         // where a Shift range starts
    ItemId lastChecked;        // the item checked last (one-checked-item mode)
    bool skipNextChar;         // the parent answered the last TVN_KEYDOWN non-zero: the next WM_CHAR is ignored
    bool quietExpand;          // no TVN_ITEMEXPANDINGA / TVN_ITEMEXPANDEDA while set
    bool batchRows;            // an expand walk runs: rows are rebuilt once at its end, from batchFrom
    ItemId batchFrom;

    // columns
    int columnCount;
    TreeListColumn columns[kTreeListMaxColumns];
    BYTE order[kTreeListMaxColumns];      // display position -> column
    int left[kTreeListMaxColumns];        // column edges by column number, from the left of the item area
    int right[kTreeListMaxColumns];
    int lastRight;                        // right edge of the last shown column
    int weightSum;
    int fixedSum, weightedSum;
    int markedColumns;
    WORD joinMask;

    // layout and scroll bars
    int widestRow;
    int hScrollMax, hScrollPage;
    UINT vScrollCount, vScrollWhole;
    DWORD vScrollTick;
    bool hHasRange;
    bool refreshQueued;        // a scroll-bar refresh waits in the deferred queue
    bool settingVBar;          // the vertical bar's values are being set (a shown bar's WM_SIZE comes in meanwhile)

    // deferred operations
    DeferredOp* deferredHead;
    DeferredOp* deferredTail;
    ItemId deferredRowsLast;     // the last item the row rebuild at the tail covers (DeferRowsAfterInsert)
    bool deferredPosted;

    // buffers
    char* textBuffer;                     // kTextBufferSize bytes
    char dispBuffer[2][260];
    int* fitBuffer;                        // character positions for cutting long texts
    int fitBufferSize;
    ItemId* scratch;                       // sibling lists of sorted inserts
    UINT scratchSize;

    // switches
    bool focused;
    bool enabled;
    bool redrawOff;
    bool linesAtRoot;
    DWORD sortThread;          // thread of a running sorted insert or sort; its re-entrant changes are refused
    std::atomic<UINT> sortProgress;  // counts a running sort's compares: a waiting thread sees it advance
    LONG_PTR options[17];      // TLM_OPTION values by number

    // mouse: the last hit test, the own double click, the drag candidate and the pending click work
    TVHITTESTINFO hit;
    bool pressRecorded;
    DWORD pressTick;
    POINT pressPoint;
    UINT candidateButtons;     // bit 0 left, bit 1 right
    ItemId candidateItem;
    int candidateColumn;
    LPARAM lastMove;           // the last mouse-move position, packed as in lParam
    bool pendingSelect;        // a click on a selected item selects at the button-up
    bool editOnRelease;
    bool ctrlAnchor;           // the last Ctrl-click set the anchor of the next Shift-click
    bool leaveTracked;         // TME_LEAVE requested
    ItemId pressedCheckItem;   // a check-style cell pressed with the left button
    int pressedCheckColumn;
    ItemId insertMark;

    // tooltip (control id 2)
    WNDPROC tipProc;
    ItemId tipItem;
    int tipColumn;
    int tipCountdown;          // 500 ms ticks before a delayed tip shows
    POINT tipPos;              // screen
    char* tipText;
    size_t tipCapacity;
    HFONT tipFont;

    // in-place editor (control id 3)
    int editorKind;            // 0 edit box, 1 editable combo box, 2 drop-down list
    ItemId editItem;
    int editColumn;
    WNDPROC editorProc;
    HWND editorChild;          // the edit field of a combo box
    WNDPROC editorChildProc;
    bool editChanged;
    bool editCallbackText;
    bool editBeginning;        // the parent is asked with TVN_BEGINLABELEDITA: the editor is made, not yet shown

    // internal drag
    UINT dragKeys;             // MK_* of the last feedback
    POINT dragPos;             // client position of the last feedback
    BYTE autoScrollMode;
    int autoScrollTicks;
    int hoverTicks;
};

// Control ids of the child windows: the column header and the in-place editor (the tooltip's is 2).
constexpr int kHeaderId = 1, kEditorId = 3;

// "at most 253 characters before the ..." plus the ellipsis and the terminator.
constexpr int kTextBufferSize = 260;

// Item access by handle: null for 0, a handle past the table or a free entry.
inline TreeListItem* Item(const TreeListData* d, ItemId item) {
    return item && item <= d->tableSize ? d->items[item] : nullptr;
}
inline TreeListCell* Cell(const TreeListData* d, ItemId item, int column) {
    return column > 0 && column < d->columnCount && d->cells[column] && item && item <= d->tableSize
               ? d->cells[column][item]
               : nullptr;
}
inline bool IsOwnerThread(const TreeListData* d) { return GetCurrentThreadId() == d->ownerThread; }
