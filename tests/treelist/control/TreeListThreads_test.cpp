// The "TreeList" control across threads: the per-window lock, direct calls from worker threads, the deferred
// queue that brings their effects to the window's thread, the sorted-insert guard and the shared resources.
#include <gtest/gtest.h>

#include "treelist/control/TreeListLock.h"
#include "treelist/control/TreeListShared.h"
#include "treelist/control/TreeListTestSupport.h"

#include "support/WaitUntil.h"

#include <map>
#include <memory>
#include <thread>
#include <tuple>

using namespace tltest;

namespace {

// Runs fn on a new thread; true when it finished within the time. A thread stuck past the bound keeps its copy
// of fn for good, so fn owns what it uses (copies, shared pointers) and holds nothing of the caller's by reference.
template <typename Fn>
bool RunBounded(Fn fn, DWORD timeoutMs) {
    struct Box {
        Fn fn;
        static DWORD WINAPI Run(void* p) {
            static_cast<Box*>(p)->fn();
            return 0;
        }
    };
    auto* box = new Box{fn};
    HANDLE thread = CreateThread(nullptr, 0, Box::Run, box, 0, nullptr);
    const bool done = WaitForSingleObject(thread, Bound(timeoutMs)) == WAIT_OBJECT_0;
    CloseHandle(thread);
    if (done) delete box;  // a thread still stuck keeps its box
    return done;
}

BOOL WINAPI FailingPost(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

}  // namespace

TEST(TreeListThreads, LeavingTheLockLeavesEveryLevel) {
    const auto lock = std::make_shared<TreeListLock>();
    lock->Init();
    lock->Enter();
    lock->Enter();
    bool othersEntered = false;
    {
        TreeListUnlocked unlocked(*lock);
        EXPECT_FALSE(lock->HeldByMe());
        othersEntered = RunBounded([lock] { lock->Enter(); lock->Leave(); }, 2000);
        EXPECT_TRUE(othersEntered);
    }
    EXPECT_TRUE(lock->HeldByMe());
    lock->Leave();
    EXPECT_TRUE(lock->HeldByMe());
    lock->Leave();
    EXPECT_FALSE(lock->HeldByMe());
    if (othersEntered) lock->Delete();  // a thread past its bound may still be in it
}

// The workers share the rig: one stuck past its bound keeps it (and its windows) alive.
TEST(TreeListThreads, QueuedDeleteAndWorkerInsertsTakeEffectOnTheWindowsThread) {
    const auto rig = std::make_shared<TreeListRig>();
    UINT_PTR selected = 0;
    for (int i = 0; i < 30; ++i) {
        const UINT_PTR item = rig->Insert("row", 0, TLI_LAST, 0, i == 5 ? TVIS_SELECTED : 0);
        if (i == 5) selected = item;
    }
    PumpQueued();
    rig->Send(TLM_DEFERRED);
    ASSERT_EQ(VScrollMax(rig->tree), 30);
    rig->Clear();
    ASSERT_TRUE(RunBounded([rig, selected] { rig->Direct(TVM_DELETEITEM, TLD_QUEUED, static_cast<LPARAM>(selected)); },
                           5000));
    ASSERT_TRUE(RunBounded([rig] { for (int i = 0; i < 20; ++i) rig->InsertDirect("worker"); }, 5000));
    EXPECT_EQ(rig->Count(), 49);
    EXPECT_TRUE(rig->log.empty());          // nothing reached the parent from the worker
    EXPECT_EQ(VScrollMax(rig->tree), 30);   // and the worker left the scroll bar alone
    PumpQueued();
    EXPECT_EQ(rig->CountOf(TVN_DELETEITEMA), 0);
    ASSERT_EQ(rig->CountOf(TVN_SELCHANGEDA), 1);
    EXPECT_EQ(std::tuple(rig->log[0].thread, rig->log[0].newItem(), VScrollMax(rig->tree), rig->Send(TLM_GETROWCOUNT)),
              std::tuple(GetCurrentThreadId(), 0u, 49, LRESULT(49)));
}

// A worker filling an open item queues a row rebuild per insert; however they are worked off, the rows end
// in tree order.
TEST(TreeListThreads, ManyWorkerInsertsUnderAnOpenItemKeepTheRowsInTreeOrder) {
    const auto rig = std::make_shared<TreeListRig>();
    rig->Insert("a");
    const UINT_PTR open = rig->Insert("b");
    rig->Insert("c");
    rig->Insert("b0", open);
    rig->Send(TVM_EXPAND, TVE_EXPAND, static_cast<LPARAM>(open));
    ASSERT_TRUE(RunBounded([rig, open] {
        for (char n = '1'; n <= '9'; ++n) rig->InsertDirect((std::string("b") + n).c_str(), open);
    }, 5000));
    rig->Send(TLM_DEFERRED);
    ASSERT_TRUE(RunBounded([rig, open] { rig->InsertDirect("bz", open); }, 5000));
    PumpQueued();
    EXPECT_EQ(rig->RowTexts(), (std::vector<std::string>{"a", "b", "b0", "b1", "b2", "b3", "b4", "b5", "b6", "b7",
                                                         "b8", "b9", "bz", "c"}));
}

// Inserts that leave their rows for later (as a worker filling the tree does) are laid out together when the
// queue is worked off: wherever they went, and with deletes and earlier work-offs between them, the rows end
// in tree order. Steps: "text<parent" appends, "text<parent^" goes first, "text<parent>sibling" after that
// sibling ("" parent: the root), "-text" is a queued delete, "!" works off the queue.
TEST(TreeListThreads, RowsLeftForLaterEndInTreeOrder) {
    const struct { std::vector<std::string> steps; std::vector<std::string> rows; } cases[] = {
        {{"b1<b", "b2<b", "0<^", "b3<b"}, {"0", "a", "b", "b0", "b1", "b2", "b3", "c"}},
        {{"b1<b", "b2<b", "b1a<b>b1", "b3<b"}, {"a", "b", "b0", "b1", "b1a", "b2", "b3", "c"}},
        {{"c1<c", "d<", "c2<c", "e<"}, {"a", "b", "b0", "c", "d", "e"}},
        {{"b1<b", "x<b", "x1<x", "b2<b"}, {"a", "b", "b0", "b1", "x", "b2", "c"}},
        {{"b1<b", "bA<b^", "b2<b", "!", "b3<b", "a1<a", "b4<b"}, {"a", "b", "bA", "b0", "b1", "b2", "b3", "b4", "c"}},
        {{"b1<b", "b2<b", "-b2", "b3<b", "-b0", "b4<b"}, {"a", "b", "b1", "b3", "b4", "c"}},
        {{"d<", "e<", "-c", "f<", "!", "g<"}, {"a", "b", "b0", "d", "e", "f", "g"}},
    };
    for (const auto& c : cases) {
        TreeListRig rig;
        std::map<std::string, UINT_PTR> items = {{"", 0}};
        for (const char* text : {"a", "b", "c"}) items[text] = rig.Insert(text);
        items["b0"] = rig.Insert("b0", items["b"]);
        items["c0"] = rig.Insert("c0", items["c"]);
        rig.Send(TVM_EXPAND, TVE_EXPAND, static_cast<LPARAM>(items["b"]));
        for (const std::string& step : c.steps) {
            if (step == "!") {
                rig.Send(TLM_DEFERRED);
            } else if (step[0] == '-') {
                rig.Delete(items[step.substr(1)], TLD_QUEUED);
            } else {
                const size_t lt = step.find('<'), place = step.find_first_of("^>", lt);
                const std::string text = step.substr(0, lt), parent = step.substr(lt + 1, place - lt - 1);
                UINT_PTR after = 0xFFFF0002;
                if (place != std::string::npos) after = step[place] == '^' ? Wide(0xFFFF0001) : items[step.substr(place + 1)];
                items[text] = rig.Insert(text.c_str(), items[parent], after, TLIF_NOCALLBACK);
            }
        }
        PumpQueued();
        EXPECT_EQ(rig.RowTexts(), c.rows) << testing::PrintToString(c.steps);
    }
}

TEST(TreeListThreads, AFailedPostLosesNoDeferredOperation) {
    TreeListRig rig;
    rig.Send(TVM_SETEXTENDEDSTYLE, TLX_MULTISELECT, TLX_MULTISELECT);
    const UINT_PTR a = rig.Insert("a", 0, TLI_LAST, 0, TVIS_SELECTED);
    const UINT_PTR b = rig.Insert("b", 0, TLI_LAST, 0, TVIS_SELECTED);
    PumpQueued();
    rig.Clear();
    const TreeListPostFn previous = SetTreeListPostFunction(FailingPost);
    rig.Delete(a, TLD_QUEUED);
    SetTreeListPostFunction(previous);
    PumpQueued();
    EXPECT_EQ(rig.CountOf(TVN_SELCHANGEDA), 0);  // nothing could be posted yet
    rig.Delete(b, TLD_QUEUED);
    PumpQueued();
    EXPECT_EQ(rig.CountOf(TVN_SELCHANGEDA), 2);
}

TEST(TreeListThreads, SortedInsertRefusesItsOwnThreadAndHoldsOthers) {
    TreeListRig rig;
    rig.Insert(LPSTR_TEXTCALLBACKA);
    std::atomic<UINT_PTR> workerItem{0};
    std::atomic<bool> workerDone{false};
    UINT_PTR sameThread = 1;
    bool workerHeld = false;
    std::thread worker;
    rig.answer = [&](NMHDR* h) -> LRESULT {
        if (h->code != static_cast<UINT>(TVN_GETDISPINFOA)) return 0;
        lstrcpynA(reinterpret_cast<NMTVDISPINFOA*>(h)->item.pszText, "m", 2);
        if (worker.joinable()) return 0;
        sameThread = rig.Insert("re-entrant");
        worker = std::thread([&] {
            workerItem = rig.InsertDirect("from the worker");
            workerDone = true;
        });
        Sleep(100);
        workerHeld = !workerDone;
        return 0;
    };
    const UINT_PTR sorted = rig.Insert("k", 0, reinterpret_cast<UINT_PTR>(TVI_SORT));
    rig.answer = nullptr;
    ASSERT_TRUE(worker.joinable());
    EXPECT_TRUE(WaitUntil([&] { return workerDone.load(); }, 5000));
    worker.join();
    EXPECT_NE(sorted, 0u);
    EXPECT_NE(workerItem.load(), 0u);
    EXPECT_EQ(std::tuple(sameThread, workerHeld, rig.Count()), std::tuple(0u, true, 3));
    EXPECT_EQ(rig.Next(0, TVGN_ROOT), sorted);  // "k" before the call-back's "m"
}

namespace {

// Makes a child window of the control ask the control (which takes its lock) before it answers msg, as a
// header or an editor answering through its parent would. An editor kept open also ignores losing the focus,
// which another program's window may take while the tests run side by side (and which ends the edit).
WNDPROC g_childProc;
UINT g_asked;
bool g_keepFocus;
LRESULT CALLBACK AskingChildProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == g_asked) SendMessageA(GetParent(w), TVM_GETCOUNT, 0, 0);
    if (msg == WM_KILLFOCUS && g_keepFocus) return 0;
    return CallWindowProcA(g_childProc, w, msg, wp, lp);
}
void MakeAskingChild(HWND child, UINT msg, bool keepFocus = false) {
    g_asked = msg;
    g_keepFocus = keepFocus;
    g_childProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AskingChildProc)));
}

