#include "ui/dialogs/InputDialogTemplates.h"

#include <array>
#include <cstddef>

namespace {

// Builds a template word by word at compile time, keeping items on 4-byte boundaries.
struct TemplateWriter {
    std::array<WORD, 256> words{};
    size_t count = 0;

    constexpr void Word(WORD w) { words[count++] = w; }
    constexpr void Dword(DWORD d) {
        Word(static_cast<WORD>(d & 0xFFFF));
        Word(static_cast<WORD>(d >> 16));
    }
    constexpr void Text(const char16_t* text) {
        while (*text) Word(static_cast<WORD>(*text++));
        Word(0);
    }
    constexpr void Align() {
        if (count % 2) Word(0);
    }
    constexpr void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD atom, const char16_t* text) {
        Align();
        Dword(style);
        Dword(0);  // extended style
        Word(static_cast<WORD>(x));
        Word(static_cast<WORD>(y));
        Word(static_cast<WORD>(cx));
        Word(static_cast<WORD>(cy));
        Word(id);
        Word(0xFFFF);
        Word(atom);
        Text(text);
        Word(0);  // no creation data
    }
};

constexpr WORD kButtonAtom = 0x0080, kEditAtom = 0x0081, kStaticAtom = 0x0082;

constexpr TemplateWriter Build(DWORD editStyle) {
    TemplateWriter t;
    t.Dword(0x80C800C0);  // WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT
    t.Dword(0);
    t.Word(4);  // items
    t.Word(0);
    t.Word(0);
    t.Word(232);
    t.Word(58);
    t.Word(0);  // no menu
    t.Word(0);  // default dialog class
    t.Text(u"Dateinamen eingeben");
    t.Word(8);
    t.Text(u"MS Sans Serif");
    t.Item(editStyle, 5, 15, 220, 13, kInputEditId, kEditAtom, u"");
    t.Item(0x50010001, 120, 35, 50, 14, IDOK, kButtonAtom, u"OK");
    t.Item(0x50010000, 175, 35, 50, 14, IDCANCEL, kButtonAtom, u"Abbrechen");
    t.Item(0x50020000, 5, 5, 220, 8, kInputPromptId, kStaticAtom, u"");
    return t;
}

alignas(4) constexpr TemplateWriter kInputTemplate = Build(0x50810080);
alignas(4) constexpr TemplateWriter kPasswordTemplate = Build(0x508100A0);

}  // namespace

const DLGTEMPLATE* InputDialogTemplate() { return reinterpret_cast<const DLGTEMPLATE*>(kInputTemplate.words.data()); }

const DLGTEMPLATE* PasswordInputDialogTemplate() {
    return reinterpret_cast<const DLGTEMPLATE*>(kPasswordTemplate.words.data());
}
