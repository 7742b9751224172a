#include "treelist/foldertree/FolderTreeWorker.h"

#include "system/SystemIcons.h"
#include "text/StrCompare.h"
#include "treelist/foldertree/FolderTreeDirect.h"
#include "treelist/foldertree/FolderTreeFill.h"
#include "treelist/shared/WorkerWait.h"

#include <objbase.h>

#include <string>

using namespace foldertree;

namespace {

constexpr DWORD kIdleWaitMs = 1000;
constexpr DWORD kStackCommit = 0xFF00;
constexpr int kEntryIconFlags = SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES;  // 17

UINT DriveState(const FileListEntry* e) {
    if (e->headerFlags & FLE_SHELL) return FTS_NETWORK | FTS_SLOW;
    const char root[4] = {e->name[0], ':', '\\', 0};
    const UINT type = GetDriveTypeA(root);
    return type == DRIVE_FIXED || type == DRIVE_RAMDISK ? FTS_DRIVE : FTS_DRIVE | FTS_SLOW;
}

// The drives (and the network place) as top-level items: present ones get their images again, new ones
// are inserted in drive order.
void ListDrives(FolderTreeContext& c) {
    const int count = c.files.Read(":", FL_FOLDERS_ONLY | (int)c.networkFlag);
    for (int i = 0; i < count && !c.stop.load(); ++i) {
        const FileListEntry* e = c.files.GetEntry(i);
        const int icon = c.files.GetEntryIcon(e, kEntryIconFlags);
        const UINT state = DriveState(e);
        CSingleLock lock(&c.lock, TRUE);
        if (c.stop.load()) return;
        // A drive that SelectPath added meanwhile is the same drive in whatever case it was typed.
        HTREEITEM item = FindChild(c.window, TVI_ROOT, e->name);
        if (item) {
            SetImages(c.window, item, icon);
        } else {
            item = InsertFolderItem(c.window, TVI_ROOT, CompareDriveItems, e->name, icon, state, 0);
        }
        if (item && (e->headerFlags & FLE_SHELL)) {
            c.networkRoot = item;
            auto placed = c.networkPaths.emplace("\\\\", item).first;
            Call(c.window, TLM_SETITEMPARAM, reinterpret_cast<WPARAM>(placed->first.c_str()),
                 reinterpret_cast<LPARAM>(item));
        }
    }
    c.files.Clear();
}

// What becomes of a job's read.
void ReadFolder(FolderTreeContext& c, const FolderJob& job) {
    HTREEITEM networkRoot;
    {
        CSingleLock lock(&c.lock, TRUE);
        networkRoot = c.networkRoot;
    }
    char path[kFolderPathSize + 1];
    int length = ComposeItemPath(c.window, networkRoot, job.item, path, kFolderPathSize, 0, nullptr);
    if (length == 0) return;
    if (length == 2 && path[1] == ':') lstrcpyA(path + 2, "\\");
    const UINT state = State(c.window, job.item);
    const bool network = (state & FTS_NETWORK) != 0;
    const bool firstOnly = !network && (job.word & FJ_PREFETCH);
    int flags = FL_FOLDERS_ONLY;
    if (network) {
        c.files.Sort(FL_SORT_NATURAL);
        flags |= FL_SORTED | FL_NETWORK;
    } else if (firstOnly) {
        flags |= FL_FIRST_ONLY;
    }
    const int count = c.files.Read(path, flags);
    {
        CSingleLock lock(&c.lock, TRUE);
        if (c.abortedId == job.id || c.stop.load()) return;
    }
    if (count < 0) return;
    if (!firstOnly) {
        FillChildren(c, job, state);
    } else if (count > 0) {
        if (!(state & (FTS_READ | TVIS_EXPANDED))) SetState(c.window, job.item, FTS_UNREAD, FTS_UNREAD, 1);
    } else {
        DeleteQueued(c.window, job.item, true);
        SetState(c.window, job.item, FTS_READ, FTS_READ | FTS_UNREAD, 0);
    }
    c.files.Clear();
}

// Takes the next job and works it off; false when the queue is empty.
bool RunNextJob(FolderTreeContext& c) {
    FolderJob job;
    {
        CSingleLock lock(&c.lock, TRUE);
        FolderJob* first = c.jobs.First();
        if (!first) return false;
        if (first->word == FJ_CANCELLED) {
            FolderJob dropped;
            c.jobs.Remove(first->id, &dropped);
            if (dropped.done) ReleaseSemaphore(dropped.done, 1, nullptr);
            if (dropped.counted) c.pendingExpands.fetch_sub(1);
            if (c.jobs.Count() == 0 && !c.stop.load()) PostMessageA(c.window, WM_COMMAND, ID_FOLDERTREE_IDLE, 0);
            return true;
        }
        job = *first;
        c.workingId = job.id;
        c.workingWord = job.word;
        // A stop asked for an earlier job does not reach this one.
        c.files.AbortFlag().store(0);
    }
    ReadFolder(c, job);
    CSingleLock lock(&c.lock, TRUE);
    c.workingId = 0;
    c.workingWord = 0;
    FolderJob finished;
    if (c.jobs.Remove(job.id, &finished)) {
        if (finished.done) ReleaseSemaphore(finished.done, 1, nullptr);
        if (finished.counted) c.pendingExpands.fetch_sub(1);
    }
    if (c.jobs.Count() == 0 && !c.stop.load()) PostMessageA(c.window, WM_COMMAND, ID_FOLDERTREE_IDLE, 0);
    return true;
}

DWORD WINAPI WorkerMain(LPVOID parameter) {
    FolderTreeContext& c = *static_cast<FolderTreeContext*>(parameter);
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ListDrives(c);
    while (!c.stop.load()) {
        c.jobSemaphore.Lock(kIdleWaitMs);
        while (!c.stop.load() && RunNextJob(c)) {
        }
    }
    c.files.Clear();
    if (SUCCEEDED(com)) CoUninitialize();
    ReleaseFolderTreeContext(&c);
    return 0;
}

}  // namespace

