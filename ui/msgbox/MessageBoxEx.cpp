#include "ui/msgbox/MessageBoxEx.h"

#include "image/attrtext/AttrText.h"
#include "ui/msgbox/ColorListBox.h"
#include "ui/msgbox/MsgBoxLayout.h"
#include "ui/msgbox/MsgBoxState.h"

#include <algorithm>
#include <atomic>
#include <new>

namespace {

constexpr int kMaxCaption = 128;
constexpr UINT kSystemCaption = 2;  // USER32's "Error"
constexpr int kTabStopDlu = 32;
// MessageBoxExA marks its texts as ANSI with this top byte of the time-out; the low 24 bits stay the time-out.
constexpr DWORD kAnsiTag = 0x65;
constexpr DWORD kTaggedTimeoutMask = 0x00FFFFFF;

std::atomic<DWORD>& Remembered() {
    static std::atomic<DWORD> centre{static_cast<DWORD>(MAKELONG(kNoMsgBoxCentre, kNoMsgBoxCentre))};
    return centre;
}

POINT Unpack(DWORD packed) {
    if (LOWORD(packed) == kNoMsgBoxCentre) return {kNoMsgBoxCentre, kNoMsgBoxCentre};
    return {static_cast<short>(LOWORD(packed)), static_cast<short>(HIWORD(packed))};
}

DWORD Pack(POINT p) { return MAKELONG(static_cast<WORD>(p.x), static_cast<WORD>(p.y)); }

// The record in one form whatever its texts were: texts resolved to UTF-16.
struct Request {
    HWND owner = nullptr;
    HINSTANCE instance = nullptr;
    std::wstring text, caption;
    std::vector<BYTE> attrs;  // empty: read the text's codes
    bool hasAttrs = false;
    UINT style = 0;
    HICON icon = nullptr;
    DWORD helpId = 0;
    MSGBOXCALLBACK helpCallback = nullptr;
    DWORD* position = nullptr;
};

std::wstring Widen(const char* text, int length = -1) {
    const int size = ::MultiByteToWideChar(CP_ACP, 0, text, length, nullptr, 0);
    std::wstring wide(size > 0 ? static_cast<size_t>(size) : 0, L'\0');
    if (size > 0) ::MultiByteToWideChar(CP_ACP, 0, text, length, wide.data(), size);
    if (length < 0 && !wide.empty()) wide.pop_back();  // the NUL
    return wide;
}

// A text given as a pointer or as a string resource id (0 the empty text).
std::wstring ResolveText(HINSTANCE instance, const void* text, bool ansi) {
    if (IS_INTRESOURCE(text)) {
        const UINT id = static_cast<UINT>(reinterpret_cast<ULONG_PTR>(text));
        const wchar_t* resource = nullptr;
        const int length = id ? ::LoadStringW(instance, id, reinterpret_cast<LPWSTR>(&resource), 0) : 0;
        return length > 0 && resource ? std::wstring(resource, static_cast<size_t>(length)) : std::wstring();
    }
    return ansi ? Widen(static_cast<const char*>(text)) : std::wstring(static_cast<const wchar_t*>(text));
}

std::wstring ResolveCaption(HINSTANCE instance, const void* caption, bool ansi) {
    std::wstring text;
    if (!caption) {
        wchar_t buffer[kMaxCaption + 1] = {};
        const int length = ::LoadStringW(::GetModuleHandleA("user32.dll"), kSystemCaption, buffer, kMaxCaption + 1);
        text = length > 0 ? buffer : L"Fehler";
    } else {
        text = ResolveText(instance, caption, ansi);
    }
    return text.substr(0, kMaxCaption);
}

// One attribute per UTF-16 character from one per ANSI byte (a multibyte character takes its first byte's).
std::vector<BYTE> WidenAttrs(const char* text, const BYTE* attrs) {
    std::vector<BYTE> wide;
    for (const char* p = text; *p;) {
        const char* next = ::CharNextA(p);
        if (next == p) break;
        const int count = ::MultiByteToWideChar(CP_ACP, 0, p, static_cast<int>(next - p), nullptr, 0);
        wide.insert(wide.end(), static_cast<size_t>(std::max(count, 0)), attrs[p - text]);
        p = next;
    }
    return wide;
}

Request Resolve(const MSGBOXPARAMSW* record, const BYTE* attributes, bool ansi) {
    const auto* recordA = reinterpret_cast<const MSGBOXPARAMSA*>(record);
    Request r;
    r.owner = record->hwndOwner ? record->hwndOwner : ::GetActiveWindow();
    r.instance = record->hInstance ? record->hInstance : ::GetModuleHandleW(nullptr);
    r.style = record->dwStyle;
    r.text = ResolveText(r.instance, record->lpszText, ansi);
    r.caption = ResolveCaption(r.instance, record->lpszCaption, ansi);
    if (attributes) {
        r.hasAttrs = true;
        if (ansi && !IS_INTRESOURCE(record->lpszText))
            r.attrs = WidenAttrs(recordA->lpszText, attributes);
        else
            r.attrs.assign(attributes, attributes + r.text.size());
        r.attrs.resize(r.text.size(), 0);
    }
    static const LPCWSTR kIcons[] = {nullptr, MAKEINTRESOURCEW(32513), MAKEINTRESOURCEW(32514), MAKEINTRESOURCEW(32515),
                                     MAKEINTRESOURCEW(32516)};  // hand, question, exclamation, asterisk
    const UINT icon = r.style & MB_ICONMASK;
    if (icon >= 0x10 && icon <= 0x40)
        r.icon = ::LoadIconW(nullptr, kIcons[icon >> 4]);
    else if (icon == MB_USERICON)
        r.icon = ansi ? ::LoadIconA(r.instance, recordA->lpszIcon) : ::LoadIconW(r.instance, record->lpszIcon);
    r.helpId = static_cast<DWORD>(record->dwContextHelpId);
    r.helpCallback = record->lpfnMsgBoxCallback;
    if (r.style & kMsgBoxPosition) r.position = const_cast<DWORD*>(&record->dwLanguageId);
    return r;
}

RECT WorkArea(HWND owner) {
    MONITORINFO info = {sizeof info, {}, {}, 0};
    HMONITOR monitor = ::MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST);
    if (monitor && ::GetMonitorInfoW(monitor, &info)) return info.rcWork;
    return {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN) - 32};
}

