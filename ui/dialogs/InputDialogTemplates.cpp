#include "ui/dialogs/InputDialogTemplates.h"

#include "framework/DialogTemplateWriter.h"

namespace {

using TemplateWriter = DialogTemplateWriter<FixedWords<256>>;

constexpr TemplateWriter Build(DWORD editStyle) {
    TemplateWriter t;
    // WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT
    t.Header(0x80C800C0, 0, 4, 0, 0, 232, 58, u"Dateinamen eingeben", 8, u"MS Sans Serif");
    t.Item(editStyle, 5, 15, 220, 13, kInputEditId, kEditAtom, u"");
    t.Item(0x50010001, 120, 35, 50, 14, IDOK, kButtonAtom, u"OK");
    t.Item(0x50010000, 175, 35, 50, 14, IDCANCEL, kButtonAtom, u"Abbrechen");
    t.Item(0x50020000, 5, 5, 220, 8, kInputPromptId, kStaticAtom, u"");
    return t;
}

alignas(4) constexpr TemplateWriter kInputTemplate = Build(0x50810080);
alignas(4) constexpr TemplateWriter kPasswordTemplate = Build(0x508100A0);

}  // namespace

const DLGTEMPLATE* InputDialogTemplate() { return kInputTemplate.Template(); }

const DLGTEMPLATE* PasswordInputDialogTemplate() {
    return kPasswordTemplate.Template();
}
