// Windows for control tests: a logging parent and a probe that sees what reaches a control.
#pragma once

#include "tests/support/MessagePump.h"
#include "tests/support/TestWindowClass.h"

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

namespace uitest {

struct LoggedMessage {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    UINT code;      // WM_NOTIFY code, or the WM_COMMAND notification code
    UINT_PTR idFrom;
    HWND from;
    UINT key;       // NMKEY::nVKey for key notifications
};

// A visible top-level window that records the WM_COMMAND, WM_NOTIFY and WM_CTLCOLOR*
// messages of its children. `answer` may choose the result of any message.
class TestParent {
public:
    std::vector<LoggedMessage> log;
    std::function<bool(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)> answer;
    HWND hwnd = nullptr;

    explicit TestParent(int width = 420, int height = 320) {
        static const char* kClass = RegisterTestWindowClass("WlTestParent", Proc);
        hwnd = CreateWindowExA(0, kClass, "Test", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 40, 40, width, height,
                               nullptr, nullptr, GetModuleHandleA(nullptr), this);
        PumpQueued();
    }
    ~TestParent() {
        if (IsWindow(hwnd)) DestroyWindow(hwnd);
        PumpQueued();
    }
    TestParent(const TestParent&) = delete;
    TestParent& operator=(const TestParent&) = delete;

    HWND AddChild(const char* cls, int id, DWORD style, DWORD exStyle = 0, int x = 10, int y = 10, int w = 200,
                  int h = 24) {
        HWND child = CreateWindowExA(exStyle, cls, "", WS_CHILD | WS_VISIBLE | style, x, y, w, h, hwnd,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                                     nullptr);
        PumpQueued();
        return child;
    }
    HWND AddEdit(int id, DWORD style = ES_AUTOHSCROLL, int y = 10) {
        return AddChild("EDIT", id, style | WS_BORDER | WS_TABSTOP, 0, 10, y);
    }
    HWND AddCombo(int id, DWORD style = CBS_DROPDOWN | CBS_AUTOHSCROLL, DWORD exStyle = 0, int y = 50) {
        return AddChild("COMBOBOX", id, style | WS_TABSTOP | WS_VSCROLL, exStyle, 10, y, 200, 160);
    }

    std::vector<LoggedMessage> Commands(int id) const {
        std::vector<LoggedMessage> out;
        for (const auto& m : log)
            if (m.msg == WM_COMMAND && LOWORD(m.wParam) == id) out.push_back(m);
        return out;
    }
    std::vector<WORD> CommandCodes(int id) const {
        std::vector<WORD> out;
        for (const auto& m : Commands(id)) out.push_back(HIWORD(m.wParam));
        return out;
    }
    std::vector<LoggedMessage> Notifications() const {
        std::vector<LoggedMessage> out;
        for (const auto& m : log)
            if (m.msg == WM_NOTIFY) out.push_back(m);
        return out;
    }
    int Count(UINT msg) const {
        int n = 0;
        for (const auto& m : log) n += m.msg == msg;
        return n;
    }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_NCCREATE) {
            auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
        }
        auto* self = reinterpret_cast<TestParent*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (self) {
            LoggedMessage entry = {msg, wParam, lParam, 0, 0, nullptr, 0};
            bool logged = true;
            if (msg == WM_COMMAND) {
                entry.code = HIWORD(wParam);
                entry.from = reinterpret_cast<HWND>(lParam);
            } else if (msg == WM_NOTIFY) {
                auto* header = reinterpret_cast<NMHDR*>(lParam);
                entry.code = header->code;
                entry.idFrom = header->idFrom;
                entry.from = header->hwndFrom;
                if (header->code == static_cast<UINT>(NM_KEYDOWN) || header->code == static_cast<UINT>(NM_RETURN))
                    entry.key = reinterpret_cast<NMKEY*>(lParam)->nVKey;
            } else if (msg < WM_CTLCOLORMSGBOX || msg > WM_CTLCOLORSTATIC) {
                logged = false;
            }
            if (logged) self->log.push_back(entry);
            LRESULT result = 0;
            if (self->answer && self->answer(msg, wParam, lParam, &result)) return result;
        }
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
};

