// Owner-drawn menus with the toolbar's pictures: every menu command that also sits on a toolbar shows its picture
// beside the text (washed out when disabled, framed when checked), unchecked commands without a picture get a
// check glyph when checked, and the shortcut texts of a popup start in one column. Plain Win32 over HMENUs; the
// main frame owns one of these and forwards its menu messages.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <unordered_set>

// Frame messages of the owner-drawn menus.
constexpr UINT kMsgFreeMenuItem = 0x5E96;    // wParam item position, lParam CMenu*: make it a plain empty item
constexpr UINT kMsgMenuImagesProbe = 0x5E97; // answers kMenuImagesAnswer
constexpr LRESULT kMenuImagesAnswer = 0x12345678;
// Data word of popups inserted by InsertPopup.
constexpr ULONG_PTR kInsertedPopupData = 0xFF55AA88;

// The record every converted item but separators and recent-file entries carries (its data word is the address
// with bit 0 set).
struct MenuItemRecord {
    char text[64];
    int tabPosition;       // index of the '\t' before the shortcut, -1 none
    short picture;         // index in the image lists, -1 none
    WORD height;
    WORD width;
    WORD shortcutWidth;
};

class MenuImages {
public:
    static constexpr int kMaxCommands = 512;

    MenuImages() = default;
    MenuImages(const MenuImages&) = delete;
    MenuImages& operator=(const MenuImages&) = delete;
    ~MenuImages();

    // Loads the RT_TOOLBAR resources and bitmaps of the ids from module and converts every item of the menu
    // bar. FALSE when no toolbar id was found (the menus stay plain).
    BOOL Init(HMODULE module, HMENU menuBar, const UINT* toolbarIds, int count);
    bool IsActive() const { return m_idCount > 0; }

    // WM_INITMENUPOPUP: converts what is not converted yet (recent files included) and aligns the shortcuts.
    void OnInitMenuPopup(HMENU popup);
    // WM_MEASUREITEM / WM_DRAWITEM of menu items; false when the item is none of ours.
    bool OnMeasureItem(MEASUREITEMSTRUCT* measure) const;
    bool OnDrawItem(const DRAWITEMSTRUCT* draw) const;

    // Frees the record of the item at position and leaves a plain item with empty text.
    BOOL FreeItem(HMENU menu, UINT position);

    int GetItemImage(HMENU menuBar, UINT commandId) const;
    BOOL SetItemImage(HMENU menuBar, UINT commandId, int index);
    // Adds a picture to both lists (the disabled one washed out); for ids below 0xFFFF it is attached to the
    // command's record. Returns the index, -1 on failure.
    int AddIcon(HMENU menuBar, UINT commandId, HICON icon);
    int AddBitmap(HMENU menuBar, UINT commandId, HBITMAP bitmap, COLORREF mask);
    // Removes the top-level popup with that id (records freed first; destroyed when it was inserted here).
    BOOL RemovePopup(HWND frame, HMENU menuBar, UINT commandId);
    // Inserts a copy of popup at position of the menu bar, with that id.
    BOOL InsertPopup(HWND frame, HMENU menuBar, UINT commandId, HMENU popup, LPCSTR title, int position);

    // The record behind an item's data word, or null (never reads memory that is not a record).
    MenuItemRecord* RecordOf(ULONG_PTR data) const;
    int PictureOf(UINT commandId) const;

    // Colour mixes of the blended look: (a + b) / 2 and (a + 3b) / 4 per channel.
    static COLORREF Half(COLORREF a, COLORREF b);
    static COLORREF Quarter(COLORREF a, COLORREF b);

    WORD m_commandIds[kMaxCommands] = {};
    int m_idCount = 0;
    int m_pictureWidth = 16;
    int m_pictureHeight = 15;
    HFONT m_menuFont = nullptr;
    TEXTMETRICA m_textMetrics = {};
    HIMAGELIST m_normalPictures = nullptr;
    HIMAGELIST m_disabledPictures = nullptr;
    HPEN m_pens[4] = {};
    char m_recentTexts[16][64] = {};

private:
    void ConvertPopup(HMENU popup, bool includeRecent);
    void ConvertItem(HMENU menu, UINT position, HDC dc);
    void ConvertRecentItem(HMENU menu, UINT position, UINT id, HDC dc);
    void AlignShortcuts(HMENU popup, int commonWidth);
    int WidestShortcut(HMENU popup) const;
    SIZE MeasureMenuText(HDC dc, const char* text, int length) const;
    MenuItemRecord* FindRecord(HMENU menu, UINT commandId) const;
    int ItemHeight() const;
    int AddPicture(HBITMAP normal, HBITMAP disabled, COLORREF mask);
    void FreeRecords(HMENU menu);

    std::unordered_set<const MenuItemRecord*> m_records;
};
