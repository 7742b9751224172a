// The settings command of Wertlauf.exe, driven from outside: the dialog opens filled from the registry, OK
// writes every value and the folder history, a file instead of a folder is questioned, and the game plays
// its next round by the new settings (read from the screen, so these tests run alone).
#include "tests/game/QuestionFolder.h"
#include "tests/game/SettingsTestSupport.h"
#include "tests/game/serial/GameProcess.h"
#include "tests/support/IdleComPort.h"
#include "tests/support/ScreenPixels.h"
#include "tests/support/WaitUntil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

using namespace gametest;

namespace {

constexpr DWORD kWaitMs = 20000;
const char kProgramKey[] = "Software\\VQ\\Wertlauf";
const char kDialogCaption[] = "Neues Bild erstellen";

std::string ProgramPath() {
    std::string path = std::string("Z:") + WL_WERTLAUF_EXE;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = kWaitMs) { return WaitUntil(done, timeoutMs, 50); }

// Question pages: Main and Game001-Game003, each question 0..1000 with the solution 300 (off the middle,
// where pointers started together from opposite ends and stopped together would tie).
struct Questions : QuestionFolder {
    Questions() {
        WritePage("Main", "<html></html>");
        for (int n = 1; n <= 3; ++n)
            WriteQuestion(n, "<!--MIN 0-->\n<!--MAX 1000-->\n<!--VAL 300-->\n<!--LOG 0-->\n<html></html>");
    }
};

void SetDword(const char* name, DWORD value) {
    RegSetKeyValueA(HKEY_CURRENT_USER, kProgramKey, name, REG_DWORD, &value, sizeof value);
}

DWORD Dword(const char* name) {
    DWORD value = 0xDEADBEEF, size = sizeof value;
    RegGetValueA(HKEY_CURRENT_USER, kProgramKey, name, RRF_RT_REG_DWORD, nullptr, &value, &size);
    return value;
}

// TimeLimith, SingleMode, AutoCount, SameSide, ScaleColor and StarSize as stored.
std::vector<DWORD> StoredSettings() {
    std::vector<DWORD> values;
    for (const char* name : {"TimeLimith", "SingleMode", "AutoCount", "SameSide", "ScaleColor", "StarSize"})
        values.push_back(Dword(name));
    return values;
}

std::string String(const char* name) {
    char text[1024] = {};
    DWORD size = sizeof text;
    RegGetValueA(HKEY_CURRENT_USER, kProgramKey, name, RRF_RT_REG_SZ, nullptr, text, &size);
    return text;
}

std::vector<std::string> History() { return ReadMultiString(kProgramKey, "HtmlPaths"); }

// The program with its settings key prepared and its frame at a known place.
class SettingsEndToEnd : public testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, kProgramKey);
        ASSERT_TRUE(SetComPortSetting(kProgramKey, kIdleComPort));
    }
    // The other tests expect the program's own defaults: the settings written here go again once it has ended.
    void TearDown() override {
        game.Close();
        for (const char* name :
             {"TimeLimith", "SingleMode", "AutoCount", "SameSide", "ScaleColor", "StarSize", "HtmPath", "HtmlPaths"})
            RegDeleteKeyValueA(HKEY_CURRENT_USER, kProgramKey, name);
    }
    void Start() {
        ASSERT_TRUE(game.Start(ProgramPath()));
        SetWindowPos(game.Frame(), nullptr, 0, 0, 900, 700, SWP_NOZORDER);
        ASSERT_TRUE(game.View());
    }
    HWND OpenSettings() {
        game.PostCommand(ID_GAME_SETTINGS);
        return game.WaitForWindow(kDialogCaption, kWaitMs);
    }
    // OK, answered by a dialog that closes; the program stores the settings after that.
    bool Ok(HWND dialog) {
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        return WaitFor([&] { return !IsWindow(dialog); }) && game.WaitIdle(kWaitMs);
    }

    // The view's client area: the board's band is its bottom 200 rows.
    RECT Client() const {
        RECT client = {};
        GetClientRect(game.View(), &client);
        return client;
    }
    int BandTop() const { return Client().bottom - 200; }
    int Width() const { return Client().right; }
    // Colours of the two-row line under the scale ticks.
    std::set<COLORREF> ColourLine() const {
        const int row = BandTop() + 59;
        std::vector<COLORREF> line = ScreenPixels(game.View(), RECT{32, row, Width() - 32, row + 1}, 4);
        return std::set<COLORREF>(line.begin(), line.end());
    }
    // Whether a red or blue pointer stands at an end of the scale (0 left, 1 right).
    bool PointerAt(int end, bool blue) const {
        const int centre = end ? Width() - 32 : 32;
        const RECT area = {centre - 16, BandTop() + 62, centre + 16, BandTop() + 140};  // above the value labels
        for (COLORREF c : ScreenPixels(game.View(), area, 2)) {
            const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
            if (blue ? (b > 150 && r < 100 && g < 100) : (r > 150 && g < 100 && b < 100)) return true;
        }
        return false;
    }
    // The lowest star slot of a player, above the band at the view's edge; empty when it is all one colour.
    bool StarShown(int player) const {
        const int left = player ? Width() - 136 : 0;
        std::vector<COLORREF> slot = ScreenPixels(game.View(), RECT{left, BandTop() - 136, left + 136, BandTop()}, 3);
        return std::any_of(slot.begin(), slot.end(), [&](COLORREF c) { return c != slot.front(); });
    }
    bool TitleHas(const std::string& part) const { return game.Title().find(part) != std::string::npos; }
    // Asks for the next page until it comes: it is refused while a round is still being played.
    bool NextPage(const std::string& page) {
        return WaitFor(
            [&] {
                game.PostCommand(32809);
                Sleep(250);
                return TitleHas(page);
            },
            40000);
    }

    GameProcess game;
};

}  // namespace

