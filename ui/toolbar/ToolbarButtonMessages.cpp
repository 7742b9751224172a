// Messages that read and change buttons: states, styles, commands, images, data, extra flags and ranges.
#include "ui/toolbar/ToolbarMessages.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr BYTE kLayoutStyles = 0x58;   // auto size, show text, drop-down arrow
constexpr BYTE kLayoutStates = 0x68;   // hidden, wrap, ellipses

// The state bits of TB_ENABLEBUTTON ... TB_MARKBUTTON and of TB_ISBUTTONENABLED ... TB_ISBUTTONHIGHLIGHTED, in
// message order.
constexpr BYTE kStateBits[] = {TBSTATE_ENABLED, TBSTATE_CHECKED,       TBSTATE_PRESSED,
                               TBSTATE_HIDDEN,  TBSTATE_INDETERMINATE, TBSTATE_MARKED};

void Repaint(ToolbarState* s, int index) {
    RefreshButtonLook(s, index);
    InvalidateButton(s, index);
}

int ImageArea(ToolbarState* s, int image) {
    ToolbarImageRef ref;
    return image >= 0 && FindButtonImage(s, image, &ref) ? MAKELONG(ref.width, ref.height) : 0;
}

// TBIF_BYINDEX forces a plain index.
int InfoIndex(const ToolbarState* s, WPARAM button, DWORD mask) {
    if (!(mask & TBIF_BYINDEX)) return ResolveButtonIndex(s, button);
    return (INT_PTR)button >= 0 && (INT_PTR)button < s->buttonCount ? (int)button : -1;
}

LRESULT ReadField(const ToolbarButton* b, ButtonField field) {
    switch (field) {
    case ButtonField::kState: return b->fsState;
    case ButtonField::kStateStyle: return (b->fsState << 16) | b->fsStyle;
    case ButtonField::kCommand: return b->idCommand;
    case ButtonField::kImage: return b->iBitmap;
    case ButtonField::kStringIndex: return b->iString;
    case ButtonField::kFlags: return b->extra;
    case ButtonField::kData: return (LRESULT)b->dwData;
    }
    return 0;
}

}  // namespace

// --- Single fields of one button (the lock is held by the caller) ---

LRESULT SetButtonStateStyle(ToolbarState* s, int index, UINT value) {
    ToolbarButton* b = ButtonAt(s, index);
    if (!b) return 0;
    LRESULT old = (b->fsState << 16) | b->fsStyle;
    if (HIWORD(value) == 0x73C3) value <<= 16;
    BYTE styleMask = (BYTE)((value >> 8) & 0xFE);  // a separator stays a separator
    BYTE stateMask = (BYTE)(value >> 24);
    BYTE style = (BYTE)((b->fsStyle & ~styleMask) | (value & styleMask));
    BYTE state = (BYTE)((b->fsState & ~stateMask) | ((value >> 16) & stateMask));
    BYTE styleChange = style ^ b->fsStyle, stateChange = state ^ b->fsState;
    b->fsStyle = style;
    b->fsState = state;
    if ((styleChange & kLayoutStyles) || (stateChange & kLayoutStates)) {
        RefreshButtonLook(s, index);
        MarkButtonForLayout(s, index);
    } else if (styleChange || (stateChange & ~TBSTATE_MARKED)) {
        Repaint(s, index);
    }
    return old;
}

LRESULT SetButtonImage(ToolbarState* s, int index, int image) {
    ToolbarButton* b = ButtonAt(s, index);
    if (!b) return 0;
    int old = b->iBitmap;
    b->iBitmap = image;
    b->look = (WORD)((b->look & ~kLookValid) | kLookRerender);
    s->dirty |= kDirtyMeasure;
    if (ImageArea(s, old) != ImageArea(s, image)) {
        s->dirty |= kDirtyRelayout;
        InvalidateToolbar(s);
    } else {
        InvalidateButton(s, index);
    }
    return old;
}

LRESULT SetButtonData(ToolbarState* s, int index, DWORD_PTR data) {
    ToolbarButton* b = ButtonAt(s, index);
    if (!b) return 0;
    DWORD_PTR old = b->dwData;
    b->dwData = data;
    if (b->extra & TBXF_WINDOW) {
        MarkButtonForLayout(s, index);
    } else if ((b->extra & TBXF_VALUE) && b->iBitmap >= 0 && old != data) {
        b->look |= kLookRerender;
        InvalidateButton(s, index);
    }
    return (LRESULT)old;
}

