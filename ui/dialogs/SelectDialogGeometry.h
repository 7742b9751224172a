// Geometry and type-ahead of the selection dialogs, free of windows.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

// The change of a dialog size for a width (or height) change setting against a design size in pixels:
// kInputTargetWidthTag | target asks for the target size, anything else for an increase at the design size.
int32_t DesignSizeDelta(int32_t size, int32_t change, int32_t designSize);

// What the list dialog measures as it opens (client pixels).
struct ListSelectMeasures {
    int buttonWidth = 0, buttonHeight = 0;
    int gap = 0;             // between OK and Cancel
    int buttonTop = 0;       // distance from the client bottom up to the buttons' top
    int listLeft = 0, listTop = 0, listBottom = 0;  // margins; listBottom from the client bottom
    int minWidth = 0, minHeight = 0;                // of the window
};

struct ListSelectPlacement {
    RECT list, ok, cancel;
};

// The list and the buttons for a client size; without Cancel, OK is centred.
ListSelectPlacement LayOutListSelect(const ListSelectMeasures& m, int cx, int cy, bool cancelAllowed);
// Keeps a window rectangle being sized at least minWidth x minHeight, growing away from the dragged edge.
void KeepMinimumSize(RECT* rect, UINT side, int minWidth, int minHeight);
// A saved position is used when it lies within -20 < x < screen width - 50 and likewise for y.
bool UsableSavedPosition(POINT p, int screenWidth, int screenHeight);

// Type-ahead over a list: each character extends the typed prefix (dropped after a pause, at 16
// characters, or when one letter is repeated, which steps through the entries starting with it).
class SelectTypeAhead {
public:
    using TextAt = std::function<const char*(int index)>;
    // The entry to select for ch typed at `now` (a tick count), or -1 for no change.
    int Type(unsigned char ch, DWORD now, int current, int count, const TextAt& text);

private:
    int Search(int start, int count, const TextAt& text) const;
    DWORD m_last = 0;
    int m_typed = 0;
    unsigned char m_chars[16] = {};
};
