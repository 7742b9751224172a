#include "ui/treeselect/TreeSelectTemplate.h"

#include "framework/AfxIds.h"
#include "framework/DialogTemplateWriter.h"
#include "ui/dialogs/SelectDialogTemplates.h"
#include "ui/msgbox/UiStrings.h"
#include "ui/treeselect/TreeSelectOptions.h"

namespace {

using TemplateWriter = DialogTemplateWriter<FixedWords<160>>;

constexpr TemplateWriter Build() {
    TemplateWriter t;
    // WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_SETFONT
    t.Header(0x80CC0040, 0, 4, 0, 0, 225, 184, u"Auswahl", 8, u"MS Sans Serif");
    t.Item(0x50010001, 55, 165, 50, 14, IDOK, kButtonAtom, u"OK");
    t.Item(0x50010000, 120, 165, 50, 14, IDCANCEL, kButtonAtom, u"Abbrechen");
    t.Item(0x40000007, 0, 15, 225, 145, kTreeSelectPlaceholderId, kStaticAtom, u"");  // SS_BLACKFRAME, hidden
    t.Item(0x50020000, 5, 3, 215, 8, kSelectPromptId, kStaticAtom, u"");
    return t;
}

alignas(4) constexpr TemplateWriter kTemplate = Build();

}  // namespace

const DLGTEMPLATE* TreeSelectDialogTemplate() { return kTemplate.Template(); }

HMENU CreateTreeSelectMenu(uint32_t options) {
    HMENU menu = ::CreatePopupMenu();
    if (!menu) return nullptr;
    ::AppendMenuA(menu, MF_STRING, kTreeSelectCopyField, GetUIStringA(nullptr, kUiCopyField));
    if (options & kTreeSelectDelete)
        ::AppendMenuA(menu, MF_STRING, ID_EDIT_CLEAR, GetUIStringA(nullptr, kUiDeleteLine));
    if (options & kTreeSelectCheckBoxes) {
        ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        ::AppendMenuA(menu, MF_STRING, kSelectAll, GetUIStringA(nullptr, kUiSelectAll));
        ::AppendMenuA(menu, MF_STRING, kSelectNone, GetUIStringA(nullptr, kUiDeselectAll));
    }
    return menu;
}
