// Owner-drawn menus with toolbar pictures, on the menu and toolbar of this test program (MenuImagesTest.rc).
#include <gtest/gtest.h>

#include <cstring>

#include "game/MenuImages.h"

#include "tests/support/Canvas.h"

namespace {

constexpr UINT kToolbar = 7101;
constexpr UINT kNew = 7201, kOpen = 7202, kExit = 7203, kLong = 7204, kGrid = 7205, kBelow = 7206;
constexpr UINT kRecent = 0xE110;

struct LoadedMenu {
    HMENU bar = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kToolbar));
    MenuImages images;
    LoadedMenu() {
        UINT ids[] = {kToolbar};
        ok = images.Init(GetModuleHandleA(nullptr), bar, ids, 1);
    }
    ~LoadedMenu() { DestroyMenu(bar); }
    HMENU Popup(int i) const { return GetSubMenu(bar, i); }
    MENUITEMINFOA Item(HMENU menu, int position) const {
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_ID | MIIM_SUBMENU;
        GetMenuItemInfoA(menu, position, TRUE, &info);
        return info;
    }
    BOOL ok;
};

// A canvas for one menu item, black as a new bitmap is.
Canvas ItemCanvas() { return Canvas(220, 24, RGB(0, 0, 0)); }

DRAWITEMSTRUCT DrawRequest(HDC dc, HMENU menu, UINT id, ULONG_PTR data, UINT state) {
    DRAWITEMSTRUCT draw = {};
    draw.CtlType = ODT_MENU;
    draw.itemID = id;
    draw.itemAction = ODA_DRAWENTIRE;
    draw.itemState = state;
    draw.hwndItem = reinterpret_cast<HWND>(menu);
    draw.hDC = dc;
    draw.rcItem = {0, 0, 220, 24};
    draw.itemData = data;
    return draw;
}

}  // namespace

TEST(MenuImages, ConvertsEveryItemAndFindsThePictures) {
    LoadedMenu m;
    ASSERT_TRUE(m.ok);
    EXPECT_EQ(m.images.m_idCount, 3);
    EXPECT_EQ(m.images.m_pictureWidth, 16);
    EXPECT_EQ(m.images.m_pictureHeight, 15);
    HMENU file = m.Popup(0);
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(m.Item(file, i).fType & MFT_OWNERDRAW) << i;
    EXPECT_EQ(m.Item(file, 2).dwItemData, 0u);  // separator
    EXPECT_TRUE(m.Item(file, 0).dwItemData & 1);
    // Recent files wait for the popup to open.
    EXPECT_FALSE(m.Item(file, 4).fType & MFT_OWNERDRAW);
    // Nested popups are converted too.
    HMENU more = GetSubMenu(m.Popup(1), 2);
    ASSERT_NE(more, nullptr);
    EXPECT_TRUE(m.Item(more, 0).fType & MFT_OWNERDRAW);

    EXPECT_EQ(m.images.GetItemImage(m.bar, kNew), 0);
    EXPECT_EQ(m.images.GetItemImage(m.bar, kExit), 1);
    EXPECT_EQ(m.images.GetItemImage(m.bar, kGrid), 2);
    EXPECT_EQ(m.images.GetItemImage(m.bar, kOpen), -1);
    EXPECT_EQ(m.images.GetItemImage(m.bar, 9999), -1);
    EXPECT_TRUE(m.images.SetItemImage(m.bar, kBelow, 1));
    EXPECT_EQ(m.images.GetItemImage(m.bar, kBelow), 1);

    const MenuItemRecord* open = m.images.RecordOf(m.Item(file, 1).dwItemData);
    ASSERT_NE(open, nullptr);
    EXPECT_STREQ(open->text, "Ö&ffnen...\tStrg+Umschalt+O");
    EXPECT_EQ(open->tabPosition, 10);
    const MenuItemRecord* longOne = m.images.RecordOf(m.Item(m.Popup(1), 0).dwItemData);
    ASSERT_NE(longOne, nullptr);
    EXPECT_EQ(strlen(longOne->text), 63u);
    EXPECT_EQ(longOne->tabPosition, -1);
}

