// Family members that keep a control and its partner (id XOR 0x5555) showing the same
// text. The partner messages act on one control only, so two partners never echo.
#include "ui/subclass/SubclassFamily.h"

#include <cstring>
#include <vector>

namespace {

constexpr int kPartnerTextSize = 1024;
constexpr int kComboPartnerTextSize = 259;

// Gives text to the partner unless it shows it already; true when it was changed.
bool SyncPartnerText(HWND partner, LPCSTR text, int bufferSize) {
    if (!partner) return false;
    std::vector<char> current(bufferSize, 0);
    SendMessageA(partner, PARTNER_GETTEXT, bufferSize, reinterpret_cast<LPARAM>(current.data()));
    current[bufferSize - 1] = 0;
    if (strcmp(current.data(), text ? text : "") == 0) return false;
    SendMessageA(partner, PARTNER_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : ""));
    return true;
}

// The text a window shows, read through `get` (a WM_GETTEXT-like call).
template <typename Getter>
std::vector<char> ReadText(HWND hwnd, Getter get) {
    int length = static_cast<int>(SendMessageA(hwnd, WM_GETTEXTLENGTH, 0, 0));
    std::vector<char> text(length > 0 ? length + 1 : 1, 0);
    get(static_cast<WPARAM>(text.size()), reinterpret_cast<LPARAM>(text.data()));
    text.back() = 0;
    return text;
}

// WM_GETTEXT and WM_GETTEXTLENGTH of a partnered combo: the selected list entry when
// there is one, else the edit.
LRESULT ComboText(HWND combo, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT selection = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    if (selection >= 0) {
        LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, selection, 0);
        if (length >= 0) {
            if (msg == WM_GETTEXTLENGTH) return length;
            char* out = reinterpret_cast<char*>(lParam);
            size_t size = static_cast<size_t>(wParam);
            if (!out || size == 0) return 0;
            if (static_cast<size_t>(length) < size)
                return SendMessageA(combo, CB_GETLBTEXT, selection, lParam);
            std::vector<char> entry(static_cast<size_t>(length) + 1, 0);
            SendMessageA(combo, CB_GETLBTEXT, selection, reinterpret_cast<LPARAM>(entry.data()));
            memcpy(out, entry.data(), size - 1);
            out[size - 1] = 0;
            return static_cast<LRESULT>(size - 1);
        }
    }
    HWND edit = GetComboEdit(combo);
    if (edit) return SendMessageA(edit, msg, wParam, lParam);
    return CallPreviousProc(kPartnerCombo, combo, msg, wParam, lParam);
}

// Notifications of the combo's edit are also the combo's own, under its id.
LRESULT RelayEditNotify(HWND combo, WPARAM wParam, LPARAM lParam) {
    CallPreviousProc(kPartnerCombo, combo, WM_NOTIFY, wParam, lParam);
    NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
    int id = GetDlgCtrlID(combo);
    if (header) {
        header->hwndFrom = combo;
        header->idFrom = static_cast<UINT_PTR>(id);
    }
    return SendMessageA(GetParent(combo), WM_NOTIFY, static_cast<WPARAM>(id), lParam);
}

LRESULT RelayEditCommand(HWND combo, WPARAM wParam, LPARAM lParam) {
    LRESULT result = CallPreviousProc(kPartnerCombo, combo, WM_COMMAND, wParam, lParam);
    WORD code = HIWORD(wParam);
    if (code == EN_CHANGE) {
        std::vector<char> text = ReadText(combo, [combo](WPARAM w, LPARAM l) {
            return ComboText(combo, WM_GETTEXT, w, l);
        });
        SyncPartnerText(GetPartnerControl(combo), text.data(), kPartnerTextSize);
    }
    SendControlCommand(GetParent(combo), GetDlgCtrlID(combo), code, combo);
    return result;
}

// An NM_KEYDOWN notification for the key in wParam on behalf of `from`; true when handled.
bool NotifyKeyDown(HWND from, WPARAM wParam, LPARAM lParam) {
    NMKEY notify = {};
    notify.hdr.code = static_cast<UINT>(NM_KEYDOWN);
    notify.nVKey = static_cast<UINT>(wParam);
    notify.uFlags = static_cast<UINT>(lParam);
    return NotifyParentKey(from, &notify) != 0;
}

