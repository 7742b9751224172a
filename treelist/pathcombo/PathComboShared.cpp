#include "treelist/pathcombo/PathComboShared.h"

#include "system/SystemIcons.h"

#include <atomic>

CCriticalSection PathComboLock;

namespace {

std::atomic<PathComboClock> g_clock{nullptr};

template <typename Fn>
void Load(HMODULE module, const char* name, Fn& fn) {
    fn = module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

void LoadThemeEntries(PathComboShared& s) {
    HMODULE theme = LoadLibraryA("UxTheme.dll");
    Load(theme, "SetWindowTheme", s.setWindowTheme);
    Load(theme, "OpenThemeData", s.openThemeData);
    Load(theme, "CloseThemeData", s.closeThemeData);
    Load(theme, "DrawThemeBackground", s.drawThemeBackground);
    Load(theme, "GetThemePartSize", s.getThemePartSize);
    Load(theme, "DrawThemeEdge", s.drawThemeEdge);
    Load(theme, "GetThemeBackgroundContentRect", s.getThemeBackgroundContentRect);
}

void CreateFonts(PathComboShared& s) {
    LOGFONTA lf = {};
    if (!SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof lf, &lf, 0)) GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    s.font = CreateFontIndirectA(&lf);
    if (!s.font) s.font = (HFONT)GetStockObject(DEFAULT_GUI_FONT);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, s.font);
    TEXTMETRICA tm = {};
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    s.fontHeight = tm.tmHeight;
    LOGFONTA marlett = {};
    marlett.lfHeight = s.fontHeight;
    marlett.lfCharSet = SYMBOL_CHARSET;
    lstrcpynA(marlett.lfFaceName, "Marlett", LF_FACESIZE);
    s.marlett = CreateFontIndirectA(&marlett);
}

PathComboShared* CreateShared() {
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&classes);
    auto* s = new PathComboShared();
    CreateFonts(*s);
    s->images = GetSystemImageList(FALSE);
    s->imageWidth = s->imageHeight = 16;
    if (s->images) ImageList_GetIconSize(s->images, &s->imageWidth, &s->imageHeight);
    s->folderIcon = GetFileIconIndex(FI_FOLDER);
    s->rowHeight = (s->fontHeight > s->imageHeight ? s->fontHeight : s->imageHeight) + 2;
    LoadThemeEntries(*s);
    return s;
}

}  // namespace

PathComboShared& GetPathComboShared() {
    static PathComboShared* shared = CreateShared();
    return *shared;
}

void SetPathComboClock(PathComboClock clock) { g_clock.store(clock); }

DWORD PathComboNow() {
    PathComboClock clock = g_clock.load();
    return clock ? clock() : GetTickCount();
}

PathTextMeasure::PathTextMeasure() : m_dc(CreateCompatibleDC(nullptr)) {
    m_oldFont = m_dc ? SelectObject(m_dc, GetPathComboShared().font) : nullptr;
}

PathTextMeasure::~PathTextMeasure() {
    if (!m_dc) return;
    SelectObject(m_dc, m_oldFont);
    DeleteDC(m_dc);
}

int PathTextMeasure::Width(const char* text, int length) const {
    SIZE size = {};
    if (!m_dc || length <= 0 || !GetTextExtentPoint32A(m_dc, text, length, &size)) return 0;
    return size.cx;
}
