// The list messages of a list box or a combo box, chosen by the window's class.
#pragma once

#include <windows.h>

#include <string>

struct ListMessages {
    UINT getCurSel, setCurSel, getCount, insertString, addString, deleteString, resetContent;
    UINT getTextLen, getText;
};

// LB_ messages for a "ListBox" window, CB_ messages for any other.
ListMessages ListMessagesFor(HWND hwnd);
// The text of entry index ("" when it has none).
std::string GetListEntryText(HWND hwnd, const ListMessages& m, int index);
