#include "ui/ddx/DdxControlText.h"
#include "ui/ddx/DdxHelpers.h"
#include "ui/ddx/DecimalText.h"

#include <climits>

namespace {

constexpr int kLastMode = 5;
constexpr int kRangeMode = 5;

bool Offered(unsigned offeredModes, int mode) { return (offeredModes >> mode) & 1u; }

// The group's windows in z-order after the first edit; the labels may be missing.
struct RangeControls {
    HWND fromEdit = nullptr, firstLabel = nullptr, toEdit = nullptr, secondLabel = nullptr, selector = nullptr;
};

bool IsStatic(HWND hWnd) { return hWnd && (::SendMessageA(hWnd, WM_GETDLGCODE, 0, 0) & DLGC_STATIC); }
HWND Next(HWND hWnd) { return hWnd ? ::GetWindow(hWnd, GW_HWNDNEXT) : nullptr; }

RangeControls FindControls(HWND fromEdit) {
    RangeControls c;
    c.fromEdit = fromEdit;
    HWND next = Next(fromEdit);
    if (IsStatic(next)) {
        c.firstLabel = next;
        next = Next(next);
    }
    c.toEdit = next;
    next = Next(next);
    if (IsStatic(next)) {
        c.secondLabel = next;
        next = Next(next);
    }
    c.selector = next;
    return c;
}

// Reads or writes the selector's index (radio buttons through DDX_Radio, anything else as a combo box).
void ExchangeSelector(CDataExchange* pDX, HWND selector, int* mode, unsigned offeredModes) {
    if (!selector) return;
    const int id = ::GetDlgCtrlID(selector);
    int index = RangeGroupIndex(*mode, offeredModes);
    if (::SendMessageA(selector, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON)
        DDX_Radio(pDX, id, index);
    else
        DDX_CBIndex(pDX, id, index);
    if (pDX->m_bSaveAndValidate) *mode = RangeGroupMode(index, offeredModes);
}

// Labels and enabled edits follow the mode.
void ShowMode(const RangeControls& c, int mode) {
    const bool range = mode == kRangeMode;
    if (c.firstLabel) ddx::WriteText(c.firstLabel, range ? "Von :" : "Wert :");
    if (c.secondLabel) ddx::WriteText(c.secondLabel, range ? "Bis :" : "");
    ::EnableWindow(c.fromEdit, mode != 0);
    if (c.toEdit) ::EnableWindow(c.toEdit, range);
}

// Moves one edit's value through `exchange`, which returns false for a value out of range.
template <typename Value, typename Exchange>
bool ExchangeEdit(CDataExchange* pDX, HWND edit, Value* value, Exchange exchange) {
    if (!edit) return true;
    if (pDX->m_bSaveAndValidate) {  // a failure puts the focus on this edit
        pDX->m_hWndLastControl = edit;
        pDX->m_bEditLastControl = TRUE;
    }
    if (exchange(edit, value)) return true;
    ddx::FailOutOfRange(pDX);
    return false;
}

template <typename Value, typename Exchange>
void ExchangeGroup(CDataExchange* pDX, int nIDC, Value* from, Value* to, int* mode, unsigned offeredModes,
                   Exchange exchange) {
    HWND first = pDX->PrepareEditCtrl(nIDC);
    if (!first) return;
    const RangeControls c = FindControls(first);
    Value newFrom = *from, newTo = *to;
    if (!ExchangeEdit(pDX, c.fromEdit, &newFrom, exchange) || !ExchangeEdit(pDX, c.toEdit, &newTo, exchange)) return;
    int newMode = *mode;
    ExchangeSelector(pDX, c.selector, &newMode, offeredModes);
    if (pDX->Failed()) return;
    *from = newFrom;
    *to = newTo;
    *mode = newMode;
    ShowMode(c, newMode);
}

}  // namespace

int RangeGroupMode(int index, unsigned offeredModes) {
    if (index < 0) return 0;
    if (index > kLastMode) index = kLastMode;
    for (int mode = 0; mode <= kLastMode; ++mode) {
        if (Offered(offeredModes, mode) && --index < 0) return mode;
    }
    return 0;
}

int RangeGroupIndex(int mode, unsigned offeredModes) {
    if (mode < 0 || mode > kLastMode) return 0;
    int index = mode;
    for (int below = 0; below < mode && index >= 1; ++below) {
        if (!Offered(offeredModes, below)) --index;
    }
    return index;
}

void DDX_RangeGroup(CDataExchange* pDX, int nIDC, int* from, int* to, int* mode, unsigned offeredModes) {
    const bool reading = pDX->m_bSaveAndValidate != FALSE;
    ExchangeGroup(pDX, nIDC, from, to, mode, offeredModes, [reading](HWND edit, int* value) {
        if (!reading) {
            CString text;
            text.Format("%d", *value);
            ddx::WriteText(edit, text);
            return true;
        }
        int64_t wide = 0;
        if (!ParseWholeNumber(ddx::ReadText(edit, ddx::kShortText), INT_MIN, INT_MAX, &wide)) return false;
        *value = static_cast<int>(wide);
        return true;
    });
}

void DDX_RangeGroupDouble(CDataExchange* pDX, int nIDC, double* from, double* to, int* mode, unsigned offeredModes,
                          int decimals) {
    const bool reading = pDX->m_bSaveAndValidate != FALSE;
    ExchangeGroup(pDX, nIDC, from, to, mode, offeredModes, [reading, decimals](HWND edit, double* value) {
        if (!reading) {
            ddx::WriteText(edit, FormatDecimal(*value, decimals));
            return true;
        }
        return ParseDecimal(ddx::ReadText(edit, ddx::kShortText), decimals, value);
    });
}
