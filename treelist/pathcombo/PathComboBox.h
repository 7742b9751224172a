// CPathComboBox: a drop-down combo box that shows a path as a row of clickable segments. Clicking a
// segment's text goes to that folder, clicking the arrow after it lists the folders at that level in
// a popup. A hidden edit takes typed paths; the combo's own list holds typed paths, and a
// back/forward history may be kept. One worker thread per control reads the level lists.
#pragma once

#include "framework/Framework.h"
#include "treelist/pathcombo/BreadcrumbLayout.h"
#include "treelist/pathcombo/PathComboNotify.h"
#include "treelist/pathcombo/PathComboState.h"

#include <uxtheme.h>

struct PathComboWorker;

// Option bits (the low bits of Create's style, Attach's options).
enum : DWORD {
    PCO_DRAG_OUT = 0x1,       // the path may be dragged out
    PCO_ACCEPT_DROP = 0x2,    // dropped files are shown
    PCO_KEEP_TYPED = 0x4,     // typed paths go into the combo's list
    PCO_HISTORY = 0x8,        // back/forward history
    PCO_MUST_EXIST = 0x10,    // paths that do not exist are refused
    PCO_TAB_TO_PARENT = 0x40, // Tab gives the focus to the parent
    PCO_NO_NETWORK = 0x100,   // network paths are refused
    PCO_PLAIN_EDIT = 0x200,   // a plain edit instead of the breadcrumb
};

// Context menu commands.
enum : UINT { ID_PATHCOMBO_COPY_PATH = 13336, ID_PATHCOMBO_COPY_SEGMENT = 13337 };

// Icon of a path in the combo's list, without touching drives other than the system drive.
int PathEntryIcon(const char* text);

class CPathComboBox : public CComboBox {
public:
    CPathComboBox();
    ~CPathComboBox() override;

    BOOL Create(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id);
    BOOL CreateAtControl(DWORD exStyle, DWORD style, int placeholderId, CWnd* parent, UINT id);
    // Takes over an existing combo box (a drop-down one with an edit).
    BOOL Attach(DWORD options, HWND window);
    using CWnd::Attach;

    // Shows a path: lengthOrForm negative for a NUL-terminated text, a plain length, or a
    // PATHFORM_* form with the length in its low 14 bits. 1 when shown (or unchanged), 0 refused.
    int SetPath(const char* text, int lengthOrForm);
    int GoBack();
    int GoForward();
    void SetBreadcrumbMode(BOOL on);
    void SetAcceptDrop(BOOL on);

    void DrawItem(LPDRAWITEMSTRUCT item) override;
    void MeasureItem(LPMEASUREITEMSTRUCT item) override;

    // Read-only views for the owner and for tests.
    const char* GetPath() const { return m_state.path; }
    int GetSegmentCount() const { return m_state.count; }
    const BreadcrumbLayout& GetLayout() const { return m_layout; }
    int HitTest(int x, int y) const;
    HWND GetPopup() const { return m_popup.GetSafeHwnd(); }
    HWND GetEdit() const { return m_edit; }
    // In breadcrumb mode: the hidden edit holds a typed text that was never taken (the user typed and left it).
    bool TypedTextChanged() const;
    // Takes the edit's text as Enter in it does: true when it is shown. A refused text stays in the edit, no
    // longer counts as changed, and is what GetTakenText gives.
    bool TakeTypedText();
    const char* GetTakenText() const { return m_editText; }
    int GetOpenLevel() const { return m_popupOpen ? m_openLevel : -1; }
    bool IsWaitingForLevel() const { return m_openGeneration == kWaitingForWorker; }
    bool IsLevelRead(int level) const;
    int GetHistoryCount() const { return m_historyList.GetCount(); }
    int GetHistoryIndex() const { return m_historyIndex; }
    int GetPathKind() const { return m_kind; }
    // True while the worker reads a level.
    bool IsWorkerReading() const;

