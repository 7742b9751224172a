// The libraries loaded at the first call into them (cmake/DelayImports.cmake), switched off in Wine
// (dlls_off.sh): a call that needs one fails the way the system reports the service unavailable, and the
// program goes on.
#include "system/FileList.h"
#include "ui/filedialog/FileDialogExt.h"
#include "tests/support/ThreadWindows.h"
#include "tests/support/WaitUntil.h"

#include <commdlg.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <utility>

TEST(MissingLibraries, NoSoundDeviceAndNoNetwork) {
    EXPECT_EQ(waveOutGetNumDevs(), 0u);
    WAVEFORMATEX format{WAVE_FORMAT_PCM, 1, 22050, 44100, 2, 16, 0};
    HWAVEOUT device = nullptr;
    EXPECT_EQ(waveOutOpen(&device, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL), MMSYSERR_NODRIVER);
    CFileList list;
    EXPECT_EQ(list.Read("\\\\", FL_NETWORK), -1);  // the servers
    EXPECT_EQ(list.GetEndCode(), FL_END_FAILED);
    EXPECT_EQ(list.Read("\\\\server", FL_NETWORK), -1);  // a server's shares
    for (const char* dll : {"winmm.dll", "netapi32.dll"}) EXPECT_EQ(GetModuleHandleA(dll), nullptr) << dll;
}

namespace {

// The text of the message box that a call shows on this thread (answered with OK); empty when none showed.
std::string MessageDuring(const std::function<void()>& call) {
    const DWORD thread = GetCurrentThreadId();
    std::string text;
    std::thread answer([&] {
        HWND box = nullptr;
        if (!WaitUntil([&] { return (box = VisibleThreadWindow("#32770", thread)) != nullptr; }, 10000)) return;
        char shown[512] = {};
        GetDlgItemTextA(box, 0xFFFF, shown, sizeof shown);
        text = shown;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    call();
    answer.join();
    return text;
}

}  // namespace

// Open and save go through the file dialog extension, which loads the library itself; Print Setup comes last,
// as its stand-in sets the error that the others must set too.
TEST(MissingLibraries, DialogsSayWhyTheyDoNotOpen) {
    InstallFileDialogExtension(nullptr);
    char file[MAX_PATH] = "";
    OPENFILENAMEA names{};
    names.lStructSize = sizeof names;
    names.lpstrFile = file;
    names.nMaxFile = sizeof file;
    PRINTDLGA setup{};
    setup.lStructSize = sizeof setup;
    setup.Flags = PD_PRINTSETUP;
    const std::pair<const char*, std::function<BOOL()>> dialogs[] = {
        {"open", [&] { return GetOpenFileNameA(&names); }},
        {"save", [&] { return GetSaveFileNameA(&names); }},
        {"print setup", [&] { return PrintDlgA(&setup); }},
    };
    for (const auto& [name, open] : dialogs) {
        BOOL opened = TRUE;
        const std::string text = MessageDuring([&, open = open] { opened = open(); });
        EXPECT_FALSE(opened) << name;
        EXPECT_NE(text.find("comdlg32.dll"), std::string::npos) << name << ": " << text;
        EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(CDERR_INITIALIZATION)) << name;
    }
    EXPECT_EQ(GetModuleHandleA("comdlg32.dll"), nullptr);
}
