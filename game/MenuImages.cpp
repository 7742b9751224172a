// Owner-drawn menus with the toolbar's pictures.
#include "game/MenuImages.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "image/DibRecordLoad.h"
#include "image/OwnerDraw.h"

namespace {

const LPCSTR kToolbarType = MAKEINTRESOURCEA(241);
constexpr COLORREF kMaskColour = 0xC0C0C0;
constexpr COLORREF kDisabledTint = 0xDFDFDF;
constexpr UINT kFirstRecent = 0xE110, kLastRecent = 0xE11F;
constexpr int kTextGap = 6;        // between the picture column and the text
constexpr int kRightGap = 8;       // after the shortcut column
constexpr int kShortcutSpace = 16; // added to the widest shortcut of a popup
constexpr int kMaxPopupStack = 64;
// States of the menu check glyph (DrawCheckGlyph with OwnerDraw::kGlyphMenuCheck).
constexpr DWORD kCheckMarkNormal = 1, kCheckMarkDisabled = 2;

bool IsRecentId(UINT id) { return id >= kFirstRecent && id <= kLastRecent; }

// The data word of a converted item: 0 for a separator, a record's address with kRecordTag set, and for a
// recent-file entry its width, height and index packed (the text is in m_recentTexts).
constexpr ULONG_PTR kRecordTag = 1;
constexpr int kRecentWidthShift = 16, kRecentHeightShift = 8;
constexpr ULONG_PTR kRecentHeightMask = 0xFF, kRecentIndexMask = 0x0F;

ULONG_PTR RecentData(int width, int height, int index) {
    return static_cast<ULONG_PTR>(width) << kRecentWidthShift | static_cast<ULONG_PTR>(height) << kRecentHeightShift |
           static_cast<ULONG_PTR>(index);
}

struct ScreenFontDC {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old;
    explicit ScreenFontDC(HFONT font) : old(SelectObject(dc, font)) {}
    ~ScreenFontDC() {
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
    }
};

// Text of a menu item (ANSI), cut to fit the buffer.
int MenuItemText(HMENU menu, UINT position, char* buffer, int size) {
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    info.dwTypeData = buffer;
    info.cch = size;
    buffer[0] = 0;
    if (!GetMenuItemInfoA(menu, position, TRUE, &info)) return 0;
    buffer[size - 1] = 0;
    return static_cast<int>(strlen(buffer));
}

bool SetOwnerDrawn(HMENU menu, UINT position, ULONG_PTR data) {
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_DATA;
    if (!GetMenuItemInfoA(menu, position, TRUE, &info)) return false;
    info.fType |= MFT_OWNERDRAW;
    info.dwItemData = data;
    return SetMenuItemInfoA(menu, position, TRUE, &info) != 0;
}

// A converted item is owner-drawn; separators, records and recent-file entries alike.
bool IsConverted(HMENU menu, UINT position) {
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    return GetMenuItemInfoA(menu, position, TRUE, &info) && (info.fType & MFT_OWNERDRAW);
}

void FillSolid(HDC dc, const RECT& r, COLORREF colour) {
    SetBkColor(dc, colour);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, "", 0, nullptr);
}

void DrawLabel(HDC dc, const char* text, int length, RECT r, UINT format, COLORREF colour) {
    SetTextColor(dc, colour);
    DrawTextA(dc, text, length, &r, format);
}

// Copies a popup with its items and nested popups.
HMENU CopyPopup(HMENU source, int depth) {
    HMENU copy = CreatePopupMenu();
    if (!copy) return nullptr;
    int count = GetMenuItemCount(source);
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof(text);
        if (!GetMenuItemInfoA(source, i, TRUE, &info)) continue;
        info.fType &= ~MFT_OWNERDRAW;
        if (info.hSubMenu) info.hSubMenu = depth < kMaxPopupStack ? CopyPopup(info.hSubMenu, depth + 1) : nullptr;
        info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU | ((info.fType & MFT_SEPARATOR) ? 0 : MIIM_STRING);
        info.dwTypeData = text;
        InsertMenuItemA(copy, i, TRUE, &info);
    }
    return copy;
}

}  // namespace