bool SameThread(HWND a, HWND b) {
    return a && GetWindowThreadProcessId(a, nullptr) == GetWindowThreadProcessId(b, nullptr);
}

}  // namespace

// A worker calls the window procedure directly with a message that makes or asks a child window (and checks
// the outcome), while the window's thread answers its messages. Each case runs on a thread of its own that
// owns the control: a deadlock leaves both stuck (the program ends them) and fails after the bound.
TEST(TreeListThreads, DirectCallsThatMakeOrAskChildWindowsFinish) {
    const struct { const char* name; void (*prepare)(TreeListRig&); bool (*call)(TreeListRig&); } cases[] = {
        {"the header, made by the first column", [](TreeListRig&) {}, [](TreeListRig& rig) {
             LVCOLUMNA col = {.mask = LVCF_WIDTH, .cx = 80};
             const LRESULT index = rig.Direct(TLM_INSERTCOLUMN, 0, reinterpret_cast<LPARAM>(&col));
             return index == 0 && SameThread(rig.Header(), rig.tree);
         }},
        {"header images", [](TreeListRig& rig) {
             rig.AddColumns({80});
             MakeAskingChild(rig.Header(), HDM_SETIMAGELIST);
         }, [](TreeListRig& rig) {
             rig.Direct(TVM_SETIMAGELIST, 5, reinterpret_cast<LPARAM>(SolidImages(RGB(1, 2, 3), 1)));
             return SendMessageA(rig.Header(), HDM_GETIMAGELIST, 0, 0) != 0;
         }},
        {"the editor, opened", [](TreeListRig& rig) { rig.Insert("item"); }, [](TreeListRig& rig) {
             const LRESULT editor = rig.Direct(TVM_EDITLABELA, 0, static_cast<LPARAM>(rig.Next(0, TVGN_ROOT)));
             return SameThread(reinterpret_cast<HWND>(editor), rig.tree);
         }},
        {"the editor, read at the end", [](TreeListRig& rig) {
             HWND editor = reinterpret_cast<HWND>(rig.Send(TVM_EDITLABELA, 0, static_cast<LPARAM>(rig.Insert("item"))));
             SetWindowTextA(editor, "typed");
             MakeAskingChild(editor, WM_GETTEXT, true);
         }, [](TreeListRig& rig) {
             return rig.Direct(TVM_ENDEDITLABELNOW, 0) == 1 && rig.Text(rig.Next(0, TVGN_ROOT)) == "typed";
         }},
    };
    for (const auto& c : cases) {
        // The case and the outcome go by value: a thread stuck past the bound outlives this loop.
        auto passed = std::make_shared<std::atomic<bool>>(false);
        EXPECT_TRUE(RunBounded([c, passed] {
            TreeListRig rig(TVS_HASLINES | TVS_EDITLABELS);
            c.prepare(rig);
            std::atomic<bool> done{false};
            std::thread worker([&] {
                *passed = c.call(rig);
                done = true;
            });
            PumpUntil([&] { return done.load(); }, 10000);
            worker.join();
        }, 10000)) << c.name;
        EXPECT_TRUE(*passed) << c.name;
    }
}

