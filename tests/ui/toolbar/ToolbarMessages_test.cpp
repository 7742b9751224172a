// The message interface of the toolbar control, created in a parent window and driven by messages.
#include <gtest/gtest.h>

#include "tests/support/ThreadWindows.h"
#include "tests/ui/toolbar/ToolbarTestSupport.h"

#include <atomic>
#include <string>
#include <thread>

using namespace tbtest;

namespace {

std::vector<int> Commands(Toolbar& tb) {
    std::vector<int> ids;
    for (int i = 0; i < tb.Send(TB_BUTTONCOUNT); ++i) ids.push_back((int)tb.Send(TBX_INDEXTOCOMMAND, i));
    return ids;
}

WORD Extra(Toolbar& tb, int i) { return (WORD)tb.Send(TBX_GETFLAGS, i); }

void* FailingAlloc(size_t) { return nullptr; }

// Text placed so that its last byte ends a readable page: any read past it faults.
struct GuardedText {
    BYTE* base = nullptr;
    SYSTEM_INFO info = {};
    GuardedText() {
        GetSystemInfo(&info);
        base = (BYTE*)VirtualAlloc(nullptr, 2 * info.dwPageSize, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
        DWORD old;
        VirtualProtect(base + info.dwPageSize, info.dwPageSize, PAGE_NOACCESS, &old);
    }
    ~GuardedText() { VirtualFree(base, 0, MEM_RELEASE); }
    template <class Char>
    const Char* Place(const Char* text, size_t chars) {  // chars includes the final NUL
        Char* at = (Char*)(base + info.dwPageSize) - chars;
        memcpy(at, text, chars * sizeof(Char));
        return at;
    }
};

}  // namespace

TEST(ToolbarMessages, DefaultsAndSingleValues) {
    Toolbar tb(TBSTYLE_FLAT);
    ASSERT_TRUE(tb.hwnd);
    EXPECT_EQ(tb.Send(TB_GETBUTTONSIZE), MAKELONG(23, 22));
    EXPECT_EQ(tb.Send(TB_GETPADDING), MAKELONG(7, 7));
    EXPECT_EQ(tb.Send(TBX_GETBITMAPSIZE), MAKELONG(16, 16));
    EXPECT_EQ(tb.Send(TB_GETSTYLE) & TBSTYLE_FLAT, (LRESULT)TBSTYLE_FLAT);
    EXPECT_EQ(tb.Send(TB_SETEXTENDEDSTYLE, 0, 0xFF), 0);  // not answered: default processing
    EXPECT_EQ(tb.Send(TB_GETEXTENDEDSTYLE), 0);
    EXPECT_EQ(tb.Send(TB_GETTOOLTIPS), 0);
    EXPECT_EQ(tb.Send(TBX_GETEXTRATARGET), 0);
    // The new padding comes back, not the old; below 2 counts as 2.
    EXPECT_EQ(tb.Send(TB_SETPADDING, 0, MAKELPARAM(9, 1)), MAKELONG(9, 2));
    EXPECT_EQ(tb.Send(TBX_KEYCOLOR, 0), 0x00FF00FF);
    EXPECT_EQ(tb.Send(TBX_KEYCOLOR, 0x80000001u, 0x123456), 0x00800080);
    EXPECT_EQ(tb.Send(TBX_KEYCOLOR, 1), 0x123456);
    EXPECT_EQ(tb.Send(TBX_KEYCOLOR, 2), 0);
    SendMessageA(tb.hwnd, WM_SETFONT, (WPARAM)GetStockObject(ANSI_VAR_FONT), 0);
    EXPECT_EQ(tb.Send(WM_GETFONT), (LRESULT)GetStockObject(ANSI_VAR_FONT));
}

TEST(ToolbarMessages, CreationFailsWithoutMemoryForTheState) {
    RegisterToolbarExClass(GetModuleHandleA(nullptr));
    ToolbarAllocFn old = SetToolbarAllocator(FailingAlloc);
    HWND wnd = CreateWindowExA(0, kToolbarExClassName, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    SetToolbarAllocator(old);
    EXPECT_EQ(wnd, nullptr);
    if (wnd) DestroyWindow(wnd);
    // Creation works again with memory, and a second registration is harmless.
    EXPECT_TRUE(RegisterToolbarExClass(GetModuleHandleA(nullptr)));
    Toolbar tb;
    EXPECT_TRUE(tb.hwnd);
    EXPECT_TRUE(tb.State());
}

TEST(ToolbarMessages, AddingAndInsertingButtons) {
    Toolbar tb;
    TBBUTTON list[5] = {Button(0, 10), Button(1, 11), Button(2, 12), Button(3, 13),
                        Button(4, 14, BTNS_BUTTON, TBSTATE_ENABLED, -1, TBXF_SPLIT)};
    EXPECT_EQ(tb.Send(TB_ADDBUTTONSA, 1024, (LPARAM)list), 0);
    EXPECT_EQ(tb.Send(TB_BUTTONCOUNT), 0);
    EXPECT_EQ(tb.Send(TB_ADDBUTTONSA, MAKEWPARAM(1, 0x4000), (LPARAM)list), 0);
    EXPECT_EQ(tb.Send(TB_ADDBUTTONSW, 0, (LPARAM)list), 0);
    EXPECT_EQ(tb.Send(TB_ADDBUTTONSW, 4, (LPARAM)list), 1);
    // High word 0x5003: in at position 3. TB_ADDBUTTONS clears the extra flags, TBX_ADDBUTTONS keeps them.
    EXPECT_EQ(tb.Send(TB_ADDBUTTONSA, MAKEWPARAM(1, 0x5003), (LPARAM)&list[4]), 1);
    EXPECT_EQ(Commands(tb), (std::vector<int>{10, 11, 12, 14, 13}));
    EXPECT_EQ(Extra(tb, 3), 0);
    EXPECT_EQ(tb.Send(TBX_ADDBUTTONS, MAKEWPARAM(1, 0x53FF), (LPARAM)&list[4]), 1);  // 1023: the end
    EXPECT_EQ(Extra(tb, 5), TBXF_SPLIT);
    // TB_INSERTBUTTON keeps them, TBX_INSERTBUTTON clears them; the index is clamped to the count.
    EXPECT_EQ(tb.Send(TB_INSERTBUTTONA, 0, (LPARAM)&list[4]), 0);
    EXPECT_EQ(Extra(tb, 0), TBXF_SPLIT);
    EXPECT_EQ(tb.Send(TBX_INSERTBUTTON, 99, (LPARAM)&list[4]), 7);
    EXPECT_EQ(Extra(tb, 7), 0);
    EXPECT_EQ(tb.Send(TB_INSERTBUTTONW, 0, 0), -1);
    EXPECT_EQ(tb.Send(TB_BUTTONCOUNT), 8);
}

TEST(ToolbarMessages, ButtonAddressingForms) {
    Toolbar tb;
    tb.Add({Button(0, 7), Button(1, 8, BTNS_BUTTON, TBSTATE_ENABLED, -1, 0x2000, 0), Button(2, 7),
            Button(3, 9, BTNS_BUTTON, TBSTATE_ENABLED, -1, 0x1000)});
    EXPECT_EQ(tb.Send(TB_COMMANDTOINDEX, 9), 3);
    EXPECT_EQ(tb.Send(TB_COMMANDTOINDEX, ToolbarIndex(2)), 2);
    EXPECT_EQ(tb.Send(TB_COMMANDTOINDEX, ToolbarIndex(4)), -1);
    EXPECT_EQ(tb.Send(TB_COMMANDTOINDEX, ToolbarCommand(7)), 0);
    EXPECT_EQ(tb.Send(TB_COMMANDTOINDEX, ToolbarNthCommand(7, 1)), 2);
    EXPECT_EQ(tb.Send(TB_COMMANDTOINDEX, ToolbarNthCommand(7, 2)), -1);
    EXPECT_EQ(tb.Send(TB_COMMANDTOINDEX, ToolbarNthFlagged(0x3000, 0)), 1);
    EXPECT_EQ(tb.Send(TB_COMMANDTOINDEX, ToolbarNthFlagged(0x3000, 1)), 3);
    EXPECT_EQ(tb.Send(TB_COMMANDTOINDEX, 1234), -1);
    // Messages of the first kind always take the addressed form; the others a plain index.
    EXPECT_EQ(tb.Send(TB_ENABLEBUTTON, 9, FALSE), 1);
    EXPECT_EQ(tb.Send(TB_ISBUTTONENABLED, 3), 0);
    EXPECT_EQ(tb.Send(TB_ISBUTTONENABLED, ToolbarCommand(9)), 0);
    EXPECT_EQ(tb.Send(TB_ISBUTTONENABLED, 9), -1);
    EXPECT_EQ(tb.Send(TB_GETSTATE, 0), TBSTATE_ENABLED);
    EXPECT_EQ(tb.Send(TB_GETSTATE, 4), -1);
    EXPECT_EQ(tb.Send(TB_ENABLEBUTTON, 55, TRUE), 0);
}

TEST(ToolbarMessages, GetButtonCopiesNoMoreThanTheButtonStructure) {
    Toolbar tb;
    TBBUTTON b = Button(3, 42, BTNS_CHECK, TBSTATE_ENABLED | TBSTATE_CHECKED, 5, 0x0401);
    b.dwData = (DWORD_PTR)0x123456789ABCull;
    tb.Add({b});
    // A caller-chosen structure size far past the record: only the TBBUTTON part is copied.
    tb.Send(TB_BUTTONSTRUCTSIZE, 1000);
    std::vector<BYTE> buffer(1000, 0xCD);
    ASSERT_EQ(tb.Send(TB_GETBUTTON, 0, (LPARAM)buffer.data()), 1);
    TBBUTTON out;
    memcpy(&out, buffer.data(), sizeof(out));
    EXPECT_EQ(out.iBitmap, 3);
    EXPECT_EQ(out.idCommand, 42);
    EXPECT_EQ(out.fsState, TBSTATE_ENABLED | TBSTATE_CHECKED);
    EXPECT_EQ(out.dwData, (DWORD_PTR)0x123456789ABCull);  // pointer-sized
    EXPECT_EQ(out.iString, 5);
    for (size_t i = sizeof(TBBUTTON); i < buffer.size(); ++i) ASSERT_EQ(buffer[i], 0xCD) << i;
    // A smaller size copies less.
    tb.Send(TB_BUTTONSTRUCTSIZE, 8);
    std::fill(buffer.begin(), buffer.end(), 0xCD);
    tb.Send(TB_GETBUTTON, 0, (LPARAM)buffer.data());
    EXPECT_EQ(buffer[8], 0xCD);
    EXPECT_EQ(tb.Send(TB_GETBUTTON, 1, (LPARAM)buffer.data()), 0);
    EXPECT_EQ(tb.Send(TB_GETBUTTON, 0, 0), 0);
}

TEST(ToolbarMessages, GroupsCheckOneButtonAtATime) {
    Toolbar tb;
    BYTE group = BTNS_CHECKGROUP;
    tb.Add({Button(0, 1, group), Button(1, 2, group, TBSTATE_ENABLED | TBSTATE_CHECKED), Button(2, 3, group),
            Button(3, 4, group | 0x80), Button(4, 5, group, TBSTATE_ENABLED | TBSTATE_CHECKED)});
    // Checking the group's checked button again changes nothing.
    EXPECT_EQ(tb.Send(TB_CHECKBUTTON, 2, TRUE), 0);
    EXPECT_EQ(tb.Send(TB_ISBUTTONCHECKED, 1), 1);
    EXPECT_EQ(tb.Send(TB_CHECKBUTTON, 3, TRUE), 1);
    EXPECT_EQ(tb.Send(TB_ISBUTTONCHECKED, 1), 0);
    EXPECT_EQ(tb.Send(TB_ISBUTTONCHECKED, 2), 1);
    // Style 0x80 opens a new group: its check moves the checked button of that group only.
    EXPECT_EQ(tb.Send(TB_CHECKBUTTON, 4, TRUE), 1);
    EXPECT_EQ(tb.Send(TB_ISBUTTONCHECKED, 4), 0);
    EXPECT_EQ(tb.Send(TB_ISBUTTONCHECKED, 3), 1);
    EXPECT_EQ(tb.Send(TB_ISBUTTONCHECKED, 2), 1);
    EXPECT_EQ(tb.Send(TB_CHECKBUTTON, 3, FALSE), 1);
    EXPECT_EQ(tb.Send(TB_ISBUTTONCHECKED, 2), 0);
}

TEST(ToolbarMessages, ButtonSizeDoesNotGrowOnRepeatedRequests) {
    Toolbar tb;
    EXPECT_EQ(tb.Send(TB_SETBUTTONSIZE, 0, MAKELPARAM(30, 26)), 1);
    EXPECT_EQ(tb.Send(TB_GETBUTTONSIZE), MAKELONG(30, 26));
    EXPECT_EQ(tb.Send(TB_SETBUTTONSIZE, 0, MAKELPARAM(30, 26)), 1);
    EXPECT_EQ(tb.Send(TB_GETBUTTONSIZE), MAKELONG(30, 26));
    // The floor is the image plus its padding; 0 means 24; negative fails.
    EXPECT_EQ(tb.Send(TB_SETBUTTONSIZE, 0, MAKELPARAM(10, 0)), 1);
    EXPECT_EQ(tb.Send(TB_GETBUTTONSIZE), MAKELONG(23, 24));
    EXPECT_EQ(tb.Send(TB_SETBUTTONSIZE, 0, MAKELPARAM(-1, 30)), 0);
    EXPECT_EQ(tb.Send(TB_GETBUTTONSIZE), MAKELONG(23, 24));
}

TEST(ToolbarMessages, StringTableForms) {
    Toolbar tb;
    EXPECT_EQ(tb.Send(TB_ADDSTRINGW, 65534, (LPARAM)L"abc"), 0);
    EXPECT_EQ(tb.Send(TBX_GETSTRINGCOUNT), 1);
    std::wstring long257(257, L'x');
    EXPECT_EQ(tb.Send(TB_ADDSTRINGW, 65534, (LPARAM)long257.c_str()), -1);
    EXPECT_EQ(tb.Send(TB_ADDSTRINGW, 65534, (LPARAM)long257.substr(1).c_str()), 1);
    EXPECT_EQ(tb.Send(TB_ADDSTRINGA, 0, (LPARAM) "eins\0zwei\0\0"), 2);
    EXPECT_EQ(tb.Send(TB_ADDSTRINGA, '|', (LPARAM) "drei|vier||fünf|"), 4);
    EXPECT_EQ(tb.Send(TB_ADDSTRINGW, 65535, (LPARAM)L";sechs;sieben"), 6);
    EXPECT_EQ(tb.Send(TBX_GETSTRINGCOUNT), 7);
    EXPECT_EQ(tb.Send(TBX_FINDSTRINGW, MAKEWPARAM(0, 65535), (LPARAM)L"vier"), 5);
    EXPECT_EQ(tb.Send(TBX_FINDSTRINGW, MAKEWPARAM(0, 3), (LPARAM)L"vier"), -1);
    EXPECT_EQ(tb.Send(TBX_FINDSTRINGW, MAKEWPARAM(0, 65535), (LPARAM)L"Vier"), -1);
    EXPECT_EQ(tb.Send(TBX_FINDSTRINGA, MAKEWPARAM(0, 65535), (LPARAM) "zwei"), 3);
    EXPECT_EQ(tb.Send(TBX_FINDSTRINGA, MAKEWPARAM(0, 65535), (LPARAM)std::string(255, 'x').c_str()), -1);
    wchar_t wide[16] = {};
    EXPECT_EQ(tb.Send(TB_GETSTRINGW, MAKEWPARAM(16, 5), (LPARAM)wide), 4);
    EXPECT_STREQ(wide, L"vier");
    char narrow[4] = {};
    EXPECT_EQ(tb.Send(TB_GETSTRINGA, MAKEWPARAM(3, 0), (LPARAM)narrow), 2);
    EXPECT_STREQ(narrow, "ab");
    EXPECT_EQ(tb.Send(TB_GETSTRINGA, MAKEWPARAM(3, 9), (LPARAM)narrow), -1);
    EXPECT_EQ(tb.Send(TB_GETSTRINGW, MAKEWPARAM(0, 0), (LPARAM)wide), -1);
}

TEST(ToolbarMessages, StringListsAreNotReadPastTheirEnd) {
    Toolbar tb;
    GuardedText guard;
    // A separated list whose last string lacks its separator, ending the readable memory with its NUL.
    const char* list = guard.Place("eins|zwei", 10);
    EXPECT_EQ(tb.Send(TB_ADDSTRINGA, '|', (LPARAM)list), 0);
    const wchar_t* one = guard.Place(L"#nur", 5);
    EXPECT_EQ(tb.Send(TB_ADDSTRINGW, 65535, (LPARAM)one), 2);
    const wchar_t* single = guard.Place(L"", 1);
    EXPECT_EQ(tb.Send(TB_ADDSTRINGW, 0, (LPARAM)single), -1);
    EXPECT_EQ(tb.Send(TBX_GETSTRINGCOUNT), 3);
    wchar_t text[8] = {};
    tb.Send(TB_GETSTRINGW, MAKEWPARAM(8, 1), (LPARAM)text);
    EXPECT_STREQ(text, L"zwei");
    tb.Send(TB_GETSTRINGW, MAKEWPARAM(8, 2), (LPARAM)text);
    EXPECT_STREQ(text, L"nur");
}

TEST(ToolbarMessages, ButtonTextsFollowTheStringTable) {
    Toolbar tb;
    tb.Send(TB_ADDSTRINGA, 0, (LPARAM) "null\0eins\0zwei\0drei\0\0");
    tb.Add({Button(-1, 1, BTNS_BUTTON, TBSTATE_ENABLED, 1), Button(-1, 2, BTNS_BUTTON, TBSTATE_ENABLED, 3),
            Button(-1, 3, BTNS_BUTTON, TBSTATE_ENABLED, 2), Button(-1, 4, BTNS_BUTTON, TBSTATE_ENABLED, 40)});
    char text[64];
    EXPECT_EQ(tb.Send(TB_GETBUTTONTEXTA, 2, (LPARAM)text), 4);
    EXPECT_STREQ(text, "drei");
    EXPECT_EQ(tb.Send(TB_GETBUTTONTEXTA, 4, (LPARAM)text), 0);  // no such string: empty
    EXPECT_EQ(tb.Send(TB_GETBUTTONTEXTA, 5, (LPARAM)text), -1);
    EXPECT_EQ(tb.Send(TB_GETBUTTONTEXTA, 1, 0), -1);
    // An equal string is reused; a new one is added.
    EXPECT_EQ(tb.Send(TBX_SETBUTTONTEXTA, 3, (LPARAM) "null"), 0);
    EXPECT_EQ(tb.Send(TBX_SETBUTTONTEXTW, 3, (LPARAM)L"vier"), 4);
    EXPECT_EQ(tb.Send(TBX_GETSTRINGCOUNT), 5);
    // Removing strings: indexes behind the run move down, the others stay.
    EXPECT_EQ(tb.Send(TBX_REMOVESTRINGS, 1, 2), 2);
    EXPECT_EQ(tb.Send(TBX_GETSTRINGINDEX, 0), 1);
    EXPECT_EQ(tb.Send(TBX_GETSTRINGINDEX, 1), 1);
    EXPECT_EQ(tb.Send(TBX_GETSTRINGINDEX, 3), 2);
    EXPECT_EQ(tb.Send(TBX_REMOVESTRINGS, 3, 1), 0);
    EXPECT_EQ(tb.Send(TBX_REMOVESTRINGS, 0, 0), 0);
    EXPECT_EQ(tb.Send(TBX_REMOVESTRINGS, 2, 100), 1);
    EXPECT_EQ(tb.Send(TBX_GETSTRINGCOUNT), 2);
}

TEST(ToolbarMessages, ButtonInfoGetAndSet) {
    Toolbar tb;
    tb.Send(TB_ADDSTRINGW, 65534, (LPARAM)L"Vollbild");
    tb.Add({Button(2, 32802, BTNS_BUTTON, TBSTATE_ENABLED, 0, 0x0100, 77)});
    TBBUTTONINFOEXA info = {};
    char text[5];
    info.info.cbSize = sizeof(info);
    info.info.dwMask = TBIF_COMMAND | TBIF_IMAGE | TBIF_STATE | TBIF_STYLE | TBIF_LPARAM | TBIF_TEXT |
                       TBIF_EXTRAFLAGS | TBIF_BYINDEX;
    info.info.pszText = text;
    info.info.cchText = sizeof(text);
    ASSERT_EQ(tb.Send(TB_GETBUTTONINFOA, 0, (LPARAM)&info), 0);
    EXPECT_EQ(info.info.idCommand, 32802);
    EXPECT_EQ(info.info.iImage, 2);
    EXPECT_EQ(info.info.lParam, 77u);
    EXPECT_EQ(info.extraValue, 0x0100);
    EXPECT_STREQ(text, "Voll");  // at most cchText bytes with the NUL
    // The plain structure: the extra flags are ignored; a smaller one is refused.
    TBBUTTONINFOW plain = {};
    plain.cbSize = sizeof(plain);
    plain.dwMask = TBIF_STATE | TBIF_EXTRAFLAGS | TBIF_STRINGINDEX;
    EXPECT_EQ(tb.Send(TB_GETBUTTONINFOW, 0, (LPARAM)&plain), 0);
    EXPECT_EQ((INT_PTR)plain.pszText, 0);
    plain.cbSize = 32;
    EXPECT_EQ(tb.Send(TB_GETBUTTONINFOW, 0, (LPARAM)&plain), -1);

    info.info.dwMask = TBIF_COMMAND | TBIF_STATE | TBIF_EXTRAFLAGS | TBIF_TEXT;
    info.info.idCommand = 5;
    info.info.fsState = 0;
    info.extraValue = 0x0401;
    info.extraMask = 0x0001;
    info.info.pszText = (LPSTR) "Neu";
    EXPECT_EQ(tb.Send(TB_SETBUTTONINFOA, 0, (LPARAM)&info), 1);
    EXPECT_EQ(tb.Send(TBX_INDEXTOCOMMAND, 0), 5);
    EXPECT_EQ(tb.Send(TB_GETSTATE, 0), 0);
    EXPECT_EQ(tb.Send(TBX_GETFLAGS, 0), 0x0101);
    EXPECT_EQ(tb.Send(TB_GETBUTTONTEXTA, 5, (LPARAM)text), 3);
    EXPECT_EQ(tb.Send(TB_SETBUTTONINFOA, 3, (LPARAM)&info), 0);
}

TEST(ToolbarMessages, StateAndStyleWord) {
    Toolbar tb;
    tb.Add({Button(0, 1, BTNS_BUTTON, TBSTATE_ENABLED), Separator()});
    // New = (old & ~mask) | (value & mask); the old word comes back.
    EXPECT_EQ(tb.Send(TBX_SETSTATESTYLE, 0, 0xFF010002 | (TBSTATE_CHECKED << 16) | 0x0200),
              (TBSTATE_ENABLED << 16) | BTNS_BUTTON);
    EXPECT_EQ(tb.Send(TBX_GETSTATESTYLE, 0), (TBSTATE_CHECKED << 16) | BTNS_CHECK);
    // High word 0x73C3: the low word alone carries a state and its mask.
    tb.Send(TBX_SETSTATESTYLE, 0, 0x73C30404);
    EXPECT_EQ(tb.Send(TB_GETSTATE, 0), TBSTATE_CHECKED | TBSTATE_ENABLED);
    // A separator stays a separator.
    tb.Send(TBX_SETSTATESTYLE, 1, 0x0000FF00);
    EXPECT_EQ(tb.Send(TBX_GETSTATESTYLE, 1) & 0xFF, BTNS_SEP);
    EXPECT_EQ(tb.Send(TBX_GETSTATESTYLE, 5), 0);
}

TEST(ToolbarMessages, RangesStopAtTheLastButton) {
    Toolbar tb;
    tb.Add({Button(0, 1), Separator(), Button(1, 2), Button(2, 1)});
    // An end far past the table: every button up to the last one, separators skipped.
    EXPECT_EQ(tb.Send(TBX_MODIFYSTATE, MAKEWPARAM(0, 0xFFFF), MAKELPARAM(0, TBSTATE_ENABLED)), 3);
    EXPECT_EQ(tb.Send(TB_ISBUTTONENABLED, 2), 0);
    EXPECT_EQ(tb.Send(TBX_MODIFYFLAGS, MAKEWPARAM(1, 60000), MAKELPARAM(0x0400, 0x0400)), 2);
    EXPECT_EQ(tb.Send(TBX_GETFLAGS, 3), 0x0400);
    EXPECT_EQ(tb.Send(TBX_GETFLAGS, 0), 0);
    // By command id: every button with the id.
    EXPECT_EQ(tb.Send(TBX_MODIFYSTYLE, 0x12480001, MAKELPARAM(BTNS_CHECK, BTNS_CHECK)), 2);
    EXPECT_EQ(tb.Send(TBX_GETSTATESTYLE, 3) & 0xFF, BTNS_CHECK);
    EXPECT_EQ(tb.Send(TBX_COUNTBUTTONS, MAKEWPARAM(0, 0xFFFF), MAKELPARAM(0x0400, 0x0400)), 2);
    EXPECT_EQ(tb.Send(TBX_COUNTBUTTONS, MAKEWPARAM(0, 0xFFFF), 0), 1);  // id 0: the separator
    DWORD ids[8] = {};
    EXPECT_EQ(tb.Send(TBX_GETCOMMANDS, 8, (LPARAM)ids), 4);
    EXPECT_EQ(ids[2], 2u);
    EXPECT_EQ(tb.Send(TBX_DELETEBUTTONS, 1, 99), 3);
    EXPECT_EQ(tb.Send(TB_BUTTONCOUNT), 1);
}

TEST(ToolbarMessages, DeletingAnEmptyRangeDeletesNothingEvenForTheLowestEnd) {
    Toolbar tb;
    tb.Add({Button(0, 1), Button(1, 2)});
    for (INT_PTR end : {INT_PTR(0), INT_PTR(1), INTPTR_MIN, INTPTR_MIN + 1})
        EXPECT_EQ(tb.Send(TBX_DELETEBUTTONS, 1, (LPARAM)end), 0) << end;
    EXPECT_EQ(tb.Send(TB_BUTTONCOUNT), 2);
}

TEST(ToolbarMessages, SingleFieldsOfAButton) {
    Toolbar tb;
    tb.Add({Button(0, 1), Button(1, 2, BTNS_BUTTON, TBSTATE_ENABLED, -1, TBXF_WINDOW)});
    EXPECT_EQ(tb.Send(TBX_SETCOMMAND, 0, 9), 1);
    EXPECT_EQ(tb.Send(TBX_GETCOMMAND, 0), 9);
    EXPECT_EQ(tb.Send(TBX_SETIMAGE, 0, 3), 0);
    EXPECT_EQ(tb.Send(TBX_GETIMAGE, 0), 3);
    EXPECT_EQ(tb.Send(TB_CHANGEBITMAP, 9, 4), 1);
    EXPECT_EQ(tb.Send(TB_GETBITMAP, 9), 4);
    EXPECT_EQ(tb.Send(TBX_SETDATA, 0, 1234), 0);
    EXPECT_EQ(tb.Send(TBX_GETDATA, 0), 1234);
    // A fixed width: clamped, flag 0x0200 follows it; never on a window button.
    EXPECT_EQ(tb.Send(TBX_SETBUTTONWIDTH, 0, 900), 0);
    EXPECT_EQ(tb.Send(TBX_GETFLAGS, 0) & TBXF_FIXEDWIDTH, TBXF_FIXEDWIDTH);
    EXPECT_EQ(tb.Send(TBX_SETBUTTONWIDTH, 0, 0), 512);
    EXPECT_EQ(tb.Send(TBX_GETFLAGS, 0) & TBXF_FIXEDWIDTH, 0);
    EXPECT_EQ(tb.Send(TBX_SETBUTTONWIDTH, 1, 50), -1);
    EXPECT_EQ(tb.Send(TBX_SETFLAGS, 0, MAKELPARAM(0x8001, 0x8000)), 0);
    EXPECT_EQ(tb.Send(TBX_GETFLAGS, 0), 0x8000);
    EXPECT_EQ(tb.Send(TBX_SETFLAGS, 7, 0), -1);
    EXPECT_EQ(tb.Send(TBX_INDEXTOCOMMAND, 7), -1);
}

// Every value a handler answers comes back as it is; what the control does not answer gets the default.
TEST(ToolbarMessages, AnswersOfAnyValueComeBackAndOtherMessagesGetTheDefault) {
    Toolbar tb;
    tb.Add({Button(0, 1)});
    for (LPARAM data : {(LPARAM)-1, (LPARAM)((ULONG_PTR)1 << (sizeof(LPARAM) * 8 - 1))}) {
        tb.Send(TBX_SETDATA, 0, data);
        EXPECT_EQ(tb.Send(TBX_GETDATA, 0), data);
    }
    EXPECT_TRUE(tb.Send(WM_SETTEXT, 0, (LPARAM)"Leiste"));
    char text[16] = {};
    EXPECT_EQ(tb.Send(WM_GETTEXT, sizeof(text), (LPARAM)text), 6);
    EXPECT_STREQ(text, "Leiste");
}

TEST(ToolbarMessages, ColoursAndTheirDefaults) {
    Toolbar tb;
    EXPECT_EQ(tb.Send(TBX_COLOR, 9, 0), -1);
    EXPECT_EQ((COLORREF)tb.Send(TBX_COLOR, 0, 0x123456), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(tb.Send(TBX_COLOR, 0, -1), 0x123456);
    EXPECT_EQ((COLORREF)tb.Send(TBX_COLOR, 0, -1), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(tb.Send(TBX_COLOR, 4, -1), 0x0080C0FF);
    // Slot 8 is the mean of slots 6 and 7 while it is not set.
    tb.Send(TBX_COLOR, 6, 0x204060);
    tb.Send(TBX_COLOR, 7, 0x406080);
    EXPECT_EQ(tb.Send(TBX_COLOR, 8, -1), 0x305070);
}

TEST(ToolbarMessages, TargetsAndEmbeddedWindowCommands) {
    Toolbar tb;
    uitest::TestParent other(100, 100);
    EXPECT_EQ(tb.Send(TB_SETPARENT, (WPARAM)other.hwnd, 0x12345601), 0);
    EXPECT_EQ(tb.Send(TB_SETPARENT, (WPARAM)other.hwnd, 0x12345603), 0);  // no slot 3
    EXPECT_EQ(tb.Send(TB_SETPARENT, (WPARAM)other.hwnd, 0x12345601), (LRESULT)other.hwnd);

    HWND combo = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | CBS_DROPDOWNLIST, 0, 0, 80, 100, tb.hwnd,
                                 (HMENU)300, GetModuleHandleA(nullptr), nullptr);
    SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM) "a");
    SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM) "b");
    SendMessageA(combo, CB_SETCURSEL, 1, 0);
    tb.Add({Button(-1, 300, BTNS_BUTTON, TBSTATE_ENABLED, -1, TBXF_WINDOW, (DWORD_PTR)combo)});
    EXPECT_EQ(tb.Send(TBX_FINDWINDOW, 0, (LPARAM)combo), 0);
    EXPECT_EQ(tb.Send(TBX_FINDWINDOW, 0, (LPARAM)tb.hwnd), -1);
    // A selection change goes to the command window, followed by id + selection (no item data).
    tb.Send(WM_COMMAND, MAKEWPARAM(300, CBN_SELCHANGE), (LPARAM)combo);
    PumpQueued();
    EXPECT_EQ(other.CommandCodes(300), (std::vector<WORD>{CBN_SELCHANGE}));
    EXPECT_EQ(other.Commands(301).size(), 1u);
    EXPECT_TRUE(tb.parent.Commands(300).empty());
    // Commands of windows that are not embedded go nowhere.
    tb.Send(WM_COMMAND, MAKEWPARAM(300, CBN_SELCHANGE), (LPARAM)other.hwnd);
    PumpQueued();
    EXPECT_EQ(other.Commands(300).size(), 1u);
    // Deleting the button hides the window but leaves it alive.
    ShowWindow(combo, SW_SHOW);
    tb.Send(TB_DELETEBUTTON, 0);
    EXPECT_TRUE(IsWindow(combo));
    EXPECT_FALSE(IsWindowVisible(combo));
}

