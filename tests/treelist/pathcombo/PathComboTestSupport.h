// Path combo tests: a folder tree on disk and a parent window that records the combo's notifications.
#pragma once

#include "framework/Framework.h"
#include "tests/support/MessagePump.h"
#include "treelist/pathcombo/PathComboBox.h"

#include <windows.h>
#include <tlhelp32.h>

#include <string>
#include <vector>

namespace pathcombotest {

// A folder tree made once per test run in the temporary folder (the test processes share it):
//   Viele\      5,000 folders "Ordner 0000" ... "Ordner 4999"
//   Umlaute\    "ähnlich", "Ärger" (with "Tief" inside), "Öl", "Übung", "Zebra"
//   NurDateien\ three files, no folder
inline std::string TreeRoot() {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string root = std::string(temp) + "wl-pfadbaum";
    HANDLE mutex = CreateMutexA(nullptr, FALSE, "WertlaufTestPathTree");
    WaitForSingleObject(mutex, 120000);
    const std::string done = root + "\\fertig.txt";
    if (GetFileAttributesA(done.c_str()) == INVALID_FILE_ATTRIBUTES) {
        CreateDirectoryA(root.c_str(), nullptr);
        for (const char* dir : {"\\Viele", "\\Umlaute", "\\NurDateien"}) CreateDirectoryA((root + dir).c_str(), nullptr);
        char name[32];
        for (int i = 0; i < 5000; ++i) {
            wsprintfA(name, "\\Viele\\Ordner %04d", i);
            CreateDirectoryA((root + name).c_str(), nullptr);
        }
        for (const char* dir : {"\xe4hnlich", "\xc4rger", "\xc4rger\\Tief", "\xd6l", "\xdc" "bung", "Zebra"})
            CreateDirectoryA((root + "\\Umlaute\\" + dir).c_str(), nullptr);
        for (const char* file : {"a.txt", "b.txt", "c.txt", "..\\fertig.txt"}) {
            HANDLE h = CreateFileA((root + "\\NurDateien\\" + file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
            CloseHandle(h);
        }
    }
    ReleaseMutex(mutex);
    CloseHandle(mutex);
    return root;
}

inline int CountOwnThreads() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        count += entry.th32OwnerProcessID == GetCurrentProcessId();
    CloseHandle(snapshot);
    return count;
}

// A visible top-level window that records the path notifications of its children.
class Host : public CWnd {
public:
    struct Note {
        UINT code;
        uint32_t phase;
        uint32_t kind;
        std::string path;
    };
    std::vector<Note> notes;
    LRESULT dragAnswer = 0;

    Host() {
        CreateEx(0, AfxRegisterWndClass(0), "Pfad", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, CRect(40, 40, 700, 340),
                 nullptr, 0);
    }
    ~Host() override { DestroyWindow(); }

    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override {
        auto* nm = reinterpret_cast<NMPATHCOMBO*>(lParam);
        if (nm->hdr.code != PCN_PATHCHANGED && nm->hdr.code != PCN_PATHDRAG) return CWnd::OnNotify(wParam, lParam, result);
        notes.push_back({nm->hdr.code, nm->phase, nm->kind, nm->path ? nm->path : "<null>"});
        *result = nm->hdr.code == PCN_PATHDRAG && nm->phase == 0 ? dragAnswer : 0;
        return TRUE;
    }
};

// The client x where the combo reports hit code, -1 when nowhere.
inline int XOfHit(const CPathComboBox& combo, int code) {
    RECT r;
    GetClientRect(combo.m_hWnd, &r);
    for (int x = 0; x < r.right; ++x)
        if (combo.HitTest(x, r.bottom / 2) == code) return x;
    return -1;
}

inline void Click(CPathComboBox& combo, int code, WPARAM keys = 0) {
    RECT r;
    GetClientRect(combo.m_hWnd, &r);
    const LPARAM at = MAKELPARAM(XOfHit(combo, code), r.bottom / 2);
    combo.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | keys, at);
    combo.SendMessage(WM_LBUTTONUP, keys, at);
}

inline std::string ComboText(HWND combo) {
    char text[512] = {};
    SendMessageA(combo, WM_GETTEXT, sizeof text, (LPARAM)text);
    return text;
}

}  // namespace pathcombotest
