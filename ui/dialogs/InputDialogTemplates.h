// The in-memory dialog templates of the text and number input dialogs (classic DLGTEMPLATE, 232 x 58 units):
// an edit line (1008), OK, Abbrechen and a prompt line (1034) under the title "Dateinamen eingeben".
#pragma once

#include <windows.h>

constexpr int kInputEditId = 1008;
constexpr int kInputPromptId = 1034;

const DLGTEMPLATE* InputDialogTemplate();
// The same with a password edit.
const DLGTEMPLATE* PasswordInputDialogTemplate();
