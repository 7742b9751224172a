// The in-memory templates of the selection dialogs ("Auswahl", 8-point "MS Sans Serif"): the combo
// dialog (227 x 76 units: OK, Abbrechen, a drop-down list 1132, the prompt 1131, a drop-down combo 1133)
// and the resizable list dialog (227 x 171: OK, Abbrechen, list boxes 1133-1136, the prompt 1131).
#pragma once

#include <windows.h>

constexpr int kSelectPromptId = 1131;
constexpr int kSelectComboListId = 1132;
constexpr int kSelectComboEditId = 1133;
constexpr int kSelectListFirstId = 1133;  // styles 0-3 use 1133-1136
constexpr int kSelectListLastId = 1136;
constexpr int kSelectContextMenu = 1137;
constexpr int kSelectAll = 1138;
constexpr int kSelectNone = 1139;

const DLGTEMPLATE* ComboSelectDialogTemplate();
const DLGTEMPLATE* ListSelectDialogTemplate();
