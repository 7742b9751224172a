// Event arguments for the event-sink maps, and InvokeHelper for calls into hosted controls.
#include "framework/OleEventSink.h"

#include <cstdarg>
#include <vector>

#include "framework/AfxIds.h"
#include "framework/OleControlSite.h"
#include "framework/Wnd.h"

namespace fw {

EventArg::~EventArg() {
    // A by-reference BOOL goes back to the caller.
    if (m_boolOut && m_arg && (m_arg->vt & VT_BYREF) && m_arg->pboolVal)
        *m_arg->pboolVal = m_bool ? VARIANT_TRUE : VARIANT_FALSE;
}

void EventArg::Set(char vts, VARIANT* arg) {
    m_vts = vts;
    m_arg = arg;
}

VARIANT* EventArg::Deref(VARTYPE vt) {
    if (!m_arg) return nullptr;
    if (m_arg->vt == (VT_BYREF | VT_VARIANT)) return m_arg->pvarVal;
    (void)vt;
    return m_arg;
}

long EventArg::AsLong() {
    VARIANT* v = Deref(VT_I4);
    if (!v) return 0;
    VARIANT converted;
    ::VariantInit(&converted);
    if (FAILED(::VariantChangeType(&converted, v, 0, VT_I4))) return 0;
    return converted.lVal;
}

EventArg::operator LPCSTR() {
    VARIANT* v = Deref(VT_BSTR);
    m_text.Empty();
    if (v && v->vt == VT_BSTR) m_text = CString(v->bstrVal);
    else if (v && v->vt == (VT_BYREF | VT_BSTR) && v->pbstrVal) m_text = CString(*v->pbstrVal);
    return m_text;
}

EventArg::operator BSTR() {
    VARIANT* v = Deref(VT_BSTR);
    if (v && v->vt == VT_BSTR) return v->bstrVal;
    if (v && v->vt == (VT_BYREF | VT_BSTR) && v->pbstrVal) return *v->pbstrVal;
    return nullptr;
}

EventArg::operator long() { return AsLong(); }

EventArg::operator int() {
    VARIANT* v = Deref(VT_BOOL);
    if (v && v->vt == VT_BOOL) return v->boolVal != VARIANT_FALSE;
    if (v && v->vt == (VT_BYREF | VT_BOOL) && v->pboolVal) return *v->pboolVal != VARIANT_FALSE;
    return (int)AsLong();
}

EventArg::operator short() { return (short)AsLong(); }

EventArg::operator double() {
    VARIANT* v = Deref(VT_R8);
    if (!v) return 0;
    VARIANT converted;
    ::VariantInit(&converted);
    return SUCCEEDED(::VariantChangeType(&converted, v, 0, VT_R8)) ? converted.dblVal : 0.0;
}

EventArg::operator float() { return (float)(double)*this; }

EventArg::operator IDispatch*() {
    VARIANT* v = Deref(VT_DISPATCH);
    if (v && v->vt == VT_DISPATCH) return v->pdispVal;
    if (v && v->vt == (VT_BYREF | VT_DISPATCH) && v->ppdispVal) return *v->ppdispVal;
    return nullptr;
}

EventArg::operator IUnknown*() {
    VARIANT* v = Deref(VT_UNKNOWN);
    if (v && (v->vt == VT_UNKNOWN || v->vt == VT_DISPATCH)) return v->punkVal;
    return nullptr;
}

EventArg::operator VARIANT*() {
    if (!m_arg) return nullptr;
    if (m_arg->vt == (VT_BYREF | VT_VARIANT)) return m_arg->pvarVal;
    return m_arg;
}

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

namespace {

BSTR AnsiToBstr(LPCSTR text) {
    CString s(text);
    return s.AllocSysString();
}

}  // namespace

void CWnd::InvokeHelper(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet, const BYTE* pbParamInfo, ...) {
    IDispatch* dispatch = m_pCtrlSite ? m_pCtrlSite->GetControlDispatch() : nullptr;
    if (!dispatch) return;

    // Arguments in the order given; DISPPARAMS wants them reversed.
    std::vector<VARIANT> args;
    va_list list;
    va_start(list, pbParamInfo);
    for (const BYTE* p = pbParamInfo; p && *p; ++p) {
        VARIANT v;
        ::VariantInit(&v);
        v.vt = *p;
        switch (*p) {
        case VT_I2: v.iVal = (short)va_arg(list, int); break;
        case VT_I4: v.lVal = va_arg(list, long); break;
        case VT_R4: v.fltVal = (float)va_arg(list, double); break;
        case VT_R8: v.dblVal = va_arg(list, double); break;
        case VT_BOOL: v.boolVal = va_arg(list, int) ? VARIANT_TRUE : VARIANT_FALSE; break;
        case VT_BSTR: v.bstrVal = AnsiToBstr(va_arg(list, LPCSTR)); break;
        case VT_DISPATCH: v.pdispVal = va_arg(list, IDispatch*); break;
        case VT_UNKNOWN: v.punkVal = va_arg(list, IUnknown*); break;
        case VT_VARIANT: {
            const VARIANT* src = va_arg(list, const VARIANT*);
            v.vt = VT_EMPTY;
            if (src) ::VariantCopy(&v, const_cast<VARIANT*>(src));
            break;
        }
        case VT_BYREF | VT_I4: v.plVal = va_arg(list, LONG*); break;
        case VT_BYREF | VT_BOOL: v.pboolVal = va_arg(list, VARIANT_BOOL*); break;
        case VT_BYREF | VT_BSTR: v.pbstrVal = va_arg(list, BSTR*); break;
        case VT_BYREF | VT_DISPATCH: v.ppdispVal = va_arg(list, IDispatch**); break;
        case VT_BYREF | VT_VARIANT: v.pvarVal = va_arg(list, VARIANT*); break;
        default: v.vt = VT_EMPTY; break;
        }
        args.push_back(v);
    }
    va_end(list);

    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPPARAMS params = {reversed.empty() ? nullptr : reversed.data(), nullptr, (UINT)reversed.size(), 0};
    DISPID putId = DISPID_PROPERTYPUT;
    if (wFlags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        params.rgdispidNamedArgs = &putId;
        params.cNamedArgs = 1;
    }
    VARIANT result;
    ::VariantInit(&result);
    HRESULT hr = dispatch->Invoke(dwDispID, IID_NULL, 0, wFlags, &params, vtRet == VT_EMPTY ? nullptr : &result,
                                  nullptr, nullptr);
    for (VARIANT& v : args)
        if (!(v.vt & VT_BYREF) && v.vt != VT_DISPATCH && v.vt != VT_UNKNOWN) ::VariantClear(&v);
    dispatch->Release();

    // Failures leave the result untouched.
    if (FAILED(hr) || vtRet == VT_EMPTY || !pvRet) {
        ::VariantClear(&result);
        return;
    }
    if (vtRet == VT_VARIANT) {
        VARIANT* out = static_cast<VARIANT*>(pvRet);
        ::VariantClear(out);
        *out = result;  // the caller owns it now
        return;
    }
    if (result.vt != vtRet && FAILED(::VariantChangeType(&result, &result, 0, vtRet))) {
        ::VariantClear(&result);
        return;
    }
    switch (vtRet) {
    case VT_I2: *static_cast<short*>(pvRet) = result.iVal; break;
    case VT_I4: *static_cast<long*>(pvRet) = result.lVal; break;
    case VT_R4: *static_cast<float*>(pvRet) = result.fltVal; break;
    case VT_R8: *static_cast<double*>(pvRet) = result.dblVal; break;
    case VT_BOOL: *static_cast<BOOL*>(pvRet) = result.boolVal != VARIANT_FALSE; break;
    case VT_BSTR: *static_cast<CString*>(pvRet) = CString(result.bstrVal); break;
    case VT_DISPATCH:
        *static_cast<IDispatch**>(pvRet) = result.pdispVal;
        result.vt = VT_EMPTY;  // the reference goes to the caller
        break;
    default: break;
    }
    ::VariantClear(&result);
}
