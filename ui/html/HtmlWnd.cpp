// The web-browser window: creation, events, navigation and commands.
#include "ui/html/HtmlWnd.h"

#include "framework/FrameWnd.h"
#include "framework/OleControlSite.h"
#include "framework/WinApp.h"

#include <docobj.h>
#include <exdispid.h>

#include <vector>

namespace {

// Style of the browser's site window: WS_CHILD | WS_VISIBLE and the low bits 7.
constexpr DWORD kSiteStyle = 0x50000007;

// The host window has a class of its own, a "STATIC" without a background brush: the browser
// covers it, and the system's "STATIC" class stays as it is for every other window.
LPCSTR HostClass() {
    static const LPCSTR name = [] {
        WNDCLASSEXA wc = {};
        wc.cbSize = sizeof wc;
        GetClassInfoExA(nullptr, "STATIC", &wc);
        wc.cbSize = sizeof wc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = nullptr;
        wc.lpszClassName = "HtmlWndHost";
        RegisterClassExA(&wc);
        return "HtmlWndHost";
    }();
    return name;
}

// A VARIANT's value, following references (VT_BYREF | VT_VARIANT may nest).
const VARIANT* Resolve(const VARIANT* v) {
    for (int depth = 0; v && v->vt == (VT_BYREF | VT_VARIANT) && depth < 8; ++depth) v = v->pvarVal;
    return v && v->vt == (VT_BYREF | VT_VARIANT) ? nullptr : v;
}

// A text argument in the ANSI code page, however long.
CString VariantText(const VARIANT* v) {
    v = Resolve(v);
    if (!v) return CString();
    if (v->vt == VT_BSTR) return CString((LPCWSTR)v->bstrVal);
    if (v->vt == (VT_BYREF | VT_BSTR) && v->pbstrVal) return CString((LPCWSTR)*v->pbstrVal);
    return CString();
}

long VariantLong(const VARIANT* v) {
    v = Resolve(v);
    if (!v) return 0;
    VARIANT converted;
    VariantInit(&converted);
    if (FAILED(VariantChangeType(&converted, const_cast<VARIANT*>(v), 0, VT_I4))) return 0;
    return converted.lVal;
}

// Post data: only a one-dimensional array of bytes is taken.
void VariantBytes(const VARIANT* v, CByteArray& out) {
    out.RemoveAll();
    v = Resolve(v);
    if (!v) return;
    SAFEARRAY* array = nullptr;
    if (v->vt == (VT_ARRAY | VT_UI1)) array = v->parray;
    else if (v->vt == (VT_BYREF | VT_ARRAY | VT_UI1) && v->pparray) array = *v->pparray;
    if (!array || SafeArrayGetDim(array) != 1) return;
    LONG low = 0, high = -1;
    if (FAILED(SafeArrayGetLBound(array, 1, &low)) || FAILED(SafeArrayGetUBound(array, 1, &high)) || high < low)
        return;
    void* data = nullptr;
    if (FAILED(SafeArrayAccessData(array, &data))) return;
    out.SetSize(high - low + 1);
    memcpy(out.GetData(), data, (size_t)(high - low + 1));
    SafeArrayUnaccessData(array);
}

// A text as a VARIANT, or empty for no text.
COleVariant TextVariant(LPCSTR text) { return text ? COleVariant(text) : COleVariant(); }

// The program file's full path, however long.
CString ModulePath() {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameA(AfxGetResourceHandle(), buffer.data(), (DWORD)buffer.size());
        if (n == 0) return CString();
        if (n < buffer.size()) return CString(buffer.data(), (int)n);
        if (buffer.size() >= 32768) return CString();
        buffer.resize(buffer.size() * 2);
    }
}

const GUID kCgidWebBrowser = {0xED016940, 0xBD5B, 0x11CF, {0xBA, 0x4E, 0x00, 0xC0, 0x4F, 0xD7, 0x08, 0x16}};

} // namespace

void PackPostData(VARIANT* out, const void* data, DWORD length) {
    VariantInit(out);
    if (!data) return;
    if (length == 0) length = (DWORD)lstrlenA(static_cast<LPCSTR>(data));
    SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, length);
    if (!array) return;
    void* target = nullptr;
    if (length && SUCCEEDED(SafeArrayAccessData(array, &target))) {
        memcpy(target, data, length);
        SafeArrayUnaccessData(array);
    }
    out->vt = VT_ARRAY | VT_UI1;
    out->parray = array;
}

