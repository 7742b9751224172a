// The "TreeList" control against the system's tree view ("SysTreeView32") in the same process, each with
// 100,000 items: sorting siblings by text and by a compare function, expanding and collapsing a two-level
// tree, and a type-ahead search that runs through every row. Prints the best of several runs for each side;
// the table's ratio is ours / system (below 1.0: ours is faster). Exits non-zero when a result is wrong.
#include "bench/BenchClock.h"
#include "bench/BenchFigure.h"
#include "treelist/control/TreeList.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kItems = 100000;
constexpr int kParents = 1000;
constexpr int kRuns = 3;
constexpr DWORD kTypeAheadPause = 1100;  // longer than either control's type-ahead gap

struct Peer {
    const char* name;
    HWND window;
    LRESULT Send(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const { return SendMessageA(window, msg, wp, lp); }
    HTREEITEM Insert(const char* text, LPARAM param, HTREEITEM parent = TVI_ROOT) const {
        TVINSERTSTRUCTA r = {};
        r.hParent = parent;
        r.hInsertAfter = TVI_LAST;
        r.item.mask = TVIF_TEXT | TVIF_PARAM;
        r.item.pszText = const_cast<char*>(text);
        r.item.lParam = param;
        return reinterpret_cast<HTREEITEM>(Send(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&r)));
    }
    HTREEITEM Next(HTREEITEM item, UINT code) const {
        return reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
    }
    std::string Text(HTREEITEM item) const {
        char buffer[64] = {};
        TVITEMA r = {};
        r.mask = TVIF_TEXT;
        r.hItem = item;
        r.pszText = buffer;
        r.cchTextMax = sizeof buffer;
        Send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&r));
        return buffer;
    }
    LPARAM Param(HTREEITEM item) const {
        TVITEMA r = {};
        r.mask = TVIF_PARAM;
        r.hItem = item;
        Send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&r));
        return r.lParam;
    }
    void Clear() const { Send(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT)); }
};

// Random texts of ASCII letters in both cases (both controls order those alike), keyed 0..n-1 by lParam.
std::vector<std::string> RandomTexts() {
    std::vector<std::string> texts(kItems);
    unsigned state = 12345;
    for (std::string& t : texts) {
        t.resize(8);
        for (char& c : t) {
            state = state * 1103515245u + 12345u;
            const unsigned v = (state >> 16) % 52;
            c = static_cast<char>(v < 26 ? 'a' + v : 'A' + v - 26);
        }
    }
    return texts;
}

std::vector<LPARAM> RandomKeys() {
    std::vector<LPARAM> keys(kItems);
    unsigned state = 777;
    for (LPARAM& k : keys) {
        state = state * 1103515245u + 12345u;
        k = static_cast<LPARAM>(state >> 8);
    }
    return keys;
}

void FillFlat(const Peer& p, const std::vector<std::string>& texts, const std::vector<LPARAM>& params) {
    p.Send(WM_SETREDRAW, FALSE);
    p.Clear();
    for (int i = 0; i < kItems; ++i) p.Insert(texts[i].c_str(), params[i]);
    p.Send(WM_SETREDRAW, TRUE);
}

int CALLBACK ByParam(LPARAM a, LPARAM b, LPARAM) { return a < b ? -1 : a > b ? 1 : 0; }

// Texts in order, case folded as both controls compare them.
bool SortedByText(const Peer& p) {
    std::string last;
    int n = 0;
    for (HTREEITEM i = p.Next(nullptr, TVGN_ROOT); i; i = p.Next(i, TVGN_NEXT), ++n) {
        std::string t = p.Text(i);
        for (char& c : t) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        if (t < last) return false;
        last = t;
    }
    return n == kItems;
}

bool SortedByParam(const Peer& p) {
    LPARAM last = -1;
    int n = 0;
    for (HTREEITEM i = p.Next(nullptr, TVGN_ROOT); i; i = p.Next(i, TVGN_NEXT), ++n) {
        const LPARAM v = p.Param(i);
        if (v < last) return false;
        last = v;
    }
    return n == kItems;
}

