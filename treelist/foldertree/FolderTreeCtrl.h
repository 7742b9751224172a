// CFolderTreeCtrl: a one-column tree list of the drives, their folders and the network neighbourhood.
// One worker thread per control reads drives and folders from a job queue and fills the control through
// direct calls; the control's thread hears of results through posted messages and timers, and tells
// its parent of the current folder with notifications 4612 to 4614.
#pragma once

#include "treelist/treelistctrl/TreeListCtrl.h"
#include "treelist/foldertree/FolderTreeNotify.h"

struct FolderTreeContext;

// Option bits (the low 16 bits of Create's style).
enum : DWORD {
    FTO_TAB_TO_PARENT = 0x80,  // Tab gives the focus to the parent window
    FTO_DRAG_OUT = 0x1000,     // items may be dragged out
    FTO_ACCEPT_DROP = 0x2000,  // the window takes dropped files (and ignores them)
    FTO_EXTRA_STYLE = 0x4000,  // adds 0x100 to the control's extended style
    FTO_NO_NETWORK = 0x8000,   // no network
};

// SelectPath's flags: read the item's folders (1), keep the item in view (128).
enum : int { FTP_READ = 1, FTP_SHOW = 128 };

class CFolderTreeCtrl : public CTreeListCtrl {
public:
    CFolderTreeCtrl();
    ~CFolderTreeCtrl() override;

    BOOL Create(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id);
    BOOL CreateAtControl(DWORD exStyle, DWORD style, int placeholderId, CWnd* parent, UINT id);

    // Makes the folder of path (the current path when null; subPath joined) the current item, inserting
    // the items on the way. 0 when refused (missing folder, no network), 2 for a new current item, 1 for
    // the same one.
    int SelectPath(const char* path, const char* subPath, int flags);
    // The current path (cut to size - 1) and item; the length.
    int GetCurrentPath(char* buffer, int size, HTREEITEM* itemOut);
    // The path of an item: mode 0 takes the network path an item on the way carries, mode 1 writes the
    // network neighbourhood as "\\". 0 and an empty buffer when it does not fit size or the item lies
    // deeper than 32 levels. lParamOut (may be null) gets the item's lParam.
    int GetItemPath(HTREEITEM item, char* buffer, int size, int mode, LPARAM* lParamOut);
    BOOL IsLocalItem(HTREEITEM item);
    // Sorts the children of item in natural order.
    void SortChildren(HTREEITEM item);
    // The current folder as CF_HDROP on the clipboard (nothing for a network item).
    void CopyToClipboard();
    // Stops the worker (waiting a bounded time); the control reads nothing afterwards.
    void StopWorker();
    // A network path walked to the form the network gives it, other paths made full; kindOut (may be
    // null) is nonzero for a network path that an entry's path replaced. The length (cut to size - 1).
    int ResolveNetworkPath(const char* path, char* buffer, int size, int* kindOut);

    // Read-only views for the owner and for tests.
    int GetPendingExpands() const;
    bool IsBusyCursorOn() const { return m_cursorState != 0; }
    int GetQueuedJobs() const;
    HTREEITEM GetNetworkRoot() const;

protected:
    afx_msg void OnSelChanged(NMHDR* header, LRESULT* result);
    afx_msg void OnItemExpanded(NMHDR* header, LRESULT* result);
    afx_msg void OnBeginDrag(NMHDR* header, LRESULT* result);
    afx_msg void OnDblClk(NMHDR* header, LRESULT* result);
    afx_msg void OnTreeKeyDown(NMHDR* header, LRESULT* result);
    afx_msg void OnTimer(UINT_PTR id);
    afx_msg void OnDestroy();
    afx_msg BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    afx_msg void OnDropFiles(HDROP drop);
    afx_msg LRESULT OnCurrentChanged(WPARAM flags, LPARAM item);
    afx_msg LRESULT OnCopy(WPARAM, LPARAM);
    afx_msg LRESULT OnKeyMessage(WPARAM, LPARAM);
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    DECLARE_MESSAGE_MAP()

private:
    friend struct FolderTreeAccess;
    FolderTreeContext* Context() const { return m_context; }
    // Sends a notification to the parent under the lock; its answer.
    LRESULT Notify(UINT code, HTREEITEM item, uint32_t value);
    int SetCurrent(HTREEITEM item, const char* path, int length, int flags);
    void QueueSelection(HTREEITEM item, int read);
    void CancelStaleJobs();
    void StartBusyCursor();
    void OnBusyTick();
    void QueuePrefetch();
    void RefreshNetwork();
    bool WaitForJob(HTREEITEM item, DWORD bound);
    HTREEITEM FindPathItem(const char* path);
    HTREEITEM InsertDrive(const char* text);
    HTREEITEM InsertMissing(HTREEITEM at, const char* path, int from, bool fixed);
    int SelectNetworkPath(const char* path, int flags);
    void DragOut(HTREEITEM item);

    DWORD m_options = 0;
    FolderTreeContext* m_context = nullptr;
    bool m_networkStarted = false;
    int m_hoverCountdown = 0;
    int m_cancelCountdown = 0;
    int m_cursorState = 0;
    int m_prefetchCountdown = 0;
    HTREEITEM m_openIconItem = nullptr;
    int m_openIconOld = -1;
    int m_byKeyboard = 0;  // depth of key messages in hand
};
