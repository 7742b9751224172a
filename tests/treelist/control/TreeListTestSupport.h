// The shared rig of the "TreeList" tests: a real control under a visible logging parent. The parent keeps a
// log of every WM_NOTIFY (code, a copy of the payload, the sending thread) and answers from a script; the
// tests' message pump, a replaceable tick source and a 32-bit canvas to paint into complete it.
#pragma once

#include "tests/support/Canvas.h"
#include "tests/support/MessagePump.h"
#include "treelist/control/TreeList.h"
#include "treelist/control/TreeListSeams.h"

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

namespace tltest {

using Texts = std::vector<std::string>;

// Sign-extended, as 64-bit callers pass the special handles.
inline UINT_PTR Wide(UINT value) { return static_cast<UINT_PTR>(static_cast<LONG_PTR>(static_cast<int>(value))); }
inline HTREEITEM Handle(UINT_PTR item) { return reinterpret_cast<HTREEITEM>(item); }
inline const UINT_PTR kRoot = reinterpret_cast<UINT_PTR>(TVI_ROOT);

struct Notification {
    UINT code;
    DWORD thread;
    union {
        NMHDR hdr;
        NMTREEVIEWA tree;
        NMTVDISPINFOA disp;
        NMTREELISTCOLUMN column;
        NMTREELISTSCROLL scroll;
        NMTREELISTEDITREQUEST edit;
        NMTREELISTHEADERCLICK headerClick;
        NMHEADERA header;
    };
    std::string text;  // a copy of the record's text, which lives only during the send
    UINT_PTR oldItem() const { return reinterpret_cast<UINT_PTR>(tree.itemOld.hItem); }
    UINT_PTR newItem() const { return reinterpret_cast<UINT_PTR>(tree.itemNew.hItem); }
};

// The tick source the control reads, moved by the test.
class FakeClock {
public:
    FakeClock() { m_previous = SetTreeListTickSource(Read); }
    ~FakeClock() { SetTreeListTickSource(m_previous); }
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;
    void Advance(DWORD ms) { m_now += ms; }

private:
    static DWORD Read() { return m_now.load(); }
    static inline std::atomic<DWORD> m_now{1000000};
    TreeListTickFn m_previous;
};

// The cursor position the control reads (the real one is shared by every process on the display).
class FakeCursor {
public:
    FakeCursor() { m_previous = SetTreeListCursorSource(Read); }
    ~FakeCursor() { SetTreeListCursorSource(m_previous); }
    FakeCursor(const FakeCursor&) = delete;
    FakeCursor& operator=(const FakeCursor&) = delete;
    // Puts the cursor on a client point of a window (screen coordinates without one).
    void Put(HWND window, POINT point) {
        if (window) ClientToScreen(window, &point);
        m_x = point.x;
        m_y = point.y;
    }

private:
    static BOOL WINAPI Read(POINT* p) {
        p->x = m_x.load();
        p->y = m_y.load();
        return TRUE;
    }
    static inline std::atomic<LONG> m_x{0}, m_y{0};
    TreeListCursorFn m_previous;
};

// A visible top-level window with a "TreeList" child; the parent logs and answers the child's notifications.
class TreeListRig {
public:
    std::vector<Notification> log;
    // Answers a notification (after it is logged); 0 when unset.
    std::function<LRESULT(NMHDR*)> answer;
    HWND parent = nullptr;
    HWND tree = nullptr;

    explicit TreeListRig(DWORD style = TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, int width = 300,
                         int height = 200, DWORD exStyle = 0);
    ~TreeListRig();
    TreeListRig(const TreeListRig&) = delete;
    TreeListRig& operator=(const TreeListRig&) = delete;

