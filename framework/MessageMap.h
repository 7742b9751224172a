// Message maps: per-class tables that route window messages, commands and notifications to member
// handlers. Each ON_ macro builds a small captureless function that unpacks the message and calls
// the handler through the class's own type, so handlers keep their real signatures.
#pragma once

#include <windows.h>

#include "framework/AfxIds.h"

class CCmdTarget;

// What one handler call gets: the message with its parameters, or a command id with extra data
// (CCmdUI* for update requests, NotifyCall* for WM_NOTIFY).
struct MessageCall {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT result;
    UINT commandId;  // the command id, or the colour type of WM_CTLCOLOR
    void* extra;
};

// The extra data of WM_NOTIFY handlers.
struct NotifyCall {
    NMHDR* header;
    LRESULT* result;
};

// Returns FALSE when the handler declines the call (the routing then goes on).
using MessageThunk = BOOL (*)(CCmdTarget* target, MessageCall& call);

enum class MessageKind : UINT {
    Window,      // a window message matched by number
    Command,     // WM_COMMAND / WM_NOTIFY and their reflected forms, matched by code and id range
    Registered,  // a message number known only at run time
};

struct MessageMapEntry {
    UINT message;
    UINT code;  // notification code as a WORD (0xFFFF = update request)
    UINT idFirst;
    UINT idLast;
    MessageKind kind;
    const UINT* registered;
    MessageThunk thunk;
};

struct MessageMap {
    const MessageMap* (*base)();
    const MessageMapEntry* entries;
};

// The pseudo message under which ON_WM_CTLCOLOR entries are kept; the colour type comes in MessageCall::id.
#define WM_CTLCOLOR 0x0019

#define DECLARE_MESSAGE_MAP()                     \
protected:                                        \
    static const MessageMap* GetThisMessageMap(); \
    const MessageMap* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                        \
    const MessageMap* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const MessageMap* theClass::GetThisMessageMap() {                                 \
        using ThisClass [[maybe_unused]] = theClass;                                  \
        using TheBaseClass = baseClass;                                               \
        static const MessageMapEntry entries[] = {

#define END_MESSAGE_MAP()                                                          \
    {0, 0, 0, 0, MessageKind::Window, nullptr, nullptr}};                          \
    static const MessageMap map = {&TheBaseClass::GetThisMessageMap, &entries[0]}; \
    return &map;                                                                   \
    }

// Each entry macro ends with its own comma, so entries are listed one per line without separators.
// Building blocks of the entries. `self_` is the target as the map's class, `call_` the call.
#define WL_MSG_THUNK(...)                                                      \
    [](CCmdTarget* target_, MessageCall& call_) -> BOOL {                      \
        [[maybe_unused]] ThisClass* self_ = static_cast<ThisClass*>(target_); \
        (void)call_;                                                           \
        __VA_ARGS__                                                            \
    }
#define WL_ON_WINDOW_MESSAGE(msg, ...) \
    {(UINT)(msg), 0, 0, 0, MessageKind::Window, nullptr, WL_MSG_THUNK(__VA_ARGS__ return TRUE;)},
#define WL_ON_COMMAND_ENTRY(msg, code, id, idLast, ...) \
    {(UINT)(msg), (UINT)(WORD)(code), (UINT)(id), (UINT)(idLast), MessageKind::Command, nullptr, WL_MSG_THUNK(__VA_ARGS__)},

#define WL_WP call_.wParam
#define WL_LP call_.lParam
#define WL_WND(h) CWnd::FromHandle(reinterpret_cast<HWND>(h))

