// Per-window state of the "ToolbarExWindow32" control and the operations its parts share. Layout, image
// lookup and the tables work on the state alone, so they run without a window as well.
#pragma once

#include "ui/toolbar/ToolbarEx.h"

#include <algorithm>
#include <vector>

// Look word of a button: bits 0-2 the look, the rest marks of measuring, layout and painting.
enum : WORD {
    kLookMask = 0x0007,
    kLookFixed = 0x0010,         // never joins a stack
    kLookValid = 0x0020,         // the measured size is current
    kLookHasImage = 0x0040,
    kLookTextBelow = 0x0080,
    kLookGroupCaption = 0x0100,
    kLookTextRight = 0x0200,
    kLookBand = 0x0400,          // the row's bottom text band is reserved
    kLookRerender = 0x0800,      // the look frames must be drawn again
    kLookStacked = 0x1000,
    kLookStackHead = 0x2000,
    kLookStackEnd = 0x4000,
    kLookTextOnlyBelow = 0x8000,
};
// Looks (frame numbers of the strip).
enum : WORD {
    kLookNormal = 0, kLookChecked = 1, kLookHot = 2, kLookHotChecked = 3, kLookDisabled = 4,
    kLookDisabledChecked = 5, kLookDropHot = 6, kLookDropHotChecked = 7,
};

// Dirty flags.
enum : BYTE {
    kDirtyMeasure = 0x01,
    kDirtyLayout = 0x02,
    kDirtyMetrics = 0x04,
    kDirtyScale = 0x08,
    kDirtyRelayout = kDirtyMeasure | kDirtyLayout,
    kDirtyAll = kDirtyMeasure | kDirtyLayout | kDirtyMetrics,
};

// One button. The leading fields have the TBBUTTON layout; TB_GETBUTTON copies them out.
struct ToolbarButton {
    int iBitmap;
    int idCommand;
    BYTE fsState;
    BYTE fsStyle;
    WORD extra;               // TBXF_* (the first two reserved bytes of TBBUTTON)
    BYTE reserved[sizeof(TBBUTTON) - 12 - 2 * sizeof(void*)];
    DWORD_PTR dwData;
    INT_PTR iString;
    // Everything below is zeroed when the button is inserted.
    WORD look;
    WORD content;             // low 10 bits: x where the content ends; high 6 bits: drop-arrow width
    BYTE framesDone;          // bit k: frame k of the strip is drawn
    WORD laidW, laidH;        // size in the current layout
    WORD measW, measH;        // size from the last measuring
    RECT rect;                // client coordinates
    BITMAPINFOHEADER* strip;  // look frames (painting)
    HBITMAP stripBitmap;
    BYTE* stripPixels;
};
static_assert(offsetof(ToolbarButton, look) == sizeof(TBBUTTON), "record starts with a TBBUTTON");
static_assert(offsetof(ToolbarButton, dwData) == offsetof(TBBUTTON, dwData), "TBBUTTON layout");
static_assert(offsetof(ToolbarButton, iString) == offsetof(TBBUTTON, iString), "TBBUTTON layout");

// One text of the string table.
struct ToolbarString {
    WORD length;
    WCHAR text[1];
};
constexpr int kToolbarMaxString = 256;

// One image found by the marker-column split, in picture coordinates (top-left origin).
struct ToolbarSplitImage {
    WORD x, y, width, height;
    bool ruler;               // the first column is the ruler, not part of the picture
};

// Bitmap record flags.
enum : WORD {
    kBitmapFixedCount = 0x02,
    kBitmapSplit = 0x04,
    kBitmapSplitDone = 0x08,
    kBitmapOwnsHandle = 0x10,
};

// One image strip (one TB_ADDBITMAP).
struct ToolbarBitmap {
    HINSTANCE module;
    UINT_PTR id;              // resource id or bitmap handle
    BITMAPINFOHEADER* image;  // image record
    BYTE* pixels;
    WORD flags;
    int stride;
    WORD count;
    WORD scale;               // 1/256 units
    WORD imageWidth;          // fixed records
    WORD imageHeight;
    int splitColumn;          // next column the split examines
    std::vector<ToolbarSplitImage> found;
};

