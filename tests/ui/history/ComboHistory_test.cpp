#include "ui/history/ComboHistory.h"

#include "system/Registry.h"
#include "tests/ui/UiTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using uitest::TestParent;
using uitest::UniqueTestKey;
using uitest::WindowText;
using uitest::ComboEntries;
using uitest::TestKey;

namespace {

void Add(HWND combo, std::initializer_list<const char*> texts) {
    for (const char* t : texts) SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t));
}

using namespace std::string_literals;

}  // namespace

TEST(ComboHistory, SaveWritesTheEditTextFirstAndSkipsEmptyAndEqualEntries) {
    TestKey key("ComboSave");
    TestParent dialog;
    HWND combo = dialog.AddCombo(1016);
    Add(combo, {"x", "y", "", "z"});
    SetWindowTextA(combo, "x");
    EXPECT_EQ(SaveComboHistory(dialog.hwnd, 1016, "Paths", key.path.c_str()), 3);
    EXPECT_EQ(key.Raw("Paths"), "x\0y\0z\0\0"s);
    EXPECT_EQ(ComboEntries(combo), (std::vector<std::string>{"x", "y", "z"}));  // refilled in the new order
    EXPECT_EQ(WindowText(combo), "x");

    SetWindowTextA(combo, "neu");
    EXPECT_EQ(SaveComboHistory(dialog.hwnd, 1016, "Paths", key.path.c_str()), 4);
    EXPECT_EQ(key.Raw("Paths"), "neu\0x\0y\0z\0\0"s);
}

TEST(ComboHistory, EmptyTextIsSavedOnlyWithTheStarPrefix) {
    TestKey key("ComboEmpty");
    TestParent dialog;
    HWND combo = dialog.AddCombo(1016);
    Add(combo, {"a", "b"});
    EXPECT_EQ(SaveComboHistory(dialog.hwnd, 1016, "Paths", key.path.c_str()), 0);
    EXPECT_EQ(key.Raw("Paths"), "<missing>");
    EXPECT_EQ(SaveComboHistory(dialog.hwnd, 1016, "*Paths", key.path.c_str()), 2);
    EXPECT_EQ(key.Raw("Paths"), "\x02\0a\0b\0\0"s);
    // Read back under the same name, or without the prefix, the empty text costs no entry.
    for (const char* name : {"*Paths", "Paths", "*#Paths"}) {
        HWND fresh = dialog.AddCombo(1017, CBS_DROPDOWN | CBS_AUTOHSCROLL, 0, 100);
        CString first("vorher");
        EXPECT_EQ(LoadComboHistory(dialog.hwnd, 1017, name, key.path.c_str(), &first), 2) << name;
        EXPECT_STREQ(first, "") << name;
        EXPECT_EQ(ComboEntries(fresh), (std::vector<std::string>{"a", "b"})) << name;
        DestroyWindow(fresh);
    }
    // A selected entry stands in for an empty edit text.
    SendMessageA(combo, CB_SETCURSEL, 1, 0);
    SetWindowTextA(combo, "");
    SendMessageA(combo, CB_SETCURSEL, 1, 0);
    EXPECT_EQ(SaveComboHistory(dialog.hwnd, 1016, "Sel", key.path.c_str()), 2);
    EXPECT_EQ(key.Raw("Sel"), "b\0a\0\0"s);
}

TEST(ComboHistory, AtMostSixteenEntriesAreSaved) {
    TestKey key("ComboCap");
    TestParent dialog;
    HWND combo = dialog.AddCombo(1016);
    for (int i = 0; i < 30; ++i) {
        std::string t = "eintrag" + std::to_string(100 + i);
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t.c_str()));
    }
    SetWindowTextA(combo, "oben");
    EXPECT_EQ(SaveComboHistory(dialog.hwnd, 1016, "Paths", key.path.c_str()), 16);
    EXPECT_EQ(ComboEntries(combo).size(), 16u);
}