TEST(ToolbarMessages, EnablingTheWindowFollowsTheStyle) {
    Toolbar tb;
    EXPECT_TRUE(tb.State()->enabled);
    EnableWindow(tb.hwnd, FALSE);
    EXPECT_FALSE(tb.State()->enabled);
    EXPECT_TRUE(GetWindowLongA(tb.hwnd, GWL_STYLE) & WS_DISABLED);
    EnableWindow(tb.hwnd, TRUE);
    EXPECT_TRUE(tb.State()->enabled);
    // A vertical style lays the bar out again.
    tb.State()->dirty = 0;
    SetWindowLongA(tb.hwnd, GWL_STYLE, GetWindowLongA(tb.hwnd, GWL_STYLE) | CCS_VERT);
    EXPECT_TRUE(tb.State()->vertical);
    EXPECT_EQ(tb.State()->dirty & kDirtyRelayout, kDirtyRelayout);
}

TEST(ToolbarMessages, SetFocusNotifiesTheParent) {
    Toolbar tb;
    SetFocus(tb.hwnd);
    auto notes = tb.parent.Notifications();
    ASSERT_FALSE(notes.empty());
    EXPECT_EQ(notes.back().code, (UINT)NM_SETFOCUS);
    EXPECT_EQ(notes.back().idFrom, (UINT_PTR)Toolbar::kId);
}

