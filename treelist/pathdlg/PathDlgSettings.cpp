#include "treelist/pathdlg/PathDlgSettings.h"

#include "system/Registry.h"
#include "text/TextList.h"
#include "treelist/pathdlg/PathDlgText.h"

#include <cstdlib>
#include <cstring>

namespace {

// Opens the key the history key names (creating it in REGMODE_CREATE); the value name prefix.
bool OpenHistoryKey(CRegistry& registry, const char* key, int mode, std::string* valueName) {
    HistoryKeyParts parts;
    if (!SplitHistoryKey(key, &parts)) return false;
    const bool opened = parts.fromRoot ? registry.Open(HKEY_CURRENT_USER, "", mode)
                                       : registry.Open(HKEY_CURRENT_USER, GetRegistryAppKeyPath(), mode);
    if (!opened) return false;
    for (const std::string& subkey : parts.subkeys)
        if (!registry.OpenSubKey(subkey.c_str(), mode != REGMODE_CREATE)) return false;
    *valueName = parts.value;
    return true;
}

}  // namespace

void ReadPathDlgSetting(const char* name, BOOL* value) {
    CRegistry registry;
    DWORD stored = 0;
    if (registry.Open(HKEY_CURRENT_USER, kPathDlgSettingsKey, REGMODE_READ) &&
        registry.QueryValueA(&stored, sizeof stored, name, REG_DWORD))
        *value = stored != 0;
}

void WritePathDlgSetting(const char* name, BOOL value) {
    CRegistry registry;
    const DWORD stored = value ? 1 : 0;
    if (registry.Open(HKEY_CURRENT_USER, kPathDlgSettingsKey, REGMODE_CREATE))
        registry.SetValueA(&stored, sizeof stored, name, REG_DWORD);
}

bool LoadPathHistory(const char* key, int flags, CString* startPath, CTextList* history) {
    CRegistry registry;
    std::string name;
    if (!OpenHistoryKey(registry, key, REGMODE_READ, &name)) return false;
    if ((flags & PATHHISTORY_START) && startPath) {
        CString stored;
        if (registry.QueryString(stored, name.c_str())) *startPath = stored;
    }
    char* list = nullptr;
    if ((flags & PATHHISTORY_LIST) && history && registry.QueryValueAllocA(&list, (name + "Last").c_str(), REG_MULTI_SZ)) {
        history->RemoveAll();
        for (const char* entry = list; *entry && history->GetCount() < kPathDlgHistoryMax; entry += strlen(entry) + 1)
            history->InsertItem(entry);
        free(list);
    }
    return true;
}

bool SavePathHistory(const char* key, const CTextList& history) {
    CRegistry registry;
    std::string name;
    if (!OpenHistoryKey(registry, key, REGMODE_CREATE, &name)) return false;
    char* list = nullptr;
    if (!history.JoinMultiString(0, -1, &list)) return false;
    const bool written = registry.SetMultiString(list, (name + "Last").c_str());
    free(list);
    return written;
}
