#include "ui/msgbox/MsgBoxLayout.h"

#include "framework/DialogTemplateWriter.h"

#include <algorithm>

namespace {

constexpr int kMargin = 12;
constexpr int kIconSize = 32;
constexpr int kMinTextWidth = 100, kMinTextHeight = 40;
constexpr int kMinButtonWidth = 80, kMinButtonHeight = 32;
constexpr int kButtonGap = 8;
constexpr int kButtonRowIndent = 24;

constexpr DWORD kBoxStyle =
    WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CAPTION | WS_SYSMENU | DS_CENTER | DS_NOIDLEMSG | DS_MODALFRAME;
constexpr DWORD kBoxExStyle = WS_EX_CONTROLPARENT | WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME;
constexpr DWORD kTextStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SS_NOPREFIX;
constexpr DWORD kIconStyle = WS_CHILD | WS_VISIBLE | SS_ICON;

int Height(const RECT& r) { return r.bottom - r.top; }
int Width(const RECT& r) { return r.right - r.left; }

}  // namespace

int MsgBoxMaxTextWidth(const RECT& work) { return std::min(Width(work) * 3 / 5, Height(work)); }

MsgBoxLayout LayOutMessageBox(const MsgBoxMetrics& m) {
    MsgBoxLayout l;
    l.scrolling = m.scrolling;
    int textHeight = m.lineCount * m.lineHeight + 8;
    const int maxHeight = Height(m.work) * 4 / 5 - 80;
    if (textHeight > maxHeight) {
        textHeight = std::max(maxHeight, m.lineHeight);
        l.scrolling = true;
    }
    const int textWidth = m.widest + m.scrollArrowWidth + 8;
    const int left = m.hasIcon ? kMargin + kIconSize + kMargin : kMargin;
    l.textArea = {left, kMargin, left + std::max(textWidth, kMinTextWidth), kMargin + std::max(textHeight, kMinTextHeight)};
    l.text.left = l.textArea.left + (Width(l.textArea) - textWidth) / 2;
    l.text.top = l.textArea.top + (Height(l.textArea) - textHeight) / 2;
    l.text.right = l.text.left + textWidth;
    l.text.bottom = l.text.top + textHeight;
    if (m.hasIcon) l.icon = {kMargin, kMargin, kMargin + kIconSize, kMargin + kIconSize};

    const int count = std::max(m.buttonCount, 0);
    const int buttonWidth = std::max<int>(kMinButtonWidth, m.buttonText.cx + 20);
    const int buttonHeight = std::max<int>(kMinButtonHeight, m.buttonText.cy + 10);
    const int rowWidth = count * buttonWidth + std::max(count - 1, 0) * kButtonGap;
    const int rowTop = std::max(l.textArea.bottom, m.hasIcon ? l.icon.bottom : 0) + kMargin;
    l.client.cx = std::max<LONG>(l.textArea.right + kMargin, kButtonRowIndent + rowWidth + kButtonRowIndent);
    l.client.cy = rowTop + buttonHeight + kMargin;
    int x = std::max<int>(kButtonRowIndent, (l.client.cx - rowWidth) / 2);
    for (int i = 0; i < count; ++i, x += buttonWidth + kButtonGap)
        l.buttons.push_back({x, rowTop, x + buttonWidth, rowTop + buttonHeight});
    return l;
}

std::vector<WORD> BuildMsgBoxTemplate(const MsgBoxTemplateInput& in) {
    const int baseX = std::max<int>(LOWORD(in.baseUnits), 1), baseY = std::max<int>(HIWORD(in.baseUnits), 1);
    auto dluX = [baseX](int px) { return static_cast<short>(MulDiv(px, 4, baseX)); };
    auto dluY = [baseY](int px) { return static_cast<short>(MulDiv(px, 8, baseY)); };
    auto item = [&](DialogTemplateWriter<std::vector<WORD>>& t, const RECT& r, DWORD style, int id, WORD atom,
                    const wchar_t* text) {
        t.Item(style, dluX(r.left), dluY(r.top), dluX(Width(r)), dluY(Height(r)), static_cast<WORD>(id), atom, text);
    };
    const MsgBoxLayout& l = in.layout;
    const WORD items = static_cast<WORD>(1 + (in.hasIcon ? 1 : 0) + in.buttons.size());
    DialogTemplateWriter<std::vector<WORD>> t;
    t.Header(kBoxStyle, kBoxExStyle | in.exStyle, items, 0, 0, dluX(l.client.cx), dluY(l.client.cy),
             in.caption.c_str());
    item(t, l.textArea, kTextStyle, kMsgBoxTextId, kStaticAtom, in.text.c_str());
    if (in.hasIcon) item(t, l.icon, kIconStyle, kMsgBoxIconId, kStaticAtom, L"");
    for (size_t i = 0; i < in.buttons.size(); ++i) {
        const RECT r = i < l.buttons.size() ? l.buttons[i] : RECT{};
        const wchar_t* text = i < in.buttonTexts.size() ? in.buttonTexts[i].c_str() : L"";
        item(t, r, static_cast<int>(i) == in.defaultIndex ? kDefaultButtonStyle : kPushButtonStyle, in.buttons[i],
             kButtonAtom, text);
    }
    return std::move(t.words);
}
