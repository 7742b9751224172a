// CString: the reference-counted 8-bit (Windows-1252) string that paths and texts travel in.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <cstdarg>

class CString {
public:
    CString() noexcept;
    CString(const CString& other) noexcept;
    CString(CString&& other) noexcept;
    CString(LPCSTR text);
    CString(LPCSTR text, int length);
    CString(char ch, int repeat = 1);
    explicit CString(LPCWSTR text);
    ~CString();

    CString& operator=(const CString& other) noexcept;
    CString& operator=(CString&& other) noexcept;
    CString& operator=(LPCSTR text);
    CString& operator=(char ch);
    CString& operator=(LPCWSTR text);

    operator LPCSTR() const noexcept { return m_pchData; }
    int GetLength() const noexcept;
    bool IsEmpty() const noexcept { return GetLength() == 0; }
    void Empty();

    char GetAt(int index) const;
    char operator[](int index) const { return GetAt(index); }
    void SetAt(int index, char ch);

    int Compare(LPCSTR text) const;
    int CompareNoCase(LPCSTR text) const;

    CString& operator+=(const CString& text);
    CString& operator+=(LPCSTR text);
    CString& operator+=(char ch);
    friend CString operator+(const CString& a, const CString& b);
    friend CString operator+(const CString& a, LPCSTR b);
    friend CString operator+(LPCSTR a, const CString& b);
    friend CString operator+(const CString& a, char b);
    friend CString operator+(char a, const CString& b);

    void Format(LPCSTR format, ...);
    void FormatV(LPCSTR format, va_list args);

    // Direct buffer access: the buffer holds at least minLength characters plus a NUL.
    LPSTR GetBuffer(int minLength = 0);
    LPSTR GetBufferSetLength(int length);
    // newLength -1 takes the length up to the first NUL.
    void ReleaseBuffer(int newLength = -1);

    CString Left(int count) const;
    CString Right(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;

    int Find(char ch, int start = 0) const;
    int Find(LPCSTR sub, int start = 0) const;
    int ReverseFind(char ch) const;
    int FindOneOf(LPCSTR chars) const;

    void MakeUpper();
    void MakeLower();
    void MakeReverse();
    void TrimLeft();
    void TrimRight();
    void TrimLeft(char ch);
    void TrimRight(char ch);
    void TrimLeft(LPCSTR chars);
    void TrimRight(LPCSTR chars);
    void Trim() { TrimRight(); TrimLeft(); }

    int Replace(char oldCh, char newCh);
    int Replace(LPCSTR oldText, LPCSTR newText);
    int Remove(char ch);
    int Insert(int index, char ch);
    int Insert(int index, LPCSTR text);
    int Delete(int index, int count = 1);

    // A new BSTR with the text in UTF-16; the caller frees it with SysFreeString.
    BSTR AllocSysString() const;

    // Loads a string-table entry from the resource module; FALSE when it is missing.
    BOOL LoadString(UINT id);

private:
    struct Data;
    Data* GetData() const noexcept;
    void Release() noexcept;
    void AllocBuffer(int length);
    void AssignCopy(LPCSTR text, int length);
    void ConcatInPlace(LPCSTR text, int length);
    void CopyBeforeWrite();
    void AllocBeforeWrite(int length);
    static CString Concat(LPCSTR a, int lenA, LPCSTR b, int lenB);

    LPSTR m_pchData;
};

inline bool operator==(const CString& a, const CString& b) { return a.Compare(b) == 0; }
inline bool operator==(const CString& a, LPCSTR b) { return a.Compare(b) == 0; }
inline bool operator==(LPCSTR a, const CString& b) { return b.Compare(a) == 0; }
inline bool operator!=(const CString& a, const CString& b) { return a.Compare(b) != 0; }
inline bool operator!=(const CString& a, LPCSTR b) { return a.Compare(b) != 0; }
inline bool operator!=(LPCSTR a, const CString& b) { return b.Compare(a) != 0; }
inline bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }
inline bool operator>(const CString& a, const CString& b) { return a.Compare(b) > 0; }
