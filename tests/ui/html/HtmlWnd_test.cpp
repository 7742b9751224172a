// The web-browser window under Wine: the control is created and takes navigation requests, but
// renders nothing and never completes a navigation, so completion events are fired by hand.
#include "ui/html/HtmlWnd.h"

#include "framework/FrameWnd.h"
#include "framework/OleControlSite.h"
#include "tests/ui/UiTestSupport.h"

#include <gtest/gtest.h>

#include <exdispid.h>

#include <deque>
#include <string>
#include <vector>

using uitest::TestParent;

namespace {

constexpr UINT kId = 4386;

// Records what reaches the overridable handlers.
class RecordingHtmlWnd : public CHtmlWnd {
public:
    std::vector<std::string> calls;
    std::string lastUrl, lastTarget, lastHeaders, lastPost;
    DWORD lastFlags = 0;
    bool cancelNavigation = false;

    void OnBeforeNavigate2(LPCSTR url, DWORD flags, LPCSTR target, CByteArray& post, LPCSTR headers,
                           BOOL* cancel) override {
        calls.push_back("before");
        lastUrl = url;
        lastFlags = flags;
        lastTarget = target;
        lastHeaders = headers;
        lastPost.assign(reinterpret_cast<const char*>(post.GetData() ? post.GetData() : (const BYTE*)""),
                        (size_t)post.GetSize());
        if (cancelNavigation) *cancel = TRUE;
    }
    void OnDocumentComplete(LPCSTR url) override {
        calls.push_back("document");
        lastUrl = url;
    }
    void OnProgressChange(long progress, long progressMax) override {
        calls.push_back("progress " + std::to_string(progress) + "/" + std::to_string(progressMax));
    }
    void OnCommandStateChange(long command, BOOL enable) override {
        calls.push_back("command " + std::to_string(command) + " " + std::to_string(enable));
    }
    void OnTitleChange(LPCSTR title) override { calls.push_back(std::string("title ") + title); }
    void OnNewWindow2(IDispatch** dispatch, BOOL* cancel) override {
        calls.push_back(std::string("new ") + (dispatch ? "window" : "none"));
        *cancel = TRUE;
    }
    void OnQuit() override { calls.push_back("quit"); }
    void OnVisible(BOOL visible) override { calls.push_back("visible " + std::to_string(visible)); }
    void OnTheaterMode(BOOL on) override { calls.push_back("theater " + std::to_string(on)); }
};

// Arguments for firing an event by hand, first argument first.
class EventArgs {
public:
    ~EventArgs() {
        for (VARIANT& v : m_values) VariantClear(&v);
        for (VARIANT& v : m_args)
            if (!(v.vt & VT_BYREF)) VariantClear(&v);
    }
    EventArgs& Dispatch() { return Push(VT_DISPATCH); }
    EventArgs& Text(const wchar_t* text) {
        VARIANT& v = Push(VT_BSTR).m_args.back();
        v.bstrVal = SysAllocString(text);
        return *this;
    }
    EventArgs& Long(long value) {
        Push(VT_I4).m_args.back().lVal = value;
        return *this;
    }
    EventArgs& Bool(bool value) {
        Push(VT_BOOL).m_args.back().boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
        return *this;
    }
    // A VT_BYREF | VT_VARIANT argument that points at `value` (taken over).
    EventArgs& RefVariant(const VARIANT& value) {
        m_values.push_back(value);
        VARIANT& v = Push(VT_BYREF | VT_VARIANT).m_args.back();
        v.pvarVal = &m_values.back();
        return *this;
    }
    EventArgs& RefText(const wchar_t* text) {
        VARIANT value;
        VariantInit(&value);
        value.vt = VT_BSTR;
        value.bstrVal = SysAllocString(text);
        return RefVariant(value);
    }
    EventArgs& RefBool(VARIANT_BOOL* target) {
        Push(VT_BYREF | VT_BOOL).m_args.back().pboolVal = target;
        return *this;
    }
    EventArgs& RefDispatch(IDispatch** target) {
        Push(VT_BYREF | VT_DISPATCH).m_args.back().ppdispVal = target;
        return *this;
    }
    void Fire(CHtmlWnd& wnd, DISPID dispid) {
        // DISPPARAMS lists the arguments last first.
        std::vector<VARIANT> reversed(m_args.rbegin(), m_args.rend());
        DISPPARAMS params = {reversed.data(), nullptr, (UINT)reversed.size(), 0};
        wnd.m_wndBrowser.m_pCtrlSite->FireEvent(dispid, &params);
    }

private:
    EventArgs& Push(VARTYPE vt) {
        VARIANT v;
        VariantInit(&v);
        v.vt = vt;
        m_args.push_back(v);
        return *this;
    }
    std::vector<VARIANT> m_args;
    std::deque<VARIANT> m_values; // RefVariant keeps pointers into it: a deque never moves its elements
};

VARIANT ByteArrayVariant(const char* bytes, VARTYPE type = VT_UI1, UINT dims = 1) {
    VARIANT v;
    VariantInit(&v);
    const ULONG n = (ULONG)strlen(bytes);
    SAFEARRAYBOUND bounds[2] = {{n, 0}, {1, 0}};
    v.vt = VT_ARRAY | type;
    v.parray = SafeArrayCreate(type, dims, bounds);
    void* data;
    SafeArrayAccessData(v.parray, &data);
    if (type == VT_UI1) memcpy(data, bytes, n);
    SafeArrayUnaccessData(v.parray);
    return v;
}

// A frame that records the texts for its message pane.
class StatusFrame : public CFrameWnd {
public:
    std::vector<std::string> messages;
    afx_msg LRESULT OnMessageText(WPARAM, LPARAM lParam) {
        messages.push_back(lParam ? reinterpret_cast<LPCSTR>(lParam) : "");
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(StatusFrame, CFrameWnd)
    ON_MESSAGE(WM_SETMESSAGESTRING, OnMessageText)
END_MESSAGE_MAP()

std::string TempPage() {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    std::string path = std::string(dir) + "wertlauf-htmlwnd-page.html";
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written;
    WriteFile(f, "<html><body>Frage</body></html>", 31, &written, nullptr);
    CloseHandle(f);
    return path;
}

} // namespace

TEST(HtmlWnd, CreatesTheBrowserInItsOwnHostClass) {
    TestParent parent(400, 300);
    HWND otherStatic = parent.AddChild("STATIC", 77, 0);
    const ULONG_PTR staticBrush = GetClassLongPtrA(otherStatic, GCLP_HBRBACKGROUND);
    CHtmlWnd html;
    ASSERT_TRUE(html.Create("", WS_CHILD | WS_VISIBLE, RECT{10, 10, 310, 210}, CWnd::FromHandle(parent.hwnd), kId));
    EXPECT_NE(nullptr, html.m_pBrowserApp);
    HWND site = GetDlgItem(html.m_hWnd, kHtmlWndBrowserId);
    ASSERT_NE(nullptr, site);
    EXPECT_EQ(site, html.m_wndBrowser.m_hWnd);
    // The system's "STATIC" windows keep their brush; the host has none.
    EXPECT_EQ(staticBrush, GetClassLongPtrA(otherStatic, GCLP_HBRBACKGROUND));
    EXPECT_EQ(0u, GetClassLongPtrA(html.m_hWnd, GCLP_HBRBACKGROUND));
    EXPECT_EQ(9, (int)(GetWindowLongA(html.m_hWnd, GWL_STYLE) & 0x1f));

    // Resizing puts the control's edge just outside the host's client area.
    html.SetWindowPos(nullptr, 0, 0, 250, 150, SWP_NOMOVE | SWP_NOZORDER);
    RECT siteRect, client;
    GetWindowRect(site, &siteRect);
    MapWindowPoints(nullptr, html.m_hWnd, reinterpret_cast<POINT*>(&siteRect), 2);
    html.GetClientRect(&client);
    RECT expect = client;
    AdjustWindowRectEx(&expect, GetWindowLongA(site, GWL_STYLE), FALSE, WS_EX_CLIENTEDGE);
    EXPECT_TRUE(EqualRect(&expect, &siteRect));
    EXPECT_LT(siteRect.left, 0);

    // Without a page the browser answers nothing about zoom: the defaults stand.
    int minimum = 0, maximum = 0;
    html.GetZoomRange(&minimum, &maximum);
    EXPECT_EQ(10, minimum);
    EXPECT_EQ(1000, maximum);
    EXPECT_EQ(100, html.GetZoom());

    html.DestroyWindow();
    EXPECT_EQ(nullptr, html.m_pBrowserApp);
    EXPECT_EQ(3, html.GetZoom()); // no browser
    html.GetZoomRange(&minimum, &maximum);
    EXPECT_EQ(1000, maximum);
    EXPECT_TRUE(html.GetLocationURL().IsEmpty());
    EXPECT_EQ(kSaveAsSilentNotSaved, html.SaveAsSilent("C:\\x.htm", 0, FALSE));
}

TEST(HtmlWnd, NavigationRequestsReachBeforeNavigate) {
    TestParent parent(400, 300);
    RecordingHtmlWnd html;
    ASSERT_TRUE(html.Create("", WS_CHILD | WS_VISIBLE, RECT{0, 0, 300, 200}, CWnd::FromHandle(parent.hwnd), kId));
    const std::string page = TempPage();
    // Headers and post data travel with the request (a length of 0 takes the data up to its NUL).
    // The browser handles its first request at once; later ones arrive through the message queue.
    html.Navigate2(("file:///" + page).c_str(), 0, nullptr, "X-Test: 1\r\n", "a=1&b=2", 0);
    ASSERT_FALSE(html.calls.empty());
    EXPECT_EQ("before", html.calls.front());
    EXPECT_NE(std::string::npos, html.lastUrl.find("wertlauf-htmlwnd-page.html")) << html.lastUrl;
    // This Wine hands on the first bytes of the array's descriptor instead of its data, so only the
    // length can be compared here; PostDataPacking checks the bytes.
    EXPECT_EQ(7u, html.lastPost.size());
    EXPECT_EQ("X-Test: 1\r\n", html.lastHeaders);

    html.calls.clear();
    html.Navigate2("file:///C:/windows/win.ini");
    PumpUntil([&] { return !html.calls.empty(); }, 1000);
    ASSERT_FALSE(html.calls.empty());
    EXPECT_NE(std::string::npos, html.lastUrl.find("win.ini")) << html.lastUrl;
    EXPECT_EQ("", html.lastPost); // no post data, no post data variant
    // Without a completed navigation nothing is posted to the parent.
    PumpQueued();
    EXPECT_TRUE(parent.Commands(kHtmlWndNavigated).empty());
    DeleteFileA(page.c_str());
}

TEST(HtmlWnd, ResourcePagesAndFocus) {
    TestParent parent(400, 300);
    RecordingHtmlWnd html;
    ASSERT_TRUE(html.Create("", WS_CHILD | WS_VISIBLE, RECT{0, 0, 300, 200}, CWnd::FromHandle(parent.hwnd), kId));
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    auto requested = [&html](auto load) {
        html.calls.clear();
        html.lastUrl.clear();
        EXPECT_TRUE(load());
        PumpUntil([&] { return !html.calls.empty(); }, 1000);
        return html.lastUrl;
    };
    // A resource of the program by name and by number: "res://<program path>/<resource>".
    EXPECT_EQ(std::string("res://") + program + "/frage.htm", requested([&] { return html.LoadFromResource("frage.htm"); }));
    EXPECT_EQ(std::string("res://") + program + "/123", requested([&] { return html.LoadFromResource(123u); }));

    // The focus on the browser inside counts as the window's own.
    SetForegroundWindow(parent.hwnd);
    SetFocus(parent.hwnd);
    EXPECT_FALSE(html.HasFocus());
    SetFocus(html.m_wndBrowser.m_hWnd);
    ASSERT_EQ(html.m_wndBrowser.m_hWnd, GetFocus());
    EXPECT_TRUE(html.HasFocus());
    html.DestroyWindow();
    EXPECT_FALSE(html.HasFocus());
}

TEST(HtmlWnd, PostDataPacking) {
    VARIANT v;
    PackPostData(&v, "a=1&b=2", 0);
    ASSERT_EQ(VT_ARRAY | VT_UI1, v.vt);
    ASSERT_EQ(1u, SafeArrayGetDim(v.parray));
    LONG high = -1;
    SafeArrayGetUBound(v.parray, 1, &high);
    EXPECT_EQ(6, high);
    void* data;
    SafeArrayAccessData(v.parray, &data);
    EXPECT_EQ(0, memcmp(data, "a=1&b=2", 7));
    SafeArrayUnaccessData(v.parray);
    VariantClear(&v);
    PackPostData(&v, "a\0b", 3); // an explicit length takes NULs too
    SafeArrayGetUBound(v.parray, 1, &high);
    EXPECT_EQ(2, high);
    VariantClear(&v);
    PackPostData(&v, nullptr, 5);
    EXPECT_EQ(VT_EMPTY, v.vt);
}

TEST(HtmlWnd, EventsReachTheirHandlers) {
    TestParent parent(400, 300);
    RecordingHtmlWnd html;
    ASSERT_TRUE(html.Create("", WS_CHILD | WS_VISIBLE, RECT{0, 0, 300, 200}, CWnd::FromHandle(parent.hwnd), kId));
    ASSERT_NE(nullptr, html.m_wndBrowser.m_pCtrlSite);
    PumpQueued();
    parent.log.clear();

    // Every completed navigation (frames too) posts exactly one command to the parent.
    EventArgs().Dispatch().RefText(L"file:///C:/fragen/Game001/Info.html").Fire(html, DISPID_NAVIGATECOMPLETE2);
    EventArgs().Dispatch().RefText(L"file:///C:/fragen/frame.html").Fire(html, DISPID_NAVIGATECOMPLETE2);
    PumpQueued();
    const auto posted = parent.Commands(kHtmlWndNavigated);
    ASSERT_EQ(2u, posted.size());
    EXPECT_EQ((WPARAM)kHtmlWndNavigated, posted[0].wParam);
    EXPECT_EQ(0, posted[0].lParam);

    // Post data arrives as bytes; headers, target and flags as they were sent.
    VARIANT_BOOL cancel = VARIANT_FALSE;
    EventArgs()
        .Dispatch()
        .RefText(L"http://quiz/antwort")
        .RefVariant([] {
            VARIANT v;
            VariantInit(&v);
            v.vt = VT_I4;
            v.lVal = 0x40;
            return v;
        }())
        .RefText(L"_blank")
        .RefVariant(ByteArrayVariant("name=M\xfcller"))
        .RefText(L"Content-Type: text/plain\r\n")
        .RefBool(&cancel)
        .Fire(html, DISPID_BEFORENAVIGATE2);
    EXPECT_EQ("http://quiz/antwort", html.lastUrl);
    EXPECT_EQ(0x40u, html.lastFlags);
    EXPECT_EQ("_blank", html.lastTarget);
    EXPECT_EQ("name=M\xfcller", html.lastPost);
    EXPECT_EQ("Content-Type: text/plain\r\n", html.lastHeaders);
    EXPECT_EQ(VARIANT_FALSE, cancel);
    // Post data of the wrong kind is ignored; a cancel goes back to the browser.
    html.cancelNavigation = true;
    for (VARIANT post : {ByteArrayVariant("ab", VT_I4), ByteArrayVariant("ab", VT_UI1, 2)}) {
        EventArgs().Dispatch().RefText(L"u").RefText(L"").RefText(L"").RefVariant(post).RefText(L"").RefBool(&cancel)
            .Fire(html, DISPID_BEFORENAVIGATE2);
        EXPECT_EQ("", html.lastPost);
    }
    EXPECT_EQ(VARIANT_TRUE, cancel);

    html.calls.clear();
    EventArgs().Dispatch().RefText(L"file:///C:/fragen/Main/Info.html").Fire(html, DISPID_DOCUMENTCOMPLETE);
    EventArgs().Long(40).Long(100).Fire(html, DISPID_PROGRESSCHANGE);
    EventArgs().Long(2).Bool(true).Fire(html, DISPID_COMMANDSTATECHANGE);
    EventArgs().Text(L"Frage 1").Fire(html, DISPID_TITLECHANGE);
    IDispatch* newWindow = nullptr;
    VARIANT_BOOL refuse = VARIANT_FALSE;
    EventArgs().RefDispatch(&newWindow).RefBool(&refuse).Fire(html, DISPID_NEWWINDOW2);
    EventArgs().Fire(html, DISPID_ONQUIT);
    EventArgs().Bool(false).Fire(html, DISPID_ONVISIBLE);
    EventArgs().Bool(true).Fire(html, DISPID_ONTHEATERMODE);
    EventArgs().Long(1).Fire(html, DISPID_PROGRESSCHANGE); // wrong argument count: ignored
    const std::vector<std::string> expect = {"document",  "progress 40/100", "command 2 1", "title Frage 1",
                                             "new window", "quit",            "visible 0",   "theater 1"};
    EXPECT_EQ(expect, html.calls);
    EXPECT_EQ("file:///C:/fragen/Main/Info.html", html.lastUrl);
    EXPECT_EQ(VARIANT_TRUE, refuse);
}

TEST(HtmlWnd, StatusTextGoesToTheFrame) {
    // A frame deletes itself when its window is destroyed, so it lives on the heap.
    auto* frame = new StatusFrame;
    ASSERT_TRUE(frame->Create(nullptr, "Wertlauf", WS_OVERLAPPEDWINDOW, RECT{0, 0, 500, 400}));
    // The browser sits two levels below the frame, as in the game (frame, bitmap window, browser).
    CWnd middle;
    ASSERT_TRUE(middle.Create(AfxRegisterWndClass(0), "", WS_CHILD | WS_VISIBLE, RECT{0, 0, 400, 300}, frame, 1));
    CHtmlWnd html;
    ASSERT_TRUE(html.Create("", WS_CHILD | WS_VISIBLE, RECT{0, 0, 300, 200}, &middle, kId));
    frame->messages.clear();
    EventArgs().Text(L"Fertig").Fire(html, DISPID_STATUSTEXTCHANGE);
    ASSERT_EQ(1u, frame->messages.size());
    EXPECT_EQ("Fertig", frame->messages[0]);
    html.DestroyWindow();
    middle.DestroyWindow();
    frame->DestroyWindow();
}

TEST(HtmlWnd, WithoutAParentNothingIsPosted) {
    CHtmlWnd html;
    ASSERT_TRUE(html.Create("", WS_POPUP, RECT{0, 0, 200, 100}, nullptr, 0));
    EventArgs().Dispatch().RefText(L"about:blank").Fire(html, DISPID_NAVIGATECOMPLETE2);
    EventArgs().Text(L"ohne Rahmen").Fire(html, DISPID_STATUSTEXTCHANGE);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_COMMAND, WM_COMMAND, PM_NOREMOVE));
}

