// The message box's buttons: which ones a style asks for, in order, and their texts.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

constexpr int kMsgBoxNever = 13;   // "Niemals"
constexpr int kMsgBoxAlways = 15;  // "Immer"
constexpr int kMsgBoxTimedOut = 16;

// Style bits of the toolkit's message box beyond the system's.
constexpr UINT kMsgBoxAddNever = 0x00000008;
constexpr UINT kMsgBoxAddAlways = 0x00000800;
constexpr UINT kMsgBoxAddHelp = 0x00004000;
constexpr UINT kMsgBoxNoBeep = 0x00002000;
constexpr UINT kMsgBoxAnsi = 0x00020000;
constexpr UINT kMsgBoxTopmost = 0x00040000;
constexpr UINT kMsgBoxPosition = 0x00080000;  // right-aligned, and the centre in and out through the record
constexpr UINT kMsgBoxWideInA = 0x00100000;   // MessageBoxExA: the texts are UTF-16 after all

// The button set (0-6; anything else is OK alone) and the default button's index of a style.
int MsgBoxButtonSet(UINT style);
int MsgBoxDefaultIndex(UINT style);
// The button ids in order: the set's buttons, "Niemals" and "Immer" (before a closing Cancel), Help last.
std::vector<int> MsgBoxButtons(UINT style);
// True for the sets whose box has no way to cancel (Abort/Retry/Ignore and Yes/No): closing is ignored.
bool MsgBoxCannotClose(int buttonSet);
// A button's text: the system's own (USER32 strings 800-810, at most 32 characters), a German fallback
// where the system has none, or the UI strings for "Niemals" and "Immer".
std::wstring MsgBoxButtonText(int id);
