// CFolderTreeCtrl: SelectPath finds a path's item or inserts the items on its way, local or on the
// network; the synchronous network refresh; ResolveNetworkPath.
#include "treelist/foldertree/FolderTreeCtrl.h"

#include "system/SystemIcons.h"
#include "text/StrCompare.h"
#include "text/StrCopy.h"
#include "treelist/foldertree/FolderTreeDirect.h"
#include "treelist/foldertree/FolderTreeTimers.h"
#include "treelist/foldertree/FolderTreeWorker.h"
#include "treelist/shared/PathText.h"
#include "treelist/shared/WorkerWait.h"

#include <string>

using namespace foldertree;

namespace {

constexpr UINT kOpen = TVIS_EXPANDED | TVIS_EXPANDPARTIAL;  // 0xA0
constexpr UINT kExpandRead = 0x46000002;                      // quiet, never partly
constexpr UINT kExpandUnread = 0x46004002;
constexpr DWORD kRefreshBoundMs = 5000;

struct Segments {
    uint32_t starts[kMaxSegments + 1];
    uint16_t lengths[kMaxSegments];
    int count;
    // False for a path with more components than an item path may have levels.
    bool Split(const char* path) {
        count = SplitPathSegments(path, starts, lengths);
        return count > 0 && !path[starts[count]];
    }
    std::string Text(const char* path, int i) const { return std::string(path + starts[i], lengths[i]); }
};

int DriveImage(char letter) {
    const int icon = GetDriveIconIndex(letter, TRUE);
    return icon >= 0 ? icon : 0;
}

}  // namespace

int CFolderTreeCtrl::SelectPath(const char* path, const char* subPath, int flags) {
    FolderTreeContext* c = m_context;
    if (!c) return 0;
    char current[kFolderPathSize];
    GetCurrentPath(current, sizeof current, nullptr);
    char full[kFolderPathSize];
    const int length = MakeSelectPath(path, subPath, current, full, sizeof full);
    if (!length) return 0;
    if (IsNetworkText(full)) return SelectNetworkPath(full, flags);
    if (HTREEITEM found = FindPathItem(full)) return SetCurrent(found, full, length, flags);
    const DWORD attributes = GetFileAttributesA(full);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return 0;
    Segments s;
    if (!s.Split(full) || DriveKey(s.Text(full, 0).c_str()) == 128) return 0;
    HTREEITEM at = FindChild(m_hWnd, TVI_ROOT, s.Text(full, 0).c_str());
    if (!at) at = InsertDrive(s.Text(full, 0).c_str());
    if (!at) return 0;
    HTREEITEM item = InsertMissing(at, full, 1, !(State(m_hWnd, at) & FTS_SLOW));
    if (!item) return 0;
    for (HTREEITEM up = Parent(m_hWnd, item); up; up = Parent(m_hWnd, up))
        SendMessage(TVM_EXPAND, (State(m_hWnd, up) & FTS_READ) ? kExpandRead : kExpandUnread,
                    reinterpret_cast<LPARAM>(up));
    return SetCurrent(item, full, length, flags);
}

HTREEITEM CFolderTreeCtrl::FindPathItem(const char* path) {
    Segments s;
    if (!s.Split(path)) return nullptr;
    HTREEITEM at = TVI_ROOT;
    int i = 0;
    if (IsNetworkText(path)) {
        at = GetNetworkRoot();
        if (at == TVI_ROOT) return nullptr;
    }
    for (; i < s.count && at; ++i) at = FindChild(m_hWnd, at, s.Text(path, i).c_str());
    return at == TVI_ROOT ? nullptr : at;
}

HTREEITEM CFolderTreeCtrl::InsertDrive(const char* typed) {
    const int key = DriveKey(typed);
    if (key > 25 || !(GetLogicalDrives() >> key & 1)) return nullptr;
    // Named as the drive list names it, whatever case was typed.
    const char text[3] = {(char)('A' + key), ':', 0};
    const char root[4] = {text[0], ':', '\\', 0};
    const UINT type = GetDriveTypeA(root);
    const bool fixed = type == DRIVE_FIXED || type == DRIVE_RAMDISK;
    FolderTreeContext* c = m_context;
    CSingleLock lock(&c->lock, TRUE);
    // The worker may have listed it meanwhile.
    if (HTREEITEM listed = FindChild(m_hWnd, TVI_ROOT, text)) return listed;
    ++c->uiInserts;
    return InsertFolderItem(m_hWnd, TVI_ROOT, CompareDriveItems, text, DriveImage(text[0]),
                            (fixed ? FTS_DRIVE : FTS_DRIVE | FTS_SLOW) | kOpen, 0);
}

