// CWertlaufView: question pages, the player keys and commands, star counts and star sizes.
#include "game/WertlaufView.h"

#include "game/QuestionPages.h"
#include "game/ViewMessageBox.h"
#include "ui/dialogs/InputDialogs.h"

using namespace game;

namespace {

constexpr UINT kRedrawNow = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW;
constexpr int32_t kHighestGameNumber = 999;

}  // namespace

BOOL CWertlaufView::StartPlayer(int player, DWORD tick) { return game::StartPlayer(m_state.shared, player, tick); }

BOOL CWertlaufView::StopPlayer(int player, DWORD tick) { return game::StopPlayer(m_state.shared, player, tick, this); }

BOOL CWertlaufView::StartBothPlayers() { return game::StartBothPlayers(m_state.shared, GetTickCount()); }

void CWertlaufView::ResetRound() { game::ResetRound(m_state); }

void CWertlaufView::StartBild() {
    const PageLoad load = LoadNextQuestion(m_state, m_infoPath, [this](const CString& page) {
        m_panel.Navigate2(page, 0, nullptr, nullptr, nullptr, 0);
    });
    switch (load.outcome) {
    case PageLoad::kNotFound:
    case PageLoad::kFaulty:
        ShowViewMessage(m_hWnd, load.ErrorText(), "Fehler", MB_ICONHAND);
        break;
    case PageLoad::kLoaded:
        if (CWnd* main = AfxGetMainWnd()) main->SetWindowText(load.page);
        RedrawWindow(nullptr, nullptr, kRedrawNow);
        break;
    case PageLoad::kRefused:
    case PageLoad::kFinal:
        break;
    }
}

void CWertlaufView::OnStartBild() { StartBild(); }

void CWertlaufView::OnResetGame() { ResetGame(m_state); }

void CWertlaufView::OnNextGameNumber() {
    CNumberInputDlg dialog(nullptr);
    dialog.SetValue(m_state.shared.gameNumber + 1, 0);
    dialog.SetCaption("Nächstes Spiel");
    dialog.SetPrompt("Bitte hier die Spielnummer eingeben :");
    if (dialog.DoModal() != IDOK) return;
    const int32_t number = dialog.GetValue();
    if (number < 0 || number > kHighestGameNumber || number == m_state.shared.gameNumber) return;
    m_state.shared.gameNumber = number - 1;
    m_state.round.repeatNumber = 0;
    ResetRound();
    StartBild();
}

void CWertlaufView::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
    if (nChar == VK_F7 || nChar == VK_F8) PlayerKeyDown(m_state, nChar == VK_F7 ? kRed : kBlue, GetTickCount(), this);
    CView::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CWertlaufView::OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags) {
    if (nChar == VK_F7 || nChar == VK_F8) PlayerKeyUp(m_state, nChar == VK_F7 ? kRed : kBlue, GetTickCount(), this);
    CView::OnKeyUp(nChar, nRepCnt, nFlags);
}

void CWertlaufView::OnRedKey() { TogglePlayer(m_state.shared, kRed, GetTickCount(), this); }
void CWertlaufView::OnBlueKey() { TogglePlayer(m_state.shared, kBlue, GetTickCount(), this); }

void CWertlaufView::OnRedStarPlus() { ChangeStarCount(m_state.stars, kRed, +1); }
void CWertlaufView::OnBlueStarPlus() { ChangeStarCount(m_state.stars, kBlue, +1); }
void CWertlaufView::OnRedStarMinus() { ChangeStarCount(m_state.stars, kRed, -1); }
void CWertlaufView::OnBlueStarMinus() { ChangeStarCount(m_state.stars, kBlue, -1); }

void CWertlaufView::SetStarSize(int size) {
    const bool changed = size != m_state.settings.starSize;
    if (changed) {
        m_state.drawn.board = 0;
        m_state.settings.starSize = size;
    }
    ApplyStarSize(m_state);
    SelectStarImage(m_art, m_state.settings.starSize);
    if (m_board.m_hWnd) m_board.RedrawWindow(nullptr, nullptr, kRedrawNow);
    if (changed && m_state.geometry.clientWidth > 0 && m_state.geometry.clientHeight > 0)
        LayoutChildren(m_state.geometry.clientWidth, m_state.geometry.clientHeight);
}

void CWertlaufView::OnSmallStars() { SetStarSize(kStarsSmall); }
void CWertlaufView::OnMediumStars() { SetStarSize(kStarsMedium); }
void CWertlaufView::OnLargeStars() { SetStarSize(kStarsLarge); }
void CWertlaufView::OnTwoRowStars() { SetStarSize(kStarsTwoRows); }

void CWertlaufView::OnUpdateSmallStars(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_state.settings.starSize == kStarsSmall); }
void CWertlaufView::OnUpdateMediumStars(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_state.settings.starSize == kStarsMedium); }
void CWertlaufView::OnUpdateLargeStars(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_state.settings.starSize == kStarsLarge); }
void CWertlaufView::OnUpdateTwoRowStars(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_state.settings.starSize == kStarsTwoRows); }
