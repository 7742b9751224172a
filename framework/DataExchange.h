// Dialog data exchange: CDataExchange says the direction and finds the controls; the DDX_ functions
// move one value between a control and a variable.
#pragma once

#include "framework/CString.h"
#include "framework/Wnd.h"

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    BOOL m_bSaveAndValidate;  // TRUE: control to variable; FALSE: variable to control
    CWnd* m_pDlgWnd;
    HWND m_hWndLastControl = nullptr;
    BOOL m_bEditLastControl = FALSE;

    // The control's window (null when the dialog has no such control, or once the exchange has failed);
    // remembered for Fail.
    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC);
    // Marks the exchange as failed and puts the focus on the last prepared control.
    void Fail();
    BOOL Failed() const { return m_bFailed; }

private:
    BOOL m_bFailed = FALSE;
};

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
// An integer: a text that is not a whole number fails the exchange.
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
// Combo box: the edit text (or the selected entry); writing selects the exactly matching entry.
void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value);
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
// A group of radio buttons starting at nIDC: the index of the checked one, -1 none.
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
