// Writes dialog templates in memory word by word, in the classic form (DLGTEMPLATE and its items) or the
// extended one (DLGTEMPLATEEX), keeping every item on a 4-byte boundary from the template's start. Works at
// compile time on a fixed word array and at run time on a std::vector<WORD>; the template's first word must
// itself lie on a 4-byte boundary when it is used.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>

// A fixed number of words that a constexpr template can be written into.
template <size_t N>
struct FixedWords {
    std::array<WORD, N> words{};
    size_t count = 0;
    constexpr void push_back(WORD w) { words[count++] = w; }
    constexpr size_t size() const { return count; }
    const WORD* data() const { return words.data(); }
};

// The system's control classes by atom.
constexpr WORD kButtonAtom = 0x0080, kEditAtom = 0x0081, kStaticAtom = 0x0082, kListBoxAtom = 0x0083,
               kComboBoxAtom = 0x0085;

// Styles the toolkit's dialogs share.
constexpr DWORD kModalDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
constexpr DWORD kSizableDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_SETFONT;
constexpr DWORD kPushButtonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kDefaultButtonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON;
constexpr DWORD kLabelStyle = WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT;

template <typename Words>
struct DialogTemplateWriter {
    Words words{};

    constexpr void Word(WORD w) { words.push_back(w); }
    constexpr void Dword(DWORD d) {
        Word(static_cast<WORD>(d & 0xFFFF));
        Word(static_cast<WORD>(d >> 16));
    }
    // A NUL-terminated UTF-16 text (null writes the empty text). Texts are UTF-16 (u"" or L""): an 8-bit text
    // would widen each byte by its sign and turn every letter above 0x7F ("Ü") into another one.
    template <typename Char>
    constexpr void Text(const Char* text) {
        static_assert(sizeof(Char) == sizeof(WORD), "dialog template texts are UTF-16");
        while (text && *text) Word(static_cast<WORD>(*text++));
        Word(0);
    }
    constexpr void Align() {
        if (words.size() % 2) Word(0);
    }
    // The header: no menu, the default dialog class, the title, and a font when pointSize > 0 (the style
    // must then carry DS_SETFONT).
    template <typename Char>
    constexpr void Header(DWORD style, DWORD exStyle, WORD items, short x, short y, short cx, short cy,
                          const Char* title, WORD pointSize = 0, const Char* face = nullptr) {
        Dword(style);
        Dword(exStyle);
        Word(items);
        Frame(x, y, cx, cy);
        MenuClassTitle(title);
        if (pointSize > 0) {
            Word(pointSize);
            Text(face);
        }
    }
    template <typename Char>
    constexpr void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD atom, const Char* text,
                        DWORD exStyle = 0) {
        Align();
        Dword(style);
        Dword(exStyle);
        Frame(x, y, cx, cy);
        Word(id);
        ClassAndText(atom, text);
    }
    // The extended header: as Header, with the font's weight and character set (not italic); the style must
    // carry DS_SETFONT.
    template <typename Char>
    constexpr void HeaderEx(DWORD style, DWORD exStyle, WORD items, short x, short y, short cx, short cy,
                            const Char* title, WORD pointSize, WORD weight, BYTE charset, const Char* face) {
        Word(1);       // version
        Word(0xFFFF);  // the extended form
        Dword(0);      // help id
        Dword(exStyle);
        Dword(style);
        Word(items);
        Frame(x, y, cx, cy);
        MenuClassTitle(title);
        Word(pointSize);
        Word(weight);
        Word(static_cast<WORD>(charset << 8));  // italic flag, then the character set
        Text(face);
    }
    template <typename Char>
    constexpr void ItemEx(DWORD style, short x, short y, short cx, short cy, DWORD id, WORD atom, const Char* text,
                          DWORD exStyle = 0) {
        Align();
        Dword(0);  // help id
        Dword(exStyle);
        Dword(style);
        Frame(x, y, cx, cy);
        Dword(id);
        ClassAndText(atom, text);
    }

    const DLGTEMPLATE* Template() const { return reinterpret_cast<const DLGTEMPLATE*>(words.data()); }

private:
    constexpr void Frame(short x, short y, short cx, short cy) {
        Word(static_cast<WORD>(x));
        Word(static_cast<WORD>(y));
        Word(static_cast<WORD>(cx));
        Word(static_cast<WORD>(cy));
    }
    template <typename Char>
    constexpr void MenuClassTitle(const Char* title) {
        Word(0);  // no menu
        Word(0);  // default dialog class
        Text(title);
    }
    template <typename Char>
    constexpr void ClassAndText(WORD atom, const Char* text) {
        Word(0xFFFF);
        Word(atom);
        Text(text);
        Word(0);  // no creation data
    }
};
