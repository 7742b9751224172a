#include "ui/ddx/DdxControlText.h"

#include "framework/HandleMap.h"

namespace ddx {

CString ReadText(HWND hWnd, int limit) {
    CString text;
    if (limit < 0) limit = 0;
    char* buffer = text.GetBuffer(limit + 1);
    const int length = ::GetWindowTextA(hWnd, buffer, limit + 1);
    text.ReleaseBuffer(length < 0 ? 0 : length);
    return text;
}

void WriteText(HWND hWnd, LPCSTR text) {
    CString current;
    fw::ReadWindowText(hWnd, current);
    if (current != text) ::SetWindowTextA(hWnd, text);
}

void FailOutOfRange(CDataExchange* pDX) {
    HWND owner = pDX->m_pDlgWnd ? pDX->m_pDlgWnd->m_hWnd : nullptr;
    ::MessageBoxA(owner, "Der eingegebene Wert liegt außerhalb des zulässigen Bereichs.", nullptr,
                  MB_OK | MB_ICONEXCLAMATION);
    pDX->Fail();
}

}  // namespace ddx