HFONT CreateMessageFont() {
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return nullptr;
    return ::CreateFontIndirectW(&metrics.lfMessageFont);
}

// The widest button text and the text height, in the message font.
SIZE ButtonTextSize(const std::vector<std::wstring>& texts, HFONT font) {
    HDC dc = ::GetDC(nullptr);
    HGDIOBJ old = font ? ::SelectObject(dc, font) : nullptr;
    SIZE size = {0, 0};
    for (const std::wstring& text : texts) {
        RECT r = {0, 0, 0, 0};
        ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_SINGLELINE);
        size.cx = std::max<LONG>(size.cx, r.right);
        size.cy = std::max<LONG>(size.cy, r.bottom);
    }
    if (old) ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
    return size;
}

BrokenText BreakText(const Request& r, int maxWidth) {
    const std::vector<MsgBoxLine> lines = DecodeMessageText(r.text, r.hasAttrs ? r.attrs.data() : nullptr);
    HDC dc = ::GetDC(nullptr);
    const int interval = MulDiv(kTabStopDlu, LOWORD(::GetDialogBaseUnits()), 4);
    BrokenText broken = BreakMessageLines(lines, maxWidth, [&](const wchar_t* text, const BYTE* attrs, int length) {
        return MeasureTabbedTextW(dc, 0, text, attrs, length, 1, &interval, 0, ColorListFonts());
    });
    ::ReleaseDC(nullptr, dc);
    return broken;
}

void Beep(UINT style) {
    const UINT icon = style & MB_ICONMASK;
    if ((style & kMsgBoxNoBeep) || icon == MB_USERICON) return;
    ::MessageBeep(icon >= 0x10 && icon <= 0x40 ? icon : MB_OK);
}

