// The web-browser window's property wrappers: one browser call each; without a browser 0, null or
// an empty text.
#include "ui/html/HtmlWnd.h"

#include <exdispid.h>

namespace {

// IWebBrowser2::GetProperty in the browser's dispatch interface.
constexpr DISPID kGetPropertyDispid = 303;

CString TakeText(BSTR text) {
    CString out((LPCWSTR)text);
    SysFreeString(text);
    return out;
}

} // namespace

// Reads one property of the browser with the given accessor.
#define HTMLWND_GET(type, accessor, fallback)                                   \
    type value = fallback;                                                      \
    if (m_pBrowserApp) m_pBrowserApp->accessor(&value);                         \
    return value

#define HTMLWND_GET_BOOL(accessor)                                              \
    VARIANT_BOOL value = VARIANT_FALSE;                                         \
    if (m_pBrowserApp) m_pBrowserApp->accessor(&value);                         \
    return value != VARIANT_FALSE

#define HTMLWND_GET_TEXT(accessor)                                              \
    BSTR value = nullptr;                                                       \
    if (m_pBrowserApp) m_pBrowserApp->accessor(&value);                         \
    return TakeText(value)

CString CHtmlWnd::GetType() const { HTMLWND_GET_TEXT(get_Type); }
long CHtmlWnd::GetLeft() const { HTMLWND_GET(long, get_Left, 0); }
long CHtmlWnd::GetTop() const { HTMLWND_GET(long, get_Top, 0); }
int CHtmlWnd::GetToolBar() const { HTMLWND_GET(int, get_ToolBar, 0); }
long CHtmlWnd::GetHeight() const { HTMLWND_GET(long, get_Height, 0); }
BOOL CHtmlWnd::GetVisible() const { HTMLWND_GET_BOOL(get_Visible); }
CString CHtmlWnd::GetLocationName() const { HTMLWND_GET_TEXT(get_LocationName); }
CString CHtmlWnd::GetLocationURL() const { HTMLWND_GET_TEXT(get_LocationURL); }
BOOL CHtmlWnd::GetBusy() const { HTMLWND_GET_BOOL(get_Busy); }
READYSTATE CHtmlWnd::GetReadyState() const { HTMLWND_GET(READYSTATE, get_ReadyState, READYSTATE_UNINITIALIZED); }
BOOL CHtmlWnd::GetOffline() const { HTMLWND_GET_BOOL(get_Offline); }
BOOL CHtmlWnd::GetSilent() const { HTMLWND_GET_BOOL(get_Silent); }
IDispatch* CHtmlWnd::GetApplication() const { HTMLWND_GET(IDispatch*, get_Application, nullptr); }
IDispatch* CHtmlWnd::GetParentBrowser() const { HTMLWND_GET(IDispatch*, get_Parent, nullptr); }
IDispatch* CHtmlWnd::GetContainer() const { HTMLWND_GET(IDispatch*, get_Container, nullptr); }
IDispatch* CHtmlWnd::GetHtmlDocument() const { HTMLWND_GET(IDispatch*, get_Document, nullptr); }
BOOL CHtmlWnd::GetTopLevelContainer() const { HTMLWND_GET_BOOL(get_TopLevelContainer); }
BOOL CHtmlWnd::GetMenuBar() const { HTMLWND_GET_BOOL(get_MenuBar); }
BOOL CHtmlWnd::GetFullScreen() const { HTMLWND_GET_BOOL(get_FullScreen); }
BOOL CHtmlWnd::GetStatusBar() const { HTMLWND_GET_BOOL(get_StatusBar); }
BOOL CHtmlWnd::GetRegisterAsBrowser() const { HTMLWND_GET_BOOL(get_RegisterAsBrowser); }
BOOL CHtmlWnd::GetRegisterAsDropTarget() const { HTMLWND_GET_BOOL(get_RegisterAsDropTarget); }
BOOL CHtmlWnd::GetTheaterMode() const { HTMLWND_GET_BOOL(get_TheaterMode); }
BOOL CHtmlWnd::GetAddressBar() const { HTMLWND_GET_BOOL(get_AddressBar); }
CString CHtmlWnd::GetFullName() const { HTMLWND_GET_TEXT(get_FullName); }


#undef HTMLWND_GET
#undef HTMLWND_GET_BOOL
#undef HTMLWND_GET_TEXT

OLECMDF CHtmlWnd::QueryStatusWB(OLECMDID command) const {
    OLECMDF status = (OLECMDF)0;
    if (m_pBrowserApp) m_pBrowserApp->QueryStatusWB(command, &status);
    return status;
}

void CHtmlWnd::ExecWB(OLECMDID command, OLECMDEXECOPT option, VARIANT* in, VARIANT* out) {
    if (m_pBrowserApp) m_pBrowserApp->ExecWB(command, option, in, out);
}

void CHtmlWnd::PutProperty(LPCSTR name, const VARIANT& value) {
    if (!m_pBrowserApp) return;
    COleVariant key(name);
    m_pBrowserApp->PutProperty(key.bstrVal, value);
}

BOOL CHtmlWnd::GetProperty(LPCSTR name, CString& value) const {
    if (!m_pBrowserApp) return FALSE;
    COleVariant key(name), result;
    if (FAILED(m_pBrowserApp->GetProperty(key.bstrVal, &result))) return FALSE;
    if (result.vt != VT_BSTR && FAILED(VariantChangeType(&result, &result, 0, VT_BSTR))) return FALSE;
    value = CString((LPCWSTR)result.bstrVal);
    return TRUE;
}

COleVariant CHtmlWnd::GetProperty(LPCSTR name) {
    COleVariant result;
    if (m_pBrowserApp) InvokeHelper(kGetPropertyDispid, DISPATCH_METHOD, VT_VARIANT, &result, (const BYTE*)VTS_BSTR, name);
    return result;
}
