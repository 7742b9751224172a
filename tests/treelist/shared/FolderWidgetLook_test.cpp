#include "treelist/shared/FolderWidgetLook.h"

#include <gtest/gtest.h>

namespace {

TEST(FolderWidgetLook, SelectedRowsMixAQuarterOfTheHighlight) {
    EXPECT_EQ(SelectedRowColour(RGB(0, 0, 255), RGB(255, 255, 255)), RGB(191, 191, 255));
    EXPECT_EQ(SelectedRowColour(RGB(200, 100, 0), RGB(0, 0, 0)), RGB(50, 25, 0));
}

}  // namespace
