#include "game/QuestionFolderChooser.h"

// The directory browser is not part of the program yet: until it is, browsing chooses nothing and the
// folder is typed, picked from the history or dropped on the path box.
std::optional<CString> ChooseQuestionFolder(CWnd* /*parent*/, const CString& /*current*/) { return std::nullopt; }
