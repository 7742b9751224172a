#include "ui/filedialog/FileDialogExt.h"

#include "ui/Clipboard.h"
#include "tests/ui/filedialog/FileDialogTestSupport.h"
#include "tests/ui/UiTestSupport.h"

#include "tests/support/ClipboardTestLock.h"
#include "tests/support/ThreadWindows.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

using uitest::DialogDriver;
using uitest::TempFolder;
using uitest::UniqueTestKey;
using uitest::WindowText;
using uitest::ComboEntries;
using uitest::RawMultiString;

// The program's own import slots.
extern "C" void* __imp_GetOpenFileNameA;
extern "C" void* __imp_GetSaveFileNameA;

namespace {

using namespace std::string_literals;

std::string ClassOf(HWND hwnd) {
    char cls[64] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    return cls;
}

// The visible suggestion popup (a "Static" popup holding the list), or 0.
HWND FindSuggestionPopup() {
    return VisibleThreadWindow([](HWND hwnd) { return ClassOf(hwnd) == "Static" && GetDlgItem(hwnd, 4681); });
}

// The visible popup menu, or 0.
HWND FindPopupMenu() {
    return VisibleThreadWindow("#32768");
}

struct OpenCall {
    char file[MAX_PATH] = "";
    char customFilter[MAX_PATH] = "";
    OPENFILENAMEA ofn = {};
    OpenCall(const char* filter, DWORD flags, const std::string& initialDir) {
        ofn.lStructSize = sizeof ofn;
        ofn.lpstrFile = file;
        ofn.nMaxFile = sizeof file;
        ofn.lpstrFilter = filter;
        ofn.lpstrInitialDir = initialDir.c_str();
        ofn.Flags = flags;
    }
    void KeyedHistory(const std::string& keyAndValue) {
        strcpy(customFilter, keyAndValue.c_str());
        ofn.lpstrCustomFilter = customFilter;
        ofn.nMaxCustFilter = sizeof customFilter;
    }
};

}  // namespace

TEST(FileDialogExt, StructureSizeOnThisPlatform) { EXPECT_EQ(sizeof(OPENFILENAMEA), 152u); }

TEST(FileDialogExt, ImportSlotsLeadToTheExtension) {
    // The common dialogs are loaded at the first call into them: not with the program, nor by the installation.
    EXPECT_EQ(GetModuleHandleA("comdlg32.dll"), nullptr);
    EXPECT_EQ(InstallFileDialogExtension(nullptr), 1);
    EXPECT_EQ(GetModuleHandleA("comdlg32.dll"), nullptr);
    EXPECT_EQ(__imp_GetOpenFileNameA, reinterpret_cast<void*>(ExtGetOpenFileNameA));
    EXPECT_EQ(__imp_GetSaveFileNameA, reinterpret_cast<void*>(ExtGetSaveFileNameA));
    // A second installation keeps the system functions reachable.
    EXPECT_EQ(InstallFileDialogExtension(nullptr), 1);
    EXPECT_EQ(__imp_GetOpenFileNameA, reinterpret_cast<void*>(ExtGetOpenFileNameA));
    // A call through the slot reaches the system in the end: a bad structure is reported. Loading the common
    // dialogs for it leaves the slots with the extension.
    OPENFILENAMEA bad = {};
    bad.lStructSize = 3;
    EXPECT_FALSE(GetOpenFileNameA(&bad));
    EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(CDERR_STRUCTSIZE));
    EXPECT_FALSE(GetSaveFileNameA(&bad));
    EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(CDERR_STRUCTSIZE));
    EXPECT_NE(GetModuleHandleA("comdlg32.dll"), nullptr);
    EXPECT_EQ(__imp_GetOpenFileNameA, reinterpret_cast<void*>(ExtGetOpenFileNameA));
    EXPECT_EQ(__imp_GetSaveFileNameA, reinterpret_cast<void*>(ExtGetSaveFileNameA));
    // A module without common-dialog imports is left as it is.
    EXPECT_EQ(InstallFileDialogExtension("kernelbase.dll"), 1);
}

