// A small resizable popup that shows a sorted list of strings: a popup frame holding a
// list box and a scroll bar, with a size grip, hot tracking and wheel scrolling.
#pragma once

#include <windows.h>

// Messages of the popup frame besides the list-box messages (LB_ADDSTRING to
// LB_GETLISTBOXINFO), which it passes to its list.
constexpr UINT PLM_ADDSTRING = 382;     // as LB_ADDSTRING
constexpr UINT PLM_INSERTSTRING = 383;  // as LB_INSERTSTRING

// A wParam carrying this tag in bits 16-30 hands over a text block from the process heap
// (HeapAlloc(GetProcessHeap())), which the popup frees once the list has copied it. So
// another thread may post strings. The low 16 bits (and bit 31 for -1) keep the index.
constexpr UINT POPUPLIST_TEXT_TAG = 0x12340000;
constexpr UINT POPUPLIST_TAG_MASK = 0x7FFF0000;

constexpr int POPUPLIST_LIST_ID = 4681;

// Creates the popup (hidden unless style has WS_VISIBLE) at rect in screen coordinates
// (null: empty). Notifications of the list reach the owner as WM_COMMAND with id.
// Returns the frame window, or 0.
HWND CreatePopupList(DWORD exStyle, DWORD style, const RECT* rect, HWND owner, UINT id);

// Posts a heap copy of text (at most length characters, -1: up to the NUL) to the popup as
// a tagged PLM_ADDSTRING; one retry after 10 ms. Callable from any thread. When the post
// fails the copy is freed and false returned.
bool PostPopupListText(HWND popup, LPCSTR text, int length);

// The function through which the popup frees the text blocks handed to it (by default HeapFree on
// the process heap). Tests put in their own to see which blocks go; it returns the one it replaces.
using PopupListBlockFree = void (*)(void* block);
PopupListBlockFree SetPopupListBlockFree(PopupListBlockFree free);