BEGIN_MESSAGE_MAP(CHtmlWnd, CWnd)
    ON_COMMAND(ID_FILE_PRINT, Print)
    ON_COMMAND(ID_FILE_SAVE, Save)
    ON_COMMAND(ID_FILE_SAVE_AS, SaveAs)
    ON_COMMAND(ID_EDIT_COPY, Copy)
    ON_MESSAGE(WM_COPY, OnCopyMessage)
    ON_WM_SIZE()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

BEGIN_EVENTSINK_MAP(CHtmlWnd, CWnd)
    ON_EVENT(CHtmlWnd, AFX_IDW_PANE_FIRST, DISPID_STATUSTEXTCHANGE, OnStatusTextChange, VTS_BSTR)
    ON_EVENT(CHtmlWnd, AFX_IDW_PANE_FIRST, DISPID_PROGRESSCHANGE, OnProgressChange, VTS_I4 VTS_I4)
    ON_EVENT(CHtmlWnd, AFX_IDW_PANE_FIRST, DISPID_COMMANDSTATECHANGE, OnCommandStateChange, VTS_I4 VTS_BOOL)
    ON_EVENT(CHtmlWnd, AFX_IDW_PANE_FIRST, DISPID_DOWNLOADBEGIN, OnDownloadBegin, VTS_NONE)
    ON_EVENT(CHtmlWnd, AFX_IDW_PANE_FIRST, DISPID_DOWNLOADCOMPLETE, OnDownloadComplete, VTS_NONE)
    ON_EVENT(CHtmlWnd, AFX_IDW_PANE_FIRST, DISPID_TITLECHANGE, OnTitleChange, VTS_BSTR)
    ON_EVENT(CHtmlWnd, AFX_IDW_PANE_FIRST, DISPID_NAVIGATECOMPLETE2, NavigateComplete2, VTS_DISPATCH VTS_PVARIANT)
    ON_EVENT(CHtmlWnd, AFX_IDW_PANE_FIRST, DISPID_BEFORENAVIGATE2, BeforeNavigate2,
             VTS_DISPATCH VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PBOOL)
    ON_EVENT(CHtmlWnd, AFX_IDW_PANE_FIRST, DISPID_PROPERTYCHANGE, OnPropertyChange, VTS_BSTR)
    ON_EVENT(CHtmlWnd, AFX_IDW_PANE_FIRST, DISPID_NEWWINDOW2, OnNewWindow2, VTS_PDISPATCH VTS_PBOOL)
    ON_EVENT(CHtmlWnd, AFX_IDW_PANE_FIRST, DISPID_DOCUMENTCOMPLETE, DocumentComplete, VTS_DISPATCH VTS_PVARIANT)
    ON_EVENT(CHtmlWnd, AFX_IDW_PANE_FIRST, DISPID_ONQUIT, OnQuit, VTS_NONE)
    ON_EVENT(CHtmlWnd, AFX_IDW_PANE_FIRST, DISPID_ONVISIBLE, OnVisible, VTS_BOOL)
    ON_EVENT(CHtmlWnd, AFX_IDW_PANE_FIRST, DISPID_ONTOOLBAR, OnToolBar, VTS_BOOL)
    ON_EVENT(CHtmlWnd, AFX_IDW_PANE_FIRST, DISPID_ONMENUBAR, OnMenuBar, VTS_BOOL)
    ON_EVENT(CHtmlWnd, AFX_IDW_PANE_FIRST, DISPID_ONSTATUSBAR, OnStatusBar, VTS_BOOL)
    ON_EVENT(CHtmlWnd, AFX_IDW_PANE_FIRST, DISPID_ONFULLSCREEN, OnFullScreen, VTS_BOOL)
    ON_EVENT(CHtmlWnd, AFX_IDW_PANE_FIRST, DISPID_ONTHEATERMODE, OnTheaterMode, VTS_BOOL)
END_EVENTSINK_MAP()

CHtmlWnd::CHtmlWnd() = default;

CHtmlWnd::~CHtmlWnd() {
    if (m_hWnd) DestroyWindow();
    ReleaseBrowser();
}

BOOL CHtmlWnd::Create(LPCSTR name, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CreateEx(0, name, style, rect, parent, id);
}

