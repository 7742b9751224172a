// The string table of the toolbar control (button texts) and its label list.
#include "ui/toolbar/ToolbarMessages.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

constexpr int kMaxListStrings = 32769;

std::wstring Widen(const char* text, int length) {
    std::wstring wide;
    if (length <= 0) return wide;
    int n = MultiByteToWideChar(CP_ACP, 0, text, length, nullptr, 0);
    wide.resize(n);
    MultiByteToWideChar(CP_ACP, 0, text, length, wide.data(), n);
    return wide;
}

int CopyWideToAnsi(char* out, int size, const WCHAR* text, int length) {
    if (size < 1) return 0;
    int needed = length > 0 ? WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr) : 0;
    std::string ansi(needed, '\0');
    if (needed) WideCharToMultiByte(CP_ACP, 0, text, length, ansi.data(), needed, nullptr, nullptr);
    int n = std::min(needed, size - 1);
    memcpy(out, ansi.data(), n);
    out[n] = 0;
    return n;
}

// A NUL-terminated text of a message's A or W form.
std::wstring WideText(const void* text, bool wide) {
    if (wide) return (const WCHAR*)text;
    return Widen((const char*)text, (int)strlen((const char*)text));
}

int AddString(ToolbarState* s, const WCHAR* text, int length) { return AddToolbarString(s, text, length); }
int AddString(ToolbarState* s, const char* text, int length) {
    std::wstring wide = Widen(text, length);
    return AddToolbarString(s, wide.c_str(), (int)wide.size());
}

// Splits a text list and adds each string. Every scan stops at a NUL, also where a separator is missing.
template <class Char>
int AddStringList(ToolbarState* s, const Char* text, WPARAM form) {
    int first = -1;
    auto add = [&](const Char* start, int length) {
        int index = AddString(s, start, length);
        if (index >= 0 && first < 0) first = index;
        return index;
    };
    auto lengthTo = [](const Char* p, Char separator) {
        int n = 0;
        while (p[n] && p[n] != separator) ++n;
        return n;
    };
    if (form == 65534) return add(text, lengthTo(text, 0));
    if (form == 65535) {
        if (!text[0]) return -1;
        return add(text + 1, lengthTo(text + 1, text[0]));
    }
    Char separator = (Char)form;  // 0: a list of NUL-terminated strings closed by an empty one
    const Char* p = text;
    for (int n = 0; n < kMaxListStrings; ++n) {
        int length = lengthTo(p, separator);
        if (length == 0) break;  // an empty string closes the list
        if (add(p, length) < 0) return -1;
        p += length;
        if (!*p && separator) break;  // the last string lacked its separator
        ++p;
    }
    return first;
}

// A string resource: its first character separates the strings that follow.
int AddStringResource(ToolbarState* s, HMODULE module, UINT id) {
    HRSRC block = FindResourceW(module, MAKEINTRESOURCEW((id >> 4) + 1), (LPCWSTR)RT_STRING);
    if (!block) return -1;
    DWORD size = SizeofResource(module, block);
    std::wstring buffer(size + 4, L'\0');
    int length = LoadStringW(module, id, buffer.data(), (int)buffer.size() - 2);
    if (length <= 0) return -1;
    buffer[length] = buffer[length + 1] = 0;
    if (!buffer[1]) return -1;
    return AddStringList(s, buffer.c_str() + 1, (WPARAM)buffer[0]);
}

void RemoveLabel(ToolbarLabel** link) {
    ToolbarLabel* label = *link;
    *link = label->next;
    ToolbarFree(label);
}

}  // namespace

const ToolbarString* ButtonString(const ToolbarState* s, const ToolbarButton* b) {
    return b->iString >= 0 && b->iString < s->stringCount ? s->strings[b->iString] : nullptr;
}

int AddToolbarString(ToolbarState* s, const WCHAR* text, int length) {
    if (length > kToolbarMaxString) return -1;
    if (s->stringCount == s->stringCapacity) {
        int capacity = s->stringCapacity + 32;
        auto** table = (ToolbarString**)ToolbarAlloc(capacity * sizeof(ToolbarString*));
        if (!table) return -1;
        if (s->stringCount) memcpy(table, s->strings, s->stringCount * sizeof(ToolbarString*));
        ToolbarFree(s->strings);
        s->strings = table;
        s->stringCapacity = capacity;
    }
    auto* entry = (ToolbarString*)ToolbarAlloc(sizeof(ToolbarString) + length * sizeof(WCHAR));
    if (!entry) return -1;
    entry->length = (WORD)length;
    memcpy(entry->text, text, length * sizeof(WCHAR));
    entry->text[length] = 0;
    s->strings[s->stringCount] = entry;
    return s->stringCount++;
}

int AddToolbarStrings(ToolbarState* s, WPARAM wParam, LPARAM lParam, bool wide) {
    if (IS_INTRESOURCE(lParam)) return AddStringResource(s, (HMODULE)wParam, (UINT)lParam);
    if (wide) return AddStringList(s, (const WCHAR*)lParam, wParam);
    return AddStringList(s, (const char*)lParam, wParam);
}

int FindToolbarString(const ToolbarState* s, const WCHAR* text, int length, int first, int count) {
    int end = count == 65535 ? s->stringCount : std::min(s->stringCount, first + count);
    for (int i = first; i < end; ++i) {
        const ToolbarString* entry = s->strings[i];
        if (entry->length == length && memcmp(entry->text, text, length * sizeof(WCHAR)) == 0) return i;
    }
    return -1;
}

void FreeToolbarStrings(ToolbarState* s) {
    for (int i = 0; i < s->stringCount; ++i) ToolbarFree(s->strings[i]);
    s->stringCount = 0;
}

