#include "system/FileList.h"

#include "system/FindFile.h"
#include "system/PathFunctions.h"
#include "system/ShellItem.h"
#include "system/SystemIcons.h"
#include "text/StrCompare.h"

#include <windows.h>
#include <lm.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

inline bool IsSep(char c) { return c == '\\' || c == '/'; }

// Text of the network place when the shell gives no name.
const char kNetworkPlaceName[] = "Netzwerkumgebung";

std::string ToAnsi(const wchar_t* text) {
    int n = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1) return std::string();
    std::string out((size_t)n - 1, '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring ToWide(const char* text) {
    int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (n <= 1) return std::wstring();
    std::wstring out((size_t)n - 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, out.data(), n);
    return out;
}

// Drives first, then files and folders, then shell entries.
int Group(const FileListEntry* e) { return (e->headerFlags & FLE_DRIVE) ? 0 : (e->headerFlags & FLE_SHELL) ? 2 : 1; }

struct SortContext {
    bool natural;
    bool reverse;
};

int CompareEntries(const char* textA, int lengthA, const void* dataA, const char* textB, int lengthB,
                   const void* dataB, void* context) {
    const SortContext* sc = (const SortContext*)context;
    int d = Group((const FileListEntry*)dataA) - Group((const FileListEntry*)dataB);
    if (d) return d;
    d = sc->natural ? StrCmpNaturalIA(textA, textB) : CompareTextNA(textA, lengthA, textB, lengthB, true);
    // Names equal by the rule ("a1" and "a01", or names that differ in case only) keep a fixed order,
    // whatever order the folder gave them in.
    if (!d) d = CompareTextNA(textA, lengthA, textB, lengthB, true);
    if (!d) d = CompareTextNA(textA, lengthA, textB, lengthB, false);
    return sc->reverse ? -d : d;
}

bool IsNetworkPath(const char* p) { return IsSep(p[0]) && IsSep(p[1]); }

}  // namespace

CFileList::CFileList(const char* path, int flags, const char* include, const char* exclude)
    : m_entries(sizeof(FileListEntry)) {
    SetLocation(path, flags, include, exclude);
}

CFileList::~CFileList() { Clear(); }

void CFileList::SetLocation(const char* path, int flags, const char* include, const char* exclude) {
    m_location = path ? path : "";
    m_flags = flags;
    m_include = include ? include : "";
    m_exclude = exclude ? exclude : "";
}

void CFileList::FreeEntryTexts() {
    for (int i = 0; i < m_entries.GetCount(); ++i) {
        FileListEntry* e = (FileListEntry*)m_entries.GetItemData(i);
        free(e->extraText);
        e->extraText = nullptr;
    }
}

void CFileList::Clear() {
    FreeEntryTexts();
    m_entries.RemoveAll();
    m_cursor = 0;
}

bool CFileList::Aborted() { return m_abort.load(std::memory_order_relaxed) != 0; }

bool CFileList::Accept(const char* name, uint32_t attributes) const {
    bool folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (folder && (strcmp(name, ".") == 0 || strcmp(name, "..") == 0)) return false;
    if ((m_readFlags & FL_FOLDERS_ONLY) && !folder) return false;
    if (!folder && !m_include.IsEmpty() && !PathMatchSpecA(name, m_include)) return false;
    if (!m_exclude.IsEmpty() && PathMatchSpecA(name, m_exclude)) return false;
    return true;
}

bool CFileList::Add(const char* name, uint32_t headerFlags, uint32_t attributes, uint64_t size, const int64_t* times,
                    const char* extraText) {
    FileListEntry e = {};
    e.headerFlags = headerFlags;
    e.attributes = attributes;
    e.size = size;
    if (times) {
        e.created = times[0];
        e.accessed = times[1];
        e.written = times[2];
    }
    e.icon = -1;
    if (extraText) {
        e.extraLength = (int32_t)strlen(extraText);
        e.extraText = (char*)malloc((size_t)e.extraLength + 1);
        if (!e.extraText) return false;
        memcpy(e.extraText, extraText, (size_t)e.extraLength + 1);
    }
    int index = m_entries.InsertItemN(-1, name, -1, &e);
    if (index < 0) {
        free(e.extraText);
        return false;
    }
    // The item block never moves, so the entry can point at its own text.
    FileListEntry* stored = (FileListEntry*)m_entries.GetItemData(index);
    stored->name = m_entries.GetItemText(index);
    stored->nameLength = m_entries.GetItemLength(index);
    return !(m_readFlags & FL_FIRST_ONLY);
}

