#include "ui/popup/PopupList.h"

#include "image/FontCache.h"
#include "ui/popup/PopupPlacement.h"

#include <windowsx.h>

#include <atomic>
#include <cstring>
#include <new>

namespace {

// Per popup, reached through the frame's GWLP_USERDATA.
struct PopupListState {
    WNDPROC previousProc;
    HWND list;
    HWND scrollBar;
    WORD id;
    int clientHeight;
    int clientWidth;
    int scrollBarWidth;
    int pageSize;
    int dragWidth, dragHeight, dragX, dragY;
    bool resizing;
};

constexpr DWORD kFrameStyle = WS_POPUP | WS_CLIPCHILDREN | SS_NOTIFY | SS_BLACKRECT;
constexpr DWORD kListStyle = WS_CHILD | WS_VISIBLE | LBS_NOTIFY | LBS_SORT | LBS_NOINTEGRALHEIGHT;
constexpr DWORD kScrollBarStyle = WS_CHILD | WS_VISIBLE | SBS_VERT;

PopupListState* StateOf(HWND frame) {
    return reinterpret_cast<PopupListState*>(GetWindowLongPtrA(frame, GWLP_USERDATA));
}

bool IsTagged(WPARAM wParam) { return (static_cast<UINT>(wParam) & POPUPLIST_TAG_MASK) == POPUPLIST_TEXT_TAG; }

// The index part of a tagged wParam: the low 16 bits, or -1 when bit 31 is set.
WPARAM UntaggedIndex(WPARAM wParam) {
    UINT value = static_cast<UINT>(wParam);
    return (value & 0x80000000u) ? static_cast<WPARAM>(-1) : static_cast<WPARAM>(value & 0xFFFFu);
}

bool ChangesTheItems(UINT msg) {
    return (msg >= PLM_ADDSTRING && msg <= LB_DELETESTRING) || msg == LB_RESETCONTENT || msg == LB_SETCURSEL;
}

void HeapFreeBlock(void* block) { HeapFree(GetProcessHeap(), 0, block); }

std::atomic<PopupListBlockFree> g_blockFree{HeapFreeBlock};

void FreeTextBlock(LPARAM block) {
    if (block) g_blockFree.load()(reinterpret_cast<void*>(block));
}

void UpdateScrollBar(PopupListState* s) {
    int itemHeight = static_cast<int>(SendMessageA(s->list, LB_GETITEMHEIGHT, 0, 0));
    if (itemHeight < 4) itemHeight = 4;
    s->pageSize = s->clientHeight / itemHeight;
    SCROLLINFO info = {sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
    info.nMax = static_cast<int>(SendMessageA(s->list, LB_GETCOUNT, 0, 0));
    info.nPage = static_cast<UINT>(s->pageSize > 0 ? s->pageSize : 0);
    info.nPos = static_cast<int>(SendMessageA(s->list, LB_GETTOPINDEX, 0, 0));
    SetScrollInfo(s->scrollBar, SB_CTL, &info, TRUE);
}

void ScrollTo(PopupListState* s, int top) {
    int count = static_cast<int>(SendMessageA(s->list, LB_GETCOUNT, 0, 0));
    if (top > count - 1) top = count - 1;
    if (top < 0) top = 0;
    SetScrollPos(s->scrollBar, SB_CTL, top, TRUE);
    SendMessageA(s->list, LB_SETTOPINDEX, top, 0);
}

void LayoutChildren(PopupListState* s) {
    int listWidth = s->clientWidth - s->scrollBarWidth + 1;
    MoveWindow(s->list, 0, 0, listWidth, s->clientHeight, TRUE);
    // The scroll bar stops short of the bottom, leaving the grip square free.
    MoveWindow(s->scrollBar, listWidth, 0, s->scrollBarWidth, s->clientHeight - s->scrollBarWidth + 1, TRUE);
}

RECT GripRect(const PopupListState* s) {
    return {s->clientWidth - s->scrollBarWidth, s->clientHeight - s->scrollBarWidth, s->clientWidth,
            s->clientHeight};
}

void EndResize(PopupListState* s) {
    if (!s->resizing) return;
    s->resizing = false;
    if (GetCapture()) ReleaseCapture();
}

void Paint(HWND frame, PopupListState* s, HDC given) {
    PAINTSTRUCT ps;
    HDC dc = given ? given : BeginPaint(frame, &ps);
    RECT grip = GripRect(s);
    FillRect(dc, &grip, GetSysColorBrush(COLOR_BTNFACE));
    DrawFrameControl(dc, &grip, DFC_SCROLL, DFCS_SCROLLSIZEGRIP | DFCS_MONO);
    if (!given) EndPaint(frame, &ps);
}

LRESULT OnVScroll(PopupListState* s, WPARAM wParam) {
    // From where the list stands now: emptying or refilling it moves its top without telling us.
    int top = static_cast<int>(SendMessageA(s->list, LB_GETTOPINDEX, 0, 0));
    switch (LOWORD(wParam)) {
    case SB_LINEUP: top -= 1; break;
    case SB_LINEDOWN: top += 1; break;
    case SB_PAGEUP: top -= s->pageSize; break;
    case SB_PAGEDOWN: top += s->pageSize; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
        // The 32-bit track position; the one in wParam has only 16 bits.
        SCROLLINFO info = {sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
        top = GetScrollInfo(s->scrollBar, SB_CTL, &info) ? info.nTrackPos : HIWORD(wParam);
        break;
    }
    case SB_TOP: top = 0; break;
    default: return 0;
    }
    ScrollTo(s, top);
    return 0;
}

LRESULT OnMouseWheel(PopupListState* s, WPARAM wParam) {
    int lines = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
    if (lines == 0) return 0;
    int top = static_cast<int>(SendMessageA(s->list, LB_GETTOPINDEX, 0, 0));
    ScrollTo(s, top - lines);
    return 0;
}

LRESULT OnLButtonDown(HWND frame, PopupListState* s, LPARAM lParam) {
    int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    if (x > s->clientWidth - s->scrollBarWidth && y > s->clientHeight - s->scrollBarWidth) {
        s->dragWidth = s->clientWidth;
        s->dragHeight = s->clientHeight;
        s->dragX = x;
        s->dragY = y;
        s->resizing = true;
        SetCapture(frame);
    }
    return 0;
}

LRESULT OnMouseMove(HWND frame, PopupListState* s, WPARAM wParam, LPARAM lParam) {
    if (!s->resizing) return 0;
    if (!(wParam & MK_LBUTTON)) {
        EndResize(s);
        return 0;
    }
    int minimum = 2 * s->scrollBarWidth;
    int width = s->dragWidth + GET_X_LPARAM(lParam) - s->dragX;
    int height = s->dragHeight + GET_Y_LPARAM(lParam) - s->dragY;
    if (width < minimum) width = minimum;
    if (height < minimum) height = minimum;
    // The drag sizes the client area; the border comes on top.
    RECT window, client;
    GetWindowRect(frame, &window);
    GetClientRect(frame, &client);
    width += (window.right - window.left) - client.right;
    height += (window.bottom - window.top) - client.bottom;
    SetWindowPos(frame, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE);
    return 0;
}

// Tagged text blocks still queued for a dying popup would be lost with the queue.
void FreeQueuedTextBlocks(HWND frame) {
    MSG msg;
    while (PeekMessageA(&msg, frame, PLM_ADDSTRING, LB_SETCURSEL, PM_REMOVE)) {
        if (ChangesTheItems(msg.message) && IsTagged(msg.wParam)) FreeTextBlock(msg.lParam);
    }
}

LRESULT OnDestroy(HWND frame, PopupListState* s, WPARAM wParam, LPARAM lParam) {
    EndResize(s);
    FreeQueuedTextBlocks(frame);
    WNDPROC previous = s->previousProc;
    SetWindowLongPtrA(frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    SetWindowLongPtrA(frame, GWLP_USERDATA, 0);
    delete s;
    return CallWindowProcA(previous, frame, WM_DESTROY, wParam, lParam);
}

// Messages for the list: the tag comes off wParam, and a tagged text block is freed
// after the list copied it.
LRESULT ForwardToList(PopupListState* s, UINT msg, WPARAM wParam, LPARAM lParam) {
    UINT listMsg = msg == PLM_ADDSTRING ? LB_ADDSTRING : msg == PLM_INSERTSTRING ? LB_INSERTSTRING : msg;
    bool tagged = IsTagged(wParam);
    LRESULT result = SendMessageA(s->list, listMsg, tagged ? UntaggedIndex(wParam) : wParam, lParam);
    if (ChangesTheItems(msg)) {
        UpdateScrollBar(s);
        if (tagged) FreeTextBlock(lParam);
    }
    return result;
}

LRESULT CALLBACK PopupFrameProc(HWND frame, UINT msg, WPARAM wParam, LPARAM lParam) {
    PopupListState* s = StateOf(frame);
    if (!s) return DefWindowProcA(frame, msg, wParam, lParam);
    if (msg >= PLM_ADDSTRING && msg <= LB_GETLISTBOXINFO) return ForwardToList(s, msg, wParam, lParam);
    switch (msg) {
    case WM_DESTROY:
        return OnDestroy(frame, s, wParam, lParam);
    case WM_SIZE:
        s->clientWidth = LOWORD(lParam);
        s->clientHeight = HIWORD(lParam);
        LayoutChildren(s);
        UpdateScrollBar(s);
        break;
    case WM_ACTIVATE:
        return 0;
    case WM_ERASEBKGND:
        return 1;  // the children cover the frame; the grip is painted in WM_PAINT
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) == frame && LOWORD(lParam) == HTCLIENT) {
            SetCursor(LoadCursor(nullptr, IDC_SIZENWSE));
            return TRUE;
        }
        break;
    case WM_PAINT:
        Paint(frame, s, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == POPUPLIST_LIST_ID) {
            if (HIWORD(wParam) == LBN_SELCHANGE)
                SetScrollPos(s->scrollBar, SB_CTL, static_cast<int>(SendMessageA(s->list, LB_GETTOPINDEX, 0, 0)),
                             TRUE);
            return SendMessageA(GetParent(frame), WM_COMMAND, MAKEWPARAM(s->id, HIWORD(wParam)), lParam);
        }
        break;
    case WM_VSCROLL:
        if (reinterpret_cast<HWND>(lParam) == s->scrollBar) return OnVScroll(s, wParam);
        break;
    case WM_LBUTTONDOWN:
        return OnLButtonDown(frame, s, lParam);
    case WM_MOUSEMOVE:
        return OnMouseMove(frame, s, wParam, lParam);
    case WM_LBUTTONUP:
        EndResize(s);
        RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
        return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != frame) s->resizing = false;
        break;
    case WM_MOUSEWHEEL:
        return OnMouseWheel(s, wParam);
    }
    return CallWindowProcA(s->previousProc, frame, msg, wParam, lParam);
}

