#include "ui/subclass/SubclassFamily.h"

#include <atomic>

namespace {

enum class BaseClass { Edit, Combo };

struct Member {
    WNDPROC proc;
    LPCWSTR propertyName;
    BaseClass base;
    WNDPROC companion;  // installed on the combo's edit together with the member
};

// Each member keeps its previous procedure under a property name of its own: with one
// name for all, a second member on the same window would overwrite the first one's
// previous procedure and the first would then call itself.
const Member kFamily[kSubclassCount] = {
    {ComboEditFocusProc, L"CeData.ComboEditFocus", BaseClass::Edit, nullptr},
    {ComboFocusProc, L"CeData.ComboFocus", BaseClass::Combo, ComboEditFocusProc},
    {ComboEditKeyProc, L"CeData.ComboEditKey", BaseClass::Edit, nullptr},
    {ComboKeyProc, L"CeData.ComboKey", BaseClass::Combo, ComboEditKeyProc},
    {PartnerEditProc, L"CeData.PartnerEdit", BaseClass::Edit, nullptr},
    {PartnerComboProc, L"CeData.PartnerCombo", BaseClass::Combo, PartnerEditProc},
    {ComboEditDropProc, L"CeData.ComboEditDrop", BaseClass::Edit, nullptr},
    {ComboDropProc, L"CeData.ComboDrop", BaseClass::Combo, ComboEditDropProc},
    {EnabledLookProc, L"CeData.EnabledLook", BaseClass::Edit, nullptr},
    {EditKeyNotifyProc, L"CeData.EditKeyNotify", BaseClass::Edit, nullptr},
    {LockedEditProc, L"CeData.LockedEdit", BaseClass::Edit, nullptr},
    {EditDropProc, L"CeData.EditDrop", BaseClass::Edit, nullptr},
    {ReadOnlyEditProc, L"CeData.ReadOnlyEdit", BaseClass::Edit, nullptr},
    {MirrorEditProc, L"CeData.MirrorEdit", BaseClass::Edit, nullptr},
};

std::atomic<ATOM> g_familyAtom{0};
ATOM g_memberAtoms[kSubclassCount];
WNDPROC g_editClassProc;
WNDPROC g_comboClassProc;

void EnsureFamily() {
    if (!g_familyAtom.load()) InitSubclassFamily();
}

LPCWSTR PropertyKey(SubclassId id) { return reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(g_memberAtoms[id])); }

WNDPROC StoredProc(SubclassId id, HWND hwnd) {
    return reinterpret_cast<WNDPROC>(GetPropW(hwnd, PropertyKey(id)));
}

WNDPROC ClassProc(SubclassId id) {
    WNDPROC proc = kFamily[id].base == BaseClass::Combo ? g_comboClassProc : g_editClassProc;
    return proc ? proc : DefWindowProcA;
}

WNDPROC CurrentProc(HWND hwnd) {
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC));
}

LRESULT Install(SubclassId id, HWND hwnd, LPARAM givenPrevious) {
    const Member& self = kFamily[id];
    WNDPROC stored = StoredProc(id, hwnd);
    WNDPROC current = CurrentProc(hwnd);
    WNDPROC previous;
    if (givenPrevious) {
        previous = reinterpret_cast<WNDPROC>(givenPrevious);
    } else if (current == self.proc) {
        previous = stored;
    } else if (stored) {
        // Already in the chain below another procedure: a second link would loop.
        previous = stored;
    } else {
        previous = current;
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(self.proc));
    }
    if (!previous || previous == self.proc) previous = ClassProc(id);
    SetPropW(hwnd, PropertyKey(id), reinterpret_cast<HANDLE>(previous));

    if (!self.companion) return 1;
    HWND edit = GetComboEdit(hwnd);
    return edit ? self.companion(edit, SUBCLASS_INSTALL, 0, 0) : 1;
}

// A member that is not the window's procedure is unlinked from the family member above
// it. False when the procedure above is not one of ours: then nothing can be unlinked.
bool UnlinkFromMemberAbove(HWND hwnd, WNDPROC self, WNDPROC previous) {
    for (int i = 0; i < kSubclassCount; ++i) {
        SubclassId other = static_cast<SubclassId>(i);
        if (StoredProc(other, hwnd) == self) {
            SetPropW(hwnd, PropertyKey(other), reinterpret_cast<HANDLE>(previous));
            return true;
        }
    }
    return false;
}

