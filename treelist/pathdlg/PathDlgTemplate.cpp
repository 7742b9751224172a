#include "treelist/pathdlg/PathDlgTemplate.h"

#include "framework/DialogTemplateWriter.h"

#include <iterator>

namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
constexpr DWORD kPathStyle =
    kChild | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
constexpr DWORD kListStyle =
    kChild | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_SORT | LBS_OWNERDRAWFIXED | LBS_NOINTEGRALHEIGHT;
constexpr DWORD kDrivesStyle = kChild | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED;
// The view and field switches start hidden; the dialog shows those the caller leaves free.
constexpr DWORD kHiddenCheckStyle = WS_CHILD | WS_TABSTOP | BS_AUTOCHECKBOX;

// The controls, in the order the template lists them (their tab order).
struct Item {
    DWORD style;
    short x, y, cx, cy;
    DWORD id;
    WORD atom;
    const wchar_t* text;
    DWORD exStyle = 0;
};
const Item kItems[] = {
    {kPathStyle, 5, 15, 210, 215, IDC_PATHDLG_PATH, kComboBoxAtom, L"", WS_EX_ACCEPTFILES},
    {kListStyle, 5, 30, 210, 218, IDC_PATHDLG_LIST, kListBoxAtom, L"", WS_EX_ACCEPTFILES},
    {kDrivesStyle, 5, 260, 210, 160, IDC_PATHDLG_DRIVES, kComboBoxAtom, L""},
    {kDefaultButtonStyle, 220, 5, 60, 14, IDOK, kButtonAtom, L"OK"},
    {kPushButtonStyle, 220, 25, 60, 14, IDCANCEL, kButtonAtom, L"Abbrechen"},
    {kPushButtonStyle, 220, 65, 60, 14, IDC_PATHDLG_UP, kButtonAtom, L"Aufw\u00e4rts"},
    {kHiddenCheckStyle, 220, 250, 63, 10, IDC_PATHDLG_BREADCRUMB, kButtonAtom, L"Brotkrumen"},
    {kHiddenCheckStyle, 220, 262, 63, 10, IDC_PATHDLG_TREEMODE, kButtonAtom, L"Baum anzeigen"},
    {kLabelStyle, 5, 250, 32, 8, IDC_PATHDLG_DRIVELABEL, kStaticAtom, L"Laufwerk:"},
    {kLabelStyle, 5, 5, 56, 8, IDC_PATHDLG_PATHLABEL, kStaticAtom, L"Verzeichnisname:"},
};

}  // namespace

std::vector<BYTE> BuildPathDlgTemplate() {
    DialogTemplateWriter<std::vector<WORD>> t;
    t.HeaderEx(kSizableDialogStyle, 0, static_cast<WORD>(std::size(kItems)), 0, 0, 284, 279, L"Verzeichnis w\u00e4hlen",
               8, FW_NORMAL, DEFAULT_CHARSET, L"MS Sans Serif");
    for (const Item& i : kItems) t.ItemEx(i.style, i.x, i.y, i.cx, i.cy, i.id, i.atom, i.text, i.exStyle);
    const BYTE* bytes = reinterpret_cast<const BYTE*>(t.words.data());
    return std::vector<BYTE>(bytes, bytes + t.words.size() * sizeof(WORD));
}
