#include "framework/OleDataSource.h"

#include <shlobj.h>

#include <vector>

#include "framework/OleControlSite.h"

namespace {

HGLOBAL CopyGlobal(HGLOBAL source) {
    SIZE_T size = ::GlobalSize(source);
    HGLOBAL copy = ::GlobalAlloc(GMEM_MOVEABLE, size ? size : 1);
    if (!copy) return nullptr;
    void* from = ::GlobalLock(source);
    void* to = ::GlobalLock(copy);
    if (from && to && size) memcpy(to, from, size);
    if (to) ::GlobalUnlock(copy);
    if (from) ::GlobalUnlock(source);
    return copy;
}

bool SameFormat(const FORMATETC& a, const FORMATETC& b) {
    return a.cfFormat == b.cfFormat && (a.tymed & b.tymed) && a.dwAspect == b.dwAspect && a.lindex == b.lindex;
}

}  // namespace

namespace fw {

// The data object proper: global-memory blocks by format.
class OleDataObject final : public IDataObject {
public:
    struct Entry {
        FORMATETC format;
        HGLOBAL data;
    };
    std::vector<Entry> entries;

    void Set(const FORMATETC& format, HGLOBAL data) {
        for (Entry& e : entries) {
            if (e.format.cfFormat == format.cfFormat && e.format.dwAspect == format.dwAspect &&
                e.format.lindex == format.lindex) {
                ::GlobalFree(e.data);
                e.data = data;
                return;
            }
        }
        entries.push_back({format, data});
    }
    void Clear() {
        for (Entry& e : entries) ::GlobalFree(e.data);
        entries.clear();
    }

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IDataObject) {
            *ppv = static_cast<IDataObject*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return (ULONG)InterlockedIncrement(&m_refs); }
    STDMETHODIMP_(ULONG) Release() override {
        LONG refs = InterlockedDecrement(&m_refs);
        if (refs == 0) {
            Clear();
            delete this;
        }
        return (ULONG)refs;
    }

    STDMETHODIMP GetData(FORMATETC* pformatetcIn, STGMEDIUM* pmedium) override {
        if (!pformatetcIn || !pmedium) return E_INVALIDARG;
        for (const Entry& e : entries) {
            if (!SameFormat(e.format, *pformatetcIn)) continue;
            // Every caller gets a copy of its own.
            HGLOBAL copy = CopyGlobal(e.data);
            if (!copy) return E_OUTOFMEMORY;
            pmedium->tymed = TYMED_HGLOBAL;
            pmedium->hGlobal = copy;
            pmedium->pUnkForRelease = nullptr;
            return S_OK;
        }
        return DV_E_FORMATETC;
    }
    STDMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryGetData(FORMATETC* pformatetc) override {
        if (!pformatetc) return E_INVALIDARG;
        for (const Entry& e : entries)
            if (SameFormat(e.format, *pformatetc)) return S_OK;
        return DV_E_FORMATETC;
    }
    STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC* pformatetcOut) override {
        if (pformatetcOut) pformatetcOut->ptd = nullptr;
        return DATA_S_SAMEFORMATETC;
    }
    // Drop targets may leave data here (such as the effect they performed).
    STDMETHODIMP SetData(FORMATETC* pformatetc, STGMEDIUM* pmedium, BOOL fRelease) override {
        if (!pformatetc || !pmedium || pmedium->tymed != TYMED_HGLOBAL || !pmedium->hGlobal) return DV_E_TYMED;
        HGLOBAL data = fRelease ? pmedium->hGlobal : CopyGlobal(pmedium->hGlobal);
        if (!data) return E_OUTOFMEMORY;
        if (fRelease && pmedium->pUnkForRelease) {
            // The block belongs to someone else: keep a copy and let them have theirs back.
            data = CopyGlobal(pmedium->hGlobal);
            ::ReleaseStgMedium(pmedium);
            if (!data) return E_OUTOFMEMORY;
        }
        FORMATETC format = *pformatetc;
        format.ptd = nullptr;
        format.tymed = TYMED_HGLOBAL;
        Set(format, data);
        return S_OK;
    }
    STDMETHODIMP EnumFormatEtc(DWORD dwDirection, IEnumFORMATETC** ppenumFormatEtc) override {
        if (!ppenumFormatEtc) return E_INVALIDARG;
        *ppenumFormatEtc = nullptr;
        if (dwDirection != DATADIR_GET) return E_NOTIMPL;
        std::vector<FORMATETC> formats;
        for (const Entry& e : entries) formats.push_back(e.format);
        return ::SHCreateStdEnumFmtEtc((UINT)formats.size(), formats.empty() ? nullptr : formats.data(),
                                       ppenumFormatEtc);
    }
    STDMETHODIMP DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHODIMP DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHODIMP EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    LONG m_refs = 1;
};

}  // namespace fw

namespace {

// The IDropSource that hands the questions to a COleDropSource.
class DropSourceImpl : public IDropSource {
public:
    explicit DropSourceImpl(COleDropSource* source) : m_source(source) {}
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IDropSource) {
            *ppv = static_cast<IDropSource*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }  // lives on the stack of DoDragDrop
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP QueryContinueDrag(BOOL fEscapePressed, DWORD grfKeyState) override {
        return m_source->QueryContinueDrag(fEscapePressed, grfKeyState);
    }
    STDMETHODIMP GiveFeedback(DWORD dwEffect) override { return m_source->GiveFeedback(dwEffect); }

private:
    COleDropSource* m_source;
};

}  // namespace

SCODE COleDropSource::QueryContinueDrag(BOOL bEscapePressed, DWORD dwKeyState) {
    if (bEscapePressed) return DRAGDROP_S_CANCEL;
    if (!(dwKeyState & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON))) return DRAGDROP_S_DROP;
    return S_OK;
}

SCODE COleDropSource::GiveFeedback(DROPEFFECT) { return DRAGDROP_S_USEDEFAULTCURSORS; }

COleDataSource::COleDataSource() : m_pData(new fw::OleDataObject) {}

COleDataSource::~COleDataSource() { m_pData->Release(); }

void COleDataSource::CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal, LPFORMATETC lpFormatEtc) {
    if (!hGlobal) return;
    FORMATETC format = {cfFormat, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    if (lpFormatEtc) {
        format = *lpFormatEtc;
        format.cfFormat = cfFormat;
        format.ptd = nullptr;
        format.tymed = TYMED_HGLOBAL;
    }
    m_pData->Set(format, hGlobal);
}

void COleDataSource::Empty() { m_pData->Clear(); }

IDataObject* COleDataSource::GetDataObject(BOOL bAddRef) {
    if (bAddRef) m_pData->AddRef();
    return m_pData;
}

DROPEFFECT COleDataSource::DoDragDrop(DWORD dwEffects, LPCRECT, COleDropSource* pDropSource) {
    if (!AfxOleInit()) return DROPEFFECT_NONE;
    COleDropSource defaultSource;
    DropSourceImpl source(pDropSource ? pDropSource : &defaultSource);
    DWORD effect = DROPEFFECT_NONE;
    HRESULT hr = ::DoDragDrop(m_pData, &source, dwEffects, &effect);
    return hr == DRAGDROP_S_DROP ? effect : DROPEFFECT_NONE;
}
