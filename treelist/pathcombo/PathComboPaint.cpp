// CPathComboBox: painting of the breadcrumb and of the combo's list entries.
#include "treelist/pathcombo/PathComboBox.h"

#include "system/SystemIcons.h"
#include "system/SystemInfo.h"
#include "treelist/pathcombo/PathComboShared.h"
#include "treelist/shared/FolderWidgetLook.h"

namespace {

enum : int { kStateNormal = 1, kStateHot = 2, kStatePressed = 3 };
enum : int { kPartItem = 1, kPartItemLeft = 2 };

void Fill(HDC dc, const RECT& r, int colour) { ::FillRect(dc, &r, ::GetSysColorBrush(colour)); }

void FrameBlack(HDC dc, const RECT& r) { ::FrameRect(dc, &r, (HBRUSH)::GetStockObject(BLACK_BRUSH)); }

void DrawGlyph(HDC dc, const RECT& r, const char* glyph, COLORREF colour) {
    HGDIOBJ old = ::SelectObject(dc, GetPathComboShared().marlett);
    ::SetTextColor(dc, colour);
    RECT box = r;
    ::DrawTextA(dc, glyph, 1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX);
    ::SelectObject(dc, old);
}

}  // namespace

void CPathComboBox::OnPaint() {
    if (!BreadcrumbShown()) {
        Default();
        return;
    }
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    if (m_clientWidth >= 1 && m_clientHeight >= 1) {
        // Drawn off-screen, then copied in one go.
        HDC memory = ::CreateCompatibleDC(dc);
        HBITMAP bitmap = ::CreateCompatibleBitmap(dc, m_clientWidth, m_clientHeight);
        HGDIOBJ oldBitmap = ::SelectObject(memory, bitmap);
        PaintBreadcrumb(memory);
        ::BitBlt(dc, 0, 0, m_clientWidth, m_clientHeight, memory, 0, 0, SRCCOPY);
        ::SelectObject(memory, oldBitmap);
        ::DeleteObject(bitmap);
        ::DeleteDC(memory);
    }
    ::EndPaint(m_hWnd, &ps);
}

void CPathComboBox::PaintBreadcrumb(HDC dc) {
    const FolderWidgetLook& look = GetFolderWidgetLook();
    const RECT client = {0, 0, m_clientWidth, m_clientHeight};
    Fill(dc, client, COLOR_WINDOW);
    if (m_pathIcon >= 0 && look.images)
        ImageList_Draw(look.images, m_pathIcon, dc, 3, (m_clientHeight - look.imageHeight) / 2, ILD_TRANSPARENT);
    ::SetBkMode(dc, TRANSPARENT);
    const int saved = ::SaveDC(dc);
    ::IntersectClipRect(dc, Frame().LayoutLeft(), 0, m_buttonLeft, m_clientHeight);
    for (int code = m_layout.firstVisible; code <= m_layout.lastVisible; ++code) {
        int left, right;
        PositionSpan(m_layout, Frame(), code, &left, &right);
        if (left >= m_buttonLeft) break;
        const RECT r = {left, 1, right, m_clientHeight - 1};
        PaintPosition(dc, code, r);
    }
    ::RestoreDC(dc, saved);
    PaintButton(dc, {m_buttonLeft, 0, m_buttonRight, m_clientHeight});
    if (!m_theme) FrameBlack(dc, client);
}

void CPathComboBox::PaintFrame(HDC dc, const RECT& r, int state, int part) {
    const PathComboShared& shared = GetPathComboShared();
    if (m_theme && shared.drawThemeBackground) {
        shared.drawThemeBackground(m_theme, dc, part, state == kStateNormal ? kStateNormal : kStateHot, &r, nullptr);
        return;
    }
    if (state == kStatePressed) {
        Fill(dc, r, COLOR_HIGHLIGHT);
    } else if (state == kStateHot) {
        Fill(dc, r, COLOR_WINDOW);
        FrameBlack(dc, r);
    }
}

