// What the game view and the settings dialog exchange. The dialog's side provides a runner and registers it once
// at start-up; until one is registered the settings command does nothing.
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

void SetGameSettingsDialogRunner(GameSettingsDialogRunner runner);
GameSettingsDialogRunner GetGameSettingsDialogRunner();
