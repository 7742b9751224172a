// CTreeListCtrl: creation in place of a placeholder, the records its wrappers send (seen by a spy procedure
// subclassed over the control), sorted inserts through the compare thunk, a control made elsewhere taken over,
// and direct calls from worker threads while the window's thread keeps working.
#include <gtest/gtest.h>

#include "treelist/control/TreeListTestSupport.h"
#include "treelist/treelistctrl/TreeListCtrl.h"

#include <atomic>
#include <cstdlib>
#include <thread>
#include <tuple>

using namespace tltest;

namespace {

// Records the control's messages with a copy of the records they carry, subclassed over the control.
struct Spy {
    struct Entry {
        UINT message;
        LVCOLUMNA column;
        TreeListInsertRecord insert;
        TVITEMA item;
    };
    static inline std::vector<Entry> log;
    static inline WNDPROC previous = nullptr;

    static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
        Entry e = {msg, {}, {}, {}};
        if ((msg == TLM_INSERTCOLUMN || msg == TLM_SETCOLUMN) && lp) e.column = *reinterpret_cast<LVCOLUMNA*>(lp);
        if (msg == TVM_INSERTITEMA && lp) e.insert = *reinterpret_cast<TreeListInsertRecord*>(lp);
        if ((msg == TVM_SETITEMA || msg == TLM_SETRANGE) && lp) e.item = *reinterpret_cast<TVITEMA*>(lp);
        log.push_back(e);
        return CallWindowProcA(previous, w, msg, wp, lp);
    }
    HWND window;
    explicit Spy(HWND w) : window(w) {
        log.clear();
        previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc)));
    }
    ~Spy() { SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous)); }
    static Entry Last(UINT message) {
        for (auto it = log.rbegin(); it != log.rend(); ++it)
            if (it->message == message) return *it;
        return Entry{};
    }
};

// A plain top-level window (hidden: it covers nothing on the shared screen) with a static placeholder (id 100).
struct Host {
    HWND window;
    HWND placeholder;
    Host() {
        window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 30, 30, 400, 300, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        placeholder = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 20, 30, 200, 150, window,
                                      reinterpret_cast<HMENU>(100), GetModuleHandleA(nullptr), nullptr);
    }
    ~Host() { DestroyWindow(window); }
    CWnd* Wnd() const { return CWnd::FromHandle(window); }
};

// "a2" before "a10": digits compare by their value.
int Natural(const char* a, const char* b) {
    while (*a && *b) {
        if (isdigit(static_cast<unsigned char>(*a)) && isdigit(static_cast<unsigned char>(*b))) {
            const long x = strtol(a, const_cast<char**>(&a), 10), y = strtol(b, const_cast<char**>(&b), 10);
            if (x != y) return x < y ? -1 : 1;
            continue;
        }
        if (*a != *b) return *a < *b ? -1 : 1;
        ++a, ++b;
    }
    return *a ? 1 : *b ? -1 : 0;
}

std::vector<std::string> Children(const CTreeListCtrl& c, HTREEITEM parent = nullptr) {
    std::vector<std::string> out;
    for (HTREEITEM i = parent ? c.GetChildItem(parent) : c.GetRootItem(); i; i = c.GetNextSiblingItem(i))
        out.push_back(static_cast<const char*>(c.GetItemText(i)));
    return out;
}

}  // namespace

TEST(TreeListCtrl, CreationAndRuntimeClass) {
    Host host;
    CTreeListCtrl missing;
    EXPECT_FALSE(missing.CreateAtControl(0, 0, 999, host.Wnd(), 5));
    CTreeListCtrl c;
    ASSERT_TRUE(c.CreateAtControl(0, TVS_HASBUTTONS, 100, host.Wnd(), 5));
    EXPECT_EQ(GetWindow(host.placeholder, GW_HWNDNEXT), c.m_hWnd);
    EXPECT_TRUE(GetWindowLongA(host.placeholder, GWL_STYLE) & WS_VISIBLE);
    RECT a, b;
    GetWindowRect(host.placeholder, &a);
    GetWindowRect(c.m_hWnd, &b);
    EXPECT_TRUE(EqualRect(&a, &b));
    EXPECT_EQ(std::pair(c.GetStyle() & (WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS), GetDlgCtrlID(c.m_hWnd)),
              std::pair(DWORD(WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS), 5));
    CRuntimeClass* rc = c.GetRuntimeClass();
    EXPECT_EQ(std::tuple(std::string(rc->m_lpszClassName), rc->m_wSchema, rc->m_pBaseClass, rc->CreateObject()),
              std::tuple(std::string("CTreeListCtrl"), 0xFFFFu, RUNTIME_CLASS(CWnd), nullptr));
    EXPECT_TRUE(c.IsKindOf(RUNTIME_CLASS(CWnd)));
}

