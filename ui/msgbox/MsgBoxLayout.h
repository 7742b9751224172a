// Where the message box puts its text, icon and buttons, and the dialog template that holds them.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

constexpr int kMsgBoxTextId = 100;
constexpr int kMsgBoxIconId = 1088;

struct MsgBoxMetrics {
    int widest = 0;            // the widest text line, pixels
    int lineCount = 0;
    int lineHeight = 0;
    bool scrolling = false;    // a line was too wide
    bool hasIcon = false;
    int buttonCount = 1;
    SIZE buttonText = {};      // the widest button text and the text height
    int scrollArrowWidth = 0;  // SM_CXHSCROLL
    RECT work = {};            // the work area of the owner's monitor
};

struct MsgBoxLayout {
    SIZE client = {};
    RECT textArea = {};        // at least 100 x 40
    RECT text = {};            // the text, centred in its area
    RECT icon = {};            // empty without an icon
    std::vector<RECT> buttons;
    bool scrolling = false;    // the text is higher than the box allows, or a line too wide
};

// The widest text line a box on this work area may have: 3/5 of its width, but not more than its height.
int MsgBoxMaxTextWidth(const RECT& work);
// The box's client layout in pixels.
MsgBoxLayout LayOutMessageBox(const MsgBoxMetrics& m);

struct MsgBoxTemplateInput {
    DWORD exStyle = 0;         // extra extended styles (topmost, right-aligned)
    std::wstring caption;
    std::wstring text;         // the text item's own text (the list child shows the lines)
    std::vector<int> buttons;
    std::vector<std::wstring> buttonTexts;
    int defaultIndex = 0;
    bool hasIcon = false;
    MsgBoxLayout layout;
    LONG baseUnits = 0;        // GetDialogBaseUnits
};

// The classic DLGTEMPLATE (no font) as words; the items lie on 4-byte boundaries when the first word does.
std::vector<WORD> BuildMsgBoxTemplate(const MsgBoxTemplateInput& in);