COLORREF MenuImages::Half(COLORREF a, COLORREF b) { return ((a >> 1) & 0x7F7F7F) + ((b >> 1) & 0x7F7F7F); }

COLORREF MenuImages::Quarter(COLORREF a, COLORREF b) {
    return ((a >> 2) & 0x3F3F3F) + 3 * ((b >> 2) & 0x3F3F3F);
}

MenuImages::~MenuImages() {
    for (const MenuItemRecord* record : m_records) HeapFree(GetProcessHeap(), 0, const_cast<MenuItemRecord*>(record));
    m_records.clear();
    if (m_normalPictures) ImageList_Destroy(m_normalPictures);
    if (m_disabledPictures) ImageList_Destroy(m_disabledPictures);
    for (HPEN pen : m_pens)
        if (pen) DeleteObject(pen);
    if (m_menuFont) DeleteObject(m_menuFont);
}

BOOL MenuImages::Init(HMODULE module, HMENU menuBar, const UINT* toolbarIds, int count) {
    for (int t = 0; t < count; ++t) {
        HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(toolbarIds[t]), kToolbarType);
        HGLOBAL handle = resource ? LoadResource(module, resource) : nullptr;
        auto* data = static_cast<const WORD*>(handle ? LockResource(handle) : nullptr);
        DWORD size = resource ? SizeofResource(module, resource) : 0;
        // version, width, height, count, then the ids: all of them must lie inside the resource.
        if (!data || size < 8 || size < 8u + 2u * data[3]) continue;
        if (!m_normalPictures) {
            m_pictureWidth = data[1];
            m_pictureHeight = data[2];
            m_normalPictures = ImageList_Create(m_pictureWidth, m_pictureHeight, ILC_COLOR24 | ILC_MASK, data[3], 8);
            m_disabledPictures = ImageList_Create(m_pictureWidth, m_pictureHeight, ILC_COLOR24 | ILC_MASK, data[3], 8);
        }
        HBITMAP strip = LoadBitmapA(module, MAKEINTRESOURCEA(toolbarIds[t]));
        ULONG_PTR inout = 0;
        DibRecord* washed = LoadDibResourceA(nullptr, module, MAKEINTRESOURCEA(toolbarIds[t]), RT_BITMAP,
                                             DibLoad::kConvertDepth | DibLoad::kForceCopy | (24u << DibLoad::kDepthShift), &inout);
        if (washed && IsDibRecord(washed))
            MakeDisabledDib(reinterpret_cast<BITMAPINFO*>(washed), nullptr, kDisabledTint, kMaskColour);
        if (strip) ImageList_AddMasked(m_normalPictures, strip, kMaskColour);
        if (washed && IsDibRecord(washed)) ImageList_AddMasked(m_disabledPictures, GetDibBitmap(washed), kMaskColour);
        if (strip) DeleteObject(strip);
        if (washed && IsDibRecord(washed)) FreeDib(washed);
        for (int i = 0; i < data[3] && m_idCount < kMaxCommands; ++i)
            if (data[4 + i]) m_commandIds[m_idCount++] = data[4 + i];
    }
    if (!m_idCount) return FALSE;

    m_pens[0] = CreatePen(PS_SOLID, 2, 0x008000);
    m_pens[1] = CreatePen(PS_SOLID, 1, 0x00FF00);
    m_pens[2] = CreatePen(PS_SOLID, 2, 0x808080);
    m_pens[3] = CreatePen(PS_SOLID, 1, 0xDEDEDE);
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        m_menuFont = CreateFontIndirectA(&metrics.lfMenuFont);
    if (!m_menuFont) {
        LOGFONTA fallback = {};
        GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(fallback), &fallback);
        m_menuFont = CreateFontIndirectA(&fallback);
    }
    {
        ScreenFontDC screen(m_menuFont);
        GetTextMetricsA(screen.dc, &m_textMetrics);
    }

    // Every popup of the bar, nested ones included (at most 64 waiting).
    HMENU stack[kMaxPopupStack];
    int waiting = 0;
    int top = GetMenuItemCount(menuBar);
    for (int i = top - 1; i >= 0 && waiting < kMaxPopupStack; --i)
        if (HMENU popup = GetSubMenu(menuBar, i)) stack[waiting++] = popup;
    while (waiting > 0) {
        HMENU popup = stack[--waiting];
        ConvertPopup(popup, false);
        AlignShortcuts(popup, WidestShortcut(popup));
        for (int i = GetMenuItemCount(popup) - 1; i >= 0 && waiting < kMaxPopupStack; --i)
            if (HMENU nested = GetSubMenu(popup, i)) stack[waiting++] = nested;
    }
    return TRUE;
}

