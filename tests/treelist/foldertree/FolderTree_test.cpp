#include "tests/treelist/foldertree/FolderTreeTestSupport.h"
#include "tests/support/ClipboardTestLock.h"
#include "text/StrCompare.h"
#include "treelist/foldertree/FolderTreeDirect.h"
#include "treelist/foldertree/FolderTreeText.h"
#include "treelist/foldertree/FolderTreeWorker.h"

#include <gtest/gtest.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <tuple>

namespace {

using namespace foldertreetest;

class FolderTreeTest : public testing::Test {
protected:
    void Make(DWORD options = FTO_NO_NETWORK) {
        ASSERT_TRUE(tree.Create(0, WS_CHILD | WS_VISIBLE | options, CRect(0, 0, 400, 600), &host, kTreeId));
        // Every drive listed.
        const size_t drives = (size_t)__builtin_popcount(GetLogicalDrives());
        ASSERT_TRUE(PumpUntil([&] { return Children(TVI_ROOT).size() >= drives; }, kReadBound));
    }
    UINT State(HTREEITEM item) { return (UINT)tree.SendMessage(TVM_GETITEMSTATE, (WPARAM)item, 0); }
    bool Read(HTREEITEM item) {
        return PumpUntil([&] { return (State(item) & FTS_READ) && tree.GetQueuedJobs() == 0; }, kReadBound);
    }
    std::vector<std::string> Children(HTREEITEM item) {
        std::vector<std::string> texts;
        for (HTREEITEM c = tree.GetChildItem(item); c; c = tree.GetNextSiblingItem(c))
            texts.push_back((const char*)tree.GetItemText(c));
        return texts;
    }
    HTREEITEM Current() {
        HTREEITEM item = nullptr;
        char path[MAX_PATH];
        tree.GetCurrentPath(path, sizeof path, &item);
        return item;
    }
    std::string CurrentPath() {
        char path[MAX_PATH];
        tree.GetCurrentPath(path, sizeof path, nullptr);
        return path;
    }

