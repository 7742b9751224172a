// Geometry of the toolbar control on a state without a window: measuring, rows, stacks and fitting.
#include <gtest/gtest.h>

#include "tests/ui/toolbar/ToolbarTestSupport.h"

using namespace tbtest;

namespace {

LRESULT Size(int w, int h) { return MAKELONG(w, h); }

void AddImageButtons(Bar& bar, int n) {
    for (int i = 0; i < n; ++i) bar.Add({Button(i % 4, 100 + i)});
}

}  // namespace

TEST(ToolbarLayout, ImageButtonMeasuresImagePlusGapsAndPadding) {
    Bar bar;
    ASSERT_EQ(AddStrip(bar.s, 4, 16, 16), 0);
    bar.Add({Button(0, 100)});
    RECT r = bar.Rect(0);
    EXPECT_EQ(Width(r), 16 + 2 + 7);
    EXPECT_EQ(Height(r), 16 + 4 + 7);
    EXPECT_TRUE(bar.s->buttons[0]->look & kLookHasImage);

    // A picture that is not in the table measures as a button without one.
    bar.Add({Button(9, 101)});
    EnsureToolbarLayout(bar.s);
    EXPECT_FALSE(bar.s->buttons[1]->look & kLookHasImage);
}

TEST(ToolbarLayout, DropDownArrowFollowsTheImageHeight) {
    EXPECT_EQ(DropArrowWidth(16), 13);
    EXPECT_EQ(DropArrowWidth(24), 19);
    EXPECT_EQ(DropArrowWidth(4), 13);   // at least 4 x 13 / 4
    EXPECT_EQ(DropArrowWidth(60), 19);  // at most 6 x 13 / 4
    Bar bar;
    AddStrip(bar.s, 1, 16, 16);
    AddStrip(bar.s, 1, 24, 24);
    bar.Add({Button(0, 1, BTNS_DROPDOWN), Button(1, 2, BTNS_DROPDOWN)});
    EXPECT_EQ(Width(bar.Rect(0)), 16 + 13 + 2 + 7);
    EXPECT_EQ(Width(bar.Rect(1)), 24 + 19 + 2 + 7);
}

TEST(ToolbarLayout, WidthLimitsBoundTheTextOfTextBelowButtons) {
    Bar bar;
    bar.s->minWidth = 0;
    bar.s->maxWidth = 100;
    // A fixed text width of 300 pixels stands for a long text.
    bar.Add({Button(-1, 1, BTNS_BUTTON, TBSTATE_ENABLED, -1, TBXF_FIXEDWIDTH, 300)});
    EXPECT_EQ(Width(bar.Rect(0)), 100 - 7 + 7 + 2);

    bar.s->minWidth = 60;
    bar.s->maxWidth = -1;
    bar.s->buttons[0]->dwData = 0;
    bar.s->dirty |= kDirtyAll;
    EXPECT_EQ(Width(bar.Rect(0)), 60 - 7 + 7 + 2);
}

TEST(ToolbarLayout, TextBelowAndTextRightArrangements) {
    Bar bar;
    AddStrip(bar.s, 1, 16, 16);
    int text = AddToolbarString(bar.s, L"Starte", 6);
    LRESULT size = MeasureToolbarText(bar.s, L"Starte", 6, DT_SINGLELINE);
    int tw = LOWORD(size), th = HIWORD(size);
    bar.Add({Button(0, 1, BTNS_BUTTON, TBSTATE_ENABLED, text)});
    RECT r = bar.Rect(0);
    EXPECT_EQ(Width(r), std::max(16, tw) + 7 + 2 + 7);
    EXPECT_EQ(Height(r), 16 + th + 1 + 4 + 7);
    EXPECT_TRUE(bar.s->buttons[0]->look & kLookTextBelow);

    // A list-style bar puts the text right of the image.
    bar.s->style |= TBSTYLE_LIST;
    bar.s->dirty |= kDirtyAll;
    r = bar.Rect(0);
    EXPECT_TRUE(bar.s->buttons[0]->look & kLookTextRight);
    // The list gap of 2 leaves gap - gap / 2 - 2 = -1: one more pixel.
    EXPECT_EQ(Width(r), 16 + tw + 2 + 1 + 2 + 7);
    EXPECT_EQ(Height(r), std::max(16 + 2, th) + 4 + 7);
}

