// The game view in this process, inside the program's own frame, created through a document template as the
// application does; the sample questions lie next to the test program (copied at build time).
#include <gtest/gtest.h>

#include "tests/game/QuestionFolder.h"
#include "tests/support/MessagePump.h"
#include "framework/Framework.h"
#include "game/GameSettingsForm.h"
#include "game/MainFrame.h"
#include "game/ThreadSeams.h"
#include "game/ViewMessageBox.h"
#include "game/WertlaufApp.h"
#include "game/WertlaufDoc.h"
#include "game/WertlaufView.h"
#include "game/sound/WaveOut.h"
#include "res/AppCommands.h"
#include "res/ViewCommands.h"
#include "system/PathFunctions.h"
#include "system/Registry.h"
#include "tests/support/IdleComPort.h"
#include "tests/support/WaitUntil.h"
#include "ui/dialogs/InputDialogTemplates.h"
#include "ui/dialogs/InputDialogs.h"

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace game;
using gametest::QuestionFolder;

namespace {

// Message boxes of the view, recorded instead of shown.
struct MessageRecorder {
    struct Box {
        std::string text, caption;
        UINT type;
    };
    static inline std::vector<Box> boxes;
    static int Record(HWND, LPCSTR text, LPCSTR caption, UINT type) {
        boxes.push_back({text, caption, type});
        return IDOK;
    }
    ViewMessageBoxFn previous;
    MessageRecorder() : previous(SetViewMessageBox(&Record)) { boxes.clear(); }
    ~MessageRecorder() { SetViewMessageBox(previous); }
};

// The application with its frame and the game view.
struct RunningGame {
    CWertlaufApp app;
    CMainFrame* frame = nullptr;
    CWertlaufView* view = nullptr;
    char keyName[64];
    char keyPath[128];

    RunningGame() {
        wsprintfA(keyName, "WertlaufView%lu", GetCurrentProcessId());
        wsprintfA(keyPath, "Software\\VQ\\%s", keyName);
        app.SetCurrentHandles(GetModuleHandleA(nullptr), const_cast<char*>(""), SW_SHOWNORMAL);
        app.SetRegistryKey("VQ");
        SetRegistryAppKey("VQ", keyName);
        SetComPortSetting(keyPath, kIdleComPort);
        auto* tpl = new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CWertlaufDoc), RUNTIME_CLASS(CMainFrame),
                                           RUNTIME_CLASS(CWertlaufView));
        app.AddDocTemplate(tpl);
        tpl->OpenDocumentFile(nullptr);
        frame = dynamic_cast<CMainFrame*>(app.m_pMainWnd);
        if (frame) view = dynamic_cast<CWertlaufView*>(frame->GetActiveView());
        if (frame) frame->SetWindowPos(nullptr, 0, 0, 1100, 800, SWP_NOZORDER | SWP_NOACTIVATE);
        PumpFor(100, kAppPump);
    }
    ~RunningGame() {
        if (frame && ::IsWindow(frame->m_hWnd)) frame->DestroyWindow();
        RegDeleteTreeA(HKEY_CURRENT_USER, keyPath);
    }
    GameState& State() { return view->State(); }
    void Command(UINT id) {
        view->SendMessage(WM_COMMAND, id);
        PumpFor(50, kAppPump);
    }
    // A key as the user presses it: through the message loop, so that the frame's accelerators see it.
    void Key(UINT vk, bool down) {
        ::PostMessageA(view->m_hWnd, down ? WM_KEYDOWN : WM_KEYUP, vk, down ? 1 : 0xC0000001);
        PumpFor(50, kAppPump);
    }
    std::string Title() const {
        char text[512] = {};
        ::GetWindowTextA(frame->m_hWnd, text, sizeof text);
        return text;
    }
    // Waits (real time, the view's own timer) until the reveal has finished.
    bool WaitForReveal() {
        return PumpUntil([&] { return State().round.revealState == kRevealFinished; }, 25000, kAppPump);
    }
};

std::string ProgramDir() {
    CString dir;
    GetProgramDirStr(dir);
    RemoveTrailingSeparatorStr(dir);
    return static_cast<const char*>(dir);
}

const char kQuestion[] = "<!--MIN 0-->\n<!--MAX 1000-->\n<!--VAL 500-->\n<!--LOG 0-->\n<html></html>";

}  // namespace

