#include "game/ViewSettings.h"

#include "system/Registry.h"

namespace game {

namespace {

void ReadDword(CRegistry& key, const char* name, int32_t& value) {
    DWORD data;
    if (key.QueryValueA(&data, sizeof data, name, REG_DWORD)) value = static_cast<int32_t>(data);
}

void WriteDword(CRegistry& key, const char* name, int32_t value) {
    const DWORD data = static_cast<DWORD>(value);
    key.SetValueA(&data, sizeof data, name, REG_DWORD);
}

}  // namespace

void LoadViewSettings(GameState& state, CString& infoPath) {
    CRegistry key;
    if (!key.Open(HKEY_CURRENT_USER, nullptr, REGMODE_CREATE)) return;
    int32_t singleMode = state.shared.singleMode, comPort = state.shared.comPort;
    ReadDword(key, "StarSize", state.settings.starSize);
    ReadDword(key, "TimeLimith", state.settings.timeLimit);
    ReadDword(key, "SingleMode", singleMode);
    ReadDword(key, "AutoCount", state.settings.autoCount);
    ReadDword(key, "SameSide", state.settings.sameSide);
    ReadDword(key, "ScaleColor", state.settings.scaleColour);
    ReadDword(key, "ComPort", comPort);
    state.shared.singleMode = singleMode;
    state.shared.comPort = comPort < 0 ? 0 : comPort;
    if (state.settings.timeLimit < 0) state.settings.timeLimit = 0;
    key.QueryString(infoPath, "HtmPath");
}

void SaveViewSettingsAtExit(const GameState& state) {
    CRegistry key;
    if (!key.Open(HKEY_CURRENT_USER, nullptr, REGMODE_CREATE)) return;
    WriteDword(key, "StarSize", state.settings.starSize);
    WriteDword(key, "SingleMode", state.shared.singleMode);
    WriteDword(key, "AutoCount", state.settings.autoCount);
    WriteDword(key, "ComPort", state.shared.comPort);
}

void SaveViewSettingsFromDialog(const GameState& state, const CString& infoPath) {
    CRegistry key;
    if (!key.Open(HKEY_CURRENT_USER, nullptr, REGMODE_CREATE)) return;
    WriteDword(key, "StarSize", state.settings.starSize);
    WriteDword(key, "TimeLimith", state.settings.timeLimit);
    WriteDword(key, "SingleMode", state.shared.singleMode);
    WriteDword(key, "AutoCount", state.settings.autoCount);
    WriteDword(key, "SameSide", state.settings.sameSide);
    WriteDword(key, "ScaleColor", state.settings.scaleColour);
    // With its terminator, so that any reader gets a proper string.
    key.SetValueA(static_cast<const char*>(infoPath), infoPath.GetLength() + 1, "HtmPath", REG_SZ);
}

}  // namespace game
