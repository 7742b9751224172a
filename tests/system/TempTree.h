// A folder of its own under the temp folder for each test, removed with everything in it afterwards.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

class TempTree {
public:
    TempTree() {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
        m_root = std::string(temp) + "wl_" + info->test_suite_name() + "_" + info->name() + "_" +
                 std::to_string(GetCurrentProcessId());
        RemoveTree(m_root);
        CreateDirectoryA(m_root.c_str(), nullptr);
    }
    ~TempTree() { RemoveTree(m_root); }
    const std::string& Root() const { return m_root; }
    std::string Path(const std::string& relative) const { return m_root + "\\" + relative; }
    void Dir(const std::string& relative) const { CreateDirectoryA(Path(relative).c_str(), nullptr); }
    void File(const std::string& relative, const std::string& content = "") const {
        HANDLE h = CreateFileA(Path(relative).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written;
        WriteFile(h, content.data(), (DWORD)content.size(), &written, nullptr);
        CloseHandle(h);
    }

private:
    static void RemoveTree(const std::string& dir) {
        WIN32_FIND_DATAA fd;
        HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                std::string name = fd.cFileName;
                if (name == "." || name == "..") continue;
                std::string p = dir + "\\" + name;
                if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(p);
                else DeleteFileA(p.c_str());
            } while (FindNextFileA(h, &fd));
            FindClose(h);
        }
        RemoveDirectoryA(dir.c_str());
    }
    std::string m_root;
};
