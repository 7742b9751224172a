// The application's profile: values under HKEY_CURRENT_USER\Software\<registry key>\<application name>,
// and the recent-file list kept there.
#include "framework/WinApp.h"

#include <vector>

void CWinApp::SetRegistryKey(LPCSTR lpszRegistryKey) {
    m_strRegistryKey = lpszRegistryKey ? lpszRegistryKey : "";
    m_pszRegistryKey = m_strRegistryKey.IsEmpty() ? nullptr : (LPCSTR)m_strRegistryKey;
    m_strProfileName = m_pszAppName;
    m_pszProfileName = m_strProfileName;
}

void CWinApp::SetRegistryKey(UINT nIDRegistryKey) {
    CString key;
    key.LoadString(nIDRegistryKey);
    SetRegistryKey(key);
}

HKEY CWinApp::GetAppRegistryKey() {
    if (!m_pszRegistryKey || !m_pszProfileName) return nullptr;
    CString path;
    path.Format("Software\\%s\\%s", m_pszRegistryKey, m_pszProfileName);
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, nullptr,
                          &key, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

HKEY CWinApp::GetSectionKey(LPCSTR lpszSection) {
    HKEY app = GetAppRegistryKey();
    if (!app) return nullptr;
    HKEY key = nullptr;
    LONG rc = ::RegCreateKeyExA(app, lpszSection ? lpszSection : "", 0, nullptr, REG_OPTION_NON_VOLATILE,
                                KEY_READ | KEY_WRITE, nullptr, &key, nullptr);
    ::RegCloseKey(app);
    return rc == ERROR_SUCCESS ? key : nullptr;
}

UINT CWinApp::GetProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault) {
    HKEY key = GetSectionKey(lpszSection);
    if (!key) return (UINT)nDefault;
    DWORD value = 0, type = 0, size = sizeof(value);
    LONG rc = ::RegQueryValueExA(key, lpszEntry, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    ::RegCloseKey(key);
    if (rc != ERROR_SUCCESS || type != REG_DWORD || size != sizeof(value)) return (UINT)nDefault;
    return value;
}

BOOL CWinApp::WriteProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue) {
    HKEY key = GetSectionKey(lpszSection);
    if (!key) return FALSE;
    DWORD value = (DWORD)nValue;
    LONG rc = ::RegSetValueExA(key, lpszEntry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    ::RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

CString CWinApp::GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault) {
    CString result(lpszDefault);
    HKEY key = GetSectionKey(lpszSection);
    if (!key) return result;
    DWORD type = 0, size = 0;
    // The stored size is not trusted beyond a sane limit, and the text need not end with a NUL.
    if (::RegQueryValueExA(key, lpszEntry, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ) && size <= 65536) {
        std::vector<char> buffer(size + 1, 0);
        if (::RegQueryValueExA(key, lpszEntry, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) ==
                ERROR_SUCCESS &&
            size < buffer.size()) {
            buffer[size] = 0;
            result = buffer.data();
        }
    }
    ::RegCloseKey(key);
    return result;
}

BOOL CWinApp::WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue) {
    HKEY key = GetSectionKey(lpszSection);
    if (!key) return FALSE;
    LONG rc;
    if (!lpszValue) {
        rc = ::RegDeleteValueA(key, lpszEntry);
        if (rc == ERROR_FILE_NOT_FOUND) rc = ERROR_SUCCESS;
    } else {
        rc = ::RegSetValueExA(key, lpszEntry, 0, REG_SZ, reinterpret_cast<const BYTE*>(lpszValue),
                              (DWORD)lstrlenA(lpszValue) + 1);
    }
    ::RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU) {
    delete m_pRecentFileList;
    m_pRecentFileList = nullptr;
    if (nMaxMRU == 0) return;
    if (nMaxMRU > 16) nMaxMRU = 16;
    m_pRecentFileList = new CRecentFileList(0, "Recent File List", "File%d", (int)nMaxMRU);
    m_pRecentFileList->ReadList();
}

void CWinApp::SaveStdProfileSettings() {
    if (m_pRecentFileList) m_pRecentFileList->WriteList();
}

// ---- CRecentFileList ----

CString fw::FullPath(LPCSTR path) {
    char full[MAX_PATH];
    DWORD n = ::GetFullPathNameA(path ? path : "", MAX_PATH, full, nullptr);
    return (n > 0 && n < MAX_PATH) ? CString(full) : CString(path);
}

CRecentFileList::CRecentFileList(UINT nStart, LPCSTR lpszSection, LPCSTR lpszEntryFormat, int nSize, int)
    : m_nStart(nStart), m_strSectionName(lpszSection), m_strEntryFormat(lpszEntryFormat),
      m_arrNames((size_t)(nSize > 0 ? nSize : 0)) {}

void CRecentFileList::Add(LPCSTR lpszPathName) {
    if (!lpszPathName || !*lpszPathName || m_arrNames.empty()) return;
    CString path = fw::FullPath(lpszPathName);
    // An entry already in the list moves to the front; otherwise the oldest falls out.
    size_t at = m_arrNames.size() - 1;
    for (size_t i = 0; i < m_arrNames.size(); ++i) {
        if (m_arrNames[i].CompareNoCase(path) == 0) {
            at = i;
            break;
        }
    }
    for (size_t i = at; i > 0; --i) m_arrNames[i] = m_arrNames[i - 1];
    m_arrNames[0] = path;
}

void CRecentFileList::Remove(int nIndex) {
    if (nIndex < 0 || nIndex >= GetSize()) return;
    for (size_t i = (size_t)nIndex; i + 1 < m_arrNames.size(); ++i) m_arrNames[i] = m_arrNames[i + 1];
    m_arrNames.back().Empty();
}

void CRecentFileList::ReadList() {
    CWinApp* app = AfxGetApp();
    if (!app) return;
    size_t filled = 0;
    for (int i = 0; i < GetSize(); ++i) {
        CString entry;
        entry.Format(m_strEntryFormat, i + 1);
        CString path = app->GetProfileString(m_strSectionName, entry, "");
        if (!path.IsEmpty()) m_arrNames[filled++] = path;
    }
    for (size_t i = filled; i < m_arrNames.size(); ++i) m_arrNames[i].Empty();
}

void CRecentFileList::WriteList() {
    CWinApp* app = AfxGetApp();
    if (!app) return;
    for (int i = 0; i < GetSize(); ++i) {
        CString entry;
        entry.Format(m_strEntryFormat, i + 1);
        app->WriteProfileString(m_strSectionName, entry, m_arrNames[(size_t)i].IsEmpty() ? nullptr : (LPCSTR)m_arrNames[(size_t)i]);
    }
}
