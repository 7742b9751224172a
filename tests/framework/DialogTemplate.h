// Builds dialog templates in memory for the tests.
#pragma once

#include <windows.h>

#include <cstring>
#include <vector>

class DialogTemplateBuilder {
public:
    DialogTemplateBuilder(const char* title, short cx, short cy) {
        DLGTEMPLATE t = {};
        t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
        t.cx = cx;
        t.cy = cy;
        Append(&t, sizeof(t));
        Word(0);  // no menu
        Word(0);  // default class
        Text(title);
        Word(8);
        Text("MS Shell Dlg");
    }
    // className: "EDIT", "BUTTON", "COMBOBOX", "STATIC"...
    void Control(const char* className, const char* text, WORD id, DWORD style, short x, short y, short cx, short cy) {
        Align();
        DLGITEMTEMPLATE item = {};
        item.style = style | WS_CHILD | WS_VISIBLE;
        item.x = x;
        item.y = y;
        item.cx = cx;
        item.cy = cy;
        item.id = id;
        Append(&item, sizeof(item));
        Text(className);
        Text(text);
        Word(0);  // no creation data
        ++reinterpret_cast<DLGTEMPLATE*>(m_bytes.data())->cdit;
    }
    LPCDLGTEMPLATE Get() { return reinterpret_cast<LPCDLGTEMPLATE>(m_bytes.data()); }

private:
    void Append(const void* p, size_t n) {
        size_t at = m_bytes.size();
        m_bytes.resize(at + n);
        memcpy(m_bytes.data() + at, p, n);
    }
    void Word(WORD w) { Append(&w, 2); }
    void Text(const char* s) {
        for (; *s; ++s) Word((BYTE)*s);
        Word(0);
    }
    void Align() {
        while (m_bytes.size() % 4) m_bytes.push_back(0);
    }
    std::vector<BYTE> m_bytes;
};
