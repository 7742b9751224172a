#include "ui/dialogs/InputDialogTemplates.h"

#include "framework/DialogTemplateWriter.h"

namespace {

using TemplateWriter = DialogTemplateWriter<FixedWords<256>>;

constexpr TemplateWriter Build(DWORD editStyle) {
    TemplateWriter t;
    t.Header(kModalDialogStyle, 0, 4, 0, 0, 232, 58, u"Dateinamen eingeben", 8, u"MS Sans Serif");
    t.Item(editStyle, 5, 15, 220, 13, kInputEditId, kEditAtom, u"");
    t.Item(kDefaultButtonStyle, 120, 35, 50, 14, IDOK, kButtonAtom, u"OK");
    t.Item(kPushButtonStyle, 175, 35, 50, 14, IDCANCEL, kButtonAtom, u"Abbrechen");
    t.Item(kLabelStyle, 5, 5, 220, 8, kInputPromptId, kStaticAtom, u"");
    return t;
}

constexpr DWORD kEditStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;

alignas(4) constexpr TemplateWriter kInputTemplate = Build(kEditStyle);
alignas(4) constexpr TemplateWriter kPasswordTemplate = Build(kEditStyle | ES_PASSWORD);

}  // namespace

const DLGTEMPLATE* InputDialogTemplate() { return kInputTemplate.Template(); }

const DLGTEMPLATE* PasswordInputDialogTemplate() {
    return kPasswordTemplate.Template();
}
