// Fonts and row height: the control's font (or the toolkit's UI font), a bold font beside it, their metrics
// and the width of "...", and the row height derived from the font and the image lists.
#include "treelist/control/TreeListLayout.h"

#include "image/FontCache.h"

#include <algorithm>

namespace {

// Window style bit 0x4000 (the tree view's "non-even height" bit) makes this control round an odd row height
// up to even.
constexpr DWORD kStyleEvenRowHeight = 0x4000;

struct DefaultFonts {
    HFONT normal, bold;
};

// The process-wide default pair, fetched by the first window that sets up its fonts.
const DefaultFonts& Defaults() {
    static const DefaultFonts fonts = {GetUiFont(0), GetUiFont(1)};
    return fonts;
}

int EllipsisWidth(HDC dc, HFONT font) {
    SelectObject(dc, font);
    SIZE size = {0, 0};
    int fit = 0;
    GetTextExtentExPointA(dc, "...", 3, 256, &fit, nullptr, &size);
    return size.cx;
}

HFONT MakeBoldFont(HDC dc, const TEXTMETRICA& tm) {
    LOGFONTA lf = {};
    GetTextFaceA(dc, LF_FACESIZE, lf.lfFaceName);
    lf.lfHeight = tm.tmHeight;
    lf.lfWidth = tm.tmAveCharWidth;
    lf.lfEscapement = 0;  // a slant of 0.1 degrees would tilt the text
    lf.lfWeight = FW_BOLD;
    lf.lfItalic = tm.tmItalic;
    lf.lfUnderline = tm.tmUnderlined;
    lf.lfStrikeOut = tm.tmStruckOut;
    lf.lfCharSet = tm.tmCharSet;
    lf.lfOutPrecision = OUT_DEVICE_PRECIS;
    lf.lfPitchAndFamily = tm.tmPitchAndFamily;
    return CreateFontIndirectA(&lf);
}

}  // namespace

HFONT FontFor(const TreeListData* d, UINT state) { return (state & TVIS_BOLD) ? d->boldFont : d->measuredFont; }

void ClearTextWidths(TreeListData* d) {
    for (auto& table : d->widthTables) table.font = nullptr;
    for (UINT h = 1; h <= d->tableSize; ++h) {
        if (!d->items[h]) continue;
        d->items[h]->textWidth = 0;
        for (int c = 1; c < d->columnCount; ++c)
            if (d->cells[c] && d->cells[c][h]) d->cells[c][h]->textWidth = 0;
    }
}

int SetUpTreeListFonts(TreeListData* d) {
    const DefaultFonts& defaults = Defaults();
    const HFONT font = d->font ? d->font : defaults.normal;
    HDC dc = GetDC(nullptr);
    if (!dc) return 0;
    HGDIOBJ oldFont = SelectObject(dc, font);
    int changed = 0;
    if (font != d->measuredFont) {
        d->measuredFont = font;
        TEXTMETRICA tm = {};
        GetTextMetricsA(dc, &tm);
        d->textHeight = tm.tmHeight;
        d->ascentPlus1 = tm.tmAscent + 1;
        d->pitchFix = (tm.tmPitchAndFamily & TMPF_FIXED_PITCH) ? 0 : -1;
        if (font != defaults.normal) {
            if (d->ownBoldFont) DeleteObject(d->ownBoldFont);
            d->ownBoldFont = MakeBoldFont(dc, tm);
        }
        ClearTextWidths(d);
        changed = 1;
    }
    if (font == defaults.normal)
        d->boldFont = defaults.bold ? defaults.bold : font;
    else
        d->boldFont = d->ownBoldFont ? d->ownBoldFont : font;
    d->ellipsisWidth = EllipsisWidth(dc, font);
    d->boldEllipsisWidth = EllipsisWidth(dc, d->boldFont);
    SelectObject(dc, oldFont);
    ReleaseDC(nullptr, dc);
    return changed;
}

void ComputeVisibleRows(TreeListData* d) {
    const int room = d->clientHeight - d->headerHeight;
    const int h = std::max(d->rowHeight, 1);
    d->rowsTouched = room > 0 ? static_cast<UINT>((room + h - 1) / h) : 0;
    d->wholeRows = room > 0 ? static_cast<UINT>(room / h) : 0;
}

int ComputeRowHeight(TreeListData* d) {
    if (d->rowHeightSet) return 0;
    int h = 8;
    for (int kind : {kImagesState2, kImagesState, kImagesCell, kImagesItem})
        if (HasImages(d, kind)) h = std::max(h, static_cast<int>(d->imageSize[kind].cy));
    h += (d->exStyle & (TLX_GRIDLINES | TLX_ALTERNATEROWS)) ? 2 : 1;
    h = std::max({h, d->textHeight + 3, static_cast<int>(static_cast<signed char>(d->options[TLO_MINROWHEIGHT]))});
    if (d->exStyle & TLX_GRIDLINES) ++h;
    if ((d->style & kStyleEvenRowHeight) && (h & 1)) ++h;
    if (h == d->rowHeight) return 0;
    d->rowHeight = h;
    ComputeVisibleRows(d);
    if (!d->redrawOff) InvalidateRect(d->window, nullptr, FALSE);
    return 1;
}
