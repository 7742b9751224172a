#include "game/QuestionFolderChooser.h"

#include "treelist/pathdlg/PathDlg.h"

// The directory chooser as the settings dialog uses it: no parent (its owner is the active window of the
// program), no history, a missing folder is created and the folder must exist, and it starts at the
// current directory. A drive root comes back as "C:", to which callers append.
std::optional<CString> ChooseQuestionFolder(CWnd* /*parent*/, const CString& /*current*/) {
    CPathDlg chooser;
    if (chooser.DoModal() != IDOK) return std::nullopt;
    return chooser.GetPath(0);
}
