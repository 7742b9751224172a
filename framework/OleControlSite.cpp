#include "framework/OleControlSite.h"

#include <olectl.h>

#include <vector>

#include "framework/HandleMap.h"
#include "framework/OleEventSink.h"
#include "framework/Wnd.h"

// ---- OLE start ----

namespace {
thread_local bool t_oleReady;
}

BOOL AfxOleInit() {
    if (!t_oleReady) {
        HRESULT hr = ::OleInitialize(nullptr);
        t_oleReady = SUCCEEDED(hr);
    }
    return t_oleReady;
}

void AfxEnableControlContainer(void*) { AfxOleInit(); }

// ---- Sites by container ----

namespace {
struct SiteOfContainer {
    HWND container;
    COleControlSite* site;
};
std::vector<SiteOfContainer>& Sites() {
    static std::vector<SiteOfContainer>* sites = new std::vector<SiteOfContainer>;  // UI thread only
    return *sites;
}
}  // namespace

void COleControlSite::CloseSitesOf(HWND hWndContainer) {
    for (;;) {
        COleControlSite* found = nullptr;
        for (const SiteOfContainer& s : Sites())
            if (s.container == hWndContainer) found = s.site;
        if (!found) return;
        found->Close();
    }
}

// ---- COleControlSite ----

COleControlSite::COleControlSite(CWnd* pWndSite, HWND hWndContainer, UINT nID)
    : m_pWndSite(pWndSite), m_hWndContainer(hWndContainer), m_nID(nID) {}

COleControlSite::~COleControlSite() = default;

BOOL COleControlSite::CreateControl(REFCLSID clsid, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect) {
    m_rect = rect;
    HRESULT hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IOleObject,
                                    reinterpret_cast<void**>(&m_pObject));
    if (FAILED(hr) || !m_pObject) {
        Close();
        return FALSE;
    }
    Sites().push_back({m_hWndContainer, this});
    m_pObject->SetClientSite(this);
    IPersistStreamInit* persist = nullptr;
    if (SUCCEEDED(m_pObject->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persist))) && persist) {
        persist->InitNew();
        persist->Release();
    }
    ConnectEvents();
    hr = m_pObject->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, this, 0, m_hWndContainer, &m_rect);
    HWND hWndControl = nullptr;
    if (SUCCEEDED(hr) && !m_pInPlaceObject)
        m_pObject->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&m_pInPlaceObject));
    if (m_pInPlaceObject) m_pInPlaceObject->GetWindow(&hWndControl);
    if (FAILED(hr) || !hWndControl || !m_pWndSite->SubclassWindow(hWndControl)) {
        Close();
        return FALSE;
    }
    m_pWndSite->m_pCtrlSite = this;
    ::SetWindowLongPtrA(hWndControl, GWLP_ID, (LONG_PTR)m_nID);
    if (lpszWindowName && *lpszWindowName) ::SetWindowTextA(hWndControl, lpszWindowName);
    ::ShowWindow(hWndControl, (dwStyle & WS_VISIBLE) ? SW_SHOWNA : SW_HIDE);
    return TRUE;
}

void COleControlSite::ConnectEvents() {
    // The control's default source interface, else its first connection point.
    IID iid = IID_NULL;
    IProvideClassInfo2* info = nullptr;
    if (SUCCEEDED(m_pObject->QueryInterface(IID_IProvideClassInfo2, reinterpret_cast<void**>(&info))) && info) {
        info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &iid);
        info->Release();
    }
    IConnectionPointContainer* container = nullptr;
    if (FAILED(m_pObject->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container))) ||
        !container)
        return;
    if (iid != IID_NULL) {
        container->FindConnectionPoint(iid, &m_pEventPoint);
    } else {
        IEnumConnectionPoints* points = nullptr;
        if (SUCCEEDED(container->EnumConnectionPoints(&points)) && points) {
            if (points->Next(1, &m_pEventPoint, nullptr) != S_OK) m_pEventPoint = nullptr;
            if (m_pEventPoint) m_pEventPoint->GetConnectionInterface(&iid);
            points->Release();
        }
    }
    container->Release();
    if (!m_pEventPoint) return;
    m_pSink = new fw::EventSink(this, iid);
    if (FAILED(m_pEventPoint->Advise(m_pSink, &m_eventCookie))) {
        m_pEventPoint->Release();
        m_pEventPoint = nullptr;
        m_pSink->Disconnect();
        m_pSink->Release();
        m_pSink = nullptr;
    }
}

