// End to end: this driver starts Wertlauf.exe as a user would (show command SW_SHOWNORMAL) and talks to the
// running program the way other programs do: windows, messages, WM_COPYDATA and the registry.
#include <gtest/gtest.h>

#include <windows.h>

#include "tests/support/IdleComPort.h"
#include "tests/support/WaitUntil.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr DWORD kWait = 20000;
constexpr UINT kPrivateMessage = 0x27F5;
constexpr WPARAM kProbe = 0x12345678;
const char kProgramKey[] = "Software\\VQ\\Wertlauf";
const char kSettingsKey[] = "Software\\VQ\\Wertlauf\\Settings";

std::string WindowsPath(std::string path) {
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

std::string ExePath() { return WindowsPath(WL_WERTLAUF_EXE); }

std::string TempFolder(const char* name) {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    std::string folder = std::string(base) + "wl_e2e_" + std::to_string(GetCurrentProcessId()) + "_" + name;
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

UINT ProbeMessage() { return RegisterWindowMessageA("Wertlauf"); }

template <typename Test>
bool WaitFor(Test test, DWORD timeout = kWait) {
    return WaitUntil(test, timeout, 50);
}

struct FindData {
    DWORD pid;
    const char* className;
    const char* caption;
    HWND found;
};

BOOL CALLBACK FindWindowOf(HWND window, LPARAM param) {
    auto* data = reinterpret_cast<FindData*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != data->pid || !IsWindowVisible(window)) return TRUE;
    char text[256] = {};
    if (data->className) {
        GetClassNameA(window, text, sizeof(text));
        if (strcmp(text, data->className) != 0) return TRUE;
    }
    if (data->caption) {
        GetWindowTextA(window, text, sizeof(text));
        if (strcmp(text, data->caption) != 0) return TRUE;
    }
    if (!data->className && !data->caption) {
        DWORD_PTR answer = 0;
        if (!SendMessageTimeoutA(window, ProbeMessage(), kProbe, 0, SMTO_ABORTIFHUNG, 2000, &answer) ||
            answer != kProbe)
            return TRUE;
    }
    data->found = window;
    return FALSE;
}

// One running Wertlauf.exe.
class Wertlauf {
public:
    // showDefault: started without a show command of its own (as from a shell), else with SW_SHOWNORMAL.
    explicit Wertlauf(const std::string& arguments = "", const std::string& folder = "", bool showDefault = false) {
        SetComPortSetting(kProgramKey, kIdleComPort);
        std::string command = "\"" + ExePath() + "\"" + (arguments.empty() ? "" : " " + arguments);
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        startup.dwFlags = showDefault ? 0 : STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_SHOWNORMAL;
        std::vector<char> line(command.begin(), command.end());
        line.push_back(0);
        m_started = CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                  folder.empty() ? nullptr : folder.c_str(), &startup, &m_process);
    }
    ~Wertlauf() {
        if (!m_started) return;
        if (WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) Close();
        if (WaitForSingleObject(m_process.hProcess, kWait) == WAIT_TIMEOUT) TerminateProcess(m_process.hProcess, 99);
        CloseHandle(m_process.hThread);
        CloseHandle(m_process.hProcess);
    }

    bool Started() const { return m_started != FALSE; }
    HWND Window(const char* className = nullptr, const char* caption = nullptr) const {
        FindData data = {m_process.dwProcessId, className, caption, nullptr};
        EnumWindows(FindWindowOf, reinterpret_cast<LPARAM>(&data));
        return data.found;
    }
    // The main frame: the window that answers the registered message.
    HWND Frame() {
        if (!m_frame) WaitFor([&] { return (m_frame = Window()) != nullptr; });
        return m_frame;
    }
    void Close() {
        if (HWND frame = Window()) PostMessageA(frame, kPrivateMessage, 0, 0);
    }
    bool WaitForExit() { return WaitForSingleObject(m_process.hProcess, kWait) == WAIT_OBJECT_0; }
    DWORD ExitCode() const {
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(m_process.hProcess, &code);
        return code;
    }

private:
    BOOL m_started = FALSE;
    PROCESS_INFORMATION m_process = {};
    HWND m_frame = nullptr;
};