void CPathComboBox::PaintPosition(HDC dc, int code, const RECT& r) {
    const bool arrow = !(code & 1);
    const bool open = arrow && m_popupOpen && m_openLevel == code / 2;
    const int state = (code == m_pressed || open) ? kStatePressed : code == m_hot ? kStateHot : kStateNormal;
    PaintFrame(dc, r, state, arrow ? kPartItemLeft : kPartItem);
    const bool inverted = state == kStatePressed && !m_theme;
    const COLORREF colour = ::GetSysColor(inverted ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
    if (arrow) {
        DrawGlyph(dc, r, open ? "6" : "4", colour);
    } else {
        const int segment = (code - 1) / 2;
        HGDIOBJ old = ::SelectObject(dc, GetFolderWidgetLook().font);
        ::SetTextColor(dc, colour);
        RECT box = r;
        ::DrawTextA(dc, m_state.path + m_state.segStart[segment], m_state.segLength[segment], &box,
                    DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX);
        ::SelectObject(dc, old);
    }
    if (code == m_focusPos && ::GetFocus() == m_hWnd) {
        RECT focus = r;
        ::InflateRect(&focus, -1, -1);
        ::DrawFocusRect(dc, &focus);
    }
}

void CPathComboBox::PaintButton(HDC dc, const RECT& r) {
    const PathComboShared& shared = GetPathComboShared();
    RECT glyph = r;
    if (m_hotState == kStatePressed) ::OffsetRect(&glyph, 0, 2);
    if (m_theme && shared.drawThemeBackground) {
        if (m_hotState == kStateNormal) shared.drawThemeBackground(m_theme, dc, kPartItemLeft, kStateNormal, &r, nullptr);
        else shared.drawThemeBackground(m_theme, dc, kPartItem, m_hotState, &r, nullptr);
    } else {
        PaintFrame(dc, r, m_hotState, kPartItem);
    }
    const bool inverted = m_hotState == kStatePressed && !m_theme;
    DrawGlyph(dc, glyph, "6", ::GetSysColor(inverted ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
}

// ---- The combo's list entries ----

void CPathComboBox::MeasureItem(LPMEASUREITEMSTRUCT item) { item->itemHeight = (UINT)GetFolderWidgetLook().rowHeight; }

int PathEntryIcon(const char* text) {
    const int folderIcon = GetFolderWidgetLook().folderIcon;
    char path[kPathBufferSize];
    int length = lstrlenA(lstrcpynA(path, text, sizeof path));
    if (length > 1 && (path[length - 1] == '\\' || path[length - 1] == '/')) path[--length] = 0;
    int icon = -1;
    if (IsBareDrive(path)) {
        icon = GetDriveIconIndex(path[0], TRUE);
    } else if (length > 2 && path[1] == ':' && (char)(path[0] & ~0x20) != GetSystemDriveLetter()) {
        icon = folderIcon;  // other drives are not touched for an icon
    } else {
        SHFILEINFOA info = {};
        if (::SHGetFileInfoA(path, 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON)) icon = info.iIcon;
    }
    return icon >= 0 ? icon : folderIcon;
}

void CPathComboBox::DrawItem(LPDRAWITEMSTRUCT item) {
    if (item->itemID == (UINT)-1) return;
    const FolderWidgetLook& look = GetFolderWidgetLook();
    char text[kPathBufferSize] = {};
    const LRESULT length = DefWindowProc(CB_GETLBTEXTLEN, item->itemID, 0);
    if (length >= 0 && length < kPathBufferSize) DefWindowProc(CB_GETLBTEXT, item->itemID, (LPARAM)text);
    HDC dc = item->hDC;
    const RECT& r = item->rcItem;
    const bool selected = (item->itemState & ODS_SELECTED) != 0;
    ::SetBkColor(dc, selected ? SelectedRowColour(::GetSysColor(COLOR_HIGHLIGHT), ::GetSysColor(COLOR_WINDOW))
                              : ::GetSysColor(COLOR_WINDOW));
    ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
    HGDIOBJ old = ::SelectObject(dc, look.font);
    TEXTMETRICA tm = {};
    ::GetTextMetricsA(dc, &tm);
    const int y = r.top + (r.bottom - r.top - tm.tmHeight) / 2;
    ::ExtTextOutA(dc, r.left + look.imageWidth + 4, y, ETO_OPAQUE, &r, text, (UINT)lstrlenA(text), nullptr);
    ::SelectObject(dc, old);
    if (look.images) ImageList_Draw(look.images, PathEntryIcon(text), dc, r.left + 2, r.top + 1, ILD_TRANSPARENT);
}