    std::string root = foldertest::TreeRoot();
    Host host;
    CFolderTreeCtrl tree;
};

TEST(FolderTreeText, JoinsLevelsWithinTheBufferOrGivesNothing) {
    const char* parts[40];
    for (auto& p : parts) p = "k";
    const char* drive[] = {"C:", "a", "b"};
    const char* network[] = {"\\\\", "server", "share"};
    const char* share[] = {"\\\\server\\share", "dir"};
    const struct { const char* const* parts; int count, size; const char* expected; } kCases[] = {
        {drive, 3, 260, "C:\\a\\b"},
        {drive, 1, 260, "C:"},
        {network, 3, 260, "\\\\server\\share"},  // nothing doubled after "\\"
        {share, 2, 260, "\\\\server\\share\\dir"},
        {drive, 3, 7, "C:\\a\\b"},  // exactly fits
        {drive, 3, 6, ""},          // one short
        {parts, 32, 260, nullptr},  // 32 levels fit
        {parts, 33, 260, ""},       // deeper: nothing, not a cut path
        {parts, 0, 260, ""},
    };
    for (const auto& c : kCases) {
        char out[300] = "x";
        const int length = JoinItemPath(c.parts, c.count, out, c.size);
        EXPECT_EQ(std::string(out), c.expected ? c.expected : out) << c.count << "/" << c.size;
        EXPECT_EQ(length, c.expected ? (int)strlen(c.expected) : 63) << c.count << "/" << c.size;
    }
    EXPECT_TRUE(CompareDriveTexts("c:", "Z:") < 0 && CompareDriveTexts("Z:", "Netzwerk") < 0);
    EXPECT_EQ(DriveKey("C:\\"), 128);
}

TEST(FolderJobQueue, FindsJobsByIdentityAndCancelsOnlyStaleOnes) {
    FolderJobQueue queue;
    const auto item = reinterpret_cast<HTREEITEM>(7);
    const uint32_t expand = queue.Add(item, FJ_EXPAND, true, FJ_END);
    const uint32_t selected = queue.Add(item, 5 | FJ_SELECTED, false, FJ_FRONT);
    const uint32_t ancestor = queue.Add(reinterpret_cast<HTREEITEM>(8), 5 | FJ_ANCESTOR, false, FJ_SECOND);
    const uint32_t stale = queue.Add(reinterpret_cast<HTREEITEM>(9), 4 | FJ_PREFETCH, false, FJ_END);
    EXPECT_EQ(queue.First()->id, selected);
    // Two jobs for one item: the one taken is the one removed.
    FolderJob removed;
    ASSERT_TRUE(queue.Remove(selected, &removed));
    EXPECT_EQ(std::tuple(removed.word, queue.First()->id, queue.Find(expand)->counted),
              std::tuple(5u | FJ_SELECTED, ancestor, true));
    // Only the stale prefetch goes; expansions are never cancelled.
    EXPECT_EQ(queue.CancelStale(5), 1);
    EXPECT_EQ(std::pair(queue.Find(stale)->word, queue.Find(expand)->word),
              std::pair((uint32_t)FJ_CANCELLED, (uint32_t)FJ_EXPAND));
    EXPECT_FALSE(queue.Holds(reinterpret_cast<HTREEITEM>(9)));
    EXPECT_TRUE(queue.Holds(item, FJ_EXPAND));
}

TEST_F(FolderTreeTest, FillsExpandsAndSelects) {
    Make();
    // Drives in letter order.
    std::vector<std::string> drives = Children(TVI_ROOT);
    EXPECT_TRUE(std::is_sorted(drives.begin(), drives.end()));

    const std::string umlaute = root + "\\Umlaute";
    ASSERT_EQ(tree.SelectPath(umlaute.c_str(), nullptr, FTP_READ), 2);
    HTREEITEM item = Current();
    ASSERT_TRUE(Read(item));
    // Natural order, letters by their folded codes.
    EXPECT_EQ(Children(item), (std::vector<std::string>{"Zebra", "\xe4hnlich", "\xc4rger", "\xd6l", "\xdc" "bung"}));
    ASSERT_TRUE(PumpUntil([&] { return host.Count(FTN_CURRENTCHANGED) == 1; }, kReadBound));
    char path[MAX_PATH];
    EXPECT_EQ(std::tuple(CurrentPath(), host.notes[0].path, host.notes[0].value, tree.GetSelectedItem(),
                         tree.GetItemPath(item, path, sizeof path, 0, nullptr)),
              std::tuple(umlaute, umlaute, (uint32_t)FTK_FOLDER, item, (int)umlaute.size()));
    // The same again, and a missing folder (or any network path) changes nothing.
    for (auto [again, result] : {std::pair(umlaute + "\\", 1), {umlaute + "\\Fehlt", 0}, {"\\\\server\\share", 0}})
        EXPECT_EQ(tree.SelectPath(again.c_str(), nullptr, FTP_READ), result) << again;
    EXPECT_EQ(Current(), item);

    // Expanding an unread item reads it under the wait cursor, which ends with the read.
    HTREEITEM aerger = tree.FindItem(item, TLF_CHILDREN | TVIF_TEXT, nullptr, 0, "\xc4rger", 0, 0);
    tree.Expand(aerger, TVE_EXPAND);
    EXPECT_TRUE(tree.IsBusyCursorOn());
    ASSERT_TRUE(Read(aerger));
    EXPECT_EQ(Children(aerger), (std::vector<std::string>{"Tief"}));
    EXPECT_TRUE(PumpUntil([&] { return !tree.IsBusyCursorOn(); }, kReadBound));
    EXPECT_EQ(tree.GetPendingExpands(), 0);

    // A folder of files only has no children and loses its button once prefetched.
    const std::string files = root + "\\NurDateien";
    ASSERT_EQ(tree.SelectPath(files.c_str(), nullptr, 0), 2);
    HTREEITEM filesItem = Current();
    ASSERT_TRUE(PumpUntil([&] { return (State(filesItem) & FTS_READ) != 0; }, kReadBound));
    TVITEMA record = {.mask = TVIF_CHILDREN | TVIF_HANDLE, .hItem = filesItem};
    tree.SendMessage(TVM_GETITEMA, 0, (LPARAM)&record);
    EXPECT_EQ(record.cChildren, 0);
}

TEST_F(FolderTreeTest, QuickCaretMovesNotifyOnceForTheLastItem) {
    Make();
    const std::string many = root + "\\Viele";
    ASSERT_EQ(tree.SelectPath(many.c_str(), nullptr, FTP_READ), 2);
    HTREEITEM item = Current();
    ASSERT_TRUE(Read(item));
    tree.Expand(item, TVE_EXPAND);
    tree.SelectItem(tree.GetChildItem(item));
    PumpUntil([&] { return host.Count(FTN_CURRENTCHANGED) == 2; });
    host.notes.clear();
    // Ten moves without a message between them: within the ticks of the delay whatever the machine.
    for (int i = 0; i < 10; ++i) tree.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
    ASSERT_TRUE(PumpUntil([&] { return host.Count(FTN_CURRENTCHANGED) > 0; }, kReadBound));
    PumpFor(400);
    ASSERT_EQ(host.Count(FTN_CURRENTCHANGED), 1);
    EXPECT_EQ(std::pair(host.notes[0].item, host.notes[0].path),
              std::pair(tree.GetSelectedItem(), many + "\\Ordner 0010"));
}

// A chosen folder is read with its ancestors, but ancestors on a slow medium are left alone.
TEST_F(FolderTreeTest, ASelectionRereadsItsAncestorsExceptSlowOnes) {
    Make();
    const std::string aerger = root + "\\Umlaute\\\xc4rger";
    ASSERT_EQ(tree.SelectPath((aerger + "\\Tief").c_str(), nullptr, 0), 2);
    ASSERT_TRUE(PumpUntil([&] { return host.Count(FTN_CURRENTCHANGED) == 1; }, kReadBound));
    HTREEITEM umlaute = tree.GetParentItem(tree.GetParentItem(Current()));
    HTREEITEM top = tree.GetParentItem(umlaute);
    foldertree::SetState(tree.m_hWnd, umlaute, FTS_SLOW, FTS_SLOW);
    FolderTreeContext* c = FolderTreeAccess::Of(tree);
    CSingleLock hold(&c->lock, TRUE);  // the worker takes no job meanwhile
    ASSERT_EQ(tree.SelectPath(aerger.c_str(), nullptr, FTP_READ), 2);
    ASSERT_TRUE(PumpUntil([&] { return host.Count(FTN_CURRENTCHANGED) == 2; }, kReadBound));
    const uint32_t generation = c->generation & FJ_GENERATION_MASK;
    EXPECT_TRUE(c->jobs.Holds(top, generation | FJ_ANCESTOR));
    EXPECT_FALSE(c->jobs.Holds(umlaute, generation | FJ_ANCESTOR));
}

// A queue that runs empty by dropping cancelled jobs starts the prefetch as one that read its last job.
TEST_F(FolderTreeTest, AQueueEmptiedByCancelledJobsStartsThePrefetch) {
    Make();
    HTREEITEM drive = tree.GetRootItem();
    ASSERT_EQ(State(drive) & (FTS_READ | FTS_UNREAD | FTS_SLOW), 0u);
    QueueFolderJob(FolderTreeAccess::Of(tree), drive, FJ_CANCELLED, false, FJ_END);
    EXPECT_TRUE(PumpUntil([&] { return (State(drive) & (FTS_READ | FTS_UNREAD)) != 0; }, kReadBound));
}

TEST_F(FolderTreeTest, ItemsDeeperThan32LevelsHaveNoPath) {
    Make();
    std::string path = foldertest::ChainRoot();
    HTREEITEM item = nullptr;
    // Down to the deepest level a path may have.
    ASSERT_EQ(tree.SelectPath(path.c_str(), nullptr, FTP_READ), 2);
    char text[MAX_PATH];
    for (;;) {
        item = Current();
        ASSERT_TRUE(Read(item));
        if (tree.GetItemPath(tree.GetChildItem(item), text, sizeof text, 0, nullptr) == 0) break;
        path += "\\k";
        ASSERT_EQ(tree.SelectPath(path.c_str(), nullptr, FTP_READ), 2) << path;
    }
    EXPECT_EQ(tree.SelectPath((path + "\\k").c_str(), nullptr, FTP_READ), 0);
    HTREEITEM deep = tree.GetChildItem(item);
    strcpy(text, "x");
    EXPECT_EQ(tree.GetItemPath(deep, text, sizeof text, 0, nullptr), 0);
    EXPECT_STREQ(text, "");
    // Its read has no path to read: nothing wrong lands below it.
    tree.Expand(deep, TVE_EXPAND);
    ASSERT_TRUE(PumpUntil([&] { return tree.GetPendingExpands() == 0 && tree.GetQueuedJobs() == 0; }, kReadBound));
    EXPECT_EQ(tree.GetChildItem(deep), nullptr);
}

TEST_F(FolderTreeTest, StoppedReadsLeaveTheNextOnesAlone) {
    Make();
    // A stop left over from a read that had ended.
    FolderTreeAccess::Of(tree)->files.Abort();
    // The big folder's read goes stale with the next selection and is cancelled after the pause.
    ASSERT_EQ(tree.SelectPath((root + "\\Viele").c_str(), nullptr, FTP_READ), 2);
    PumpUntil([&] { return tree.GetQueuedJobs() > 0; }, kReadBound);
    ASSERT_EQ(tree.SelectPath((root + "\\Umlaute").c_str(), nullptr, FTP_READ), 2);
    HTREEITEM item = Current();
    PumpFor(1300);
    ASSERT_TRUE(Read(item));
    EXPECT_EQ(Children(item).size(), 5u);
}

TEST_F(FolderTreeTest, CopiesTheCurrentFolderAndFinishesDrops) {
    Make(FTO_NO_NETWORK | FTO_ACCEPT_DROP);
    const std::string umlaute = root + "\\Umlaute";
    ASSERT_EQ(tree.SelectPath(umlaute.c_str(), nullptr, 0), 2);
    {
        ClipboardTestLock clipboard;
        tree.SendMessage(WM_COPY);
        ASSERT_TRUE(OpenClipboard(host.m_hWnd));
        auto drop = static_cast<HDROP>(GetClipboardData(CF_HDROP));
        char file[MAX_PATH] = {};
        EXPECT_EQ(DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0), 1u);
        DragQueryFileA(drop, 0, file, sizeof file);
        CloseClipboard();
        EXPECT_EQ(std::string(file), umlaute);
    }
    HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + 8);
    tree.SendMessage(WM_DROPFILES, (WPARAM)block, 0);
    EXPECT_EQ(GlobalFlags(block), (UINT)GMEM_INVALID_HANDLE);
}