SIZE MenuImages::MeasureMenuText(HDC dc, const char* text, int length) const {
    RECT r = {0, 0, 0, 0};
    if (length > 0) DrawTextA(dc, text, length, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    return {r.right - r.left, r.bottom - r.top};
}

int MenuImages::ItemHeight() const {
    return std::max<int>(m_textMetrics.tmHeight + 4, GetSystemMetrics(SM_CYMENU));
}

void MenuImages::ConvertItem(HMENU menu, UINT position, HDC dc) {
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU;
    if (!GetMenuItemInfoA(menu, position, TRUE, &info) || (info.fType & MFT_OWNERDRAW)) return;
    if (info.fType & MFT_SEPARATOR) {
        SetOwnerDrawn(menu, position, 0);
        return;
    }
    if (IsRecentId(info.wID)) return;
    auto* record = static_cast<MenuItemRecord*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(MenuItemRecord)));
    if (!record) return;
    MenuItemText(menu, position, record->text, sizeof(record->text));
    const char* tab = strchr(record->text, '\t');
    record->tabPosition = tab ? static_cast<int>(tab - record->text) : -1;
    int textLength = tab ? record->tabPosition : static_cast<int>(strlen(record->text));
    SIZE text = MeasureMenuText(dc, record->text, textLength);
    SIZE shortcut = tab ? MeasureMenuText(dc, tab + 1, static_cast<int>(strlen(tab + 1))) : SIZE{0, 0};
    record->picture = static_cast<short>(info.hSubMenu ? -1 : PictureOf(info.wID));
    record->height = static_cast<WORD>(ItemHeight());
    record->shortcutWidth = static_cast<WORD>(shortcut.cx);
    record->width = static_cast<WORD>(m_pictureWidth + 4 + kTextGap + text.cx + shortcut.cx + kRightGap);
    m_records.insert(record);
    if (!SetOwnerDrawn(menu, position, reinterpret_cast<ULONG_PTR>(record) | kRecordTag)) {
        m_records.erase(record);
        HeapFree(GetProcessHeap(), 0, record);
    }
}

void MenuImages::ConvertRecentItem(HMENU menu, UINT position, UINT id, HDC dc) {
    char text[64];
    int length = MenuItemText(menu, position, text, sizeof(text));
    int index = static_cast<int>(id - kFirstRecent);
    memcpy(m_recentTexts[index], text, sizeof(text));
    SIZE size = MeasureMenuText(dc, text, length);
    int width = std::min(0xFFFF, static_cast<int>(m_pictureWidth + 4 + kTextGap + size.cx + kRightGap));
    int height = std::min(static_cast<int>(kRecentHeightMask), ItemHeight());
    SetOwnerDrawn(menu, position, RecentData(width, height, index));
}

void MenuImages::ConvertPopup(HMENU popup, bool includeRecent) {
    ScreenFontDC screen(m_menuFont);
    int count = GetMenuItemCount(popup);
    for (int i = 0; i < count; ++i) {
        UINT id = GetMenuItemID(popup, i);
        if (IsRecentId(id)) {
            if (includeRecent) ConvertRecentItem(popup, i, id, screen.dc);
        } else if (!IsConverted(popup, i)) {
            ConvertItem(popup, i, screen.dc);
        }
    }
}