TEST(ToolbarMessages, LabelsAddReplaceAndRemove) {
    Toolbar tb;
    tb.Add({Button(0, 1)});
    TBXLABEL label = {0, 2, 3, TBXL_SHORTKEY | 0x0500};
    EXPECT_EQ(tb.Send(TBX_ADDLABELA, (WPARAM)&label, (LPARAM) "eins"), 1);
    label.flags = TBXL_SHORTKEY | TBXL_REPLACE | 0x0600;
    EXPECT_EQ(tb.Send(TBX_ADDLABELW, (WPARAM)&label, (LPARAM)L"zwei"), 1);
    ToolbarLabel* head = tb.State()->labels;
    ASSERT_TRUE(head);
    EXPECT_EQ(head->next, nullptr);  // replaced
    EXPECT_STREQ(head->text, L"zwei");
    EXPECT_EQ(head->key, 0x12340000u);
    EXPECT_EQ(tb.Send(TBX_REMOVELABEL, 0x12220005), 0);
    EXPECT_EQ(tb.Send(TBX_REMOVELABEL, 0x12220006), 1);
    EXPECT_EQ(tb.State()->labels, nullptr);
    EXPECT_EQ(tb.Send(TBX_ADDLABELA, 0, (LPARAM) "x"), 0);
}

