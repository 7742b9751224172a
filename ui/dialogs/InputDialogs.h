// Two small modal dialogs on in-memory templates: CTextInputDlg asks for a line of text (optionally hidden as a
// password), CNumberInputDlg for a whole number in decimal, hexadecimal, binary or octal notation.
#pragma once

#include "framework/CString.h"
#include "framework/DataExchange.h"
#include "framework/Dialog.h"

#include <cstdint>

// Window markers the dialogs leave in their GWLP_USERDATA slot.
constexpr LONG_PTR kTextInputDialogMarker = 195;
constexpr LONG_PTR kNumberInputDialogMarker = 197;
// Upper half of a width change that asks for a target width instead of an increase.
constexpr int32_t kInputTargetWidthTag = 0x12340000;

class CTextInputDlg : public CDialog {
public:
    // password chooses the template with a password edit.
    explicit CTextInputDlg(CWnd* parent = nullptr, int password = 0);
    ~CTextInputDlg() override;

    void SetCaption(LPCSTR text) { m_caption = text; }
    void SetPrompt(LPCSTR text) { m_prompt = text; }
    void SetText(LPCSTR text) { m_text = text; }
    // Copies at most size - 1 characters of the text and a NUL; returns the characters copied (0 when size < 1).
    int GetText(char* buffer, int size) const;

    CString m_text;
    CString m_caption;  // empty keeps the template's title
    CString m_prompt;
    int m_passwordAfterCreation = 0;  // replace the edit by a password edit as the dialog opens
    int m_focusEdit = 0;              // give the edit the focus, its text selected
    int32_t m_widthChange = 0;        // pixels wider at the design size, or kInputTargetWidthTag | target width

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

private:
    void MakePasswordEdit();
};

class CNumberInputDlg : public CDialog {
public:
    explicit CNumberInputDlg(CWnd* parent = nullptr);
    ~CNumberInputDlg() override;

    void SetCaption(LPCSTR text) { m_caption = text; }
    void SetPrompt(LPCSTR text) { m_prompt = text; }
    // Stores the value and writes it into the text in a notation (see FormatNumberInput).
    void SetValue(int32_t value, int format);
    // The number read on OK.
    int32_t GetValue() const { return m_value; }

    CString m_text;
    int32_t m_value = 0;
    CString m_caption;
    CString m_prompt;
    int m_focusEdit = 0;
    int32_t m_widthChange = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
};

// The widening of an input dialog W pixels wide: the change in pixels for a width-change setting, computed
// against the 354-pixel design width.
int32_t InputDialogWidthDelta(int32_t dialogWidth, int32_t widthChange);