TEST(WertlaufView, CreatesBoardAndQuestionPanelAndFindsTheSampleQuestions) {
    RunningGame game;
    ASSERT_NE(game.view, nullptr);
    CWnd* board = game.view->GetDlgItem(kBoardWindowId);
    ASSERT_NE(board, nullptr);
    EXPECT_EQ(board->m_hWnd, game.view->Board().m_hWnd);
    HWND panel = ::GetDlgItem(board->m_hWnd, kQuestionPanelId);
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(::IsWindowVisible(panel));
    RECT client, panelRect;
    ::GetClientRect(game.view->m_hWnd, &client);
    ::GetWindowRect(panel, &panelRect);
    ::MapWindowPoints(nullptr, board->m_hWnd, reinterpret_cast<POINT*>(&panelRect), 2);
    EXPECT_EQ(panelRect.left, 142);
    EXPECT_EQ(panelRect.top, 0);
    EXPECT_EQ(panelRect.right, client.right - 142);
    EXPECT_EQ(panelRect.bottom, client.bottom - 200);
    // The start page next to the program was found: the scale is shown, no question yet.
    EXPECT_STREQ(game.view->GetInfoPath(), ProgramDir().c_str());
    EXPECT_EQ(game.State().shared.noQuestion, 0);
    EXPECT_EQ(game.State().shared.gameNumber, 0);
    EXPECT_EQ(game.State().geometry.clientWidth, client.right);
    ASSERT_NE(game.view->Board().GetImage(), nullptr);
    EXPECT_EQ(int(game.view->Board().GetImage()->width), client.right);
    // A window too small for the panel hides it.
    game.view->SendMessage(WM_SIZE, 0, MAKELPARAM(280, 600));
    EXPECT_FALSE(::IsWindowVisible(panel));
    game.view->SendMessage(WM_SIZE, 0, MAKELPARAM(client.right, client.bottom));
    EXPECT_TRUE(::IsWindowVisible(panel));
}

TEST(WertlaufView, F5LoadsTheFirstQuestionAndAFullRoundAwardsAStar) {
    RunningGame game;
    ASSERT_NE(game.view, nullptr);
    game.Key(VK_F5, true);
    game.Key(VK_F5, false);
    EXPECT_EQ(game.State().shared.gameNumber, 1);
    EXPECT_EQ(game.Title(), ProgramDir() + "\\Game001\\Info.html");
    EXPECT_EQ(game.State().round.roundActive, 1);
    EXPECT_EQ(game.State().question.solution, 828);

    game.Key(VK_F7, true);
    game.Key(VK_F8, true);
    EXPECT_EQ(game.State().shared.playerState[kRed], kPlayerRunning);
    EXPECT_EQ(game.State().shared.playerState[kBlue], kPlayerRunning);
    PumpFor(700, kAppPump);
    game.Key(VK_F7, false);
    game.Key(VK_F8, false);
    EXPECT_EQ(game.State().shared.playerState[kRed], kPlayerStopped);
    EXPECT_EQ(game.State().shared.playerState[kBlue], kPlayerStopped);

    ASSERT_TRUE(game.WaitForReveal());
    PumpFor(100, kAppPump);
    const int winner = game.State().round.winner;
    ASSERT_GE(winner, 0) << "a tie is possible but the stop ticks make it unlikely";
    EXPECT_EQ(game.State().stars.count[winner], 1);
    EXPECT_EQ(game.State().stars.count[1 - winner], 0);
    // The star is drawn in the winner's column, right above the band.
    CDibImage* image = game.view->Board().GetImage();
    const int top = game.State().geometry.clientHeight - 200;
    const int x = winner == kRed ? 68 : game.State().geometry.clientWidth - 68;
    const uint32_t star = image->GetPixel(x, top - 68) & 0xFFFFFF;
    EXPECT_GT(star >> 16, 0x80u);
    EXPECT_EQ(image->GetPixel(game.State().geometry.clientWidth - 1 - x, top - 68) & 0xFFFFFF, 0u);
    EXPECT_EQ(game.State().round.roundActive, 0);

    // The next F5 loads the next number; the page after the last question closes the show.
    game.Key(VK_F5, true);
    EXPECT_EQ(game.State().shared.gameNumber, 2);
}

