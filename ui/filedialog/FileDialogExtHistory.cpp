// The recent-path histories of the file dialogs: where they live, what a dialog adds, and
// reading and writing them.
#include "ui/filedialog/FileDialogExtInternal.h"

#include "system/FileFunctions.h"
#include "system/Registry.h"
#include "text/StrCopy.h"
#include "ui/history/ListHistoryMessages.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kKeyPathSize = 128;
constexpr int kValueNameSize = 32;      // the built name: "OfnList" and at most 24 characters
constexpr int kKeyedValueNameSize = 33;  // a caller's value name: at most 32 characters
constexpr int kExtensionSize = 25;
constexpr int kMaxLoaded = 32;
constexpr int kMaxSaved = 16;
constexpr size_t kMaxValueBytes = 4096;
const char kDefaultKey[] = "Software\\VQ\\Common\\OfnList";

// "X:\" keeps its separator: without it the text names the drive's current folder.
bool IsDriveRoot(const std::string& path) {
    return path.size() == 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
}

void EnsureTrailingSeparator(std::string& path) {
    if (path.empty() || (path.back() != '\\' && path.back() != '/')) path += '\\';
}

// The folder part of a path (without its last component), "" when there is none.
std::string ParentOf(const std::string& path) {
    size_t cut = path.find_last_of("\\/");
    if (cut == std::string::npos) return std::string();
    if (cut == 2 && path[1] == ':') return path.substr(0, 3);
    return path.substr(0, cut);
}

}  // namespace

std::string OfnHistoryValueName(const char* keyText) {
    char name[kValueNameSize];
    StrCopyNA(name, "OfnList", sizeof name);
    const char* part = keyText ? keyText : "";
    if (const char* last = strpbrk(part, ".*?")) {
        for (const char* p = last; p; p = strpbrk(p + 1, ".*?")) last = p;
        part = last + 1;
    }
    char extension[kExtensionSize];
    StrCopyNA(extension, part, sizeof extension);
    for (int i = 0; extension[i]; ++i) {
        unsigned char c = static_cast<unsigned char>(extension[i]);
        extension[i] = static_cast<char>(i == 0 ? toupper(c) : tolower(c));
    }
    StrCatNA(name, extension, sizeof name);
    return name;
}

HistoryLocation ResolveHistoryLocation(DWORD mode, const char* keyText, const char* appRegistryKey,
                                       const char* appProfileName) {
    HistoryLocation where;
    mode &= OFNX_HISTORY_MASK;
    if (mode == OFNX_HISTORY_OFF) {
        where.none = true;
        return where;
    }
    if (mode == OFNX_HISTORY_CALLER_LIST) {
        where.callerList = true;
        where.writable = false;
        return where;
    }
    where.writable = (mode & OFNX_HISTORY_CALLER_LIST) != OFNX_HISTORY_READONLY;
    if (mode >= OFNX_HISTORY_KEYED) {
        // "key path\value name"
        const char* text = keyText ? keyText : "";
        const char* slash = strrchr(text, '\\');
        const char* value = slash ? slash + 1 : text;
        char keyPath[kKeyPathSize], valueName[kKeyedValueNameSize];
        StrCopyNNA(keyPath, text, sizeof keyPath, static_cast<int>(value - text) - (slash ? 1 : 0));
        StrCopyNA(valueName, value, sizeof valueName);
        where.keyPath = keyPath;
        where.valueName = valueName;
        return where;
    }
    where.valueName = OfnHistoryValueName(keyText);
    char keyPath[kKeyPathSize];
    bool hasKey = appRegistryKey && *appRegistryKey;
    bool hasProfile = appProfileName && *appProfileName;
    StrCopyNA(keyPath, "Software\\", sizeof keyPath);
    if (hasKey && hasProfile) {
        StrCatNA(keyPath, appRegistryKey, sizeof keyPath);
        StrCatNA(keyPath, "\\", sizeof keyPath);
        StrCatNA(keyPath, appProfileName, sizeof keyPath);
    } else if (hasProfile) {
        StrCatNA(keyPath, "VQ\\", sizeof keyPath);
        StrCatNA(keyPath, appProfileName, sizeof keyPath);
        if (!CRegistry().Open(HKEY_CURRENT_USER, keyPath, REGMODE_READ))
            StrCopyNA(keyPath, kDefaultKey, sizeof keyPath);
    } else {
        StrCopyNA(keyPath, kDefaultKey, sizeof keyPath);
    }
    where.keyPath = keyPath;
    return where;
}

