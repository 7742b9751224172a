#include "treelist/pathdlg/PathDlgWorker.h"

#include "framework/WinApp.h"
#include "system/SystemIcons.h"
#include "system/SystemInfo.h"
#include "text/NormalizeCase.h"
#include "treelist/pathdlg/PathDlgText.h"

#include <objbase.h>

namespace {

constexpr DWORD kIdleWaitMs = 5000;
constexpr int kEntryIconFlags = SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES;  // 17
constexpr unsigned kCaseFlags = NC_ONLY_CAPITALS | NC_WORDS | NC_LATIN1;  // 0xA200
constexpr size_t kRequestLimit = 259;
constexpr int kBatch = 128;

std::string Displayed(const char* name) {
    std::string text = name;
    NormalizeCaseA(text.data(), name, kCaseFlags);
    return text.c_str();
}

int Icon(int index, int fallback) { return index >= 0 ? index : fallback; }

class Lister {
public:
    Lister(PathListContext& c, uint32_t generation) : m_c(c), m_generation(generation) {}

    // False once the listing is no longer wanted.
    bool Wanted() {
        if (m_c.stop.load()) return false;
        CSingleLock lock(&m_c.lock, TRUE);
        return m_c.generation == m_generation;
    }
    bool Add(std::vector<PathListEntry>& batch, bool last = false) {
        if (batch.empty() || (!last && (int)batch.size() < kBatch)) return true;
        CSingleLock lock(&m_c.lock, TRUE);
        if (m_c.stop.load() || m_c.generation != m_generation) return false;
        for (PathListEntry& e : batch) m_c.entries.push_back(std::move(e));
        batch.clear();
        return true;
    }

    void List(const std::string& path, const std::string& shareRoot, int networkIcon) {
        const std::vector<std::string> levels = PathLevels(path.c_str(), shareRoot.c_str());
        const int folderIcon = Icon(GetFileIconIndex(FI_FOLDER), 0);
        const int openIcon = Icon(GetFileIconIndex(FI_FOLDER | FI_OPEN), folderIcon);
        const bool network = !m_c.localOnly && shareRoot.empty() && levels.size() && levels[0] == "\\\\";
        std::vector<PathListEntry> batch;
        for (int i = 0; i < (int)levels.size(); ++i) {
            PathListEntry e = {levels[i], openIcon, kPathLevelIndent * i, true};
            if (i == 0) {
                e.icon = network ? networkIcon
                         : shareRoot.size() ? Icon(GetDriveIconIndex(GetSystemDriveLetter(), TRUE), folderIcon)
                                            : Icon(GetDriveIconIndex(levels[0][0], TRUE), folderIcon);
                if (network) e.text = "Netzwerkumgebung";
            } else {
                e.text = Displayed(levels[i].c_str());
                if (network) e.icon = NetworkIcon(JoinLevels(levels, i - 1), levels[i], folderIcon);
            }
            batch.push_back(std::move(e));
            if (!Wanted()) return;
        }
        {
            CSingleLock lock(&m_c.lock, TRUE);
            if (m_c.generation != m_generation) return;
            m_c.current = (int)levels.size() - 1;
        }
        if (!Add(batch, true)) return;
        const int flags = FL_FOLDERS_ONLY | (m_c.localOnly ? 0 : FL_NETWORK);
        const int count = m_c.files.Read(JoinLevels(levels, (int)levels.size() - 1).c_str(), flags);
        if (count <= 0 || !Wanted()) return;
        if (!(m_c.files.GetEntry(0)->headerFlags & FLE_SHELL)) m_c.files.Sort(FL_SORT_NATURAL);
        const int indent = kPathLevelIndent * (int)levels.size();
        for (int i = 0; i < count; ++i) {
            const FileListEntry* entry = m_c.files.GetEntry(i);
            if (entry->name[0] == '.' && (!entry->name[1] || (entry->name[1] == '.' && !entry->name[2]))) continue;
            const int icon = (entry->headerFlags & FLE_SHELL) ? Icon(m_c.files.GetEntryIcon(entry, kEntryIconFlags), folderIcon)
                                                             : folderIcon;
            batch.push_back({Displayed(entry->name), icon, indent, false});
            if (!Add(batch)) return;
        }
        Add(batch, true);
        m_c.files.Clear();
    }

private:
    // The icon of a network component as its parent lists it.
    int NetworkIcon(const std::string& parent, const std::string& name, int fallback) {
        CFileList list;
        const int count = list.Read(parent.c_str(), FL_FOLDERS_ONLY | FL_NETWORK);
        for (int k = 0; k < count; ++k)
            if (lstrcmpiA(list.GetEntry(k)->name, name.c_str()) == 0)
                return Icon(list.GetEntryIcon(list.GetEntry(k), kEntryIconFlags), fallback);
        return fallback;
    }