TEST(TreeListCtrl, DirectCreationAsksForTheProcedureOnce) {
    Host host;
    static int asked = 0;
    HHOOK hook = SetWindowsHookExA(
        WH_CALLWNDPROC,
        [](int code, WPARAM wp, LPARAM lp) -> LRESULT {
            const auto* m = reinterpret_cast<CWPSTRUCT*>(lp);
            if (code == HC_ACTION && m->message == TLM_OPTION && m->wParam == TLO_WINDOWPROC) ++asked;
            return CallNextHookEx(nullptr, code, wp, lp);
        },
        nullptr, GetCurrentThreadId());
    CTreeListCtrl one, two;
    const RECT r = {0, 0, 100, 100};
    ASSERT_TRUE(one.CreateDirect(0, 0, r, host.Wnd(), 1));
    EXPECT_EQ(TreeListDirectProc, &TreeListWndProc);
    const int first = asked;
    EXPECT_LE(first, 1);
    ASSERT_TRUE(two.CreateAtControlDirect(0, 0, 100, host.Wnd(), 2));
    EXPECT_EQ(asked, first);
    UnhookWindowsHookEx(hook);
}

TEST(TreeListCtrl, ColumnRecords) {
    Host host;
    CTreeListCtrl c;
    ASSERT_TRUE(c.CreateAtControl(0, 0, 100, host.Wnd(), 5));
    Spy spy(c.m_hWnd);
    // Width -1 goes as weight 1 (mask 0x8); order 32768 sets no order bit.
    EXPECT_EQ(c.InsertColumn(0, "Name", -1, -1), 0);
    LVCOLUMNA e = Spy::Last(TLM_INSERTCOLUMN).column;
    EXPECT_EQ(std::make_tuple(e.mask, e.cx, e.cchTextMax), std::make_tuple(UINT(LVCF_TEXT | LVCF_SUBITEM), 1, 256));
    EXPECT_EQ(c.InsertColumn(1, nullptr, LVCFMT_RIGHT, 80, -20), 1);
    e = Spy::Last(TLM_INSERTCOLUMN).column;
    EXPECT_EQ(std::make_tuple(e.mask, e.fmt, e.iOrder),
              std::make_tuple(0x90000001u | LVCF_ORDER | LVCF_WIDTH, LVCFMT_RIGHT, -20));
    c.SetColumnFlags29(1, TRUE, 50, 1);
    e = Spy::Last(TLM_SETCOLUMN).column;
    EXPECT_EQ(std::make_tuple(e.mask, static_cast<UINT>(e.fmt)),
              std::make_tuple(0x60000000u | LVCF_WIDTH, 0x60000000u));
    c.SetColumnText(1, "Size");
    EXPECT_EQ(Spy::Last(TLM_SETCOLUMN).column.cchTextMax, 4);

    // Header images: -1 keeps HDF_IMAGE, only values below it remove it; bit 0 of onRight places it.
    HWND header = reinterpret_cast<HWND>(c.SendMessage(TLM_GETHEADER));
    ASSERT_NE(header, nullptr);
    for (auto [image, onRight, format] :
         {std::tuple(3, 1, HDF_IMAGE | HDF_BITMAP_ON_RIGHT), {-1, 0, HDF_IMAGE}, {-2, 0, 0}}) {
        EXPECT_TRUE(c.SetColumnImage(0, image, onRight) || image < 0);
        HDITEMA h = {.mask = HDI_FORMAT};
        SendMessageA(header, HDM_GETITEMA, 0, reinterpret_cast<LPARAM>(&h));
        EXPECT_EQ(h.fmt & (HDF_IMAGE | HDF_BITMAP_ON_RIGHT), format) << image;
    }
    c.SetColumnBitmap(0, nullptr, 0);
    HDITEMA h = {.mask = HDI_FORMAT};
    SendMessageA(header, HDM_GETITEMA, 0, reinterpret_cast<LPARAM>(&h));
    EXPECT_EQ(h.fmt & HDF_BITMAP, 0);
}

