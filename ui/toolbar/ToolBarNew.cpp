// CToolBarNew: the frame's control bar over the toolkit's toolbar control.
#include "ui/toolbar/ToolBarNew.h"

#include <algorithm>
#include <cstring>
#include <vector>

IMPLEMENT_DYNAMIC(CToolBarNew, CToolBar)

BEGIN_MESSAGE_MAP(CToolBarNew, CToolBar)
    ON_WM_TIMER()
    ON_WM_CONTEXTMENU()
END_MESSAGE_MAP()

namespace {

constexpr int kKeepCommands = 17767;
constexpr int kMaxSources = 8;
constexpr UINT kMenuTextsId = 0x4001;
constexpr WPARAM kRelayoutFlags = 3;  // measure and lay out again
constexpr int kMenuTextLength = 63;
// What the control's window always has: a child that the frame places (no moving, sizing or aligning of its
// own, no divider), with the scroll-bar bits set.
constexpr DWORD kAlwaysControlStyles = CCS_NOMOVEY | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER;
constexpr DWORD kAlwaysWindowStyles = WS_CHILD | WS_HSCROLL | WS_VSCROLL | kAlwaysControlStyles;
const char* const kDefaultMenuTexts[5] = {"Kleine Icons", "Mittler Icons", "Große Icons", "Flache Symbolleiste",
                                          "ausblenden"};

// One toolbar to load: where its pictures are and the commands of its items.
struct ToolbarSource {
    HINSTANCE module;
    UINT_PTR bitmap;
    WORD flags;
    WORD scale;
    WORD imageWidth;
    std::vector<WORD> items;
};

// A toolbar resource: version, picture width and height, item count, then the items. It comes from outside
// the program, so the items must lie inside the resource.
bool ReadToolbarResource(LPCSTR name, ToolbarSource* source) {
    HINSTANCE module = AfxGetResourceHandle();
    HRSRC found = ::FindResourceA(module, name, MAKEINTRESOURCEA(241));
    if (!found) return false;
    DWORD size = ::SizeofResource(module, found);
    auto* words = (const WORD*)::LockResource(::LoadResource(module, found));
    if (!words || size < 4 * sizeof(WORD)) return false;
    WORD count = words[3];
    if ((4 + (size_t)count) * sizeof(WORD) > size) return false;
    *source = {module, (UINT_PTR)name, TBXAB_EXACTCOUNT | TBXAB_COUNTBYWIDTH, 0, words[1],
               std::vector<WORD>(words + 4, words + 4 + count)};
    return true;
}

void ReadToolbarBlock(const ToolbarDataBlock* block, ToolbarSource* source) {
    *source = {block->module, block->bitmap, (WORD)(block->flags | TBXAB_COUNTBYWIDTH), block->scale,
               block->imageWidth, std::vector<WORD>(block->ids, block->ids + block->count)};
}

TBBUTTON MakeButton(int image, UINT id) {
    TBBUTTON b = {};
    b.iBitmap = id ? image : -1;
    b.idCommand = (int)id;
    b.fsState = TBSTATE_ENABLED;
    b.fsStyle = id ? BTNS_BUTTON : BTNS_SEP;
    b.iString = -1;
    return b;
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info = {};
    ::GetObjectA(bitmap, sizeof(info), &info);
    return {info.bmWidth, info.bmHeight};
}

}  // namespace

int ToolbarStandardButtonSize(int cyIcon) { return std::clamp((cyIcon - 32) * 2 + 28, 16, 48); }

CToolBarNew::CToolBarNew() = default;

CToolBarNew::~CToolBarNew() {
    if (m_hbmOwned) ::DeleteObject(m_hbmOwned);
}

BOOL CToolBarNew::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    return CreateEx(pParentWnd, 0, dwStyle, GetBorders(), nID);
}