void FreeToolbarLabels(ToolbarState* s) {
    while (s->labels) RemoveLabel(&s->labels);
}

LRESULT SetButtonText(ToolbarState* s, int index, const void* text, bool wide) {
    ToolbarButton* b = ButtonAt(s, index);
    if (!b || !text) return -1;
    std::wstring wideText = WideText(text, wide);
    int found = FindToolbarString(s, wideText.c_str(), (int)wideText.size(), 0, 65535);
    if (found < 0) found = AddToolbarString(s, wideText.c_str(), (int)wideText.size());
    if (found < 0) return -1;
    if (b->iString != found) {
        b->iString = found;
        MarkButtonForLayout(s, index);
    }
    return found;
}

int CopyToolbarText(void* out, int size, const WCHAR* text, int length, bool wide) {
    if (!wide) return CopyWideToAnsi((char*)out, size, text, length);
    if (size < 1) return 0;
    int n = std::min(length, size - 1);
    memcpy(out, text, n * sizeof(WCHAR));
    ((WCHAR*)out)[n] = 0;
    return n;
}

// --- Messages ---

LRESULT AddStrings(ToolbarState* s, UINT msg, WPARAM source, LPARAM text, bool wide) {
    ToolbarLock lock(s, (int)msg);
    return AddToolbarStrings(s, source, text, wide);
}

LRESULT GetButtonText(ToolbarState* s, WPARAM button, void* out, bool wide) {
    ToolbarLock lock(s, wide ? TB_GETBUTTONTEXTW : TB_GETBUTTONTEXTA);
    ToolbarButton* b = ButtonAt(s, ResolveButton(s, button));
    if (!b || !out) return -1;
    const ToolbarString* text = ButtonString(s, b);
    return CopyToolbarText(out, 65535, text ? text->text : L"", text ? text->length : 0, wide);
}

LRESULT GetString(ToolbarState* s, WPARAM wParam, void* out, bool wide) {
    int max = LOWORD(wParam), index = HIWORD(wParam);
    ToolbarLock lock(s, wide ? TB_GETSTRINGW : TB_GETSTRINGA);
    if (index >= s->stringCount || !out || max < 1) return -1;
    const ToolbarString* text = s->strings[index];
    return CopyToolbarText(out, max, text->text, text->length, wide);
}

LRESULT RemoveStrings(ToolbarState* s, UINT first, UINT count) {
    ToolbarLock lock(s, TBX_REMOVESTRINGS);
    if (first >= (UINT)s->stringCount || count == 0) return 0;
    count = std::min<UINT>(count, s->stringCount - first);
    for (UINT i = first; i < first + count; ++i) ToolbarFree(s->strings[i]);
    memmove(&s->strings[first], &s->strings[first + count], (s->stringCount - first - count) * sizeof(void*));
    s->stringCount -= count;
    for (int i = 0; i < s->buttonCount; ++i) {
        ToolbarButton* b = s->buttons[i];
        if (b->iString >= (INT_PTR)(first + count)) b->iString -= count;
        else if (b->iString >= (INT_PTR)first) MarkButtonForLayout(s, i);
    }
    return count;
}

LRESULT FindString(ToolbarState* s, WPARAM range, const void* text, bool wide) {
    if (!text) return -1;
    std::wstring wideText;
    if (wide) {
        wideText = (const WCHAR*)text;
    } else {
        // Widened byte by byte.
        for (const unsigned char* p = (const unsigned char*)text; *p; ++p) {
            if (wideText.size() >= 254) return -1;
            wideText.push_back(*p);
        }
    }
    ToolbarLock lock(s, wide ? TBX_FINDSTRINGW : TBX_FINDSTRINGA);
    return FindToolbarString(s, wideText.c_str(), (int)wideText.size(), LOWORD(range), HIWORD(range));
}

// --- Labels ---

LRESULT AddLabel(ToolbarState* s, const TBXLABEL* desc, const void* text, bool wide) {
    if (!desc || !text) return 0;
    std::wstring wideText = WideText(text, wide);
    auto* label = (ToolbarLabel*)ToolbarAlloc(sizeof(ToolbarLabel) + wideText.size() * sizeof(WCHAR));
    if (!label) return 0;
    memcpy(label->text, wideText.c_str(), (wideText.size() + 1) * sizeof(WCHAR));
    label->key = (desc->flags & TBXL_SHORTKEY) ? (DWORD)ToolbarIndex(LOWORD(desc->key)) : desc->key;
    label->dx = desc->dx;
    label->dy = desc->dy;
    label->flags = desc->flags | kLabelRecompute;
    ToolbarLock lock(s, wide ? TBX_ADDLABELW : TBX_ADDLABELA);
    if (desc->flags & TBXL_REPLACE) {
        for (ToolbarLabel** link = &s->labels; *link; link = &(*link)->next) {
            if ((*link)->key == label->key) {
                RemoveLabel(link);
                break;
            }
        }
    }
    label->next = s->labels;
    s->labels = label;
    InvalidateToolbar(s);
    return 1;
}

LRESULT RemoveLabelByKey(ToolbarState* s, WPARAM key) {
    ToolbarLock lock(s, TBX_REMOVELABEL);
    bool byTag = HIWORD(key) == kToolbarLabelTagMark;
    for (ToolbarLabel** link = &s->labels; *link; link = &(*link)->next) {
        const ToolbarLabel* label = *link;
        if (byTag ? LOWORD(key) == ((label->flags >> 8) & 0xFF) : label->key == (DWORD)key) {
            RemoveLabel(link);
            InvalidateToolbar(s);
            return 1;
        }
    }
    return 0;
}