bool ReadSetting(const char* name, DWORD& value) {
    DWORD size = sizeof(value);
    return RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_REG_DWORD, nullptr, &value, &size) ==
           ERROR_SUCCESS;
}

// A window of this process that receives the frame's WM_COPYDATA answer.
struct CopyDataReceiver {
    static inline std::string received;
    static inline DWORD code = 0;
    HWND window = nullptr;
    CopyDataReceiver() {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "WertlaufE2EReceiver";
        RegisterClassA(&wc);
        window = CreateWindowA(wc.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance, nullptr);
    }
    ~CopyDataReceiver() { DestroyWindow(window); }
    static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == WM_COPYDATA) {
            auto* block = reinterpret_cast<COPYDATASTRUCT*>(lp);
            code = static_cast<DWORD>(block->dwData);
            received.assign(static_cast<const char*>(block->lpData), strnlen(static_cast<const char*>(block->lpData),
                                                                                block->cbData));
            return 7;
        }
        return DefWindowProcA(w, msg, wp, lp);
    }
};

LRESULT SendText(HWND frame, DWORD code, const std::string& text) {
    COPYDATASTRUCT block = {code, static_cast<DWORD>(text.size() + 1), const_cast<char*>(text.c_str())};
    DWORD_PTR result = 0;
    SendMessageTimeoutA(frame, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&block), SMTO_ABORTIFHUNG, kWait, &result);
    return static_cast<LRESULT>(result);
}

}  // namespace

TEST(WertlaufEndToEnd, AnswersTheRegisteredMessageAndTheCopyDataProtocol) {
    std::string folder = TempFolder("copydata");
    Wertlauf app("", folder);
    ASSERT_TRUE(app.Started());
    HWND frame = app.Frame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(SendMessageA(frame, ProbeMessage(), kProbe, 0), static_cast<LRESULT>(kProbe));
    EXPECT_EQ(SendMessageA(frame, ProbeMessage(), 1, 0), 0);

    // The document is "Das Spiel" in the working folder.
    std::string documentPath = folder + "\\Das Spiel";
    EXPECT_EQ(SendText(frame, 0x27F50003, documentPath), 1);
    EXPECT_EQ(SendText(frame, 0x27F50003, folder + "\\das spiel"), 1);
    EXPECT_EQ(SendText(frame, 0x27F50003, folder + "\\Anderes"), 0);
    EXPECT_EQ(SendText(frame, 0x27F50009, documentPath), 0);

    // Asked for its path, the frame sends it back to the window named in lParam.
    CopyDataReceiver receiver;
    EXPECT_EQ(SendMessageA(frame, kPrivateMessage, 2, reinterpret_cast<LPARAM>(receiver.window)), 7);
    EXPECT_EQ(CopyDataReceiver::code, 0x27F50002u);
    EXPECT_EQ(_stricmp(CopyDataReceiver::received.c_str(), documentPath.c_str()), 0) << CopyDataReceiver::received;

    // Pointer-carrying messages from another process are not followed.
    EXPECT_EQ(SendMessageA(frame, 0x2C3F, 0, 0x10), 0);
    EXPECT_EQ(SendMessageA(frame, 0x5E96, 0, 0x10), 0);
    EXPECT_EQ(SendMessageA(frame, 0x5E97, 0, 0), 0x12345678);

    app.Close();
    EXPECT_TRUE(app.WaitForExit());
}

TEST(WertlaufEndToEnd, FullScreenSwitchStartsWithoutCaptionAndMenu) {
    Wertlauf app("-z");
    HWND frame = app.Frame();
    ASSERT_NE(frame, nullptr);
    // The switch takes several steps (a frame that started maximised is restored first): wait for all of them.
    auto hasCaption = [&] { return (GetWindowLongPtrA(frame, GWL_STYLE) & WS_CAPTION) != 0; };
    WaitFor([&] { return !hasCaption() && !GetMenu(frame) && IsZoomed(frame); });
    EXPECT_FALSE(hasCaption());
    EXPECT_EQ(GetMenu(frame), nullptr);
    EXPECT_TRUE(IsZoomed(frame));
    // F10's command leaves full screen again.
    PostMessageA(frame, WM_COMMAND, 32802, 0);
    EXPECT_TRUE(WaitFor([&] { return hasCaption() && GetMenu(frame); }));
}