BOOL CHtmlWnd::CreateEx(DWORD exStyle, LPCSTR name, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    if (!CWnd::CreateEx(exStyle, HostClass(), name, style | 9, rect, parent, id)) return FALSE;
    AfxEnableControlContainer(nullptr);
    RECT client;
    GetClientRect(&client);
    if (!m_wndBrowser.CreateControl(CLSID_WebBrowser, name, kSiteStyle, client, this, kHtmlWndBrowserId)) {
        DestroyWindow();
        return FALSE;
    }
    IUnknown* control = m_wndBrowser.GetControlUnknown();
    if (!control || FAILED(control->QueryInterface(IID_IWebBrowser2, (void**)&m_pBrowserApp))) {
        m_pBrowserApp = nullptr;
        m_wndBrowser.DestroyWindow();
        DestroyWindow();
        return FALSE;
    }
    return TRUE;
}

void CHtmlWnd::ReleaseBrowser() {
    if (m_pBrowserApp) m_pBrowserApp->Release();
    m_pBrowserApp = nullptr;
}

void CHtmlWnd::OnSize(UINT type, int cx, int cy) {
    CWnd::OnSize(type, cx, cy);
    if (!m_wndBrowser.m_hWnd) return;
    // The control's own edge lies outside the visible area.
    RECT r;
    GetClientRect(&r);
    AdjustWindowRectEx(&r, m_wndBrowser.GetStyle(), FALSE, WS_EX_CLIENTEDGE);
    m_wndBrowser.SetWindowPos(nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                              SWP_NOZORDER | SWP_NOACTIVATE);
}

void CHtmlWnd::OnDestroy() {
    ReleaseBrowser();
    CWnd::OnDestroy();
}

LRESULT CHtmlWnd::OnCopyMessage(WPARAM, LPARAM) {
    Copy();
    return 0;
}

// ---- Events

void CHtmlWnd::OnNavigateComplete2(LPCSTR) {
    if (HWND parent = ::GetParent(m_hWnd)) ::PostMessageA(parent, WM_COMMAND, kHtmlWndNavigated, 0);
}

void CHtmlWnd::OnStatusTextChange(LPCSTR text) {
    if (CFrameWnd* frame = GetParentFrame()) frame->SetMessageText(text);
}

void CHtmlWnd::OnProgressChange(long, long) {}
void CHtmlWnd::OnCommandStateChange(long, BOOL) {}
void CHtmlWnd::OnDownloadBegin() {}
void CHtmlWnd::OnDownloadComplete() {}
void CHtmlWnd::OnTitleChange(LPCSTR) {}
void CHtmlWnd::OnPropertyChange(LPCSTR) {}
void CHtmlWnd::OnNewWindow2(IDispatch**, BOOL*) {}
void CHtmlWnd::OnDocumentComplete(LPCSTR) {}
void CHtmlWnd::OnQuit() {}
void CHtmlWnd::OnVisible(BOOL) {}
void CHtmlWnd::OnToolBar(BOOL) {}
void CHtmlWnd::OnMenuBar(BOOL) {}
void CHtmlWnd::OnStatusBar(BOOL) {}
void CHtmlWnd::OnFullScreen(BOOL) {}
void CHtmlWnd::OnTheaterMode(BOOL) {}
void CHtmlWnd::OnBeforeNavigate2(LPCSTR, DWORD, LPCSTR, CByteArray&, LPCSTR, BOOL*) {}

void CHtmlWnd::DocumentComplete(IDispatch*, VARIANT* url) { OnDocumentComplete(VariantText(url)); }

void CHtmlWnd::NavigateComplete2(IDispatch*, VARIANT* url) { OnNavigateComplete2(VariantText(url)); }

void CHtmlWnd::BeforeNavigate2(IDispatch*, VARIANT* url, VARIANT* flags, VARIANT* targetFrame, VARIANT* postData,
                               VARIANT* headers, BOOL* cancel) {
    CByteArray posted;
    VariantBytes(postData, posted);
    OnBeforeNavigate2(VariantText(url), (DWORD)VariantLong(flags), VariantText(targetFrame), posted,
                      VariantText(headers), cancel);
}

// ---- Navigation

void CHtmlWnd::Navigate2(LPCSTR url, DWORD flags, LPCSTR targetFrame, LPCSTR headers, const void* postData,
                         DWORD postDataLength) {
    if (!m_pBrowserApp) return;
    COleVariant address(url), flagWord((long)flags), target = TextVariant(targetFrame),
        extraHeaders = TextVariant(headers), post;
    PackPostData(&post, postData, postDataLength);
    m_pBrowserApp->Navigate2(&address, &flagWord, &target, &post, &extraHeaders);
}