// Best time of the sort, each run on the unsorted items again.
double TimeSort(const Peer& p, const std::vector<std::string>& texts, const std::vector<LPARAM>& keys,
                bool byCallback, bool* ok) {
    double best = 1e30;
    for (int run = 0; run < kRuns; ++run) {
        FillFlat(p, texts, keys);
        TVSORTCB sort = {TVI_ROOT, ByParam, 0};
        const double start = BenchNowMs();
        if (byCallback)
            p.Send(TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort));
        else
            p.Send(TVM_SORTCHILDREN, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
        best = std::min(best, BenchNowMs() - start);
    }
    *ok &= byCallback ? SortedByParam(p) : SortedByText(p);
    return best;
}

// kParents top-level items with the rest of the items as their children; every parent expanded, then
// every parent collapsed.
double TimeExpand(const Peer& p, bool* ok) {
    p.Send(WM_SETREDRAW, FALSE);
    p.Clear();
    std::vector<HTREEITEM> parents;
    char text[32];
    for (int i = 0; i < kParents; ++i) {
        wsprintfA(text, "Ordner %d", i);
        parents.push_back(p.Insert(text, i));
        for (int k = 0; k < kItems / kParents - 1; ++k) {
            wsprintfA(text, "Datei %d.%d", i, k);
            p.Insert(text, k, parents.back());
        }
    }
    p.Send(WM_SETREDRAW, TRUE);
    int expanded = 0;
    const double best = BenchBestOf(kRuns, [&] {
        for (HTREEITEM h : parents) p.Send(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(h));
        expanded = 0;
        for (HTREEITEM h : parents) expanded += (p.Send(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(h), TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
        for (HTREEITEM h : parents) p.Send(TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(h));
    });
    *ok &= expanded == kParents && !(p.Send(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(parents[0]), TVIS_EXPANDED) & TVIS_EXPANDED);
    return best;
}

// Every row but the last begins with "a": typing "z" from the first row searches all of them.
double TimeTypeAhead(const Peer& p, bool* ok) {
    p.Send(WM_SETREDRAW, FALSE);
    p.Clear();
    char text[32];
    HTREEITEM first = nullptr, last = nullptr;
    for (int i = 0; i < kItems; ++i) {
        wsprintfA(text, i == kItems - 1 ? "zeile %d" : "abschnitt %d", i);
        last = p.Insert(text, i);
        if (!first) first = last;
    }
    p.Send(WM_SETREDRAW, TRUE);
    double best = 1e30;
    for (int run = 0; run < kRuns; ++run) {
        p.Send(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(first));
        Sleep(kTypeAheadPause);
        const double start = BenchNowMs();
        p.Send(WM_CHAR, 'z', 1);
        best = std::min(best, BenchNowMs() - start);
        *ok &= p.Next(nullptr, TVGN_CARET) == last;
    }
    return best;
}

HWND MakeTree(const char* cls, HWND parent) {
    return CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, 0, 0,
                           400, 300, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
}

}  // namespace

int main() {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    RegisterTreeListClass(GetModuleHandleA(nullptr));
    HWND host = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 420, 320, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    const Peer ours = {"TreeList", MakeTree(kTreeListClassName, host)};
    const Peer system = {"SysTreeView32", MakeTree(WC_TREEVIEWA, host)};
    if (!ours.window || !system.window) {
        std::printf("a tree window could not be made\n");
        return 1;
    }
    const std::vector<std::string> texts = RandomTexts();
    const std::vector<LPARAM> keys = RandomKeys();
    bool ok = true;
    struct Figure {
        const char* name;
        double ours, system;
    } figures[] = {
        {"sort 100000 siblings by text", TimeSort(ours, texts, keys, false, &ok), TimeSort(system, texts, keys, false, &ok)},
        {"sort 100000 siblings by callback", TimeSort(ours, texts, keys, true, &ok), TimeSort(system, texts, keys, true, &ok)},
        {"expand and collapse 1000 x 100 items", TimeExpand(ours, &ok), TimeExpand(system, &ok)},
        {"type-ahead over 100000 rows", TimeTypeAhead(ours, &ok), TimeTypeAhead(system, &ok)},
    };
    for (const Figure& f : figures) {
        std::printf("%-40s TreeList %9.2f ms   SysTreeView32 %9.2f ms   ratio %.3f\n", f.name, f.ours, f.system,
                    f.ours / f.system);
        BenchFigure(f.name, f.ours, f.system, "ms");
    }
    if (!ok) std::printf("a result was wrong: the figures are not trustworthy\n");
    DestroyWindow(host);
    return ok ? 0 : 1;
}
