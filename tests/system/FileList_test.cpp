#include "system/FileList.h"
#include "system/SystemInfo.h"

#include "tests/system/TempTree.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {
std::vector<std::string> Names(CFileList& list) {
    std::vector<std::string> out;
    list.RewindEntries();
    int len;
    while (const char* name = list.NextEntry(FL_FORM_NAME, &len)) out.emplace_back(name, (size_t)len);
    return out;
}
}  // namespace

TEST(FileList, ReadsFolderWithFiltersAndNaturalSort) {
    TempTree tree;
    for (const char* f : {"Game10", "game2", "Game1", "Main"}) tree.Dir(f);
    for (const char* f : {"b.html", "a.txt", "C.HTML"}) tree.File(f);
    CFileList list(tree.Root().c_str(), 0);
    EXPECT_EQ(list.Read(), 7);
    EXPECT_EQ(list.GetEndCode(), FL_END_COMPLETE);
    list.Sort(FL_SORT_NATURAL);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"a.txt", "b.html", "C.HTML", "Game1", "game2", "Game10", "Main"}));
    list.Sort(FL_SORT_NATURAL, 1);
    EXPECT_EQ(Names(list).front(), "Main");

    // Folders only, sorted while read; then files by pattern; the include list never hides folders.
    EXPECT_EQ(list.Read(tree.Root().c_str(), FL_FOLDERS_ONLY | FL_SORTED), 4);
    list.Sort(FL_SORT_NATURAL);
    EXPECT_EQ(list.Read(tree.Root().c_str(), FL_SORTED), 7);
    EXPECT_EQ(Names(list)[3], "Game1");
    EXPECT_EQ(list.Read((tree.Root() + "\\*.html").c_str(), 0), 2);
    EXPECT_EQ(list.Read(tree.Root().c_str(), FL_SORTED, "*.txt;*.xyz", "game1*"), 3);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"a.txt", "game2", "Main"}));
    // A null path reads the stored location again, with new flags and the stored patterns.
    EXPECT_EQ(list.Read(nullptr, FL_FOLDERS_ONLY), 2);
    EXPECT_EQ(list.Read(nullptr, 0, "*.html"), 4);

    // Names equal in natural order keep one fixed order, whatever the folder's, reversed by the reverse sort.
    tree.Dir("same");
    for (const char* f : {"a01", "a1", "a001"}) tree.File(std::string("same\\") + f);
    CFileList equal(tree.Path("same").c_str(), 0);
    ASSERT_EQ(equal.Read(), 3);
    equal.Sort(FL_SORT_NATURAL);
    EXPECT_EQ(Names(equal), (std::vector<std::string>{"a001", "a01", "a1"}));
    equal.Sort(FL_SORT_NATURAL, 1);
    EXPECT_EQ(Names(equal), (std::vector<std::string>{"a1", "a01", "a001"}));
}

TEST(FileList, EntriesPathsAndRecords) {
    TempTree tree;
    tree.File("page.html", "12345");
    tree.Dir("sub");
    CFileList list;
    ASSERT_EQ(list.Read(tree.Root().c_str(), FL_SORTED), 2);
    int len = 0;
    const FileListEntry* e = nullptr;
    const char* path = list.NextEntry(FL_FORM_PATH, &len, &e);
    ASSERT_NE(path, nullptr);
    EXPECT_EQ(std::string(path), tree.Path("page.html"));
    EXPECT_EQ(len, (int)tree.Path("page.html").size());
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->size, 5u);
    EXPECT_STREQ(e->name, "page.html");
    EXPECT_EQ(e->headerFlags, 0u);
    EXPECT_EQ(list.GetEntryExtraText(e, &len), nullptr);
    EXPECT_GE(list.GetEntryIcon(e, 17), 0);
    EXPECT_STREQ(list.NextEntry(FL_FORM_NAME, &len), "sub");
    EXPECT_EQ(list.NextEntry(FL_FORM_NAME, &len), nullptr);
    EXPECT_EQ(len, 0);
    EXPECT_STREQ(list.GetEntryPath(1, &len, TRUE), "sub");
    EXPECT_EQ(list.GetEntryPath(2, &len, FALSE), nullptr);
    EXPECT_EQ(list.GetEntryPath(-1, &len, FALSE), nullptr);
    list.Clear();
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.NextEntry(FL_FORM_NAME, nullptr), nullptr);
}

