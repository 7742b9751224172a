#include "ui/dialogs/SelectDialogTemplates.h"

#include "framework/DialogTemplateWriter.h"

namespace {

using TemplateWriter = DialogTemplateWriter<FixedWords<320>>;

constexpr TemplateWriter BuildCombo() {
    TemplateWriter t;
    // WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT
    t.Header(0x80C800C0, 0, 5, 0, 0, 227, 76, u"Auswahl", 8, u"MS Sans Serif");
    t.Item(0x50010001, 55, 50, 50, 14, IDOK, kButtonAtom, u"OK");
    t.Item(0x50010000, 115, 50, 50, 14, IDCANCEL, kButtonAtom, u"Abbrechen");
    t.Item(0x40210043, 15, 25, 195, 145, kSelectComboListId, kComboBoxAtom, u"");
    t.Item(0x50020000, 15, 15, 195, 8, kSelectPromptId, kStaticAtom, u"");
    t.Item(0x40210042, 15, 25, 195, 145, kSelectComboEditId, kComboBoxAtom, u"");
    return t;
}

constexpr TemplateWriter BuildList() {
    TemplateWriter t;
    // WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_SETFONT
    t.Header(0x80CC0040, 0, 7, 0, 0, 227, 171, u"Auswahl", 8, u"MS Sans Serif");
    t.Item(0x50010001, 60, 150, 50, 14, IDOK, kButtonAtom, u"OK");
    t.Item(0x50010000, 125, 150, 50, 14, IDCANCEL, kButtonAtom, u"Abbrechen");
    t.Item(0x40A10101, 5, 20, 215, 125, 1133, kListBoxAtom, u"");
    t.Item(0x40A10109, 5, 20, 215, 125, 1134, kListBoxAtom, u"");
    t.Item(0x40A10111, 5, 20, 215, 125, 1135, kListBoxAtom, u"");
    t.Item(0x40A10111, 5, 20, 215, 125, 1136, kListBoxAtom, u"");
    t.Item(0x50020000, 5, 7, 215, 8, kSelectPromptId, kStaticAtom, u"");
    return t;
}

alignas(4) constexpr TemplateWriter kComboTemplate = BuildCombo();
alignas(4) constexpr TemplateWriter kListTemplate = BuildList();

}  // namespace

const DLGTEMPLATE* ComboSelectDialogTemplate() { return kComboTemplate.Template(); }
const DLGTEMPLATE* ListSelectDialogTemplate() { return kListTemplate.Template(); }
