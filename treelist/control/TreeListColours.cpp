// Default colours, derived channel by channel from the system colours.
#include "treelist/control/TreeListColours.h"

namespace {

int Channel(COLORREF c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }

template <typename Mix>
COLORREF PerChannel(Mix mix) {
    COLORREF out = 0;
    for (int shift = 0; shift <= 16; shift += 8) out |= static_cast<COLORREF>(mix(shift) & 0xFF) << shift;
    return out;
}

// Blue lowered by 15, green and red by 11, each only when its high nibble is set.
COLORREF Darkened(COLORREF c) {
    return PerChannel([c](int shift) {
        const int v = Channel(c, shift);
        return v >= 16 ? v - (shift == 16 ? 15 : 11) : v;
    });
}

int DistanceSquared(COLORREF a, COLORREF b) {
    int sum = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int diff = Channel(a, shift) - Channel(b, shift);
        sum += diff * diff;
    }
    return sum;
}

}  // namespace

TreeListSysColours CurrentSysColours() {
    return {GetSysColor(COLOR_WINDOW),     GetSysColor(COLOR_INFOBK),    GetSysColor(COLOR_BTNFACE),
            GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_HIGHLIGHT),
            GetSysColor(COLOR_SCROLLBAR),  GetSysColor(COLOR_MENU)};
}

void DeriveColours(const TreeListSysColours& s, const bool set[kTreeListColours], COLORREF c[kTreeListColours]) {
    auto def = [&](int index, COLORREF value) {
        if (!set[index]) c[index] = value;
    };
    def(kColourBack, s.window);
    def(kColourEven, s.window);
    COLORREF odd = s.infoBk;
    if (DistanceSquared(odd, c[kColourEven]) < 64) {
        // Too close to the even rows: the even colour with blue lowered by 8 (never below 0).
        const COLORREF even = c[kColourEven];
        const int blue = Channel(even, 16);
        odd = (even & 0x00FFFF) | (static_cast<COLORREF>(blue >= 8 ? blue - 8 : 0) << 16);
    }
    def(kColourOdd, odd);
    def(kColourGrid, s.btnFace);
    def(kColourText, s.windowText);
    def(kColourLines, s.windowText);
    def(kColourButtonFrame, s.btnShadow);
    def(kColourHotText, s.windowText ^ 0xFF0000);
    auto eighth = [&](COLORREF base) {
        return PerChannel([&](int sh) { return (Channel(base, sh) >> 3) * 7 + (Channel(s.highlight, sh) >> 3); });
    };
    def(kColourSelectedOdd, eighth(c[kColourOdd]));
    def(kColourSelectedEven, eighth(c[kColourEven]));
    def(kColourInsertMark, s.infoBk);
    def(kColourButtonFace, s.window);
    def(kColourMarked, Darkened(s.window));
    def(kColourMarkedOdd, Darkened(c[kColourOdd]));
    def(kColourMarkedEven, Darkened(s.window));
    def(kColourDisabled,
        PerChannel([&](int sh) { return (Channel(s.scrollbar, sh) >> 2) + 3 * (Channel(s.window, sh) >> 2); }));
    def(kColourSeparator, (s.menu >> 1) & 0x7F7F7F);
    def(kColourUnfocusedBox,
        PerChannel([&](int sh) { return 3 * (Channel(s.btnFace, sh) >> 2) + (Channel(s.highlight, sh) >> 2); }));
}

void UpdateColours(TreeListData* d) {
    DeriveColours(CurrentSysColours(), d->colourSet, d->colours);
    d->drawThemed = d->treeTheme && !d->colourSet[kColourLines] && !d->colourSet[kColourButtonFrame] &&
                    !d->colourSet[kColourButtonFace];
}
