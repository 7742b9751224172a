#include "treelist/pathdlg/PathDlgText.h"

#include <cstring>

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

const char* SkipBlanks(const char* text) {
    while (text && (*text == ' ' || *text == '\t')) ++text;
    return text ? text : "";
}

std::string Backslashed(const char* text) {
    std::string s = SkipBlanks(text);
    for (char& c : s)
        if (c == '/') c = '\\';
    return s;
}

void TrimEnd(std::string& s, bool keepAfterColon) {
    while (!s.empty() && (s.back() == '\\' || s.back() == ' ' || s.back() == '\t')) {
        if (keepAfterColon && s.back() == '\\' && s.size() >= 2 && s[s.size() - 2] == ':') break;
        s.pop_back();
    }
}

}  // namespace

CString TrimChosenPath(const char* text) {
    std::string s = Backslashed(text);
    // The network root "\\" is all separators and stays.
    if (s.find_first_not_of('\\') == std::string::npos) return CString(s.substr(0, 2).c_str());
    TrimEnd(s, true);
    return CString(s.c_str());
}

CString TrimSubPath(const char* text) {
    std::string s = Backslashed(text);
    const size_t cut = s.find_first_of(":*?");
    if (cut != std::string::npos) s.resize(cut);
    TrimEnd(s, false);
    return CString(s.c_str());
}

std::vector<std::string> PathLevels(const char* path, const char* shareRoot) {
    std::vector<std::string> levels;
    if (!path || !path[0]) return levels;
    const std::string p = path;
    size_t at;
    const size_t shareLength = shareRoot ? strlen(shareRoot) : 0;
    if (shareLength && _strnicmp(path, shareRoot, shareLength) == 0 &&
        (p.size() == shareLength || IsSeparator(p[shareLength]) || IsSeparator(shareRoot[shareLength - 1]))) {
        std::string root = shareRoot;
        if (!IsSeparator(root.back())) root += '\\';
        levels.push_back(root);
        at = shareLength;
    } else if (IsSeparator(p[0]) && p.size() > 1 && IsSeparator(p[1])) {
        levels.push_back("\\\\");
        at = 2;
    } else {
        const size_t end = p.find('\\');
        std::string root = p.substr(0, end);
        levels.push_back(root + "\\");
        at = end == std::string::npos ? p.size() : end;
    }
    while (at < p.size()) {
        while (at < p.size() && IsSeparator(p[at])) ++at;
        const size_t end = p.find_first_of("\\/", at);
        const std::string part = p.substr(at, end == std::string::npos ? std::string::npos : end - at);
        if (!part.empty()) levels.push_back(part);
        at = end == std::string::npos ? p.size() : end;
    }
    return levels;
}

std::string ShareOfPath(const char* path) {
    if (!path || !IsSeparator(path[0]) || !IsSeparator(path[1])) return "";
    const std::vector<std::string> levels = PathLevels(path, nullptr);
    return levels.size() >= 3 ? JoinLevels(levels, 2) : "";
}

bool PathUnder(const char* path, const char* root) {
    const size_t n = root ? strlen(root) : 0;
    if (!path || !n || _strnicmp(path, root, n) != 0) return false;
    return !path[n] || IsSeparator(path[n]) || IsSeparator(root[n - 1]);
}

std::string JoinLevels(const std::vector<std::string>& levels, int last) {
    std::string path;
    for (int i = 0; i <= last && i < (int)levels.size(); ++i) {
        if (!path.empty() && path.back() != '\\') path += '\\';
        path += levels[i];
    }
    // A root keeps its separator ("C:\"); deeper paths have none at their end.
    if (last > 0 && path.size() > 1 && path.back() == '\\') path.pop_back();
    return path;
}

bool SplitHistoryKey(const char* key, HistoryKeyParts* out) {
    *out = HistoryKeyParts();
    if (!key || !key[0]) return false;
    if (key[0] == '#') {
        out->fromRoot = true;
        ++key;
    }
    std::vector<std::string> parts;
    std::string part;
    for (const char* c = key;; ++c) {
        if (*c && !IsSeparator(*c)) {
            part += *c;
            continue;
        }
        if (part.empty() || part.size() >= 260) return false;
        parts.push_back(part);
        part.clear();
        if (!*c) break;
    }
    out->value = parts.back();
    parts.pop_back();
    out->subkeys = parts;
    return true;
}
