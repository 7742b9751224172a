// The game view's settings in the registry, under the application's own key (HKCU\Software\VQ\Wertlauf):
// StarSize, TimeLimith, SingleMode, AutoCount, SameSide, ScaleColor, ComPort (REG_DWORD) and HtmPath (REG_SZ).
#pragma once

#include "framework/CString.h"
#include "game/GameState.h"

namespace game {

// Reads every value that is there; missing or unreadable ones keep what the state holds. A negative time limit
// or COM port index counts as 0.
void LoadViewSettings(GameState& state, CString& infoPath);
// Written when the view goes away: StarSize, SingleMode, AutoCount, ComPort.
void SaveViewSettingsAtExit(const GameState& state);
// Written after the settings dialog: StarSize, TimeLimith, SingleMode, AutoCount, SameSide, ScaleColor, HtmPath.
void SaveViewSettingsFromDialog(const GameState& state, const CString& infoPath);

}  // namespace game
