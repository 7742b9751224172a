// The worker puts a read folder's subfolders under its item: present children stay, new ones are
// inserted in natural order, vanished ones go. The lock is taken per batch of inserts only, so that the
// control's thread never waits long for it.
#include "treelist/foldertree/FolderTreeFill.h"

#include "system/SystemIcons.h"
#include "treelist/foldertree/FolderTreeDirect.h"

#include <atomic>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

using namespace foldertree;

namespace {

constexpr int kBatch = 256;

int GenericFolderIcon() {
    static std::atomic<int> icon{-2};
    int value = icon.load();
    if (value == -2) {
        value = GetFileIconIndex(FI_FOLDER);
        icon.store(value);
    }
    return value;
}

// The children of an item by their texts.
class Children {
public:
    Children(HWND window, HTREEITEM parent) : m_window(window), m_parent(parent) { Collect(); }
    bool Empty() const { return m_items.empty(); }
    // Marks the child of that text seen; false when there is none.
    bool See(const char* text) {
        if (m_items.empty()) return false;
        auto it = m_items.find(Key(text));
        if (it == m_items.end()) return false;
        m_seen.insert(it->second);
        return true;
    }
    void Add(const char* text, HTREEITEM item) {
        m_items.emplace(Key(text), item);
        m_seen.insert(item);
    }
    // Takes in what the control's thread inserted meanwhile, as seen.
    void Refresh() {
        for (HTREEITEM child = FirstChild(m_window, m_parent); child; child = NextSibling(m_window, child)) {
            char text[kFolderPathSize];
            Text(m_window, child, text, sizeof text);
            if (m_items.emplace(Key(text), child).second) m_seen.insert(child);
        }
    }
    // Deletes the children that were not seen; the number left.
    int DeleteUnseen() {
        int left = 0;
        for (const auto& entry : m_items) {
            if (m_seen.count(entry.second))
                ++left;
            else
                DeleteQueued(m_window, entry.second, false);
        }
        return left;
    }

private:
    void Collect() {
        for (HTREEITEM child = FirstChild(m_window, m_parent); child; child = NextSibling(m_window, child)) {
            char text[kFolderPathSize];
            Text(m_window, child, text, sizeof text);
            m_items.emplace(Key(text), child);
        }
    }
    // Folder names compare without letter case.
    static std::string Key(const char* text) {
        std::string key = text;
        if (!key.empty()) CharLowerBuffA(key.data(), (DWORD)key.size());
        return key;
    }
    HWND m_window;
    HTREEITEM m_parent;
    std::unordered_map<std::string, HTREEITEM> m_items;
    std::unordered_set<HTREEITEM> m_seen;
};

bool IsDots(const FileListEntry* e) {
    return e->name[0] == '.' && (e->nameLength == 1 || (e->nameLength == 2 && e->name[1] == '.'));
}

// The caret's visibility (row only), -1 without a caret.
int CaretVisibility(HWND window, HTREEITEM* caret) {
    *caret = Next(window, nullptr, TLGN_SELECTEDCELLITEM);
    if (!*caret) return -1;
    return (int)Call(window, TLM_CELLVISIBILITY, reinterpret_cast<WPARAM>(*caret), -1);
}

// The network path of a shell entry, kept in the context; its text, null for other entries.
const char* KeepNetworkPath(FolderTreeContext& c, const FileListEntry* e) {
    if (!(e->headerFlags & FLE_SHELL) || !e->extraText) return nullptr;
    return c.networkPaths.emplace(e->extraText, nullptr).first->first.c_str();
}

// Children waiting to be inserted with one call of the control (on the heap: the worker's stack is small).
class Batch {
public:
    Batch() : m_records(kBatch), m_names(kBatch), m_networkPaths(kBatch), m_items(kBatch) {}
    void Add(const TreeListInsertRecord& record, const char* name, const char* networkPath) {
        m_records[m_count] = record;
        m_names[m_count] = name;
        m_networkPaths[m_count++] = networkPath;
    }
    // Inserts the waiting children; the number inserted. With children, they are entered there as seen.
    int Insert(HWND window, FolderTreeContext& c, Children* children) {
        if (!m_count) return 0;
        const int inserted = TreeListInsertItems(window, m_records.data(), m_count, m_items.data());
        for (int i = 0; i < m_count; ++i) {
            if (!m_items[i]) continue;
            if (m_networkPaths[i]) c.networkPaths[m_networkPaths[i]] = m_items[i];
            if (children) children->Add(m_names[i], m_items[i]);
        }
        m_count = 0;
        return inserted;
    }

private:
    std::vector<TreeListInsertRecord> m_records;
    std::vector<const char*> m_names, m_networkPaths;
    std::vector<HTREEITEM> m_items;
    int m_count = 0;
};

}  // namespace

