// CPathComboBox: dragging the path out, dropped files and the clipboard.
#include "treelist/pathcombo/PathComboBox.h"

#include "system/PathFunctions.h"
#include "treelist/shared/DropBlock.h"

#include <shlobj.h>

HGLOBAL CPathComboBox::BuildDropBlock(const char* path) { return BuildPathDropBlock(path); }

void CPathComboBox::SetAcceptDrop(BOOL on) {
    m_acceptDrop = on != FALSE;
    ::DragAcceptFiles(m_hWnd, on);
}

void CPathComboBox::DragOut() {
    if (!m_state.path[0] || Notify(PCN_PATHDRAG, 0, (uint32_t)m_kind) != 0) return;
    char resolved[kPathBufferSize];
    HGLOBAL block = MapNetworkPlacePath(m_state.path, resolved, sizeof resolved) ? BuildDropBlock(resolved) : nullptr;
    if (!block) return;
    COleDataSource source;
    source.CacheGlobalData(CF_HDROP, block);
    ::DragAcceptFiles(m_hWnd, FALSE);
    source.DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK);
    ::DragAcceptFiles(m_hWnd, m_acceptDrop);
    Notify(PCN_PATHDRAG, 1, (uint32_t)m_kind);
}

void CPathComboBox::OnDropFiles(HDROP drop) {
    char file[kPathBufferSize];
    const UINT count = ::DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    const UINT length = count ? ::DragQueryFileA(drop, 0, nullptr, 0) : 0;
    bool fits = m_acceptDrop && length > 0 && length < sizeof file &&
                ::DragQueryFileA(drop, 0, file, sizeof file) == length;
    // The block belongs to us whatever happens to its contents.
    ::DragFinish(drop);
    if (!fits) return;
    const DWORD attributes = ::GetFileAttributesA(file);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) CutToFolder(file);
    SetPath(file, (int)(PATHFORM_UNCHANGED | (uint32_t)lstrlenA(file)));
}

void CPathComboBox::CopyText(const char* text, int length) {
    if (!OpenClipboard()) return;
    ::EmptyClipboard();
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, (SIZE_T)length + 1);
    if (char* copy = block ? static_cast<char*>(::GlobalLock(block)) : nullptr) {
        memcpy(copy, text, (size_t)length);
        copy[length] = 0;
        ::GlobalUnlock(block);
        if (!::SetClipboardData(CF_TEXT, block)) ::GlobalFree(block);
    }
    ::CloseClipboard();
}
