#include "framework/CString.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <climits>
#include <new>

// The characters follow the header in one heap block. The shared empty
// string has refs -1 and is never freed or written.
struct CString::Data {
    LONG refs;
    int length;
    int capacity;
    char* chars() { return reinterpret_cast<char*>(this + 1); }
};

namespace {
struct NilBlock {
    LONG refs = -1;
    int length = 0;
    int capacity = 0;
    char text[4] = {};
};
NilBlock g_nil;

LPSTR NilChars() { return g_nil.text; }

int SafeLen(LPCSTR text) {
    if (!text) return 0;
    size_t n = strlen(text);
    return n > INT_MAX / 2 ? INT_MAX / 2 : (int)n;
}
}  // namespace

CString::Data* CString::GetData() const noexcept {
    return reinterpret_cast<Data*>(m_pchData) - 1;
}

CString::CString() noexcept : m_pchData(NilChars()) {}

CString::CString(const CString& other) noexcept : m_pchData(other.m_pchData) {
    Data* d = GetData();
    if (d->refs >= 0) InterlockedIncrement(&d->refs);
}

CString::CString(CString&& other) noexcept : m_pchData(other.m_pchData) {
    other.m_pchData = NilChars();
}

CString::CString(LPCSTR text) : m_pchData(NilChars()) {
    // A small integer in place of a pointer is a string-resource id.
    if (text && !HIWORD((ULONG_PTR)text)) {
        LoadString(LOWORD((ULONG_PTR)text));
        return;
    }
    AssignCopy(text, SafeLen(text));
}

CString::CString(LPCSTR text, int length) : m_pchData(NilChars()) {
    if (!text || length <= 0) return;
    AssignCopy(text, length);
}

CString::CString(char ch, int repeat) : m_pchData(NilChars()) {
    if (repeat <= 0) return;
    AllocBuffer(repeat);
    memset(m_pchData, ch, repeat);
}

CString::CString(LPCWSTR text) : m_pchData(NilChars()) { *this = text; }

CString::~CString() { Release(); }

void CString::Release() noexcept {
    if (m_pchData != NilChars()) {
        Data* d = GetData();
        if (InterlockedDecrement(&d->refs) <= 0) free(d);
    }
    m_pchData = NilChars();
}

void CString::AllocBuffer(int length) {
    if (length <= 0) {
        m_pchData = NilChars();
        return;
    }
    Data* d = static_cast<Data*>(malloc(sizeof(Data) + (size_t)length + 1));
    if (!d) throw std::bad_alloc();
    d->refs = 1;
    d->length = length;
    d->capacity = length;
    d->chars()[length] = 0;
    m_pchData = d->chars();
}

// Makes the buffer exclusively ours with room for `length` characters; the content is undefined.
void CString::AllocBeforeWrite(int length) {
    Data* d = GetData();
    if (d->refs > 1 || d->refs < 0 || length > d->capacity) {
        Release();
        AllocBuffer(length);
    }
}

void CString::AssignCopy(LPCSTR text, int length) {
    if (length <= 0) {
        Empty();
        return;
    }
    // The source may lie inside our own buffer.
    if (text >= m_pchData && text <= m_pchData + GetLength()) {
        CString copy(text, length);
        *this = static_cast<CString&&>(copy);
        return;
    }
    AllocBeforeWrite(length);
    memcpy(m_pchData, text, length);
    GetData()->length = length;
    m_pchData[length] = 0;
}

void CString::CopyBeforeWrite() {
    Data* d = GetData();
    if (d->refs > 1) {
        LPSTR old = m_pchData;
        int len = d->length;
        Release();
        AllocBuffer(len);
        memcpy(m_pchData, old, len);
    }
}

CString& CString::operator=(const CString& other) noexcept {
    if (m_pchData != other.m_pchData) {
        Data* d = other.GetData();
        if (d->refs >= 0) InterlockedIncrement(&d->refs);
        Release();
        m_pchData = other.m_pchData;
    }
    return *this;
}

CString& CString::operator=(CString&& other) noexcept {
    if (this != &other) {
        Release();
        m_pchData = other.m_pchData;
        other.m_pchData = NilChars();
    }
    return *this;
}

CString& CString::operator=(LPCSTR text) {
    AssignCopy(text, SafeLen(text));
    return *this;
}

