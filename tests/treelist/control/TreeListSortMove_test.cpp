// Sorting and moving in the "TreeList" control: the three sort forms against a reference sort, inputs that
// break naive quicksorts, nested and recursive sorts, changes refused or held while a sort runs, and moves
// of subtrees in every mode with their levels and rows.
#include <gtest/gtest.h>

#include "treelist/control/TreeListTestSupport.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <random>
#include <thread>

using namespace tltest;

namespace {

std::string Fold(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

std::vector<LPARAM> Params(const TreeListRig& rig, UINT_PTR parent = 0) {
    std::vector<LPARAM> out;
    for (UINT_PTR c = parent ? rig.Next(parent, TVGN_CHILD) : rig.Next(0, TVGN_ROOT); c; c = rig.Next(c))
        out.push_back(rig.Send(TLM_GETITEMPARAM, 0, static_cast<LPARAM>(c)));
    return out;
}

int CALLBACK ByParam(LPARAM a, LPARAM b, LPARAM data) {
    ++*reinterpret_cast<int*>(data);
    return a < b ? -1 : a > b ? 1 : 0;
}
int CALLBACK AlwaysEqual(LPARAM, LPARAM, LPARAM) { return 0; }
int CALLBACK Inconsistent(LPARAM, LPARAM, LPARAM data) {
    auto* state = reinterpret_cast<unsigned*>(data);
    *state = *state * 1103515245u + 12345u;
    return static_cast<int>((*state >> 16) % 3) - 1;
}

LRESULT SortByParam(const TreeListRig& rig, UINT_PTR parent, PFNTVCOMPARE fn, LPARAM data, bool recurse = false) {
    TVSORTCB sort = {reinterpret_cast<HTREEITEM>(parent), fn, data};
    return rig.Send(TVM_SORTCHILDRENCB, recurse, reinterpret_cast<LPARAM>(&sort));
}

void InsertParams(const TreeListRig& rig, const std::vector<LPARAM>& params, UINT_PTR parent = 0) {
    for (LPARAM p : params) rig.Insert("x", parent, reinterpret_cast<UINT_PTR>(TVI_LAST), 0, 0, p);
}

}  // namespace

TEST(TreeListSort, ByTextFollowsCaselessByteOrder) {
    TreeListRig rig;
    std::mt19937 random(7);
    const char* pieces[] = {"a", "B", "b", "Z", "_", "1", "\xe4", "\xc4", "ab", "AB"};
    Texts texts;
    for (int i = 0; i < 400; ++i) {
        std::string s;
        for (int k = random() % 4; k >= 0; --k) s.append(pieces[random() % 10]);
        texts.push_back(s);
        // Every seventh text comes by call-back from the parent, keyed by lParam.
        rig.Insert(i % 7 == 0 ? LPSTR_TEXTCALLBACKA : s.c_str(), 0, reinterpret_cast<UINT_PTR>(TVI_LAST), 0, 0, i + 1);
    }
    rig.answer = [&](NMHDR* h) -> LRESULT {
        if (h->code != static_cast<UINT>(TVN_GETDISPINFOA)) return 0;
        auto* nm = reinterpret_cast<NMTVDISPINFOA*>(h);
        lstrcpynA(nm->item.pszText, texts[nm->item.lParam - 1].c_str(), nm->item.cchTextMax);
        return 0;
    };
    EXPECT_EQ(rig.Send(TVM_SORTCHILDREN, 0, reinterpret_cast<LPARAM>(TVI_ROOT)), 1);
    Texts got;
    for (LPARAM p : Params(rig)) got.push_back(texts[p - 1]);
    Texts want = texts;
    std::sort(want.begin(), want.end(), [](const std::string& x, const std::string& y) { return Fold(x) < Fold(y); });
    for (size_t i = 0; i < want.size(); ++i) EXPECT_EQ(Fold(got[i]), Fold(want[i])) << "at " << i;
    // Each call-back text was asked for once, not once per comparison.
    EXPECT_EQ(rig.CountOf(TVN_GETDISPINFOA), (400 + 6) / 7);
}

TEST(TreeListSort, ByCallbackMatchesReferenceSort) {
    TreeListRig rig;
    std::mt19937 random(11);
    std::vector<LPARAM> params(3000);
    for (LPARAM& p : params) p = static_cast<LPARAM>(random() % 1000) - 500;
    InsertParams(rig, params);
    int calls = 0;
    EXPECT_EQ(SortByParam(rig, kRoot, ByParam, reinterpret_cast<LPARAM>(&calls)), 1);
    std::vector<LPARAM> want = params;
    std::sort(want.begin(), want.end());
    EXPECT_EQ(Params(rig), want);
    EXPECT_GT(calls, 0);
    EXPECT_EQ(static_cast<int>(rig.Send(TLM_GETROWCOUNT)), 3000);
    EXPECT_EQ(rig.Send(TLM_GETROWITEM, 0, 0), static_cast<LRESULT>(rig.Next(0, TVGN_ROOT)));

    // The six-argument form gets the window and the items, and may read them while it runs.
    struct Context {
        HWND tree;
        int mismatches;
    } context = {rig.tree, 0};
    auto six = [](HWND window, HTREEITEM x, HTREEITEM y, LPARAM px, LPARAM py, LPARAM data) -> LRESULT {
        auto* c = reinterpret_cast<Context*>(data);
        if (window != c->tree || SendMessageA(window, TLM_GETITEMPARAM, 0, reinterpret_cast<LPARAM>(x)) != px ||
            SendMessageA(window, TLM_GETITEMPARAM, 0, reinterpret_cast<LPARAM>(y)) != py)
            ++c->mismatches;
        return py < px ? -1 : py > px ? 1 : 0;  // descending
    };
    TreeListSortCompare fn = six;
    TVSORTCB sort = {TVI_ROOT, reinterpret_cast<PFNTVCOMPARE>(reinterpret_cast<void*>(fn)),
                     reinterpret_cast<LPARAM>(&context)};
    EXPECT_EQ(rig.Send(TLM_SORTCHILDREN6, 0, reinterpret_cast<LPARAM>(&sort)), 1);
    std::reverse(want.begin(), want.end());
    EXPECT_EQ(Params(rig), want);
    EXPECT_EQ(context.mismatches, 0);
}

TEST(TreeListSort, HardInputsKeepEveryChild) {
    // Ascending: params 0..n-1, else all equal.
    const struct { const char* name; int n; bool ascending; PFNTVCOMPARE fn; } cases[] = {
        {"sorted", 20000, true, ByParam},
        {"equal", 20000, false, ByParam},
        {"always equal", 5000, true, AlwaysEqual},
        {"inconsistent", 5000, true, Inconsistent},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TreeListRig rig;
        std::vector<LPARAM> params(c.n);
        for (int i = 0; i < c.n; ++i) params[i] = c.ascending ? i : 5;
        InsertParams(rig, params);
        unsigned state = 1;
        int calls = 0;
        const LPARAM data = c.fn == Inconsistent ? reinterpret_cast<LPARAM>(&state) : reinterpret_cast<LPARAM>(&calls);
        EXPECT_EQ(SortByParam(rig, kRoot, c.fn, data), 1);
        std::vector<LPARAM> got = Params(rig);
        if (c.fn == ByParam) {
            EXPECT_EQ(got, params);
            EXPECT_LT(calls, c.n * 40);  // n log n, not n squared
        }
        std::sort(got.begin(), got.end());
        EXPECT_EQ(got, params);
        EXPECT_EQ(rig.Count(), c.n);
    }
}

TEST(TreeListSort, OneChildRecursionAndBadParents) {
    TreeListRig rig;
    auto h = rig.Build("P(C(z y x)) Q(q2 q1) A");
    // A parent with one child sorts the grandchildren; sorting again changes nothing.
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(rig.Send(TVM_SORTCHILDREN, 0, static_cast<LPARAM>(h["P"])), 1);
        EXPECT_EQ(rig.Shape(h["C"]), "x y z");
    }
    // Without the recurse flag only the top level; with it every level.
    rig.Send(TVM_SORTCHILDREN, 0, kRoot);
    EXPECT_EQ(rig.Shape(), "A P(C(x y z)) Q(q2 q1)");
    rig.Send(TVM_SORTCHILDREN, 1, kRoot);
    EXPECT_EQ(rig.Shape(), "A P(C(x y z)) Q(q1 q2)");
    EXPECT_EQ(rig.Send(TVM_SORTCHILDREN, 0, 999), 0);
    EXPECT_EQ(rig.Send(TVM_SORTCHILDREN, 0, static_cast<LPARAM>(h["x"])), 1);  // no children
    EXPECT_EQ(SortByParam(rig, h["P"], nullptr, 0), 0);
    EXPECT_EQ(rig.Send(TVM_SORTCHILDRENCB, 0, 0), 0);
    // Expanded: the rows follow the new order.
    rig.Send(TVM_EXPAND, TVE_EXPAND | 0x10000000, kRoot);
    rig.Insert("b", h["Q"], reinterpret_cast<UINT_PTR>(TVI_FIRST));
    rig.Send(TVM_SORTCHILDREN, 0, static_cast<LPARAM>(h["Q"]));
    EXPECT_EQ(rig.RowTexts(), (Texts{"A", "P", "C", "x", "y", "z", "Q", "b", "q1", "q2"}));
}

