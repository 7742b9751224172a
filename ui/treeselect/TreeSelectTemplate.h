// The tree selection dialog's in-memory template ("Auswahl", 225 x 184 units, resizable): OK, Abbrechen, an
// invisible placeholder 1046 for the tree-list control 1007 created at run time, and the prompt 1131.
#pragma once

#include <windows.h>

#include <cstdint>

constexpr int kTreeSelectPlaceholderId = 1046;
constexpr int kTreeSelectTreeId = 1007;
constexpr int kTreeSelectCopyField = 1140;  // context menu: the clicked cell's text to the clipboard

const DLGTEMPLATE* TreeSelectDialogTemplate();
// The context menu for the options: "Feld kopieren", with deleting "Zeile löschen", with check boxes a
// separator and check all / none. The caller destroys it.
HMENU CreateTreeSelectMenu(uint32_t options);
