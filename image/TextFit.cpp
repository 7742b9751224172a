// Text widths and path shortening.
#include "image/TextFit.h"

#include <algorithm>
#include <cstring>

namespace {

int MeasureOnDC(HDC dc, const char* text, int length, int* height) {
    SIZE size = {0, 0};
    const bool ok = dc && GetTextExtentPointA(dc, text, length, &size);
    if (height) *height = ok ? size.cy : 0;
    return ok ? size.cx : 0;
}

int MeasureWithFont(HDC dc, HFONT font, const char* text, int length, int* height) {
    if (length < 0) length = lstrlenA(text);
    HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
    const int width = MeasureOnDC(dc, text, length, height);
    if (old) SelectObject(dc, old);
    return width;
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

int WidthOf(const char* text, int length, const uint8_t* table) {
    if (!table) return length;
    int width = 0;
    for (int i = 0; i < length; ++i) width += table[(uint8_t)text[i]];
    return width;
}

// Copies at most outSize - 1 characters of the pieces in order and terminates; returns the length.
int WritePieces(char* out, int outSize, std::initializer_list<std::pair<const char*, int>> pieces) {
    int written = 0;
    for (auto [text, length] : pieces) {
        const int n = std::min(length, outSize - 1 - written);
        if (n <= 0) break;
        memcpy(out + written, text, n);
        written += n;
    }
    out[written] = 0;
    return written;
}

} // namespace

int GetTextWidthFont(const char* text, HFONT font, int length, int* height) {
    if (height) *height = 0;
    if (!text) return 0;
    HDC dc = GetDC(nullptr);
    const int width = MeasureWithFont(dc, font, text, length, height);
    ReleaseDC(nullptr, dc);
    return width;
}

int GetTextWidthWnd(const char* text, HWND window, int length, int* height) {
    if (height) *height = 0;
    if (!text) return 0;
    HDC dc = GetDC(window);
    const int width = MeasureWithFont(dc, (HFONT)SendMessageA(window, WM_GETFONT, 0, 0), text, length, height);
    ReleaseDC(window, dc);
    return width;
}

int TextWidthFromTable(const char* text, const uint8_t* table, int length) {
    if (!text || length < 1) return 0;
    int width = 0;
    for (int i = 0; i < length && text[i] && text[i] != '\n' && text[i] != '\r'; ++i)
        width += table ? table[(uint8_t)text[i]] : 1;
    return width;
}

int GetCharWidthTableDC(HDC dc, uint8_t table[256]) {
    INT widths[256] = {};
    GetCharWidth32A(dc, 0, 255, widths);
    for (int i = 0; i < 256; ++i) table[i] = (uint8_t)widths[i];
    return 256;
}

int GetCharWidthTableFont(uint8_t table[256], HFONT font) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    GetCharWidthTableDC(dc, table);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return 256;
}

int GetCharWidthTableStock(uint8_t table[256], int stockObject) {
    return GetCharWidthTableFont(table, (HFONT)GetStockObject(stockObject == -1 ? ANSI_VAR_FONT : stockObject));
}

int CompactPathToWidth(const char* path, char* out, int outSize, int maxWidth, const uint8_t* table, int headCount) {
    if (outSize < 2 || !path) {
        if (outSize >= 1) out[0] = 0;
        return 0;
    }
    const int length = lstrlenA(path);
    // A path that fits needs no shortening.
    if (WidthOf(path, length, table) <= maxWidth) return WritePieces(out, outSize, {{path, length}});

    // The root: up to two leading separators, then up to and including the next separator (and a
    // second one right behind it), as in "C:\" and "\\server\".
    int root = 0;
    while (root < 2 && IsSeparator(path[root])) ++root;
    while (root < length && !IsSeparator(path[root])) ++root;
    if (root < length) ++root;
    if (root < length && IsSeparator(path[root])) ++root;
    if (root >= length) return WritePieces(out, outSize, {{path, length}});

    // Component boundaries: bounds[0] is the end of the root, each component ends after its separator.
    constexpr int kMaxComponents = 31;
    int bounds[kMaxComponents + 1];
    int count = 0;
    bounds[0] = root;
    for (int at = root; at < length && count < kMaxComponents;) {
        int end = at;
        if (count == kMaxComponents - 1) {
            end = length; // the last one takes the rest
        } else {
            while (end < length && !IsSeparator(path[end])) ++end;
            if (end < length) ++end;
        }
        // A final lone separator belongs to the component before it.
        if (end == length && end - at == 1 && IsSeparator(path[at]) && count > 0) {
            bounds[count] = end;
            break;
        }
        bounds[++count] = end;
        at = end;
    }

    const int lastStart = bounds[count - 1];
    const int ellipsis = table ? 3 * table['.'] + table['\\'] : 4;
    // The root and the last component always stay, so they come off the budget first.
    int budget = maxWidth - WidthOf(path + lastStart, length - lastStart, table) - ellipsis - WidthOf(path, root, table);
    int front = 0, back = count - 1, keptFront = 0;
    while (front < back && budget >= 1) {
        const bool takeFront = keptFront < headCount;
        const int from = takeFront ? bounds[front] : bounds[back - 1];
        const int to = takeFront ? bounds[front + 1] : bounds[back];
        const int width = WidthOf(path + from, to - from, table);
        if (width <= budget) {
            if (takeFront) ++front, ++keptFront;
            else --back;
        }
        budget -= width;
    }
    // Nothing left out, or nothing worth the ellipsis: the whole path.
    if (front >= back || WidthOf(path + bounds[front], bounds[back] - bounds[front], table) <= ellipsis)
        return WritePieces(out, outSize, {{path, length}});
    return WritePieces(out, outSize, {{path, bounds[front]}, {"...\\", 4}, {path + bounds[back], length - bounds[back]}});
}

int CompactPathInText(const char* path, char* out, int outSize, int maxWidth, const uint8_t* table, int headCount,
                      const char* prefix, const char* suffix, int suffixLength, int prefixLength) {
    int prefixPart = prefixLength;
    if (prefix && path >= prefix && path < prefix + prefixLength) prefixPart = (int)(path - prefix);
    const int taken = TextWidthFromTable(prefix, table, prefixPart) + TextWidthFromTable(suffix, table, suffixLength);
    return CompactPathToWidth(path, out, outSize, maxWidth - taken, table, headCount);
}
