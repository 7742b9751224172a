#include "ui/filedialog/FileDialogExtInternal.h"

#include "tests/ui/filedialog/FileDialogTestSupport.h"
#include "tests/ui/UiTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using uitest::TempFolder;
using uitest::TestParent;
using uitest::UniqueTestKey;
using uitest::ComboEntries;
using uitest::RawMultiString;

namespace {

using namespace std::string_literals;

}  // namespace

TEST(FileDialogExtHistory, ValueNamesFollowTheFileType) {
    EXPECT_EQ(OfnHistoryValueName("txt"), "OfnListTxt");
    EXPECT_EQ(OfnHistoryValueName("bmp"), "OfnListBmp");
    EXPECT_EQ(OfnHistoryValueName(""), "OfnList");
    EXPECT_EQ(OfnHistoryValueName(nullptr), "OfnList");
    EXPECT_EQ(OfnHistoryValueName("*.JPEG"), "OfnListJpeg");
    EXPECT_EQ(OfnHistoryValueName("a.b?Html"), "OfnListHtml");
    EXPECT_EQ(OfnHistoryValueName("abcdefghijklmnopqrstuvwxyz"), "OfnListAbcdefghijklmnopqrstuvwx");
}

TEST(FileDialogExtHistory, LocationsPerMode) {
    HistoryLocation plain = ResolveHistoryLocation(OFNX_HISTORY_FOLDERS, "txt", nullptr, nullptr);
    EXPECT_EQ(plain.keyPath, "Software\\VQ\\Common\\OfnList");
    EXPECT_EQ(plain.valueName, "OfnListTxt");
    EXPECT_TRUE(plain.writable);

    HistoryLocation app = ResolveHistoryLocation(OFNX_HISTORY_PATHS, "bmp", "VQ", "Wertlauf");
    EXPECT_EQ(app.keyPath, "Software\\VQ\\Wertlauf");
    EXPECT_EQ(app.valueName, "OfnListBmp");

    // A profile name alone counts only when its key exists.
    std::string key = UniqueTestKey("OfnProfile");
    std::string name = "WlProfile" + std::to_string(GetCurrentProcessId());
    std::string vqKey = "Software\\VQ\\" + name;
    EXPECT_EQ(ResolveHistoryLocation(0, "", nullptr, name.c_str()).keyPath, "Software\\VQ\\Common\\OfnList");
    HKEY created;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, vqKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &created,
                              nullptr),
              ERROR_SUCCESS);
    RegCloseKey(created);
    EXPECT_EQ(ResolveHistoryLocation(0, "", nullptr, name.c_str()).keyPath, vqKey);
    RegDeleteTreeA(HKEY_CURRENT_USER, vqKey.c_str());

    HistoryLocation keyed = ResolveHistoryLocation(OFNX_HISTORY_KEYED, "Software\\Test\\Dialogs\\Bilder", "VQ", "x");
    EXPECT_EQ(keyed.keyPath, "Software\\Test\\Dialogs");
    EXPECT_EQ(keyed.valueName, "Bilder");
    HistoryLocation longName =
        ResolveHistoryLocation(0x50000000, "K\\abcdefghijklmnopqrstuvwxyz0123456789", nullptr, nullptr);
    EXPECT_EQ(longName.keyPath, "K");
    EXPECT_EQ(longName.valueName, "abcdefghijklmnopqrstuvwxyz012345") << "32 characters are kept whole";
    EXPECT_FALSE(ResolveHistoryLocation(0x60000000, "K\\V", nullptr, nullptr).writable);
    EXPECT_FALSE(ResolveHistoryLocation(OFNX_HISTORY_READONLY, "txt", nullptr, nullptr).writable);
    EXPECT_TRUE(ResolveHistoryLocation(OFNX_HISTORY_CALLER_LIST, "", nullptr, nullptr).callerList);
    EXPECT_TRUE(ResolveHistoryLocation(OFNX_HISTORY_OFF, "", nullptr, nullptr).none);
}

TEST(FileDialogExtHistory, CandidatePathsPerMode) {
    TempFolder folder("candidate");
    std::string file = folder.Add("spiel.txt");
    std::string sub = folder.AddFolder("Fragen");
    std::string missing = folder.path + "\\neu.txt";
    std::string out;
    bool isFolder = false;

    // Folders mode: a file is cut back to its folder, a folder gets its separator.
    ASSERT_TRUE(HistoryCandidate(file.c_str(), OFNX_HISTORY_FOLDERS, false, out, isFolder));
    EXPECT_EQ(out, folder.path + "\\");
    EXPECT_TRUE(isFolder);
    ASSERT_TRUE(HistoryCandidate((sub + "\\").c_str(), OFNX_HISTORY_FOLDERS, false, out, isFolder));
    EXPECT_EQ(out, sub + "\\");
    ASSERT_TRUE(HistoryCandidate(missing.c_str(), OFNX_HISTORY_FOLDERS, false, out, isFolder));
    EXPECT_EQ(out, folder.path + "\\");
    EXPECT_FALSE(HistoryCandidate((folder.path + "\\fehlt\\x.txt").c_str(), 0, false, out, isFolder));
    EXPECT_FALSE(HistoryCandidate("", 0, false, out, isFolder));

    // Paths mode: what exists, and in a save dialog any name.
    ASSERT_TRUE(HistoryCandidate(file.c_str(), OFNX_HISTORY_PATHS, false, out, isFolder));
    EXPECT_EQ(out, file);
    EXPECT_FALSE(isFolder);
    EXPECT_FALSE(HistoryCandidate(missing.c_str(), OFNX_HISTORY_PATHS, false, out, isFolder));
    ASSERT_TRUE(HistoryCandidate(missing.c_str(), OFNX_HISTORY_PATHS, true, out, isFolder));
    EXPECT_EQ(out, missing);
    // The keyed modes follow the same rules by their low bits.
    ASSERT_TRUE(HistoryCandidate(file.c_str(), 0x50000000, false, out, isFolder));
    EXPECT_EQ(out, file);

    EXPECT_FALSE(HistoryCandidate(file.c_str(), OFNX_HISTORY_READONLY, false, out, isFolder));
    EXPECT_FALSE(HistoryCandidate(file.c_str(), 0x60000000, false, out, isFolder));

    // Caller's list: files only.
    ASSERT_TRUE(HistoryCandidate(file.c_str(), OFNX_HISTORY_CALLER_LIST, false, out, isFolder));
    EXPECT_EQ(out, file);
    EXPECT_FALSE(HistoryCandidate(sub.c_str(), OFNX_HISTORY_CALLER_LIST, false, out, isFolder));
}

