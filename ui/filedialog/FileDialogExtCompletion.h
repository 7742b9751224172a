// Completion of typed names from the dialog's current folder, fed by a worker thread.
//
// The worker reads at most 2,000 names of the folder and posts the names that begin with the
// typed text (case-insensitive, at most 100 per text) to a popup list as tagged text blocks;
// after the first it posts WM_COMMAND (list id, FILE_COMPLETION_READY) to the dialog.
#pragma once

#include <windows.h>

#include <memory>

constexpr WORD FILE_COMPLETION_READY = 10;
constexpr int FILE_COMPLETION_MAX_NAMES = 2000;
constexpr int FILE_COMPLETION_MAX_SHOWN = 100;
constexpr int FILE_COMPLETION_MAX_TEXT = 256;

struct FileCompletionState;

class FileCompletion {
public:
    FileCompletion() = default;
    ~FileCompletion();
    FileCompletion(const FileCompletion&) = delete;
    FileCompletion& operator=(const FileCompletion&) = delete;

    // Starts the worker; false when it cannot run (then the dialog has no suggestions).
    bool Start(HWND dialog, HWND list, WORD listId);
    bool IsRunning() const { return m_thread != nullptr; }
    // A new folder: its names are read again, and the typed text is cleared.
    void SetFolder(const char* folder);
    // A new typed text: matching starts again from the first name.
    void SetText(const char* text);
    // Ends the worker and waits for it at most timeoutMs; true when it ended. A worker that
    // did not end in time keeps its state alive and leaves on its own.
    bool Stop(DWORD timeoutMs);

    // For tests: names read from the current folder, names posted for the current text.
    int NamesRead() const;
    int NamesPosted() const;

private:
    std::shared_ptr<FileCompletionState> m_state;
    HANDLE m_thread = nullptr;
};