TEST(MenuImages, ShortcutsOfOnePopupShareOneColumn) {
    LoadedMenu m;
    HMENU file = m.Popup(0);
    const MenuItemRecord* newItem = m.images.RecordOf(m.Item(file, 0).dwItemData);
    const MenuItemRecord* open = m.images.RecordOf(m.Item(file, 1).dwItemData);
    const MenuItemRecord* exitItem = m.images.RecordOf(m.Item(file, 3).dwItemData);
    ASSERT_TRUE(newItem && open && exitItem);
    EXPECT_EQ(newItem->shortcutWidth, open->shortcutWidth);
    EXPECT_EQ(exitItem->shortcutWidth, open->shortcutWidth);
    // The column is the widest shortcut plus 16 pixels.
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, m.images.m_menuFont);
    RECT r = {};
    DrawTextA(dc, "Strg+Umschalt+O", -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    EXPECT_EQ(open->shortcutWidth, r.right + 16);

    // Opening the popup again keeps the column.
    m.images.OnInitMenuPopup(file);
    EXPECT_EQ(newItem->shortcutWidth, open->shortcutWidth);
    EXPECT_EQ(open->shortcutWidth, r.right + 16);
}

TEST(MenuImages, MeasuringRecordsSeparatorsAndRecentFiles) {
    LoadedMenu m;
    HMENU file = m.Popup(0);
    MEASUREITEMSTRUCT measure = {};
    measure.CtlType = ODT_MENU;
    measure.itemID = kOpen;
    measure.itemData = m.Item(file, 1).dwItemData;
    ASSERT_TRUE(m.images.OnMeasureItem(&measure));
    const MenuItemRecord* open = m.images.RecordOf(measure.itemData);
    EXPECT_EQ(measure.itemWidth, open->width + 2u);
    EXPECT_EQ(measure.itemHeight, static_cast<UINT>(std::max<int>(m.images.m_textMetrics.tmHeight + 4,
                                                                  GetSystemMetrics(SM_CYMENU))));
    measure.itemID = 0;
    measure.itemData = 0;
    ASSERT_TRUE(m.images.OnMeasureItem(&measure));
    EXPECT_EQ(measure.itemWidth, 22u);
    EXPECT_EQ(measure.itemHeight, 8u);

    m.images.OnInitMenuPopup(file);
    MENUITEMINFOA recent = m.Item(file, 4);
    ASSERT_TRUE(recent.fType & MFT_OWNERDRAW);
    EXPECT_STREQ(m.images.m_recentTexts[0], "1 Das Spiel");
    measure.itemID = kRecent;
    measure.itemData = recent.dwItemData;
    ASSERT_TRUE(m.images.OnMeasureItem(&measure));
    EXPECT_EQ(measure.itemWidth, (recent.dwItemData >> 16) + 2);
    EXPECT_EQ(measure.itemHeight, (recent.dwItemData >> 8) & 255);
    EXPECT_EQ(recent.dwItemData & 255, 0u);

    // Other controls are not ours.
    MEASUREITEMSTRUCT list = {};
    list.CtlType = ODT_LISTBOX;
    EXPECT_FALSE(m.images.OnMeasureItem(&list));
}

