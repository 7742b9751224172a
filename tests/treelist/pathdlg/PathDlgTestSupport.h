// Directory chooser tests: the chooser run modally by a script of steps, the user's view settings kept
// apart from the other test processes, and the "Fehler" boxes.
#pragma once

#include "tests/support/MessagePump.h"
#include "treelist/pathdlg/PathDlg.h"
#include "treelist/pathdlg/PathDlgSettings.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace pathdlgtest {

constexpr char kTitle[] = "Verzeichnis w\xe4hlen";
constexpr DWORD kStepBound = 20000;

// Holds the view settings for the test (other test processes use them too) and restores them.
class ViewSettings {
public:
    explicit ViewSettings(DWORD treeMode, DWORD breadcrumb) {
        m_mutex = CreateMutexA(nullptr, FALSE, "WertlaufTestPathDlgSettings");
        WaitForSingleObject(m_mutex, Bound(120000));
        m_treeMode = Read(kPathDlgTreeModeValue);
        m_breadcrumb = Read(kPathDlgBreadcrumbValue);
        Write(kPathDlgTreeModeValue, treeMode);
        Write(kPathDlgBreadcrumbValue, breadcrumb);
    }
    ~ViewSettings() {
        Write(kPathDlgTreeModeValue, m_treeMode);
        Write(kPathDlgBreadcrumbValue, m_breadcrumb);
        ReleaseMutex(m_mutex);
        CloseHandle(m_mutex);
    }
    static DWORD Read(const char* name) {
        DWORD value = 0, size = sizeof value;
        RegGetValueA(HKEY_CURRENT_USER, kPathDlgSettingsKey, name, RRF_RT_REG_DWORD, nullptr, &value, &size);
        return value;
    }
    static void Write(const char* name, DWORD value) {
        RegSetKeyValueA(HKEY_CURRENT_USER, kPathDlgSettingsKey, name, REG_DWORD, &value, sizeof value);
    }

private:
    HANDLE m_mutex;
    DWORD m_treeMode, m_breadcrumb;
};

// A window of this thread with that caption, visible.
inline HWND ShownWindow(const char* caption) {
    struct Search {
        const char* caption;
        HWND found;
    } search = {caption, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), [](HWND w, LPARAM param) {
        auto* s = reinterpret_cast<Search*>(param);
        char text[128] = {};
        GetWindowTextA(w, text, sizeof text);
        if (strcmp(text, s->caption) != 0 || !IsWindowVisible(w)) return TRUE;
        s->found = w;
        return FALSE;
    }, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The text of a message box with that caption, closed with OK; "" when none shows.
inline std::string CloseBox(const char* caption) {
    HWND box = ShownWindow(caption);
    if (!box) return "";
    std::string text;
    for (HWND child = GetWindow(box, GW_CHILD); child && text.empty(); child = GetWindow(child, GW_HWNDNEXT)) {
        char name[32] = {}, shown[256] = {};
        GetClassNameA(child, name, sizeof name);
        GetWindowTextA(child, shown, sizeof shown);
        if (lstrcmpiA(name, "Static") == 0) text = shown;
    }
    SendMessageA(box, WM_COMMAND, IDOK, 0);
    return text;
}

// A step of a script: true once it is done. It runs on a thread timer, also inside nested modal loops.
using Step = std::function<bool(HWND dialog)>;

// Runs the chooser with options; the script's steps run in turn once it shows. A step that is not done
// within the bound, or a chooser still open that long after the last step, fails the test and cancels it.
inline INT_PTR RunChooser(CPathDlg& dialog, std::vector<Step> script, const char* key = nullptr, int options = 3) {
    static std::vector<Step> steps;
    static size_t next;
    static DWORD since;
    steps = std::move(script);
    next = 0;
    since = GetTickCount();
    UINT_PTR timer = SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) {
        HWND shown = ShownWindow(kTitle);
        if (!shown) return;
        if (next >= steps.size()) {
            if (GetTickCount() - since <= kStepBound) return;
            ADD_FAILURE() << "still open after the last step";
            since = GetTickCount();
            PostMessageA(shown, WM_COMMAND, IDCANCEL, 0);
            return;
        }
        static bool running = false;
        if (running) return;
        running = true;
        if (steps[next](shown)) {
            ++next;
            since = GetTickCount();
        } else if (GetTickCount() - since > Bound(kStepBound)) {
            ADD_FAILURE() << "step " << next << " not done";
            next = steps.size();
            since = GetTickCount();
            PostMessageA(shown, WM_COMMAND, IDCANCEL, 0);
        }
        running = false;
    });
    const INT_PTR result = dialog.DoModalEx(key, options);
    KillTimer(nullptr, timer);
    EXPECT_EQ(next, steps.size()) << "steps left";
    return result;
}

// Posted, so that the step returns before what the button opens (a message box) runs.
inline void Press(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dialog, id));
}

// Steps: a button pressed; done once the list shows that path (or any path).
inline Step Pressing(int id) {
    return [id](HWND dialog) {
        Press(dialog, id);
        return true;
    };
}
inline Step Listed(const CPathDlg& chooser, const std::string& path = "") {
    return [&chooser, path](HWND) {
        const std::string listed = (const char*)chooser.GetListedPath();
        return path.empty() ? !listed.empty() : listed == path;
    };
}

}  // namespace pathdlgtest
