#include "game/GameSettingsForm.h"

#include "game/GameSettingsDlg.h"

#include <atomic>

namespace {

std::atomic<GameSettingsDialogRunner> g_runner{nullptr};

// Moves the values between the form and the dialog's members, into the form when toForm is set.
void ExchangeSettings(GameSettingsForm& form, CGameSettingsDlg& dialog, bool toForm) {
    auto move = [toForm](auto& inForm, auto& inDialog) {
        if (toForm)
            inForm = inDialog;
        else
            inDialog = inForm;
    };
    move(form.path, dialog.m_path);
    move(form.timeLimit, dialog.m_timeLimit);
    move(form.startTogether, dialog.m_startTogether);
    move(form.countAutomatically, dialog.m_countAutomatically);
    move(form.sameSide, dialog.m_sameSide);
    move(form.colouredScale, dialog.m_colouredScale);
}

}  // namespace

bool RunGameSettingsDialog(CWnd* parent, GameSettingsForm& form) {
    CGameSettingsDlg dialog(parent);
    ExchangeSettings(form, dialog, false);
    if (dialog.DoModal() != IDOK) return false;
    ExchangeSettings(form, dialog, true);
    return true;
}

void SetGameSettingsDialogRunner(GameSettingsDialogRunner runner) { g_runner.store(runner); }

GameSettingsDialogRunner GetGameSettingsDialogRunner() {
    GameSettingsDialogRunner runner = g_runner.load();
    return runner ? runner : &RunGameSettingsDialog;
}