    PathListContext& m_c;
    const uint32_t m_generation;
};

void ReadDrives(PathListContext& c) {
    std::vector<PathDriveEntry> drives;
    CFileList& files = c.driveFiles;
    const int count = files.Read(":", FL_FOLDERS_ONLY | (c.localOnly ? 0 : FL_NETWORK));
    for (int i = 0; i < count && !c.stop.load(); ++i) {
        const FileListEntry* e = files.GetEntry(i);
        const bool network = (e->headerFlags & FLE_SHELL) != 0;
        const int icon = files.GetEntryIcon(e, kEntryIconFlags);
        drives.push_back({network ? std::string(e->name) : std::string(e->name) + "\\", icon,
                          network ? PATHDRIVE_NETWORK : PATHDRIVE_DRIVE, false});
    }
    files.Clear();
    if (!c.share.empty())
        drives.push_back({c.share, Icon(GetDriveIconIndex(GetSystemDriveLetter(), TRUE), 0), PATHDRIVE_NETWORK, true});
    {
        CSingleLock lock(&c.lock, TRUE);
        c.drives = std::move(drives);
    }
    PostMessageA(c.dialog, WM_COMMAND, ID_PATHDLG_DRIVES_READY, 0);
}

int NetworkPlaceIcon(const PathListContext& c) {
    for (const PathDriveEntry& d : c.drives)
        if (d.kind == PATHDRIVE_NETWORK && !d.share) return d.icon;
    return Icon(GetFileIconIndex(FI_FOLDER), 0);
}

UINT __cdecl WorkerMain(LPVOID parameter) {
    PathListContext& c = *static_cast<PathListContext*>(parameter);
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ReadDrives(c);
    while (!c.stop.load()) {
        c.wake.Lock(kIdleWaitMs);
        std::string path, shareRoot;
        uint32_t generation;
        int networkIcon;
        {
            CSingleLock lock(&c.lock, TRUE);
            if (c.stop.load()) break;
            if (!c.requested) continue;
            c.requested = false;
            path = c.request;
            shareRoot = c.shareRoot;
            generation = c.generation;
            networkIcon = NetworkPlaceIcon(c);
            c.filling.store(true);
        }
        Lister(c, generation).List(path, shareRoot, networkIcon);
        {
            CSingleLock lock(&c.lock, TRUE);
            c.filling.store(false);
            if (c.generation != generation || c.stop.load()) continue;
            c.doneGeneration = generation;
        }
        PostMessageA(c.dialog, WM_COMMAND, ID_PATHDLG_LIST_READY, 0);
    }
    c.files.Clear();
    if (SUCCEEDED(com)) CoUninitialize();
    c.running.store(false);
    ReleasePathListContext(&c);
    return 0;
}

}  // namespace

PathListContext::PathListContext(HWND ownDialog, bool local, const char* startShare)
    : dialog(ownDialog), localOnly(local), share(startShare ? startShare : ""), wake(1, 1) {}

PathListContext* StartPathListWorker(HWND dialog, bool localOnly, const char* share) {
    auto* c = new PathListContext(dialog, localOnly, share);
    CWinThread* thread = AfxBeginThread(WorkerMain, c, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    if (!thread) {
        delete c;
        return nullptr;
    }
    // Our own handle: the thread object goes with the thread.
    DuplicateHandle(GetCurrentProcess(), thread->m_hThread, GetCurrentProcess(), &c->thread, SYNCHRONIZE, FALSE, 0);
    thread->ResumeThread();
    return c;
}

bool RequestPathListing(PathListContext* c, const char* path, const char* shareRoot) {
    if (!c || !path || strlen(path) > kRequestLimit) return false;
    {
        CSingleLock lock(&c->lock, TRUE);
        c->request = path;
        c->shareRoot = shareRoot ? shareRoot : "";
        ++c->generation;
        c->entries.clear();
        c->current = -1;
        c->requested = true;
        // Stops the older listing's read; the new one cannot start before the lock is left.
        c->files.Abort();
    }
    c->wake.Unlock();
    return true;
}

void AskPathListWorkerToStop(PathListContext* c) {
    c->stop.store(true);
    c->files.Abort();
    c->driveFiles.Abort();
    c->wake.Unlock();
}

void ReleasePathListContext(PathListContext* c) {
    if (c->refs.fetch_sub(1) != 1) return;
    if (c->thread) CloseHandle(c->thread);
    delete c;
}

bool NetworkFolderFound(const char* path) {
    const int length = path ? lstrlenA(path) : 0;
    if (!length) return false;
    WIN32_FIND_DATAA found;
    const std::string pattern = std::string(path) + (path[length - 1] == '\\' ? "*" : "\\*");
    HANDLE find = ::FindFirstFileA(pattern.c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return false;
    ::FindClose(find);
    return true;
}