BOOL CToolBarNew::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect rcBorders, UINT nID) {
    m_dwExtendedStyle = dwCtrlStyle & 0xFFFF0000u;
    // The common-control toolbar support, once per process.
    static bool barsInitialised = [] {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES};
        return ::InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)barsInitialised;
    m_nStandardSize = ToolbarStandardButtonSize(::GetSystemMetrics(SM_CYICON));
    RegisterToolbarExClass(AfxGetInstanceHandle());
    SetBorders(&rcBorders);
    m_dwStyle = dwStyle & CBRS_ALL;
    if (nID == AFX_IDW_TOOLBAR) m_dwStyle |= CBRS_HIDE_INPLACE;
    // The bar's own style bits stay out of the window's, but for those that are control styles as well.
    DWORD windowStyle = (dwStyle & ~(CBRS_ALL & ~kAlwaysControlStyles)) | (dwCtrlStyle & 0xFFFF) | kAlwaysWindowStyles;
    if (!CWnd::Create(kToolbarExClassName, nullptr, windowStyle, CRect(0, 0, 0, 0), pParentWnd, nID)) return FALSE;
    CWnd* main = AfxGetMainWnd();
    SendMessage(TB_SETPARENT, (WPARAM)main->GetSafeHwnd(), ToolbarTargetSlot(kTargetCommand));
    SendMessage(TB_SETPARENT, (WPARAM)TOOLBAR_ASK_TARGET, ToolbarTargetSlot(kTargetExtra));
    SetSizes(m_sizeButton, m_sizeImage);
    return TRUE;
}

BOOL CToolBarNew::LoadToolBar(UINT nIDResource) {
    LPCSTR names[2] = {MAKEINTRESOURCEA(nIDResource), nullptr};
    return LoadToolBar(names);
}

