// CRegistry: a registry key object holding a chain (stack) of up to 12 open keys.
#pragma once

#include "framework/CString.h"

#include <windows.h>

// The object's own error codes (GetError).
enum RegistryError : int {
    REGERR_NONE = 0,
    REGERR_NOT_OPEN = 1,      // no key is open
    REGERR_STACK_FULL = 2,    // twelve keys are open already
    REGERR_OPEN_FAILED = 3,   // the key is missing or cannot be opened or created
    REGERR_NOT_FOUND = 4,     // the value is missing
    REGERR_WRONG_TYPE = 5,    // the value has another type
    REGERR_WRONG_SIZE = 6,    // the value does not fit the caller's buffer or size
    REGERR_WRITE_FAILED = 7,  // the value could not be written (or the key is read-only)
    REGERR_BAD_ARGUMENT = 8,
    REGERR_NO_MEMORY = 9,
};

// Open modes.
enum : int {
    REGMODE_READ = 0,    // read access, keys must exist
    REGMODE_WRITE = 1,   // read and write access, keys must exist
    REGMODE_CREATE = 2,  // read and write access, missing keys are created
};

// The application's own key is Software\<key word>\<application name> under a root: the running
// application's registry key and profile name once it has called SetRegistryKey, otherwise "VQ" and
// the program file's base name. Setting a name here overrides both (tests use their own keys);
// an empty name returns to the default. A null argument keeps that part.
void SetRegistryAppKey(const char* keyWord, const char* appName);
// "Software\<key word>\<application name>".
CString GetRegistryAppKeyPath();

class CRegistry {
public:
    static const int kMaxDepth = 12;

    CRegistry() = default;
    ~CRegistry();
    CRegistry(const CRegistry&) = delete;
    CRegistry& operator=(const CRegistry&) = delete;

    // Closes what is open and opens path under root (null path = the application's own key) as the
    // first key of the chain. mode: REGMODE_*.
    BOOL Open(HKEY root, const char* path, int mode);
    // Opens (in create mode creates, unless noCreate) the named subkey of the current key and makes
    // it current.
    BOOL OpenSubKey(const char* name, BOOL noCreate = FALSE);
    // Closes the current key; its parent becomes current. FALSE when nothing is open.
    BOOL CloseSubKey();
    // Closes every key of the chain.
    void Close();

    bool IsOpen() const { return m_depth > 0; }
    int GetDepth() const { return m_depth; }
    HKEY GetKey() const { return m_depth ? m_keys[m_depth - 1] : nullptr; }
    // The last operation's error code (REGERR_*) and the system's code behind it.
    int GetError() const { return m_error; }
    LONG GetSystemError() const { return m_systemError; }

    // Reads the named value of the current key into buffer when its type equals type and it fits:
    // REG_DWORD values must be 4 bytes and REG_QWORD values 8; texts (REG_SZ, REG_EXPAND_SZ) must fit
    // with their NUL, which is added when the stored text lacks it; other data must not exceed size.
    // Otherwise FALSE, and the buffer keeps its content.
    BOOL QueryValueA(void* buffer, DWORD size, const char* name, DWORD type);
    // Reads a REG_SZ value into out ("" when empty); false (out unchanged) when missing or of another type.
    bool QueryString(CString& out, const char* name);
    // Reads the value into a heap block (free() it) followed by two NULs; false when missing or of
    // another type. sizeOut (may be null) receives the stored size.
    bool QueryValueAllocA(char** out, const char* name, DWORD type, DWORD* sizeOut = nullptr);
    // Writes the named value of the current key.
    BOOL SetValueA(const void* data, DWORD size, const char* name, DWORD type);
    // Writes a double-NUL-terminated list as REG_MULTI_SZ.
    bool SetMultiString(const char* list, const char* name);

private:
    bool Fail(int error, LONG systemError = 0);
    bool Succeed();
    // Reads the named value of the current key when it has the given type: a heap block (free() it) of
    // the stored size plus two NULs. REGERR_NONE, or the error with the system's code (if any) in
    // m_systemError.
    int ReadValue(const char* name, DWORD type, char*& data, DWORD& size);

    HKEY m_keys[kMaxDepth] = {};
    int m_depth = 0;
    int m_mode = REGMODE_READ;
    int m_error = REGERR_NONE;
    LONG m_systemError = 0;
};
