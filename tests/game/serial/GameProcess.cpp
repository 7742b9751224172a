#include "tests/game/serial/GameProcess.h"

#include "tests/support/WaitUntil.h"

namespace {

struct Search {
    DWORD processId;
    const char* caption;  // null: the main window
    UINT message;
    HWND found;
};

BOOL CALLBACK FindInProcess(HWND wnd, LPARAM param) {
    auto* s = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(wnd, &owner);
    if (owner != s->processId) return TRUE;
    if (s->caption) {
        char text[256] = {};
        GetWindowTextA(wnd, text, sizeof text);
        if (std::string(text) != s->caption || !IsWindowVisible(wnd)) return TRUE;
    } else {
        DWORD_PTR answer = 0;
        if (!SendMessageTimeoutA(wnd, s->message, 0x12345678, 0, SMTO_ABORTIFHUNG, 1000, &answer) || answer != 0x12345678)
            return TRUE;
    }
    s->found = wnd;
    return FALSE;
}

// Waits (bounded) for a window of the process: the one with this caption, or (caption null) the one that
// answers the registered message.
HWND WaitForWindowOf(DWORD processId, const char* caption, UINT message, DWORD timeoutMs) {
    Search s{processId, caption, message, nullptr};
    WaitUntil([&] {
        EnumWindows(FindInProcess, reinterpret_cast<LPARAM>(&s));
        return s.found != nullptr;
    }, timeoutMs, 50);
    return s.found;
}

}  // namespace

GameProcess::~GameProcess() { Close(); }

bool GameProcess::Start(const std::string& exePath, DWORD timeoutMs) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    std::string commandLine = "\"" + exePath + "\"";
    if (!CreateProcessA(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process_))
        return false;
    frame_ = WaitForWindowOf(process_.dwProcessId, nullptr, RegisterWindowMessageA("Wertlauf"), timeoutMs);
    return frame_ != nullptr;
}

bool GameProcess::Close(DWORD timeoutMs) {
    if (!process_.hProcess) return true;
    if (frame_) PostMessageA(frame_, WM_CLOSE, 0, 0);
    bool ended = WaitForSingleObject(process_.hProcess, timeoutMs) == WAIT_OBJECT_0;
    if (!ended) {
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, 5000);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
    process_ = PROCESS_INFORMATION{};
    frame_ = nullptr;
    return ended;
}

std::string GameProcess::Title() const {
    char text[1024] = {};
    if (frame_) SendMessageTimeoutA(frame_, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 1000, nullptr);
    return text;
}

void GameProcess::PostCommand(int id) const { PostMessageA(frame_, WM_COMMAND, static_cast<WPARAM>(id), 0); }

HWND GameProcess::WaitForWindow(const char* caption, DWORD timeoutMs) const {
    return WaitForWindowOf(process_.dwProcessId, caption, 0, timeoutMs);
}

HWND GameProcess::View() const { return frame_ ? GetDlgItem(frame_, 0xE900) : nullptr; }