TEST_F(FolderTreeTest, NetworkPathsComposeFromTheirShareAndDragsMayBeRefused) {
    Make(FTO_DRAG_OUT);
    ASSERT_TRUE(PumpUntil([&] { return tree.GetNetworkRoot() != TVI_ROOT; }, kReadBound));
    HTREEITEM network = tree.GetNetworkRoot();
    // The network entry comes after every drive.
    EXPECT_EQ(tree.GetNextSiblingItem(network), nullptr);
    EXPECT_FALSE(tree.IsLocalItem(network));
    char path[MAX_PATH];
    auto pathOf = [&](HTREEITEM item, int form, LPARAM* param) {
        const int length = tree.GetItemPath(item, path, sizeof path, form, param);
        return std::pair(length, std::string(path));
    };
    EXPECT_EQ(pathOf(network, 0, nullptr), std::pair(2, std::string("\\\\")));
    // Server and share are added below it; the share stands for its path.
    ASSERT_EQ(tree.SelectPath("\\\\server/share\\dir", nullptr, 0), 2);
    HTREEITEM dir = Current();
    LPARAM param = 0;
    EXPECT_EQ(pathOf(dir, 0, &param), std::pair(18, std::string("\\\\server\\share\\dir")));
    EXPECT_EQ(pathOf(tree.GetParentItem(dir), 1, &param).first, 14);
    EXPECT_NE(param, 0);  // the share's own path
    EXPECT_EQ(CurrentPath(), "\\\\server\\share\\dir");

    // A drag the parent refuses does not start; a local one asks first.
    host.answer = 1;
    NMTREEVIEWA drag = {};
    drag.hdr = {tree.m_hWnd, kTreeId, (UINT)TVN_BEGINDRAGA};
    drag.itemNew.hItem = tree.GetRootItem();
    host.notes.clear();
    host.SendMessage(WM_NOTIFY, kTreeId, (LPARAM)&drag);
    ASSERT_EQ(host.notes.size(), 1u);
    EXPECT_EQ(std::pair(host.notes[0].code, host.notes[0].value), std::pair((UINT)FTN_DRAG, 0u));
    drag.itemNew.hItem = network;
    host.SendMessage(WM_NOTIFY, kTreeId, (LPARAM)&drag);
    EXPECT_EQ(host.notes.size(), 1u);  // network items are not dragged
}

