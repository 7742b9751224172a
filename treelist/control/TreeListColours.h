// The colour table of the "TreeList" control: 18 colours derived from the system colours unless the user
// set them (TVM_SETBKCOLOR with an index).
#pragma once

#include "treelist/control/TreeListData.h"

struct TreeListSysColours {
    COLORREF window, infoBk, btnFace, windowText, btnShadow, highlight, scrollbar, menu;
};

TreeListSysColours CurrentSysColours();
// Fills the defaults of every index not set by the user; colours[] holds the user's values where set[] is
// true and takes the defaults elsewhere. Pure.
void DeriveColours(const TreeListSysColours& sys, const bool set[kTreeListColours],
                   COLORREF colours[kTreeListColours]);
// Recomputes the defaults of the window and its draw-with-theme flag.
void UpdateColours(TreeListData* d);
// Each channel minus its eighth: the own background of a marked column.
inline COLORREF DarkenEighth(COLORREF v) { return v - ((v >> 3) & 0x1F1F1F); }
