#include "treelist/shared/PathText.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <tuple>

namespace {

TEST(PathText, ReadsEachFormAndRefusesWhatDoesNotFit) {
    const std::string long251 = "C:\\" + std::string(248, 'a');
    const std::string long252 = "C:\\" + std::string(249, 'a');
    const std::string marked259 = "C:\\" + std::string(256, 'b');
    const std::string shell258(258, 's');
    // The text, its length or form (-1: NUL-terminated) and the path read (null: refused).
    const struct { const char* name; std::string text; int lengthOrForm; const char* expected; } cases[] = {
        {"slashes and trailing separator", "C:/Daten/Bilder/", -1, "C:\\Daten\\Bilder"},
        {"bare drive means its root", "C:", -1, "C:"},
        {"drive root", "C:\\", -1, "C:"},
        {"plain length cuts the text", "C:\\Daten\\Bilder", 8, "C:\\Daten"},
        {"plain text of 251 characters", long251, -1, long251.c_str()},
        {"plain text of 252 characters", long252, -1, nullptr},
        {"plain length of 252", long252, 252, nullptr},
        {"unchanged form keeps the text", "c:/x/", (int)(PATHFORM_UNCHANGED | 5), "c:\\x"},
        {"unchanged form of 259", marked259, (int)(PATHFORM_UNCHANGED | 259), marked259.c_str()},
        {"unchanged form of 260 overruns", marked259 + "c", (int)(PATHFORM_UNCHANGED | 260), nullptr},
        {"unchanged form of 16383", std::string(16383, 'x'), (int)(PATHFORM_UNCHANGED | 0x3FFF), nullptr},
        {"shell form gets its prefix", "server\\share", (int)(PATHFORM_SHELL | 12), "\\\\server\\share"},
        {"shell form keeps a prefix", "//server/", (int)(PATHFORM_SHELL | 9), "\\\\server"},
        {"shell form prefix overruns", shell258, (int)(PATHFORM_SHELL | 258), nullptr},
        {"network root stays", "\\\\", (int)(PATHFORM_SHELL | 2), "\\\\"},
        {"form length stops at the NUL", "C:\\a", (int)(PATHFORM_UNCHANGED | 200), "C:\\a"},
        {"empty plain text", "", -1, nullptr},
    };
    for (const auto& c : cases) {
        PathRequest request;
        const bool read = ReadPathRequest(c.text.c_str(), c.lengthOrForm, &request);
        ASSERT_EQ(read, c.expected != nullptr) << c.name;
        if (!read) continue;
        EXPECT_EQ(std::pair(std::string(request.text), request.length),
                  std::pair(std::string(c.expected), (int)strlen(c.expected)))
            << c.name;
    }
    PathRequest request;
    ASSERT_TRUE(
        ReadPathRequest("C:\\x", (int)(PATHFORM_UNCHANGED | PATHFORM_KIND_SHELL | PATHFORM_ENTRY_ICON | 4), &request));
    EXPECT_TRUE(request.shellKind && request.entryIcon);
}

TEST(PathText, SplitsAtMostThirtyTwoSegments) {
    uint32_t starts[kMaxSegments + 1];
    uint16_t lengths[kMaxSegments];
    ASSERT_EQ(SplitPathSegments("\\\\server\\share\\dir", starts, lengths), 3);
    EXPECT_EQ(std::tuple(starts[0], lengths[1], starts[3]), std::tuple(2u, 5, 18u));

    std::string deep = "C:";
    for (int i = 1; i < 33; ++i) deep += "\\d" + std::to_string(i);
    ASSERT_EQ(SplitPathSegments(deep.c_str(), starts, lengths), 32);
    EXPECT_EQ(std::string(deep.c_str() + starts[31], lengths[31]), "d31");
    EXPECT_EQ(starts[32], starts[31] + lengths[31]);
}

TEST(PathText, SharedSegmentsIgnoreCaseAndForm) {
    uint32_t sa[kMaxSegments + 1], sb[kMaxSegments + 1];
    uint16_t la[kMaxSegments], lb[kMaxSegments];
    const struct { const char *a, *b; int shared; } cases[] = {
        {"C:\\Daten\\Bilder", "c:\\DATEN\\Musik", 2},
        {"C:\\Daten", "C:\\Daten\\Bilder", 2},
        {"C:\\Dat", "C:\\Daten", 1},
        {"\\\\C:\\x", "C:\\x", 0},
        {"", "C:", 0},
    };
    for (const auto& c : cases) {
        const int na = SplitPathSegments(c.a, sa, la);
        const int nb = SplitPathSegments(c.b, sb, lb);
        EXPECT_EQ(CountSharedSegments(c.a, sa, la, na, c.b, sb, lb, nb), c.shared) << c.a << " / " << c.b;
    }
}

TEST(PathText, ComposedPathsFitTheBufferOrAreRefused) {
    // The deepest path SetPath takes plus the longest folder name does not fit; one that fits exactly does.
    const std::string deep = "C:\\" + std::string(248, 'a'), name(255, 'n'), exact(259 - deep.size() - 1, 'e');
    const struct { const char* parent; int length; const char* child; int composed; std::string out; } cases[] = {
        {"C:\\Daten\\x", 8, "Bilder", 15, "C:\\Daten\\Bilder"},
        {"C:\\x", 0, "D:", 2, "D:"},
        {deep.c_str(), (int)deep.size(), name.c_str(), 0, ""},
        {deep.c_str(), (int)deep.size(), exact.c_str(), 259, deep + "\\" + exact},
    };
    for (const auto& c : cases) {
        char out[kPathBufferSize];
        const int composed = ComposeChildPath(out, sizeof out, c.parent, c.length, c.child);
        EXPECT_EQ(std::pair(composed, std::string(out)), std::pair(c.composed, c.out)) << c.parent;
    }
}

TEST(PathText, DroppedFilesAreCutToTheirFolder) {
    const struct { const char *file, *folder; } cases[] = {
        {"C:\\Daten\\Brief.txt", "C:\\Daten"}, {"C:\\Brief.txt", "C:"}, {"C:Brief.txt", "C:"},
        {"D:/a/b.c", "D:/a"},                  {"Brief", "Brief"},
    };
    for (const auto& c : cases) {
        char path[kPathBufferSize];
        lstrcpynA(path, c.file, sizeof path);
        CutToFolder(path);
        EXPECT_STREQ(path, c.folder) << c.file;
    }
}

}  // namespace
