// The tree column of a row: indent slots with their lines, the button slot with its elbow and button, the
// check box, the item image and the text.
#include "treelist/control/TreeListPaint.h"

#include "treelist/control/TreeListColours.h"
#include "treelist/control/TreeListColumns.h"
#include "treelist/control/TreeListGeometry.h"
#include "treelist/control/TreeListLayout.h"
#include "treelist/control/TreeListNotify.h"
#include "treelist/control/TreeListShared.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kGlyphPart = 2, kGlyphClosed = 1, kGlyphOpened = 2;
constexpr int kCheckBoxPart = 3, kUncheckedNormal = 1, kCheckedNormal = 5;
constexpr UINT kImageFromCells = 0x40000000, kNoExpandedOffset = 0x20000000;

void VerticalLine(HDC dc, int x, int top, int bottom) {
    MoveToEx(dc, x, top, nullptr);
    LineTo(dc, x, bottom);
}

void HorizontalLine(HDC dc, int y, int left, int right) {
    MoveToEx(dc, left, y, nullptr);
    LineTo(dc, right, y);
}

bool ShowsOpen(const TreeListItem* it, bool children) {
    return children && (it->state & TVIS_EXPANDED) && !(it->state & TVIS_EXPANDPARTIAL);
}

// Level slots from the innermost ancestor outwards: a dotted line where that ancestor has a later sibling.
void PaintLevelLines(PaintContext& pc, const PaintRow& row, int x0, int levels) {
    const TreeListData* d = pc.d;
    ItemId ancestor = row.it->parent;
    for (int slot = levels - 1; slot >= 0 && ancestor; --slot) {
        const TreeListItem* a = d->items[ancestor];
        if (a->flags & kFollowingSibling)
            VerticalLine(pc.dc, x0 + slot * d->indent + d->lineOffset, row.top | 1, row.bottom);
        ancestor = a->parent;
    }
}

// The dotted lines through a button slot, in the target's coordinates.
struct SlotLines {
    bool drawn;
    int top, bottom;  // the vertical line at the button's centre
    int left, right;  // the horizontal line at its middle
};

// A themed glyph over the slot's background and lines. The same glyph over the same part of the lines repeats
// from row to row: it is drawn once per paint pass, over that background and those lines drawn again in a
// memory context, and copied (only where the box lies within its slot, which the row filled with back).
void PaintThemedButton(PaintContext& pc, const RECT& box, int cx, int cy, bool open, COLORREF back,
                       const SlotLines& lines, const RECT& slot) {
    const TreeListData* d = pc.d;
    const TreeListShared& shared = GetTreeListShared();
    auto glyph = [&](HDC dc, const RECT& r) {
        shared.DrawThemeBackground(d->treeTheme, dc, kGlyphPart, open ? kGlyphOpened : kGlyphClosed, &r, nullptr);
    };
    const int side = box.right - box.left;
    if (box.left < slot.left || box.top < slot.top || box.right > slot.right || box.bottom > slot.bottom) {
        glyph(pc.dc, box);
        return;
    }
    const int lineRight = std::min(lines.right, static_cast<int>(box.right));
    const auto at = [](int a, int b) {
        return static_cast<UINT64>(static_cast<UINT>(a)) | UINT64{static_cast<UINT>(b)} << 32;
    };
    const PaintCopies::Key key = {{reinterpret_cast<UINT_PTR>(d->treeTheme),
                                   at(back, side | (open ? 0x10000 : 0) | (lines.drawn ? 0x20000 : 0)),
                                   lines.drawn ? at(lines.top - box.top, lines.bottom - box.top) : 0,
                                   lines.drawn ? at(lines.left - box.left, lineRight - box.left) : 0}};
    pc.buttons->Paint(pc.dc, key, pc.callOuts, box.left, box.top, SIZE{side, side}, [&](HDC dc, int x, int y) {
        if (dc != pc.dc) {
            FillArea(dc, x, y, x + side, y + side, back);
            if (lines.drawn) {
                const int dx = x - box.left, dy = y - box.top, saved = SaveDC(dc);
                IntersectClipRect(dc, x, y, x + side, y + side);
                // The lines as the target draws them (its state holds for the generation of the copies).
                SelectObject(dc, GetCurrentObject(pc.dc, OBJ_PEN));
                SetBkMode(dc, GetBkMode(pc.dc));
                SetBkColor(dc, GetBkColor(pc.dc));
                SetROP2(dc, GetROP2(pc.dc));
                VerticalLine(dc, cx + dx, lines.top + dy, lines.bottom + dy);
                if (lines.left < lineRight) HorizontalLine(dc, cy + dy, lines.left + dx, lineRight + dx);
                RestoreDC(dc, saved);
            }
        }
        glyph(dc, RECT{x, y, x + side, y + side});
    });
}

