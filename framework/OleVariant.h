// COleVariant: a VARIANT that clears itself.
#pragma once

#include <windows.h>
#include <oleauto.h>

class COleVariant : public tagVARIANT {
public:
    COleVariant() { ::VariantInit(this); }
    COleVariant(const VARIANT& src) {
        ::VariantInit(this);
        ::VariantCopy(this, const_cast<VARIANT*>(&src));
    }
    COleVariant(const COleVariant& src) : COleVariant(static_cast<const VARIANT&>(src)) {}
    // A text as a BSTR (converted from the ANSI code page).
    COleVariant(LPCSTR lpszSrc);
    // vtSrc: VT_I4, VT_BOOL or VT_ERROR.
    COleVariant(long lSrc, VARTYPE vtSrc = VT_I4);
    COleVariant(short nSrc, VARTYPE vtSrc = VT_I2);
    COleVariant(double dblSrc) {
        ::VariantInit(this);
        vt = VT_R8;
        dblVal = dblSrc;
    }
    ~COleVariant() { ::VariantClear(this); }

    COleVariant& operator=(const VARIANT& src) {
        if (this != &src) ::VariantCopy(this, const_cast<VARIANT*>(&src));
        return *this;
    }
    COleVariant& operator=(const COleVariant& src) { return *this = static_cast<const VARIANT&>(src); }
    COleVariant& operator=(LPCSTR lpszSrc);

    operator LPVARIANT() { return this; }
    operator const VARIANT*() const { return this; }
    void Clear() { ::VariantClear(this); }
    void ChangeType(VARTYPE vartype, LPVARIANT pSrc = nullptr) {
        ::VariantChangeType(this, pSrc ? pSrc : this, 0, vartype);
    }
    // Takes over the contents of a VARIANT (which is left empty).
    void Attach(VARIANT& varSrc) {
        ::VariantClear(this);
        *static_cast<VARIANT*>(this) = varSrc;
        varSrc.vt = VT_EMPTY;
    }
    VARIANT Detach() {
        VARIANT result = *this;
        vt = VT_EMPTY;
        return result;
    }
};