bool IsEditMessage(UINT msg) { return msg >= EM_GETSEL && msg <= EM_GETIMESTATUS; }

}  // namespace

LRESULT CALLBACK PartnerEditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result;
    if (HandleSubclassProtocol(kPartnerEdit, hwnd, msg, wParam, lParam, &result)) return result;
    switch (msg) {
    case WM_SETTEXT:
        result = CallPreviousProc(kPartnerEdit, hwnd, msg, wParam, lParam);
        if (result) {
            HWND combo = GetParent(hwnd);
            if (SyncPartnerText(GetPartnerControl(combo), reinterpret_cast<LPCSTR>(lParam), kPartnerTextSize))
                SendControlCommand(GetParent(combo), GetDlgCtrlID(combo), EN_CHANGE, combo);
        }
        return result;
    case WM_KEYDOWN:
        if (NotifyKeyDown(hwnd, wParam, lParam)) return 0;
        break;
    }
    return CallPreviousProc(kPartnerEdit, hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK PartnerComboProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result;
    if (HandleSubclassProtocol(kPartnerCombo, hwnd, msg, wParam, lParam, &result)) return result;
    switch (msg) {
    case WM_SETTEXT:
        result = CallPreviousProc(kPartnerCombo, hwnd, msg, wParam, lParam);
        SyncPartnerText(GetPartnerControl(hwnd), reinterpret_cast<LPCSTR>(lParam), kComboPartnerTextSize);
        return result;
    case PARTNER_SETTEXT:
        return CallPreviousProc(kPartnerCombo, hwnd, WM_SETTEXT, wParam, lParam);
    case PARTNER_GETTEXT:
    case WM_GETTEXT:
        return ComboText(hwnd, WM_GETTEXT, wParam, lParam);
    case WM_GETTEXTLENGTH:
        return ComboText(hwnd, msg, wParam, lParam);
    case WM_COMMAND:
        if (lParam && reinterpret_cast<HWND>(lParam) == GetComboEdit(hwnd))
            return RelayEditCommand(hwnd, wParam, lParam);
        break;
    case WM_NOTIFY:
        if (lParam && reinterpret_cast<NMHDR*>(lParam)->hwndFrom == GetComboEdit(hwnd))
            return RelayEditNotify(hwnd, wParam, lParam);
        break;
    case WM_KEYDOWN:
        if (NotifyKeyDown(hwnd, wParam, lParam)) return 0;
        break;
    case WM_DROPFILES:
        if (GetWindowLongPtrA(hwnd, GWL_EXSTYLE) & WS_EX_ACCEPTFILES)
            return DropIntoPartnerCombo(hwnd, reinterpret_cast<HDROP>(wParam));
        break;
    default:
        // Edit messages a partner sends to the combo are meant for the combo's edit.
        if (IsEditMessage(msg)) {
            if (HWND edit = GetComboEdit(hwnd)) return SendMessageA(edit, msg, wParam, lParam);
        }
        break;
    }
    return CallPreviousProc(kPartnerCombo, hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK MirrorEditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result;
    if (HandleSubclassProtocol(kMirrorEdit, hwnd, msg, wParam, lParam, &result)) return result;
    if (msg == PARTNER_SETTEXT) return CallPreviousProc(kMirrorEdit, hwnd, WM_SETTEXT, wParam, lParam);
    if (msg == PARTNER_GETTEXT) return CallPreviousProc(kMirrorEdit, hwnd, WM_GETTEXT, wParam, lParam);
    if (msg == WM_KEYDOWN && wParam == VK_RETURN) {
        // Enter belongs to the visible partner.
        HWND partner = GetPartnerControl(hwnd);
        if (partner && NotifyKeyDown(partner, wParam, lParam)) return 0;
    }
    bool mirrored = IsEditMessage(msg) || msg == WM_SETTEXT || msg == WM_GETTEXT || msg == WM_GETTEXTLENGTH;
    result = CallPreviousProc(kMirrorEdit, hwnd, msg, wParam, lParam);
    if (!mirrored) return result;
    // Ours first, then the partner's answer counts.
    HWND partner = GetPartnerControl(hwnd);
    return partner ? SendMessageA(partner, msg, wParam, lParam) : result;
}
