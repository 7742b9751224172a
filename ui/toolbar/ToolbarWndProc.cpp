// The window procedure of the "ToolbarExWindow32" control and its class: makes and frees the per-window state,
// then hands each message to its handler. The table below lists every message the control answers; anything
// else goes to DefWindowProcA.
#include "ui/toolbar/ToolbarMessages.h"

namespace {

LONG g_registered;

template <class T, class V>
T* Ptr(V value) {
    return reinterpret_cast<T*>(value);
}
int LowArg(LPARAM value) { return (short)LOWORD(value); }
int HighArg(LPARAM value) { return (short)HIWORD(value); }
POINT PointArg(LPARAM value) { return {LowArg(value), HighArg(value)}; }
BYTE KeysArg(WPARAM value) { return (BYTE)(value & (MK_LBUTTON | MK_RBUTTON)); }

// The answer of a message, or kPassOn for DefWindowProcA. One line per message, grouped by the file that holds
// the handlers (declared in ToolbarMessages.h). Each handler takes the lock itself where it needs it; the
// lines that read one field answer without it.
ToolbarAnswer Dispatch(ToolbarState* s, UINT msg, WPARAM wp, LPARAM lp) {
    using F = ButtonField;
    switch (msg) {
    // --- the window as a whole (ToolbarWindowMessages.cpp)
    case WM_CREATE:                return OnCreate(s);
    case WM_DESTROY:               return OnDestroy(s);
    case WM_SIZE:                  return OnSize(s, LowArg(lp), HighArg(lp));
    case WM_SETFOCUS:              return OnSetFocus(s);
    case WM_KILLFOCUS:             return 0;
    case WM_ENABLE:                return OnEnable(s, wp != 0);
    case WM_SYSCOLORCHANGE:        return OnSysColorChange(s);
    case WM_SETFONT:               return OnSetFont(s, (HFONT)wp);
    case WM_GETFONT:               return (LRESULT)s->font;
    case WM_STYLECHANGED:          return OnStyleChanged(s, wp, Ptr<const STYLESTRUCT>(lp));
    case WM_DRAWITEM:              return OnDrawItem(s, wp, lp);
    case WM_NOTIFY:                return OnChildNotify(s, wp, Ptr<NMHDR>(lp));
    case WM_COMMAND:               return OnChildCommand(s, wp, (HWND)lp);
    case WM_KEYDOWN:
    case WM_KEYUP:                 return 0;
    case TB_SETPARENT:             return SetTarget(s, (HWND)wp, lp);
    case TBX_GETEXTRATARGET:       return 0;
    case TB_GETTOOLTIPS:
    case TB_SETTOOLTIPS:           return 0;
    case TB_GETSTYLE:              return s->style;
    case TB_GETEXTENDEDSTYLE:      return s->exStyle;

    // --- metrics and colours (ToolbarMetrics.cpp)
    case TB_BUTTONSTRUCTSIZE:      return SetButtonStructSize(s, (UINT)wp);
    case TB_SETBUTTONSIZE:         return SetButtonSize(s, LowArg(lp), HighArg(lp));
    case TB_GETBUTTONSIZE:         return MAKELONG(s->buttonWidth, s->buttonHeight);
    case TB_SETBITMAPSIZE:         return SetBitmapSize(s, LowArg(lp), HighArg(lp));
    case TBX_GETBITMAPSIZE:        return MAKELONG(s->bitmapWidth, s->bitmapHeight);
    case TB_SETPADDING:            return SetPadding(s, LowArg(lp), HighArg(lp));
    case TB_GETPADDING:            return MAKELONG(s->padX, s->padY);
    case TB_SETLISTGAP:            return SetListGap(s, (int)wp, lp);
    case TB_SETINDENT:             return SetIndent(s, (int)wp);
    case TB_SETBUTTONWIDTH:        return SetWidthLimits(s, LowArg(lp), HighArg(lp));
    case TBX_SETDIRTY:             return SetDirty(s, (BYTE)wp, LOWORD(lp) != 0);
    case TBX_KEYCOLOR:             return KeyColor(s, (UINT)wp, (COLORREF)lp);
    case TBX_COLOR:                return SetColor(s, wp, (COLORREF)lp);
    case TBX_SETSCALE:             return SetScale(s, wp, (int)lp);

    // --- layout (ToolbarLayout.cpp) and painting (ToolbarPaint.cpp)
    case TBX_GETIDEALSIZE:         return GetIdealSize(s);
    case TBX_FITTOSIZE:            return FitToSize(s, (int)wp, (UINT)lp);
    case WM_PAINT:                 return OnPaint(s, (HDC)wp);

    // --- buttons (ToolbarButtonMessages.cpp)
    case TB_ADDBUTTONSA:
    case TB_ADDBUTTONSW:           return AddButtons(s, msg, wp, Ptr<const TBBUTTON>(lp), true);
    case TBX_ADDBUTTONS:           return AddButtons(s, msg, wp, Ptr<const TBBUTTON>(lp), false);
    case TB_INSERTBUTTONA:
    case TB_INSERTBUTTONW:         return InsertButton(s, msg, (int)wp, Ptr<const TBBUTTON>(lp), false);
    case TBX_INSERTBUTTON:         return InsertButton(s, msg, (int)wp, Ptr<const TBBUTTON>(lp), true);
    case TB_DELETEBUTTON:          return DeleteButton(s, wp);
    case TBX_DELETEBUTTONS:        return DeleteButtons(s, (INT_PTR)wp, (INT_PTR)lp);
    case TB_BUTTONCOUNT:           return s->buttonCount;
    case TB_COMMANDTOINDEX:        return CommandToIndex(s, wp);
    case TBX_FINDWINDOW:           return FindWindowMessage(s, (HWND)lp);
    case TB_GETBUTTON:             return GetButton(s, wp, Ptr<TBBUTTON>(lp));
    case TB_GETITEMRECT:           return GetItemRect(s, wp, ResolveButtonIndex, Ptr<RECT>(lp));
    case TB_GETRECT:               return GetItemRect(s, wp, ResolveButton, Ptr<RECT>(lp));
    case TB_ENABLEBUTTON:
    case TB_CHECKBUTTON:
    case TB_PRESSBUTTON:
    case TB_HIDEBUTTON:
    case TB_INDETERMINATE:
    case TB_MARKBUTTON:            return SetStateBit(s, msg, wp, LOWORD(lp) != 0);
    case TB_ISBUTTONENABLED:
    case TB_ISBUTTONCHECKED:
    case TB_ISBUTTONPRESSED:
    case TB_ISBUTTONHIDDEN:
    case TB_ISBUTTONINDETERMINATE:
    case TB_ISBUTTONHIGHLIGHTED:   return IsStateBit(s, msg, wp);
    case TB_GETSTATE:              return GetButtonField(s, msg, wp, ResolveButtonIndex, F::kState, -1);
    case TBX_SETSTATESTYLE:        return ChangeButton(s, msg, wp, SetButtonStateStyle, (UINT)lp);
    case TBX_GETSTATESTYLE:        return GetButtonField(s, msg, wp, ResolveButtonIndex, F::kStateStyle, 0);
    case TBX_SETCOMMAND:           return ChangeButton(s, msg, wp, SetButtonCommand, (int)lp);
    case TBX_GETCOMMAND:           return GetButtonField(s, msg, wp, ResolveButtonIndex, F::kCommand, 0);
    case TBX_INDEXTOCOMMAND:       return GetButtonField(s, msg, wp, ResolveButtonIndex, F::kCommand, -1);
    case TB_CHANGEBITMAP:          return ChangeBitmap(s, wp, (int)lp);
    case TB_GETBITMAP:             return GetButtonField(s, msg, wp, ResolveButton, F::kImage, 0);
    case TBX_SETIMAGE:             return ChangeButton(s, msg, wp, SetButtonImage, (int)lp);
    case TBX_GETIMAGE:             return GetButtonField(s, msg, wp, ResolveButtonIndex, F::kImage, 0);
    case TBX_SETSTRINGINDEX:       return ChangeButton(s, msg, wp, SetButtonStringIndex, (INT_PTR)lp);
    case TBX_GETSTRINGINDEX:       return GetButtonField(s, msg, wp, ResolveButtonIndex, F::kStringIndex, 0);
    case TBX_SETFLAGS:             return ChangeButton(s, msg, wp, SetButtonFlags, LOWORD(lp), HIWORD(lp));
    case TBX_GETFLAGS:             return GetButtonField(s, msg, wp, ResolveButtonIndex, F::kFlags, -1);
    case TBX_SETDATA:              return ChangeButton(s, msg, wp, SetButtonData, (DWORD_PTR)lp);
    case TBX_GETDATA:              return GetButtonField(s, msg, wp, ResolveButtonIndex, F::kData, 0);
    case TBX_SETBUTTONWIDTH:       return ChangeButton(s, msg, wp, SetButtonFixedWidth, (int)lp);
    case TB_GETBUTTONINFOW:        return GetButtonInfo(s, wp, Ptr<TBBUTTONINFOW>(lp), true);
    case TB_GETBUTTONINFOA:        return GetButtonInfo(s, wp, Ptr<TBBUTTONINFOW>(lp), false);
    case TB_SETBUTTONINFOW:        return SetButtonInfo(s, wp, Ptr<const TBBUTTONINFOW>(lp), true);
    case TB_SETBUTTONINFOA:        return SetButtonInfo(s, wp, Ptr<const TBBUTTONINFOW>(lp), false);
    case TBX_MODIFYSTYLE:
    case TBX_MODIFYSTATE:
    case TBX_MODIFYFLAGS:          return ModifyRange(s, msg, wp, lp);
    case TBX_COUNTBUTTONS:         return CountButtons(s, wp, lp);
    case TBX_GETCOMMANDS:          return GetCommands(s, (int)wp, Ptr<DWORD>(lp));

    // --- mouse, hit test and insert mark (ToolbarMouse.cpp)
    case WM_MOUSEMOVE:             return OnMouseMove(s, PointArg(lp), KeysArg(wp));
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:         return OnLeftDown(s, PointArg(lp), KeysArg(wp));
    case WM_LBUTTONUP:             return OnLeftUp(s, PointArg(lp), KeysArg(wp));
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:         return OnRightDown(s, msg, PointArg(lp), KeysArg(wp));
    case WM_RBUTTONUP:             return OnRightUp(s, PointArg(lp), KeysArg(wp));
    case WM_MOUSELEAVE:            return OnMouseLeave(s);
    case WM_TIMER:                 return OnTimer(s, wp);
    case TBX_TRACKMOUSE:           return TrackMouse(s);
    case TB_HITTEST:               return HitTestMessage(s, wp, Ptr<const POINT>(lp));
    case TB_SETINSERTMARK:         return SetInsertMark(s, Ptr<const TBINSERTMARK>(lp));
    case TB_INSERTMARKHITTEST:     return InsertMarkHitTest(s, Ptr<const POINT>(wp), Ptr<TBINSERTMARK>(lp));

    // --- strings and labels (ToolbarStrings.cpp)
    case TB_ADDSTRINGA:            return AddStrings(s, msg, wp, lp, false);
    case TB_ADDSTRINGW:            return AddStrings(s, msg, wp, lp, true);
    case TB_GETBUTTONTEXTA:        return GetButtonText(s, wp, Ptr<void>(lp), false);
    case TB_GETBUTTONTEXTW:        return GetButtonText(s, wp, Ptr<void>(lp), true);
    case TBX_SETBUTTONTEXTA:       return ChangeButton(s, msg, wp, SetButtonText, Ptr<const void>(lp), false);
    case TBX_SETBUTTONTEXTW:       return ChangeButton(s, msg, wp, SetButtonText, Ptr<const void>(lp), true);
    case TB_GETSTRINGA:            return GetString(s, wp, Ptr<void>(lp), false);
    case TB_GETSTRINGW:            return GetString(s, wp, Ptr<void>(lp), true);
    case TBX_GETSTRINGCOUNT:       return s->stringCount;
    case TBX_FINDSTRINGA:          return FindString(s, wp, Ptr<const void>(lp), false);
    case TBX_FINDSTRINGW:          return FindString(s, wp, Ptr<const void>(lp), true);
    case TBX_REMOVESTRINGS:        return RemoveStrings(s, (UINT)wp, (UINT)lp);
    case TBX_ADDLABELA:            return AddLabel(s, Ptr<const TBXLABEL>(wp), Ptr<const void>(lp), false);
    case TBX_ADDLABELW:            return AddLabel(s, Ptr<const TBXLABEL>(wp), Ptr<const void>(lp), true);
    case TBX_REMOVELABEL:          return RemoveLabelByKey(s, wp);

    // --- bitmaps (ToolbarBitmaps.cpp)
    case TB_ADDBITMAP:             return AddBitmap(s, wp, Ptr<TBADDBITMAP>(lp));
    case TB_REPLACEBITMAP:         return ReplaceBitmap(s, wp, Ptr<const TBREPLACEBITMAP>(lp));
    case TBX_COUNTIMAGES:          return CountImages(wp, lp);
    case TBX_GETBITMAPINFO:        return GetBitmapInfo(s, wp, Ptr<TBXBITMAPINFO>(lp));
    case TBX_REMOVEBITMAPS:        return RemoveBitmaps(s);

    default:                       return kPassOn;
    }
}

}  // namespace

BOOL RegisterToolbarExClass(HINSTANCE module) {
    if (g_registered) return TRUE;
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = ToolbarExWndProc;
    wc.cbWndExtra = sizeof(ToolbarState*);
    wc.hInstance = module;
    wc.hCursor = LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = kToolbarExClassName;
    if (!RegisterClassExA(&wc)) {
        // Another thread (or an earlier module) may have registered it meanwhile.
        WNDCLASSEXA existing = {};
        existing.cbSize = sizeof(existing);
        if (!GetClassInfoExA(module, kToolbarExClassName, &existing)) return FALSE;
    }
    InterlockedExchange(&g_registered, 1);
    return TRUE;
}

LRESULT CALLBACK ToolbarExWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        if (!AttachToolbarState(wnd)) return FALSE;  // no state: the window is not created
        return DefWindowProcA(wnd, msg, wParam, lParam);
    }
    ToolbarState* s = GetToolbarState(wnd);
    if (!s) return msg == WM_CREATE ? -1 : DefWindowProcA(wnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        DetachToolbarState(wnd, s);
        return 0;
    }
    const ToolbarAnswer answer = Dispatch(s, msg, wParam, lParam);
    return answer ? *answer : DefWindowProcA(wnd, msg, wParam, lParam);
}
