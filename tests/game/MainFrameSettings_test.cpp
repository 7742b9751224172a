// The frame's Settings values and the placement restore rules.
#include <gtest/gtest.h>

#include "game/MainFrameSettings.h"
#include "system/Registry.h"

namespace {

// A registry key of its own per test process, removed afterwards.
struct TestAppKey {
    char name[64];
    TestAppKey() {
        wsprintfA(name, "WertlaufFrameTest%lu", GetCurrentProcessId());
        SetRegistryAppKey("VQ", name);
    }
    ~TestAppKey() {
        char path[128];
        wsprintfA(path, "Software\\VQ\\%s", name);
        RegDeleteTreeA(HKEY_CURRENT_USER, path);
    }
};

struct TwoMonitors {
    TwoMonitors() {
        MonitorTable& t = GetMonitorTable();
        t.rows[0] = {0, 0, 1000, 800};
        t.rows[1] = {1000, 0, 2000, 800};
        t.count = t.fillPosition = 2;
    }
    ~TwoMonitors() { UpdateMonitorTable(TRUE); }
};

const int kNotSet = static_cast<int>(CW_USEDEFAULT);

}  // namespace

TEST(MainFrameSettings, ValuesRoundTripWithDefaults) {
    TestAppKey key;
    EXPECT_EQ(ReadFrameSetting("FlatMode", 1), 1u);
    WriteFrameSetting("FlatMode", 0);
    EXPECT_EQ(ReadFrameSetting("FlatMode", 1), 0u);
    FramePlacement first = ReadFramePlacement();
    EXPECT_FALSE(first.haveZoomed);
}

TEST(MainFrameSettings, MaximisedCloseKeepsTheLastNormalRectangle) {
    TestAppKey key;
    WriteFramePlacement({10, 20, 610, 420}, false, 0, 1);
    WriteFramePlacement({0, 0, 1024, 768}, true, 0, 1);
    FramePlacement saved = ReadFramePlacement();
    ASSERT_TRUE(saved.haveZoomed);
    EXPECT_EQ(saved.isZoomed, 1u);
    EXPECT_EQ(saved.x, 10);
    EXPECT_EQ(saved.y, 20);
    EXPECT_EQ(saved.cx, 600);
    EXPECT_EQ(saved.cy, 400);
    EXPECT_EQ(saved.monitor, 0);  // one monitor: not written
    WriteFramePlacement({1100, 20, 1600, 420}, false, 1, 2);
    EXPECT_EQ(ReadFramePlacement().monitor, 1);
}

TEST(MainFrameSettings, RestoreUsesAVisibleRectangleAndTheZoomState) {
    UpdateMonitorTable(TRUE);
    FramePlacement saved;
    saved.haveZoomed = true;
    saved.isZoomed = 1;
    saved.x = 30, saved.y = 40, saved.cx = 500, saved.cy = 300;
    MonitorPlacement cs = {kNotSet, kNotSet, kNotSet, kNotSet};
    EXPECT_TRUE(RestoreFramePlacement(saved, cs));
    EXPECT_EQ(cs.x, 30);
    EXPECT_EQ(cs.cy, 300);

    // Off screen by all but 49 pixels: ignored.
    saved.isZoomed = 0;
    saved.x = GetSystemMetrics(SM_CXSCREEN) - 49;
    MonitorPlacement untouched = {kNotSet, kNotSet, kNotSet, kNotSet};
    EXPECT_FALSE(RestoreFramePlacement(saved, untouched));
    EXPECT_EQ(untouched.x, kNotSet);

    // First start: nothing read, nothing changed.
    FramePlacement none;
    MonitorPlacement fresh = {kNotSet, kNotSet, 5, 5};
    EXPECT_FALSE(RestoreFramePlacement(none, fresh));
    EXPECT_EQ(fresh.x, 5);
}

TEST(MainFrameSettings, RestoreOnAMonitorThatIsGoneOrElsewhere) {
    TwoMonitors monitors;
    FramePlacement saved;
    saved.haveZoomed = true;
    saved.x = 1200, saved.y = 100, saved.cx = 400, saved.cy = 300, saved.monitor = 1;
    MonitorPlacement cs = {kNotSet, kNotSet, kNotSet, kNotSet};
    RestoreFramePlacement(saved, cs);
    EXPECT_EQ(cs.x, 1200);
    // Saved on monitor 1, but the rectangle is not visible there: the default is centred on monitor 1.
    saved.x = 5000;
    MonitorPlacement centred = {kNotSet, kNotSet, kNotSet, kNotSet};
    RestoreFramePlacement(saved, centred);
    EXPECT_EQ(centred.x, 1500 - 450);
    // A monitor index beyond the table is tested against the primary screen.
    saved.monitor = 9;
    saved.x = 10;
    MonitorPlacement primary = {kNotSet, kNotSet, kNotSet, kNotSet};
    RestoreFramePlacement(saved, primary);
    EXPECT_EQ(primary.x, 10);
}