TEST(TreeListSort, ChangesDuringASortWaitOrAreRefused) {
    TreeListRig rig;
    std::vector<LPARAM> params(200);
    for (int i = 0; i < 200; ++i) params[i] = 200 - i;
    InsertParams(rig, params);
    // On the sorting thread (inside the compare function) inserts, deletes and moves are refused; a worker's
    // insert waits for the sort and then lands.
    static TreeListRig* target;
    static std::thread worker;
    static std::atomic<bool> workerDone;
    static LRESULT refused[3];
    static bool workerHeld;
    target = &rig;
    workerDone = false;
    auto fn = [](LPARAM a, LPARAM b, LPARAM) -> int {
        if (!worker.joinable()) {
            const UINT_PTR first = target->Next(0, TVGN_ROOT);
            refused[0] = static_cast<LRESULT>(target->InsertDirect("re-entrant"));
            refused[1] = target->Direct(TVM_DELETEITEM, 0, static_cast<LPARAM>(first));
            refused[2] = target->Direct(TLM_MOVEITEM, reinterpret_cast<WPARAM>(TVI_LAST), static_cast<LPARAM>(first));
            worker = std::thread([] { workerDone = target->InsertDirect("from the worker") != 0; });
            Sleep(100);
            workerHeld = !workerDone;
        }
        return a < b ? -1 : a > b ? 1 : 0;
    };
    EXPECT_EQ(SortByParam(rig, kRoot, fn, 0), 1);
    ASSERT_TRUE(worker.joinable());
    worker.join();
    EXPECT_TRUE(workerDone);
    EXPECT_TRUE(workerHeld);
    EXPECT_EQ(std::vector<LRESULT>(refused, refused + 3), std::vector<LRESULT>(3, 0));
    EXPECT_EQ(rig.Count(), 201);
    std::vector<LPARAM> got = Params(rig);
    got.pop_back();  // the worker's item, appended after the sort
    std::sort(params.begin(), params.end());
    EXPECT_EQ(got, params);
}

