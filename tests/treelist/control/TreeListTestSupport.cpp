#include "treelist/control/TreeListTestSupport.h"

#include "tests/support/TestWindowClass.h"

namespace tltest {

namespace {

const char* ParentClass() {
    static const char* name = RegisterTestWindowClass("WlTreeListTestParent", TreeListRig::ParentProc);
    return name;
}

size_t PayloadSize(UINT code) {
    switch (code) {
    case TVN_GETDISPINFOA:
    case TVN_SETDISPINFOA: return sizeof(NMTVDISPINFOA);
    case TLN_COLUMNCHANGED: return sizeof(NMTREELISTCOLUMN);
    case TLN_SCROLLED: return sizeof(NMTREELISTSCROLL);
    case TVN_BEGINLABELEDITA:
    case TVN_ENDLABELEDITA: return sizeof(NMTVDISPINFOA);
    case TLN_EDITREQUEST: return sizeof(NMTREELISTEDITREQUEST);
    case TVN_GETINFOTIPA: return sizeof(NMHDR);  // an info-tip record, not a tree-view one
    case TLN_HEADERRCLICK: return sizeof(NMTREELISTHEADERCLICK);
    case static_cast<UINT>(HDN_ITEMCLICKA):
    case static_cast<UINT>(HDN_ITEMDBLCLICKA): return sizeof(NMHEADERA);
    case NM_CLICK:
    case NM_DBLCLK:
    case NM_RCLICK:
    case NM_RDBLCLK: return sizeof(NMTREEVIEWA);
    default: return code <= TVN_FIRST && code >= TLN_SCROLLED ? sizeof(NMTREEVIEWA) : sizeof(NMHDR);
    }
}

}  // namespace

LRESULT CALLBACK TreeListRig::ParentProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE)
        SetWindowLongPtrA(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams));
    auto* rig = reinterpret_cast<TreeListRig*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (rig && msg == WM_NOTIFY) {
        auto* hdr = reinterpret_cast<NMHDR*>(lp);
        if (hdr->hwndFrom == rig->tree) {
            Notification n = {};
            n.code = hdr->code;
            n.thread = GetCurrentThreadId();
            memcpy(&n.hdr, hdr, PayloadSize(n.code));
            const bool disp = PayloadSize(n.code) == sizeof(NMTVDISPINFOA);
            const TVITEMA& item = disp ? n.disp.item : n.tree.itemNew;
            // The cell tip carries its text without the text bit.
            const bool text = (item.mask & TVIF_TEXT) || n.code == TLN_CELLTIP;
            if ((disp || PayloadSize(n.code) >= sizeof(NMTREEVIEWA)) && text && item.pszText &&
                item.pszText != LPSTR_TEXTCALLBACKA)
                n.text = item.pszText;
            rig->log.push_back(n);
        }
        return rig->answer ? rig->answer(hdr) : 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

TreeListRig::TreeListRig(DWORD style, int width, int height, DWORD exStyle) {
    RegisterTreeListClass(GetModuleHandleA(nullptr));
    parent = CreateWindowExA(0, ParentClass(), "TreeList test", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 20, 20,
                             width + 40, height + 40, nullptr, nullptr, GetModuleHandleA(nullptr), this);
    tree = CreateWindowExA(exStyle, kTreeListClassName, "", WS_CHILD | WS_VISIBLE | style, 10, 10, width, height,
                           parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(77)), GetModuleHandleA(nullptr),
                           nullptr);
    PumpQueued();
}

TreeListRig::~TreeListRig() {
    answer = nullptr;
    if (IsWindow(parent)) DestroyWindow(parent);
    PumpQueued();
}

UINT_PTR TreeListRig::Insert(const char* text, UINT_PTR parentItem, UINT_PTR after, UINT mask, UINT state,
                             LPARAM param) const {
    TreeListInsertRecord r = {Handle(parentItem),
                              Handle(after),
                              {.mask = TVIF_TEXT | TVIF_PARAM | mask | (state ? TVIF_STATE : 0u),
                               .state = state,
                               .stateMask = state ? 0xFFFFFFFF : 0,
                               .pszText = const_cast<char*>(text),
                               .lParam = param},
                              0};
    return static_cast<UINT_PTR>(SendWith(TVM_INSERTITEMA, 0, &r));
}

UINT_PTR TreeListRig::InsertDirect(const char* text, UINT_PTR parentItem, UINT mask) const {
    TreeListInsertRecord r = {
        Handle(parentItem), TVI_LAST, {.mask = TVIF_TEXT | mask, .pszText = const_cast<char*>(text)}, 0};
    return static_cast<UINT_PTR>(Direct(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&r)));
}

UINT_PTR TreeListRig::InsertCounted(const char* text, int children) const {
    TreeListInsertRecord r = {TVI_ROOT, TVI_LAST, {}, 0};
    r.item = {.mask = TVIF_TEXT | TVIF_CHILDREN, .pszText = const_cast<char*>(text), .cChildren = children};
    return static_cast<UINT_PTR>(SendWith(TVM_INSERTITEMA, 0, &r));
}

