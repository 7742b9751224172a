#include "treelist/pathdlg/PathDlgTemplate.h"

#include <cstring>

namespace {

enum : WORD { kButton = 0x80, kStatic = 0x82, kListBox = 0x83, kComboBox = 0x85 };

struct ItemSpec {
    int id;
    WORD classAtom;
    const wchar_t* text;
    DWORD style;
    DWORD exStyle;
    short x, y, cx, cy;
};

const ItemSpec kItems[] = {
    {IDC_PATHDLG_PATH, kComboBox, L"", 0x50210252, 0x10, 5, 15, 210, 215},
    {IDC_PATHDLG_LIST, kListBox, L"", 0x50A10113, 0x10, 5, 30, 210, 218},
    {IDC_PATHDLG_DRIVES, kComboBox, L"", 0x50210013, 0, 5, 260, 210, 160},
    {IDOK, kButton, L"OK", 0x50010001, 0, 220, 5, 60, 14},
    {IDCANCEL, kButton, L"Abbrechen", 0x50010000, 0, 220, 25, 60, 14},
    {IDC_PATHDLG_UP, kButton, L"Aufw\u00e4rts", 0x50010000, 0, 220, 65, 60, 14},
    {IDC_PATHDLG_BREADCRUMB, kButton, L"Brotkrumen", 0x40010003, 0, 220, 250, 63, 10},
    {IDC_PATHDLG_TREEMODE, kButton, L"Baum anzeigen", 0x40010003, 0, 220, 262, 63, 10},
    {IDC_PATHDLG_DRIVELABEL, kStatic, L"Laufwerk:", 0x50020000, 0, 5, 250, 32, 8},
    {IDC_PATHDLG_PATHLABEL, kStatic, L"Verzeichnisname:", 0x50020000, 0, 5, 5, 56, 8},
};

class Writer {
public:
    template <typename T>
    void Put(T value) {
        const size_t at = bytes.size();
        bytes.resize(at + sizeof value);
        memcpy(bytes.data() + at, &value, sizeof value);
    }
    void Text(const wchar_t* text) {
        for (; *text; ++text) Put<WORD>((WORD)*text);
        Put<WORD>(0);
    }
    void Align() {
        while (bytes.size() % 4) bytes.push_back(0);
    }
    std::vector<BYTE> bytes;
};

}  // namespace

std::vector<BYTE> BuildPathDlgTemplate() {
    Writer w;
    // DLGTEMPLATEEX
    w.Put<WORD>(1);       // version
    w.Put<WORD>(0xFFFF);  // signature
    w.Put<DWORD>(0);      // help id
    w.Put<DWORD>(0);      // extended style
    w.Put<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_SETFONT);  // 0x80CC0040
    w.Put<WORD>((WORD)(sizeof kItems / sizeof kItems[0]));
    w.Put<short>(0);
    w.Put<short>(0);
    w.Put<short>(284);
    w.Put<short>(279);
    w.Put<WORD>(0);  // no menu
    w.Put<WORD>(0);  // the dialog class
    w.Text(L"Verzeichnis w\u00e4hlen");
    w.Put<WORD>(8);  // points
    w.Put<WORD>(FW_NORMAL);
    w.Put<BYTE>(0);  // not italic
    w.Put<BYTE>(DEFAULT_CHARSET);
    w.Text(L"MS Sans Serif");
    for (const ItemSpec& item : kItems) {
        w.Align();
        // DLGITEMTEMPLATEEX
        w.Put<DWORD>(0);  // help id
        w.Put<DWORD>(item.exStyle);
        w.Put<DWORD>(item.style);
        w.Put<short>(item.x);
        w.Put<short>(item.y);
        w.Put<short>(item.cx);
        w.Put<short>(item.cy);
        w.Put<DWORD>((DWORD)item.id);
        w.Put<WORD>(0xFFFF);
        w.Put<WORD>(item.classAtom);
        w.Text(item.text);
        w.Put<WORD>(0);  // no creation data
    }
    return w.bytes;
}
