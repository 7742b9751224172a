// The list messages of a list box or a combo box, chosen by the window's class, and reading
// the texts of windows and list entries whatever their length.
#pragma once

#include <windows.h>

#include <string>

struct ListMessages {
    UINT getCurSel, setCurSel, getCount, insertString, addString, deleteString, resetContent;
    UINT getTextLen, getText;
};

// The LB_ messages, for list boxes behind other windows that pass them on.
ListMessages ListBoxMessages();

// LB_ messages for a "ListBox" window, CB_ messages for any other.
ListMessages ListMessagesFor(HWND hwnd);
// A window's whole text.
std::string GetWindowTextString(HWND hwnd);
// The text of entry index ("" when it has none).
std::string GetListEntryText(HWND hwnd, const ListMessages& m, int index);
