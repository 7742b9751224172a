// Wertlauf.exe run by a test: started in the test's own Wine prefix and display, driven through
// its windows, and closed again.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

class GameProcess {
public:
    GameProcess() = default;
    ~GameProcess();
    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;

    // Starts the program and waits until its main window answers the "Wertlauf" message.
    bool Start(const std::string& exePath, DWORD timeoutMs = 60000);
    // Asks the main window to close and waits for the process to end; kills it when it will not.
    bool Close(DWORD timeoutMs = 30000);

    HWND Frame() const { return m_frame; }
    std::string Title() const;
    void PostCommand(int id) const;
    // Waits until the program's window thread takes messages again, so that it has finished what it was
    // handling (a command goes on after its dialog has closed, for example).
    bool WaitIdle(DWORD timeoutMs) const;
    // A top-level window of the process with this caption (a dialog), waiting for it to appear.
    HWND WaitForWindow(const char* caption, DWORD timeoutMs) const;
    // The game view (the frame's pane).
    HWND View() const;

private:
    PROCESS_INFORMATION m_process{};
    HWND m_frame = nullptr;
};