std::function<LRESULT(NMHDR*)> AnswerChildren(const int* count) {
    return [count](NMHDR* h) {
        if (h->code == TVN_GETDISPINFOA) reinterpret_cast<NMTVDISPINFOA*>(h)->item.cChildren = *count;
        return LRESULT{0};
    };
}

std::string TreeListRig::Text(UINT_PTR item, int column) const {
    char buffer[512] = {};
    TVITEMA r = {.mask = TVIF_TEXT, .pszText = buffer, .cchTextMax = sizeof buffer};
    if (!Item(TVM_GETITEMA, item, r, column)) return "<bad>";
    return r.pszText == LPSTR_TEXTCALLBACKA ? "<callback>" : buffer;
}

BOOL TreeListRig::Item(UINT msg, UINT_PTR item, TVITEMA& r, int column) const {
    r.hItem = Handle(item);
    if (column) {
        r.mask |= TLIF_CELL;
        r.cChildren = column;
    }
    return static_cast<BOOL>(SendWith(msg, 0, &r));
}

std::vector<std::string> TreeListRig::Children(UINT_PTR item) const {
    std::vector<std::string> out;
    for (UINT_PTR c = item ? Next(item, TVGN_CHILD) : Next(0, TVGN_ROOT); c; c = Next(c)) out.push_back(Text(c));
    return out;
}

RECT TreeListRig::ItemRect(UINT_PTR item, WPARAM flags) const {
    union {
        RECT rect;
        HTREEITEM item;
    } u = {};
    u.item = Handle(item);
    SendWith(TVM_GETITEMRECT, flags, &u.rect);
    return u.rect;
}

POINT TreeListRig::OnText(UINT_PTR item, int dx) const {
    const RECT r = ItemRect(item, 1);
    return POINT{r.left + dx, (r.top + r.bottom) / 2};
}

POINT TreeListRig::InCell(UINT_PTR item, int column, int dx) const {
    const RECT r = ItemRect(item, 0x80 | static_cast<WPARAM>(column) << 24);
    return POINT{r.left + dx, (r.top + r.bottom) / 2};
}

std::vector<std::string> TreeListRig::RowTexts() const {
    std::vector<std::string> out;
    const LRESULT rows = Send(TLM_GETROWCOUNT);
    for (LRESULT r = 0; r < rows; ++r) out.push_back(Text(static_cast<UINT_PTR>(Send(TLM_GETROWITEM, 0, r))));
    return out;
}

void TreeListRig::AddColumns(std::initializer_list<int> widths) const {
    for (int w : widths) {
        LVCOLUMNA col = {};
        col.mask = LVCF_TEXT | LVCF_WIDTH;
        col.cx = w;
        col.pszText = const_cast<char*>("c");
        Send(TLM_INSERTCOLUMN, static_cast<WPARAM>(Send(TLM_GETCOLUMNCOUNT)), reinterpret_cast<LPARAM>(&col));
    }
}

std::string TreeListRig::Shape(UINT_PTR item) const {
    std::string out;
    for (UINT_PTR c = item ? Next(item, TVGN_CHILD) : Next(0, TVGN_ROOT); c; c = Next(c)) {
        if (!out.empty()) out += ' ';
        out += Text(c);
        if (Next(c, TVGN_CHILD)) out += '(' + Shape(c) + ')';
    }
    return out;
}

std::map<std::string, UINT_PTR> TreeListRig::Build(const std::string& shape) const {
    std::map<std::string, UINT_PTR> items;
    std::vector<UINT_PTR> parents = {0};
    UINT_PTR last = 0;
    std::string name;
    for (char c : shape + ' ') {
        if (c != ' ' && c != '(' && c != ')') {
            name += c;
            continue;
        }
        if (!name.empty()) last = items[name] = Insert(name.c_str(), parents.back());
        name.clear();
        if (c == '(') parents.push_back(last);
        if (c == ')') parents.pop_back();
    }
    return items;
}

std::vector<UINT> TreeListRig::Codes() const {
    std::vector<UINT> out;
    for (const Notification& n : log) out.push_back(n.code);
    return out;
}

int TreeListRig::CountOf(UINT code) const {
    int n = 0;
    for (const Notification& entry : log) n += entry.code == code;
    return n;
}

const Notification* TreeListRig::Last(UINT code) const {
    for (auto i = log.rbegin(); i != log.rend(); ++i)
        if (i->code == code) return &*i;
    return nullptr;
}

HIMAGELIST SolidImages(COLORREF colour, int count, int size) {
    HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR24, count, 0);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, size * count, size);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SetBkColor(dc, colour);
    const RECT all = {0, 0, size * count, size};
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
    SelectObject(dc, old);
    DeleteDC(dc);
    ImageList_Add(list, bitmap, nullptr);
    DeleteObject(bitmap);
    return list;
}

int VScrollMax(HWND window) {
    SCROLLINFO info = {sizeof info, SIF_RANGE, 0, 0, 0, 0, 0};
    GetScrollInfo(window, SB_VERT, &info);
    return info.nMax;
}

}  // namespace tltest