LRESULT SetButtonFlags(ToolbarState* s, int index, WORD value, WORD mask) {
    ToolbarButton* b = ButtonAt(s, index);
    if (!b) return -1;
    WORD old = b->extra;
    b->extra = (WORD)((value & mask) | (old & ~mask));
    if ((old ^ b->extra) & ~TBXF_SPLIT) MarkButtonForLayout(s, index);
    return old;
}

LRESULT SetButtonFixedWidth(ToolbarState* s, int index, int width) {
    ToolbarButton* b = ButtonAt(s, index);
    if (!b || (b->extra & (TBXF_VALUE | TBXF_WINDOW))) return -1;
    width = std::clamp(width, 0, 512);
    int old = (b->extra & TBXF_FIXEDWIDTH) ? (int)b->dwData : 0;
    if (width) {
        b->extra |= TBXF_FIXEDWIDTH;
        b->dwData = (DWORD_PTR)width;
    } else {
        b->extra &= ~TBXF_FIXEDWIDTH;
    }
    if (old != width) MarkButtonForLayout(s, index);
    return old;
}

LRESULT SetButtonStringIndex(ToolbarState* s, int index, INT_PTR stringIndex) {
    ToolbarButton* b = ButtonAt(s, index);
    if (!b) return 0;
    INT_PTR old = b->iString;
    b->iString = stringIndex;
    MarkButtonForLayout(s, index);
    return old;
}

LRESULT SetButtonCommand(ToolbarState* s, int index, int command) {
    ToolbarButton* b = ButtonAt(s, index);
    if (!b) return 0;
    LRESULT old = b->idCommand;
    b->idCommand = command;
    return old;
}

// --- Messages ---

LRESULT AddButtons(ToolbarState* s, UINT msg, WPARAM count, const TBBUTTON* buttons, bool clearExtra) {
    ToolbarLock lock(s, (int)msg);
    return AddToolbarButtons(s, count, buttons, clearExtra);
}

LRESULT InsertButton(ToolbarState* s, UINT msg, int index, const TBBUTTON* button, bool clearExtra) {
    ToolbarLock lock(s, (int)msg);
    return InsertToolbarButton(s, index, button, clearExtra);
}

LRESULT DeleteButton(ToolbarState* s, WPARAM button) {
    ToolbarLock lock(s, TB_DELETEBUTTON);
    return DeleteToolbarButton(s, ResolveButtonIndex(s, button));
}

LRESULT CommandToIndex(ToolbarState* s, WPARAM button) {
    ToolbarLock lock(s, TB_COMMANDTOINDEX);
    return ResolveButton(s, button);
}

LRESULT FindWindowMessage(ToolbarState* s, HWND child) {
    ToolbarLock lock(s, TBX_FINDWINDOW);
    return FindWindowButton(s, child);
}

LRESULT GetButtonField(ToolbarState* s, UINT msg, WPARAM button, ButtonResolver resolve, ButtonField field,
                       LRESULT failure) {
    ToolbarLock lock(s, (int)msg);
    const ToolbarButton* b = ButtonAt(s, resolve(s, button));
    return b ? ReadField(b, field) : failure;
}

// TB_ENABLEBUTTON ... TB_MARKBUTTON: one state bit on an addressed button.
LRESULT SetStateBit(ToolbarState* s, UINT msg, WPARAM button, bool on) {
    ToolbarLock lock(s, (int)msg);
    int i = ResolveButton(s, button);
    ToolbarButton* b = ButtonAt(s, i);
    if (!b) return 0;
    BYTE bit = kStateBits[msg - TB_ENABLEBUTTON];
    if (msg == TB_CHECKBUTTON && on && (b->fsStyle & BTNS_GROUP) && !ReleaseGroupCheck(s, i)) return 0;
    BYTE old = b->fsState;
    b->fsState = on ? (BYTE)(old | bit) : (BYTE)(old & ~bit);
    if (msg == TB_MARKBUTTON) return 1;
    if (msg == TB_HIDEBUTTON) {
        if (old != b->fsState) {
            if (on && s->hot == i) s->hot = -1;
            RefreshButtonLook(s, i);
            s->dirty |= kDirtyMeasure;
            // The buttons behind it move, so the whole bar is painted again.
            InvalidateToolbar(s);
        }
        return 1;
    }
    Repaint(s, i);
    return 1;
}