int Show(const Request& r, int timeout) {
    MsgBoxState s;
    s.owner = r.owner;
    s.helpId = r.helpId;
    s.helpCallback = r.helpCallback;
    s.buttonSet = MsgBoxButtonSet(r.style);
    s.buttons = MsgBoxButtons(r.style);
    const int defaultIndex = MsgBoxDefaultIndex(r.style) < static_cast<int>(s.buttons.size()) ? MsgBoxDefaultIndex(r.style) : 0;
    s.defaultId = s.buttons[static_cast<size_t>(defaultIndex)];
    s.timeout = timeout;
    s.icon = r.icon;
    s.centre = r.position ? Unpack(*r.position) : RememberedMsgBoxCentre();
    s.work = WorkArea(r.owner);
    Beep(r.style);
    s.text = BreakText(r, MsgBoxMaxTextWidth(s.work));
    s.hasTabs = r.text.find(L'\t') != std::wstring::npos;
    s.font = CreateMessageFont();

    MsgBoxTemplateInput in;
    in.exStyle = ((r.style & kMsgBoxTopmost) ? WS_EX_TOPMOST : 0) | ((r.style & kMsgBoxPosition) ? WS_EX_RIGHT : 0);
    in.caption = r.caption;
    for (const MsgBoxLine& line : s.text.lines)
        if (line.marker == MsgBoxMarker::None) in.text += (in.text.empty() ? L"" : L"\r\n") + line.text;
    in.buttons = s.buttons;
    for (int id : s.buttons) in.buttonTexts.push_back(MsgBoxButtonText(id));
    in.defaultIndex = defaultIndex;
    in.hasIcon = r.icon != nullptr;
    in.baseUnits = ::GetDialogBaseUnits();
    MsgBoxMetrics m;
    m.widest = s.text.widest;
    m.lineCount = static_cast<int>(s.text.lines.size());
    m.lineHeight = ColorListLineHeight();
    m.scrolling = s.text.scrolling;
    m.hasIcon = in.hasIcon;
    m.buttonCount = static_cast<int>(s.buttons.size());
    m.buttonText = ButtonTextSize(in.buttonTexts, s.font);
    m.scrollArrowWidth = ::GetSystemMetrics(SM_CXHSCROLL);
    m.work = s.work;
    in.layout = LayOutMessageBox(m);
    s.textInset = {in.layout.text.left - in.layout.textArea.left, in.layout.text.top - in.layout.textArea.top};

    const std::vector<WORD> words = BuildMsgBoxTemplate(in);
    // The dialog manager wants the template on a 4-byte boundary: a heap block is.
    void* block = ::HeapAlloc(::GetProcessHeap(), 0, words.size() * sizeof(WORD));
    int result = 0;
    if (block && RegisterColorListBox()) {
        std::copy(words.begin(), words.end(), static_cast<WORD*>(block));
        result = static_cast<int>(::DialogBoxIndirectParamW(r.instance, static_cast<const DLGTEMPLATE*>(block), r.owner,
                                                            MsgBoxDialogProc, reinterpret_cast<LPARAM>(&s)));
    }
    if (block) ::HeapFree(::GetProcessHeap(), 0, block);
    if (s.font) ::DeleteObject(s.font);
    if (s.centre.x != kNoMsgBoxCentre) {
        SetRememberedMsgBoxCentre(s.centre);
        if (r.position) *r.position = Pack(s.centre);
    }
    return result;
}

int Run(MSGBOXPARAMSW* record, const BYTE* attributes, int timeout, bool ansi) {
    if (!record) return 0;
    try {
        return Show(Resolve(record, attributes, ansi), timeout);
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

}  // namespace

POINT RememberedMsgBoxCentre() { return Unpack(Remembered().load()); }

void SetRememberedMsgBoxCentre(POINT centre) { Remembered() = Pack(centre); }

int MessageBoxEx(MSGBOXPARAMSW* record, const BYTE* attributes, int timeout) {
    bool ansi = record && (record->dwStyle & kMsgBoxAnsi);
    if ((static_cast<DWORD>(timeout) >> 24) == kAnsiTag) {
        ansi = true;
        timeout = static_cast<int>(static_cast<DWORD>(timeout) & kTaggedTimeoutMask);
    }
    return Run(record, attributes, timeout, ansi);
}

int MessageBoxExA(MSGBOXPARAMSA* record, const BYTE* attributes, int timeout) {
    auto* same = reinterpret_cast<MSGBOXPARAMSW*>(record);
    if (!record || (record->dwStyle & (kMsgBoxAnsi | kMsgBoxWideInA))) return MessageBoxEx(same, attributes, timeout);
    // -1 (no time-out) carries no tag; the texts are ANSI all the same.
    if (timeout == -1) return Run(same, attributes, timeout, true);
    // Longer time-outs than the tag leaves room for wait as long as it allows.
    const DWORD wait = std::min<DWORD>(static_cast<DWORD>(timeout), kTaggedTimeoutMask);
    return MessageBoxEx(same, attributes, static_cast<int>((kAnsiTag << 24) | wait));
}