bool HistoryCandidate(const char* path, DWORD mode, bool save, std::string& out, bool& isFolder) {
    std::string candidate = path ? path : "";
    if (candidate.size() > 1 && !IsDriveRoot(candidate) && (candidate.back() == '\\' || candidate.back() == '/'))
        candidate.pop_back();
    if (candidate.empty()) return false;
    DWORD kind = mode & OFNX_HISTORY_CALLER_LIST;
    int type = GetPathTypeA(candidate.c_str());
    bool exists = type != PATH_MISSING;
    if (!exists) {
        if (save || kind != OFNX_HISTORY_FOLDERS) {
            type = PATH_FILE;  // a name still to be written counts as a file
        } else {
            candidate = ParentOf(candidate);
            type = candidate.empty() ? PATH_MISSING : GetPathTypeA(candidate.c_str());
            if (type < PATH_DIRECTORY) return false;
            exists = true;
        }
    }
    isFolder = type >= PATH_DIRECTORY;
    if (isFolder) {
        EnsureTrailingSeparator(candidate);
    } else if (kind == OFNX_HISTORY_FOLDERS) {
        candidate = ParentOf(candidate);
        if (candidate.empty()) return false;
        EnsureTrailingSeparator(candidate);
        isFolder = true;
    }
    switch (kind) {
    case OFNX_HISTORY_FOLDERS:
        break;
    case OFNX_HISTORY_PATHS:
        if (!exists && !save) return false;
        break;
    case OFNX_HISTORY_READONLY:
        return false;
    default:  // OFNX_HISTORY_CALLER_LIST: files only
        if (isFolder || (!exists && !save)) return false;
        break;
    }
    out = candidate;
    return true;
}

int LoadOfnHistory(HWND combo, const HistoryLocation& where, const char* callerList) {
    if (where.none) return 0;
    char* owned = nullptr;
    const char* data = callerList;
    size_t size = 0;
    if (where.callerList) {
        if (!data) return 0;
        // The caller's list is only trusted within the bound.
        while (size < kMaxValueBytes && !(data[size] == 0 && (size == 0 || data[size - 1] == 0))) ++size;
    } else {
        CRegistry registry;
        DWORD stored = 0;
        if (!registry.Open(HKEY_CURRENT_USER, where.keyPath.c_str(), REGMODE_READ) ||
            !registry.QueryValueAllocA(&owned, where.valueName.c_str(), REG_MULTI_SZ, &stored) || !owned)
            return 0;
        data = owned;
        size = stored;
    }
    int added = 0;
    size_t at = 0;
    while (at < size && data[at] && added < kMaxLoaded) {
        const void* nul = memchr(data + at, 0, size - at);
        size_t length = nul ? static_cast<size_t>(static_cast<const char*>(nul) - (data + at)) : size - at;
        std::string entry(data + at, length);
        if (SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str())) >= 0) ++added;
        at += length + 1;
    }
    free(owned);
    return added;
}

bool SaveOfnHistory(HWND combo, const HistoryLocation& where) {
    if (where.none || where.callerList || !where.writable) return false;
    std::string value;
    int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    const ListMessages m = ListMessagesFor(combo);
    for (int i = 0; i < count && i < kMaxSaved; ++i) {
        std::string entry = GetListEntryText(combo, m, i);
        if (entry.empty()) continue;
        if (value.size() + entry.size() + 2 > kMaxValueBytes) continue;  // the final NUL must fit too
        value += entry;
        value += '\0';
    }
    value += '\0';
    CRegistry registry;
    return registry.Open(HKEY_CURRENT_USER, where.keyPath.c_str(), REGMODE_CREATE) &&
           registry.SetMultiString(value.c_str(), where.valueName.c_str());
}

void PutOnTopOfHistory(HWND combo, const char* path, bool isFolder) {
    LRESULT found = SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(path));
    if (found == 0) return;
    SendMessageA(combo, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(path));
    if (found > 0) {
        SendMessageA(combo, CB_DELETESTRING, static_cast<WPARAM>(found + 1), 0);
        if (isFolder) SendMessageA(combo, CB_SETCURSEL, 0, 0);
    }
}

bool SplitFilterCaption(const char* filter, std::string& caption, const char** rest) {
    if (!filter) return false;
    const char* at = strchr(filter, '@');
    if (!at) return false;
    caption.assign(filter, static_cast<size_t>(at - filter));
    *rest = at + 1;
    return true;
}
