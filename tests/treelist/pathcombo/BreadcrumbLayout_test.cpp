#include "treelist/pathcombo/BreadcrumbLayout.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <tuple>
#include <utility>

namespace {

BreadcrumbLayout Laid(std::initializer_list<int> widths, int arrow, int available) {
    BreadcrumbLayout layout;
    LayBreadcrumb(layout, widths.begin(), (int)widths.size(), arrow);
    FitBreadcrumb(layout, available);
    return layout;
}

TEST(BreadcrumbLayout, PositionsAlternateArrowsAndTexts) {
    BreadcrumbLayout layout = Laid({20, 30}, 10, 1000);
    const uint16_t expected[] = {0, 10, 38, 48, 86, 96};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(layout.positions[i], expected[i]) << i;
    EXPECT_EQ(std::tuple(layout.scrollX, layout.firstVisible, layout.lastVisible), std::tuple(0, 0, 4));
}

TEST(BreadcrumbLayout, FittingScrollsWholeSegmentsOffTheLeft) {
    // Units from the right: segment 2 with the last arrow [76, 114), segment 1 [48, 76), segment 0 [10, 48), root [0, 10).
    const struct { int available, scrollX, firstVisible; } cases[] = {
        {114, 0, 0}, {113, 10, 1}, {104, 10, 1}, {103, 48, 3}, {66, 48, 3}, {65, 76, 5}, {5, 76, 5}};
    for (const auto& c : cases) {
        BreadcrumbLayout layout = Laid({20, 10, 20}, 10, c.available);
        EXPECT_EQ(std::pair(int(layout.scrollX), int(layout.firstVisible)), std::pair(c.scrollX, c.firstVisible))
            << c.available;
    }
}

TEST(BreadcrumbLayout, HitCodesFollowThePositions) {
    BreadcrumbLayout layout = Laid({20, 30}, 10, 1000);
    const BreadcrumbFrame frame = {300, 22, 16, 280, 300};  // layout starts at x 20
    const struct { int x, y, hit; } cases[] = {
        {-1, 5, HIT_NONE}, {5, 30, HIT_NONE}, {0, 5, HIT_ICON},   {19, 5, HIT_ICON}, {20, 5, 0},
        {29, 5, 0},        {30, 5, 1},        {57, 5, 1},         {58, 5, 2},        {68, 5, 3},
        {106, 5, 4},       {115, 5, 4},       {116, 5, HIT_EMPTY}, {280, 5, HIT_BUTTON}, {299, 5, HIT_BUTTON}};
    for (const auto& c : cases) EXPECT_EQ(HitBreadcrumb(layout, frame, c.x, c.y), c.hit) << c.x << "," << c.y;
    // Scrolled: the part off at the left is no longer hit.
    layout = Laid({20, 30}, 10, 40);
    ASSERT_EQ(layout.scrollX, 48);
    EXPECT_EQ(HitBreadcrumb(layout, frame, 20, 5), 3);
    int left, right;
    PositionSpan(layout, frame, 4, &left, &right);
    EXPECT_EQ(std::pair(left, right), std::pair(86 - 48 + 20, 96 - 48 + 20));
}

}  // namespace