namespace {

// Editors that ignore losing the focus (see AskingChildProc); the first, once it has answered the worker's
// read, has the window's thread begin editing the second item.
WNDPROC g_editorProcs[2];
HWND g_secondEditor;
UINT_PTR g_secondItem;
LRESULT CALLBACK ReEditingProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    const WNDPROC old = g_editorProcs[w == g_secondEditor];
    if (msg == WM_KILLFOCUS) return 0;
    const LRESULT result = CallWindowProcA(old, w, msg, wp, lp);
    if (msg == WM_GETTEXT && !g_secondEditor) {
        HWND second = reinterpret_cast<HWND>(SendMessageA(GetParent(w), TVM_EDITLABELA, 0, g_secondItem));
        g_editorProcs[1] = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(second, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ReEditingProc)));
        g_secondEditor = second;
    }
    return result;
}

}  // namespace

// The edit asked to end ends as usual (notified, its text stored); only its editor is not hidden.
TEST(TreeListThreads, ADirectEndLeavesAnEditBegunWhileItReadTheEditor) {
    using Outcome = std::tuple<bool, bool, int, bool, bool, std::string, LRESULT, std::string>;
    auto outcome = std::make_shared<Outcome>();
    EXPECT_TRUE(RunBounded([outcome] {
        TreeListRig rig(TVS_HASLINES | TVS_EDITLABELS);
        const UINT_PTR first = rig.Insert("first");
        g_secondItem = rig.Insert("second");
        HWND editor = reinterpret_cast<HWND>(rig.Send(TVM_EDITLABELA, 0, static_cast<LPARAM>(first)));
        SetWindowTextA(editor, "typed");
        g_editorProcs[0] = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(editor, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ReEditingProc)));
        rig.Clear();
        std::atomic<bool> done{false};
        LRESULT ended = -1;
        std::thread worker([&] {
            ended = rig.Direct(TVM_ENDEDITLABELNOW, 0);
            done = true;
        });
        PumpUntil([&] { return done.load(); }, 5000);
        worker.join();
        PumpUntil([] { return false; }, 100);  // a hiding the worker asked for takes effect
        HWND second = g_secondEditor;
        const Notification* end = rig.Last(TVN_ENDLABELEDITA);
        *outcome = {second && reinterpret_cast<HWND>(rig.Send(TVM_GETEDITCONTROL)) == second,
                    second && IsWindowVisible(second), rig.CountOf(TVN_ENDLABELEDITA),
                    end && reinterpret_cast<UINT_PTR>(end->disp.item.hItem) == first,
                    end && (end->disp.item.mask & 0x20000000), end ? end->text : "", ended,
                    rig.Text(first)};
    }, 10000));
    // The newer edit open and shown; the first one's end notified once (changed), its text stored.
    EXPECT_EQ(*outcome, Outcome(true, true, 1, true, true, "typed", 1, "typed"));
}

