// Decoding WM_COPYDATA blocks from other programs.
#include <gtest/gtest.h>

#include <string>

#include "game/MainFrameCopyData.h"

namespace {

COPYDATASTRUCT Block(ULONG_PTR code, const void* data, DWORD size) {
    COPYDATASTRUCT block;
    block.dwData = code;
    block.cbData = size;
    block.lpData = const_cast<void*>(data);
    return block;
}

}  // namespace

TEST(MainFrameCopyData, AnsiTextIsBoundedByTheBlock) {
    const char path[] = "C:\\Fragen\\Main";
    COPYDATASTRUCT block = Block(kCopyDataSamePath, path, sizeof(path));
    CopyDataText decoded = DecodeCopyData(&block);
    EXPECT_EQ(decoded.code, kCopyDataSamePath);
    EXPECT_STREQ(decoded.text, path);
    // No terminator inside cbData: only cbData bytes are read.
    char unterminated[4] = {'a', 'b', 'c', 'd'};
    block = Block(kCopyDataText, unterminated, 3);
    EXPECT_STREQ(DecodeCopyData(&block).text, "abc");
    std::string longText(1000, 'x');
    block = Block(kCopyDataText, longText.c_str(), 1001);
    EXPECT_EQ(strlen(DecodeCopyData(&block).text), 259u);
}

TEST(MainFrameCopyData, EmptyOrNullBlocksAreTheEmptyText) {
    COPYDATASTRUCT block = Block(kCopyDataOpenFile, nullptr, 50);
    CopyDataText decoded = DecodeCopyData(&block);
    EXPECT_EQ(decoded.code, kCopyDataOpenFile);
    EXPECT_STREQ(decoded.text, "");
    block = Block(kCopyDataText, "abc", 0);
    EXPECT_STREQ(DecodeCopyData(&block).text, "");
    EXPECT_EQ(DecodeCopyData(nullptr).code, 0u);
}

TEST(MainFrameCopyData, WideTextIsConvertedAndCut) {
    const wchar_t wide[] = L"Gr\u00f6\u00dfe";
    COPYDATASTRUCT block = Block(kCopyDataText | kCopyDataWide, wide, sizeof(wide));
    CopyDataText decoded = DecodeCopyData(&block);
    EXPECT_EQ(decoded.code, kCopyDataText);
    EXPECT_STREQ(decoded.text, "Gr\xf6\xdf" "e");
    std::wstring longWide(400, L'y');
    block = Block(kCopyDataText | kCopyDataWide, longWide.c_str(), static_cast<DWORD>(longWide.size() * 2));
    decoded = DecodeCopyData(&block);
    EXPECT_EQ(strlen(decoded.text), 259u);
    // An odd byte count reads whole characters only.
    block = Block(kCopyDataText | kCopyDataWide, wide, 5);
    EXPECT_STREQ(DecodeCopyData(&block).text, "Gr");
}

TEST(MainFrameCopyData, CodesUseTheLow32Bits) {
    COPYDATASTRUCT block = Block(static_cast<ULONG_PTR>(0x100000000ull) | kCopyDataSamePath, "", 1);
    EXPECT_EQ(DecodeCopyData(&block).code, kCopyDataSamePath);
}
