// The settings dialog on its own, run modally from its template: layout, filling, OK and its warning, drops,
// browsing; and the time text's arithmetic.
#include <gtest/gtest.h>

#include "tests/game/QuestionFolder.h"
#include "tests/treelist/pathdlg/PathDlgTestSupport.h"
#include "game/GameSettingsDlg.h"
#include "game/RoundControl.h"
#include "game/ViewMessageBox.h"
#include "res/ViewCommands.h"
#include "system/Registry.h"

#include <commctrl.h>
#include <shlobj.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

using gametest::QuestionFolder;

namespace {

const char kCaption[] = "Neues Bild erstellen";

// The history's own key, removed afterwards.
struct HistoryKey {
    char name[64], path[128];
    HistoryKey() {
        wsprintfA(name, "GameSettingsDlg%lu", GetCurrentProcessId());
        wsprintfA(path, "Software\\VQ\\%s", name);
        SetRegistryAppKey("VQ", name);
    }
    ~HistoryKey() { RegDeleteTreeA(HKEY_CURRENT_USER, path); }
    void Store(const std::vector<std::string>& entries) const {
        std::string multi;
        for (const auto& e : entries) multi += e + '\0';
        multi += '\0';
        RegSetKeyValueA(HKEY_CURRENT_USER, path, kQuestionFolderHistory, REG_MULTI_SZ, multi.data(),
                        static_cast<DWORD>(multi.size()));
    }
    std::vector<std::string> Stored() const {
        char data[8192] = {};
        DWORD size = sizeof data - 2;
        std::vector<std::string> out;
        if (RegGetValueA(HKEY_CURRENT_USER, path, kQuestionFolderHistory, RRF_RT_REG_MULTI_SZ, nullptr, data, &size))
            return out;
        for (const char* p = data; *p; p += strlen(p) + 1) out.push_back(p);
        return out;
    }
};

// The dialog's warning, answered by the test.
struct WarningAnswer {
    static inline std::vector<std::string> boxes;
    static inline int answer = IDCANCEL;
    ViewMessageBoxFn previous;
    WarningAnswer() : previous(SetViewMessageBox(&Answer)) { boxes.clear(); }
    ~WarningAnswer() { SetViewMessageBox(previous); }
    static int Answer(HWND, LPCSTR text, LPCSTR caption, UINT type) {
        boxes.push_back(std::string(caption) + "|" + text + "|" + std::to_string(type));
        return answer;
    }
};

// The dialog, once this thread shows it (tests in other processes show theirs on the same desktop).
HWND ShownDialog() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), [](HWND w, LPARAM param) {
        char caption[64] = {};
        GetWindowTextA(w, caption, sizeof caption);
        if (strcmp(caption, kCaption) != 0 || !IsWindowVisible(w)) return TRUE;
        *reinterpret_cast<HWND*>(param) = w;
        return FALSE;
    }, reinterpret_cast<LPARAM>(&found));
    return found;
}

// Runs the dialog modally; script gets it once it shows. What the script leaves open is cancelled.
INT_PTR RunDialog(CGameSettingsDlg& dialog, std::function<void(HWND)> script) {
    static std::function<void(HWND)> pending;
    pending = std::move(script);
    UINT_PTR timer = SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) {
        HWND shown = ShownDialog();
        if (!shown) return;
        if (!pending) {
            SendMessageA(shown, WM_COMMAND, IDCANCEL, 0);
            return;
        }
        auto step = std::move(pending);
        pending = nullptr;
        step(shown);
    });
    INT_PTR result = dialog.DoModal();
    KillTimer(nullptr, timer);
    return result;
}

std::string Text(HWND dialog, int id) {
    char text[1024] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

void Click(HWND dialog, int id) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dialog, id));
}

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

HWND ChildWithText(HWND dialog, const char* text) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char shown[256] = {};
        GetWindowTextA(child, shown, sizeof shown);
        if (strcmp(shown, text) == 0) return child;
    }
    return nullptr;
}

// A shell drop of one path, as the system hands it to a window.
HDROP MakeDrop(const std::string& path) {
    HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + path.size() + 2);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
    drop->pFiles = sizeof(DROPFILES);
    memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), path.c_str(), path.size());
    GlobalUnlock(block);
    return static_cast<HDROP>(block);
}

}  // namespace