BOOL CToolBarNew::LoadToolBar(const LPCSTR* names, void*, const UINT* ids, int idCount, const BYTE* blockFlags,
                              int scale) {
    if (!m_hWnd || !names) return FALSE;
    std::vector<UINT> kept;
    if (idCount == kKeepCommands) {
        kept = Commands(nullptr, 0);
        ids = kept.data();
        idCount = (int)kept.size();
    }
    SendMessage(TBX_DELETEBUTTONS, 0, 65535);
    SendMessage(TBX_REMOVEBITMAPS);

    BOOL result = TRUE;
    std::vector<ToolbarSource> sources;
    for (int i = 0; i < kMaxSources && names[i]; ++i) {
        ToolbarSource source;
        if (blockFlags && blockFlags[i]) {
            ReadToolbarBlock((const ToolbarDataBlock*)names[i], &source);
        } else if (!ReadToolbarResource(names[i], &source)) {
            result = FALSE;
            break;
        }
        TBADDBITMAPEX ab = {};
        ab.hInst = source.module;
        ab.nID = source.bitmap;
        ab.flags = source.flags | TBXAB_WRITEWIDTH;
        ab.imageWidth = source.imageWidth;
        ab.scale = (WORD)(scale ? scale : source.scale);
        if (SendMessage(TB_ADDBITMAP, ToolbarIndex(0), (LPARAM)&ab) < 0) {
            result = FALSE;
            break;
        }
        if ((i == 0 || m_nImageWidth == 0) && ab.imageWidth != kToolbarSplitImages) m_nImageWidth = ab.imageWidth;
        sources.push_back(std::move(source));
    }

    std::vector<TBBUTTON> buttons;
    if (ids && idCount > 0) {
        // Each command takes the picture at its place among the items of all the toolbars.
        std::vector<WORD> items;
        for (const ToolbarSource& source : sources)
            for (WORD item : source.items)
                if (item) items.push_back(item);
        for (int i = 0; i < idCount; ++i) {
            auto at = std::find(items.begin(), items.end(), (WORD)ids[i]);
            buttons.push_back(MakeButton(at == items.end() ? -1 : (int)(at - items.begin()), ids[i]));
        }
    } else if (!sources.empty()) {
        int image = 0;
        for (WORD item : sources[0].items) buttons.push_back(MakeButton(item ? image++ : -1, item));
    }
    for (const TBBUTTON& b : buttons) SendMessage(TBX_ADDBUTTONS, ToolbarAddButtonsAt(kToolbarLastPosition, 1), (LPARAM)&b);

    // A floating bar fits its content; a docked one is sized here only while it has no size yet.
    CWnd* parent = GetParent();
    CRect client;
    GetClientRect(&client);
    if ((parent && (parent->GetStyle() & WS_POPUP)) || client.Width() < 2 || client.Height() < 2) {
        CSize size = Fit(kToolbarFitOneRow, 0) + Borders(TRUE);
        SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return result;
}

std::vector<UINT> CToolBarNew::Commands(const UINT* ids, int idCount) {
    if (ids && idCount > 0) return std::vector<UINT>(ids, ids + idCount);
    int count = (int)SendMessage(TB_BUTTONCOUNT);
    std::vector<DWORD> current(std::max(count, 1));
    count = (int)SendMessage(TBX_GETCOMMANDS, count, (LPARAM)current.data());
    return std::vector<UINT>(current.begin(), current.begin() + count);
}

BOOL CToolBarNew::ReplaceFirstBitmap(HINSTANCE module, UINT_PTR bitmap, int imageWidth, int count, int scale,
                                     TBXBITMAPINFO* first) {
    *first = {};
    if (SendMessage(TBX_GETBITMAPINFO, MAKEWPARAM(0, 1), (LPARAM)first) != 1) return FALSE;
    TBREPLACEBITMAP rb = {first->module, first->id, module, bitmap,
                          imageWidth == kToolbarSplitImages ? kToolbarSplitImages : count};
    if (!SendMessage(TB_REPLACEBITMAP, (WPARAM)scale, (LPARAM)&rb)) return FALSE;
    Relayout();
    return TRUE;
}

// Loads the bar from a data block made for the strip; the commands keep their pictures in order.
BOOL CToolBarNew::LoadBlock(HINSTANCE module, UINT_PTR bitmap, WORD flags, int imageWidth, int height, int count,
                            const std::vector<UINT>& commands, int scale) {
    std::vector<WORD> items;
    for (UINT id : commands)
        if (id && (int)items.size() < count) items.push_back((WORD)id);
    std::vector<BYTE> storage(offsetof(ToolbarDataBlock, ids) + std::max<size_t>(items.size(), 1) * sizeof(WORD));
    auto* block = (ToolbarDataBlock*)storage.data();
    block->module = module;
    block->bitmap = bitmap;
    block->flags = flags;
    block->scale = (WORD)scale;
    block->version = 1;
    block->imageWidth = (WORD)imageWidth;
    block->height = (WORD)height;
    block->count = (WORD)items.size();
    std::copy(items.begin(), items.end(), block->ids);
    LPCSTR names[2] = {(LPCSTR)block, nullptr};
    const BYTE isBlock[1] = {1};
    return LoadToolBar(names, nullptr, commands.data(), (int)commands.size(), isBlock, scale);
}

BOOL CToolBarNew::SetBitmap(HBITMAP bitmap, int imageWidth, BOOL ownsBitmap, const UINT* ids, int idCount,
                            int scale) {
    auto fail = [&] {
        if (ownsBitmap && bitmap) ::DeleteObject(bitmap);
        return FALSE;
    };
    if (!m_hWnd || !bitmap) return fail();
    if (imageWidth < 1) imageWidth = m_nImageWidth;
    if (imageWidth < 1) return fail();
    SIZE size = BitmapSize(bitmap);
    int count = imageWidth == kToolbarSplitImages ? (int)SendMessage(TBX_COUNTIMAGES, 65535, (LPARAM)bitmap)
                                                  : size.cx / imageWidth;
    if (count < 1) return fail();
    TBXBITMAPINFO first;
    if (ReplaceFirstBitmap(nullptr, (UINT_PTR)bitmap, imageWidth, count, scale, &first)) {
        // The control draws from its own copy; an owned handle stays with the bar until it is replaced.
        if (m_hbmOwned && m_hbmOwned != bitmap) ::DeleteObject(m_hbmOwned);
        m_hbmOwned = ownsBitmap ? bitmap : nullptr;
        return TRUE;
    }
    // An owned handle passes to the control, which deletes it if it cannot use it.
    int blockScale = scale ? scale : first.scale ? first.scale : 256;
    return LoadBlock(nullptr, (UINT_PTR)bitmap, ownsBitmap ? TBXAB_OWNHANDLE : 0, imageWidth, size.cy, count,
                     Commands(ids, idCount), blockScale);
}

BOOL CToolBarNew::LoadBitmap(UINT nIDResource, int imageWidth, HINSTANCE module, const UINT* ids, int idCount,
                             int scale) {
    if (!module) module = AfxGetResourceHandle();
    if (!m_hWnd) return FALSE;
    if (imageWidth < 1) imageWidth = m_nImageWidth;
    if (imageWidth < 1) return FALSE;
    HBITMAP probe = (HBITMAP)::LoadImageA(module, MAKEINTRESOURCEA(nIDResource), IMAGE_BITMAP, 0, 0, 0);
    if (!probe) return FALSE;
    SIZE size = BitmapSize(probe);
    ::DeleteObject(probe);
    int count = imageWidth == kToolbarSplitImages ? (int)SendMessage(TBX_COUNTIMAGES, (WPARAM)module, nIDResource)
                                                  : size.cx / imageWidth;
    if (count < 1) return FALSE;
    TBXBITMAPINFO first;
    if (ReplaceFirstBitmap(module, nIDResource, imageWidth, count, scale, &first)) return TRUE;
    int blockScale = scale ? scale : first.scale ? first.scale : 256;
    return LoadBlock(module, nIDResource, TBXAB_COUNTBYWIDTH, imageWidth, size.cy, count, Commands(ids, idCount),
                     blockScale);
}

BOOL CToolBarNew::SetButtons(const UINT* lpIDArray, int nIDCount) {
    if (!m_hWnd) return FALSE;
    SendMessage(TBX_DELETEBUTTONS, 0, 65535);
    int image = 0;
    for (int i = 0; i < nIDCount; ++i) {
        UINT id = lpIDArray ? lpIDArray[i] : 0;
        TBBUTTON b = lpIDArray ? MakeButton(id ? image++ : -1, id) : MakeButton(0, 0);
        if (!lpIDArray) {
            b.iBitmap = 0;
            b.fsStyle = BTNS_BUTTON;
        }
        WPARAM at = ToolbarAddButtonsAt(std::min(i, kToolbarLastPosition), 1);
        if (!SendMessage(TBX_ADDBUTTONS, at, (LPARAM)&b)) return FALSE;
    }
    m_bDelayedButtonLayout = TRUE;
    return TRUE;
}

int CToolBarNew::SetButtonWindow(CWnd* window, UINT button, int occurrence, BOOL setFont) {
    if (!m_hWnd || !window || !window->m_hWnd) return -1;
    int index = -1;
    if (IsToolbarReference(button)) {
        index = (int)SendMessage(TB_COMMANDTOINDEX, button);
    } else if (occurrence < 0) {
        // The first button with the id that holds no window yet.
        for (int k = 0; k < 128; ++k) {
            int at = (int)SendMessage(TB_COMMANDTOINDEX, ToolbarNthCommand((int)button, k));
            if (at < 0) break;
            if (!(SendMessage(TBX_GETFLAGS, ToolbarIndex(at)) & TBXF_WINDOW)) {
                index = at;
                break;
            }
        }
    } else {
        index = (int)SendMessage(TB_COMMANDTOINDEX, ToolbarNthCommand((int)button, occurrence));
    }
    if (index < 0) return -1;
    if (setFont) {
        char cls[16] = {};
        ::GetClassNameA(window->m_hWnd, cls, sizeof(cls));
        if (!lstrcmpiA(cls, "ComboBox") || !lstrcmpiA(cls, "Edit"))
            window->SendMessage(WM_SETFONT, (WPARAM)::GetStockObject(ANSI_VAR_FONT), TRUE);
    }
    SendMessage(TBX_SETDATA, ToolbarIndex(index), (LPARAM)window->m_hWnd);
    SendMessage(TBX_SETFLAGS, ToolbarIndex(index), MAKELPARAM(TBXF_WINDOW, TBXF_WINDOW));
    return (int)SendMessage(TBX_COUNTBUTTONS, MAKEWPARAM(0, index), MAKELPARAM(TBXF_WINDOW, TBXF_WINDOW));
}

CWnd* CToolBarNew::GetButtonWindow(int k) {
    if (!m_hWnd || k < 0 || k >= 128) return nullptr;
    int index = (int)SendMessage(TB_COMMANDTOINDEX, ToolbarNthFlagged(TBXF_WINDOW, k));
    if (index < 0) return nullptr;
    HWND window = (HWND)SendMessage(TBX_GETDATA, ToolbarIndex(index));
    return window ? CWnd::FromHandle(window) : nullptr;
}

CWnd* CToolBarNew::FindButtonWindow(UINT id, int k) {
    for (int j = 0; j < 128; ++j) {
        CWnd* window = GetButtonWindow(j);
        if (!window) break;
        if ((UINT)window->GetDlgCtrlID() == id && k-- == 0) return window;
    }
    return nullptr;
}

BOOL CToolBarNew::SetButtonData(const UINT* ids, const DWORD_PTR* values, int count) {
    if (!m_hWnd || !ids || !values) return FALSE;
    for (int i = 0; i < count; ++i) SendMessage(TBX_SETDATA, ToolbarCommand((int)ids[i]), (LPARAM)values[i]);
    return TRUE;
}

BOOL CToolBarNew::SetButtonDataRange(UINT firstId, const DWORD_PTR* values, int count) {
    if (!m_hWnd || !values) return FALSE;
    for (int i = 0; i < count; ++i) SendMessage(TBX_SETDATA, ToolbarCommand((int)(firstId + i)), (LPARAM)values[i]);
    return TRUE;
}

BOOL CToolBarNew::SetButtonColor(UINT button, COLORREF colour, int format) {
    if (!m_hWnd) return FALSE;
    DWORD value = colour;
    if (format == -1) {
        DWORD packed = ((GetRValue(colour) >> 3) << 11) | ((GetGValue(colour) >> 2) << 5) | (GetBValue(colour) >> 3);
        value = packed - 0x10000;
    }
    SendMessage(TBX_SETDATA, button, value);
    return TRUE;
}

void CToolBarNew::SetKeyColors(COLORREF first, COLORREF second) {
    if (!m_hWnd || first == CLR_INVALID) return;
    SendMessage(TBX_KEYCOLOR, 0x80000000u, first);
    SendMessage(TBX_KEYCOLOR, 0x80000001u, second);
}

BOOL CToolBarNew::SetButton(UINT button, int id, DWORD stateStyle, int image) {
    if (!m_hWnd) return FALSE;
    if (id != -1) SendMessage(TBX_SETCOMMAND, button, id);
    if (stateStyle != (DWORD)-1) SendMessage(TBX_SETSTATESTYLE, button, stateStyle | 0xFF00FF00u);
    if (image >= 0) SendMessage(TBX_SETIMAGE, button, image);
    return TRUE;
}

BOOL CToolBarNew::SetButtonEx(UINT button, int id, DWORD stateStyle, int image, WORD extraValue, WORD extraMask) {
    if (stateStyle != (DWORD)-1) stateStyle ^= (DWORD)TBSTATE_ENABLED << 16;  // here the bit means disabled
    if (!SetButton(button, id, stateStyle, image)) return FALSE;
    if (extraMask) SendMessage(TBX_SETFLAGS, button, MAKELPARAM(extraValue, extraMask));
    return TRUE;
}

BOOL CToolBarNew::GetButton(int index, int* id, DWORD* stateStyle, int* image) {
    return GetButtonEx(index, id, stateStyle, image, nullptr);
}

BOOL CToolBarNew::GetButtonEx(int index, int* id, DWORD* stateStyle, int* image, WORD* extra) {
    if (!m_hWnd || index < 0 || index >= (int)SendMessage(TB_BUTTONCOUNT)) return FALSE;
    TBBUTTONINFOEXA info = {};
    info.info.cbSize = sizeof(info);
    info.info.dwMask = TBIF_BYINDEX | TBIF_COMMAND | TBIF_STATE | TBIF_STYLE | TBIF_IMAGE | TBIF_EXTRAFLAGS;
    if (SendMessage(TB_GETBUTTONINFOA, index, (LPARAM)&info) != index) return FALSE;
    if (id) *id = info.info.idCommand;
    if (stateStyle) *stateStyle = (((DWORD)info.info.fsState << 16) | info.info.fsStyle) ^ ((DWORD)TBSTATE_ENABLED << 16);
    if (image) *image = info.info.iImage;
    if (extra) *extra = info.extraValue;
    return TRUE;
}

BOOL CToolBarNew::AddLabel(LPCSTR text, DWORD key, short dx, short dy, BYTE flags, BYTE tag) {
    if (!m_hWnd) return FALSE;
    TBXLABEL label = {key, dx, dy, (DWORD)flags | ((DWORD)tag << 8)};
    return (BOOL)SendMessage(TBX_ADDLABELA, (WPARAM)&label, (LPARAM)text);
}

int CToolBarNew::GroupButtons(int button, int count) {
    if (!m_hWnd || button < 0) return 0;
    // The control clamps the end to its button count; clamping here keeps the word clear of kToolbarCommandMark, which
    // would ask for the buttons of a command id instead of a range.
    const int first = button + 1;
    const int end = std::min(count - 1, (int)SendMessage(TB_BUTTONCOUNT));
    if (first >= end || first > 0xFFFF) return 0;
    return (int)SendMessage(TBX_MODIFYSTYLE, MAKEWPARAM(first, end), MAKELPARAM(BTNS_GROUP, BTNS_GROUP));
}

int CToolBarNew::SetImageScale(int scale, BOOL relayout) {
    if (!m_hWnd) return -1;
    int old = (int)SendMessage(TBX_SETSCALE, (WPARAM)-1, scale);
    if (relayout && scale != -1 && old != (scale ? scale : 256)) Relayout();
    return old;
}

int CToolBarNew::SetBitmapScale(int bitmap, int scale, BOOL relayout) {
    if (!m_hWnd) return -1;
    int old = (int)SendMessage(TBX_SETSCALE, (WPARAM)bitmap, scale);
    if (relayout && old != -1 && scale != -1 && old != (scale ? scale : 256)) Relayout();
    return old;
}

void CToolBarNew::Relayout() {
    m_bDelayedButtonLayout = TRUE;
    if (!m_hWnd) return;
    if (!IsWindowVisible()) {
        SendMessage(TBX_SETDIRTY, kRelayoutFlags, TRUE);
        return;
    }
    SendMessage(TBX_SETDIRTY, kRelayoutFlags, FALSE);
    CFrameWnd* frame = AfxGetMainWnd() ? Frame() : nullptr;
    if (frame) {
        frame->ShowControlBar(this, FALSE, FALSE);
        frame->ShowControlBar(this, TRUE, FALSE);
    }
}

CFrameWnd* CToolBarNew::Frame() const {
    CWnd* main = AfxGetMainWnd();
    if (main && main->IsKindOf(RUNTIME_CLASS(CFrameWnd))) return static_cast<CFrameWnd*>(main);
    return GetDockingFrame();
}

CSize CToolBarNew::Fit(int extent, UINT flags) {
    if (!m_hWnd) return CSize(0, 0);
    LRESULT size = SendMessage(TBX_FITTOSIZE, (WPARAM)extent, flags);
    return CSize(LOWORD(size), HIWORD(size));
}

CSize CToolBarNew::Borders(BOOL bHorz) const {
    CRect inside(0, 0, 0, 0);
    CalcInsideRect(inside, bHorz);
    return CSize(inside.left - inside.right, inside.top - inside.bottom);
}

CSize CToolBarNew::CalcFixedLayout(BOOL, BOOL bHorz) {
    return Fit(bHorz ? kToolbarFitOneRow : 0, 0) + Borders(bHorz);
}

CSize CToolBarNew::CalcDynamicLayout(int nLength, DWORD dwMode) {
    UINT commit = (dwMode & LM_COMMIT) ? (UINT)TBXFIT_COMMIT : 0u;
    if (dwMode & (LM_HORZDOCK | LM_VERTDOCK)) {
        BOOL horz = (dwMode & LM_HORZDOCK) != 0;
        return Fit(horz ? kToolbarFitOneRow : 0, commit) + Borders(horz);
    }
    CSize borders = Borders(TRUE);
    CSize size;
    if (dwMode & LM_LENGTHY)
        size = Fit(nLength - borders.cy, TBXFIT_HEIGHT | commit);
    else
        size = Fit(((dwMode & LM_MRUWIDTH) ? m_nMRUWidth : nLength) - borders.cx, commit);
    size = size + borders;
    size.cx = std::max<int>(size.cx, m_nStandardSize);
    if (dwMode & LM_COMMIT) m_nMRUWidth = size.cx;
    return size;
}

void CToolBarNew::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHandler) {
    CToolBarNewCmdUI state;
    UpdateButtons(state, pTarget, bDisableIfNoHandler);
}

