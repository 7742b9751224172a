// The settings dialog on its own, run modally from its template: filling, OK and its warning, drops, browsing;
// and the time text's arithmetic.
#include <gtest/gtest.h>

#include "tests/game/QuestionFolder.h"
#include "tests/game/SettingsTestSupport.h"
#include "tests/support/HeapCheck.h"
#include "tests/treelist/pathdlg/PathDlgTestSupport.h"
#include "game/GameSettingsDlg.h"
#include "game/RoundControl.h"
#include "game/ViewMessageBox.h"
#include "system/Registry.h"
#include "ui/filedialog/FileDialogTestSupport.h"
#include "ui/UiTestSupport.h"

#include <commctrl.h>
#include <shlobj.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

using namespace gametest;

namespace {

// The history's own key, removed afterwards.
struct HistoryKey {
    std::string name = "GameSettingsDlg" + std::to_string(GetCurrentProcessId()), path = "Software\\VQ\\" + name;
    HistoryKey() { SetRegistryAppKey("VQ", name.c_str()); }
    ~HistoryKey() { RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str()); }
    void Store(const std::vector<std::string>& entries) const {
        WriteMultiString(path, kQuestionFolderHistory, entries);
    }
    std::vector<std::string> Stored() const { return ReadMultiString(path, kQuestionFolderHistory); }
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

// Runs the dialog modally; `script` gets it once it shows and ends it (a bounded driver cancels it otherwise).
INT_PTR RunDialog(CGameSettingsDlg& dialog, const std::function<void(HWND)>& script) {
    uitest::DialogDriver driver([&](HWND shown, int) {
        script(shown);
        return true;
    });
    return dialog.DoModal();
}

void Click(HWND dialog, int id) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dialog, id));
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

// Clicks the browse button. The chooser runs modally inside the click and a timer of its own drives it: a
// folder is typed once and OK pressed until the chooser takes it (it lists it first); without a folder the
// chooser is cancelled at once, while its workers still read.
void BrowseInChooser(HWND shown, const std::string& folder) {
    static std::string typed;
    typed = folder;
    UINT_PTR chooser = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
        HWND path = pathdlgtest::ShownWindow(pathdlgtest::kTitle);
        if (!path) return;
        if (typed.empty()) {
            PostMessageA(path, WM_COMMAND, IDCANCEL, 0);
            return;
        }
        if (DialogText(path, 1017) != typed) SetDlgItemTextA(path, 1017, typed.c_str());
        PostMessageA(path, WM_COMMAND, IDOK, 0);
    });
    Click(shown, IDC_SETTINGS_BROWSE);
    KillTimer(nullptr, chooser);
}

}  // namespace

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
    const SettingsForm entered = {file, "99999999999999999999", true, false, true, false};
    auto script = [&](HWND shown) {
        // The history's newest folder is shown, the members' values beside it.
        EXPECT_EQ(ReadForm(shown), (SettingsForm{"C:\\Alt0", "42", true, false, false, true}));
        EXPECT_EQ(SendDlgItemMessageA(shown, IDC_SETTINGS_PATH, CB_GETCOUNT, 0, 0), 16);
        FillForm(shown, entered);
        // A file is questioned; Cancel keeps the dialog with what was entered and stores nothing.
        WarningAnswer::answer = IDCANCEL;
        Click(shown, IDOK);
        ASSERT_EQ(warning.boxes.size(), 1u);
        EXPECT_EQ(warning.boxes[0], "Warnung|Bitte ein g\xfcltiges Hintergrundbild ausw\xe4hlen !\n\nTrotzdem "
                                    "\xfc" "bernehmen ?|" +
                                        std::to_string(MB_OKCANCEL | MB_ICONEXCLAMATION | MB_DEFBUTTON2));
        EXPECT_TRUE(IsWindowVisible(shown));
        EXPECT_EQ(ReadForm(shown), entered);
        EXPECT_EQ(key.Stored(), older);
        // Accepted, it is taken and remembered first, although it is no folder.
        WarningAnswer::answer = IDOK;
        Click(shown, IDOK);
    };
    ASSERT_EQ(RunDialog(dialog, script), IDOK);
    EXPECT_EQ(warning.boxes.size(), 2u);
    EXPECT_STREQ(dialog.m_path, file.c_str());
    EXPECT_EQ(dialog.m_timeLimit, INT_MAX);  // bounded, however many digits
    EXPECT_EQ(std::vector<BOOL>({dialog.m_startTogether, dialog.m_countAutomatically, dialog.m_sameSide,
                                 dialog.m_colouredScale}),
              std::vector<BOOL>({TRUE, FALSE, TRUE, FALSE}));
    older.insert(older.begin(), file);
    older.pop_back();
    EXPECT_EQ(key.Stored(), older);  // newest first, sixteen at most
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
                                EXPECT_EQ(DialogText(shown, IDC_SETTINGS_PATH), shownFirst);
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