FolderTreeContext::FolderTreeContext(HWND ownWindow, bool network)
    : window(ownWindow), networkFlag(network ? FL_NETWORK : 0), jobSemaphore(0, 0x7F000000) {
}

FolderTreeContext::~FolderTreeContext() {
    if (thread) CloseHandle(thread);
}

void ReleaseFolderTreeContext(FolderTreeContext* c) {
    if (c->refs.fetch_sub(1) == 1) delete c;
}

FolderTreeContext* StartFolderTreeWorker(HWND window, bool network) {
    return StartWorkerThread(new FolderTreeContext(window, network), WorkerMain, kStackCommit);
}

uint32_t QueueFolderJob(FolderTreeContext* c, HTREEITEM item, uint32_t word, bool counted, int place, HANDLE done) {
    uint32_t id;
    {
        CSingleLock lock(&c->lock, TRUE);
        id = c->jobs.Add(item, word, counted, place, done);
        if (counted) c->pendingExpands.fetch_add(1);
    }
    c->jobSemaphore.Unlock();
    return id;
}

bool StopFolderTreeWorker(FolderTreeContext* c, DWORD waitMs) {
    if (!c) return true;
    c->stop.store(true);
    c->files.Abort();
    c->jobSemaphore.Unlock();
    const bool ended = WaitAnsweringSent(c->thread, waitMs);
    ReleaseFolderTreeContext(c);
    return ended;
}

int ComposeItemPath(HWND window, HTREEITEM networkRoot, HTREEITEM item, char* buffer, int size, int mode,
                    LPARAM* lParamOut) {
    if (lParamOut) *lParamOut = 0;
    if (size > 0) buffer[0] = 0;
    if (!item || !Exists(window, item)) return 0;
    if (lParamOut) *lParamOut = Param(window, item);
    std::string texts[kFolderMaxLevels];
    const char* parts[kFolderMaxLevels];
    int count = 0;
    for (HTREEITEM at = item; at; at = Parent(window, at)) {
        // Deeper than the levels a path may have: no path at all rather than a cut one.
        if (count == kFolderMaxLevels) return 0;
        const int slot = kFolderMaxLevels - 1 - count++;
        const LPARAM networkPath = Param(window, at);
        if (mode == 0 && networkPath) {
            parts[slot] = reinterpret_cast<const char*>(networkPath);
            break;
        }
        if (mode == 1 && at == networkRoot) {
            parts[slot] = "\\\\";
            break;
        }
        char text[kFolderPathSize];
        Text(window, at, text, sizeof text);
        texts[slot] = text;
        parts[slot] = texts[slot].c_str();
    }
    return JoinItemPath(parts + kFolderMaxLevels - count, count, buffer, size);
}

LRESULT CALLBACK CompareDriveItems(HWND, HTREEITEM, LPCSTR probeText, LPCSTR newText, LPARAM, LPARAM) {
    return CompareDriveTexts(newText, probeText);
}

LRESULT CALLBACK CompareFolderItems(HWND, HTREEITEM, LPCSTR probeText, LPCSTR newText, LPARAM, LPARAM) {
    return StrCmpNaturalIA(newText, probeText);
}
