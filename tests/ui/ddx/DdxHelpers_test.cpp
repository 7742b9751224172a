#include "ui/ddx/DdxHelpers.h"

#include "ui/filedialog/FileDialogTestSupport.h"
#include "ui/UiTestSupport.h"

#include <gtest/gtest.h>

namespace {

using uitest::WindowText;
using Texts = std::vector<std::string>;

// A window with the controls under test; `Exchange` runs one exchange in either direction and answers the
// complaints that come up meanwhile.
class DdxWindow {
public:
    uitest::TestParent parent{420, 360};
    CWnd owner;
    int complaints = 0;
    std::string complaint;

    DdxWindow() { owner.Attach(parent.hwnd); }
    ~DdxWindow() { owner.Detach(); }

    HWND Edit(int id, const char* text = "") {
        HWND edit = parent.AddEdit(id, ES_AUTOHSCROLL, 10 + 26 * (id % 12));
        SetWindowTextA(edit, text);
        return edit;
    }
    HWND Label(int id) { return parent.AddChild("STATIC", id, SS_LEFT); }

    template <typename F>
    bool Exchange(BOOL save, F&& f) {
        Current() = this;
        const UINT_PTR timer = SetTimer(nullptr, 0, 20, &AnswerComplaint);
        CDataExchange dx(&owner, save);
        f(&dx);
        KillTimer(nullptr, timer);
        Current() = nullptr;
        return !dx.Failed();
    }

private:
    static DdxWindow*& Current() {
        static DdxWindow* current = nullptr;
        return current;
    }
    static void CALLBACK AnswerComplaint(HWND, UINT, UINT_PTR, DWORD) {
        HWND box = uitest::DialogDriver::FindDialog();
        if (!box) return;
        Current()->complaint = WindowText(GetDlgItem(box, 0xFFFF));
        ++Current()->complaints;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
};

// The texts of the window's controls `ids`.
Texts TextsOf(const DdxWindow& w, std::initializer_list<int> ids) {
    Texts out;
    for (int id : ids) out.push_back(WindowText(GetDlgItem(w.parent.hwnd, id)));
    return out;
}

}  // namespace

TEST(DdxHelpers, NumbersReadBackBeyond32BitsAndOutOfRangeTextFailsWithoutStoring) {
    DdxWindow w;
    w.Edit(1, "3000000000");
    w.Edit(2, "12 345 678 901,5");
    w.Edit(3, "1000000000");
    w.Edit(4, "99999999999999999999");
    unsigned u = 0;
    double d = 0;
    EXPECT_TRUE(w.Exchange(TRUE, [&](CDataExchange* dx) {
        DDX_UIntText(dx, 1, &u);
        DDX_Double(dx, 2, &d, 2);
    }));
    EXPECT_EQ(u, 3000000000u);
    EXPECT_DOUBLE_EQ(d, 12345678901.5);
    EXPECT_EQ(w.complaints, 0);

    int i = 5;
    float f = 1.0f;
    double big = 2.0;
    EXPECT_FALSE(w.Exchange(TRUE, [&](CDataExchange* dx) { DDX_IntText(dx, 1, &i); }));
    EXPECT_FALSE(w.Exchange(TRUE, [&](CDataExchange* dx) { DDX_FloatScaled(dx, 3, &f, 0, 1e-30); }));
    EXPECT_FALSE(w.Exchange(TRUE, [&](CDataExchange* dx) { DDX_Double(dx, 4, &big, 0); }));
    EXPECT_EQ(std::tuple(i, f, big, w.complaints), std::tuple(5, 1.0f, 2.0, 3));
    EXPECT_EQ(w.complaint, "Der eingegebene Wert liegt außerhalb des zulässigen Bereichs.");
    EXPECT_EQ(GetFocus(), GetDlgItem(w.parent.hwnd, 4));
}

TEST(DdxHelpers, WritersShowGroupedScaledNumbersAndSpareUnchangedFields) {
    DdxWindow w;
    HWND edit = w.Edit(1, "1 234.50");
    SendMessageA(edit, EM_SETSEL, 2, 4);
    double d = 1234.5;
    float f = 0.25f;
    w.Edit(2);
    unsigned u = 4000000000u;
    w.Edit(3);
    EXPECT_TRUE(w.Exchange(FALSE, [&](CDataExchange* dx) {
        DDX_Double(dx, 1, &d, 2);
        DDX_FloatScaled(dx, 2, &f, 1, 100.0);
        DDX_UIntText(dx, 3, &u);
    }));
    DWORD start = 0, end = 0;
    SendMessageA(edit, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    EXPECT_EQ(std::pair(start, end), std::pair(2ul, 4ul));
    EXPECT_EQ(TextsOf(w, {1, 2, 3}), (Texts{"1 234.50", "25.0", "4000000000"}));
    SetWindowTextA(GetDlgItem(w.parent.hwnd, 2), "12,5");
    EXPECT_TRUE(w.Exchange(TRUE, [&](CDataExchange* dx) { DDX_FloatScaled(dx, 2, &f, 1, 100.0); }));
    EXPECT_FLOAT_EQ(f, 0.125f);
}

TEST(DdxHelpers, RangeGroupLabelsEditsAndSelectorFollowTheMode) {
    DdxWindow w;
    const unsigned offered = 0x25;  // modes 0, 2 and 5
    HWND from = w.Edit(10), label1 = w.Label(11), to = w.Edit(12);
    w.Label(13);
    HWND combo = w.parent.AddCombo(14, CBS_DROPDOWNLIST, 0, 200);
    for (const char* entry : {"keine", "gleich", "von bis"}) SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM)entry);
    struct Case {
        int mode, index;
        const char *first, *second;
        bool fromEnabled, toEnabled;
    } cases[] = {{5, 2, "Von :", "Bis :", true, true}, {2, 1, "Wert :", "", true, false},
                 {0, 0, "Wert :", "", false, false}};
    for (const Case& c : cases) {
        int lo = -7, hi = 2147483647, mode = c.mode;
        EXPECT_TRUE(w.Exchange(FALSE, [&](CDataExchange* dx) { DDX_RangeGroup(dx, 10, &lo, &hi, &mode, offered); }));
        EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), c.index) << c.mode;
        EXPECT_EQ(TextsOf(w, {11, 13, 12}), (Texts{c.first, c.second, "2147483647"})) << c.mode;
        EXPECT_EQ(std::pair(IsWindowEnabled(from) != 0, IsWindowEnabled(to) != 0),
                  std::pair(c.fromEnabled, c.toEnabled)) << c.mode;
    }
    SetWindowTextA(from, "12");
    SetWindowTextA(to, "-3");
    SendMessageA(combo, CB_SETCURSEL, 2, 0);
    int lo = 0, hi = 0, mode = 0;
    EXPECT_TRUE(w.Exchange(TRUE, [&](CDataExchange* dx) { DDX_RangeGroup(dx, 10, &lo, &hi, &mode, offered); }));
    EXPECT_EQ(std::tuple(lo, hi, mode, WindowText(label1)), std::tuple(12, -3, 5, "Von :"));
    // A "to" value beyond 32 bits fails the whole group: nothing is stored.
    SetWindowTextA(to, "2147483648");
    SendMessageA(combo, CB_SETCURSEL, 1, 0);
    EXPECT_FALSE(w.Exchange(TRUE, [&](CDataExchange* dx) { DDX_RangeGroup(dx, 10, &lo, &hi, &mode, offered); }));
    EXPECT_EQ(std::pair(hi, mode), std::pair(-3, 5));
}

