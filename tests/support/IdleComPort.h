// The serial tests' rig (tests/game/serial/com_rig.py) maps COM1-COM17 to pty pairs while a test
// holds them. Wine lets a second program open a port that is open already, so a game view that any
// other test starts would read the rig's bytes with its remote-control reader (COM1 by default).
// Such tests point the view's "ComPort" setting at a port that no rig maps.
#pragma once

#include <windows.h>

// 0-based like the setting: COM200.
constexpr DWORD kIdleComPort = 199;

// Stores the ComPort setting under HKEY_CURRENT_USER\<appKey>.
inline bool SetComPortSetting(const char* appKey, DWORD port) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, appKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    const bool ok =
        RegSetValueExA(key, "ComPort", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&port), sizeof port) == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
}
