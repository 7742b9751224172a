// The resources of all "TreeList" windows and the use counter that makes and frees them.
#include "treelist/control/TreeListShared.h"

namespace {

// The counter starts at -1; the window that raises it to 0 makes the resources, the one that brings it back
// to -1 deletes them. Making and deleting run under one process lock, so that a window created on one thread
// never sees half-made resources or ones being deleted by the last window on another thread.
SRWLOCK g_sharedLock = SRWLOCK_INIT;
LONG g_users = -1;
TreeListShared g_shared;

template <typename Fn>
void Bind(HMODULE module, Fn& fn, const char* name) {
    fn = module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

void BindThemeLibrary() {
    static HMODULE library = LoadLibraryA("UxTheme.dll");  // never freed
    Bind(library, g_shared.SetWindowTheme, "SetWindowTheme");
    Bind(library, g_shared.EndBufferedPaint, "EndBufferedPaint");
    Bind(library, g_shared.BeginBufferedPaint, "BeginBufferedPaint");
    Bind(library, g_shared.BufferedPaintInit, "BufferedPaintInit");
    Bind(library, g_shared.BufferedPaintUnInit, "BufferedPaintUnInit");
    Bind(library, g_shared.OpenThemeData, "OpenThemeData");
    Bind(library, g_shared.CloseThemeData, "CloseThemeData");
    Bind(library, g_shared.DrawThemeBackground, "DrawThemeBackground");
    Bind(library, g_shared.GetThemePartSize, "GetThemePartSize");
    Bind(library, g_shared.GetThemeBackgroundContentRect, "GetThemeBackgroundContentRect");
}

HPEN MakeLinePen() {
    LOGBRUSH brush = {BS_SOLID, GetSysColor(COLOR_BTNSHADOW), 0};
    HPEN pen = ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &brush, 0, nullptr);
    return pen ? pen : CreatePen(PS_DOT, 1, RGB(0, 0, 0));
}

HBRUSH MakeCheckerBrush() {
    static const WORD rows[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
    HBITMAP bitmap = CreateBitmap(8, 8, 1, 1, rows);
    if (!bitmap) return nullptr;
    HBRUSH brush = CreatePatternBrush(bitmap);
    DeleteObject(bitmap);
    return brush;
}

bool Make() {
    g_shared.linePen = MakeLinePen();
    g_shared.checkerBrush = MakeCheckerBrush();
    if (!g_shared.linePen || !g_shared.checkerBrush) {
        if (g_shared.linePen) DeleteObject(g_shared.linePen);
        if (g_shared.checkerBrush) DeleteObject(g_shared.checkerBrush);
        g_shared.linePen = nullptr;
        g_shared.checkerBrush = nullptr;
        return false;
    }
    g_shared.arrow = LoadCursorA(nullptr, IDC_ARROW);
    g_shared.hand = LoadCursorA(nullptr, IDC_HAND);
    g_shared.no = LoadCursorA(nullptr, IDC_NO);
    BindThemeLibrary();
    if (g_shared.BufferedPaintInit) g_shared.BufferedPaintInit();
    return true;
}

void Free() {
    DeleteObject(g_shared.linePen);
    DeleteObject(g_shared.checkerBrush);
    g_shared.linePen = nullptr;
    g_shared.checkerBrush = nullptr;
    if (g_shared.BufferedPaintUnInit) g_shared.BufferedPaintUnInit();
}

}  // namespace

bool AcquireTreeListShared() {
    AcquireSRWLockExclusive(&g_sharedLock);
    bool ok = true;
    if (g_users + 1 == 0) ok = Make();
    if (ok) ++g_users;
    ReleaseSRWLockExclusive(&g_sharedLock);
    return ok;
}

void ReleaseTreeListShared() {
    AcquireSRWLockExclusive(&g_sharedLock);
    if (g_users >= 0 && --g_users == -1) Free();
    ReleaseSRWLockExclusive(&g_sharedLock);
}

const TreeListShared& GetTreeListShared() { return g_shared; }

LONG TreeListSharedUsers() {
    AcquireSRWLockShared(&g_sharedLock);
    const LONG users = g_users;
    ReleaseSRWLockShared(&g_sharedLock);
    return users;
}