TEST(FileDialogExt, OpenDialogShowsTheHistoryComboAndRemembersTheFolder) {
    TempFolder folder("open");
    std::string file = folder.Add("spiel.txt");
    std::string key = UniqueTestKey("OfnOpen");
    uitest::PutRegistryValue(key, "Liste", "C:\\frueher\\\0D:\\alt\\\0\0"s);
    InstallFileDialogExtension(nullptr);

    const char filter[] = "Bilder@Text\0*.txt\0\0";
    OpenCall call(filter, OFN_EXPLORER | OFN_FILEMUSTEXIST | OFNX_CAPTION | OFNX_HISTORY_KEYED, folder.path);
    call.KeyedHistory(key + "\\Liste");
    const OPENFILENAMEA before = call.ofn;

    DialogDriver driver([&](HWND dialog, int) {
        HWND combo = GetDlgItem(dialog, 1152);
        HWND hidden = GetDlgItem(dialog, 20949);
        EXPECT_EQ(ClassOf(combo), "ComboBox");
        EXPECT_TRUE(IsWindowVisible(combo));
        EXPECT_NE(hidden, nullptr);
        EXPECT_FALSE(IsWindowVisible(hidden));
        RECT c, h;
        GetWindowRect(combo, &c);
        GetWindowRect(hidden, &h);
        EXPECT_EQ(c.left, h.left);
        EXPECT_EQ(c.top, h.top);
        EXPECT_EQ(c.right, h.right);
        EXPECT_EQ(ComboEntries(combo), (std::vector<std::string>{"C:\\frueher\\", "D:\\alt\\"}));
        EXPECT_EQ(WindowText(GetDlgItem(dialog, 1040)), "Bilder");
        EXPECT_EQ(WindowText(GetDlgItem(dialog, 1136)), "Text");  // the filter after the '@'
        RECT d;
        GetWindowRect(dialog, &d);
        EXPECT_EQ(d.right - d.left, 600);
        EXPECT_EQ(d.bottom - d.top, 450);
        SetWindowTextA(combo, file.c_str());
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        return true;
    });
    BOOL chosen = GetOpenFileNameA(&call.ofn);
    EXPECT_FALSE(driver.TimedOut());
    ASSERT_TRUE(chosen);
    EXPECT_STREQ(call.file, file.c_str());
    // The folder went to the top of the history.
    EXPECT_EQ(RawMultiString(key, "Liste"), folder.path + "\\\0C:\\frueher\\\0D:\\alt\\\0\0"s);
    // The caller's structure is as it was, apart from the results.
    EXPECT_EQ(call.ofn.Flags, before.Flags);
    EXPECT_EQ(call.ofn.lpstrFilter, before.lpstrFilter);
    EXPECT_EQ(call.ofn.lpstrCustomFilter, before.lpstrCustomFilter);
    EXPECT_EQ(call.ofn.nMaxCustFilter, before.nMaxCustFilter);
    EXPECT_STREQ(call.customFilter, (key + "\\Liste").c_str());
    EXPECT_EQ(call.ofn.lpfnHook, nullptr);
    EXPECT_EQ(call.ofn.lpstrDefExt, nullptr);
    EXPECT_GT(call.ofn.nFileOffset, 0);
    RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
}

TEST(FileDialogExt, DefaultExtensionKeysTheHistoryAndCancelKeepsIt) {
    TempFolder folder("bmp");
    const std::string common = "Software\\VQ\\Common\\OfnList";
    uitest::PutRegistryValue(common, "OfnListBmp", "E:\\Bilder\\\0\0"s);
    InstallFileDialogExtension(nullptr);
    OpenCall call("Bitmaps\0*.bmp\0\0", OFN_EXPLORER, folder.path);
    call.ofn.lpstrDefExt = "bmp";
    std::vector<std::string> seen;
    DialogDriver driver([&](HWND dialog, int) {
        seen = ComboEntries(GetDlgItem(dialog, 1152));
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return true;
    });
    EXPECT_FALSE(GetOpenFileNameA(&call.ofn));
    EXPECT_FALSE(driver.TimedOut());
    EXPECT_EQ(seen, (std::vector<std::string>{"E:\\Bilder\\"}));
    EXPECT_EQ(RawMultiString(common, "OfnListBmp"), "E:\\Bilder\\\0\0"s);
    HKEY handle;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, common.c_str(), 0, KEY_SET_VALUE, &handle) == ERROR_SUCCESS) {
        RegDeleteValueA(handle, "OfnListBmp");
        RegCloseKey(handle);
    }

    // Without history the dialog keeps its own file-name field.
    OpenCall plain("Alle\0*.*\0\0", OFN_EXPLORER | OFNX_HISTORY_OFF, folder.path);
    bool ownField = false;
    DialogDriver second([&](HWND dialog, int) {
        ownField = GetDlgItem(dialog, 1152) == nullptr && IsWindowVisible(GetDlgItem(dialog, 1148));
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return true;
    });
    EXPECT_FALSE(GetOpenFileNameA(&plain.ofn));
    EXPECT_TRUE(ownField);
}