int CFileList::Read(const char* path, int flags, const char* include, const char* exclude) {
    if (path) SetLocation(path, flags < 0 ? m_flags : flags, include, exclude);
    else if (flags >= 0 || include || exclude) {
        // Copies: SetLocation assigns these members.
        CString location = m_location, storedInclude = m_include, storedExclude = m_exclude;
        SetLocation(location, flags < 0 ? m_flags : flags, include ? include : (const char*)storedInclude,
                    exclude ? exclude : (const char*)storedExclude);
    }
    m_abort.store(0);
    Clear();
    m_readFlags = m_flags;
    m_directory.Empty();
    CString location = m_location;
    uint8_t end;
    if (location == ":") {
        end = ReadDrives();
    } else if (IsNetworkPath(location)) {
        char mapped[MAX_PATH * 2];
        if (!(m_readFlags & FL_NETWORK) || !MapNetworkPlacePath(location, mapped, sizeof(mapped))) {
            end = FL_END_FAILED;
        } else {
            int separators = 0;
            for (const char* p = mapped + 2; *p; ++p) separators += *p == '\\';
            if (!mapped[2]) end = ReadServers();
            else if (separators == 0) end = ReadShares(mapped);
            else end = ReadDirectory(mapped);
        }
    } else {
        end = location.IsEmpty() ? (uint8_t)FL_END_FAILED : ReadDirectory(location);
    }
    if (end == FL_END_COMPLETE && m_entries.GetCount() && (m_readFlags & FL_FIRST_ONLY)) end = FL_END_FIRST_ONLY;
    if ((m_readFlags & FL_SORTED) && end <= FL_END_FIRST_ONLY) Sort(m_sortMode, 0);
    m_cursor = 0;
    m_endCode.store(end);
    return end <= FL_END_FIRST_ONLY ? m_entries.GetCount() : -1;
}

uint8_t CFileList::ReadDirectory(const char* location) {
    std::string dir = location;
    std::string pattern = "*";
    size_t last = dir.find_last_of("\\/");
    std::string tail = dir.substr(last == std::string::npos ? 0 : last + 1);
    if (tail.find_first_of("*?") != std::string::npos) {
        pattern = tail;
        dir.resize(last == std::string::npos ? 0 : last + 1);
    }
    if (dir.size() == 2 && dir[1] == ':') dir += '\\';
    if (!dir.empty() && !IsSep(dir.back())) dir += '\\';
    m_directory = dir.c_str();

    FindRecord record;
    DWORD error = 0;
    HANDLE find = FindFirstFileRec((dir + pattern).c_str(), &record, &error);
    if (!find) return (uint8_t)(error == ERROR_FILE_NOT_FOUND ? FL_END_COMPLETE : FL_END_FAILED);
    uint8_t end = FL_END_COMPLETE;
    do {
        if (Aborted()) {
            end = FL_END_ABORTED;
            break;
        }
        if (!Accept(record.name, record.flags)) continue;
        int64_t times[3] = {record.created, record.accessed, record.written};
        if (!Add(record.name, 0, record.flags, record.size, times, nullptr)) break;
    } while (FindNextFileRec(find, &record, &error));
    FindCloseRec(find);
    return end;
}

uint8_t CFileList::ReadDrives() {
    DWORD mask = GetLogicalDrives();
    for (int d = 0; d < 26; ++d) {
        if (!(mask >> d & 1)) continue;
        if (Aborted()) return FL_END_ABORTED;
        char name[3] = {(char)('A' + d), ':', 0};
        if (!Add(name, FLE_DRIVE, FILE_ATTRIBUTE_DIRECTORY, 0, nullptr, nullptr)) return FL_END_COMPLETE;
    }
    if (m_readFlags & FL_NETWORK) {
        if (Aborted()) return FL_END_ABORTED;
        CShellItem network;
        CString name;
        if (network.CreateFromFolderId(CSIDL_NETWORK)) name = network.GetDisplayName();
        if (name.IsEmpty()) name = kNetworkPlaceName;
        Add(name, FLE_SHELL, FILE_ATTRIBUTE_DIRECTORY, 0, nullptr, "\\\\");
    }
    return FL_END_COMPLETE;
}

uint8_t CFileList::ReadServers() {
    m_directory = "\\\\";
    SERVER_INFO_100* servers = nullptr;
    DWORD count = 0, total = 0;
    NET_API_STATUS rc = NetServerEnum(nullptr, 100, (BYTE**)&servers, MAX_PREFERRED_LENGTH, &count, &total,
                                      SV_TYPE_ALL, nullptr, nullptr);
    if (rc != NERR_Success && rc != ERROR_MORE_DATA) return FL_END_FAILED;
    std::vector<std::string> names;
    for (DWORD i = 0; i < count; ++i) names.push_back(ToAnsi(servers[i].sv100_name));
    if (servers) NetApiBufferFree(servers);
    return AddNetworkEntries(names, "\\\\");
}

