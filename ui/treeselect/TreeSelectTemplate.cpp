#include "ui/treeselect/TreeSelectTemplate.h"

#include "framework/AfxIds.h"
#include "framework/DialogTemplateWriter.h"
#include "ui/dialogs/SelectDialogTemplates.h"
#include "ui/shared/UiStrings.h"
#include "ui/treeselect/TreeSelectOptions.h"

namespace {

using TemplateWriter = DialogTemplateWriter<FixedWords<160>>;

constexpr TemplateWriter Build() {
    TemplateWriter t;
    t.Header(kSizableDialogStyle, 0, 4, 0, 0, 225, 184, u"Auswahl", 8, u"MS Sans Serif");
    t.Item(kDefaultButtonStyle, 55, 165, 50, 14, IDOK, kButtonAtom, u"OK");
    t.Item(kPushButtonStyle, 120, 165, 50, 14, IDCANCEL, kButtonAtom, u"Abbrechen");
    t.Item(WS_CHILD | SS_BLACKFRAME, 0, 15, 225, 145, kTreeSelectPlaceholderId, kStaticAtom, u"");  // hidden
    t.Item(kLabelStyle, 5, 3, 215, 8, kSelectPromptId, kStaticAtom, u"");
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
