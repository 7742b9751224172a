// Folder tree tests: a host window that records the tree's notifications, and the tree made in it.
#pragma once

#include "framework/Framework.h"
#include "tests/support/MessagePump.h"
#include "tests/treelist/FolderFixture.h"
#include "treelist/foldertree/FolderTreeCtrl.h"

#include <string>
#include <vector>

// Reaches the tree's worker context (declared a friend of the control).
struct FolderTreeAccess {
    static FolderTreeContext* Of(CFolderTreeCtrl& tree) { return tree.Context(); }
};

namespace foldertreetest {

constexpr UINT kTreeId = 1099;
constexpr DWORD kReadBound = 20000;

// A visible top-level window that records the folder notifications of its children.
class Host : public CWnd {
public:
    struct Note {
        UINT code;
        HTREEITEM item;
        uint32_t value;
        std::string path;
    };
    std::vector<Note> notes;
    LRESULT answer = 0;  // to 4612 and to 4613 before a drag

    Host() {
        CreateEx(0, AfxRegisterWndClass(0), "Ordner", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, CRect(40, 40, 440, 640),
                 nullptr, 0);
    }
    ~Host() override { DestroyWindow(); }
    int Count(UINT code) const {
        int n = 0;
        for (const Note& note : notes) n += note.code == code;
        return n;
    }
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override {
        auto* nm = reinterpret_cast<NMFOLDERTREE*>(lParam);
        if (nm->hdr.code < FTN_CURRENTCHANGED || nm->hdr.code > FTN_DBLCLK)
            return CWnd::OnNotify(wParam, lParam, result);
        notes.push_back({nm->hdr.code, nm->item, nm->value, nm->path ? nm->path : "<null>"});
        *result = nm->hdr.code == FTN_DBLCLK ? 0 : answer;
        return TRUE;
    }
};

}  // namespace foldertreetest
