// A registry key of its own for each test (tests run in parallel in one prefix), deleted afterwards.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

class TestKey {
public:
    TestKey() {
        const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
        m_name = std::string(info->test_suite_name()) + "_" + info->name() + "_" + std::to_string(GetCurrentProcessId());
        m_path = "Software\\WertlaufTests\\" + m_name;
        RegDeleteTreeA(HKEY_CURRENT_USER, m_path.c_str());
    }
    ~TestKey() {
        RegDeleteTreeA(HKEY_CURRENT_USER, m_path.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\WertlaufTests");  // only succeeds once empty
    }
    const char* Path() const { return m_path.c_str(); }
    const std::string& Name() const { return m_name; }

private:
    std::string m_name;
    std::string m_path;
};
