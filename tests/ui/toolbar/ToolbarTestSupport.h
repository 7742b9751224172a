// Helpers for the toolbar control tests: image strips made in memory, buttons, a control in a logging parent,
// and painting into a 32-bit memory bitmap whose pixels can be read back.
#pragma once

#include "tests/support/Canvas.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/toolbar/ToolbarMessages.h"

#include <initializer_list>
#include <vector>

namespace tbtest {

inline TBBUTTON Button(int image, int id, BYTE style = BTNS_BUTTON, BYTE state = TBSTATE_ENABLED,
                       INT_PTR string = -1, WORD extra = 0, DWORD_PTR data = 0) {
    TBBUTTON b = {};
    b.iBitmap = image;
    b.idCommand = id;
    b.fsState = state;
    b.fsStyle = style;
    memcpy(b.bReserved, &extra, sizeof(extra));
    b.dwData = data;
    b.iString = string;
    return b;
}

inline TBBUTTON Separator() { return Button(-1, 0, BTNS_SEP); }

// A 32-bit strip of count images of w x h: image i is filled with colours[i % n], and the top-left pixel of
// the strip holds key (the transparent colour), as painted pictures have it.
inline HBITMAP MakeStrip(int count, int w, int h, std::vector<COLORREF> colours = {RGB(200, 0, 0)},
                         COLORREF key = RGB(192, 192, 192)) {
    std::vector<DWORD> bits((size_t)count * w * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < count * w; ++x) {
            COLORREF c = colours[(x / w) % colours.size()];
            bits[(size_t)y * count * w + x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        }
    bits[0] = (GetRValue(key) << 16) | (GetGValue(key) << 8) | GetBValue(key);
    return CreateBitmap(count * w, h, 1, 32, bits.data());
}

// Adds a strip owned by the control; the first global image index.
inline LRESULT AddStrip(ToolbarState* s, int count, int w, int h, std::vector<COLORREF> colours = {RGB(200, 0, 0)}) {
    TBADDBITMAPEX ab = {};
    ab.nID = (UINT_PTR)MakeStrip(count, w, h, colours);
    ab.flags = TBXAB_OWNHANDLE;
    return AddBitmap(s, 0x12340000u | (WORD)count, (TBADDBITMAP*)&ab);
}

// A state without a window, for geometry that needs none.
struct Bar {
    ToolbarState* s = CreateToolbarState(nullptr);
    Bar() { UpdateToolbarFontMetrics(s); }
    ~Bar() { DestroyToolbarState(s); }
    Bar(const Bar&) = delete;
    Bar& operator=(const Bar&) = delete;

    void Add(std::initializer_list<TBBUTTON> buttons) {
        for (const TBBUTTON& b : buttons) InsertToolbarButton(s, s->buttonCount, &b, false);
    }
    RECT Rect(int i) {
        EnsureToolbarLayout(s);
        return s->buttons[i]->rect;
    }
};

inline int Width(const RECT& r) { return r.right - r.left; }
inline int Height(const RECT& r) { return r.bottom - r.top; }

// What a canvas shows where the control painted nothing.
constexpr COLORREF kUnpainted = RGB(1, 2, 3);

// The control in a logging parent.
struct Toolbar {
    uitest::TestParent parent;
    HWND hwnd = nullptr;
    static constexpr int kId = 77;

    explicit Toolbar(DWORD style = 0, int w = 400, int h = 60) : parent(520, 300) {
        RegisterToolbarExClass(GetModuleHandleA(nullptr));
        hwnd = CreateWindowExA(0, kToolbarExClassName, "", WS_CHILD | WS_VISIBLE | style, 0, 0, w, h, parent.hwnd,
                               (HMENU)(INT_PTR)kId, GetModuleHandleA(nullptr), nullptr);
    }
    ~Toolbar() {
        if (IsWindow(hwnd)) DestroyWindow(hwnd);
    }
    Toolbar(const Toolbar&) = delete;
    Toolbar& operator=(const Toolbar&) = delete;

    LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) { return SendMessageA(hwnd, msg, wParam, lParam); }
    ToolbarState* State() const { return GetToolbarState(hwnd); }

    LRESULT AddImages(int count, int size = 16, std::vector<COLORREF> colours = {RGB(200, 0, 0)}) {
        TBADDBITMAPEX ab = {};
        ab.nID = (UINT_PTR)MakeStrip(count, size, size, colours);
        ab.flags = TBXAB_OWNHANDLE;
        return Send(TB_ADDBITMAP, 0x12340000u | (WORD)count, (LPARAM)&ab);
    }
    void Add(std::initializer_list<TBBUTTON> buttons) {
        std::vector<TBBUTTON> list(buttons);
        Send(TBX_ADDBUTTONS, list.size(), (LPARAM)list.data());
    }
    RECT Rect(int i) {
        RECT r = {};
        Send(TB_GETITEMRECT, i, (LPARAM)&r);
        return r;
    }
    void Paint(Canvas& canvas) { Send(WM_PAINT, (WPARAM)canvas.dc); }
    // Lays the bar out (hit testing reads the laid-out buttons).
    void Prepare() { Send(TBX_GETIDEALSIZE); }
    static LPARAM At(POINT pt) { return MAKELPARAM(pt.x, pt.y); }
    static POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2 - 3}; }
    void Move(POINT pt, WPARAM keys = 0) { Send(WM_MOUSEMOVE, keys, At(pt)); }
    void Click(POINT pt) {
        Move(pt);
        Send(WM_LBUTTONDOWN, MK_LBUTTON, At(pt));
        Send(WM_LBUTTONUP, 0, At(pt));
        PumpQueued();
    }
    void RightClick(POINT pt) {
        Move(pt);
        Send(WM_RBUTTONDOWN, MK_RBUTTON, At(pt));
        Send(WM_RBUTTONUP, 0, At(pt));
        PumpQueued();
    }
    // Commands posted by the control to its parent.
    std::vector<WORD> Commands() const {
        std::vector<WORD> ids;
        for (const auto& m : parent.log)
            if (m.msg == WM_COMMAND && m.from == hwnd) ids.push_back(LOWORD(m.wParam));
        return ids;
    }
};

}  // namespace tbtest
