// Replacing the program's import slots of the common dialog functions.
#include "ui/filedialog/FileDialogExt.h"
#include "ui/filedialog/FileDialogExtInternal.h"

#include "framework/DelayLoadFailure.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

// This module's slots of the two functions.
extern "C" void* __imp_GetOpenFileNameA;
extern "C" void* __imp_GetSaveFileNameA;

namespace {

constexpr int kMaxDescriptors = 256;
constexpr int kMaxNames = 4096;

std::atomic<FileDialogFn> g_systemOpen{nullptr};
std::atomic<FileDialogFn> g_systemSave{nullptr};

// "comdlg32" (any case), alone or followed by ".dll".
bool IsCommonDialogModule(const char* name) {
    if (_strnicmp(name, "comdlg32", 8) != 0) return false;
    return name[8] == 0 || _stricmp(name + 8, ".dll") == 0;
}

template <typename T>
T* At(BYTE* base, DWORD rva) {
    return reinterpret_cast<T*>(base + rva);
}

// Writes a new address into an import slot; returns the old one.
void* ReplaceSlot(ULONGLONG* slot, void* replacement) {
    DWORD oldProtect;
    if (!VirtualProtect(slot, sizeof *slot, PAGE_WRITECOPY, &oldProtect)) return nullptr;
    void* old = InterlockedExchangePointer(reinterpret_cast<void**>(slot), replacement);
    DWORD ignored;
    VirtualProtect(slot, sizeof *slot, oldProtect, &ignored);
    return old;
}

void ReplaceInDescriptor(BYTE* base, const IMAGE_IMPORT_DESCRIPTOR& d) {
    auto* slots = At<ULONGLONG>(base, d.FirstThunk);
    // The name table; modules bound without one keep the names in the slots until loaded.
    auto* names = At<ULONGLONG>(base, d.OriginalFirstThunk ? d.OriginalFirstThunk : d.FirstThunk);
    for (int i = 0; i < kMaxNames && names[i]; ++i) {
        if (IMAGE_SNAP_BY_ORDINAL64(names[i])) continue;
        const auto* byName = At<IMAGE_IMPORT_BY_NAME>(base, static_cast<DWORD>(names[i] & 0x7FFFFFFF));
        const char* name = reinterpret_cast<const char*>(byName->Name);
        std::atomic<FileDialogFn>* saved = nullptr;
        FileDialogFn replacement = nullptr;
        if (strcmp(name, "GetOpenFileNameA") == 0) {
            saved = &g_systemOpen;
            replacement = ExtGetOpenFileNameA;
        } else if (strcmp(name, "GetSaveFileNameA") == 0) {
            saved = &g_systemSave;
            replacement = ExtGetSaveFileNameA;
        } else {
            continue;
        }
        // A second installation finds its own replacement in the slot.
        auto current = reinterpret_cast<FileDialogFn>(slots[i]);
        if (current == replacement) continue;
        if (ReplaceSlot(&slots[i], reinterpret_cast<void*>(replacement))) saved->store(current);
    }
}

const IMAGE_NT_HEADERS64* ImageHeaders(HMODULE module) {
    auto* base = reinterpret_cast<BYTE*>(module);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    if (!base || dos->e_magic != IMAGE_DOS_SIGNATURE) return nullptr;
    auto* nt = At<IMAGE_NT_HEADERS64>(base, static_cast<DWORD>(dos->e_lfanew));
    if (nt->Signature != IMAGE_NT_SIGNATURE || nt->OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC) return nullptr;
    return nt;
}

void ReplaceCommonDialogImports(HMODULE module) {
    const IMAGE_NT_HEADERS64* nt = ImageHeaders(module);
    if (!nt) return;
    auto* base = reinterpret_cast<BYTE*>(module);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!dir.VirtualAddress) return;
    auto* descriptors = At<IMAGE_IMPORT_DESCRIPTOR>(base, dir.VirtualAddress);
    for (int i = 0; i < kMaxDescriptors && descriptors[i].Name; ++i) {
        if (IsCommonDialogModule(At<const char>(base, descriptors[i].Name)))
            ReplaceInDescriptor(base, descriptors[i]);
    }
}

