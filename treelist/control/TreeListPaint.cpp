#include "treelist/control/TreeListHandlers.h"

LRESULT OnPaint(TreeListData* d, HDC dc) {
    if (dc) return 0;
    PAINTSTRUCT ps;
    BeginPaint(d->window, &ps);
    EndPaint(d->window, &ps);
    return 0;
}
