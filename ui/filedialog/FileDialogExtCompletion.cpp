#include "ui/filedialog/FileDialogExtCompletion.h"

#include "framework/Sync.h"
#include "text/StrCompare.h"
#include "text/StrCopy.h"
#include "text/TextList.h"
#include "ui/popup/PopupList.h"

#include <atomic>
#include <cstring>

// Shared by the dialog and its worker. The texts are guarded by the semaphore; the flags
// and counters are atomic.
struct FileCompletionState {
    CSemaphore guard{1, 1};  // whoever holds it may touch folder and typed
    CEvent wake;             // set when there is new work or the worker must stop
    char folder[MAX_PATH] = {};
    char typed[MAX_PATH] = {};
    std::atomic<bool> folderChanged{false};
    std::atomic<bool> textChanged{false};
    std::atomic<bool> run{true};
    HWND dialog = nullptr;
    HWND list = nullptr;
    WORD listId = 0;
    std::atomic<int> namesRead{0};
    std::atomic<int> namesPosted{0};
};

namespace {

// The worker holds the guard only to copy a text, so a bounded wait never runs out in
// practice; if it does, the change is simply taken on the next round.
constexpr DWORD kGuardWait = 5000;
constexpr DWORD kIdleWait = 1000;

struct WorkerContext {
    std::shared_ptr<FileCompletionState> state;
};

class CompletionWorker {
public:
    explicit CompletionWorker(FileCompletionState& s) : s(s) {}

    void Run() {
        unsigned rounds = 0;
        while (s.run.load()) {
            if (s.folderChanged.load()) TakeFolder();
            if (m_find != INVALID_HANDLE_VALUE) ReadNextName();
            if (s.textChanged.load()) TakeText();
            if (CanMatch()) MatchNext();
            if (m_find == INVALID_HANDLE_VALUE && !CanMatch())
                WaitForSingleObject(s.wake, kIdleWait);
            else if (++rounds % 256 == 0)
                Sleep(10);
        }
        CloseSearch();
    }

private:
    void CloseSearch() {
        if (m_find != INVALID_HANDLE_VALUE) FindClose(m_find);
        m_find = INVALID_HANDLE_VALUE;
    }

    void TakeFolder() {
        char folder[MAX_PATH + 2];
        {
            CSingleLock guard(&s.guard);
            if (!guard.Lock(kGuardWait)) return;
            StrCopyNA(folder, s.folder, MAX_PATH);
            s.folderChanged.store(false);
        }
        CloseSearch();
        m_names.RemoveAll();
        s.namesRead.store(0);
        m_next = 0;
        PostMessageA(s.list, LB_RESETCONTENT, 0, 0);
        if (!folder[0]) return;
        int length = AppendSeparatorA(folder, -1);
        if (length >= MAX_PATH - 1) return;
        StrCatNA(folder, "*", sizeof folder);
        WIN32_FIND_DATAA data;
        m_find = FindFirstFileA(folder, &data);
        if (m_find != INVALID_HANDLE_VALUE) AddName(data);
    }

    void ReadNextName() {
        WIN32_FIND_DATAA data;
        if (m_names.GetCount() >= FILE_COMPLETION_MAX_NAMES || !FindNextFileA(m_find, &data)) {
            CloseSearch();
            return;
        }
        AddName(data);
        if (m_names.GetCount() >= FILE_COMPLETION_MAX_NAMES) CloseSearch();
    }

    void AddName(const WIN32_FIND_DATAA& data) {
        if (strcmp(data.cFileName, ".") == 0 || strcmp(data.cFileName, "..") == 0) return;
        if (m_names.InsertItemN(-1, data.cFileName, -1, nullptr) >= 0) s.namesRead.store(m_names.GetCount());
    }

    void TakeText() {
        {
            CSingleLock guard(&s.guard);
            if (!guard.Lock(kGuardWait)) return;
            m_typedLength = StrCopyNNA(m_typed, s.typed, sizeof m_typed, FILE_COMPLETION_MAX_TEXT);
            s.textChanged.store(false);
        }
        PostMessageA(s.list, LB_RESETCONTENT, 0, 0);
        m_next = 0;
        m_shown = 0;
        s.namesPosted.store(0);
    }

    bool CanMatch() const {
        return m_typedLength > 0 && m_shown < FILE_COMPLETION_MAX_SHOWN && m_next < m_names.GetCount();
    }

    void MatchNext() {
        const char* name = m_names.GetItemText(m_next);
        int length = m_names.GetItemLength(m_next);
        ++m_next;
        if (length < m_typedLength || ComparePathCharsNoCaseA(name, m_typed, m_typedLength) != 0) return;
        if (!PostPopupListText(s.list, name, length)) return;
        ++m_shown;
        s.namesPosted.store(m_shown);
        if (m_shown == 1)
            PostMessageA(s.dialog, WM_COMMAND, MAKEWPARAM(s.listId, FILE_COMPLETION_READY),
                         reinterpret_cast<LPARAM>(s.list));
    }

    FileCompletionState& s;
    CTextList m_names;
    HANDLE m_find = INVALID_HANDLE_VALUE;
    char m_typed[FILE_COMPLETION_MAX_TEXT + 1] = {};
    int m_typedLength = 0;
    int m_next = 0;
    int m_shown = 0;
};

DWORD WINAPI CompletionThread(void* parameter) {
    auto* context = static_cast<WorkerContext*>(parameter);
    std::shared_ptr<FileCompletionState> state = std::move(context->state);
    delete context;
    CompletionWorker(*state).Run();
    return 0;
}

}  // namespace

FileCompletion::~FileCompletion() { Stop(2000); }

bool FileCompletion::Start(HWND dialog, HWND list, WORD listId) {
    if (m_thread) return true;
    auto state = std::make_shared<FileCompletionState>();
    if (!state->guard.m_hObject || !state->wake.m_hObject) return false;
    state->dialog = dialog;
    state->list = list;
    state->listId = listId;
    auto* context = new WorkerContext{state};
    HANDLE thread = CreateThread(nullptr, 4096, CompletionThread, context, 0, nullptr);
    if (!thread) {
        delete context;
        return false;
    }
    m_state = std::move(state);
    m_thread = thread;
    return true;
}

void FileCompletion::SetFolder(const char* folder) {
    if (!m_state) return;
    {
        CSingleLock guard(&m_state->guard);
        if (!guard.Lock(kGuardWait)) return;
        StrCopyNA(m_state->folder, folder, MAX_PATH);
        m_state->typed[0] = 0;
        m_state->folderChanged.store(true);
        m_state->textChanged.store(true);
    }
    m_state->wake.SetEvent();
}

void FileCompletion::SetText(const char* text) {
    if (!m_state) return;
    {
        CSingleLock guard(&m_state->guard);
        if (!guard.Lock(kGuardWait)) return;
        StrCopyNA(m_state->typed, text, MAX_PATH);
        m_state->textChanged.store(true);
    }
    m_state->wake.SetEvent();
}

bool FileCompletion::Stop(DWORD timeoutMs) {
    if (!m_thread) return true;
    m_state->run.store(false);
    m_state->wake.SetEvent();
    bool ended = WaitForSingleObject(m_thread, timeoutMs) == WAIT_OBJECT_0;
    CloseHandle(m_thread);
    m_thread = nullptr;
    m_state.reset();
    return ended;
}

int FileCompletion::NamesRead() const { return m_state ? m_state->namesRead.load() : 0; }
int FileCompletion::NamesPosted() const { return m_state ? m_state->namesPosted.load() : 0; }