TEST(FileList, FirstOnlyMissingFolderAndNetworkRefusal) {
    TempTree tree;
    tree.Dir("one");
    tree.Dir("two");
    tree.File("file");
    CFileList list;
    EXPECT_EQ(list.Read(tree.Root().c_str(), FL_FOLDERS_ONLY | FL_FIRST_ONLY), 1);
    EXPECT_EQ(list.GetEndCode(), FL_END_FIRST_ONLY);
    // An empty folder completes with no entries.
    tree.Dir("empty");
    EXPECT_EQ(list.Read(tree.Path("empty").c_str(), FL_FOLDERS_ONLY | FL_FIRST_ONLY), 0);
    EXPECT_EQ(list.GetEndCode(), FL_END_COMPLETE);
    EXPECT_EQ(list.Read(tree.Path("missing").c_str(), 0), -1);
    EXPECT_EQ(list.GetEndCode(), FL_END_FAILED);
    EXPECT_EQ(list.Read("\\\\server\\share", 0), -1);  // network paths need FL_NETWORK
    EXPECT_EQ(list.GetEndCode(), FL_END_FAILED);
    EXPECT_EQ(list.Read("", 0), -1);
    // The network root either lists its servers or fails cleanly (no network here).
    int servers = list.Read("\\\\", FL_NETWORK);
    EXPECT_EQ(list.GetEndCode(), servers >= 0 ? FL_END_COMPLETE : FL_END_FAILED);
}

// The abort flag stops a running read; each read clears it when it starts.
TEST(FileList, AbortFlagStopsARunningRead) {
    TempTree tree;
    for (int i = 0; i < 1500; ++i) tree.File(std::to_string(i).append(".f"));
    CFileList list;
    list.Abort();
    EXPECT_EQ(list.Read(tree.Root().c_str(), 0), 1500);
    EXPECT_EQ(list.GetEndCode(), FL_END_COMPLETE);
    EXPECT_EQ(reinterpret_cast<uint8_t*>(&list)[1], 0);

    std::atomic<bool> done{false};
    std::thread stopper([&] {
        while (!done.load()) reinterpret_cast<std::atomic<uint8_t>*>(reinterpret_cast<char*>(&list) + 1)->store(1);
    });
    bool sawAbort = false;
    for (int attempt = 0; attempt < 50 && !sawAbort; ++attempt) {
        int n = list.Read(tree.Root().c_str(), 0);
        if (list.GetEndCode() == FL_END_ABORTED) {
            sawAbort = true;
            EXPECT_EQ(n, -1);
            EXPECT_EQ(reinterpret_cast<uint8_t*>(&list)[0], FL_END_ABORTED);
        }
    }
    done = true;
    stopper.join();
    EXPECT_TRUE(sawAbort);
}

TEST(FileList, DriveListAndNetworkPlace) {
    CFileList list(":", 0);
    int n = list.Read();
    ASSERT_GT(n, 0);
    std::vector<std::string> names = Names(list);
    for (size_t i = 0; i < names.size(); ++i) {
        ASSERT_EQ(names[i].size(), 2u);
        EXPECT_EQ(names[i][1], ':');
        if (i) {
            EXPECT_LT(names[i - 1], names[i]);
        }
    }
    char sys[3] = {GetSystemDriveLetter(), ':', 0};
    int at = -1;
    for (size_t i = 0; i < names.size(); ++i)
        if (names[i] == sys) at = (int)i;
    ASSERT_GE(at, 0);
    const FileListEntry* drive = list.GetEntry(at);
    EXPECT_TRUE(drive->headerFlags & FLE_DRIVE);
    EXPECT_GE(list.GetEntryIcon(drive, 17), 0);
    int len;
    EXPECT_EQ(std::string(list.GetEntryPath(at, &len, FALSE)), std::string(sys) + "\\");

    ASSERT_EQ(list.Read(":", FL_NETWORK | FL_FOLDERS_ONLY), n + 1);
    // Natural sort keeps the drives in letter order before the network place.
    list.Sort(FL_SORT_NATURAL);
    const FileListEntry* place = list.GetEntry(n);
    ASSERT_NE(place, nullptr);
    EXPECT_TRUE(place->headerFlags & FLE_SHELL);
    EXPECT_STREQ(list.GetEntryExtraText(place, &len), "\\\\");
    EXPECT_EQ(len, 2);
    EXPECT_GT(place->nameLength, 0);
    EXPECT_GE(list.GetEntryIcon(place, 17), 0);
    EXPECT_EQ(Names(list)[0], names[0]);
    EXPECT_EQ(list.Read(":", FL_FIRST_ONLY), 1);
    EXPECT_EQ(list.GetEndCode(), FL_END_FIRST_ONLY);
}
