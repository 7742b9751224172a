// The message box's dialog: the state it runs on and its procedure.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ui/msgbox/MsgBoxText.h"

// What the message box's dialog procedure needs.
struct MsgBoxState {
    HWND owner = nullptr;
    DWORD helpId = 0;
    MSGBOXCALLBACK helpCallback = nullptr;
    int buttonSet = 0;
    std::vector<int> buttons;
    int defaultId = IDOK;
    int timeout = 0;
    HICON icon = nullptr;
    BrokenText text;
    bool hasTabs = false;
    POINT centre = {};  // in and out; x == kNoMsgBoxCentre: none
    RECT work = {};
    SIZE textInset = {};  // the text inside its area
    HFONT font = nullptr;
};

INT_PTR CALLBACK MsgBoxDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