// ---- Window messages (handlers with the conventional signatures) ----
#define ON_WM_CREATE() WL_ON_WINDOW_MESSAGE(WM_CREATE, call_.result = self_->OnCreate(reinterpret_cast<LPCREATESTRUCT>(WL_LP));)
#define ON_WM_NCCREATE() WL_ON_WINDOW_MESSAGE(WM_NCCREATE, call_.result = self_->OnNcCreate(reinterpret_cast<LPCREATESTRUCT>(WL_LP));)
#define ON_WM_DESTROY() WL_ON_WINDOW_MESSAGE(WM_DESTROY, self_->OnDestroy();)
#define ON_WM_NCDESTROY() WL_ON_WINDOW_MESSAGE(WM_NCDESTROY, self_->OnNcDestroy();)
#define ON_WM_CLOSE() WL_ON_WINDOW_MESSAGE(WM_CLOSE, self_->OnClose();)
#define ON_WM_SIZE() WL_ON_WINDOW_MESSAGE(WM_SIZE, self_->OnSize((UINT)WL_WP, (short)LOWORD(WL_LP), (short)HIWORD(WL_LP));)
#define ON_WM_SIZING() WL_ON_WINDOW_MESSAGE(WM_SIZING, self_->OnSizing((UINT)WL_WP, reinterpret_cast<LPRECT>(WL_LP)); call_.result = TRUE;)
#define ON_WM_MOVE() WL_ON_WINDOW_MESSAGE(WM_MOVE, self_->OnMove((short)LOWORD(WL_LP), (short)HIWORD(WL_LP));)
#define ON_WM_TIMER() WL_ON_WINDOW_MESSAGE(WM_TIMER, self_->OnTimer((UINT_PTR)WL_WP);)
#define ON_WM_PAINT() WL_ON_WINDOW_MESSAGE(WM_PAINT, self_->OnPaint();)
#define ON_WM_NCPAINT() WL_ON_WINDOW_MESSAGE(WM_NCPAINT, self_->OnNcPaint();)
#define ON_WM_ERASEBKGND() WL_ON_WINDOW_MESSAGE(WM_ERASEBKGND, call_.result = self_->OnEraseBkgnd(CDC::FromHandle(reinterpret_cast<HDC>(WL_WP)));)
#define WL_ON_KEY(msg, fn) WL_ON_WINDOW_MESSAGE(msg, self_->fn((UINT)WL_WP, LOWORD(WL_LP), HIWORD(WL_LP));)
#define ON_WM_KEYDOWN() WL_ON_KEY(WM_KEYDOWN, OnKeyDown)
#define ON_WM_KEYUP() WL_ON_KEY(WM_KEYUP, OnKeyUp)
#define ON_WM_CHAR() WL_ON_KEY(WM_CHAR, OnChar)
#define ON_WM_SYSKEYDOWN() WL_ON_KEY(WM_SYSKEYDOWN, OnSysKeyDown)
#define ON_WM_SYSKEYUP() WL_ON_KEY(WM_SYSKEYUP, OnSysKeyUp)
#define ON_WM_SYSCHAR() WL_ON_KEY(WM_SYSCHAR, OnSysChar)
#define ON_WM_SETFOCUS() WL_ON_WINDOW_MESSAGE(WM_SETFOCUS, self_->OnSetFocus(WL_WND(WL_WP));)
#define ON_WM_KILLFOCUS() WL_ON_WINDOW_MESSAGE(WM_KILLFOCUS, self_->OnKillFocus(WL_WND(WL_WP));)
#define ON_WM_SETCURSOR() WL_ON_WINDOW_MESSAGE(WM_SETCURSOR, call_.result = self_->OnSetCursor(WL_WND(WL_WP), LOWORD(WL_LP), HIWORD(WL_LP));)
#define ON_WM_HSCROLL() WL_ON_WINDOW_MESSAGE(WM_HSCROLL, self_->OnHScroll(LOWORD(WL_WP), HIWORD(WL_WP), CScrollBar::FromHandleOrNull(reinterpret_cast<HWND>(WL_LP)));)
#define ON_WM_VSCROLL() WL_ON_WINDOW_MESSAGE(WM_VSCROLL, self_->OnVScroll(LOWORD(WL_WP), HIWORD(WL_WP), CScrollBar::FromHandleOrNull(reinterpret_cast<HWND>(WL_LP)));)
#define WL_ON_MOUSE(msg, fn) WL_ON_WINDOW_MESSAGE(msg, self_->fn((UINT)WL_WP, CPoint(WL_LP));)
#define ON_WM_MOUSEMOVE() WL_ON_MOUSE(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_LBUTTONDOWN() WL_ON_MOUSE(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() WL_ON_MOUSE(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() WL_ON_MOUSE(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() WL_ON_MOUSE(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_RBUTTONUP() WL_ON_MOUSE(WM_RBUTTONUP, OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK() WL_ON_MOUSE(WM_RBUTTONDBLCLK, OnRButtonDblClk)
#define ON_WM_MBUTTONDOWN() WL_ON_MOUSE(WM_MBUTTONDOWN, OnMButtonDown)
#define ON_WM_MBUTTONUP() WL_ON_MOUSE(WM_MBUTTONUP, OnMButtonUp)
#define ON_WM_MBUTTONDBLCLK() WL_ON_MOUSE(WM_MBUTTONDBLCLK, OnMButtonDblClk)
#define ON_WM_MOUSEWHEEL() WL_ON_WINDOW_MESSAGE(WM_MOUSEWHEEL, call_.result = self_->OnMouseWheel(LOWORD(WL_WP), (short)HIWORD(WL_WP), CPoint(WL_LP));)
#define ON_WM_MOUSELEAVE() WL_ON_WINDOW_MESSAGE(WM_MOUSELEAVE, self_->OnMouseLeave();)
#define ON_WM_CONTEXTMENU() WL_ON_WINDOW_MESSAGE(WM_CONTEXTMENU, self_->OnContextMenu(WL_WND(WL_WP), CPoint(WL_LP));)
#define ON_WM_DRAWITEM() WL_ON_WINDOW_MESSAGE(WM_DRAWITEM, self_->OnDrawItem((int)WL_WP, reinterpret_cast<LPDRAWITEMSTRUCT>(WL_LP)); call_.result = TRUE;)
#define ON_WM_MEASUREITEM() WL_ON_WINDOW_MESSAGE(WM_MEASUREITEM, self_->OnMeasureItem((int)WL_WP, reinterpret_cast<LPMEASUREITEMSTRUCT>(WL_LP)); call_.result = TRUE;)
#define ON_WM_COMPAREITEM() WL_ON_WINDOW_MESSAGE(WM_COMPAREITEM, call_.result = self_->OnCompareItem((int)WL_WP, reinterpret_cast<LPCOMPAREITEMSTRUCT>(WL_LP));)
#define ON_WM_DELETEITEM() WL_ON_WINDOW_MESSAGE(WM_DELETEITEM, self_->OnDeleteItem((int)WL_WP, reinterpret_cast<LPDELETEITEMSTRUCT>(WL_LP)); call_.result = TRUE;)
#define ON_WM_INITMENU() WL_ON_WINDOW_MESSAGE(WM_INITMENU, self_->OnInitMenu(CMenu::FromHandle(reinterpret_cast<HMENU>(WL_WP)));)
#define ON_WM_INITMENUPOPUP() WL_ON_WINDOW_MESSAGE(WM_INITMENUPOPUP, self_->OnInitMenuPopup(CMenu::FromHandle(reinterpret_cast<HMENU>(WL_WP)), LOWORD(WL_LP), (BOOL)HIWORD(WL_LP));)
#define ON_WM_MENUSELECT() WL_ON_WINDOW_MESSAGE(WM_MENUSELECT, self_->OnMenuSelect(LOWORD(WL_WP), HIWORD(WL_WP), reinterpret_cast<HMENU>(WL_LP));)
#define ON_WM_COPYDATA() WL_ON_WINDOW_MESSAGE(WM_COPYDATA, call_.result = self_->OnCopyData(WL_WND(WL_WP), reinterpret_cast<COPYDATASTRUCT*>(WL_LP));)
#define ON_WM_DROPFILES() WL_ON_WINDOW_MESSAGE(WM_DROPFILES, self_->OnDropFiles(reinterpret_cast<HDROP>(WL_WP));)
#define ON_WM_SYSCOMMAND() WL_ON_WINDOW_MESSAGE(WM_SYSCOMMAND, self_->OnSysCommand((UINT)WL_WP, WL_LP);)
#define ON_WM_ACTIVATE() WL_ON_WINDOW_MESSAGE(WM_ACTIVATE, self_->OnActivate(LOWORD(WL_WP), WL_WND(WL_LP), (BOOL)HIWORD(WL_WP));)
#define ON_WM_ACTIVATEAPP() WL_ON_WINDOW_MESSAGE(WM_ACTIVATEAPP, self_->OnActivateApp((BOOL)WL_WP, (DWORD)WL_LP);)
#define ON_WM_MOUSEACTIVATE() WL_ON_WINDOW_MESSAGE(WM_MOUSEACTIVATE, call_.result = self_->OnMouseActivate(WL_WND(WL_WP), LOWORD(WL_LP), HIWORD(WL_LP));)
#define ON_WM_SHOWWINDOW() WL_ON_WINDOW_MESSAGE(WM_SHOWWINDOW, self_->OnShowWindow((BOOL)WL_WP, (UINT)WL_LP);)
#define ON_WM_GETMINMAXINFO() WL_ON_WINDOW_MESSAGE(WM_GETMINMAXINFO, self_->OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(WL_LP));)
#define ON_WM_WINDOWPOSCHANGING() WL_ON_WINDOW_MESSAGE(WM_WINDOWPOSCHANGING, self_->OnWindowPosChanging(reinterpret_cast<WINDOWPOS*>(WL_LP));)
#define ON_WM_WINDOWPOSCHANGED() WL_ON_WINDOW_MESSAGE(WM_WINDOWPOSCHANGED, self_->OnWindowPosChanged(reinterpret_cast<WINDOWPOS*>(WL_LP));)
#define ON_WM_NCCALCSIZE() WL_ON_WINDOW_MESSAGE(WM_NCCALCSIZE, self_->OnNcCalcSize((BOOL)WL_WP, reinterpret_cast<NCCALCSIZE_PARAMS*>(WL_LP));)
#define ON_WM_NCHITTEST() WL_ON_WINDOW_MESSAGE(WM_NCHITTEST, call_.result = self_->OnNcHitTest(CPoint(WL_LP));)
#define ON_WM_NCLBUTTONDOWN() WL_ON_WINDOW_MESSAGE(WM_NCLBUTTONDOWN, self_->OnNcLButtonDown((UINT)WL_WP, CPoint(WL_LP));)
#define ON_WM_GETDLGCODE() WL_ON_WINDOW_MESSAGE(WM_GETDLGCODE, call_.result = self_->OnGetDlgCode();)
#define ON_WM_CTLCOLOR() WL_ON_WINDOW_MESSAGE(WM_CTLCOLOR, call_.result = (LRESULT)self_->OnCtlColor(CDC::FromHandle(reinterpret_cast<HDC>(WL_WP)), WL_WND(WL_LP), call_.commandId);)
#define ON_WM_CAPTURECHANGED() WL_ON_WINDOW_MESSAGE(WM_CAPTURECHANGED, self_->OnCaptureChanged(WL_WND(WL_LP));)
#define ON_WM_CANCELMODE() WL_ON_WINDOW_MESSAGE(WM_CANCELMODE, self_->OnCancelMode();)
#define ON_WM_ENABLE() WL_ON_WINDOW_MESSAGE(WM_ENABLE, self_->OnEnable((BOOL)WL_WP);)
#define ON_WM_ENTERIDLE() WL_ON_WINDOW_MESSAGE(WM_ENTERIDLE, self_->OnEnterIdle((UINT)WL_WP, WL_WND(WL_LP));)
#define ON_WM_SETTINGCHANGE() WL_ON_WINDOW_MESSAGE(WM_SETTINGCHANGE, self_->OnSettingChange((UINT)WL_WP, reinterpret_cast<LPCSTR>(WL_LP));)
#define ON_WM_SYSCOLORCHANGE() WL_ON_WINDOW_MESSAGE(WM_SYSCOLORCHANGE, self_->OnSysColorChange();)
#define ON_WM_PARENTNOTIFY() WL_ON_WINDOW_MESSAGE(WM_PARENTNOTIFY, self_->OnParentNotify(LOWORD(WL_WP), WL_LP);)

