// What a call into a system library loaded at the first call (cmake/DelayImports.cmake) does when the library or
// the function is missing. The runtime's loading helper asks the failure hook below before it raises its
// exception, which nothing would catch. Where a user expects the program to go on, the call fails the way the
// system reports the service unavailable: the wave-out and mixer functions find no sound driver and no device,
// the common dialogs do not open (the user is told why), the network lists stay empty. Any other function ends
// the program with a message naming it, as the system's loader did when it refused to start the program.
// Plain Win32 only: programs of their own (the benchmarks' peers) link it with the libraries.
#include "framework/DelayLoadFailure.h"

#include <cderr.h>
#include <delayimp.h>
#include <lmerr.h>
#include <mmsystem.h>

#include <cstdio>
#include <cstring>

namespace {

// Win64 has one calling convention: the caller passes the arguments and removes them, and it takes the result
// from RAX in the width of its type. So a function of FARPROC's type, which takes none, stands in for any.
INT_PTR WINAPI NoSoundDriver() { return MMSYSERR_NODRIVER; }
INT_PTR WINAPI NoSoundDevices() { return 0; }

thread_local DWORD t_dialogError = 0;

INT_PTR WINAPI DialogUnavailable() {
    t_dialogError = CDERR_INITIALIZATION;
    ::MessageBoxA(::GetActiveWindow(),
                  "Der Dialog kann nicht geöffnet werden: die Systembibliothek comdlg32.dll steht nicht zur Verfügung.",
                  nullptr, MB_OK | MB_ICONEXCLAMATION);
    return FALSE;
}
INT_PTR WINAPI LastDialogError() { return t_dialogError; }
INT_PTR WINAPI NoFileTitle() { return -1; }  // the caller takes the name from the path itself

INT_PTR WINAPI NoNetwork() { return ERROR_NO_NETWORK; }
INT_PTR WINAPI NothingToFree() { return NERR_Success; }  // no call into the library returned a buffer

struct Fallback {
    const char* dll;
    const char* function;  // a name, or a prefix ending in '*'
    FARPROC stub;
};

// First match wins. Set before any code runs: a static constructor may be the first caller.
constexpr Fallback kFallbacks[] = {
    {"winmm.dll", "waveOutGetNumDevs", NoSoundDevices},
    {"winmm.dll", "mixerGetNumDevs", NoSoundDevices},
    {"winmm.dll", "waveOut*", NoSoundDriver},
    {"winmm.dll", "mixer*", NoSoundDriver},
    {"comdlg32.dll", "PrintDlgA", DialogUnavailable},
    {"comdlg32.dll", "GetOpenFileNameA", DialogUnavailable},
    {"comdlg32.dll", "GetSaveFileNameA", DialogUnavailable},
    {"comdlg32.dll", "CommDlgExtendedError", LastDialogError},
    {"comdlg32.dll", "GetFileTitleA", NoFileTitle},
    {"netapi32.dll", "NetServerEnum", NoNetwork},
    {"netapi32.dll", "NetShareEnum", NoNetwork},
    {"netapi32.dll", "NetApiBufferFree", NothingToFree},
};

bool NameMatches(const char* pattern, const char* name) {
    const size_t length = std::strlen(pattern);
    if (length && pattern[length - 1] == '*') return std::strncmp(pattern, name, length - 1) == 0;
    return std::strcmp(pattern, name) == 0;
}

}  // namespace

// For a null function, the first of the library (none: it has none).
FARPROC DelayLoadFallback(const char* dll, const char* function) {
    for (const Fallback& f : kFallbacks) {
        if (_stricmp(f.dll, dll) == 0 && (!function || NameMatches(f.function, function))) return f.stub;
    }
    return nullptr;
}

namespace {

// A message naming the library (and the function, for a call that found none), then the end with the status
// the system's loader gives for the same fault.
[[noreturn]] void EndProgram(unsigned notify, const DelayLoadInfo& info, DWORD status) {
    char function[120] = "Die";
    if (notify == dliFailGetProc && info.dlp.fImportByName)
        std::snprintf(function, sizeof function, "Die Funktion %.100s aus der", info.dlp.szProcName);
    else if (notify == dliFailGetProc)
        std::snprintf(function, sizeof function, "Die Funktion Nr. %lu aus der", info.dlp.dwOrdinal);
    char text[300] = {};
    std::snprintf(text, sizeof text, "%s Systembibliothek %.100s steht nicht zur Verfügung.\nDas Programm wird "
                  "beendet.", function, info.szDll);
    ::MessageBoxA(nullptr, text, nullptr, MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
    ::ExitProcess(status);
}

// This module, with a reference of its own when counted.
HMODULE ThisModule(bool counted) {
    const DWORD flags =
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | (counted ? 0 : GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT);
    HMODULE self = nullptr;
    return ::GetModuleHandleExA(flags, reinterpret_cast<LPCSTR>(&ThisModule), &self) ? self : nullptr;
}

FARPROC WINAPI DelayLoadFailed(unsigned notify, PDelayLoadInfo info) {
    if (!info || !info->szDll) return nullptr;
    if (notify == dliFailLoadLib) {
        // The helper takes this module in the library's place and looks each function up in it; it exports none
        // of them, so each comes back here as dliFailGetProc. When two threads fail on the library at once, the helper
        // frees the handle of the second: each handle given out holds a reference of its own.
        HMODULE self = DelayLoadFallback(info->szDll, nullptr) ? ThisModule(true) : nullptr;
        if (!self) EndProgram(notify, *info, STATUS_DLL_NOT_FOUND);
        return reinterpret_cast<FARPROC>(self);
    }
    if (notify != dliFailGetProc) return nullptr;
    FARPROC stub = info->dlp.fImportByName ? DelayLoadFallback(info->szDll, info->dlp.szProcName) : nullptr;
    if (!stub)
        EndProgram(notify, *info,
                   info->hmodCur == ThisModule(false) ? STATUS_DLL_NOT_FOUND : STATUS_ENTRYPOINT_NOT_FOUND);
    return stub;
}

}  // namespace

// Read by the runtime's helper (__delayLoadHelper2); the link takes this definition in place of the runtime's
// empty one (framework/CMakeLists.txt).
PfnDliHook __pfnDliFailureHook2 = DelayLoadFailed;