// The browse button shows the folder picture. A dropped folder is taken; the browser starts at what is typed
// and, cancelled, changes nothing.
TEST(GameSettingsDlg, DroppedOrBrowsedFolderBecomesThePath) {
    HistoryKey key;
    QuestionFolder folder;
    CGameSettingsDlg dialog;
    static std::string offered;
    dialog.m_chooseFolder = [](CWnd*, const CString& current) -> std::optional<CString> {
        offered = static_cast<const char*>(current);
        if (offered == "nichts") return std::nullopt;
        return CString("E:\\Gew\xe4hlt");
    };
    ASSERT_EQ(RunDialog(dialog,
                        [&](HWND shown) {
                            HWND browse = GetDlgItem(shown, IDC_SETTINGS_BROWSE);
                            BUTTON_IMAGELIST list = {};
                            SendMessageA(browse, BCM_GETIMAGELIST, 0, (LPARAM)&list);
                            EXPECT_TRUE(list.himl || SendMessageA(browse, BM_GETIMAGE, IMAGE_BITMAP, 0));
                            HWND combo = GetDlgItem(shown, IDC_SETTINGS_PATH);
                            SendMessageA(combo, WM_DROPFILES, (WPARAM)MakeDrop(folder.Path()), 0);
                            EXPECT_EQ(DialogText(shown, IDC_SETTINGS_PATH), folder.Path());
                            for (const std::string typed : {"nichts", "C:\\Fragen"}) {
                                SetDlgItemTextA(shown, IDC_SETTINGS_PATH, typed.c_str());
                                Click(shown, IDC_SETTINGS_BROWSE);
                                EXPECT_EQ(offered, typed);
                                EXPECT_EQ(DialogText(shown, IDC_SETTINGS_PATH),
                                          typed == "nichts" ? typed : "E:\\Gew\xe4hlt");
                            }
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
    const std::string chosen = folder.Path() + "\\Gew\xe4hlt";
    CreateDirectoryA(chosen.c_str(), nullptr);
    ASSERT_EQ(RunDialog(dialog,
                        [&](HWND shown) {
                            BrowseInChooser(shown, chosen);
                            EXPECT_EQ(DialogText(shown, IDC_SETTINGS_PATH), chosen);
                            Click(shown, IDCANCEL);
                        }),
              IDCANCEL);
}

// Every browse starts the chooser's workers (its list, folder tree and path field) and stops them again, chosen
// or cancelled while they still read. After each run, once they have ended, the heap is whole: under heap
// checking a worker that wrote into what the dialog had freed shows in the run that did it.
TEST(GameSettingsDlg, BrowsingAgainAndAgainLeavesTheHeapWhole) {
    pathdlgtest::ViewSettings views(0, 0);
    HistoryKey key;
    QuestionFolder folder;
    CGameSettingsDlg dialog;
    ASSERT_EQ(RunDialog(dialog,
                        [&](HWND shown) {
                            for (int round = 0; round < 6; ++round) {
                                const std::string chosen = round % 2 ? "" : folder.Path();
                                SetDlgItemTextA(shown, IDC_SETTINGS_PATH, "C:\\Vorher");
                                BrowseInChooser(shown, chosen);
                                EXPECT_EQ(DialogText(shown, IDC_SETTINGS_PATH), chosen.empty() ? "C:\\Vorher" : chosen)
                                    << round;
                                EXPECT_TRUE(HeapsWholeOnceQuiet()) << round;
                            }
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