// The components of path from segment from on below at: present ones are found, missing ones inserted
// (open, with unread subfolders; the last one closed). The last item, null when an insert failed.
HTREEITEM CFolderTreeCtrl::InsertMissing(HTREEITEM at, const char* path, int from, bool fixed) {
    FolderTreeContext* c = m_context;
    Segments s;
    if (!s.Split(path)) return nullptr;
    const UINT unread = fixed ? FTS_UNREAD : FTS_UNREAD | FTS_SLOW;
    const int icon = Image(m_hWnd, at) >= 0 ? GetFileIconIndex(FI_FOLDER) : 0;
    CSingleLock lock(&c->lock, TRUE);
    for (int i = from; i < s.count && at; ++i) {
        const std::string name = s.Text(path, i);
        if (HTREEITEM found = FindChild(m_hWnd, at, name.c_str())) {
            at = found;
            continue;
        }
        ++c->uiInserts;
        const UINT state = i + 1 < s.count ? unread | kOpen : unread;
        at = InsertFolderItem(m_hWnd, at, CompareFolderItems, name.c_str(), icon, state, 0);
    }
    return at;
}

// A network path: refused without network; a known prefix starts the walk at its item, else the server
// and the share are added below the network neighbourhood.
int CFolderTreeCtrl::SelectNetworkPath(const char* path, int flags) {
    FolderTreeContext* c = m_context;
    if (!c->networkFlag) return 0;
    if (!m_networkStarted) {
        m_networkStarted = true;
        PostMessage(WM_COMMAND, ID_FOLDERTREE_NETWORK, 0);
    }
    const int length = lstrlenA(path);
    if (HTREEITEM found = FindPathItem(path)) return SetCurrent(found, path, length, flags);
    Segments s;
    if (!s.Split(path)) return 0;
    HTREEITEM at = nullptr;
    int from = 0;
    {
        CSingleLock lock(&c->lock, TRUE);
        at = c->networkRoot == TVI_ROOT ? nullptr : c->networkRoot;
        // The longest known prefix that ends at a component.
        for (const auto& known : c->networkPaths) {
            const int n = (int)known.first.size();
            if (n > length || CompareTextNA(known.first.c_str(), n, path, n, true) != 0) continue;
            if (path[n] && path[n] != '\\' && known.first.back() != '\\') continue;
            int segments = 0;
            while (segments < s.count && (int)s.starts[segments] < n) ++segments;
            if (segments >= from && known.second) {
                at = known.second;
                from = segments;
            }
        }
        if (!at) return 0;
        // Server and share go to the end of their parents; the share's path is kept.
        for (; from < 2 && from < s.count; ++from) {
            const std::string name = s.Text(path, from);
            HTREEITEM found = FindChild(m_hWnd, at, name.c_str());
            if (!found) {
                ++c->uiInserts;
                LPARAM shared = 0;
                if (from == 1) {
                    const std::string share(path, s.starts[1] + s.lengths[1]);
                    shared = reinterpret_cast<LPARAM>(c->networkPaths.emplace(share, nullptr).first->first.c_str());
                }
                found = InsertFolderItem(m_hWnd, at, nullptr, name.c_str(), 0, FTS_NETWORK | FTS_SLOW | kOpen, shared);
                if (found && shared) c->networkPaths[reinterpret_cast<const char*>(shared)] = found;
            }
            at = found;
            if (!at) return 0;
        }
    }
    HTREEITEM item = InsertMissing(at, path, from, false);
    if (!item) return 0;
    for (HTREEITEM up = Parent(m_hWnd, item); up; up = Parent(m_hWnd, up))
        SendMessage(TVM_EXPAND, (State(m_hWnd, up) & FTS_READ) ? kExpandRead : kExpandUnread,
                    reinterpret_cast<LPARAM>(up));
    return SetCurrent(item, path, length, flags);
}