TEST(WertlaufView, PageErrorsAreShownAsGermanMessages) {
    MessageRecorder messages;
    RunningGame game;
    QuestionFolder folder;
    folder.WritePage("Main", "<html></html>");
    const std::string page = folder.WriteQuestion(1, "<!--MIN 0--><!--MAX 10--><!--VAL 11--><!--LOG 0-->");
    game.view->SetInfoPath(folder.Path().c_str());
    EXPECT_TRUE(messages.boxes.empty());
    game.Command(ID_GAME_NEXT_PAGE);
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].text, "Der L\xF6sungswert in " + page + " ist nicht im Min/Maxbereich !");
    EXPECT_EQ(messages.boxes[0].caption, "Fehler");
    EXPECT_EQ(messages.boxes[0].type, static_cast<UINT>(MB_ICONHAND));
    EXPECT_EQ(game.State().round.roundActive, 0);

    game.Command(ID_GAME_NEXT_PAGE);  // no further page within 52 numbers
    ASSERT_EQ(messages.boxes.size(), 2u);
    EXPECT_EQ(messages.boxes[1].text.rfind("Die Datei ", 0), 0u);
    EXPECT_NE(messages.boxes[1].text.find("Game053\\Info.html konnte nicht gefunden werden !"), std::string::npos);

    // A folder without a start page warns and stays in force.
    QuestionFolder empty;
    game.view->SetInfoPath((empty.Path() + "\\").c_str());
    ASSERT_EQ(messages.boxes.size(), 3u);
    EXPECT_EQ(messages.boxes[2].text, "'.\\Main\\Info.html' wurde im 'Infopfad' nicht gefunden !");
    EXPECT_EQ(messages.boxes[2].caption, "Warnung");
    EXPECT_EQ(messages.boxes[2].type, static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_STREQ(game.view->GetInfoPath(), empty.Path().c_str());
}

TEST(WertlaufView, MenuCommandsStartAndStopWhileKeysGuardTheirRepeats) {
    RunningGame game;
    QuestionFolder folder;
    folder.WritePage("Main", "<html></html>");
    folder.WriteQuestion(1, kQuestion);
    game.view->SetInfoPath(folder.Path().c_str());
    game.Command(ID_GAME_NEXT_PAGE);
    ASSERT_EQ(game.State().round.roundActive, 1);

    game.Command(ID_GAME_RED_KEY);
    EXPECT_EQ(game.State().shared.playerState[kRed], kPlayerRunning);
    EXPECT_EQ(game.State().pointers.keyGuard[kRed], 0u);
    game.Command(ID_GAME_RED_KEY);
    EXPECT_EQ(game.State().shared.playerState[kRed], kPlayerStopped);
    // F8 held: auto-repeats do not restart, the release stops.
    game.Key(VK_F8, true);
    const uint32_t started = game.State().shared.startTick[kBlue];
    game.Key(VK_F8, true);
    game.Key(VK_F8, true);
    EXPECT_EQ(game.State().shared.startTick[kBlue], started);
    game.Key(VK_F8, false);
    EXPECT_EQ(game.State().shared.playerState[kBlue], kPlayerStopped);

    // Reset: back to idle on the same page, which the next load repeats.
    game.Command(ID_GAME_RESET);
    EXPECT_EQ(game.State().shared.playerState[kRed], kPlayerIdle);
    EXPECT_EQ(game.State().round.repeatNumber, 1);
    game.Command(ID_GAME_NEXT_PAGE);
    EXPECT_EQ(game.State().shared.gameNumber, 1);
    EXPECT_EQ(game.State().round.roundActive, 1);
}