TEST(WertlaufEndToEnd, ClosingMaximisedStartsMaximisedNextTime) {
    RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
    {
        Wertlauf app;
        HWND frame = app.Frame();
        ASSERT_NE(frame, nullptr);
        EXPECT_FALSE(IsZoomed(frame));
        PostMessageA(frame, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
        EXPECT_TRUE(WaitFor([&] { return IsZoomed(frame) != FALSE; }));
        app.Close();
        ASSERT_TRUE(app.WaitForExit());
    }
    DWORD zoomed = 0;
    ASSERT_TRUE(ReadSetting("IsZoomed", zoomed));
    EXPECT_EQ(zoomed, 1u);
    {
        Wertlauf app;
        HWND frame = app.Frame();
        ASSERT_NE(frame, nullptr);
        EXPECT_TRUE(WaitFor([&] { return IsZoomed(frame) != FALSE; }));
        // Leaving it restored writes the normal rectangle.
        PostMessageA(frame, WM_SYSCOMMAND, SC_RESTORE, 0);
        EXPECT_TRUE(WaitFor([&] { return !IsZoomed(frame); }));
        SetWindowPos(frame, nullptr, 40, 50, 640, 480, SWP_NOZORDER | SWP_NOACTIVATE);
        app.Close();
        ASSERT_TRUE(app.WaitForExit());
    }
    DWORD x = 0, cx = 0;
    ASSERT_TRUE(ReadSetting("IsZoomed", zoomed));
    EXPECT_EQ(zoomed, 0u);
    ASSERT_TRUE(ReadSetting("LastPosX", x));
    ASSERT_TRUE(ReadSetting("LastSizeX", cx));
    EXPECT_EQ(x, 40u);
    EXPECT_EQ(cx, 640u);
    {
        // Started without a show command of its own, the saved rectangle is used as well.
        Wertlauf app("", "", true);
        HWND frame = app.Frame();
        ASSERT_NE(frame, nullptr);
        RECT r = {};
        EXPECT_TRUE(WaitFor([&] {
            GetWindowRect(frame, &r);
            return r.left == 40 && r.right - r.left == 640;
        }));
        PostMessageA(frame, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
        EXPECT_TRUE(WaitFor([&] { return IsZoomed(frame) != FALSE; }));
    }
    {
        Wertlauf app("", "", true);
        HWND frame = app.Frame();
        ASSERT_NE(frame, nullptr);
        EXPECT_TRUE(WaitFor([&] { return IsZoomed(frame) != FALSE; }));
    }
}

TEST(WertlaufEndToEnd, FolderWithoutStartPageWarns) {
    std::string folder = TempFolder("nostart");
    Wertlauf app("\"" + folder + "\"");
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = app.Window("#32770", "Warnung")) != nullptr; }));
    char text[512] = {};
    HWND label = nullptr;
    while ((label = FindWindowExA(box, label, "Static", nullptr)) != nullptr) {
        GetWindowTextA(label, text, sizeof(text));
        if (strstr(text, "Info.html")) break;
    }
    EXPECT_STREQ(text, "'.\\Main\\Info.html' wurde im 'Infopfad' nicht gefunden !");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }));
}

