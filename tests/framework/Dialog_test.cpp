// Modal dialogs from in-memory templates: data exchange in both directions, the owner disabled while
// the dialog runs, worker messages and timers delivered by the modal loop, OK and Cancel as virtuals.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "framework/DialogTemplateWriter.h"
#include "framework/Framework.h"
#include "tests/support/MessagePump.h"

namespace {

enum { kEdit = 1001, kCombo = 1002, kCheck = 1003, kRadio1 = 1004, kRadio2 = 1005, kList = 1006, kNumber = 1007 };
constexpr UINT kWorkerMessage = WM_APP + 1;

using TestTemplate = DialogTemplateWriter<std::vector<WORD>>;

TestTemplate EmptyTemplate(const char16_t* title, short cx, short cy, WORD items = 0) {
    TestTemplate t;
    t.Header(kModalDialogStyle, 0, items, 0, 0, cx, cy, title, 8, u"MS Shell Dlg");
    return t;
}

TestTemplate MakeTemplate() {
    constexpr DWORD kShown = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    TestTemplate t = EmptyTemplate(u"Test", 200, 150, 9);
    t.Item(kShown | WS_BORDER | ES_AUTOHSCROLL, 5, 5, 100, 12, kEdit, kEditAtom, u"");
    t.Item(kShown | CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL, 5, 20, 100, 60, kCombo, kComboBoxAtom, u"");
    t.Item(kShown | BS_AUTOCHECKBOX, 5, 40, 60, 10, kCheck, kButtonAtom, u"Check");
    t.Item(kShown | WS_GROUP | BS_AUTORADIOBUTTON, 5, 55, 60, 10, kRadio1, kButtonAtom, u"Eins");
    t.Item(WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON, 5, 70, 60, 10, kRadio2, kButtonAtom, u"Zwei");
    t.Item(kShown | WS_GROUP | CBS_DROPDOWNLIST | WS_VSCROLL, 5, 85, 100, 60, kList, kComboBoxAtom, u"");
    t.Item(kShown | WS_BORDER, 5, 100, 40, 12, kNumber, kEditAtom, u"");
    t.Item(kDefaultButtonStyle, 140, 5, 50, 14, IDOK, kButtonAtom, u"OK");
    t.Item(kPushButtonStyle, 140, 22, 50, 14, IDCANCEL, kButtonAtom, u"Abbrechen");
    return t;
}

class CSettingsDialog : public CDialog {
public:
    CString m_text = "Hallo";
    CString m_path = "C:\\Spiel";
    BOOL m_check = TRUE;
    int m_radio = 1;
    int m_listIndex = 2;
    int m_number = 17;

    HWND m_owner = nullptr;
    bool m_ownerDisabledMeanwhile = false;
    CString m_comboShown;
    std::atomic<int> m_workerMessages{0};
    int m_cancels = 0;
    bool m_refuseFirstCancel = false;
    bool m_typeBadNumber = false;
    bool m_autoOk = true;

    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Text(pDX, kEdit, m_text);
        DDX_CBString(pDX, kCombo, m_path);
        DDX_Check(pDX, kCheck, m_check);
        DDX_Radio(pDX, kRadio1, m_radio);
        DDX_CBIndex(pDX, kList, m_listIndex);
        DDX_Text(pDX, kNumber, m_number);
    }

    BOOL OnInitDialog() override {
        CComboBox* combo = CComboBox::FromHandle(::GetDlgItem(m_hWnd, kCombo));
        // A longer entry that starts with the value comes first: only an exact match may be selected.
        combo->AddString("C:\\Spiel\\Neu");
        combo->AddString("C:\\Spiel");
        CComboBox* list = CComboBox::FromHandle(::GetDlgItem(m_hWnd, kList));
        for (const char* s : {"a", "b", "c", "d"}) list->AddString(s);
        CDialog::OnInitDialog();
        m_ownerDisabledMeanwhile = m_owner && !::IsWindowEnabled(m_owner);
        AfxBeginThread(
            [](LPVOID param) -> UINT {
                ::PostMessageA(static_cast<HWND>(param), kWorkerMessage, 0, 0);
                return 0;
            },
            m_hWnd);
        return TRUE;
    }

