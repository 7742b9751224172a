#include "ui/dialogs/InputDialogTemplates.h"
#include "ui/dialogs/InputDialogs.h"
#include "ui/WindowPos.h"

#include "tests/ui/filedialog/FileDialogTestSupport.h"
#include "tests/ui/UiTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

using uitest::WindowText;

// Runs `act` once on the open input dialog that carries `marker`, from the bounded driver's timer:
// a dialog that never shows or never closes is cancelled instead of hanging the test.
class DialogDriver {
public:
    DialogDriver(LONG_PTR marker, std::function<void(HWND)> act)
        : m_driver([this, marker, act = std::move(act)](HWND dialog, int) {
              if (GetWindowLongPtrA(dialog, GWLP_USERDATA) != marker) return false;
              m_acted = true;
              act(dialog);
              return true;
          }) {}
    bool Acted() const { return m_acted; }

private:
    bool m_acted = false;
    uitest::DialogDriver m_driver;
};

void Press(HWND dialog, int id) { PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dialog, id)); }

}  // namespace

TEST(InputDialogs, TextDialogShowsItsTextsAndReturnsTheAnswer) {
    CTextInputDlg dialog(nullptr, 0);
    dialog.SetText("COM1");
    dialog.SetCaption("COM-Port");
    dialog.SetPrompt("Bitte hier das COM-Port angeben :");
    std::string title, prompt, edit;
    LONG style = 0;
    DialogDriver driver(kTextInputDialogMarker, [&](HWND wnd) {
        title = WindowText(wnd);
        prompt = WindowText(GetDlgItem(wnd, kInputPromptId));
        edit = WindowText(GetDlgItem(wnd, kInputEditId));
        style = GetWindowLongA(GetDlgItem(wnd, kInputEditId), GWL_STYLE);
        SetDlgItemTextA(wnd, kInputEditId, "COM12");
        Press(wnd, IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(driver.Acted());
    EXPECT_EQ(title, "COM-Port");
    EXPECT_EQ(prompt, "Bitte hier das COM-Port angeben :");
    EXPECT_EQ(edit, "COM1");
    EXPECT_FALSE(style & ES_PASSWORD);
    char buffer[32];
    EXPECT_EQ(dialog.GetText(buffer, 4), 3);
    EXPECT_STREQ(buffer, "COM");
    EXPECT_EQ(dialog.GetText(buffer, sizeof buffer), 5);
    EXPECT_STREQ(buffer, "COM12");
    buffer[0] = 'x';
    EXPECT_EQ(dialog.GetText(buffer, 0), 0);
    EXPECT_EQ(buffer[0], 'x');
}

TEST(InputDialogs, CancelKeepsTheTextAndAnEmptyCaptionTheTemplateTitle) {
    CTextInputDlg dialog;
    dialog.SetText("alt");
    std::string title;
    DialogDriver driver(kTextInputDialogMarker, [&](HWND wnd) {
        title = WindowText(wnd);
        SetDlgItemTextA(wnd, kInputEditId, "neu");
        Press(wnd, IDCANCEL);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(title, "Dateinamen eingeben");
    EXPECT_STREQ(dialog.m_text, "alt");
}

TEST(InputDialogs, PasswordEditMadeAsTheDialogOpens) {
    CTextInputDlg dialog(nullptr, 0);
    dialog.m_passwordAfterCreation = 1;
    dialog.m_focusEdit = 1;
    dialog.SetText("geheim");
    LONG style = 0;
    bool sameFont = false, focused = false;
    DWORD selection = 0;
    DialogDriver driver(kTextInputDialogMarker, [&](HWND wnd) {
        HWND edit = GetDlgItem(wnd, kInputEditId);
        style = GetWindowLongA(edit, GWL_STYLE);
        sameFont = SendMessageA(edit, WM_GETFONT, 0, 0) == SendMessageA(GetDlgItem(wnd, IDOK), WM_GETFONT, 0, 0);
        // Focus can only be checked while the dialog is the foreground window (tests run side by side).
        focused = GetForegroundWindow() != wnd || GetFocus() == edit;
        selection = (DWORD)SendMessageA(edit, EM_GETSEL, 0, 0);
        SetDlgItemTextA(wnd, kInputEditId, "anders");
        Press(wnd, IDOK);
    });
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(style & ES_PASSWORD);
    EXPECT_TRUE(sameFont);
    EXPECT_TRUE(focused);
    EXPECT_EQ(selection, MAKELONG(0, 6));  // the whole text selected
    EXPECT_STREQ(dialog.m_text, "anders");
}

TEST(InputDialogs, PasswordTemplateFromTheConstructor) {
    CTextInputDlg dialog(nullptr, 1);
    LONG style = 0;
    DialogDriver driver(kTextInputDialogMarker, [&](HWND wnd) {
        style = GetWindowLongA(GetDlgItem(wnd, kInputEditId), GWL_STYLE);
        Press(wnd, IDCANCEL);
    });
    dialog.DoModal();
    EXPECT_TRUE(style & ES_PASSWORD);
}

TEST(InputDialogs, NumberDialogReadsEveryNotation) {
    struct Case {
        const char* typed;
        int32_t value;
    } cases[] = {{" -0x1f", -31}, {"1Fh", 31}, {"101b", 5}, {"- 5", -5}, {"abc", 0}};
    for (const Case& c : cases) {
        CNumberInputDlg dialog;
        dialog.SetValue(26, 1);
        dialog.SetCaption("Nächstes Spiel");
        std::string shown, title;
        DialogDriver driver(kNumberInputDialogMarker, [&](HWND wnd) {
            shown = WindowText(GetDlgItem(wnd, kInputEditId));
            title = WindowText(wnd);
            SetDlgItemTextA(wnd, kInputEditId, c.typed);
            Press(wnd, IDOK);
        });
        ASSERT_EQ(dialog.DoModal(), IDOK);
        EXPECT_EQ(shown, "0x1A");
        EXPECT_EQ(title, "N\xE4" "chstes Spiel");
        EXPECT_EQ(dialog.GetValue(), c.value) << c.typed;
    }
    // Cancel keeps the value it had.
    CNumberInputDlg dialog;
    dialog.SetValue(7, 0);
    std::string title;
    DialogDriver driver(kNumberInputDialogMarker, [&](HWND wnd) {
        title = WindowText(wnd);
        SetDlgItemTextA(wnd, kInputEditId, "99");
        Press(wnd, IDCANCEL);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.GetValue(), 7);
    EXPECT_EQ(title, "Dateinamen eingeben");
}

TEST(InputDialogs, WideningToATargetWidthMovesTheButtons) {
    EXPECT_EQ(InputDialogWidthDelta(354, kInputTargetWidthTag + 400), 46);
    EXPECT_EQ(InputDialogWidthDelta(354, 50), 50);
    EXPECT_EQ(InputDialogWidthDelta(708, 50), 100);
    EXPECT_EQ(InputDialogWidthDelta(3000, 0x7FFFFFF), static_cast<int32_t>(3000LL * 0x7FFFFFF / 354));  // no overflow

    for (bool number : {false, true}) {
        RECT before[4], after[4];
        int widthBefore = 0, widthAfter = 0;
        const int ids[4] = {kInputEditId, kInputPromptId, IDOK, IDCANCEL};
        auto measure = [&](HWND wnd, RECT* rects, int* width) {
            RECT w;
            GetWindowRect(wnd, &w);
            *width = w.right - w.left;
            for (int i = 0; i < 4; ++i) GetDlgItemRectInDlg(wnd, ids[i], &rects[i]);
        };
        {  // the plain dialog
            CNumberInputDlg plain;
            DialogDriver driver(kNumberInputDialogMarker, [&](HWND wnd) {
                measure(wnd, before, &widthBefore);
                Press(wnd, IDCANCEL);
            });
            plain.DoModal();
        }
        LONG_PTR marker = number ? kNumberInputDialogMarker : kTextInputDialogMarker;
        DialogDriver driver(marker, [&](HWND wnd) {
            measure(wnd, after, &widthAfter);
            Press(wnd, IDCANCEL);
        });
        int32_t delta = 0;
        if (number) {
            CNumberInputDlg dialog;
            dialog.m_widthChange = kInputTargetWidthTag + 400;
            dialog.DoModal();
            delta = dialog.m_widthChange;
        } else {
            CTextInputDlg dialog;
            dialog.m_widthChange = kInputTargetWidthTag + 400;
            dialog.DoModal();
            delta = dialog.m_widthChange;
        }
        ASSERT_GT(widthBefore, 0);
        EXPECT_EQ(delta, InputDialogWidthDelta(widthBefore, kInputTargetWidthTag + 400));
        EXPECT_EQ(widthAfter, widthBefore + delta);
        EXPECT_EQ(after[0].right, before[0].right + delta);  // the edit grows
        EXPECT_EQ(after[0].left, before[0].left);
        EXPECT_EQ(after[1].right, before[1].right + (number ? 0 : delta));  // the prompt only in the text dialog
        for (int i : {2, 3}) {
            EXPECT_EQ(after[i].left, before[i].left + delta);
            EXPECT_EQ(after[i].right, before[i].right + delta);
        }
    }
}
