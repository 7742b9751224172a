#include "ui/msgbox/ColorListBox.h"

#include "image/FontCache.h"
#include "image/attrtext/AttrText.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr int kTextIndent = 4;
constexpr int kWheelLines = 3;

struct Line {
    std::wstring text;
    std::vector<BYTE> attrs;
    int height = 0;
    int markerWidth = 0;
    int marker = kColorListText;
};

struct ListState {
    std::vector<Line> lines;
    int top = 0;
    int tabInterval = 0;  // pixels; 0 the default
    LPARAM flags = 0;
};

ListState* StateOf(HWND hwnd) { return reinterpret_cast<ListState*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA)); }

int ClientHeight(HWND hwnd) {
    RECT r;
    ::GetClientRect(hwnd, &r);
    return r.bottom - r.top;
}

// How many lines from `first` fit into the window (at least one).
int LinesThatFit(const ListState& s, HWND hwnd, int first) {
    int height = ClientHeight(hwnd), count = 0;
    for (int i = first; i < static_cast<int>(s.lines.size()) && height >= s.lines[i].height; ++i, ++count)
        height -= s.lines[i].height;
    return std::max(count, 1);
}

// The first line that shows the list's end.
int LastTop(const ListState& s, HWND hwnd) {
    int height = ClientHeight(hwnd), top = static_cast<int>(s.lines.size());
    while (top > 0 && height >= s.lines[top - 1].height) height -= s.lines[--top].height;
    return top;
}

void UpdateScrollBar(HWND hwnd, const ListState& s) {
    SCROLLINFO si = {sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
    const int lastTop = LastTop(s, hwnd);
    si.nMax = lastTop > 0 ? static_cast<int>(s.lines.size()) - 1 : 0;
    si.nPage = lastTop > 0 ? static_cast<UINT>(s.lines.size() - static_cast<size_t>(lastTop)) : 1;
    si.nPos = s.top;
    ::SetScrollInfo(hwnd, SB_VERT, &si, TRUE);
}

void ScrollTo(HWND hwnd, ListState& s, int top) {
    top = std::clamp(top, 0, LastTop(s, hwnd));
    if (top == s.top) return;
    s.top = top;
    UpdateScrollBar(hwnd, s);
    ::InvalidateRect(hwnd, nullptr, TRUE);
}

void DrawTextLine(HDC dc, const ListState& s, const Line& line, const RECT& cell) {
    const HFONT* fonts = ColorListFonts();
    const BYTE* attrs = line.attrs.empty() ? nullptr : line.attrs.data();
    const int interval = s.tabInterval;
    size_t start = 0;
    while (start <= line.text.size()) {
        size_t end = line.text.find(L'\t', start);
        if (end == std::wstring::npos) end = line.text.size();
        const int x = cell.left + (start ? MeasureTabbedTextW(dc, 0, line.text.c_str(), attrs, static_cast<int>(start), 1,
                                                              &interval, 0, fonts)
                                         : 0);
        RECT r = {x, cell.top, cell.right, cell.bottom};
        if (end > start)
            DrawAttrTextW(dc, line.text.c_str() + start, static_cast<int>(end - start), &r, DT_LEFT | DT_TOP | DT_NOPREFIX,
                          attrs ? attrs + start : nullptr, DefaultTextColorTable(), fonts);
        start = end + 1;
    }
}

void DrawMarker(HDC dc, const Line& line, const RECT& cell) {
    RECT r = cell;
    if (line.markerWidth > 0) r.right = std::min<LONG>(r.right, r.left + line.markerWidth);
    if (line.marker == kColorListSeparator) {
        r.top = (cell.top + cell.bottom) / 2 - 1;
        r.bottom = r.top + 2;
        ::DrawEdge(dc, &r, EDGE_ETCHED, BF_TOP);
    } else {
        r.bottom = r.top + 1;
        ::FillRect(dc, &r, ::GetSysColorBrush(COLOR_WINDOWTEXT));
    }
}

void Paint(HWND hwnd, const ListState& s) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(hwnd, &ps);
    RECT client;
    ::GetClientRect(hwnd, &client);
    ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_WINDOW));
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
    int y = client.top;
    for (size_t i = static_cast<size_t>(s.top); i < s.lines.size() && y < client.bottom; ++i) {
        const Line& line = s.lines[i];
        const RECT cell = {client.left + kTextIndent, y, client.right, y + line.height};
        if (line.marker == kColorListText)
            DrawTextLine(dc, s, line, cell);
        else
            DrawMarker(dc, line, cell);
        y += line.height;
    }
    ::SetTextColor(dc, oldColour);
    ::SetBkMode(dc, oldMode);
    ::EndPaint(hwnd, &ps);
}

