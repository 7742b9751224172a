// The tree-list control ("TreeList") against the system's tree view ("SysTreeView32") in the same process:
// 100,000 items inserted flat and 10 levels deep, every parent expanded, one screen painted, every item looked
// up and everything deleted. Prints the best of several runs for each side (argument 1: runs of ours, 2: runs
// of the system's; 3 and 1 by default, as the system's takes minutes for some operations), how many times
// faster ours is (system time / ours; the goal is 2 or more for insert, expand and delete and 1 or more for
// paint), and the private bytes per item (ours / system; the goal is at most 1).
#include "bench/BenchClock.h"
#include "treelist/control/TreeList.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kItems = 100000;
constexpr int kDepth = 10;
// Runs of each side: the system's tree view takes minutes for some of these operations.
int g_runs[2] = {3, 1};
constexpr int kPaints = 50;

enum Op { kInsertFlat, kPaint, kLookUp, kDeleteFlat, kInsertDeep, kExpand, kDeleteDeep, kOps };
const char* const kOpNames[kOps] = {"insert 100,000 flat", "paint one screen", "look up every item",
                                    "delete all (flat)", "insert 100,000 deep", "expand all",
                                    "delete all (deep)"};

std::vector<std::string> g_texts;

LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcA(hwnd, msg, wp, lp); }

HWND MakeParent() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ParentProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TreeListBenchParent";
    RegisterClassA(&wc);
    return CreateWindowExA(0, wc.lpszClassName, "bench", WS_POPUP | WS_VISIBLE, 0, 0, 420, 620, nullptr, nullptr,
                           wc.hInstance, nullptr);
}

// Committed private memory of the process, summed over the address space (the process counters of some
// systems leave private bytes at 0).
SIZE_T PrivateBytes() {
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION info;
    for (char* p = nullptr; VirtualQuery(p, &info, sizeof info) == sizeof info;
         p = static_cast<char*>(info.BaseAddress) + info.RegionSize)
        if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) total += info.RegionSize;
    return total;
}

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

HTREEITEM Insert(HWND tree, HTREEITEM parent, int index) {
    TVINSERTSTRUCTA is = {};
    is.hParent = parent;
    is.hInsertAfter = TVI_LAST;
    is.item.mask = TVIF_TEXT | TVIF_PARAM;
    is.item.pszText = const_cast<char*>(g_texts[index].c_str());
    is.item.lParam = index;
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&is)));
}

// One side's run; times in milliseconds, -1 when the control does not answer the operation.
struct Run {
    double ms[kOps];
    double bytesPerItem;
};

Run Measure(HWND parent, const char* cls) {
    Run run = {};
    HWND tree = CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT,
                                0, 0, 400, 600, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(7)),
                                GetModuleHandleA(nullptr), nullptr);
    Pump();
    std::vector<HTREEITEM> items(kItems);
    const SIZE_T before = PrivateBytes();
    double t = BenchNowMs();
    for (int i = 0; i < kItems; ++i) items[i] = Insert(tree, TVI_ROOT, i);
    run.ms[kInsertFlat] = BenchNowMs() - t;
    run.bytesPerItem = static_cast<double>(PrivateBytes() - before) / kItems;
    Pump();

    BITMAPINFO bi = {};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 400, -600, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    t = BenchNowMs();
    for (int i = 0; i < kPaints; ++i) SendMessageA(tree, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    run.ms[kPaint] = (BenchNowMs() - t) / kPaints;
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);

    char buffer[64];
    t = BenchNowMs();
    for (HTREEITEM item : items) {
        TVITEMA r = {};
        r.mask = TVIF_TEXT | TVIF_PARAM | TVIF_STATE;
        r.hItem = item;
        r.pszText = buffer;
        r.cchTextMax = sizeof buffer;
        SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&r));
    }
    run.ms[kLookUp] = BenchNowMs() - t;

    t = BenchNowMs();
    SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    run.ms[kDeleteFlat] = BenchNowMs() - t;
    Pump();

    // Chains of 10 levels: every item but the last of a chain is a parent.
    t = BenchNowMs();
    for (int i = 0; i < kItems;) {
        HTREEITEM parent = TVI_ROOT;
        for (int level = 0; level < kDepth && i < kItems; ++level, ++i) parent = items[i] = Insert(tree, parent, i);
    }
    run.ms[kInsertDeep] = BenchNowMs() - t;
    Pump();

    int answered = 0;
    t = BenchNowMs();
    for (int i = 0; i < kItems; ++i)
        if (i % kDepth != kDepth - 1)
            answered += SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(items[i])) != 0;
    run.ms[kExpand] = answered ? BenchNowMs() - t : -1;
    Pump();

    t = BenchNowMs();
    SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    run.ms[kDeleteDeep] = BenchNowMs() - t;
    DestroyWindow(tree);
    Pump();
    return run;
}

}  // namespace

// Arguments: the runs of ours and of the system's tree view (3 and 1 when not given).
int main(int argc, char** argv) {
    for (int side = 0; side < 2 && side + 1 < argc; ++side) g_runs[side] = std::max(1, atoi(argv[side + 1]));
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    RegisterTreeListClass(GetModuleHandleA(nullptr));
    for (int i = 0; i < kItems; ++i) g_texts.push_back("Item " + std::to_string(i));
    HWND parent = MakeParent();

    Run best[2];
    for (Run& b : best) {
        std::fill(b.ms, b.ms + kOps, 1e300);
        b.bytesPerItem = 0;
    }
    for (int side = 0; side < 2; ++side)
        for (int r = 0; r < g_runs[side]; ++r) {
            const Run run = Measure(parent, side == 0 ? kTreeListClassName : WC_TREEVIEWA);
            fprintf(stderr, "run %d %s:", r + 1, side == 0 ? "TreeList" : "SysTreeView32");
            for (double ms : run.ms) fprintf(stderr, " %.1f", ms);
            fprintf(stderr, "\n");
            for (int op = 0; op < kOps; ++op) best[side].ms[op] = std::min(best[side].ms[op], run.ms[op]);
            if (r == 0) best[side].bytesPerItem = run.bytesPerItem;  // the first run pays for fresh pages
        }

    printf("TreeList against SysTreeView32, %d items, best of %d and %d runs (x faster = system / ours)\n", kItems,
           g_runs[0], g_runs[1]);
    for (int op = 0; op < kOps; ++op) {
        const double ours = best[0].ms[op], system = best[1].ms[op];
        if (ours < 0 || system < 0)
            printf("%-22s ours %s   system %10.3f ms   not answered by TreeList yet\n", kOpNames[op], "      n/a   ",
                   system);
        else
            printf("%-22s ours %10.3f ms   system %10.3f ms   %6.2f x faster\n", kOpNames[op], ours, system,
                   system / ours);
    }
    printf("%-22s ours %10.1f B    system %10.1f B    ratio %5.2f (ours / system)\n", "private bytes per item",
           best[0].bytesPerItem, best[1].bytesPerItem, best[0].bytesPerItem / best[1].bytesPerItem);
    DestroyWindow(parent);
    return 0;
}
