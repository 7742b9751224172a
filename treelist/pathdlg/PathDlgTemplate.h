// The directory chooser's dialog, held in memory as an extended template, and the ids of its controls.
#pragma once

#include <windows.h>

#include <vector>

enum : int {
    IDC_PATHDLG_TREEMODE = 1001,    // "Baum anzeigen"
    IDC_PATHDLG_BREADCRUMB = 1002,  // "Brotkrumen"
    IDC_PATHDLG_PATHLABEL = 1007,
    IDC_PATHDLG_DRIVELABEL = 1009,
    IDC_PATHDLG_LIST = 1015,
    IDC_PATHDLG_DRIVES = 1016,
    IDC_PATHDLG_PATH = 1017,
    IDC_PATHDLG_UP = 1018,          // "Aufwärts"
    IDC_PATHDLG_TREE = 1099,
};

// The template: 284 x 279 dialog units, "Verzeichnis wählen", 8 pt "MS Sans Serif", ten controls.
// The bytes are the same on 32 and 64 bits (DWORD aligned, no pointers).
std::vector<BYTE> BuildPathDlgTemplate();
