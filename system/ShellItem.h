// CShellItem: a shell namespace item (an item-ID list), for entries that have no file-system path
// such as the network place.
#pragma once

#include "framework/CString.h"

#include <windows.h>
#include <shlobj.h>

class CShellItem {
public:
    CShellItem() = default;
    ~CShellItem();
    CShellItem(const CShellItem&) = delete;
    CShellItem& operator=(const CShellItem&) = delete;

    // The item of a special folder (CSIDL_NETWORK, CSIDL_DRIVES, ...).
    BOOL CreateFromFolderId(int csidl);
    // The item of a path.
    BOOL CreateFromPath(const char* path);
    void Release();

    bool IsValid() const { return m_idList != nullptr; }
    const ITEMIDLIST* GetIdList() const { return m_idList; }
    // The name the shell shows; empty when there is none.
    CString GetDisplayName() const;
    // System icon index, shellFlags from SHGFI_SMALLICON / SHGFI_OPENICON / SHGFI_LARGEICON; -1 on failure.
    int GetIconIndex(UINT shellFlags) const;

private:
    LPITEMIDLIST m_idList = nullptr;
};