TEST(TreeListCtrl, ItemsRowsAndSortedInserts) {
    Host host;
    CTreeListCtrl c;
    ASSERT_TRUE(c.CreateAtControl(0, 0, 100, host.Wnd(), 5));
    c.InsertColumn(0, "Name", -1, 100);
    c.InsertColumn(1, "Value", -1, 100);
    Spy spy(c.m_hWnd);
    // Sorted by the caller's two-argument compare, through the thunk; the lParam travels in the extra word.
    for (const char* s : {"a10", "a2", "b", "a1"})
        c.InsertItemSortedBy(TVIF_TEXT | TVIF_PARAM, s, 0, 0, 0, 0, 42, Natural, TVI_ROOT);
    EXPECT_EQ(Children(c), (std::vector<std::string>{"a1", "a2", "a10", "b"}));
    const TreeListInsertRecord sorted = Spy::Last(TVM_INSERTITEMA).insert;
    EXPECT_EQ(std::make_tuple(sorted.item.mask, sorted.extra, reinterpret_cast<ULONG_PTR>(sorted.hInsertAfter)),
              std::make_tuple(UINT(TVIF_TEXT) | TLIF_EXTRAPARAM, LPARAM(42), TLI_CALLERSORT));
    EXPECT_EQ(c.GetItemData(c.GetRootItem()), 42u);
    // The six-argument form gets its data and both texts.
    auto reversed = [](HWND, HTREEITEM, LPCSTR probe, LPCSTR text, LPARAM, LPARAM data) -> LRESULT {
        ++*reinterpret_cast<int*>(data);
        return -strcmp(text, probe);
    };
    int calls = 0;
    c.DeleteAllItems();
    for (const char* s : {"x", "z", "y"})
        c.InsertItemSortedEx(TVIF_TEXT | TVIF_PARAM, s, 0, 0, 0, 0, 7, reversed, TVI_ROOT,
                             reinterpret_cast<LPARAM>(&calls));
    EXPECT_EQ(Children(c), (std::vector<std::string>{"z", "y", "x"}));
    EXPECT_GT(calls, 0);
    EXPECT_EQ(c.GetItemData(c.GetRootItem()), 7u);

    // Rows: past the end appends at the top level; otherwise in front of the row's item.
    EXPECT_EQ(c.InsertRow(99, "last", -1, -1, 0), 3);
    EXPECT_EQ(c.InsertRow(0, "first", 2, TVIS_BOLD, 0xFFFF), 0);
    const TreeListInsertRecord row = Spy::Last(TVM_INSERTITEMA).insert;
    EXPECT_EQ(
        std::make_tuple(row.item.mask, row.item.stateMask, reinterpret_cast<ULONG_PTR>(row.hInsertAfter)),
        std::make_tuple(UINT(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE), 0xFF13u, TLI_BEFOREPARENT));
    EXPECT_EQ(Children(c), (std::vector<std::string>{"first", "z", "y", "x", "last"}));
    EXPECT_TRUE(c.SetRowCell(4, 1, "cell", -1, -1, 0));
    EXPECT_EQ(Spy::Last(TVM_SETITEMA).item.mask, UINT(TLIF_CELL | TVIF_HANDLE | TVIF_TEXT));
    char text[16] = "junk";
    EXPECT_TRUE(c.GetRowCellText(4, text, sizeof text, 1));
    EXPECT_STREQ(text, "cell");
    EXPECT_FALSE(c.GetRowCellText(50, text, sizeof text, 1) || c.SetRowCell(50, 1, "x", -1, -1, 0));

    // Ranges, counts and finding.
    EXPECT_EQ(c.SetItemRange(TVI_ROOT, 0, TVIF_STATE | TLR_DESCENDANTS, nullptr, 0, 0, TVIS_BOLD, TVIS_BOLD, 0), 5);
    EXPECT_EQ(Spy::Last(TLM_SETRANGE).item.mask & TLIF_CELL, UINT(TLIF_CELL));
    EXPECT_EQ(c.CountItems(TVI_ROOT, TVIF_STATE | TLR_DESCENDANTS, TVIS_BOLD, TVIS_BOLD, 0, 0), 5);
    const HTREEITEM y = c.FindItem(TVI_ROOT, TVIF_TEXT, nullptr, 0, "y", 0, 0);
    EXPECT_STREQ(c.GetItemText(y), "y");
    CImageList* image = c.CreateDragImage(y, 0);
    EXPECT_TRUE(image && image->m_hImageList);
    delete image;
    EXPECT_EQ(c.CreateDragImage(reinterpret_cast<HTREEITEM>(static_cast<UINT_PTR>(999)), 0), nullptr);
}