BOOL CToolBarNew::ButtonCommand(UINT index, UINT* command) {
    TBBUTTONINFOA info = {};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_BYINDEX | TBIF_COMMAND | TBIF_STYLE;
    if (SendMessage(TB_GETBUTTONINFOA, index, (LPARAM)&info) != (LRESULT)index || (info.fsStyle & BTNS_SEP)) return FALSE;
    *command = (UINT)info.idCommand;
    return TRUE;
}

BOOL CToolBarNew::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_COMMAND && LOWORD(wParam) == m_nMenuIds[4] && !lParam) {
        if (CFrameWnd* frame = AfxGetMainWnd() ? Frame() : nullptr) frame->ShowControlBar(this, FALSE, FALSE);
        if (pResult) *pResult = 0;
        return TRUE;
    }
    if (message == WM_COMMAND && lParam && SendMessage(TBX_FINDWINDOW, 0, lParam) >= 0) {
        // Commands of windows on buttons go to the main window. Its command routing offers them to the active
        // view first, so they are posted once: a second copy for the view would run its handler twice.
        if (CWnd* main = AfxGetMainWnd()) {
            main->PostMessage(WM_COMMAND, wParam, lParam);
            if (HIWORD(wParam) == CBN_SELCHANGE)
                main->PostMessage(WM_COMMAND, ToolbarComboSelectionCommand((HWND)lParam), lParam);
        }
        if (pResult) *pResult = 0;
        return TRUE;
    }
    if (message == WM_NOTIFY && lParam && SendMessage(TBX_FINDWINDOW, 0, (LPARAM)((NMHDR*)lParam)->hwndFrom) >= 0) {
        // Notifications are sent to the main window, then to its active view (which also sees what reaches it
        // only as a window message); the last non-zero answer is the result.
        LRESULT result = 0;
        CWnd* main = AfxGetMainWnd();
        CView* view = main && main->IsKindOf(RUNTIME_CLASS(CFrameWnd)) ? static_cast<CFrameWnd*>(main)->GetActiveView()
                                                                       : nullptr;
        for (CWnd* target : {main, static_cast<CWnd*>(view)}) {
            if (!target || !::IsWindow(target->m_hWnd)) continue;
            if (LRESULT answer = target->SendMessage(WM_NOTIFY, wParam, lParam)) result = answer;
        }
        if (pResult) *pResult = result;
        return TRUE;
    }
    return CToolBar::OnWndMsg(message, wParam, lParam, pResult);
}

