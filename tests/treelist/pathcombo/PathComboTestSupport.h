// Path combo tests: a folder tree on disk and a parent window that records the combo's notifications.
#pragma once

#include "framework/Framework.h"
#include "tests/support/HeapCheck.h"
#include "tests/support/MessagePump.h"
#include "tests/treelist/FolderFixture.h"
#include "treelist/pathcombo/PathComboBox.h"

#include <windows.h>

#include <string>
#include <tuple>
#include <vector>

namespace pathcombotest {

using foldertest::DropBlock;
using foldertest::TreeRoot;

// A visible top-level window that records the path notifications of its children.
class Host : public CWnd {
public:
    struct Note {
        UINT code;
        uint32_t phase;
        uint32_t kind;
        std::string path;
        auto Fields() const { return std::tie(code, phase, kind, path); }
    };
    std::vector<Note> notes;
    LRESULT dragAnswer = 0;

    Host() {
        CreateEx(0, AfxRegisterWndClass(0), "Pfad", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, CRect(40, 40, 700, 340),
                 nullptr, 0);
    }
    ~Host() override { DestroyWindow(); }

    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override {
        auto* nm = reinterpret_cast<NMPATHCOMBO*>(lParam);
        if (nm->hdr.code != PCN_PATHCHANGED && nm->hdr.code != PCN_PATHDRAG)
            return CWnd::OnNotify(wParam, lParam, result);
        notes.push_back({nm->hdr.code, nm->phase, nm->kind, nm->path ? nm->path : "<null>"});
        *result = nm->hdr.code == PCN_PATHDRAG && nm->phase == 0 ? dragAnswer : 0;
        return TRUE;
    }
};

// The client x where the combo reports hit code, -1 when nowhere.
inline int XOfHit(const CPathComboBox& combo, int code) {
    RECT r;
    GetClientRect(combo.m_hWnd, &r);
    for (int x = 0; x < r.right; ++x)
        if (combo.HitTest(x, r.bottom / 2) == code) return x;
    return -1;
}

inline void Click(CPathComboBox& combo, int code, WPARAM keys = 0) {
    RECT r;
    GetClientRect(combo.m_hWnd, &r);
    const LPARAM at = MAKELPARAM(XOfHit(combo, code), r.bottom / 2);
    combo.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | keys, at);
    combo.SendMessage(WM_LBUTTONUP, keys, at);
}

inline std::string ComboText(HWND combo) {
    char text[512] = {};
    SendMessageA(combo, WM_GETTEXT, sizeof text, (LPARAM)text);
    return text;
}

}  // namespace pathcombotest
