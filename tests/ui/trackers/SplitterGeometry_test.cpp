#include "ui/trackers/SplitterGeometry.h"

#include "ui/RectTestSupport.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>

namespace {

const RECT kArea = {100, 100, 400, 300};

// The result of a drag that starts with the mouse on the bar's grab point and moves it by (dx, dy)
// (no move at all for 0, 0).
int Drag(int mode, int pos, int grabX, int grabY, int barWidth, int trackWidth, int offset, int dx, int dy) {
    SplitterTrack t = StartSplitterTrack(mode, kArea, pos, grabX, grabY, barWidth, trackWidth, offset);
    const POINT start = {t.left + t.grabX, t.top + t.grabY};
    if (dx || dy) MoveSplitterTrack(&t, {start.x + dx, start.y + dy});
    return SplitterTrackResult(t);
}

}  // namespace

TEST(SplitterGeometry, DefaultsForWidthsOffsetAndGrabPoint) {
    // Bar width, track width, offset, grab point.
    auto fields = [](const SplitterTrack& t) {
        return std::tuple(t.barWidth, t.trackWidth, t.offset, t.grabX, t.grabY);
    };
    const int d = kSplitterDefault;
    EXPECT_EQ(fields(StartSplitterTrack(1, kArea, 10, d, d, 0, 0, d)), std::tuple(1, 1, 0, 0, 0));
    EXPECT_EQ(fields(StartSplitterTrack(1, kArea, 10, d, d, 6, 2, d)), std::tuple(6, 2, 2, 1, 1));
    EXPECT_EQ(fields(StartSplitterTrack(1, kArea, 10, d, d, 9, 0, d)), std::tuple(9, 9, 0, 4, 4));
    EXPECT_EQ(fields(StartSplitterTrack(1, kArea, 10, d, 3, 9, 0, d)), std::tuple(9, 9, 0, d, 3));
    // The cross reads the offset by its low 16 bits; a mode outside 0-2 acts as the vertical bar.
    EXPECT_EQ(StartSplitterTrack(2, kArea, 0, 0, 0, 6, 2, 0x10002).offset, 2);
    EXPECT_EQ(StartSplitterTrack(2, kArea, 0, 0, 0, 6, 2, 0xFFFF).offset, -1);
    EXPECT_EQ(StartSplitterTrack(7, kArea, 0, 0, 0, 6, 2, 0).mode, 1);
}

TEST(SplitterGeometry, BarsFollowTheMouseWithinTheArea) {
    // Press and release without moving changes nothing in every mode.
    for (int mode : {0, 1, 2, 9})
        for (int pos : {0, 50, 0x00320014, 5000})
            EXPECT_EQ(Drag(mode, pos, kSplitterDefault, kSplitterDefault, 6, 4, kSplitterDefault, 0, 0), 0) << mode;
    EXPECT_EQ(Drag(1, 50, 2, 0, 6, 0, kSplitterDefault, 30, 99), 30);
    EXPECT_EQ(Drag(0, 50, 0, 2, 6, 0, kSplitterDefault, 99, -20), -20);
    EXPECT_EQ(Drag(2, 0x00140032, 3, 3, 6, 0, kSplitterDefault, -3, 5), 0x0005FFFD);
    // Far below the area the tracker stops at area.bottom - trackWidth; far above, the bar stays in it.
    SplitterTrack t = StartSplitterTrack(0, kArea, 50, 0, 0, 6, 0, kSplitterDefault);
    MoveSplitterTrack(&t, {150, 5000});
    RECT r[3];
    ASSERT_EQ(SplitterTrackRects(t, r), 1);
    EXPECT_EQ(r[0], (RECT{100, 294, 400, 300}));
    EXPECT_EQ(SplitterTrackResult(t), 294 - 100 - 50);
    MoveSplitterTrack(&t, {150, -5000});
    EXPECT_EQ(SplitterTrackResult(t), -50);
    // A position beyond the area is brought in first, and the change is measured from there.
    EXPECT_EQ(Drag(1, 5000, 0, 0, 6, 0, kSplitterDefault, -10, 0), -10);
    t = StartSplitterTrack(1, kArea, 5000, 0, 0, 6, 0, kSplitterDefault);
    EXPECT_EQ(t.posX, 394 - 100);
    // An area narrower than the tracking bar: the bar cannot move.
    t = StartSplitterTrack(1, {100, 100, 104, 300}, 0, 0, 0, 6, 0, kSplitterDefault);
    MoveSplitterTrack(&t, {300, 150});
    EXPECT_EQ(SplitterTrackResult(t), 0);
}

TEST(SplitterGeometry, TheCrossSplitsItsVerticalBarAtTheHorizontalOne) {
    SplitterTrack t = StartSplitterTrack(2, kArea, 0x00280014, 0, 0, 6, 4, 1);  // x 20, y 40, offset 1
    RECT r[3];
    ASSERT_EQ(SplitterTrackRects(t, r), 3);
    EXPECT_EQ(r[0], (RECT{121, 100, 125, 141}));  // above the crossing
    EXPECT_EQ(r[1], (RECT{121, 145, 125, 300}));  // below it, down to bottom' + trackWidth
    EXPECT_EQ(r[2], (RECT{101, 141, 400, 145}));  // the horizontal bar
    // Negative halves of pos are brought into the area.
    t = StartSplitterTrack(2, kArea, static_cast<int>(0xFFF6FFF6), 0, 0, 6, 4, 1);
    EXPECT_EQ(std::pair(t.posX, t.posY), std::pair(0, 0));
}