void PaintButton(PaintContext& pc, int cx, int cy, bool open, COLORREF back, const SlotLines& lines,
                 const RECT& slot) {
    const TreeListData* d = pc.d;
    const int s = d->buttonHalf;
    RECT box = {cx - s, cy - s, cx + s + 1, cy + s + 1};
    if (d->drawThemed && GetTreeListShared().DrawThemeBackground) {
        PaintThemedButton(pc, box, cx, cy, open, back, lines, slot);
        return;
    }
    FillArea(pc.dc, box.left, box.top, box.right, box.bottom, d->colours[kColourButtonFrame]);
    FillArea(pc.dc, box.left + 1, box.top + 1, box.right - 1, box.bottom - 1, d->colours[kColourButtonFace]);
    FillArea(pc.dc, box.left, cy, box.right, cy + 1, d->colours[kColourLines]);
    if (!open) FillArea(pc.dc, cx, box.top, cx + 1, box.bottom, d->colours[kColourLines]);
}

void PaintCheckBox(PaintContext& pc, const PaintRow& row, int left, COLORREF back, bool children) {
    TreeListData* d = pc.d;
    const int width = d->imageSize[kImagesState].cx;
    FillArea(pc.dc, left, row.top, left + width, row.bottom, back);
    UINT index = StateImageIndex(row.it->state);
    const TreeListShared& shared = GetTreeListShared();
    if (d->themedChecks[kImagesState]) {
        if (d->exStyle & TLX_REVERSECHECKS) ++index;
        if ((index == 1 || index == 2) && d->checkTheme && shared.DrawThemeBackground) {
            int state = index == 1 ? kUncheckedNormal : kCheckedNormal;
            if (d->hotCheckItem == row.item && d->hotCheckColumn == 0) state += d->hotCheckPressed ? 2 : 1;
            SIZE part = {13, 13};
            if (shared.GetThemePartSize)
                shared.GetThemePartSize(d->checkTheme, pc.dc, kCheckBoxPart, state, nullptr, TS_TRUE, &part);
            const int room = row.bottom - row.top - part.cy;
            const int y = row.top + (room > 0 ? (room + 1) / 2 : 0);
            RECT r = {left, y, left + part.cx, y + part.cy};
            shared.DrawThemeBackground(d->checkTheme, pc.dc, kCheckBoxPart, state, &r, nullptr);
            return;
        }
        if ((d->style & TVS_HASLINES) && !(d->exStyle & TLX_GRIDLINES)) {
            const int cy = row.top + (row.bottom - row.top) / 2;
            HorizontalLine(pc.dc, cy, left, left + width);
            if (children && (row.it->state & TVIS_EXPANDED))
                VerticalLine(pc.dc, left + d->lineOffset, cy, row.bottom);
        }
        return;
    }
    if (HIMAGELIST list = ImageList(d, kImagesState))
        ImageList_Draw(list, static_cast<int>(index), pc.dc, left,
                       row.top + (row.bottom - row.top - d->imageSize[kImagesState].cy) / 2, ILD_TRANSPARENT);
}

