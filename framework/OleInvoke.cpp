// InvokeHelper: calls into the dispatch interface of a hosted control, with the arguments described
// by a VTS_ list and the result converted to the type asked for.
#include <cstdarg>
#include <vector>

#include "framework/AfxIds.h"
#include "framework/OleControlSite.h"
#include "framework/Wnd.h"

namespace {

// A VTS_ code names a VARTYPE; the by-reference codes (VTS_P...) carry 0x40 in place of VT_BYREF.
constexpr BYTE kVtsByRef = 0x40;

VARTYPE VarTypeOfVts(BYTE vts) {
    return (vts & kVtsByRef) ? (VARTYPE)(VT_BYREF | (vts & ~kVtsByRef)) : (VARTYPE)vts;
}

// The next argument of the list as a VARIANT of the given type (VT_EMPTY for types not offered).
VARIANT TakeArgument(VARTYPE type, va_list* list) {
    VARIANT v;
    ::VariantInit(&v);
    v.vt = type;
    switch (type) {
    case VT_I2: v.iVal = (short)va_arg(*list, int); break;
    case VT_I4: v.lVal = va_arg(*list, long); break;
    case VT_R4: v.fltVal = (float)va_arg(*list, double); break;
    case VT_R8: v.dblVal = va_arg(*list, double); break;
    case VT_BOOL: v.boolVal = va_arg(*list, int) ? VARIANT_TRUE : VARIANT_FALSE; break;
    case VT_BSTR: v.bstrVal = CString(va_arg(*list, LPCSTR)).AllocSysString(); break;
    case VT_DISPATCH: v.pdispVal = va_arg(*list, IDispatch*); break;
    case VT_UNKNOWN: v.punkVal = va_arg(*list, IUnknown*); break;
    case VT_VARIANT: {
        const VARIANT* src = va_arg(*list, const VARIANT*);
        v.vt = VT_EMPTY;
        if (src) ::VariantCopy(&v, const_cast<VARIANT*>(src));
        break;
    }
    case VT_BYREF | VT_I4: v.plVal = va_arg(*list, LONG*); break;
    case VT_BYREF | VT_BOOL: v.pboolVal = va_arg(*list, VARIANT_BOOL*); break;
    case VT_BYREF | VT_BSTR: v.pbstrVal = va_arg(*list, BSTR*); break;
    case VT_BYREF | VT_DISPATCH: v.ppdispVal = va_arg(*list, IDispatch**); break;
    case VT_BYREF | VT_VARIANT: v.pvarVal = va_arg(*list, VARIANT*); break;
    default: v.vt = VT_EMPTY; break;
    }
    return v;
}

// Moves the call's result into the caller's variable of type vtRet; a result that does not convert
// leaves it untouched.
void StoreResult(VARIANT& result, VARTYPE vtRet, void* pvRet) {
    if (vtRet == VT_VARIANT) {
        VARIANT* out = static_cast<VARIANT*>(pvRet);
        ::VariantClear(out);
        *out = result;  // the caller owns it now
        result.vt = VT_EMPTY;
        return;
    }
    if (result.vt != vtRet && FAILED(::VariantChangeType(&result, &result, 0, vtRet))) return;
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
}

}  // namespace

void CWnd::InvokeHelper(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet, const BYTE* pbParamInfo, ...) {
    IDispatch* dispatch = m_pCtrlSite ? m_pCtrlSite->GetControlDispatch() : nullptr;
    if (!dispatch) return;

    // Arguments in the order given; DISPPARAMS wants them reversed.
    std::vector<VARIANT> args;
    va_list list;
    va_start(list, pbParamInfo);
    for (const BYTE* p = pbParamInfo; p && *p; ++p) args.push_back(TakeArgument(VarTypeOfVts(*p), &list));
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
    // The texts and copies made here are ours; references and interface pointers belong to the caller.
    for (VARIANT& v : args)
        if (!(v.vt & VT_BYREF) && v.vt != VT_DISPATCH && v.vt != VT_UNKNOWN) ::VariantClear(&v);
    dispatch->Release();

    if (SUCCEEDED(hr) && vtRet != VT_EMPTY && pvRet) StoreResult(result, vtRet, pvRet);
    ::VariantClear(&result);
}