// Texts of a few megabytes lie in blocks of their own that go back to the system when freed: reading one
// after the parent replaced it faults.
TEST(TreeListSort, TextsSetWhileTheParentIsAskedAreTheOnesComparedAndNeverReadFreed) {
    TreeListRig rig;
    static const std::string big(2 << 20, 'z'), bigger(4 << 20, 'b');
    static TreeListRig* target;
    static UINT_PTR own;
    target = &rig;
    static const auto setOwnText = [] {
        target->Set(own, {.mask = TVIF_TEXT, .pszText = const_cast<char*>(bigger.c_str())});
    };
    // A sort by text: the call-back sibling's text is fetched after the own text was looked at.
    const UINT_PTR parent = rig.Insert("parent");
    own = rig.Insert("own", parent);
    rig.Set(own, {.mask = TVIF_TEXT, .pszText = const_cast<char*>(big.c_str())});
    rig.Insert(LPSTR_TEXTCALLBACKA, parent);
    rig.answer = [&](NMHDR* h) -> LRESULT {
        if (h->code != static_cast<UINT>(TVN_GETDISPINFOA)) return 0;
        setOwnText();
        lstrcpynA(reinterpret_cast<NMTVDISPINFOA*>(h)->item.pszText, "m", 2);
        return 0;
    };
    EXPECT_EQ(rig.Send(TVM_SORTCHILDREN, 0, static_cast<LPARAM>(parent)), 1);
    EXPECT_EQ(rig.Next(parent, TVGN_CHILD), own);  // "bbb..." before "m"
    // An insert sorted by the caller's function, which changes the sibling's text before it reads the probe's.
    rig.answer = nullptr;
    rig.Set(own, {.mask = TVIF_TEXT, .pszText = const_cast<char*>(big.c_str())});
    static size_t probeLength;
    TreeListInsertCompare compare = [](HWND, HTREEITEM probe, LPCSTR probeText, LPCSTR, LPARAM, LPARAM) -> LRESULT {
        if (reinterpret_cast<UINT_PTR>(probe) == own) setOwnText();
        probeLength = strlen(probeText);
        return -1;
    };
    TreeListInsertRecord r = {Handle(parent), Handle(TLI_CALLERSORT),
                              {.mask = TVIF_TEXT,
                               .hItem = reinterpret_cast<HTREEITEM>(compare),
                               .pszText = const_cast<char*>("new")},
                              0};
    EXPECT_NE(rig.SendWith(TVM_INSERTITEMA, 0, &r), 0);
    EXPECT_EQ(probeLength, big.size());  // the text the probe had when it was asked
}

