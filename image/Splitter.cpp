// Sizing-border hit test; splitter bars and grips.
#include "image/Splitter.h"

namespace {

bool Inside(const RECT& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

RECT Inflated(const RECT& r, int by) { return {r.left - by, r.top - by, r.right + by, r.bottom + by}; }

// Where the grip starts along the bar.
int GripStart(int length, uint32_t position) {
    const int offset = (int16_t)(position & 0xffff);
    switch ((position >> 16) & 3) {
    case 1: return length / 2 + offset - 9;
    case 2: return offset + length - 19;
    default: return offset;
    }
}

// Each channel halved on its own, so no channel spills into the next.
COLORREF Half(COLORREF c) { return (c >> 1) & 0x7f7f7f; }
COLORREF Quarter(COLORREF c) { return (c >> 2) & 0x3f3f3f; }

void Fill(HDC dc, bool transpose, int left, int top, int right, int bottom, COLORREF colour) {
    const RECT r = transpose ? RECT{top, left, bottom, right} : RECT{left, top, right, bottom};
    SetBkColor(dc, colour);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

COLORREF DrawGrip(HDC dc, int x, int length, uint32_t position, bool transpose) {
    const COLORREF s = GetSysColor(COLOR_BTNSHADOW), l = GetSysColor(COLOR_3DLIGHT);
    const COLORREF c1 = Half(s) + Quarter(s);
    const COLORREF c2 = Half(l) + Half(c1);
    const COLORREF c3 = Half(c1) + 0x7f7f7f;
    const COLORREF c4 = Half(c1) + Half(s);
    const int t = GripStart(length, position);
    const COLORREF old = GetBkColor(dc);
    Fill(dc, transpose, x + 1, t, x + 6, t + 19, c1);
    Fill(dc, transpose, x + 2, t - 1, x + 5, t, c2);
    Fill(dc, transpose, x + 2, t + 19, x + 5, t + 20, c2);
    Fill(dc, transpose, x + 1, t + 19, x + 2, t + 20, c3);
    Fill(dc, transpose, x + 1, t - 1, x + 2, t, c3);
    Fill(dc, transpose, x + 5, t - 1, x + 6, t, c4);
    Fill(dc, transpose, x + 5, t + 19, x + 6, t + 20, c4);
    const bool forward = (position >> 18) & 3;
    const int a = forward ? x + 2 : x + 4, d = forward ? 1 : -1;
    Fill(dc, transpose, a, t + 7, a + 1, t + 12, l);
    Fill(dc, transpose, a + d, t + 8, a + d + 1, t + 11, l);
    Fill(dc, transpose, a + 2 * d, t + 9, a + 2 * d + 1, t + 10, l);
    SetBkColor(dc, old);
    return old;
}

} // namespace

int HitTestBorder(const RECT& rect, int x, int y, int border, int disabled, HCURSOR* cursor) {
    if (cursor) *cursor = nullptr;
    if (border > 0 && !(Inside(rect, x, y) && !Inside(Inflated(rect, -border), x, y))) return kBorderNone;
    if (border < 0 && !(Inside(Inflated(rect, -border), x, y) && !Inside(Inflated(rect, border), x, y)))
        return kBorderNone;
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    const int zoneX = width < 40 ? width / 2 : 20, zoneY = height < 40 ? height / 2 : 20;
    const int dx = x - rect.left, dy = y - rect.top;
    const int column = dx < zoneX ? 0 : dx >= width - zoneX ? 2 : 1;
    static const int kTop[3] = {kBorderTopLeft, kBorderTop, kBorderTopRight};
    static const int kBottom[3] = {kBorderBottomLeft, kBorderBottom, kBorderBottomRight};
    static const int kMiddle[3] = {kBorderLeft, kBorderNone, kBorderRight};
    const int code = (dy < zoneY ? kTop : dy >= height - zoneY ? kBottom : kMiddle)[column] & ~disabled;
    if (cursor) {
        LPCSTR id = nullptr;
        switch (code) {
        case kBorderLeft:
        case kBorderRight: id = IDC_SIZEWE; break;
        case kBorderTop:
        case kBorderBottom: id = IDC_SIZENS; break;
        case kBorderTopLeft:
        case kBorderBottomRight: id = IDC_SIZENWSE; break;
        case kBorderTopRight:
        case kBorderBottomLeft: id = IDC_SIZENESW; break;
        }
        if (id) *cursor = LoadCursorA(nullptr, id);
    }
    return code;
}

COLORREF DrawSplitterGripV(HDC dc, int across, int length, uint32_t position) {
    return DrawGrip(dc, across, length, position, false);
}

COLORREF DrawSplitterGripH(HDC dc, int across, int length, uint32_t position) {
    return DrawGrip(dc, across, length, position, true);
}

int DrawSplitterBar(HDC dc, int across, int length, int horizontal) {
    return DrawSplitterBarAt(0, dc, across, length, horizontal);
}

int DrawSplitterBarAt(int start, HDC dc, int across, int length, int horizontal) {
    struct Layer {
        int from, to;
        HBRUSH brush;
    };
    const int p = across;
    const Layer layers[] = {
        {p, p + 2, GetSysColorBrush(COLOR_3DLIGHT)},  {p + 1, p + 3, (HBRUSH)GetStockObject(WHITE_BRUSH)},
        {p + 2, p + 8, GetSysColorBrush(COLOR_BTNFACE)}, {p + 5, p + 7, GetSysColorBrush(COLOR_BTNSHADOW)},
        {p + 6, p + 8, (HBRUSH)GetStockObject(BLACK_BRUSH)},
    };
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    HGDIOBJ oldBrush = SelectObject(dc, layers[0].brush);
    for (const Layer& layer : layers) {
        SelectObject(dc, layer.brush);
        if (horizontal) Rectangle(dc, start, layer.from, start + length + 1, layer.to);
        else Rectangle(dc, layer.from, start, layer.to, start + length + 1);
    }
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    return 7;
}

int HitTestSplitterGrip(int across, int length, uint32_t position, int pointAcross, int pointAlong) {
    const int start = GripStart(length, position);
    return pointAcross >= across && pointAcross <= across + 6 && pointAlong >= start && pointAlong <= start + 18;
}