// A drive path in small letters selected before the worker has listed the drives gives its drive one row.
TEST_F(FolderTreeTest, ADriveSelectedBeforeTheDriveListHasOneRow) {
    std::string small = root;
    small[0] = (char)tolower(small[0]);
    ASSERT_TRUE(tree.Create(0, WS_CHILD | WS_VISIBLE | FTO_NO_NETWORK, CRect(0, 0, 400, 600), &host, kTreeId));
    ASSERT_EQ(tree.SelectPath(small.c_str(), nullptr, 0), 2);
    const DWORD drives = GetLogicalDrives();
    const std::string last = std::string(1, (char)('A' + 31 - __builtin_clz(drives))) + ":";
    const std::string drive = std::string(1, (char)toupper(small[0])) + ":";
    auto listed = [&] { return tree.FindItem(TVI_ROOT, TLF_CHILDREN | TVIF_TEXT, nullptr, 0, last.c_str(), 0, 0); };
    ASSERT_TRUE(PumpUntil(listed, kReadBound));
    const std::vector<std::string> roots = Children(TVI_ROOT);
    EXPECT_EQ(std::pair(roots.size(), std::count(roots.begin(), roots.end(), drive)),
              std::pair((size_t)__builtin_popcount(drives), (std::ptrdiff_t)1));
}

