// What the rows of the folder widgets' lists share (the path combo box, its popup and the directory
// chooser's list): the icon-title font, the small system image list, the row height, the selected colour.
#pragma once

#include <windows.h>
#include <commctrl.h>

struct FolderWidgetLook {
    HFONT font;         // the icon-title font
    int fontHeight;
    HIMAGELIST images;  // small system image list
    int imageWidth;
    int imageHeight;
    int folderIcon;     // default folder icon
    int rowHeight;      // list rows: larger of font and image height + 2
};

// Created on first use, never freed.
const FolderWidgetLook& GetFolderWidgetLook();

// Background of a selected row: a quarter highlight, three quarters window colour.
COLORREF SelectedRowColour(COLORREF highlight, COLORREF window);