void COleControlSite::Close() {
    if (m_closed) return;
    m_closed = true;
    AddRef();  // until the end of this function
    auto& sites = Sites();
    for (size_t i = 0; i < sites.size(); ++i) {
        if (sites[i].site == this) {
            sites.erase(sites.begin() + (INT_PTR)i);
            break;
        }
    }
    if (m_pWndSite && m_pWndSite->m_pCtrlSite == this) m_pWndSite->m_pCtrlSite = nullptr;
    m_pWndSite = nullptr;
    if (m_pEventPoint) {
        m_pEventPoint->Unadvise(m_eventCookie);
        m_pEventPoint->Release();
        m_pEventPoint = nullptr;
    }
    if (m_pSink) {
        m_pSink->Disconnect();
        m_pSink->Release();
        m_pSink = nullptr;
    }
    if (m_pActiveObject) {
        m_pActiveObject->Release();
        m_pActiveObject = nullptr;
    }
    if (m_pInPlaceObject) {
        m_pInPlaceObject->InPlaceDeactivate();
        m_pInPlaceObject->Release();
        m_pInPlaceObject = nullptr;
    }
    if (m_pObject) {
        m_pObject->Close(OLECLOSE_NOSAVE);
        m_pObject->SetClientSite(nullptr);
        m_pObject->Release();
        m_pObject = nullptr;
    }
    Release();  // the creator's reference
    Release();
}

void COleControlSite::PlaceControl() {
    if (m_moving || !m_pInPlaceObject) return;
    m_moving = true;
    m_pInPlaceObject->SetObjectRects(&m_rect, &m_rect);
    m_moving = false;
}

void COleControlSite::OnMoved() {
    if (m_moving || !m_pInPlaceObject || !m_pWndSite || !m_pWndSite->m_hWnd) return;
    CRect rect;
    ::GetWindowRect(m_pWndSite->m_hWnd, &rect);
    ::MapWindowPoints(nullptr, m_hWndContainer, reinterpret_cast<LPPOINT>(&rect), 2);
    if (rect == m_rect) return;
    m_rect = rect;
    PlaceControl();
}

IDispatch* COleControlSite::GetControlDispatch() {
    IDispatch* dispatch = nullptr;
    if (m_pObject) m_pObject->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
    return dispatch;
}

void COleControlSite::FireEvent(DISPID dispid, DISPPARAMS* params) {
    CWnd* container = CWnd::FromHandlePermanent(m_hWndContainer);
    if (!container) return;
    for (const EventSinkMap* map = container->GetEventSinkMap(); map; map = map->base ? map->base() : nullptr) {
        for (const EventSinkEntry* e = map->entries; e->thunk; ++e) {
            if (e->ctrlId == m_nID && e->dispid == dispid) {
                e->thunk(container, params);
                return;
            }
        }
    }
}

// IUnknown

STDMETHODIMP COleControlSite::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (riid == IID_IUnknown || riid == IID_IOleClientSite)
        *ppv = static_cast<IOleClientSite*>(this);
    else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceSite)
        *ppv = static_cast<IOleInPlaceSite*>(this);
    else if (riid == IID_IOleInPlaceUIWindow || riid == IID_IOleInPlaceFrame)
        *ppv = static_cast<IOleInPlaceFrame*>(this);
    else if (riid == IID_IDispatch)
        *ppv = static_cast<IDispatch*>(this);
    if (!*ppv) return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) COleControlSite::AddRef() { return (ULONG)InterlockedIncrement(&m_refs); }

