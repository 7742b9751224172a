// COleDataSource: data offered to OLE drag and drop (and to anyone who asks its IDataObject).
#pragma once

#include <windows.h>
#include <ole2.h>

#include "framework/CmdTarget.h"

// The drop effects (DROPEFFECT_ values) as one type.
typedef DWORD DROPEFFECT;

namespace fw {
class OleDataObject;
}

class COleDropSource : public CCmdTarget {
public:
    // Esc cancels, releasing the mouse buttons drops.
    virtual SCODE QueryContinueDrag(BOOL bEscapePressed, DWORD dwKeyState);
    virtual SCODE GiveFeedback(DROPEFFECT dropEffect);
};

class COleDataSource : public CCmdTarget {
public:
    COleDataSource();
    ~COleDataSource() override;
    COleDataSource(const COleDataSource&) = delete;
    COleDataSource& operator=(const COleDataSource&) = delete;

    // Offers hGlobal in the format; the data source owns the block from now on.
    void CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal, LPFORMATETC lpFormatEtc = nullptr);
    void Empty();
    // Runs the drag loop; the effect the target chose, DROPEFFECT_NONE when cancelled.
    DROPEFFECT DoDragDrop(DWORD dwEffects = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK,
                          LPCRECT lpRectStartDrag = nullptr, COleDropSource* pDropSource = nullptr);
    // The data object (with a reference for the caller when bAddRef).
    IDataObject* GetDataObject(BOOL bAddRef = TRUE);

private:
    fw::OleDataObject* m_pData;
};
