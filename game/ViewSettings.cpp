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
    int32_t singleMode = state.singleMode, comPort = state.comPort;
    ReadDword(key, "StarSize", state.starSize);
    ReadDword(key, "TimeLimith", state.timeLimit);
    ReadDword(key, "SingleMode", singleMode);
    ReadDword(key, "AutoCount", state.autoCount);
    ReadDword(key, "SameSide", state.sameSide);
    ReadDword(key, "ScaleColor", state.scaleColour);
    ReadDword(key, "ComPort", comPort);
    state.singleMode = singleMode;
    state.comPort = comPort < 0 ? 0 : comPort;
    if (state.timeLimit < 0) state.timeLimit = 0;
    key.QueryString(infoPath, "HtmPath");
}

void SaveViewSettingsAtExit(const GameState& state) {
    CRegistry key;
    if (!key.Open(HKEY_CURRENT_USER, nullptr, REGMODE_CREATE)) return;
    WriteDword(key, "StarSize", state.starSize);
    WriteDword(key, "SingleMode", state.singleMode);
    WriteDword(key, "AutoCount", state.autoCount);
    WriteDword(key, "ComPort", state.comPort);
}

void SaveViewSettingsFromDialog(const GameState& state, const CString& infoPath) {
    CRegistry key;
    if (!key.Open(HKEY_CURRENT_USER, nullptr, REGMODE_CREATE)) return;
    WriteDword(key, "StarSize", state.starSize);
    WriteDword(key, "TimeLimith", state.timeLimit);
    WriteDword(key, "SingleMode", state.singleMode);
    WriteDword(key, "AutoCount", state.autoCount);
    WriteDword(key, "SameSide", state.sameSide);
    WriteDword(key, "ScaleColor", state.scaleColour);
    // With its terminator, so that any reader gets a proper string.
    key.SetValueA(static_cast<const char*>(infoPath), infoPath.GetLength() + 1, "HtmPath", REG_SZ);
}

}  // namespace game
