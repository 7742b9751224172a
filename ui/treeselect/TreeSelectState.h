// What the tree selection dialogs of a process share: where the last one closed and the last header sort.
#pragma once

#include "ui/dialogs/SelectDialogPlacement.h"

struct TreeSelectSortState {
    int column = -1;
    bool descending = false;
};

struct TreeSelectProcessState {
    SelectSavedPosition position;
    TreeSelectSortState sort;
};

extern TreeSelectProcessState g_treeSelect;