LRESULT IsStateBit(ToolbarState* s, UINT msg, WPARAM button) {
    ToolbarLock lock(s, (int)msg);
    ToolbarButton* b = ButtonAt(s, ResolveButtonIndex(s, button));
    if (!b) return -1;
    return (b->fsState & kStateBits[msg - TB_ISBUTTONENABLED]) ? 1 : 0;
}

LRESULT GetButton(ToolbarState* s, WPARAM button, TBBUTTON* out) {
    ToolbarLock lock(s, TB_GETBUTTON);
    ToolbarButton* b = ButtonAt(s, ResolveButtonIndex(s, button));
    if (!b || !out) return 0;
    // The caller chooses the structure size; never copy more than the TBBUTTON part of the record.
    memcpy(out, b, std::min<size_t>(s->buttonStructSize, sizeof(TBBUTTON)));
    return 1;
}

LRESULT GetItemRect(ToolbarState* s, WPARAM button, ButtonResolver resolve, RECT* out) {
    ToolbarLock lock(s, TB_GETITEMRECT);
    int index = resolve(s, button);
    EnsureToolbarLayout(s);
    ToolbarButton* b = ButtonAt(s, index);
    if (!b || !out) return 0;
    *out = b->rect;
    return 1;
}

LRESULT ChangeBitmap(ToolbarState* s, WPARAM button, int image) {
    ToolbarLock lock(s, TB_CHANGEBITMAP);
    ToolbarButton* b = ButtonAt(s, ResolveButton(s, button));
    if (!b) return 0;
    b->iBitmap = image;
    b->look = (WORD)((b->look & ~(kLookHasImage | kLookValid)) | kLookRerender);
    s->dirty |= kDirtyMeasure;
    if (s->wnd) {
        RECT row = {b->rect.left, b->rect.top, s->clientWidth, b->rect.bottom};
        RECT below = {0, s->idealHeight, s->clientWidth, s->clientHeight};
        InvalidateRect(s->wnd, &row, FALSE);
        InvalidateRect(s->wnd, &below, TRUE);
    }
    return 1;
}

LRESULT GetButtonInfo(ToolbarState* s, WPARAM button, TBBUTTONINFOW* info, bool wide) {
    if (!info || info->cbSize < sizeof(TBBUTTONINFOW)) return -1;
    ToolbarLock lock(s, wide ? TB_GETBUTTONINFOW : TB_GETBUTTONINFOA);
    DWORD mask = info->dwMask;
    int index = InfoIndex(s, button, mask);
    ToolbarButton* b = ButtonAt(s, index);
    if (!b) return 0;
    if (info->cbSize < sizeof(TBBUTTONINFOEXW)) mask &= ~TBIF_EXTRAFLAGS;
    if (mask & TBIF_COMMAND) info->idCommand = b->idCommand;
    if (mask & TBIF_LPARAM) info->lParam = b->dwData;
    if (mask & TBIF_IMAGE) info->iImage = b->iBitmap;
    if (mask & TBIF_STATE) info->fsState = b->fsState;
    if (mask & TBIF_STYLE) info->fsStyle = b->fsStyle;
    if (mask & TBIF_EXTRAFLAGS) ((TBBUTTONINFOEXW*)info)->extraValue = b->extra;
    if (mask & TBIF_SIZE) info->cx = (WORD)(b->rect.right - b->rect.left);
    if (mask & TBIF_STRINGINDEX) {
        info->pszText = (LPWSTR)b->iString;
    } else if ((mask & TBIF_TEXT) && info->pszText && info->cchText >= 1) {
        const ToolbarString* text = ButtonString(s, b);
        CopyToolbarText(info->pszText, info->cchText, text ? text->text : L"", text ? text->length : 0, wide);
    }
    return index;
}