void CHtmlWnd::Navigate2(LPCSTR url, DWORD flags, CByteArray& postData, LPCSTR targetFrame, LPCSTR headers) {
    // An empty array still goes as (empty) post data.
    const void* data = postData.GetSize() ? postData.GetData() : (const BYTE*)"";
    Navigate2(url, flags, targetFrame, headers, data, (DWORD)postData.GetSize());
}

void CHtmlWnd::Navigate2(LPCITEMIDLIST item, DWORD flags, LPCSTR targetFrame) {
    if (!m_pBrowserApp || !item) return;
    COleVariant address, flagWord((long)flags), target = TextVariant(targetFrame), none;
    PackPostData(&address, item, ILGetSize(item));
    m_pBrowserApp->Navigate2(&address, &flagWord, &target, &none, &none);
}

void CHtmlWnd::Navigate(LPCSTR url, DWORD flags, LPCSTR targetFrame, LPCSTR headers, const void* postData,
                        DWORD postDataLength) {
    if (!m_pBrowserApp) return;
    COleVariant address(url), flagWord((long)flags), target = TextVariant(targetFrame),
        extraHeaders = TextVariant(headers), post;
    PackPostData(&post, postData, postDataLength);
    m_pBrowserApp->Navigate(address.bstrVal, &flagWord, &target, &post, &extraHeaders);
}

BOOL CHtmlWnd::LoadFromResource(LPCSTR name) {
    const CString path = ModulePath();
    if (path.IsEmpty()) return FALSE;
    CString url;
    url.Format("res://%s/%s", (LPCSTR)path, name);
    Navigate2(url);
    return TRUE;
}

BOOL CHtmlWnd::LoadFromResource(UINT id) {
    CString name;
    name.Format("%d", id);
    return LoadFromResource(name);
}

// ---- Commands

void CHtmlWnd::ExecDocumentCommand(const GUID* group, DWORD command, DWORD option) {
    IDispatch* document = GetHtmlDocument();
    if (!document) return;
    IOleCommandTarget* target = nullptr;
    if (SUCCEEDED(document->QueryInterface(IID_IOleCommandTarget, (void**)&target)) && target) {
        target->Exec(group, command, option, nullptr, nullptr);
        target->Release();
    }
    document->Release();
}

void CHtmlWnd::Print() { ExecDocumentCommand(nullptr, OLECMDID_PRINT, OLECMDEXECOPT_DODEFAULT); }

void CHtmlWnd::Save() { ExecWB(OLECMDID_SAVE, OLECMDEXECOPT_DODEFAULT, nullptr, nullptr); }

void CHtmlWnd::SaveAs() { ExecWB(OLECMDID_SAVEAS, OLECMDEXECOPT_DODEFAULT, nullptr, nullptr); }

void CHtmlWnd::Copy() { ExecWB(OLECMDID_COPY, OLECMDEXECOPT_DODEFAULT, nullptr, nullptr); }

void CHtmlWnd::Find() { ExecDocumentCommand(&kCgidWebBrowser, 1, 0); }

void CHtmlWnd::SetZoom(int zoom) {
    VARIANT in;
    VariantInit(&in);
    in.vt = VT_I4;
    in.lVal = zoom;
    ExecWB(OLECMDID_OPTICAL_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, &in, nullptr);
}

int CHtmlWnd::GetZoom() {
    if (!m_pBrowserApp) return 3;
    COleVariant out;
    ExecWB(OLECMDID_OPTICAL_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, nullptr, &out);
    return out.vt == VT_I4 && out.lVal >= 1 ? (int)out.lVal : 100;
}

void CHtmlWnd::GetZoomRange(int* minimum, int* maximum) {
    COleVariant out;
    ExecWB(OLECMDID_OPTICAL_GETZOOMRANGE, OLECMDEXECOPT_DONTPROMPTUSER, nullptr, &out);
    const bool answered = out.vt == VT_I4 && out.lVal > 0;
    if (minimum) *minimum = answered ? LOWORD(out.lVal) : 10;
    if (maximum) *maximum = answered ? HIWORD(out.lVal) : 1000;
}

BOOL CHtmlWnd::HasFocus() const {
    const HWND focus = ::GetFocus();
    return m_hWnd && focus && (focus == m_hWnd || ::IsChild(m_hWnd, focus));
}
