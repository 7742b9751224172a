// Graphics, pens, lines and ellipse outlines: GDI+ calls while it is loaded, GDI calls otherwise.
#include "image/gdiplus/GdiplusAA.h"
#include "image/gdiplus/GdiplusFlat.h"

namespace {

bool Loaded() { return gdiplus::CurrentState() == gdiplus::kLoaded; }
const gdiplus::Api& Api() { return gdiplus::Bound(); }

} // namespace

GdipGraphicsHandle GdipBeginGraphics(HDC dc) {
    if (!Loaded()) return dc;
    gdiplus::GpGraphics* graphics = nullptr;
    if (Api().CreateFromHDC(dc, &graphics) != 0 || !graphics) return nullptr;
    Api().SetSmoothingMode(graphics, gdiplus::kSmoothingAntiAlias);
    return graphics;
}

BOOL GdipEndGraphics(GdipGraphicsHandle graphics) {
    if (!Loaded()) return TRUE; // the DC itself: nothing to end
    return graphics && Api().DeleteGraphics(graphics) == 0;
}

GdipPenHandle GdipCreatePenAA(int width, COLORREF colour) {
    if (!Loaded()) return CreatePen(PS_SOLID, width, colour);
    gdiplus::GpPen* pen = nullptr;
    if (Api().CreatePen1(ArgbFromColorRef(colour), (float)width, gdiplus::kUnitPixel, &pen) != 0) return nullptr;
    return pen;
}

BOOL GdipDeletePenAA(GdipPenHandle pen) {
    if (!pen) return FALSE;
    if (!Loaded()) return DeleteObject((HPEN)pen);
    return Api().DeletePen(pen) == 0;
}

BOOL GdipDrawLineAA(GdipGraphicsHandle graphics, GdipPenHandle pen, int x1, int y1, int x2, int y2) {
    if (!graphics || !pen) return FALSE;
    if (Loaded()) return Api().DrawLineI(graphics, pen, x1, y1, x2, y2) == 0;
    const HDC dc = (HDC)graphics;
    const HGDIOBJ old = SelectObject(dc, (HPEN)pen);
    MoveToEx(dc, x1, y1, nullptr);
    const BOOL ok = LineTo(dc, x2, y2);
    SelectObject(dc, old);
    return ok;
}

BOOL GdipDrawEllipseAA(GdipGraphicsHandle graphics, GdipPenHandle pen, int x, int y, int width, int height) {
    if (!graphics || !pen) return FALSE;
    if (Loaded()) return Api().DrawEllipseI(graphics, pen, x, y, width, height) == 0;
    // Ellipse would also fill with the DC's brush: an outline, as GDI+ draws it, needs the null brush.
    const HDC dc = (HDC)graphics;
    const HGDIOBJ oldPen = SelectObject(dc, (HPEN)pen);
    const HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    const BOOL ok = Ellipse(dc, x, y, x + width, y + height);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    return ok;
}
