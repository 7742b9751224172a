#include "system/Registry.h"

#include "framework/WinApp.h"
#include "text/StrCopy.h"

#include <cstdlib>
#include <cstring>

namespace {

SRWLOCK g_appKeyLock = SRWLOCK_INIT;
char g_keyWord[64] = "VQ";
char g_appName[128];

// The program file's base name, without folder and extension.
void DefaultAppName(char* out, int size) {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) {
        StrCopyNA(out, "Application", size);
        return;
    }
    const char* base = path;
    for (const char* p = path; *p; ++p)
        if (*p == '\\' || *p == '/' || *p == ':') base = p + 1;
    int len = StrCopyNA(out, base, size);
    for (int i = len - 1; i > 0; --i) {
        if (out[i] == '.') {
            out[i] = 0;
            break;
        }
    }
}

REGSAM AccessOf(int mode) { return mode == REGMODE_READ ? KEY_READ : KEY_READ | KEY_WRITE; }

bool IsTextType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

// Longest value the object reads; anything larger is not a setting.
constexpr DWORD kMaxValueSize = 16 * 1024 * 1024;

}  // namespace

void SetRegistryAppKey(const char* keyWord, const char* appName) {
    AcquireSRWLockExclusive(&g_appKeyLock);
    if (keyWord) StrCopyNA(g_keyWord, keyWord, sizeof(g_keyWord));
    if (appName) StrCopyNA(g_appName, appName, sizeof(g_appName));
    ReleaseSRWLockExclusive(&g_appKeyLock);
}

CString GetRegistryAppKeyPath() {
    AcquireSRWLockExclusive(&g_appKeyLock);
    CString path;
    if (g_appName[0]) {
        path = CString("Software\\") + g_keyWord + "\\" + g_appName;
    } else if (const CWinApp* app = AfxGetApp(); app && app->m_pszRegistryKey && app->m_pszProfileName) {
        // The running application's profile key, as its SetRegistryKey chose it.
        path = CString("Software\\") + app->m_pszRegistryKey + "\\" + app->m_pszProfileName;
    } else {
        char exeName[128];
        DefaultAppName(exeName, sizeof(exeName));
        path = CString("Software\\") + g_keyWord + "\\" + exeName;
    }
    ReleaseSRWLockExclusive(&g_appKeyLock);
    return path;
}

CRegistry::~CRegistry() { Close(); }

bool CRegistry::Fail(int error, LONG systemError) {
    m_error = error;
    m_systemError = systemError;
    return false;
}

bool CRegistry::Succeed() {
    m_error = REGERR_NONE;
    m_systemError = 0;
    return true;
}

void CRegistry::Close() {
    while (m_depth > 0) RegCloseKey(m_keys[--m_depth]);
}

BOOL CRegistry::Open(HKEY root, const char* path, int mode) {
    Close();
    if (!root || mode < REGMODE_READ || mode > REGMODE_CREATE) return Fail(REGERR_BAD_ARGUMENT);
    CString appPath;
    if (!path) {
        appPath = GetRegistryAppKeyPath();
        path = appPath;
    }
    m_mode = mode;
    HKEY key = nullptr;
    LONG rc = mode == REGMODE_CREATE
                  ? RegCreateKeyExA(root, path, 0, nullptr, 0, AccessOf(mode), nullptr, &key, nullptr)
                  : RegOpenKeyExA(root, path, 0, AccessOf(mode), &key);
    if (rc != ERROR_SUCCESS) return Fail(REGERR_OPEN_FAILED, rc);
    m_keys[m_depth++] = key;
    return Succeed();
}

BOOL CRegistry::OpenSubKey(const char* name, BOOL noCreate) {
    if (!m_depth) return Fail(REGERR_NOT_OPEN);
    if (!name) return Fail(REGERR_BAD_ARGUMENT);
    if (m_depth >= kMaxDepth) return Fail(REGERR_STACK_FULL);
    HKEY key = nullptr;
    LONG rc = m_mode == REGMODE_CREATE && !noCreate
                  ? RegCreateKeyExA(GetKey(), name, 0, nullptr, 0, AccessOf(m_mode), nullptr, &key, nullptr)
                  : RegOpenKeyExA(GetKey(), name, 0, AccessOf(m_mode), &key);
    if (rc != ERROR_SUCCESS) return Fail(REGERR_OPEN_FAILED, rc);
    m_keys[m_depth++] = key;
    return Succeed();
}