// ---- Reflected child messages, handled by the child's own object ----
#define ON_WM_DRAWITEM_REFLECT() WL_ON_WINDOW_MESSAGE(WM_REFLECT_BASE + WM_DRAWITEM, self_->DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(WL_LP)); call_.result = TRUE;)
#define ON_WM_MEASUREITEM_REFLECT() WL_ON_WINDOW_MESSAGE(WM_REFLECT_BASE + WM_MEASUREITEM, self_->MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(WL_LP)); call_.result = TRUE;)
#define ON_WM_COMPAREITEM_REFLECT() WL_ON_WINDOW_MESSAGE(WM_REFLECT_BASE + WM_COMPAREITEM, call_.result = self_->CompareItem(reinterpret_cast<LPCOMPAREITEMSTRUCT>(WL_LP));)
#define ON_WM_DELETEITEM_REFLECT() WL_ON_WINDOW_MESSAGE(WM_REFLECT_BASE + WM_DELETEITEM, self_->DeleteItem(reinterpret_cast<LPDELETEITEMSTRUCT>(WL_LP)); call_.result = TRUE;)
#define ON_WM_HSCROLL_REFLECT() WL_ON_WINDOW_MESSAGE(WM_REFLECT_BASE + WM_HSCROLL, self_->HScroll(LOWORD(WL_WP), HIWORD(WL_WP));)
#define ON_WM_VSCROLL_REFLECT() WL_ON_WINDOW_MESSAGE(WM_REFLECT_BASE + WM_VSCROLL, self_->VScroll(LOWORD(WL_WP), HIWORD(WL_WP));)
// A null brush leaves the colour to the parent.
#define ON_WM_CTLCOLOR_REFLECT()                                                                                   \
    {WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0, 0, MessageKind::Window, nullptr, WL_MSG_THUNK(                           \
        HBRUSH brush_ = self_->CtlColor(CDC::FromHandle(reinterpret_cast<HDC>(WL_WP)), (UINT)WL_LP);               \
        call_.result = (LRESULT)brush_; return brush_ != nullptr;)},