TEST(ToolbarLayout, RowsWrapAndOneButtonPerRow) {
    Bar bar;
    AddStrip(bar.s, 4, 16, 16);
    bar.Add({Button(0, 1, BTNS_BUTTON, TBSTATE_ENABLED | TBSTATE_WRAP), Button(1, 2),
             Button(2, 3, BTNS_BUTTON, TBSTATE_ENABLED | TBSTATE_WRAP), Separator(), Button(3, 4)});
    EnsureToolbarLayout(bar.s);
    EXPECT_TRUE(bar.s->rowFlow);
    EXPECT_EQ(bar.s->rows, 3);
    EXPECT_EQ(bar.Rect(1).top, 27);
    EXPECT_EQ(bar.Rect(1).left, 0);
    EXPECT_EQ(bar.Rect(2).left, 25);
    // A separator that starts a wrapped row takes no room.
    EXPECT_TRUE(IsRectEmpty(&bar.s->buttons[3]->rect));
    EXPECT_EQ(bar.Rect(4).left, 0);
    EXPECT_EQ(bar.Rect(4).top, 54);
    EXPECT_EQ(bar.s->idealHeight, 81);
    EXPECT_EQ(bar.s->idealWidth, 50);

    // Every visible button but the last one wraps: one button per row, each as wide as the widest.
    Bar column;
    AddStrip(column.s, 2, 16, 16);
    AddStrip(column.s, 1, 24, 24);
    column.Add({Button(0, 1, BTNS_BUTTON, TBSTATE_ENABLED | TBSTATE_WRAP),
                Button(2, 2, BTNS_BUTTON, TBSTATE_ENABLED | TBSTATE_WRAP), Button(1, 3)});
    EnsureToolbarLayout(column.s);
    EXPECT_FALSE(column.s->rowFlow);
    EXPECT_EQ(Width(column.Rect(0)), 24 + 9);
    EXPECT_EQ(column.Rect(1).top, 27);
    EXPECT_EQ(column.Rect(2).top, 27 + 35);
    EXPECT_EQ(column.s->idealHeight, 27 + 35 + 27);

    // A single button flows as a row.
    Bar single;
    single.Add({Button(-1, 1, BTNS_BUTTON, TBSTATE_ENABLED | TBSTATE_WRAP)});
    EnsureToolbarLayout(single.s);
    EXPECT_TRUE(single.s->rowFlow);
}

TEST(ToolbarLayout, HiddenButtonsTakeNoRoomAndIndentShiftsTheRow) {
    Bar bar;
    AddStrip(bar.s, 3, 16, 16);
    bar.Add({Button(0, 1), Button(1, 2, BTNS_BUTTON, TBSTATE_ENABLED | TBSTATE_HIDDEN), Button(2, 3)});
    bar.s->indent = 5;
    EnsureToolbarLayout(bar.s);
    EXPECT_TRUE(IsRectEmpty(&bar.s->buttons[1]->rect));
    EXPECT_EQ(bar.Rect(0).left, 5);
    EXPECT_EQ(bar.Rect(2).left, 30);
    EXPECT_EQ(bar.s->idealWidth, 55);
}