BOOL CRegistry::CloseSubKey() {
    if (!m_depth) return Fail(REGERR_NOT_OPEN);
    RegCloseKey(m_keys[--m_depth]);
    return Succeed();
}

int CRegistry::ReadValue(const char* name, DWORD type, char*& data, DWORD& size) {
    data = nullptr;
    m_systemError = 0;
    DWORD storedType = REG_NONE;
    // The value may change between the size query and the read: try again a few times.
    for (int attempt = 0; attempt < 4; ++attempt) {
        size = 0;
        LONG rc = RegQueryValueExA(GetKey(), name, nullptr, &storedType, nullptr, &size);
        if (rc != ERROR_SUCCESS) return m_systemError = rc, REGERR_NOT_FOUND;
        if (storedType != type) return REGERR_WRONG_TYPE;
        if (size > kMaxValueSize) return REGERR_WRONG_SIZE;
        free(data);
        data = (char*)malloc((size_t)size + 2);
        if (!data) return REGERR_NO_MEMORY;
        DWORD got = size;
        rc = RegQueryValueExA(GetKey(), name, nullptr, &storedType, (BYTE*)data, &got);
        if (rc == ERROR_MORE_DATA) continue;
        if (rc != ERROR_SUCCESS || storedType != type) break;
        size = got;
        data[size] = 0;
        data[size + 1] = 0;
        return REGERR_NONE;
    }
    // Changed under our hands too often, or into something else.
    free(data);
    data = nullptr;
    return REGERR_WRONG_SIZE;
}

BOOL CRegistry::QueryValueA(void* buffer, DWORD size, const char* name, DWORD type) {
    if (!m_depth) return Fail(REGERR_NOT_OPEN);
    if (!buffer) return Fail(REGERR_BAD_ARGUMENT);
    DWORD storedSize;
    char* data;
    if (int err = ReadValue(name, type, data, storedSize)) return Fail(err, m_systemError);
    bool ok;
    DWORD copy = storedSize;
    if (type == REG_DWORD || type == REG_DWORD_BIG_ENDIAN) {
        ok = storedSize == 4 && size >= 4;
    } else if (type == REG_QWORD) {
        ok = storedSize == 8 && size >= 8;
    } else if (IsTextType(type)) {
        copy = (DWORD)strnlen(data, storedSize);
        ok = copy < size;
    } else {
        ok = storedSize <= size;
    }
    if (ok) {
        memcpy(buffer, data, copy);
        if (IsTextType(type)) ((char*)buffer)[copy] = 0;
    }
    free(data);
    return ok ? Succeed() : Fail(REGERR_WRONG_SIZE);
}

bool CRegistry::QueryString(CString& out, const char* name) {
    if (!m_depth) return Fail(REGERR_NOT_OPEN);
    DWORD size;
    char* data;
    if (int err = ReadValue(name, REG_SZ, data, size)) return Fail(err, m_systemError);
    out = CString(data, (int)strnlen(data, size));
    free(data);
    return Succeed();
}

bool CRegistry::QueryValueAllocA(char** out, const char* name, DWORD type, DWORD* sizeOut) {
    if (!out) return Fail(REGERR_BAD_ARGUMENT);
    *out = nullptr;
    if (!m_depth) return Fail(REGERR_NOT_OPEN);
    DWORD size;
    char* data;
    if (int err = ReadValue(name, type, data, size)) return Fail(err, m_systemError);
    *out = data;
    if (sizeOut) *sizeOut = size;
    return Succeed();
}

BOOL CRegistry::SetValueA(const void* data, DWORD size, const char* name, DWORD type) {
    if (!m_depth) return Fail(REGERR_NOT_OPEN);
    if (!data && size) return Fail(REGERR_BAD_ARGUMENT);
    if (m_mode == REGMODE_READ) return Fail(REGERR_WRITE_FAILED, ERROR_ACCESS_DENIED);
    LONG rc = RegSetValueExA(GetKey(), name, 0, type, (const BYTE*)data, size);
    if (rc != ERROR_SUCCESS) return Fail(REGERR_WRITE_FAILED, rc);
    return Succeed();
}

bool CRegistry::SetMultiString(const char* list, const char* name) {
    if (!list) return Fail(REGERR_BAD_ARGUMENT);
    const char* p = list;
    while (*p) p += strlen(p) + 1;
    DWORD size = (DWORD)(p - list) + 1;
    return SetValueA(list, size, name, REG_MULTI_SZ) != FALSE;
}
