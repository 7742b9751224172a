#include "treelist/pathcombo/PathComboWorker.h"

#include "treelist/pathcombo/PathComboShared.h"
#include "treelist/pathcombo/PathComboState.h"
#include "treelist/shared/FolderWidgetLook.h"
#include "treelist/shared/WorkerWait.h"

#include <memory>

namespace {

constexpr DWORD kIdleWaitMs = 1000;
constexpr DWORD kStackSize = 0x10000;
constexpr int kEntryIconFlags = SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES;

void Release(PathComboWorker* worker) {
    if (worker->refs.fetch_sub(1) == 1) delete worker;
}

// What one read needs, copied from the state under the lock.
struct LevelJob {
    uint32_t word;
    int level;
    char location[kPathBufferSize + 2];
    char own[kPathBufferSize];  // the path's component at the level ("" past the last)
    int flags;
};

enum class Take { Nothing, Report, Read, Leave };

// Under the lock: takes the waiting word and decides what it needs.
Take TakeWord(PathComboWorker& w, LevelJob& job) {
    CSingleLock lock(&PathComboLock, TRUE);
    job.word = w.requested.exchange(kLevelWordNone);
    w.working.store(job.word);
    // This request stops older reads only.
    w.files.AbortFlag().store(0);
    PathComboState* s = w.state;
    if (!s || job.word == kLevelWordEnd || w.runState.load() == PCW_STOP_ASKED) return Take::Leave;
    if (job.word == kLevelWordNone) return Take::Nothing;
    job.level = LevelOfWord(job.word);
    if (GenerationOfWord(job.word) != (s->generation & 0xFFFFFF) || job.level < 0 || job.level > s->count)
        return Take::Nothing;
    if (job.level == 0) s->RefreshDrives();
    if (s->levelGeneration[job.level] == job.word) return Take::Report;
    const int prefix = s->LevelPathLength(job.level);
    if (job.level == 0) {
        lstrcpyA(job.location, ":");
    } else {
        memcpy(job.location, s->path, (size_t)prefix);
        lstrcpyA(job.location + prefix, "\\*");
    }
    job.own[0] = 0;
    if (job.level < s->count) lstrcpynA(job.own, s->path + s->segStart[job.level], s->segLength[job.level] + 1);
    job.flags = FL_FOLDERS_ONLY | (s->noNetwork ? 0 : FL_NETWORK);
    return Take::Read;
}

// Outside the lock: the list of the read entries with icons and widths. Null when stopped.
std::unique_ptr<CTextList> BuildList(PathComboWorker& w, const LevelJob& job) {
    std::unique_ptr<CTextList> list(new CTextList(sizeof(LevelEntryData)));
    const int count = w.files.Read(job.location, job.flags);
    if (count < 0 && w.files.GetEndCode() == FL_END_ABORTED) return nullptr;
    PathTextMeasure measure;
    if (count > 0) {
        w.files.Sort(FL_SORT_NATURAL);
        const int folderIcon = GetFolderWidgetLook().folderIcon;
        for (int i = 0; i < count; ++i) {
            if (w.files.AbortFlag().load(std::memory_order_relaxed)) return nullptr;
            const FileListEntry* e = w.files.GetEntry(i);
            const int icon = w.files.GetEntryIcon(e, kEntryIconFlags);
            const int kind = (e->headerFlags & FLE_SHELL) ? LEVEL_ENTRY_NETWORK : LEVEL_ENTRY_FOLDER;
            LevelEntryData data = {icon >= 0 ? icon : folderIcon, LevelEntryInfo(measure.Width(e->name, e->nameLength), kind)};
            list->InsertItemN(e->nameLength, e->name, -1, &data);
        }
    } else if (job.own[0]) {
        LevelEntryData data = {GetFolderWidgetLook().folderIcon,
                               LevelEntryInfo(measure.Width(job.own, lstrlenA(job.own)), LEVEL_ENTRY_OWN)};
        list->InsertItem(job.own, -1, &data);
    }
    w.files.Clear();
    return list;
}

// Under the lock: puts the list in place when the control still wants it. False when the worker must leave.
bool Install(PathComboWorker& w, const LevelJob& job, std::unique_ptr<CTextList>& list, bool* installed) {
    CSingleLock lock(&PathComboLock, TRUE);
    PathComboState* s = w.state;
    *installed = false;
    if (!s || w.runState.load() == PCW_STOP_ASKED) return false;
    if (GenerationOfWord(job.word) != (s->generation & 0xFFFFFF) || job.level > s->count) return true;
    s->levels[job.level].swap(list);
    s->levelGeneration[job.level] = job.word;
    s->MeasureLevelPopup(job.level);
    *installed = true;
    return true;
}

void Post(PathComboWorker& w, WPARAM what, LPARAM value) { PostMessageA(w.owner, WM_PATHCOMBO_WORKER, what, value); }

DWORD WINAPI WorkerMain(LPVOID parameter) {
    PathComboWorker& w = *static_cast<PathComboWorker*>(parameter);
    for (;;) {
        w.wake.Lock(kIdleWaitMs);
        if (w.runState.load() == PCW_STARTING) Post(w, PCW_STARTED, (LPARAM)&w);
        LevelJob job;
        const Take take = TakeWord(w, job);
        if (take == Take::Leave) break;
        if (take == Take::Nothing) continue;
        if (take == Take::Read) {
            std::unique_ptr<CTextList> list = BuildList(w, job);
            bool installed = false;
            // Stopped: a newer request or the end waits.
            if (list && !Install(w, job, list, &installed)) break;
            if (!installed) {
                w.working.store(kLevelWordNone);
                continue;
            }
        }
        w.done.store(job.word);
        w.working.store(kLevelWordNone);
        Post(w, PCW_LEVEL_READY, (LPARAM)job.word);
    }
    {
        CSingleLock lock(&PathComboLock, TRUE);
        w.runState.store(PCW_STATE_ENDED);
    }
    Post(w, PCW_ENDED, (LPARAM)&w);
    w.files.Clear();
    Release(&w);
    return 0;
}

}  // namespace

PathComboWorker::PathComboWorker(HWND ownerWindow, PathComboState* sharedState)
    : owner(ownerWindow), state(sharedState), wake(1, 1) {}

PathComboWorker::~PathComboWorker() {
    if (thread) CloseHandle(thread);
}

PathComboWorker* StartPathComboWorker(HWND owner, PathComboState* state) {
    return StartWorkerThread(new PathComboWorker(owner, state), WorkerMain, kStackSize);
}

void AskPathComboWorker(PathComboWorker* worker, uint32_t word) {
    if (!worker || worker->done.load() == word || worker->working.load() == word) return;
    // The stop first: a worker that takes the new word clears it, so it can only stop the older read.
    worker->files.Abort();
    worker->requested.store(word);
    worker->wake.Unlock();
}

void StopPathComboWorker(PathComboWorker* worker, DWORD waitMs) {
    if (!worker) return;
    {
        CSingleLock lock(&PathComboLock, TRUE);
        worker->state = nullptr;
        if (worker->runState.load() != PCW_STATE_ENDED) worker->runState.store(PCW_STOP_ASKED);
    }
    worker->requested.store(kLevelWordEnd);
    worker->files.Abort();
    worker->wake.Unlock();
    WaitAnsweringSent(worker->thread, waitMs);
    Release(worker);
}
