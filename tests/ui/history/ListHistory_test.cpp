#include "ui/history/ListHistory.h"

#include "tests/ui/UiTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using uitest::TestParent;

namespace {

std::vector<std::string> Entries(HWND hwnd, bool listBox) {
    return listBox ? uitest::ListEntries(hwnd) : uitest::ComboEntries(hwnd);
}

void Add(HWND hwnd, bool listBox, std::initializer_list<const char*> texts) {
    for (const char* t : texts)
        SendMessageA(hwnd, listBox ? LB_ADDSTRING : CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t));
}

}  // namespace

TEST(ListHistory, InsertMovesAnEqualEntryToTheTop) {
    TestParent parent;
    HWND combo = parent.AddCombo(1);
    Add(combo, false, {"a", "b", "c"});
    EXPECT_EQ(InsertListHistoryString(combo, "b", 16, TRUE), 0);
    EXPECT_EQ(Entries(combo, false), (std::vector<std::string>{"b", "a", "c"}));
    // Case-insensitive removes "A" as a duplicate of "a"; case-sensitive keeps it.
    InsertListHistoryString(combo, "A", 16, TRUE);
    EXPECT_EQ(Entries(combo, false), (std::vector<std::string>{"A", "b", "a", "c"}));
    InsertListHistoryString(combo, "a", 16, FALSE);
    EXPECT_EQ(Entries(combo, false), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), CB_ERR);  // no selection, none made
}

TEST(ListHistory, InsertCapsTheListAndKeepsASelectionOnTop) {
    TestParent parent;
    HWND list = parent.AddChild("LISTBOX", 2, WS_BORDER, 0, 10, 10, 200, 200);
    for (int i = 0; i < 20; ++i) {
        std::string t = "eintrag " + std::to_string(i);
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t.c_str()));
    }
    SendMessageA(list, LB_SETCURSEL, 7, 0);
    InsertListHistoryString(list, "neu", 5, TRUE);
    auto entries = Entries(list, true);
    ASSERT_EQ(entries.size(), 6u);
    EXPECT_EQ(entries[0], "neu");
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 0);

    // Entries longer than the short buffer compare in full.
    std::string longText(400, 'x');
    std::string longOther = longText + "y";
    Add(list, true, {longText.c_str(), longOther.c_str()});
    InsertListHistoryString(list, longText.c_str(), 100, TRUE);
    entries = Entries(list, true);
    EXPECT_EQ(std::count(entries.begin(), entries.end(), longText), 1);
    EXPECT_EQ(std::count(entries.begin(), entries.end(), longOther), 1);
}

TEST(ListHistory, FillSplitsDelimitedAndMultiStringText) {
    TestParent parent;
    HWND combo = parent.AddCombo(1);
    EXPECT_EQ(FillListFromText(combo, "eins;;zwei;drei", ';', FALSE), 3);
    EXPECT_EQ(Entries(combo, false), (std::vector<std::string>{"eins", "zwei", "drei"}));
    const char multi[] = "x\0y\0\0z\0";
    EXPECT_EQ(FillListFromText(combo, multi, 0, TRUE), 2);  // stops at the double NUL
    EXPECT_EQ(Entries(combo, false), (std::vector<std::string>{"x", "y"}));
    std::string longPiece(300, 'q');
    EXPECT_EQ(FillListFromText(combo, longPiece.c_str(), ';', TRUE), 1);
    EXPECT_EQ(Entries(combo, false)[0].size(), 255u);
    EXPECT_EQ(FillListFromText(combo, nullptr, ';', FALSE), 0);
}

TEST(ListHistory, FillRestoresTheSelection) {
    TestParent parent;
    HWND list = parent.AddChild("LISTBOX", 2, WS_BORDER, 0, 10, 10, 200, 200);
    Add(list, true, {"a", "b", "c"});
    SendMessageA(list, LB_SETCURSEL, 2, 0);
    FillListFromText(list, "d", ',', FALSE);
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 2);
    FillListFromText(list, "e,f", ',', TRUE);
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(Entries(list, true), (std::vector<std::string>{"e", "f"}));
}