TEST(WertlaufEndToEnd, MenuHoldsEveryCommandWithItsText) {
    struct Item {
        int popup;
        UINT id;
        const char* text;
    };
    static const Item kItems[] = {
        {0, 57665, "&Beenden"},
        {1, 33034, "Erster Spieler +\tF1"}, {1, 33035, "Zweiter Spieler +\tF2"},
        {1, 33036, "Erster Spieler -\tF3"}, {1, 33037, "Zweiter Spieler -\tF4"},
        {1, 32809, "Starte\tF5"}, {1, 32813, "Spiel r\xfc" "cksetzen\tF6"},
        {1, 32810, "Starte/Stoppe rot\tF7"}, {1, 32811, "Starte/Stoppe blau\tF8"},
        {1, 32818, "COM-Port ausw\xe4hlen"}, {1, 33048, "Spieleinstellungen"}, {1, 33049, "N\xe4" "chste Spielnummer"},
        {2, 32772, "&Flache Symbolleiste"}, {2, 32771, "Fenster fi&xieren"}, {2, 59392, "&Symbolleiste"},
        {2, 59393, "S&tatusleiste"}, {2, 32815, "Kleine Sterne"}, {2, 32816, "Mittlere Sterne"},
        {2, 32817, "Gro\xdf" "e Sterne"}, {2, 33051, "Zwei Reihen"},
        {3, 57664, "Inf&o \xfc" "ber Wertlauf..."}, {3, 33042, "&Tastenbelegung"}, {3, 33050, "Dateiformat"},
    };
    static const char* kPopups[] = {"&Datei", "&Bearbeiten", "&Ansicht", "&?"};
    // The menu resource of the program.
    HMODULE exe = LoadLibraryExA(ExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr);
    HMENU menu = LoadMenuA(exe, MAKEINTRESOURCEA(128));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), 4);
    char text[128];
    for (int p = 0; p < 4; ++p) {
        GetMenuStringA(menu, p, text, sizeof(text), MF_BYPOSITION);
        EXPECT_STREQ(text, kPopups[p]);
    }
    for (const Item& item : kItems) {
        HMENU popup = GetSubMenu(menu, item.popup);
        ASSERT_GT(GetMenuStringA(popup, item.id, text, sizeof(text), MF_BYCOMMAND), 0) << item.id;
        EXPECT_STREQ(text, item.text) << item.id;
    }
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(menu, 1)), 14);
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(menu, 2)), 9);
    DestroyMenu(menu);
    FreeLibrary(exe);

    // The running frame carries a menu (its items are read in-process by the frame tests: menus of another
    // process cannot be read here).
    Wertlauf app;
    HWND frame = app.Frame();
    ASSERT_NE(frame, nullptr);
    EXPECT_NE(GetMenu(frame), nullptr);
}

TEST(WertlaufEndToEnd, AboutAndKeyHelpDialogsOpen) {
    Wertlauf app;
    HWND frame = app.Frame();
    ASSERT_NE(frame, nullptr);
    PostMessageA(frame, WM_COMMAND, 57664, 0);
    HWND about = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (about = app.Window("#32770", "Info \xfc" "ber Wertlauf")) != nullptr; }));
    PostMessageA(about, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(about); }));
    PostMessageA(frame, WM_COMMAND, 33042, 0);
    HWND keys = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (keys = app.Window("#32770", "Tastaturbelegung")) != nullptr; }));
    PostMessageA(keys, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(keys); }));
    // The application's print set-up command opens the common dialog (or, without a printer, its message box).
    PostMessageA(frame, WM_COMMAND, 57606, 0);
    HWND setup = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (setup = app.Window("#32770")) != nullptr; }));
    PostMessageA(setup, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(setup); }));
    EXPECT_TRUE(WaitFor([&] { return app.Window("#32770") == nullptr; }));
}

