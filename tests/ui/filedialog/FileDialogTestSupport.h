// Helpers for tests that run the real common file dialog: a thread-timer driver that finds
// the dialog and acts on it without ever blocking, and a temporary folder.
#pragma once

#include "tests/support/TimeBound.h"

#include <windows.h>

#include <functional>
#include <string>

namespace uitest {

// Drives the modal dialog of this thread from a thread timer. `step` is called on every tick
// once the dialog is visible; it returns true when it has posted the command that ends the
// dialog. Every wait is bounded: after `maxTicks` ticks, or `graceTicks` after the step
// finished, every dialog of the thread is cancelled.
class DialogDriver {
public:
    using Step = std::function<bool(HWND dialog, int tick)>;

    explicit DialogDriver(Step step, int maxTicks = 300, int graceTicks = 60) : m_step(std::move(step)) {
        m_maxTicks = static_cast<int>(Bound(maxTicks));
        m_graceTicks = static_cast<int>(Bound(graceTicks));
        m_outer = Current();
        Current() = this;
        m_timer = SetTimer(nullptr, 0, 50, Tick);
    }
    ~DialogDriver() {
        KillTimer(nullptr, m_timer);
        Current() = m_outer;
    }
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    bool Finished() const { return m_finished; }
    bool TimedOut() const { return m_timedOut; }
    HWND Dialog() const { return m_dialog; }

    // The visible and enabled top-level dialog window ("#32770") of this thread, or 0: the
    // innermost one when dialogs are nested.
    static HWND FindDialog() {
        HWND found = nullptr;
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND hwnd, LPARAM param) -> BOOL {
                char cls[16] = {};
                GetClassNameA(hwnd, cls, sizeof cls);
                if (lstrcmpA(cls, "#32770") == 0 && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) {
                    *reinterpret_cast<HWND*>(param) = hwnd;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&found));
        return found;
    }

private:
    static DialogDriver*& Current() {
        static thread_local DialogDriver* current = nullptr;
        return current;
    }

    static void CancelEverything() {
        for (int i = 0; i < 4; ++i) {
            HWND dialog = FindDialog();
            if (!dialog) break;
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            PostMessageA(dialog, WM_CLOSE, 0, 0);
        }
    }

    static void CALLBACK Tick(HWND, UINT, UINT_PTR timer, DWORD) {
        DialogDriver* d = Current();
        // A nested dialog runs inside the outer step: only the innermost driver acts.
        if (!d || d->m_inStep || timer != d->m_timer) return;
        ++d->m_ticks;
        if (d->m_ticks > d->m_maxTicks || (d->m_finished && d->m_ticks > d->m_finishedAt + d->m_graceTicks)) {
            d->m_timedOut = d->m_timedOut || !d->m_finished;
            CancelEverything();
            return;
        }
        if (d->m_finished) return;
        HWND dialog = FindDialog();
        if (!dialog) return;
        d->m_dialog = dialog;
        d->m_inStep = true;
        bool done = d->m_step(dialog, ++d->m_stepTicks);
        d->m_inStep = false;
        if (done) {
            d->m_finished = true;
            d->m_finishedAt = d->m_ticks;
        }
    }

    Step m_step;
    DialogDriver* m_outer = nullptr;
    UINT_PTR m_timer = 0;
    int m_ticks = 0;
    int m_stepTicks = 0;
    int m_maxTicks;
    int m_graceTicks;
    int m_finishedAt = 0;
    bool m_finished = false;
    bool m_timedOut = false;
    bool m_inStep = false;
    HWND m_dialog = nullptr;
};

// A fresh folder under the temporary directory, removed with its files at the end.
class TempFolder {
public:
    explicit TempFolder(const char* what) {
        char base[MAX_PATH];
        GetTempPathA(sizeof base, base);
        char name[MAX_PATH];
        static LONG counter = 0;
        wsprintfA(name, "%swl_%s_%lu_%ld", base, what, GetCurrentProcessId(), InterlockedIncrement(&counter));
        path = name;
        CreateDirectoryA(path.c_str(), nullptr);
    }
    ~TempFolder() {
        std::string pattern = path + "\\*";
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA(pattern.c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                std::string full = path + "\\" + data.cFileName;
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    if (data.cFileName[0] != '.') RemoveDirectoryA(full.c_str());
                } else {
                    DeleteFileA(full.c_str());
                }
            } while (FindNextFileA(find, &data));
            FindClose(find);
        }
        RemoveDirectoryA(path.c_str());
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string Add(const std::string& name) const {
        std::string full = path + "\\" + name;
        HANDLE file = CreateFileA(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
        return full;
    }
    std::string AddFolder(const std::string& name) const {
        std::string full = path + "\\" + name;
        CreateDirectoryA(full.c_str(), nullptr);
        return full;
    }

    std::string path;
};

}  // namespace uitest
