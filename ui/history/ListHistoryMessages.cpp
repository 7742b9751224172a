#include "ui/history/ListHistoryMessages.h"

#include <vector>

ListMessages ListBoxMessages() {
    return {LB_GETCURSEL, LB_SETCURSEL, LB_GETCOUNT, LB_INSERTSTRING, LB_ADDSTRING, LB_DELETESTRING,
            LB_RESETCONTENT, LB_GETTEXTLEN, LB_GETTEXT};
}

ListMessages ListMessagesFor(HWND hwnd) {
    char className[16] = {};
    GetClassNameA(hwnd, className, sizeof className);
    // The system registers the class as "ListBox"; the drop list of a combo box
    // ("ComboLBox") is not one.
    if (lstrcmpiA(className, "LISTBOX") == 0) return ListBoxMessages();
    return {CB_GETCURSEL, CB_SETCURSEL, CB_GETCOUNT, CB_INSERTSTRING, CB_ADDSTRING, CB_DELETESTRING,
            CB_RESETCONTENT, CB_GETLBTEXTLEN, CB_GETLBTEXT};
}

std::string GetListEntryText(HWND hwnd, const ListMessages& m, int index) {
    LRESULT length = SendMessageA(hwnd, m.getTextLen, index, 0);
    if (length <= 0) return std::string();
    // Short entries fit the local buffer; longer ones get one of their own.
    char local[256];
    std::vector<char> heap;
    char* buffer = local;
    if (length >= static_cast<LRESULT>(sizeof local)) {
        heap.assign(static_cast<size_t>(length) + 1, 0);
        buffer = heap.data();
    }
    buffer[0] = 0;
    LRESULT got = SendMessageA(hwnd, m.getText, index, reinterpret_cast<LPARAM>(buffer));
    if (got < 0) return std::string();
    if (got > length) got = length;
    return std::string(buffer, static_cast<size_t>(got));
}

std::string GetWindowTextString(HWND hwnd) {
    int length = GetWindowTextLengthA(hwnd);
    std::string text(length > 0 ? static_cast<size_t>(length) + 1 : 1, '\0');
    int got = GetWindowTextA(hwnd, text.data(), static_cast<int>(text.size()));
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}
