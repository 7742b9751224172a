// The message handlers of the "ToolbarExWindow32" control, which the window procedure's table
// (ToolbarWndProc.cpp) calls with the decoded parameters, grouped by the file that holds them. Each handler
// takes the state's lock itself, where it needs it, and answers the message; the few that may leave a message
// to DefWindowProcA answer a ToolbarAnswer, empty for that.
#pragma once

#include "ui/toolbar/ToolbarState.h"

#include <optional>
#include <type_traits>

using ToolbarAnswer = std::optional<LRESULT>;
constexpr std::nullopt_t kPassOn = std::nullopt;

// Finds a button from a message's wParam: ResolveButtonIndex or ResolveButton.
using ButtonResolver = int (*)(const ToolbarState* s, WPARAM value);

// --- The window as a whole (ToolbarWindowMessages.cpp) ---
LRESULT OnCreate(ToolbarState* s);
LRESULT OnDestroy(ToolbarState* s);
LRESULT OnSize(ToolbarState* s, int width, int height);
LRESULT OnSetFocus(ToolbarState* s);
LRESULT OnEnable(ToolbarState* s, bool enable);
LRESULT OnSysColorChange(ToolbarState* s);
LRESULT OnSetFont(ToolbarState* s, HFONT font);
LRESULT OnStyleChanged(ToolbarState* s, WPARAM which, const STYLESTRUCT* change);
LRESULT OnDrawItem(ToolbarState* s, WPARAM id, LPARAM item);
LRESULT OnChildNotify(ToolbarState* s, WPARAM wParam, NMHDR* header);
LRESULT OnChildCommand(ToolbarState* s, WPARAM wParam, HWND child);
LRESULT SetTarget(ToolbarState* s, HWND window, LPARAM selector);  // TB_SETPARENT

// --- Metrics and colours (ToolbarMetrics.cpp) ---
LRESULT SetButtonStructSize(ToolbarState* s, UINT size);
LRESULT SetButtonSize(ToolbarState* s, int width, int height);
LRESULT SetBitmapSize(ToolbarState* s, int width, int height);
LRESULT SetPadding(ToolbarState* s, int x, int y);
LRESULT SetListGap(ToolbarState* s, int gap, LPARAM second);
LRESULT SetIndent(ToolbarState* s, int indent);
LRESULT SetWidthLimits(ToolbarState* s, int low, int high);  // TB_SETBUTTONWIDTH
LRESULT SetDirty(ToolbarState* s, BYTE flags, bool invalidate);
LRESULT KeyColor(ToolbarState* s, UINT which, COLORREF color);
LRESULT SetColor(ToolbarState* s, WPARAM slot, COLORREF color);
LRESULT SetScale(ToolbarState* s, WPARAM which, int scale);

// --- Layout (ToolbarLayout.cpp) ---
LRESULT GetIdealSize(ToolbarState* s);
LRESULT FitToSize(ToolbarState* s, int extent, UINT flags);

// --- Painting (ToolbarPaint.cpp) ---
LRESULT OnPaint(ToolbarState* s, HDC hdc);  // hdc null: the window's update region

// --- Buttons (ToolbarButtonMessages.cpp) ---
LRESULT SetStateBit(ToolbarState* s, UINT msg, WPARAM button, bool on);  // TB_ENABLEBUTTON ... TB_MARKBUTTON
LRESULT IsStateBit(ToolbarState* s, UINT msg, WPARAM button);           // TB_ISBUTTONENABLED ... HIGHLIGHTED
LRESULT AddButtons(ToolbarState* s, UINT msg, WPARAM count, const TBBUTTON* buttons, bool clearExtra);
LRESULT InsertButton(ToolbarState* s, UINT msg, int index, const TBBUTTON* button, bool clearExtra);
LRESULT DeleteButton(ToolbarState* s, WPARAM button);
LRESULT CommandToIndex(ToolbarState* s, WPARAM button);
LRESULT FindWindowMessage(ToolbarState* s, HWND child);
LRESULT GetButton(ToolbarState* s, WPARAM button, TBBUTTON* out);
LRESULT GetItemRect(ToolbarState* s, WPARAM button, ButtonResolver resolve, RECT* out);
LRESULT ChangeBitmap(ToolbarState* s, WPARAM button, int image);
LRESULT GetButtonInfo(ToolbarState* s, WPARAM button, TBBUTTONINFOW* info, bool wide);
LRESULT SetButtonInfo(ToolbarState* s, WPARAM button, const TBBUTTONINFOW* info, bool wide);
LRESULT ModifyRange(ToolbarState* s, UINT msg, WPARAM range, LPARAM change);  // TBX_MODIFYSTYLE/STATE/FLAGS
LRESULT CountButtons(ToolbarState* s, WPARAM range, LPARAM match);
LRESULT GetCommands(ToolbarState* s, int max, DWORD* out);
LRESULT DeleteButtons(ToolbarState* s, INT_PTR first, INT_PTR end);