TEST(TreeListMove, EveryModeAndRefusal) {
    const char* start = "A(A1(A1a A1b) A2) B(B1)";
    // The target: "ROOT", "LAST", "BAD" or a text.
    const struct { const char* name; int mode; const char *item, *target; int result; const char* layout; } cases[] = {
        {"before", 0, "B", "A", 2, "B(B1) A(A1(A1a A1b) A2)"},
        {"after", 1, "A1a", "A2", 2, "A(A1(A1b) A2 A1a) B(B1)"},
        {"first child", 2, "A2", "B", 2, "A(A1(A1a A1b)) B(A2 B1)"},
        {"last child", 3, "A1", "B", 2, "A(A2) B(B1 A1(A1a A1b))"},
        {"already after", 1, "A2", "A1", 1, start},
        {"already before", 0, "A1", "A2", 1, start},
        {"onto itself", 2, "A", "A", 1, start},
        {"under its own descendant", 2, "A", "A1a", 0, start},
        {"root, first", 2, "B1", "ROOT", 2, "B1 A(A1(A1a A1b) A2) B"},
        {"root, last", 3, "A1", "ROOT", 2, "A(A2) B(B1) A1(A1a A1b)"},
        {"root, before", 0, "A1", "ROOT", 0, start},
        {"last", 0, "A2", "LAST", 2, "A(A1(A1a A1b)) B(B1) A2"},
        {"last item to the end", 0, "B1", "LAST", 0, start},
        {"bad target", 0, "A2", "BAD", 0, start},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TreeListRig rig;
        auto h = rig.Build(start);
        h["ROOT"] = Wide(0xFFFF0000);
        h["LAST"] = reinterpret_cast<UINT_PTR>(TVI_LAST);
        h["BAD"] = 999;
        rig.Send(TVM_EXPAND, TVE_EXPAND | 0x10000000, kRoot);
        EXPECT_EQ(rig.Send(TLM_MOVEITEM + c.mode, h[c.target], static_cast<LPARAM>(h[c.item])), c.result);
        EXPECT_EQ(rig.Shape(), c.layout);
        // The rows list the whole expanded tree in its new order, and levels follow the new parents.
        Texts walk;
        for (UINT_PTR i = rig.Next(0, TVGN_ROOT); i; i = rig.Next(i, TLGN_NEXTINTREE)) walk.push_back(rig.Text(i));
        EXPECT_EQ(rig.RowTexts(), walk);
        const LONG indent = static_cast<LONG>(rig.Send(TVM_GETINDENT));
        for (UINT_PTR i = rig.Next(0, TVGN_ROOT); i; i = rig.Next(i, TLGN_NEXTINTREE)) {
            int level = 0;
            for (UINT_PTR p = rig.Next(i, TVGN_PARENT); p; p = rig.Next(p, TVGN_PARENT)) ++level;
            EXPECT_EQ(rig.ItemRect(i, 1).left - rig.ItemRect(h["A"], 1).left, level * indent) << rig.Text(i);
        }
    }
    // A parent left without children loses its button.
    TreeListRig rig;
    const UINT_PTR a = rig.Insert("A"), a1 = rig.Insert("A1", a);
    EXPECT_EQ(rig.Send(TLM_MOVEITEM + 1, static_cast<WPARAM>(a), static_cast<LPARAM>(a1)), 2);
    EXPECT_EQ(rig.Get(a, TVIF_CHILDREN).cChildren, 0);
}