TEST(WertlaufEndToEnd, PlaysARoundWithKeysAndMenu) {
    Wertlauf app;
    HWND frame = app.Frame();
    ASSERT_NE(frame, nullptr);
    HWND view = GetDlgItem(frame, 0xE900);
    ASSERT_NE(view, nullptr);
    auto title = [&] {
        char text[512] = {};
        GetWindowTextA(frame, text, sizeof(text));
        return std::string(text);
    };
    // F5 through the frame's accelerators: the first question page is loaded and named in the title.
    PostMessageA(view, WM_KEYDOWN, VK_F5, 0x003F0001);
    PostMessageA(view, WM_KEYUP, VK_F5, 0xC03F0001);
    EXPECT_TRUE(WaitFor([&] { return title().find("Game001") != std::string::npos; })) << title();
    // Both players run and stop their pointers with their keys.
    for (UINT key : {VK_F7, VK_F8}) {
        PostMessageA(view, WM_KEYDOWN, key, 0x00410001);
        Sleep(300);
        PostMessageA(view, WM_KEYUP, key, 0xC0410001);
    }
    // Once the solution has swung in, the menu's "Starte" loads the next question.
    EXPECT_TRUE(WaitFor(
        [&] {
            PostMessageA(frame, WM_COMMAND, 32809, 0);
            Sleep(250);
            return title().find("Game002") != std::string::npos;
        },
        30000))
        << title();
    // The menu's reset; the program still answers and closes cleanly.
    PostMessageA(frame, WM_COMMAND, 32813, 0);
    DWORD_PTR answer = 0;
    EXPECT_TRUE(SendMessageTimeoutA(frame, ProbeMessage(), kProbe, 0, SMTO_ABORTIFHUNG, 5000, &answer));
    app.Close();
    EXPECT_TRUE(app.WaitForExit());
}

// A WM_COPYDATA too large for the receiver's queue (GetMessage fails on it) costs neither the program nor its
// settings, in the main loop and in a modal dialog's: it keeps answering, and closing it later still writes
// what it writes at exit and ends with the quit code.
TEST(WertlaufEndToEnd, OversizedCopyDataLeavesTheGameRunningWithItsSettings) {
    std::vector<char> payload(2097152, 'x');
    auto sendOversized = [&](HWND frame) {
        COPYDATASTRUCT block = {0x27F50003, static_cast<DWORD>(payload.size()), payload.data()};
        // Wine drops the message unanswered, so each send runs out its time; it meets the loop in its wait
        // for a message often enough in three tries.
        for (int i = 0; i < 3; ++i) {
            DWORD_PTR ignored = 0;
            SendMessageTimeoutA(frame, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&block), SMTO_ABORTIFHUNG, 500,
                                &ignored);
        }
    };
    auto answers = [&](HWND frame) {
        DWORD_PTR answer = 0;
        return SendMessageTimeoutA(frame, ProbeMessage(), kProbe, 0, SMTO_ABORTIFHUNG, 1000, &answer) &&
               answer == kProbe;
    };
    RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kProgramKey, "StarSize");
    // The star size chosen here is not left to the programs other tests start.
    struct ForgetStarSize {
        ~ForgetStarSize() { RegDeleteKeyValueA(HKEY_CURRENT_USER, kProgramKey, "StarSize"); }
    } forgetStarSize;
    DWORD exitCode = 99;
    {
        Wertlauf app;
        HWND frame = app.Frame();
        ASSERT_NE(frame, nullptr);
        PostMessageA(frame, WM_COMMAND, 32816, 0);  // medium stars
        SetWindowPos(frame, nullptr, 60, 70, 700, 500, SWP_NOZORDER | SWP_NOACTIVATE);
        sendOversized(frame);
        EXPECT_TRUE(answers(frame));

        PostMessageA(frame, WM_COMMAND, 57664, 0);
        HWND about = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (about = app.Window("#32770", "Info \xfc" "ber Wertlauf")) != nullptr; }));
        sendOversized(frame);
        EXPECT_TRUE(answers(frame));
        EXPECT_TRUE(IsWindowVisible(about));
        PostMessageA(about, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(about); }));

        app.Close();
        ASSERT_TRUE(app.WaitForExit());
        exitCode = app.ExitCode();
    }
    EXPECT_EQ(exitCode, 0u);
    DWORD starSize = 9, x = 0, cx = 0;
    DWORD size = sizeof(starSize);
    EXPECT_EQ(RegGetValueA(HKEY_CURRENT_USER, kProgramKey, "StarSize", RRF_RT_REG_DWORD, nullptr, &starSize, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(starSize, 1u);
    ASSERT_TRUE(ReadSetting("LastPosX", x));
    ASSERT_TRUE(ReadSetting("LastSizeX", cx));
    EXPECT_EQ(x, 60u);
    EXPECT_EQ(cx, 700u);
}
