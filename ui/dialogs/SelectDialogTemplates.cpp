#include "ui/dialogs/SelectDialogTemplates.h"

#include "framework/DialogTemplateWriter.h"

namespace {

using TemplateWriter = DialogTemplateWriter<FixedWords<320>>;

// The combo boxes and list boxes start hidden; the dialog shows the one its call asks for.
constexpr DWORD kComboStyle = WS_CHILD | WS_VSCROLL | WS_TABSTOP | CBS_AUTOHSCROLL;
constexpr DWORD kListStyle = WS_CHILD | WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;

constexpr TemplateWriter BuildCombo() {
    TemplateWriter t;
    t.Header(kModalDialogStyle, 0, 5, 0, 0, 227, 76, u"Auswahl", 8, u"MS Sans Serif");
    t.Item(kDefaultButtonStyle, 55, 50, 50, 14, IDOK, kButtonAtom, u"OK");
    t.Item(kPushButtonStyle, 115, 50, 50, 14, IDCANCEL, kButtonAtom, u"Abbrechen");
    t.Item(kComboStyle | CBS_DROPDOWNLIST, 15, 25, 195, 145, kSelectComboListId, kComboBoxAtom, u"");
    t.Item(kLabelStyle, 15, 15, 195, 8, kSelectPromptId, kStaticAtom, u"");
    t.Item(kComboStyle | CBS_DROPDOWN, 15, 25, 195, 145, kSelectComboEditId, kComboBoxAtom, u"");
    return t;
}

constexpr TemplateWriter BuildList() {
    TemplateWriter t;
    t.Header(kSizableDialogStyle, 0, 7, 0, 0, 227, 171, u"Auswahl", 8, u"MS Sans Serif");
    t.Item(kDefaultButtonStyle, 60, 150, 50, 14, IDOK, kButtonAtom, u"OK");
    t.Item(kPushButtonStyle, 125, 150, 50, 14, IDCANCEL, kButtonAtom, u"Abbrechen");
    t.Item(kListStyle, 5, 20, 215, 125, 1133, kListBoxAtom, u"");
    t.Item(kListStyle | LBS_MULTIPLESEL, 5, 20, 215, 125, 1134, kListBoxAtom, u"");
    t.Item(kListStyle | LBS_OWNERDRAWFIXED, 5, 20, 215, 125, 1135, kListBoxAtom, u"");
    t.Item(kListStyle | LBS_OWNERDRAWFIXED, 5, 20, 215, 125, 1136, kListBoxAtom, u"");
    t.Item(kLabelStyle, 5, 7, 215, 8, kSelectPromptId, kStaticAtom, u"");
    return t;
}

alignas(4) constexpr TemplateWriter kComboTemplate = BuildCombo();
alignas(4) constexpr TemplateWriter kListTemplate = BuildList();

}  // namespace

const DLGTEMPLATE* ComboSelectDialogTemplate() { return kComboTemplate.Template(); }
const DLGTEMPLATE* ListSelectDialogTemplate() { return kListTemplate.Template(); }