bool InModule(HMODULE module, const void* address) {
    const IMAGE_NT_HEADERS64* nt = ImageHeaders(module);
    const auto* base = reinterpret_cast<const BYTE*>(module);
    const auto* at = static_cast<const BYTE*>(address);
    return nt && at >= base && at < base + nt->OptionalHeader.SizeOfImage;
}

// A slot of this module's own, which its calls go through also when the common dialogs are loaded only at the
// first call (a delay import: the import directory does not list it). Until that call the slot holds the
// loader's stub, inside this module; the stub would bind the slot to the system function and so pass the
// extension by: the system function is then looked up by name when it is needed.
void ReplaceOwnSlot(HMODULE own, void** slot, FileDialogFn replacement, std::atomic<FileDialogFn>& saved) {
    auto current = reinterpret_cast<FileDialogFn>(*slot);
    if (current == replacement) return;
    const bool stub = InModule(own, reinterpret_cast<const void*>(current));
    if (ReplaceSlot(reinterpret_cast<ULONGLONG*>(slot), reinterpret_cast<void*>(replacement)) && !stub)
        saved.store(current);
}

void ReplaceOwnCommonDialogSlots(HMODULE module) {
    HMODULE own = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCSTR>(&ReplaceOwnCommonDialogSlots), &own) ||
        own != module)
        return;
    ReplaceOwnSlot(own, &__imp_GetOpenFileNameA, ExtGetOpenFileNameA, g_systemOpen);
    ReplaceOwnSlot(own, &__imp_GetSaveFileNameA, ExtGetSaveFileNameA, g_systemSave);
}

void AllowMessagesFromLowerIntegrity() {
    using FilterFn = BOOL(WINAPI*)(UINT, DWORD);
    auto filter = reinterpret_cast<FilterFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "ChangeWindowMessageFilter")));
    if (!filter) return;
    filter(0x49 /* WM_COPYGLOBALDATA */, MSGFLT_ADD);
    filter(WM_COPYDATA, MSGFLT_ADD);
    filter(WM_DROPFILES, MSGFLT_ADD);
}

FileDialogFn SystemFunction(std::atomic<FileDialogFn>& saved, const char* name) {
    FileDialogFn fn = saved.load();
    if (fn) return fn;
    // Reached without an installed slot (called directly): bind the system function.
    HMODULE comdlg = LoadLibraryA("comdlg32.dll");
    fn = comdlg ? reinterpret_cast<FileDialogFn>(reinterpret_cast<void*>(GetProcAddress(comdlg, name))) : nullptr;
    if (fn) {
        saved.store(fn);
        return fn;
    }
    // Without the library the dialog fails as the program's own call into it would: the user is told why, and
    // CommDlgExtendedError answers CDERR_INITIALIZATION (not 0, which reads as cancelled).
    return reinterpret_cast<FileDialogFn>(reinterpret_cast<void*>(DelayLoadFallback("comdlg32.dll", name)));
}

}  // namespace

FileDialogFn SystemGetOpenFileName() { return SystemFunction(g_systemOpen, "GetOpenFileNameA"); }
FileDialogFn SystemGetSaveFileName() { return SystemFunction(g_systemSave, "GetSaveFileNameA"); }

int InstallFileDialogExtension(LPCSTR moduleName) {
    static std::atomic<bool> exitHandlerSet{false};
    if (!exitHandlerSet.exchange(true)) atexit(DeleteFileDialogExtObject);
    HMODULE module = GetModuleHandleA(moduleName);
    ReplaceCommonDialogImports(module);
    ReplaceOwnCommonDialogSlots(module);
    AllowMessagesFromLowerIntegrity();
    return 1;
}
