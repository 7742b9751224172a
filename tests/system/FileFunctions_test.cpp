#include "system/FileFunctions.h"
#include "system/FindFile.h"
#include "system/SystemIcons.h"
#include "system/SystemInfo.h"

#include "tests/system/TempTree.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ctime>

TEST(FileFunctions, PathTypes) {
    TempTree tree;
    tree.File("f.txt", "x");
    EXPECT_EQ(GetPathTypeA(tree.Root().c_str()), PATH_DIRECTORY);
    EXPECT_EQ(GetPathTypeA(tree.Path("f.txt").c_str()), PATH_FILE);
    EXPECT_EQ(GetPathTypeA(tree.Path("none").c_str()), PATH_MISSING);
    EXPECT_EQ(GetPathTypeA("C:\\"), PATH_DRIVE_ROOT);
    EXPECT_EQ(GetPathTypeA("c:"), PATH_DRIVE_ROOT);
    EXPECT_EQ(GetPathTypeA(""), PATH_MISSING);
    EXPECT_EQ(GetPathTypeA(nullptr), PATH_MISSING);
    // A drive letter that is not present.
    DWORD drives = GetLogicalDrives();
    for (char c = 'Q'; c <= 'Y'; ++c) {
        if (!(drives >> (c - 'A') & 1)) {
            char root[] = {c, ':', '\\', 0};
            EXPECT_EQ(GetPathTypeA(root), PATH_MISSING);
            EXPECT_EQ(CreateDirectoryPathA((std::string(root) + "x").c_str()), 0);
            break;
        }
    }
}

TEST(FileFunctions, CreateEveryMissingDirectory) {
    TempTree tree;
    EXPECT_EQ(CreateDirectoryPathA(tree.Path("a\\b/c\\").c_str()), 1);
    EXPECT_EQ(GetPathTypeA(tree.Path("a\\b\\c").c_str()), PATH_DIRECTORY);
    EXPECT_EQ(CreateDirectoryPathA(tree.Path("a\\b").c_str()), 1);  // present already
    EXPECT_EQ(CreateDirectoryPathA("C:\\"), 2);
    tree.File("blocker");
    EXPECT_EQ(CreateDirectoryPathA(tree.Path("blocker\\sub").c_str()), 0);
    EXPECT_EQ(CreateDirectoryPathA(""), 0);
}

TEST(FileFunctions, ReadFileToBufferBoundsAndTerminates) {
    TempTree tree;
    tree.File("page.html", "<!--MIN 10--><!--MAX 20-->");
    char buf[12];
    memset(buf, 'X', sizeof(buf));
    EXPECT_EQ(ReadFileToBufferA(tree.Path("page.html").c_str(), buf, 10), 8);
    EXPECT_EQ(memcmp(buf, "<!--MIN \0\0", 10), 0);
    EXPECT_EQ(buf[10], 'X');
    char big[256];
    EXPECT_EQ(ReadFileToBufferA(tree.Path("page.html").c_str(), big, sizeof(big)), 26);
    EXPECT_STREQ(big, "<!--MIN 10--><!--MAX 20-->");
    big[0] = 'Q';
    EXPECT_EQ(ReadFileToBufferA(tree.Path("missing").c_str(), big, sizeof(big)), 0);
    EXPECT_EQ(big[0], 0);
    buf[0] = 'Q';
    EXPECT_EQ(ReadFileToBufferA(tree.Path("page.html").c_str(), buf, 1), 0);
    EXPECT_EQ(buf[0], 'Q');
}

TEST(FileFunctions, FindRecordCarriesSizeAndTimes) {
    TempTree tree;
    tree.File("data.bin", std::string(1234, 'z'));
    FindRecord rec;
    DWORD error = 1;
    HANDLE h = FindFirstFileRec(tree.Path("*.bin").c_str(), &rec, &error);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(error, 0u);
    EXPECT_STREQ(rec.name, "data.bin");
    EXPECT_EQ(rec.size, 1234u);
    EXPECT_FALSE(rec.flags & FILE_ATTRIBUTE_DIRECTORY);
    int64_t now = (int64_t)time(nullptr);
    EXPECT_LT(std::llabs(rec.written - now), 120);
    EXPECT_FALSE(FindNextFileRec(h, &rec, &error));
    EXPECT_EQ(error, (DWORD)ERROR_NO_MORE_FILES);
    FindCloseRec(h);
    EXPECT_EQ(FindFirstFileRec(tree.Path("*.none").c_str(), &rec, &error), nullptr);
    EXPECT_EQ(error, (DWORD)ERROR_FILE_NOT_FOUND);
    FindCloseRec(nullptr);

    FILETIME epoch = {0xD53E8000, 0x019DB1DE};  // 1970-01-01
    EXPECT_EQ(FileTimeToUnixSeconds(epoch), 0);
}

TEST(SystemInfo, VersionsDriveAndIcons) {
    EXPECT_GE(GetWindowsVersion(), 0x50001u);
    EXPECT_EQ(GetWindowsVersion(), GetWindowsVersion());
    EXPECT_NE(GetKernelProductVersion(), 0u);
    char sys = GetSystemDriveLetter();
    EXPECT_TRUE(sys >= 'A' && sys <= 'Z');
    EXPECT_NE(GetSystemImageList(FALSE), nullptr);
    EXPECT_NE(GetSystemImageList(TRUE), nullptr);
    int folder = GetFileIconIndex(FI_FOLDER);
    EXPECT_GE(folder, 0);
    EXPECT_GE(GetFileIconIndex(0), 0);
    EXPECT_GE(GetFileIconIndex(FI_FOLDER | FI_OPEN), 0);
    EXPECT_GE(GetDriveIconIndex(sys, TRUE), 0);
    EXPECT_EQ(GetDriveIconIndex((char)(sys | 0x20), TRUE), GetDriveIconIndex(sys, TRUE));
    EXPECT_EQ(GetDriveIconIndex('1', TRUE), -2);
    EXPECT_EQ(GetDriveIconIndex(0, FALSE), -2);
}