TEST(DdxHelpers, RangeGroupWithRadioButtonsAndDecimalValues) {
    DdxWindow w;
    w.Edit(20);
    HWND to = w.Edit(21);
    HWND radios[3];
    for (int i = 0; i < 3; ++i) radios[i] = w.parent.AddChild("BUTTON", 22 + i, BS_RADIOBUTTON | (i ? 0 : WS_GROUP));
    double lo = 1.5, hi = 1234.25;
    int mode = 5;
    EXPECT_TRUE(w.Exchange(FALSE, [&](CDataExchange* dx) { DDX_RangeGroupDouble(dx, 20, &lo, &hi, &mode, 0x23, 2); }));
    EXPECT_EQ(TextsOf(w, {20, 21}), (Texts{"1.50", "1 234.25"}));
    EXPECT_EQ(SendMessageA(radios[2], BM_GETCHECK, 0, 0), BST_CHECKED);
    SendMessageA(radios[2], BM_SETCHECK, BST_UNCHECKED, 0);
    SendMessageA(radios[1], BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_TRUE(w.Exchange(TRUE, [&](CDataExchange* dx) { DDX_RangeGroupDouble(dx, 20, &lo, &hi, &mode, 0x23, 2); }));
    EXPECT_EQ(mode, 1);
    EXPECT_FALSE(IsWindowEnabled(to));
}

TEST(DdxHelpers, RangeGroupModesAndSelectorIndices) {
    const unsigned offered = 0x25;
    const int modeOfIndex[] = {0, 2, 5, 0, 0, 0, 0};
    for (int index = 0; index < 7; ++index) EXPECT_EQ(RangeGroupMode(index, offered), modeOfIndex[index]) << index;
    const int indexOfMode[] = {0, 1, 1, 2, 2, 2, 0};
    for (int mode = 0; mode < 7; ++mode) EXPECT_EQ(RangeGroupIndex(mode, offered), indexOfMode[mode]) << mode;
    for (int mode = 0; mode <= 5; ++mode) EXPECT_EQ(RangeGroupMode(RangeGroupIndex(mode, 0x3F), 0x3F), mode);
    EXPECT_EQ(RangeGroupMode(-1, offered), 0);
    EXPECT_EQ(RangeGroupIndex(-1, offered), 0);
}

TEST(DdxHelpers, DatesAndTimesThroughCTimeChangeOnlyTheirPart) {
    DdxWindow w;
    HWND both = w.Edit(30), date = w.Edit(31), time = w.Edit(32);
    CTime t(2024, 3, 5, 9, 5, 7);
    EXPECT_TRUE(w.Exchange(FALSE, [&](CDataExchange* dx) {
        DDX_DateTimeCTime(dx, 30, &t, 3);  // German weekday, no seconds
        DDX_DateCTime(dx, 31, &t, 0);
        DDX_TimeCTime(dx, 32, &t, FALSE);
    }));
    EXPECT_EQ(TextsOf(w, {30, 31, 32}), (Texts{"Di 5.März 2024 09:05", "5.März 2024", "09:05:07"}));
    SetWindowTextA(date, "2023-02-01");
    EXPECT_TRUE(w.Exchange(TRUE, [&](CDataExchange* dx) { DDX_DateCTime(dx, 31, &t, 0); }));
    EXPECT_EQ(t, CTime(2023, 2, 1, 9, 5, 7));
    SetWindowTextA(time, "23:59:58");
    EXPECT_TRUE(w.Exchange(TRUE, [&](CDataExchange* dx) { DDX_TimeCTime(dx, 32, &t, FALSE); }));
    EXPECT_EQ(t, CTime(2023, 2, 1, 23, 59, 58));
    SetWindowTextA(both, "Fr 1.Dez.2028 10:11:12");
    EXPECT_TRUE(w.Exchange(TRUE, [&](CDataExchange* dx) { DDX_DateTimeCTime(dx, 30, &t, 0); }));
    EXPECT_EQ(t, CTime(2028, 12, 1, 10, 11, 12));
}

// Every month written in either language, with or without the weekday, reads back as itself; a month that
// cannot be read fails with the range message and leaves the date as it was.
TEST(DdxHelpers, DatesReadBackInBothLanguagesAndAnUnreadableMonthFails) {
    DdxWindow w;
    HWND edit = w.Edit(40);
    using Date = std::tuple<int, int, int>;
    for (int format = 0; format < 4; ++format) {
        for (int month = 1; month <= 12; ++month) {
            DateRecord date = {2024, (WORD)month, 5}, back = {};
            w.Exchange(FALSE, [&](CDataExchange* dx) { DDX_DateStruct(dx, 40, &date, format); });
            EXPECT_TRUE(w.Exchange(TRUE, [&](CDataExchange* dx) { DDX_DateStruct(dx, 40, &back, format); }));
            EXPECT_EQ(Date(back.year, back.month, back.day), Date(2024, month, 5)) << WindowText(edit);
        }
    }
    SetWindowTextA(edit, "5.xyz.2024");
    DateRecord kept = {2000, 6, 7};
    EXPECT_FALSE(w.Exchange(TRUE, [&](CDataExchange* dx) { DDX_DateStruct(dx, 40, &kept, 0); }));
    EXPECT_EQ(std::tuple(Date(kept.year, kept.month, kept.day), w.complaints), std::tuple(Date(2000, 6, 7), 1));
    EXPECT_EQ(w.complaint, "Der eingegebene Wert liegt außerhalb des zulässigen Bereichs.");
}

TEST(DdxHelpers, ComboTextAndTextBuffer) {
    DdxWindow w;
    HWND combo = w.parent.AddCombo(40);
    for (const char* entry : {"Alpha", "Beta"}) SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM)entry);
    SetWindowTextA(combo, "frei");
    CString value;
    w.Exchange(TRUE, [&](CDataExchange* dx) { DDX_ComboText(dx, 40, value); });
    EXPECT_STREQ(value, "frei");
    SendMessageA(combo, CB_SETCURSEL, 1, 0);
    w.Exchange(TRUE, [&](CDataExchange* dx) { DDX_ComboText(dx, 40, value); });
    EXPECT_STREQ(value, "Beta");
    value = "Gamma";
    w.Exchange(FALSE, [&](CDataExchange* dx) { DDX_ComboText(dx, 40, value); });
    EXPECT_EQ(WindowText(combo), "Gamma");

    w.Edit(41, "abcdef");
    char buffer[8] = "xxxxxxx";
    w.Exchange(TRUE, [&](CDataExchange* dx) { DDX_TextBuffer(dx, 41, buffer, 4); });
    EXPECT_STREQ(buffer, "abc");
    EXPECT_EQ(buffer[5], 'x');
}
