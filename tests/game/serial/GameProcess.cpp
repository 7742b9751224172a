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
                        &m_process))
        return false;
    m_frame = WaitForWindowOf(m_process.dwProcessId, nullptr, RegisterWindowMessageA("Wertlauf"), timeoutMs);
    return m_frame != nullptr;
}

bool GameProcess::Close(DWORD timeoutMs) {
    if (!m_process.hProcess) return true;
    if (m_frame) PostMessageA(m_frame, WM_CLOSE, 0, 0);
    bool ended = WaitForSingleObject(m_process.hProcess, timeoutMs) == WAIT_OBJECT_0;
    if (!ended) {
        TerminateProcess(m_process.hProcess, 1);
        WaitForSingleObject(m_process.hProcess, 5000);
    }
    CloseHandle(m_process.hThread);
    CloseHandle(m_process.hProcess);
    m_process = PROCESS_INFORMATION{};
    m_frame = nullptr;
    return ended;
}

std::string GameProcess::Title() const {
    char text[1024] = {};
    if (m_frame) SendMessageTimeoutA(m_frame, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 1000, nullptr);
    return text;
}

void GameProcess::PostCommand(int id) const { PostMessageA(m_frame, WM_COMMAND, static_cast<WPARAM>(id), 0); }

bool GameProcess::WaitIdle(DWORD timeoutMs) const {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(m_frame, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}

HWND GameProcess::WaitForWindow(const char* caption, DWORD timeoutMs) const {
    return WaitForWindowOf(m_process.dwProcessId, caption, 0, timeoutMs);
}

HWND GameProcess::View() const { return m_frame ? GetDlgItem(m_frame, 0xE900) : nullptr; }