// ---- Any message ----
#define ON_MESSAGE(msg, fn) WL_ON_WINDOW_MESSAGE(msg, call_.result = self_->fn(WL_WP, WL_LP);)
// `var` holds the number from RegisterWindowMessage.
#define ON_REGISTERED_MESSAGE(var, fn) \
    {0, 0, 0, 0, MessageKind::Registered, &(var), WL_MSG_THUNK(call_.result = self_->fn(WL_WP, WL_LP); return TRUE;)},

// ---- Commands ----
#define ON_COMMAND(id, fn) WL_ON_COMMAND_ENTRY(WM_COMMAND, CN_COMMAND, id, id, self_->fn(); return TRUE;)
#define ON_COMMAND_EX(id, fn) WL_ON_COMMAND_ENTRY(WM_COMMAND, CN_COMMAND, id, id, return self_->fn(call_.commandId);)
#define ON_COMMAND_RANGE(id, idLast, fn) WL_ON_COMMAND_ENTRY(WM_COMMAND, CN_COMMAND, id, idLast, self_->fn(call_.commandId); return TRUE;)
#define ON_COMMAND_EX_RANGE(id, idLast, fn) WL_ON_COMMAND_ENTRY(WM_COMMAND, CN_COMMAND, id, idLast, return self_->fn(call_.commandId);)
#define ON_UPDATE_COMMAND_UI(id, fn) WL_ON_COMMAND_ENTRY(WM_COMMAND, CN_UPDATE_COMMAND_UI, id, id, self_->fn(static_cast<CCmdUI*>(call_.extra)); return TRUE;)
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, fn) WL_ON_COMMAND_ENTRY(WM_COMMAND, CN_UPDATE_COMMAND_UI, id, idLast, self_->fn(static_cast<CCmdUI*>(call_.extra)); return TRUE;)
#define ON_CONTROL(code, id, fn) WL_ON_COMMAND_ENTRY(WM_COMMAND, code, id, id, self_->fn(); return TRUE;)
#define ON_CONTROL_RANGE(code, id, idLast, fn) WL_ON_COMMAND_ENTRY(WM_COMMAND, code, id, idLast, self_->fn(call_.commandId); return TRUE;)
#define ON_NOTIFY(code, id, fn) \
    WL_ON_COMMAND_ENTRY(WM_NOTIFY, code, id, id, NotifyCall* n_ = static_cast<NotifyCall*>(call_.extra); self_->fn(n_->header, n_->result); return TRUE;)
