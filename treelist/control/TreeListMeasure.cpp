// Text widths of items and cells in the font they are drawn in, cached in the records. Laying out many new
// rows guesses widths from the font's character widths instead, and measures only the text that decides.
#include "treelist/control/TreeListLayout.h"

namespace {

int Measure(HDC dc, const char* text, int length) {
    RECT r = {0, 0, 0, 0};
    DrawTextExA(dc, const_cast<char*>(text), length, &r, kMeasureFormat, nullptr);
    return r.right - r.left;
}

void UseFont(HDC dc, HFONT font) {
    // Selecting a font costs more than measuring a short text: only when it changes.
    if (GetCurrentObject(dc, OBJ_FONT) != font) SelectObject(dc, font);
}

// Characters whose widths simply add up: printable ones of a single-byte code page. Control characters
// and the C1 range are laid out by rules of their own.
bool Addable(BYTE c) { return c >= 0x20 && c != 0x7F && (c < 0x80 || c >= 0xA0); }

bool SingleByteCodePage() {
    static const bool single = [] {
        CPINFO info = {};
        return GetCPInfo(CP_ACP, &info) && info.MaxCharSize == 1;
    }();
    return single;
}

// The character widths of a font, trusted when a text of every addable character measures as their sum.
const TreeListData::WidthTable& TableFor(TreeListData* d, HDC dc, HFONT font) {
    TreeListData::WidthTable& t = d->widthTables[font == d->measuredFont ? 0 : 1];
    if (t.font == font) return t;
    t.font = font;
    t.trusted = false;
    UseFont(dc, font);
    INT widths[256];
    if (!SingleByteCodePage() || !GetCharWidth32A(dc, 0, 255, widths)) return t;
    char all[256];
    int n = 0, sum = 0;
    for (int c = 0; c < 256; ++c) {
        t.width[c] = static_cast<USHORT>(widths[c] > 0 && widths[c] < 0x10000 ? widths[c] : 0);
        if (Addable(static_cast<BYTE>(c))) {
            all[n++] = static_cast<char>(c);
            sum += t.width[c];
        }
    }
    t.trusted = Measure(dc, all, n) == sum;
    return t;
}

}  // namespace

int MeasureText(TreeListData* d, UINT state, const char* text, int length) {
    if (length <= 0) return 0;
    HDC dc = GetDC(nullptr);
    if (!dc) return 0;
    HGDIOBJ old = SelectObject(dc, FontFor(d, state));
    const int width = Measure(dc, text, length);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return width;
}

int ItemTextWidth(TreeListData* d, TreeListItem* it) {
    if (it->textWidth <= 0 && it->textLength && !(it->callbacks & kCallbackText))
        it->textWidth = MeasureText(d, it->state, it->text, static_cast<int>(it->textLength));
    return it->textWidth;
}

int CellTextWidth(TreeListData* d, TreeListCell* cell) {
    if (cell && !cell->textWidth && cell->textLength && cell->text && !(cell->callbacks & kCallbackText))
        cell->textWidth = MeasureText(d, cell->state, cell->text, static_cast<int>(cell->textLength));
    return cell ? cell->textWidth : 0;
}

int MeasureItemTextWidth(TreeListData* d, HDC dc, TreeListItem* it, int guess) {
    if (it->textWidth <= 0 && it->textLength) {
        const HFONT font = FontFor(d, it->state);
        UseFont(dc, font);
        it->textWidth = Measure(dc, it->text, static_cast<int>(it->textLength));
        if (guess >= 0 && guess != it->textWidth) d->widthTables[font == d->measuredFont ? 0 : 1].trusted = false;
    }
    return it->textWidth;
}

int GuessItemTextWidth(TreeListData* d, HDC dc, TreeListItem* it, bool* guessed) {
    *guessed = false;
    if (it->textWidth > 0 || !it->textLength) return it->textWidth;
    const TreeListData::WidthTable& t = TableFor(d, dc, FontFor(d, it->state));
    if (t.trusted && it->textWidth < 0) {
        *guessed = true;
        return -it->textWidth;
    }
    if (t.trusted) {
        int sum = 0;
        const auto* p = reinterpret_cast<const BYTE*>(it->text);
        const auto* end = p + it->textLength;
        for (; p < end && Addable(*p); ++p) sum += t.width[*p];
        if (p == end && sum > 0) {
            // Kept as a guess: layout passes over the same rows again and again.
            it->textWidth = -sum;
            *guessed = true;
            return sum;
        }
    }
    return MeasureItemTextWidth(d, dc, it);
}