TEST(FileDialogExt, ContextMenuOffersToCopyTheFolder) {
    TempFolder folder("menu");
    InstallFileDialogExtension(nullptr);
    OpenCall call("Text\0*.txt\0\0", OFN_EXPLORER | OFNX_HISTORY_READONLY, folder.path);
    std::string item;
    UINT command = 0;
    auto step = [&](HWND dialog, int tick) {
        // The menu runs its own loop; the driver's timer still ticks inside it.
        HWND menuWindow = FindPopupMenu();
        if (!menuWindow) {
            // A menu closes when its dialog loses the activation, which windows of tests running beside this
            // one take now and then: the dialog is activated and asked again.
            if (tick % 100 == 1) {
                SetForegroundWindow(dialog);
                RECT r;
                GetWindowRect(dialog, &r);
                PostMessageA(dialog, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(dialog),
                             MAKELPARAM(r.left + 20, r.bottom - 20));
            }
            return false;
        }
        HMENU menu = reinterpret_cast<HMENU>(SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
        char text[64] = {};
        GetMenuStringA(menu, 0, text, sizeof text, MF_BYPOSITION);
        item = text;
        command = GetMenuItemID(menu, 0);
        EndMenu();
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return true;
    };
    DialogDriver driver(step, 900);
    EXPECT_FALSE(GetOpenFileNameA(&call.ofn));
    EXPECT_FALSE(driver.TimedOut());
    EXPECT_EQ(item, "Kopiere aktuellen Pfad");
    EXPECT_EQ(command, 18585u);
}

namespace {

struct HookLog {
    int initDialogs = 0;
    LPARAM custData = 0;
    int fileNotifies = 0;
};

UINT_PTR CALLBACK CallerHook(HWND, UINT msg, WPARAM, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        auto* ofn = reinterpret_cast<OPENFILENAMEA*>(lParam);
        auto* log = reinterpret_cast<HookLog*>(ofn->lCustData);
        log->initDialogs++;
        log->custData = ofn->lCustData;
    }
    return 0;
}

}  // namespace

TEST(FileDialogExt, CallersHookStillRunsAndSaveShownAsOpenSaysSave) {
    TempFolder folder("hook");
    std::string key = UniqueTestKey("OfnSave");
    InstallFileDialogExtension(nullptr);
    HookLog log;
    OpenCall call("Spielstand@Text\0*.txt\0\0",
                  OFN_EXPLORER | OFN_ENABLEHOOK | OFNX_CAPTION | OFNX_HISTORY_KEYED | OFNX_HISTORY_PATHS, folder.path);
    call.KeyedHistory(key + "\\Saves");
    call.ofn.lpfnHook = CallerHook;
    call.ofn.lCustData = reinterpret_cast<LPARAM>(&log);
    std::string target = folder.path + "\\neu.txt";
    std::string okText, caption;
    DialogDriver driver([&](HWND dialog, int) {
        okText = WindowText(GetDlgItem(dialog, IDOK));
        caption = WindowText(GetDlgItem(dialog, 1040));
        SetWindowTextA(GetDlgItem(dialog, 1152), target.c_str());
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        return true;
    });
    BOOL chosen = GetSaveFileNameA(&call.ofn);
    EXPECT_FALSE(driver.TimedOut());
    EXPECT_TRUE(chosen);
    EXPECT_EQ(okText, "&Save");
    EXPECT_EQ(caption, "Spielstand");
    EXPECT_EQ(log.initDialogs, 1);
    EXPECT_EQ(log.custData, reinterpret_cast<LPARAM>(&log));
    EXPECT_EQ(call.ofn.lpfnHook, CallerHook);
    EXPECT_TRUE(call.ofn.Flags & OFN_ENABLEHOOK);
    EXPECT_TRUE(call.ofn.Flags & OFNX_CAPTION);
    // A save dialog stores the new name although the file does not exist yet.
    EXPECT_EQ(RawMultiString(key, "Saves"), target + "\0\0"s);
    RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
}

