// Hosting the web-browser control: creation in place, events through the event-sink map with typed
// parameters, moving the site, calls through InvokeHelper, and release when the host goes.
#include <gtest/gtest.h>

#include <exdisp.h>
#include <exdispid.h>

#include <string>
#include <vector>

#include "framework/Framework.h"
#include "tests/support/MessagePump.h"

namespace {

constexpr UINT kSiteId = AFX_IDW_PANE_FIRST;

class CBrowserHost : public CWnd {
public:
    CWnd m_site;
    std::vector<std::string> events;
    std::vector<DISPID> ambients;
    bool cancelNext = false;

    BOOL Open() {
        if (!CreateEx(0, AfxRegisterWndClass(0), "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 400, 300),
                      nullptr, 0))
            return FALSE;
        return m_site.CreateControl(CLSID_WebBrowser, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), this, kSiteId);
    }
    IWebBrowser2* Browser() {
        IWebBrowser2* browser = nullptr;
        if (IUnknown* unknown = m_site.GetControlUnknown())
            unknown->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser));
        return browser;
    }

    BOOL OnAmbientProperty(COleControlSite*, DISPID dispid, VARIANT*) override {
        ambients.push_back(dispid);
        return FALSE;
    }

    void OnBeforeNavigate2(LPDISPATCH, VARIANT* url, VARIANT* flags, VARIANT* frame, VARIANT* postData,
                           VARIANT* headers, BOOL* cancel) {
        (void)flags, (void)frame, (void)postData, (void)headers;
        std::string text = url && url->vt == VT_BSTR ? std::string(CString(url->bstrVal)) : "?";
        events.push_back("before " + text);
        if (cancelNext) *cancel = TRUE;
    }
    void OnNavigateError(LPDISPATCH, VARIANT* url, VARIANT*, VARIANT* status, BOOL*) {
        (void)url;
        events.push_back("error " + std::to_string(status && status->vt == VT_I4 ? (long)status->lVal : 0));
    }
    void OnCommandStateChange(long command, BOOL enable) {
        events.push_back("command " + std::to_string(command) + (enable ? " on" : " off"));
    }
    void OnDownloadBegin() { events.push_back("download"); }

    DECLARE_EVENTSINK_MAP()
};

BEGIN_EVENTSINK_MAP(CBrowserHost, CWnd)
    ON_EVENT(CBrowserHost, kSiteId, DISPID_BEFORENAVIGATE2, OnBeforeNavigate2,
             VTS_DISPATCH VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PBOOL)
    ON_EVENT(CBrowserHost, kSiteId, DISPID_NAVIGATEERROR, OnNavigateError,
             VTS_DISPATCH VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PBOOL)
    ON_EVENT(CBrowserHost, kSiteId, DISPID_COMMANDSTATECHANGE, OnCommandStateChange, VTS_I4 VTS_BOOL)
    ON_EVENT(CBrowserHost, kSiteId, DISPID_DOWNLOADBEGIN, OnDownloadBegin, VTS_NONE)
END_EVENTSINK_MAP()

bool Has(const std::vector<std::string>& events, const std::string& prefix) {
    for (const std::string& e : events)
        if (e.compare(0, prefix.size(), prefix) == 0) return true;
    return false;
}

void Navigate(IWebBrowser2* browser, const wchar_t* url) {
    BSTR target = SysAllocString(url);
    VARIANT empty;
    VariantInit(&empty);
    browser->Navigate(target, &empty, &empty, &empty, &empty);
    SysFreeString(target);
}

}  // namespace

class OleControl : public ::testing::Test {
protected:
    CBrowserHost host;
    IWebBrowser2* browser = nullptr;  // released at the end unless the test has done so

    void SetUp() override { AfxEnableControlContainer(); }
    void TearDown() override {
        if (browser) browser->Release();
        if (host.m_hWnd) host.DestroyWindow();
    }
    // A visible host with the browser in place, and a reference to the browser.
    void OpenBrowser() {
        ASSERT_TRUE(host.Open());
        browser = host.Browser();
        ASSERT_NE(browser, nullptr);
    }
};

