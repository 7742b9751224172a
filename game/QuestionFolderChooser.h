// Choosing the question folder in a directory browser, for the settings dialog's browse button.
#pragma once

#include "framework/CString.h"

#include <optional>

class CWnd;

// Shows the directory browser at current; the folder chosen with OK, nothing when the user cancelled.
std::optional<CString> ChooseQuestionFolder(CWnd* parent, const CString& current);