CString& CString::operator=(char ch) {
    AssignCopy(&ch, 1);
    return *this;
}

CString& CString::operator=(LPCWSTR text) {
    if (!text || !*text) {
        Empty();
        return *this;
    }
    int needed = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (needed <= 1) {
        Empty();
        return *this;
    }
    CString result;
    LPSTR buf = result.GetBuffer(needed);
    WideCharToMultiByte(CP_ACP, 0, text, -1, buf, needed, nullptr, nullptr);
    result.ReleaseBuffer();
    *this = static_cast<CString&&>(result);
    return *this;
}

int CString::GetLength() const noexcept { return GetData()->length; }

void CString::Empty() { Release(); }

char CString::GetAt(int index) const {
    if (index < 0 || index >= GetLength()) return 0;
    return m_pchData[index];
}

void CString::SetAt(int index, char ch) {
    if (index < 0 || index >= GetLength()) return;
    CopyBeforeWrite();
    m_pchData[index] = ch;
}

int CString::Compare(LPCSTR text) const { return strcmp(m_pchData, text ? text : ""); }

int CString::CompareNoCase(LPCSTR text) const { return _stricmp(m_pchData, text ? text : ""); }

CString CString::Concat(LPCSTR a, int lenA, LPCSTR b, int lenB) {
    CString r;
    int total = lenA + lenB;
    if (total <= 0) return r;
    r.AllocBuffer(total);
    if (lenA) memcpy(r.m_pchData, a, lenA);
    if (lenB) memcpy(r.m_pchData + lenA, b, lenB);
    return r;
}

void CString::ConcatInPlace(LPCSTR text, int length) {
    if (length <= 0) return;
    Data* d = GetData();
    if (d->refs != 1 || d->length + length > d->capacity) {
        *this = Concat(m_pchData, d->length, text, length);
        return;
    }
    memmove(m_pchData + d->length, text, length);
    d->length += length;
    m_pchData[d->length] = 0;
}

CString& CString::operator+=(const CString& text) {
    CString keep(text);  // `text` may be this string
    ConcatInPlace(keep.m_pchData, keep.GetLength());
    return *this;
}

CString& CString::operator+=(LPCSTR text) {
    if (text && text >= m_pchData && text <= m_pchData + GetLength()) {
        CString copy(text);
        return *this += copy;
    }
    ConcatInPlace(text, SafeLen(text));
    return *this;
}

CString& CString::operator+=(char ch) {
    ConcatInPlace(&ch, 1);
    return *this;
}

CString operator+(const CString& a, const CString& b) {
    return CString::Concat(a, a.GetLength(), b, b.GetLength());
}
CString operator+(const CString& a, LPCSTR b) { return CString::Concat(a, a.GetLength(), b, SafeLen(b)); }
CString operator+(LPCSTR a, const CString& b) { return CString::Concat(a, SafeLen(a), b, b.GetLength()); }
CString operator+(const CString& a, char b) { return CString::Concat(a, a.GetLength(), &b, 1); }
CString operator+(char a, const CString& b) { return CString::Concat(&a, 1, b, b.GetLength()); }