TEST(TreeListCtrl, TakesOverAControlMadeElsewhere) {
    TreeListRig rig;
    rig.Insert("A");
    CTreeListCtrl c;
    ASSERT_TRUE(c.SubclassWindow(rig.tree));
    EXPECT_EQ(c.InsertColumn(0, "Name", -1, 100), 0);
    const HTREEITEM b = c.InsertItem(TVIF_TEXT | TVIF_PARAM, "B", 0, 0, 0, 0, 5, TVI_ROOT, TVI_LAST);
    EXPECT_EQ(std::tuple(rig.Shape(), c.GetItemData(b), c.CountItems(TVI_ROOT, TLR_ANY | TLR_DESCENDANTS, 0, 0, 0, 0)),
              std::tuple(std::string("A B"), DWORD_PTR(5), 2));
    c.UnsubclassWindow();
    EXPECT_EQ(rig.Count(), 2);
}

TEST(TreeListCtrl, DirectCallsFromWorkersWhileTheWindowWorks) {
    Host host;
    for (int round = 0; round < 5; ++round) {
        CTreeListCtrl c;
        const RECT r = {0, 0, 200, 200};
        ASSERT_TRUE(c.CreateDirect(0, TVS_HASBUTTONS, r, host.Wnd(), 7));
        const HTREEITEM folder = c.InsertItem(TVIF_TEXT, "folder", 0, 0, 0, 0, 0, TVI_ROOT, TVI_LAST);
        std::atomic<int> running{2};
        std::atomic<int> found{0};
        std::vector<std::thread> workers;
        for (int w = 0; w < 2; ++w)
            workers.emplace_back([&, w] {
                char text[16];
                for (int i = 0; i < 2000; ++i) {
                    wsprintfA(text, "w%d-%d", w, i);
                    c.InsertItemDirect(TVIF_TEXT | TVIF_PARAM, text, 0, 0, 0, 0, w, folder, TVI_LAST);
                }
                found += c.FindItemDirect(folder, TVIF_TEXT | TLF_CHILDREN, nullptr, 0, "w1-1999", 0, 0) != nullptr;
                c.SetItemRangeDirect(folder, 0, TVIF_STATE | TLR_DESCENDANTS, nullptr, 0, 0, TVIS_BOLD, TVIS_BOLD, 0);
                --running;
            });
        // The window's thread keeps inserting, expanding and answering its messages meanwhile.
        int own = 0;
        while (running) {
            c.InsertItem(TVIF_TEXT, "ui", 0, 0, 0, 0, 0, TVI_ROOT, TVI_LAST);
            ++own;
            c.Expand(folder, TVE_TOGGLE);
            PumpQueued();
        }
        for (std::thread& t : workers) t.join();
        PumpQueued();
        EXPECT_EQ(static_cast<int>(c.GetCount()), 1 + own + 4000);
        EXPECT_EQ(c.CountItems(folder, TVIF_STATE | TLR_DESCENDANTS, TVIS_BOLD, TVIS_BOLD, 0, 0), 4000);
        EXPECT_GE(found.load(), 1);
        c.DestroyWindow();
    }
}