TEST(MenuImages, DrawsPicturesPlainWashedOutAndFramed) {
    LoadedMenu m;
    HMENU file = m.Popup(0);
    ULONG_PTR newData = m.Item(file, 0).dwItemData;
    COLORREF window = GetSysColor(COLOR_WINDOW), highlight = GetSysColor(COLOR_HIGHLIGHT);

    Canvas normal = ItemCanvas();
    DRAWITEMSTRUCT draw = DrawRequest(normal.dc, file, kNew, newData, 0);
    ASSERT_TRUE(m.images.OnDrawItem(&draw));
    EXPECT_EQ(normal.At(8, 10), RGB(255, 0, 0));             // the red picture
    EXPECT_EQ(normal.At(2, 4), GetSysColor(COLOR_MENU));     // the mask grey shows the column
    EXPECT_EQ(normal.At(19, 1), GetSysColor(COLOR_MENU));    // column is picture width + 4 wide
    EXPECT_EQ(normal.At(21, 1), window);                     // text area

    Canvas selected = ItemCanvas();
    draw = DrawRequest(selected.dc, file, kNew, newData, ODS_SELECTED);
    m.images.OnDrawItem(&draw);
    EXPECT_EQ(selected.At(1, 1), MenuImages::Quarter(window, highlight));
    EXPECT_EQ(selected.At(150, 1), MenuImages::Half(highlight, window));

    Canvas disabled = ItemCanvas();
    draw = DrawRequest(disabled.dc, file, kNew, newData, ODS_GRAYED | ODS_SELECTED);
    m.images.OnDrawItem(&draw);
    // Red washed out toward 0xDFDFDF: y = 44 x 255 >> 8 = 43, (43 / 3 + 192) x 223 >> 8 = 179.
    EXPECT_EQ(disabled.At(8, 10), RGB(179, 179, 179));
    EXPECT_EQ(disabled.At(150, 1), window);  // a disabled item is never drawn selected

    Canvas checked = ItemCanvas();
    draw = DrawRequest(checked.dc, file, kNew, newData, ODS_CHECKED);
    m.images.OnDrawItem(&draw);
    EXPECT_EQ(checked.At(1, 4), GetSysColor(COLOR_BTNFACE));  // the ring around the picture
    EXPECT_EQ(checked.At(0, 3), GetSysColor(COLOR_BTNSHADOW)); // the sunken frame
    EXPECT_EQ(checked.At(8, 10), RGB(255, 0, 0));
}

TEST(MenuImages, CheckedCommandWithoutPictureGetsAGlyph) {
    LoadedMenu m;
    HMENU file = m.Popup(0);
    ULONG_PTR openData = m.Item(file, 1).dwItemData;
    Canvas plain = ItemCanvas(), checked = ItemCanvas();
    DRAWITEMSTRUCT draw = DrawRequest(plain.dc, file, kOpen, openData, 0);
    m.images.OnDrawItem(&draw);
    draw = DrawRequest(checked.dc, file, kOpen, openData, ODS_CHECKED);
    m.images.OnDrawItem(&draw);
    int plainInk = 0, checkedInk = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 20; ++x) {
            plainInk += plain.At(x, y) != GetSysColor(COLOR_MENU);
            checkedInk += checked.At(x, y) != GetSysColor(COLOR_MENU);
        }
    EXPECT_EQ(plainInk, 0);
    EXPECT_GT(checkedInk, 0);
    // The text lies in the text area.
    int textInk = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 20; x < 120; ++x) textInk += plain.At(x, y) != GetSysColor(COLOR_WINDOW);
    EXPECT_GT(textInk, 10);

    Canvas separator = ItemCanvas();
    draw = DrawRequest(separator.dc, file, 0, 0, 0);
    ASSERT_TRUE(m.images.OnDrawItem(&draw));
    EXPECT_EQ(separator.At(2, 3), GetSysColor(COLOR_GRAYTEXT));
    EXPECT_EQ(separator.At(1, 3), GetSysColor(COLOR_MENU));
    EXPECT_EQ(separator.At(100, 3), GetSysColor(COLOR_GRAYTEXT));
    EXPECT_EQ(separator.At(100, 5), GetSysColor(COLOR_WINDOW));
}

TEST(MenuImages, FreeingAnItemLeavesAPlainEmptyItem) {
    LoadedMenu m;
    HMENU file = m.Popup(0);
    ULONG_PTR data = m.Item(file, 0).dwItemData;
    ASSERT_NE(m.images.RecordOf(data), nullptr);
    EXPECT_TRUE(m.images.FreeItem(file, 0));
    EXPECT_EQ(m.images.RecordOf(data), nullptr);
    MENUITEMINFOA after = m.Item(file, 0);
    EXPECT_FALSE(after.fType & MFT_OWNERDRAW);
    EXPECT_EQ(after.dwItemData, 0u);
    char text[8] = "x";
    GetMenuStringA(file, 0, text, sizeof(text), MF_BYPOSITION);
    EXPECT_STREQ(text, "");
    // Drawing data that is no record is refused, not followed.
    Canvas canvas = ItemCanvas();
    DRAWITEMSTRUCT draw = DrawRequest(canvas.dc, file, kNew, data, 0);
    EXPECT_FALSE(m.images.OnDrawItem(&draw));
}