TEST(FileDialogExt, TypingOffersCompletionsAndKeysWorkOnThem) {
    TempFolder folder("typing");
    folder.Add("abend.txt");
    folder.Add("Abfahrt.txt");
    folder.Add("zug.txt");
    std::string key = UniqueTestKey("OfnTyping");
    InstallFileDialogExtension(nullptr);
    OpenCall call("Text\0*.txt\0\0", OFN_EXPLORER | OFNX_HISTORY_KEYED, folder.path);
    call.KeyedHistory(key + "\\T");
    std::vector<std::string> offered;
    std::string afterDown, afterEnter, copied;
    auto step = [&](HWND dialog, int tick) {
        HWND combo = GetDlgItem(dialog, 1152);
        HWND edit = FindWindowExA(combo, nullptr, "Edit", nullptr);
        HWND popup = FindSuggestionPopup();
        if (!popup || SendMessageA(popup, LB_GETCOUNT, 0, 0) < 2) {
            // The list closes when the field loses the focus, which windows of tests running beside this one
            // take now and then: 'a' is typed again into the field, focused in the active dialog.
            if (tick % 100 == 1) {
                SetForegroundWindow(dialog);
                SetFocus(edit);
                SendMessageA(edit, EM_SETSEL, 0, -1);
                SendMessageA(edit, WM_CHAR, 'a', 1);
            }
            return tick > 600 && (PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0), true);
        }
        offered = uitest::ListEntries(popup);
        offered.resize(2);
        // Down moves through the suggestions and swallows the key.
        SendMessageA(edit, WM_KEYDOWN, VK_DOWN, 1);
        afterDown = WindowText(combo);
        // Enter turns slashes around.
        SetWindowTextA(combo, "c:/temp/");
        SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 1);
        afterEnter = WindowText(combo);
        {
            ClipboardTestLock lock;
            SendMessageA(dialog, WM_COMMAND, 18585, 0);
            char clip[MAX_PATH] = {};
            GetClipboardText(clip, sizeof clip);
            copied = clip;
        }
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return true;
    };
    DialogDriver driver(step, 900);
    EXPECT_FALSE(GetOpenFileNameA(&call.ofn));
    EXPECT_FALSE(driver.TimedOut());
    EXPECT_EQ(offered, (std::vector<std::string>{"abend.txt", "Abfahrt.txt"}));
    EXPECT_EQ(afterDown, "abend.txt");
    EXPECT_EQ(afterEnter, "c:\\temp\\");
    EXPECT_EQ(copied, folder.path);
    RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
}

TEST(FileDialogExt, NestedAndConcurrentDialogsKeepTheirOwnCalls) {
    TempFolder folder("nested");
    std::string file = folder.Add("innen.txt");
    std::string outerKey = UniqueTestKey("OfnOuter"), innerKey = UniqueTestKey("OfnInner"),
                otherKey = UniqueTestKey("OfnOther");
    InstallFileDialogExtension(nullptr);

    // A dialog on another thread runs at the same time.
    std::string otherResult;
    bool otherTimedOut = true;
    std::thread other([&] {
        OpenCall call("Text\0*.txt\0\0", OFN_EXPLORER | OFNX_HISTORY_KEYED | OFNX_HISTORY_PATHS, folder.path);
        call.KeyedHistory(otherKey + "\\V");
        DialogDriver driver([&](HWND dialog, int tick) {
            if (tick < 10) return false;
            SetWindowTextA(GetDlgItem(dialog, 1152), file.c_str());
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
            return true;
        });
        if (GetOpenFileNameA(&call.ofn)) otherResult = call.file;
        otherTimedOut = driver.TimedOut();
    });

    OpenCall outer("Text\0*.txt\0\0", OFN_EXPLORER | OFNX_HISTORY_KEYED, folder.path);
    outer.KeyedHistory(outerKey + "\\V");
    const OPENFILENAMEA outerBefore = outer.ofn;
    OpenCall inner("Innen@Text\0*.txt\0\0", OFN_EXPLORER | OFNX_CAPTION | OFNX_HISTORY_KEYED | OFNX_HISTORY_PATHS,
                   folder.path);
    inner.KeyedHistory(innerKey + "\\V");
    const OPENFILENAMEA innerBefore = inner.ofn;
    BOOL innerChosen = FALSE;
    bool innerTimedOut = true;
    DialogDriver driver([&](HWND dialog, int) {
        inner.ofn.hwndOwner = dialog;
        DialogDriver nested([&](HWND innerDialog, int) {
            SetWindowTextA(GetDlgItem(innerDialog, 1152), file.c_str());
            PostMessageA(innerDialog, WM_COMMAND, IDOK, 0);
            return true;
        });
        innerChosen = GetOpenFileNameA(&inner.ofn);
        innerTimedOut = nested.TimedOut();
        SetWindowTextA(GetDlgItem(dialog, 1152), file.c_str());
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        return true;
    });
    BOOL outerChosen = GetOpenFileNameA(&outer.ofn);
    other.join();

    EXPECT_FALSE(driver.TimedOut());
    EXPECT_FALSE(innerTimedOut);
    EXPECT_FALSE(otherTimedOut);
    EXPECT_TRUE(outerChosen);
    EXPECT_TRUE(innerChosen);
    EXPECT_STREQ(inner.file, file.c_str());
    EXPECT_STREQ(outer.file, file.c_str());
    EXPECT_EQ(otherResult, file);
    EXPECT_EQ(outer.ofn.Flags, outerBefore.Flags);
    EXPECT_EQ(outer.ofn.lpfnHook, nullptr);
    EXPECT_EQ(inner.ofn.Flags, innerBefore.Flags);
    EXPECT_EQ(inner.ofn.lpstrFilter, innerBefore.lpstrFilter);
    EXPECT_EQ(inner.ofn.lpfnHook, nullptr);
    // Each call kept its own history rules: folders for the outer one, files for the others.
    EXPECT_EQ(RawMultiString(outerKey, "V"), folder.path + "\\\0\0"s);
    EXPECT_EQ(RawMultiString(innerKey, "V"), file + "\0\0"s);
    EXPECT_EQ(RawMultiString(otherKey, "V"), file + "\0\0"s);
    for (const auto& k : {outerKey, innerKey, otherKey}) RegDeleteTreeA(HKEY_CURRENT_USER, k.c_str());
}

