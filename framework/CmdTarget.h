// CCmdTarget: the owner of a message map; routes commands. CCmdUI: the update request for one
// command's user-interface element (menu item, bar button, pane).
#pragma once

#include <windows.h>

#include "framework/MessageMap.h"
#include "framework/RuntimeClass.h"

class CCmdTarget;
class CMenu;
class CWnd;
struct EventSinkMap;

// Filled by OnCmdMsg when it is asked only whether a handler exists.
struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget;
};

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() = default;

    // nCode: CN_COMMAND, CN_UPDATE_COMMAND_UI, or MAKELONG(notification code, message) for control
    // notifications, WM_NOTIFY and the reflected forms. With pHandlerInfo only the presence of a
    // handler is reported.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    // The OLE event sink map of the class (null without one).
    virtual const EventSinkMap* GetEventSinkMap() const;

    // Calls the first window-message handler for `message` in this object's maps.
    BOOL DispatchWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult, UINT extraId = 0);

protected:
    static const MessageMap* GetThisMessageMap();
    virtual const MessageMap* GetMessageMap() const;
    static const EventSinkMap* GetThisEventSinkMap();
};

class CCmdUI {
public:
    CCmdUI() = default;
    virtual ~CCmdUI() = default;

    UINT m_nID = 0;
    UINT m_nIndex = 0;
    CMenu* m_pMenu = nullptr;     // the popup whose item is updated
    CMenu* m_pSubMenu = nullptr;  // the item's own popup, when it opens one
    CMenu* m_pParentMenu = nullptr;
    CWnd* m_pOther = nullptr;     // a window (bar, pane) instead of a menu
    BOOL m_bEnableChanged = FALSE;
    BOOL m_bContinueRouting = FALSE;
    UINT m_nIndexMax = 0;

    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1);  // 0 clear, 1 checked, 2 indeterminate
    virtual void SetRadio(BOOL bOn = TRUE);
    virtual void SetText(LPCSTR lpszText);

    // Lets the next target in the routing handle the request too.
    void ContinueRouting() { m_bContinueRouting = TRUE; }

    // Asks the target's handler; a command without any handler is disabled when requested.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHandler);
};