TEST_F(OleControl, HostsTheBrowserInPlace) {
    ASSERT_NO_FATAL_FAILURE(OpenBrowser());
    ASSERT_NE(host.m_site.m_hWnd, nullptr);
    EXPECT_EQ(host.m_site.GetParent(), &host);
    EXPECT_EQ(host.m_site.GetDlgCtrlID(), (int)kSiteId);
    EXPECT_FALSE(host.ambients.empty());  // the control asked its site for ambient properties

    // Moving the site window moves the control's own idea of its place.
    host.m_site.SetWindowPos(nullptr, 10, 20, 250, 150, SWP_NOZORDER);
    long width = 0, height = 0;
    browser->get_Width(&width);
    browser->get_Height(&height);
    EXPECT_EQ(width, 250);
    EXPECT_EQ(height, 150);
}

TEST_F(OleControl, EventsReachTypedHandlers) {
    ASSERT_NO_FATAL_FAILURE(OpenBrowser());
    // The engine fires the navigation events inside Navigate itself; nothing ever renders here.
    Navigate(browser, L"file:///C:/nowhere/page.html");
    PumpUntil([&] { return Has(host.events, "error") || Has(host.events, "download"); }, 2000);
    EXPECT_TRUE(Has(host.events, "before "));
    EXPECT_TRUE(Has(host.events, "before C:\\nowhere\\page.html") || Has(host.events, "before file:"));

    // A handler that sets *cancel stops the navigation: nothing follows the BeforeNavigate2.
    host.events.clear();
    host.cancelNext = true;
    Navigate(browser, L"file:///C:/nowhere/other.html");
    PumpPending();
    ASSERT_FALSE(host.events.empty());
    EXPECT_TRUE(Has(host.events, "before "));
    EXPECT_FALSE(Has(host.events, "download"));
    EXPECT_FALSE(Has(host.events, "error"));
}

TEST_F(OleControl, InvokeHelperCallsIntoTheControl) {
    ASSERT_NO_FATAL_FAILURE(OpenBrowser());
    // A method with a text and by-reference arguments: the navigation request reaches the events.
    VARIANT empty;
    VariantInit(&empty);
    static const BYTE params[] = VTS_BSTR VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT;
    host.m_site.InvokeHelper(0x68 /* Navigate */, DISPATCH_METHOD, VT_EMPTY, nullptr, params,
                             "file:///C:/helper/page.html", &empty, &empty, &empty, &empty);
    EXPECT_TRUE(Has(host.events, "before C:\\helper\\page.html") || Has(host.events, "before file:///C:/helper"));
    // A property read: the location URL of a control that went nowhere is empty.
    CString location = "unset";
    host.m_site.InvokeHelper(0xD3 /* LocationURL */, DISPATCH_PROPERTYGET, VT_BSTR, &location, nullptr);
    EXPECT_STRNE(location, "unset");
}

// By-reference arguments (the VTS_P... types) reach the control as references to the caller's values.
TEST_F(OleControl, InvokeHelperPassesArgumentsByReference) {
    ASSERT_NO_FATAL_FAILURE(OpenBrowser());
    COleVariant url("file:///C:/byref/page.html");
    VARIANT empty;
    VariantInit(&empty);
    static const BYTE params[] = VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT;
    host.m_site.InvokeHelper(0x1F4 /* Navigate2 */, DISPATCH_METHOD, VT_EMPTY, nullptr, params,
                             static_cast<VARIANT*>(&url), &empty, &empty, &empty, &empty);
    EXPECT_TRUE(Has(host.events, "before C:\\byref\\page.html") || Has(host.events, "before file:///C:/byref"));
}

TEST_F(OleControl, ControlIsReleasedWithItsHost) {
    ASSERT_NO_FATAL_FAILURE(OpenBrowser());
    HWND site = host.m_site.m_hWnd;
    host.DestroyWindow();
    EXPECT_EQ(host.m_site.m_pCtrlSite, nullptr);
    EXPECT_EQ(host.m_site.GetControlUnknown(), nullptr);
    EXPECT_FALSE(IsWindow(site));
    // Ours is the last reference.
    EXPECT_EQ(browser->Release(), 0u);
    browser = nullptr;
}

TEST_F(OleControl, UnknownControlLeavesNoWindow) {
    ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), "host", WS_OVERLAPPEDWINDOW, CRect(0, 0, 100, 100), nullptr, 0));
    static const CLSID kNothing = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};
    EXPECT_FALSE(host.m_site.CreateControl(kNothing, "", WS_CHILD, CRect(0, 0, 10, 10), &host, 5));
    EXPECT_EQ(host.m_site.m_hWnd, nullptr);
    EXPECT_EQ(host.GetWindow(GW_CHILD), nullptr);
}