void CString::Format(LPCSTR format, ...) {
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::FormatV(LPCSTR format, va_list args) {
    if (!format) {
        Empty();
        return;
    }
    va_list probe;
    va_copy(probe, args);
    int needed = vsnprintf(nullptr, 0, format, probe);
    va_end(probe);
    if (needed <= 0) {
        Empty();
        return;
    }
    CString result;
    LPSTR buf = result.GetBuffer(needed);
    vsnprintf(buf, (size_t)needed + 1, format, args);
    result.ReleaseBuffer(needed);
    *this = static_cast<CString&&>(result);
}

LPSTR CString::GetBuffer(int minLength) {
    Data* d = GetData();
    if (d->refs > 1 || d->refs < 0 || minLength > d->capacity) {
        if (minLength <= 0 && d->refs < 0) {
            // An empty buffer still has to be writable for its NUL.
            minLength = 1;
        }
        LPSTR old = m_pchData;
        int oldLen = d->length;
        if (minLength < oldLen) minLength = oldLen;
        CString fresh;
        fresh.AllocBuffer(minLength);
        memcpy(fresh.m_pchData, old, oldLen);
        fresh.m_pchData[oldLen] = 0;
        fresh.GetData()->length = oldLen;
        *this = static_cast<CString&&>(fresh);
    }
    return m_pchData;
}

LPSTR CString::GetBufferSetLength(int length) {
    if (length < 0) length = 0;
    GetBuffer(length);
    if (GetData()->refs < 0) return m_pchData;
    GetData()->length = length;
    m_pchData[length] = 0;
    return m_pchData;
}

void CString::ReleaseBuffer(int newLength) {
    Data* d = GetData();
    if (d->refs < 0) return;
    if (newLength < 0) newLength = (int)strnlen(m_pchData, (size_t)d->capacity);
    if (newLength > d->capacity) newLength = d->capacity;
    d->length = newLength;
    m_pchData[newLength] = 0;
    if (newLength == 0) Empty();
}

CString CString::Left(int count) const {
    if (count <= 0) return CString();
    if (count >= GetLength()) return *this;
    return CString(m_pchData, count);
}

CString CString::Right(int count) const {
    int len = GetLength();
    if (count <= 0) return CString();
    if (count >= len) return *this;
    return CString(m_pchData + len - count, count);
}

CString CString::Mid(int first) const { return Mid(first, INT_MAX); }

CString CString::Mid(int first, int count) const {
    int len = GetLength();
    if (first < 0) first = 0;
    if (count < 0) count = 0;
    if (first >= len || count == 0) return CString();
    if (count > len - first) count = len - first;
    if (first == 0 && count == len) return *this;
    return CString(m_pchData + first, count);
}

int CString::Find(char ch, int start) const {
    int len = GetLength();
    if (start < 0) start = 0;
    if (start >= len) return -1;
    const char* p = static_cast<const char*>(memchr(m_pchData + start, ch, len - start));
    return p ? (int)(p - m_pchData) : -1;
}

int CString::Find(LPCSTR sub, int start) const {
    if (!sub) return -1;
    int len = GetLength();
    if (start < 0) start = 0;
    if (start > len) return -1;
    const char* p = strstr(m_pchData + start, sub);
    return p ? (int)(p - m_pchData) : -1;
}

int CString::ReverseFind(char ch) const {
    const char* p = strrchr(m_pchData, ch);
    return p ? (int)(p - m_pchData) : -1;
}

int CString::FindOneOf(LPCSTR chars) const {
    if (!chars) return -1;
    size_t n = strcspn(m_pchData, chars);
    return m_pchData[n] ? (int)n : -1;
}

void CString::MakeUpper() {
    if (IsEmpty()) return;
    CopyBeforeWrite();
    CharUpperBuffA(m_pchData, GetLength());
}

void CString::MakeLower() {
    if (IsEmpty()) return;
    CopyBeforeWrite();
    CharLowerBuffA(m_pchData, GetLength());
}

void CString::MakeReverse() {
    if (IsEmpty()) return;
    CopyBeforeWrite();
    for (int i = 0, j = GetLength() - 1; i < j; ++i, --j) {
        char t = m_pchData[i];
        m_pchData[i] = m_pchData[j];
        m_pchData[j] = t;
    }
}

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }
}

void CString::TrimLeft() {
    int n = 0, len = GetLength();
    while (n < len && IsBlank(m_pchData[n])) ++n;
    if (n) Delete(0, n);
}

void CString::TrimRight() {
    int len = GetLength(), n = len;
    while (n > 0 && IsBlank(m_pchData[n - 1])) --n;
    if (n != len) Delete(n, len - n);
}

void CString::TrimLeft(char ch) {
    char set[2] = {ch, 0};
    TrimLeft(set);
}

void CString::TrimRight(char ch) {
    char set[2] = {ch, 0};
    TrimRight(set);
}

void CString::TrimLeft(LPCSTR chars) {
    if (!chars || !*chars) return;
    int n = 0, len = GetLength();
    while (n < len && strchr(chars, m_pchData[n])) ++n;
    if (n) Delete(0, n);
}

void CString::TrimRight(LPCSTR chars) {
    if (!chars || !*chars) return;
    int len = GetLength(), n = len;
    while (n > 0 && strchr(chars, m_pchData[n - 1])) --n;
    if (n != len) Delete(n, len - n);
}

