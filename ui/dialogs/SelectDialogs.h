// Two modal selection dialogs on in-memory templates: CComboSelectDlg offers the entries in a combo box
// (a drop-down list, or a drop-down with an editable field), CListSelectDlg in a list box in one of four
// styles (single choice, multiple choice, one tick, check boxes). The caller adds the entries, sets the
// public fields, runs DoModal and reads the results.
#pragma once

#include "framework/CString.h"
#include "framework/Dialog.h"
#include "ui/dialogs/SelectDialogGeometry.h"
#include "ui/dialogs/SelectEntries.h"

#include <cstdint>

// Window markers the dialogs leave in their GWLP_USERDATA slot.
constexpr LONG_PTR kComboSelectDialogMarker = 198;
constexpr LONG_PTR kListSelectDialogMarker = 196;

// What both selection dialogs share: the texts, the entry table and the common settings and results.
class CSelectDlgBase : public CDialog {
public:
    void SetCaption(LPCSTR text) { m_caption = text; }
    void SetPrompt(LPCSTR text) { m_prompt = text; }
    // At most size - 1 characters of the text and a NUL; the characters copied (0 when size < 1).
    int GetText(char* buffer, int size) const;

    // The first entry with the text, which becomes the chosen one; -1 when none.
    int FindItem(LPCSTR text, int ignoreCase = 0);
    uint32_t GetItemData(int index) const { return m_entries.Value(index); }
    uint32_t SetItemData(int index, uint32_t value) { return m_entries.SetValue(index, value); }
    const char* GetItemText(int index) const { return m_entries.Text(index); }

    CString m_text;  // the chosen (or typed) text
    CString m_caption;
    CString m_prompt;
    uint32_t m_value = 0;     // the chosen entry's value
    int m_cancelAllowed = 1;  // 0: there is no Cancel button
    int m_index;              // the chosen entry, -1 none
    int32_t m_widthChange = 0;
    int m_focusList = 0;

protected:
    CSelectDlgBase(const DLGTEMPLATE* dialogTemplate, CWnd* parent, int index);
    SelectEntries m_entries;
};

class CComboSelectDlg : public CSelectDlgBase {
public:
    explicit CComboSelectDlg(CWnd* parent = nullptr);
    ~CComboSelectDlg() override;

    // See SelectEntries::Add; a set flag makes the new entry the chosen one. -1 when memory ran out.
    int AddItem(int index, uint32_t value, LPCSTR text, int flag = 0);

    int m_editable = 0;  // a drop-down with an edit field instead of a drop-down list
    // Without Cancel, Escape acts as OK.

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    int ComboId() const;
};

class CListSelectDlg : public CSelectDlgBase {
public:
    explicit CListSelectDlg(CWnd* parent = nullptr);
    ~CListSelectDlg() override;

    // See SelectEntries::Add; flag is the entry's tick. -1 when memory ran out.
    int AddItem(int index, uint32_t value, LPCSTR text, int flag = 0);
    int GetItemTextCopy(int index, char* buffer, int size) const;
    void SetCheck(int index, int flag) { m_entries.SetCheck(index, flag != 0); }
    int GetCheck(int index) const { return m_entries.Check(index) ? 1 : 0; }
    void RemoveAll() { m_entries.RemoveAll(); }
    void Sort(SelectSortOrder order) { m_entries.Sort(order); }
    int GetCount() const { return m_entries.Count(); }

    int m_style = 0;  // 0 single, 1 multiple, 2 one tick, 3 check boxes
    // Without Cancel, Escape and the close box do nothing.
    int32_t m_heightChange = 0;

    // Forgets the position shared by the list dialogs of the process (tests).
    static void ForgetSavedPosition();

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSizing(UINT fwSide, LPRECT pRect);
    afx_msg void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    afx_msg void OnListDoubleClick(UINT id);
    afx_msg void OnContextMenuCommand();
    afx_msg void OnSelectAll();
    afx_msg void OnSelectNone();
    DECLARE_MESSAGE_MAP()

private:
    HWND List() const { return ::GetDlgItem(m_hWnd, m_listId); }
    void MeasureLayout();
    void PlaceWindow();
    void FillList();
    void SelectAll(bool select);
    void KeepSizeAndPosition();
    void InvalidateRow(int index);
    void RedrawList();

    int m_listId = 0;
    ListSelectMeasures m_measures;
    SelectTypeAhead m_typeAhead;
    SIZE m_keptSize = {};
    bool m_sizeKept = false;
    bool m_inWheel = false;
};
