#include "game/GameSettingsForm.h"

#include "game/GameSettingsDlg.h"

#include <atomic>

namespace {

std::atomic<GameSettingsDialogRunner> g_runner{nullptr};

}  // namespace

bool RunGameSettingsDialog(CWnd* parent, GameSettingsForm& form) {
    CGameSettingsDlg dialog(parent);
    dialog.m_path = form.path;
    dialog.m_timeLimit = form.timeLimit;
    dialog.m_startTogether = form.startTogether;
    dialog.m_countAutomatically = form.countAutomatically;
    dialog.m_sameSide = form.sameSide;
    dialog.m_colouredScale = form.colouredScale;
    if (dialog.DoModal() != IDOK) return false;
    form.path = dialog.m_path;
    form.timeLimit = dialog.m_timeLimit;
    form.startTogether = dialog.m_startTogether;
    form.countAutomatically = dialog.m_countAutomatically;
    form.sameSide = dialog.m_sameSide;
    form.colouredScale = dialog.m_colouredScale;
    return true;
}

void SetGameSettingsDialogRunner(GameSettingsDialogRunner runner) { g_runner.store(runner); }

GameSettingsDialogRunner GetGameSettingsDialogRunner() {
    GameSettingsDialogRunner runner = g_runner.load();
    return runner ? runner : &RunGameSettingsDialog;
}
