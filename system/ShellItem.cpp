#include "system/ShellItem.h"

#include <shellapi.h>

#include <string>

CShellItem::~CShellItem() { Release(); }

void CShellItem::Release() {
    if (m_idList) CoTaskMemFree(m_idList);
    m_idList = nullptr;
}

BOOL CShellItem::CreateFromFolderId(int csidl) {
    Release();
    return SUCCEEDED(SHGetSpecialFolderLocation(nullptr, csidl, &m_idList)) && m_idList;
}

BOOL CShellItem::CreateFromPath(const char* path) {
    Release();
    if (!path || !*path) return FALSE;
    int n = MultiByteToWideChar(CP_ACP, 0, path, -1, nullptr, 0);
    std::wstring wide((size_t)n, L'\0');
    MultiByteToWideChar(CP_ACP, 0, path, -1, wide.data(), n);
    return SUCCEEDED(SHParseDisplayName(wide.c_str(), nullptr, &m_idList, 0, nullptr)) && m_idList;
}

CString CShellItem::GetDisplayName() const {
    SHFILEINFOA info = {};
    if (!m_idList || !SHGetFileInfoA((LPCSTR)m_idList, 0, &info, sizeof(info), SHGFI_PIDL | SHGFI_DISPLAYNAME))
        return CString();
    return CString(info.szDisplayName);
}

int CShellItem::GetIconIndex(UINT shellFlags) const {
    SHFILEINFOA info = {};
    UINT flags = SHGFI_PIDL | SHGFI_SYSICONINDEX | (shellFlags & (SHGFI_SMALLICON | SHGFI_OPENICON | SHGFI_LARGEICON));
    if (!m_idList || !SHGetFileInfoA((LPCSTR)m_idList, 0, &info, sizeof(info), flags)) return -1;
    return info.iIcon;
}
