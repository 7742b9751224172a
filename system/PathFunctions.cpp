#include "system/PathFunctions.h"

#include "text/CharClass.h"

#include <windows.h>

#include <cstring>
#include <string>

namespace {

inline bool IsSep(char c) { return c == '\\' || c == '/'; }

// Length of the root part that never gets cut: "C:\" (3), "C:" (2), "\\" (2), "\" (1), else 0.
int RootLength(const char* p, int len) {
    if (len >= 2 && p[1] == ':') return len >= 3 && IsSep(p[2]) ? 3 : 2;
    if (len >= 2 && IsSep(p[0]) && IsSep(p[1])) return 2;
    if (len >= 1 && IsSep(p[0])) return 1;
    return 0;
}

std::string FullPath(const char* path) {
    char buf[MAX_PATH * 4];
    DWORD n = GetFullPathNameA(path, sizeof(buf), buf, nullptr);
    if (n == 0 || n >= sizeof(buf)) return path;
    return std::string(buf, n);
}

// Length without one trailing separator, unless that separator belongs to the root.
int TrimmedLength(const std::string& p) {
    int len = (int)p.size();
    if (len > RootLength(p.c_str(), len) && IsSep(p[(size_t)len - 1])) --len;
    return len;
}

}  // namespace

int AppendSeparatorStr(CString& path) {
    int len = path.GetLength();
    if (len > 0 && IsSep(path[len - 1])) return len;
    path += '\\';
    return len + 1;
}

int RemoveTrailingSeparatorStr(CString& path) {
    int len = path.GetLength();
    if (len > 0 && IsSep(path[len - 1])) path = path.Left(--len);
    return len;
}

int CutLastComponentStr(CString& path) {
    const char* p = path;
    int len = path.GetLength();
    int root = RootLength(p, len);
    if (len > root && IsSep(p[len - 1])) --len;
    int cut = len;
    while (cut > root && !IsSep(p[cut - 1])) --cut;
    // cut now stands after the separator before the last component (or at the root's end).
    if (cut > root) --cut;
    path = path.Left(cut);
    return cut;
}

int JoinPathStr(CString& out, const char* dir, const char* name) {
    if (!dir) dir = "";
    if (!name) name = "";
    while (IsSep(*name) && *dir) ++name;
    CString joined(dir);
    if (!joined.IsEmpty() && *name) AppendSeparatorStr(joined);
    joined += name;
    out = joined;
    return out.GetLength();
}

int GetProgramDirStr(CString& out) {
    std::string buf(MAX_PATH, '\0');
    for (;;) {
        DWORD n = GetModuleFileNameA(nullptr, buf.data(), (DWORD)buf.size());
        if (n == 0) {
            out.Empty();
            return 0;
        }
        if (n < buf.size()) {
            buf.resize(n);
            break;
        }
        if (buf.size() >= 32768) break;
        buf.resize(buf.size() * 2);
    }
    size_t cut = buf.find_last_of("\\/");
    out = CString(buf.c_str(), cut == std::string::npos ? 0 : (int)cut + 1);
    return out.GetLength();
}

int ComparePathsA(const char* a, const char* b, int flags) {
    std::string pa = (flags & CP_FULL_A) && a && *a ? FullPath(a) : std::string(a ? a : "");
    std::string pb = (flags & CP_FULL_B) && b && *b ? FullPath(b) : std::string(b ? b : "");
    int la = TrimmedLength(pa), lb = TrimmedLength(pb);
    int n = la < lb ? la : lb;
    bool noCase = (flags & CP_NOCASE) != 0;
    for (int i = 0; i < n; ++i) {
        char ca = pa[(size_t)i] == '/' ? '\\' : pa[(size_t)i];
        char cb = pb[(size_t)i] == '/' ? '\\' : pb[(size_t)i];
        int d = noCase ? (int)FoldCaseA(ca) - (int)FoldCaseA(cb) : (int)(unsigned char)ca - (int)(unsigned char)cb;
        if (d) return d;
    }
    return la - lb;
}

int ConvertSeparatorsA(char* path, char sep) {
    if (!path || sep == 0) return 0;
    char from = sep == '/' ? '\\' : '/';
    char to = sep == '/' ? '/' : '\\';
    int changed = 0;
    for (char* p = path; *p; ++p) {
        if (*p == from) {
            *p = to;
            ++changed;
        }
    }
    return changed;
}

int MapNetworkPlacePath(const char* path, char* out, int size) {
    if (!out || size <= 0) return 0;
    out[0] = 0;
    if (!path) return 0;
    std::string result;
    if (IsSep(path[0]) && IsSep(path[1])) {
        result = "\\\\";
        const char* p = path + 2;
        while (*p) {
            while (IsSep(*p)) ++p;
            if (!*p) break;
            if (result.size() > 2) result += '\\';
            while (*p && !IsSep(*p)) result += *p++;
        }
    } else {
        result = path;
    }
    if ((int)result.size() >= size) return 0;
    memcpy(out, result.c_str(), result.size() + 1);
    return (int)result.size();
}

int GetStoredPathNameA(char* out, const char* path, int size) {
    if (!out || size <= 0) return 0;
    out[0] = 0;
    if (!path || !*path) return 0;
    std::string full = FullPath(path);
    const char* p = full.c_str();
    int root = RootLength(p, (int)full.size());
    std::string result(p, (size_t)root);
    if (root == 2 && p[1] == ':') result += '\\';  // "C:" made full is never bare, but stay safe
    if (result.size() >= 2 && result[1] == ':') result[0] = (char)FoldCaseA(result[0]);
    size_t pos = (size_t)root;
    // A network path keeps its server and share as given; only the folders below are looked up.
    if (root == 2 && IsSep(p[0])) {
        for (int part = 0; part < 2 && pos < full.size(); ++part) {
            size_t end = full.find_first_of("\\/", pos);
            if (end == std::string::npos) end = full.size();
            result.append(full, pos, end - pos);
            pos = end;
            if (pos < full.size()) result += '\\', ++pos;
        }
    }
    bool exists = true;
    while (pos < full.size()) {
        size_t end = full.find_first_of("\\/", pos);
        if (end == std::string::npos) end = full.size();
        std::string part = full.substr(pos, end - pos);
        if (exists && !part.empty() && part.find_first_of("*?") == std::string::npos) {
            WIN32_FIND_DATAA fd;
            HANDLE h = FindFirstFileA((result + part).c_str(), &fd);
            if (h != INVALID_HANDLE_VALUE) {
                part = fd.cFileName;
                FindClose(h);
            } else {
                exists = false;
            }
        }
        result += part;
        pos = end;
        if (pos < full.size()) result += '\\', ++pos;
    }
    if ((int)result.size() >= size) return 0;
    memcpy(out, result.c_str(), result.size() + 1);
    return (int)result.size();
}
