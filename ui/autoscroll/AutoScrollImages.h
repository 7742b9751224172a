// The cursors and the origin mark of one autoscroll, built from the generated artwork and destroyed
// with the object.
#pragma once

#include <windows.h>

class AutoScrollImages {
public:
    // axes 1 horizontal, 2 vertical, 3 both: chooses the neutral cursor and the mark.
    explicit AutoScrollImages(int axes);
    ~AutoScrollImages();
    AutoScrollImages(const AutoScrollImages&) = delete;
    AutoScrollImages& operator=(const AutoScrollImages&) = delete;

    // Code 0 is the neutral cursor, 1-8 the direction cursors.
    HCURSOR Cursor(int code) const { return code >= 0 && code < 9 ? m_cursors[code] : m_cursors[0]; }
    HICON Mark() const { return m_mark; }

private:
    HCURSOR m_cursors[9] = {};
    HICON m_mark = nullptr;
};