STDMETHODIMP_(ULONG) COleControlSite::Release() {
    LONG refs = InterlockedDecrement(&m_refs);
    if (refs == 0) delete this;
    return (ULONG)refs;
}

// IOleClientSite

STDMETHODIMP COleControlSite::SaveObject() { return E_NOTIMPL; }
STDMETHODIMP COleControlSite::GetMoniker(DWORD, DWORD, IMoniker** ppmk) {
    if (ppmk) *ppmk = nullptr;
    return E_NOTIMPL;
}
STDMETHODIMP COleControlSite::GetContainer(IOleContainer** ppContainer) {
    if (ppContainer) *ppContainer = nullptr;
    return E_NOINTERFACE;
}
STDMETHODIMP COleControlSite::ShowObject() { return S_OK; }
STDMETHODIMP COleControlSite::OnShowWindow(BOOL) { return S_OK; }
STDMETHODIMP COleControlSite::RequestNewObjectLayout() { return E_NOTIMPL; }

// IOleWindow

STDMETHODIMP COleControlSite::GetWindow(HWND* phwnd) {
    if (!phwnd) return E_POINTER;
    *phwnd = m_hWndContainer;
    return S_OK;
}
STDMETHODIMP COleControlSite::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

// IOleInPlaceSite

STDMETHODIMP COleControlSite::CanInPlaceActivate() { return S_OK; }
STDMETHODIMP COleControlSite::OnInPlaceActivate() {
    if (!m_pInPlaceObject && m_pObject)
        m_pObject->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&m_pInPlaceObject));
    return S_OK;
}
STDMETHODIMP COleControlSite::OnUIActivate() { return S_OK; }
STDMETHODIMP COleControlSite::GetWindowContext(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc,
                                                LPRECT lprcPosRect, LPRECT lprcClipRect,
                                                LPOLEINPLACEFRAMEINFO lpFrameInfo) {
    if (ppFrame) {
        *ppFrame = static_cast<IOleInPlaceFrame*>(this);
        AddRef();
    }
    if (ppDoc) *ppDoc = nullptr;
    if (lprcPosRect) *lprcPosRect = m_rect;
    if (lprcClipRect) *lprcClipRect = m_rect;
    if (lpFrameInfo) {
        lpFrameInfo->fMDIApp = FALSE;
        lpFrameInfo->hwndFrame = fw::TopLevelOf(m_hWndContainer);
        lpFrameInfo->haccel = nullptr;
        lpFrameInfo->cAccelEntries = 0;
    }
    return S_OK;
}
STDMETHODIMP COleControlSite::Scroll(SIZE) { return S_FALSE; }
STDMETHODIMP COleControlSite::OnUIDeactivate(BOOL) { return S_OK; }
STDMETHODIMP COleControlSite::OnInPlaceDeactivate() { return S_OK; }
STDMETHODIMP COleControlSite::DiscardUndoState() { return S_OK; }
STDMETHODIMP COleControlSite::DeactivateAndUndo() { return S_OK; }
STDMETHODIMP COleControlSite::OnPosRectChange(LPCRECT lprcPosRect) {
    if (!lprcPosRect) return E_POINTER;
    m_rect = *lprcPosRect;
    PlaceControl();
    return S_OK;
}

// IOleInPlaceUIWindow / IOleInPlaceFrame: no tool space, no menu merging.