TEST(WertlaufView, StarCommandsWrapAndStarSizesAreChecked) {
    RunningGame game;
    game.Command(ID_STARS_RED_MINUS);
    EXPECT_EQ(game.State().stars.count[kRed], 7);
    game.Command(ID_STARS_BLUE_PLUS);
    game.Command(ID_STARS_BLUE_PLUS);
    EXPECT_EQ(game.State().stars.count[kBlue], 2);

    game.Command(ID_STARS_TWO_ROWS);
    EXPECT_EQ(game.State().settings.starSize, 3);
    EXPECT_EQ(game.State().stars.modulus, 25);
    EXPECT_EQ(game.State().stars.cellWidth, 136);
    game.Command(ID_STARS_RED_MINUS);
    EXPECT_EQ(game.State().stars.count[kRed], 6);
    game.Command(ID_STARS_SMALL);
    EXPECT_EQ(game.State().stars.cellWidth, 68);
    // The panel follows the narrower columns.
    HWND panel = ::GetDlgItem(game.view->Board().m_hWnd, kQuestionPanelId);
    RECT r;
    ::GetWindowRect(panel, &r);
    ::MapWindowPoints(nullptr, game.view->Board().m_hWnd, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 74);

    // Only the current size is checked in the menu.
    HMENU view = GetSubMenu(game.frame->m_hMenuDefault, 2);
    game.frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(view), 2);
    EXPECT_TRUE(GetMenuState(view, ID_STARS_SMALL, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_FALSE(GetMenuState(view, ID_STARS_LARGE, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_FALSE(GetMenuState(view, ID_STARS_TWO_ROWS, MF_BYCOMMAND) & MF_CHECKED);
}

TEST(WertlaufView, FrameTimerTicksBringNoIdleUpdateWhileOtherMessagesStillDo) {
    CWertlaufApp app;
    MSG tick = {nullptr, WM_TIMER, kFrameTimerId, 0, 0, {}};
    EXPECT_FALSE(app.IsIdleMessage(&tick));
    MSG otherTimer = {nullptr, WM_TIMER, 1, 0, 0, {}};
    MSG key = {nullptr, WM_KEYDOWN, VK_F7, 1, 0, {}};
    MSG command = {nullptr, WM_COMMAND, ID_GAME_NEXT_PAGE, 0, 0, {}};
    for (MSG* msg : {&otherTimer, &key, &command}) EXPECT_TRUE(app.IsIdleMessage(msg)) << msg->message;
}

TEST(WertlaufView, SettingsDialogTakesOverAndStoresItsValues) {
    static GameSettingsForm shown;
    static GameSettingsForm answer;
    SetGameSettingsDialogRunner([](CWnd*, GameSettingsForm& form) {
        shown = form;
        form = answer;
        return true;
    });
    RunningGame game;
    QuestionFolder folder;
    folder.WritePage("Main", "<html></html>");
    folder.WriteQuestion(1, kQuestion);
    game.State().settings.timeLimit = 90;  // as stored: used until the dialog opens
    game.State().shared.gameNumber = 5;
    answer.path = folder.Path().c_str();
    answer.timeLimit = -3;
    answer.startTogether = TRUE;
    answer.countAutomatically = FALSE;
    answer.sameSide = TRUE;
    answer.colouredScale = FALSE;
    game.State().drawn.board = 1;
    game.view->SendMessage(WM_COMMAND, ID_GAME_SETTINGS);
    SetGameSettingsDialogRunner(nullptr);

    EXPECT_EQ(shown.timeLimit, 60);
    EXPECT_STREQ(shown.path, ProgramDir().c_str());
    EXPECT_EQ(shown.colouredScale, TRUE);
    EXPECT_EQ(game.State().settings.timeLimit, 0);  // a negative limit counts as none
    EXPECT_EQ(game.State().shared.singleMode, 1);
    EXPECT_EQ(game.State().settings.autoCount, 0);
    EXPECT_EQ(game.State().settings.sameSide, 1);
    EXPECT_EQ(game.State().settings.scaleColour, 0);
    EXPECT_EQ(game.State().drawn.board, 0);
    EXPECT_EQ(game.State().shared.gameNumber, 0);  // a new folder starts from its first question
    EXPECT_STREQ(game.view->GetInfoPath(), folder.Path().c_str());
    CRegistry key;
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, nullptr, REGMODE_READ));
    CString stored;
    EXPECT_TRUE(key.QueryString(stored, "HtmPath"));
    EXPECT_STREQ(stored, folder.Path().c_str());
    DWORD value = 99;
    EXPECT_TRUE(key.QueryValueA(&value, sizeof value, "SingleMode", REG_DWORD));
    EXPECT_EQ(value, 1u);
    // The posted "Starte Bild" loads the new folder's first question.
    PumpFor(100, kAppPump);
    EXPECT_EQ(game.State().shared.gameNumber, 1);
    EXPECT_EQ(game.State().shared.singleMode, 1);
    const GameState& state = game.State();
    EXPECT_EQ(state.round.autoStartCountdown > 0 || state.shared.playerState[kRed] == kPlayerRunning, true);
}

TEST(WertlaufView, NextGameNumberDialogJumpsToTheQuestion) {
    RunningGame game;
    QuestionFolder folder;
    folder.WritePage("Main", "<html></html>");
    for (int n : {1, 2, 3}) folder.WriteQuestion(n, kQuestion);
    game.view->SetInfoPath(folder.Path().c_str());
    // The dialog runs its own loop: a thread timer finds it and answers.
    static const char* typed = "3";
    static std::string shownValue, shownTitle;
    UINT_PTR timer = SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR, DWORD) {
        HWND dialog = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), [](HWND w, LPARAM p) {
            if (GetWindowLongPtrA(w, GWLP_USERDATA) == kNumberInputDialogMarker && IsWindowVisible(w)) {
                *reinterpret_cast<HWND*>(p) = w;
                return FALSE;
            }
            return TRUE;
        }, reinterpret_cast<LPARAM>(&dialog));
        if (!dialog) return;
        char text[64] = {};
        GetDlgItemTextA(dialog, kInputEditId, text, sizeof text);
        shownValue = text;
        GetWindowTextA(dialog, text, sizeof text);
        shownTitle = text;
        SetDlgItemTextA(dialog, kInputEditId, typed);
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    game.view->SendMessage(WM_COMMAND, ID_GAME_NEXT_NUMBER);
    EXPECT_EQ(shownValue, "1");
    EXPECT_EQ(shownTitle, "N\xE4" "chstes Spiel");
    EXPECT_EQ(game.State().shared.gameNumber, 3);
    EXPECT_EQ(game.State().round.roundActive, 1);
    typed = "1000";  // out of range: nothing happens
    game.State().round.roundActive = 0;
    game.view->SendMessage(WM_COMMAND, ID_GAME_NEXT_NUMBER);
    EXPECT_EQ(shownValue, "4");
    EXPECT_EQ(game.State().shared.gameNumber, 3);
    KillTimer(nullptr, timer);
}