uint8_t CFileList::ReadShares(const char* server) {
    m_directory = CString(server) + "\\";
    SHARE_INFO_1* shares = nullptr;
    DWORD count = 0, total = 0;
    std::wstring wideServer = ToWide(server);
    NET_API_STATUS rc = NetShareEnum((LPWSTR)wideServer.c_str(), 1, (BYTE**)&shares, MAX_PREFERRED_LENGTH, &count,
                                     &total, nullptr);
    if (rc != NERR_Success && rc != ERROR_MORE_DATA) return FL_END_FAILED;
    std::vector<std::string> names;
    for (DWORD i = 0; i < count; ++i) {
        // Disk shares only; administrative ones ("C$") are left out.
        if ((shares[i].shi1_type & 0xFF) == STYPE_DISKTREE && !(shares[i].shi1_type & STYPE_SPECIAL))
            names.push_back(ToAnsi(shares[i].shi1_netname));
    }
    if (shares) NetApiBufferFree(shares);
    return AddNetworkEntries(names, std::string(server) + "\\");
}

uint8_t CFileList::AddNetworkEntries(const std::vector<std::string>& names, const std::string& prefix) {
    for (const std::string& name : names) {
        if (Aborted()) return FL_END_ABORTED;
        if (name.empty() || !Accept(name.c_str(), FILE_ATTRIBUTE_DIRECTORY)) continue;
        if (!Add(name.c_str(), FLE_SHELL, FILE_ATTRIBUTE_DIRECTORY, 0, nullptr, (prefix + name).c_str())) break;
    }
    return FL_END_COMPLETE;
}

void CFileList::Sort(int mode, int flags) {
    m_sortMode = mode;
    SortContext sc{(mode & FL_SORT_NATURAL) != 0, (flags & 1) != 0};
    m_entries.SortBy(CompareEntries, &sc);
    m_cursor = 0;
}

const FileListEntry* CFileList::GetEntry(int index) const {
    return (const FileListEntry*)m_entries.GetItemData(index);
}

const char* CFileList::NextEntry(int form, int* lengthOut, const FileListEntry** entryOut) {
    if (entryOut) *entryOut = nullptr;
    if (lengthOut) *lengthOut = 0;
    if (m_cursor >= m_entries.GetCount()) return nullptr;
    int index = m_cursor++;
    if (entryOut) *entryOut = GetEntry(index);
    if (form == FL_FORM_PATH) return GetEntryPath(index, lengthOut, FALSE);
    if (lengthOut) *lengthOut = m_entries.GetItemLength(index);
    return m_entries.GetItemText(index);
}

const char* CFileList::GetEntryPath(int index, int* lengthOut, BOOL relative) {
    if (lengthOut) *lengthOut = 0;
    const FileListEntry* e = GetEntry(index);
    if (!e) return nullptr;
    if (relative) {
        m_pathBuffer = e->name;
    } else if (e->extraText) {
        m_pathBuffer = e->extraText;
    } else if (e->headerFlags & FLE_DRIVE) {
        m_pathBuffer = CString(e->name) + "\\";
    } else {
        m_pathBuffer = m_directory + e->name;
    }
    if (lengthOut) *lengthOut = m_pathBuffer.GetLength();
    return m_pathBuffer;
}

int CFileList::GetEntryIcon(const FileListEntry* entry, int flags) {
    if (!entry) return -1;
    FileListEntry* e = const_cast<FileListEntry*>(entry);
    if (e->icon >= 0 && e->iconFlags == flags) return e->icon;
    int icon = -1;
    UINT shellFlags = (UINT)flags & (SHGFI_SMALLICON | SHGFI_OPENICON | SHGFI_USEFILEATTRIBUTES);
    if (e->headerFlags & FLE_DRIVE) {
        icon = GetDriveIconIndex(e->name[0], (flags & SHGFI_SMALLICON) != 0);
    } else if ((e->headerFlags & FLE_SHELL) && e->extraText && strcmp(e->extraText, "\\\\") == 0) {
        CShellItem network;
        if (network.CreateFromFolderId(CSIDL_NETWORK)) icon = network.GetIconIndex(shellFlags);
        if (icon < 0) icon = GetFileIconIndex(FI_FOLDER | ((flags & SHGFI_SMALLICON) ? 0 : FI_LARGE));
    } else {
        std::string path = e->extraText ? std::string(e->extraText) : std::string(m_directory) + e->name;
        // Network entries are never touched on disk for their icon.
        if (e->headerFlags & FLE_SHELL) shellFlags |= SHGFI_USEFILEATTRIBUTES;
        SHFILEINFOA info = {};
        if (SHGetFileInfoA(path.c_str(), e->attributes, &info, sizeof(info), SHGFI_SYSICONINDEX | shellFlags))
            icon = info.iIcon;
    }
    e->icon = icon;
    e->iconFlags = flags;
    return icon;
}

const char* CFileList::GetEntryExtraText(const FileListEntry* entry, int* lengthOut) const {
    if (lengthOut) *lengthOut = 0;
    if (!entry || !entry->extraText) return nullptr;
    if (lengthOut) *lengthOut = entry->extraLength;
    return entry->extraText;
}