TEST(FileDialogExt, DialogObjectTakesAWindowOnlyFromItsFrameworkObject) {
    uitest::TestParent window;
    CFileDlgExt object;
    EXPECT_FALSE(object.AttachDialog(window.hwnd));  // no framework object: nothing to take over
    CWnd owner;
    ASSERT_TRUE(owner.SubclassWindow(window.hwnd));
    EXPECT_TRUE(object.AttachDialog(window.hwnd));
    EXPECT_EQ(CWnd::FromHandlePermanent(window.hwnd), &object);
    EXPECT_EQ(owner.m_hWnd, nullptr);
    EXPECT_FALSE(object.AttachDialog(window.hwnd));  // serves one window at a time
    object.DetachDialog(window.hwnd);
    EXPECT_EQ(CWnd::FromHandlePermanent(window.hwnd), nullptr);
    EXPECT_EQ(object.m_hWnd, nullptr);
}

namespace {

class CheckingFileDialog : public CFileDialog {
public:
    using CFileDialog::CFileDialog;
    int fileNameChecks = 0;
    int folderChanges = 0;
    BOOL OnFileNameOK() override {
        ++fileNameChecks;
        return FALSE;
    }
    void OnFolderChange() override { ++folderChanges; }
};

}  // namespace

TEST(FileDialogExt, FrameworkFileDialogKeepsItsNotificationsAndGetsTheHistory) {
    TempFolder folder("framework");
    std::string file = folder.Add("rahmen.txt");
    uitest::TestKey key("OfnFramework");
    InstallFileDialogExtension(nullptr);
    CheckingFileDialog dialog(TRUE, "txt", nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, "Texte|*.txt||");
    char customFilter[MAX_PATH];
    strcpy(customFilter, (key.path + "\\Rahmen").c_str());
    dialog.m_ofn.lpstrCustomFilter = customFilter;
    dialog.m_ofn.nMaxCustFilter = sizeof customFilter;
    dialog.m_ofn.Flags |= OFNX_HISTORY_KEYED | OFNX_HISTORY_PATHS;
    dialog.m_ofn.lpstrInitialDir = folder.path.c_str();
    bool hadCombo = false;
    DialogDriver driver([&](HWND window, int) {
        hadCombo = ClassOf(GetDlgItem(window, 1152)) == "ComboBox";
        SetWindowTextA(GetDlgItem(window, 1152), file.c_str());
        PostMessageA(window, WM_COMMAND, IDOK, 0);
        return true;
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_FALSE(driver.TimedOut());
    EXPECT_TRUE(hadCombo);
    EXPECT_STREQ(dialog.GetPathName(), file.c_str());
    EXPECT_EQ(dialog.fileNameChecks, 1);
    EXPECT_GE(dialog.folderChanges, 1);
    EXPECT_EQ(key.Raw("Rahmen"), file + "\0\0"s);
}