TEST(ToolbarLayout, FitToWidthChoosesWrapPointsAndRestoresWithoutCommit) {
    Bar bar;
    AddStrip(bar.s, 4, 16, 16);
    AddImageButtons(bar, 10);
    EXPECT_EQ(FitToolbar(bar.s, 100, 0), Size(100, 81));
    for (int i = 0; i < 10; ++i) EXPECT_FALSE(bar.s->buttons[i]->fsState & TBSTATE_WRAP) << i;

    EXPECT_EQ(FitToolbar(bar.s, kToolbarFitOneRow, 0), Size(250, 27));
    // Extent 3: one button per row, and every wrap bit stays as it was.
    bar.s->buttons[4]->fsState |= TBSTATE_WRAP;
    EXPECT_EQ(FitToolbar(bar.s, 3, 0), Size(25, 270));
    for (int i = 0; i < 10; ++i) EXPECT_EQ((bar.s->buttons[i]->fsState & TBSTATE_WRAP) != 0, i == 4) << i;

    // With commit the wrap points stay and the bar is laid out with them.
    bar.s->buttons[4]->fsState &= ~TBSTATE_WRAP;
    EXPECT_EQ(FitToolbar(bar.s, 60, TBXFIT_COMMIT), Size(50, 135));
    for (int i = 0; i < 10; ++i) EXPECT_EQ((bar.s->buttons[i]->fsState & TBSTATE_WRAP) != 0, i % 2 && i < 9) << i;
    EXPECT_EQ(bar.s->rows, 5);
    EXPECT_EQ(bar.Rect(9).left, 25);
    EXPECT_EQ(bar.Rect(9).top, 108);
    EXPECT_EQ(FitToolbar(bar.s, 100, 0), Size(100, 81));

    Bar empty;
    EXPECT_EQ(FitToolbar(empty.s, 100, 0), 0);
}

TEST(ToolbarLayout, FitToHeightFindsTheNarrowestBarBelowIt) {
    Bar bar;
    AddStrip(bar.s, 4, 16, 16);
    AddImageButtons(bar, 10);
    // Two rows (54 high) stay below 60: five buttons per row.
    EXPECT_EQ(FitToolbar(bar.s, 60, TBXFIT_HEIGHT | TBXFIT_COMMIT), Size(125, 54));
    EXPECT_EQ(bar.s->rows, 2);
    EXPECT_TRUE(bar.s->buttons[4]->fsState & TBSTATE_WRAP);
    EXPECT_EQ(bar.Rect(5).top, 27);
    // A height nothing fits keeps one row.
    EXPECT_EQ(FitToolbar(bar.s, 10, TBXFIT_HEIGHT), Size(250, 27));
}

TEST(ToolbarLayout, SmallButtonsStackInATallRow) {
    Bar bar;
    bar.s->style |= 0x20;
    bar.s->bitmapHeight = 60;  // the row is 60 high
    AddStrip(bar.s, 4, 16, 16);
    bar.Add({Button(0, 1), Button(1, 2), Button(2, 3), Separator(), Button(3, 4)});
    EnsureToolbarLayout(bar.s);
    const ToolbarButton* head = bar.s->buttons[0];
    EXPECT_TRUE(head->look & kLookStackHead);
    EXPECT_TRUE(bar.s->buttons[1]->look & kLookStacked);
    EXPECT_TRUE(bar.s->buttons[1]->look & kLookStackEnd);
    // Heights 27 + 27 - 2 = 52 of 60: the spare 8 is shared; the head stands at the bottom.
    EXPECT_EQ(bar.Rect(0).top, 60 - 31);
    EXPECT_EQ(bar.Rect(0).bottom, 60);
    EXPECT_EQ(bar.Rect(1).top, 0);
    EXPECT_EQ(bar.Rect(1).bottom, 29);
    EXPECT_EQ(bar.Rect(1).left, 0);
    // The third button would overflow the stack and stands alone after it.
    EXPECT_EQ(bar.Rect(2).left, 25);
    EXPECT_EQ(Height(bar.Rect(2)), 60);
    EXPECT_EQ(bar.Rect(4).left, 25 + 25 + 8);

    // Without style bit 0x20 nothing stacks.
    bar.s->style &= ~0x20;
    bar.s->dirty |= kDirtyLayout;
    EnsureToolbarLayout(bar.s);
    EXPECT_FALSE(bar.s->buttons[0]->look & (kLookStackHead | kLookStacked | kLookStackEnd));
    EXPECT_EQ(bar.Rect(1).left, 25);
}