int CString::Replace(char oldCh, char newCh) {
    int count = 0;
    if (oldCh == newCh) return 0;
    for (int i = 0; i < GetLength(); ++i) {
        if (m_pchData[i] == oldCh) {
            if (!count) CopyBeforeWrite();
            m_pchData[i] = newCh;
            ++count;
        }
    }
    return count;
}

int CString::Replace(LPCSTR oldText, LPCSTR newText) {
    int oldLen = SafeLen(oldText);
    if (oldLen == 0) return 0;
    int newLen = SafeLen(newText);
    CString result;
    int count = 0, pos = 0, len = GetLength();
    while (pos <= len) {
        const char* hit = strstr(m_pchData + pos, oldText);
        if (!hit) break;
        int at = (int)(hit - m_pchData);
        result.ConcatInPlace(m_pchData + pos, at - pos);
        result.ConcatInPlace(newText, newLen);
        pos = at + oldLen;
        ++count;
    }
    if (!count) return 0;
    result.ConcatInPlace(m_pchData + pos, len - pos);
    *this = static_cast<CString&&>(result);
    return count;
}

int CString::Remove(char ch) {
    int len = GetLength();
    if (!memchr(m_pchData, ch, len)) return 0;
    CopyBeforeWrite();
    int w = 0;
    for (int r = 0; r < len; ++r)
        if (m_pchData[r] != ch) m_pchData[w++] = m_pchData[r];
    int removed = len - w;
    ReleaseBuffer(w);
    return removed;
}

int CString::Insert(int index, char ch) {
    char text[2] = {ch, 0};
    return Insert(index, text);
}

int CString::Insert(int index, LPCSTR text) {
    int len = GetLength();
    if (index < 0) index = 0;
    if (index > len) index = len;
    int add = SafeLen(text);
    if (add) {
        CString result = Left(index);
        result += text;
        result.ConcatInPlace(m_pchData + index, len - index);
        *this = static_cast<CString&&>(result);
    }
    return GetLength();
}

int CString::Delete(int index, int count) {
    int len = GetLength();
    if (index < 0) index = 0;
    if (count <= 0 || index >= len) return len;
    if (count > len - index) count = len - index;
    CopyBeforeWrite();
    memmove(m_pchData + index, m_pchData + index + count, (size_t)(len - index - count) + 1);
    ReleaseBuffer(len - count);
    return GetLength();
}

BSTR CString::AllocSysString() const {
    int length = GetLength();
    int wide = length ? MultiByteToWideChar(CP_ACP, 0, m_pchData, length, nullptr, 0) : 0;
    BSTR result = SysAllocStringLen(nullptr, (UINT)wide);
    if (result && wide) MultiByteToWideChar(CP_ACP, 0, m_pchData, length, result, wide);
    return result;
}

HINSTANCE AfxGetResourceHandle();

BOOL CString::LoadString(UINT id) {
    // A string-table block holds 16 counted UTF-16 strings.
    HINSTANCE module = AfxGetResourceHandle();
    HRSRC res = FindResourceA(module, MAKEINTRESOURCEA((id >> 4) + 1), MAKEINTRESOURCEA(6));
    if (!res) return FALSE;
    HGLOBAL mem = LoadResource(module, res);
    DWORD size = SizeofResource(module, res);
    const WORD* p = mem ? static_cast<const WORD*>(LockResource(mem)) : nullptr;
    if (!p) return FALSE;
    const WORD* end = p + size / 2;
    for (UINT i = 0; i < (id & 15); ++i) {
        if (p >= end) return FALSE;
        p += 1 + *p;
    }
    if (p >= end || *p == 0) return FALSE;
    int count = *p;
    if (p + 1 + count > end) return FALSE;
    int needed = WideCharToMultiByte(CP_ACP, 0, (LPCWSTR)(p + 1), count, nullptr, 0, nullptr, nullptr);
    CString result;
    LPSTR buf = result.GetBuffer(needed);
    WideCharToMultiByte(CP_ACP, 0, (LPCWSTR)(p + 1), count, buf, needed, nullptr, nullptr);
    result.ReleaseBuffer(needed);
    *this = static_cast<CString&&>(result);
    return TRUE;
}