// The field of a button that a single-field message reads.
enum class ButtonField { kState, kStateStyle, kCommand, kImage, kStringIndex, kFlags, kData };
// Reads a field of the button under the lock; failure when there is none.
LRESULT GetButtonField(ToolbarState* s, UINT msg, WPARAM button, ButtonResolver resolve, ButtonField field,
                       LRESULT failure);
// Changes a field of the button (by ResolveButtonIndex) through its setter (ToolbarState.h), under the lock.
template <class... Args>
LRESULT ChangeButton(ToolbarState* s, UINT msg, WPARAM button, LRESULT (*set)(ToolbarState*, int, Args...),
                     std::type_identity_t<Args>... args) {
    ToolbarLock lock(s, (int)msg);
    return set(s, ResolveButtonIndex(s, button), args...);
}

// --- Mouse, hit test and insert mark (ToolbarMouse.cpp) ---
LRESULT OnMouseMove(ToolbarState* s, POINT pt, BYTE keys);
LRESULT OnLeftDown(ToolbarState* s, POINT pt, BYTE keys);
LRESULT OnLeftUp(ToolbarState* s, POINT pt, BYTE keys);
ToolbarAnswer OnRightDown(ToolbarState* s, UINT msg, POINT pt, BYTE keys);  // tracks, then passes on
ToolbarAnswer OnRightUp(ToolbarState* s, POINT pt, BYTE keys);              // passes on off the buttons
LRESULT OnMouseLeave(ToolbarState* s);
ToolbarAnswer OnTimer(ToolbarState* s, UINT_PTR id);  // passes kToolbarTrackTimer on
LRESULT TrackMouse(ToolbarState* s);                   // TBX_TRACKMOUSE
LRESULT HitTestMessage(ToolbarState* s, WPARAM flag, const POINT* pt);
LRESULT SetInsertMark(ToolbarState* s, const TBINSERTMARK* mark);
LRESULT InsertMarkHitTest(ToolbarState* s, const POINT* pt, TBINSERTMARK* out);

// --- Strings and labels (ToolbarStrings.cpp) ---
LRESULT AddStrings(ToolbarState* s, UINT msg, WPARAM source, LPARAM text, bool wide);
LRESULT GetButtonText(ToolbarState* s, WPARAM button, void* out, bool wide);
LRESULT GetString(ToolbarState* s, WPARAM wParam, void* out, bool wide);
LRESULT RemoveStrings(ToolbarState* s, UINT first, UINT count);
LRESULT FindString(ToolbarState* s, WPARAM range, const void* text, bool wide);
LRESULT AddLabel(ToolbarState* s, const TBXLABEL* desc, const void* text, bool wide);
LRESULT RemoveLabelByKey(ToolbarState* s, WPARAM key);

// --- Bitmaps (ToolbarBitmaps.cpp) ---
LRESULT AddBitmap(ToolbarState* s, WPARAM wParam, TBADDBITMAP* source);
LRESULT ReplaceBitmap(ToolbarState* s, WPARAM scale, const TBREPLACEBITMAP* replace);
LRESULT CountImages(WPARAM source, LPARAM lParam);
LRESULT GetBitmapInfo(ToolbarState* s, WPARAM range, TBXBITMAPINFO* out);
LRESULT RemoveBitmaps(ToolbarState* s);
