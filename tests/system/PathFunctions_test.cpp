#include "system/PathFunctions.h"

#include "tests/system/TempTree.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(PathFunctions, SeparatorsAndComponents) {
    CString p("C:\\dir");
    EXPECT_EQ(AppendSeparatorStr(p), 7);
    EXPECT_EQ(p, "C:\\dir\\");
    EXPECT_EQ(AppendSeparatorStr(p), 7);
    CString empty;
    EXPECT_EQ(AppendSeparatorStr(empty), 1);
    EXPECT_EQ(empty, "\\");
    CString slash("c:/temp/");
    EXPECT_EQ(RemoveTrailingSeparatorStr(slash), 7);
    EXPECT_EQ(RemoveTrailingSeparatorStr(slash), 7);

    struct Case {
        const char* in;
        const char* out;
    } cases[] = {{"C:\\a\\b", "C:\\a"}, {"C:\\a\\b\\", "C:\\a"}, {"C:\\a", "C:\\"}, {"C:\\", "C:\\"},
                 {"C:", "C:"},          {"a", ""},              {"\\\\srv\\share", "\\\\srv"}, {"\\\\srv", "\\\\"},
                 {"\\\\", "\\\\"},      {"a/b/c", "a/b"},       {"", ""}};
    for (const Case& c : cases) {
        CString s(c.in);
        EXPECT_EQ(CutLastComponentStr(s), (int)strlen(c.out)) << c.in;
        EXPECT_EQ(s, c.out) << c.in;
    }

    CString out;
    EXPECT_EQ(JoinPathStr(out, "C:\\dir", "name.txt"), 15);
    EXPECT_EQ(out, "C:\\dir\\name.txt");
    JoinPathStr(out, "C:\\dir\\", "\\name");
    EXPECT_EQ(out, "C:\\dir\\name");
    JoinPathStr(out, "", "name");
    EXPECT_EQ(out, "name");
    JoinPathStr(out, "C:\\", "");
    EXPECT_EQ(out, "C:\\");

    char buf[] = "c:/a\\b/c";
    EXPECT_EQ(ConvertSeparatorsA(buf, '\\'), 2);
    EXPECT_STREQ(buf, "c:\\a\\b\\c");
    EXPECT_EQ(ConvertSeparatorsA(buf, '/'), 3);
    EXPECT_STREQ(buf, "c:/a/b/c");
    EXPECT_EQ(ConvertSeparatorsA(buf, 0), 0);
    EXPECT_STREQ(buf, "c:/a/b/c");
}

TEST(PathFunctions, CompareFlags) {
    EXPECT_EQ(ComparePathsA("C:\\Quiz\\", "c:/quiz", 4), 0);
    EXPECT_NE(ComparePathsA("C:\\Quiz", "c:\\quiz", 0), 0);
    EXPECT_LT(ComparePathsA("C:\\a", "C:\\b", 4), 0);
    EXPECT_NE(ComparePathsA("C:\\", "C:", 4), 0);  // the root's separator counts
    // Full paths: relative texts are taken against the current directory.
    char cwd[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, cwd);
    std::string full = std::string(cwd) + "\\Sub\\..\\Game001";
    EXPECT_EQ(ComparePathsA("game001", full.c_str(), 7), 0);
    EXPECT_NE(ComparePathsA("game001", full.c_str(), 4), 0);
    EXPECT_NE(ComparePathsA("game001", "game002", 7), 0);
    EXPECT_EQ(ComparePathsA(nullptr, "", 7), 0);
}

TEST(PathFunctions, NetworkPlaceForm) {
    char out[64];
    EXPECT_EQ(MapNetworkPlacePath("//server//share/dir/", out, sizeof(out)), 18);
    EXPECT_STREQ(out, "\\\\server\\share\\dir");
    EXPECT_EQ(MapNetworkPlacePath("\\\\", out, sizeof(out)), 2);
    EXPECT_STREQ(out, "\\\\");
    EXPECT_EQ(MapNetworkPlacePath("C:/x", out, sizeof(out)), 4);
    EXPECT_STREQ(out, "C:/x");
    EXPECT_EQ(MapNetworkPlacePath("\\\\server\\share", out, 8), 0);
    EXPECT_STREQ(out, "");
}

TEST(PathFunctions, StoredNameAndProgramDir) {
    TempTree tree;
    tree.Dir("Long Folder Name");
    tree.File("Long Folder Name\\MixedCase.TXT");
    std::string typed = tree.Path("long folder name\\mixedcase.txt\\..\\MIXEDCASE.txt");
    char out[MAX_PATH];
    int n = GetStoredPathNameA(out, typed.c_str(), sizeof(out));
    std::string expected = tree.Path("Long Folder Name\\MixedCase.TXT");
    EXPECT_EQ(n, (int)expected.size());
    EXPECT_EQ(ComparePathsA(out, expected.c_str(), 0), 0) << out;
    // Missing components stay as given; a result that does not fit gives 0.
    GetStoredPathNameA(out, tree.Path("LONG FOLDER NAME\\Missing\\x").c_str(), sizeof(out));
    EXPECT_EQ(ComparePathsA(out, tree.Path("Long Folder Name\\Missing\\x").c_str(), 0), 0) << out;
    EXPECT_EQ(GetStoredPathNameA(out, typed.c_str(), 10), 0);
    EXPECT_STREQ(out, "");

    CString dir;
    int len = GetProgramDirStr(dir);
    EXPECT_GT(len, 3);
    EXPECT_EQ(dir[len - 1], '\\');
    EXPECT_EQ(GetFileAttributesA(dir + "system_tests.exe") != INVALID_FILE_ATTRIBUTES, true);
}
