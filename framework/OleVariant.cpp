#include "framework/OleVariant.h"

#include "framework/CString.h"

COleVariant::COleVariant(LPCSTR lpszSrc) {
    ::VariantInit(this);
    vt = VT_BSTR;
    bstrVal = CString(lpszSrc).AllocSysString();
}

COleVariant::COleVariant(long lSrc, VARTYPE vtSrc) {
    ::VariantInit(this);
    vt = vtSrc;
    if (vtSrc == VT_BOOL)
        boolVal = lSrc ? VARIANT_TRUE : VARIANT_FALSE;
    else if (vtSrc == VT_ERROR)
        scode = lSrc;
    else {
        vt = VT_I4;
        lVal = lSrc;
    }
}

COleVariant::COleVariant(short nSrc, VARTYPE vtSrc) {
    ::VariantInit(this);
    vt = vtSrc == VT_BOOL ? VT_BOOL : VT_I2;
    if (vt == VT_BOOL)
        boolVal = nSrc ? VARIANT_TRUE : VARIANT_FALSE;
    else
        iVal = nSrc;
}

COleVariant& COleVariant::operator=(LPCSTR lpszSrc) {
    ::VariantClear(this);
    vt = VT_BSTR;
    bstrVal = CString(lpszSrc).AllocSysString();
    return *this;
}