int MenuImages::WidestShortcut(HMENU popup) const {
    int widest = 0;
    ScreenFontDC screen(m_menuFont);
    for (int i = 0, count = GetMenuItemCount(popup); i < count; ++i) {
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_DATA;
        if (!GetMenuItemInfoA(popup, i, TRUE, &info)) continue;
        const MenuItemRecord* record = RecordOf(info.dwItemData);
        if (!record || record->tabPosition < 0) continue;
        const char* shortcut = record->text + record->tabPosition + 1;
        widest = std::max<int>(widest, MeasureMenuText(screen.dc, shortcut, static_cast<int>(strlen(shortcut))).cx);
    }
    return widest ? widest + kShortcutSpace : 0;
}

void MenuImages::AlignShortcuts(HMENU popup, int commonWidth) {
    for (int i = 0, count = GetMenuItemCount(popup); i < count; ++i) {
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_DATA;
        if (!GetMenuItemInfoA(popup, i, TRUE, &info)) continue;
        MenuItemRecord* record = RecordOf(info.dwItemData);
        if (!record) continue;
        record->width = static_cast<WORD>(record->width - record->shortcutWidth + commonWidth);
        record->shortcutWidth = static_cast<WORD>(commonWidth);
    }
}

void MenuImages::OnInitMenuPopup(HMENU popup) {
    if (!IsActive() || !popup) return;
    int stored = 0;
    for (int i = 0, count = GetMenuItemCount(popup); i < count; ++i) {
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_DATA;
        if (GetMenuItemInfoA(popup, i, TRUE, &info))
            if (const MenuItemRecord* record = RecordOf(info.dwItemData))
                stored = std::max<int>(stored, record->shortcutWidth);
    }
    ConvertPopup(popup, true);
    AlignShortcuts(popup, std::max(stored, WidestShortcut(popup)));
}

MenuItemRecord* MenuImages::RecordOf(ULONG_PTR data) const {
    if (!(data & kRecordTag)) return nullptr;
    auto* record = reinterpret_cast<MenuItemRecord*>(data & ~kRecordTag);
    return m_records.count(record) ? record : nullptr;
}

int MenuImages::PictureOf(UINT commandId) const {
    if (!commandId) return -1;
    for (int i = m_idCount - 1; i >= 0; --i)
        if (m_commandIds[i] == commandId) return i;
    return -1;
}

bool MenuImages::OnMeasureItem(MEASUREITEMSTRUCT* measure) const {
    if (!measure || measure->CtlType != ODT_MENU || !IsActive()) return false;
    ULONG_PTR data = measure->itemData;
    if (const MenuItemRecord* record = RecordOf(data)) {
        measure->itemWidth = record->width;
        measure->itemHeight = record->height;
    } else if (IsRecentId(measure->itemID) && data) {
        measure->itemWidth = static_cast<UINT>(data >> kRecentWidthShift);
        measure->itemHeight = static_cast<UINT>((data >> kRecentHeightShift) & kRecentHeightMask);
    } else if (data == 0) {
        measure->itemWidth = 20;
        measure->itemHeight = 8;
    } else {
        return false;
    }
    measure->itemWidth += 2;
    return true;
}