// The list keeps its previous procedure in its own GWLP_USERDATA.
LRESULT CALLBACK PopupListBoxProc(HWND list, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(list, GWLP_USERDATA));
    if (!previous) return DefWindowProcA(list, msg, wParam, lParam);
    switch (msg) {
    case WM_MOUSEWHEEL:
        return SendMessageA(GetParent(list), msg, wParam, lParam);
    case WM_MOUSEMOVE: {
        // Hot tracking: the item under the pointer is the selected one.
        LRESULT hit = SendMessageA(list, LB_ITEMFROMPOINT, 0, lParam);
        if (HIWORD(hit) == 0 && SendMessageA(list, LB_GETCURSEL, 0, 0) != LOWORD(hit))
            SendMessageA(list, LB_SETCURSEL, LOWORD(hit), 0);
        break;
    }
    case WM_NCDESTROY:
        SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        SetWindowLongPtrA(list, GWLP_USERDATA, 0);
        break;
    }
    return CallWindowProcA(previous, list, msg, wParam, lParam);
}

}  // namespace

HWND CreatePopupList(DWORD exStyle, DWORD style, const RECT* rect, HWND owner, UINT id) {
    auto* s = new (std::nothrow) PopupListState{};
    if (!s) return nullptr;
    RECT r = rect ? *rect : RECT{0, 0, 0, 0};
    // A popup that would reach past its monitor's work area is moved back onto it.
    if (!IsRectEmpty(&r)) r = KeepRectInArea(r, WorkAreaForRect(r));
    HINSTANCE instance = GetModuleHandleA(nullptr);
    // Shown only once it is set up.
    HWND frame = CreateWindowExA(exStyle, "STATIC", "", (style | kFrameStyle) & ~WS_VISIBLE, r.left, r.top,
                                 r.right - r.left, r.bottom - r.top, owner, nullptr, instance, nullptr);
    if (!frame) {
        delete s;
        return nullptr;
    }
    RECT client;
    GetClientRect(frame, &client);
    s->id = static_cast<WORD>(id);
    s->clientWidth = client.right;
    s->clientHeight = client.bottom;
    s->scrollBarWidth = GetSystemMetrics(SM_CXVSCROLL);
    int listWidth = s->clientWidth - s->scrollBarWidth + 1;
    s->list = CreateWindowExA(0, "LISTBOX", "", kListStyle, 0, 0, listWidth, s->clientHeight, frame,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(POPUPLIST_LIST_ID)), instance, nullptr);
    s->scrollBar = CreateWindowExA(0, "SCROLLBAR", "", kScrollBarStyle, listWidth, 0, s->scrollBarWidth,
                                   s->clientHeight - s->scrollBarWidth + 1, frame, nullptr, instance, nullptr);
    if (!s->list || !s->scrollBar) {
        DestroyWindow(frame);
        delete s;
        return nullptr;
    }
    SendMessageA(s->list, WM_SETFONT, reinterpret_cast<WPARAM>(GetUiFont(0)), FALSE);

    SetWindowLongPtrA(s->list, GWLP_USERDATA, GetWindowLongPtrA(s->list, GWLP_WNDPROC));
    SetWindowLongPtrA(s->list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PopupListBoxProc));
    SetWindowLongPtrA(frame, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(s));
    s->previousProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PopupFrameProc)));
    UpdateScrollBar(s);
    if (style & WS_VISIBLE) ShowWindow(frame, SW_SHOWNOACTIVATE);
    return frame;
}

bool PostPopupListText(HWND popup, LPCSTR text, int length) {
    if (!text) return false;
    size_t size = length < 0 ? strlen(text) : strnlen(text, static_cast<size_t>(length));
    char* block = static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, size + 1));
    if (!block) return false;
    memcpy(block, text, size);
    block[size] = 0;
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (attempt) Sleep(10);
        if (PostMessageA(popup, PLM_ADDSTRING, POPUPLIST_TEXT_TAG, reinterpret_cast<LPARAM>(block))) return true;
    }
    FreeTextBlock(reinterpret_cast<LPARAM>(block));
    return false;
}

PopupListBlockFree SetPopupListBlockFree(PopupListBlockFree free) {
    return g_blockFree.exchange(free ? free : HeapFreeBlock);
}
