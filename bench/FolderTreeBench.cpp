// The folder tree on a folder with 10,000 subfolders: the time from SelectPath to its list shown in the
// tree (read by the tree's worker, inserted, rows laid out on the window's thread), against the file list
// reading the same folder alone. Meanwhile a second thread posts a message to the tree's thread every
// 2 ms; the longest wait of such a message is the longest time the window's thread was blocked. Best of
// several runs for each side. Exits non-zero when the tree does not show every folder.
#include "bench/BenchClock.h"
#include "bench/BenchFigure.h"
#include "framework/Framework.h"
#include "system/FileList.h"
#include "treelist/foldertree/FolderTreeCtrl.h"

#include <atomic>
#include <cstdio>
#include <string>

namespace {

constexpr int kFolders = 10000;
constexpr int kRuns = 5;
constexpr UINT WM_PING = WM_APP + 1;
constexpr UINT kReadBit = 0x100000;

std::atomic<double> g_longestWait{0};

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PING) {
        const double waited = BenchNowMs() - static_cast<double>(lParam) / 1000.0;
        if (waited > g_longestWait.load()) g_longestWait.store(waited);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// Posts pings to the host until told to stop.
struct Pinger {
    HWND host;
    std::atomic<bool> stop{false};
    HANDLE thread = nullptr;
    void Start() {
        thread = CreateThread(nullptr, 0, [](LPVOID p) -> DWORD {
            auto* self = static_cast<Pinger*>(p);
            while (!self->stop.load()) {
                PostMessageA(self->host, WM_PING, 0, static_cast<LPARAM>(BenchNowMs() * 1000.0));
                Sleep(2);
            }
            return 0;
        }, this, 0, nullptr);
    }
    void Stop() {
        stop.store(true);
        WaitForSingleObject(thread, 5000);
        CloseHandle(thread);
    }
};

template <typename Done>
bool Pump(Done done, DWORD boundMs) {
    const DWORD start = GetTickCount();
    MSG msg;
    while (!done()) {
        if (GetTickCount() - start > boundMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return true;
}

std::string MakeFolders() {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string root = std::string(temp) + "wl-bench-zehntausend";
    const std::string done = root + "\\fertig";
    if (GetFileAttributesA(done.c_str()) != INVALID_FILE_ATTRIBUTES) return root + "\\Ordner";
    CreateDirectoryA(root.c_str(), nullptr);
    CreateDirectoryA((root + "\\Ordner").c_str(), nullptr);
    char name[64];
    for (int i = 0; i < kFolders; ++i) {
        wsprintfA(name, "\\Ordner\\Unterordner %05d", i);
        CreateDirectoryA((root + name).c_str(), nullptr);
    }
    CreateDirectoryA(done.c_str(), nullptr);
    return root + "\\Ordner";
}

double BareRead(const std::string& folder, int* count) {
    CFileList files;
    const double start = BenchNowMs();
    *count = files.Read(folder.c_str(), FL_FOLDERS_ONLY);
    return BenchNowMs() - start;
}

// One run with a new tree; the milliseconds from SelectPath to the list shown, -1 when it did not show.
double TreeRun(HWND host, const std::string& folder, int* shown) {
    CFolderTreeCtrl tree;
    if (!tree.Create(0, WS_CHILD | WS_VISIBLE | FTO_NO_NETWORK, CRect(0, 0, 400, 700), CWnd::FromHandle(host), 1))
        return -1;
    const int drives = __builtin_popcount(GetLogicalDrives());
    auto roots = [&] {
        int n = 0;
        for (HTREEITEM i = tree.GetRootItem(); i; i = tree.GetNextSiblingItem(i)) ++n;
        return n;
    };
    Pump([&] { return roots() >= drives; }, 20000);
    Pump([] { return false; }, 100);
    g_longestWait.store(0);
    const double start = BenchNowMs();
    if (!tree.SelectPath(folder.c_str(), nullptr, FTP_READ)) return -1;
    HTREEITEM item = tree.GetSelectedItem();
    tree.Expand(item, TVE_EXPAND);
    const bool done = Pump([&] {
        const UINT state = (UINT)tree.SendMessage(TVM_GETITEMSTATE, (WPARAM)item, 0);
        return (state & kReadBit) && tree.SendMessage(TLM_GETROWCOUNT) > kFolders;
    }, 60000);
    const double elapsed = BenchNowMs() - start;
    *shown = 0;
    for (HTREEITEM c = tree.GetChildItem(item); c; c = tree.GetNextSiblingItem(c)) ++*shown;
    tree.DestroyWindow();
    return done ? elapsed : -1;
}

}  // namespace

int main() {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    OleInitialize(nullptr);
    const std::string folder = MakeFolders();
    WNDCLASSA wc = {};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "FolderTreeBenchHost";
    RegisterClassA(&wc);
    HWND host = CreateWindowExA(0, wc.lpszClassName, "Ordner", WS_POPUP | WS_VISIBLE, 0, 0, 420, 720, nullptr,
                                nullptr, wc.hInstance, nullptr);
    Pinger pinger;
    pinger.host = host;
    pinger.Start();

    int read = 0, shown = 0;
    BareRead(folder, &read);  // warm up: the folder's entries cached
    double bare = 1e30, ours = 1e30, longest = 0;
    bool ok = read == kFolders;
    for (int i = 0; i < kRuns && ok; ++i) {
        bare = std::min(bare, BareRead(folder, &read));
        const double run = TreeRun(host, folder, &shown);
        ok = run >= 0 && shown == kFolders && read == kFolders;
        ours = std::min(ours, run);
        longest = std::max(longest, g_longestWait.load());
    }
    pinger.Stop();
    DestroyWindow(host);
    printf("Folder tree, SelectPath of a folder with %d subfolders until its list shows; best of %d runs\n",
           kFolders, kRuns);
    printf("tree %8.3f ms   bare read %8.3f ms   ratio %5.2f   longest wait of the window's thread %6.2f ms\n",
           ours, bare, ours / bare, longest);
    if (!ok) printf("failed: read %d, shown %d\n", read, shown);
    BenchFigure("SelectPath of 10,000 subfolders to shown", ours, bare, "ms");
    BenchFigure("longest block of the window's thread", longest, kNoPeer, "ms");
    OleUninitialize();
    return ok ? 0 : 1;
}
