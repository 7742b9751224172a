// The window side of the resizable selection dialogs (list and tree): measuring the template's layout,
// the position and size a dialog reopens at, and laying out the list and the buttons.
#pragma once

#include "ui/dialogs/SelectDialogGeometry.h"

#include <windows.h>

#include <cstdint>

// Design sizes in pixels against which the width and height changes are reckoned.
constexpr int32_t kSelectDesignWidth = 347, kSelectDesignHeight = 301;

// The screen position of the last closed dialog of one kind in the process.
struct SelectSavedPosition {
    POINT point = {};
    bool saved = false;
};
// The size a dialog object had when it last closed.
struct SelectKeptSize {
    SIZE size = {};
    bool kept = false;
};

// The margins of the list control listId and the buttons in client pixels; the minimum size as a window size.
ListSelectMeasures MeasureSelectLayout(HWND dialog, int listId, bool cancelAllowed);
// Moves the dialog to a usable saved position, then to its kept size or, failing that, grows it by the width
// and height changes (never below the minimum size).
void PlaceSelectWindow(HWND dialog, const SelectSavedPosition& position, const SelectKeptSize& kept,
                       int32_t widthChange, int32_t heightChange, const ListSelectMeasures& m);
// Notes the dialog's size in the object and its position for the next dialog of the kind.
void KeepSelectWindow(HWND dialog, SelectKeptSize* kept, SelectSavedPosition* position);
// The list control listId and the buttons for the client size cx x cy (nothing while either is 0).
void LayOutSelectControls(HWND dialog, int listId, const ListSelectMeasures& m, int cx, int cy, bool cancelAllowed);
