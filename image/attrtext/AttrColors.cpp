// Attribute colours: the default table and the choice of text, background and underline colours.
#include "image/attrtext/AttrTextDetail.h"

namespace {

// 0x00BBGGRR.
const COLORREF kDefaultTable[kAttrColourCount] = {
    0x00C0C0, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0x808080,
    0xC0C0C0, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0x8080FF,
    0x404040, 0x400000, 0x004000, 0x404000, 0x000040, 0xFF0080, 0xC00040, 0xC00000,
    0x000000, 0xDEDEDE, 0xFFC8C8, 0xC0FFC0, 0xFFFF9B, 0xFFC0FF, 0xFFFFFF, 0x80FFFF,
};

const COLORREF* TableOr(const COLORREF* table) { return table ? table : kDefaultTable; }

} // namespace

const COLORREF* DefaultTextColorTable() { return kDefaultTable; }

namespace attrtext {

int TextIndexBits(UINT flags) { return 5 - (int)((flags >> 28) & 3); }

bool HasBackgroundPart(UINT flags) { return TextIndexBits(flags) < 5; }

TextAttr BackgroundBits(UINT flags) { return (TextAttr)(0x1F & ~((1u << TextIndexBits(flags)) - 1)); }

COLORREF AttrTextColour(UINT flags, TextAttr attr, const COLORREF* table, COLORREF dcColour) {
    const int index = attr & ((1 << TextIndexBits(flags)) - 1);
    if (index == 0 && !(flags & kAttrDefaultFromTable)) return dcColour;
    return TableOr(table)[index];
}

COLORREF AttrBkColour(UINT flags, TextAttr attr, const COLORREF* table, COLORREF dcColour) {
    const int b = (attr & 0x1F) >> TextIndexBits(flags);
    return b == 0 ? dcColour : TableOr(table)[kAttrColourCount - b];
}

COLORREF UnderlineColour(UINT flags, TextAttr attr, const COLORREF* table, COLORREF dcColour) {
    if (flags & kAttrUnderlineFromTable) return TableOr(table)[15];
    return AttrTextColour(flags, attr, table, dcColour);
}

} // namespace attrtext

COLORREF SetAttrBkColor(HDC dc, UINT flags, TextAttr attr, const COLORREF* colours) {
    const COLORREF current = GetBkColor(dc);
    if (!attrtext::HasBackgroundPart(flags)) return current;
    const COLORREF wanted = attrtext::AttrBkColour(flags, attr, colours, current);
    return wanted == current ? current : SetBkColor(dc, wanted);
}

COLORREF SetAttrTextColor(HDC dc, UINT flags, TextAttr attr, const COLORREF* colours) {
    const COLORREF current = GetTextColor(dc);
    const COLORREF wanted = attrtext::AttrTextColour(flags, attr, colours, current);
    return wanted == current ? current : SetTextColor(dc, wanted);
}
