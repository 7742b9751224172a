#include "ui/services/DebugConsole.h"
#include "ui/services/DragSources.h"
#include "ui/services/RecycleBin.h"
#include "ui/services/ShowMessageBox.h"

#include "ui/filedialog/FileDialogTestSupport.h"
#include "ui/UiTestSupport.h"

#include <gtest/gtest.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::string FullPath(const std::string& path) {
    char full[MAX_PATH];
    GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    return full;
}

void Touch(const std::string& path) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(f);
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The block a data source offers in a format (empty when none).
std::vector<char> Offered(COleDataSource& source, CLIPFORMAT format) {
    IDataObject* data = source.GetDataObject(TRUE);
    FORMATETC fmt = {format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium = {};
    std::vector<char> bytes;
    if (SUCCEEDED(data->GetData(&fmt, &medium))) {
        const char* p = static_cast<const char*>(GlobalLock(medium.hGlobal));
        bytes.assign(p, p + GlobalSize(medium.hGlobal));
        GlobalUnlock(medium.hGlobal);
        ReleaseStgMedium(&medium);
    }
    data->Release();
    return bytes;
}

}  // namespace

TEST(DragSources, FileBlockReadsBackThroughDragQueryFile) {
    uitest::TempFolder folder("drag");
    const std::string file = folder.path + "\\Datei ä.txt";
    Touch(file);
    EXPECT_EQ(DragFileSource((folder.path + "\\fehlt.txt").c_str()), 0);
    EXPECT_EQ(MakeFileDragSource(""), nullptr);
    EXPECT_EQ(MakeFileDragSource((folder.path + "\\" + std::string(300, 'x')).c_str()), nullptr);
    std::unique_ptr<COleDataSource> source = MakeFileDragSource(file.c_str());
    ASSERT_NE(source, nullptr);
    const std::vector<char> block = Offered(*source, CF_HDROP);
    const std::string full = FullPath(file);
    // A DROPFILES header (names at offset 20, ANSI), the full path and two NULs.
    std::string expected(sizeof(DROPFILES), '\0');
    expected[0] = 20;
    EXPECT_EQ(std::string(block.begin(), block.end()), expected + full + std::string(2, '\0'));

    // The system reads the block back as the one file.
    HGLOBAL drop = GlobalAlloc(GMEM_MOVEABLE, block.size());
    std::memcpy(GlobalLock(drop), block.data(), block.size());
    GlobalUnlock(drop);
    char name[MAX_PATH] = {};
    EXPECT_EQ(DragQueryFileA(static_cast<HDROP>(drop), 0xFFFFFFFF, nullptr, 0), 1u);
    EXPECT_EQ(DragQueryFileA(static_cast<HDROP>(drop), 0, name, MAX_PATH), full.size());
    EXPECT_EQ(std::string(name), full);
    GlobalFree(drop);
}

TEST(DragSources, TextBlocksInEveryMode) {
    EXPECT_EQ(DragTextSource("", -1, 0), 0);
    EXPECT_EQ(DragTextSource("abc", 0, 1), 0);
    std::unique_ptr<COleDataSource> plain = MakeTextDragSource("Grüße, Welt", 5, 0);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(Offered(*plain, CF_TEXT), (std::vector<char>{'G', 'r', '\xFC', '\xDF', 'e', 0}));
    EXPECT_TRUE(Offered(*plain, CF_UNICODETEXT).empty());
    std::unique_ptr<COleDataSource> both = MakeTextDragSource("Grüße", -1, 1);
    const std::vector<char> wide = Offered(*both, CF_UNICODETEXT);
    ASSERT_EQ(wide.size(), 12u);
    EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(wide.data())), L"Grüße");
    std::unique_ptr<COleDataSource> utf8 = MakeTextDragSource("Gr\xC3\xBC\xC3\x9F" "e", -1, 2);
    const std::vector<char> ansi = Offered(*utf8, CF_TEXT);
    EXPECT_EQ(std::string(ansi.data()), "Grüße");
}

TEST(RecycleBin, DeletesAFileAndRefusesWhatCouldNameAnotherObject) {
    uitest::TempFolder folder("recycle");
    const std::string file = folder.path + "\\weg.txt";
    Touch(file);
    EXPECT_TRUE(DeleteToRecycleBin(file.c_str()));
    EXPECT_FALSE(Exists(file));
    for (const char* gone : {file.c_str(), "", (const char*)nullptr})  // missing: no dialog, FALSE
        EXPECT_FALSE(DeleteToRecycleBin(gone));
    // A 260-character path is not cut to the 259 characters that name an existing file.
    std::string keep = folder.path + "\\";
    keep += std::string(259 - keep.size(), 'k');
    Touch(keep);
    ASSERT_TRUE(Exists(keep));
    for (const std::string& other : {keep + "x", folder.path + "\\*"}) {
        EXPECT_FALSE(DeleteToRecycleBin(other.c_str())) << other;
        EXPECT_TRUE(Exists(keep)) << other;
    }
    DeleteFileA(keep.c_str());
}

TEST(UiServices, ShowMessageBoxAndBringWindowToFront) {
    std::wstring text;
    uitest::DialogDriver driver([&](HWND box, int) {
        wchar_t buffer[64] = {};
        GetDlgItemTextW(box, 100, buffer, 64);
        text = buffer;
        PostMessageA(box, WM_COMMAND, IDNO, 0);
        return true;
    });
    EXPECT_EQ(ShowMessageBox(nullptr, "Löschen?", "Frage", MB_YESNO | 0x2000), IDNO);
    EXPECT_EQ(text, L"Löschen?");

    uitest::TestParent window;
    ShowWindow(window.hwnd, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(window.hwnd));
    BringWindowToFront(window.hwnd);
    EXPECT_FALSE(IsIconic(window.hwnd));
    EXPECT_TRUE(IsWindowVisible(window.hwnd));
}