TEST(GameSettingsDlg, ControlsSitWhereTheTemplatePutsThem) {
    HistoryKey key;
    struct Control {
        int id;  // -1: found by its text
        const char* className;
        const char* text;
        RECT units;
        LONG style;  // bits that must be set
    };
    const Control kControls[] = {
        {-1, "Static", "Pfad der Fragen :", {10, 10, 60, 8}, 0},
        {IDC_SETTINGS_PATH, "ComboBox", nullptr, {10, 20, 305, 0}, CBS_DROPDOWN | CBS_AUTOHSCROLL},
        {IDC_SETTINGS_BROWSE, "Button", "", {320, 20, 15, 14}, BS_PUSHBUTTON},
        {IDC_SETTINGS_START_TOGETHER, "Button", "Beide Spieler startet gemeinsam", {10, 40, 114, 10}, BS_AUTOCHECKBOX},
        {IDC_SETTINGS_AUTO_COUNT, "Button", "Automatisch die Punkte z\xe4hlen", {10, 55, 115, 10}, BS_AUTOCHECKBOX},
        {IDC_SETTINGS_SAME_SIDE, "Button", "Beide Spiele starten auf der gleichen Seite", {10, 70, 143, 10},
         BS_AUTOCHECKBOX},
        {IDC_SETTINGS_SCALE_COLOUR, "Button", "Skala mehrfarbig zeichnen ", {10, 85, 97, 10}, BS_AUTOCHECKBOX},
        {-1, "Static", "Zeitbegrenzung ( [s]  0=aus )", {145, 83, 85, 8}, 0},
        {IDC_SETTINGS_TIME_LIMIT, "Edit", nullptr, {235, 80, 40, 14}, ES_NUMBER | ES_RIGHT},
        {IDCANCEL, "Button", "Abbrechen", {285, 60, 50, 14}, BS_PUSHBUTTON},
        {IDOK, "Button", "OK", {285, 80, 50, 14}, BS_DEFPUSHBUTTON},
    };
    CGameSettingsDlg dialog;
    RunDialog(dialog, [&](HWND shown) {
        char caption[64] = {};
        GetWindowTextA(shown, caption, sizeof caption);
        EXPECT_STREQ(caption, kCaption);
        for (const Control& c : kControls) {
            HWND child = c.id < 0 ? ChildWithText(shown, c.text) : GetDlgItem(shown, c.id);
            ASSERT_NE(child, nullptr) << c.id << " " << (c.text ? c.text : "");
            char className[32] = {};
            GetClassNameA(child, className, sizeof className);
            EXPECT_STREQ(className, c.className) << c.id;
            char text[256] = {};
            GetWindowTextA(child, text, sizeof text);
            if (c.text) {
                EXPECT_STREQ(text, c.text) << c.id;
            }
            EXPECT_EQ(GetWindowLongPtrA(child, GWL_STYLE) & c.style, c.style) << c.id;
            // Position and size in dialog units, each mapped on its own as the template's are.
            RECT expected = c.units;
            MapDialogRect(shown, &expected);
            RECT r;
            GetWindowRect(child, &r);
            MapWindowPoints(nullptr, shown, reinterpret_cast<POINT*>(&r), 2);
            EXPECT_EQ(r.left, expected.left) << c.id;
            EXPECT_EQ(r.top, expected.top) << c.id;
            EXPECT_EQ(r.right - r.left, expected.right) << c.id;
            if (c.units.bottom) {
                EXPECT_EQ(r.bottom - r.top, expected.bottom) << c.id;
            }
        }
        HWND combo = GetDlgItem(shown, IDC_SETTINGS_PATH);
        EXPECT_TRUE(GetWindowLongPtrA(combo, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
        // The browse button shows the folder picture, as an image list or a plain bitmap.
        HWND browse = GetDlgItem(shown, IDC_SETTINGS_BROWSE);
        BUTTON_IMAGELIST list = {};
        SendMessageA(browse, BCM_GETIMAGELIST, 0, (LPARAM)&list);
        EXPECT_TRUE(list.himl || SendMessageA(browse, BM_GETIMAGE, IMAGE_BITMAP, 0));
    });
}

TEST(GameSettingsDlg, FillsFromMembersAndHistoryAsksForANonFolderAndOkTakesTheValuesBack) {
    HistoryKey key;
    QuestionFolder folder;
    const std::string file = folder.WritePage("Main", "<html></html>");
    std::vector<std::string> older;
    for (int i = 0; i < 16; ++i) older.push_back("C:\\Alt" + std::to_string(i));
    key.Store(older);
    WarningAnswer warning;
    CGameSettingsDlg dialog;
    dialog.m_path = "C:\\Fragen";
    dialog.m_timeLimit = 42;
    dialog.m_startTogether = TRUE;
    dialog.m_countAutomatically = FALSE;
    auto script = [&](HWND shown) {
        EXPECT_EQ(Text(shown, IDC_SETTINGS_PATH), "C:\\Alt0");  // the history's newest folder
        EXPECT_EQ(SendDlgItemMessageA(shown, IDC_SETTINGS_PATH, CB_GETCOUNT, 0, 0), 16);
        EXPECT_EQ(Text(shown, IDC_SETTINGS_TIME_LIMIT), "42");
        EXPECT_TRUE(Checked(shown, IDC_SETTINGS_START_TOGETHER));
        EXPECT_FALSE(Checked(shown, IDC_SETTINGS_AUTO_COUNT));
        EXPECT_FALSE(Checked(shown, IDC_SETTINGS_SAME_SIDE));
        EXPECT_TRUE(Checked(shown, IDC_SETTINGS_SCALE_COLOUR));

        SetDlgItemTextA(shown, IDC_SETTINGS_PATH, file.c_str());
        SetDlgItemTextA(shown, IDC_SETTINGS_TIME_LIMIT, "99999999999999999999");
        CheckDlgButton(shown, IDC_SETTINGS_SAME_SIDE, BST_CHECKED);
        CheckDlgButton(shown, IDC_SETTINGS_SCALE_COLOUR, BST_UNCHECKED);
        // A file is questioned; Cancel keeps the dialog with what was entered and stores nothing.
        WarningAnswer::answer = IDCANCEL;
        Click(shown, IDOK);
        ASSERT_EQ(warning.boxes.size(), 1u);
        EXPECT_EQ(warning.boxes[0], "Warnung|Bitte ein g\xfcltiges Hintergrundbild ausw\xe4hlen !\n\nTrotzdem "
                                    "\xfc" "bernehmen ?|" +
                                        std::to_string(MB_OKCANCEL | MB_ICONEXCLAMATION | MB_DEFBUTTON2));
        EXPECT_TRUE(IsWindowVisible(shown));
        EXPECT_EQ(Text(shown, IDC_SETTINGS_PATH), file);
        EXPECT_EQ(Text(shown, IDC_SETTINGS_TIME_LIMIT), "99999999999999999999");
        EXPECT_TRUE(Checked(shown, IDC_SETTINGS_SAME_SIDE));
        EXPECT_EQ(key.Stored(), older);
        // Accepted, it is taken and remembered first, although it is no folder.
        WarningAnswer::answer = IDOK;
        Click(shown, IDOK);
    };
    ASSERT_EQ(RunDialog(dialog, script), IDOK);
    EXPECT_EQ(warning.boxes.size(), 2u);
    EXPECT_STREQ(dialog.m_path, file.c_str());
    EXPECT_EQ(dialog.m_timeLimit, INT_MAX);  // bounded, however many digits
    EXPECT_EQ(dialog.m_startTogether, TRUE);
    EXPECT_EQ(dialog.m_countAutomatically, FALSE);
    EXPECT_EQ(dialog.m_sameSide, TRUE);
    EXPECT_EQ(dialog.m_colouredScale, FALSE);
    std::vector<std::string> expected = {file};
    expected.insert(expected.end(), older.begin(), older.begin() + 15);
    EXPECT_EQ(key.Stored(), expected);  // newest first, sixteen at most
}

TEST(GameSettingsDlg, NoFolderAFolderAndADriveRootAreTakenWithoutAQuestion) {
    HistoryKey key;
    QuestionFolder folder;
    WarningAnswer warning;
    for (const std::string& quiet : {std::string(), folder.Path(), std::string("C:\\")}) {
        CGameSettingsDlg dialog;
        dialog.m_path = "C:\\Fragen";  // shown while there is no history
        const std::vector<std::string> history = key.Stored();
        const std::string shownFirst = history.empty() ? "C:\\Fragen" : history.front();
        ASSERT_EQ(RunDialog(dialog,
                            [&](HWND shown) {
                                EXPECT_EQ(Text(shown, IDC_SETTINGS_PATH), shownFirst);
                                SetDlgItemTextA(shown, IDC_SETTINGS_PATH, quiet.c_str());
                                SetDlgItemTextA(shown, IDC_SETTINGS_TIME_LIMIT, "x1");
                                Click(shown, IDOK);
                            }),
                  IDOK);
        EXPECT_TRUE(warning.boxes.empty()) << quiet;
        EXPECT_EQ(std::string(dialog.m_path), quiet);
        EXPECT_EQ(dialog.m_timeLimit, 0);  // not a number: no limit
    }
    EXPECT_EQ(key.Stored(), (std::vector<std::string>{"C:\\", folder.Path()}));
}

TEST(GameSettingsDlg, DroppedOrBrowsedFolderBecomesThePath) {
    HistoryKey key;
    QuestionFolder folder;
    CGameSettingsDlg dialog;
    static std::string offered;
    dialog.m_chooseFolder = [](CWnd*, const CString& current) -> std::optional<CString> {
        offered = static_cast<const char*>(current);
        if (offered == "nothing") return std::nullopt;
        return CString("E:\\Gew\xe4hlt");
    };
    ASSERT_EQ(RunDialog(dialog,
                        [&](HWND shown) {
                            HWND combo = GetDlgItem(shown, IDC_SETTINGS_PATH);
                            SendMessageA(combo, WM_DROPFILES, (WPARAM)MakeDrop(folder.Path()), 0);
                            EXPECT_EQ(Text(shown, IDC_SETTINGS_PATH), folder.Path());
                            // The browser starts at what is typed; cancelled, it changes nothing.
                            SetDlgItemTextA(shown, IDC_SETTINGS_PATH, "nothing");
                            Click(shown, IDC_SETTINGS_BROWSE);
                            EXPECT_EQ(offered, "nothing");
                            EXPECT_EQ(Text(shown, IDC_SETTINGS_PATH), "nothing");
                            SetDlgItemTextA(shown, IDC_SETTINGS_PATH, folder.Path().c_str());
                            Click(shown, IDC_SETTINGS_BROWSE);
                            EXPECT_EQ(offered, folder.Path());
                            EXPECT_EQ(Text(shown, IDC_SETTINGS_PATH), "E:\\Gew\xe4hlt");
                            Click(shown, IDCANCEL);
                        }),
              IDCANCEL);
    EXPECT_TRUE(key.Stored().empty());  // cancelled: nothing remembered
}

// Browsing runs the directory chooser: the folder typed there and taken with OK lands in the path combo.
TEST(GameSettingsDlg, BrowseTakesTheFolderChosenInTheChooser) {
    pathdlgtest::ViewSettings views(0, 0);  // the chooser writes its view settings, which its own tests read
    HistoryKey key;
    QuestionFolder folder;
    CGameSettingsDlg dialog;
    static std::string chosen;
    chosen = folder.Path() + "\\Gew\xe4hlt";
    CreateDirectoryA(chosen.c_str(), nullptr);
    ASSERT_EQ(RunDialog(dialog,
                        [&](HWND shown) {
                            // The chooser runs modally inside the click: a timer of its own drives it.
                            UINT_PTR chooser = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
                                HWND path = nullptr;
                                EnumThreadWindows(GetCurrentThreadId(), [](HWND w, LPARAM out) {
                                    char caption[64] = {};
                                    GetWindowTextA(w, caption, sizeof caption);
                                    if (strcmp(caption, "Verzeichnis w\xe4hlen") || !IsWindowVisible(w)) return TRUE;
                                    *reinterpret_cast<HWND*>(out) = w;
                                    return FALSE;
                                }, reinterpret_cast<LPARAM>(&path));
                                if (!path) return;
                                // Typed once; OK lists it first and takes it when listed.
                                if (Text(path, 1017) != chosen) SetDlgItemTextA(path, 1017, chosen.c_str());
                                PostMessageA(path, WM_COMMAND, IDOK, 0);
                            });
                            Click(shown, IDC_SETTINGS_BROWSE);
                            KillTimer(nullptr, chooser);
                            EXPECT_EQ(Text(shown, IDC_SETTINGS_PATH), chosen);
                            Click(shown, IDCANCEL);
                        }),
              IDCANCEL);
}

TEST(GameSettingsDlg, TimeTextReadsLikeAtoiButStaysInRange) {
    const struct {
        const char* text;
        int32_t seconds;
    } kCases[] = {
        {"", 0},          {"abc", 0},        {"12abc", 12},           {"  7", 7},     {"+9", 9},
        {"-5", 0},        {"60", 60},        {"2147483647", INT_MAX}, {"2147483648", INT_MAX},
        {"99999999999999999999999999999999", INT_MAX},               {nullptr, 0},
    };
    for (const auto& c : kCases) EXPECT_EQ(game::TimeLimitFromText(c.text), c.seconds) << (c.text ? c.text : "null");
}