TEST(HtmlWnd, SilentSaveReportsWhatHappened) {
    TestParent parent(400, 300);
    CHtmlWnd html;
    ASSERT_TRUE(html.Create("", WS_CHILD | WS_VISIBLE, RECT{0, 0, 300, 200}, CWnd::FromHandle(parent.hwnd), kId));
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    const std::string target = std::string(dir) + "wertlauf-silent.htm";
    // No page and no dialog here: the save did not happen, and that is what is reported.
    EXPECT_EQ(kSaveAsSilentNotSaved, html.SaveAsSilent(target.c_str(), 0, FALSE));
    // The hook is gone and the lock free: a dialog created now is left alone, and another save runs.
    HWND dialog = CreateWindowExA(0, "#32770", "", WS_POPUP, 100, 100, 50, 50, nullptr, nullptr, nullptr, nullptr);
    RECT r;
    GetWindowRect(dialog, &r);
    EXPECT_EQ(100, r.left);
    DestroyWindow(dialog);
    EXPECT_EQ(kSaveAsSilentNotSaved, html.SaveAsSilent(target.c_str(), 1, TRUE));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(target.c_str()));
}

// The control cannot be made when the browser library is missing: checked in a child process for
// which Wine loads no browser library.
TEST(HtmlWnd, CreationFailureLeavesNoWindow) {
    if (GetEnvironmentVariableA("WL_HTMLWND_CHILD", nullptr, 0)) {
        TestParent parent(300, 200);
        CHtmlWnd html;
        EXPECT_FALSE(html.Create("", WS_CHILD | WS_VISIBLE, RECT{0, 0, 200, 100}, CWnd::FromHandle(parent.hwnd), kId));
        EXPECT_EQ(nullptr, html.m_hWnd);
        EXPECT_EQ(nullptr, html.m_pBrowserApp);
        EXPECT_EQ(nullptr, GetWindow(parent.hwnd, GW_CHILD));
        html.Navigate2("about:blank");
        EXPECT_EQ(3, html.GetZoom());
        return;
    }
    // A copy of this program under its own name, with the browser libraries switched off for that name.
    char exe[MAX_PATH], dir[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    GetTempPathA(MAX_PATH, dir);
    const std::string copyName = "wl_htmlwnd_noie_" + std::to_string(GetCurrentProcessId()) + ".exe";
    const std::string copy = std::string(dir) + copyName;
    ASSERT_TRUE(CopyFileA(exe, copy.c_str(), FALSE));
    const std::string keyPath = "Software\\Wine\\AppDefaults\\" + copyName + "\\DllOverrides";
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                                             &key, nullptr));
    for (const char* dll : {"ieframe", "shdocvw"}) RegSetValueExA(key, dll, 0, REG_SZ, (const BYTE*)"", 1);
    RegCloseKey(key);
    SetEnvironmentVariableA("WL_HTMLWND_CHILD", "1");
    std::string command = "\"" + copy + "\" --gtest_filter=HtmlWnd.CreationFailureLeavesNoWindow";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    const BOOL started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    SetEnvironmentVariableA("WL_HTMLWND_CHILD", nullptr);
    DWORD code = 1;
    if (started) {
        WaitForSingleObject(pi.hProcess, 60000);
        GetExitCodeProcess(pi.hProcess, &code);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    RegDeleteKeyA(HKEY_CURRENT_USER, keyPath.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, ("Software\\Wine\\AppDefaults\\" + copyName).c_str());
    DeleteFileA(copy.c_str());
    ASSERT_TRUE(started);
    EXPECT_EQ(0u, code);
}
