#include "ui/msgbox/MsgBoxButtons.h"

#include "ui/shared/UiStrings.h"

namespace {

constexpr UINT kStrippedStyle = kMsgBoxAddNever | kMsgBoxAddAlways | kMsgBoxNoBeep;
constexpr int kMaxButtonText = 32;

const std::vector<int> kSets[] = {
    {IDOK},
    {IDOK, IDCANCEL},
    {IDABORT, IDRETRY, IDIGNORE},
    {IDYES, IDNO, IDCANCEL},
    {IDYES, IDNO},
    {IDRETRY, IDCANCEL},
    {IDCANCEL, IDTRYAGAIN, IDCONTINUE},
};

struct SystemText {
    int id;
    UINT resource;
    const wchar_t* fallback;
};

const SystemText kSystemTexts[] = {
    {IDOK, 800, L"OK"},           {IDCANCEL, 801, L"Abbrechen"},   {IDABORT, 802, L"&Abbrechen"},
    {IDRETRY, 803, L"&Wiederholen"}, {IDIGNORE, 804, L"&Ignorieren"}, {IDYES, 805, L"&Ja"},
    {IDNO, 806, L"&Nein"},        {IDHELP, 808, L"Hilfe"},         {IDTRYAGAIN, 809, L"&Wiederholen"},
    {IDCONTINUE, 810, L"&Weiter"},
};

// Puts a button behind the set's buttons, or in a closing Cancel's place with Cancel moved behind it.
void AddBeforeCancel(std::vector<int>& buttons, int id) {
    if (!buttons.empty() && buttons.back() == IDCANCEL)
        buttons.insert(buttons.end() - 1, id);
    else
        buttons.push_back(id);
}

}  // namespace

int MsgBoxButtonSet(UINT style) {
    const int set = static_cast<int>((style & ~kStrippedStyle) & MB_TYPEMASK);
    return set < 7 ? set : 0;
}

int MsgBoxDefaultIndex(UINT style) { return static_cast<int>(((style & ~kStrippedStyle) & MB_DEFMASK) >> 8); }

std::vector<int> MsgBoxButtons(UINT style) {
    std::vector<int> buttons = kSets[MsgBoxButtonSet(style)];
    if (style & kMsgBoxAddNever) AddBeforeCancel(buttons, kMsgBoxNever);
    if (style & kMsgBoxAddAlways) AddBeforeCancel(buttons, kMsgBoxAlways);
    if (style & kMsgBoxAddHelp) buttons.push_back(IDHELP);
    return buttons;
}

bool MsgBoxCannotClose(int buttonSet) { return buttonSet == MB_ABORTRETRYIGNORE || buttonSet == MB_YESNO; }

std::wstring MsgBoxButtonText(int id) {
    if (id == kMsgBoxNever || id == kMsgBoxAlways)
        return GetUIStringW(nullptr, id == kMsgBoxNever ? kUiNever : kUiAlways);
    for (const SystemText& t : kSystemTexts) {
        if (t.id != id) continue;
        wchar_t text[kMaxButtonText + 1] = {};
        const int length = ::LoadStringW(::GetModuleHandleA("user32.dll"), t.resource, text, kMaxButtonText + 1);
        return length > 0 ? std::wstring(text, static_cast<size_t>(length)) : std::wstring(t.fallback);
    }
    return std::wstring();
}