// One image looked up through the bitmap table.
struct ToolbarImageRef {
    ToolbarBitmap* bitmap;
    int record;               // index into the bitmap table
    int index;                // image index within the record
    int x, y, width, height;  // picture coordinates in the strip, ruler column excluded
};

struct ToolbarLabel {
    ToolbarLabel* next;
    short x, y;               // position computed by painting
    DWORD key;
    short dx, dy;
    DWORD flags;              // low byte TBXL_* | 0x80 (recompute the position), bits 8-15 a tag
    WCHAR text[1];
};
constexpr BYTE kLabelRecompute = 0x80;


struct ToolbarState {
    HWND wnd;
    CRITICAL_SECTION lock;
    HANDLE theme[2];
    HFONT font;                // from WM_SETFONT; null = the shared default font
    HFONT measuredFont;
    int fontHeight;            // tmHeight
    int fontAscent1;           // tmAscent + 1
    int lineHeight;            // text line height
    HWND targets[3];
    COLORREF keyColors[2];
    COLORREF colors[9];
    bool colorSet[9];
    int indent;
    int minWidth, maxWidth;    // -1 = no limit
    int buttonWidth, buttonHeight;
    int bitmapWidth, bitmapHeight;
    int padX, padY;
    int gap, gap2;             // list gap, second gap
    ToolbarBitmap** bitmaps;
    int bitmapCapacity, bitmapCount;
    ToolbarButton** buttons;
    int buttonCapacity, buttonCount;
    ToolbarString** strings;
    int stringCapacity, stringCount;
    ToolbarLabel* labels;
    UINT buttonStructSize;
    int scale;                 // global image scale, 1/256
    bool dropPressed;
    int hot;                   // -1 none
    int markIndex;             // insert mark, -1 none
    DWORD markFlags;
    RECT markRect;
    int idealWidth, idealHeight;
    int rows;
    int endPos;
    int clientWidth, clientHeight;
    DWORD style;
    DWORD exStyle;
    int bitsPerPixel;
    bool deep;                 // more than 8 bits per pixel
    bool enabled;
    BYTE lastKeys;
    bool dropPart;             // the hot part is the drop-down part
    bool focus;
    bool themed;
    BYTE dirty;
    bool vertical;
    bool rowFlow;
    HDC measureDC;                 // memory DC with measureFont selected, for measuring texts
    HFONT measureFont;
    BITMAPINFOHEADER* scratch[2];  // working images of painting, kept between buttons
    BYTE* scratchBits[2];
};

// --- Memory (replaceable so that tests can make allocations fail) ---
using ToolbarAllocFn = void* (*)(size_t size);
ToolbarAllocFn SetToolbarAllocator(ToolbarAllocFn alloc);  // returns the previous one; null restores malloc
void* ToolbarAlloc(size_t size);                            // zeroed
void ToolbarFree(void* block);

// --- Lifetime (ToolbarWindow.cpp) ---
ToolbarState* CreateToolbarState(HWND wnd);  // zeroed state with its lock and defaults; null without memory
void DestroyToolbarState(ToolbarState* s);   // frees the tables, the labels and the state
// WM_NCCREATE: makes the window's state and takes the shared resources; false without memory for the state.
bool AttachToolbarState(HWND wnd);
void DetachToolbarState(HWND wnd, ToolbarState* s);  // WM_NCDESTROY: the reverse
void FreeToolbarTables(ToolbarState* s);             // the buttons, bitmaps and strings with their tables
void SetToolbarDefaults(ToolbarState* s);
void ComputeToolbarColors(ToolbarState* s);
bool UpdateToolbarFontMetrics(ToolbarState* s);  // true when the metrics changed
HFONT ToolbarFont(const ToolbarState* s);
HFONT GetToolbarSharedFont(bool bold);