// Sits directly on a control, below anything installed later, and counts what reaches it.
class MessageProbe {
public:
    explicit MessageProbe(HWND target) : hwnd(target) {
        SetPropA(hwnd, "WlTestProbe", this);
        previous = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc)));
    }
    ~MessageProbe() {
        if (IsWindow(hwnd)) {
            RemovePropA(hwnd, "WlTestProbe");
            if (GetWindowLongPtrA(hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(Proc))
                SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        }
    }
    MessageProbe(const MessageProbe&) = delete;
    MessageProbe& operator=(const MessageProbe&) = delete;

    int Count(UINT msg) const {
        int n = 0;
        for (const auto& m : seen) n += m.first == msg;
        return n;
    }
    int Count(UINT msg, WPARAM wParam) const {
        int n = 0;
        for (const auto& m : seen) n += m.first == msg && m.second == wParam;
        return n;
    }
    void Clear() { seen.clear(); }
    WNDPROC Previous() const { return previous; }

    HWND hwnd;
    WNDPROC previous = nullptr;
    std::vector<std::pair<UINT, WPARAM>> seen;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        auto* self = static_cast<MessageProbe*>(GetPropA(hwnd, "WlTestProbe"));
        if (!self) return DefWindowProcA(hwnd, msg, wParam, lParam);
        self->seen.emplace_back(msg, wParam);
        if (msg == WM_NCDESTROY) RemovePropA(hwnd, "WlTestProbe");
        return CallWindowProcA(self->previous, hwnd, msg, wParam, lParam);
    }
};

inline std::string WindowText(HWND hwnd) {
    char buffer[1024] = {};
    GetWindowTextA(hwnd, buffer, sizeof buffer);
    return buffer;
}

// The entries of a list box (or, with the CB_ messages, of a combo box).
inline std::vector<std::string> ListEntries(HWND list, UINT getCount = LB_GETCOUNT, UINT getLength = LB_GETTEXTLEN,
                                            UINT getText = LB_GETTEXT) {
    std::vector<std::string> out;
    int n = static_cast<int>(SendMessageA(list, getCount, 0, 0));
    for (int i = 0; i < n; ++i) {
        std::vector<char> buffer(static_cast<size_t>(SendMessageA(list, getLength, i, 0)) + 1, 0);
        SendMessageA(list, getText, i, reinterpret_cast<LPARAM>(buffer.data()));
        out.emplace_back(buffer.data());
    }
    return out;
}

inline std::vector<std::string> ComboEntries(HWND combo) {
    return ListEntries(combo, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
}

// The bytes of a REG_MULTI_SZ value under HKCU, or "<missing>".
inline std::string RawMultiString(const std::string& key, const char* value) {
    std::vector<char> data(16384);
    DWORD size = static_cast<DWORD>(data.size());
    if (RegGetValueA(HKEY_CURRENT_USER, key.c_str(), value, RRF_RT_REG_MULTI_SZ, nullptr, data.data(), &size) !=
        ERROR_SUCCESS)
        return "<missing>";
    return std::string(data.data(), size);
}

// Writes a value under HKCU, creating the key.
inline bool PutRegistryValue(const std::string& key, const char* value, const std::string& data,
                             DWORD type = REG_MULTI_SZ) {
    HKEY handle;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr) !=
        ERROR_SUCCESS)
        return false;
    LONG rc = RegSetValueExA(handle, value, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                             static_cast<DWORD>(data.size()));
    RegCloseKey(handle);
    return rc == ERROR_SUCCESS;
}

// A test key name unique to this process and call, under HKCU\Software\WertlaufTest.
inline std::string UniqueTestKey(const char* what) {
    static LONG counter = 0;
    char buffer[160];
    wsprintfA(buffer, "Software\\WertlaufTest\\%s_%lu_%ld", what, GetCurrentProcessId(),
              InterlockedIncrement(&counter));
    return buffer;
}

// A key of its own under HKCU\Software\WertlaufTest, deleted when the test ends.
struct TestKey {
    std::string path;
    explicit TestKey(const char* what) : path(UniqueTestKey(what)) {}
    ~TestKey() { RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str()); }
    TestKey(const TestKey&) = delete;
    TestKey& operator=(const TestKey&) = delete;

    std::string Raw(const char* value) const { return RawMultiString(path, value); }
    bool Put(const char* value, const std::string& data, DWORD type = REG_MULTI_SZ) const {
        return PutRegistryValue(path, value, data, type);
    }
};

}  // namespace uitest
