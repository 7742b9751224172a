#include "ui/treeselect/TreeSelectOptions.h"

#include "treelist/control/TreeList.h"

namespace {

constexpr DWORD kTreeStyle = 0x50011010;  // visible child, tab stop, full-row select, selection always shown
constexpr DWORD kGridAndRows = 0x30000;   // grid lines and alternating row colours
constexpr DWORD kOneChecked = 0x2000;     // checking a row unchecks the one checked last
constexpr DWORD kMultiSelect = 0x2, kCellCaret = 0x40000, kNoHeader = 0x1000000;
constexpr DWORD kAlwaysOn = 0x10080000;   // Home/End move the caret; full-row highlight
// The edit flags of an editable column: a double click opens the editor; 0x04 is set as well, though the control
// reads nothing of it.
constexpr UINT kColumnEditFlags = TLEF_DBLCLICK | 0x04;

}  // namespace

uint32_t EffectiveTreeSelectOptions(uint32_t options, int columnCount, bool anyColumnEditable) {
    if (anyColumnEditable || (columnCount == 0 && (options & (kTreeSelectNewRow | kTreeSelectDelete))))
        options |= kTreeSelectEdit;
    return options;
}

DWORD TreeSelectWindowStyle(uint32_t options) {
    DWORD style = kTreeStyle;
    if (options & kTreeSelectCheckBoxes) style |= TVS_CHECKBOXES;
    if (options & kTreeSelectEdit) style |= TVS_EDITLABELS;
    return style;
}

DWORD TreeSelectExtendedStyle(uint32_t options, int columnCount) {
    const bool multiple = options & kTreeSelectMultiple, checks = options & kTreeSelectCheckBoxes;
    DWORD style = kGridAndRows;
    // Several rows chosen by check boxes must not uncheck each other.
    if (!(multiple && checks)) style |= kOneChecked;
    if (multiple && !checks) style |= kMultiSelect;
    if (options & kTreeSelectToggleRows) style ^= kGridAndRows;
    if (options & kTreeSelectEdit) style |= kCellCaret;
    if (columnCount == 0) style |= kNoHeader;
    return style | kAlwaysOn;
}

WPARAM TreeSelectColumnEditParam(int column) { return TreeListColumnEdit(column, TLEM_TEXT, kColumnEditFlags, '\0'); }

LRESULT TreeSelectEditAnswer(uint32_t options, int column, int columnCount, bool columnEditable, bool anyEditable) {
    if (!(options & kTreeSelectEdit) || column < 0 || column >= (columnCount > 0 ? columnCount : 1)) return 0;
    // Editing switched on by the caller without marking columns leaves every column open.
    return columnEditable || !anyEditable ? static_cast<LRESULT>(TLE_FILLCELL) : 0;
}