void AddLine(HWND hwnd, ListState& s, const ColorListLine* record) {
    if (!record) return;
    Line line;
    const int length = record->text ? std::max(record->length, 0) : 0;
    line.text.assign(record->text ? record->text : L"", static_cast<size_t>(length));
    if (record->attrs) line.attrs.assign(record->attrs, record->attrs + length);
    line.height = record->height > 12 ? record->height : ColorListLineHeight();
    line.markerWidth = record->markerWidth;
    line.marker = record->marker;
    s.lines.push_back(std::move(line));
    UpdateScrollBar(hwnd, s);
    ::InvalidateRect(hwnd, nullptr, TRUE);
}

LRESULT GetText(const ListState& s, WPARAM index, LPARAM buffer) {
    if (index >= s.lines.size()) return LB_ERR;
    const std::wstring& text = s.lines[index].text;
    if (buffer) std::copy(text.c_str(), text.c_str() + text.size() + 1, reinterpret_cast<wchar_t*>(buffer));
    return static_cast<LRESULT>(text.size());
}

int ScrollTarget(HWND hwnd, const ListState& s, WPARAM code) {
    switch (LOWORD(code)) {
    case SB_LINEUP: return s.top - 1;
    case SB_LINEDOWN: return s.top + 1;
    case SB_PAGEUP: return s.top - LinesThatFit(s, hwnd, s.top);
    case SB_PAGEDOWN: return s.top + LinesThatFit(s, hwnd, s.top);
    case SB_TOP: return 0;
    case SB_BOTTOM: return static_cast<int>(s.lines.size());
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO si = {sizeof si, SIF_TRACKPOS, 0, 0, 0, 0, 0};
        ::GetScrollInfo(hwnd, SB_VERT, &si);
        return si.nTrackPos;
    }
    default: return s.top;
    }
}

WPARAM ScrollCodeOfKey(WPARAM key) {
    switch (key) {
    case VK_UP: return SB_LINEUP;
    case VK_DOWN: return SB_LINEDOWN;
    case VK_PRIOR: return SB_PAGEUP;
    case VK_NEXT: return SB_PAGEDOWN;
    case VK_HOME: return SB_TOP;
    case VK_END: return SB_BOTTOM;
    default: return SB_ENDSCROLL;
    }
}

LRESULT CALLBACK ColorListProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    ListState* s = StateOf(hwnd);
    switch (msg) {
    case WM_NCCREATE:
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new ListState));
        break;
    case WM_NCDESTROY:
        delete s;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        break;
    }
    if (!s) return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    switch (msg) {
    case kColorListReset:
        s->lines.clear();
        s->top = 0;
        s->flags = lParam;
        UpdateScrollBar(hwnd, *s);
        ::InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case kColorListAddLine:
        if (wParam & kColorListWide) AddLine(hwnd, *s, reinterpret_cast<const ColorListLine*>(lParam));
        return static_cast<LRESULT>(s->lines.size()) - 1;
    case LB_SETTABSTOPS:
        s->tabInterval = wParam >= 1 && lParam ? MulDiv(*reinterpret_cast<const int*>(lParam), LOWORD(::GetDialogBaseUnits()), 4) : 0;
        return TRUE;
    case LB_GETCOUNT: return static_cast<LRESULT>(s->lines.size());
    case LB_GETTEXTLEN: return GetText(*s, wParam, 0);
    case LB_GETTEXT: return GetText(*s, wParam, lParam);
    case LB_GETTOPINDEX: return s->top;
    case WM_PAINT: Paint(hwnd, *s); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SIZE: UpdateScrollBar(hwnd, *s); ScrollTo(hwnd, *s, s->top); return 0;
    case WM_VSCROLL: ScrollTo(hwnd, *s, ScrollTarget(hwnd, *s, wParam)); return 0;
    case WM_MOUSEWHEEL:
        ScrollTo(hwnd, *s, s->top - GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA * kWheelLines);
        return 0;
    case WM_KEYDOWN:
        if (ScrollCodeOfKey(wParam) != SB_ENDSCROLL) ScrollTo(hwnd, *s, ScrollTarget(hwnd, *s, ScrollCodeOfKey(wParam)));
        return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

bool RegisterColorListBox() {
    static const bool registered = [] {
        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof wc;
        wc.style = CS_DBLCLKS | CS_GLOBALCLASS;
        wc.lpfnWndProc = ColorListProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = L"ColorListBox";
        return ::RegisterClassExW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    return registered;
}

const HFONT* ColorListFonts() {
    static const HFONT fonts[4] = {GetUiFont(0), GetUiFont(1), GetUiFont(2), GetUiFont(3)};
    return fonts;
}

int ColorListLineHeight() {
    int height = 0;
    for (int style = 0; style < 4; ++style) {
        int h = 0;
        GetUiFontMetrics(nullptr, &h, style);
        height = std::max(height, h);
    }
    return height > 0 ? height : 16;
}
