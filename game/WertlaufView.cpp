// CWertlaufView: construction and settings, window creation, layout, full screen and shutdown.
#include "game/WertlaufView.h"

#include "game/GameSettingsForm.h"
#include "game/QuestionPages.h"
#include "game/ViewLayout.h"
#include "game/ViewMessageBox.h"
#include "game/ViewSettings.h"
#include "res/ViewCommands.h"
#include "system/FileFunctions.h"
#include "system/PathFunctions.h"
#include "ui/WindowPos.h"

#include <cstdlib>

using namespace game;

IMPLEMENT_DYNCREATE(CWertlaufView, CView)

BEGIN_MESSAGE_MAP(CWertlaufView, CView)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_WM_TIMER()
    ON_WM_KEYDOWN()
    ON_WM_KEYUP()
    ON_WM_SETFOCUS()
    ON_COMMAND(ID_GAME_NEXT_PAGE, OnStartBild)
    ON_COMMAND(ID_GAME_RESET, OnResetGame)
    ON_COMMAND(ID_GAME_RED_KEY, OnRedKey)
    ON_COMMAND(ID_GAME_BLUE_KEY, OnBlueKey)
    ON_COMMAND(ID_GAME_NEXT_NUMBER, OnNextGameNumber)
    ON_COMMAND(ID_STARS_RED_PLUS, OnRedStarPlus)
    ON_COMMAND(ID_STARS_BLUE_PLUS, OnBlueStarPlus)
    ON_COMMAND(ID_STARS_RED_MINUS, OnRedStarMinus)
    ON_COMMAND(ID_STARS_BLUE_MINUS, OnBlueStarMinus)
    ON_COMMAND(ID_STARS_SMALL, OnSmallStars)
    ON_COMMAND(ID_STARS_MEDIUM, OnMediumStars)
    ON_COMMAND(ID_STARS_LARGE, OnLargeStars)
    ON_COMMAND(ID_STARS_TWO_ROWS, OnTwoRowStars)
    ON_UPDATE_COMMAND_UI(ID_STARS_SMALL, OnUpdateSmallStars)
    ON_UPDATE_COMMAND_UI(ID_STARS_MEDIUM, OnUpdateMediumStars)
    ON_UPDATE_COMMAND_UI(ID_STARS_LARGE, OnUpdateLargeStars)
    ON_UPDATE_COMMAND_UI(ID_STARS_TWO_ROWS, OnUpdateTwoRowStars)
    ON_COMMAND(ID_GAME_SETTINGS, OnGameSettings)
    ON_COMMAND(ID_FILE_FORMAT_HELP, OnFileFormatHelp)
    ON_COMMAND(ID_SELECT_COM_PORT, OnSelectComPort)
END_MESSAGE_MAP()

CWertlaufView::CWertlaufView()
    : m_painter(m_art, [this](int x, int y, int cx, int cy) { m_board.InvalidateImageRect(x, y, cx, cy, 1); }),
      m_frame(m_state, this, &m_painter, [] { return std::rand(); }) {
    LoadViewSettings(m_state, m_infoPath);
    std::srand(GetTickCount());
}

CWertlaufView::~CWertlaufView() {
    SaveViewSettingsAtExit(m_state);
    if (m_readerStarted) StopRemoteReader();
}

void CWertlaufView::OnDraw(CDC*) {}  // the board window covers the whole client area

void CWertlaufView::OnUpdate(CView*, LPARAM, CObject*) {}  // the document never changes the board

void CWertlaufView::OnSetFocus(CWnd*) { Default(); }

int CWertlaufView::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CView::OnCreate(lpCreateStruct) == -1) return -1;
    SetClassLongPtrA(m_hWnd, GCLP_HBRBACKGROUND, 0);

    m_board.Create(0, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, kBoardWindowId);
    m_board.SetBackground(0);
    m_panel.Create("", WS_CHILD, CRect(0, 0, 10, 10), &m_board, kQuestionPanelId);

    LoadBoardArt(m_art, nullptr);
    ApplyStarSize(m_state);
    SelectStarImage(m_art, m_state.settings.starSize);

    m_readerStarted = StartRemoteReader();
    SetTimer(kFrameTimerId, kFrameMs, nullptr);
    LocateSounds();

    if (m_infoPath.IsEmpty()) {
        CString programDir;
        GetProgramDirStr(programDir);
        RemoveTrailingSeparatorStr(programDir);
        if (GetPathTypeA(StartPageName(programDir)) == PATH_FILE) m_infoPath = programDir;
    }
    if (!m_infoPath.IsEmpty() && GetPathTypeA(StartPageName(m_infoPath)) == PATH_FILE) {
        ShowStartPage();
        m_state.shared.noQuestion = 0;
    }

    for (int i = 0; i < 3; ++i) BuildPointerSprite(m_art, i, m_state.pointers.colour[i]);
    m_mixerStarted = StartSoundMixer();
    return 0;
}