// The item image in an area of the given width; false when the item shows none.
bool PaintItemImage(PaintContext& pc, const PaintRow& row, int left, int width, int image, bool open,
                    COLORREF back) {
    TreeListData* d = pc.d;
    HIMAGELIST list = ImageList(d, kImagesItem);
    if (!list || image == kImageNone) {
        row.it->flags &= ~kHasImage;
        return false;
    }
    UINT index = static_cast<UINT>(image);
    int kind = kImagesItem;
    if (index >= kImageFromCells) {
        kind = kImagesCell;
        index = index - kImageFromCells + (open ? 1 : 0);
    } else {
        if (!(index & kNoExpandedOffset) && open) index += static_cast<UINT>(d->options[TLO_EXPANDEDIMAGEOFFSET]);
        index &= ~kNoExpandedOffset;
    }
    FillArea(pc.dc, left, row.top, left + width, row.bottom, back);
    row.it->flags |= kHasImage;
    HIMAGELIST from = ImageList(d, kind);
    if (!from) return true;
    const int top = row.top + (row.bottom - row.top - d->imageSize[kind].cy) / 2;
    const UINT style = (row.it->state & kImageStyleStates) | ILD_TRANSPARENT;
    auto draw = [&](HDC dc, int x, int y) { ImageList_Draw(from, static_cast<int>(index), dc, x, y, style); };
    // Copied only where the image lies on the area just filled: that background is part of the copy.
    int cx = 0, cy = 0;
    if (!ImageList_GetIconSize(from, &cx, &cy) || cx > width || top < row.top || top + cy > row.bottom) {
        draw(pc.dc, left, top);
        return true;
    }
    const PaintCopies::Key key = {{reinterpret_cast<UINT_PTR>(from), index | UINT64{style} << 32,
                                   back | UINT64{GetTextColor(pc.dc)} << 32, GetBkColor(pc.dc)}};
    pc.images->Paint(pc.dc, key, pc.callOuts, left, top, SIZE{cx, cy}, [&](HDC dc, int x, int y) {
        if (dc != pc.dc) FillArea(dc, x, y, x + cx, y + cy, back);
        draw(dc, x, y);
    });
    return true;
}

}  // namespace

bool PaintTreeColumn(PaintContext& pc, PaintRow& row) {
    TreeListData* d = pc.d;
    if (!pc.regions[0]) return true;
    TreeListItem* it = row.it;

    // Call-back parts first: the parent may do anything meanwhile, deleting the item included.
    const char* text = it->text;
    int length = static_cast<int>(it->textLength);
    int image = (it->state & TVIS_SELECTED) ? it->selectedImage : it->image;
    int children = 0;
    const UINT wanted = ((it->callbacks & kCallbackText) ? TVIF_TEXT : 0u) |
                        ((it->callbacks & (kCallbackImage | kCallbackSelectedImage)) ? TVIF_IMAGE | TVIF_SELECTEDIMAGE : 0u) |
                        ((it->callbacks & kCallbackChildren) ? TVIF_CHILDREN : 0u);
    if (wanted) {
        TVITEMA answer;
        ++pc.callOuts;
        if (!FetchCallbacks(d, row.item, 0, wanted, &answer) || Item(d, row.item) != it) return false;
        if (wanted & TVIF_TEXT) {
            text = answer.pszText;
            length = static_cast<int>(strlen(text));
        }
        if ((it->state & TVIS_SELECTED) ? (it->callbacks & kCallbackSelectedImage) : (it->callbacks & kCallbackImage))
            image = (it->state & TVIS_SELECTED) ? answer.iSelectedImage : answer.iImage;
        children = answer.cChildren;
    }

    UINT state = (it->state & 0xFFFF) | static_cast<UINT>(it->flags) << 16;
    if (d->caretItem == row.item && d->caretColumn != 0 &&
        !(d->selectedCount > 1 && (d->exStyle & TLX_CELLDROPHILITE)))
        state &= ~TVIS_SELECTED;

    const int lastJoined = JoinedEnd(d, it->state, 0);
    SelectColumnClip(pc, 0, lastJoined);
    const int x0 = ColumnLeft(d, 0) - d->scrollX;
    // Without columns the tree column has no right edge: texts are never cut, the scroll bar follows them.
    const int right = d->columnCount ? ColumnRight(d, lastJoined) - d->scrollX : x0 + 0x7FFF;
    COLORREF back = RowColour(pc, row, 0);
    if (!row.fullSelected && (it->flags & kOwnBkColour))
        back = d->columnCount && d->columns[0].mark1 ? DarkenEighth(it->bkColour) : it->bkColour;

    const bool hasChildren = ShowsButton(it, children);
    const bool open = ShowsOpen(it, hasChildren);
    const bool showsImage = ImageList(d, kImagesItem) && image != kImageNone;
    const TreeCellLayout l = LayoutTreeCell(d, it, showsImage);
    const int contentLeft = x0 + l.contentLeft, innerLeft = x0 + l.innerLeft;

    // Indent slots and the button slot; the pixel after them belongs to the indent (the grid column with grid
    // lines).
    const COLORREF indentColour = (d->exStyle & TLX_INDENTROWCOLOUR) ? back : pc.background;
    FillArea(pc.dc, x0, row.top, innerLeft, row.bottom, indentColour);
    if (d->style & TVS_HASLINES) PaintLevelLines(pc, row, x0, l.levels);
    if (l.buttonLeft >= 0) {
        const int cx = x0 + l.buttonLeft + d->lineOffset;
        const int cy = row.top + (row.bottom - row.top) / 2;
        SlotLines lines = {};
        if (d->style & TVS_HASLINES) {
            lines = {true, row.top | 1, (it->flags & kFollowingSibling) ? row.bottom : cy + 1, cx + 1 + (cy & 1),
                     x0 + l.buttonLeft + d->indent};
            VerticalLine(pc.dc, cx, lines.top, lines.bottom);
            HorizontalLine(pc.dc, cy, lines.left, lines.right);
        }
        const RECT slot = {x0 + l.buttonLeft, row.top, std::min(x0 + l.buttonLeft + d->indent, innerLeft), row.bottom};
        if ((d->style & TVS_HASBUTTONS) && hasChildren) PaintButton(pc, cx, cy, open, indentColour, lines, slot);
    }
    if (d->exStyle & TLX_GRIDLINES) {
        FillArea(pc.dc, contentLeft, row.top, contentLeft + 1, row.bottom, d->colours[kColourGrid]);
        if (d->exStyle & TLX_INDENTROWCOLOUR)
            FillArea(pc.dc, x0, row.bottom - 2, contentLeft, row.bottom - 1, d->colours[kColourGrid]);
    }

    if (l.checkLeft >= 0) PaintCheckBox(pc, row, x0 + l.checkLeft, back, hasChildren);
    if (l.imageLeft >= 0)
        PaintItemImage(pc, row, x0 + l.imageLeft, l.textLeft - l.imageLeft, image, open, back);
    else
        it->flags &= ~kHasImage;
    const int x = x0 + l.textLeft;

    PaintText t = {};
    t.text = text;
    t.length = length;
    t.cachedWidth = (it->callbacks & kCallbackText) ? nullptr : &it->textWidth;
    t.state = state;
    t.ownText = (it->flags & kOwnTextColour) ? it->textColour : CLR_INVALID;
    t.textColour = d->userColours[0] != CLR_INVALID ? d->userColours[0] : d->colours[kColourText];
    t.back = back;
    t.x = x;
    t.right = right;
    t.caretCell = d->caretItem == row.item && d->caretColumn == 0;
    t.treeColumn = true;
    const int drawn = d->columnCount && d->columns[0].mark2 && x < right
                          ? CallOwnerDraw(pc, row, 0, RECT{x, row.top, right, row.bottom}, t)
                          : 0;
    if (Item(d, row.item) != it) return false;
    if (drawn != 1) {
        if (drawn >= 2) t.back = CLR_INVALID;
        PaintCellText(pc, row, t);
    }
    if (d->exStyle & TLX_GRIDLINES) FillArea(pc.dc, x0, row.bottom - 1, right, row.bottom, d->colours[kColourGrid]);
    if (d->dropTarget == row.item) PaintDropBar(pc, row, x0, right);
    return true;
}