LRESULT Remove(SubclassId id, HWND hwnd, LPARAM keepWindowProc) {
    const Member& self = kFamily[id];
    WNDPROC stored = StoredProc(id, hwnd);
    if (!stored) return 0;
    if (!keepWindowProc) {
        if (CurrentProc(hwnd) == self.proc)
            SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(stored));
        else if (!UnlinkFromMemberAbove(hwnd, self.proc, stored))
            return 0;  // a foreign procedure still calls us: stay in place
    }
    RemovePropW(hwnd, PropertyKey(id));
    if (self.companion) {
        if (HWND edit = GetComboEdit(hwnd)) self.companion(edit, SUBCLASS_REMOVE, keepWindowProc, 0);
    }
    return reinterpret_cast<LRESULT>(stored);
}

}  // namespace

ATOM InitSubclassFamily() {
    ATOM atom = g_familyAtom.load();
    if (atom) return atom;
    WNDCLASSA wc;
    if (GetClassInfoA(nullptr, "EDIT", &wc)) g_editClassProc = wc.lpfnWndProc;
    if (GetClassInfoA(nullptr, "COMBOBOX", &wc)) g_comboClassProc = wc.lpfnWndProc;
    for (int i = 0; i < kSubclassCount; ++i) g_memberAtoms[i] = GlobalAddAtomW(kFamily[i].propertyName);
    atom = GlobalAddAtomW(L"CeData");
    g_familyAtom.store(atom);
    return atom;
}

int InstallSubclassProc(HWND hwnd, WNDPROC proc) {
    EnsureFamily();
    if (proc) proc(hwnd, SUBCLASS_INSTALL, 0, 0);
    return 1;
}

LRESULT CallSubclassInstall(HWND hwnd, WNDPROC proc) {
    if (!proc) return 0;
    EnsureFamily();
    return proc(hwnd, SUBCLASS_INSTALL, 0, 0);
}

int SubclassWindowUserData(HWND hwnd, WNDPROC proc) {
    if (!proc) return 0;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, GetWindowLongPtrA(hwnd, GWLP_WNDPROC));
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
    return 1;
}

LRESULT NotifyParentKey(HWND hwnd, NMKEY* notify) {
    int id = GetDlgCtrlID(hwnd);
    notify->hdr.hwndFrom = hwnd;
    notify->hdr.idFrom = static_cast<UINT_PTR>(id);
    LRESULT answer = SendMessageA(GetParent(hwnd), WM_NOTIFY, static_cast<WPARAM>(id),
                                  reinterpret_cast<LPARAM>(notify));
    return notify->hdr.idFrom == KEY_HANDLED_MARKER ? 1 : answer;
}

HWND GetPartnerControl(HWND hwnd) {
    HWND parent = GetParent(hwnd);
    return parent ? GetDlgItem(parent, GetDlgCtrlID(hwnd) ^ PARTNER_ID_XOR) : nullptr;
}

bool HandleSubclassProtocol(SubclassId id, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                            LRESULT* result) {
    switch (msg) {
    case SUBCLASS_INSTALL:
        EnsureFamily();
        *result = Install(id, hwnd, lParam);
        return true;
    case SUBCLASS_REMOVE:
        EnsureFamily();
        *result = Remove(id, hwnd, lParam);
        return true;
    case WM_NCDESTROY:
        *result = CallPreviousProc(id, hwnd, msg, wParam, lParam);
        RemovePropW(hwnd, PropertyKey(id));
        return true;
    default:
        return false;
    }
}

WNDPROC GetPreviousProc(SubclassId id, HWND hwnd) {
    EnsureFamily();
    WNDPROC stored = StoredProc(id, hwnd);
    return stored ? stored : ClassProc(id);
}

LRESULT CallPreviousProc(SubclassId id, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(GetPreviousProc(id, hwnd), hwnd, msg, wParam, lParam);
}

HWND GetComboEdit(HWND combo) {
    HWND child = GetWindow(combo, GW_CHILD);
    char className[16];
    if (child && GetClassNameA(child, className, sizeof className) && lstrcmpiA(className, "Edit") == 0)
        return child;
    return FindWindowExA(combo, nullptr, "Edit", nullptr);
}

void PostControlCommand(HWND target, int id, WORD code, HWND from) {
    PostMessageA(target, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(from));
}

void SendControlCommand(HWND target, int id, WORD code, HWND from) {
    SendMessageA(target, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(from));
}