STDMETHODIMP COleControlSite::GetBorder(LPRECT) { return INPLACE_E_NOTOOLSPACE; }
STDMETHODIMP COleControlSite::RequestBorderSpace(LPCBORDERWIDTHS) { return INPLACE_E_NOTOOLSPACE; }
STDMETHODIMP COleControlSite::SetBorderSpace(LPCBORDERWIDTHS) { return OLE_E_INVALIDRECT; }
STDMETHODIMP COleControlSite::SetActiveObject(IOleInPlaceActiveObject* pActiveObject, LPCOLESTR) {
    if (pActiveObject) pActiveObject->AddRef();
    if (m_pActiveObject) m_pActiveObject->Release();
    m_pActiveObject = pActiveObject;
    return S_OK;
}
STDMETHODIMP COleControlSite::InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) { return S_OK; }
STDMETHODIMP COleControlSite::SetMenu(HMENU, HOLEMENU, HWND) { return S_OK; }
STDMETHODIMP COleControlSite::RemoveMenus(HMENU) { return S_OK; }
STDMETHODIMP COleControlSite::SetStatusText(LPCOLESTR) { return S_OK; }
STDMETHODIMP COleControlSite::EnableModeless(BOOL) { return S_OK; }
STDMETHODIMP COleControlSite::TranslateAccelerator(LPMSG, WORD) { return S_FALSE; }

// IDispatch: ambient properties

STDMETHODIMP COleControlSite::GetTypeInfoCount(UINT* pctinfo) {
    if (pctinfo) *pctinfo = 0;
    return S_OK;
}
STDMETHODIMP COleControlSite::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }
STDMETHODIMP COleControlSite::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

STDMETHODIMP COleControlSite::Invoke(DISPID dispid, REFIID, LCID, WORD wFlags, DISPPARAMS*, VARIANT* pVarResult,
                                     EXCEPINFO*, UINT*) {
    if (!(wFlags & DISPATCH_PROPERTYGET) || !pVarResult) return DISP_E_MEMBERNOTFOUND;
    ::VariantInit(pVarResult);
    CWnd* container = CWnd::FromHandlePermanent(m_hWndContainer);
    if (container && container->OnAmbientProperty(this, dispid, pVarResult)) return S_OK;
    return DefaultAmbient(dispid, pVarResult) ? S_OK : DISP_E_MEMBERNOTFOUND;
}

BOOL COleControlSite::DefaultAmbient(DISPID dispid, VARIANT* pvar) const {
    switch (dispid) {
    case DISPID_AMBIENT_USERMODE:
        pvar->vt = VT_BOOL;
        pvar->boolVal = VARIANT_TRUE;
        return TRUE;
    case DISPID_AMBIENT_UIDEAD:
    case DISPID_AMBIENT_SHOWGRABHANDLES:
    case DISPID_AMBIENT_SHOWHATCHING:
    case DISPID_AMBIENT_DISPLAYASDEFAULT:
    case DISPID_AMBIENT_SUPPORTSMNEMONICS:
    case DISPID_AMBIENT_MESSAGEREFLECT:
        pvar->vt = VT_BOOL;
        pvar->boolVal = VARIANT_FALSE;
        return TRUE;
    case DISPID_AMBIENT_BACKCOLOR:
        pvar->vt = VT_I4;
        pvar->lVal = (LONG)::GetSysColor(COLOR_WINDOW);
        return TRUE;
    case DISPID_AMBIENT_FORECOLOR:
        pvar->vt = VT_I4;
        pvar->lVal = (LONG)::GetSysColor(COLOR_WINDOWTEXT);
        return TRUE;
    case DISPID_AMBIENT_LOCALEID:
        pvar->vt = VT_I4;
        pvar->lVal = (LONG)::GetUserDefaultLCID();
        return TRUE;
    default:
        return FALSE;
    }
}

// ---- CWnd's side ----

BOOL CWnd::CreateControl(REFCLSID clsid, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                         UINT nID) {
    if (m_hWnd || !pParentWnd || !pParentWnd->m_hWnd) return FALSE;
    AfxEnableControlContainer();
    COleControlSite* site = new COleControlSite(this, pParentWnd->m_hWnd, nID);
    if (!site->CreateControl(clsid, lpszWindowName, dwStyle, rect)) return FALSE;  // the site is gone already
    return TRUE;
}

IUnknown* CWnd::GetControlUnknown() { return m_pCtrlSite ? m_pCtrlSite->GetControlUnknown() : nullptr; }

BOOL CWnd::OnAmbientProperty(COleControlSite*, DISPID, VARIANT*) { return FALSE; }