TEST(MenuImages, InsertedPopupsAreCopiesThatRemovalDestroys) {
    LoadedMenu m;
    HMENU source = CreatePopupMenu();
    AppendMenuA(source, MF_STRING, kOpen, "Ö&ffnen");
    AppendMenuA(source, MF_STRING, kNew, "&Neu\tStrg+N");
    int before = GetMenuItemCount(m.bar);
    ASSERT_TRUE(m.images.InsertPopup(nullptr, m.bar, 7300, source, "&Extra", 1));
    EXPECT_EQ(GetMenuItemCount(m.bar), before + 1);
    MENUITEMINFOA inserted = m.Item(m.bar, 1);
    EXPECT_EQ(inserted.wID, 7300u);
    EXPECT_EQ(inserted.dwItemData, kInsertedPopupData);
    ASSERT_NE(inserted.hSubMenu, source);
    m.images.OnInitMenuPopup(inserted.hSubMenu);
    EXPECT_EQ(m.images.GetItemImage(inserted.hSubMenu, kNew), 0);
    // The source stays plain.
    EXPECT_FALSE(m.Item(source, 1).fType & MFT_OWNERDRAW);

    ASSERT_TRUE(m.images.RemovePopup(nullptr, m.bar, 7300));
    EXPECT_EQ(GetMenuItemCount(m.bar), before);
    EXPECT_FALSE(IsMenu(inserted.hSubMenu));
    EXPECT_FALSE(m.images.RemovePopup(nullptr, m.bar, 7300));
    DestroyMenu(source);
}

TEST(MenuImages, AddedBitmapsGetBothLists) {
    LoadedMenu m;
    HDC screen = GetDC(nullptr);
    HBITMAP picture = CreateCompatibleBitmap(screen, 16, 15);
    ReleaseDC(nullptr, screen);
    int index = m.images.AddBitmap(m.bar, kOpen, picture, 0xC0C0C0);
    EXPECT_EQ(index, 3);
    EXPECT_EQ(ImageList_GetImageCount(m.images.m_normalPictures), 4);
    EXPECT_EQ(ImageList_GetImageCount(m.images.m_disabledPictures), 4);
    EXPECT_EQ(m.images.GetItemImage(m.bar, kOpen), 3);
    // Ids of 0xFFFF and above add a picture without attaching it.
    EXPECT_EQ(m.images.AddBitmap(m.bar, 0xFFFF, picture, 0xC0C0C0), 4);
    DeleteObject(picture);
    HICON icon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));
    EXPECT_EQ(m.images.AddIcon(m.bar, kGrid, icon), 5);
    EXPECT_EQ(m.images.GetItemImage(m.bar, kGrid), 5);
    EXPECT_EQ(m.images.AddBitmap(m.bar, kGrid, nullptr, 0), -1);
}

TEST(MenuImages, WithoutToolbarTheMenuStaysPlain) {
    HMENU bar = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kToolbar));
    MenuImages images;
    UINT missing[] = {4242};
    EXPECT_FALSE(images.Init(GetModuleHandleA(nullptr), bar, missing, 1));
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoA(GetSubMenu(bar, 0), 0, TRUE, &info);
    EXPECT_FALSE(info.fType & MFT_OWNERDRAW);
    MEASUREITEMSTRUCT measure = {};
    measure.CtlType = ODT_MENU;
    EXPECT_FALSE(images.OnMeasureItem(&measure));
    DestroyMenu(bar);
}

TEST(MenuImages, ColourMixes) {
    EXPECT_EQ(MenuImages::Half(0xFFFFFF, 0x000000), 0x7F7F7Fu);
    EXPECT_EQ(MenuImages::Half(0x204060, 0x204060), 0x204060u);
    EXPECT_EQ(MenuImages::Quarter(0x000000, 0xFFFFFF), 0xBDBDBDu);
    EXPECT_EQ(MenuImages::Quarter(0x808080, 0x000000), 0x202020u);
}