TEST(ComboHistory, MarkedValuesRoundTripWithAndWithoutTheHashPrefix) {
    TestKey key("ComboMarked");
    TestParent dialog;
    HWND source = dialog.AddCombo(1, CBS_DROPDOWN | CBS_AUTOHSCROLL, 0, 10);
    Add(source, {"b", "c"});
    SetWindowTextA(source, "a");
    EXPECT_EQ(SaveComboHistory(dialog.hwnd, 1, "#Paths", key.path.c_str()), 3);
    EXPECT_EQ(key.Raw("Paths"), "\x02" "a\0a\0b\0c\0\0"s);

    HWND marked = dialog.AddCombo(2, CBS_DROPDOWN | CBS_AUTOHSCROLL, 0, 50);
    Add(marked, {"alt"});
    CString first;
    EXPECT_EQ(LoadComboHistory(dialog.hwnd, 2, "#Paths", key.path.c_str(), &first), 3);
    EXPECT_STREQ(first, "a");
    EXPECT_EQ(WindowText(marked), "a");
    EXPECT_EQ(ComboEntries(marked), (std::vector<std::string>{"a", "b", "c"}));

    HWND plain = dialog.AddCombo(3, CBS_DROPDOWN | CBS_AUTOHSCROLL, 0, 90);
    Add(plain, {"alt"});
    EXPECT_EQ(LoadComboHistory(dialog.hwnd, 3, "Paths", key.path.c_str(), &first), 3);
    EXPECT_STREQ(first, "a");
    EXPECT_EQ(ComboEntries(plain), (std::vector<std::string>{"a", "b", "c"}));
}

TEST(ComboHistory, MissingOrForeignValuesLeaveTheComboAlone) {
    TestKey key("ComboMissing");
    TestParent dialog;
    HWND combo = dialog.AddCombo(1016);
    Add(combo, {"bleibt"});
    CString first("vorher");
    EXPECT_EQ(LoadComboHistory(dialog.hwnd, 1016, "Paths", key.path.c_str(), &first), 0);
    EXPECT_STREQ(first, "vorher");
    key.Put("Text", "kein multi", REG_SZ);
    EXPECT_EQ(LoadComboHistory(dialog.hwnd, 1016, "Text", key.path.c_str(), &first), 0);
    EXPECT_EQ(ComboEntries(combo), (std::vector<std::string>{"bleibt"}));

    // Stored data without any terminator is read within its size.
    key.Put("Raw", "ohne Ende");
    EXPECT_EQ(LoadComboHistory(dialog.hwnd, 1016, "Raw", key.path.c_str(), &first), 1);
    EXPECT_STREQ(first, "ohne Ende");
    EXPECT_EQ(ComboEntries(combo), (std::vector<std::string>{"ohne Ende"}));

    CRegistry closed;
    EXPECT_EQ(LoadComboHistoryFromKey(dialog.hwnd, 1016, "Raw", closed, &first), 0);
    EXPECT_EQ(SaveComboHistoryToKey(dialog.hwnd, 1016, "Raw", closed), 0);
}

TEST(ComboHistory, HashKeyPathMeansTheApplicationsOwnKey) {
    TestKey key("ComboApp");
    std::string appName = key.path.substr(key.path.rfind('\\') + 1);
    SetRegistryAppKey("WertlaufTest", appName.c_str());
    TestParent dialog;
    HWND combo = dialog.AddCombo(1016);
    Add(combo, {"C:\\Alt"});
    SetWindowTextA(combo, "C:\\Fragen");
    EXPECT_EQ(SaveComboHistory(dialog.hwnd, 1016, "HtmlPaths", "#"), 2);
    EXPECT_EQ(key.Raw("HtmlPaths"), "C:\\Fragen\0C:\\Alt\0\0"s);
    EXPECT_EQ(SaveComboHistory(dialog.hwnd, 1016, "HtmlPaths", "#Unter"), 2);
    EXPECT_NE(RegGetValueA(HKEY_CURRENT_USER, (key.path + "\\Unter").c_str(), "HtmlPaths", RRF_RT_ANY, nullptr,
                           nullptr, nullptr),
              ERROR_FILE_NOT_FOUND);

    HWND fresh = dialog.AddCombo(1017, CBS_DROPDOWN | CBS_AUTOHSCROLL, 0, 100);
    CString newest;
    EXPECT_EQ(LoadComboHistory(dialog.hwnd, 1017, "HtmlPaths", "#", &newest), 2);
    EXPECT_STREQ(newest, "C:\\Fragen");
    EXPECT_EQ(ComboEntries(fresh), (std::vector<std::string>{"C:\\Fragen", "C:\\Alt"}));
}