TEST(ToolbarMessages, IdealSizeAndFitThroughMessages) {
    Toolbar tb;
    tb.AddImages(4);
    tb.Add({Button(0, 1), Button(1, 2), Separator(), Button(2, 3)});
    EXPECT_EQ(tb.Send(TBX_GETIDEALSIZE), MAKELONG(83, 27));
    EXPECT_EQ(tb.Send(TBX_FITTOSIZE, 17000, 0), MAKELONG(83, 27));
    EXPECT_EQ(tb.Send(TBX_FITTOSIZE, 0, 0), MAKELONG(25, 27 + 27 + 8 + 27));
    RECT r = tb.Rect(3);
    EXPECT_EQ(r.left, 58);
    EXPECT_EQ(tb.Send(TB_GETRECT, 3, (LPARAM)&r), 1);
    EXPECT_EQ(tb.Send(TB_GETRECT, 9, (LPARAM)&r), 0);
    // A scale of 2:1 doubles the images.
    EXPECT_EQ(tb.Send(TBX_SETSCALE, (WPARAM)-1, 512), 256);
    EXPECT_EQ(tb.Send(TBX_SETSCALE, (WPARAM)-1, -1), 512);
    EXPECT_EQ(tb.Send(TBX_GETIDEALSIZE), MAKELONG(41 + 41 + 8 + 41, 43));
    EXPECT_EQ(tb.Send(TBX_SETSCALE, 5, 512), -1);
}

