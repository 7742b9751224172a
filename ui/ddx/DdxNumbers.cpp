#include "ui/ddx/DdxControlText.h"
#include "ui/ddx/DdxHelpers.h"
#include "ui/ddx/DecimalText.h"

#include <cfloat>
#include <climits>
#include <cmath>

namespace {

// Moves value * factor through a decimal field; false when the read value does not fit `limit`.
bool ExchangeDecimal(CDataExchange* pDX, int nIDC, double* value, int decimals, double factor, double limit) {
    HWND hWnd = pDX->PrepareEditCtrl(nIDC);
    if (!hWnd) return true;
    if (!pDX->m_bSaveAndValidate) {
        ddx::WriteText(hWnd, FormatDecimal(*value * factor, decimals));
        return true;
    }
    double typed = 0;
    if (!ParseDecimal(ddx::ReadText(hWnd, ddx::kShortText), decimals, &typed)) return false;
    const double result = typed / factor;
    if (!std::isfinite(result) || std::fabs(result) > limit) return false;
    *value = result;
    return true;
}

void ExchangeFloat(CDataExchange* pDX, int nIDC, float* value, int decimals, double factor) {
    double wide = *value;
    if (!ExchangeDecimal(pDX, nIDC, &wide, decimals, factor, FLT_MAX))
        ddx::FailOutOfRange(pDX);
    else
        *value = static_cast<float>(wide);
}

// Moves a whole number that must lie in [min, max].
void ExchangeWhole(CDataExchange* pDX, int nIDC, int64_t* value, int64_t min, int64_t max) {
    HWND hWnd = pDX->PrepareEditCtrl(nIDC);
    if (!hWnd) return;
    if (!pDX->m_bSaveAndValidate) {
        CString text;
        text.Format("%lld", static_cast<long long>(*value));
        ddx::WriteText(hWnd, text);
    } else if (!ParseWholeNumber(ddx::ReadText(hWnd, ddx::kShortText), min, max, value)) {
        ddx::FailOutOfRange(pDX);
    }
}

}  // namespace

void DDX_Double(CDataExchange* pDX, int nIDC, double* value, int decimals) {
    DDX_DoubleScaled(pDX, nIDC, value, decimals, 1.0);
}

void DDX_DoubleScaled(CDataExchange* pDX, int nIDC, double* value, int decimals, double factor) {
    if (!ExchangeDecimal(pDX, nIDC, value, decimals, factor, DBL_MAX)) ddx::FailOutOfRange(pDX);
}

void DDX_Float(CDataExchange* pDX, int nIDC, float* value, int decimals) {
    ExchangeFloat(pDX, nIDC, value, decimals, 1.0);
}

void DDX_FloatScaled(CDataExchange* pDX, int nIDC, float* value, int decimals, double factor) {
    ExchangeFloat(pDX, nIDC, value, decimals, factor);
}

void DDX_IntText(CDataExchange* pDX, int nIDC, int* value) {
    int64_t wide = *value;
    ExchangeWhole(pDX, nIDC, &wide, INT_MIN, INT_MAX);
    *value = static_cast<int>(wide);
}

void DDX_UIntText(CDataExchange* pDX, int nIDC, unsigned* value) {
    int64_t wide = *value;
    ExchangeWhole(pDX, nIDC, &wide, 0, UINT_MAX);
    *value = static_cast<unsigned>(wide);
}

void DDX_TextBuffer(CDataExchange* pDX, int nIDC, char* buffer, int size) {
    HWND hWnd = pDX->PrepareEditCtrl(nIDC);
    if (!hWnd || !buffer || size <= 0) return;
    if (pDX->m_bSaveAndValidate)
        ::GetWindowTextA(hWnd, buffer, size);
    else
        ddx::WriteText(hWnd, CString(buffer, static_cast<int>(strnlen(buffer, static_cast<size_t>(size)))));
}