void CToolBarNew::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == kToolbarTrackTimer) {
        SendMessage(TBX_TRACKMOUSE);  // the hot button is checked against the mouse every second
        return;
    }
    CToolBar::OnTimer(nIDEvent);
}

void CToolBarNew::OnContextMenu(CWnd*, CPoint point) {
    DWORD entries = (m_dwExtendedStyle >> 16) & 0x1F;
    if (!entries) {
        Default();
        return;
    }
    if (!AfxGetMainWnd()) return;
    // Texts: the members, else string 0x4001 (entries separated by '\n'; one that starts with '\n' is empty),
    // else, for the entries the string does not reach, the defaults.
    CString texts[5];
    for (int i = 0; i < 5; ++i) texts[i] = kDefaultMenuTexts[i];
    CString table;
    if (table.LoadString(kMenuTextsId)) {
        int start = 0;
        for (int i = 0; i < 5 && start < table.GetLength(); ++i) {
            int end = table.Find('\n', start);
            if (end < 0) end = table.GetLength();
            texts[i] = table.Mid(start, std::min(end - start, kMenuTextLength));
            start = end + 1;
        }
    }
    for (int i = 0; i < 5; ++i)
        if (m_pszMenuTexts[i]) texts[i] = m_pszMenuTexts[i];
    CMenu menu;
    if (!menu.CreatePopupMenu()) return;
    for (int i = 0; i < 5; ++i) {
        if (!(entries & (1u << i))) continue;
        if ((i == 3 && (entries & 0x07)) || (i == 4 && (entries & 0x0F))) ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        bool checked = (i < 3 && (UINT)i == m_nCheckedSize) || (i == 3 && (GetStyle() & TBSTYLE_FLAT));
        ::AppendMenuA(menu, MF_STRING | (checked ? MF_CHECKED : 0), m_nMenuIds[i], texts[i]);
    }
    if (point.x == -1 && point.y == -1) ::GetCursorPos(&point);
    ::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, 0, m_hWnd, nullptr);
}

void CToolBarNewCmdUI::Enable(BOOL bOn) {
    m_bEnableChanged = TRUE;
    m_pOther->SendMessage(TBX_SETSTATESTYLE, m_nIndex, bOn ? 0x04040000 : 0x06000000);
}

void CToolBarNewCmdUI::SetCheck(int nCheck) {
    DWORD old = (DWORD)m_pOther->SendMessage(TBX_GETSTATESTYLE, m_nIndex);
    DWORD state = (old >> 16) & 0xFF & ~(DWORD)(TBSTATE_CHECKED | TBSTATE_INDETERMINATE);
    if (nCheck == 1) state |= TBSTATE_CHECKED;
    else if (nCheck == 2) state |= TBSTATE_INDETERMINATE;
    DWORD style = (old & 0xFF) | BTNS_CHECK;
    m_pOther->SendMessage(TBX_SETSTATESTYLE, m_nIndex, 0xFF00FF00u | (state << 16) | style);
}

void CToolBarNewCmdUI::SetRadio(BOOL bOn) { SetCheck(bOn ? 1 : 0); }

void CToolBarNewCmdUI::SetText(LPCSTR) {}