    // The "user" edits the fields, then presses OK on a timer.
    afx_msg LRESULT OnWorker(WPARAM, LPARAM) {
        ++m_workerMessages;
        GetDlgItemText(kCombo, m_comboShown);
        SetDlgItemText(kEdit, "Welt");
        SetDlgItemText(kCombo, "D:\\Fragen");
        CheckDlgButton(kCheck, BST_UNCHECKED);
        CheckRadioButton(kRadio1, kRadio2, kRadio1);
        ::SendDlgItemMessageA(m_hWnd, kList, CB_SETCURSEL, 3, 0);
        SetDlgItemText(kNumber, m_typeBadNumber ? "12x" : "  -42 ");
        if (m_autoOk) SetTimer(1, 10);
        return 0;
    }
    afx_msg void OnTimer(UINT_PTR id) {
        KillTimer(id);
        if (id == 1) PostMessage(WM_COMMAND, IDOK);
    }
    void OnCancel() override {
        ++m_cancels;
        if (m_refuseFirstCancel && m_cancels == 1) return;
        CDialog::OnCancel();
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSettingsDialog, CDialog)
    ON_MESSAGE(kWorkerMessage, OnWorker)
    ON_WM_TIMER()
END_MESSAGE_MAP()

class COwner : public CWnd {
public:
    COwner() { CreateEx(0, AfxRegisterWndClass(0), "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 300, 200), nullptr, 0); }
    ~COwner() override { DestroyWindow(); }
};

// Answers the first message box of this thread that appears (the dialog's complaint).
int g_boxesClosed;
void CALLBACK CloseMessageBox(HWND, UINT, UINT_PTR id, DWORD) {
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND h, LPARAM) -> BOOL {
            char cls[16] = {};
            GetClassNameA(h, cls, sizeof(cls));
            if (strcmp(cls, "#32770") == 0 && GetDlgItem(h, kEdit) == nullptr && IsWindowVisible(h)) {
                PostMessageA(h, WM_COMMAND, IDOK, 0);
                ++g_boxesClosed;
                return FALSE;
            }
            return TRUE;
        },
        0);
    if (g_boxesClosed) KillTimer(nullptr, id);
}

// Destroys its own window on a timer, without EndDialog.
class CVanishingDialog : public CDialog {
public:
    BOOL OnInitDialog() override {
        SetTimer(7, 10);
        return CDialog::OnInitDialog();
    }
    afx_msg void OnTimer(UINT_PTR id) {
        KillTimer(id);
        DestroyWindow();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CVanishingDialog, CDialog)
    ON_WM_TIMER()
END_MESSAGE_MAP()

}  // namespace

TEST(Dialog, ModalIndirectRoundTripsDataAndKeepsTheThreadAlive) {
    COwner owner;
    TestTemplate tmpl = MakeTemplate();
    CSettingsDialog dlg;
    dlg.m_owner = owner.m_hWnd;
    ASSERT_TRUE(dlg.InitModalIndirect(tmpl.Template(), &owner));
    EXPECT_EQ(dlg.DoModal(), IDOK);

    EXPECT_TRUE(dlg.m_ownerDisabledMeanwhile);
    EXPECT_TRUE(IsWindowEnabled(owner.m_hWnd));
    EXPECT_EQ(dlg.m_workerMessages.load(), 1);
    EXPECT_STREQ(dlg.m_comboShown, "C:\\Spiel");
    EXPECT_STREQ(dlg.m_text, "Welt");
    EXPECT_STREQ(dlg.m_path, "D:\\Fragen");
    EXPECT_FALSE(dlg.m_check);
    EXPECT_EQ(dlg.m_radio, 0);
    EXPECT_EQ(dlg.m_listIndex, 3);
    EXPECT_EQ(dlg.m_number, -42);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

TEST(Dialog, InvalidNumberKeepsTheDialogOpen) {
    TestTemplate tmpl = MakeTemplate();
    CSettingsDialog dlg;
    dlg.m_typeBadNumber = true;
    dlg.InitModalIndirect(tmpl.Template());
    g_boxesClosed = 0;
    UINT_PTR watcher = SetTimer(nullptr, 0, 20, &CloseMessageBox);
    // The first OK fails validation; the dialog then gets a second chance and is cancelled.
    struct Second {
        static void CALLBACK Cancel(HWND, UINT, UINT_PTR id, DWORD) {
            if (!g_boxesClosed) return;
            KillTimer(nullptr, id);
            EnumThreadWindows(
                GetCurrentThreadId(),
                [](HWND h, LPARAM) -> BOOL {
                    if (GetDlgItem(h, kEdit)) PostMessageA(h, WM_COMMAND, IDCANCEL, 0);
                    return TRUE;
                },
                0);
        }
    };
    SetTimer(nullptr, 0, 50, &Second::Cancel);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    KillTimer(nullptr, watcher);
    EXPECT_EQ(g_boxesClosed, 1);
    EXPECT_EQ(dlg.m_number, 17);  // the failed exchange left the variable alone
    EXPECT_EQ(dlg.m_cancels, 1);
}

TEST(Dialog, CancelGoesThroughTheVirtualAndMayBeRefused) {
    TestTemplate tmpl = MakeTemplate();
    CSettingsDialog dlg;
    dlg.m_refuseFirstCancel = true;
    dlg.m_autoOk = false;
    dlg.InitModalIndirect(tmpl.Template());
    struct Esc {
        static void CALLBACK Press(HWND, UINT, UINT_PTR, DWORD) {
            EnumThreadWindows(
                GetCurrentThreadId(),
                [](HWND h, LPARAM) -> BOOL {
                    // Escape on a control: the dialog manager turns it into IDCANCEL.
                    if (HWND edit = GetDlgItem(h, kEdit)) {
                        PostMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
                        PostMessageA(edit, WM_KEYUP, VK_ESCAPE, 0xC0010001);
                    }
                    return TRUE;
                },
                0);
        }
    };
    UINT_PTR timer = SetTimer(nullptr, 0, 30, &Esc::Press);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    KillTimer(nullptr, timer);
    EXPECT_EQ(dlg.m_cancels, 2);
}

TEST(Dialog, MissingTemplateFails) {
    CDialog dlg(54321);
    EXPECT_EQ(dlg.DoModal(), -1);
    CDialog none;
    EXPECT_EQ(none.DoModal(), -1);
}

TEST(Dialog, DestroyedDialogEndsItsModalLoop) {
    COwner owner;
    TestTemplate tmpl = EmptyTemplate(u"Weg", 100, 40);
    CVanishingDialog dlg;
    dlg.InitModalIndirect(tmpl.Template(), &owner);
    // Should the loop miss the end of its window, a watchdog ends it from outside after 3 s.
    std::atomic<bool> finished{false}, rescued{false};
    DWORD thread = GetCurrentThreadId();
    std::thread watchdog([&] {
        for (int i = 0; i < 300 && !finished; ++i) Sleep(10);
        if (!finished) {
            rescued = true;
            PostThreadMessageA(thread, WM_QUIT, 0, 0);
        }
    });
    INT_PTR result = dlg.DoModal();
    finished = true;
    watchdog.join();
    TakeQueued(nullptr, WM_QUIT, WM_QUIT);
    EXPECT_FALSE(rescued);
    EXPECT_EQ(result, -1);  // no EndDialog code
    EXPECT_TRUE(IsWindowEnabled(owner.m_hWnd));
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

namespace {
// Answers every message box of this thread that appears, counting them.
int g_boxesAnswered;
void CALLBACK AnswerMessageBoxes(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND h, LPARAM) -> BOOL {
            char cls[16] = {};
            GetClassNameA(h, cls, sizeof(cls));
            if (strcmp(cls, "#32770") == 0 && IsWindowVisible(h)) {
                PostMessageA(h, WM_COMMAND, IDOK, 0);
                ++g_boxesAnswered;
            }
            return TRUE;
        },
        0);
}
}  // namespace

// The first field that fails ends the exchange: one complaint, and the later fields keep their values.
TEST(DataExchange, FirstFailureEndsTheExchange) {
    COwner owner;
    for (int id : {1, 2, 3})
        CreateWindowExA(0, "EDIT", id == 3 ? "neu" : "x", WS_CHILD, 0, 20 * id, 80, 18, owner.m_hWnd,
                        reinterpret_cast<HMENU>((UINT_PTR)id), nullptr, nullptr);
    int first = 1, second = 2;
    CString third = "alt";
    g_boxesAnswered = 0;
    UINT_PTR answerer = SetTimer(nullptr, 0, 20, &AnswerMessageBoxes);
    CDataExchange dx(&owner, TRUE);
    DDX_Text(&dx, 1, first);
    DDX_Text(&dx, 2, second);
    DDX_Text(&dx, 3, third);
    KillTimer(nullptr, answerer);
    EXPECT_TRUE(dx.Failed());
    EXPECT_EQ(g_boxesAnswered, 1);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 2);
    EXPECT_STREQ(third, "alt");
    EXPECT_EQ(GetFocus(), GetDlgItem(owner.m_hWnd, 1));
}