// The state lock. Leave reports a release by a thread that does not hold it and then leaves it alone.
void LockToolbar(ToolbarState* s);
void UnlockToolbar(ToolbarState* s, int site);
// Holds the lock for a scope; site names the release for the unlock check.
class ToolbarLock {
public:
    ToolbarLock(ToolbarState* s, int site) : m_state(s), m_site(site) { LockToolbar(s); }
    ~ToolbarLock() { UnlockToolbar(m_state, m_site); }
    ToolbarLock(const ToolbarLock&) = delete;
    ToolbarLock& operator=(const ToolbarLock&) = delete;

private:
    ToolbarState* m_state;
    int m_site;
};
int ToolbarPaintDepth();  // 32 above 8 bits per pixel on the screen, else the screen's depth

// --- Buttons (ToolbarButtons.cpp) ---
int ResolveButton(const ToolbarState* s, WPARAM value);        // addressed form; -1 when not found
int ResolveButtonIndex(const ToolbarState* s, WPARAM value);   // plain index unless IsToolbarReference
inline ToolbarButton* ButtonAt(const ToolbarState* s, int i) {
    return (i >= 0 && i < s->buttonCount) ? s->buttons[i] : nullptr;
}
int InsertToolbarButton(ToolbarState* s, int index, const TBBUTTON* source, bool clearExtra, bool invalidate = true);
bool DeleteToolbarButton(ToolbarState* s, int index, bool invalidate = true);
void ClearToolbarButtons(ToolbarState* s);  // frees every button at once, as the window goes
int AddToolbarButtons(ToolbarState* s, WPARAM wParam, const TBBUTTON* source, bool clearExtra);
int FindCheckedInGroup(const ToolbarState* s, int index);
// Unchecks the button of index's group that is checked; false (and nothing done) when that is index itself.
bool ReleaseGroupCheck(ToolbarState* s, int index);
int FindWindowButton(const ToolbarState* s, HWND child);  // the button that holds the window; -1 when none
WORD RestingLook(const ToolbarButton* b);
void RefreshButtonLook(ToolbarState* s, int index);
void InvalidateButton(ToolbarState* s, int index);
void InvalidateToolbar(ToolbarState* s);
void MarkButtonForLayout(ToolbarState* s, int index);   // re-measure, dirty 3, invalidate all
bool IsButtonVisible(const ToolbarButton* b);
inline bool IsSeparator(const ToolbarButton* b) { return (b->fsStyle & BTNS_SEP) != 0; }
inline bool IsWrapped(const ToolbarButton* b) { return (b->fsState & TBSTATE_WRAP) != 0; }
// Single fields of one button (lock held); each returns the old value or the message's failure result.
LRESULT SetButtonStateStyle(ToolbarState* s, int index, UINT value);
LRESULT SetButtonImage(ToolbarState* s, int index, int image);
LRESULT SetButtonData(ToolbarState* s, int index, DWORD_PTR data);
LRESULT SetButtonFlags(ToolbarState* s, int index, WORD value, WORD mask);
LRESULT SetButtonFixedWidth(ToolbarState* s, int index, int width);
LRESULT SetButtonStringIndex(ToolbarState* s, int index, INT_PTR stringIndex);
LRESULT SetButtonCommand(ToolbarState* s, int index, int command);

// --- Strings and labels (ToolbarStrings.cpp) ---
const ToolbarString* ButtonString(const ToolbarState* s, const ToolbarButton* b);
int AddToolbarStrings(ToolbarState* s, WPARAM wParam, LPARAM lParam, bool wide);
int AddToolbarString(ToolbarState* s, const WCHAR* text, int length);
int FindToolbarString(const ToolbarState* s, const WCHAR* text, int length, int first, int count);
void FreeToolbarStrings(ToolbarState* s);
LRESULT SetButtonText(ToolbarState* s, int index, const void* text, bool wide);  // TBX_SETBUTTONTEXTW/A
// Copies a text into out with a terminating NUL: size bytes in the ANSI code page, or size WCHARs when wide.
// Returns the characters before the NUL.
int CopyToolbarText(void* out, int size, const WCHAR* text, int length, bool wide);
void FreeToolbarLabels(ToolbarState* s);

