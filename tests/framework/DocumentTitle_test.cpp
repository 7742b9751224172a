// A document's title: for a plain name it is the title the common dialogs give, found without loading them.
#include "framework/Framework.h"

#include <commdlg.h>

#include <gtest/gtest.h>

TEST(DocumentTitle, PlainNamesGetTheSystemsTitleWithoutLoadingTheCommonDialogs) {
    CDocument document;
    document.SetPathName("Das Spiel", FALSE);
    EXPECT_STREQ(document.GetTitle(), "Das Spiel");
    EXPECT_EQ(GetModuleHandleA("comdlg32.dll"), nullptr);

    for (const char* path : {"C:\\Spiele\\Das Spiel", "Das Spiel", "C:Runde 2", "\\\\server\\share\\Runde",
                             "C:\\Fragen.alt\\Finale", "D:\\Gr\xF6\xDF\x65"}) {
        char system[MAX_PATH] = {};
        ASSERT_EQ(GetFileTitleA(path, system, MAX_PATH), 0) << path;
        EXPECT_STREQ(fw::PlainFileTitle(path), system) << path;
    }
    // The system decides for names with an extension (it may hide it), names it refuses and paths without a name.
    for (const char* path : {"C:\\Spiele\\Spiel.txt", "C:\\Spiele\\", "C:\\[1]\\Spiel", "C:/Spiele/Spiel", "C:", ""})
        EXPECT_TRUE(fw::PlainFileTitle(path).IsEmpty()) << path;
}