// A network refresh that runs out of its bound leaves the refresh of the network's children queued.
TEST_F(FolderTreeTest, ANetworkRefreshPastItsBoundQueuesItsChildren) {
    Make(0);
    ASSERT_TRUE(PumpUntil([&] { return tree.GetNetworkRoot() != TVI_ROOT; }, kReadBound));
    FolderTreeContext* c = FolderTreeAccess::Of(tree);
    CSingleLock held(&c->lock, TRUE);  // the worker cannot take a job meanwhile
    ASSERT_EQ(tree.SelectPath("\\\\server\\share", nullptr, 0), 2);
    HTREEITEM server = tree.FindItem(tree.GetNetworkRoot(), TLF_CHILDREN | TVIF_TEXT, nullptr, 0, "server", 0, 0);
    ASSERT_NE(server, nullptr);
    PumpQueued();  // the refresh that the first network path posts
    EXPECT_TRUE(c->jobs.Holds(server, FJ_REFRESH));
}

TEST_F(FolderTreeTest, DestroyedWhileReadingReturnsAtOnce) {
    for (int round = 0; round < 3; ++round) {
        auto* reading = new CFolderTreeCtrl;
        ASSERT_TRUE(reading->Create(0, WS_CHILD | WS_VISIBLE | FTO_NO_NETWORK, CRect(0, 0, 400, 600), &host, kTreeId));
        reading->SelectPath((root + "\\Viele").c_str(), nullptr, FTP_READ);
        PumpUntil([&] { return reading->GetQueuedJobs() > 0; }, kReadBound);
        PumpFor(round * 30);
        const DWORD start = GetTickCount();
        delete reading;
        EXPECT_LT(GetTickCount() - start, Bound(1000)) << round;
    }
    PumpFor(200);
}

}  // namespace
