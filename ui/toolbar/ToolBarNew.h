// CToolBarNew: the frame's toolbar. A control bar docked like a CToolBar whose window is the toolkit's own
// toolbar control ("ToolbarExWindow32"): buttons and pictures from toolbar resources or bitmaps, sizes from
// the control's fit, command state through the update protocol, windows on buttons, a context menu.
#pragma once

#include "framework/Framework.h"
#include "ui/toolbar/ToolbarEx.h"

#include <vector>

// A toolbar given as data instead of a resource (LoadToolBar with a non-zero block flag, SetBitmap).
struct ToolbarDataBlock {
    HINSTANCE module;
    UINT_PTR bitmap;   // bitmap handle, or resource id in module
    WORD flags;        // TBXAB_OWNHANDLE when the handle passes to the control, TBXAB_COUNTBYWIDTH for a resource
    WORD scale;        // 1/256
    WORD version;      // 1
    WORD imageWidth;
    WORD height;
    WORD count;
    WORD ids[1];       // count command ids, 0 = separator
};

// The standard button size for an icon height: (cyIcon - 32) x 2 + 28, within 16..48.
int ToolbarStandardButtonSize(int cyIcon);

class CToolBarNew : public CToolBar {
    DECLARE_DYNAMIC(CToolBarNew)
public:
    CToolBarNew();
    ~CToolBarNew() override;

    // Entry texts of the context menu (null: the text of string 0x4001, else the default).
    LPCSTR m_pszMenuTexts[5] = {};
    WORD m_nMenuIds[5] = {0xD000, 0xD001, 0xD002, 0xD003, 0xD004};
    DWORD m_dwExtendedStyle = 0;  // bits 16-20 enable the context-menu entries 0-4
    UINT m_nCheckedSize = 0;      // the checked size entry of the context menu (0-2)
    int m_nStandardSize = 16;
    int m_nImageWidth = 0;        // of the loaded toolbar

    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT nID = AFX_IDW_TOOLBAR);
    BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = TBSTYLE_FLAT,
                  DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, CRect rcBorders = CRect(0, 0, 0, 0),
                  UINT nID = AFX_IDW_TOOLBAR);

    // names: up to 8 toolbar resources (or data blocks where blockFlags has a non-zero byte), ended by null.
    // ids: the buttons to make (0 = separator); idCount 17767 keeps the current buttons' commands.
    BOOL LoadToolBar(const LPCSTR* names, void* reserved = nullptr, const UINT* ids = nullptr, int idCount = 0,
                     const BYTE* blockFlags = nullptr, int scale = 0);
    BOOL LoadToolBar(UINT nIDResource);
    // A new picture strip for the bar. imageWidth < 1 takes the bar's; 4094 splits at marker columns.
    BOOL SetBitmap(HBITMAP bitmap, int imageWidth, BOOL ownsBitmap, const UINT* ids = nullptr, int idCount = 0,
                   int scale = 0);
    BOOL LoadBitmap(UINT nIDResource, int imageWidth, HINSTANCE module, const UINT* ids, int idCount, int scale);
    BOOL LoadBitmap(UINT nIDResource, int imageWidth) { return LoadBitmap(nIDResource, imageWidth, nullptr, nullptr, 0, 0); }
    BOOL SetButtons(const UINT* lpIDArray, int nIDCount);

    // Windows on buttons. button: a command id, or a button reference (ToolbarIndex ...).
    int SetButtonWindow(CWnd* window, UINT button, int occurrence = -1, BOOL setFont = TRUE);
    CWnd* GetButtonWindow(int k);
    CWnd* FindButtonWindow(UINT id, int k = 0);

    BOOL SetButtonData(const UINT* ids, const DWORD_PTR* values, int count);
    BOOL SetButtonDataRange(UINT firstId, const DWORD_PTR* values, int count);
    // format -1 packs the colour into 5:6:5 bits.
    BOOL SetButtonColor(UINT button, COLORREF colour, int format = 0);
    void SetKeyColors(COLORREF first, COLORREF second);
    // Parts of -1 are left alone (images below 0 too). In the Ex forms the state bit 0x04 means disabled.
    BOOL SetButton(UINT button, int id, DWORD stateStyle, int image);
    BOOL SetButtonEx(UINT button, int id, DWORD stateStyle, int image, WORD extraValue, WORD extraMask);
    BOOL GetButton(int index, int* id, DWORD* stateStyle, int* image);
    BOOL GetButtonEx(int index, int* id, DWORD* stateStyle, int* image, WORD* extra);
    BOOL AddLabel(LPCSTR text, DWORD key, short dx, short dy, BYTE flags, BYTE tag = 0);
    // Sets the group style (BTNS_GROUP) with TBX_MODIFYSTYLE over the range sent as [button + 1, count - 1).
    // The control takes that range as [first, end), so count reads as an end index, not a length: the buttons
    // from button + 1 up to count - 2 are grouped (separators skipped). An empty range sends nothing. Returns
    // the number of buttons visited.
    int GroupButtons(int button, int count);
    // Image scales in 1/256; the old scale. relayout lays the bar out again when it changed.
    int SetImageScale(int scale, BOOL relayout = TRUE);
    int SetBitmapScale(int bitmap, int scale, BOOL relayout = TRUE);
    // Lays the bar out again after a change of images, scale or style.
    void Relayout();

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHandler) override;
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);

protected:
    // Buttons are read by TB_GETBUTTONINFOA; commands 1..65534 go on to the target.
    BOOL ButtonCommand(UINT index, UINT* command) override;
    BOOL RoutesCommand(UINT command) const override { return command >= 1 && command <= 65534; }

    DECLARE_MESSAGE_MAP()

private:
    std::vector<UINT> Commands(const UINT* ids, int idCount);  // the given ids, else the buttons' commands
    BOOL ReplaceFirstBitmap(HINSTANCE module, UINT_PTR bitmap, int imageWidth, int count, int scale,
                            TBXBITMAPINFO* first);
    BOOL LoadBlock(HINSTANCE module, UINT_PTR bitmap, WORD flags, int imageWidth, int height, int count,
                   const std::vector<UINT>& commands, int scale);
    CSize Fit(int extent, UINT flags);
    CSize Borders(BOOL bHorz) const;
    CFrameWnd* Frame() const;

    HBITMAP m_hbmOwned = nullptr;  // a strip given to SetBitmap with ownership, once the control copied it
};

// Update requests for the buttons of a CToolBarNew.
class CToolBarNewCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn = TRUE) override;
    void SetCheck(int nCheck = 1) override;
    void SetRadio(BOOL bOn = TRUE) override;
    void SetText(LPCSTR lpszText) override;
};