#define ON_NOTIFY_RANGE(code, id, idLast, fn) \
    WL_ON_COMMAND_ENTRY(WM_NOTIFY, code, id, idLast, NotifyCall* n_ = static_cast<NotifyCall*>(call_.extra); self_->fn(call_.commandId, n_->header, n_->result); return TRUE;)
#define ON_NOTIFY_EX(code, id, fn) \
    WL_ON_COMMAND_ENTRY(WM_NOTIFY, code, id, id, NotifyCall* n_ = static_cast<NotifyCall*>(call_.extra); return self_->fn(call_.commandId, n_->header, n_->result);)

// ---- Reflected commands and notifications (entries of the child's class) ----
#define ON_CONTROL_REFLECT(code, fn) WL_ON_COMMAND_ENTRY(WM_REFLECT_BASE + WM_COMMAND, code, 0, 0, self_->fn(); return TRUE;)
#define ON_CONTROL_REFLECT_EX(code, fn) WL_ON_COMMAND_ENTRY(WM_REFLECT_BASE + WM_COMMAND, code, 0, 0, return self_->fn();)
#define ON_UPDATE_COMMAND_UI_REFLECT(fn) \
    WL_ON_COMMAND_ENTRY(WM_REFLECT_BASE + WM_COMMAND, CN_UPDATE_COMMAND_UI, 0, 0, self_->fn(static_cast<CCmdUI*>(call_.extra)); return TRUE;)