TEST(WertlaufView, FileFormatHelpShowsItsTextsAndPicture) {
    RunningGame game;
    static std::vector<std::string> texts;
    static bool picture = false;
    texts.clear();
    UINT_PTR timer = SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR, DWORD) {
        HWND dialog = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), [](HWND w, LPARAM p) {
            char title[64] = {};
            GetWindowTextA(w, title, sizeof title);
            if (IsWindowVisible(w) && strcmp(title, "Dateiformat") == 0) {
                *reinterpret_cast<HWND*>(p) = w;
                return FALSE;
            }
            return TRUE;
        }, reinterpret_cast<LPARAM>(&dialog));
        if (!dialog || !texts.empty()) return;
        for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            char text[256] = {}, cls[32] = {};
            GetClassNameA(child, cls, sizeof cls);
            GetWindowTextA(child, text, sizeof text);
            if (_stricmp(cls, "Static") != 0) continue;
            if (SendMessageA(child, STM_GETIMAGE, IMAGE_BITMAP, 0)) picture = true;
            else texts.push_back(text);
        }
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    game.view->SendMessage(WM_COMMAND, ID_FILE_FORMAT_HELP);
    KillTimer(nullptr, timer);
    ASSERT_EQ(texts.size(), 6u);
    EXPECT_EQ(texts[0], "*) Die HTML-Datei f\xFCr das Begr\xFCsungsbild wird in './Main/Info.html' erstellt.");
    EXPECT_EQ(texts[1], "*) Der Pfad mit den Zielorten muss im Men\xFC \"Berabeiten->Spieleinstellungen bearbeiten\" "
                        "eingestelt werden.");
    EXPECT_EQ(texts[5], "*) Die letze Frage ist eine weitere './Game??\?/Info.html' Datei mit dem Tag 'FIN'.");
    EXPECT_TRUE(picture);
}

TEST(WertlaufView, FullScreenRectangleAndSettingsWrittenAtExit) {
    char key[128];
    {
        RunningGame game;
        wsprintfA(key, "Software\\VQ\\%s", game.keyName);
        game.view->SetFullScreenMode(2);
        RECT window;
        game.view->GetWindowRect(&window);
        EXPECT_EQ(game.State().window.fullScreenMode, 2);
        EXPECT_EQ(game.State().window.viewRect.right, window.right - 1);
        EXPECT_EQ(game.State().window.viewRect.top, window.top);
        game.Command(ID_STARS_MEDIUM);
        game.State().shared.comPort = kIdleComPort + 1;
        game.frame->DestroyWindow();  // frame and view delete themselves
        game.frame = nullptr;
        DWORD value = 0, size = sizeof value;
        ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, key, "StarSize", RRF_RT_REG_DWORD, nullptr, &value, &size),
                  ERROR_SUCCESS);
        EXPECT_EQ(value, 1u);
        size = sizeof value;
        ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, key, "ComPort", RRF_RT_REG_DWORD, nullptr, &value, &size),
                  ERROR_SUCCESS);
        EXPECT_EQ(value, kIdleComPort + 1);
        size = sizeof value;
        EXPECT_NE(RegGetValueA(HKEY_CURRENT_USER, key, "TimeLimith", RRF_RT_REG_DWORD, nullptr, &value, &size),
                  ERROR_SUCCESS);
    }
}

