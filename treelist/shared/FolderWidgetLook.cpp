#include "treelist/shared/FolderWidgetLook.h"

#include "system/SystemIcons.h"

namespace {

void CreateRowFont(FolderWidgetLook& look) {
    LOGFONTA lf = {};
    if (!SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof lf, &lf, 0)) GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    look.font = CreateFontIndirectA(&lf);
    if (!look.font) look.font = (HFONT)GetStockObject(DEFAULT_GUI_FONT);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, look.font);
    TEXTMETRICA tm = {};
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    look.fontHeight = tm.tmHeight;
}

FolderWidgetLook* CreateLook() {
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&classes);
    auto* look = new FolderWidgetLook();
    CreateRowFont(*look);
    look->images = GetSystemImageList(FALSE);
    look->imageWidth = look->imageHeight = 16;
    if (look->images) ImageList_GetIconSize(look->images, &look->imageWidth, &look->imageHeight);
    look->folderIcon = GetFileIconIndex(FI_FOLDER);
    look->rowHeight = (look->fontHeight > look->imageHeight ? look->fontHeight : look->imageHeight) + 2;
    return look;
}

}  // namespace

const FolderWidgetLook& GetFolderWidgetLook() {
    static FolderWidgetLook* look = CreateLook();
    return *look;
}

COLORREF SelectedRowColour(COLORREF highlight, COLORREF window) {
    auto mix = [](int quarter, int rest) { return (quarter + 3 * rest) / 4; };
    return RGB(mix(GetRValue(highlight), GetRValue(window)), mix(GetGValue(highlight), GetGValue(window)),
               mix(GetBValue(highlight), GetBValue(window)));
}
