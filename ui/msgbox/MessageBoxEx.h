// The toolkit's message box: built at run time as an in-memory dialog, with a time-out, the extra buttons
// "Niemals" and "Immer", text with inline colour and format codes shown in a scrolling list, and the place
// where the user left the last box remembered.
#pragma once

#include <windows.h>

#include "ui/msgbox/MsgBoxButtons.h"

// The system headers make MessageBoxEx a macro for their own A/W pair; here it names the toolkit's box.
#undef MessageBoxEx

// Shows the box described by `record` (the system's MSGBOXPARAMS; the style takes the kMsgBox bits too,
// and with kMsgBoxPosition dwLanguageId carries the box's centre in and out: x low word, y high word).
// attributes: null (the text's control codes are read) or one attribute byte per text character.
// timeout: milliseconds, 0 or negative for none. Returns the id of the button pressed, 16 when the
// time ran out, 0 when the box could not be built. Texts are UTF-16 unless the style has kMsgBoxAnsi.
int MessageBoxEx(MSGBOXPARAMSW* record, const BYTE* attributes, int timeout);
// The same with ANSI texts (unless the style has kMsgBoxWideInA), whatever the time-out.
int MessageBoxExA(MSGBOXPARAMSA* record, const BYTE* attributes, int timeout);

// The centre remembered for the next box, or (0x8765, 0x8765) when there is none yet.
POINT RememberedMsgBoxCentre();
void SetRememberedMsgBoxCentre(POINT centre);
constexpr LONG kNoMsgBoxCentre = 0x8765;
