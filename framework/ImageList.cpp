#include "framework/ImageList.h"

#include "framework/Gdi.h"
#include "framework/HandleMap.h"
#include "framework/WinApp.h"

IMPLEMENT_DYNCREATE(CImageList, CObject)

namespace {
// Image lists cannot be asked whether they still exist; a held temporary lives until exit.
BOOL ImageListAlive(void*) { return TRUE; }
const fw::TempKind kTempImageList = {&ImageListAlive,
                                     &fw::ReleaseTemp<CImageList, HIMAGELIST, &CImageList::m_hImageList>};
}  // namespace

HIMAGELIST CImageList::GetSafeHandle() const {
    const CImageList* self = this;
    return self ? m_hImageList : nullptr;
}

CImageList* CImageList::FromHandle(HIMAGELIST hImageList) {
    return fw::TempObject(&kTempImageList, hImageList, RUNTIME_CLASS(CImageList), &CImageList::m_hImageList);
}

BOOL CImageList::Attach(HIMAGELIST hImageList) {
    if (!hImageList || m_hImageList) return FALSE;
    m_hImageList = hImageList;
    return TRUE;
}

HIMAGELIST CImageList::Detach() {
    HIMAGELIST h = m_hImageList;
    m_hImageList = nullptr;
    return h;
}

BOOL CImageList::DeleteImageList() {
    if (!m_hImageList) return FALSE;
    BOOL result = ImageList_Destroy(m_hImageList);
    m_hImageList = nullptr;
    return result;
}

// Both forms make nothing (FALSE) while the object holds a list.
BOOL CImageList::Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow) {
    return !m_hImageList && Attach(ImageList_Create(cx, cy, nFlags, nInitial, nGrow));
}

BOOL CImageList::Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask) {
    return !m_hImageList && Attach(ImageList_LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nBitmapID), cx, nGrow, crMask,
                                       IMAGE_BITMAP, LR_CREATEDIBSECTION));
}

int CImageList::Add(CBitmap* pbmImage, CBitmap* pbmMask) {
    return ImageList_Add(m_hImageList, pbmImage ? static_cast<HBITMAP>(pbmImage->m_hObject) : nullptr,
                         pbmMask ? static_cast<HBITMAP>(pbmMask->m_hObject) : nullptr);
}

int CImageList::Add(CBitmap* pbmImage, COLORREF crMask) {
    return ImageList_AddMasked(m_hImageList, pbmImage ? static_cast<HBITMAP>(pbmImage->m_hObject) : nullptr, crMask);
}

BOOL CImageList::Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle) {
    return ImageList_Draw(m_hImageList, nImage, pDC->m_hDC, pt.x, pt.y, nStyle);
}