bool MenuImages::OnDrawItem(const DRAWITEMSTRUCT* draw) const {
    if (!draw || draw->CtlType != ODT_MENU || !IsActive()) return false;
    if (!(draw->itemAction & (ODA_DRAWENTIRE | ODA_SELECT))) return true;
    HDC dc = draw->hDC;
    const RECT& item = draw->rcItem;
    ULONG_PTR data = draw->itemData;
    const MenuItemRecord* record = RecordOf(data);
    bool recent = !record && IsRecentId(draw->itemID) && data;
    if (!record && !recent && data != 0) return false;

    COLORREF window = GetSysColor(COLOR_WINDOW), highlight = GetSysColor(COLOR_HIGHLIGHT);
    COLORREF grey = GetSysColor(COLOR_GRAYTEXT);
    COLORREF oldBack = GetBkColor(dc), oldText = GetTextColor(dc);
    int oldMode = GetBkMode(dc);
    RECT column = {item.left, item.top, item.left + m_pictureWidth + 4, item.bottom};
    RECT textArea = {column.right, item.top, item.right, item.bottom};

    if (!record && !recent) {
        // Separator: a line three pixels below the top.
        FillSolid(dc, column, GetSysColor(COLOR_MENU));
        FillSolid(dc, textArea, window);
        RECT line = {item.left + 2, item.top + 3, item.right - 2, item.top + 4};
        FillSolid(dc, line, grey);
        SetBkColor(dc, oldBack);
        return true;
    }

    bool disabled = (draw->itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
    bool selected = (draw->itemState & ODS_SELECTED) && !disabled;
    bool checked = (draw->itemState & ODS_CHECKED) != 0;
    FillSolid(dc, column, selected ? Quarter(window, highlight) : GetSysColor(COLOR_MENU));
    FillSolid(dc, textArea, selected ? Half(highlight, window) : window);

    int picture = record ? record->picture : -1;
    if (picture >= 0 && picture < ImageList_GetImageCount(m_normalPictures)) {
        int x = column.left + 2;
        int y = item.top + (item.bottom - item.top - m_pictureHeight) / 2;
        if (checked) {
            RECT ring = {x - 1, y - 1, x + m_pictureWidth + 1, y + m_pictureHeight + 1};
            FillSolid(dc, ring, GetSysColor(COLOR_BTNFACE));
            Draw3dFrame(dc, x - 2, y - 2, m_pictureWidth + 4, m_pictureHeight + 4, kFrameSunken);
        }
        ImageList_Draw(disabled ? m_disabledPictures : m_normalPictures, picture, dc, x, y, ILD_TRANSPARENT);
    } else if (checked) {
        DrawCheckGlyph(dc, &column, OwnerDraw::kGlyphMenuCheck | (disabled ? kCheckMarkDisabled : kCheckMarkNormal), 0);
    }

    HGDIOBJ oldFont = SelectObject(dc, m_menuFont);
    SetBkMode(dc, TRANSPARENT);
    const char* text = record ? record->text : m_recentTexts[data & kRecentIndexMask];
    int tab = record ? record->tabPosition : -1;
    int textLength = tab >= 0 ? tab : static_cast<int>(strlen(text));
    int shortcutWidth = record ? record->shortcutWidth : 0;
    RECT label = {textArea.left + kTextGap - 4, item.top, item.right - shortcutWidth, item.bottom};
    RECT keys = {item.right - shortcutWidth, item.top, item.right, item.bottom};
    const UINT format = DT_SINGLELINE | DT_VCENTER;
    auto drawBoth = [&](int dx, COLORREF colour) {
        RECT a = label, b = keys;
        OffsetRect(&a, dx, dx);
        OffsetRect(&b, dx, dx);
        DrawLabel(dc, text, textLength, a, format, colour);
        if (tab >= 0) DrawLabel(dc, text + tab + 1, static_cast<int>(strlen(text + tab + 1)), b, format, colour);
    };
    if (disabled) {
        drawBoth(1, Quarter(grey, window));
        drawBoth(0, Quarter(window, grey));
    } else {
        drawBoth(0, GetSysColor(selected ? COLOR_CAPTIONTEXT : COLOR_MENUTEXT));
    }
    SelectObject(dc, oldFont);
    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);
    return true;
}

BOOL MenuImages::FreeItem(HMENU menu, UINT position) {
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_DATA;
    if (!GetMenuItemInfoA(menu, position, TRUE, &info)) return FALSE;
    if (MenuItemRecord* record = RecordOf(info.dwItemData)) {
        m_records.erase(record);
        HeapFree(GetProcessHeap(), 0, record);
    }
    MENUITEMINFOA plain = {};
    plain.cbSize = sizeof(plain);
    plain.fMask = MIIM_TYPE | MIIM_DATA;
    plain.fType = MFT_STRING;
    plain.dwTypeData = const_cast<char*>("");
    plain.dwItemData = 0;
    return SetMenuItemInfoA(menu, position, TRUE, &plain);
}

MenuItemRecord* MenuImages::FindRecord(HMENU menu, UINT commandId) const {
    for (int i = 0, count = GetMenuItemCount(menu); i < count; ++i) {
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_DATA | MIIM_SUBMENU;
        if (!GetMenuItemInfoA(menu, i, TRUE, &info)) continue;
        if (info.hSubMenu) {
            if (MenuItemRecord* nested = FindRecord(info.hSubMenu, commandId)) return nested;
        } else if (info.wID == commandId) {
            if (MenuItemRecord* record = RecordOf(info.dwItemData)) return record;
        }
    }
    return nullptr;
}