// The network neighbourhood and its children are read again while this thread waits (bounded, and
// dispatching messages meanwhile).
void CFolderTreeCtrl::RefreshNetwork() {
    const HTREEITEM root = GetNetworkRoot();
    if (root == TVI_ROOT) return;
    const DWORD start = GetTickCount();
    auto left = [&] {
        const DWORD spent = GetTickCount() - start;
        return spent < kRefreshBoundMs ? kRefreshBoundMs - spent : 0;
    };
    // Past the bound the children's refreshes are still queued, without waiting for them.
    bool waiting = WaitForJob(root, left());
    for (HTREEITEM child = FirstChild(m_hWnd, root); child && m_context; child = NextSibling(m_hWnd, child)) {
        if (!(State(m_hWnd, child) & FTS_NETWORK)) continue;
        if (waiting && left())
            waiting = WaitForJob(child, left());  // queued, and waited for within the bound
        else
            QueueFolderJob(m_context, child, FJ_REFRESH, false, FJ_END);
    }
}

// Queues a refresh of item at the front and waits for it; a running prefetch stops for it. False when
// the bound passed or the control let go of its worker meanwhile.
bool CFolderTreeCtrl::WaitForJob(HTREEITEM item, DWORD bound) {
    FolderTreeContext* c = m_context;
    if (!c || !bound) return false;
    HANDLE done = CreateSemaphoreA(nullptr, 0, 1, nullptr);
    if (!done) return false;
    c->refs.fetch_add(1);  // the control may let go of it while this thread waits
    const uint32_t id = QueueFolderJob(c, item, FJ_REFRESH, false, FJ_FRONT, done);
    {
        CSingleLock lock(&c->lock, TRUE);
        if (c->workingId && (c->workingWord & (FJ_PREFETCH | FJ_TOPLEVEL))) {
            c->abortedId = c->workingId;
            c->files.Abort();
        }
    }
    const bool finished = WaitDispatching(done, bound);
    {
        // From here on the worker does not touch the semaphore.
        CSingleLock lock(&c->lock, TRUE);
        if (FolderJob* job = c->jobs.Find(id)) job->done = nullptr;
    }
    CloseHandle(done);
    const bool kept = m_context == c;
    ReleaseFolderTreeContext(c);
    return finished && kept;
}

int CFolderTreeCtrl::ResolveNetworkPath(const char* path, char* buffer, int size, int* kindOut) {
    if (kindOut) *kindOut = 0;
    if (!buffer || size <= 0) return 0;
    buffer[0] = 0;
    if (!path) return 0;
    if (!IsNetworkText(path)) {
        char full[kFolderPathSize];
        const DWORD n = GetFullPathNameA(path, sizeof full, full, nullptr);
        return n && n < sizeof full ? StrCopyNA(buffer, full, size) : 0;
    }
    Segments s;
    if (!s.Split(path)) return StrCopyNA(buffer, path, size);
    std::string walked = "\\\\";
    CFileList list;
    const int flags = FL_FOLDERS_ONLY | (m_context ? (int)m_context->networkFlag : FL_NETWORK);
    int i = 0;
    for (; i < s.count; ++i) {
        const std::string name = s.Text(path, i);
        const int count = list.Read(walked.c_str(), flags);
        const FileListEntry* match = nullptr;
        for (int k = 0; k < count && !match; ++k)
            if (lstrcmpiA(list.GetEntry(k)->name, name.c_str()) == 0) match = list.GetEntry(k);
        if (match && (match->headerFlags & FLE_SHELL) && match->extraText && lstrcmpiA(match->extraText, "\\\\")) {
            walked = match->extraText;
            if (kindOut) *kindOut = 1;
            ++i;
            break;
        }
        if (walked.back() != '\\') walked += '\\';
        walked += name;
    }
    for (; i < s.count; ++i) {
        if (walked.back() != '\\') walked += '\\';
        walked += s.Text(path, i);
    }
    return StrCopyNA(buffer, walked.c_str(), size);
}
