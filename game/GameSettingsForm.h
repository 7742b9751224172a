// What the game view and the settings dialog exchange. The view runs the dialog through a runner: the settings
// dialog itself unless another runner has been set (tests answer for the dialog that way).
#pragma once

#include "framework/CString.h"

#include <windows.h>

class CWnd;

struct GameSettingsForm {
    CString path;               // question folder
    int timeLimit = 0;          // seconds, 0 = none
    BOOL startTogether = FALSE; // single mode: both pointers start together, the keys only stop
    BOOL countAutomatically = TRUE;
    BOOL sameSide = FALSE;
    BOOL colouredScale = TRUE;
};

// Shows the settings dialog filled from form; on OK stores the dialog's values in form and returns true.
using GameSettingsDialogRunner = bool (*)(CWnd* parent, GameSettingsForm& form);

// The settings dialog (CGameSettingsDlg) as a runner.
bool RunGameSettingsDialog(CWnd* parent, GameSettingsForm& form);

// Null restores the settings dialog.
void SetGameSettingsDialogRunner(GameSettingsDialogRunner runner);
GameSettingsDialogRunner GetGameSettingsDialogRunner();
