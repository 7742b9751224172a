#include "ui/filedialog/FileDialogExtCompletion.h"

#include "tests/ui/filedialog/FileDialogTestSupport.h"
#include "ui/popup/PopupList.h"
#include "tests/ui/UiTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

using uitest::TempFolder;
using uitest::ListEntries;
using uitest::TestParent;

namespace {

// Pumps messages until done() holds (at most 20 s), then dispatches what that queued.
bool PumpUntilSettled(const std::function<bool()>& done) {
    if (!PumpUntil(done, 20000)) return false;
    PumpQueued();
    return true;
}

int ReadyCommands(const TestParent& dialog) {
    int n = 0;
    for (const auto& c : dialog.Commands(1408)) n += c.code == FILE_COMPLETION_READY;
    return n;
}

struct Suggestions {
    TestParent dialog;
    HWND popup;
    FileCompletion completion;
    Suggestions() {
        RECT r = {50, 50, 300, 200};
        popup = CreatePopupList(0, WS_BORDER, &r, dialog.hwnd, 1408);
        EXPECT_TRUE(completion.Start(dialog.hwnd, popup, 1408));
    }
    ~Suggestions() {
        completion.Stop(2000);
        DestroyWindow(popup);
    }
};

}  // namespace

TEST(FileDialogExtCompletion, OffersMatchingNamesOfTheCurrentFolder) {
    TempFolder folder("complete");
    for (const char* name : {"abc.txt", "Abd.txt", "xyz.txt"}) folder.Add(name);
    folder.AddFolder("ab");
    Suggestions s;
    s.completion.SetFolder(folder.path.c_str());
    ASSERT_TRUE(PumpUntilSettled([&] { return s.completion.NamesRead() == 4; }));
    s.completion.SetText("aB");
    ASSERT_TRUE(PumpUntilSettled([&] { return SendMessageA(s.popup, LB_GETCOUNT, 0, 0) == 3; }));
    EXPECT_EQ(ListEntries(s.popup), (std::vector<std::string>{"ab", "abc.txt", "Abd.txt"}));
    EXPECT_EQ(ReadyCommands(s.dialog), 1);

    // A new text starts over; one that matches nothing leaves the list empty.
    s.completion.SetText("x");
    ASSERT_TRUE(PumpUntilSettled([&] { return ListEntries(s.popup) == std::vector<std::string>{"xyz.txt"}; }));
    s.completion.SetText("q");
    ASSERT_TRUE(PumpUntilSettled([&] { return SendMessageA(s.popup, LB_GETCOUNT, 0, 0) == 0; }));

    // Typed text beyond the bound is cut, never overruns.
    s.completion.SetText(std::string(1000, 'a').c_str());
    Sleep(50);
    PumpQueued();
    EXPECT_EQ(s.completion.NamesPosted(), 0);

    // Another folder: the names are read again and the typed text is gone.
    TempFolder other("complete2");
    other.Add("abend.txt");
    s.completion.SetFolder(other.path.c_str());
    ASSERT_TRUE(PumpUntilSettled([&] { return s.completion.NamesRead() == 1; }));
    Sleep(50);
    PumpQueued();
    EXPECT_EQ(SendMessageA(s.popup, LB_GETCOUNT, 0, 0), 0);
    s.completion.SetText("a");
    ASSERT_TRUE(PumpUntilSettled([&] { return ListEntries(s.popup) == std::vector<std::string>{"abend.txt"}; }));

    // The worker ends within the bound even while it waits for work.
    Sleep(100);
    EXPECT_TRUE(s.completion.Stop(2000));
    EXPECT_FALSE(s.completion.IsRunning());
}

TEST(FileDialogExtCompletion, LargeFolderOffersAtMostAHundredOfTheFirstTwoThousandNames) {
    TempFolder folder("large");
    for (int i = 0; i < 5000; ++i) {
        char name[16];
        wsprintfA(name, "n%04d.txt", i);
        folder.Add(name);
    }
    Suggestions s;
    s.completion.SetFolder(folder.path.c_str());
    s.completion.SetText("N");
    ASSERT_TRUE(PumpUntilSettled([&] { return s.completion.NamesPosted() == FILE_COMPLETION_MAX_SHOWN; }));
    ASSERT_TRUE(PumpUntilSettled([&] { return s.completion.NamesRead() == FILE_COMPLETION_MAX_NAMES; }));
    Sleep(300);  // a worker that kept reading or posting would show it now
    PumpQueued();
    EXPECT_EQ(std::tuple(s.completion.NamesRead(), s.completion.NamesPosted(), ReadyCommands(s.dialog)),
              std::tuple(FILE_COMPLETION_MAX_NAMES, FILE_COMPLETION_MAX_SHOWN, 1));
    EXPECT_EQ(SendMessageA(s.popup, LB_GETCOUNT, 0, 0), FILE_COMPLETION_MAX_SHOWN);
    EXPECT_TRUE(s.completion.Stop(2000));
}