TEST(TreeListThreads, DirectCallsDuringDestructionAreSafe) {
    for (int round = 0; round < 10; ++round) {
        auto rig = std::make_unique<TreeListRig>();
        const HWND tree = rig->tree;
        std::atomic<bool> stop{false};
        std::vector<std::thread> workers;
        for (int w = 0; w < 3; ++w)
            workers.emplace_back([&, w] {
                TVITEMA key = {.mask = TVIF_TEXT, .pszText = const_cast<char*>("w")};
                TreeListInsertRecord r = {nullptr, TVI_LAST, key, 0};
                while (!stop) {
                    TreeListWndProc(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&r));
                    TreeListWndProc(tree, w == 0 ? static_cast<UINT>(TVM_GETCOUNT) : static_cast<UINT>(TLM_FINDITEM), 0,
                                    reinterpret_cast<LPARAM>(&key));
                    Sleep(0);
                }
            });
        PumpFor(5);
        DestroyWindow(tree);
        Sleep(5);
        EXPECT_EQ(TreeListWndProc(tree, TVM_GETCOUNT, 0, 0), 0);
        stop = true;
        for (std::thread& t : workers) t.join();
        rig.reset();
        EXPECT_EQ(TreeListSharedUsers(), -1) << "a record outlived its window";
    }
}

TEST(TreeListThreads, WindowsOnTwoThreadsShareTheResources) {
    TreeListRig keeper;
    auto churn = [] {
        for (int i = 0; i < 25; ++i) {
            HWND w = CreateWindowExA(0, kTreeListClassName, "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                                     GetModuleHandleA(nullptr), nullptr);
            EXPECT_NE(w, nullptr);
            DestroyWindow(w);
        }
    };
    std::thread one(churn), two(churn);
    one.join();
    two.join();
    EXPECT_EQ(TreeListSharedUsers(), 0);
    const DWORD type = GetObjectType(GetTreeListShared().linePen);
    EXPECT_TRUE(type == OBJ_EXTPEN || type == OBJ_PEN);
    EXPECT_EQ(GetObjectType(GetTreeListShared().checkerBrush), static_cast<DWORD>(OBJ_BRUSH));
}
