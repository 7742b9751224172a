// The event sink of hosted controls, the event-sink maps and the arguments their handlers get.
#include "framework/OleEventSink.h"

#include "framework/OleControlSite.h"

const EventSinkMap* CCmdTarget::GetThisEventSinkMap() {
    static const EventSinkEntry entries[] = {{0, 0, nullptr}};
    static const EventSinkMap map = {nullptr, entries};
    return &map;
}

const EventSinkMap* CCmdTarget::GetEventSinkMap() const { return GetThisEventSinkMap(); }

namespace fw {

// ---- EventSink ----

STDMETHODIMP EventSink::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == m_iid) {
        *ppv = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) EventSink::Release() {
    LONG refs = InterlockedDecrement(&m_refs);
    if (refs == 0) delete this;
    return (ULONG)refs;
}

STDMETHODIMP EventSink::GetTypeInfoCount(UINT* pctinfo) {
    if (pctinfo) *pctinfo = 0;
    return S_OK;
}

STDMETHODIMP EventSink::Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) {
    if (m_site) {
        // The handler may close the control; keep the site until the call is over.
        COleControlSite* site = m_site;
        site->AddRef();
        site->FireEvent(dispid, params);
        site->Release();
    }
    return S_OK;
}

// ---- EventArg ----

EventArg::~EventArg() {
    // A by-reference BOOL goes back to the caller.
    if (m_boolOut && m_arg && (m_arg->vt & VT_BYREF) && m_arg->pboolVal)
        *m_arg->pboolVal = m_bool ? VARIANT_TRUE : VARIANT_FALSE;
}

VARIANT* EventArg::Deref() {
    if (!m_arg) return nullptr;
    if (m_arg->vt == (VT_BYREF | VT_VARIANT)) return m_arg->pvarVal;
    return m_arg;
}

long EventArg::AsLong() {
    VARIANT* v = Deref();
    if (!v) return 0;
    VARIANT converted;
    ::VariantInit(&converted);
    if (FAILED(::VariantChangeType(&converted, v, 0, VT_I4))) return 0;
    return converted.lVal;
}

EventArg::operator LPCSTR() {
    VARIANT* v = Deref();
    m_text.Empty();
    if (v && v->vt == VT_BSTR) m_text = CString(v->bstrVal);
    else if (v && v->vt == (VT_BYREF | VT_BSTR) && v->pbstrVal) m_text = CString(*v->pbstrVal);
    return m_text;
}

EventArg::operator BSTR() {
    VARIANT* v = Deref();
    if (v && v->vt == VT_BSTR) return v->bstrVal;
    if (v && v->vt == (VT_BYREF | VT_BSTR) && v->pbstrVal) return *v->pbstrVal;
    return nullptr;
}

EventArg::operator long() { return AsLong(); }

EventArg::operator int() {
    VARIANT* v = Deref();
    if (v && v->vt == VT_BOOL) return v->boolVal != VARIANT_FALSE;
    if (v && v->vt == (VT_BYREF | VT_BOOL) && v->pboolVal) return *v->pboolVal != VARIANT_FALSE;
    return (int)AsLong();
}

EventArg::operator short() { return (short)AsLong(); }

EventArg::operator double() {
    VARIANT* v = Deref();
    if (!v) return 0;
    VARIANT converted;
    ::VariantInit(&converted);
    return SUCCEEDED(::VariantChangeType(&converted, v, 0, VT_R8)) ? converted.dblVal : 0.0;
}

EventArg::operator float() { return (float)(double)*this; }

EventArg::operator IDispatch*() {
    VARIANT* v = Deref();
    if (v && v->vt == VT_DISPATCH) return v->pdispVal;
    if (v && v->vt == (VT_BYREF | VT_DISPATCH) && v->ppdispVal) return *v->ppdispVal;
    return nullptr;
}

EventArg::operator IUnknown*() {
    VARIANT* v = Deref();
    if (v && (v->vt == VT_UNKNOWN || v->vt == VT_DISPATCH)) return v->punkVal;
    return nullptr;
}

EventArg::operator VARIANT*() { return Deref(); }

EventArg::operator int*() {
    if (m_arg && m_arg->vt == (VT_BYREF | VT_BOOL) && m_arg->pboolVal) {
        m_bool = *m_arg->pboolVal != VARIANT_FALSE;
        m_boolOut = true;
    } else {
        m_bool = FALSE;
    }
    return &m_bool;
}

EventArg::operator long*() {
    if (m_arg && m_arg->vt == (VT_BYREF | VT_I4)) return reinterpret_cast<long*>(m_arg->plVal);
    return nullptr;
}

EventArg::operator IDispatch**() {
    if (m_arg && m_arg->vt == (VT_BYREF | VT_DISPATCH)) return m_arg->ppdispVal;
    return nullptr;
}

}  // namespace fw