int MenuImages::GetItemImage(HMENU menuBar, UINT commandId) const {
    const MenuItemRecord* record = FindRecord(menuBar, commandId);
    return record ? record->picture : -1;
}

BOOL MenuImages::SetItemImage(HMENU menuBar, UINT commandId, int index) {
    MenuItemRecord* record = FindRecord(menuBar, commandId);
    if (!record) return FALSE;
    record->picture = static_cast<short>(index);
    return TRUE;
}

int MenuImages::AddPicture(HBITMAP normal, HBITMAP disabled, COLORREF mask) {
    if (!m_normalPictures || !m_disabledPictures) return -1;
    int index = ImageList_AddMasked(m_normalPictures, normal, mask);
    if (index < 0) return -1;
    if (ImageList_AddMasked(m_disabledPictures, disabled ? disabled : normal, mask) < 0) {
        ImageList_Remove(m_normalPictures, index);
        return -1;
    }
    return index;
}

int MenuImages::AddBitmap(HMENU menuBar, UINT commandId, HBITMAP bitmap, COLORREF mask) {
    if (!bitmap) return -1;
    void* bits = nullptr;
    DibRecord* washed = CreateDibFromBitmap(nullptr, bitmap, &bits);
    if (washed) MakeDisabledDib(reinterpret_cast<BITMAPINFO*>(washed), bits, kDisabledTint, mask);
    int index = AddPicture(bitmap, washed ? GetDibBitmap(washed) : nullptr, mask);
    if (washed) FreeDib(washed);
    if (index >= 0 && commandId < 0xFFFF) SetItemImage(menuBar, commandId, index);
    return index;
}

int MenuImages::AddIcon(HMENU menuBar, UINT commandId, HICON icon) {
    if (!icon) return -1;
    void* bits = nullptr;
    DibRecord* picture = CreateDibFromIcon(nullptr, icon, &bits, kMaskColour);
    if (!picture) return -1;
    int index = AddBitmap(menuBar, commandId, GetDibBitmap(picture), kMaskColour);
    FreeDib(picture);
    return index;
}

void MenuImages::FreeRecords(HMENU menu) {
    for (int i = 0, count = GetMenuItemCount(menu); i < count; ++i) {
        if (HMENU nested = GetSubMenu(menu, i)) FreeRecords(nested);
        FreeItem(menu, i);
    }
}

BOOL MenuImages::RemovePopup(HWND frame, HMENU menuBar, UINT commandId) {
    for (int i = 0, count = GetMenuItemCount(menuBar); i < count; ++i) {
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_DATA | MIIM_SUBMENU;
        if (!GetMenuItemInfoA(menuBar, i, TRUE, &info) || !info.hSubMenu || info.wID != commandId) continue;
        for (int k = 0, items = GetMenuItemCount(info.hSubMenu); k < items; ++k) FreeItem(info.hSubMenu, k);
        RemoveMenu(menuBar, i, MF_BYPOSITION);
        if (info.dwItemData == kInsertedPopupData) {
            FreeRecords(info.hSubMenu);
            DestroyMenu(info.hSubMenu);
        }
        if (frame) DrawMenuBar(frame);
        return TRUE;
    }
    return FALSE;
}

BOOL MenuImages::InsertPopup(HWND frame, HMENU menuBar, UINT commandId, HMENU popup, LPCSTR title, int position) {
    if (!menuBar || !popup) return FALSE;
    HMENU copy = CopyPopup(popup, 0);
    if (!copy) return FALSE;
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_DATA | MIIM_SUBMENU | MIIM_STRING;
    info.wID = commandId;
    info.dwItemData = kInsertedPopupData;
    info.hSubMenu = copy;
    info.dwTypeData = const_cast<char*>(title ? title : "");
    if (!InsertMenuItemA(menuBar, position < 0 ? GetMenuItemCount(menuBar) : position, TRUE, &info)) {
        DestroyMenu(copy);
        return FALSE;
    }
    if (frame) DrawMenuBar(frame);
    return TRUE;
}
