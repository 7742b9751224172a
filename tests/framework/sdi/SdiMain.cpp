// The test program on its own: started through the library's WinMain like the game, it opens its
// document, routes commands, shows a dialog and closes itself. Exit code 0 means every check held.
#include <cstdio>

#include "tests/framework/sdi/SdiTest.h"

namespace {

int g_failures;

void Check(bool ok, const char* what) {
    if (ok) return;
    ++g_failures;
    fprintf(stderr, "check failed: %s\n", what);
}

void CALLBACK PressOk(HWND, UINT, UINT_PTR id, DWORD) {
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND h, LPARAM) -> BOOL {
            if (GetDlgItem(h, IDC_TESTEDIT)) PostMessageA(h, WM_COMMAND, IDOK, 0);
            return TRUE;
        },
        0);
    (void)id;
}

class CProgram : public CTestApp {
public:
    CProgram() {
        registryKey = "WertlaufTestProgram";
        script = [](CTestApp&) {
            CTestFrame* frame = MainFrame();
            Check(frame && frame->IsWindowVisible(), "main frame shown");
            for (UINT id : {ID_TEST_VIEW, ID_TEST_DOC, ID_TEST_FRAME, ID_TEST_APP}) frame->SendMessage(WM_COMMAND, id);
            Check(Logged("view command") && Logged("doc command") && Logged("frame command") && Logged("app command"),
                  "commands routed");
            UINT_PTR timer = SetTimer(nullptr, 0, 20, &PressOk);
            frame->SendMessage(WM_COMMAND, ID_APP_ABOUT);
            KillTimer(nullptr, timer);
            Check(Logged("about 1"), "dialog ended with OK");
            frame->PostMessage(WM_COMMAND, ID_APP_EXIT);
        };
    }
    int ExitInstance() override {
        CTestApp::ExitInstance();
        Check(Logged("frame deleted") && Logged("view deleted") && Logged("doc deleted"), "everything deleted");
        Check(m_pMainWnd == nullptr, "no main window left");
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\WertlaufTestProgram");
        return g_failures;
    }
};

CProgram theProgram;

}  // namespace
