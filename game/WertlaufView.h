// CWertlaufView: the game's single view. It owns the game state, the board window with its back buffer, the
// question panel, the frame timer, and the remote-control reader and sound-mixer threads.
//
// Files: WertlaufView.cpp (lifetime, layout, settings), WertlaufViewRound.cpp (question pages, keys, rounds,
// stars), WertlaufViewTimer.cpp (the frame timer), WertlaufViewSound.cpp (sound mixer glue),
// WertlaufViewRemote.cpp (remote reader glue).
#pragma once

#include "framework/Framework.h"
#include "game/BoardArt.h"
#include "game/BoardPainter.h"
#include "game/GameFrame.h"
#include "game/GameState.h"
#include "game/RoundControl.h"
#include "ui/dibwnd/DibWnd.h"
#include "ui/html/HtmlWnd.h"

#include <atomic>

constexpr UINT kBoardWindowId = 38680;
constexpr UINT kQuestionPanelId = 4386;
constexpr UINT_PTR kFrameTimerId = 14766;

class CWertlaufView : public CView, private game::GameEvents {
    DECLARE_DYNCREATE(CWertlaufView)

public:
    CWertlaufView();
    ~CWertlaufView() override;

    // A question folder given on the command line (the application calls this once the view exists).
    void SetInfoPath(LPCSTR path);
    // The main frame entering or leaving full screen (a game::FullScreenState).
    void SetFullScreenMode(int mode);

    // Round operations; ticks are GetTickCount milliseconds.
    BOOL StartPlayer(int player, DWORD tick);
    BOOL StopPlayer(int player, DWORD tick);
    BOOL StartBothPlayers();
    void ResetRound();
    void StartBild();
    void SetStarSize(int size);

    game::GameState& State() { return m_state; }
    const CString& GetInfoPath() const { return m_infoPath; }
    CDibWnd& Board() { return m_board; }

    // ---- Sound glue (WertlaufViewSound.cpp) ----
    // Locates the seven WAVE sounds in the program's resources.
    void LocateSounds();
    // Sets the mixer-running flag, opens the wave-out player (44100 Hz, 16 bits, mono, 1024-byte buffers) and
    // starts the mixer thread; returns whether the thread runs.
    bool StartSoundMixer();
    // Clears the mixer-running flag, stops the player, waits (bounded) for the mixer's ended flag and leaves the
    // player to be closed by the last of the two. Not called when the mixer never started.
    void StopSoundMixer();
    // Queues a one-shot sound for the mixer.
    void QueueSound(game::GameSound sound) override;

    // ---- Remote-control glue (WertlaufViewRemote.cpp) ----
    // Starts the reader thread; returns whether it runs. Its commands go to this window until OnDestroy.
    bool StartRemoteReader();
    // Sets the stop request and waits (bounded) for the reader's ended flag. Returns at once when it never started.
    void StopRemoteReader();

protected:
    void OnDraw(CDC* pDC) override;
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSetFocus(CWnd* pOldWnd);

    afx_msg void OnStartBild();
    afx_msg void OnResetGame();
    afx_msg void OnRedKey();
    afx_msg void OnBlueKey();
    afx_msg void OnNextGameNumber();
    afx_msg void OnRedStarPlus();
    afx_msg void OnBlueStarPlus();
    afx_msg void OnRedStarMinus();
    afx_msg void OnBlueStarMinus();
    afx_msg void OnSmallStars();
    afx_msg void OnMediumStars();
    afx_msg void OnLargeStars();
    afx_msg void OnTwoRowStars();
    afx_msg void OnUpdateSmallStars(CCmdUI* pCmdUI);
    afx_msg void OnUpdateMediumStars(CCmdUI* pCmdUI);
    afx_msg void OnUpdateLargeStars(CCmdUI* pCmdUI);
    afx_msg void OnUpdateTwoRowStars(CCmdUI* pCmdUI);
    afx_msg void OnGameSettings();
    afx_msg void OnFileFormatHelp();
    afx_msg void OnSelectComPort();  // remote-control glue

    DECLARE_MESSAGE_MAP()

private:
    void LayoutChildren(int cx, int cy);
    void ShowStartPage();
    void RunFrame();
    void ParkCursor();

    game::GameState m_state;
    CString m_infoPath;       // HtmPath: the question folder
    CString m_savedInfoPath;  // the stored path while a command-line path is in force

    CDibWnd m_board;
    CHtmlWnd m_panel;
    game::BoardArt m_art;
    game::BoardPainter m_painter;
    game::GameFrame m_frame;

    // Whether the threads were started, so that shutdown never waits for one that does not run.
    std::atomic<bool> m_mixerStarted{false};
    std::atomic<bool> m_readerStarted{false};
};
