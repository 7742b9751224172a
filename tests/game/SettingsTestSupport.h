// Helpers shared by the settings dialog's tests, in-process and end to end: the dialog's fields as one record,
// and the folder history's REG_MULTI_SZ value.
#pragma once

#include "res/ViewCommands.h"

#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

namespace gametest {

// What the dialog shows: the path, the time text and its four switches.
struct SettingsForm {
    std::string path, time;
    bool startTogether, autoCount, sameSide, scaleColour;
    bool operator==(const SettingsForm&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const SettingsForm& f) {
    return out << '"' << f.path << "\" \"" << f.time << "\" " << f.startTogether << f.autoCount << f.sameSide
               << f.scaleColour;
}

inline std::string DialogText(HWND dialog, int id) {
    char text[1024] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

inline SettingsForm ReadForm(HWND dialog) {
    auto checked = [&](int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; };
    return {DialogText(dialog, IDC_SETTINGS_PATH), DialogText(dialog, IDC_SETTINGS_TIME_LIMIT),
            checked(IDC_SETTINGS_START_TOGETHER), checked(IDC_SETTINGS_AUTO_COUNT), checked(IDC_SETTINGS_SAME_SIDE),
            checked(IDC_SETTINGS_SCALE_COLOUR)};
}

inline void FillForm(HWND dialog, const SettingsForm& f) {
    SetDlgItemTextA(dialog, IDC_SETTINGS_PATH, f.path.c_str());
    SetDlgItemTextA(dialog, IDC_SETTINGS_TIME_LIMIT, f.time.c_str());
    CheckDlgButton(dialog, IDC_SETTINGS_START_TOGETHER, f.startTogether ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_SETTINGS_AUTO_COUNT, f.autoCount ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_SETTINGS_SAME_SIDE, f.sameSide ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_SETTINGS_SCALE_COLOUR, f.scaleColour ? BST_CHECKED : BST_UNCHECKED);
}

// A REG_MULTI_SZ value under HKCU as a list (empty when missing), and written from one.
inline std::vector<std::string> ReadMultiString(const std::string& key, const char* name) {
    char data[8192] = {};
    DWORD size = sizeof data - 2;
    std::vector<std::string> out;
    if (RegGetValueA(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_MULTI_SZ, nullptr, data, &size)) return out;
    for (const char* p = data; *p; p += strlen(p) + 1) out.push_back(p);
    return out;
}

inline void WriteMultiString(const std::string& key, const char* name, const std::vector<std::string>& entries) {
    std::string multi;
    for (const auto& e : entries) multi += e + '\0';
    multi += '\0';
    RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), name, REG_MULTI_SZ, multi.data(), static_cast<DWORD>(multi.size()));
}

}  // namespace gametest
