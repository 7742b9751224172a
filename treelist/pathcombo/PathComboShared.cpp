#include "treelist/pathcombo/PathComboShared.h"

#include "treelist/shared/FolderWidgetLook.h"

CCriticalSection PathComboLock;

namespace {

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

HFONT CreateMarlett(int height) {
    LOGFONTA marlett = {};
    marlett.lfHeight = height;
    marlett.lfCharSet = SYMBOL_CHARSET;
    lstrcpynA(marlett.lfFaceName, "Marlett", LF_FACESIZE);
    return CreateFontIndirectA(&marlett);
}

PathComboShared* CreateShared() {
    auto* s = new PathComboShared();
    s->marlett = CreateMarlett(GetFolderWidgetLook().fontHeight);
    LoadThemeEntries(*s);
    return s;
}

}  // namespace

PathComboShared& GetPathComboShared() {
    static PathComboShared* shared = CreateShared();
    return *shared;
}

PathTextMeasure::PathTextMeasure() : m_dc(CreateCompatibleDC(nullptr)) {
    m_oldFont = m_dc ? SelectObject(m_dc, GetFolderWidgetLook().font) : nullptr;
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