namespace {

// Stands in for the wave-out device: paces the mixer and records who closed it and any use after that.
struct FakePlayer {
    static inline std::atomic<int> opens{0}, closes{0}, usesAfterClose{0};
    static inline std::atomic<bool> isOpen{false};
    static inline std::atomic<DWORD> closingThread{0};
    static inline int16_t block[512];
    static int Open(int, int, int, int) {
        ++opens;
        isOpen = true;
        return 0;
    }
    static void* GetBuffer() {
        if (!isOpen) ++usesAfterClose;
        return isOpen ? block : nullptr;
    }
    static int Write(int) {
        if (!isOpen) ++usesAfterClose;
        Sleep(5);
        return kWaveWriteOk;
    }
    static int Idle(int) { return 0; }
    static int Stop() { return 0; }
    static int Close() {
        if (!isOpen.exchange(false)) ++usesAfterClose;
        closingThread = GetCurrentThreadId();
        ++closes;
        return 0;
    }
};

// Holds the reader and the mixer in their passes until released; bounded, so a failing test cannot hang.
struct ThreadHold {
    static inline HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    static inline std::atomic<int> readerHeld{0}, mixerHeld{0};
    static void Reader() {
        ++readerHeld;
        WaitForSingleObject(release, 20000);
    }
    static void Mixer() {
        ++mixerHeld;
        WaitForSingleObject(release, 20000);
    }
};

// The fake player and short waits for the shutdown, the seams restored afterwards.
struct ShutdownSeams {
    ThreadSeams& seams = GameThreadSeams();
    ThreadSeams saved;
    explicit ShutdownSeams(bool hold) {
        saved.player = seams.player;
        seams.player = {FakePlayer::Open, FakePlayer::Idle, FakePlayer::GetBuffer, FakePlayer::Write,
                        FakePlayer::Stop, FakePlayer::Close};
        seams.readerStopMs = seams.mixerStopMs = 200;
        if (hold) {
            seams.readerPass = ThreadHold::Reader;
            seams.mixerPass = ThreadHold::Mixer;
        }
    }
    ~ShutdownSeams() {
        SetEvent(ThreadHold::release);
        seams.readerPass = nullptr;
        seams.mixerPass = nullptr;
        seams.readerStopMs = saved.readerStopMs;
        seams.mixerStopMs = saved.mixerStopMs;
        seams.player = saved.player;
    }
};

}  // namespace

// The view waits for its threads only up to a bound. A thread that outlives the wait finds its state still
// there, the player still open and no way to the view; the last of view and mixer to leave the player closes it.
TEST(WertlaufView, ThreadsHeldPastTheShutdownBoundFindNothingFreed) {
    for (bool hold : {false, true}) {
        SCOPED_TRACE(hold ? "threads held" : "threads end in time");
        FakePlayer::opens = FakePlayer::closes = FakePlayer::usesAfterClose = 0;
        ResetEvent(ThreadHold::release);
        ShutdownSeams seams(hold);
        RunningGame game;
        ASSERT_EQ(FakePlayer::opens, 1);
        const std::weak_ptr<ThreadShared> shared = game.State().ShareWithThread();
        if (hold) {
            ASSERT_TRUE(WaitUntil([] { return ThreadHold::readerHeld > 0 && ThreadHold::mixerHeld > 0; }, 5000));
        }
        game.frame->DestroyWindow();  // frame and view delete themselves
        game.frame = nullptr;
        if (hold) {
            EXPECT_EQ(FakePlayer::closes, 0);  // the mixer is still in it
            const std::shared_ptr<ThreadShared> still = shared.lock();
            ASSERT_TRUE(still);
            EXPECT_EQ(still->commandWindow.load(), nullptr);
            SetEvent(ThreadHold::release);
        } else {
            EXPECT_EQ(FakePlayer::closes, 1);
            EXPECT_EQ(FakePlayer::closingThread, GetCurrentThreadId());
        }
        EXPECT_TRUE(WaitUntil([&] { return shared.expired(); }, 5000));  // both threads have let go
        EXPECT_EQ(FakePlayer::closes, 1);
        EXPECT_EQ(FakePlayer::closingThread == GetCurrentThreadId(), !hold);  // held: closed by the mixer, last out
        EXPECT_EQ(FakePlayer::usesAfterClose, 0);
    }
}