    LRESULT Send(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const { return SendMessageA(tree, msg, wp, lp); }
    template <typename Record>
    LRESULT SendWith(UINT msg, WPARAM wp, Record* record) const {
        return Send(msg, wp, reinterpret_cast<LPARAM>(record));
    }
    // Calls the window procedure on the calling thread, as worker threads do.
    LRESULT Direct(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const { return TreeListWndProc(tree, msg, wp, lp); }

    UINT_PTR Insert(const char* text, UINT_PTR parentItem = 0, UINT_PTR after = 0xFFFF0002, UINT mask = 0,
                    UINT state = 0, LPARAM param = 0) const;
    UINT_PTR InsertDirect(const char* text, UINT_PTR parentItem = 0, UINT mask = 0) const;
    // A top-level item with a children count (I_CHILDRENCALLBACK: the parent is asked, see AnswerChildren).
    UINT_PTR InsertCounted(const char* text, int children) const;
    std::string Text(UINT_PTR item, int column = 0) const;
    // TVM_GETITEMA or TVM_SETITEMA for an item or, with a column, its cell (handle, cell bit and column set).
    BOOL Item(UINT msg, UINT_PTR item, TVITEMA& r, int column = 0) const;
    TVITEMA Get(UINT_PTR item, UINT mask, int column = 0) const {
        TVITEMA r = {.mask = mask, .stateMask = 0xFFFFFFFF};
        Item(TVM_GETITEMA, item, r, column);
        return r;
    }
    BOOL Set(UINT_PTR item, TVITEMA r, int column = 0) const { return Item(TVM_SETITEMA, item, r, column); }
    LRESULT Ex(DWORD bits, bool on = true) const { return Send(TVM_SETEXTENDEDSTYLE, bits, on ? bits : 0); }
    UINT_PTR Next(UINT_PTR item, UINT code = TVGN_NEXT) const {
        return static_cast<UINT_PTR>(Send(TVM_GETNEXTITEM, code, static_cast<LPARAM>(item)));
    }
    // Texts of the children of an item (0: top level), in order.
    std::vector<std::string> Children(UINT_PTR item = 0) const;
    int Count() const { return static_cast<int>(Send(TVM_GETCOUNT)); }
    BOOL Delete(UINT_PTR item, WPARAM mode = 0) const {
        return static_cast<BOOL>(Send(TVM_DELETEITEM, mode, static_cast<LPARAM>(item)));
    }
    // TVM_GETITEMRECT (the handle goes in the first bytes of the rectangle); empty when not shown.
    RECT ItemRect(UINT_PTR item, WPARAM flags = 0) const;
    // A mouse message at a client point.
    LRESULT Mouse(UINT msg, int x, int y, WPARAM keys = 0) const {
        return Send(msg, keys, MAKELPARAM(x, y));
    }
    // The left button pressed and released at a client point, with the keys held.
    void Click(POINT p, WPARAM keys = 0) const {
        Mouse(WM_LBUTTONDOWN, p.x, p.y, keys | MK_LBUTTON);
        Mouse(WM_LBUTTONUP, p.x, p.y, keys);
    }
    int RowHeight() const { return static_cast<int>(Send(TVM_GETITEMHEIGHT)); }
    int Row(UINT_PTR item) const { return static_cast<int>(Send(TLM_GETITEMROW, 0, static_cast<LPARAM>(item))); }
    UINT_PTR RowItem(int row) const { return static_cast<UINT_PTR>(Send(TLM_GETROWITEM, 0, row)); }
    int FirstRow() const { return Row(Next(0, TVGN_FIRSTVISIBLE)); }
    HWND Header() const { return reinterpret_cast<HWND>(Send(TLM_GETHEADER)); }
    void Paint(HDC dc) const { Send(WM_PAINT, reinterpret_cast<WPARAM>(dc)); }
    // A point on the label text of an item (column 0) or inside a cell, vertically in the middle of its row.
    POINT OnText(UINT_PTR item, int dx = 2) const;
    POINT InCell(UINT_PTR item, int column, int dx = 3) const;
    LRESULT Option(int option, LPARAM value) const { return Send(TLM_OPTION, option | kTreeListSetOption, value); }
    UINT State(UINT_PTR item) const { return static_cast<UINT>(Send(TVM_GETITEMSTATE, item)); }
    UINT_PTR Caret() const { return Next(0, TVGN_CARET); }
    std::string CaretText() const { return Caret() ? Text(Caret()) : "<none>"; }
    // Texts of the display rows, in order.
    std::vector<std::string> RowTexts() const;
    // The tree below an item as text: "A(A1(A1a A1b) A2) B(B1)".
    std::string Shape(UINT_PTR item = 0) const;
    // Inserts a tree given in that form at the top level; the new items by their texts.
    std::map<std::string, UINT_PTR> Build(const std::string& shape) const;
    // Columns of the given widths, appended.
    void AddColumns(std::initializer_list<int> widths) const;
    std::vector<UINT> Codes() const;
    int CountOf(UINT code) const;
    // The last notification of that code; null when none came.
    const Notification* Last(UINT code) const;
    void Clear() { log.clear(); }

    static LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
};

// Holds modifier keys down (as the thread's keyboard state) for its lifetime; Shift, Ctrl and Alt are up
// unless named.
class Modifiers {
public:
    explicit Modifiers(std::initializer_list<int> keys) {
        GetKeyboardState(m_saved);
        BYTE state[256];
        memcpy(state, m_saved, sizeof state);
        for (int k : {VK_SHIFT, VK_CONTROL, VK_MENU}) state[k] = 0;
        for (int k : keys) state[k] = 0x80;
        SetKeyboardState(state);
    }
    ~Modifiers() { SetKeyboardState(m_saved); }
    Modifiers(const Modifiers&) = delete;
    Modifiers& operator=(const Modifiers&) = delete;

private:
    BYTE m_saved[256];
};

// Answers each TVN_GETDISPINFOA with *count as the children count, anything else with 0.
std::function<LRESULT(NMHDR*)> AnswerChildren(const int* count);

// Images of one colour, size x size.
HIMAGELIST SolidImages(COLORREF colour, int count, int size = 16);
int VScrollMax(HWND window);

// What a canvas shows where the control painted nothing.
constexpr COLORREF kUnpainted = RGB(0x11, 0x11, 0x11);

}  // namespace tltest