TEST(FileDialogExtHistory, CaptionBeforeTheFilter) {
    std::string caption;
    const char* rest = nullptr;
    const char filter[] = "Bilder@Bitmaps\0*.bmp\0\0";
    ASSERT_TRUE(SplitFilterCaption(filter, caption, &rest));
    EXPECT_EQ(caption, "Bilder");
    EXPECT_STREQ(rest, "Bitmaps");
    EXPECT_FALSE(SplitFilterCaption("Text\0*.txt\0", caption, &rest));
    EXPECT_FALSE(SplitFilterCaption(nullptr, caption, &rest));
}

TEST(FileDialogExtHistory, RegistryRoundTripWithItsLimits) {
    std::string key = UniqueTestKey("OfnList");
    HistoryLocation where = ResolveHistoryLocation(OFNX_HISTORY_KEYED, (key + "\\OfnList").c_str(), nullptr, nullptr);
    TestParent dialog;
    HWND combo = dialog.AddCombo(1152);
    // 20 entries: 16 are written, and the one that would pass 4,096 bytes is skipped.
    std::string big(3000, 'g');
    for (int i = 0; i < 20; ++i) {
        std::string entry = i == 2 ? big : i == 3 ? std::string(1200, 'h') : "C:\\Ordner" + std::to_string(i) + "\\";
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    }
    ASSERT_TRUE(SaveOfnHistory(combo, where));
    std::string raw = RawMultiString(key, "OfnList");
    ASSERT_NE(raw, "<missing>");
    EXPECT_LE(raw.size(), 4096u);
    EXPECT_NE(raw.find(big), std::string::npos);
    EXPECT_EQ(raw.find(std::string(1200, 'h')), std::string::npos);
    EXPECT_NE(raw.find("C:\\Ordner15\\"), std::string::npos);
    EXPECT_EQ(raw.find("C:\\Ordner16\\"), std::string::npos);
    EXPECT_EQ(raw.substr(raw.size() - 2), "\0\0"s);

    HWND loaded = dialog.AddCombo(1153, CBS_DROPDOWN | CBS_AUTOHSCROLL, 0, 100);
    EXPECT_EQ(LoadOfnHistory(loaded, where, nullptr), 15);
    EXPECT_EQ(ComboEntries(loaded).front(), "C:\\Ordner0\\");

    // Read-only modes write nothing.
    HistoryLocation readOnly = where;
    readOnly.writable = false;
    EXPECT_FALSE(SaveOfnHistory(combo, readOnly));

    // At most 32 entries are loaded.
    std::string many;
    for (int i = 0; i < 40; ++i) {
        many += 'e';
        many += std::to_string(i);
        many += '\0';
    }
    many += '\0';
    HKEY handle;
    RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_SET_VALUE, &handle);
    RegSetValueExA(handle, "Many", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(many.data()),
                   static_cast<DWORD>(many.size()));
    RegCloseKey(handle);
    HistoryLocation manyWhere = where;
    manyWhere.valueName = "Many";
    HWND third = dialog.AddCombo(1154, CBS_DROPDOWN | CBS_AUTOHSCROLL, 0, 150);
    EXPECT_EQ(LoadOfnHistory(third, manyWhere, nullptr), 32);

    // The caller's own list.
    HistoryLocation callerWhere = ResolveHistoryLocation(OFNX_HISTORY_CALLER_LIST, "", nullptr, nullptr);
    HWND fourth = dialog.AddCombo(1155, CBS_DROPDOWN | CBS_AUTOHSCROLL, 0, 200);
    const char list[] = "D:\\eins.txt\0D:\\zwei.txt\0\0";
    EXPECT_EQ(LoadOfnHistory(fourth, callerWhere, list), 2);
    EXPECT_FALSE(SaveOfnHistory(fourth, callerWhere));
    RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
}

TEST(FileDialogExtHistory, PuttingOnTopMovesEqualEntries) {
    TestParent dialog;
    HWND combo = dialog.AddCombo(1152);
    for (const char* e : {"C:\\a\\", "C:\\b\\", "C:\\c\\"})
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(e));
    PutOnTopOfHistory(combo, "C:\\c\\", true);
    EXPECT_EQ(ComboEntries(combo), (std::vector<std::string>{"C:\\c\\", "C:\\a\\", "C:\\b\\"}));
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 0);
    PutOnTopOfHistory(combo, "C:\\c\\", true);  // already on top: nothing changes
    EXPECT_EQ(ComboEntries(combo).size(), 3u);
    PutOnTopOfHistory(combo, "C:\\neu.txt", false);
    EXPECT_EQ(ComboEntries(combo).front(), "C:\\neu.txt");
    EXPECT_EQ(ComboEntries(combo).size(), 4u);
}