    // Builds the CF_HDROP block of a dragged path (a fixed block of 284 bytes); null when the path
    // does not fit.
    static HGLOBAL BuildDropBlock(const char* path);

protected:
    afx_msg void OnPaint();
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT flags, CPoint point);
    afx_msg void OnRButtonDown(UINT flags, CPoint point);
    afx_msg void OnRButtonUp(UINT flags, CPoint point);
    afx_msg void OnKeyDown(UINT key, UINT repeat, UINT flags);
    afx_msg void OnChar(UINT key, UINT repeat, UINT flags);
    afx_msg void OnTimer(UINT_PTR id);
    afx_msg void OnDropFiles(HDROP drop);
    afx_msg void OnDestroy();
    afx_msg void OnSetFocus(CWnd* old);
    afx_msg void OnKillFocus(CWnd* next);
    afx_msg BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    afx_msg UINT OnGetDlgCode();
    afx_msg void OnCloseUp();
    afx_msg void OnCopyPath();
    afx_msg void OnCopySegment();
    afx_msg LRESULT OnWorker(WPARAM what, LPARAM value);
    afx_msg LRESULT OnMouseLeave(WPARAM, LPARAM);
    afx_msg LRESULT OnGetText(WPARAM size, LPARAM buffer);
    afx_msg LRESULT OnGetTextLength(WPARAM, LPARAM);
    afx_msg LRESULT OnSetText(WPARAM, LPARAM text);
    afx_msg LRESULT OnSelectString(WPARAM start, LPARAM text);
    afx_msg LRESULT OnSetCurSel(WPARAM index, LPARAM);
    afx_msg LRESULT OnThemeChanged(WPARAM, LPARAM);
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    DECLARE_MESSAGE_MAP()

private:
    static constexpr uint32_t kWaitingForWorker = 0xFFFFFFFEu;
    static constexpr UINT_PTR kTrackTimer = 13338;

    BOOL Setup(DWORD options);
    void ReadOptions(DWORD options);
    void Teardown();
    bool BreadcrumbShown() const { return m_breadcrumb && !m_editVisible; }
    BreadcrumbFrame Frame() const;
    void UpdateGeometry();
    // SetPath's steps.
    bool DescribePath(const char* text, bool shellKind, bool entryIcon, int* kind, int* icon) const;
    void Segment(const char* path);
    void ShowPathText();
    void RecordHistory();
    LRESULT Notify(UINT code, uint32_t phase, uint32_t kind);
    int GoToSegment(int segment);
    int GoToHistory(int index);
    // Worker.
    void AskLevel(int level);
    void OnLevelReady(uint32_t word);
    // Popup.
    void OpenPopup(int level);
    void ShowPopup(int level);
    void ClosePopup(bool restoreFocus);
    void ChooseEntry(int index);
    void PopupTypeAhead(char c);
    void OnPopupDispInfo(NMLVDISPINFOA* info);
    static LRESULT CALLBACK PopupProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    // Edit.
    void ShowEdit(bool show);
    // Sets the edit's text as this control's own (not typed).
    void SetEditText(const char* text);
    void KeepTypedPath(const char* path);
    static LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    // Mouse and keys.
    void SetHot(int hit);
    void TrackLeave();
    void ClickArrow(int level);
    void ShowContextMenu(CPoint screen);
    void MoveFocus(int step);
    void PressFocused(bool shiftOrCtrl);
    // Drag and drop, clipboard.
    void DragOut();
    void CopyText(const char* text, int length);
    // Paint.
    void PaintBreadcrumb(HDC dc);
    void PaintPosition(HDC dc, int code, const RECT& r);
    void PaintButton(HDC dc, const RECT& r);
    void PaintFrame(HDC dc, const RECT& r, int state, int part);
    void OpenTheme();

    PathComboState m_state;  // path, segments and levels (shared with the worker)
    char m_editText[kPathBufferSize] = {};
    BreadcrumbLayout m_layout;
    int m_segWidth[kMaxSegments] = {};
    int m_hot = HIT_NONE;
    int m_focusPos = -1;
    int m_pressed = HIT_NONE;
    int m_pathIcon = -1;
    int m_kind = 0;      // 0 shell path, 1 folder, 2 drive root, 3 missing
    int m_entryIcon = -1;
    HTHEME m_theme = nullptr;
    HWND m_edit = nullptr;
    int m_buttonLeft = 0, m_buttonRight = 0, m_arrowWidth = 0;
    int m_hotState = 1;  // 1 normal, 2 over the button, 3 pressed
    int m_clientWidth = 0, m_clientHeight = 0;
    int m_openLevel = -1;
    uint32_t m_openGeneration = 0;
    int m_listMax = 16;
    uint32_t m_closeTime = 0;
    int m_closedLevel = -1;
    bool m_trackTimer = false, m_editVisible = false, m_popupOpen = false, m_tabToParent = false;
    bool m_mustExist = false, m_dragOut = false, m_acceptDrop = false, m_breadcrumb = true;
    bool m_keepTyped = false, m_history = false, m_tracking = false, m_downOnIcon = false;
    WNDPROC m_oldEditProc = nullptr, m_oldListProc = nullptr;
    int m_downX = 0, m_downY = 0;
    CListCtrl m_popup;
    CTextList m_historyList;
    int m_historyIndex = -1;
    int m_historyMax = 50;
    int m_menuHit = HIT_NONE;
    PathComboWorker* m_worker = nullptr;
    bool m_workerTaken = false;
};