#define ON_NOTIFY_REFLECT(code, fn) \
    WL_ON_COMMAND_ENTRY(WM_REFLECT_BASE + WM_NOTIFY, code, 0, 0, NotifyCall* n_ = static_cast<NotifyCall*>(call_.extra); self_->fn(n_->header, n_->result); return TRUE;)
#define ON_NOTIFY_REFLECT_EX(code, fn) \
    WL_ON_COMMAND_ENTRY(WM_REFLECT_BASE + WM_NOTIFY, code, 0, 0, NotifyCall* n_ = static_cast<NotifyCall*>(call_.extra); return self_->fn(n_->header, n_->result);)

// ---- Control notifications ----
#define ON_BN_CLICKED(id, fn) ON_CONTROL(BN_CLICKED, id, fn)
#define ON_BN_DOUBLECLICKED(id, fn) ON_CONTROL(BN_DOUBLECLICKED, id, fn)
#define ON_EN_CHANGE(id, fn) ON_CONTROL(EN_CHANGE, id, fn)
#define ON_EN_UPDATE(id, fn) ON_CONTROL(EN_UPDATE, id, fn)
#define ON_EN_SETFOCUS(id, fn) ON_CONTROL(EN_SETFOCUS, id, fn)
#define ON_EN_KILLFOCUS(id, fn) ON_CONTROL(EN_KILLFOCUS, id, fn)
#define ON_CBN_SELCHANGE(id, fn) ON_CONTROL(CBN_SELCHANGE, id, fn)
#define ON_CBN_DBLCLK(id, fn) ON_CONTROL(CBN_DBLCLK, id, fn)
#define ON_CBN_SETFOCUS(id, fn) ON_CONTROL(CBN_SETFOCUS, id, fn)
#define ON_CBN_KILLFOCUS(id, fn) ON_CONTROL(CBN_KILLFOCUS, id, fn)
#define ON_CBN_EDITCHANGE(id, fn) ON_CONTROL(CBN_EDITCHANGE, id, fn)
#define ON_CBN_EDITUPDATE(id, fn) ON_CONTROL(CBN_EDITUPDATE, id, fn)
#define ON_CBN_DROPDOWN(id, fn) ON_CONTROL(CBN_DROPDOWN, id, fn)
#define ON_CBN_CLOSEUP(id, fn) ON_CONTROL(CBN_CLOSEUP, id, fn)
#define ON_CBN_SELENDOK(id, fn) ON_CONTROL(CBN_SELENDOK, id, fn)
#define ON_CBN_SELENDCANCEL(id, fn) ON_CONTROL(CBN_SELENDCANCEL, id, fn)
#define ON_LBN_SELCHANGE(id, fn) ON_CONTROL(LBN_SELCHANGE, id, fn)
#define ON_LBN_DBLCLK(id, fn) ON_CONTROL(LBN_DBLCLK, id, fn)
#define ON_LBN_SETFOCUS(id, fn) ON_CONTROL(LBN_SETFOCUS, id, fn)
#define ON_LBN_KILLFOCUS(id, fn) ON_CONTROL(LBN_KILLFOCUS, id, fn)
#define ON_LBN_SELCANCEL(id, fn) ON_CONTROL(LBN_SELCANCEL, id, fn)
