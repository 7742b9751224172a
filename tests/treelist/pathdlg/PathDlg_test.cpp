#include "tests/treelist/FolderFixture.h"
#include "tests/treelist/pathdlg/PathDlgTestSupport.h"
#include "treelist/pathdlg/PathDlgLayout.h"
#include "treelist/pathdlg/PathDlgTemplate.h"
#include "treelist/pathdlg/PathDlgText.h"
#include "treelist/shared/FolderWidgetClock.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <tuple>

namespace {

using namespace pathdlgtest;
using foldertest::DropBlock;

std::string Path(const CString& text) { return (const char*)text; }

DWORD s_now = 0;  // the type-ahead's clock in the test that sets it

bool Exists(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

void RemoveFolders(const std::string& path, const std::string& stop) {
    for (std::string p = path; p.size() > stop.size(); p.resize(p.find_last_of('\\'))) RemoveDirectoryA(p.c_str());
}

TEST(PathDlgText, PathsLevelsAndHistoryKeys) {
    const struct { const char* text; const char* chosen; const char* sub; } kTrims[] = {
        {"  C:/a/b/ ", "C:\\a\\b", "C"},  {"C:\\", "C:\\", "C"},        {"\\\\", "\\\\", ""},
        {"a/b*c", "a\\b*c", "a\\b"},     {"x?\\", "x?", "x"},           {"", "", ""},
    };
    for (const auto& t : kTrims) {
        EXPECT_EQ(Path(TrimChosenPath(t.text)), t.chosen) << t.text;
        EXPECT_EQ(Path(TrimSubPath(t.text)), t.sub) << t.text;
    }
    using Levels = std::vector<std::string>;
    const struct { const char *path, *share; Levels levels; } kLevels[] = {
        {"C:\\a\\b", "", {"C:\\", "a", "b"}},
        {"C:\\", "", {"C:\\"}},
        {"\\\\srv\\share\\d", "", {"\\\\", "srv", "share", "d"}},
        {"\\\\srv\\share\\d", "\\\\srv\\share", {"\\\\srv\\share\\", "d"}},
    };
    for (const auto& l : kLevels) EXPECT_EQ(PathLevels(l.path, l.share), l.levels) << l.path << " " << l.share;
    EXPECT_EQ((Levels{JoinLevels({"C:\\", "a", "b"}, 0), JoinLevels({"C:\\", "a", "b"}, 2),
                      JoinLevels({"\\\\", "srv", "share"}, 1)}),
              (Levels{"C:\\", "C:\\a\\b", "\\\\srv"}));
    EXPECT_FALSE(PathUnder("\\\\srv\\shared", "\\\\srv\\share"));  // a share's neighbour is not in it
    EXPECT_EQ(ShareOfPath("\\\\srv"), "");

    HistoryKeyParts parts;
    ASSERT_TRUE(SplitHistoryKey("#Software/VQ\\Test\\Pfad", &parts));
    EXPECT_EQ(std::tie(parts.fromRoot, parts.subkeys, parts.value),
              std::tuple(true, Levels{"Software", "VQ", "Test"}, "Pfad"));
    ASSERT_TRUE(SplitHistoryKey("Pfad", &parts));
    EXPECT_EQ(std::tie(parts.fromRoot, parts.subkeys), std::tuple(false, Levels{}));
    for (const std::string& bad : {std::string(), std::string("#"), std::string("a\\\\b"), std::string(260, 'x')})
        EXPECT_FALSE(SplitHistoryKey(bad.c_str(), &parts)) << bad;
}

TEST(PathDlgText, SetPathMakesPathsFullAndAppendSubPathJoins) {
    const struct { const char *text, *sub, *path; } kPaths[] = {
        {"  C:/a/b/ ", nullptr, "C:\\a\\b"},
        {"C:\\", nullptr, "C:\\"},
        {"C:\\a\\.\\b\\..\\c", nullptr, "C:\\a\\c"},
        {"\\\\srv\\share\\a\\..\\b\\", nullptr, "\\\\srv\\share\\b"},
        {"\\\\", nullptr, "\\\\"},
        {"C:\\a", " x/y*z", "C:\\a\\x\\y"},
        {"C:\\a", "::", "C:\\a"},
    };
    for (const auto& p : kPaths) {
        CPathDlg dialog;
        dialog.SetPath(p.text);
        if (p.sub) dialog.AppendSubPath(p.sub);
        EXPECT_EQ(Path(dialog.GetPath(0)), p.path) << p.text;
    }
}

TEST(PathDlgLayout, TemplateSizesAndRememberedRectangle) {
    const std::vector<BYTE> bytes = BuildPathDlgTemplate();
    ASSERT_GT(bytes.size(), 26u);
    WORD w[13];
    memcpy(w, bytes.data(), sizeof w);
    // An extended template (1, 0xFFFF) of 10 controls, 284 x 279 units.
    EXPECT_EQ((std::vector<WORD>{w[0], w[1], w[8], w[11], w[12]}), (std::vector<WORD>{1, 0xFFFF, 10, 284, 279}));
    EXPECT_EQ(*reinterpret_cast<const DWORD*>(bytes.data() + 12), 0x80CC0040u);

    LayoutRecord record;
    record.client = {400, 300};
    for (int i = 0; i < kPathDlgLayoutCount; ++i) record.rects[i] = {10, 20, 110, 220};
    for (int i = 0; i < kPathDlgLayoutCount; ++i) {
        const LayoutFactor& f = kPathDlgLayout[i];
        const RECT r = FollowClientSize(record, i, 450, 330);
        EXPECT_EQ(r.left, 10 + 50 * f.moveX) << f.id;
        EXPECT_EQ(r.bottom, 220 + 30 * (f.moveY + f.growY)) << f.id;
        EXPECT_EQ(r.right - r.left, 100 + 50 * f.growX) << f.id;
    }
    RECT small = {100, 100, 150, 150};
    LimitSizing(&small, WMSZ_TOPLEFT, 200, 120);
    EXPECT_EQ(std::pair(small.left, small.top), std::pair(-50L, 30L));

    const RECT work = {0, 0, 1024, 768};
    const struct { RECT r; bool fits; } kRects[] = {
        {{10, 10, 500, 500}, true},    {{-99, -9, 400, 400}, true},   {{-100, 0, 400, 400}, false},
        {{924, 0, 1400, 400}, false},  {{0, 668, 400, 900}, false},   {{0, 0, 16, 400}, false},
        {{-5000, -5000, -4500, -4500}, false},
    };
    for (const auto& k : kRects) EXPECT_EQ(RememberedRectFits(k.r, work), k.fits) << k.r.left << "," << k.r.top;
}

class PathDlgTest : public testing::Test {
protected:
    std::string m_root = foldertest::TreeRoot();
};

TEST_F(PathDlgTest, ListViewListsLevelsThenFoldersAndTakesTheSecondOk) {
    ViewSettings views(0, 0);
    CPathDlg dialog;
    const std::string umlaute = m_root + "\\Umlaute";
    dialog.SetPath(umlaute.c_str());
    const std::string chosen = umlaute + "\\\xd6l";
    const INT_PTR result = RunChooser(dialog, {
        Listed(dialog),
        [&](HWND shown) {
            EXPECT_EQ(Path(dialog.GetListedPath()), umlaute);
            HWND list = GetDlgItem(shown, IDC_PATHDLG_LIST);
            const int count = (int)SendMessageA(list, LB_GETCOUNT, 0, 0);
            // The box keeps the worker's order: every row shows the entry of its own index.
            for (int i = 0; i < count; ++i) EXPECT_EQ(SendMessageA(list, LB_GETITEMDATA, i, 0), i);
            EXPECT_EQ(
                std::tuple(dialog.GetEntryText(0), dialog.GetEntryText(count - 6), dialog.GetEntryText(count - 5)),
                std::tuple("C:\\", "Umlaute", "Zebra"));
            EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), count - 6);
            EXPECT_FALSE(IsWindowVisible(dialog.Tree().m_hWnd));
            // A typed path is listed by the first OK and taken by the second. Typed into the field's edit:
            // the field's own text is its path, which is listed at once.
            SetWindowTextA(FindWindowExA(GetDlgItem(shown, IDC_PATHDLG_PATH), nullptr, "Edit", nullptr), chosen.c_str());
            Press(shown, IDOK);
            return true;
        },
        Listed(dialog, chosen),
        Pressing(IDOK),
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(std::pair(Path(dialog.GetPath(0)), Path(dialog.GetPath(1))), std::pair(chosen, chosen + "\\"));
}

// In breadcrumb mode a path typed into the field and left there is taken by Enter wherever the focus is:
// listed, shown in the field, and the focus moves to OK; the next OK takes it.
TEST_F(PathDlgTest, BreadcrumbEnterTakesATypedPathLeftInTheField) {
    ViewSettings views(0, 1);
    CPathDlg dialog;
    const std::string umlaute = m_root + "\\Umlaute", chosen = umlaute + "\\Zebra";
    dialog.SetPath(umlaute.c_str());
    const INT_PTR result = RunChooser(dialog, {
        Listed(dialog, umlaute),
        [&](HWND shown) {
            HWND list = GetDlgItem(shown, IDC_PATHDLG_LIST);
            HWND edit = FindWindowExA(GetDlgItem(shown, IDC_PATHDLG_PATH), nullptr, "Edit", nullptr);
            EXPECT_FALSE(IsWindowVisible(edit));
            SetFocus(list);
            SendMessageA(list, LB_SETCURSEL, 0, 0);  // Enter on the list alone would open the drive
            SetWindowTextA(edit, chosen.c_str());
            SendMessageA(shown, WM_COMMAND, IDOK, 0);
            EXPECT_EQ(GetFocus(), GetDlgItem(shown, IDOK));
            return true;
        },
        Listed(dialog, chosen),
        Pressing(IDOK),
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(Path(dialog.GetPath(0)), chosen);
}

// In breadcrumb mode a typed folder that the field refuses (it does not exist) goes on to OK's checks: made
// and taken with 0x3, refused with 0x1; one that cannot be made shows the creation message.
TEST_F(PathDlgTest, BreadcrumbOkChecksATypedMissingFolder) {
    const std::string made = foldertest::TempFolder() + "wl-krume-" + std::to_string(GetCurrentProcessId());
    const struct { int options; std::string typed, box; } kRuns[] = {
        {0x3, made, ""}, {0x1, made, "Der Pfad existiert nicht !"}, {0x3, "Q:\\x", "Der Pfad kann nicht erzeugt werden !"}};
    for (const auto& run : kRuns) {
        ViewSettings views(0, 1);
        RemoveDirectoryA(made.c_str());
        CPathDlg dialog;
        dialog.SetPath(m_root.c_str());
        std::string box;
        std::vector<Step> script = {Listed(dialog, m_root), [&](HWND shown) {
            SetWindowTextA(FindWindowExA(GetDlgItem(shown, IDC_PATHDLG_PATH), nullptr, "Edit", nullptr), run.typed.c_str());
            Press(shown, IDOK);
            return true;
        }};
        if (!run.box.empty()) script.insert(script.end(), {[&](HWND) { return !(box = CloseBox("Fehler")).empty(); },
                                                           Pressing(IDCANCEL)});
        const INT_PTR result = RunChooser(dialog, script, nullptr, run.options);
        EXPECT_EQ(std::tuple(result, box, Exists(made)), std::tuple(run.box.empty() ? IDOK : IDCANCEL, run.box, run.box.empty()))
            << run.options << " " << run.typed;
        if (run.box.empty()) {
            EXPECT_EQ(Path(dialog.GetPath(0)), made);
        }
    }
    RemoveDirectoryA(made.c_str());
}

// Type-ahead, drops and double clicks on the list, the drive combo and "Aufwärts".
TEST_F(PathDlgTest, ListBoxTypesDropsAndOpensEntries) {
    ViewSettings views(0, 0);
    CPathDlg dialog;
    const std::string umlaute = m_root + "\\Umlaute";
    dialog.SetPath(umlaute.c_str());
    SetFolderWidgetClock([] { return s_now; });
    auto rowText = [&](HWND shown) {
        HWND list = GetDlgItem(shown, IDC_PATHDLG_LIST);
        const LRESULT row = SendMessageA(list, LB_GETCURSEL, 0, 0);
        return dialog.GetEntryText((int)SendMessageA(list, LB_GETITEMDATA, (WPARAM)row, 0));
    };
    const INT_PTR result = RunChooser(dialog, {
        Listed(dialog, umlaute),
        [&](HWND shown) {
            HWND list = GetDlgItem(shown, IDC_PATHDLG_LIST);
            // The buffer restarts after its pause; a key that finds nothing keeps the row.
            const struct { DWORD at; char key; const char* selected; } kKeys[] = {
                {0, '\xe4', "\xe4hnlich"}, {100, 'r', "\xc4rger"}, {200, 'q', "\xc4rger"},
                {2000, 'z', "Zebra"},       {2100, 'z', "Zebra"},    {5000, '\xf6', "\xd6l"}};
            for (const auto& k : kKeys) {
                s_now = 100000 + k.at;
                SendMessageA(list, WM_CHAR, (BYTE)k.key, 0);
                EXPECT_EQ(rowText(shown), k.selected) << k.at;
            }
            // The drive combo shows the drive of the path.
            HWND drives = GetDlgItem(shown, IDC_PATHDLG_DRIVES);
            EXPECT_EQ(SendMessageA(drives, CB_GETCOUNT, 0, 0),
                      __builtin_popcount(GetLogicalDrives()) + 1);   // + network
            EXPECT_EQ(SendMessageA(drives, CB_GETCURSEL, 0, 0), 0);  // C:, the first drive here
            // A dropped file lists its folder, and the drop is finished.
            HGLOBAL drop = DropBlock(m_root + "\\NurDateien\\a.txt");
            SendMessageA(list, WM_DROPFILES, (WPARAM)drop, 0);
            EXPECT_EQ(GlobalFlags(drop), (UINT)GMEM_INVALID_HANDLE);
            return true;
        },
        Listed(dialog, m_root + "\\NurDateien"),
        Pressing(IDC_PATHDLG_UP),  // "Aufwärts" lists the level above
        Listed(dialog, m_root),
        [&](HWND shown) {
            // A double click on the drive's level lists the drive.
            HWND list = GetDlgItem(shown, IDC_PATHDLG_LIST);
            SendMessageA(list, LB_SETCURSEL, 0, 0);
            SendMessageA(shown, WM_COMMAND, MAKEWPARAM(IDC_PATHDLG_LIST, LBN_DBLCLK), (LPARAM)list);
            return true;
        },
        Listed(dialog, "C:\\"),
        Pressing(IDCANCEL),
    });
    SetFolderWidgetClock(nullptr);
    EXPECT_EQ(result, IDCANCEL);
}

// Fixed view and fixed field leave out their boxes and neither read nor write their settings; a file dropped
// on the path field lists its folder either way.
TEST_F(PathDlgTest, FixedViewsKeepTheirSettingsAndFieldDropsAreListed) {
    // Stored: both view settings before the run.
    const struct { DWORD options, stored; bool boxes; } kRuns[] = {{0x3, 0, true}, {0x1B, 1, false}};
    const std::string file = m_root + "\\NurDateien\\a.txt";
    for (const auto& run : kRuns) {
        ViewSettings views(run.stored, run.stored);
        CPathDlg dialog;
        dialog.SetOptions(run.options);
        dialog.SetPath((m_root + "\\Umlaute").c_str());
        RunChooser(dialog, {Listed(dialog),
                            [&](HWND shown) {
                                for (int box : {IDC_PATHDLG_TREEMODE, IDC_PATHDLG_BREADCRUMB})
                                    EXPECT_EQ(IsWindowVisible(GetDlgItem(shown, box)) != 0, run.boxes) << run.options;
                                EXPECT_TRUE(IsWindowVisible(GetDlgItem(shown, IDC_PATHDLG_LIST)));
                                HWND field = GetDlgItem(shown, IDC_PATHDLG_PATH);
                                EXPECT_TRUE(IsWindowVisible(FindWindowExA(field, nullptr, "Edit", nullptr)));
                                SendMessageA(field, WM_DROPFILES, (WPARAM)DropBlock(file), 0);
                                return true;
                            },
                            Listed(dialog, m_root + "\\NurDateien"), Pressing(IDCANCEL)},
                  nullptr, -1);
        EXPECT_EQ(std::pair(ViewSettings::Read(kPathDlgTreeModeValue), ViewSettings::Read(kPathDlgBreadcrumbValue)),
                  std::pair(run.stored, run.stored)) << run.options;
    }
}

// "\\wl-srv\wl-share" with a folder "sub", made where Wine keeps network shares; "" elsewhere.
std::string FakeShare() {
    char prefix[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof prefix)) return "";
    std::string dir = std::string("Z:") + prefix + "\\dosdevices\\unc";
    for (char& c : dir)
        if (c == '/') c = '\\';
    for (const char* part : {"", "\\wl-srv", "\\wl-share", "\\sub"}) CreateDirectoryA((dir += part).c_str(), nullptr);
    return Exists(dir) ? "\\\\wl-srv\\wl-share" : "";
}

// A start path in a reachable share gives the share a drive entry, from which its folders are listed; the
// network place always lists the network.
TEST_F(PathDlgTest, AStartShareHasItsOwnDriveEntry) {
    const std::string share = FakeShare();
    if (share.empty()) GTEST_SKIP() << "no share to be made here";
    ViewSettings views(0, 0);
    CPathDlg dialog;
    dialog.SetPath((share + "\\sub").c_str());
    int count = 0;
    auto choose = [&](int drive) {
        return [&, drive](HWND shown) {
            HWND drives = GetDlgItem(shown, IDC_PATHDLG_DRIVES);
            SendMessageA(drives, CB_SETCURSEL, drive < 0 ? count + drive : drive, 0);
            SendMessageA(shown, WM_COMMAND, MAKEWPARAM(IDC_PATHDLG_DRIVES, CBN_SELCHANGE), (LPARAM)drives);
            return true;
        };
    };
    auto shows = [&](const std::string& first, int drive) {
        return [&, first, drive](HWND shown) {
            EXPECT_EQ(dialog.GetEntryText(0), first);
            EXPECT_EQ(SendDlgItemMessageA(shown, IDC_PATHDLG_DRIVES, CB_GETCURSEL, 0, 0), count + drive);
            return true;
        };
    };
    const INT_PTR result = RunChooser(dialog, {
        Listed(dialog, share + "\\sub"),
        [&](HWND shown) {
            count = (int)SendDlgItemMessageA(shown, IDC_PATHDLG_DRIVES, CB_GETCOUNT, 0, 0);
            EXPECT_EQ(count, __builtin_popcount(GetLogicalDrives()) + 2);  // + network place and share
            return true;
        },
        shows(share + "\\", -1),
        choose(-2), Listed(dialog, "\\\\"),
        [&](HWND shown) {
            SetDlgItemTextA(shown, IDC_PATHDLG_PATH, "\\\\wl-srv");
            return true;
        },
        Listed(dialog, "\\\\wl-srv"), shows("Netzwerkumgebung", -2),
        choose(0), Listed(dialog, "C:\\"),
        choose(-2), Listed(dialog, "\\\\"),  // the network, not the path last listed there
        choose(-1), Listed(dialog, share + "\\sub"), shows(share + "\\", -1),
        Pressing(IDCANCEL),
    });
    EXPECT_EQ(result, IDCANCEL);
}

TEST_F(PathDlgTest, TreeViewTakesTheDoubleClickedFolderAndRemembersTheViews) {
    ViewSettings views(1, 0);
    CPathDlg dialog;
    const std::string tief = m_root + "\\Umlaute\\\xc4rger\\Tief";
    dialog.SetPath(tief.c_str());
    auto current = [&](const std::string& want) {
        return [&, want](HWND) {
            char path[MAX_PATH];
            return dialog.Tree().GetCurrentPath(path, sizeof path, nullptr) && path == want;
        };
    };
    const INT_PTR result = RunChooser(dialog, {
        current(tief),
        [&](HWND shown) {
            EXPECT_TRUE(IsWindowVisible(dialog.Tree().m_hWnd));
            EXPECT_FALSE(IsWindowVisible(GetDlgItem(shown, IDC_PATHDLG_LIST)));
            EXPECT_EQ(IsDlgButtonChecked(shown, IDC_PATHDLG_TREEMODE), BST_CHECKED);
            // "Aufwärts" goes to the folder above.
            Press(shown, IDC_PATHDLG_UP);
            return true;
        },
        current(m_root + "\\Umlaute\\\xc4rger"),
        [&](HWND shown) {
            CheckDlgButton(shown, IDC_PATHDLG_BREADCRUMB, BST_CHECKED);
            Press(shown, IDC_PATHDLG_BREADCRUMB);
            // A double click in the tree (as the tree reflects it) closes with its folder.
            NMHDR click = {dialog.Tree().m_hWnd, IDC_PATHDLG_TREE, (UINT)NM_DBLCLK};
            SendMessageA(shown, WM_NOTIFY, IDC_PATHDLG_TREE, (LPARAM)&click);
            return true;
        },
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(Path(dialog.GetPath(0)), m_root + "\\Umlaute\\\xc4rger");
    EXPECT_EQ(std::pair(ViewSettings::Read(kPathDlgTreeModeValue), ViewSettings::Read(kPathDlgBreadcrumbValue)),
              std::pair(1UL, 1UL));
}

TEST_F(PathDlgTest, CreatesAMissingPathAndRefusesOneThatCannotBeMade) {
    ViewSettings views(0, 0);
    const std::string made = foldertest::TempFolder() + "wl-neu-" + std::to_string(GetCurrentProcessId()) + "\\Tiefer";
    RemoveFolders(made, foldertest::TempFolder());
    std::string refused;
    CPathDlg dialog;
    auto typeAndOk = [&](const std::string& path) {
        return [&, path](HWND shown) {
            SetDlgItemTextA(shown, IDC_PATHDLG_PATH, path.c_str());
            Press(shown, IDOK);
            return true;
        };
    };
    const INT_PTR result = RunChooser(dialog, {
        Listed(dialog),
        typeAndOk("Q:\\x"),
        Listed(dialog, "Q:\\x"),
        Pressing(IDOK),
        [&](HWND) { return !(refused = CloseBox("Fehler")).empty(); },
        typeAndOk(made),
        Listed(dialog, made),
        [&](HWND shown) {
            EXPECT_TRUE(IsWindowVisible(shown));  // the refused path kept it open
            Press(shown, IDOK);
            return true;
        },
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(refused, "Der Pfad kann nicht erzeugt werden !");
    EXPECT_EQ(Path(dialog.GetPath(0)), made);
    EXPECT_TRUE(Exists(made));
    RemoveFolders(made, foldertest::TempFolder());
}

// Controls follow the size by their factors, the window keeps a smallest size, and the next run comes back
// where the last one was, unless that lies outside the work area.
TEST_F(PathDlgTest, ResizesByFactorsAndComesBackWhereItWas) {
    ViewSettings views(0, 0);
    auto clientRect = [](HWND dialog, int id) {
        RECT r;
        GetWindowRect(GetDlgItem(dialog, id), &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    const struct { int x, y; bool kept; } kPlaces[] = {{60, 40, true}, {-5000, -5000, false}};
    SIZE first = {};  // the window as the template makes it: the smallest size counts from it
    for (const auto& place : kPlaces) {
        RECT window = {};
        CPathDlg dialog;
        RunChooser(dialog, {[&](HWND shown) {
            GetWindowRect(shown, &window);
            if (!first.cx) first = {window.right - window.left, window.bottom - window.top};
            const RECT list = clientRect(shown, IDC_PATHDLG_LIST), ok = clientRect(shown, IDOK);
            SetWindowPos(shown, nullptr, place.x, place.y, window.right - window.left + 40,
                         window.bottom - window.top + 30, SWP_NOZORDER);
            const RECT grown = clientRect(shown, IDC_PATHDLG_LIST), moved = clientRect(shown, IDOK);
            EXPECT_EQ(std::tuple(grown.right - grown.left, grown.bottom - grown.top, moved.left, moved.top),
                      std::tuple(list.right - list.left + 40, list.bottom - list.top + 30, ok.left + 40, ok.top))
                << place.x;
            RECT small = {0, 0, 10, 10};
            SendMessageA(shown, WM_SIZING, WMSZ_BOTTOMRIGHT, (LPARAM)&small);
            EXPECT_EQ(std::pair(small.right, small.bottom), std::pair(first.cx - 100, first.cy - 300));
            Press(shown, IDCANCEL);
            return true;
        }});
        CPathDlg again;
        RunChooser(again, {[&](HWND shown) {
                               RECT now;
                               GetWindowRect(shown, &now);
                               EXPECT_EQ(now.left == place.x && now.top == place.y, place.kept) << place.x;
                               return true;
                           },
                           Pressing(IDCANCEL)});
    }
}

TEST_F(PathDlgTest, KeepsSixteenChosenPathsNewestFirst) {
    ViewSettings views(0, 0);
    const std::string key = "#Software\\WertlaufTests\\PathDlg" + std::to_string(GetCurrentProcessId()) + "\\Ziel";
    for (int i = 0; i < 17; ++i) {
        char folder[32];
        wsprintfA(folder, "\\Viele\\Ordner %04d", i);
        CPathDlg dialog;
        dialog.SetPath((m_root + folder).c_str());
        ASSERT_EQ(RunChooser(dialog, {Listed(dialog), Pressing(IDOK)}, key.c_str(), 1), IDOK);
    }
    char data[8192] = {};
    DWORD size = sizeof data - 2;
    const std::string path = key.substr(1, key.rfind('\\') - 1);
    ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, path.c_str(), "ZielLast", RRF_RT_REG_MULTI_SZ, nullptr, data, &size), 0);
    std::vector<std::string> stored;
    for (const char* p = data; *p; p += strlen(p) + 1) stored.push_back(p);
    ASSERT_EQ(stored.size(), 16u);
    EXPECT_EQ(std::pair(stored.front(), stored.back()),
              std::pair(m_root + "\\Viele\\Ordner 0016", m_root + "\\Viele\\Ordner 0001"));
    RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str());
}

TEST_F(PathDlgTest, ADriveRootIsChosenAndCancelWhileListingReturnsAtOnce) {
    ViewSettings views(0, 0);
    CPathDlg rootDialog;
    rootDialog.SetPath("C:\\");
    ASSERT_EQ(RunChooser(rootDialog, {Listed(rootDialog), Pressing(IDOK)}), IDOK);
    // Callers append "\..." to the first form.
    EXPECT_EQ(std::pair(Path(rootDialog.GetPath(0)), Path(rootDialog.GetPath(1))),
              std::pair(std::string("C:"), std::string("C:\\")));

    CPathDlg dialog;
    dialog.SetPath((m_root + "\\Viele").c_str());
    DWORD cancelled = 0;
    ASSERT_EQ(RunChooser(dialog, {[&](HWND) { return dialog.GetListedCount() > 0; },
                                  [&](HWND shown) {
                                      cancelled = GetTickCount();
                                      // An OK handled while the worker stops does not end it again.
                                      PostMessageA(shown, WM_COMMAND, IDOK, 0);
                                      SendMessageA(shown, WM_COMMAND, IDCANCEL, 0);
                                      return true;
                                  }}),
              IDCANCEL);
    EXPECT_LT(GetTickCount() - cancelled, Bound(1000));
}

}  // namespace