TEST(ToolbarLayout, InsertMarkIsVerticalBesideButtonsAndHorizontalInAStack) {
    Bar bar;
    AddStrip(bar.s, 4, 16, 16);
    bar.Add({Button(0, 1), Button(1, 2)});
    EnsureToolbarLayout(bar.s);
    UpdateInsertMark(bar.s, 1, TBIMHT_AFTER, false);
    EXPECT_EQ(bar.s->markRect.left, 50 - 3);
    EXPECT_EQ(bar.s->markRect.right, 50 + 3);
    EXPECT_EQ(bar.s->markFlags & 2, 0u);
    // At the left edge the mark moves right by one pixel.
    UpdateInsertMark(bar.s, 0, 0, false);
    EXPECT_EQ(bar.s->markRect.left, -2);
    UpdateInsertMark(bar.s, 5, 0, false);
    EXPECT_EQ(bar.s->markIndex, -1);

    Bar stack;
    stack.s->style |= 0x20;
    stack.s->bitmapHeight = 60;
    AddStrip(stack.s, 2, 16, 16);
    stack.Add({Button(0, 1), Button(1, 2)});
    EnsureToolbarLayout(stack.s);
    UpdateInsertMark(stack.s, 0, TBIMHT_AFTER, false);
    EXPECT_EQ(stack.s->markFlags & 2, 2u);
    EXPECT_EQ(stack.s->markRect.top, stack.Rect(0).top - 3);
    EXPECT_EQ(Width(stack.s->markRect), 25);
}

TEST(ToolbarLayout, GroupCaptionReservesABandUnderTheGroup) {
    Bar bar;
    AddStrip(bar.s, 2, 16, 16);
    int caption = AddToolbarString(bar.s, L"Gruppe", 6);
    bar.Add({Button(0, 1), Button(1, 2),
             Button(-1, 0, BTNS_SEP, TBSTATE_ENABLED, caption, TBXF_FIXEDWIDTH)});
    EnsureToolbarLayout(bar.s);
    int line = bar.s->lineHeight + 1;
    EXPECT_TRUE(bar.s->buttons[0]->look & kLookGroupCaption);
    EXPECT_TRUE(bar.s->buttons[1]->look & kLookBand);
    EXPECT_EQ(Height(bar.Rect(0)), 27 + line);
    EXPECT_EQ(bar.s->idealHeight, 27 + line);
}

TEST(ToolbarLayout, FitBySummedWidthsMatchesTheMeasuringLayout) {
    // Style bit 0x20 (stacking) makes the fit lay out every candidate; without it widths are summed. With
    // buttons of one height nothing stacks, so both must choose the same rows.
    for (int extent : {60, 90, 130, 200}) {
        Bar summed, measured;
        for (Bar* bar : {&summed, &measured}) {
            AddStrip(bar->s, 4, 16, 16);
            bar->s->indent = 3;
            bar->Add({Separator(), Button(0, 1), Button(1, 2), Separator(), Button(2, 3),
                      Button(3, 4, BTNS_BUTTON, TBSTATE_ENABLED | TBSTATE_HIDDEN), Button(0, 5), Separator(),
                      Separator(), Button(1, 6), Button(2, 7), Button(3, 8)});
        }
        measured.s->style |= 0x20;
        EXPECT_EQ(FitToolbar(summed.s, extent, TBXFIT_COMMIT), FitToolbar(measured.s, extent, TBXFIT_COMMIT))
            << extent;
        for (int i = 0; i < summed.s->buttonCount; ++i)
            EXPECT_EQ(summed.s->buttons[i]->fsState, measured.s->buttons[i]->fsState) << extent << " " << i;
    }
}
