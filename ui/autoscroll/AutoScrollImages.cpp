#include "ui/autoscroll/AutoScrollImages.h"

#include "ui/autoscroll/AutoScrollArt.inc"
#include "ui/autoscroll/AutoScrollDirection.h"

#include <vector>

namespace {

constexpr int kSize = 32;
constexpr int kHotSpot = 16;

HCURSOR MakeCursor(int art) {
    return ::CreateCursor(::GetModuleHandleA(nullptr), kHotSpot, kHotSpot, kSize, kSize, kAutoScrollCursorAnd[art],
                          kAutoScrollCursorXor[art]);
}

int ScreenDepth() {
    HDC screen = ::GetDC(nullptr);
    const int depth = ::GetDeviceCaps(screen, BITSPIXEL) * ::GetDeviceCaps(screen, PLANES);
    ::ReleaseDC(nullptr, screen);
    return depth;
}

}  // namespace

AutoScrollImages::AutoScrollImages(int axes) {
    // The artwork holds three neutral cursors (both axes, horizontal, vertical), then the eight directions.
    m_cursors[0] = MakeCursor(axes == kAutoScrollHorizontal ? 1 : axes == kAutoScrollVertical ? 2 : 0);
    for (int code = 1; code < 9; ++code) m_cursors[code] = MakeCursor(2 + code);
    const int mark = axes == kAutoScrollHorizontal ? 0 : axes == kAutoScrollVertical ? 1 : 2;
    int depth = ScreenDepth();
    std::vector<uint8_t> bits = OriginMarkBits(kAutoScrollMarkGrey[mark], depth);
    if (bits.empty()) {
        depth = 32;
        bits = OriginMarkBits(kAutoScrollMarkGrey[mark], depth);
    }
    m_mark = ::CreateIcon(::GetModuleHandleA(nullptr), kSize, kSize, 1, static_cast<BYTE>(depth),
                          kAutoScrollMarkMask[mark], bits.data());
}

AutoScrollImages::~AutoScrollImages() {
    if (m_mark) ::DestroyIcon(m_mark);
    for (HCURSOR cursor : m_cursors)
        if (cursor) ::DestroyCursor(cursor);
}
