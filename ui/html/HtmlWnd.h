// CHtmlWnd: a child window that hosts the system's web-browser control, passes its events to
// overridable members and wraps its properties and commands.
#pragma once

#include "framework/ByteArray.h"
#include "framework/CString.h"
#include "framework/OleEventSink.h"
#include "framework/OleVariant.h"
#include "framework/Wnd.h"

#include <exdisp.h>
#include <shlobj.h>

// Posted to the parent (WM_COMMAND, wParam = this id, lParam 0) after every completed navigation.
constexpr UINT kHtmlWndNavigated = 26231;
// Control id of the browser inside the host window.
constexpr UINT kHtmlWndBrowserId = 0xE900;

// Post data for a navigation: a VT_ARRAY | VT_UI1 variant of `length` bytes (0: up to the NUL), or
// an empty variant without data.
void PackPostData(VARIANT* out, const void* data, DWORD length);

// Results of SaveAsSilent.
enum : int { kSaveAsSilentDone = 0, kSaveAsSilentNoHook = -1, kSaveAsSilentNotSaved = -2 };

class CHtmlWnd : public CWnd {
public:
    CHtmlWnd();
    ~CHtmlWnd() override;

    virtual BOOL Create(LPCSTR name, DWORD style, const RECT& rect, CWnd* parent, UINT id);
    virtual BOOL CreateEx(DWORD exStyle, LPCSTR name, DWORD style, const RECT& rect, CWnd* parent, UINT id);

    // ---- Events (empty unless said otherwise; all may be overridden)
    // Posts kHtmlWndNavigated to the parent.
    virtual void OnNavigateComplete2(LPCSTR url);
    // Shows the text in the parent frame's message pane.
    virtual void OnStatusTextChange(LPCSTR text);
    virtual void OnProgressChange(long progress, long progressMax);
    virtual void OnCommandStateChange(long command, BOOL enable);
    virtual void OnDownloadBegin();
    virtual void OnDownloadComplete();
    virtual void OnTitleChange(LPCSTR title);
    virtual void OnPropertyChange(LPCSTR property);
    virtual void OnNewWindow2(IDispatch** dispatch, BOOL* cancel);
    virtual void OnDocumentComplete(LPCSTR url);
    virtual void OnQuit();
    virtual void OnVisible(BOOL visible);
    virtual void OnToolBar(BOOL toolBar);
    virtual void OnMenuBar(BOOL menuBar);
    virtual void OnStatusBar(BOOL statusBar);
    virtual void OnFullScreen(BOOL fullScreen);
    virtual void OnTheaterMode(BOOL theaterMode);
    virtual void OnBeforeNavigate2(LPCSTR url, DWORD flags, LPCSTR targetFrame, CByteArray& postedData,
                                   LPCSTR headers, BOOL* cancel);
    // The raw forms: they convert the arguments and call the On... members.
    virtual void DocumentComplete(IDispatch* dispatch, VARIANT* url);
    virtual void NavigateComplete2(IDispatch* dispatch, VARIANT* url);
    virtual void BeforeNavigate2(IDispatch* dispatch, VARIANT* url, VARIANT* flags, VARIANT* targetFrame,
                                 VARIANT* postData, VARIANT* headers, BOOL* cancel);

    // ---- Navigation
    // postDataLength 0 takes the post data up to its NUL.
    void Navigate2(LPCSTR url, DWORD flags = 0, LPCSTR targetFrame = nullptr, LPCSTR headers = nullptr,
                   const void* postData = nullptr, DWORD postDataLength = 0);
    void Navigate2(LPCSTR url, DWORD flags, CByteArray& postData, LPCSTR targetFrame = nullptr,
                   LPCSTR headers = nullptr);
    void Navigate2(LPCITEMIDLIST item, DWORD flags = 0, LPCSTR targetFrame = nullptr);
    void Navigate(LPCSTR url, DWORD flags = 0, LPCSTR targetFrame = nullptr, LPCSTR headers = nullptr,
                  const void* postData = nullptr, DWORD postDataLength = 0);
    // Navigates to a resource of the program ("res://<program>/<name>"); 0 when the program's path is unknown.
    BOOL LoadFromResource(LPCSTR name);
    BOOL LoadFromResource(UINT id);

    // ---- Commands
    void Print();
    void Save();
    void SaveAs();
    void Copy();
    void Find();
    void SetZoom(int zoom);
    int GetZoom();
    void GetZoomRange(int* minimum, int* maximum);
    // Saves the page to `path` without showing the save dialog. kSaveAsSilentDone when the dialog was
    // answered, kSaveAsSilentNoHook when it could not be watched, kSaveAsSilentNotSaved otherwise.
    int SaveAsSilent(LPCSTR path, int typeIndex, BOOL centreFollowUp);
    BOOL HasFocus() const;

    // ---- Properties
    CString GetType() const;
    long GetLeft() const;
    long GetTop() const;
    int GetToolBar() const;
    long GetHeight() const;
    BOOL GetVisible() const;
    CString GetLocationName() const;
    CString GetLocationURL() const;
    BOOL GetBusy() const;
    READYSTATE GetReadyState() const;
    BOOL GetOffline() const;
    BOOL GetSilent() const;
    IDispatch* GetApplication() const;
    IDispatch* GetParentBrowser() const;
    IDispatch* GetContainer() const;
    IDispatch* GetHtmlDocument() const;
    BOOL GetTopLevelContainer() const;
    BOOL GetMenuBar() const;
    BOOL GetFullScreen() const;
    BOOL GetStatusBar() const;
    OLECMDF QueryStatusWB(OLECMDID command) const;
    void ExecWB(OLECMDID command, OLECMDEXECOPT option, VARIANT* in, VARIANT* out);
    BOOL GetRegisterAsBrowser() const;
    BOOL GetRegisterAsDropTarget() const;
    BOOL GetTheaterMode() const;
    BOOL GetAddressBar() const;
    CString GetFullName() const;
    void PutProperty(LPCSTR name, const VARIANT& value);
    BOOL GetProperty(LPCSTR name, CString& value) const;
    COleVariant GetProperty(LPCSTR name);

    // The window of the control site, and the browser (null when creation failed or after WM_DESTROY).
    CWnd m_wndBrowser;
    IWebBrowser2* m_pBrowserApp = nullptr;

protected:
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnDestroy();
    afx_msg LRESULT OnCopyMessage(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()
    DECLARE_EVENTSINK_MAP()

private:
    void ReleaseBrowser();
    void ExecDocumentCommand(const GUID* group, DWORD command, DWORD option);
};
