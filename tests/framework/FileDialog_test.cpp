// The file dialog: the object is attached to the dialog's hook window, so its notifications reach
// the virtual OnNotify; cancelling returns IDCANCEL.
#include <gtest/gtest.h>

#include "framework/Framework.h"

namespace {

class CWatchingFileDialog : public CFileDialog {
public:
    using CFileDialog::CFileDialog;
    int initDone = 0;
    HWND hookWindow = nullptr;
    void OnInitDone() override {
        ++initDone;
        hookWindow = m_hWnd;
        // Close the system dialog (the hook window's parent) as a user would.
        ::PostMessageA(::GetParent(m_hWnd), WM_COMMAND, IDCANCEL, 0);
    }
};

// Refuses the file name the user confirms; its first refusal also closes the dialog by Cancel.
class CRefusingFileDialog : public CFileDialog {
public:
    using CFileDialog::CFileDialog;
    int checks = 0;
    void OnInitDone() override { ::PostMessageA(::GetParent(m_hWnd), WM_COMMAND, IDOK, 0); }
    BOOL OnFileNameOK() override {
        if (++checks == 1) ::PostMessageA(::GetParent(m_hWnd), WM_COMMAND, IDCANCEL, 0);
        return TRUE;
    }
};

}  // namespace

TEST(FileDialog, NotificationsReachTheObjectAndCancelReturnsCancel) {
    CWatchingFileDialog dlg(FALSE, "txt", "Spiel.txt", OFN_HIDEREADONLY | OFN_NOCHANGEDIR, "Texte (*.txt)|*.txt||");
    EXPECT_EQ(dlg.m_ofn.lStructSize, sizeof(OPENFILENAMEA));
    EXPECT_STREQ(dlg.GetFileName(), "Spiel.txt");
    EXPECT_STREQ(dlg.GetFileExt(), "txt");
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.initDone, 1);
    EXPECT_NE(dlg.hookWindow, nullptr);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(dlg.hookWindow), nullptr);
}

TEST(FileDialog, RefusedFileNameKeepsTheDialogOpen) {
    CRefusingFileDialog dlg(FALSE, "txt", "Spiel.txt", OFN_HIDEREADONLY | OFN_NOCHANGEDIR, "Texte (*.txt)|*.txt||");
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.checks, 1);
}