int CallOwnerDraw(PaintContext& pc, const PaintRow& row, int column, RECT cell, const PaintText& t,
                  bool hasRecord) {
    TreeListData* d = pc.d;
    auto callback = reinterpret_cast<TreeListDrawCallback>(d->options[TLO_DRAWCALLBACK]);
    if (!callback) return 0;
    TreeListDrawInfo info = {};
    info.window = d->window;
    info.item = ToHandle(row.item);
    info.rect = &cell;
    info.lParam = row.it->lParam;
    info.text = hasRecord ? t.text : nullptr;
    info.textLength = t.length;
    info.state = t.state;
    info.row = static_cast<int>(row.row);
    info.column = static_cast<BYTE>(column);
    info.textTop = static_cast<BYTE>((row.bottom - row.top - d->textHeight) / 2);
    info.textColour = t.ownText;
    ++pc.callOuts;
    const int answer = callback(pc.dc, d->options[TLO_DRAWCONTEXT], &info);
    if (answer == 1 && t.cachedWidth && *t.cachedWidth <= 0 && t.length) {
        RECT r = {0, 0, 0, 0};
        SelectObject(pc.dc, FontFor(d, t.state));
        DrawTextExA(pc.dc, const_cast<char*>(t.text), t.length, &r, kMeasureFormat, nullptr);
        *t.cachedWidth = r.right - r.left;
    }
    return answer;
}