TEST(ToolbarMessages, WorkerThreadsMaySendMessages) {
    Toolbar tb;
    tb.AddImages(4);
    std::atomic<int> added{0};
    std::thread worker([&] {
        for (int i = 0; i < 50; ++i) {
            TBBUTTON b = Button(i % 4, 1000 + i);
            if (SendMessageA(tb.hwnd, TBX_ADDBUTTONS, 1, (LPARAM)&b)) ++added;
        }
    });
    // The worker's sends are answered by this thread while it waits.
    EXPECT_TRUE(PumpUntil([&] { return added == 50; }, 10000));
    worker.join();
    EXPECT_EQ(tb.Send(TB_BUTTONCOUNT), 50);
    EXPECT_EQ(tb.Send(TBX_INDEXTOCOMMAND, 49), 1049);
}

TEST(ToolbarMessages, UnlockingALockThisThreadDoesNotHoldIsReportedAndHarmless) {
    ToolbarState* s = CreateToolbarState(nullptr);
    std::atomic<bool> done{false};
    std::string reported;
    // Closes the report box (of this test's thread) and records its text.
    const DWORD testThread = GetCurrentThreadId();
    auto isReport = [](HWND hwnd) {
        char caption[32] = {};
        GetWindowTextA(hwnd, caption, sizeof caption);
        return std::string(caption) == "Unlock Error";
    };
    std::thread closer([&] {
        for (int i = 0; i < 500 && !done; ++i) {
            if (HWND box = VisibleThreadWindow(isReport, testThread)) {
                char text[32] = {};
                HWND label = GetDlgItem(box, 0xFFFF);
                GetWindowTextA(label ? label : box, text, sizeof(text));
                reported = text;
                PostMessageA(box, WM_COMMAND, IDOK, 0);
                return;
            }
            Sleep(10);
        }
    });
    UnlockToolbar(s, 4711);
    done = true;
    closer.join();
    EXPECT_EQ(reported, "4711");
    // The section is still sound: another thread can take and leave it.
    std::thread other([&] {
        ASSERT_TRUE(TryEnterCriticalSection(&s->lock));
        LeaveCriticalSection(&s->lock);
    });
    other.join();
    LockToolbar(s);
    UnlockToolbar(s, 1);
    EXPECT_EQ(s->lock.LockCount, -1);
    DestroyToolbarState(s);
}