// --- Bitmaps (ToolbarBitmaps.cpp) ---
void FreeToolbarBitmap(ToolbarBitmap* bitmap);
void RemoveToolbarBitmaps(ToolbarState* s);

// --- Image strips (ToolbarImageStrip.cpp) ---
bool SplitImageStrip(ToolbarBitmap* bitmap, int index);  // advances the split; true when the image exists
int CountSplitImages(ToolbarBitmap* bitmap);             // runs the split to its end
bool FindButtonImage(ToolbarState* s, int globalIndex, ToolbarImageRef* out);
// A 32-bit picture with an alpha value in any of its pixels: drawn as it is, without key colour. Decided per
// picture, so that a strip may mix pictures with and without alpha.
bool ToolbarImageHasAlpha(const ToolbarImageRef& ref);
// The size the image is drawn in: the global and the strip's scale apply above 8 bits per pixel. True when
// it is scaled.
bool ScaledImageSize(const ToolbarState* s, const ToolbarImageRef& ref, int* width, int* height);

// --- Mouse, hit test and insert mark (ToolbarMouse.cpp) ---
constexpr LRESULT kHitDropPart = 0x40000000;
int ToolbarHitTest(ToolbarState* s, POINT pt, bool withDropPart);
void TrackHotButton(ToolbarState* s, int hit, BYTE keys);
void UpdateInsertMark(ToolbarState* s, int index, DWORD flags, bool invalidate);

// --- Layout (ToolbarLayout.cpp, ToolbarLayoutPass.cpp) ---
enum : int { kLayoutMeasure = 1, kLayoutRowFlow = 2, kLayoutOnePerRow = 4 };
// Lays the buttons out (kLayoutMeasure: only measures, returning width | height << 16).
LRESULT LayoutToolbar(ToolbarState* s, int mode);
// 1: size and placement as before; 2: the placement changed; 3: measured anew.
int MeasureButton(ToolbarState* s, ToolbarButton* b, bool rowFlow);
BOOL GetChildWindowSize(HWND window, int* width, int* height);
void StackSmallButtons(ToolbarState* s, int first, int end, int available);
LRESULT FitToolbar(ToolbarState* s, int extent, UINT flags);
void EnsureToolbarLayout(ToolbarState* s);  // LayoutToolbar(0) when any dirty flag is set
int DropArrowWidth(int imageHeight);
// MeasureTextW in the control's font: width | height << 16.
LRESULT MeasureToolbarText(ToolbarState* s, const WCHAR* text, int length, UINT format);

// --- Painting (ToolbarPaint.cpp) ---
void PaintToolbar(HWND wnd, HDC hdc, const RECT* rect);
void PaintToolbarState(ToolbarState* s, HDC hdc, const RECT* rect);
// Draws the frames of mask (bit k: frame k) that are not drawn yet, through the caller's memory DC.
void RenderButtonFrames(ToolbarState* s, int index, HDC memoryDC, int mask);
void FreeToolbarScratch(ToolbarState* s);
// Where the button's content ends (and its drop-down arrow), as painting places it.
void UpdateButtonContent(ToolbarState* s, int index);
// ToolbarButton::content: the content's end in the low 10 bits, the drop-arrow width in the high 6.
constexpr int kContentEndMax = 0x3FF, kArrowShift = 10, kArrowWidthMax = 63;
inline WORD PackButtonContent(int end, int arrow) {
    return (WORD)(std::clamp(end, 0, kContentEndMax) | (std::min(arrow, kArrowWidthMax) << kArrowShift));
}
inline int ButtonContentEnd(const ToolbarButton* b) { return b->content & kContentEndMax; }
inline int ButtonArrowWidth(const ToolbarButton* b) { return b->content >> kArrowShift; }
void FreeButtonStrip(ToolbarButton* b);
void DrawToolbarLabel(ToolbarState* s, HDC hdc, int x, int y, const WCHAR* text);

inline ToolbarState* GetToolbarState(HWND wnd) { return (ToolbarState*)GetWindowLongPtrA(wnd, 0); }
