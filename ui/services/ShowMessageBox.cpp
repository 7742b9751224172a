#include "ui/services/ShowMessageBox.h"

#include "ui/msgbox/MessageBoxEx.h"

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT style) {
    MSGBOXPARAMSA record = {};
    record.cbSize = sizeof record;
    record.hwndOwner = owner;
    record.lpszText = text;
    record.lpszCaption = caption;
    record.dwStyle = style;
    return MessageBoxExA(&record, nullptr, 0);
}