void CWertlaufView::ShowStartPage() {
    m_panel.Navigate2(StartPageName(m_infoPath), 0, nullptr, nullptr, nullptr, 0);
    m_panel.ShowWindow(SW_SHOW);
}

void CWertlaufView::OnSize(UINT nType, int cx, int cy) {
    if (cx > 0 && cy > 0) LayoutChildren(cx, cy);
    CView::OnSize(nType, cx, cy);
}

void CWertlaufView::LayoutChildren(int cx, int cy) {
    if (CDibImage* image = m_board.GetImage()) image->FillRect(0, 0, cx, cy, 0);
    m_state.drawn.ForgetStarSlots();
    ResizeWindow(m_board.m_hWnd, cx, cy, 0);

    const PanelPlacement panel = QuestionPanelPlacement(cx, cy, m_state.stars.cellWidth);
    if (!panel.visible)
        m_panel.ShowWindow(SW_HIDE);
    else
        m_panel.SetWindowPos(nullptr, panel.x, panel.y, panel.width, panel.height, SWP_NOZORDER | SWP_SHOWWINDOW);

    m_state.geometry.clientWidth = cx;
    m_state.geometry.clientHeight = cy;
    m_state.drawn.board = 0;
    for (int32_t& drawn : m_state.drawn.position) drawn = kNotDrawn;
}

void CWertlaufView::SetInfoPath(LPCSTR path) {
    m_savedInfoPath = m_infoPath;
    m_infoPath = path ? path : "";
    RemoveTrailingSeparatorStr(m_infoPath);
    if (GetPathTypeA(StartPageName(m_infoPath)) != PATH_FILE) {
        ShowViewMessage(m_hWnd, "'.\\Main\\Info.html' wurde im 'Infopfad' nicht gefunden !", "Warnung",
                        MB_ICONEXCLAMATION);
        return;
    }
    ShowStartPage();
}

void CWertlaufView::SetFullScreenMode(int mode) {
    m_state.window.fullScreenMode = mode;
    GetWindowRect(&m_state.window.viewRect);
    m_state.window.viewRect.right -= 1;
}

void CWertlaufView::OnGameSettings() {
    if (m_state.settings.timeLimit > 60) m_state.settings.timeLimit = 60;

    GameSettingsForm form;
    form.path = m_savedInfoPath.IsEmpty() ? m_infoPath : m_savedInfoPath;
    form.timeLimit = m_state.settings.timeLimit;
    form.startTogether = m_state.shared.singleMode;
    form.countAutomatically = m_state.settings.autoCount;
    form.sameSide = m_state.settings.sameSide;
    form.colouredScale = m_state.settings.scaleColour;
    if (!GetGameSettingsDialogRunner()(this, form)) return;

    m_savedInfoPath.Empty();
    if ((form.colouredScale != 0) != (m_state.settings.scaleColour != 0)) m_state.drawn.board = 0;
    if (form.path.Compare(m_infoPath) != 0) {
        PostMessage(WM_COMMAND, ID_GAME_NEXT_PAGE, 0);
        m_state.shared.gameNumber = 0;
    }
    m_infoPath = form.path;
    m_state.settings.timeLimit = ClampTimeLimit(form.timeLimit);
    m_state.shared.singleMode = form.startTogether;
    m_state.settings.autoCount = form.countAutomatically;
    m_state.settings.sameSide = form.sameSide;
    m_state.settings.scaleColour = form.colouredScale;
    SaveViewSettingsFromDialog(m_state, m_infoPath);
}

void CWertlaufView::OnFileFormatHelp() {
    CDialog dialog(IDD_FILE_FORMAT, this);
    dialog.DoModal();
}

void CWertlaufView::OnDestroy() {
    m_state.shared.commandWindow = nullptr;  // the reader may outlive the window
    if (CWnd* main = AfxGetMainWnd()) main->ShowWindow(SW_HIDE);
    if (m_mixerStarted) StopSoundMixer();
    CView::OnDestroy();
}