TEST_F(SettingsEndToEnd, DialogOpensFromTheRegistryAndTheNextRoundsFollowIt) {
    std::vector<std::string> history;
    for (int i = 0; i < 16; ++i) history.push_back("C:\\Fragen" + std::to_string(i));
    WriteMultiString(kProgramKey, "HtmlPaths", history);
    SetDword("TimeLimith", 90);
    SetDword("AutoCount", 0);
    SetDword("SameSide", 0);
    SetDword("ScaleColor", 1);
    Start();
    // Before: the sample start page next to the program, the pointers at opposite ends, a coloured scale.
    EXPECT_TRUE(WaitFor([&] { return PointerAt(0, false) && PointerAt(1, true) && !PointerAt(0, true); }));
    EXPECT_GT(ColourLine().size(), 10u);

    // The newest folder of the history; a stored limit above a minute shows as a minute.
    HWND dialog = OpenSettings();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(ReadForm(dialog), (SettingsForm{"C:\\Fragen0", "60", false, false, false, true}));

    // Round one: same side, a plain scale, no counting, and a two-second limit that ends the round by itself.
    Questions questions;
    const std::string& folder = questions.Path();
    FillForm(dialog, {folder, "2", false, false, true, false});
    ASSERT_TRUE(Ok(dialog));
    EXPECT_EQ(StoredSettings(), (std::vector<DWORD>{2, 0, 0, 1, 0, 0}));
    EXPECT_EQ(String("HtmPath"), folder);
    history.insert(history.begin(), folder);
    history.pop_back();
    EXPECT_EQ(History(), history);  // newest first, sixteen at most

    ASSERT_TRUE(WaitFor([&] { return TitleHas(folder + "\\Game001"); })) << game.Title();
    EXPECT_TRUE(WaitFor([&] { return ColourLine() == std::set<COLORREF>{RGB(0, 255, 0)}; }));
    EXPECT_TRUE(WaitFor([&] { return PointerAt(0, true) && !PointerAt(1, true); })) << "blue did not start left";
    // Nobody presses a key: the limit stops both players and the solution is shown; no star is counted.
    ASSERT_TRUE(NextPage("Game002")) << game.Title();
    EXPECT_FALSE(StarShown(0));
    EXPECT_FALSE(StarShown(1));

    // Round two: both start together, opposite sides, a coloured scale, counting, no limit.
    dialog = OpenSettings();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(ReadForm(dialog), (SettingsForm{folder, "2", false, false, true, false}));
    FillForm(dialog, {folder, "0", true, true, false, true});
    ASSERT_TRUE(Ok(dialog));
    EXPECT_EQ(StoredSettings(), (std::vector<DWORD>{0, 1, 1, 0, 1, 0}));
    EXPECT_EQ(History(), history);
    // The page of the waiting round is played afresh.
    game.PostCommand(32813);
    game.PostCommand(32809);
    EXPECT_TRUE(WaitFor([&] { return ColourLine().size() > 10; }));
    // The pointers leave their ends by themselves; the keys only stop them.
    ASSERT_TRUE(WaitFor([&] { return !PointerAt(0, false) && !PointerAt(1, true); })) << "the pointers did not start";
    for (UINT key : {VK_F7, VK_F8}) {
        PostMessageA(game.View(), WM_KEYDOWN, key, 0x00410001);
        PostMessageA(game.View(), WM_KEYUP, key, 0xC0410001);
        Sleep(300);
    }
    // Once the solution is shown the next page may come, and the winner has his star.
    ASSERT_TRUE(NextPage("Game003")) << game.Title();
    EXPECT_TRUE(WaitFor([&] { return StarShown(0) || StarShown(1); })) << "the winner got no star";
}

TEST_F(SettingsEndToEnd, FileInsteadOfFolderIsQuestioned) {
    QuestionFolder folder;
    const std::string file = folder.WritePage("Main", "<html></html>");
    Start();
    HWND dialog = OpenSettings();
    ASSERT_TRUE(dialog);
    const SettingsForm entered = {file, "15", false, true, true, true};
    FillForm(dialog, entered);
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    // The question's text, with Cancel as the default button.
    HWND box = game.WaitForWindow("Warnung", kWaitMs);
    ASSERT_TRUE(box);
    EXPECT_TRUE(FindWindowExA(box, nullptr, nullptr,
                              "Bitte ein g\xfcltiges Hintergrundbild ausw\xe4hlen !\n\nTrotzdem \xfc" "bernehmen ?"));
    EXPECT_TRUE(GetWindowLongPtrA(GetDlgItem(box, IDCANCEL), GWL_STYLE) & BS_DEFPUSHBUTTON);

    // Cancel: the dialog stays with what was entered.
    PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }));
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(ReadForm(dialog), entered);
    EXPECT_EQ(Dword("SameSide"), 0xDEADBEEFu);  // nothing written yet

    // OK: taken as it is and remembered.
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    box = game.WaitForWindow("Warnung", kWaitMs);
    ASSERT_TRUE(box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(dialog); }));
    EXPECT_TRUE(game.WaitIdle(kWaitMs));
    EXPECT_EQ(String("HtmPath"), file);
    EXPECT_EQ(History(), std::vector<std::string>{file});
    EXPECT_EQ(Dword("TimeLimith"), 15u);
    // The new "folder" holds no pages: the program says so.
    if (HWND error = game.WaitForWindow("Fehler", kWaitMs)) PostMessageA(error, WM_COMMAND, IDOK, 0);
}
