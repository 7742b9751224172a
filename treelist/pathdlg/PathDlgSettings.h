// What the directory chooser keeps in the registry: its two view choices for every user, and under an
// optional history key a start path and the chosen paths, newest first.
#pragma once

#include "framework/CString.h"

#include <windows.h>

class CTextList;

constexpr char kPathDlgSettingsKey[] = "Software\\VQ\\Common";
constexpr char kPathDlgTreeModeValue[] = "PathDlgTreeMode";
constexpr char kPathDlgBreadcrumbValue[] = "PathDlgBreadCrumb";
constexpr int kPathDlgHistoryMax = 16;

// A REG_DWORD under kPathDlgSettingsKey; value keeps what it had when the value is missing or not 4 bytes.
void ReadPathDlgSetting(const char* name, BOOL* value);
void WritePathDlgSetting(const char* name, BOOL value);

enum : int { PATHHISTORY_START = 1, PATHHISTORY_LIST = 2 };
// Reads the history key's value N (the start path, into startPath when it is empty... see flags) and
// N + "Last" (the history, newest first, into history). False when the key is not usable or missing.
bool LoadPathHistory(const char* key, int flags, CString* startPath, CTextList* history);
// Writes the history as N + "Last" (REG_MULTI_SZ), creating the keys.
bool SavePathHistory(const char* key, const CTextList& history);
