// The framework side of the file-dialog extension: the application's registry names and
// the dialog object.
#include "ui/filedialog/FileDialogExtInternal.h"

#include "framework/WinApp.h"

#include <mutex>

namespace {

std::mutex g_objectLock;
CFileDlgExt* g_object = nullptr;

}  // namespace

void GetApplicationRegistryNames(const char** registryKey, const char** profileName) {
    CWinApp* app = AfxGetApp();
    *registryKey = app ? app->m_pszRegistryKey : nullptr;
    *profileName = app ? app->m_pszProfileName : nullptr;
}

CFileDlgExt::CFileDlgExt() : CFileDialog(FALSE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_NOCHANGEDIR) {}

CFileDlgExt::~CFileDlgExt() = default;

BOOL CFileDlgExt::AttachDialog(HWND hookDialog) {
    if (m_hWnd) return FALSE;
    CWnd* owner = CWnd::FromHandlePermanent(hookDialog);
    if (!owner) return FALSE;
    owner->UnsubclassWindow();
    return SubclassWindow(hookDialog);
}

void CFileDlgExt::DetachDialog(HWND hookDialog) {
    if (m_hWnd && m_hWnd == hookDialog) UnsubclassWindow();
}

BOOL CFileDlgExt::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header && IsCommonDialogNotify(header->code)) {
        // The extension lives on the dialog that holds the file-name field.
        HWND target = GetDlgItem(kFileNameId) ? m_hWnd : ::GetParent(m_hWnd);
        HandleFileDialogNotify(target, reinterpret_cast<OFNOTIFYA*>(lParam));
    }
    return CFileDialog::OnNotify(wParam, lParam, pResult);
}

bool AttachFileDlgExtObject(HWND hookDialog) {
    std::lock_guard<std::mutex> lock(g_objectLock);
    if (!g_object) g_object = new CFileDlgExt;
    return g_object->AttachDialog(hookDialog) != FALSE;
}

void DetachFileDlgExtObject(HWND hookDialog) {
    std::lock_guard<std::mutex> lock(g_objectLock);
    if (g_object) g_object->DetachDialog(hookDialog);
}

void DeleteFileDialogExtObject() {
    std::lock_guard<std::mutex> lock(g_objectLock);
    delete g_object;
    g_object = nullptr;
}