LRESULT SetButtonInfo(ToolbarState* s, WPARAM button, const TBBUTTONINFOW* info, bool wide) {
    if (!info || info->cbSize < sizeof(TBBUTTONINFOW)) return 0;
    ToolbarLock lock(s, wide ? TB_SETBUTTONINFOW : TB_SETBUTTONINFOA);
    DWORD mask = info->dwMask;
    int index = InfoIndex(s, button, mask);
    ToolbarButton* b = ButtonAt(s, index);
    if (!b) return 0;
    if (info->cbSize < sizeof(TBBUTTONINFOEXW)) mask &= ~TBIF_EXTRAFLAGS;
    if (mask & TBIF_COMMAND) b->idCommand = info->idCommand;
    if (mask & TBIF_LPARAM) SetButtonData(s, index, info->lParam);
    if (mask & TBIF_IMAGE) SetButtonImage(s, index, info->iImage);
    if (mask & (TBIF_STATE | TBIF_STYLE)) {
        UINT value = 0;
        if (mask & TBIF_STATE) value |= 0xFF000000u | ((UINT)info->fsState << 16);
        if (mask & TBIF_STYLE) value |= 0xFF00u | info->fsStyle;
        SetButtonStateStyle(s, index, value);
    }
    if (mask & TBIF_EXTRAFLAGS) {
        auto* ex = (const TBBUTTONINFOEXW*)info;
        SetButtonFlags(s, index, ex->extraValue, ex->extraMask);
    }
    if (mask & TBIF_SIZE) SetButtonFixedWidth(s, index, info->cx);
    if (mask & TBIF_STRINGINDEX) SetButtonStringIndex(s, index, (INT_PTR)info->pszText);
    else if ((mask & TBIF_TEXT) && info->pszText) SetButtonText(s, index, info->pszText, wide);
    return 1;
}

// TBX_MODIFYSTYLE/STATE/FLAGS: a field of every button in [first, end) or of every button with a command id.
LRESULT ModifyRange(ToolbarState* s, UINT msg, WPARAM range, LPARAM change) {
    ToolbarLock lock(s, (int)msg);
    WORD value = LOWORD(change), mask = HIWORD(change);
    bool byCommand = HIWORD(range) == kToolbarCommandMark;
    int first = byCommand ? 0 : LOWORD(range);
    int end = byCommand ? s->buttonCount : std::min<int>(HIWORD(range), s->buttonCount);
    int visited = 0;
    for (int i = first; i < end; ++i) {
        ToolbarButton* b = s->buttons[i];
        if (byCommand ? b->idCommand != LOWORD(range) : IsSeparator(b)) continue;
        ++visited;
        WORD changed;
        bool layout;
        if (msg == TBX_MODIFYSTYLE) {
            BYTE old = b->fsStyle;
            b->fsStyle = (BYTE)((old & ~mask) | (value & mask));
            changed = old ^ b->fsStyle;
            layout = (changed & ~(BTNS_GROUP | 0x80)) != 0;
        } else if (msg == TBX_MODIFYSTATE) {
            BYTE old = b->fsState;
            b->fsState = (BYTE)((old & ~mask) | (value & mask));
            changed = old ^ b->fsState;
            layout = (changed & (TBSTATE_HIDDEN | TBSTATE_WRAP)) != 0;
            if (changed) Repaint(s, i);
        } else {
            WORD old = b->extra;
            b->extra = (WORD)((old & ~mask) | (value & mask));
            changed = old ^ b->extra;
            layout = (changed & ~TBXF_SPLIT) != 0;
        }
        if (changed && layout) {
            b->look &= ~kLookValid;
            s->dirty |= kDirtyRelayout;
        }
    }
    if (s->dirty) InvalidateToolbar(s);
    return visited;
}

LRESULT CountButtons(ToolbarState* s, WPARAM range, LPARAM match) {
    ToolbarLock lock(s, TBX_COUNTBUTTONS);
    WORD value = LOWORD(match), mask = HIWORD(match);
    int end = std::min<int>(HIWORD(range), s->buttonCount);
    int count = 0;
    for (int i = LOWORD(range); i < end; ++i) {
        const ToolbarButton* b = s->buttons[i];
        if (mask ? (b->extra & mask) == (value & mask) : b->idCommand == 0) ++count;
    }
    return count;
}

LRESULT GetCommands(ToolbarState* s, int max, DWORD* out) {
    if (!out || max < 1) return 0;
    ToolbarLock lock(s, TBX_GETCOMMANDS);
    int n = std::min(max, s->buttonCount);
    for (int i = 0; i < n; ++i) out[i] = (DWORD)s->buttons[i]->idCommand;
    return n;
}

LRESULT DeleteButtons(ToolbarState* s, INT_PTR first, INT_PTR end) {
    ToolbarLock lock(s, TBX_DELETEBUTTONS);
    if (first < 0) first = 0;
    // The range's end is taken before stepping back from it: any end at or below first deletes nothing.
    int deleted = 0;
    for (INT_PTR i = std::min<INT_PTR>(end, s->buttonCount); i > first; --i)
        if (DeleteToolbarButton(s, (int)(i - 1), false)) ++deleted;
    if (deleted) InvalidateToolbar(s);
    return deleted;
}