void FillChildren(FolderTreeContext& c, const FolderJob& job, UINT parentState) {
    const HWND window = c.window;
    const int count = c.files.GetCount();
    const bool shell = count > 0 && (c.files.GetEntry(0)->headerFlags & FLE_SHELL);
    // Shell entries keep their reading order; folders come in natural order.
    if (!shell) c.files.Sort(FL_SORT_NATURAL);
    HTREEITEM caret = nullptr;
    const bool keepCaret = job.word != FJ_EXPAND;
    const int before = keepCaret ? CaretVisibility(window, &caret) : -1;
    const int icon = GenericFolderIcon();
    const UINT childState = parentState & FTS_SLOW;

    uint32_t inserts;
    {
        CSingleLock lock(&c.lock, TRUE);
        inserts = c.uiInserts;
    }
    Children children(window, job.item);
    // Into an empty item, entries in order go to the end: the same order without a search.
    bool append = children.Empty();
    int appended = 0;  // appended and not in children (a refresh takes them in)
    Batch batch;
    for (int first = 0; first < count; first += kBatch) {
        CSingleLock lock(&c.lock, TRUE);
        if (c.stop.load() || c.abortedId == job.id) return;
        if (c.uiInserts != inserts) {
            inserts = c.uiInserts;
            children.Refresh();
            append = false;
            appended = 0;
        }
        const int end = first + kBatch < count ? first + kBatch : count;
        for (int i = first; i < end; ++i) {
            const FileListEntry* e = c.files.GetEntry(i);
            if (IsDots(e) || children.See(e->name)) continue;
            const char* networkPath = KeepNetworkPath(c, e);
            const UINT state = childState | (networkPath ? (UINT)FTS_NETWORK : 0u);
            TreeListInsertCompare compare = append || shell ? nullptr : CompareFolderItems;
            batch.Add(FolderItemRecord(job.item, compare, e->name, icon, state, (LPARAM)networkPath), e->name,
                      networkPath);
            // Others are inserted one by one and entered, so that an entry of the same text finds them.
            if (!append) batch.Insert(window, c, &children);
        }
        // Appended items go in together and need no entry: a later look at the children takes them in.
        appended += batch.Insert(window, c, nullptr);
    }
    int left;
    {
        CSingleLock lock(&c.lock, TRUE);
        if (c.stop.load() || c.abortedId == job.id) return;
        if (c.uiInserts != inserts) {
            children.Refresh();
            appended = 0;
        }
        left = children.DeleteUnseen() + appended;
    }
    SetState(window, job.item, FTS_READ, FTS_READ | FTS_UNREAD, left);
    if (keepCaret && before >= 1) {
        const int after = (int)Call(window, TLM_CELLVISIBILITY, reinterpret_cast<WPARAM>(caret), -1);
        if (after >= 0 && after < 4)
            PostMessageA(window, TVM_ENSUREVISIBLE, before == 4 ? 0 : (WPARAM)-1, reinterpret_cast<LPARAM>(caret));
    }
}
