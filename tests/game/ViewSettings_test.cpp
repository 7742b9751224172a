#include "game/ViewLayout.h"
#include "game/ViewSettings.h"
#include "system/Registry.h"

#include <gtest/gtest.h>

#include <string>

using namespace game;

namespace {

// Each test works under an application key of its own (tests run in parallel) and removes it afterwards.
class ViewSettingsTest : public testing::Test {
protected:
    void SetUp() override {
        m_name = std::string("ViewSettingsTest-") + testing::UnitTest::GetInstance()->current_test_info()->name();
        m_path = "Software\\VQ\\" + m_name;
        SetRegistryAppKey("VQ", m_name.c_str());
        RegDeleteTreeA(HKEY_CURRENT_USER, m_path.c_str());
    }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, m_path.c_str()); }
    void Put(const char* name, DWORD value) {
        HKEY key;
        RegCreateKeyA(HKEY_CURRENT_USER, m_path.c_str(), &key);
        RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
        RegCloseKey(key);
    }
    bool Get(const char* name, DWORD* value) {
        DWORD size = sizeof *value, type = 0;
        return RegGetValueA(HKEY_CURRENT_USER, m_path.c_str(), name, RRF_RT_ANY, &type, value, &size) == ERROR_SUCCESS;
    }
    std::string m_name, m_path;
};

}  // namespace

TEST_F(ViewSettingsTest, EmptyRegistryKeepsTheDefaults) {
    GameState state;
    CString path = "unchanged";
    LoadViewSettings(state, path);
    EXPECT_EQ(state.settings.starSize, 0);
    EXPECT_EQ(state.settings.timeLimit, 0);
    EXPECT_EQ(state.shared.singleMode, 0);
    EXPECT_EQ(state.settings.autoCount, 1);
    EXPECT_EQ(state.settings.sameSide, 0);
    EXPECT_EQ(state.settings.scaleColour, 1);
    EXPECT_EQ(state.shared.comPort, 0);
    EXPECT_STREQ(path, "unchanged");
}

TEST_F(ViewSettingsTest, StoredValuesAreReadAndBadOnesBroughtIntoRange) {
    Put("StarSize", 2);
    Put("TimeLimith", 90);
    Put("SingleMode", 1);
    Put("AutoCount", 0);
    Put("SameSide", 1);
    Put("ScaleColor", 0);
    Put("ComPort", 4);
    GameState state;
    CString path;
    LoadViewSettings(state, path);
    EXPECT_EQ(state.settings.starSize, 2);
    EXPECT_EQ(state.settings.timeLimit, 90);  // above the dialog's 60: used as stored
    EXPECT_EQ(state.shared.singleMode, 1);
    EXPECT_EQ(state.settings.autoCount, 0);
    EXPECT_EQ(state.settings.sameSide, 1);
    EXPECT_EQ(state.settings.scaleColour, 0);
    EXPECT_EQ(state.shared.comPort, 4);
    Put("TimeLimith", 0xFFFFFFF6);  // -10
    Put("ComPort", 0xFFFFFFFF);
    LoadViewSettings(state, path);
    EXPECT_EQ(state.settings.timeLimit, 0);
    EXPECT_EQ(state.shared.comPort, 0);
}

TEST_F(ViewSettingsTest, ExitWritesFourValuesAndTheDialogSeven) {
    GameState state;
    state.settings.starSize = 3;
    state.shared.singleMode = 1;
    state.shared.comPort = 2;
    state.settings.timeLimit = 30;
    SaveViewSettingsAtExit(state);
    DWORD value = 0;
    EXPECT_TRUE(Get("StarSize", &value) && value == 3);
    EXPECT_TRUE(Get("SingleMode", &value) && value == 1);
    EXPECT_TRUE(Get("AutoCount", &value) && value == 1);
    EXPECT_TRUE(Get("ComPort", &value) && value == 2);
    EXPECT_FALSE(Get("TimeLimith", &value));
    EXPECT_FALSE(Get("HtmPath", &value));

    SaveViewSettingsFromDialog(state, "C:\\Fragen");
    EXPECT_TRUE(Get("TimeLimith", &value) && value == 30);
    EXPECT_TRUE(Get("SameSide", &value) && value == 0);
    EXPECT_TRUE(Get("ScaleColor", &value) && value == 1);
    GameState reread;
    CString path;
    LoadViewSettings(reread, path);
    EXPECT_STREQ(path, "C:\\Fragen");
    // The path is stored with its terminator.
    char raw[32] = {};
    DWORD size = sizeof raw, type = 0;
    ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, m_path.c_str(), "HtmPath", RRF_RT_ANY | RRF_NOEXPAND, &type, raw, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, 10u);
}

TEST(ViewLayout, PanelSitsBetweenTheStarColumnsAboveTheBand) {
    PanelPlacement p = QuestionPanelPlacement(1024, 768, 136);
    EXPECT_TRUE(p.visible);
    EXPECT_EQ(p.x, 142);
    EXPECT_EQ(p.y, 0);
    EXPECT_EQ(p.width, 1024 - 284);
    EXPECT_EQ(p.height, 568);
    EXPECT_FALSE(QuestionPanelPlacement(284, 768, 136).visible);  // no room between the columns
    EXPECT_TRUE(QuestionPanelPlacement(285, 201, 136).visible);
    EXPECT_FALSE(QuestionPanelPlacement(1024, 200, 136).visible);  // no room above the band
    EXPECT_EQ(QuestionPanelPlacement(1024, 768, 68).x, 74);
}
