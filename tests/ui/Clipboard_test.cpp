#include "ui/Clipboard.h"

#include "tests/ui/UiTestSupport.h"

#include "tests/support/ClipboardTestLock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace {

// Puts text on the clipboard in another format beside CF_TEXT, as another program might.
void PutForeignContent() {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    const char text[] = "fremd";
    HGLOBAL t = GlobalAlloc(GMEM_MOVEABLE, sizeof text);
    memcpy(GlobalLock(t), text, sizeof text);
    GlobalUnlock(t);
    SetClipboardData(CF_TEXT, t);
    UINT custom = RegisterClipboardFormatA("WertlaufTestFormat");
    HGLOBAL c = GlobalAlloc(GMEM_MOVEABLE, 4);
    memcpy(GlobalLock(c), "abc", 4);
    GlobalUnlock(c);
    SetClipboardData(custom, c);
    CloseClipboard();
}

}  // namespace

// The clipboard is one per session: its checks run in one test so that parallel test
// processes of this suite do not race for it.
TEST(Clipboard, TextRoundTripReplacementAndEmptiness) {
    ClipboardTestLock lock;
    EXPECT_EQ(SetClipboardText("abcdef", -1), 6);
    char buffer[4] = "zzz";
    EXPECT_EQ(GetClipboardText(buffer, 4), 3);
    EXPECT_STREQ(buffer, "abc");
    EXPECT_EQ(GetClipboardText(buffer, 0), 0);
    char whole[32];
    EXPECT_EQ(GetClipboardText(whole, sizeof whole), 6);
    EXPECT_STREQ(whole, "abcdef");

    EXPECT_EQ(SetClipboardText("C:\\Pfad\\mehr", 7), 7);  // an explicit length
    int length = -1;
    char* copy = GetClipboardTextAlloc(&length);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(length, 7);
    EXPECT_STREQ(copy, "C:\\Pfad");
    free(copy);

    // Setting replaces every other format.
    PutForeignContent();
    UINT custom = RegisterClipboardFormatA("WertlaufTestFormat");
    ASSERT_TRUE(IsClipboardFormatAvailable(custom));
    EXPECT_EQ(SetClipboardText("Ö&ffnen", -1), 7);
    EXPECT_FALSE(IsClipboardFormatAvailable(custom));
    GetClipboardText(whole, sizeof whole);
    EXPECT_STREQ(whole, "Ö&ffnen");

    // Nothing to set or get.
    EXPECT_EQ(SetClipboardText("", -1), 0);
    EXPECT_EQ(SetClipboardText(nullptr, 5), 0);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    char small[8] = "xxxxxxx";
    EXPECT_EQ(GetClipboardText(small, sizeof small), 0);
    EXPECT_STREQ(small, "");
    length = 5;
    EXPECT_EQ(GetClipboardTextAlloc(&length), nullptr);
    EXPECT_EQ(length, 0);
}
